// Versioning off and on, applying a picked profile, Reset, Quit and the buttons that only hand
// over to the shell.
#include "core/text.h"
#include "core/vendor_link.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

// Loaded on 5 January 2011; destination D:\Backups, label Work, year typed as 2024.
void Prepare(Harness& h, const std::wstring& label = L"Work") {
  h.w->Form_Load();
  h.w->SetText(Ctl::txtDefaultPath, L"D:\\Backups");
  h.w->SetText(Ctl::txtSpecificBackupFileName, label);
  h.w->SetListText(Ctl::cmbFileNameYear, L"2024");
  h.log.clear();
}

TEST(Versioning, OffDropsTheMonthAndHidesFrameThenList) {
  Harness h;
  Prepare(h);
  h.w->optNo_Click();
  EXPECT_EQ(h.Writes(),
            L"Example=D:\\Backups\\Work-2024.zip | UserFile=D:\\Backups\\jsmith-2024.zip"
            L" | UserFiles=C:\\Users\\Jsmith\\Documents\\*.*");
  EXPECT_TRUE(h.S().optNo && !h.S().optYes);
  EXPECT_EQ(h.S().cmbFileNameMonth.text, L"");
  EXPECT_FALSE(h.S().frmMonthVisible || h.S().cmbFileNameMonthVisible);
  std::vector<Ctl> hidden;
  for (const Event& e : h.log) {
    if (e.kind == Ev::Changed && (e.ctl == Ctl::frmMonth || e.ctl == Ctl::cmbFileNameMonth)) {
      hidden.push_back(e.ctl);
    }
  }
  EXPECT_EQ(hidden, (std::vector<Ctl>{Ctl::cmbFileNameMonth, Ctl::frmMonth, Ctl::cmbFileNameMonth}))
      << "text emptied, then the frame hidden, then the list";
  EXPECT_EQ(h.Refreshes() + h.Focus(), "");

  h.log.clear();
  h.w->optNo_Click();
  EXPECT_TRUE(h.log.empty()) << "clicking the selected option again must change nothing";
  h.w->SelectListEntry(Ctl::cmbFileNameYear, 3);
  EXPECT_EQ(h.S().txtExampleFileName, L"D:\\Backups\\Work-2012.zip");
}

TEST(Versioning, OffWithEmptyLabelLeavesExampleEmpty) {
  Harness h;
  Prepare(h, L"");
  h.w->optNo_Click();
  EXPECT_EQ(h.S().txtExampleFileName, L"");
}

TEST(Versioning, OnRefillsListsAndRewritesUserArchive) {
  for (const std::wstring user : {L"jsmith", L""}) {
    Harness h;
    Prepare(h);
    h.w->SetText(Ctl::txtUsers, user);
    h.w->optNo_Click();
    h.log.clear();
    h.w->optYes_Click();
    SCOPED_TRACE(::testing::Message() << "user '" << user << "'");
    const BackupSettings& s = h.S();
    const Event* firstMonth = nullptr;
    for (const Event& e : h.log) {
      if (!firstMonth && e.kind == Ev::Changed && e.ctl == Ctl::cmbFileNameMonth) firstMonth = &e;
    }
    ASSERT_NE(firstMonth, nullptr);
    EXPECT_EQ(firstMonth->text, L"1") << "month number without a leading zero before the refill";
    EXPECT_EQ(s.cmbFileNameMonth.entries.size(), 12u);
    EXPECT_EQ(s.cmbFileNameMonth.text, L"01");
    EXPECT_EQ(s.cmbFileNameYear.entries.size(), 5u);
    EXPECT_EQ(s.cmbFileNameYear.text, L"2011");
    EXPECT_TRUE(s.optYes && s.frmMonthVisible && s.cmbFileNameMonthVisible);
    EXPECT_EQ(h.Refreshes(), "DU");
    EXPECT_EQ(h.Focus(), "1,2,2");
    EXPECT_EQ(s.txtSpecificUserFileName, L"D:\\Backups\\" + user + L"-201101.zip");
    EXPECT_EQ(s.txtSpecificUserFiles, user.empty() ? L"" : L"C:\\Users\\Jsmith\\Documents\\*.*");
  }
}

TEST(Versioning, Reset2AppliesThePickAndRestoresVersioning) {
  struct Case {
    bool versioningOff;
    std::wstring pick, user;
    std::string refreshes, focus;
  };
  const Case cases[] = {
      {false, L"", L"jsmith", "DU", "1,2,2"},
      {false, L"Jdoe", L"Jdoe", "UDU", "1,2,2"},
      {true, L"", L"jsmith", "DUDU", "1,2,2,1,2,2"},
      // Switching versioning back on refills the lists, which clears the pick; it still applies.
      {true, L"Jdoe", L"Jdoe", "DUUDU", "1,2,2,1,2,2"},
  };
  for (const Case& c : cases) {
    Harness h;
    Prepare(h);
    if (c.versioningOff) h.w->optNo_Click();
    h.log.clear();
    SelectedUserName = c.pick;
    h.w->Reset2();
    SCOPED_TRACE(::testing::Message() << "off " << c.versioningOff << ", pick '" << c.pick << "'");
    const BackupSettings& s = h.S();
    EXPECT_EQ(s.txtUsers, c.user);
    EXPECT_EQ(SelectedUserName, L"");
    EXPECT_TRUE(s.optYes && !s.optNo && s.frmMonthVisible && s.cmbFileNameMonthVisible);
    EXPECT_EQ(s.cmbFileNameMonth.text, L"01");
    EXPECT_EQ(s.cmbFileNameYear.text, L"2011");
    EXPECT_EQ(s.txtSpecificUserFileName, L"D:\\Backups\\" + c.user + L"-201101.zip");
    EXPECT_EQ(s.txtSpecificUserFiles, L"C:\\Users\\" + ProperCase(c.user) + L"\\Documents\\*.*");
    EXPECT_EQ(h.Refreshes(), c.refreshes);
    EXPECT_EQ(h.Focus(), c.focus);
  }
}

TEST(Shell, ResetQuitAndSecondaryWindows) {
  using Calls = std::vector<std::wstring>;
  Harness h;
  Prepare(h);
  h.w->btnReset_Click();  // the harness rebuilds the presenter and loads it again
  EXPECT_EQ(h.ShellCalls(),
            (Calls{L"CloseBrowseUsers", L"CloseEula", L"CloseHelp", L"ReloadMainWindow"}));
  EXPECT_EQ(h.S().txtDefaultPath, L"C:\\Backup Zips");
  EXPECT_EQ(h.S().txtSpecificBackupFileName, L"");
  EXPECT_EQ(h.S().cmbFileNameYear.text, L"2011");

  h.log.clear();
  h.w->btnBrowseForUsers_Click();
  h.w->btnHelp_Click();
  h.w->btnEULA_Click();
  h.w->btnQuit_Click();
  EXPECT_EQ(h.ShellCalls(), (Calls{L"OpenBrowseUsers", L"OpenHelp", L"OpenEula",
                                   L"CloseBrowseUsers", L"CloseEula", L"CloseHelp", L"Quit"}));
  h.w->btnWinZip_Click();
  EXPECT_EQ(h.fake.sys.openedAddresses, Calls{kVendorAddress});
}

}  // namespace
}  // namespace tessel::testing
