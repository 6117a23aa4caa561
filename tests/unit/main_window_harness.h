// A main window presenter on the fake platform whose view and shell write into the fake's log, so
// a case lists in words what the window showed and did, in order: "txtDefaultPath=D:\B" for a
// field, "destination: 1 files, 1 folders, 1,234,567 bytes" for a refresh ("empty" for all 0,
// "destination blank" for one that wrote no figures), messages by the name of their text with what
// the program filled in, folders made, archiver runs. A failure names the case, the first event
// that differs, the step it came in, what was expected and what came.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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
    for (size_t i = 1; i < parts.size(); ++i) fills += (i > 1 ? L", " : L"") + Named(parts[i]);
    return parts.size() > 1 ? name + (L" (" + fills + L")") : name;
  }
  return text;
}

// The file count, folder count and folder size boxes of a panel: the one place the tests know them.
inline std::array<Ctl, 3> PanelBoxes(Panel panel) {
  static const std::array<Ctl, 3> boxes[] = {
      {Ctl::txtFileCountDestination, Ctl::txtFolderCountDestination, Ctl::txtFolderSizeDestination},
      {Ctl::txtFileCountUser, Ctl::txtFolderCountUser, Ctl::txtFolderSizeUser},
      {Ctl::txtFileCountSpecific, Ctl::txtFolderCountSpecific, Ctl::txtFolderSizeSpecific}};
  return boxes[static_cast<int>(panel)];
}

