// A main window presenter on the fake platform whose view and shell write into the fake's log, so
// a case lists in words what the window showed and did, in order: "txtDefaultPath=D:\B" for a
// field, "destination: 1 files, 1 folders, 1,234,567 bytes" for a refresh ("empty" for all 0,
// "destination blank" for one that wrote no figures), messages by the name of their text with what
// the program filled in, folders made, archiver runs. A failure names the case, the first event
// that differs, the step it came in, what was expected and what came.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "jobs/presence_check.h"
#include "main_window/main_window.h"
#include "metrics/metrics.h"
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
    {L"no WinZip", L"WinZip" + kNotFound},
    {L"no add-on", L"The WinZip Command Line Support Add-on" + kNotFound},
    {L"no such drive",
     L"The default Drive, % , doesn't exist.\r\n\r\n"
     L"Please select appropriate drive before trying again."},
    {L"create folder?", L"The default folder, % , doesn't exist.\r\nWould you like it created?"},
    {L"folder not made", L"The folder % could not be created.\r\n\r\n%"},
    {L"not a full path",
     L"A destination must be a full path that begins with a drive, such as "
     L"D:\\Backup Zips."},
    {L"slashes", L"Folders are separated by backslashes (\\), not by slashes (/): type % instead."},
    {L"blank field",
     L"Either the Source Path or Backup File Label is blank.\r\n\r\n"
     L"Please Enter Appropriate Data!"},
    {L"quote",
     L"The field \"%\" contains a double quote (\"), which is not allowed in file or "
     L"folder names.\r\n\r\nPlease remove it and try again."},
    {L"archiver not started", L"The archiver could not be started:\r\n%\r\n\r\n%"},
    {L"settings folder not made", L"The settings folder could not be created" + kBuiltIn},
    {L"settings file not made", L"The settings file could not be created" + kBuiltIn},
    {L"settings file not read", L"The settings file could not be read" + kBuiltIn},
    {L"stored default kept", L"The settings folder could not be created" + kUnchanged},
    {L"default not stored", L"The default destination could not be stored in" + kUnchanged}};

// A system text by its name, with what was filled in: "folder not made (D:\F, exists)".
inline std::wstring Named(const std::wstring& text) {
  for (const auto& [name, pattern] : kTexts) {
    std::wstring expression, fills;
    for (wchar_t c : pattern) {
      expression += c == L'%'
                        ? L"([\\s\\S]*?)"
                        : (std::wcschr(L"\\^$.|?*+()[]{}", c) ? L"\\" : L"") + std::wstring(1, c);
    }
    std::wsmatch parts;
    if (!std::regex_match(text, parts, std::wregex(expression))) continue;
    for (size_t i = 1; i < parts.size(); ++i) fills += (i > 1 ? L", " : L" (") + Named(parts[i]);
    return name + fills + (parts.size() > 1 ? L")" : L"");
  }
  return text;
}

// The field each text box shows, written out here rather than taken from the program's own
// mapping, so that a wrong one shows: eight text boxes, then each panel's file count, folder count
// and folder size.
using Field = std::pair<Ctl, std::wstring BackupSettings::*>;
inline const Field kFields[] = {
    std::pair(Ctl::txtDefaultPath, &BackupSettings::txtDefaultPath),
    std::pair(Ctl::TxtSrc, &BackupSettings::TxtSrc),
    std::pair(Ctl::txtSpecificBackupFileName, &BackupSettings::txtSpecificBackupFileName),
    std::pair(Ctl::txtUsers, &BackupSettings::txtUsers),
    std::pair(Ctl::txtExampleFileName, &BackupSettings::txtExampleFileName),
    std::pair(Ctl::txtSpecificUserFileName, &BackupSettings::txtSpecificUserFileName),
    std::pair(Ctl::txtSpecificUserFiles, &BackupSettings::txtSpecificUserFiles),
    std::pair(Ctl::txtSpecificDirectoryFiles, &BackupSettings::txtSpecificDirectoryFiles),
    std::pair(Ctl::txtFileCountDestination, &BackupSettings::txtFileCountDestination),
    std::pair(Ctl::txtFolderCountDestination, &BackupSettings::txtFolderCountDestination),
    std::pair(Ctl::txtFolderSizeDestination, &BackupSettings::txtFolderSizeDestination),
    std::pair(Ctl::txtFileCountUser, &BackupSettings::txtFileCountUser),
    std::pair(Ctl::txtFolderCountUser, &BackupSettings::txtFolderCountUser),
    std::pair(Ctl::txtFolderSizeUser, &BackupSettings::txtFolderSizeUser),
    std::pair(Ctl::txtFileCountSpecific, &BackupSettings::txtFileCountSpecific),
    std::pair(Ctl::txtFolderCountSpecific, &BackupSettings::txtFolderCountSpecific),
    std::pair(Ctl::txtFolderSizeSpecific, &BackupSettings::txtFolderSizeSpecific)};
