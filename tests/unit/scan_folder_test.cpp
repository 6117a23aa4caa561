// The folder walk's figure rules on the in-memory drive: what counts, what is left out, and what
// a link, an unlistable or vanishing folder or a missing root does to the figures.
#include <gtest/gtest.h>

#include <functional>

#include "fake_platform.h"
#include "metrics/folder_scan.h"

namespace tessel {
namespace {

using fake::FakeFileSystem;
constexpr uint64_t kGiB = 1ull << 30;

void TwoSubfolders(FakeFileSystem& fs) {  // each with one file and one sub-subfolder
  fs.AddFile(L"C:\\Root\\A\\one.txt", 10);
  fs.AddFolder(L"C:\\Root\\A\\Inner");
  fs.AddFile(L"C:\\Root\\B\\two.txt", 20);
  fs.AddFolder(L"C:\\Root\\B\\Inner");
}

TEST(ScanFolder, FigureRules) {
  struct Case {
    const char* what;
    std::function<void(FakeFileSystem&)> build;  // below C:\Root
    bool recurse;
    FolderFigures expected;
    int listings;  // folders listed: each entered folder once, never through a link
    const wchar_t* root = L"C:\\Root\\";
  };
  const Case cases[] = {
      {"empty root", [](FakeFileSystem& fs) { fs.AddFolder(L"C:\\Root"); }, true, {0, 0, 0}, 1},
      {"two subfolders, not recursing", TwoSubfolders, false, {0, 0, 2}, 1},
      {"two subfolders, recursing", TwoSubfolders, true, {2, 30, 4}, 5},
      {"sizes past 32 bits, a zero-byte file",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\a.vhd", 5 * kGiB);
         fs.AddFile(L"C:\\Root\\Sub\\b.bin", 4 * kGiB + 1);
         fs.AddFile(L"C:\\Root\\Sub\\empty", 0);
       },
       true,
       {3, 9 * kGiB + 1, 1},
       2},
      {"dot-named files and folders: folders count, their files do not",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\.profile", 100);
         fs.AddFile(L"C:\\Root\\.git\\objects\\ab\\obj", 100);
         fs.AddFile(L"C:\\Root\\src\\main.cpp", 7);
         fs.AddFile(L"C:\\Root\\src\\.hidden\\x", 9);
       },
       true,
       {1, 7, 5},
       6},
      {"hidden, system and read-only entries count",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\h", 1, kAttrHidden | kAttrSystem);
         fs.AddFile(L"C:\\Root\\r", 2, kAttrReadOnly);
         fs.AddFolder(L"C:\\Root\\Hidden", kAttrDirectory | kAttrHidden);
         fs.AddFile(L"C:\\Root\\Hidden\\f", 4);
       },
       true,
       {3, 7, 1},
       2},
      {"links to an ancestor and elsewhere count as folders, are not entered",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\A\\f.txt", 5);
         fs.AddLink(L"C:\\Root\\A\\Up", L"C:\\Root");
         fs.AddFile(L"C:\\Other\\big.bin", 5 * kGiB);
         fs.AddLink(L"C:\\Root\\Away", L"C:\\Other");
         fs.SetReparseTag(L"C:\\Root\\Away", 0xA0000003);  // mount point
       },
       true,
       {1, 5, 3},
       2},
      {"a reparse point with content of its own (cloud placeholder) is entered",
       [](FakeFileSystem& fs) {
         fs.AddFolder(L"C:\\Root\\Synced", kAttrDirectory | kAttrReparsePoint);
         fs.SetReparseTag(L"C:\\Root\\Synced", 0x9000001A);
         fs.AddFile(L"C:\\Root\\Synced\\doc.txt", 12);
       },
       true,
       {1, 12, 1},
       2},
      {"an unlistable subfolder adds nothing, its siblings still count",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\Locked\\secret.txt", 50);
         fs.SetUnlistable(L"C:\\Root\\Locked");
         fs.AddFile(L"C:\\Root\\Open\\f.txt", 3);
       },
       true,
       {1, 3, 2},
       3},
      {"subfolders deleted once the root was listed",
       [](FakeFileSystem& fs) {
         TwoSubfolders(fs);
         fs.onList = [&fs](std::wstring_view folder) {
           if (!folder.ends_with(L"\\Root\\")) fs.Remove(L"C:\\Root");
         };
       },
       true,
       {0, 0, 2},
       3},
      {"missing root", [](FakeFileSystem&) {}, true, {0, 0, 0}, 1, L"C:\\Nowhere\\"},
      {"root without a trailing backslash", TwoSubfolders, true, {2, 30, 4}, 5, L"C:\\Root"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFileSystem fs;
    fs.AddDrive(L'C');
    c.build(fs);
    FolderFigures got = ScanFolder(fs, c.root, c.recurse);
    EXPECT_EQ(got.files, c.expected.files);
    EXPECT_EQ(got.bytes, c.expected.bytes);
    EXPECT_EQ(got.folders, c.expected.folders);
    EXPECT_EQ(fs.ListCalls(), c.listings);
  }
}

}  // namespace
}  // namespace tessel
