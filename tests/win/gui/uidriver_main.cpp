// uidriver: the UI driver as a command for scripts (the demo, screenshots). Each call does one
// step against the running tessel.exe and prints what it saw; the exit code is 0 on success.
#include <cstdio>
#include <string>
#include <vector>

#include "gui/driver.h"
#include "gui/environment.h"
#include "platform/win32/wide.h"
#include "ui/browse_users_form.h"
#include "ui/main_form.h"

namespace tessel::gui {
namespace {

const char kUsage[] =
    "usage: uidriver <command> [arguments]\n"
    "  install-archiver [exe] [--no-winzip] [--no-addon]\n"
    "                             put winzip32.exe and wzzip.exe (the recording archiver, or exe)\n"
    "                             into C:\\Program Files\\WinZip\n"
    "  store-destination <path>   write the stored default destination\n"
    "  start [tessel.exe]         start the program, answer its start-up messages with OK and\n"
    "                             wait for the main window\n"
    "  answer ok|yes|no           print the open message box and press the button\n"
    "  type <control> <text>      clear a text box and type the text, one character at a time\n"
    "  pick <control> <entry>     pick a list entry with the mouse\n"
    "  click <control>            click a control of the main window\n"
    "  read <control>             print a control's text (or check state)\n"
    "  dump                       print every control of the main window\n"
    "  pick-user <name>           open Browse for Users and double-click the profile\n"
    "  backup-user [name]         optionally pick the profile, click the user ZIP button, answer\n"
    "                             a folder question Yes and wait until the archiver has run\n"
    "  backup-dir <source> <label>  type the source and label, click ZIP, as above\n"
    "  calls                      print the command lines the recording archiver received\n"
    "  park-mouse                 move the pointer to the screen corner (no tool tips)\n"
    "  quit                       click Quit and wait for the program to end\n";

std::string Narrow(const std::wstring& text) { return win32::WideToUtf8(text); }

// Message texts hold CR LF: printed as one line each, with the breaks shown.
std::string OneLine(const std::wstring& text) {
  std::wstring shown;
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    if (c == L'\n') {
      shown.append(L" / ");
    } else {
      shown.push_back(c);
    }
  }
  return Narrow(shown);
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "uidriver: %s\n", why.c_str());
  return 1;
}

std::wstring DefaultExe() {
  return DriverFolder() + L"..\\..\\..\\src\\app\\tessel.exe";
}

std::string Describe(const Form& form, const ui::ControlDef& def) {
  HWND h = form.Control(def.name);
  std::string state;
  switch (def.kind) {
    case ui::Kind::CheckBox:
    case ui::Kind::Option:
      state = CheckState(h) == BST_CHECKED ? "[x]" : "[ ]";
      break;
    case ui::Kind::TextBox:
    case ui::Kind::ComboBox:
      state.push_back('"');
      state.append(Narrow(Text(h)));
      state.push_back('"');
      break;
    default:
      state = "";
  }
  return Narrow(std::wstring(def.name)) + (Visible(h) ? "" : " (hidden)") + " " + state;
}

bool AnswerQuestions(const Tessel& app, int answer) {
  // A backup may ask for a missing folder; answer it and any further box the same way.
  while (std::optional<MessageBoxInfo> box = app.WaitMessage(2s)) {
    std::printf("message: %s\n", OneLine(box->text).c_str());
    if (!app.Answer(*box, box->yesNo ? answer : IDOK)) return false;
  }
  return true;
}

// The archiver runs on the program's own thread: once the program answers again, it has ended.
int WaitForBackup(const Tessel& app, size_t callsBefore, HWND archivePath) {
  if (!app.Settle(10min)) return Fail("the backup did not end");
  std::vector<std::wstring> calls = ArchiverCalls();
  if (calls.size() > callsBefore) std::printf("archiver: %s\n", Narrow(calls.back()).c_str());
  std::wstring archive = Text(archivePath);
  bool made = Exists(archive);
  std::printf("archive: %s (%s)\n", Narrow(archive).c_str(), made ? "exists" : "not written");
  return calls.size() > callsBefore || made ? 0 : Fail("the archiver was not started");
}

int PickUser(const Tessel& app, const Form& main, const std::wstring& name) {
  app.Click(main.Control(L"btnBrowseForUsers"));
  Form browse = app.WaitForm(ui::BrowseUsersForm());
  if (!browse) return Fail("Browse for Users did not open");
  HWND list = browse.Control(L"lstUsers");
  std::vector<std::wstring> users = ListEntries(list);
  for (size_t i = 0; i < users.size(); ++i) {
    if (_wcsicmp(users[i].c_str(), name.c_str()) == 0) {
      app.DoubleClickListEntry(list, static_cast<int>(i));
      app.Settle();
      std::printf("txtUsers: %s\n", Narrow(Text(main.Control(L"txtUsers"))).c_str());
      return 0;
    }
  }
  app.CloseWindow(browse.Hwnd());
  return Fail("no profile " + Narrow(name));
}