inline const wchar_t* const kPanels[] = {L"destination", L"user", L"specific"};

// The fields the cases fill most.
constexpr Ctl kDest = Ctl::txtDefaultPath, kSrc = Ctl::TxtSrc, kUsers = Ctl::txtUsers,
              kLabel = Ctl::txtSpecificBackupFileName, kYear = Ctl::cmbFileNameYear,
              kMonth = Ctl::cmbFileNameMonth;
inline std::wstring NameOf(Ctl c) {
  return std::wstring(ui::MainControl(c).name);
}

class Harness;
// One step of a case: what it does, in words, and the doing.
struct Step {
  std::wstring what;
  std::function<void(Harness&)> run;
  bool queuesInput = false;  // the input it queues is met by the next step, not this one
};

class Harness : public MainView, public Shell {
 public:
  Harness() {
    fake.fs.AddFile(kWinZipProbePath, 1);
    fake.fs.AddFile(kAddonProbePath, 1);
    w = std::make_unique<MainWindow>(fake.platform, *this, *this);
  }
  const BackupSettings& S() const { return w->Settings(); }

  void Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      step.run(*this);
      if (!step.queuesInput) fake.dialogs.inputAfter = -1;
      stepEnds.push_back({fake.log.size(), step.what});
    }
  }
  // The window's log in words.
  std::vector<std::wstring> Log() const {
    const std::wstring zip = L"Run \"C:\\Program Files\\WinZip\\wzzip.exe\" ";
    std::vector<std::wstring> out;
    for (const std::wstring& e : fake.log) {
      out.push_back(e.starts_with(L"!Tessel\n") ? L"message " + Named(e.substr(8))
                    : e.starts_with(L"+")       ? L"made " + e.substr(1)
                    : e.starts_with(zip)        ? L"wzzip " + e.substr(zip.size())
                                                : e);
    }
    return out;
  }
  std::wstring StepOf(size_t event) const {
    for (const auto& [end, what] : stepEnds) {
      if (event < end) return what;
    }
    return L"(none: the log ended)";
  }

  void Changed(Ctl c) override {
    const BackupSettings& s = S();
    const std::wstring name = NameOf(c);
    auto list = [&](const ComboState& l, bool shown) {
      std::wstring entry = l.selected < 0 ? L"none" : L"entry " + std::to_wstring(l.selected);
      Note(name + L"=" + l.text + L" (" + entry + L" of " + std::to_wstring(l.entries.size()) +
           (shown ? L")" : L") hidden"));
    };
    auto flag = [&](bool on, auto yes, auto no) { Note(name + (on ? yes : no)); };
    if (c == Ctl::cmbFileNameYear) return list(s.cmbFileNameYear, true);
    if (c == Ctl::cmbFileNameMonth) return list(s.cmbFileNameMonth, s.cmbFileNameMonthVisible);
    if (c == Ctl::frmMonth) return flag(s.frmMonthVisible, L" shown", L" hidden");
    if (c == Ctl::optYes) return flag(s.optYes, L" on", L" off");
    if (c == Ctl::optNo) return flag(s.optNo, L" on", L" off");
    if (c == Ctl::chkWinZip) return flag(s.chkWinZip, L"=1", L"=0");
    if (c == Ctl::ChkAddon) return flag(s.ChkAddon, L"=1", L"=0");
    for (size_t i = 0; i < std::size(kFields); ++i) {
      if (c != kFields[i].first) continue;
      if (i < 8) return Note(name + L"=" + s.*kFields[i].second);
      return Panel(kPanels[(i - 8) / 3], &kFields[i - (i - 8) % 3], c);
    }
    ADD_FAILURE() << "a change of an unexpected control: " << name;
  }
  void MoveFocus(int n) override { Note(L"focus on " + std::to_wstring(n)); }
  void Centre() override { Note(L"centred"); }
  void Show() override { Note(L"shown"); }
  void CloseBrowseUsers() override { Note(L"Browse for Users closed"); }
  void CloseEula() override { Note(L"licence closed"); }
  void CloseHelp() override { Note(L"Help closed"); }
  void OpenBrowseUsers() override { Note(L"Browse for Users opened"); }
  void OpenHelp() override { Note(L"Help opened"); }
  void OpenEula() override { Note(L"licence opened"); }
  void ReloadMainWindow() override {
    Note(L"main window rebuilt");
    w = std::make_unique<MainWindow>(fake.platform, *this, *this);
    w->Form_Load();
  }
  void Quit() override { Note(L"quit"); }
  void ArchiverRunning(bool on) override { Note(on ? L"archiver running" : L"archiver ended"); }
  void Note(std::wstring event) { fake.log.push_back(std::move(event)); }

  fake::FakePlatform fake;
  std::unique_ptr<MainWindow> w;
  std::vector<std::pair<size_t, std::wstring>> stepEnds;
  size_t logFrom = 0;  // where kLogFromHere ran

 private:
  // Logged when the last box is blanked (all three blank, or not) and when the figures are in;
  // a refresh's blanking is folded into the figures that follow it.
  void Panel(const std::wstring& panel, const Field* boxes, Ctl c) {
    const std::wstring &files = S().*boxes[0].second, &folders = S().*boxes[1].second,
                       &bytes = S().*boxes[2].second;
    if (c == boxes[2].first && bytes.empty())
      Note(panel + (files.empty() && folders.empty() ? L" blank" : L" blank but for figures kept"));
    if (c != boxes[1].first || folders.empty()) return;
    std::wstring figures = files + folders + bytes == L"000"
                               ? L"empty"
                               : files + L" files, " + folders + L" folders, " + bytes + L" bytes";
    if (fake.log.back() == panel + L" blank")
      fake.log.back() = panel + L": " + figures;
    else
      Note(panel + L" figures unblanked: " + figures);
  }
};

