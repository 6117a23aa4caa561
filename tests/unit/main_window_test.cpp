// The main window's start-up, reactions, versioning, Reset2 and buttons, each case compared as
// the one log of what the window showed and did.
#include "core/text.h"
#include "core/vendor_link.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

const std::wstring kEmpty = L"Example= | UserFile= | UserFiles= | ";

// Each start-up's log begins with what the settings file gave and ends with the archiver check.
TEST(FormLoad, SettingsFileUserAndArchiverOutcomes) {
  const std::wstring ok = L"WinZip=1 | Addon=1 | Show";
  const std::wstring one = L"Dest=D:\\1 | Example= | UserFile= | D | ";
  const std::wstring builtIn = L"Dest=C:\\Backup Zips | Example= | UserFile= | D | Month";
  const std::wstring cases[][3] = {
      {L"windir=C:\\W",
       L"+C:\\Program Files\\Tessel | Dest=C:\\Backup Zips | Example= | UserFile= | D | "
       L"Month=@-1/12 | Month=01@0/12 | Example= | UserFile= | UserFiles= | Tab1 | Year=@-1/5 | "
       L"Year=2011@2/5 | Example= | UserFile= | UserFiles= | Tab2 | User=jsmith | UserFile=C:\\"
       L"Backup Zips\\jsmith-201101.zip | UserFiles=C:\\USers\\Jsmith\\Documents\\*.* | U | D | "
       L"U | Example= | UserFile=C:\\Backup Zips\\jsmith-201101.zip | UserFiles=C:\\Users\\"
       L"Jsmith\\Documents\\*.* | WinZip=1 | Addon=1 | Show",
       ok},
      {L"stored=D:\\1\r\n  E:\\2  ", one + L"Dest=  E:\\2   | Example= | UserFile= | D | Month",
       ok},
      {L"stored=D:\\1\r\n\r\n", one + L"Dest= | Example= | UserFile= | D | " + builtIn, ok},
      {L"stored=D:\\1; failReads", L"NoRead(" + kStoredFile + L";unreadable) | " + builtIn, ok},
      {L"dir=" + kStoredFile,
       L"NoRead(" + kStoredFile + L";A folder is in the way: " + kStoredFile + L") | " + builtIn,
       ok},
      {L"file=C:\\Program Files\\Tessel",
       L"NoFolder(C:\\Program Files\\Tessel\\;A file is in the way: C:\\Program Files\\Tessel) | " +
           builtIn,
       ok},
      {L"failWrites",
       L"+C:\\Program Files\\Tessel | NoFile(" + kStoredFile + L";disk full) | " + builtIn, ok},
      {L"windir=   ", L"NoFolder(:\\Program Files\\Tessel\\;not found) | Dest=:\\Backup Zips", ok},
      {L"netuser", L"+C:", L"Tab2 | User= | UserFile= | UserFiles= | U | D | U | " + kEmpty + ok},
      {std::wstring(L"netuser=jdoe\0junk", 17), L"+C:",
       L"UserFiles=C:\\Users\\Jdoe\\Documents\\*.* | " + ok},
      {L"Pick=Jdoe", L"+C:", L"Tab2 | D | U | " + kEmpty + ok},
      {L"rm=" + std::wstring(kWinZipProbePath), L"+C:", L"NoWinZip | Addon=1 | Show"},
      {L"dir=" + std::wstring(kAddonProbePath), L"+C:", L"WinZip=1 | Addon=1 | Show"},
      // Probed on c: whatever the system drive; a missing add-on ends start-up before Show.
      {L"windir= D:\\WINDOWS ; rm=C:\\Program Files; file=D:\\Program Files\\WinZip\\wzzip.exe",
       L"+D:\\Program Files\\Tessel | Dest=D:\\Backup Zips",
       L"UserFiles=D:\\Users\\Jsmith\\Documents\\*.* | NoWinZip | Addon=0 | NoAddon"}};
  for (const auto& [setUp, begins, ends] : cases) {
    Harness h;
    h.Do(setUp + L"; Form_Load");
    std::wstring log = h.Log();
    EXPECT_TRUE(log.starts_with(L"Centre | " + begins)) << setUp << ": " << log;
    EXPECT_TRUE(log.ends_with(ends)) << setUp << ": " << log;
    EXPECT_EQ(SelectedUserName, L"") << setUp;
  }
}

// On 5 January 2011 with label docs, source E:\Data and August picked; D:\B holds 1,234,567 bytes
// in a subfolder, Jdoe's Documents one byte in one.
const std::wstring kPrepare =
    L"big=D:\\B\\s\\a; file=C:\\Users\\Jdoe\\Documents\\s\\c; Form_Load; Label=docs; "
    L"Src=E:\\Data; Month#7";

