// Setting up files and folders for GUI runs through the wide API.
#include "gui/environment.h"

#include <windows.h>
// windows.h first: the headers below rely on its types.
#include <shellapi.h>
#include <winnetwk.h>

namespace tessel::gui {

namespace {

std::wstring Parent(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\', path.size() - 2);
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

SYSTEMTIME Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now;
}

}  // namespace

std::wstring DriverFolder() {
  wchar_t self[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeFolders(const std::wstring& path) {
  std::wstring p = path;
  if (p.empty()) return false;
  if (p.back() != L'\\') p += L'\\';
  for (size_t slash = p.find(L'\\', 3); slash != std::wstring::npos;
       slash = p.find(L'\\', slash + 1)) {
    std::wstring level = p.substr(0, slash);
    if (!Exists(level) && !CreateDirectoryW(level.c_str(), nullptr)) return false;
  }
  return true;
}

bool MakeFile(const std::wstring& path, size_t bytes) {
  MakeFolders(Parent(path));
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string data(bytes, 'x');
  DWORD written = 0;
  bool ok = bytes == 0 ||
            WriteFile(file, data.data(), static_cast<DWORD>(bytes), &written, nullptr) != FALSE;
  CloseHandle(file);
  return ok;
}

bool RemoveTree(const std::wstring& path) {
  if (!Exists(path)) return true;
  std::wstring from = path;
  if (from.back() == L'\\') from.pop_back();
  from.push_back(L'\0');  // SHFileOperation wants a double-NUL-terminated list
  SHFILEOPSTRUCTW op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  return SHFileOperationW(&op) == 0 && !Exists(path);
}

bool InstallArchiver(bool winzip, bool addon, const std::wstring& archiver) {
  MakeFolders(kWinZipFolder);
  std::wstring winzip32 = std::wstring(kWinZipFolder) + L"winzip32.exe";
  std::wstring wzzip = std::wstring(kWinZipFolder) + L"wzzip.exe";
  bool ok = winzip ? MakeFile(winzip32, 0) : RemoveTree(winzip32);
  std::wstring source = archiver.empty() ? DriverFolder() + L"recording_archiver.exe" : archiver;
  ok = ok && (addon ? CopyFileW(source.c_str(), wzzip.c_str(), FALSE) != FALSE : RemoveTree(wzzip));
  return ok;
}

std::vector<std::wstring> ArchiverCalls() {
  std::vector<std::wstring> calls;
  std::wstring log = std::wstring(kWinZipFolder) + L"command-lines.log";
  HANDLE file = CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return calls;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  size_t start = 0;
  for (size_t end = bytes.find('\n'); end != std::string::npos;
       start = end + 1, end = bytes.find('\n', start)) {
    std::string line = bytes.substr(start, end - start);
    int n = MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(), n);
    calls.push_back(wide);
  }
  return calls;
}

void ClearArchiverCalls() {
  DeleteFileW((std::wstring(kWinZipFolder) + L"command-lines.log").c_str());
}

bool StoreDestination(const std::wstring& path) {
  if (path.empty()) return RemoveTree(kSettingsFile);
  MakeFolders(Parent(kSettingsFile));
  HANDLE file = CreateFileW(kSettingsFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string bytes(path.begin(), path.end());  // the paths used here are plain ASCII
  bytes += "\r\n";
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok;
}

int ThisYearNumber() {
  return Now().wYear;
}

int ThisMonthNumber() {
  return Now().wMonth;
}

std::wstring ThisYear() {
  return std::to_wstring(ThisYearNumber());
}

std::wstring ThisMonth() {
  int month = ThisMonthNumber();
  return (month < 10 ? L"0" : L"") + std::to_wstring(month);
}

std::wstring UserName() {
  wchar_t name[256] = {};
  DWORD length = 256;
  if (WNetGetUserW(nullptr, name, &length) != NO_ERROR) return {};
  return name;
}

}  // namespace tessel::gui
