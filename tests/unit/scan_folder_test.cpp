// The folder walk's figure rules on the in-memory drive: what counts, what is left out, and what
// a link, a vanishing folder or a missing root does to the figures.
#include <gtest/gtest.h>

#include <tuple>

#include "fake_platform.h"
#include "metrics/folder_scan.h"

namespace tessel {
namespace {

// Below C:\Root: "name=size" a file, "name\" a folder, "name>" a symbolic link to C:\Root,
// "name~" a folder that is a cloud placeholder (a reparse point with content), "name#" a folder
// that cannot be listed.
void Build(fake::FakeFileSystem& fs, const std::vector<std::wstring>& tree) {
  fs.AddFolder(L"C:\\Root");
  for (const std::wstring& item : tree) {
    size_t mark = item.find_first_of(L"=\\>~#", item.rfind(L'\\', item.size() - 2) + 1);
    std::wstring path = L"C:\\Root\\" + item.substr(0, mark);
    wchar_t kind = item[mark];
    if (kind == L'=') fs.AddFile(path, std::stoull(item.substr(mark + 1)));
    if (kind == L'\\') fs.AddFolder(path);
    if (kind == L'>') fs.AddLink(path, L"C:\\Root"), fs.SetReparseTag(path, 0xA000000C);
    if (kind == L'~') fs.AddFolder(path, kAttrReparsePoint), fs.SetReparseTag(path, 0x9000001A);
    if (kind == L'#') fs.SetUnlistable(path);
  }
}

TEST(ScanFolder, FigureRules) {
  const std::vector<std::wstring> twoSubfolders = {L"A\\1=10", L"A\\I\\", L"B\\2=20", L"B\\I\\"};
  struct Case {
    const char* what;
    std::vector<std::wstring> tree;
    bool recurse;
    FolderFigures expected;
    int listings;  // each entered folder once, never through a link
    const wchar_t* root = L"C:\\Root\\";
    bool vanish = false;  // the root's subfolders are deleted once the root was listed
    int stopAfter = -1;   // the stop check says yes from this question on: no figures
  };
  const Case cases[] = {
      {"not recursing", twoSubfolders, false, {0, 0, 2}, 1},
      {"recursing", twoSubfolders, true, {2, 30, 4}, 5},
      {"root without a trailing backslash", twoSubfolders, true, {2, 30, 4}, 5, L"C:\\Root"},
      // sizes past 32 bits, and a zero-byte file that counts
      {"big", {L"a=5368709120", L"S\\b=4294967297", L"S\\e=0"}, true, {3, 9663676417, 1}, 2},
      // dot-named folders count, but no file at or below a dot name does
      {"dots", {L".p=1", L".git\\o\\a\\o=2", L"src\\m=7", L"src\\.h\\x=9"}, true, {1, 7, 5}, 6},
      {"links count as folders, never entered", {L"A\\f=5", L"A\\Up>", L"Up>"}, true, {1, 5, 3}, 2},
      {"unlistable folders count", {L"L\\s=5", L"L#", L"O\\b=7"}, true, {1, 7, 2}, 3},
      {"a cloud placeholder is entered", {L"Synced~", L"Synced\\doc=12"}, true, {1, 12, 1}, 2},
      {"subfolders that vanish", twoSubfolders, true, {0, 0, 2}, 3, L"C:\\Root\\", true},
      {"missing root", {}, true, {0, 0, 0}, 1, L"C:\\Nowhere\\"},
      // Asked before each batch: the root, then A and B, then their subfolders.
      {"stopped before anything is listed", twoSubfolders, true, {}, 0, L"C:\\Root", false, 0},
      {"stopped before the last batch", twoSubfolders, true, {}, 3, L"C:\\Root", false, 2},
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
    int asked = 0;
    std::optional<FolderFigures> got = ScanFolder(
        fs, c.root, c.recurse, [&] { return c.stopAfter >= 0 && asked++ >= c.stopAfter; });
    EXPECT_EQ(fs.ListCalls(), c.listings);
    auto figures = [](std::optional<FolderFigures> f) {  // none for a walk cut short
      return f ? std::optional(std::tuple(f->files, f->bytes, f->folders)) : std::nullopt;
    };
    EXPECT_EQ(figures(got), figures(c.stopAfter >= 0 ? std::nullopt : std::optional(c.expected)));
  }
}

}  // namespace
}  // namespace tessel