const std::wstring kZips = L"C:\\Backup Zips\\";
// The three derived fields as a list selection writes them.
std::wstring Paths(const std::wstring& yearMonth, const std::wstring& user = L"jsmith") {
  std::wstring paths = L"Example=" + kZips + L"docs-" + yearMonth + L".zip | UserFile=";
  if (user.empty()) return paths + L" | UserFiles=";
  return paths + kZips + user + L"-" + yearMonth + L".zip | UserFiles=C:\\Users\\" +
         ProperCase(user) + L"\\Documents\\*.*";
}

// Emptying both lists and Form_Load2 as versioning on and Reset2 run them, for a user.
std::wstring Refill(const std::wstring& user, const std::wstring& panel = L"U") {
  return L"Month=@-1/0 | Year=@-1/0 | Month=@-1/12 | Month=01@0/12 | " + Paths(L"01", user) +
         L" | Tab1 | Year=@-1/5 | Year=2011@2/5 | " + Paths(L"201101", user) + L" | Tab2 | D | " +
         panel + L" | Tab2 | UserFile=" + kZips + user + L"-201101.zip";
}

TEST(MainWindow, ReactionsVersioningReset2AndButtons) {
  EXPECT_EQ(kVendorAddress, L"http://" + std::wstring(kVendorHost) + L"/");
  const std::wstring hidden = L"frmMonth | Month=1@-1/12^ | Month=1@-1/12 | ";
  const std::wstring shown = L"frmMonth | Month=1@-1/12 | Month=1@-1/12 | ";
  const std::wstring cases[][2] = {
      {L"Dest=D:\\B",
       L"Dest=D:\\B | Example=D:\\B\\docs-201108.zip | UserFile=D:\\B\\jsmith-201108.zip | "
       L"D=1/1/1,234,567"},
      {L"Label=", L"Label= | Example="},
      {L"Src=", L"Src= | DirFiles= | S"},
      {L"Src=D:\\", L"Src=D:\\ | DirFiles=D:\\*.* | S=1/2/1,234,567"},
      {L"User=jdoe",
       L"User=jdoe | UserFile=C:\\Backup Zips\\jdoe-201108.zip | UserFiles=C:\\USers\\"
       L"Jdoe\\Documents\\*.* | U=1/1/1"},
      {L"Year#0", L"Year=2009@0/5 | " + Paths(L"200908") + L" | Tab2"},
      // Typing runs nothing until the next rebuild; text unlike the entry drops its selection.
      {L"Month=08; Year=2012; Label=x",
       L"Month=08@7/12 | Year=2012@-1/5 | Label=x | Example=" + kZips + L"x-201208.zip"},
      {L"Month#0; Month=1", L"Month=01@0/12 | " + Paths(L"201101") + L" | Tab1 | Month=1@-1/12"},
      {L"Month#12; Year#-1", L""},
      // Versioning and Reset2.
      {L"optNo_Click", L"Yes^ | No | Month=@-1/12 | frmMonth^ | Month=@-1/12^ | " + Paths(L"2011")},
      {L"optYes_Click", L""},
      // Written even for an empty user.
      {L"optNo_Click; User=; Clear; optYes_Click",
       L"Yes | No^ | " + hidden + Paths(L"20111", L"") + L" | " + Refill(L"")},
      {L"Reset2", shown + Paths(L"20111") + L" | " + Refill(L"jsmith")},
      {L"optNo_Click; Clear; Pick=Jdoe; Reset2",
       hidden + L"Yes | No^ | " + shown + Paths(L"20111") + L" | " + Refill(L"jsmith") +
           L" | User=Jdoe | UserFile=C:\\Backup Zips\\Jdoe-201101.zip | UserFiles=C:\\USers\\Jdoe\\"
           L"Documents\\*.* | U=1/1/1 | " +
           Paths(L"201101", L"Jdoe") + L" | " + Refill(L"Jdoe", L"U=1/1/1")},
      // Pickers, secondary windows, the vendor link and Quit.
      {L"pick=D:\\B" + std::wstring(1, L'\0') + L"junk; btnBrowseDefault_Click",
       L"Dest=D:\\B | Example=D:\\B\\docs-201108.zip | UserFile=D:\\B\\jsmith-201108.zip | "
       L"D=1/1/1,234,567 | D=1/1/1,234,567"},
      {L"btnBrowseDefault_Click", L"D"},
      {L"pick=D:\\; btnBrowseSpecific_Click", L"Src=D:\\ | DirFiles=D:\\*.* | S=1/2/1,234,567"},
      {L"btnBrowseSpecific_Click", L""},
      {L"btnBrowseForUsers_Click; btnHelp_Click; btnEULA_Click; btnWinZip_Click",
       L"Browse | Help | Eula | Web " + std::wstring(kVendorAddress)},
      {L"btnQuit_Click", L"-Browse | -Eula | -Help | Quit"}};
  ExpectLogs(kPrepare, cases);
  Harness h;
  h.Do(L"Form_Load; Label=x; Src=E:\\; Month#7; Clear; btnReset_Click");
  EXPECT_TRUE(h.Log().starts_with(L"-Browse | -Eula | -Help | Reload | Centre | Dest=C:"));
  EXPECT_EQ(h.S().txtSpecificBackupFileName + h.S().TxtSrc + h.S().cmbFileNameMonth.text, L"01");
  EXPECT_TRUE(h.S().optYes && !h.S().optNo && h.S().frmMonthVisible &&
              h.S().cmbFileNameMonthVisible);
}

