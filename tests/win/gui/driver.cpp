// The UI driver: window look-ups, input by posted messages, waits on observable state.
#include "gui/driver.h"

#include <commctrl.h>

#include <thread>

#include "ui/main_form.h"

namespace tessel::gui {

namespace {

constexpr wchar_t kFormClass[] = L"TesselForm";

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

// A top-level caption as the system keeps it: no message is sent, so a busy program (an archiver
// run) does not hold the driver up.
std::wstring Caption(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

void Descendants(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    out.push_back(child);
    Descendants(child, out);
  }
}

}  // namespace

// The driver measures the program's windows in physical pixels, as the program draws them.
const bool kDpiAware = SetProcessDPIAware() != FALSE;

bool WaitFor(const std::function<bool()>& done, Duration limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

std::optional<LRESULT> Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!hwnd || !SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, 5000, &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

std::wstring Text(HWND hwnd) {
  std::wstring text(static_cast<size_t>(Send(hwnd, WM_GETTEXTLENGTH).value_or(0)) + 1, L'\0');
  LRESULT got =
      Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())).value_or(0);
  text.resize(static_cast<size_t>(got));
  return text;
}

bool Checked(HWND hwnd) {
  return Send(hwnd, BM_GETCHECK) == BST_CHECKED;
}

HWND Form::Control(std::wstring_view name) const {
  const ui::ControlDef* control = def ? def->Find(name) : nullptr;
  std::vector<HWND> all;
  if (control) Descendants(hwnd, all);
  for (HWND h : all) {
    if (GetDlgCtrlID(h) == ui::kControlIdBase + control->id) return h;
  }
  return nullptr;
}

std::wstring Form::NameOf(HWND control) const {
  for (; control && control != hwnd; control = GetParent(control)) {
    const ui::ControlDef* c = def->Find(GetDlgCtrlID(control) - ui::kControlIdBase);
    if (c && Control(c->name) == control) return std::wstring(c->name);
  }
  return L"<none>";
}

std::optional<Tessel> Tessel::Start(const std::wstring& exe) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::wstring line = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\",
                      &startup, &info)) {
    return std::nullopt;
  }
  CloseHandle(info.hThread);
  Tessel t;
  t.process_ = info.hProcess;
  t.pid_ = info.dwProcessId;
  t.owned_ = true;
  // Past its start-up: the load sequence has run, or waits in a message box.
  if (WaitForInputIdle(t.process_, 60000) != 0) return std::nullopt;
  return t;
}

std::optional<Tessel> Tessel::Attach() {
  std::wstring caption(ui::MainForm().caption);
  HWND main = FindWindowW(kFormClass, caption.c_str());
  if (!main) return std::nullopt;
  Tessel t;
  GetWindowThreadProcessId(main, &t.pid_);
  t.process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, t.pid_);
  return t;
}

Tessel::Tessel(Tessel&& other) noexcept
    : process_(other.process_), pid_(other.pid_), owned_(other.owned_) {
  other.process_ = nullptr;
}

Tessel::~Tessel() {
  if (!process_) return;
  // Only the process this driver started, and only when a test left it running.
  if (owned_ && !WaitExit(0ms)) {
    TerminateProcess(process_, 99);
    WaitExit(5s);
  }
  CloseHandle(process_);
}

bool Tessel::WaitExit(Duration limit) const {
  return WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

std::vector<HWND> Tessel::Windows() const {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid_, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == s->pid) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Form Tessel::FindForm(const ui::FormDef& def) const {
  for (HWND hwnd : Windows()) {
    if (ClassOf(hwnd) == kFormClass && IsWindowVisible(hwnd) && Caption(hwnd) == def.caption) {
      return {hwnd, &def};
    }
  }
  return {};
}

Form Tessel::WaitForm(const ui::FormDef& def, Duration limit) const {
  Form form;
  WaitFor([&] { return static_cast<bool>(form = FindForm(def)); }, limit);
  return form;
}

std::optional<MessageBoxInfo> Tessel::WaitMessage(Duration limit) const {
  std::optional<MessageBoxInfo> box;
  WaitFor(
      [&] {
        for (HWND hwnd : Windows()) {
          if (ClassOf(hwnd) == L"#32770" && IsWindowVisible(hwnd) && Caption(hwnd) == L"Tessel") {
            box = {hwnd, Text(GetDlgItem(hwnd, 0xFFFF)), GetDlgItem(hwnd, IDYES) != nullptr};
          }
        }
        return box.has_value();
      },
      limit);
  return box;
}

bool Tessel::Answer(const MessageBoxInfo& box, int button) const {
  HWND control = GetDlgItem(box.hwnd, button);
  return control &&
         PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                      reinterpret_cast<LPARAM>(control)) &&
         WaitFor([&] { return !IsWindowVisible(box.hwnd); }) && Settle();
}

// Posted messages are handled in the order they were posted: once a marker posted behind the input
// has been handled, so has the input. Handlers post follow-ups (focus moves, Reset's rebuild), so
// markers go in three rounds. Each marker is a list box extent no other driver process uses.
bool Tessel::Settle(Duration limit) const {
  static WPARAM next = (GetCurrentProcessId() & 0xFFFF) << 12;
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (int round = 0; round < 3; ++round) {
    HWND marker = nullptr;
    WPARAM value = ++next;
    bool seen = WaitFor(
        [&] {
          if (WaitExit(0ms)) return true;
          if (!marker || !IsWindow(marker)) {
            // None while the main window is hidden (start-up, a rebuild): wait for it.
            marker = FindForm(ui::MainForm()).Control(L"List1");
            if (marker) PostMessageW(marker, LB_SETHORIZONTALEXTENT, value, 0);
            return false;
          }
          return Send(marker, LB_GETHORIZONTALEXTENT) == static_cast<LRESULT>(value);
        },
        std::chrono::duration_cast<Duration>(deadline - std::chrono::steady_clock::now()));
    if (!seen) return false;
  }
  return true;
}

bool Tessel::WaitDrawn(const Form& form) const {
  return Settle() && WaitFor([&] {
           std::vector<HWND> all{form.hwnd};
           Descendants(form.hwnd, all);
           for (HWND hwnd : Windows()) {
             if (ClassOf(hwnd) == TOOLTIPS_CLASSW && IsWindowVisible(hwnd)) return false;
           }
           for (HWND hwnd : all) {
             if (GetUpdateRect(hwnd, nullptr, FALSE)) return false;
           }
           return true;
         });
}

HWND Tessel::Focus() const {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  std::vector<HWND> windows = Windows();
  DWORD thread = windows.empty() ? 0 : GetWindowThreadProcessId(windows.front(), nullptr);
  return thread && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

bool Tessel::Input(HWND target, const std::vector<Message>& messages) const {
  for (const Message& m : messages) {
    if (!PostMessageW(target, m.message, m.wParam, m.lParam)) return false;
  }
  return Settle();
}

bool Tessel::Type(HWND edit, std::wstring_view text) const {
  std::vector<Message> chars;
  for (wchar_t c : text) chars.push_back({WM_CHAR, c, 1});
  return Input(edit, chars);
}

bool Tessel::Click(HWND control) const {
  RECT rc = {};
  GetClientRect(control, &rc);
  LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
  return Input(control, {{WM_LBUTTONDOWN, MK_LBUTTON, at}, {WM_LBUTTONUP, 0, at}});
}

bool Tessel::Key(HWND target, UINT vk) const {
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  return Input(target, {{WM_KEYDOWN, vk, 1 | scan}, {WM_KEYUP, vk, 1 | scan | 0xC0000000}});
}

}  // namespace tessel::gui
