// What the main window's presenter needs from its window. The Win32 view implements it; tests
// record it.
#pragma once

#include "core/controls.h"

namespace tessel {

class MainView {
 public:
  virtual ~MainView() = default;

  // A control's state in the presenter's BackupSettings changed (text, check value, option,
  // list entries or selection, visibility): mirror it into the control. Never calls back.
  virtual void Changed(Ctl control) = 0;

  // Moves the keyboard focus on by `tabStops` stops in tab order, after the current event has
  // been handled (as queued TAB keystrokes would).
  virtual void MoveFocus(int tabStops) = 0;

  // Centres the window on the screen.
  virtual void Centre() = 0;

  // Shows the window, modeless.
  virtual void Show() = 0;
};

// Window lifetimes the presenter asks for but does not own: the secondary windows and the
// main window itself.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual void CloseBrowseUsers() = 0;  // each: only when that window is open
  virtual void CloseEula() = 0;
  virtual void CloseHelp() = 0;
  virtual void OpenBrowseUsers() = 0;  // closes an open copy first, then opens a fresh one
  virtual void OpenHelp() = 0;
  virtual void OpenEula() = 0;
  // Destroys the main window and builds it anew, which runs Form_Load on fresh state.
  virtual void ReloadMainWindow() = 0;
  // The archiver runs (true) or has ended (false). Meanwhile every window refuses input, as under
  // a modal dialog, and the taskbar shows the program busy; afterwards the focus is back where it
  // was.
  virtual void ArchiverRunning(bool running) = 0;
  // Ends the program at once.
  virtual void Quit() = 0;
};

}  // namespace tessel
