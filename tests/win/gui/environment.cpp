// Files and folders for GUI runs, through the wide API.
#include "gui/environment.h"

#include <windows.h>
// windows.h first: the headers below rely on its types.
#include <shellapi.h>
#include <winnetwk.h>

#include "platform/win32/wide.h"

namespace tessel::gui {

namespace {

const std::wstring kCallLog = std::wstring(kWinZipFolder) + L"command-lines.log";

bool Write(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return CloseHandle(file) && ok;
}

SYSTEMTIME Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now;
}

}  // namespace

std::wstring DriverFolder() {
  wchar_t self[MAX_PATH] = {};
  std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeFile(const std::wstring& path) {
  for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos;
       slash = path.find(L'\\', slash + 1)) {
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  }
  return Write(path, "sample");
}

bool RemoveTree(const std::wstring& path) {
  std::wstring from = path + L'\0';  // a list of paths, ended by an empty one
  SHFILEOPSTRUCTW op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  return !Exists(path) || (SHFileOperationW(&op) == 0 && !Exists(path));
}

bool InstallArchiver() {
  std::wstring archiver = DriverFolder() + L"recording_archiver.exe";
  return MakeFile(std::wstring(kWinZipFolder) + L"winzip32.exe") && RemoveTree(kCallLog) &&
         CopyFileW(archiver.c_str(), (std::wstring(kWinZipFolder) + L"wzzip.exe").c_str(), FALSE);
}

std::vector<std::wstring> ArchiverCalls() {
  std::vector<std::wstring> calls;
  HANDLE file = CreateFileW(kCallLog.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return calls;
  std::string bytes(1 << 16, '\0');
  DWORD got = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  bytes.resize(got);
  for (size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos;
       start = end + 1) {
    calls.push_back(win32::Utf8ToWide(bytes.substr(start, end - start)));
  }
  return calls;
}

bool StoreDestination(const std::wstring& path) {
  std::wstring file = L"C:\\Program Files\\Tessel\\DefaultDestinationPath.txt";
  return MakeFile(file) && Write(file, win32::WideToUtf8(path) + "\r\n");
}

int ThisYear() {
  return Now().wYear;
}

std::wstring ThisMonth() {
  int month = Now().wMonth;
  return (month < 10 ? L"0" : L"") + std::to_wstring(month);
}

std::wstring UserName() {
  wchar_t name[256] = {};
  DWORD length = 256;
  return WNetGetUserW(nullptr, name, &length) == NO_ERROR ? name : L"";
}

}  // namespace tessel::gui
