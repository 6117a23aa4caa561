// The main window's start-up, reactions, versioning, Reset2 and buttons: each case's steps, and
// in words all the window showed and did in them.
#include "core/text.h"
#include "core/vendor_link.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

// The destination's default, and the derived fields blank.
const std::wstring kZips = L"C:\\Backup Zips",
                   kNoUserPaths = L"txtSpecificUserFileName= | txtSpecificUserFiles=",
                   kNoPaths = L"txtExampleFileName= | " + kNoUserPaths;

// The month and year lists filled, the three derived fields written after each.
std::wstring Lists(const std::wstring& paths01, const std::wstring& paths201101) {
  return Events({L"cmbFileNameMonth= (none of 12) | cmbFileNameMonth=01 (entry 0 of 12)", paths01,
                 L"focus on 1 | cmbFileNameYear= (none of 5)",
                 L"cmbFileNameYear=2011 (entry 2 of 5)", paths201101, L"focus on 2"});
}
// The destination start-up sets, with what it clears.
std::wstring Dest(const std::wstring& path) {
  return L"txtDefaultPath=" + path + L" | txtExampleFileName= | txtSpecificUserFileName= | " +
         L"destination: empty";
}
// The network user start-up sets, with its paths, for a destination in `zips` on `drive`.
std::wstring User(const std::wstring& user, const std::wstring& zips = kZips,
                  const std::wstring& drive = L"C") {
  std::wstring zip = L"txtSpecificUserFileName=" + zips + L"\\" + user + L"-201101.zip",
               files = L":\\Users\\" + ProperCase(user) + L"\\Documents\\*.*";
  return Events({L"txtUsers=" + user, zip,
                 L"txtSpecificUserFiles=" + drive + L":\\US" + files.substr(4),
                 L"user: empty | destination: empty | user: empty | txtExampleFileName=", zip,
                 L"txtSpecificUserFiles=" + drive + files});
}
// A start-up: what the settings file gave, the lists, the user, the archiver check and Show.
std::wstring Startup(const std::wstring& settings, const std::wstring& user = User(L"jsmith"),
                     const std::wstring& end = L"chkWinZip=1 | ChkAddon=1 | shown") {
  return Events({L"centred", settings, Lists(kNoPaths, kNoPaths), user, end});
}
const std::wstring kMade = L"made C:\\Program Files\\Tessel | ", kFirst = kMade + Dest(kZips);
const Step kLoad = REACTION(Form_Load);

TEST(FormLoad, SettingsFileUserAndArchiverOutcomes) {
  const std::wstring noUser = L"destination: empty | user blank | " + kNoPaths;
  std::vector<Case> cases = {
      {"first start", {WindowsIn(L"C:\\W")}, Startup(kFirst)},
      {"a stored destination with a second line",
       {Stored("D:\\1\r\n  E:\\2  ")},
       Startup(Dest(L"D:\\1") + L" | " + Dest(L"  E:\\2  "), User(L"jsmith", L"  E:\\2  "))},
      {"a blank second line",
       {Stored("D:\\1\r\n\r\n")},
       Startup(Events({Dest(L"D:\\1"), Dest(L""), Dest(kZips)}))},
      {"an unreadable settings file",
       {Stored("D:\\1"), GIVEN(L"reads fail", h.fake.fs.failReads = true)},
       Startup(L"message settings file not read (" + kStoredFile + L", unreadable) | " +
               Dest(kZips))},
      {"writes fail",
       {GIVEN(L"writes fail", h.fake.fs.failWrites = true)},
       Startup(kMade + L"message settings file not made (" + kStoredFile + L", disk full) | " +
               Dest(kZips))},
      {"a blank Windows folder",
       {WindowsIn(L"   ")},
       Startup(L"message settings folder not made (:\\Program Files\\Tessel\\, not found) | " +
                   Dest(L":\\Backup Zips"),
               User(L"jsmith", L":\\Backup Zips", L""))},
      {"no network user",
       {GIVEN(L"no network user", h.fake.sys.userName = std::nullopt)},
       Startup(kFirst, L"txtUsers= | " + kNoUserPaths + L" | user blank | " + noUser)},
      {"a user name cut at a NUL",
       {
           GIVEN(L"network user jdoe\\0junk", h.fake.sys.userName = std::wstring(L"jdoe\0junk", 9)),
       },
       Startup(kFirst, User(L"jdoe"))},
      {"a profile handed over",
       {GIVEN(L"profile handed over", SelectedUserName = L"Jdoe")},
       Startup(kFirst, noUser)},
      {"no WinZip",
       {Gone(kWinZipProbePath)},
       Startup(kFirst, User(L"jsmith"), L"message no WinZip | ChkAddon=1 | shown")},
      {"a folder where the add-on should be", {Folder(kAddonProbePath)}, Startup(kFirst)},
      // Probed on c: whatever the system drive; a missing add-on ends start-up before Show.
      {"Windows on D:",
       {WindowsIn(L" D:\\WINDOWS "), Gone(L"C:\\Program Files"),
        File(L"D:\\Program Files\\WinZip\\wzzip.exe")},
       Startup(L"made D:\\Program Files\\Tessel | " + Dest(L"D:\\Backup Zips"),
               User(L"jsmith", L"D:\\Backup Zips", L"D"),
               L"message no WinZip | ChkAddon=0 | message no add-on")},
  };
  for (Case& c : cases) c.steps.push_back(kLoad);  // each case's steps set up a start-up
  ExpectCases({}, cases);
}

