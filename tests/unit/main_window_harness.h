// A main window presenter on the fake platform whose view and shell write into the fake's log, so
// one string per case tells what the window showed and did, in order: fields and lists as
// "Name=text", refreshes as their panel's letter (with figures unless all zero), focus moves,
// shell calls, launches and messages (shortened by the table of the system's texts below).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/main_window.h"
#include "core/settings_fields.h"
#include "fake_platform.h"
#include "jobs/presence_check.h"

namespace tessel::testing {

inline const std::wstring kStoredFile = L"C:\\Program Files\\Tessel\\DefaultDestinationPath.txt";

// Every message the program shows, "%" marking what it fills in.
inline const std::wstring kNotFound =
    L" was \r\n\r\n(1) not found to be installed or\r\n(2) not installed to default path.\r\n\r\n"
    L"It must be installed and installed to the\r\n default path for this program to function."
    L"\r\n Tessel works best if a WinZip license\r\n is purchased.";
inline const std::wstring kBuiltIn =
    L":\r\n%\r\n\r\n%\r\n\r\nThe built-in default destination is used instead.";
inline const std::wstring kUnchanged =
    L":\r\n%\r\n\r\n%\r\n\r\nThe stored default destination is unchanged.";
inline const std::pair<const wchar_t*, std::wstring> kTexts[] = {
    {L"NoWinZip", L"WinZip" + kNotFound},
    {L"NoAddon", L"The WinZip Command Line Support Add-on" + kNotFound},
    {L"Drive",
     L"The default Drive, % , doesn't exist.\r\n\r\n"
     L"Please select appropriate drive before trying again."},
    {L"Ask", L"The default folder, % , doesn't exist.\r\nWould you like it created?"},
    {L"NotMade", L"The folder % could not be created.\r\n\r\n%"},
    {L"NoRoot",
     L"A destination must be a full path that begins with a drive, such as "
     L"D:\\Backup Zips."},
    {L"Slashes", L"Folders are separated by backslashes (\\), not by slashes (/): type % instead."},
    {L"Blank",
     L"Either the Source Path or Backup File Label is blank.\r\n\r\n"
     L"Please Enter Appropriate Data!"},
    {L"Quote",
     L"The field \"%\" contains a double quote (\"), which is not allowed in file or "
     L"folder names.\r\n\r\nPlease remove it and try again."},
    {L"NoStart", L"The archiver could not be started:\r\n%\r\n\r\n%"},
    {L"NoFolder", L"The settings folder could not be created" + kBuiltIn},
    {L"NoFile", L"The settings file could not be created" + kBuiltIn},
    {L"NoRead", L"The settings file could not be read" + kBuiltIn},
    {L"Kept", L"The settings folder could not be created" + kUnchanged},
    {L"NotStored", L"The default destination could not be stored in" + kUnchanged}};

// Matches `text` against `pattern`, appending ";" and each filled-in part to `fills`.
inline bool Match(std::wstring_view pattern, std::wstring_view text, std::wstring& fills) {
  size_t mark = pattern.find(L'%');
  if (mark == std::wstring_view::npos) return pattern == text;
  if (text.substr(0, mark) != pattern.substr(0, mark)) return false;
  pattern.remove_prefix(mark + 1);
  text.remove_prefix(mark);
  std::wstring_view literal = pattern.substr(0, pattern.find(L'%'));
  size_t at = literal.size() == pattern.size()
                  ? (text.ends_with(literal) ? text.size() - literal.size() : std::wstring::npos)
                  : text.find(literal);
  if (at == std::wstring::npos) return false;
  fills += L";" + std::wstring(text.substr(0, at));
  return Match(pattern, text.substr(at), fills);
}

// A system text as its key and filled-in parts ("Ask(D:\New)"), each part shortened in turn.
inline std::wstring Brief(std::wstring_view text) {
  for (const auto& [key, pattern] : kTexts) {
    std::wstring fills, parts;
    if (!Match(pattern, text, fills)) continue;
    if (fills.empty()) return key;
    for (size_t at = 1, end; at <= fills.size(); at = end + 1) {
      end = std::min(fills.find(L';', at), fills.size());
      parts += (at == 1 ? L"" : L";") + Brief(std::wstring_view(fills).substr(at, end - at));
    }
    return key + (L"(" + parts + L")");
  }
  return std::wstring(text);
}

class Harness : public MainView, public Shell {
 public:
  Harness() {
    fake.fs.AddFile(kWinZipProbePath, 1);
    fake.fs.AddFile(kAddonProbePath, 1);
    w = std::make_unique<MainWindow>(fake.platform, *this, *this);
  }
  const BackupSettings& S() const { return w->Settings(); }
  void Clear() { fake.log.clear(); }

