// The UI driver: window look-ups, input by posted messages, waits on what can be seen; the files
// and folders a GUI run starts from.
#include "uidriver/driver.h"

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "ui/main_form.h"

namespace tessel::gui {

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kFormClass[] = L"TesselForm";
const fs::path kWinZip = L"C:\\Program Files\\WinZip";

bool Write(const fs::path& path, const std::string& bytes) {
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  std::ofstream(path, std::ios::binary) << bytes;
  return fs::file_size(path, error) == bytes.size();
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

std::optional<LRESULT> Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Duration limit) {
  DWORD_PTR result = 0;
  auto ms = static_cast<UINT>(limit.count());
  bool sent = hwnd && SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, ms, &result);
  return sent ? std::optional(static_cast<LRESULT>(result)) : std::nullopt;
}

std::wstring Text(HWND hwnd) {
  std::wstring text(static_cast<size_t>(Send(hwnd, WM_GETTEXTLENGTH).value_or(0)) + 1, L'\0');
  auto got = Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got.value_or(0)));
  return text;
}

// Inside the window of its container, as the table has it.
HWND Form::Control(std::wstring_view name) const {
  const ui::ControlDef* c = def ? def->Find(name) : nullptr;
  HWND in = !c || c->container == ui::kWindow ? hwnd : Control(def->Find(c->container)->name);
  return c && in ? GetDlgItem(in, ui::kControlIdBase + c->id) : nullptr;
}

std::optional<Tessel> Tessel::Start(std::wstring exe) {
  if (exe.empty()) exe = DriverFolder() + L"..\\..\\src\\app\\tessel.exe";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::wstring line = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\",
                      &startup, &info)) {
    return std::nullopt;
  }
  CloseHandle(info.hThread);
  Tessel t(info.hProcess, info.dwProcessId, true);
  // Past its start-up: the load sequence has run, or waits in a message box.
  if (WaitForInputIdle(info.hProcess, 60000) != 0) return std::nullopt;
  return t;
}

std::optional<Tessel> Tessel::Attach() {
  HWND main = FindWindowW(kFormClass, std::wstring(ui::MainForm().caption).c_str());
  DWORD pid = 0;
  if (!main || !GetWindowThreadProcessId(main, &pid)) return std::nullopt;
  return Tessel(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid), pid,
                false);
}

Tessel::~Tessel() {
  // Only the process this driver started, and only when a test left it running.
  if (process_ && owned_ && !WaitExit(0ms) && TerminateProcess(process_.get(), 99)) WaitExit(5s);
}

bool Tessel::WaitExit(Duration limit) const {
  return WaitForSingleObject(process_.get(), static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

// Class and caption as the system keeps them: no message is sent to a busy program.
HWND Tessel::Find(const wchar_t* cls, const wchar_t* caption, bool shown) const {
  for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, cls, caption)) != nullptr;) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == pid_ && (!shown || IsWindowVisible(h))) return h;
  }
  return nullptr;
}

Form Tessel::Get(const ui::FormDef& def, bool shown) const {
  return {Find(kFormClass, std::wstring(def.caption).c_str(), shown), &def};
}

Form Tessel::WaitForm(const ui::FormDef& def, Duration limit) const {
  Form form;
  WaitFor([&] { return bool(form = Get(def, true)); }, limit);
  return form;
}

std::optional<std::wstring> Tessel::Answer(int button) const {
  HWND box = nullptr, control = nullptr;
  if (!WaitFor([&] { return (box = Find(L"#32770", L"Tessel", true)) != nullptr; })) return {};
  std::wstring text = Text(GetDlgItem(box, 0xFFFF));
  bool answered = (control = GetDlgItem(box, button)) &&
                  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                               reinterpret_cast<LPARAM>(control)) &&
                  WaitFor([&] { return !IsWindowVisible(box); }) && Settle();
  return answered ? std::optional(text) : std::nullopt;
}

