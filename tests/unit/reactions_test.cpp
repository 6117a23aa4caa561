// The field reactions, versioning, Reset2 and the shell hand-overs: which derived fields each
// writes in order, which panels it refreshes and how far it moves the focus.
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

// Loaded on 5 January 2011; label docs, source E:\Data, August picked.
void Prepare(Harness& h) {
  h.w->Form_Load();
  h.w->SetText(Ctl::txtSpecificBackupFileName, L"docs");
  h.w->SetText(Ctl::TxtSrc, L"E:\\Data");
  h.w->SelectListEntry(Ctl::cmbFileNameMonth, 7);
  h.Clear();
}

TEST(Reactions, WriteTheirFieldsThenRefreshOrMoveFocus) {
  struct Case {
    std::function<void(MainWindow&)> act;
    std::wstring writes;
    std::string refreshes, focus;
  };
  const std::wstring paths12 =
      L"Example=C:\\Backup Zips\\docs-201208.zip | UserFile=C:\\Backup Zips\\jsmith-201208.zip";
  const Case cases[] = {
      {[](MainWindow& w) { w.SetText(Ctl::txtDefaultPath, L"D:\\B"); },
       L"Example=D:\\B\\docs-201108.zip | UserFile=D:\\B\\jsmith-201108.zip", "D", ""},
      {[](MainWindow& w) { w.SetText(Ctl::txtSpecificBackupFileName, L""); }, L"Example=", "", ""},
      {[](MainWindow& w) { w.SetText(Ctl::TxtSrc, L""); }, L"DirFiles=", "S", ""},
      {[](MainWindow& w) { w.SetText(Ctl::txtUsers, L"jdoe"); },
       L"UserFile=C:\\Backup Zips\\jdoe-201108.zip | UserFiles=C:\\USers\\Jdoe\\Documents\\*.*",
       "U", ""},
      {[](MainWindow& w) { w.SelectListEntry(Ctl::cmbFileNameYear, 3); },
       paths12 + L" | UserFiles=C:\\Users\\Jsmith\\Documents\\*.*", "", "2"},
      {[](MainWindow& w) {
         w.SetListText(Ctl::cmbFileNameYear, L"2012");  // typing runs nothing...
         w.SelectListEntry(Ctl::cmbFileNameMonth, 7);   // ...until the next rebuild
       },
       paths12 + L" | UserFiles=C:\\Users\\Jsmith\\Documents\\*.*", "", "1"},
  };
  for (const Case& c : cases) {
    Harness h;
    Prepare(h);
    c.act(*h.w);
    EXPECT_EQ(h.writes, c.writes);
    EXPECT_EQ(h.refreshes, c.refreshes) << "after writing " << h.writes;
    EXPECT_EQ(h.focus, c.focus) << "after writing " << h.writes;
  }
}

TEST(Reactions, TypingADestinationScansEachIntermediatePath) {
  Harness h;
  Prepare(h);
  for (const wchar_t* text : {L"D", L"D:", L"D:\\", L"D:\\B"})
    h.w->SetText(Ctl::txtDefaultPath, text);
  EXPECT_EQ(h.refreshes, "DDDD");
  EXPECT_EQ(h.lastRefresh.txtDefaultPath, L"D:\\B");
  EXPECT_EQ(h.S().txtExampleFileName, L"D:\\B\\docs-201108.zip");
}

TEST(Versioning, OffThenOn) {
  for (const std::wstring label : {L"Work", L""}) {
    Harness h;
    Prepare(h);
    h.w->SetText(Ctl::txtDefaultPath, L"D:\\Backups");
    h.w->SetText(Ctl::txtSpecificBackupFileName, label);
    h.w->SetListText(Ctl::cmbFileNameYear, L"2024");
    h.Clear();
    h.w->optNo_Click();
    std::wstring example = label.empty() ? L"" : L"D:\\Backups\\Work-2024.zip";
    EXPECT_EQ(h.writes, L"Example=" + example + L" | UserFile=D:\\Backups\\jsmith-2024.zip" +
                            L" | UserFiles=C:\\Users\\Jsmith\\Documents\\*.*");
    EXPECT_TRUE(h.S().optNo && !h.S().frmMonthVisible && !h.S().cmbFileNameMonthVisible);
    EXPECT_EQ(h.S().cmbFileNameMonth.text, L"");
    h.w->optNo_Click();
    EXPECT_EQ(h.refreshes + h.focus, "") << "nothing runs for the selected option";

    h.w->SetText(Ctl::txtUsers, L"");
    h.Clear();
    h.w->optYes_Click();
    const BackupSettings& s = h.S();
    EXPECT_TRUE(s.optYes && s.frmMonthVisible && s.cmbFileNameMonthVisible);
    EXPECT_EQ(s.cmbFileNameMonth.text + s.cmbFileNameYear.text, L"012011");
    EXPECT_EQ(h.refreshes, "DU");
    EXPECT_EQ(h.focus, "1,2,2");
    EXPECT_EQ(s.txtSpecificUserFiles, L"");
    EXPECT_EQ(s.txtSpecificUserFileName, L"D:\\Backups\\-201101.zip") << "written even so";
  }
}

TEST(Versioning, Reset2AppliesThePick) {
  struct Case {
    bool versioningOff;
    std::wstring pick, user;
    std::string refreshes, focus;
  };
  const Case cases[] = {
      {false, L"", L"jsmith", "DU", "1,2,2"},
      {false, L"Jdoe", L"Jdoe", "UDU", "1,2,2"},
      // Turning versioning back on refills the lists, which clears the pick: it still applies.
      {true, L"Jdoe", L"Jdoe", "DUUDU", "1,2,2,1,2,2"},
  };
  for (const Case& c : cases) {
    Harness h;
    Prepare(h);
    if (c.versioningOff) h.w->optNo_Click();
    h.Clear();
    SelectedUserName = c.pick;
    h.w->Reset2();
    const BackupSettings& s = h.S();
    EXPECT_EQ(s.txtUsers, c.user) << "pick '" << c.pick << "'";
    EXPECT_EQ(SelectedUserName, L"");
    EXPECT_TRUE(s.optYes && !s.optNo && s.frmMonthVisible && s.cmbFileNameMonthVisible);
    EXPECT_EQ(s.txtSpecificUserFileName, L"C:\\Backup Zips\\" + c.user + L"-201101.zip");
    EXPECT_EQ(h.refreshes, c.refreshes) << "pick '" << c.pick << "'";
    EXPECT_EQ(h.focus, c.focus) << "pick '" << c.pick << "'";
  }
}

}  // namespace
}  // namespace tessel::testing
