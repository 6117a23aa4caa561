// The UI driver: window look-ups, input by window messages, bounded waits.
#include "gui/driver.h"

#include <thread>

#include "ui/main_form.h"

namespace tessel::gui {

namespace {

constexpr wchar_t kFormClass[] = L"TesselForm";
constexpr UINT kSendLimitMs = 5000;

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

// A top-level window's caption as the system keeps it: no message is sent, so a program whose
// thread is busy (an archiver run) does not hold the driver up.
std::wstring Caption(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

// Sends a message to another process's window; nullopt when it did not answer in time.
std::optional<LRESULT> SendTimed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT limitMs = kSendLimitMs) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, limitMs, &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        if (ProcessOf(hwnd) == s->pid) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CollectDescendants(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    out.push_back(child);
    CollectDescendants(child, out);
  }
}

LPARAM Point(int x, int y) {
  return MAKELPARAM(x, y);
}

LPARAM Centre(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return Point(rc.right / 2, rc.bottom / 2);
}

}  // namespace

// The driver measures the program's windows in physical pixels, as the program itself draws them.
const bool kDpiAware = SetProcessDPIAware() != FALSE;

bool WaitFor(const std::function<bool()>& done, Duration limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (true) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
}

std::wstring WindowsPathOf(const std::string& unixPath) {
  std::wstring path = L"Z:";
  for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

// --- reading ---------------------------------------------------------------------------------

std::wstring Text(HWND hwnd) {
  if (!hwnd) return {};
  std::optional<LRESULT> length = SendTimed(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (!length) return L"<no answer>";
  std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
  std::optional<LRESULT> got =
      SendTimed(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got ? static_cast<size_t>(*got) : 0);
  return text;
}

int CheckState(HWND hwnd) {
  return static_cast<int>(SendTimed(hwnd, BM_GETCHECK, 0, 0).value_or(-1));
}

bool Visible(HWND hwnd) {
  return hwnd && IsWindowVisible(hwnd);
}

std::vector<std::wstring> ComboEntries(HWND combo) {
  std::vector<std::wstring> entries;
  int count = static_cast<int>(SendTimed(combo, CB_GETCOUNT, 0, 0).value_or(0));
  for (int i = 0; i < count; ++i) {
    int length = static_cast<int>(SendTimed(combo, CB_GETLBTEXTLEN, i, 0).value_or(0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendTimed(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    entries.push_back(text);
  }
  return entries;
}

int ComboSelection(HWND combo) {
  return static_cast<int>(SendTimed(combo, CB_GETCURSEL, 0, 0).value_or(CB_ERR));
}

std::vector<std::wstring> ListEntries(HWND list) {
  std::vector<std::wstring> entries;
  int count = static_cast<int>(SendTimed(list, LB_GETCOUNT, 0, 0).value_or(0));
  for (int i = 0; i < count; ++i) {
    int length = static_cast<int>(SendTimed(list, LB_GETTEXTLEN, i, 0).value_or(0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendTimed(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    entries.push_back(text);
  }
  return entries;
}

RECT ClientRectOnScreen(HWND hwnd) {
  RECT rc = {};
  GetClientRect(hwnd, &rc);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

// --- forms -----------------------------------------------------------------------------------

HWND Form::Control(std::wstring_view name) const {
  if (!hwnd_ || !def_) return nullptr;
  const ui::ControlDef* control = def_->Find(name);
  if (!control) return nullptr;
  std::vector<HWND> all;
  CollectDescendants(hwnd_, all);
  for (HWND h : all) {
    if (GetDlgCtrlID(h) == ui::kControlIdBase + control->id) return h;
  }
  return nullptr;
}

std::wstring Form::NameOf(HWND hwnd) const {
  for (; hwnd && hwnd != hwnd_; hwnd = GetParent(hwnd)) {
    int id = GetDlgCtrlID(hwnd) - ui::kControlIdBase;
    if (const ui::ControlDef* def = def_ ? def_->Find(id) : nullptr) {
      if (Control(def->name) == hwnd) return std::wstring(def->name);
    }
  }
  return L"<none>";
}

// --- the program ------------------------------------------------------------------------------

std::optional<Tessel> Tessel::Start(const std::wstring& exe, const std::wstring& folder) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::wstring line = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info)) {
    return std::nullopt;
  }
  CloseHandle(info.hThread);
  Tessel t;
  t.process_ = info.hProcess;
  t.pid_ = info.dwProcessId;
  t.owned_ = true;
  return t;
}

std::optional<Tessel> Tessel::Attach(Duration limit) {
  HWND main = nullptr;
  std::wstring caption(ui::MainForm().caption);
  WaitFor(
      [&] {
        main = FindWindowW(kFormClass, caption.c_str());
        return main != nullptr;
      },
      limit);
  if (!main) return std::nullopt;
  Tessel t;
  t.pid_ = ProcessOf(main);
  t.process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, t.pid_);
  return t;
}

Tessel::Tessel(Tessel&& other) noexcept
    : process_(other.process_), pid_(other.pid_), owned_(other.owned_) {
  other.process_ = nullptr;
  other.owned_ = false;
}

Tessel& Tessel::operator=(Tessel&& other) noexcept {
  if (this != &other) {
    Release();
    process_ = other.process_;
    pid_ = other.pid_;
    owned_ = other.owned_;
    other.process_ = nullptr;
    other.owned_ = false;
  }
  return *this;
}

Tessel::~Tessel() {
  Release();
}

void Tessel::Release() {
  if (!process_) return;
  // Only the process this driver started, and only when a test left it running.
  if (owned_ && Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
}

bool Tessel::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Tessel::WaitExit(Duration limit) const {
  return process_ &&
         WaitForSingleObject(process_, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

Form Tessel::FindForm(const ui::FormDef& def) const {
  std::wstring caption(def.caption);
  for (HWND hwnd : TopLevelWindows(pid_)) {
    if (ClassOf(hwnd) == kFormClass && IsWindowVisible(hwnd) && Caption(hwnd) == caption) {
      return Form(hwnd, &def);
    }
  }
  return {};
}

int Tessel::CountForms(const ui::FormDef& def) const {
  std::wstring caption(def.caption);
  int count = 0;
  for (HWND hwnd : TopLevelWindows(pid_)) {
    if (ClassOf(hwnd) == kFormClass && Caption(hwnd) == caption) ++count;
  }
  return count;
}

Form Tessel::WaitForm(const ui::FormDef& def, Duration limit) const {
  Form form;
  WaitFor(
      [&] {
        form = FindForm(def);
        return static_cast<bool>(form);
      },
      limit);
  return form;
}

Form Tessel::Main(Duration limit) const {
  return WaitForm(ui::MainForm(), limit);
}

std::optional<MessageBoxInfo> Tessel::FindMessage() const {
  for (HWND hwnd : TopLevelWindows(pid_)) {
    if (ClassOf(hwnd) != L"#32770" || !IsWindowVisible(hwnd) || Caption(hwnd) != L"Tessel") {
      continue;
    }
    MessageBoxInfo box;
    box.hwnd = hwnd;
    box.text = Text(GetDlgItem(hwnd, 0xFFFF));
    box.yesNo = GetDlgItem(hwnd, IDYES) != nullptr;
    return box;
  }
  return std::nullopt;
}

std::optional<MessageBoxInfo> Tessel::WaitMessage(Duration limit) const {
  std::optional<MessageBoxInfo> box;
  WaitFor(
      [&] {
        box = FindMessage();
        return box.has_value();
      },
      limit);
  return box;
}

bool Tessel::Answer(const MessageBoxInfo& box, int button) const {
  HWND control = GetDlgItem(box.hwnd, button);
  if (!control) return false;
  PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
  return WaitFor([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); });
}

HWND Tessel::AnyWindow() const {
  for (HWND hwnd : TopLevelWindows(pid_)) {
    if (ClassOf(hwnd) == kFormClass) return hwnd;
  }
  return nullptr;
}

// Posted messages are handled in order: once a marker posted behind the input has been handled,
// so has the input. Handlers may queue follow-ups (focus moves), so a few markers go in turn.
bool Tessel::Settle(Duration limit) const {
  static LPARAM counter = 1000;
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (int round = 0; round < 3; ++round) {
    Form main = FindForm(ui::MainForm());
    HWND marker = main ? main.Control(L"List1") : nullptr;
    if (!marker) {
      // No main window (hidden during start-up or being rebuilt): a round trip must do.
      HWND any = AnyWindow();
      if (any) SendTimed(any, WM_NULL, 0, 0, static_cast<UINT>(limit.count()));
      continue;
    }
    WPARAM value = static_cast<WPARAM>(++counter);
    PostMessageW(marker, LB_SETHORIZONTALEXTENT, value, 0);
    bool seen = WaitFor(
        [&] {
          auto left =
              std::chrono::duration_cast<Duration>(deadline - std::chrono::steady_clock::now());
          if (left.count() <= 0) return false;
          std::optional<LRESULT> got =
              SendTimed(marker, LB_GETHORIZONTALEXTENT, 0, 0, static_cast<UINT>(left.count()));
          return !IsWindow(marker) || (got && static_cast<WPARAM>(*got) == value);
        },
        std::chrono::duration_cast<Duration>(deadline - std::chrono::steady_clock::now()));
    if (!seen) return false;
  }
  return true;
}

HWND Tessel::Focus() const {
  HWND any = AnyWindow();
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!any || !GetGUIThreadInfo(GetWindowThreadProcessId(any, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

HWND Tessel::ActiveWindow() const {
  HWND any = AnyWindow();
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!any || !GetGUIThreadInfo(GetWindowThreadProcessId(any, nullptr), &info)) return nullptr;
  return info.hwndActive;
}

void Tessel::Type(HWND edit, std::wstring_view text) const {
  for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
  Settle();
}

void Tessel::ClearText(HWND edit) const {
  int length = static_cast<int>(Text(edit).size());
  // Where a click at the end of the text would put the caret.
  SendTimed(edit, EM_SETSEL, length, length);
  for (int i = 0; i < length; ++i) PostMessageW(edit, WM_CHAR, VK_BACK, 1);
  Settle();
}

void Tessel::Click(HWND control) const {
  LPARAM at = Centre(control);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
  Settle();
}

namespace {

LPARAM ListItemPoint(HWND list, int index) {
  int height = static_cast<int>(SendTimed(list, LB_GETITEMHEIGHT, 0, 0).value_or(13));
  int top = static_cast<int>(SendTimed(list, LB_GETTOPINDEX, 0, 0).value_or(0));
  RECT rc;
  GetClientRect(list, &rc);
  return Point(rc.right / 2, (index - top) * height + height / 2);
}

}  // namespace

void Tessel::ClickListEntry(HWND list, int index) const {
  LPARAM at = ListItemPoint(list, index);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  Settle();
}

void Tessel::DoubleClickListEntry(HWND list, int index) const {
  LPARAM at = ListItemPoint(list, index);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  Settle();
}

void Tessel::Key(HWND target, UINT vk) const {
  UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | (1u << 30) | (1u << 31));
  Settle();
}

void Tessel::Tab() const {
  if (HWND focus = Focus()) Key(focus, VK_TAB);
}

bool Tessel::PickByKeys(HWND combo, int index) const {
  HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  if (!edit) return false;
  Click(edit);
  for (int steps = 0; steps < 50; ++steps) {
    int current = ComboSelection(combo);
    if (current == index) return true;
    Key(edit, current < index ? VK_DOWN : VK_UP);
  }
  return false;
}

bool Tessel::PickByMouse(HWND combo, int index) const {
  RECT rc;
  GetClientRect(combo, &rc);
  // The drop-down button sits at the right end of the box.
  LPARAM button = Point(rc.right - 4, rc.bottom / 2);
  PostMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, button);
  PostMessageW(combo, WM_LBUTTONUP, 0, button);
  Settle();
  HWND list = nullptr;
  WaitFor([&] {
    for (HWND hwnd : TopLevelWindows(pid_)) {
      if (ClassOf(hwnd) == L"ComboLBox" && IsWindowVisible(hwnd)) list = hwnd;
    }
    return list != nullptr;
  });
  if (!list) return false;
  LPARAM at = ListItemPoint(list, index);
  PostMessageW(list, WM_MOUSEMOVE, 0, at);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  Settle();
  return WaitFor([&] { return !IsWindowVisible(list); }, 3s) && ComboSelection(combo) == index;
}

HWND Tessel::WaitFolderPicker(Duration limit) const {
  HWND picker = nullptr;
  WaitFor(
      [&] {
        for (HWND hwnd : TopLevelWindows(pid_)) {
          if (ClassOf(hwnd) == L"#32770" && IsWindowVisible(hwnd) &&
              FindWindowExW(hwnd, nullptr, L"SysTreeView32", nullptr)) {
            picker = hwnd;
          }
        }
        return picker != nullptr;
      },
      limit);
  return picker;
}

void Tessel::TreeSearch(HWND picker, std::wstring_view text) const {
  HWND tree = FindWindowExW(picker, nullptr, L"SysTreeView32", nullptr);
  for (wchar_t c : text) PostMessageW(tree, WM_CHAR, c, 1);
  Settle();
}

void Tessel::TreeKeys(HWND picker, const std::vector<UINT>& keys) const {
  HWND tree = FindWindowExW(picker, nullptr, L"SysTreeView32", nullptr);
  for (UINT key : keys) Key(tree, key);
}

bool Tessel::ClosePicker(HWND picker, int button) const {
  PostMessageW(picker, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(picker, button)));
  bool closed = WaitFor([&] { return !IsWindow(picker) || !IsWindowVisible(picker); });
  Settle();
  return closed;
}

void Tessel::CloseWindow(HWND form) const {
  PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
  Settle();
}

}  // namespace tessel::gui
