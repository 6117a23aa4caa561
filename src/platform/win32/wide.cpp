#include "platform/win32/wide.h"

namespace tessel::win32 {

std::wstring FormatWindowsError(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (length && buffer) text.assign(buffer, length);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty()) text = L"Windows error " + std::to_wstring(code) + L".";
  return text;
}

std::wstring LongPath(std::wstring_view path) {
  if (path.starts_with(L"\\\\?\\")) return std::wstring(path);
  bool unc = path.starts_with(L"\\\\");
  bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
  if (!unc && !drive) return std::wstring(path);
  // "\\?\" also turns off Windows' clean-up of a path, so do that first, as every other program
  // gets it: otherwise "D:\Backups." or "D:\x\con" become folders no other program can reach.
  std::wstring in(path);
  std::wstring full(in.size() + 1, L'\0');
  DWORD n = GetFullPathNameW(in.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n >= full.size()) {
    full.assign(n, L'\0');
    n = GetFullPathNameW(in.c_str(), n, full.data(), nullptr);
  }
  if (n == 0 || n >= full.size()) return in;
  full.resize(n);
  if (full.starts_with(L"\\\\.\\")) return full;  // a device such as CON: never a file or folder
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring Utf8ToWide(std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

}  // namespace tessel::win32
