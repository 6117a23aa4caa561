// The main window driven by arbitrary edits, clicks, answers and disk faults on the fake
// platform. Besides not crashing it must keep its promises: the stored default changes only by a
// successful Default click and always reads back as stored, an archiver line always has exactly
// its three quoted arguments, the archiver runs only into a folder that exists, and no folder is
// made except on the way to the destination or the settings folder.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "core/main_window.h"
#include "core/text.h"
#include "destination/settings_file.h"
#include "fake_platform.h"
#include "fuzz_text.h"

using namespace tessel;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

const std::wstring kSettingsFolder = L"C:\\Program Files\\Tessel";
const std::wstring kSettingsFile = kSettingsFolder + L"\\DefaultDestinationPath.txt";

// Lower case with each run of "\" made one and a trailing "\" dropped, for comparing paths the
// way Windows resolves them.
std::wstring Normal(std::wstring_view path) {
  std::wstring out;
  for (wchar_t c : path) {
    if (c == L'\\' && !out.empty() && out.back() == L'\\') continue;
    out += ToLowerChar(c);
  }
  if (out.size() > 3 && out.back() == L'\\') out.pop_back();
  return out;
}

bool IsAncestorOrSelf(std::wstring_view folder, std::wstring_view of) {
  std::wstring a = Normal(folder), b = Normal(of);
  return b.starts_with(a) && (a.size() == b.size() || b[a.size()] == L'\\' || a.ends_with(L'\\'));
}

