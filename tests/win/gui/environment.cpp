// Files and folders for GUI runs.
#include "gui/environment.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tessel::gui {

namespace fs = std::filesystem;

namespace {

const fs::path kWinZip = L"C:\\Program Files\\WinZip";

bool Write(const fs::path& path, const std::string& bytes) {
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  std::ofstream(path, std::ios::binary) << bytes;
  return fs::file_size(path, error) == bytes.size();
}

}  // namespace

std::wstring DriverFolder() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path().wstring() + L"\\";
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeFile(const std::wstring& path) {
  return Write(path, "sample");
}

bool RemoveTree(const std::wstring& path) {
  std::error_code error;
  fs::remove_all(path, error);
  return !Exists(path);
}

bool InstallArchiver(int holdMs) {
  std::error_code error;
  fs::remove(kWinZip / L"command-lines.log", error);
  return Write(kWinZip / L"winzip32.exe", "") &&
         Write(kWinZip / L"hold-ms.txt", std::to_string(holdMs)) &&
         fs::copy_file(DriverFolder() + L"uidriver.exe", kWinZip / L"wzzip.exe",
                       fs::copy_options::overwrite_existing, error);
}

std::string ArchiverCalls() {
  std::ostringstream calls;
  calls << std::ifstream(kWinZip / L"command-lines.log", std::ios::binary).rdbuf();
  return calls.str();
}

bool StoreDestination(const std::string& path) {
  return Write(L"C:\\Program Files\\Tessel\\DefaultDestinationPath.txt", path + "\r\n");
}

}  // namespace tessel::gui
