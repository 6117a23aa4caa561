// The folder walk's figure rules on the in-memory drive: what counts, what is left out, and what
// a link, an unlistable or vanishing folder or a missing root does to the figures.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "metrics/folder_scan.h"

namespace tessel {
namespace {

// Below C:\Root: "name=size" a file, "name\" a folder, "name>" a symbolic link to C:\Root,
// "name~" a folder that is a cloud placeholder (a reparse point with content), "name!" a folder
// that cannot be listed.
void Build(fake::FakeFileSystem& fs, const std::vector<std::wstring>& tree) {
  fs.AddFolder(L"C:\\Root");
  for (const std::wstring& item : tree) {
    size_t mark = item.find_first_of(L"=\\>~!", item.rfind(L'\\', item.size() - 2) + 1);
    std::wstring path = L"C:\\Root\\" + item.substr(0, mark);
    wchar_t kind = item[mark];
    if (kind == L'=') fs.AddFile(path, std::stoull(item.substr(mark + 1)));
    if (kind == L'\\' || kind == L'!') fs.AddFolder(path);
    if (kind == L'!') fs.SetUnlistable(path);
    if (kind == L'>') fs.AddLink(path, L"C:\\Root");
    if (kind == L'~') fs.AddFolder(path, kAttrDirectory | kAttrReparsePoint);
    if (kind == L'>' || kind == L'~')
      fs.SetReparseTag(path, kind == L'>' ? 0xA000000C : 0x9000001A);
  }
}

TEST(ScanFolder, FigureRules) {
  const std::vector<std::wstring> twoSubfolders = {L"A\\one=10", L"A\\In\\", L"B\\two=20",
                                                   L"B\\In\\"};
  struct Case {
    const char* what;
    std::vector<std::wstring> tree;
    bool recurse;
    FolderFigures expected;
    int listings;  // each entered folder once, never through a link
    const wchar_t* root = L"C:\\Root\\";
    bool vanish = false;  // the root's subfolders are deleted once the root was listed
  };
  const Case cases[] = {
      {"empty root", {}, true, {0, 0, 0}, 1},
      {"not recursing", twoSubfolders, false, {0, 0, 2}, 1},
      {"recursing", twoSubfolders, true, {2, 30, 4}, 5},
      {"root without a trailing backslash", twoSubfolders, true, {2, 30, 4}, 5, L"C:\\Root"},
      {"sizes past 32 bits, a zero-byte file",
       {L"a=5368709120", L"S\\b=4294967297", L"S\\empty=0"},
       true,
       {3, 9663676417, 1},
       2},
      {"dot-named files and folders: folders count, their files do not",
       {L".profile=1", L".git\\obj\\ab\\o=2", L"src\\main=7", L"src\\.h\\x=9"},
       true,
       {1, 7, 5},
       6},
      {"links count as folders and are not entered",
       {L"A\\f=5", L"A\\Up>", L"Up>"},
       true,
       {1, 5, 3},
       2},
      {"a cloud placeholder is entered", {L"Synced~", L"Synced\\doc=12"}, true, {1, 12, 1}, 2},
      {"an unlistable folder adds nothing",
       {L"Locked!", L"Locked\\s=50", L"Open\\f=3"},
       true,
       {1, 3, 2},
       3},
      {"subfolders that vanish during the walk",
       twoSubfolders,
       true,
       {0, 0, 2},
       3,
       L"C:\\Root\\",
       true},
      {"missing root", {}, true, {0, 0, 0}, 1, L"C:\\Nowhere\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake::FakeFileSystem fs;
    fs.AddDrive(L'C');
    Build(fs, c.tree);
    if (c.vanish) {
      fs.onList = [&fs](std::wstring_view folder) {
        if (!folder.ends_with(L"\\Root\\")) fs.Remove(L"C:\\Root");
      };
    }
    FolderFigures got = ScanFolder(fs, c.root, c.recurse);
    EXPECT_EQ(got.files, c.expected.files);
    EXPECT_EQ(got.bytes, c.expected.bytes);
    EXPECT_EQ(got.folders, c.expected.folders);
    EXPECT_EQ(fs.ListCalls(), c.listings);
  }
}

}  // namespace
}  // namespace tessel