// A refresh the user's typing starts waits, blank, while more input is queued ("input=N": after
// N questions), and is made when input pauses ("idle") or before any other action; every other
// refresh runs to the end.
TEST(MainWindow, TypedRefreshesWaitForAPauseOrTheNextAction) {
  const std::wstring dest = L"Dest=D:\\B | Example=D:\\B\\docs-201108.zip | UserFile=D:\\B\\";
  const std::wstring b = L"D=1/1/1,234,567";
  const std::wstring cases[][2] = {
      {L"typed Dest=D:\\B", dest + L"jsmith-201108.zip | " + b},
      {L"input=0; typed Dest=D:\\B", dest + L"jsmith-201108.zip | D"},
      // Cut short after the folder's first batch, refreshed when input pauses.
      {L"input=1; typed Dest=D:\\B; idle", dest + L"jsmith-201108.zip | D | " + b},
      {L"input=0; typed Src=D:\\; input=0; typed User=jdoe; input=0; typed Dest=D:\\B; idle",
       L"Src=D:\\ | DirFiles=D:\\*.* | S | User=jdoe | UserFile=C:\\Backup Zips\\jdoe-201108.zip | "
       L"UserFiles=C:\\USers\\Jdoe\\Documents\\*.* | U | " +
           dest + L"jdoe-201108.zip | D | " + b + L" | U=1/1/1 | S=1/2/1,234,567"},
      {L"input=0; typed Src=D:\\; input=0; typed Dest=D:\\B; input=1; idle; idle",
       L"Src=D:\\ | DirFiles=D:\\*.* | S | " + dest + L"jsmith-201108.zip | D | D | " + b +
           L" | S=1/2/1,234,567"},
      // Other fields' edits do not wait for the figures; any other action does.
      {L"input=0; typed Dest=D:\\B; typed Label=x",
       dest + L"jsmith-201108.zip | D | Label=x | Example=D:\\B\\x-201108.zip"},
      {L"input=0; typed Dest=D:\\B; input=0; click=btnHelp",
       dest + L"jsmith-201108.zip | D | " + b + L" | Help"},
      {L"input=0; typed Dest=D:\\B; Year#0",
       dest + L"jsmith-201108.zip | D | " + b +
           L" | Year=2009@0/5 | Example=D:\\B\\docs-200908.zip | "
           L"UserFile=D:\\B\\jsmith-200908.zip | UserFiles=C:\\Users\\Jsmith\\Documents\\*.* | "
           L"Tab2"},
      {L"input=0; typed Dest=D:\\B; input=0; click=btnBackupUser",
       dest + L"jsmith-201108.zip | D | " + b +
           L" | WinZip=1 | Addon=1 | Archiving | Zip "
           L"\"D:\\B\\Jsmith-201108.zip\" \"C:\\Users\\Jsmith\\Documents\\*.*\" | Archived | " +
           b + L" | " + b},
      {L"input=0; typed Dest=D:\\B; click=btnQuit",
       dest + L"jsmith-201108.zip | D | -Browse | -Eula | -Help | Quit"},
      {L"pick=D:\\B; input=0; click=btnBrowseDefault",
       dest + L"jsmith-201108.zip | " + b + L" | " + b}};
  ExpectLogs(kPrepare, cases);

  Harness handOver;  // a profile handed over from Browse for Users, after typing
  handOver.Do(kPrepare + L"; input=0; typed Dest=D:\\B; Clear; Reset2");
  EXPECT_TRUE(handOver.Log().starts_with(b + L" | frmMonth")) << handOver.Log();

  // Start-up never waits, and the windows are served during its scans.
  Harness queued, quiet;
  queued.Do(L"big=D:\\B\\s\\a; stored=D:\\B; input=0; Form_Load");
  quiet.Do(L"big=D:\\B\\s\\a; stored=D:\\B; Form_Load");
  EXPECT_EQ(queued.Log(), quiet.Log());
  EXPECT_GT(queued.fake.dialogs.keptAlive, 0);
}

}  // namespace
}  // namespace tessel::testing
