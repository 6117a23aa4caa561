// Folder listings and the metrics walk on a real file system: long paths, names outside the code
// page, sizes past 32 bits, links not entered, a folder that cannot be listed, the roots a user may
// type, and batches listed on threads with buffers small enough that folders take many reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "metrics/folder_scan.h"
#include "test_folder.h"

namespace tessel {
namespace {

using wintest::TestFolder;

// One tree for all: long names outside the code page past MAX_PATH, 5 GiB, dot names, a hidden
// system file, names of every length (so that reads end at every offset), a link back to the
// root and a folder that a test may hold open.
class Listing : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new TestFolder;
    dir->MakeFolder(deep = L"\u65e5\u672c\u8a9e\\");
    for (wchar_t letter = L'a'; letter <= L'e'; ++letter) {
      dir->MakeFolder(deep += std::wstring(60, letter) + L"\\");
    }
    dir->MakeFile(deep + L"\u0444\U0001F600.txt", "1234567");
    wintest::RunUnix("/usr/bin/truncate -s 5G", {*dir / L"big.vhd"}, false);  // sparse: no disk
    dir->MakeFile(L".profile", "x");
    dir->MakeFolder(L".cache");
    dir->MakeFile(L".cache\\x.bin", "xy");
    dir->MakeFile(L"hidden.txt", "abc");
    SetFileAttributesW((*dir / L"hidden.txt").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    dir->MakeFolder(L"Wide");
    for (int i = 1; i <= 250; i += 3) dir->MakeFile(L"Wide\\" + std::wstring(i, L'w'), "z");
    dir->MakeFolder(L"Locked");
    dir->MakeFile(L"Locked\\secret.txt", "12345");
    // Wine 8 makes no link for Windows programs (CreateSymbolicLinkW makes nothing): Unix does.
    wintest::RunUnix("/bin/ln -s", {dir->Path(), *dir / deep + L"up"}, false);
  }
  static void TearDownTestSuite() { delete dir; }
  static inline TestFolder* dir = nullptr;
  static inline std::wstring deep;  // the deepest folder, relative
};

TEST_F(Listing, WalkCountsWhatTheFileSystemHoldsFromAnyRootWhateverTheListingOptions) {
  const FolderFigures expected{1 + 1 + 1 + 84, 7 + (5ull << 30) + 3 + 84, 1 + 5 + 1 + 1 + 1 + 1};
  // Open elsewhere without sharing, like a folder this account may not read: it cannot be listed.
  win32::UniqueHandle lock(CreateFileW((*dir / L"Locked").c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(lock.Valid());
  std::wstring slashes = *dir / L"Wide";
  std::replace(slashes.begin(), slashes.end(), L'\\', L'/');
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir->Path());  // for the relative roots a user may type
  const std::pair<const char*, win32::ListingOptions> listings[] = {
      {"as the program lists", win32::DefaultListingOptions()},
      {"one folder after the other, read to the end", {0, 64 * 1024, false}},
      {"three threads, small buffers", {3, win32::kMinListingBuffer, true}},
  };
  for (const auto& [what, options] : listings) {
    SCOPED_TRACE(what);
    win32::Win32FileSystem fs(options);
    FolderFigures got = ScanFolder(fs, dir->Path(), true).value();
    EXPECT_EQ(std::tie(got.files, got.bytes, got.folders),
              std::tie(expected.files, expected.bytes, expected.folders));
    EXPECT_EQ(ScanFolder(fs, *dir / deep, true)->folders, 1u)
        << "a long root, its link not entered";
    for (const std::wstring& root : {*dir / L"Wide\\..\\.\\Wide\\", slashes, std::wstring(L"Wide"),
                                     std::wstring(L".\\.cache\\..\\Wide")}) {
      EXPECT_EQ(ScanFolder(fs, root, true)->bytes, 84u) << win32::WideToUtf8(root);
    }
  }
  std::filesystem::current_path(previous);
}

// The stop check is asked while the calling thread waits; a batch it ends leaves nothing behind
// that the next batch would see. Each folder's entries reach the sink on the calling thread.
TEST_F(Listing, BatchStopsEarlyThenHandsEachFolderItsEntriesOnTheCallingThread) {
  const std::vector<std::wstring> folders = {
      *dir / L"Wide",   *dir / L"Missing\\", *dir / L"big.vhd", *dir / L"Locked\\",
      *dir / L".cache", *dir / deep,         *dir / L"Wide"};
  win32::Win32FileSystem fs({3, win32::kMinListingBuffer, true});
  int asked = 0;
  size_t seen = 0;
  auto slowSink = [&](size_t, const DirEntry&) {
    if (seen++ == 0) Sleep(50);  // the threads fill every buffer meanwhile
  };
  EXPECT_FALSE(fs.ListFolders(folders, slowSink, [&] { return ++asked > 0; }));
  EXPECT_EQ(asked, 1);
  EXPECT_LT(seen, 84u) << "entries handed over after the stop";
  std::vector<std::set<std::wstring>> got(folders.size());
  std::vector<size_t> counts(folders.size());
  DWORD caller = GetCurrentThreadId();
  bool elsewhere = false;
  EXPECT_TRUE(fs.ListFolders(folders,
                             [&](size_t index, const DirEntry& entry) {
                               got[index].emplace(entry.name), ++counts[index];
                               elsewhere = elsewhere || GetCurrentThreadId() != caller;
                             },
                             {}));
  EXPECT_EQ(counts, (std::vector<size_t>{84, 0, 0, 1, 1, 2, 84})) << "a folder missing, or a file";
  EXPECT_EQ(got[3], std::set<std::wstring>{L"secret.txt"}) << "listed when no one holds it";
  EXPECT_FALSE(elsewhere) << "entries reached the sink on another thread";
  EXPECT_FALSE(fs.ListFolder(*dir / L"Missing", [](auto&) {}));
}

}  // namespace
}  // namespace tessel
