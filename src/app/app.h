// The program's windows and their lifetimes: the main window, at most one of each secondary
// window, Reset's rebuild and Quit; plus the message loop that serves them all.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "app/browse_users_window.h"
#include "app/main_frame.h"
#include "app/taskbar.h"
#include "app/text_window.h"
#include "main_window/main_view.h"
#include "platform/win32/win32_platform.h"
#include "profiles/browse_users.h"

namespace tessel::app {

class App : public Shell, public BrowseUsersHost {
 public:
  App(HINSTANCE instance, Platform& platform, win32::Win32Dialogs& dialogs);
  ~App() override;

  // Builds the main window, runs its load sequence and shows it. False when no window could be
  // made.
  bool Start();
  // Runs until Quit; returns the exit code. Whenever input pauses, the main window's pending
  // refreshes are made.
  int Run();

  // Shell (CloseBrowseUsers also serves the Browse for Users window).
  void CloseBrowseUsers() override;
  void CloseEula() override;
  void CloseHelp() override;
  void OpenBrowseUsers() override;
  void OpenHelp() override;
  void OpenEula() override;
  void ReloadMainWindow() override;
  void Quit() override;
  void ArchiverRunning(bool running) override;

  // BrowseUsersHost.
  void ActivateMainWindow() override;
  void Reset2() override;

 private:
  static LRESULT CALLBACK ServiceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool BuildMainWindow();
  void OpenText(std::unique_ptr<TextWindow>& slot, const ui::FormDef& form, std::wstring text);
  // A window is gone: its object is kept until the event that destroyed it has returned.
  template <typename W>
  void Watch(std::unique_ptr<W>& slot);
  void Retire(std::unique_ptr<FormWindow> window);
  bool PreTranslate(MSG& msg);

  HINSTANCE instance_;
  Platform& platform_;
  win32::Win32Dialogs& dialogs_;
  HWND service_ = nullptr;
  std::unique_ptr<MainFrame> main_;
  std::unique_ptr<TextWindow> help_;
  std::unique_ptr<TextWindow> eula_;
  std::unique_ptr<BrowseUsersWindow> browse_;
  std::vector<std::unique_ptr<FormWindow>> retired_;
  TaskbarProgress taskbar_;
  HWND foreground_ = nullptr;  // which of the windows was in front when the archiver started
  bool quitting_ = false;
  bool reloading_ = false;
};

}  // namespace tessel::app