// A one-line text box holds no line break and no NUL, and no folder name contains one.
std::wstring AsTyped(std::wstring text) {
  std::erase_if(text, [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\0'; });
  return text;
}

class Session : public MainView, public Shell {
 public:
  Session() {
    f.fs.AddDrive(L'D');
    f.fs.AddFile(L"c:\\Program Files\\WinZip\\winzip32.exe", 1);
    f.fs.AddFile(L"c:\\Program Files\\WinZip\\wzzip.exe", 1);
    f.sys.onLaunch = [this] {
      const std::wstring& line = f.sys.launches.back();
      Require(std::count(line.begin(), line.end(), L'"') == 6);
      Require(f.fs.FolderExists(w->Settings().txtDefaultPath));
    };
    w = std::make_unique<MainWindow>(f.platform, *this, *this);
  }

  // What start-up must show for the stored bytes it finds (nullopt: no readable file).
  static std::wstring Expected(const std::optional<std::string>& bytes) {
    std::wstring builtIn = L"C:\\Backup Zips";
    if (!bytes) return builtIn;
    std::vector<std::wstring> lines = ParseSettingsFile(
        bytes.value(), [](std::string_view b) { return fake::FakeSystem().FromCodePage(b); });
    return lines.empty() || lines.back().empty() ? builtIn : lines.back();
  }

  void Start() {
    std::optional<std::string> before = f.fs.Content(kSettingsFile);
    w->Form_Load();
    Require(w->Settings().txtDefaultPath == Expected(readable ? before : std::nullopt));
    if (before) Require(f.fs.Content(kSettingsFile) == before);
  }

  void Changed(Ctl) override {}
  void MoveFocus(int) override { ++focusMoves; }
  void Centre() override {}
  void Show() override {}
  void CloseBrowseUsers() override {}
  void CloseEula() override {}
  void CloseHelp() override {}
  void OpenBrowseUsers() override {}
  void OpenHelp() override {}
  void OpenEula() override {}
  void ReloadMainWindow() override {
    w = std::make_unique<MainWindow>(f.platform, *this, *this);
    Start();
  }
  void Quit() override {}

  fake::FakePlatform f;
  std::unique_ptr<MainWindow> w;
  int focusMoves = 0;
  bool readable = true;
};

void Fault(Session& s, const std::wstring& arg) {
  wchar_t kind = arg.empty() ? 0 : arg[0];
  std::wstring path = arg.empty() ? std::wstring() : arg.substr(1);
  // Hostile trees for the metrics scans: a link back up to its own folder, a folder that cannot
  // be listed.
  std::wstring name = path.substr(0, 8);
  std::erase_if(name, [](wchar_t c) { return c == L'\\' || c == L'\0'; });
  if (name.empty()) name = L"x";
  std::wstring folder = L"D:\\" + name;
  switch (kind % 10) {
    case 0:
      s.f.fs.FailWritesAfterBytes(path.size());
      break;
    case 1:
      s.f.fs.FailWritesAfterBytes(std::nullopt);
      break;
    case 2:
      s.f.fs.DenyWritesUnder(kSettingsFolder);
      break;
    case 3:
      s.f.fs.DenyWritesUnder(L"D:\\");
      break;
    case 4:
      s.f.fs.SetUnreadable(kSettingsFile);
      s.readable = !s.f.fs.IsFile(kSettingsFile);
      break;
    case 5:
      s.f.fs.AddFile(folder, 1);  // a file in the way
      break;
    case 6:
      s.f.sys.launchResult = Status::Failed(L"The system cannot find the file specified.");
      break;
    case 7:
      s.f.sys.launchResult = Status::Ok();
      break;
    case 8:
      s.f.fs.AddLink(folder + L"\\loop", folder);
      break;
    case 9:
      s.f.fs.AddFolder(folder + L"\\locked");
      s.f.fs.SetUnlistable(folder + L"\\locked");
      break;
  }
}

void Step(Session& s, wchar_t op, const std::wstring& arg) {
  std::optional<std::string> stored = s.f.fs.Content(kSettingsFile);
  size_t created = s.f.fs.CreatedFolders().size();
  MainWindow& w = *s.w;
  switch (op % 14) {
    case 0:
      w.SetText(Ctl::txtDefaultPath, AsTyped(arg));
      break;
    case 1:
      w.SetText(Ctl::TxtSrc, arg);
      break;
    case 2:
      w.SetText(Ctl::txtSpecificBackupFileName, arg);
      break;
    case 3:
      w.SetText(Ctl::txtUsers, arg);
      break;
    case 4:
      w.SetListText(Ctl::cmbFileNameYear, arg);
      break;
    case 5:
      w.SetListText(Ctl::cmbFileNameMonth, arg);
      break;
    case 6:
      w.optNo_Click();
      break;
    case 7:
      w.optYes_Click();
      break;
    case 8:
    case 9: {
      for (wchar_t c : arg) s.f.dialogs.answers.push_back(c & 1 ? Answer::No : Answer::Yes);
      op % 14 == 8 ? w.btnBackupUser_Click() : w.btnSpecificBackup_Click();
      s.f.dialogs.answers.clear();
      break;
    }
    case 10: {
      for (wchar_t c : arg) s.f.dialogs.answers.push_back(c & 1 ? Answer::No : Answer::Yes);
      std::wstring destination = w.Settings().txtDefaultPath;
      int moves = s.focusMoves;
      w.btnDefaultDestination_Click();
      s.f.dialogs.answers.clear();
      if (s.focusMoves != moves) {
        // Stored: exactly the field's text, which a restart shows again.
        Require(s.f.fs.Content(kSettingsFile) ==
                EncodeSettingsFile(destination,
                                   [&](std::wstring_view t) { return s.f.sys.ToCodePage(t); }));
        if (s.readable && !destination.empty())
          Require(Session::Expected(s.f.fs.Content(kSettingsFile)) == destination);
      } else {
        Require(s.f.fs.Content(kSettingsFile) == stored);
      }
      stored = s.f.fs.Content(kSettingsFile);
      break;
    }
    case 11:
      w.btnReset_Click();
      break;  // destroys `w`
    case 12:
      Fault(s, arg);
      break;
    case 13:
      s.f.dialogs.folderPicks.push_back(AsTyped(arg));
      w.btnBrowseDefault_Click();
      break;
  }
  // Only the Default button writes the stored default; start-up only creates it empty.
  std::optional<std::string> now = s.f.fs.Content(kSettingsFile);
  Require(now == stored || (!stored && now == std::string()));
  const std::wstring& destination = s.w->Settings().txtDefaultPath;
  for (size_t i = created; i < s.f.fs.CreatedFolders().size(); ++i) {
    const std::wstring& made = s.f.fs.CreatedFolders()[i];
    Require(IsAncestorOrSelf(made, destination) || IsAncestorOrSelf(made, kSettingsFolder));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first bytes, up to a length they give, are the stored file; the rest are steps.
  size_t fileSize = size ? std::min<size_t>(data[0], size - 1) : 0;
  Session s;
  if (fileSize) {
    s.f.fs.AddTextFile(kSettingsFile,
                       std::string(reinterpret_cast<const char*>(data + 1), fileSize));
  }
  s.Start();
  size_t used = size ? 1 + fileSize : 0;
  std::wstring steps = fuzz::WideFromBytes(data + used, size - used);
  size_t start = 0;
  for (int i = 0; i < 64 && start < steps.size(); ++i) {
    size_t end = std::min(steps.find(L'\x01', start), steps.size());
    if (end > start) Step(s, steps[start], steps.substr(start + 1, end - start - 1));
    start = end + 1;
  }
  SelectedUserName.clear();
  return 0;
}
