// Destination folder creation, level by level, and what happens when a level cannot be made.
#include "destination/folder_checks.h"
#include "jobs/presence_check.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

TEST(MakeSureDirectoryTreeExists, CreatesMissingLevelsInOrder) {
  struct Case {
    std::wstring destination;
    std::vector<std::wstring> created;
    size_t questions;
  };
  const Case cases[] = {
      {L"D:\\A\\B\\C", {L"D:\\A\\B", L"D:\\A\\B\\C"}, 1},
      {L"D:\\A\\B\\", {L"D:\\A\\B"}, 1},
      {L"D:\\A\\\\B", {L"D:\\A\\B"}, 1},
      {L"D:\\A\\", {}, 0},
  };
  for (const Case& c : cases) {
    fake::FakePlatform f;
    f.fs.AddFolder(L"D:\\A");
    EXPECT_TRUE(MakeSureDirectoryTreeExists(f.platform, c.destination)) << c.destination;
    EXPECT_EQ(f.fs.CreatedFolders(), c.created) << c.destination;
    ASSERT_EQ(f.dialogs.messages.size(), c.questions) << c.destination;
    if (c.questions) {
      EXPECT_EQ(f.dialogs.messages[0].text, L"The default folder, " + c.destination +
                                                L" , doesn't exist.\r\n"
                                                L"Would you like it created?");
      EXPECT_EQ(f.dialogs.messages[0].buttons, Buttons::YesNo);
    }
  }
}

TEST(MakeSureDirectoryTreeExists, NamesTheFolderThatCannotBeMade) {
  struct Case {
    std::wstring destination, failing, reason;
  };
  const Case cases[] = {
      {L"D:\\Locked\\New", L"D:\\Locked\\New", L"Access is denied."},
      {L"D:\\File\\Sub", L"D:\\File", L"Cannot create a file when that file already exists."},
      {L"D:\\Bad|Name\\Sub", L"D:\\Bad|Name",
       L"The filename, directory name, or volume label syntax is incorrect."},
  };
  for (const Case& c : cases) {
    fake::FakePlatform f;
    f.fs.AddFolder(L"D:\\Locked");
    f.fs.DenyWritesUnder(L"D:\\Locked");
    f.fs.AddFile(L"D:\\File", 1);
    EXPECT_FALSE(MakeSureDirectoryTreeExists(f.platform, c.destination)) << c.destination;
    ASSERT_EQ(f.dialogs.messages.size(), 2u) << c.destination;
    EXPECT_EQ(f.dialogs.messages[1].text,
              L"The folder " + c.failing + L" could not be created.\r\n\r\n" + c.reason);
    EXPECT_EQ(f.dialogs.messages[1].caption, kAppTitle);
    EXPECT_TRUE(f.fs.CreatedFolders().empty());
  }
}

TEST(CheckDriveExists, MessageKeepsTheBlankBeforeTheComma) {
  fake::FakePlatform f;
  EXPECT_TRUE(CheckDriveExists(f.platform, L"C:\\"));
  EXPECT_FALSE(CheckDriveExists(f.platform, L"\\:\\"));
  ASSERT_EQ(f.dialogs.messages.size(), 1u);
  EXPECT_EQ(f.dialogs.messages[0].text,
            L"The default Drive, \\:\\ , doesn't exist.\r\n\r\n"
            L"Please select appropriate drive before trying again.");
}

TEST(BuildPath, ExactlyOneSeparator) {
  EXPECT_EQ(BuildPath(L"D:\\", L"A"), L"D:\\A");
  EXPECT_EQ(BuildPath(L"D:\\A", L"B"), L"D:\\A\\B");
  EXPECT_EQ(BuildPath(L"D:\\A\\", L"\\B"), L"D:\\A\\B");
  EXPECT_EQ(BuildPath(L"D:\\A", L""), L"D:\\A\\");
}

TEST(MakeFolder, CreatesTheLastLevelWithOrWithoutTrailingSeparator) {
  for (const wchar_t* path : {L"C:\\Program Files\\Tessel\\", L"C:\\Program Files\\Tessel"}) {
    fake::FakePlatform f;
    f.fs.AddFolder(L"C:\\Program Files");
    EXPECT_TRUE(MakeFolder(f.platform, path));
    EXPECT_TRUE(f.fs.IsFolder(L"C:\\Program Files\\Tessel")) << path;
  }
}

TEST(FolderPickers, FillTheirFieldCancelLeavesIt) {
  Harness h;
  h.w->Form_Load();
  h.fake.dialogs.folderPicks = {std::nullopt, L"E:\\", std::nullopt, L"D:\\Backup Zips"};
  h.log.clear();
  h.w->btnBrowseSpecific_Click();
  h.w->btnBrowseSpecific_Click();
  EXPECT_EQ(h.S().TxtSrc, L"E:\\");
  h.w->btnBrowseDefault_Click();
  EXPECT_EQ(h.S().txtDefaultPath, L"C:\\Backup Zips");
  h.w->btnBrowseDefault_Click();
  EXPECT_EQ(h.S().txtDefaultPath, L"D:\\Backup Zips");
  EXPECT_EQ(h.Refreshes(), "SDDD") << "the destination picker refreshes even on cancel";
}

}  // namespace
}  // namespace tessel::testing
