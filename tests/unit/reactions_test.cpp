// The field reactions: exactly which derived fields each writes, in order, which panel it
// refreshes and how far it moves the focus; list typing runs nothing.
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

// Loaded on 5 January 2011 with a label, a source and August picked.
void Prepare(Harness& h) {
  h.w->Form_Load();
  h.w->SetText(Ctl::txtSpecificBackupFileName, L"docs");
  h.w->SetText(Ctl::TxtSrc, L"E:\\Data");
  h.w->SelectListEntry(Ctl::cmbFileNameMonth, 7);
  h.log.clear();
}

TEST(Reactions, WriteTheirFieldsThenRefreshOrMoveFocus) {
  struct Case {
    const char* name;
    std::function<void(MainWindow&)> act;
    std::wstring writes;
    std::string refreshes, focus;
  };
  const Case cases[] = {
      {"destination", [](MainWindow& w) { w.SetText(Ctl::txtDefaultPath, L"D:\\Backups"); },
       L"Example=D:\\Backups\\docs-201108.zip | UserFile=D:\\Backups\\jsmith-201108.zip", "D", ""},
      {"label cleared", [](MainWindow& w) { w.SetText(Ctl::txtSpecificBackupFileName, L""); },
       L"Example=", "", ""},
      {"source cleared", [](MainWindow& w) { w.SetText(Ctl::TxtSrc, L""); }, L"DirFiles=", "S", ""},
      {"source drive root", [](MainWindow& w) { w.SetText(Ctl::TxtSrc, L"E:\\"); },
       L"DirFiles=E:\\*.*", "S", ""},
      {"user", [](MainWindow& w) { w.SetText(Ctl::txtUsers, L"jdoe"); },
       L"UserFile=C:\\Backup Zips\\jdoe-201108.zip | UserFiles=C:\\USers\\Jdoe\\Documents\\*.*",
       "U", ""},
      {"month picked", [](MainWindow& w) { w.SelectListEntry(Ctl::cmbFileNameMonth, 2); },
       L"Example=C:\\Backup Zips\\docs-201103.zip | UserFile=C:\\Backup Zips\\jsmith-201103.zip"
       L" | UserFiles=C:\\Users\\Jsmith\\Documents\\*.*",
       "", "1"},
      {"year picked", [](MainWindow& w) { w.SelectListEntry(Ctl::cmbFileNameYear, 3); },
       L"Example=C:\\Backup Zips\\docs-201208.zip | UserFile=C:\\Backup Zips\\jsmith-201208.zip"
       L" | UserFiles=C:\\Users\\Jsmith\\Documents\\*.*",
       "", "2"},
      {"year typed", [](MainWindow& w) { w.SetListText(Ctl::cmbFileNameYear, L"2012"); }, L"", "",
       ""},
      {"month typed", [](MainWindow& w) { w.SetListText(Ctl::cmbFileNameMonth, L"09"); }, L"", "",
       ""},
      {"entry out of range", [](MainWindow& w) { w.SelectListEntry(Ctl::cmbFileNameYear, 5); }, L"",
       "", ""},
  };
  for (const Case& c : cases) {
    Harness h;
    Prepare(h);
    c.act(*h.w);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(h.Writes(), c.writes);
    EXPECT_EQ(h.Refreshes(), c.refreshes);
    EXPECT_EQ(h.Focus(), c.focus);
  }
}

TEST(Reactions, TypedYearWaitsForTheNextRebuild) {
  Harness h;
  Prepare(h);
  h.w->SetListText(Ctl::cmbFileNameYear, L"2012");
  EXPECT_EQ(h.S().cmbFileNameYear.selected, -1);
  EXPECT_EQ(h.S().txtExampleFileName, L"C:\\Backup Zips\\docs-201108.zip");
  h.w->SetText(Ctl::txtSpecificBackupFileName, L"docs");
  EXPECT_EQ(h.S().txtExampleFileName, L"C:\\Backup Zips\\docs-201208.zip");
}

TEST(Reactions, TypingADestinationScansEachIntermediatePath) {
  Harness h;
  Prepare(h);
  h.fake.fs.AddFolder(L"D:\\B");
  for (const wchar_t* typed : {L"D", L"D:", L"D:\\", L"D:\\B"})
    h.w->SetText(Ctl::txtDefaultPath, typed);
  EXPECT_EQ(h.Refreshes(), "DDDD");
  const Event* last = nullptr;
  for (const Event& e : h.log) {
    if (e.kind == Ev::Refresh) last = &e;
  }
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->state.txtDefaultPath, L"D:\\B") << "the last scan must be of D:\\B";
  EXPECT_EQ(h.S().txtExampleFileName, L"D:\\B\\docs-201108.zip");
}

}  // namespace
}  // namespace tessel::testing
