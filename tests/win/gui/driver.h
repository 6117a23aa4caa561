// Drives a running tessel.exe from outside, the way UI-automation tools do: finds its windows and
// controls by the names of the design tables, types characters, posts clicks and keys, picks list
// entries, answers message boxes and reads texts and states. Every wait is bounded.
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
bool WaitFor(const std::function<bool()>& done, Duration limit = 10s);

// A message box of the program ("Tessel" caption).
struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring text;
  bool yesNo = false;  // Yes and No buttons; otherwise OK only
};

// One top-level window of the program, addressed through its design table.
class Form {
 public:
  Form() = default;
  Form(HWND hwnd, const ui::FormDef* def) : hwnd_(hwnd), def_(def) {}
  explicit operator bool() const { return hwnd_ != nullptr && IsWindow(hwnd_); }
  HWND Hwnd() const { return hwnd_; }
  const ui::FormDef& Def() const { return *def_; }

  // The control of that name; nullptr when the window has none (or is gone).
  HWND Control(std::wstring_view name) const;
  // The design name of a control of this window (a combo box's edit part names the combo box).
  std::wstring NameOf(HWND hwnd) const;

 private:
  HWND hwnd_ = nullptr;
  const ui::FormDef* def_ = nullptr;
};

// Reading controls of another process.
std::wstring Text(HWND hwnd);
int CheckState(HWND hwnd);  // BST_UNCHECKED, BST_CHECKED
bool Visible(HWND hwnd);    // the window and all its parents
std::vector<std::wstring> ComboEntries(HWND combo);
int ComboSelection(HWND combo);
std::vector<std::wstring> ListEntries(HWND list);
RECT ClientRectOnScreen(HWND hwnd);

class Tessel {
 public:
  // Starts `exe` (a Windows path) in `folder`; fails when it cannot be started.
  static std::optional<Tessel> Start(const std::wstring& exe, const std::wstring& folder = L"C:\\");
  // Attaches to an already running program by its main window.
  static std::optional<Tessel> Attach(Duration limit = 10s);
  Tessel(Tessel&& other) noexcept;
  Tessel& operator=(Tessel&& other) noexcept;
  ~Tessel();  // ends the process if this object started it and it still runs

  DWORD ProcessId() const { return pid_; }
  // Leaves the program running when this object goes.
  void Detach() { owned_ = false; }
  bool Running() const;
  // Waits for the process to end; true when it did within the limit.
  bool WaitExit(Duration limit = 10s) const;

  // The visible top-level window with this caption, waiting for it.
  Form WaitForm(const ui::FormDef& def, Duration limit = 10s) const;
  Form FindForm(const ui::FormDef& def) const;  // no waiting; empty when not shown
  int CountForms(const ui::FormDef& def) const;
  Form Main(Duration limit = 10s) const;

  // The program's message box, waiting for it; nullopt when none came.
  std::optional<MessageBoxInfo> WaitMessage(Duration limit = 10s) const;
  std::optional<MessageBoxInfo> FindMessage() const;
  // Presses a button of the box (IDOK, IDYES, IDNO) and waits for it to close.
  bool Answer(const MessageBoxInfo& box, int button) const;

  // Waits until the program has handled everything sent so far and the follow-ups its
  // handlers queued: false when it stayed busy (a blocked thread) past the limit.
  bool Settle(Duration limit = 10s) const;

  // The control that has the keyboard focus, and its window.
  HWND Focus() const;
  HWND ActiveWindow() const;

  // User input. Each returns once the program has handled it (or the limit passed).
  void Type(HWND edit, std::wstring_view text) const;  // one WM_CHAR per character
  void ClearText(HWND edit) const;                     // caret to the end, then backspaces
  void Click(HWND control) const;                      // mouse down and up at the centre
  void DoubleClickListEntry(HWND list, int index) const;
  void ClickListEntry(HWND list, int index) const;
  void Key(HWND target, UINT vk) const;  // key down and up, through the message loop
  void Tab() const;                      // TAB to the focused control
  // Picks a combo entry with the arrow keys in its text part (focus moves there first).
  bool PickByKeys(HWND combo, int index) const;
  // Picks a combo entry with the mouse: opens the drop-down, clicks the entry.
  bool PickByMouse(HWND combo, int index) const;
  // The shell's folder picker while it is open (modal to the main window), waiting for it.
  HWND WaitFolderPicker(Duration limit = 10s) const;
  // Walks the picker's folder tree with the keyboard: typed characters search, keys move.
  void TreeSearch(HWND picker, std::wstring_view text) const;
  void TreeKeys(HWND picker, const std::vector<UINT>& keys) const;
  // Presses OK or Cancel and waits for the picker to close.
  bool ClosePicker(HWND picker, int button) const;
  // Clicks the window's close box.
  void CloseWindow(HWND form) const;

 private:
  Tessel() = default;
  void Release();
  HWND AnyWindow() const;  // a window of the program's UI thread, for synchronisation

  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  bool owned_ = false;
};

// Windows path of a Unix path as Wine maps it (Z: is the Unix root).
std::wstring WindowsPathOf(const std::string& unixPath);

}  // namespace tessel::gui
