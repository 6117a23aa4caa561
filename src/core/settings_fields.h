// Finds the BackupSettings field that holds a control's state, so one door can serve every control.
#pragma once

#include <string>

#include "core/backup_settings.h"
#include "core/controls.h"

namespace tessel {

// The text of a text box (inputs, derived fields, metrics boxes); nullptr for other controls.
std::wstring* TextField(BackupSettings& s, Ctl control);
const std::wstring* TextField(const BackupSettings& s, Ctl control);

// cmbFileNameYear or cmbFileNameMonth; nullptr for other controls.
ComboState* ListField(BackupSettings& s, Ctl control);
const ComboState* ListField(const BackupSettings& s, Ctl control);

}  // namespace tessel
