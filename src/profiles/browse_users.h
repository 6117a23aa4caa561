// The Browse for Users window's presenter: fills the profile list and hands a pick over to the
// main window through SelectedUserName.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace tessel {

// What the presenter needs from its window.
class BrowseUsersView {
 public:
  virtual ~BrowseUsersView() = default;
  // The list's entries or selection changed: mirror them into lstUsers.
  virtual void ListChanged() = 0;
};

// What a pick is handed to. Calls arrive in this order: close, activate, Reset2. Closing may
// destroy the presenter's window; the presenter touches nothing of its own after it.
class BrowseUsersHost {
 public:
  virtual ~BrowseUsersHost() = default;
  virtual void CloseBrowseUsers() = 0;
  virtual void ActivateMainWindow() = 0;
  virtual void Reset2() = 0;
};

class BrowseUsers {
 public:
  BrowseUsers(Platform& platform, BrowseUsersView& view, BrowseUsersHost& host);

  const std::vector<std::wstring>& Users() const { return lstUsers_; }
  int Selected() const { return selected_; }  // -1: none

  // Lists the profiles of <drive>:\Users\.
  void Form_Load();

  // The user selected an entry (-1: none).
  void SelectUser(int index);

  // "Get User" and a double click on an entry: the same pick.
  void cmdUsers_Click();
  void lstUsers_DblClick();

 private:
  Platform& platform_;
  BrowseUsersView& view_;
  BrowseUsersHost& host_;
  std::vector<std::wstring> lstUsers_;
  int selected_ = -1;
};

}  // namespace tessel
