// The backups' launch of the stand-in archiver for real: an archiver that is a folder, and runs
// that end at once or with an error (an old file that is no archive, a source that is gone).
// The user sees a message only when the archiver could not be started at all, and an old
// archive is never damaged.
#include <gtest/gtest.h>

#include "jobs/archiver_command.h"
#include "platform/win32/win32_platform.h"
#include "recording_dialogs.h"
#include "test_folder.h"

namespace tessel {
namespace {

using wintest::TestFolder;

std::string Read(const std::wstring& path) {
  std::string bytes;
  if (!win32::Win32FileSystem().ReadFile(path, bytes)) return "<unreadable>";
  return bytes;
}

std::wstring StandIn() {
  return wintest::ModuleFolder() + L"..\\..\\tools\\archiver\\wzzip.exe";
}

TEST(FaultArchiver, RunsThatEndBadlyShowNothingAndKeepTheOldFile) {
  const std::string notAnArchive = "PK\x03\x04 this was cut short";
  struct Case {
    const char* name;
    std::string old;  // what lies at the archive path before the run ("": nothing)
    bool sourceExists;
    bool archiveAfter;  // an archive (a new one, or the old one updated) is there afterwards
  };
  const Case cases[] = {
      {"new archive", "", true, true},
      {"old file is no archive", notAnArchive, true, false},
      {"source gone", "", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder dir;
    if (c.sourceExists) {
      dir.MakeFolder(L"src");
      dir.MakeFile(L"src\\a.txt", "hello");
    }
    dir.MakeFolder(L"out");
    std::wstring archive = dir / L"out\\Photos-2011.zip";
    if (!c.old.empty()) dir.MakeFile(L"out\\Photos-2011.zip", c.old);

    win32::Win32FileSystem fs;
    win32::Win32System sys;
    wintest::RecordingDialogs dialogs;
    Platform platform{fs, sys, dialogs};
    EXPECT_TRUE(RunArchiverAndWait(platform, {StandIn(), archive, dir / L"src\\"}));
    EXPECT_TRUE(dialogs.messages.empty()) << "the archiver's own outcome is never reported";
    if (!c.old.empty()) {
      EXPECT_EQ(Read(archive), c.old);
    }
    std::string after = Read(archive);
    EXPECT_EQ(after.starts_with("PK\x03\x04") && after != notAnArchive, c.archiveAfter);
  }
}

TEST(FaultArchiver, ArchiverThatCannotBeStartedIsReported) {
  TestFolder dir;
  dir.MakeFolder(L"WinZip");
  dir.MakeFolder(L"WinZip\\wzzip.exe");
  for (const std::wstring& program : {dir / L"WinZip\\wzzip.exe", dir / L"Missing\\wzzip.exe"}) {
    win32::Win32FileSystem fs;
    win32::Win32System sys;
    wintest::RecordingDialogs dialogs;
    Platform platform{fs, sys, dialogs};
    EXPECT_FALSE(RunArchiverAndWait(platform, {program, dir / L"a.zip", dir / L"src\\"}));
    ASSERT_EQ(dialogs.messages.size(), 1u) << program;
    EXPECT_TRUE(dialogs.messages[0].starts_with(L"The archiver could not be started:\r\n" +
                                                program + L"\r\n\r\n"))
        << dialogs.messages[0];
    EXPECT_FALSE(fs.EntryExists(dir / L"a.zip"));
  }
}

}  // namespace
}  // namespace tessel
