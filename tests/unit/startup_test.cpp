// Start-up: the settings file, the lists, the user, the derived fields, the archiver check and
// the failures that fall back to the built-in destination.
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

TEST(FormLoad, CleanMachineOnFifthJanuary2011) {
  Harness h;
  h.w->Form_Load();
  const BackupSettings& s = h.S();
  EXPECT_EQ(h.fake.fs.Content(kStoredFile), std::string()) << "created empty, folder included";
  EXPECT_EQ(s.txtDefaultPath, L"C:\\Backup Zips");
  EXPECT_EQ(s.cmbFileNameMonth.entries.size(), 12u);
  EXPECT_EQ(s.cmbFileNameMonth.text, L"01");
  EXPECT_EQ(s.cmbFileNameYear.entries,
            (std::vector<std::wstring>{L"2009", L"2010", L"2011", L"2012", L"2013"}));
  EXPECT_EQ(s.cmbFileNameYear.selected, 2);
  EXPECT_EQ(s.txtSpecificUserFileName, L"C:\\Backup Zips\\jsmith-201101.zip");
  // The user field's reaction spells "USers"; the final rewrite spells "Users".
  EXPECT_NE(h.writes.find(L"UserFiles=C:\\USers\\Jsmith"), std::wstring::npos) << h.writes;
  EXPECT_EQ(s.txtSpecificUserFiles, L"C:\\Users\\Jsmith\\Documents\\*.*");
  EXPECT_EQ(h.refreshes, "DUDU");
  EXPECT_EQ(h.focus, "1,2");
}

TEST(FormLoad, StoredDestinationsAssignEveryLine) {
  struct Case {
    std::string bytes;
    std::wstring shown;
    std::string refreshes;  // one per assigned line (and the fallback), then the closing D and U
  };
  const Case cases[] = {
      {"D:\\Archive\r\n", L"D:\\Archive", "DUDU"},
      {"D:\\One\r\nE:\\Two\r\n", L"E:\\Two", "DDUDU"},
      {"D:\\One\r\n\r\n", L"C:\\Backup Zips", "DDDUDU"},
      {"  D:\\Spaced  ", L"  D:\\Spaced  ", "DUDU"},
  };
  for (const Case& c : cases) {
    Harness h;
    h.fake.fs.AddTextFile(kStoredFile, c.bytes);
    h.w->Form_Load();
    EXPECT_EQ(h.S().txtDefaultPath, c.shown) << "file '" << c.bytes << "'";
    EXPECT_EQ(h.refreshes, c.refreshes) << "file '" << c.bytes << "'";
  }
}

TEST(FormLoad, ArchiverFilesMessagesBeforeShowing) {
  const std::wstring a = MissingWinZipMessage(), b = MissingAddonMessage();
  struct Case {
    bool winzip, addon;
    std::vector<std::wstring> messages;
    int winzipBox, addonBox;
    std::string sequence;  // an early end does not show the window itself
  };
  const Case cases[] = {
      {true, true, {}, kChecked, kChecked, "CS"},
      {false, true, {a}, kUnchecked, kChecked, "CMS"},
      {true, false, {b}, kChecked, kUnchecked, "CM"},
      {false, false, {a, b}, kUnchecked, kUnchecked, "CMM"},
  };
  for (const Case& c : cases) {
    Harness h(c.winzip, c.addon);
    h.w->Form_Load();
    SCOPED_TRACE(::testing::Message() << "winzip " << c.winzip << ", add-on " << c.addon);
    EXPECT_EQ(h.messages, c.messages);
    EXPECT_EQ(h.S().chkWinZip, c.winzipBox);
    EXPECT_EQ(h.S().ChkAddon, c.addonBox);
    std::erase(h.sequence, 'R');
    EXPECT_EQ(h.sequence, c.sequence);
    EXPECT_EQ(h.S().txtSpecificUserFileName, L"C:\\Backup Zips\\jsmith-201101.zip");
  }
}

TEST(FormLoad, SettingsFileFailuresAreToldOnceAndFallBack) {
  struct Case {
    std::function<void(fake::FakeFileSystem&)> setUp;
    std::wstring where;
  };
  const Case cases[] = {
      {[](fake::FakeFileSystem& fs) { fs.DenyWritesUnder(L"C:\\Program Files"); },
       L"C:\\Program Files\\Tessel\\"},
      {[](fake::FakeFileSystem& fs) {
         fs.AddTextFile(kStoredFile, "D:\\Archive\r\n");
         fs.SetUnreadable(kStoredFile);
       },
       kStoredFile},
      {[](fake::FakeFileSystem& fs) { fs.AddFolder(kStoredFile); }, kStoredFile},
  };
  for (const Case& c : cases) {
    Harness h;
    c.setUp(h.fake.fs);
    h.w->Form_Load();
    ASSERT_EQ(h.messages.size(), 1u) << "where " << c.where;
    EXPECT_NE(h.messages[0].find(c.where + L"\r\n\r\nAccess is denied."), std::wstring::npos)
        << "got: " << h.messages[0];
    EXPECT_EQ(h.S().txtDefaultPath, L"C:\\Backup Zips");
    EXPECT_EQ(h.sequence.back(), 'S');
  }
}

}  // namespace
}  // namespace tessel::testing
