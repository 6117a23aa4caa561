// What each metrics panel scans, and how deep.
#pragma once

#include <optional>
#include <string>

#include "core/backup_settings.h"
#include "core/control_table.h"

namespace tessel {

// The panel's folder, always ending in "\": the destination or the source as typed, the user's
// Documents folder from its pattern less the trailing "*.*". nullopt when the user panel has no
// pattern (no user): that panel then stays blank rather than scanning the current drive.
std::optional<std::wstring> PanelRoot(Panel panel, const BackupSettings& settings);

// Whether the panel's scan descends: only a checked box (value 1) does; grayed does not.
bool PanelRecurses(Panel panel, const BackupSettings& settings);

}  // namespace tessel
