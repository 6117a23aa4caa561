// Folder names Windows refuses or rewrites. Whatever the file-system layer makes must be the
// folder every other program (the archiver included) reaches by the same path; what it cannot
// make that way it must refuse, leaving nothing behind.
#include <gtest/gtest.h>

#include <set>

#include "core/naming.h"
#include "destination/folder_checks.h"
#include "platform/win32/win32_platform.h"
#include "recording_dialogs.h"
#include "test_folder.h"

namespace tessel {
namespace {

using wintest::TestFolder;

// How any program that passes a path straight to Windows sees it.
bool PlainFolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const wchar_t* const kNames[] = {
    L"Backups.",  // Windows drops trailing dots ...
    L"Backups ",  // ... and trailing blanks
    L"con",       // device names
    L"NUL",
    L"a|b",  // characters no name may hold
    L"what?",
    L"sub/inner",     // "/" separates as "\" does
    L"gone\\..\\up",  // ".." climbs
    L".\\here",
};

TEST(FaultNames, MadeFoldersAreReachableByTheirPlainPath) {
  for (const wchar_t* name : kNames) {
    SCOPED_TRACE(name);
    TestFolder dir;
    dir.MakeFolder(L"sub");
    std::set<std::wstring> before = wintest::EntryNames(dir.Path());
    std::wstring path = dir / name;
    win32::Win32FileSystem fs;
    Status made = fs.CreateFolder(path);
    if (made) {
      EXPECT_TRUE(PlainFolderExists(path)) << "made, but other programs cannot reach it";
      EXPECT_TRUE(fs.FolderExists(path));
    } else {
      EXPECT_FALSE(made.reason.empty());
      EXPECT_EQ(wintest::EntryNames(dir.Path()), before) << "a refused name leaves nothing behind";
      EXPECT_FALSE(fs.FolderExists(path));
    }
  }
}

// The destination check, answered Yes, on the real file system: it passes only when the
// archiver will find the folder, and otherwise says which level failed.
TEST(FaultNames, DestinationCheckPassesOnlyForAFolderTheArchiverFinds) {
  for (const wchar_t* name : kNames) {
    SCOPED_TRACE(name);
    TestFolder dir;
    dir.MakeFolder(L"sub");
    win32::Win32FileSystem fs;
    win32::Win32System sys;
    wintest::RecordingDialogs dialogs(Answer::Yes);
    Platform platform{fs, sys, dialogs};
    std::wstring destination = dir / (std::wstring(name) + L"\\2011");
    bool passed = MakeSureDirectoryTreeExists(platform, destination);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages[0], MissingFolderQuestion(destination));
    if (passed) {
      EXPECT_EQ(dialogs.messages.size(), 1u);
      EXPECT_TRUE(PlainFolderExists(destination));
    } else {
      ASSERT_EQ(dialogs.messages.size(), 2u);
      EXPECT_TRUE(dialogs.messages[1].starts_with(L"The folder ")) << dialogs.messages[1];
    }
  }
}

}  // namespace
}  // namespace tessel
