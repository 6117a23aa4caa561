// The main window under random sequences of edits, list picks, clicks, answers, profile picks and
// disk faults on the fake platform. After every step the derived fields follow the naming rules,
// the busy pointer is off, no archiver is running, and every archiver line has exactly the quotes
// around its three paths: a field holding a quote must have been refused.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>

#include "core/main_window.h"
#include "core/naming.h"
#include "fake_platform.h"
#include "profiles/browse_users.h"

using namespace tessel;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

const std::wstring kSettingsFolder = L"C:\\Program Files\\Tessel";
const std::wstring kSettingsFile = kSettingsFolder + L"\\DefaultDestinationPath.txt";
const std::wstring kArchivers[] = {L"C:\\Program Files\\WinZip\\winzip32.exe",
                                   L"C:\\Program Files\\WinZip\\wzzip.exe"};

// The input, read front to back; zeros once it runs out.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : at_(data), end_(data + size) {}
  bool Empty() const { return at_ == end_; }
  uint8_t Next() { return at_ < end_ ? *at_++ : 0; }
  // Up to a zero byte: printable ASCII stands for itself, any other byte for a piece that paths
  // and names get wrong (a one-line box holds no line break).
  std::wstring Text() {
    static const std::wstring kPieces[] = {L"\"",      L"\\",
                                           L"/",       L"D:\\",
                                           L"C:\\",    L"..",
                                           L" ",       L"\\\\",
                                           L"\x00E9",  L"\x0130",
                                           L"\x00DF",  L"\xD83D\xDE00",
                                           L"\xDC00",  L"\xD800",
                                           L"\x1F600", L"\x4E2D",
                                           L"\x00A0",  L"\t",
                                           L"*.*",     L":",
                                           L"\xFFFF",  std::wstring(255, L'x'),
                                           L"Users",   L"Documents"};
    std::wstring text;
    for (uint8_t b = Next(); b != 0 && text.size() < 2000; b = Next()) {
      text += b >= 0x20 && b < 0x7F ? std::wstring(1, wchar_t(b)) : kPieces[b % std::size(kPieces)];
    }
    return text;
  }

 private:
  const uint8_t* at_;
  const uint8_t* end_;
};

class Session : public MainView, public Shell, public BrowseUsersView, public BrowseUsersHost {
 public:
  Session() {
    fake.fs.AddDrive(L'D');
    for (const std::wstring& path : kArchivers) fake.fs.AddFile(path, 1);
    fake.fs.AddFile(L"C:\\Users\\jsmith\\Documents\\a.txt", 1234);
    w = std::make_unique<MainWindow>(fake.platform, *this, *this);
    w->Form_Load();
  }

  // The list texts each derived field was last written with: typing into a list's text part
  // runs no reaction, so the fields keep the texts of the last one.
  void Changed(Ctl c) override {
    const BackupSettings& s = w->Settings();
    listsAtWrite[c] = {s.cmbFileNameYear.text, s.cmbFileNameMonth.text};
  }
  void ArchiverRunning(bool running) override {
    Require(running != archiving);
    archiving = running;
  }
  void ReloadMainWindow() override {
    listsAtWrite.clear();
    w = std::make_unique<MainWindow>(fake.platform, *this, *this);
    w->Form_Load();
  }
  void Quit() override { quit = true; }
  void Reset2() override { w->Reset2(); }
  void MoveFocus(int) override {}
  void Centre() override {}
  void Show() override {}
  void CloseBrowseUsers() override {}
  void CloseEula() override {}
  void CloseHelp() override {}
  void OpenBrowseUsers() override {}
  void OpenHelp() override {}
  void OpenEula() override {}
  void ListChanged() override {}
  void ActivateMainWindow() override {}

  void Check() {
    const BackupSettings& s = w->Settings();
    auto asWritten = [&](Ctl field) {
      BackupSettings t = s;
      if (auto at = listsAtWrite.find(field); at != listsAtWrite.end()) {
        std::tie(t.cmbFileNameYear.text, t.cmbFileNameMonth.text) = at->second;
      }
      return t;
    };
    Require(s.txtExampleFileName == SpecificArchivePath(asWritten(Ctl::txtExampleFileName)));
    // The lists' refill writes the user's archive path even for an empty user.
    BackupSettings u = asWritten(Ctl::txtSpecificUserFileName);
    Require(s.txtSpecificUserFileName == UserArchivePath(u) ||
            (s.txtUsers.empty() && s.txtSpecificUserFileName ==
                                       GetArchiveName(s.txtDefaultPath, L"", u.cmbFileNameYear.text,
                                                      u.cmbFileNameMonth.text)));
    std::wstring drive = SystemDriveLetter(fake.sys);
    Require(s.txtSpecificUserFiles == UserDocumentsPattern(s, drive, UsersSpelling::Users) ||
            s.txtSpecificUserFiles == UserDocumentsPattern(s, drive, UsersSpelling::USers));
    Require(s.txtSpecificDirectoryFiles == SpecificDirectoryPattern(s));
    // Each refresh turns the busy pointer on and then off again.
    for (size_t i = 0; i < fake.dialogs.busy.size(); i += 2) {
      Require(fake.dialogs.busy.compare(i, 2, "+-") == 0);
    }
    Require(!archiving);
    for (const std::wstring& event : fake.log) {
      if (event.starts_with(L"Run ")) Require(std::ranges::count(event, L'"') == 6);
    }
    fake.dialogs.busy.clear();
    fake.log.clear();
  }

