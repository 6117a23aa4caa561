// What the program settles before anything else runs: where DLLs may come from, and that Windows
// shows none of its own error boxes.
#pragma once

#include <windows.h>

#include <bit>

namespace tessel::win32 {

// Limits DLL searches to System32 (never the program's folder or the current one) and stops
// Windows' critical-error boxes, such as "There is no disk in the drive" when a folder on an
// empty card reader is probed: the call then just fails and the program answers in its own words.
// The archiver is started with Windows' default mode instead (RunAndWait). Call first in wWinMain.
void HardenProcess();

// `Function` of a system DLL that is not one of Windows' known DLLs, taken from System32 only,
// or null. Such DLLs are never imported: Windows would look in the program's folder first.
template <typename Function>
Function* SystemFunction(const wchar_t* dll, const char* name) {
  HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? std::bit_cast<Function*>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace tessel::win32
