// The main window's start-up, reactions, versioning, Reset2 and buttons, each case compared as
// the one log of what the window showed and did.
#include "core/text.h"
#include "core/vendor_link.h"
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

struct Case {
  const char* name;
  std::function<void(Harness&)> act;
  std::wstring log;
};

const std::wstring kEmpty = L"Example= | UserFile= | UserFiles= | ";

TEST(FormLoad, CleanMachineOnFifthJanuary2011) {
  Harness h;
  h.w->Form_Load();
  EXPECT_EQ(h.Log(),
            L"Centre | +C:\\Program Files\\Tessel | Dest=C:\\Backup Zips | "
            L"Example= | UserFile= | D | Month=@-1/12 | Month=01@0/12 | " +
                kEmpty + L"Tab1 | Year=@-1/5 | Year=2011@2/5 | " + kEmpty +
                L"Tab2 | User=jsmith | "
                L"UserFile=C:\\Backup Zips\\jsmith-201101.zip | "
                L"UserFiles=C:\\USers\\Jsmith\\Documents\\*.* | U | D | U | Example= | "
                L"UserFile=C:\\Backup Zips\\jsmith-201101.zip | "
                L"UserFiles=C:\\Users\\Jsmith\\Documents\\*.* | WinZip=1 | Addon=1 | Show");
  EXPECT_EQ(h.fake.fs.Content(kStoredFile), "");
  EXPECT_EQ(h.S().cmbFileNameYear.entries.front() + h.S().cmbFileNameYear.entries.back(),
            L"20092013");
  EXPECT_TRUE(h.S().optYes && !h.S().optNo && h.S().frmMonthVisible);
}

// Each start-up's log begins with what the settings file gave and ends with the archiver check.
TEST(FormLoad, SettingsFileUserAndArchiverOutcomes) {
  const std::wstring ok = L"WinZip=1 | Addon=1 | Show";
  const std::wstring builtIn = L"Dest=C:\\Backup Zips | Example= | UserFile= | D | Month";
  auto stored = [](std::string bytes) {
    return [bytes](Harness& h) { h.fake.fs.AddTextFile(kStoredFile, bytes); };
  };
  auto remove = [](std::wstring path) { return [path](Harness& h) { h.fake.fs.Remove(path); }; };
  struct StartCase {
    const char* name;
    std::function<void(Harness&)> setUp;
    std::wstring begins, ends;
  };
  const std::wstring one = L"Dest=D:\\One | Example= | UserFile= | D | ";
  const StartCase cases[] = {
      {"the last line counts, blanks and all", stored("D:\\One\r\n  E:\\2  "),
       one + L"Dest=  E:\\2   | Example= | UserFile= | D | Month", ok},
      {"an empty last line", stored("D:\\One\r\n\r\n"),
       one + L"Dest= | Example= | UserFile= | D | " + builtIn, ok},
      {"unreadable",
       [](Harness& h) {
         h.fake.fs.AddTextFile(kStoredFile, "D:\\A\r\n");
         h.fake.fs.failReads = true;
       },
       L"NoRead(" + kStoredFile + L";unreadable) | " + builtIn, ok},
      {"a file where the settings folder belongs",
       [](Harness& h) { h.fake.fs.AddFile(L"C:\\Program Files\\Tessel", 1); },
       L"NoFolder(C:\\Program Files\\Tessel\\;a file is in the way: C:\\Program Files\\Tessel) | " +
           builtIn,
       ok},
      {"the file cannot be made", [](Harness& h) { h.fake.fs.failWrites = true; },
       L"+C:\\Program Files\\Tessel | NoFile(" + kStoredFile + L";disk full) | " + builtIn, ok},
      {"no Windows directory", [](Harness& h) { h.fake.sys.windowsDirectory = L"   "; },
       L"NoFolder(:\\Program Files\\Tessel\\;not found) | Dest=:\\Backup Zips", ok},
      {"no network user", [](Harness& h) { h.fake.sys.userName = std::nullopt; }, L"+C:",
       L"Tab2 | User= | UserFile= | UserFiles= | U | D | U | " + kEmpty + ok},
      {"a pick pending", [](Harness&) { SelectedUserName = L"Pick"; }, L"+C:",
       L"Tab2 | D | U | " + kEmpty + ok},
      {"WinZip missing", remove(kWinZipProbePath), L"+C:", L"NoWinZip | Addon=1 | Show"},
      {"Windows and WinZip on d:, probed on c:: both missing, not shown by itself",
       [&](Harness& h) {
         h.fake.sys.windowsDirectory = L" D:\\WINDOWS ";
         h.fake.sys.userName = std::wstring(L"jsmith\0junk", 11);
         remove(L"C:\\Program Files")(h);
         h.fake.fs.AddFile(L"D:\\Program Files\\WinZip\\wzzip.exe", 1);
         h.fake.fs.AddFile(L"D:\\Program Files\\WinZip\\winzip32.exe", 1);
       },
       L"+D:\\Program Files\\Tessel | Dest=D:\\Backup Zips",
       L"UserFiles=D:\\Users\\Jsmith\\Documents\\*.* | NoWinZip | Addon=0 | NoAddon"},
  };
  for (const StartCase& c : cases) {
    Harness h;
    c.setUp(h);
    h.w->Form_Load();
    std::wstring log = h.Log();
    EXPECT_TRUE(log.starts_with(L"Centre | " + c.begins)) << c.name << ": " << log;
    EXPECT_TRUE(log.ends_with(c.ends)) << c.name << ": " << log;
    EXPECT_EQ(SelectedUserName, L"") << c.name;
  }
}

