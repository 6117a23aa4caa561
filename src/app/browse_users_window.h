// The Browse for Users window on screen, bound to its presenter.
#pragma once

#include "app/form_window.h"
#include "profiles/browse_users.h"

namespace tessel::app {

class BrowseUsersWindow : public FormWindow, public BrowseUsersView {
 public:
  BrowseUsersWindow(Platform& platform, BrowseUsersHost& host);

  BrowseUsers& Presenter() { return presenter_; }
  void Show();

  // BrowseUsersView.
  void ListChanged() override;

 protected:
  void OnCommand(int id, int code, HWND control) override;

 private:
  BrowseUsers presenter_;
};

}  // namespace tessel::app
