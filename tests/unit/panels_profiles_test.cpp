// The metrics panels (which folder, which boxes in which order, the Recurse values, the busy
// pointer), the profile listing and the Browse for Users hand-over.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "core/backup_settings.h"
#include "fake_platform.h"
#include "metrics/metrics.h"
#include "profiles/browse_users.h"
#include "profiles/profile_listing.h"

namespace tessel {
namespace {

// Each panel descends only where its Recurse box is checked (1), not grayed (2) or clear (0), and
// groups digits in threes with the locale's separator, whatever it is.
TEST(GetMetrics, RecurseValuesAndDigitGrouping) {
  struct {
    const char* name;
    Panel panel;
    int recurse;
    uint64_t size;  // of the file at the top; one byte more lies one folder down
    const wchar_t* separator;
    std::vector<std::wstring> figures;  // files, bytes, folders in the order written
  } const cases[] = {
      {"grayed", Panel::Destination, kGrayed, 999, L".", {L"1", L"999", L"1"}},
      {"clear", Panel::User, kUnchecked, 1000, L"\u00a0", {L"1", L"1\u00a0000", L"1"}},
      {"checked", Panel::Specific, kChecked, 12345678900, L"'", {L"2", L"12'345'678'901", L"1"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakePlatform p;
    p.fs.AddFile(L"E:\\Data\\top", c.size);
    p.fs.AddFile(L"E:\\Data\\Sub\\down", 1);
    p.sys.thousandsSeparator = c.separator;
    BackupSettings s;
    s.txtDefaultPath = s.TxtSrc = L"E:\\Data";
    s.txtSpecificUserFiles = L"E:\\Data\\*.*";
    int* boxes[] = {&s.chkRecurseDestination, &s.chkRecurseUser, &s.chkRecurseSpecific};
    *boxes[static_cast<int>(c.panel)] = c.recurse;
    std::vector<std::wstring> written;
    GetMetrics(c.panel, s, p.platform, [&](Ctl, const std::wstring& text) {
      if (!text.empty()) written.push_back(text);
    });
    EXPECT_EQ(written, c.figures);
  }
}

// Sorted in the platform's order for the user's locale (the fake's: accented letters count as
// their base letter), not by character codes, which put "\u00c9" after "Z".
TEST(ListUserProfiles, FoldersProperCasedSortedForTheLocaleWithoutSystemNames) {
  fake::FakePlatform p;
  for (const wchar_t* name :
       {L"All Users", L"all users", L"DEFAULT USER", L"LocalService", L"NetworkService", L"Public",
        L"Default", L"zed", L"JSmith", L"john smith", L"bob", L"\u00e9mile"}) {
    p.fs.AddFolder(std::wstring(L"D:\\Users\\") + name, kAttrDirectory | kAttrHidden);
  }
  p.fs.AddFile(L"D:\\Users\\desktop.ini", 1, kAttrHidden | kAttrSystem);
  p.fs.AddFile(L"D:\\Users\\notes.txt", 1, kAttrNormal);
  p.fs.AddFile(L"D:\\Users\\readme", 1, kAttrReadOnly);
  std::vector<std::wstring> list = {L"left over"};
  ListUserProfiles(p.platform, L"D:\\Users", list);
  EXPECT_EQ(list,
            (std::vector<std::wstring>{L"Bob", L"Default", L"Desktop.ini", L"\u00c9mile",
                                       L"John Smith", L"Jsmith", L"Public", L"Readme", L"Zed"}));
  p.fs.SetUnlistable(L"D:\\Users");
  ListUserProfiles(p.platform, L"D:\\Users\\", list);
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
    SCOPED_TRACE("entry " + std::to_string(select) + (doubleClick ? ", double click" : ", OK"));
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
    EXPECT_EQ(host.window->Selected(), pick.empty() ? -1 : select);
    doubleClick ? host.window->lstUsers_DblClick() : host.window->cmdUsers_Click();
    EXPECT_EQ(host.log, L"list list close activate Reset2 " + pick);
    EXPECT_EQ(host.window, nullptr);
    SelectedUserName.clear();
  }
}

}  // namespace
}  // namespace tessel