// A case: its name, its steps, and its log in words (events joined by " | ").
struct Case {
  const char* name;
  std::vector<Step> steps;
  std::wstring log;
};

// Events, or runs of them, joined into a log.
inline std::wstring Events(std::initializer_list<std::wstring> parts) {
  std::wstring log;
  for (const std::wstring& part : parts) log += (&part == parts.begin() ? L"" : L" | ") + part;
  return log;
}

// Steps, each named for a failure's message: the user's doings, and the machine as given.
inline Step Set(Ctl field, std::wstring text) {
  return {NameOf(field) + L" set to \"" + text + L"\"",
          [=](Harness& h) { h.w->SetText(field, text); }};
}
// Typed into a text box, or into a list box's text.
inline Step Type(Ctl c, std::wstring text) {
  return {L"\"" + text + L"\" typed into " + NameOf(c), [=](Harness& h) {
            c == Ctl::cmbFileNameYear || c == Ctl::cmbFileNameMonth ? h.w->SetListText(c, text)
                                                                    : h.w->EditText(c, text);
          }};
}
inline Step Select(Ctl list, int entry) {
  return {L"entry " + std::to_wstring(entry) + L" of " + NameOf(list) + L" selected",
          [=](Harness& h) { h.w->SelectListEntry(list, entry); }};
}
inline Step Click(Ctl control) {
  return {NameOf(control) + L" clicked", [=](Harness& h) { h.w->Click(control); }};
}
// A reaction run by its name, as the program runs it.
#define REACTION(name) Step(L"" #name, [](Harness& h) { h.w->name(); })
inline const Step kIdle = {L"input paused", [](Harness& h) { h.w->InputPaused(); }};
// Input waits during the next step after `questions` questions.
inline Step InputAfter(int questions) {
  return {L"input waiting after " + std::to_wstring(questions) + L" questions",
          [=](Harness& h) { h.fake.dialogs.inputAfter = questions; }, true};
}
// A step that arranges the machine (`h.fake`) or what the program was handed.
#define GIVEN(what, ...) Step(what, [=]([[maybe_unused]] Harness& h) { __VA_ARGS__; })
inline Step File(std::wstring path, uint64_t size = 1) {
  return GIVEN(L"file " + path, h.fake.fs.AddFile(path, size));
}
inline Step Folder(std::wstring path) {
  return GIVEN(L"folder " + path, h.fake.fs.AddFolder(path));
}
inline Step Gone(std::wstring path) {
  return GIVEN(L"no " + path, h.fake.fs.Remove(path));
}
inline Step Stored(std::string bytes) {
  return GIVEN(L"settings file holds " + std::wstring(bytes.begin(), bytes.end()),
               h.fake.fs.AddTextFile(kStoredFile, bytes));
}
inline Step WindowsIn(std::wstring folder) {
  return GIVEN(L"Windows in " + folder, h.fake.sys.windowsDirectory = folder);
}
inline Step FolderPicked(std::wstring folder) {
  return GIVEN(L"folder picked " + folder, h.fake.dialogs.folderPicks.push_back(folder));
}
inline const Step kLogFromHere = {L"(log from here)",
                                  [](Harness& h) { h.logFrom = h.fake.log.size(); }};