// On 5 January 2011 with label docs, source E:\Data and August picked; D:\B holds 1,234,567 bytes
// in a subfolder, Jdoe's Documents one byte in one.
const std::vector<Step> kPrepare = {File(L"D:\\B\\s\\a", 1234567),
                                    File(L"C:\\Users\\Jdoe\\Documents\\s\\c"),
                                    kLoad,
                                    Set(kLabel, L"docs"),
                                    Set(kSrc, L"E:\\Data"),
                                    Select(kMonth, 7)};
// What setting D:\B, D:\ as source and jdoe as user show, and their figures.
const std::wstring kB = L"txtDefaultPath=D:\\B | txtExampleFileName=D:\\B\\docs-201108.zip | "
                        L"txtSpecificUserFileName=D:\\B\\jsmith-201108.zip",
                   kBFigures = L"destination: 1 files, 1 folders, 1,234,567 bytes",
                   kSrcD = L"TxtSrc=D:\\ | txtSpecificDirectoryFiles=D:\\*.*",
                   kSrcDFigures = L"specific: 1 files, 2 folders, 1,234,567 bytes",
                   kJdoe =
                       L"txtUsers=jdoe | txtSpecificUserFileName=C:\\Backup Zips\\jdoe-201108."
                       L"zip | txtSpecificUserFiles=C:\\USers\\Jdoe\\Documents\\*.*",
                   kJdoeFigures = L"user: 1 files, 1 folders, 1 bytes";

// The three derived fields as a rebuild of the lists writes them, for label docs.
std::wstring Paths(const std::wstring& yearMonth, const std::wstring& user = L"jsmith") {
  std::wstring example = L"txtExampleFileName=" + kZips + L"\\docs-" + yearMonth + L".zip";
  if (user.empty()) return example + L" | " + kNoUserPaths;
  return Events({example,
                 L"txtSpecificUserFileName=" + kZips + L"\\" + user + L"-" + yearMonth + L".zip",
                 L"txtSpecificUserFiles=C:\\Users\\" + ProperCase(user) + L"\\Documents\\*.*"});
}
// The lists refilled and the user's archive rewritten; `panel` the user panel after.
std::wstring Rebuilt(const std::wstring& user, const std::wstring& panel) {
  return Events(
      {L"cmbFileNameMonth= (none of 0) | cmbFileNameYear= (none of 0)",
       Lists(Paths(L"01", user), Paths(L"201101", user)), L"destination: empty", panel,
       L"focus on 2 | txtSpecificUserFileName=C:\\Backup Zips\\" + user + L"-201101.zip"});
}
const std::wstring kClosed = L"Browse for Users closed | licence closed | Help closed";
const std::wstring kMonthOn =
    L"cmbFileNameMonth=1 (none of 12) | cmbFileNameMonth=1 (none of 12) | ";

