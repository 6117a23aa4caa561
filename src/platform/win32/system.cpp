// Machine facts, code-page text, processes and the shell, through the wide API.
#include <windows.h>
// windows.h first: the headers below rely on its types.
#include <shellapi.h>
#include <winnetwk.h>

#include <algorithm>
#include <vector>

#include "platform/win32/hardening.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tessel::win32 {

std::wstring Win32System::WindowsDirectory() {
  wchar_t buffer[MAX_PATH + 1] = {};
  UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return {};
  return std::wstring(buffer, length);
}

std::optional<std::wstring> Win32System::NetworkUserName() {
  // The name must fit 100 characters with its NUL; a longer one counts as not available.
  static auto* const getUser = SystemFunction<decltype(WNetGetUserW)>(L"mpr.dll", "WNetGetUserW");
  wchar_t buffer[100] = {};
  DWORD length = 100;
  if (!getUser || getUser(nullptr, buffer, &length) != NO_ERROR) return std::nullopt;
  buffer[99] = L'\0';
  return std::wstring(buffer);
}

Date Win32System::Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

std::wstring Win32System::ThousandsSeparator() {
  wchar_t buffer[8] = {};
  if (!GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 8)) return L",";
  return buffer;
}

int Win32System::CompareIgnoringCase(std::wstring_view a, std::wstring_view b) {
  int order = CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                              static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                              nullptr, nullptr, 0);
  // Fails only on arguments it cannot take; the characters' codes still give an order.
  return order == 0 ? a.compare(b) : order - CSTR_EQUAL;
}

std::optional<std::string> Win32System::ToCodePage(std::wstring_view text) {
  if (text.empty()) return std::string();
  UINT codePage = codePage_ == CP_ACP ? GetACP() : codePage_;
  // UTF-8 takes neither the best-fit flag nor the lossy-character pointer (the call fails with
  // them); it holds every character, and refuses only stray surrogates with this flag.
  bool utf8 = codePage == CP_UTF8;
  DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  int size = static_cast<int>(text.size());
  BOOL lossy = FALSE;
  BOOL* lossyOut = utf8 ? nullptr : &lossy;
  int n = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, lossyOut);
  if (n <= 0 || lossy) return std::nullopt;
  std::string bytes(static_cast<size_t>(n), '\0');
  n = WideCharToMultiByte(codePage, flags, text.data(), size, bytes.data(), n, nullptr, lossyOut);
  if (n <= 0 || lossy) return std::nullopt;
  return bytes;
}

std::wstring Win32System::FromCodePage(std::string_view bytes) {
  if (bytes.empty()) return {};
  UINT codePage = codePage_ == CP_ACP ? GetACP() : codePage_;
  int size = static_cast<int>(bytes.size());
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(std::max(n, 0)), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), n);
  return text;
}

Status Win32System::RunAndWait(std::wstring_view commandLine) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION process = {};
  // CreateProcessW may write into the command line, so it gets its own buffer.
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                      nullptr, nullptr, &startup, &process)) {
    return Status::Failed(FormatWindowsError(GetLastError()));
  }
  UniqueHandle processHandle(process.hProcess);
  UniqueHandle threadHandle(process.hThread);
  WaitServingWindows(processHandle.Get());
  return Status::Ok();
}

void Win32System::OpenWebAddress(std::wstring_view address) {
  std::wstring target(address);
  ShellExecuteW(nullptr, L"open", target.c_str(), L"", L"", SW_SHOW);
}

}  // namespace tessel::win32