  // Runs steps separated by "; ". "Dest=", "Src=", "Label=", "User=" set a field, "Year=" and
  // "Month=" type into a list, "Year#2" selects an entry; "pick=" queues a folder pick, "No" a
  // No answer, "Pick=" a profile pick, "Clear" empties the log; "stored=", "file=", "big=", "dir=",
  // "rm=", "windir=", "netuser", "failReads", "failWrites" and "launch=" (its failure) arrange the
  // machine; anything else names a reaction or button of the window.
  void Do(std::wstring_view steps) {
    for (size_t at = 0; at < steps.size();) {
      size_t end = std::min(steps.find(L"; ", at), steps.size());
      Step(steps.substr(at, end - at));
      at = end + 2;
    }
  }
  void Step(std::wstring_view step) {
    using Reaction = void (MainWindow::*)();
    static const std::map<std::wstring_view, Reaction> reactions = {
        {L"Form_Load", &MainWindow::Form_Load},
        {L"optNo_Click", &MainWindow::optNo_Click},
        {L"optYes_Click", &MainWindow::optYes_Click},
        {L"Reset2", &MainWindow::Reset2},
        {L"btnReset_Click", &MainWindow::btnReset_Click},
        {L"btnQuit_Click", &MainWindow::btnQuit_Click},
        {L"btnBackupUser_Click", &MainWindow::btnBackupUser_Click},
        {L"btnSpecificBackup_Click", &MainWindow::btnSpecificBackup_Click},
        {L"btnDefaultDestination_Click", &MainWindow::btnDefaultDestination_Click},
        {L"btnBrowseDefault_Click", &MainWindow::btnBrowseDefault_Click},
        {L"btnBrowseSpecific_Click", &MainWindow::btnBrowseSpecific_Click},
        {L"btnBrowseForUsers_Click", &MainWindow::btnBrowseForUsers_Click},
        {L"btnHelp_Click", &MainWindow::btnHelp_Click},
        {L"btnEULA_Click", &MainWindow::btnEULA_Click},
        {L"btnWinZip_Click", &MainWindow::btnWinZip_Click}};
    static const std::map<std::wstring_view, Ctl> fields = {
        {L"Dest", Ctl::txtDefaultPath},
        {L"Src", Ctl::TxtSrc},
        {L"Label", Ctl::txtSpecificBackupFileName},
        {L"User", Ctl::txtUsers},
        {L"Year", Ctl::cmbFileNameYear},
        {L"Month", Ctl::cmbFileNameMonth}};
    size_t op = std::min(step.find_first_of(L"=#"), step.size());
    std::wstring_view name = step.substr(0, op);
    std::wstring arg(step.substr(std::min(op + 1, step.size())));
    using Arg = const std::wstring&;
    const std::map<std::wstring_view, std::function<void(Arg)>> machine = {
        {L"pick", [&](Arg a) { fake.dialogs.folderPicks.push_back(a); }},
        {L"No", [&](Arg) { fake.dialogs.answers.push_back(Answer::No); }},
        {L"Clear", [&](Arg) { Clear(); }},
        {L"Pick", [&](Arg a) { SelectedUserName = a; }},
        {L"stored",
         [&](Arg a) { fake.fs.AddTextFile(kStoredFile, std::string(a.begin(), a.end())); }},
        {L"file", [&](Arg a) { fake.fs.AddFile(a, 1); }},
        {L"big", [&](Arg a) { fake.fs.AddFile(a, 1234567); }},
        {L"dir", [&](Arg a) { fake.fs.AddFolder(a); }},
        {L"rm", [&](Arg a) { fake.fs.Remove(a); }},
        {L"windir", [&](Arg a) { fake.sys.windowsDirectory = a; }},
        {L"netuser", [&](Arg) { fake.sys.userName = std::nullopt; }},
        {L"failReads", [&](Arg) { fake.fs.failReads = true; }},
        {L"failWrites", [&](Arg) { fake.fs.failWrites = true; }},
        {L"launch", [&](Arg a) { fake.sys.launchResult = Status::Failed(a); }}};
    auto field = fields.find(name);
    bool list = name == L"Year" || name == L"Month";
    if (machine.count(name)) return machine.at(name)(arg);
    if (field == fields.end()) return (w.get()->*reactions.at(name))();
    if (step[op] == L'#') return w->SelectListEntry(field->second, std::stoi(arg));
    list ? w->SetListText(field->second, arg) : w->SetText(field->second, arg);
  }
  std::wstring Log() const {
    const std::wstring zip = L"Run \"C:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r ";
    std::wstring out;
    for (const std::wstring& e : fake.log) {
      std::wstring shown = e.starts_with(zip) ? L"Zip " + e.substr(zip.size()) : e;
      if (e.starts_with(L"!Tessel\n")) shown = Brief(e.substr(8));
      out += (out.empty() ? L"" : L" | ") + shown;
    }
    return out;
  }

