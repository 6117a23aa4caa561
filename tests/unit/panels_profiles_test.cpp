// The metrics panels (which folder, which boxes in which order, the Recurse values, the busy
// pointer), the profile listing and the Browse for Users hand-over.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "fake_platform.h"
#include "metrics/metrics.h"
#include "profiles/browse_users.h"
#include "profiles/profile_listing.h"

namespace tessel {
namespace {

TEST(GetMetrics, PanelsScanTheirOwnFolderIntoTheirOwnBoxes) {
  struct Case {
    Panel panel;
    std::wstring field;  // the panel's source field; the others name a folder of 99 bytes
    int recurse;
    std::wstring writes;  // to the panel's boxes f(iles), n(umber of folders) and b(ytes)
  };
  const Case cases[] = {
      {Panel::Destination, L"C:\\D", kChecked, L"f= n= b= f=2 b=3.500 n=1 "},
      {Panel::Destination, L"C:\\D\\", kGrayed, L"f= n= b= f=1 b=1.000 n=1 "},
      {Panel::User, L"C:\\D\\*.*", kChecked, L"f= n= b= f=2 b=3.500 n=1 "},
      {Panel::User, L"*.*", kChecked, L"f= n= b= "},  // no user: left blank, nothing scanned
      {Panel::Specific, L"C:\\D", kUnchecked, L"f= n= b= f=1 b=1.000 n=1 "},
      {Panel::Specific, L"", kChecked, L"f= n= b= f=0 b=0 n=0 "}};
  for (const Case& c : cases) {
    fake::FakePlatform f;
    f.fs.AddFile(L"C:\\D\\a.zip", 1000);
    f.fs.AddFile(L"C:\\D\\s\\b.zip", 2500);
    f.fs.AddFile(L"C:\\W\\x", 99);
    f.sys.thousandsSeparator = L".";
    BackupSettings s;
    s.txtDefaultPath = s.TxtSrc = L"C:\\W";
    s.txtSpecificUserFiles = L"C:\\W\\*.*";
    std::wstring* fields[] = {&s.txtDefaultPath, &s.txtSpecificUserFiles, &s.TxtSrc};
    *fields[static_cast<int>(c.panel)] = c.field;
    s.chkRecurseDestination = s.chkRecurseUser = s.chkRecurseSpecific = c.recurse;
    const Ctl first[] = {Ctl::txtFileCountDestination, Ctl::txtFileCountUser,
                         Ctl::txtFileCountSpecific};
    std::wstring writes;
    GetMetrics(c.panel, s, f.platform, [&](Ctl box, const std::wstring& text) {
      unsigned k = static_cast<int>(box) - static_cast<int>(first[static_cast<int>(c.panel)]);
      writes += (k < 5 ? L"f?n?b"[k] : L'?') + (L"=" + text + L" ");
    });
    EXPECT_EQ(writes, c.writes) << "field " << c.field;
    EXPECT_EQ(f.dialogs.busy, "+-");
  }
  fake::FakePlatform f;
  auto gone = [](Ctl, const std::wstring&) { throw 1; };  // the window went away
  EXPECT_THROW(GetMetrics(Panel::Destination, BackupSettings(), f.platform, gone), int);
  EXPECT_EQ(f.dialogs.busy, "+-");
}

TEST(ListUserProfiles, FoldersProperCasedSortedWithoutSystemNames) {
  fake::FakePlatform p;
  for (const wchar_t* name :
       {L"All Users", L"all users", L"DEFAULT USER", L"LocalService", L"NetworkService", L"Public",
        L"Default", L"zed", L"JSmith", L"john smith", L"bob"}) {
    p.fs.AddFolder(std::wstring(L"D:\\Users\\") + name, kAttrDirectory | kAttrHidden);
  }
  p.fs.AddFile(L"D:\\Users\\desktop.ini", 1, kAttrHidden | kAttrSystem);
  p.fs.AddFile(L"D:\\Users\\notes.txt", 1, kAttrNormal);
  p.fs.AddFile(L"D:\\Users\\readme", 1, kAttrReadOnly);
  std::vector<std::wstring> list = {L"left over"};
  ListUserProfiles(p.fs, L"D:\\Users", list);
  EXPECT_EQ(list, (std::vector<std::wstring>{L"Bob", L"Default", L"Desktop.ini", L"John Smith",
                                             L"Jsmith", L"Public", L"Readme", L"Zed"}));
  p.fs.SetUnlistable(L"D:\\Users");
  ListUserProfiles(p.fs, L"D:\\Users\\", list);
  EXPECT_TRUE(list.empty());
}

// The window's view and host at once, destroying the presenter on close as the real window does.
struct Host : BrowseUsersView, BrowseUsersHost {
  std::wstring log;
  std::unique_ptr<BrowseUsers> window;
  void ListChanged() override { log += L"list "; }
  void CloseBrowseUsers() override { log += L"close ", window.reset(); }
  void ActivateMainWindow() override { log += L"activate "; }
  void Reset2() override { log += L"Reset2 " + SelectedUserName; }
};

TEST(BrowseUsers, PickHandsOverTheTrimmedNameThenClosesActivatesAndResets) {
  // Selection, then 1 for a double click, and the pick the main window receives.
  const std::tuple<int, bool, std::wstring> cases[] = {{2, false, L"Jsmith"}, {2, true, L"Jsmith"},
                                                       {0, false, L"Spaced"}, {-1, false, L""},
                                                       {3, false, L""},       {1, true, L"Ann"}};
  for (const auto& [select, doubleClick, pick] : cases) {
    fake::FakePlatform p;
    p.sys.windowsDirectory = L"D:\\WINDOWS";
    p.fs.AddFolder(L"D:\\Users\\ Spaced ");
    p.fs.AddFolder(L"D:\\Users\\jsmith");
    Host host;
    host.window = std::make_unique<BrowseUsers>(p.platform, host, host);
    host.window->Form_Load();
    host.window->SelectUser(1);
    p.fs.AddFolder(L"D:\\Users\\ann");
    host.window->Form_Load();  // a fresh list drops the selection
    EXPECT_EQ(host.window->Selected() + host.window->Users().size(), 2u);
    host.window->SelectUser(select);
    doubleClick ? host.window->lstUsers_DblClick() : host.window->cmdUsers_Click();
    EXPECT_EQ(host.log, L"list list close activate Reset2 " + pick);
    SelectedUserName.clear();
  }
}

}  // namespace
}  // namespace tessel
