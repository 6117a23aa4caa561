// Start-up hardening of the process.
#include "platform/win32/hardening.h"

namespace tessel::win32 {

void HardenProcess() {
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
}

}  // namespace tessel::win32
