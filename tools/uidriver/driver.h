// Drives a running tessel.exe from outside, the way UI-automation tools do: finds its windows and
// controls by the names of the design tables, posts input, sends reads, answers message boxes.
// There is one wait (WaitFor, polling what can be seen), one way to send (Send, with a time-out)
// and one way to give input (Post: posted, then settled); real input (SendInput), as a person
// types ahead, is not settled. Below, the machine state a GUI run starts from.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "ui/form.h"

namespace tessel::gui {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

// Polls `done` until it holds or `limit` has passed; true when it held.
bool WaitFor(const std::function<bool()>& done, Duration limit = 30s);
// Sends to another process's window; nullopt when it did not answer within `limit`.
std::optional<LRESULT> Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                            Duration limit = 5s);
std::wstring Text(HWND hwnd);

// Real input, queued as a person's and not waited for: a left click at the middle of `control`;
// a key down and up that types `c`.
bool ClickWithMouse(HWND control);
void PressKey(wchar_t c);

struct Form {  // a top-level window of the program with its design table
  HWND hwnd = nullptr;
  const ui::FormDef* def = nullptr;
  explicit operator bool() const { return hwnd && IsWindow(hwnd); }
  HWND Control(std::wstring_view name) const;  // nullptr when the window has none
};

class Tessel {
 public:
  // Starts `exe` (a Windows path; the one built beside the driver if empty) in C:\ and waits
  // until it is idle, waiting for input.
  static std::optional<Tessel> Start(std::wstring exe = {});
  static std::optional<Tessel> Attach();  // the running program, by its main window
  Tessel(Tessel&&) = default;
  ~Tessel();  // ends the process if this object started it and it still runs
  void Detach() { owned_ = false; }
  bool WaitExit(Duration limit = 30s) const;

  Form WaitForm(const ui::FormDef& def, Duration limit = 30s) const;  // shown
  // Waits for a message box of the program ("Tessel" caption), presses IDOK, IDYES or IDNO and
  // waits for the box to close and the program to settle; the box's text, or nullopt.
  std::optional<std::wstring> Answer(int button) const;
  // True once the program has handled all input given so far and the follow-ups its handlers
  // posted (focus moves, Reset's rebuild) and shows the figures of every panel whose field
  // names a folder, or has ended.
  bool Settle() const;
  // Settled, no tool tip shown and every window of `form` painted: what a screenshot sees is
  // what the program shows.
  bool WaitDrawn(const Form& form) const;
  HWND Focus() const;

  using Input = std::tuple<UINT, WPARAM, LPARAM>;                    // message and parameters
  bool Post(HWND target, const std::vector<Input>& messages) const;  // in order, then settles
  bool Type(HWND edit, std::wstring_view text) const;                // one WM_CHAR a character
  bool Click(HWND control) const;                                    // down and up at the centre

 private:
  Tessel(HANDLE process, DWORD pid, bool owned)
      : process_(process, CloseHandle), pid_(pid), owned_(owned) {}
  // The program's first top-level window of that class (and caption, unless null).
  HWND Find(const wchar_t* cls, const wchar_t* caption, bool shown) const;
  Form Get(const ui::FormDef& def, bool shown = false) const;
  bool FiguresShown() const;

  std::shared_ptr<void> process_;
  DWORD pid_ = 0;
  bool owned_ = false;
};

std::wstring DriverFolder();  // the running driver's folder, ending in "\"
// An empty winzip32.exe and the driver as the recording archiver wzzip.exe, no calls recorded yet.
// Each run then takes `holdMs` milliseconds after recording its call, as a long backup does.
bool InstallArchiver(int holdMs = 0);
std::string ArchiverCalls();  // the command lines received, each ending in a line feed
// The stored default destination as the program writes it: one line, CR LF.
bool StoreDestination(const std::string& path);
bool MakeFile(const std::wstring& path);  // with every missing folder level

}  // namespace tessel::gui
