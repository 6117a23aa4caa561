// Entry point of tessel.exe.
#include <windows.h>

#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tessel::win32::Win32FileSystem fs;
  tessel::win32::Win32System sys;
  tessel::win32::Win32Dialogs dialogs;
  tessel::Platform platform{fs, sys, dialogs};
  (void)platform;
  return 0;
}
