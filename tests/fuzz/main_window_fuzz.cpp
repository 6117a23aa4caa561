// The main window under random edits, list picks, clicks, answers, profile picks and disk faults.
// After every step the derived fields follow the naming rules, the busy pointer is off, and every
// archiver line has just the quotes around its three paths: a field with a quote was refused.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <tuple>

#include "core/naming.h"
#include "fake_platform.h"
#include "main_window/main_window.h"
#include "profiles/browse_users.h"

using namespace tessel;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

const std::wstring kSettingsFolder = L"C:\\Program Files\\Tessel";
const std::wstring kArchivers[] = {L"C:\\Program Files\\WinZip\\winzip32.exe",
                                   L"C:\\Program Files\\WinZip\\wzzip.exe"};

// The input, read front to back; zeros once it runs out.
struct Bytes {
  const uint8_t* at;
  const uint8_t* end;
  uint8_t Next() { return at < end ? *at++ : 0; }
  // Up to a zero byte: printable ASCII stands for itself, any other byte for a piece that paths
  // and names get wrong (a one-line box holds no line break).
  std::wstring Text() {
    static const std::wstring_view kPieces[] = {
        L"\"",     L"\\",     L"/",       L"D:\\",   L"C:\\",      L"..",
        L" ",      L"\\\\",   L"\x00E9",  L"\x0130", L"\x00DF",    L"\xD83D\xDE00",
        L"\xDC00", L"\xD800", L"\x1F600", L"\x4E2D", L"\x00A0",    L"\t",
        L"*.*",    L":",      L"\xFFFF",  L"Users",  L"Documents", L""};
    std::wstring text;
    for (uint8_t b = Next(); b != 0 && text.size() < 2000; b = Next()) {
      std::wstring piece(kPieces[b % std::size(kPieces)]);
      if (piece.empty()) piece.assign(255, L'x');  // a name as long as one may be
      text += b >= 0x20 && b < 0x7F ? std::wstring(1, wchar_t(b)) : piece;
    }
    return text;
  }
};

class Session : public MainView, public Shell, public BrowseUsersView, public BrowseUsersHost {
 public:
  Session() {
    fake.fs.AddDrive(L'D');
    for (const std::wstring& path : kArchivers) fake.fs.AddFile(path, 1);
    fake.fs.AddFile(L"C:\\Users\\jsmith\\Documents\\a.txt", 1234);
    ReloadMainWindow();
  }

