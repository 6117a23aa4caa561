// Browse for Users: the list mirrors the presenter; a double click or "Get User" hands it the
// list's selection and the pick.
#include "app/browse_users_window.h"

#include "ui/browse_users_form.h"

namespace tessel::app {

BrowseUsersWindow::BrowseUsersWindow(Platform& platform, BrowseUsersHost& host)
    : FormWindow(ui::BrowseUsersForm()), presenter_(platform, *this, host) {}

void BrowseUsersWindow::Show() {
  if (Hwnd()) ShowWindow(Hwnd(), SW_SHOW);
}

void BrowseUsersWindow::ListChanged() {
  HWND list = Control(static_cast<int>(ui::BrowseCtl::lstUsers));
  if (!list) return;
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::wstring& user : presenter_.Users()) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(user.c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, presenter_.Selected(), 0);
}

void BrowseUsersWindow::OnCommand(int id, int code, HWND) {
  bool pick = (id == static_cast<int>(ui::BrowseCtl::cmdUsers) && code == BN_CLICKED) ||
              (id == static_cast<int>(ui::BrowseCtl::lstUsers) && code == LBN_DBLCLK);
  if (!pick) return;
  // The selection the list shows now, however it was made: a program or an assistive tool may
  // select without the notification a user's click sends.
  HWND list = Control(static_cast<int>(ui::BrowseCtl::lstUsers));
  presenter_.SelectUser(list ? static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)) : -1);
  if (code == LBN_DBLCLK) {
    presenter_.lstUsers_DblClick();
  } else {
    presenter_.cmdUsers_Click();
  }
}

}  // namespace tessel::app
