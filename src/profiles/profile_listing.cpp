// The profile walk behind the Browse for Users list.
#include "profiles/profile_listing.h"

#include <algorithm>

#include "core/text.h"

namespace tessel {

namespace {

// Compared after proper-casing, so every letter case of these is left out. "." and ".." need no
// place here: listings never yield them.
constexpr std::wstring_view kExcluded[] = {L"All Users", L"Default User", L"Localservice",
                                           L"Networkservice"};

}  // namespace

bool IsExcludedProfile(std::wstring_view name) {
  return std::find(std::begin(kExcluded), std::end(kExcluded), name) != std::end(kExcluded);
}

void ListUserProfiles(Platform& platform, std::wstring_view folder,
                      std::vector<std::wstring>& lstUsers) {
  lstUsers.clear();
  platform.fs.ListFolder(QualifyPath(folder), [&](const DirEntry& entry) {
    std::wstring name = ProperCase(TrimNull(entry.name));
    if (entry.IsDirectory()) {
      if (IsExcludedProfile(name)) return;
    } else if (entry.attributes & kAttrNormal) {
      // Only a file with no attribute but "normal" is passed over; any other file lying in the
      // profiles folder (desktop.ini is hidden and system) is offered like a profile.
      return;
    }
    lstUsers.push_back(std::move(name));
  });
  // As a sorted list box orders them: an accented name among its plain letters, not after "Z".
  std::stable_sort(lstUsers.begin(), lstUsers.end(), [&](const auto& a, const auto& b) {
    return platform.sys.CompareIgnoringCase(a, b) < 0;
  });
}

}  // namespace tessel
