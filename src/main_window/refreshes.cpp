// The metrics calls, and which refreshes may wait. A refresh started by the user's edit of a
// field is put off while more input already waits, and cut short when input arrives, because
// Windows repaints nothing between queued keystrokes: its figures would be overwritten unseen.
// Every other refresh (start-up, pickers, backups, versioning) runs to the end in its place.
#include "main_window/main_window.h"

namespace tessel {

namespace {

constexpr Panel kPanels[] = {Panel::Destination, Panel::User, Panel::Specific};

size_t IndexOf(Panel panel) {
  return static_cast<size_t>(panel);
}

}  // namespace

void MainWindow::GetMetricsDestination() {
  Refresh(Panel::Destination, editing_);
}

void MainWindow::GetMetricsUser() {
  Refresh(Panel::User, editing_);
}

void MainWindow::GetMetricsSpecific() {
  Refresh(Panel::Specific, editing_);
}

void MainWindow::EditText(Ctl field, const std::wstring& text) {
  editing_ = true;
  struct Done {
    bool& editing;
    ~Done() { editing = false; }
  } done{editing_};
  SetText(field, text);
}

void MainWindow::Refresh(Panel panel, bool mayStop) {
  Dialogs& dialogs = platform_.dialogs;
  // The windows keep painting and answering during every scan, so none looks hung.
  StopCheck stop = [&dialogs, mayStop] {
    dialogs.KeepWindowsAlive();
    return mayStop && dialogs.InputPending();
  };
  auto write = [this](Ctl box, const std::wstring& text) { Write(box, text); };
  // A refresh that fails on the way (out of memory) leaves its boxes blank and is not retried.
  pending_[IndexOf(panel)] = false;
  if (!GetMetrics(panel, s_, platform_, write, stop)) pending_[IndexOf(panel)] = true;
}

void MainWindow::InputPaused() {
  for (Panel panel : kPanels) {
    if (!pending_[IndexOf(panel)]) continue;
    Refresh(panel, true);
    // Input came: the rest waits for the next pause.
    if (pending_[IndexOf(panel)]) return;
  }
}

void MainWindow::CompletePending() {
  for (Panel panel : kPanels) {
    if (pending_[IndexOf(panel)]) Refresh(panel, false);
  }
}

}  // namespace tessel