// Loaded on 5 January 2011, label docs, source E:\Data, August picked; D:\B holds 3,500 bytes.
void Prepare(Harness& h) {
  h.fake.fs.AddFile(L"D:\\B\\a.zip", 1000);
  h.fake.fs.AddFile(L"D:\\B\\s\\b.zip", 2500);
  h.fake.fs.AddFile(L"C:\\Users\\Jdoe\\Documents\\c.doc", 5);
  h.w->Form_Load();
  h.w->SetText(Ctl::txtSpecificBackupFileName, L"docs");
  h.w->SetText(Ctl::TxtSrc, L"E:\\Data");
  h.w->SelectListEntry(Ctl::cmbFileNameMonth, 7);
  h.Clear();
}

void RunCase(const Case& c) {
  Harness h;
  Prepare(h);
  c.act(h);
  EXPECT_EQ(h.Log(), c.log) << c.name;
  SelectedUserName.clear();
}

const std::wstring kZips = L"C:\\Backup Zips\\";
// The three derived fields as a list selection writes them.
std::wstring Paths(const std::wstring& yearMonth, const std::wstring& user = L"jsmith") {
  std::wstring paths = L"Example=" + kZips + L"docs-" + yearMonth + L".zip | UserFile=";
  if (user.empty()) return paths + L" | UserFiles=";
  return paths + kZips + user + L"-" + yearMonth + L".zip | UserFiles=C:\\Users\\" +
         ProperCase(user) + L"\\Documents\\*.*";
}

TEST(Reactions, WritesRefreshesAndFocus) {
  const Case cases[] = {
      {"destination typed", [](Harness& h) { h.w->SetText(Ctl::txtDefaultPath, L"D:\\B"); },
       L"Dest=D:\\B | Example=D:\\B\\docs-201108.zip | UserFile=D:\\B\\jsmith-201108.zip | "
       L"D=2/1/3,500"},
      {"label cleared", [](Harness& h) { h.w->SetText(Ctl::txtSpecificBackupFileName, L""); },
       L"Label= | Example="},
      {"source cleared", [](Harness& h) { h.w->SetText(Ctl::TxtSrc, L""); },
       L"Src= | DirFiles= | S"},
      {"source a drive root", [](Harness& h) { h.w->SetText(Ctl::TxtSrc, L"D:\\"); },
       L"Src=D:\\ | DirFiles=D:\\*.* | S=2/2/3,500"},
      {"user changed", [](Harness& h) { h.w->SetText(Ctl::txtUsers, L"jdoe"); },
       L"User=jdoe | UserFile=" + kZips +
           L"jdoe-201108.zip | "
           L"UserFiles=C:\\USers\\Jdoe\\Documents\\*.* | U=1/0/5"},
      {"year picked", [](Harness& h) { h.w->SelectListEntry(Ctl::cmbFileNameYear, 0); },
       L"Year=2009@0/5 | " + Paths(L"200908") + L" | Tab2"},
      {"typing runs nothing until the next rebuild",
       [](Harness& h) {
         h.w->SetListText(Ctl::cmbFileNameMonth, L"08");
         h.w->SetListText(Ctl::cmbFileNameYear, L"2012");
         h.w->SetText(Ctl::txtSpecificBackupFileName, L"x");
       },
       L"Month=08@7/12 | Year=2012@-1/5 | Label=x | Example=" + kZips + L"x-201208.zip"},
      {"typed text unlike the first entry drops its selection",
       [](Harness& h) {
         h.w->SelectListEntry(Ctl::cmbFileNameMonth, 0);
         h.w->SetListText(Ctl::cmbFileNameMonth, L"1");
       },
       L"Month=01@0/12 | " + Paths(L"201101") + L" | Tab1 | Month=1@-1/12"},
      {"no such entry",
       [](Harness& h) {
         h.w->SelectListEntry(Ctl::cmbFileNameMonth, 12);
         h.w->SelectListEntry(Ctl::cmbFileNameYear, -1);
       },
       L""},
  };
  for (const Case& c : cases) RunCase(c);
}

