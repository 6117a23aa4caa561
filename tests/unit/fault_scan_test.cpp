// The destination panel over hostile trees, as the window shows it: link loops, a folder that
// cannot be listed or vanishes during the walk, deep paths, names outside the code page, sizes
// past 32 bits and 200,000 entries. Every refresh ends, and shows what could be counted.
#include "main_window_harness.h"

namespace tessel::testing {
namespace {

using fake::FakeFileSystem;

struct Shown {
  std::wstring files, folders, bytes;
  bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s) {
  std::string text;
  for (wchar_t c : s.files + L" files, " + s.folders + L" folders, " + s.bytes + L" bytes") {
    text += static_cast<char>(c < 128 ? c : '?');
  }
  return out << text;
}

void TwoSubfolders(FakeFileSystem& fs) {
  fs.AddFile(L"D:\\Dest\\a\\x.txt", 1);
  fs.AddFile(L"D:\\Dest\\b\\y.txt", 2);
}

TEST(FaultScan, DestinationPanelOverHostileTrees) {
  std::wstring deep = L"D:\\Dest";
  for (int i = 0; i < 30; ++i) deep += L"\\level-" + std::to_wstring(i);
  struct Case {
    const char* name;
    std::function<void(FakeFileSystem&)> build;  // below D:\Dest, which holds one file of 10
    Shown shown;
    // Changes the tree as each listing begins, during one refresh after start-up.
    std::function<void(FakeFileSystem&, std::wstring_view folder)> duringWalk = nullptr;
  };
  const Case cases[] = {
      {"junction back to the destination",
       [](FakeFileSystem& fs) { fs.AddLink(L"D:\\Dest\\a\\loop", L"D:\\Dest"); },
       {L"1", L"2", L"10"}},
      {"symbolic link to the drive root",
       [](FakeFileSystem& fs) { fs.AddLink(L"D:\\Dest\\up", L"D:\\"); },
       {L"1", L"1", L"10"}},
      {"unreadable subfolder",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"D:\\Dest\\locked\\secret.txt", 5);
         fs.SetUnlistable(L"D:\\Dest\\locked");
         fs.AddFile(L"D:\\Dest\\open\\b.txt", 7);
       },
       {L"2", L"2", L"17"}},
      {"subfolders deleted after the destination was listed",
       TwoSubfolders,
       {L"1", L"2", L"10"},
       [](FakeFileSystem& fs, std::wstring_view folder) {
         if (folder.ends_with(L"\\Dest\\")) return;
         fs.Remove(L"D:\\Dest\\a");
         fs.Remove(L"D:\\Dest\\b");
       }},
      {"destination deleted during the walk",
       TwoSubfolders,
       {L"1", L"2", L"10"},
       [](FakeFileSystem& fs, std::wstring_view folder) {
         if (!folder.ends_with(L"\\Dest\\")) fs.Remove(L"D:\\Dest");
       }},
      {"path beyond 260 characters",
       [&deep](FakeFileSystem& fs) { fs.AddFile(deep + L"\\bottom.txt", 3); },
       {L"2", L"30", L"13"}},
      {"names outside the code page",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"D:\\Dest\\\u0410\u0440\u0445\u0438\u0432\\\u65e5\u672c.txt", 4);
         fs.AddFile(L"D:\\Dest\\\U0001F4BE.bin", 5);
       },
       {L"3", L"1", L"19"}},
      {"files above 4 GiB, total above 2^32",
       [](FakeFileSystem& fs) {
         fs.AddFile(L"D:\\Dest\\five.vhd", 5ull << 30);
         fs.AddFile(L"D:\\Dest\\four.vhd", 4ull << 30);
       },
       {L"3", L"0", L"9,663,676,426"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h;
    h.fake.fs.AddFile(L"D:\\Dest\\a.txt", 10);
    h.fake.fs.AddTextFile(kStoredFile, "D:\\Dest\r\n");
    c.build(h.fake.fs);
    h.w->Form_Load();
    if (c.duringWalk) {
      h.fake.fs.onList = [&](std::wstring_view folder) { c.duringWalk(h.fake.fs, folder); };
      h.w->GetMetricsDestination();
      h.fake.fs.onList = nullptr;
    }
    const BackupSettings& s = h.S();
    EXPECT_EQ(
        (Shown{s.txtFileCountDestination, s.txtFolderCountDestination, s.txtFolderSizeDestination}),
        c.shown);
    EXPECT_EQ(s.txtDefaultPath, L"D:\\Dest");
    EXPECT_EQ(h.fake.fs.Content(kStoredFile), "D:\\Dest\r\n");
  }
}

TEST(FaultScan, TwoHundredThousandEntries) {
  Harness h;
  for (int folder = 0; folder < 200; ++folder) {
    std::wstring base = L"D:\\Dest\\f" + std::to_wstring(folder) + L"\\";
    for (int file = 0; file < 1000; ++file) h.fake.fs.AddFile(base + std::to_wstring(file), 3);
  }
  h.fake.fs.AddTextFile(kStoredFile, "D:\\Dest\r\n");
  h.w->Form_Load();
  EXPECT_EQ(h.S().txtFileCountDestination, L"200,000");
  EXPECT_EQ(h.S().txtFolderCountDestination, L"200");
  EXPECT_EQ(h.S().txtFolderSizeDestination, L"600,000");
}

}  // namespace
}  // namespace tessel::testing
