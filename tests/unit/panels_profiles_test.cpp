// The metrics panels (which folder, which boxes in which order, the Recurse values, the busy
// pointer), the profile listing and the Browse for Users hand-over.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

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
    std::wstring writes;  // f(iles), n(umber of folders), b(ytes), then the panel's letter
  };
  const Case cases[] = {
      {Panel::Destination, L"C:\\D", kChecked, L"fD= nD= bD= fD=2 bD=3,500 nD=1 "},
      {Panel::Destination, L"C:\\D\\", kGrayed, L"fD= nD= bD= fD=1 bD=1,000 nD=1 "},
      {Panel::User, L"C:\\D\\*.*", kChecked, L"fU= nU= bU= fU=2 bU=3,500 nU=1 "},
      {Panel::User, L"*.*", kChecked, L"fU= nU= bU= "},  // no user: left blank, nothing scanned
      {Panel::Specific, L"C:\\D", kUnchecked, L"fS= nS= bS= fS=1 bS=1,000 nS=1 "},
      {Panel::Specific, L"", kChecked, L"fS= nS= bS= fS=0 bS=0 nS=0 "},
  };
  for (const Case& c : cases) {
    fake::FakePlatform f;
    f.fs.AddFile(L"C:\\D\\a.zip", 1000);
    f.fs.AddFile(L"C:\\D\\s\\b.zip", 2500);
    f.fs.AddFile(L"C:\\W\\x", 99);
    f.sys.thousandsSeparator = L",";
    BackupSettings s;
    s.txtDefaultPath = s.TxtSrc = L"C:\\W";
    s.txtSpecificUserFiles = L"C:\\W\\*.*";
    (c.panel == Panel::Destination ? s.txtDefaultPath
     : c.panel == Panel::User      ? s.txtSpecificUserFiles
                                   : s.TxtSrc) = c.field;
    s.chkRecurseDestination = s.chkRecurseUser = s.chkRecurseSpecific = c.recurse;
    std::wstring writes;
    GetMetrics(c.panel, s, f.platform, [&](Ctl box, const std::wstring& text) {
      const Ctl boxes[] = {Ctl::txtFileCountDestination,  Ctl::txtFolderCountDestination,
                           Ctl::txtFolderSizeDestination, Ctl::txtFileCountUser,
                           Ctl::txtFolderCountUser,       Ctl::txtFolderSizeUser,
                           Ctl::txtFileCountSpecific,     Ctl::txtFolderCountSpecific,
                           Ctl::txtFolderSizeSpecific};
      size_t i = std::find(std::begin(boxes), std::end(boxes), box) - std::begin(boxes);
      writes += std::wstring(L"fnb").substr(i % 3, 1) + L"DUS?"[i / 3] + L"=" + text + L" ";
    });
    EXPECT_EQ(writes, c.writes) << "field " << c.field;
    EXPECT_EQ(f.dialogs.busy, "+-");
  }
  fake::FakePlatform f;
  f.fs.AddFile(L"C:\\D\\a", 1234567);
  f.sys.thousandsSeparator = L"\u00a0";
  BackupSettings s;
  s.txtDefaultPath = L"C:\\D";
  std::wstring size;
  auto write = [&](Ctl box, const std::wstring& text) {
    if (box == Ctl::txtFolderSizeDestination) size = text;
    if (!size.empty()) throw 1;  // the window went away: the pointer is still put back
  };
  EXPECT_THROW(GetMetrics(Panel::Destination, s, f.platform, write), int);
  EXPECT_EQ(size, L"1\u00a0234\u00a0567");
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

struct Recorder : BrowseUsersView, BrowseUsersHost {
  std::string calls;
  std::wstring pick;
  std::unique_ptr<BrowseUsers> window;  // destroyed on close, as the real one is

  void ListChanged() override { calls += "list "; }
  void CloseBrowseUsers() override {
    calls += "close ";
    window.reset();
  }
  void ActivateMainWindow() override { calls += "activate "; }
  void Reset2() override {
    calls += "reset2";
    pick = SelectedUserName;
  }
};

TEST(BrowseUsers, PickHandsOverTheTrimmedNameThenClosesActivatesAndResets) {
  const struct {
    int select;
    bool doubleClick;
    std::wstring pick;
  } cases[] = {{2, false, L"Jsmith"}, {2, true, L"Jsmith"}, {0, false, L"Spaced"},
               {-1, false, L""},      {3, false, L""},      {1, true, L"Ann"}};
  for (const auto& c : cases) {
    fake::FakePlatform p;
    p.sys.windowsDirectory = L"D:\\WINDOWS";
    p.fs.AddFolder(L"D:\\Users\\ Spaced ");
    p.fs.AddFolder(L"D:\\Users\\jsmith");
    Recorder r;
    r.window = std::make_unique<BrowseUsers>(p.platform, r, r);
    r.window->Form_Load();
    r.window->SelectUser(1);
    p.fs.AddFolder(L"D:\\Users\\ann");
    r.window->Form_Load();  // a fresh list drops the selection
    EXPECT_EQ(r.window->Selected(), -1);
    EXPECT_EQ(r.window->Users().size(), 3u);
    r.window->SelectUser(c.select);
    c.doubleClick ? r.window->lstUsers_DblClick() : r.window->cmdUsers_Click();
    EXPECT_EQ(r.calls, "list list close activate reset2");
    EXPECT_EQ(r.pick, c.pick) << c.select;
    SelectedUserName.clear();
  }
}

}  // namespace
}  // namespace tessel