// Runs each case on a fresh window after `given`, and compares the log of its steps (of its last
// step only, when `lastStepOnly`; from kLogFromHere on, if it holds one) with the case's: events
// joined by " | ", a last "..." for any after. A failure names the first event that differs and
// the step it came in. The busy pointer must be off after each, and a profile handed over taken.
inline void ExpectCases(const std::vector<Step>& given, const std::vector<Case>& cases,
                        bool lastStepOnly = false) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h;
    h.Run(given);
    std::vector<Step> steps = c.steps;
    steps.insert(lastStepOnly ? steps.end() - 1 : steps.begin(), kLogFromHere);
    h.Run(steps);
    std::vector<std::wstring> got = h.Log(), want;
    for (size_t at = 0, end = 0; at < c.log.size(); at = end + 3) {
      end = std::min(c.log.find(L" | ", at), c.log.size());
      want.push_back(c.log.substr(at, end - at));
    }
    const size_t from = h.logFrom;
    std::wstring all;
    for (size_t i = from; i < got.size(); ++i) all += L"\n  " + got[i] + L"   <- " + h.StepOf(i);
    for (size_t i = 0; i < std::max(want.size(), got.size() - from); ++i) {
      std::wstring expect = i < want.size() ? want[i] : L"(nothing more)";
      std::wstring seen = from + i < got.size() ? got[from + i] : L"(nothing more)";
      if (expect == L"...") break;  // and whatever follows
      if (expect == seen) continue;
      ADD_FAILURE() << "event " << i + 1 << " (in step " << h.StepOf(from + i) << "):\n  expected "
                    << expect << "\n  got      " << seen << "\nthe whole log:" << all;
      break;
    }
    std::string& busy = h.fake.dialogs.busy;
    EXPECT_EQ(std::count(busy.begin(), busy.end(), '+') * 2, busy.size()) << "busy " << busy;
    EXPECT_EQ(SelectedUserName, L"");
    SelectedUserName.clear();
  }
}

}  // namespace tessel::testing
