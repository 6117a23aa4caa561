// The fake drive must follow Windows path rules, or every suite built on it tests the wrong thing.
#include <gtest/gtest.h>

#include "fake_platform.h"

namespace tessel {
namespace {

TEST(FakeFileSystem, WindowsPathRules) {
  fake::FakeFileSystem fs;
  fs.AddFolder(L"C:\\Users\\JSmith\\Documents");
  fs.AddFile(L"C:\\Users\\JSmith\\Documents\\a.txt", 10);
  struct Case {
    const wchar_t* path;
    bool folder, entry;
  };
  const Case cases[] = {
      {L"C:\\", true, false},
      {L"c:\\users\\jsmith", true, true},
      {L"C:\\USERS\\JSMITH\\", true, false},
      {L"C:\\Users\\\\JSmith", true, true},
      {L"C:\\Users\\JSmith\\Documents\\A.TXT", false, true},
      {L"C:\\Users\\Nobody", false, false},
      {L"D:\\", false, false},
      {L":\\", false, false},
      {L"\\\\server\\share", false, false},
      {L"C:Users", false, false},
      {L"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fs.FolderExists(c.path), c.folder) << "FolderExists('" << c.path << "')";
    EXPECT_EQ(fs.EntryExists(c.path), c.entry) << "EntryExists('" << c.path << "')";
  }
}

TEST(FakeFileSystem, CreationAndFailures) {
  fake::FakeFileSystem fs;
  fs.AddDrive(L'D');
  EXPECT_TRUE(fs.CreateFolder(L"D:\\A"));
  EXPECT_FALSE(fs.CreateFolder(L"D:\\A")) << "exists";
  EXPECT_FALSE(fs.CreateFolder(L"D:\\X\\Y")) << "parent missing";
  EXPECT_FALSE(fs.CreateFolder(L"D:\\A\\b|c")) << "name Windows refuses";
  EXPECT_TRUE(fs.MakeFolderPath(L"D:\\A\\B\\C\\"));
  EXPECT_TRUE(fs.IsFolder(L"D:\\a\\b\\c"));
  fs.AddFile(L"D:\\F", 1);
  EXPECT_FALSE(fs.MakeFolderPath(L"D:\\F\\G\\"));

  EXPECT_TRUE(fs.ReplaceFileContent(L"D:\\A\\s.txt", "old"));
  fs.FailWritesAfterBytes(2);
  EXPECT_FALSE(fs.ReplaceFileContent(L"D:\\A\\s.txt", "newer"));
  EXPECT_EQ(fs.Content(L"D:\\A\\s.txt"), "old");
  fs.FailWritesAfterBytes(std::nullopt);
  fs.DenyWritesUnder(L"D:\\A");
  EXPECT_FALSE(fs.ReplaceFileContent(L"D:\\A\\s.txt", "x"));
  EXPECT_FALSE(fs.CreateFolder(L"D:\\A\\New"));
  EXPECT_EQ(fs.Content(L"D:\\A\\s.txt"), "old");
}

}  // namespace
}  // namespace tessel
