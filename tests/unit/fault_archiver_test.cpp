// The archiver where the probe finds it but the launch does not, as a folder, and exiting at once
// or with an error: what the user sees, that the window goes on working, and that no backup
// touches the stored default or an archive already there.
#include "jobs/archiver_command.h"
#include "jobs/presence_check.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

std::wstring NotStarted(const std::wstring& program, const std::wstring& reason) {
  return L"The archiver could not be started:\r\n" + program + L"\r\n\r\n" + reason;
}

TEST(FaultArchiver, LaunchOutcomes) {
  const std::wstring onD = L"D:\\Program Files\\WinZip\\wzzip.exe";
  struct Case {
    const char* name;
    std::wstring windows;  // the Windows directory, whose drive the launch uses
    std::function<void(Harness&)> setUp;
    std::vector<std::wstring> messages;
    size_t launches;
  };
  const Case cases[] = {
      {"probed on c:, missing on the system drive d:",
       L"D:\\WINDOWS",
       [](Harness&) {},
       {NotStarted(onD, L"The system cannot find the file specified.")},
       1},
      {"only on the system drive d:, not where the probe looks",
       L"D:\\WINDOWS",
       [](Harness& h) {
         h.fake.fs.AddFile(L"D:\\Program Files\\WinZip\\wzzip.exe", 1);
         h.fake.fs.Remove(kAddonProbePath);
       },
       {MissingAddonMessage()},
       0},
      {"a folder of the archiver's name",
       L"C:\\WINDOWS",
       [](Harness& h) {
         h.fake.fs.Remove(kAddonProbePath);
         h.fake.fs.AddFolder(kAddonProbePath);
       },
       {NotStarted(L"C:\\Program Files\\WinZip\\wzzip.exe", L"Access is denied.")},
       1},
      // The exit code is not read, so an error exit looks the same: no message, the metrics
      // refreshed, and whatever archive was there is the archiver's to keep.
      {"exits at once or with an error", L"C:\\WINDOWS", [](Harness&) {}, {}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h;
    h.fake.sys.windowsDirectory = c.windows;
    h.fake.sys.programs = &h.fake.fs;
    h.fake.fs.AddDrive(L'D');
    h.fake.fs.AddDrive(L'E');
    h.fake.fs.AddTextFile(L"E:\\Backups\\Photos-2011.zip", "PK old archive");
    h.fake.fs.AddTextFile(L"D:\\Program Files\\Tessel\\DefaultDestinationPath.txt",
                          "E:\\Backups\r\n");
    h.fake.fs.AddTextFile(kStoredFile, "E:\\Backups\r\n");
    c.setUp(h);
    h.w->Form_Load();
    h.w->optNo_Click();
    h.w->SetText(Ctl::TxtSrc, L"E:\\Photos");
    h.w->SetText(Ctl::txtSpecificBackupFileName, L"photos");
    // Twice: a failure must leave the window ready for the next click, unchanged.
    for (int click = 0; click < 2; ++click) {
      h.Clear();
      h.w->btnSpecificBackup_Click();
      EXPECT_EQ(h.messages, c.messages) << "click " << click;
      EXPECT_EQ(h.refreshes, c.launches ? "DD" : "") << "click " << click;
    }
    EXPECT_EQ(h.fake.sys.launches.size(), 2 * c.launches);
    EXPECT_EQ(h.fake.fs.Content(L"E:\\Backups\\Photos-2011.zip"), "PK old archive");
    EXPECT_EQ(h.S().txtDefaultPath, L"E:\\Backups");
  }
}

}  // namespace
}  // namespace tessel::testing