int Run(const std::vector<std::wstring>& args) {
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::wstring& command = args[0];
  auto arg = [&](size_t i) { return i < args.size() ? args[i] : std::wstring(); };

  if (command == L"install-archiver") {
    bool winzip = true, addon = true;
    std::wstring exe;
    for (size_t i = 1; i < args.size(); ++i) {
      if (args[i] == L"--no-winzip") {
        winzip = false;
      } else if (args[i] == L"--no-addon") {
        addon = false;
      } else {
        exe = args[i];
      }
    }
    ClearArchiverCalls();
    return InstallArchiver(winzip, addon, exe) ? 0 : Fail("could not install the archiver");
  }
  if (command == L"store-destination") {
    return StoreDestination(arg(1)) ? 0 : Fail("could not write the settings file");
  }
  if (command == L"calls") {
    for (const std::wstring& line : ArchiverCalls()) std::printf("%s\n", Narrow(line).c_str());
    return 0;
  }
  if (command == L"park-mouse") {
    SetCursorPos(0, 0);
    return 0;
  }
  if (command == L"start") {
    std::wstring exe = args.size() > 1 ? args[1] : DefaultExe();
    std::optional<Tessel> started = Tessel::Start(exe);
    if (!started) return Fail("cannot start " + Narrow(exe));
    Form main;
    bool shown = WaitFor(
        [&] {
          if (std::optional<MessageBoxInfo> box = started->FindMessage()) {
            std::printf("message: %s\n", OneLine(box->text).c_str());
            started->Answer(*box, IDOK);
          }
          main = started->FindForm(ui::MainForm());
          return static_cast<bool>(main);
        },
        60s);
    if (!shown) return Fail("no main window");
    started->Settle();
    started->Detach();
    std::printf("started: process %lu\n", static_cast<unsigned long>(started->ProcessId()));
    return 0;  // the program keeps running after the driver ends
  }

  std::optional<Tessel> app = Tessel::Attach();
  if (!app) return Fail("tessel.exe is not running");
  Form main = app->Main();
  if (!main) return Fail("no main window");

  if (command == L"answer") {
    std::optional<MessageBoxInfo> box = app->WaitMessage(5s);
    if (!box) return Fail("no message box");
    std::printf("message: %s\n", OneLine(box->text).c_str());
    int button = arg(1) == L"yes" ? IDYES : arg(1) == L"no" ? IDNO : IDOK;
    return app->Answer(*box, button) ? 0 : Fail("the box has no such button");
  }
  if (command == L"dump") {
    for (const ui::ControlDef& def : ui::MainForm().controls) {
      std::printf("%s\n", Describe(main, def).c_str());
    }
    return 0;
  }
  if (command == L"quit") {
    app->Click(main.Control(L"btnQuit"));
    return app->WaitExit(10s) ? 0 : Fail("the program did not end");
  }
  if (command == L"pick-user") return PickUser(*app, main, arg(1));
  if (command == L"backup-user" || command == L"backup-dir") {
    size_t before = ArchiverCalls().size();
    HWND zip = nullptr;
    HWND archive = nullptr;
    if (command == L"backup-user") {
      if (!arg(1).empty() && PickUser(*app, main, arg(1)) != 0) return 1;
      zip = main.Control(L"btnBackupUser");
      archive = main.Control(L"txtSpecificUserFileName");
    } else {
      for (const wchar_t* box : {L"TxtSrc", L"txtSpecificBackupFileName"}) {
        HWND h = main.Control(box);
        app->ClearText(h);
        app->Type(h, arg(box[0] == L'T' ? 1 : 2));
      }
      zip = main.Control(L"btnSpecificBackup");
      archive = main.Control(L"txtExampleFileName");
    }
    app->Click(zip);
    if (!AnswerQuestions(*app, IDYES)) return Fail("a message could not be answered");
    return WaitForBackup(*app, before, archive);
  }

  const ui::ControlDef* def = ui::MainForm().Find(arg(1));
  HWND control = def ? main.Control(def->name) : nullptr;
  if (!control) return Fail("no control " + Narrow(arg(1)));
  if (command == L"read") {
    std::printf("%s\n", Describe(main, *def).c_str());
    return 0;
  }
  if (command == L"click") {
    app->Click(control);
    return 0;
  }
  if (command == L"type") {
    app->ClearText(control);
    app->Type(control, arg(2));
    std::printf("%s\n", Describe(main, *def).c_str());
    return 0;
  }
  if (command == L"pick") {
    std::vector<std::wstring> entries = ComboEntries(control);
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i] == arg(2)) {
        return app->PickByMouse(control, static_cast<int>(i)) ? 0 : Fail("the pick failed");
      }
    }
    return Fail("no entry " + Narrow(arg(2)));
  }
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace
}  // namespace tessel::gui

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  return tessel::gui::Run(args);
}
