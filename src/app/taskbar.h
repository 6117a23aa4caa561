// The taskbar button's progress display: busy while the archiver runs.
#pragma once

#include <windows.h>
// windows.h first: shobjidl.h relies on its types.
#include <shobjidl.h>

namespace tessel::app {

class TaskbarProgress {
 public:
  TaskbarProgress() = default;
  ~TaskbarProgress();
  TaskbarProgress(const TaskbarProgress&) = delete;
  TaskbarProgress& operator=(const TaskbarProgress&) = delete;

  // Shows `window`'s button busy (an indeterminate bar) or back to normal. Where the shell offers
  // no progress display, nothing happens.
  void ShowBusy(HWND window, bool busy);

 private:
  ITaskbarList3* list_ = nullptr;
  bool tried_ = false;
};

}  // namespace tessel::app
