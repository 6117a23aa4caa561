// Drives a running tessel.exe from outside, the way UI-automation tools do: finds its windows and
// controls by the names of the design tables, posts input, sends reads, answers message boxes.
// There is one wait (WaitFor, polling observable state), one way to send (Send, with a time-out)
// and one way to give input (Input: posted, then settled).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/form.h"

namespace tessel::gui {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

// Polls `done` until it holds or `limit` has passed; true when it held.
bool WaitFor(const std::function<bool()>& done, Duration limit = 30s);

// Sends to another process's window; nullopt when it did not answer within five seconds.
std::optional<LRESULT> Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
std::wstring Text(HWND hwnd);
bool Checked(HWND hwnd);

// One top-level window of the program, addressed through its design table.
struct Form {
  HWND hwnd = nullptr;
  const ui::FormDef* def = nullptr;
  explicit operator bool() const { return hwnd && IsWindow(hwnd); }
  HWND Control(std::wstring_view name) const;  // nullptr when the window has none
  std::wstring NameOf(HWND control) const;     // a combo box's edit part names the combo box
};

struct MessageBoxInfo {  // a message box of the program ("Tessel" caption)
  HWND hwnd = nullptr;
  std::wstring text;
  bool yesNo = false;  // Yes and No buttons; otherwise OK only
};

class Tessel {
 public:
  // Starts `exe` (a Windows path) in C:\ and waits until it is idle, waiting for input.
  static std::optional<Tessel> Start(const std::wstring& exe);
  // The running program, found by its main window.
  static std::optional<Tessel> Attach();
  Tessel(Tessel&& other) noexcept;
  ~Tessel();  // ends the process if this object started it and it still runs
  void Detach() { owned_ = false; }
  bool WaitExit(Duration limit = 30s) const;

  Form FindForm(const ui::FormDef& def) const;  // shown now, or empty
  Form WaitForm(const ui::FormDef& def, Duration limit = 30s) const;
  std::optional<MessageBoxInfo> WaitMessage(Duration limit = 30s) const;
  // Presses IDOK, IDYES or IDNO and waits for the box to close and the program to settle.
  bool Answer(const MessageBoxInfo& box, int button) const;

  // True once the program has handled all input given so far and the follow-ups its handlers
  // posted (focus moves, window rebuilds), or has ended.
  bool Settle(Duration limit = 30s) const;
  // True once the program has settled, shows no tool tip and has painted every window of `form`:
  // what a screenshot sees is then what the program shows.
  bool WaitDrawn(const Form& form) const;
  HWND Focus() const;

  // Posts the messages to `target` in order, as the system would queue them, then settles.
  struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  bool Input(HWND target, const std::vector<Message>& messages) const;
  bool Type(HWND edit, std::wstring_view text) const;  // one WM_CHAR per character
  bool Click(HWND control) const;                      // mouse down and up at the centre
  bool Key(HWND target, UINT vk) const;                // key down and up

 private:
  Tessel() = default;
  std::vector<HWND> Windows() const;  // the program's top-level windows

  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  bool owned_ = false;
};

}  // namespace tessel::gui