// Posted messages are handled in the order they were posted: once a marker posted behind the input
// has been handled, so has the input. Handlers post follow-ups (focus moves, Reset's rebuild), so
// markers go in three rounds. Each marker is a list box extent that no other driver process uses,
// posted to the main window also while it is hidden behind start-up messages.
bool Tessel::Settle() const {
  static WPARAM next = (GetCurrentProcessId() & 0xFFFF) << 12;
  for (int round = 0; round < 3; ++round) {
    HWND marker = nullptr;
    WPARAM value = ++next;
    bool seen = WaitFor([&] {
      if (WaitExit(0ms)) return true;
      if (marker && IsWindow(marker)) return Send(marker, LB_GETHORIZONTALEXTENT) == LRESULT(value);
      if ((marker = Get(ui::MainForm()).Control(L"List1")))
        PostMessageW(marker, LB_SETHORIZONTALEXTENT, value, 0);
      return false;
    });
    if (!seen) return false;
  }
  return WaitFor([&] { return WaitExit(0ms) || FiguresShown(); });
}

// A refresh put off while keys were queued runs only once input pauses, after the markers. At
// rest, a panel whose field names a folder shows its folder count, written last. Disabled, the
// window waits for a message box or the archiver: not at rest, nothing to wait for here.
bool Tessel::FiguresShown() const {
  Form main = Get(ui::MainForm());
  if (!main || !IsWindowEnabled(main.hwnd)) return true;
  auto text = [&](const wchar_t* box) { return Text(main.Control(box)).size(); };
  return text(L"txtFolderCountDestination") &&
         (text(L"txtSpecificUserFiles") < 4 || text(L"txtFolderCountUser")) &&
         (!text(L"txtSpecificDirectoryFiles") || text(L"txtFolderCountSpecific"));
}

bool Tessel::WaitDrawn(const Form& form) const {
  // The window and every window inside it, at any depth.
  auto painted = [](HWND h, LPARAM all) -> BOOL {
    return *reinterpret_cast<bool*>(all) &= !GetUpdateRect(h, nullptr, FALSE);
  };
  return Settle() && WaitFor([&] {
           bool all = !GetUpdateRect(form.hwnd, nullptr, FALSE);
           EnumChildWindows(form.hwnd, painted, reinterpret_cast<LPARAM>(&all));
           return all && !Find(TOOLTIPS_CLASSW, nullptr, true);
         });
}

HWND Tessel::Focus() const {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  HWND any = Find(kFormClass, nullptr, false);
  return any && GetGUIThreadInfo(GetWindowThreadProcessId(any, nullptr), &info) ? info.hwndFocus
                                                                                : nullptr;
}

bool Tessel::Post(HWND target, const std::vector<Input>& messages) const {
  for (const auto& [message, wParam, lParam] : messages) {
    if (!PostMessageW(target, message, wParam, lParam)) return false;
  }
  return Settle();
}

bool Tessel::Type(HWND edit, std::wstring_view text) const {
  std::vector<Input> chars;
  for (wchar_t c : text) chars.emplace_back(WM_CHAR, c, 1);
  return Post(edit, chars);
}

bool Tessel::Click(HWND control) const {
  RECT rc = {};
  GetClientRect(control, &rc);
  LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
  return Post(control, {{WM_LBUTTONDOWN, MK_LBUTTON, at}, {WM_LBUTTONUP, 0, at}});
}

bool ClickWithMouse(HWND control) {
  RECT rc = {};
  GetWindowRect(control, &rc);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2) &&
         SendInput(2, click, sizeof(INPUT)) == 2;
}

void PressKey(wchar_t c) {
  INPUT key[2] = {};
  key[0].type = key[1].type = INPUT_KEYBOARD;
  key[0].ki.wScan = key[1].ki.wScan = c;
  key[0].ki.dwFlags = KEYEVENTF_UNICODE;
  key[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
  SendInput(2, key, sizeof(INPUT));
}

std::wstring DriverFolder() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path().wstring() + L"\\";
}

bool InstallArchiver(int holdMs) {
  std::error_code error;
  fs::remove(kWinZip / L"command-lines.log", error);
  return Write(kWinZip / L"winzip32.exe", "") &&
         Write(kWinZip / L"hold-ms.txt", std::to_string(holdMs)) &&
         fs::copy_file(DriverFolder() + L"uidriver.exe", kWinZip / L"wzzip.exe",
                       fs::copy_options::overwrite_existing, error);
}

std::string ArchiverCalls() {
  std::ostringstream calls;
  calls << std::ifstream(kWinZip / L"command-lines.log", std::ios::binary).rdbuf();
  return calls.str();
}

bool StoreDestination(const std::string& path) {
  return Write(L"C:\\Program Files\\Tessel\\DefaultDestinationPath.txt", path + "\r\n");
}

bool MakeFile(const std::wstring& path) {
  return Write(path, "sample");
}

}  // namespace tessel::gui
