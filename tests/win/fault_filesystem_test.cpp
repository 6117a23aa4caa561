// The file-system calls the main window relies on, against Wine's real file system when things
// go wrong: a locked or read-only settings file, a blocked temporary name, paths past 260
// characters, names Windows refuses, UNC paths and drive roots.
#include <gtest/gtest.h>

#include <set>

#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "test_folder.h"

namespace tessel {
namespace {

using wintest::TestFolder;

std::string Read(const std::wstring& path) {
  std::string bytes;
  if (!win32::Win32FileSystem().ReadFile(path, bytes)) return "<unreadable>";
  return bytes;
}

// Holds a file open without sharing, as another program might.
class Lock {
 public:
  explicit Lock(const std::wstring& path)
      : h_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~Lock() { CloseHandle(h_); }
  bool Held() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

TEST(FaultFileSystem, ReplacingTheSettingsFileFailsWholeOrSucceedsWhole) {
  struct Case {
    const char* name;
    std::function<void(const TestFolder&, const std::wstring& file)> block;
    bool mustFail;  // false: the outcome may go either way, but must match what is on disk
  };
  const Case cases[] = {
      {"temporary name taken by a folder",
       [](const TestFolder& dir, const std::wstring&) {
         dir.MakeFolder(L"settings.txt.new-" + std::to_wstring(GetCurrentProcessId()));
       },
       true},
      // Windows refuses to replace a read-only file; Wine replaces it. Either way the answer
      // must say what happened.
      {"file marked read-only",
       [](const TestFolder&, const std::wstring& file) {
         SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder dir;
    std::wstring file = dir / L"settings.txt";
    dir.MakeFile(L"settings.txt", "D:\\Old\r\n");
    c.block(dir, file);
    std::set<std::wstring> before = wintest::EntryNames(dir.Path());
    Status replaced = win32::Win32FileSystem().ReplaceFileContent(file, "D:\\New\r\n");
    if (c.mustFail) {
      EXPECT_FALSE(replaced);
    }
    EXPECT_EQ(Read(file), replaced ? "D:\\New\r\n" : "D:\\Old\r\n");
    if (!replaced) {
      EXPECT_FALSE(replaced.reason.empty());
    }
    EXPECT_EQ(wintest::EntryNames(dir.Path()), before) << "no temporary file is left behind";
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST(FaultFileSystem, LockedSettingsFileIsNeitherReadNorReplaced) {
  TestFolder dir;
  std::wstring file = dir / L"settings.txt";
  dir.MakeFile(L"settings.txt", "D:\\Old\r\n");
  win32::Win32FileSystem fs;
  {
    Lock lock(file);
    ASSERT_TRUE(lock.Held());
    std::string bytes;
    Status read = fs.ReadFile(file, bytes);
    EXPECT_FALSE(read);
    EXPECT_FALSE(read.reason.empty());
    Status replaced = fs.ReplaceFileContent(file, "D:\\New\r\n");
    EXPECT_FALSE(replaced);
    EXPECT_FALSE(replaced.reason.empty());
    EXPECT_FALSE(fs.CreateEmptyFile(file)) << "start-up never empties a file it cannot see";
  }
  EXPECT_EQ(Read(file), "D:\\Old\r\n");
  EXPECT_EQ(wintest::EntryNames(dir.Path()), std::set<std::wstring>{L"settings.txt"});
}

TEST(FaultFileSystem, PathsBeyond260CharactersWork) {
  TestFolder dir;
  std::wstring deep = dir.Path();
  while (deep.size() < 300) deep += L"level-with-a-long-name\\";
  win32::Win32FileSystem fs;
  ASSERT_TRUE(fs.MakeFolderPath(deep));
  EXPECT_TRUE(fs.FolderExists(deep));
  std::wstring leaf = deep + L"Backups";
  ASSERT_TRUE(fs.CreateFolder(leaf));
  EXPECT_TRUE(fs.FolderExists(leaf));
  std::wstring file = leaf + L"\\DefaultDestinationPath.txt";
  ASSERT_TRUE(fs.CreateEmptyFile(file));
  ASSERT_TRUE(fs.ReplaceFileContent(file, "x\r\n"));
  EXPECT_EQ(Read(file), "x\r\n");
  EXPECT_TRUE(fs.EntryExists(file));
  EXPECT_EQ(wintest::EntryNames(leaf), std::set<std::wstring>{L"DefaultDestinationPath.txt"});
}

TEST(FaultFileSystem, UncPathsAndDriveRoots) {
  win32::Win32FileSystem fs;
  wchar_t missing = 0;
  for (wchar_t d = L'Q'; d >= L'D' && !missing; --d) {
    if (!(GetLogicalDrives() & (1u << (d - L'A')))) missing = d;
  }
  ASSERT_NE(missing, 0);
  std::wstring missingRoot = std::wstring(1, missing) + L":\\";
  struct Case {
    std::wstring path;
    bool exists;
  };
  const Case cases[] = {
      {L"C:\\", true},
      {L"c:\\", true},
      {missingRoot, false},
      {missingRoot + L"Backups", false},
      {L"\\\\nosuchserver\\share", false},
      {L"\\\\nosuchserver\\share\\dir\\", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fs.FolderExists(c.path), c.exists) << c.path;
    EXPECT_EQ(fs.ListFolder(c.path, [](const DirEntry&) {}), c.exists) << c.path;
  }
  EXPECT_FALSE(fs.CreateFolder(L"C:\\")) << "a drive root exists already";
  EXPECT_TRUE(fs.MakeFolderPath(L"C:\\")) << "nothing to make";
  for (const std::wstring& path :
       {missingRoot + L"Backups\\", std::wstring(L"\\\\nosuchserver\\share\\dir\\")}) {
    Status made = fs.MakeFolderPath(path);
    EXPECT_FALSE(made) << path;
    EXPECT_FALSE(made.reason.empty()) << path;
  }
}

}  // namespace
}  // namespace tessel
