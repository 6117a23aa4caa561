// Browse for Users: the list mirrors the presenter; selection, double click and "Get User" go to
// it.
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

void BrowseUsersWindow::OnCommand(int id, int code, HWND control) {
  switch (static_cast<ui::BrowseCtl>(id)) {
    case ui::BrowseCtl::lstUsers:
      if (code == LBN_SELCHANGE) {
        presenter_.SelectUser(static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0)));
      } else if (code == LBN_DBLCLK) {
        presenter_.lstUsers_DblClick();
      }
      break;
    case ui::BrowseCtl::cmdUsers:
      if (code == BN_CLICKED) presenter_.cmdUsers_Click();
      break;
    default:
      break;
  }
}

}  // namespace tessel::app
