// A fresh folder under the Windows temp folder for one test, removed afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tessel::wintest {

// These tests run under Wine, whose own Unix side makes and removes what Windows programs cannot
// there: links to folders, and trees holding them.
inline std::string UnixPath(const std::wstring& path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  auto unix = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* converted = unix ? unix(path.c_str()) : nullptr;
  std::string quoted(1, '"');
  return quoted.append(converted ? converted : "").append(1, '"');
}

// Wine starts a Unix program without a handle to wait on, so what it does is waited for.
template <class Done>
bool RunUnix(const std::string& line, Done done) {
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
  // A tree of any depth (the shell's delete stops at MAX_PATH), never through a link.
  static void Remove(const std::wstring& folder) {
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    RunUnix("/bin/rm -rf " + UnixPath(folder),
            [&] { return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES; });
  }
  std::wstring path_;
};

}  // namespace tessel::wintest
