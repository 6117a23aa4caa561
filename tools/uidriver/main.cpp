// uidriver: the UI driver as a command for the GUI stage's screenshot, the installer stage and the
// demo. Each call does one step against tessel.exe and prints what it saw; a failed step says why
// and exits with 1. Installed as wzzip.exe it is the recording archiver instead, and as icacls.exe
// the installer stage's record of what setup asks for.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "ui/main_form.h"
#include "uidriver/driver.h"

namespace tessel::gui {
namespace {

int Fail(const char* why) {
  std::fprintf(stderr, "uidriver: %s\n", why);
  return 1;
}

int Run(const std::vector<std::wstring>& args) {
  auto arg = [&](size_t i) { return i < args.size() ? args[i] : std::wstring(); };
  if (arg(0) == L"install-archiver") return InstallArchiver() ? 0 : Fail("no archiver installed");
  std::optional<Tessel> app = arg(0) == L"start" ? Tessel::Start(arg(1)) : Tessel::Attach();
  Form main = app ? app->WaitForm(ui::MainForm()) : Form{};
  if (!main) return Fail(app ? "no main window" : "tessel.exe is not running");
  if (arg(0) == L"start") {
    if (!app->Settle()) return Fail("the program stays busy");
    app->Detach();  // the program keeps running after the driver ends
    return 0;
  }
  if (arg(0) == L"park-mouse") {  // prints the caption, by which a screenshot finds the window
    SetCursorPos(0, 0);
    if (!app->WaitDrawn(main)) return Fail("the window was not drawn");
    return std::puts(win32::WideToUtf8(Text(main.hwnd)).c_str()) < 0;
  }
  if (arg(0) == L"quit") {
    return app->Click(main.Control(L"btnQuit")) && app->WaitExit() ? 0 : Fail("it did not end");
  }
  HWND control = main.Control(arg(1));
  std::wstring before = Text(control);
  if (!control) return Fail("no such control");
  if (arg(0) == L"click") return app->Click(control) ? 0 : Fail("the program stays busy");
  if (arg(0) == L"type") {
    // Anything else in the box afterwards (a selection replaced, keys lost) fails the step.
    bool typed = app->Type(control, arg(2)) && Text(control) == before + arg(2);
    return typed ? 0 : Fail("the box does not show what was typed");
  }
  std::fputs(
      "usage: uidriver install-archiver | start [tessel.exe] | park-mouse | quit |\n"
      "  type <control> <text> | click <control>\n",
      stderr);
  return 2;
}

}  // namespace
}  // namespace tessel::gui

int wmain(int argc, wchar_t** argv) {
  if (std::wstring self = argv[0]; self.ends_with(L"wzzip.exe") || self.ends_with(L"icacls.exe")) {
    // Appends its raw command line beside itself, then takes as long as hold-ms.txt there says.
    std::filesystem::path folder = tessel::gui::DriverFolder();
    std::ofstream(folder / L"command-lines.log", std::ios::app | std::ios::binary)
        << tessel::win32::WideToUtf8(GetCommandLineW()) << '\n';
    int holdMs = 0;
    std::ifstream(folder / L"hold-ms.txt") >> holdMs;
    Sleep(static_cast<DWORD>(holdMs));
    return 0;
  }
  return tessel::gui::Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
