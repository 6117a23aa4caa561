// Entry point of tessel.exe: the process is hardened first, the shell's folder picker needs COM,
// the windows need the common controls; then the main window runs until Quit.
#include <windows.h>
// windows.h first: the headers below rely on its types.
#include <commctrl.h>
#include <objbase.h>

#include "app/app.h"
#include "app/form_window.h"
#include "platform/win32/hardening.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  tessel::win32::HardenProcess();
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  int code = 1;
  if (tessel::app::RegisterFormClasses(instance)) {
    tessel::win32::Win32FileSystem fs;
    tessel::win32::Win32System sys;
    tessel::win32::Win32Dialogs dialogs;
    tessel::Platform platform{fs, sys, dialogs};
    tessel::app::App app(instance, platform, dialogs);
    if (app.Start()) code = app.Run();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return code;
}
