// A fresh folder under the Windows temp folder for one test, removed afterwards.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <set>
#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tessel::wintest {

// These tests run under Wine, whose Unix side makes and removes what Windows programs cannot
// there: links to folders, and trees holding them. Runs `command` with `paths` as Unix paths and,
// as Wine gives no handle to wait on, waits until the last of them exists, or is `gone`.
inline void RunUnix(std::string command, std::initializer_list<std::wstring> paths, bool gone) {
  auto unix = reinterpret_cast<char*(CDECL*)(const wchar_t*)>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  for (const std::wstring& path : paths) command += " \"" + std::string(unix(path.c_str())) + '"';
  std::wstring line = win32::Utf8ToWide(command);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                 &process);
  const wchar_t* last = std::data(paths)[paths.size() - 1].c_str();
  for (int i = 0; i < 1000 && (GetFileAttributesW(last) == INVALID_FILE_ATTRIBUTES) != gone; ++i) {
    Sleep(10);
  }
}

// The names a listing of `folder` yields.
inline std::set<std::wstring> Names(const std::wstring& folder) {
  std::set<std::wstring> names;
  win32::Win32FileSystem().ListFolder(folder, [&](const DirEntry& e) { names.emplace(e.name); });
  return names;
}

class TestFolder {
 public:
  TestFolder() {
    static int counter = 0;
    // Wine reuses process ids, so a tree an earlier run left could be found again: remove it.
    path_ = std::filesystem::temp_directory_path() /
            ("tessel-test-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter) + "\\");
    if (GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) Remove();
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TestFolder() { Remove(); }
  const std::wstring& Path() const { return path_; }  // ends in "\"
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }
  void MakeFolder(const std::wstring& relative) const {
    CreateDirectoryW(win32::LongPath(path_ + relative).c_str(), nullptr);
  }
  void MakeFile(const std::wstring& relative, const std::string& bytes = {}) const {
    std::ofstream(std::filesystem::path(win32::LongPath(path_ + relative)), std::ios::binary)
        << bytes;
  }

 private:
  // A tree of any depth (the shell's delete stops at MAX_PATH), never through a link.
  void Remove() const { RunUnix("/bin/rm -rf", {path_}, true); }
  std::wstring path_;
};

}  // namespace tessel::wintest
