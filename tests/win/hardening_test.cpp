// Start-up hardening, as far as Wine shows it: Wine draws no system error boxes and gives every
// child the default error mode whatever its parent asks, so the tests read back what the process
// set and what it asks Windows for when it starts the archiver.
#include <gtest/gtest.h>

#include "platform/win32/hardening.h"
#include "test_folder.h"

// This program's import slot for CreateProcessW, through which the platform layer calls it.
extern "C" decltype(&CreateProcessW) __imp_CreateProcessW;

namespace tessel {
namespace {

DWORD gCreationFlags = 0;

TEST(Hardening, DllsComeFromSystem32AndWindowsShowsNoErrorBoxes) {
  wintest::TestFolder dir;
  dir.MakeFile(L"tessel-probe.dll", "not a program");  // found by name: a bad image
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(dir.Path().c_str());
  auto probe = [] { return LoadLibraryW(L"tessel-probe.dll") ? 0 : GetLastError(); };
  EXPECT_EQ(probe(), DWORD{ERROR_BAD_EXE_FORMAT}) << "searched before";
  UINT testRunnerMode = SetErrorMode(0);  // GoogleTest quiets errors itself
  win32::HardenProcess();
  EXPECT_EQ(GetErrorMode(), UINT{SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX});
  EXPECT_EQ(probe(), DWORD{ERROR_MOD_NOT_FOUND}) << "not after";
  SetErrorMode(testRunnerMode);
  SetCurrentDirectoryW(before);
}

TEST(Hardening, TheArchiverStartsWithWindowsDefaultErrorMode) {
  DWORD protection = 0;  // import slots may be read-only once the loader has filled them
  VirtualProtect(&__imp_CreateProcessW, sizeof(void*), PAGE_READWRITE, &protection);
  auto real = __imp_CreateProcessW;
  __imp_CreateProcessW = [](LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                            DWORD flags, LPVOID, LPCWSTR, LPSTARTUPINFOW,
                            LPPROCESS_INFORMATION) -> BOOL {
    gCreationFlags = flags;
    return FALSE;
  };
  Status started = win32::Win32System().RunAndWait(L"\"C:\\Program Files\\WinZip\\wzzip.exe\"");
  __imp_CreateProcessW = real;
  EXPECT_FALSE(started);
  EXPECT_TRUE(gCreationFlags & CREATE_DEFAULT_ERROR_MODE) << "flags " << gCreationFlags;
}

}  // namespace
}  // namespace tessel
