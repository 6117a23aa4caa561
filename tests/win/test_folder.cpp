#include "test_folder.h"

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tessel::wintest {

namespace {

// Removes a tree of any depth (the shell's delete stops at MAX_PATH), never through a link.
// Wine reuses process ids, so a tree left by an earlier run would be found again by the next.
void RemoveTree(const std::wstring& folder) {
  std::wstring base = win32::LongPath(folder);
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW((base + L"\\*").c_str(), &data);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &data)) {
    std::wstring name = data.cFileName, path = folder + L"\\" + name;
    if (name == L"." || name == L"..") continue;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      SetFileAttributesW(win32::LongPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(win32::LongPath(path).c_str());
    } else if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      RemoveDirectoryW(win32::LongPath(path).c_str());
    } else {
      RemoveTree(path);
    }
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  RemoveDirectoryW(base.c_str());
}

}  // namespace

TestFolder::TestFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  path_ = std::wstring(temp) + L"tessel-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter) + L"\\";
  RemoveTree(path_.substr(0, path_.size() - 1));
  CreateDirectoryW(path_.c_str(), nullptr);
}

TestFolder::~TestFolder() {
  RemoveTree(path_.substr(0, path_.size() - 1));
}

void TestFolder::MakeFolder(const std::wstring& relative) const {
  CreateDirectoryW(win32::LongPath(path_ + relative).c_str(), nullptr);
}

void TestFolder::MakeFile(const std::wstring& relative, const std::string& bytes) const {
  win32::UniqueHandle file(CreateFileW(win32::LongPath(path_ + relative).c_str(), GENERIC_WRITE, 0,
                                       nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void TestFolder::MakeSized(const std::wstring& relative, uint64_t size) const {
  win32::UniqueHandle file(CreateFileW(win32::LongPath(path_ + relative).c_str(), GENERIC_WRITE, 0,
                                       nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN);
  SetEndOfFile(file.Get());
}

std::set<std::wstring> EntryNames(const std::wstring& folder) {
  std::set<std::wstring> names;
  win32::Win32FileSystem().ListFolder(folder, [&](const DirEntry& e) { names.emplace(e.name); });
  return names;
}

std::wstring ModuleFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace tessel::wintest
