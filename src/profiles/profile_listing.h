// Lists the machine's user profiles: the entries of the profiles folder, proper-cased, without the
// system profiles and plain files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tessel {

// Replaces `lstUsers` with the profiles found in `folder` (with or without a trailing "\"),
// sorted alphabetically for the user's locale without regard to letter case. A folder that cannot
// be listed gives an empty list.
void ListUserProfiles(Platform& platform, std::wstring_view folder,
                      std::vector<std::wstring>& lstUsers);

// True when `name`, already proper-cased, is one of the system entries never offered.
bool IsExcludedProfile(std::wstring_view name);

}  // namespace tessel
