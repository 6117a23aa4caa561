// A fresh folder under the Windows temp folder for one test, removed afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tessel::wintest {

// Runs `program` (a Unix path) on `path` and `path2` (optional) (Windows paths, given to it as Unix
// paths) and waits until `done`: Wine starts Unix programs without a handle to wait on.
template <class Done>
bool RunUnix(const std::string& program, const std::wstring& path, const std::wstring& path2,
             Done done) {
  using Convert = char*(CDECL*)(const wchar_t*);
  auto unix = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unix) return false;
  std::string line = program + " \"" + unix(path.c_str()) + "\"";
  if (!path2.empty()) line += std::string(" \"") + unix(path2.c_str()) + "\"";
  std::wstring wide = win32::Utf8ToWide(line);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                 &process);
  for (int i = 0; i < 1000 && !done(); ++i) Sleep(10);
  return done();
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
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    // Wine reuses process ids, so a tree an earlier run left could be found again: remove it.
    path_ = std::wstring(temp) + L"tessel-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    Remove(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TestFolder() { Remove(path_); }
  const std::wstring& Path() const { return path_; }  // ends in "\"
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }
  void MakeFolder(const std::wstring& relative) const {
    CreateDirectoryW(win32::LongPath(path_ + relative).c_str(), nullptr);
  }
  // A file holding `bytes`, then extended to `size` (sparse, so large sizes cost no disk).
  void MakeFile(const std::wstring& relative, const std::string& bytes = {},
                uint64_t size = 0) const {
    win32::UniqueHandle file(CreateFileW(win32::LongPath(path_ + relative).c_str(), GENERIC_WRITE,
                                         0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                         nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    LARGE_INTEGER end{.QuadPart = static_cast<LONGLONG>(size)};
    if (size && SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN)) SetEndOfFile(file.Get());
  }

 private:
  // Removes a tree of any depth (the shell's delete stops at MAX_PATH), never through a link.
  static void Remove(const std::wstring& folder) {  // ends in "\"
    win32::Win32FileSystem().ListFolder(folder, [&](const DirEntry& e) {
      std::wstring path = win32::LongPath(folder + std::wstring(e.name));
      if (e.IsDirectory() && !e.IsReparsePoint()) return Remove(path + L"\\");
      // Wine 8 removes no link to a folder: Unix does.
      if (e.IsDirectory()) {
        RunUnix("/bin/rm", path, L"",
                [&] { return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES; });
        return;
      }
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    });
    RemoveDirectoryW(win32::LongPath(folder).c_str());
  }
  std::wstring path_;
};

}  // namespace tessel::wintest
