// A metrics panel refresh as the window sees it: which folder each panel scans, the order in which
// its boxes are written, the Recurse box values and the busy pointer.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/backup_settings.h"
#include "fake_platform.h"
#include "metrics/metrics.h"
#include "metrics/panel_source.h"

namespace tessel {
namespace {

using Write = std::pair<Ctl, std::wstring>;

struct Refresh {
  fake::FakePlatform fake;
  BackupSettings settings;
  std::vector<Write> writes;

  std::vector<Write> Run(Panel panel) {
    writes.clear();
    GetMetrics(panel, settings, fake.platform,
               [this](Ctl box, const std::wstring& text) { writes.emplace_back(box, text); });
    return writes;
  }
};

struct RootCase {
  Panel panel;
  const wchar_t* field;  // txtDefaultPath, txtSpecificUserFiles or TxtSrc
  std::optional<std::wstring> root;
};

TEST(PanelRoot, ComesFromThePanelsOwnField) {
  const RootCase cases[] = {
      {Panel::Destination, L"D:\\Backups", L"D:\\Backups\\"},
      {Panel::Destination, L"D:\\Backups\\", L"D:\\Backups\\"},
      {Panel::Destination, L"", L"\\"},
      {Panel::User, L"C:\\Users\\Jsmith\\Documents\\*.*", L"C:\\Users\\Jsmith\\Documents\\"},
      {Panel::User, L"C:\\USers\\Jsmith\\Documents\\*.*", L"C:\\USers\\Jsmith\\Documents\\"},
      {Panel::User, L":\\Users\\Jsmith\\Documents\\*.*", L":\\Users\\Jsmith\\Documents\\"},
      {Panel::User, L"", std::nullopt},
      {Panel::User, L"*.", std::nullopt},
      {Panel::User, L"*.*", std::nullopt},
      {Panel::Specific, L"E:\\Data", L"E:\\Data\\"},
      {Panel::Specific, L"E:\\", L"E:\\"},
      {Panel::Specific, L"", L"\\"},
  };
  for (const RootCase& c : cases) {
    BackupSettings s;
    s.txtDefaultPath = s.txtSpecificUserFiles = s.TxtSrc = L"X:\\wrong field\\*.*";
    if (c.panel == Panel::Destination) s.txtDefaultPath = c.field;
    if (c.panel == Panel::User) s.txtSpecificUserFiles = c.field;
    if (c.panel == Panel::Specific) s.TxtSrc = c.field;
    EXPECT_EQ(PanelRoot(c.panel, s), c.root) << "field '" << c.field << "'";
  }
}

TEST(GetMetrics, BlanksTheBoxesThenWritesFilesSizeAndFolders) {
  Refresh r;
  r.fake.fs.AddFile(L"C:\\Backup Zips\\Photos-2011.zip", 1000);
  r.fake.fs.AddFile(L"C:\\Backup Zips\\Docs-2011.zip", 2500);
  r.settings.txtDefaultPath = L"C:\\Backup Zips";
  std::vector<Write> expected = {
      {Ctl::txtFileCountDestination, L""},       {Ctl::txtFolderCountDestination, L""},
      {Ctl::txtFolderSizeDestination, L""},      {Ctl::txtFileCountDestination, L"2"},
      {Ctl::txtFolderSizeDestination, L"3,500"}, {Ctl::txtFolderCountDestination, L"0"},
  };
  EXPECT_EQ(r.Run(Panel::Destination), expected);
  EXPECT_EQ(r.fake.dialogs.busyChanges, (std::vector<bool>{true, false}));
}

TEST(GetMetrics, EachPanelScansItsFolderIntoItsBoxes) {
  Refresh r;
  r.fake.fs.AddDrive(L'E');
  r.fake.fs.AddFile(L"C:\\Backup Zips\\a.zip", 1);
  r.fake.fs.AddFile(L"C:\\Users\\Jsmith\\Documents\\a.doc", 1);
  r.fake.fs.AddFile(L"C:\\Users\\Jsmith\\Documents\\Letters\\b.doc", 1);
  r.fake.fs.AddFile(L"E:\\Data\\x", 1);
  r.fake.fs.AddFile(L"E:\\Data\\y", 1);
  r.fake.fs.AddFile(L"E:\\Data\\z", 1);
  r.settings.txtDefaultPath = L"C:\\Backup Zips\\";
  r.settings.txtSpecificUserFiles = L"C:\\Users\\Jsmith\\Documents\\*.*";
  r.settings.TxtSrc = L"E:\\Data";
  struct {
    Panel panel;
    Ctl fileBox, folderBox, sizeBox;
    const wchar_t *files, *folders;
  } const cases[] = {
      {Panel::Destination, Ctl::txtFileCountDestination, Ctl::txtFolderCountDestination,
       Ctl::txtFolderSizeDestination, L"1", L"0"},
      {Panel::User, Ctl::txtFileCountUser, Ctl::txtFolderCountUser, Ctl::txtFolderSizeUser, L"2",
       L"1"},
      {Panel::Specific, Ctl::txtFileCountSpecific, Ctl::txtFolderCountSpecific,
       Ctl::txtFolderSizeSpecific, L"3", L"0"},
  };
  for (const auto& c : cases) {
    std::vector<Write> expected = {
        {c.fileBox, L""},     {c.folderBox, L""},   {c.sizeBox, L""},
        {c.fileBox, c.files}, {c.sizeBox, c.files}, {c.folderBox, c.folders},
    };
    EXPECT_EQ(r.Run(c.panel), expected) << "panel " << static_cast<int>(c.panel);
  }
}

TEST(GetMetrics, OnlyACheckedRecurseBoxDescends) {
  const std::pair<int, const wchar_t*> cases[] = {
      {kChecked, L"2"}, {kUnchecked, L"0"}, {kGrayed, L"0"}};
  for (const auto& [value, files] : cases) {
    Refresh r;
    r.fake.fs.AddFile(L"C:\\Src\\A\\one", 1);
    r.fake.fs.AddFile(L"C:\\Src\\B\\two", 1);
    r.settings.TxtSrc = L"C:\\Src";
    r.settings.chkRecurseSpecific = value;
    std::vector<Write> writes = r.Run(Panel::Specific);
    ASSERT_EQ(writes.size(), 6u);
    EXPECT_EQ(writes[3].second, files) << "Recurse value " << value;
    EXPECT_EQ(writes[5].second, L"2") << "Recurse value " << value;
  }
}

TEST(GetMetrics, UserPanelWithoutUserStaysBlankWithoutScanning) {
  Refresh r;
  r.fake.fs.AddFile(L"C:\\somewhere.txt", 1);
  r.settings.txtUsers = L"";
  r.settings.txtSpecificUserFiles = L"";
  std::vector<Write> expected = {
      {Ctl::txtFileCountUser, L""}, {Ctl::txtFolderCountUser, L""}, {Ctl::txtFolderSizeUser, L""}};
  EXPECT_EQ(r.Run(Panel::User), expected);
  EXPECT_EQ(r.fake.fs.ListCalls(), 0);
  EXPECT_EQ(r.fake.dialogs.busyChanges, (std::vector<bool>{true, false}));
}

TEST(GetMetrics, MissingFolderShowsZerosAndLocaleSeparatorIsUsed) {
  Refresh r;
  r.settings.txtDefaultPath = L"C:\\No such folder";
  std::vector<std::wstring> texts;
  for (const Write& w : r.Run(Panel::Destination)) texts.push_back(w.second);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"", L"", L"", L"0", L"0", L"0"}));

  r.fake.sys.thousandsSeparator = L".";
  r.fake.fs.AddFile(L"C:\\Big\\disk.img", 12345678901ull);
  r.settings.txtDefaultPath = L"C:\\Big";
  EXPECT_EQ(r.Run(Panel::Destination)[4].second, L"12.345.678.901");
}

TEST(GetMetrics, BusyPointerGoesOffWhenTheWriterFails) {
  fake::FakePlatform fake;
  BackupSettings settings;
  settings.txtDefaultPath = L"C:\\";
  auto failing = [](Ctl, const std::wstring&) { throw std::runtime_error("window gone"); };
  EXPECT_THROW(GetMetrics(Panel::Destination, settings, fake.platform, failing),
               std::runtime_error);
  EXPECT_EQ(fake.dialogs.busyChanges, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace tessel
