// Start-up: the settings file, the lists, the user, the derived fields, the archiver check and
// the failures that must fall back to the built-in destination.
#include <algorithm>

#include "main_window_harness.h"

namespace tessel::testing {
namespace {

std::string Kinds(const Harness& h, const std::string& keep) {
  std::string seq = h.Sequence();
  std::erase_if(seq, [&](char c) { return keep.find(c) == std::string::npos; });
  return seq;
}

TEST(FormLoad, CleanMachineOnFifthJanuary2011) {
  Harness h;
  h.w->Form_Load();
  const BackupSettings& s = h.S();
  EXPECT_TRUE(h.fake.fs.IsFolder(L"C:\\Program Files\\Tessel"));
  EXPECT_EQ(h.fake.fs.Content(StoredFile()), std::string());
  EXPECT_EQ(s.txtDefaultPath, L"C:\\Backup Zips");
  EXPECT_EQ(s.cmbFileNameMonth.entries.size(), 12u);
  EXPECT_EQ(s.cmbFileNameMonth.entries.back(), L"12");
  EXPECT_EQ(s.cmbFileNameMonth.selected, 0);
  EXPECT_EQ(s.cmbFileNameMonth.text, L"01");
  EXPECT_EQ(s.cmbFileNameYear.entries,
            (std::vector<std::wstring>{L"2009", L"2010", L"2011", L"2012", L"2013"}));
  EXPECT_EQ(s.cmbFileNameYear.text, L"2011");
  EXPECT_EQ(s.txtUsers, L"jsmith");
  EXPECT_EQ(s.txtSpecificUserFileName, L"C:\\Backup Zips\\jsmith-201101.zip");
  // The user field's reaction spells "USers"; the final rewrite spells "Users".
  EXPECT_NE(h.Writes().find(L"UserFiles=C:\\USers\\Jsmith"), std::wstring::npos) << h.Writes();
  EXPECT_EQ(s.txtSpecificUserFiles, L"C:\\Users\\Jsmith\\Documents\\*.*");
  EXPECT_EQ(s.txtExampleFileName, L"");
  EXPECT_EQ(s.chkWinZip, kChecked);
  EXPECT_EQ(s.ChkAddon, kChecked);
  EXPECT_EQ(h.Refreshes(), "DUDU");
  EXPECT_EQ(h.Focus(), "1,2");
  EXPECT_EQ(Kinds(h, "CSM"), "CS");
}

TEST(FormLoad, StoredDestinations) {
  struct Case {
    std::string bytes;
    std::wstring shown;
    std::string refreshes;  // each line's assignment, the fallback, then the two closing ones
  };
  const Case cases[] = {
      {"D:\\Archive\r\n", L"D:\\Archive", "DUDU"},
      {"D:\\One\r\nE:\\Two\r\n", L"E:\\Two", "DDUDU"},
      {"D:\\One\r\n\r\n", L"C:\\Backup Zips", "DDDUDU"},
      {"  D:\\Spaced  \r\n", L"  D:\\Spaced  ", "DUDU"},
      {"D:\\NoLineEnd", L"D:\\NoLineEnd", "DUDU"},
  };
  for (const Case& c : cases) {
    Harness h;
    h.fake.fs.AddTextFile(StoredFile(), c.bytes);
    h.w->Form_Load();
    EXPECT_EQ(h.S().txtDefaultPath, c.shown) << "file '" << c.bytes << "'";
    EXPECT_EQ(h.Refreshes(), c.refreshes) << "file '" << c.bytes << "'";
    EXPECT_EQ(h.fake.fs.Content(StoredFile()), c.bytes) << "start-up must not rewrite the file";
  }
}

TEST(FormLoad, ArchiverFiles) {
  const std::wstring a = MissingWinZipMessage(), b = MissingAddonMessage();
  struct Case {
    bool winzip, addon;
    std::vector<std::wstring> messages;
    int chkWinZip, chkAddon;
    std::string order;  // Centre, Messages, Show
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
    EXPECT_EQ(h.Messages(), c.messages);
    EXPECT_EQ(h.S().chkWinZip, c.chkWinZip);
    EXPECT_EQ(h.S().ChkAddon, c.chkAddon);
    EXPECT_EQ(Kinds(h, "CSM"), c.order);
    // An early end still leaves everything before the check composed.
    EXPECT_EQ(h.S().txtSpecificUserFileName, L"C:\\Backup Zips\\jsmith-201101.zip");
  }
}

TEST(FormLoad, SettingsFileFailuresFallBackToBuiltInDestination) {
  struct Case {
    const char* what;
    std::function<void(fake::FakeFileSystem&)> setUp;
    std::wstring where, reason;
  };
  const Case cases[] = {
      {"folder cannot be made",
       [](fake::FakeFileSystem& fs) { fs.DenyWritesUnder(L"C:\\Program Files"); },
       L"C:\\Program Files\\Tessel\\", L"Access is denied."},
      {"file cannot be read",
       [](fake::FakeFileSystem& fs) {
         fs.AddTextFile(StoredFile(), "D:\\Archive\r\n");
         fs.SetUnreadable(StoredFile());
       },
       StoredFile(), L"Access is denied."},
      {"file name taken by a folder", [](fake::FakeFileSystem& fs) { fs.AddFolder(StoredFile()); },
       StoredFile(), L"Access is denied."},
  };
  for (const Case& c : cases) {
    Harness h;
    c.setUp(h.fake.fs);
    h.w->Form_Load();
    SCOPED_TRACE(c.what);
    ASSERT_EQ(h.Messages().size(), 1u) << "one message per failure";
    EXPECT_NE(h.Messages()[0].find(c.where + L"\r\n\r\n" + c.reason), std::wstring::npos)
        << "got: " << h.Messages()[0];
    EXPECT_EQ(h.fake.dialogs.messages[0].caption, L"Tessel");
    EXPECT_EQ(h.S().txtDefaultPath, L"C:\\Backup Zips");
    EXPECT_EQ(Kinds(h, "S"), "S");
  }
}

TEST(FormLoad, PendingPickKeepsUserAndIsCleared) {
  Harness h;
  SelectedUserName = L"Jdoe";
  h.w->Form_Load();
  EXPECT_EQ(h.S().txtUsers, L"");
  EXPECT_EQ(SelectedUserName, L"");
  EXPECT_EQ(h.Refreshes(), "DDU");
}

}  // namespace
}  // namespace tessel::testing
