// The taskbar list is made on first use, on the thread that initialised COM in main.
#include "app/taskbar.h"

namespace tessel::app {

TaskbarProgress::~TaskbarProgress() {
  if (list_) list_->Release();
}

void TaskbarProgress::ShowBusy(HWND window, bool busy) {
  if (!tried_) {
    tried_ = true;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&list_))) ||
        FAILED(list_->HrInit())) {
      if (list_) list_->Release();
      list_ = nullptr;
    }
  }
  if (list_ && window) list_->SetProgressState(window, busy ? TBPF_INDETERMINATE : TBPF_NOPROGRESS);
}

}  // namespace tessel::app