TEST(MainWindow, ReactionsVersioningReset2AndButtons) {
  EXPECT_EQ(kVendorAddress, L"http://" + std::wstring(kVendorHost) + L"/");
  const std::vector<Case> cases = {
      {"a destination with figures", {Set(kDest, L"D:\\B")}, Events({kB, kBFigures})},
      {"an empty label", {Set(kLabel, L"")}, L"txtSpecificBackupFileName= | txtExampleFileName="},
      {"no source", {Set(kSrc, L"")}, L"TxtSrc= | txtSpecificDirectoryFiles= | specific: empty"},
      {"a drive as source", {Set(kSrc, L"D:\\")}, Events({kSrcD, kSrcDFigures})},
      {"another user", {Set(kUsers, L"jdoe")}, Events({kJdoe, kJdoeFigures})},
      {"a year picked",
       {Select(kYear, 0)},
       Events({L"cmbFileNameYear=2009 (entry 0 of 5)", Paths(L"200908"), L"focus on 2"})},
      // Typing runs nothing until the next rebuild.
      {"typed list texts",
       {Type(kMonth, L"08"), Type(kYear, L"2012"), Set(kLabel, L"x")},
       L"cmbFileNameMonth=08 (entry 7 of 12) | cmbFileNameYear=2012 (none of 5) | "
       L"txtSpecificBackupFileName=x | txtExampleFileName=C:\\Backup Zips\\x-201208.zip"},
      {"text unlike the entry drops its selection",
       {Select(kMonth, 0), Type(kMonth, L"1")},
       Events({L"cmbFileNameMonth=01 (entry 0 of 12)", Paths(L"201101"), L"focus on 1",
               L"cmbFileNameMonth=1 (none of 12)"})},
      {"entries out of range", {Select(kMonth, 12), Select(kYear, -1)}, L""},
      {"versioning off",
       {REACTION(optNo_Click)},
       L"optYes off | optNo on | cmbFileNameMonth= (none of 12) | frmMonth hidden | "
       L"cmbFileNameMonth= (none of 12) hidden | " +
           Paths(L"2011")},
      {"versioning on while on", {REACTION(optYes_Click)}, L""},
      {"versioning on writes even an empty user",
       {REACTION(optNo_Click), Set(kUsers, L""), kLogFromHere, REACTION(optYes_Click)},
       L"optYes on | optNo off | frmMonth shown | cmbFileNameMonth=1 (none of 12) hidden | "
       L"cmbFileNameMonth=1 (none of 12) | " +
           Paths(L"20111", L"") + L" | " + Rebuilt(L"", L"user blank")},
      {"Reset2",
       {REACTION(Reset2)},
       L"frmMonth shown | " + kMonthOn + Paths(L"20111") + L" | " +
           Rebuilt(L"jsmith", L"user: empty")},
      {"Reset2 with a profile handed over",
       {REACTION(optNo_Click), kLogFromHere,
        GIVEN(L"profile handed over", SelectedUserName = L"Jdoe"), REACTION(Reset2)},
       Events({L"frmMonth shown | cmbFileNameMonth=1 (none of 12) hidden | cmbFileNameMonth=1 "
               L"(none of 12) | optYes on | optNo off | frmMonth shown | " +
                   kMonthOn + Paths(L"20111"),
               Rebuilt(L"jsmith", L"user: empty"),
               L"txtUsers=Jdoe | txtSpecificUserFileName=C:\\Backup Zips\\Jdoe-201101.zip | "
               L"txtSpecificUserFiles=C:\\USers\\Jdoe\\Documents\\*.*",
               kJdoeFigures, Paths(L"201101", L"Jdoe"), Rebuilt(L"Jdoe", kJdoeFigures)})},
      {"a destination picked, cut at a NUL",
       {FolderPicked(L"D:\\B" + std::wstring(1, L'\0') + L"junk"),
        REACTION(btnBrowseDefault_Click)},
       Events({kB, kBFigures, kBFigures})},
      {"no destination picked", {REACTION(btnBrowseDefault_Click)}, L"destination: empty"},
      {"a source picked",
       {FolderPicked(L"D:\\"), REACTION(btnBrowseSpecific_Click)},
       Events({kSrcD, kSrcDFigures})},
      {"no source picked", {REACTION(btnBrowseSpecific_Click)}, L""},
      {"secondary windows and the vendor link",
       {REACTION(btnBrowseForUsers_Click), REACTION(btnHelp_Click), REACTION(btnEULA_Click),
        REACTION(btnWinZip_Click)},
       L"Browse for Users opened | Help opened | licence opened | Web http://www.winzip.com/"},
      {"quit", {REACTION(btnQuit_Click)}, kClosed + L" | quit"},
      {"Reset",
       {REACTION(btnReset_Click)},
       Events({kClosed, L"main window rebuilt", Startup(Dest(kZips))})},
  };
  ExpectCases(kPrepare, cases);
  Harness fresh;  // a new window versions by month
  EXPECT_TRUE(fresh.S().optYes && !fresh.S().optNo && fresh.S().frmMonthVisible &&
              fresh.S().cmbFileNameMonthVisible);
}