  void Changed(Ctl c) override {
    const BackupSettings& s = S();
    auto list = [](const ComboState& l) {
      return l.text + L"@" + std::to_wstring(l.selected) + L"/" + std::to_wstring(l.entries.size());
    };
    const std::pair<Ctl, std::wstring> shown[] = {
        {Ctl::txtDefaultPath, L"Dest=" + s.txtDefaultPath},
        {Ctl::TxtSrc, L"Src=" + s.TxtSrc},
        {Ctl::txtSpecificBackupFileName, L"Label=" + s.txtSpecificBackupFileName},
        {Ctl::txtUsers, L"User=" + s.txtUsers},
        {Ctl::txtExampleFileName, L"Example=" + s.txtExampleFileName},
        {Ctl::txtSpecificUserFileName, L"UserFile=" + s.txtSpecificUserFileName},
        {Ctl::txtSpecificUserFiles, L"UserFiles=" + s.txtSpecificUserFiles},
        {Ctl::txtSpecificDirectoryFiles, L"DirFiles=" + s.txtSpecificDirectoryFiles},
        {Ctl::cmbFileNameYear, L"Year=" + list(s.cmbFileNameYear)},
        {Ctl::cmbFileNameMonth,
         L"Month=" + list(s.cmbFileNameMonth) + (s.cmbFileNameMonthVisible ? L"" : L"^")},
        {Ctl::frmMonth, s.frmMonthVisible ? L"frmMonth" : L"frmMonth^"},
        {Ctl::optYes, s.optYes ? L"Yes" : L"Yes^"},
        {Ctl::optNo, s.optNo ? L"No" : L"No^"},
        {Ctl::chkWinZip, L"WinZip=" + std::to_wstring(s.chkWinZip)},
        {Ctl::ChkAddon, L"Addon=" + std::to_wstring(s.ChkAddon)}};
    for (const auto& [control, text] : shown) {
      if (c == control) return Note(text);
    }
    // A refresh blanks its file count box first and writes its folder count box last, and each
    // panel's folder count and size boxes lie two and four controls after its file count box.
    const Ctl files[] = {Ctl::txtFileCountDestination, Ctl::txtFileCountUser,
                         Ctl::txtFileCountSpecific};
    for (int p = 0; p < 3; ++p) {
      auto box = [&](int k) { return *TextField(s, Ctl(static_cast<int>(files[p]) + 2 * k)); };
      if (c == files[p] && box(0).empty()) Note(std::wstring(1, L"DUS"[p]));
      if (c == Ctl(static_cast<int>(files[p]) + 2) && box(0) + box(1) + box(2) != L"000" &&
          !box(1).empty()) {
        fake.log.back() += L"=" + box(0) + L"/" + box(1) + L"/" + box(2);
      }
    }
  }
  void MoveFocus(int n) override { Note(L"Tab" + std::to_wstring(n)); }
  void Centre() override { Note(L"Centre"); }
  void Show() override { Note(L"Show"); }
  void CloseBrowseUsers() override { Note(L"-Browse"); }
  void CloseEula() override { Note(L"-Eula"); }
  void CloseHelp() override { Note(L"-Help"); }
  void OpenBrowseUsers() override { Note(L"Browse"); }
  void OpenHelp() override { Note(L"Help"); }
  void OpenEula() override { Note(L"Eula"); }
  void ReloadMainWindow() override {
    Note(L"Reload");
    w = std::make_unique<MainWindow>(fake.platform, *this, *this);
    w->Form_Load();
  }
  void Quit() override { Note(L"Quit"); }

  fake::FakePlatform fake;
  std::unique_ptr<MainWindow> w;

 private:
  void Note(std::wstring event) { fake.log.push_back(std::move(event)); }
};

// Runs `prepare` and then each case's steps on a fresh window, and compares the log (of the last
// step only when `lastStep`, less a leading `skip`) with the case's.
template <size_t N>
void ExpectLogs(const std::wstring& prepare, const std::wstring (&cases)[N][2],
                const std::wstring& skip = L"", bool lastStep = false) {
  for (const auto& [steps, log] : cases) {
    Harness h;
    size_t last = lastStep && steps.rfind(L"; ") != std::wstring::npos ? steps.rfind(L"; ") + 2 : 0;
    h.Do(prepare + L"; " + steps.substr(0, last) + L"Clear; " + steps.substr(last));
    std::wstring shown = h.Log();
    if (!skip.empty() && shown.starts_with(skip)) shown.erase(0, skip.size());
    EXPECT_EQ(shown, log) << steps;
    SelectedUserName.clear();
  }
}

}  // namespace tessel::testing
