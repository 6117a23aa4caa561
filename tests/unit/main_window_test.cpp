// The main window's start-up, reactions, versioning, Reset2 and buttons: each case's steps, and
// in words all the window showed and did in them.
#include "core/text.h"
#include "core/vendor_link.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

constexpr Ctl kDest = Ctl::txtDefaultPath, kSrc = Ctl::TxtSrc, kUsers = Ctl::txtUsers,
              kLabel = Ctl::txtSpecificBackupFileName, kYear = Ctl::cmbFileNameYear,
              kMonth = Ctl::cmbFileNameMonth;

Step ReadsFail() {
  return Given(L"reads fail", [](fake::FakePlatform& f) { f.fs.failReads = true; });
}
Step WritesFail() {
  return Given(L"writes fail", [](fake::FakePlatform& f) { f.fs.failWrites = true; });
}
Step UserName(std::optional<std::wstring> name) {
  return Given(L"network user " + name.value_or(L"(none)"),
               [=](fake::FakePlatform& f) { f.sys.userName = name; });
}

// Each start-up's log begins with what the settings file gave and ends with the archiver check.
TEST(FormLoad, SettingsFileUserAndArchiverOutcomes) {
  struct {
    const char* name;
    std::vector<Step> given;
    std::wstring begins, ends = L"chkWinZip=1 | ChkAddon=1 | shown";
  } const cases[] = {
      {"first start",
       {WindowsIn(L"C:\\W")},
       L"centred | made C:\\Program Files\\Tessel | txtDefaultPath=C:\\Backup Zips | "
       L"txtExampleFileName= | txtSpecificUserFileName= | destination: empty | "
       L"cmbFileNameMonth= (none of 12) | cmbFileNameMonth=01 (entry 0 of 12) | "
       L"txtExampleFileName= | txtSpecificUserFileName= | txtSpecificUserFiles= | focus on 1 | "
       L"cmbFileNameYear= (none of 5) | cmbFileNameYear=2011 (entry 2 of 5) | "
       L"txtExampleFileName= | txtSpecificUserFileName= | txtSpecificUserFiles= | focus on 2 | "
       L"txtUsers=jsmith | txtSpecificUserFileName=C:\\Backup Zips\\jsmith-201101.zip | "
       L"txtSpecificUserFiles=C:\\USers\\Jsmith\\Documents\\*.* | user: empty | "
       L"destination: empty | user: empty | txtExampleFileName= | "
       L"txtSpecificUserFileName=C:\\Backup Zips\\jsmith-201101.zip | "
       L"txtSpecificUserFiles=C:\\Users\\Jsmith\\Documents\\*.* | chkWinZip=1 | ChkAddon=1 | "
       L"shown"},
      {"a stored destination with a second line",
       {Stored("D:\\1\r\n  E:\\2  ")},
       L"centred | txtDefaultPath=D:\\1 | txtExampleFileName= | txtSpecificUserFileName= | "
       L"destination: empty | txtDefaultPath=  E:\\2   | txtExampleFileName= | "
       L"txtSpecificUserFileName= | destination: empty"},
      {"a blank second line",
       {Stored("D:\\1\r\n\r\n")},
       L"centred | txtDefaultPath=D:\\1 | txtExampleFileName= | txtSpecificUserFileName= | "
       L"destination: empty | txtDefaultPath= | txtExampleFileName= | "
       L"txtSpecificUserFileName= | destination: empty | txtDefaultPath=C:\\Backup Zips | "
       L"txtExampleFileName= | txtSpecificUserFileName= | destination: empty"},
      {"an unreadable settings file",
       {Stored("D:\\1"), ReadsFail()},
       L"centred | "
       L"message settings file not read (C:\\Program Files\\Tessel\\DefaultDestinationPath.tx"
       L"t, unreadable) | txtDefaultPath=C:\\Backup Zips | txtExampleFileName= | "
       L"txtSpecificUserFileName= | destination: empty"},
      {"a folder in the settings file's way",
       {Folder(kStoredFile)},
       L"centred | "
       L"message settings file not read (C:\\Program Files\\Tessel\\DefaultDestinationPath.tx"
       L"t, A folder is in the way: C:\\Program Files\\Tessel\\DefaultDestinationPath.txt) | "
       L"txtDefaultPath=C:\\Backup Zips | txtExampleFileName= | txtSpecificUserFileName= | "
       L"destination: empty"},
      {"a file in the settings folder's way",
       {File(L"C:\\Program Files\\Tessel")},
       L"centred | "
       L"message settings folder not made (C:\\Program Files\\Tessel\\, A file is in the way:"
       L" C:\\Program Files\\Tessel) | txtDefaultPath=C:\\Backup Zips | txtExampleFileName= | "
       L"txtSpecificUserFileName= | destination: empty"},
      {"writes fail",
       {WritesFail()},
       L"centred | made C:\\Program Files\\Tessel | "
       L"message settings file not made (C:\\Program Files\\Tessel\\DefaultDestinationPath.tx"
       L"t, disk full) | txtDefaultPath=C:\\Backup Zips | txtExampleFileName= | "
       L"txtSpecificUserFileName= | destination: empty"},
      {"a blank Windows folder",
       {WindowsIn(L"   ")},
       L"centred | message settings folder not made (:\\Program Files\\Tessel\\, not found) | "
       L"txtDefaultPath=:\\Backup Zips | txtExampleFileName= | txtSpecificUserFileName= | "
       L"destination: empty"},
      {"no network user",
       {UserName(std::nullopt)},
       L"centred | made C:\\Program Files\\Tessel",
       L"focus on 2 | txtUsers= | txtSpecificUserFileName= | txtSpecificUserFiles= | "
       L"user blank | destination: empty | user blank | txtExampleFileName= | "
       L"txtSpecificUserFileName= | txtSpecificUserFiles= | chkWinZip=1 | ChkAddon=1 | shown"},
      {"a user name cut at a NUL",
       {UserName(std::wstring(L"jdoe\0junk", 9))},
       L"centred | made C:\\Program Files\\Tessel",
       L"focus on 2 | txtUsers=jdoe | "
       L"txtSpecificUserFileName=C:\\Backup Zips\\jdoe-201101.zip | "
       L"txtSpecificUserFiles=C:\\USers\\Jdoe\\Documents\\*.* | user: empty | "
       L"destination: empty | user: empty | txtExampleFileName= | "
       L"txtSpecificUserFileName=C:\\Backup Zips\\jdoe-201101.zip | "
       L"txtSpecificUserFiles=C:\\Users\\Jdoe\\Documents\\*.* | chkWinZip=1 | ChkAddon=1 | shown"},
      {"a profile handed over",
       {HandedOver(L"Jdoe")},
       L"centred | made C:\\Program Files\\Tessel",
       L"focus on 2 | destination: empty | user blank | txtExampleFileName= | "
       L"txtSpecificUserFileName= | txtSpecificUserFiles= | chkWinZip=1 | ChkAddon=1 | shown"},
      {"no WinZip",
       {Gone(kWinZipProbePath)},
       L"centred | made C:\\Program Files\\Tessel",
       L"focus on 2 | txtUsers=jsmith | "
       L"txtSpecificUserFileName=C:\\Backup Zips\\jsmith-201101.zip | "
       L"txtSpecificUserFiles=C:\\USers\\Jsmith\\Documents\\*.* | user: empty | "
       L"destination: empty | user: empty | txtExampleFileName= | "
       L"txtSpecificUserFileName=C:\\Backup Zips\\jsmith-201101.zip | "
       L"txtSpecificUserFiles=C:\\Users\\Jsmith\\Documents\\*.* | message no WinZip | "
       L"ChkAddon=1 | shown"},
      {"a folder where the add-on should be",
       {Folder(kAddonProbePath)},
       L"centred | made C:\\Program Files\\Tessel",
       L"focus on 2 | txtUsers=jsmith | "
       L"txtSpecificUserFileName=C:\\Backup Zips\\jsmith-201101.zip | "
       L"txtSpecificUserFiles=C:\\USers\\Jsmith\\Documents\\*.* | user: empty | "
       L"destination: empty | user: empty | txtExampleFileName= | "
       L"txtSpecificUserFileName=C:\\Backup Zips\\jsmith-201101.zip | "
       L"txtSpecificUserFiles=C:\\Users\\Jsmith\\Documents\\*.* | chkWinZip=1 | ChkAddon=1 | "
       L"shown"},
      // Probed on c: whatever the system drive; a missing add-on ends start-up before Show.
      {"Windows on D:",
       {WindowsIn(L" D:\\WINDOWS "), Gone(L"C:\\Program Files"),
        File(L"D:\\Program Files\\WinZip\\wzzip.exe")},
       L"centred | made D:\\Program Files\\Tessel | txtDefaultPath=D:\\Backup Zips",
       L"focus on 2 | txtUsers=jsmith | "
       L"txtSpecificUserFileName=D:\\Backup Zips\\jsmith-201101.zip | "
       L"txtSpecificUserFiles=D:\\USers\\Jsmith\\Documents\\*.* | user: empty | "
       L"destination: empty | user: empty | txtExampleFileName= | "
       L"txtSpecificUserFileName=D:\\Backup Zips\\jsmith-201101.zip | "
       L"txtSpecificUserFiles=D:\\Users\\Jsmith\\Documents\\*.* | message no WinZip | "
       L"ChkAddon=0 | message no add-on"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h;
    h.Run(c.given);
    h.Run({REACTION(Form_Load)});
    ExpectLog(h, c.begins, 0, false);
    ExpectLog(h, c.ends, h.fake.log.size() - std::min(h.fake.log.size(), Events(c.ends).size()));
    EXPECT_EQ(SelectedUserName, L"");
  }
}

// On 5 January 2011 with label docs, source E:\Data and August picked; D:\B holds 1,234,567 bytes
// in a subfolder, Jdoe's Documents one byte in one.
const std::vector<Step> kPrepare = {
    File(L"D:\\B\\s\\a", 1234567), File(L"C:\\Users\\Jdoe\\Documents\\s\\c"),
    REACTION(Form_Load),           Set(kLabel, L"docs"),
    Set(kSrc, L"E:\\Data"),        Select(kMonth, 7)};

// The three derived fields as a rebuild of the lists writes them, for label docs.
std::wstring Paths(const std::wstring& yearMonth, const std::wstring& user = L"jsmith") {
  const std::wstring zips = L"C:\\Backup Zips\\";
  std::wstring paths = L"txtExampleFileName=" + zips + L"docs-" + yearMonth + L".zip | ";
  if (user.empty()) return paths + L"txtSpecificUserFileName= | txtSpecificUserFiles=";
  return paths + L"txtSpecificUserFileName=" + zips + user + L"-" + yearMonth +
         L".zip | txtSpecificUserFiles=C:\\Users\\" + ProperCase(user) + L"\\Documents\\*.*";
}

TEST(MainWindow, ReactionsVersioningReset2AndButtons) {
  EXPECT_EQ(kVendorAddress, L"http://" + std::wstring(kVendorHost) + L"/");
  const std::vector<Case> cases = {
      {"a destination with figures",
       {Set(kDest, L"D:\\B")},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes"},
      {"an empty label", {Set(kLabel, L"")}, L"txtSpecificBackupFileName= | txtExampleFileName="},
      {"an empty source",
       {Set(kSrc, L"")},
       L"TxtSrc= | txtSpecificDirectoryFiles= | specific: empty"},
      {"a drive as source",
       {Set(kSrc, L"D:\\")},
       L"TxtSrc=D:\\ | txtSpecificDirectoryFiles=D:\\*.* | "
       L"specific: 1 files, 2 folders, 1,234,567 bytes"},
      {"another user",
       {Set(kUsers, L"jdoe")},
       L"txtUsers=jdoe | txtSpecificUserFileName=C:\\Backup Zips\\jdoe-201108.zip | "
       L"txtSpecificUserFiles=C:\\USers\\Jdoe\\Documents\\*.* | user: 1 files, 1 folders, 1 "
       L"bytes"},
      {"a year picked",
       {Select(kYear, 0)},
       std::wstring(L"cmbFileNameYear=2009 (entry 0 of 5) | ") + Paths(L"200908") +
           L" | focus on 2"},
      // Typing runs nothing until the next rebuild.
      {"typed list texts",
       {TypeInList(kMonth, L"08"), TypeInList(kYear, L"2012"), Set(kLabel, L"x")},
       L"cmbFileNameMonth=08 (entry 7 of 12) | cmbFileNameYear=2012 (none of 5) | "
       L"txtSpecificBackupFileName=x | txtExampleFileName=C:\\Backup Zips\\x-201208.zip"},
      {"text unlike the entry drops its selection",
       {Select(kMonth, 0), TypeInList(kMonth, L"1")},
       std::wstring(L"cmbFileNameMonth=01 (entry 0 of 12) | ") + Paths(L"201101") +
           L" | focus on 1 | cmbFileNameMonth=1 (none of 12)"},
      {"entries out of range", {Select(kMonth, 12), Select(kYear, -1)}, L""},
      {"versioning off",
       {REACTION(optNo_Click)},
       std::wstring(L"optYes off | optNo on | cmbFileNameMonth= (none of 12) | frmMonth hidden | "
                    L"cmbFileNameMonth= (none of 12) hidden | ") +
           Paths(L"2011")},
      {"versioning on while on", {REACTION(optYes_Click)}, L""},
      {"versioning on writes even an empty user",
       {REACTION(optNo_Click), Set(kUsers, L""), kLogFromHere, REACTION(optYes_Click)},
       std::wstring(
           L"optYes on | optNo off | frmMonth shown | cmbFileNameMonth=1 (none of 12) hidden | "
           L"cmbFileNameMonth=1 (none of 12) | ") +
           Paths(L"20111", L"") +
           L" | cmbFileNameMonth= (none of 0) | cmbFileNameYear= (none of 0) | "
           L"cmbFileNameMonth= (none of 12) | cmbFileNameMonth=01 (entry 0 of 12) | " +
           Paths(L"01", L"") +
           L" | focus on 1 | cmbFileNameYear= (none of 5) | cmbFileNameYear=2011 (entry 2 of "
           L"5) | " +
           Paths(L"201101", L"") +
           L" | focus on 2 | destination: empty | user blank | focus on 2 | "
           L"txtSpecificUserFileName=C:\\Backup Zips\\-201101.zip"},
      {"Reset2",
       {REACTION(Reset2)},
       std::wstring(L"frmMonth shown | cmbFileNameMonth=1 (none of 12) | cmbFileNameMonth=1 "
                    L"(none of 12) | ") +
           Paths(L"20111") +
           L" | cmbFileNameMonth= (none of 0) | cmbFileNameYear= (none of 0) | "
           L"cmbFileNameMonth= (none of 12) | cmbFileNameMonth=01 (entry 0 of 12) | " +
           Paths(L"01") +
           L" | focus on 1 | cmbFileNameYear= (none of 5) | cmbFileNameYear=2011 (entry 2 of "
           L"5) | " +
           Paths(L"201101") +
           L" | focus on 2 | destination: empty | user: empty | focus on 2 | "
           L"txtSpecificUserFileName=C:\\Backup Zips\\jsmith-201101.zip"},
      {"Reset2 with a profile handed over",
       {REACTION(optNo_Click), kLogFromHere, HandedOver(L"Jdoe"), REACTION(Reset2)},
       std::wstring(L"frmMonth shown | cmbFileNameMonth=1 (none of 12) hidden | "
                    L"cmbFileNameMonth=1 (none of 12) | optYes on | optNo off | frmMonth shown | "
                    L"cmbFileNameMonth=1 (none of 12) | cmbFileNameMonth=1 (none of 12) | ") +
           Paths(L"20111") +
           L" | cmbFileNameMonth= (none of 0) | cmbFileNameYear= (none of 0) | "
           L"cmbFileNameMonth= (none of 12) | cmbFileNameMonth=01 (entry 0 of 12) | " +
           Paths(L"01") +
           L" | focus on 1 | cmbFileNameYear= (none of 5) | cmbFileNameYear=2011 (entry 2 of "
           L"5) | " +
           Paths(L"201101") +
           L" | focus on 2 | destination: empty | user: empty | focus on 2 | "
           L"txtSpecificUserFileName=C:\\Backup Zips\\jsmith-201101.zip | txtUsers=Jdoe | "
           L"txtSpecificUserFileName=C:\\Backup Zips\\Jdoe-201101.zip | "
           L"txtSpecificUserFiles=C:\\USers\\Jdoe\\Documents\\*.* | "
           L"user: 1 files, 1 folders, 1 bytes | " +
           Paths(L"201101", L"Jdoe") +
           L" | cmbFileNameMonth= (none of 0) | cmbFileNameYear= (none of 0) | "
           L"cmbFileNameMonth= (none of 12) | cmbFileNameMonth=01 (entry 0 of 12) | " +
           Paths(L"01", L"Jdoe") +
           L" | focus on 1 | cmbFileNameYear= (none of 5) | cmbFileNameYear=2011 (entry 2 of "
           L"5) | " +
           Paths(L"201101", L"Jdoe") +
           L" | focus on 2 | destination: empty | user: 1 files, 1 folders, 1 bytes | focus on "
           L"2 | "
           L"txtSpecificUserFileName=C:\\Backup Zips\\Jdoe-201101.zip"},
      {"a destination picked, cut at a NUL",
       {FolderPicked(L"D:\\B" + std::wstring(1, L'\0') + L"junk"),
        REACTION(btnBrowseDefault_Click)},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes"},
      {"no destination picked", {REACTION(btnBrowseDefault_Click)}, L"destination: empty"},
      {"a source picked",
       {FolderPicked(L"D:\\"), REACTION(btnBrowseSpecific_Click)},
       L"TxtSrc=D:\\ | txtSpecificDirectoryFiles=D:\\*.* | "
       L"specific: 1 files, 2 folders, 1,234,567 bytes"},
      {"no source picked", {REACTION(btnBrowseSpecific_Click)}, L""},
      {"secondary windows and the vendor link",
       {REACTION(btnBrowseForUsers_Click), REACTION(btnHelp_Click), REACTION(btnEULA_Click),
        REACTION(btnWinZip_Click)},
       L"Browse for Users opened | Help opened | licence opened | Web http://www.winzip.com/"},
      {"quit",
       {REACTION(btnQuit_Click)},
       L"Browse for Users closed | licence closed | Help closed | quit"},
  };
  ExpectCases(kPrepare, cases);
  Harness h;
  h.Run({REACTION(Form_Load), Set(kLabel, L"x"), Set(kSrc, L"E:\\"), Select(kMonth, 7)});
  size_t from = h.fake.log.size();
  h.Run({REACTION(btnReset_Click)});
  ExpectLog(h,
            L"Browse for Users closed | licence closed | Help closed | main window rebuilt | "
            L"centred | txtDefaultPath=C:\\Backup Zips",
            from, false);
  EXPECT_EQ(h.S().txtSpecificBackupFileName + h.S().TxtSrc + h.S().cmbFileNameMonth.text, L"01");
  EXPECT_TRUE(h.S().optYes && !h.S().optNo && h.S().frmMonthVisible &&
              h.S().cmbFileNameMonthVisible);
}

// A refresh the user's typing starts waits, blank, while more input is queued, and is made when
// input pauses or before any other action; every other refresh runs to the end.
TEST(MainWindow, TypedRefreshesWaitForAPauseOrTheNextAction) {
  const std::vector<Case> cases = {
      {"typed, no input waiting",
       {Type(kDest, L"D:\\B")},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes"},
      {"typed, input waiting",
       {InputAfter(0), Type(kDest, L"D:\\B")},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | destination blank"},
      {"cut short after the first batch, refreshed when input pauses",
       {InputAfter(1), Type(kDest, L"D:\\B"), Idle()},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | destination blank | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes"},
      {"three panels put off, made at the pause in order",
       {InputAfter(0), Type(kSrc, L"D:\\"), InputAfter(0), Type(kUsers, L"jdoe"), InputAfter(0),
        Type(kDest, L"D:\\B"), Idle()},
       L"TxtSrc=D:\\ | txtSpecificDirectoryFiles=D:\\*.* | specific blank | txtUsers=jdoe | "
       L"txtSpecificUserFileName=C:\\Backup Zips\\jdoe-201108.zip | "
       L"txtSpecificUserFiles=C:\\USers\\Jdoe\\Documents\\*.* | user blank | "
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jdoe-201108.zip | destination blank | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes | "
       L"user: 1 files, 1 folders, 1 bytes | specific: 1 files, 2 folders, 1,234,567 bytes"},
      {"a pause cut short leaves the rest for the next",
       {InputAfter(0), Type(kSrc, L"D:\\"), InputAfter(0), Type(kDest, L"D:\\B"), InputAfter(1),
        Idle(), Idle()},
       L"TxtSrc=D:\\ | txtSpecificDirectoryFiles=D:\\*.* | specific blank | "
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | destination blank | "
       L"destination blank | destination: 1 files, 1 folders, 1,234,567 bytes | "
       L"specific: 1 files, 2 folders, 1,234,567 bytes"},
      // Other fields' edits do not wait for the figures; any other action does.
      {"another field typed",
       {InputAfter(0), Type(kDest, L"D:\\B"), Type(kLabel, L"x")},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | destination blank | "
       L"txtSpecificBackupFileName=x | txtExampleFileName=D:\\B\\x-201108.zip"},
      {"a click",
       {InputAfter(0), Type(kDest, L"D:\\B"), InputAfter(0), Click(Ctl::btnHelp)},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | destination blank | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes | Help opened"},
      {"a list pick",
       {InputAfter(0), Type(kDest, L"D:\\B"), Select(kYear, 0)},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | destination blank | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes | "
       L"cmbFileNameYear=2009 (entry 0 of 5) | txtExampleFileName=D:\\B\\docs-200908.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-200908.zip | "
       L"txtSpecificUserFiles=C:\\Users\\Jsmith\\Documents\\*.* | focus on 2"},
      {"a backup",
       {InputAfter(0), Type(kDest, L"D:\\B"), InputAfter(0), Click(Ctl::btnBackupUser)},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | destination blank | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes | chkWinZip=1 | ChkAddon=1 | "
       L"archiver running | "
       L"wzzip -u -p -r \"D:\\B\\Jsmith-201108.zip\" \"C:\\Users\\Jsmith\\Documents\\*.*\" | "
       L"archiver ended | destination: 1 files, 1 folders, 1,234,567 bytes | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes"},
      {"quit drops the panels",
       {InputAfter(0), Type(kDest, L"D:\\B"), Click(Ctl::btnQuit)},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | destination blank | "
       L"Browse for Users closed | licence closed | Help closed | quit"},
      {"a picked destination is no edit",
       {FolderPicked(L"D:\\B"), InputAfter(0), Click(Ctl::btnBrowseDefault)},
       L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
       L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes | "
       L"destination: 1 files, 1 folders, 1,234,567 bytes"},
  };
  ExpectCases(kPrepare, cases);

  Harness handOver;  // a profile handed over from Browse for Users, after typing
  handOver.Run(kPrepare);
  handOver.Run({InputAfter(0), Type(kDest, L"D:\\B")});
  size_t from = handOver.fake.log.size();
  handOver.Run({REACTION(Reset2)});
  ExpectLog(handOver, L"destination: 1 files, 1 folders, 1,234,567 bytes | frmMonth shown", from,
            false);

  // Start-up never waits, and the windows are served during its scans.
  Harness queued, quiet;
  queued.Run({File(L"D:\\B\\s\\a", 1234567), Stored("D:\\B"), InputAfter(0), REACTION(Form_Load)});
  quiet.Run({File(L"D:\\B\\s\\a", 1234567), Stored("D:\\B"), REACTION(Form_Load)});
  EXPECT_EQ(queued.Log(), quiet.Log());
  EXPECT_GT(queued.fake.dialogs.keptAlive, 0);
}

}  // namespace
}  // namespace tessel::testing