// Emptying both lists and Form_Load2 as versioning on and Reset2 run them, for a user.
std::wstring Refill(const std::wstring& user, const std::wstring& panel = L"U") {
  return L"Month=@-1/0 | Year=@-1/0 | Month=@-1/12 | Month=01@0/12 | " + Paths(L"01", user) +
         L" | Tab1 | Year=@-1/5 | Year=2011@2/5 | " + Paths(L"201101", user) + L" | Tab2 | D | " +
         panel + L" | " + L"Tab2 | UserFile=" + kZips + user + L"-201101.zip";
}

TEST(Versioning, OffOnAndReset2) {
  const std::wstring shown = L"frmMonth | Month=1@-1/12^ | Month=1@-1/12 | ";
  const Case cases[] = {
      {"off", [](Harness& h) { h.w->optNo_Click(); },
       L"Yes^ | No | Month=@-1/12 | frmMonth^ | Month=@-1/12^ | " + Paths(L"2011")},
      {"on while on", [](Harness& h) { h.w->optYes_Click(); }, L""},
      {"on again, user empty: the user archive is still written",
       [](Harness& h) {
         h.w->optNo_Click();
         h.w->SetText(Ctl::txtUsers, L"");
         h.Clear();
         h.w->optYes_Click();
       },
       L"Yes | No^ | " + shown + Paths(L"20111", L"") + L" | " + Refill(L"")},
      {"Reset2 without a pick", [](Harness& h) { h.w->Reset2(); },
       L"frmMonth | Month=1@-1/12 | Month=1@-1/12 | " + Paths(L"20111") + L" | " +
           Refill(L"jsmith")},
      {"Reset2 with a pick, versioning off",
       [](Harness& h) {
         h.w->optNo_Click();
         h.Clear();
         SelectedUserName = L"Jdoe";
         h.w->Reset2();
       },
       shown + L"Yes | No^ | frmMonth | Month=1@-1/12 | Month=1@-1/12 | " + Paths(L"20111") +
           L" | " + Refill(L"jsmith") + L" | User=Jdoe | UserFile=" + kZips +
           L"Jdoe-201101.zip | "
           L"UserFiles=C:\\USers\\Jdoe\\Documents\\*.* | U=1/0/5 | " +
           Paths(L"201101", L"Jdoe") + L" | " + Refill(L"Jdoe", L"U=1/0/5")},
  };
  for (const Case& c : cases) RunCase(c);
}

TEST(Buttons, PickersWindowsLinkResetAndQuit) {
  EXPECT_EQ(kVendorAddress, L"http://" + std::wstring(kVendorHost) + L"/");
  const std::wstring closeAll = L"-Browse | -Eula | -Help | ";
  const Case cases[] = {
      {"destination picked",
       [](Harness& h) {
         h.fake.dialogs.folderPicks = {std::wstring(L"D:\\B\0junk", 9)};
         h.w->btnBrowseDefault_Click();
       },
       L"Dest=D:\\B | Example=D:\\B\\docs-201108.zip | UserFile=D:\\B\\jsmith-201108.zip | "
       L"D=2/1/3,500 | D=2/1/3,500"},
      {"destination picker cancelled", [](Harness& h) { h.w->btnBrowseDefault_Click(); }, L"D"},
      {"source picked",
       [](Harness& h) {
         h.fake.dialogs.folderPicks = {L"D:\\"};
         h.w->btnBrowseSpecific_Click();
       },
       L"Src=D:\\ | DirFiles=D:\\*.* | S=2/2/3,500"},
      {"source picker cancelled", [](Harness& h) { h.w->btnBrowseSpecific_Click(); }, L""},
      {"windows and link",
       [](Harness& h) {
         h.w->btnBrowseForUsers_Click();
         h.w->btnHelp_Click();
         h.w->btnEULA_Click();
         h.w->btnWinZip_Click();
       },
       L"Browse | Help | Eula | Web " + std::wstring(kVendorAddress)},
      {"quit", [](Harness& h) { h.w->btnQuit_Click(); }, closeAll + L"Quit"},
  };
  for (const Case& c : cases) RunCase(c);

  Harness h;
  Prepare(h);
  h.w->btnReset_Click();
  EXPECT_TRUE(h.Log().starts_with(closeAll + L"Reload | Centre | Dest=C:\\Backup Zips")) << h.Log();
  EXPECT_EQ(h.S().txtSpecificBackupFileName + h.S().TxtSrc + h.S().cmbFileNameMonth.text, L"01");
}

}  // namespace
}  // namespace tessel::testing
