#include "core/backup_settings.h"

namespace tessel {

std::wstring SelectedUserName;

}  // namespace tessel