  // The list texts each derived field was last written with: typing into a list's text part
  // runs no reaction, so the fields keep the texts of the last one.
  void Changed(Ctl c) override {
    listsAtWrite[c] = {w->Settings().cmbFileNameYear.text, w->Settings().cmbFileNameMonth.text};
  }
  void ArchiverRunning(bool running) override { archiving = running; }
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
    std::wstring anyUser = GetArchiveName(u.txtDefaultPath, u.txtUsers, u.cmbFileNameYear.text,
                                          u.cmbFileNameMonth.text);
    Require(s.txtSpecificUserFileName == UserArchivePath(u) ||
            s.txtSpecificUserFileName == anyUser);
    std::wstring drive = SystemDriveLetter(fake.sys);
    Require(s.txtSpecificUserFiles == UserDocumentsPattern(s, drive, UsersSpelling::Users) ||
            s.txtSpecificUserFiles == UserDocumentsPattern(s, drive, UsersSpelling::USers));
    Require(s.txtSpecificDirectoryFiles == SpecificDirectoryPattern(s));
    // Each refresh turns the busy pointer on and then off again.
    const std::string& busy = fake.dialogs.busy;
    for (size_t i = 0; i < busy.size(); ++i) Require(busy[i] == "+-"[i % 2]);
    Require(busy.size() % 2 == 0 && !archiving);
    for (auto& e : fake.log) Require(!e.starts_with(L"Run ") || std::ranges::count(e, L'"') == 6);
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
  fake::FakeSystem& sys = s.fake.sys;
  // An existing folder the window scans, for hostile trees under it.
  std::wstring folder = kind & 0x10 ? s.w->Settings().TxtSrc : s.w->Settings().txtDefaultPath;
  if (!fs.FolderExists(folder)) folder = L"C:\\Users";
  const std::wstring& archiver = kArchivers[kind >> 5 & 1];
  const std::function<void()> faults[] = {
      [&] { fs.failReads = !fs.failReads; },
      [&] { fs.failWrites = !fs.failWrites; },
      [&] { fs.Remove(L"D:"); },  // the destination's drive is gone
      [&] { fs.AddDrive(L'D'); },
      [&] {
        fs.Remove(kSettingsFolder);
        if (kind & 0x20) fs.AddFile(kSettingsFolder, 1);  // a file in the way
      },
      [&] {
        std::wstring text = in.Text();  // stored bytes for the next start
        fs.AddTextFile(kSettingsFolder + L"\\DefaultDestinationPath.txt",
                       std::string(text.begin(), text.end()));
      },
      [&] { fs.SetUnlistable(folder); },
      [&] { fs.AddLink(folder + L"\\loop", folder); },
      [&] { fs.AddFile(folder + L"\\" + std::to_wstring(kind), uint64_t{kind} << 36); },
      [&] { sys.launchResult = kind & 0x10 ? Status::Ok() : Status::Failed(L"not found"); },
      [&] { sys.userName = kind & 0x10 ? std::nullopt : std::optional(in.Text()); },
      [&] { sys.thousandsSeparator = kind & 0x10 ? L"\x00A0" : L","; },
      [&] { kind & 0x10 ? fs.Remove(archiver) : fs.AddFile(archiver, 1); },
  };
  faults[kind % std::size(faults)]();
}

void Step(Session& s, Bytes& in) {
  static const Ctl kFields[] = {Ctl::txtDefaultPath, Ctl::TxtSrc, Ctl::txtSpecificBackupFileName,
                                Ctl::txtUsers};
  static const Ctl kLists[] = {Ctl::cmbFileNameYear, Ctl::cmbFileNameMonth};
  MainWindow& w = *s.w;
  fake::FakeDialogs& dialogs = s.fake.dialogs;
  uint8_t kind = in.Next(), arg = in.Next();
  Ctl field = kFields[arg % 4], list = kLists[arg % 2];
  const std::function<void()> steps[] = {
      [&] { arg & 4 ? w.EditText(field, in.Text()) : w.SetText(field, in.Text()); },
      [&] { w.SetListText(list, in.Text()); },
      [&] { w.SelectListEntry(list, arg / 2 % 14 - 1); },
      [&] { w.Click(Ctl(arg % kControlCount)); },  // Reset destroys `w`
      [&] { dialogs.answers.push_back(arg % 2 ? Answer::No : Answer::Yes); },
      [&] { dialogs.folderPicks.push_back(arg % 2 ? std::nullopt : std::optional(in.Text())); },
      // Input that arrives during the refreshes a user's edit starts, or a pause.
      [&] { arg % 2 ? w.InputPaused() : void(dialogs.inputAfter = arg / 2 % 4 - 1); },
      [&] { s.fake.fs.AddFolder(L"C:\\Users\\" + in.Text()); },  // a profile to pick
      [&] {
        BrowseUsers browse(s.fake.platform, s, s);
        browse.Form_Load();
        browse.SelectUser(arg % 8 - 1);
        browse.cmdUsers_Click();
      },
      [&] { Fault(s, arg, in); },
  };
  steps[kind % std::size(steps)]();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SelectedUserName.clear();
  Session s;
  s.Check();
  Bytes in{data, data + size};
  for (int steps = 0; steps < 100 && in.at < in.end && !s.quit; ++steps) {
    Step(s, in);
    s.Check();
  }
  return 0;
}
