// A fresh folder under the Windows temp folder for one test, removed afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>

namespace tessel::wintest {

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  const std::wstring& Path() const { return path_; }  // ends in "\"
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }
  void MakeFolder(const std::wstring& relative) const;
  void MakeFile(const std::wstring& relative, const std::string& bytes = {}) const;
  // A file of `size` bytes, sparse where the file system allows, so large sizes cost no disk.
  void MakeSized(const std::wstring& relative, uint64_t size) const;

 private:
  std::wstring path_;
};

// The names a listing of `folder` yields.
std::set<std::wstring> EntryNames(const std::wstring& folder);

std::wstring ModuleFolder();  // the folder of the running test executable, ending in "\"

}  // namespace tessel::wintest
