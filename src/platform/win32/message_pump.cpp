// The message pump of long work: paint and sent messages only, never input or posted messages,
// which would start handlers inside the work. Also what the portable code asks of it through
// Win32Dialogs.
#include "platform/win32/message_pump.h"

#include "platform/win32/win32_platform.h"

namespace tessel::win32 {

namespace {

int g_serving = 0;  // only the user-interface thread serves windows

class Serving {
 public:
  Serving() { ++g_serving; }
  ~Serving() { --g_serving; }
  Serving(const Serving&) = delete;
  Serving& operator=(const Serving&) = delete;
};

// PM_NOYIELD: finding the queue empty here must not tell a program waiting for this one to go
// idle (WaitForInputIdle) that it has; it has not.
constexpr UINT kPeek = PM_NOYIELD;

// All input, then key and mouse messages that another program posted instead.
void RefuseInput() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT | kPeek) ||
         PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE | kPeek) ||
         PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE | kPeek) ||
         PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE | kPeek)) {
  }
}

}  // namespace

bool ServingInsideWork() {
  return g_serving > 0;
}

void ServeWindows() {
  Serving serving;
  // Peeking answers the sent messages; a paint left invalid by its window cannot hold the work.
  constexpr UINT kServe = PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE | kPeek;
  MSG msg;
  for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, 0, 0, kServe); ++i) DispatchMessageW(&msg);
}

bool KeyOrButtonDownQueued() {
  Serving serving;
  if (HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON)) == 0) return false;
  // One look per kind: a range would stop at the first message, often the key just handled coming
  // up, with the next key down behind it.
  static constexpr UINT kDowns[] = {
      WM_KEYDOWN,       WM_SYSKEYDOWN,      WM_LBUTTONDOWN,   WM_LBUTTONDBLCLK,
      WM_RBUTTONDOWN,   WM_RBUTTONDBLCLK,   WM_MBUTTONDOWN,   WM_MBUTTONDBLCLK,
      WM_XBUTTONDOWN,   WM_XBUTTONDBLCLK,   WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK,
      WM_NCRBUTTONDOWN, WM_NCRBUTTONDBLCLK, WM_NCMBUTTONDOWN, WM_NCXBUTTONDOWN};
  MSG msg;
  for (UINT down : kDowns) {
    if (PeekMessageW(&msg, nullptr, down, down, PM_NOREMOVE | PM_QS_INPUT | kPeek)) return true;
  }
  return false;
}

void WaitServingWindows(HANDLE object) {
  Serving serving;
  for (;;) {
    ServeWindows();
    RefuseInput();
    // Input in the wake mask is what tells Windows the program is not hung while it waits; what
    // wakes it is served or refused above, so the wait never spins.
    DWORD woke = MsgWaitForMultipleObjectsEx(
        1, &object, INFINITE, QS_INPUT | QS_PAINT | QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    if (woke != WAIT_OBJECT_0 + 1) break;
  }
  RefuseInput();
}

void Win32Dialogs::KeepWindowsAlive() {
  ServeWindows();
}

bool Win32Dialogs::InputPending() {
  return KeyOrButtonDownQueued();
}

}  // namespace tessel::win32