  fake::FakePlatform fake;
  std::unique_ptr<MainWindow> w;
  std::map<Ctl, std::pair<std::wstring, std::wstring>> listsAtWrite;
  bool archiving = false;
  bool quit = false;
};

void Fault(Session& s, uint8_t kind, Bytes& in) {
  fake::FakeFileSystem& fs = s.fake.fs;
  const BackupSettings& settings = s.w->Settings();
  // An existing folder the window scans, for hostile trees under it.
  std::wstring folder = kind & 0x10 ? settings.TxtSrc : settings.txtDefaultPath;
  if (!fs.FolderExists(folder)) folder = L"D:\\";
  switch (kind % 12) {
    case 0:
      fs.failReads = !fs.failReads;
      break;
    case 1:
      fs.failWrites = !fs.failWrites;
      break;
    case 2:
      fs.Remove(L"D:");  // the destination's drive is gone
      break;
    case 3:
      fs.AddDrive(L'D');
      break;
    case 4:
      fs.Remove(kSettingsFolder);
      if (kind & 0x20) fs.AddFile(kSettingsFolder, 1);  // a file in the way
      break;
    case 5: {
      std::wstring text = in.Text();  // stored bytes for the next start
      fs.AddTextFile(kSettingsFile, std::string(text.begin(), text.end()));
      break;
    }
    case 6:
      fs.SetUnlistable(folder);
      break;
    case 7:
      fs.AddLink(folder + L"\\loop", folder);
      break;
    case 8:
      fs.AddFile(folder + L"\\" + std::to_wstring(kind), uint64_t{kind} << 36);
      break;
    case 9:
      s.fake.sys.launchResult = kind & 0x10 ? Status::Ok() : Status::Failed(L"not found");
      break;
    case 10:
      s.fake.sys.userName = kind & 0x10 ? std::nullopt : std::optional(in.Text());
      s.fake.sys.thousandsSeparator = kind & 0x20 ? L"\x00A0" : L",";
      break;
    case 11:
      kind & 0x10 ? fs.Remove(kArchivers[kind >> 5 & 1]) : fs.AddFile(kArchivers[kind >> 5 & 1], 1);
      break;
  }
}

void Step(Session& s, Bytes& in) {
  static const Ctl kFields[] = {Ctl::txtDefaultPath, Ctl::TxtSrc, Ctl::txtSpecificBackupFileName,
                                Ctl::txtUsers};
  static const Ctl kLists[] = {Ctl::cmbFileNameYear, Ctl::cmbFileNameMonth};
  static const Ctl kClicks[] = {Ctl::btnBackupUser,
                                Ctl::btnSpecificBackup,
                                Ctl::btnDefaultDestination,
                                Ctl::btnBrowseDefault,
                                Ctl::btnBrowseSpecific,
                                Ctl::btnBrowseForUsers,
                                Ctl::optYes,
                                Ctl::optNo,
                                Ctl::btnHelp,
                                Ctl::btnEULA,
                                Ctl::btnWinZip,
                                Ctl::btnReset,
                                Ctl::btnQuit};
  MainWindow& w = *s.w;
  uint8_t kind = in.Next();
  uint8_t arg = in.Next();
  switch (kind % 10) {
    case 0: {
      Ctl field = kFields[arg % 4];
      std::wstring text = in.Text();
      arg & 4 ? w.EditText(field, text) : w.SetText(field, text);
      break;
    }
    case 1:
      w.SetListText(kLists[arg % 2], in.Text());
      break;
    case 2:
      w.SelectListEntry(kLists[arg % 2], arg / 2 % 14 - 1);
      break;
    case 3:
      w.Click(kClicks[arg % std::size(kClicks)]);  // Reset destroys `w`
      break;
    case 4:
      s.fake.dialogs.answers.push_back(arg % 2 ? Answer::No : Answer::Yes);
      break;
    case 5:
      s.fake.dialogs.folderPicks.push_back(arg % 2 ? std::nullopt : std::optional(in.Text()));
      break;
    case 6:
      // Input that arrives during the next refreshes a user's edit starts, or a pause.
      arg % 2 ? w.InputPaused() : void(s.fake.dialogs.inputAfter = arg / 2 % 4 - 1);
      break;
    case 7:
      s.fake.fs.AddFolder(L"C:\\Users\\" + in.Text());  // a profile to pick
      break;
    case 8: {
      BrowseUsers browse(s.fake.platform, s, s);
      browse.Form_Load();
      browse.SelectUser(arg % 8 - 1);
      browse.cmdUsers_Click();
      break;
    }
    case 9:
      Fault(s, arg, in);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SelectedUserName.clear();
  Session s;
  s.Check();
  Bytes in(data, size);
  for (int steps = 0; steps < 100 && !in.Empty() && !s.quit; ++steps) {
    Step(s, in);
    s.Check();
  }
  return 0;
}
