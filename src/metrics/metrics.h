// The three metrics panels: file count, folder count and folder size of the destination, the
// user's Documents folder and the specific directory.
#pragma once

#include <functional>
#include <string>

#include "core/backup_settings.h"
#include "core/control_table.h"
#include "platform/platform.h"

namespace tessel {

// Writes one metrics box of the main window (through the presenter, which mirrors it).
using BoxWriter = std::function<void(Ctl box, const std::wstring& text)>;

// One panel refresh: busy pointer on; the panel's three boxes emptied; the panel's folder (from
// `settings`) scanned; file count, folder size and folder count written in that order; busy
// pointer off. When `stop` ends the scan early (before it lists anything, or on the way), the
// boxes stay empty and the result is false.
bool GetMetrics(Panel panel, const BackupSettings& settings, Platform& platform,
                const BoxWriter& write, const StopCheck& stop = {});

}  // namespace tessel
