// Test helper: writes its raw command line (UTF-16) to the file named by TESSEL_RECORD_FILE and
// exits with code 7, so launch tests can see exactly what was started.
#include <windows.h>

int wmain() {
  Sleep(300);  // so a caller that does not wait finds no record yet
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"TESSEL_RECORD_FILE", path, MAX_PATH)) return 1;
  HANDLE file =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  const wchar_t* line = GetCommandLineW();
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(lstrlenW(line) * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  return 7;
}
