// The profile walk: exclusions, proper case, files, order and unlistable folders.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "profiles/profile_listing.h"

namespace tessel {
namespace {

struct Entry {
  const wchar_t* name;
  uint32_t attributes;
};

constexpr uint32_t kDir = kAttrDirectory;
constexpr uint32_t kHiddenSystemDir = kAttrDirectory | kAttrHidden | kAttrSystem;

TEST(ListUserProfiles, ListsFoldersProperCasedSortedWithoutSystemNames) {
  const struct {
    const char* name;
    std::vector<Entry> entries;
    std::vector<std::wstring> expected;
  } cases[] = {
      {"empty folder", {}, {}},
      {"system profiles in any case",
       {{L"All Users", kHiddenSystemDir},
        {L"all users", kDir},
        {L"DEFAULT USER", kHiddenSystemDir},
        {L"LocalService", kDir},
        {L"NetworkService", kDir}},
       {}},
      {"ordinary folders kept",
       {{L"Public", kDir}, {L"Default", kHiddenSystemDir}, {L"zed", kDir}},
       {L"Default", L"Public", L"Zed"}},
      {"proper case", {{L"JSmith", kDir}, {L"john smith", kDir}}, {L"John Smith", L"Jsmith"}},
      {"files are listed unless their only attribute is normal",
       {{L"desktop.ini", kAttrHidden | kAttrSystem | kAttrArchive},
        {L"notes.txt", kAttrNormal},
        {L"readme", kAttrReadOnly},
        {L"ann", kDir}},
       {L"Ann", L"Desktop.ini", L"Readme"}},
      {"order ignores case",
       {{L"bob", kDir}, {L"Alice", kDir}, {L"carol", kDir}},
       {L"Alice", L"Bob", L"Carol"}},
  };
  for (const auto& c : cases) {
    fake::FakePlatform p;
    p.fs.AddFolder(L"C:\\Users");
    for (const Entry& e : c.entries) {
      std::wstring path = std::wstring(L"C:\\Users\\") + e.name;
      if (e.attributes & kAttrDirectory) {
        p.fs.AddFolder(path, e.attributes);
      } else {
        p.fs.AddFile(path, 10, e.attributes);
      }
    }
    std::vector<std::wstring> list = {L"left over"};
    ListUserProfiles(p.fs, L"C:\\Users\\", list);
    EXPECT_EQ(list, c.expected) << c.name;
  }
}

TEST(ListUserProfiles, FolderWithoutTrailingBackslashOrMissing) {
  fake::FakePlatform p;
  p.fs.AddFolder(L"D:\\Users\\ann");
  std::vector<std::wstring> list;
  ListUserProfiles(p.fs, L"D:\\Users", list);
  EXPECT_EQ(list, std::vector<std::wstring>{L"Ann"});

  ListUserProfiles(p.fs, L"E:\\Users\\", list);
  EXPECT_TRUE(list.empty()) << "a missing folder leaves the list empty";

  p.fs.SetUnlistable(L"D:\\Users");
  list = {L"stale"};
  ListUserProfiles(p.fs, L"D:\\Users\\", list);
  EXPECT_TRUE(list.empty()) << "an unlistable folder leaves the list empty";
}

}  // namespace
}  // namespace tessel
