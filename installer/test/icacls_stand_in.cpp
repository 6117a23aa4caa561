// Test stand-in for icacls.exe: Wine's icacls changes nothing, so the installer tests put this in
// its place to see which rights setup asks for. Appends its arguments as one UTF-8 line to the
// file named by TESSEL_ICACLS_LOG and exits with TESSEL_ICACLS_EXIT (0 when unset).
#include <windows.h>

#include <cwchar>
#include <string>

int wmain() {
  // The command line minus the program's own name, as setup wrote it.
  const wchar_t* line = GetCommandLineW();
  bool quoted = false;
  while (*line && (quoted || (*line != L' ' && *line != L'\t'))) {
    if (*line == L'"') quoted = !quoted;
    ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;

  wchar_t log_path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"TESSEL_ICACLS_LOG", log_path, MAX_PATH)) {
    std::string text(WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), static_cast<int>(text.size()), nullptr,
                        nullptr);
    text.back() = '\n';  // replaces the terminating NUL
    HANDLE file = CreateFileW(log_path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
  }

  wchar_t exit_code[16] = {};
  if (!GetEnvironmentVariableW(L"TESSEL_ICACLS_EXIT", exit_code, 16)) return 0;
  return static_cast<int>(std::wcstol(exit_code, nullptr, 10));
}
