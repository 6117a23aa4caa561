// A main window presenter on the fake platform whose view and shell write into the fake's log, so
// one string per case tells what the window showed and did, in order: fields and lists as
// "Name=text", refreshes as their panel's letter (with figures unless all zero), focus moves,
// shell calls, launches and messages (shortened by the table of the system's texts below).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "core/control_table.h"
#include "fake_platform.h"
#include "jobs/presence_check.h"
#include "main_window/main_window.h"
#include "ui/main_form.h"

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

// A system text as its key and filled-in parts ("Ask(D:\New)"), each part shortened in turn.
inline std::wstring Brief(const std::wstring& text) {
  for (const auto& [key, pattern] : kTexts) {
    std::wstring expression;
    for (wchar_t c : pattern) {
      if (c == L'%')
        expression += L"([\\s\\S]*?)";
      else
        expression += (std::wcschr(L"\\^$.|?*+()[]{}", c) ? L"\\" : L"") + std::wstring(1, c);
    }
    std::wsmatch parts;
    if (!std::regex_match(text, parts, std::wregex(expression))) continue;
    std::wstring fills;
    for (size_t i = 1; i < parts.size(); ++i) fills += (i > 1 ? L";" : L"") + Brief(parts[i]);
    return parts.size() > 1 ? key + (L"(" + fills + L")") : key;
  }
  return text;
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

  // Runs steps separated by "; ". "Dest=", "Src=", "Label=", "User=" set a field, and "typed "
  // before them is the user's edit; "Year=" and "Month=" type into a list, "Year#2" selects an
  // entry, "click=" clicks a control, "idle" is a pause in the input; "input=N" makes input wait
  // during the next step after N questions; "pick=" queues a folder pick, "No" a No answer,
  // "Pick=" a profile pick, "Clear" empties the log, "stored?" logs the settings file's bytes and
  // "restart" what a Reset shows as the destination; "stored=", "file=", "big=", "dir=", "rm=",
  // "windir=", "netuser" (none) or "netuser=", "failReads", "failWrites" and "launch=" (its
  // failure) arrange the machine; anything else names a reaction or button of the window.
  void Do(std::wstring_view steps) {
    for (size_t at = 0; at < steps.size();) {
      size_t end = std::min(steps.find(L"; ", at), steps.size());
      std::wstring_view step = steps.substr(at, end - at);
      Step(step);
      // The input was handled by the step it came during.
      if (!step.starts_with(L"input=")) fake.dialogs.inputAfter = -1;
      at = end + 2;
    }
  }
  void Step(std::wstring_view step) {
    bool typed = step.starts_with(L"typed ");
    if (typed) step.remove_prefix(6);
    size_t op = std::min(step.find_first_of(L"=#"), step.size());
    std::wstring name(step.substr(0, op + (op < step.size() && step[op] == L'#')));
    std::wstring a(step.substr(std::min(op + 1, step.size())));
    MainWindow& m = *w;
    auto edit = [&](Ctl field) { typed ? m.EditText(field, a) : m.SetText(field, a); };
    const std::map<std::wstring, std::function<void()>> steps = {
        {L"Dest", [&] { edit(Ctl::txtDefaultPath); }},
        {L"Src", [&] { edit(Ctl::TxtSrc); }},
        {L"Label", [&] { edit(Ctl::txtSpecificBackupFileName); }},
        {L"User", [&] { edit(Ctl::txtUsers); }},
        {L"click", [&] { m.Click(static_cast<Ctl>(ui::MainForm().Find(a)->id)); }},
        {L"idle", [&] { m.InputPaused(); }},
        {L"input", [&] { fake.dialogs.inputAfter = std::stoi(a); }},
        {L"Year", [&] { m.SetListText(Ctl::cmbFileNameYear, a); }},
        {L"Month", [&] { m.SetListText(Ctl::cmbFileNameMonth, a); }},
        {L"Year#", [&] { m.SelectListEntry(Ctl::cmbFileNameYear, std::stoi(a)); }},
        {L"Month#", [&] { m.SelectListEntry(Ctl::cmbFileNameMonth, std::stoi(a)); }},
        {L"Form_Load", [&] { m.Form_Load(); }},
        {L"optNo_Click", [&] { m.optNo_Click(); }},
        {L"optYes_Click", [&] { m.optYes_Click(); }},
        {L"Reset2", [&] { m.Reset2(); }},
        {L"btnReset_Click", [&] { m.btnReset_Click(); }},
        {L"btnQuit_Click", [&] { m.btnQuit_Click(); }},
        {L"btnBackupUser_Click", [&] { m.btnBackupUser_Click(); }},
        {L"btnSpecificBackup_Click", [&] { m.btnSpecificBackup_Click(); }},
        {L"btnDefaultDestination_Click", [&] { m.btnDefaultDestination_Click(); }},
        {L"btnBrowseDefault_Click", [&] { m.btnBrowseDefault_Click(); }},
        {L"btnBrowseSpecific_Click", [&] { m.btnBrowseSpecific_Click(); }},
        {L"btnBrowseForUsers_Click", [&] { m.btnBrowseForUsers_Click(); }},
        {L"btnHelp_Click", [&] { m.btnHelp_Click(); }},
        {L"btnEULA_Click", [&] { m.btnEULA_Click(); }},
        {L"btnWinZip_Click", [&] { m.btnWinZip_Click(); }},
        {L"pick", [&] { fake.dialogs.folderPicks.push_back(a); }},
        {L"No", [&] { fake.dialogs.answers.push_back(Answer::No); }},
        {L"Clear", [&] { Clear(); }},
        {L"stored?",
         [&] {
           Note(L"stored " + fake.sys.FromCodePage(fake.fs.Content(kStoredFile).value_or("")));
         }},
        {L"restart",
         [&] {
           size_t before = fake.log.size();
           m.btnReset_Click();
           fake.log.resize(before);
           Note(L"shows " + S().txtDefaultPath);
         }},
        {L"Pick", [&] { SelectedUserName = a; }},
        {L"stored", [&] { fake.fs.AddTextFile(kStoredFile, std::string(a.begin(), a.end())); }},
        {L"file", [&] { fake.fs.AddFile(a, 1); }},
        {L"big", [&] { fake.fs.AddFile(a, 1234567); }},
        {L"dir", [&] { fake.fs.AddFolder(a); }},
        {L"rm", [&] { fake.fs.Remove(a); }},
        {L"windir", [&] { fake.sys.windowsDirectory = a; }},
        {L"netuser",
         [&] { fake.sys.userName = op < step.size() ? std::optional(a) : std::nullopt; }},
        {L"failReads", [&] { fake.fs.failReads = true; }},
        {L"failWrites", [&] { fake.fs.failWrites = true; }},
        {L"launch", [&] { fake.sys.launchResult = Status::Failed(a); }}};
    steps.at(name)();
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
    // A refresh blanks its three boxes and writes its folder count box last, and each
    // panel's folder count and size boxes lie two and four controls after its file count box.
    const Ctl files[] = {Ctl::txtFileCountDestination, Ctl::txtFileCountUser,
                         Ctl::txtFileCountSpecific};
    for (int p = 0; p < 3; ++p) {
      auto box = [&](int k) { return *TextField(s, Ctl(static_cast<int>(files[p]) + 2 * k)); };
      // Logged when the last box is blanked; "!" if another kept its figures.
      if (c == Ctl(static_cast<int>(files[p]) + 4) && box(2).empty()) {
        Note(std::wstring(1, L"DUS"[p]) + (box(0) + box(1) == L"" ? L"" : L"!"));
      }
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
  void ArchiverRunning(bool running) override { Note(running ? L"Archiving" : L"Archived"); }

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
    EXPECT_EQ(std::count(h.fake.dialogs.busy.begin(), h.fake.dialogs.busy.end(), '+') * 2,
              h.fake.dialogs.busy.size())
        << "the busy pointer goes off after each refresh";
    SelectedUserName.clear();
  }
}

}  // namespace tessel::testing
