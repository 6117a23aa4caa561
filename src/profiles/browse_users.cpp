// Browse for Users: list, select, hand over.
#include "profiles/browse_users.h"

#include "core/backup_settings.h"
#include "core/naming.h"
#include "core/text.h"
#include "profiles/profile_listing.h"

namespace tessel {

BrowseUsers::BrowseUsers(Platform& platform, BrowseUsersView& view, BrowseUsersHost& host)
    : platform_(platform), view_(view), host_(host) {}

void BrowseUsers::Form_Load() {
  std::wstring folder = SystemDriveLetter(platform_.sys) + L":\\Users\\";
  ListUserProfiles(platform_, folder, lstUsers_);
  selected_ = -1;
  view_.ListChanged();
}

void BrowseUsers::SelectUser(int index) {
  bool valid = index >= 0 && index < static_cast<int>(lstUsers_.size());
  selected_ = valid ? index : -1;
}

void BrowseUsers::cmdUsers_Click() {
  if (selected_ >= 0) SelectedUserName = TrimBlanks(lstUsers_[selected_]);
  // Closing may destroy this presenter together with its window: keep the host at hand.
  BrowseUsersHost& host = host_;
  host.CloseBrowseUsers();
  host.ActivateMainWindow();
  host.Reset2();
}

void BrowseUsers::lstUsers_DblClick() {
  cmdUsers_Click();
}

}  // namespace tessel