// The field each text box shows, written out here rather than taken from the program's own
// mapping, so that a wrong one shows; nullptr for other controls.
inline const std::wstring* Text(const BackupSettings& s, Ctl c) {
  const std::pair<Ctl, const std::wstring*> fields[] = {
      {Ctl::txtDefaultPath, &s.txtDefaultPath},
      {Ctl::TxtSrc, &s.TxtSrc},
      {Ctl::txtSpecificBackupFileName, &s.txtSpecificBackupFileName},
      {Ctl::txtUsers, &s.txtUsers},
      {Ctl::txtExampleFileName, &s.txtExampleFileName},
      {Ctl::txtSpecificUserFileName, &s.txtSpecificUserFileName},
      {Ctl::txtSpecificUserFiles, &s.txtSpecificUserFiles},
      {Ctl::txtSpecificDirectoryFiles, &s.txtSpecificDirectoryFiles},
      {Ctl::txtFileCountDestination, &s.txtFileCountDestination},
      {Ctl::txtFolderCountDestination, &s.txtFolderCountDestination},
      {Ctl::txtFolderSizeDestination, &s.txtFolderSizeDestination},
      {Ctl::txtFileCountUser, &s.txtFileCountUser},
      {Ctl::txtFolderCountUser, &s.txtFolderCountUser},
      {Ctl::txtFolderSizeUser, &s.txtFolderSizeUser},
      {Ctl::txtFileCountSpecific, &s.txtFileCountSpecific},
      {Ctl::txtFolderCountSpecific, &s.txtFolderCountSpecific},
      {Ctl::txtFolderSizeSpecific, &s.txtFolderSizeSpecific}};
  for (const auto& [field, text] : fields) {
    if (c == field) return text;
  }
  return nullptr;
}

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
  // The window's log in words, each event with the step it came in.
  std::vector<std::wstring> Log() const {
    const std::wstring zip = L"Run \"C:\\Program Files\\WinZip\\wzzip.exe\" ";
    std::vector<std::wstring> out;
    for (const std::wstring& e : fake.log) {
      if (e.starts_with(L"!Tessel\n"))
        out.push_back(L"message " + Named(e.substr(8)));
      else if (e.starts_with(L"+"))
        out.push_back(L"made " + e.substr(1));
      else
        out.push_back(e.starts_with(zip) ? L"wzzip " + e.substr(zip.size()) : e);
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
    auto list = [](const ComboState& l) {
      return L"=" + l.text + L" (" +
             (l.selected < 0 ? L"none" : L"entry " + std::to_wstring(l.selected)) + L" of " +
             std::to_wstring(l.entries.size()) + L")";
    };
    if (c == Ctl::cmbFileNameYear) return Note(name + list(s.cmbFileNameYear));
    if (c == Ctl::cmbFileNameMonth)
      return Note(name + list(s.cmbFileNameMonth) + (s.cmbFileNameMonthVisible ? L"" : L" hidden"));
    if (c == Ctl::frmMonth) return Note(name + (s.frmMonthVisible ? L" shown" : L" hidden"));
    if (c == Ctl::optYes || c == Ctl::optNo)
      return Note(name + ((c == Ctl::optYes ? s.optYes : s.optNo) ? L" on" : L" off"));
    if (c == Ctl::chkWinZip || c == Ctl::ChkAddon)
      return Note(name + L"=" + std::to_wstring(c == Ctl::chkWinZip ? s.chkWinZip : s.ChkAddon));
    for (Panel p : {Panel::Destination, Panel::User, Panel::Specific}) {
      const std::array<Ctl, 3> boxes = PanelBoxes(p);
      if (std::find(boxes.begin(), boxes.end(), c) != boxes.end()) return PanelChanged(p, c);
    }
    if (const std::wstring* text = Text(s, c)) return Note(name + L"=" + *text);
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
  void ArchiverRunning(bool running) override {
    Note(running ? L"archiver running" : L"archiver ended");
  }
  void Note(std::wstring event) { fake.log.push_back(std::move(event)); }

  fake::FakePlatform fake;
  std::unique_ptr<MainWindow> w;
  std::vector<std::pair<size_t, std::wstring>> stepEnds;
  size_t logFrom = SIZE_MAX;  // where kLogFromHere ran

 private:
  // Logged when the last box is blanked (all three blank, or not) and when the figures are in.
  void PanelChanged(Panel p, Ctl c) {
    static const wchar_t* kNames[] = {L"destination", L"user", L"specific"};
    const std::array<Ctl, 3> boxes = PanelBoxes(p);
    const std::wstring &files = *Text(S(), boxes[0]), &folders = *Text(S(), boxes[1]),
                       &bytes = *Text(S(), boxes[2]);
    std::wstring panel = kNames[static_cast<int>(p)];
    if (c == boxes[2] && bytes.empty())
      Note(panel + (files.empty() && folders.empty() ? L" blank" : L" blank but for figures kept"));
    if (c != boxes[1] || folders.empty()) return;
    // A refresh's blanking is folded into the figures that follow it.
    std::wstring figures = files + folders + bytes == L"000"
                               ? L"empty"
                               : files + L" files, " + folders + L" folders, " + bytes + L" bytes";
    if (fake.log.back() == panel + L" blank")
      fake.log.back() = panel + L": " + figures;
    else
      Note(panel + L" figures unblanked: " + figures);
  }
};

// A case: its steps, and its log in words (events joined by " | ").
struct Case {
  const char* name;
  std::vector<Step> steps;
  std::wstring log;
};

// Steps, each named for a failure's message.
inline Step Set(Ctl field, std::wstring text) {
  return {NameOf(field) + L" set to \"" + text + L"\"",
          [=](Harness& h) { h.w->SetText(field, text); }};
}
inline Step Type(Ctl field, std::wstring text) {
  return {L"\"" + text + L"\" typed into " + NameOf(field),
          [=](Harness& h) { h.w->EditText(field, text); }};
}
inline Step TypeInList(Ctl list, std::wstring text) {
  return {L"\"" + text + L"\" typed into " + NameOf(list),
          [=](Harness& h) { h.w->SetListText(list, text); }};
}
inline Step Select(Ctl list, int entry) {
  return {L"entry " + std::to_wstring(entry) + L" of " + NameOf(list) + L" selected",
          [=](Harness& h) { h.w->SelectListEntry(list, entry); }};
}
inline Step Click(Ctl control) {
  return {NameOf(control) + L" clicked", [=](Harness& h) { h.w->Click(control); }};
}
// A reaction run by its name, as the program runs it.
#define REACTION(name)                                     \
  Step {                                                   \
    L"" #name, [](Harness& running) { running.w->name(); } \
  }
inline Step Idle() {
  return {L"input paused", [](Harness& h) { h.w->InputPaused(); }};
}
// Input waits during the next step after `questions` questions.
inline Step InputAfter(int questions) {
  return {L"input waiting after " + std::to_wstring(questions) + L" questions",
          [=](Harness& h) { h.fake.dialogs.inputAfter = questions; }, true};
}
// The machine, the user's answers and picks.
inline Step Given(std::wstring what, std::function<void(fake::FakePlatform&)> arrange) {
  return {what, [=](Harness& h) { arrange(h.fake); }};
}
inline Step File(std::wstring path, uint64_t size = 1) {
  return Given(L"file " + path, [=](fake::FakePlatform& f) { f.fs.AddFile(path, size); });
}
inline Step Folder(std::wstring path) {
  return Given(L"folder " + path, [=](fake::FakePlatform& f) { f.fs.AddFolder(path); });
}
inline Step Gone(std::wstring path) {
  return Given(L"no " + path, [=](fake::FakePlatform& f) { f.fs.Remove(path); });
}
inline Step Stored(std::string bytes) {
  return Given(L"settings file holds " + std::wstring(bytes.begin(), bytes.end()),
               [=](fake::FakePlatform& f) { f.fs.AddTextFile(kStoredFile, bytes); });
}
inline Step WindowsIn(std::wstring folder) {
  return Given(L"Windows in " + folder,
               [=](fake::FakePlatform& f) { f.sys.windowsDirectory = folder; });
}
inline Step AnswerNo() {
  return Given(L"a No answer queued",
               [](fake::FakePlatform& f) { f.dialogs.answers.push_back(Answer::No); });
}
inline Step FolderPicked(std::wstring folder) {
  return Given(L"folder picked " + folder,
               [=](fake::FakePlatform& f) { f.dialogs.folderPicks.push_back(folder); });
}
inline Step HandedOver(std::wstring user) {
  return {L"profile handed over " + user, [=](Harness&) { SelectedUserName = user; }};
}

// A log written as events joined by " | ", split.
inline std::vector<std::wstring> Events(const std::wstring& joined) {
  std::vector<std::wstring> events;
  for (size_t at = 0; at < joined.size();) {
    size_t end = std::min(joined.find(L" | ", at), joined.size());
    events.push_back(joined.substr(at, end - at));
    at = end + 3;
  }
  return events;
}

inline const Step kLogFromHere = {L"(log from here)",
                                  [](Harness& h) { h.logFrom = h.fake.log.size(); }};

// Compares the log from event `from` on with `expected` (events joined by " | "), naming the
// first event that differs and the step it came in; `whole`: and no event after those expected.
inline void ExpectLog(const Harness& h, const std::wstring& expected, size_t from = 0,
                      bool whole = true) {
  std::vector<std::wstring> got = h.Log(), want = Events(expected);
  from = std::min(from, got.size());
  if (!whole) got.resize(std::min(got.size(), from + want.size()));
  std::wstring all;
  for (size_t i = from; i < got.size(); ++i) all += L"\n  " + got[i] + L"   <- " + h.StepOf(i);
  for (size_t i = 0; i < std::max(want.size(), got.size() - from); ++i) {
    std::wstring expect = i < want.size() ? want[i] : L"(nothing more)";
    std::wstring seen = from + i < got.size() ? got[from + i] : L"(nothing more)";
    if (expect == seen) continue;
    ADD_FAILURE() << "event " << i + 1 << " (in step " << h.StepOf(from + i) << "):\n  expected "
                  << expect << "\n  got      " << seen << "\nthe whole log:" << all;
    return;
  }
}

// Runs each case on a fresh window after `given`, and compares the log of its steps (of its last
// step only, when `lastStepOnly`; from kLogFromHere on, if it holds one). The busy pointer must be
// off after each.
inline void ExpectCases(const std::vector<Step>& given, const std::vector<Case>& cases,
                        bool lastStepOnly = false) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h;
    h.Run(given);
    if (lastStepOnly) h.Run({c.steps.begin(), c.steps.end() - 1});
    size_t from = h.fake.log.size();
    h.Run(lastStepOnly ? std::vector<Step>{c.steps.back()} : c.steps);
    if (h.logFrom != SIZE_MAX) from = h.logFrom;
    ExpectLog(h, c.log, from);
    std::string& busy = h.fake.dialogs.busy;
    EXPECT_EQ(std::count(busy.begin(), busy.end(), '+') * 2, busy.size())
        << "busy pointer " << busy;
    SelectedUserName.clear();
  }
}

}  // namespace tessel::testing
