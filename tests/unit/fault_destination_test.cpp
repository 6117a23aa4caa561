// Destinations that cannot be used as they are: what a backup shows for each, which folders it
// makes, and that the stored default is never touched by a backup.
#include "destination/folder_checks.h"
#include "jobs/archiver_command.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

// D:\ + 24 levels of 12 characters: 315 characters, past the classic 260.
std::vector<std::wstring> LongLevels() {
  std::vector<std::wstring> levels;
  std::wstring path = L"D:";
  for (int i = 10; i < 34; ++i) {
    path += L"\\level-" + std::to_wstring(i) + L"-abc";
    levels.push_back(path);
  }
  return levels;
}

TEST(FaultDestination, BackupIntoEachKindOfDestination) {
  const std::wstring syntax = L"The filename, directory name, or volume label syntax is incorrect.";
  const std::wstring longPath = LongLevels().back();
  struct Case {
    const char* name;
    std::wstring destination;
    std::vector<std::wstring> messages;
    std::vector<std::wstring> created;
    std::wstring archive;  // empty: the archiver is not started
  };
  const Case cases[] = {
      {"missing drive", L"X:\\Backups", {MissingDriveMessage(L"X:\\")}, {}, L""},
      {"drive root", L"D:\\", {}, {}, L"D:\\\\Photos-200905.zip"},
      {"UNC path", L"\\\\server\\share\\dir", {MissingDriveMessage(L"\\:\\")}, {}, L""},
      {"component is a file",
       L"D:\\File\\Sub",
       {MissingFolderQuestion(L"D:\\File\\Sub"),
        FolderNotCreatedMessage(L"D:\\File",
                                L"Cannot create a file when that file already exists.")},
       {},
       L""},
      {"name Windows refuses, half made",
       L"D:\\New\\Bad|Name\\Sub",
       {MissingFolderQuestion(L"D:\\New\\Bad|Name\\Sub"),
        FolderNotCreatedMessage(L"D:\\New\\Bad|Name", syntax)},
       {L"D:\\New"},
       L""},
      {"beyond 260 characters",
       longPath,
       {MissingFolderQuestion(longPath)},
       LongLevels(),
       longPath + L"\\Photos-200905.zip"},
      {"drive-relative path",
       L"D:Backups",
       {MissingFolderQuestion(L"D:Backups"),
        FolderNotCreatedMessage(L"D:Backups", NotAFullPathReason())},
       {},
       L""},
      {"no drive at all",
       L"Cloud",
       {MissingFolderQuestion(L"Cloud"), FolderNotCreatedMessage(L"Cloud", NotAFullPathReason())},
       {},
       L""},
  };
  for (const Case& c : cases) {
    Harness h;
    h.fake.fs.AddDrive(L'D');
    h.fake.fs.AddFile(L"D:\\File", 1);
    h.fake.fs.AddTextFile(kStoredFile, "D:\\Old\r\n");
    h.w->Form_Load();
    h.w->SetText(Ctl::txtDefaultPath, c.destination);
    h.w->SetText(Ctl::TxtSrc, L"E:\\Photos");
    h.w->SetText(Ctl::txtSpecificBackupFileName, L"photos");
    h.w->SetListText(Ctl::cmbFileNameYear, L"2009");
    h.w->SetListText(Ctl::cmbFileNameMonth, L"05");
    size_t before = h.fake.fs.CreatedFolders().size();
    h.Clear();
    h.w->btnSpecificBackup_Click();
    SCOPED_TRACE(c.name);
    EXPECT_EQ(h.messages, c.messages);
    std::vector<std::wstring> created(h.fake.fs.CreatedFolders().begin() + before,
                                      h.fake.fs.CreatedFolders().end());
    EXPECT_EQ(created, c.created);
    std::vector<std::wstring> launches;
    if (!c.archive.empty()) {
      launches.push_back(L"\"C:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r \"" + c.archive +
                         L"\" \"E:\\Photos\\\"");
    }
    EXPECT_EQ(h.fake.sys.launches, launches);
    EXPECT_EQ(h.fake.fs.Content(kStoredFile), "D:\\Old\r\n");
    EXPECT_EQ(h.refreshes, c.archive.empty() ? "D" : "DD") << "the window goes on refreshing";
  }
}

}  // namespace
}  // namespace tessel::testing
