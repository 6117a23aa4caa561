// The folder walk's three figures on the in-memory drive: what counts, what is left out, and
// what a link, an unlistable folder or a missing root does to them.
#include <gtest/gtest.h>

#include <functional>

#include "fake_platform.h"
#include "metrics/folder_scan.h"

namespace tessel {
namespace {

using fake::FakeFileSystem;

constexpr uint64_t kGiB = 1024ull * 1024 * 1024;
constexpr uint32_t kCloudPlaceholderTag = 0x9000001A;  // no name-surrogate bit: real content

struct ScanCase {
  const char* what;
  std::function<void(FakeFileSystem&)> build;  // builds below C:\Root
  bool recurse;
  FolderFigures expected;
  const wchar_t* root = L"C:\\Root\\";
};

void TwoSubfoldersEachWithFileAndSubfolder(FakeFileSystem& fs) {
  fs.AddFile(L"C:\\Root\\A\\one.txt", 10);
  fs.AddFolder(L"C:\\Root\\A\\Inner");
  fs.AddFile(L"C:\\Root\\B\\two.txt", 20);
  fs.AddFolder(L"C:\\Root\\B\\Inner");
}

TEST(ScanFolder, FiguresOfEachKindOfTree) {
  const ScanCase cases[] = {
      {"empty root, recursing", [](FakeFileSystem&) {}, true, {0, 0, 0}},
      {"empty root, not recursing", [](FakeFileSystem&) {}, false, {0, 0, 0}},
      {"three files, one of zero bytes, and no folders",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\a.txt", 0);
         fs.AddFile(L"C:\\Root\\b.txt", 20);
         fs.AddFile(L"C:\\Root\\c.txt", 300);
       },
       true,
       {3, 320, 0}},
      {"two subfolders, not recursing", TwoSubfoldersEachWithFileAndSubfolder, false, {0, 0, 2}},
      {"two subfolders, recursing", TwoSubfoldersEachWithFileAndSubfolder, true, {2, 30, 4}},
      {"5 GiB file",
       [](FakeFileSystem& fs) { fs.AddFile(L"C:\\Root\\big.vhd", 5 * kGiB); },
       true,
       {1, 5368709120ull, 0}},
      {"sizes summed past 32 bits",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\a.bin", 3 * kGiB);
         fs.AddFile(L"C:\\Root\\Sub\\b.bin", 3 * kGiB);
         fs.AddFile(L"C:\\Root\\Sub\\c.bin", 3 * kGiB + 1);
       },
       true,
       {3, 9 * kGiB + 1, 1}},
      {"dot-named file",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\.profile", 100);
         fs.AddFile(L"C:\\Root\\notes.txt", 5);
       },
       true,
       {1, 5, 0}},
      {"dot-named folder holding two files",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\.cache\\x.bin", 100);
         fs.AddFile(L"C:\\Root\\.cache\\y.bin", 200);
       },
       true,
       {0, 0, 1}},
      {"folders below a dot-named folder count, their files do not",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\.git\\objects\\ab\\obj", 100);
         fs.AddFile(L"C:\\Root\\.git\\HEAD", 20);
         fs.AddFile(L"C:\\Root\\src\\main.cpp", 7);
         fs.AddFile(L"C:\\Root\\src\\.hidden\\x", 9);
       },
       true,
       {1, 7, 5}},
      {"hidden, system and read-only files count",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\h", 1, kAttrHidden);
         fs.AddFile(L"C:\\Root\\s", 2, kAttrSystem | kAttrHidden);
         fs.AddFile(L"C:\\Root\\r", 4, kAttrReadOnly);
         fs.AddFolder(L"C:\\Root\\HiddenFolder", kAttrDirectory | kAttrHidden);
         fs.AddFile(L"C:\\Root\\HiddenFolder\\f", 8);
       },
       true,
       {4, 15, 1}},
      {"link to an ancestor counts as a folder and is not entered",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\A\\f.txt", 5);
         fs.AddLink(L"C:\\Root\\A\\Up", L"C:\\Root");
       },
       true,
       {1, 5, 2}},
      {"link to a folder elsewhere adds none of its files",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Other\\big.bin", 5 * kGiB);
         fs.AddFolder(L"C:\\Root");
         fs.AddLink(L"C:\\Root\\Elsewhere", L"C:\\Other");
         fs.SetReparseTag(L"C:\\Root\\Elsewhere", 0xA0000003);  // mount point
       },
       true,
       {0, 0, 1}},
      {"cloud placeholder folder is entered",
       [](FakeFileSystem& fs) {
         fs.AddFolder(L"C:\\Root\\Synced", kAttrDirectory | kAttrReparsePoint);
         fs.SetReparseTag(L"C:\\Root\\Synced", kCloudPlaceholderTag);
         fs.AddFile(L"C:\\Root\\Synced\\doc.txt", 12);
       },
       true,
       {1, 12, 1}},
      {"unlistable subfolder adds nothing, its siblings still count",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"C:\\Root\\Locked\\secret.txt", 50);
         fs.AddFolder(L"C:\\Root\\Locked\\Inner");
         fs.SetUnlistable(L"C:\\Root\\Locked");
         fs.AddFile(L"C:\\Root\\Open\\f.txt", 3);
       },
       true,
       {1, 3, 2}},
      {"missing root", [](FakeFileSystem&) {}, true, {0, 0, 0}, L"C:\\Nowhere\\"},
      {"root without a trailing backslash",
       [](FakeFileSystem& fs) { fs.AddFile(L"C:\\Root\\Sub\\f.txt", 3); },
       true,
       {1, 3, 1},
       L"C:\\Root"},
  };
  for (const ScanCase& c : cases) {
    FakeFileSystem fs;
    fs.AddDrive(L'C');
    c.build(fs);
    FolderFigures got = ScanFolder(fs, c.root, c.recurse);
    EXPECT_EQ(got.files, c.expected.files) << c.what << ": files";
    EXPECT_EQ(got.bytes, c.expected.bytes) << c.what << ": bytes";
    EXPECT_EQ(got.folders, c.expected.folders) << c.what << ": folders";
  }
}

TEST(ScanFolder, ListsEachEnteredFolderOnce) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\Root\\A\\B\\C\\f", 1);
  fs.AddFile(L"C:\\Root\\.dot\\D\\g", 1);
  fs.AddFolder(L"C:\\Root\\E");
  fs.AddLink(L"C:\\Root\\E\\Loop", L"C:\\Root");
  ScanFolder(fs, L"C:\\Root\\", true);
  // Root, A, B, C, .dot, D and E: one walk, not one per figure, and never through the link.
  EXPECT_EQ(fs.ListCalls(), 7);
}

}  // namespace
}  // namespace tessel
