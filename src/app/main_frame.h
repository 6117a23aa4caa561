// The main window on screen: built from its design table, it forwards the user's edits, picks and
// clicks to the presenter and mirrors every change the presenter reports back into the controls.
#pragma once

#include <memory>
#include <optional>

#include "app/form_window.h"
#include "main_window/main_view.h"
#include "main_window/main_window.h"

namespace tessel::app {

class MainFrame : public FormWindow, public MainView {
 public:
  MainFrame(Platform& platform, Shell& shell);
  ~MainFrame() override;

  MainWindow& Presenter() { return *presenter_; }
  // The presenter's Reset2, on the state the controls show.
  void Reset2();

  // MainView.
  void Changed(Ctl control) override;
  void MoveFocus(int tabStops) override;
  void Centre() override;
  void Show() override;

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void OnClose() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Hands the presenter what the input controls show and it has not been told: a program or an
  // assistive tool may set a text, select a list entry or an option without the notification a
  // user's input sends. `handled` is the control whose own notification is being handled.
  void ReadControls(std::optional<Ctl> handled);
  void MirrorList(Ctl list);

  std::unique_ptr<MainWindow> presenter_;
  int mirroring_ = 0;     // >0 while the view writes controls: their notifications are its own
  int pendingStops_ = 0;  // focus moves asked for and not yet made
};

}  // namespace tessel::app