// A refresh the user's typing starts waits, blank, while more input is queued, and is made when
// input pauses or before any other action; every other refresh runs to the end.
TEST(MainWindow, TypedRefreshesWaitForAPauseOrTheNextAction) {
  const std::vector<Step> typed = {InputAfter(0), Type(kDest, L"D:\\B")};
  auto then = [&](std::vector<Step> more) {
    more.insert(more.begin(), typed.begin(), typed.end());
    return more;
  };
  const std::wstring blank = kB + L" | destination blank";
  const std::vector<Case> cases = {
      {"typed, no input waiting", {Type(kDest, L"D:\\B")}, Events({kB, kBFigures})},
      {"typed, input waiting", typed, blank},
      {"cut short after the first batch, refreshed when input pauses",
       {InputAfter(1), Type(kDest, L"D:\\B"), kIdle},
       Events({blank, kBFigures})},
      {"three panels put off, made at the pause in order",
       {InputAfter(0), Type(kSrc, L"D:\\"), InputAfter(0), Type(kUsers, L"jdoe"), InputAfter(0),
        Type(kDest, L"D:\\B"), kIdle},
       Events({kSrcD, L"specific blank", kJdoe, L"user blank", L"txtDefaultPath=D:\\B",
               L"txtExampleFileName=D:\\B\\docs-201108.zip",
               L"txtSpecificUserFileName=D:\\B\\jdoe-201108.zip | destination blank", kBFigures,
               kJdoeFigures, kSrcDFigures})},
      {"a pause cut short leaves the rest for the next",
       {InputAfter(0), Type(kSrc, L"D:\\"), InputAfter(0), Type(kDest, L"D:\\B"), InputAfter(1),
        kIdle, kIdle},
       Events({kSrcD, L"specific blank", blank, L"destination blank", kBFigures, kSrcDFigures})},
      // Other fields' edits do not wait for the figures; any other action does.
      {"another field typed", then({Type(kLabel, L"x")}),
       Events({blank, L"txtSpecificBackupFileName=x | txtExampleFileName=D:\\B\\x-201108.zip"})},
      {"a click", then({InputAfter(0), Click(Ctl::btnHelp)}),
       Events({blank, kBFigures, L"Help opened"})},
      {"a list pick", then({Select(kYear, 0)}),
       Events({blank, kBFigures, L"cmbFileNameYear=2009 (entry 0 of 5)",
               L"txtExampleFileName=D:\\B\\docs-200908.zip",
               L"txtSpecificUserFileName=D:\\B\\jsmith-200908.zip",
               L"txtSpecificUserFiles=C:\\Users\\Jsmith\\Documents\\*.* | focus on 2"})},
      {"a backup", then({InputAfter(0), Click(Ctl::btnBackupUser)}),
       Events({blank, kBFigures, L"chkWinZip=1 | ChkAddon=1 | archiver running",
               L"wzzip -u -p -r \"D:\\B\\Jsmith-201108.zip\" "
               L"\"C:\\Users\\Jsmith\\Documents\\*.*\" | archiver ended",
               kBFigures, kBFigures})},
      {"quit drops the panels", then({Click(Ctl::btnQuit)}), Events({blank, kClosed, L"quit"})},
      {"a picked destination is no edit",
       {FolderPicked(L"D:\\B"), InputAfter(0), Click(Ctl::btnBrowseDefault)},
       Events({kB, kBFigures, kBFigures})},
      {"a profile handed over finds the put-off figures made first", then({REACTION(Reset2)}),
       Events({blank, kBFigures, L"frmMonth shown | ..."})},
  };
  ExpectCases(kPrepare, cases);

  // Start-up never waits, and the windows are served during its scans.
  Harness queued, quiet;
  queued.Run({File(L"D:\\B\\s\\a", 1234567), Stored("D:\\B"), InputAfter(0), kLoad});
  quiet.Run({File(L"D:\\B\\s\\a", 1234567), Stored("D:\\B"), kLoad});
  EXPECT_EQ(queued.Log(), quiet.Log());
  EXPECT_GT(queued.fake.dialogs.keptAlive, 0);
}

}  // namespace
}  // namespace tessel::testing
