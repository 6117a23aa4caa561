// Browse for Users: loading the list and handing a pick over to the main window.
#include <gtest/gtest.h>

#include <memory>

#include "core/backup_settings.h"
#include "fake_platform.h"
#include "profiles/browse_users.h"

namespace tessel {
namespace {

struct Recorder : BrowseUsersView, BrowseUsersHost {
  std::vector<std::string> calls;
  std::wstring pickSeenByReset2;
  std::unique_ptr<BrowseUsers> owned;  // destroyed on close, as the real window is

  void ListChanged() override { calls.push_back("list"); }
  void CloseBrowseUsers() override {
    calls.push_back("close");
    owned.reset();
  }
  void ActivateMainWindow() override { calls.push_back("activate"); }
  void Reset2() override {
    calls.push_back("reset2");
    pickSeenByReset2 = SelectedUserName;
  }
};

class BrowseUsersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SelectedUserName.clear();
    p.sys.windowsDirectory = L"D:\\WINDOWS";
    p.fs.AddFolder(L"D:\\Users\\ Spaced ");
    p.fs.AddFolder(L"D:\\Users\\jsmith");
    p.fs.AddFolder(L"D:\\Users\\All Users");
    rec.owned = std::make_unique<BrowseUsers>(p.platform, rec, rec);
    rec.owned->Form_Load();
    rec.calls.clear();
  }
  void TearDown() override { SelectedUserName.clear(); }

  fake::FakePlatform p;
  Recorder rec;
};

TEST_F(BrowseUsersTest, LoadListsTheSystemDrivesProfiles) {
  EXPECT_EQ(rec.owned->Users(), (std::vector<std::wstring>{L" Spaced ", L"Jsmith"}));
  EXPECT_EQ(rec.owned->Selected(), -1);
}

TEST_F(BrowseUsersTest, PickHandsOverTheTrimmedNameThenClosesActivatesAndResets) {
  const struct {
    const char* name;
    int select;
    bool doubleClick;
    std::wstring expected;
  } cases[] = {
      {"Get User", 1, false, L"Jsmith"},
      {"double click", 1, true, L"Jsmith"},
      {"blanks trimmed", 0, false, L"Spaced"},
      {"nothing selected", -1, false, L""},
      {"selection out of range ignored", 7, false, L""},
  };
  for (const auto& c : cases) {
    SetUp();
    rec.owned->SelectUser(c.select);
    BrowseUsers* presenter = rec.owned.get();
    if (c.doubleClick) {
      presenter->lstUsers_DblClick();
    } else {
      presenter->cmdUsers_Click();
    }
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"close", "activate", "reset2"})) << c.name;
    EXPECT_EQ(rec.pickSeenByReset2, c.expected) << c.name;
    EXPECT_EQ(rec.owned, nullptr) << c.name;
  }
}

TEST_F(BrowseUsersTest, ReloadReplacesTheListAndDropsTheSelection) {
  rec.owned->SelectUser(1);
  p.fs.AddFolder(L"D:\\Users\\ann");
  rec.owned->Form_Load();
  EXPECT_EQ(rec.owned->Users(), (std::vector<std::wstring>{L" Spaced ", L"Ann", L"Jsmith"}));
  EXPECT_EQ(rec.owned->Selected(), -1);
  EXPECT_EQ(rec.calls, std::vector<std::string>{"list"});
}

}  // namespace
}  // namespace tessel
