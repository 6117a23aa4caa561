// uidriver: the UI driver as a command for the GUI stage's screenshot and the demo. Each call does
// one step against the running tessel.exe and prints what it saw; every failure says why and
// exits with 1.
#include <cstdio>
#include <string>
#include <vector>

#include "gui/driver.h"
#include "gui/environment.h"
#include "platform/win32/wide.h"
#include "ui/main_form.h"

namespace tessel::gui {
namespace {

const char kUsage[] =
    "usage: uidriver <command> [arguments]\n"
    "  install-archiver          the recording archiver as C:\\Program Files\\WinZip\\wzzip.exe\n"
    "  store-destination <path>  write the stored default destination\n"
    "  start [tessel.exe]        start the program, answer its start-up messages with OK and\n"
    "                            wait for the main window\n"
    "  answer ok|yes|no          print the open message box and press the button\n"
    "  type <control> <text>     type into a text box of the main window, one key at a time\n"
    "  click <control>           click a control of the main window\n"
    "  read <control>            print a control's text\n"
    "  park-mouse                move the pointer to the screen corner and wait until the\n"
    "                            window is drawn without a tool tip\n"
    "  quit                      click Quit and wait for the program to end\n";

int Fail(const std::string& why) {
  std::fprintf(stderr, "uidriver: %s\n", why.c_str());
  return 1;
}

// Message texts hold CR LF: printed on one line, with the breaks shown.
void PrintMessage(const MessageBoxInfo& box) {
  std::wstring shown;
  for (wchar_t c : box.text) {
    if (c != L'\r') shown += c == L'\n' ? std::wstring(L" / ") : std::wstring(1, c);
  }
  std::printf("message: %s\n", win32::WideToUtf8(shown).c_str());
}

int Start(const std::wstring& exe) {
  std::optional<Tessel> app = Tessel::Start(exe);
  if (!app) return Fail("cannot start " + win32::WideToUtf8(exe) + " or it never became idle");
  // Each start-up message is answered; the window shows once the load sequence has ended.
  bool answered = true;
  WaitFor(
      [&] {
        if (std::optional<MessageBoxInfo> box = app->WaitMessage(0ms)) {
          PrintMessage(*box);
          answered = answered && app->Answer(*box, IDOK);
        }
        return !answered || app->FindForm(ui::MainForm()) || app->WaitExit(0ms);
      },
      60s);
  if (!answered) return Fail("a start-up message could not be answered");
  if (!app->FindForm(ui::MainForm())) return Fail("no main window");
  if (!app->Settle()) return Fail("the program stays busy after start-up");
  app->Detach();  // the program keeps running after the driver ends
  std::printf("started\n");
  return 0;
}

int Run(const std::vector<std::wstring>& args) {
  auto arg = [&](size_t i) { return i < args.size() ? args[i] : std::wstring(); };
  const std::wstring command = arg(0);
  if (command == L"install-archiver") {
    return InstallArchiver() ? 0 : Fail("could not install the archiver");
  }
  if (command == L"store-destination") {
    return StoreDestination(arg(1)) ? 0 : Fail("could not write the settings file");
  }
  if (command == L"start") {
    return Start(args.size() > 1 ? arg(1) : DriverFolder() + L"..\\..\\..\\src\\app\\tessel.exe");
  }

  std::optional<Tessel> app = Tessel::Attach();
  Form main = app ? app->WaitForm(ui::MainForm()) : Form{};
  if (!main) return Fail("tessel.exe is not running");
  if (command == L"answer") {
    std::optional<MessageBoxInfo> box = app->WaitMessage();
    if (!box) return Fail("no message box");
    PrintMessage(*box);
    int button = arg(1) == L"yes" ? IDYES : arg(1) == L"no" ? IDNO : IDOK;
    return app->Answer(*box, button) ? 0 : Fail("the box was not answered");
  }
  if (command == L"park-mouse") {
    SetCursorPos(0, 0);
    return app->WaitDrawn(main) ? 0 : Fail("the window was not drawn");
  }
  if (command == L"quit") {
    if (!app->Click(main.Control(L"btnQuit"))) return Fail("Quit was not clicked");
    return app->WaitExit() ? 0 : Fail("the program did not end");
  }

  HWND control = main.Control(arg(1));
  if (!control) return Fail("no control " + win32::WideToUtf8(arg(1)));
  if (command == L"read") {
    std::printf("%s\n", win32::WideToUtf8(Text(control)).c_str());
    return 0;
  }
  if (command == L"click") return app->Click(control) ? 0 : Fail("the program stays busy");
  if (command == L"type") {
    std::wstring before = Text(control);
    if (!app->Type(control, arg(2))) return Fail("the program stays busy");
    // Anything else ending up in the box (a selection replaced, keys lost) is a failed step.
    std::wstring now = Text(control);
    std::printf("%s\n", win32::WideToUtf8(now).c_str());
    return now == before + arg(2) ? 0 : Fail("the box shows something else");
  }
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace
}  // namespace tessel::gui

int wmain(int argc, wchar_t** argv) {
  return tessel::gui::Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
