// Folder listings and the metrics walk on a real file system: long paths, names outside the code
// page, sizes past 32 bits, links not entered, the roots a user may type, and batches listed on
// threads with buffers small enough that folders take many reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "metrics/folder_scan.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "test_folder.h"

namespace tessel {
namespace {

using wintest::TestFolder;

std::string UnixPath(const std::wstring& windowsPath) {
  using Convert = char*(CDECL*)(const wchar_t*);
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* unix = convert ? convert(windowsPath.c_str()) : nullptr;
  std::string path = unix ? unix : "";
  if (unix) HeapFree(GetProcessHeap(), 0, unix);
  return path;
}

// A symbolic link to a folder. Wine 8 makes none for Windows programs (CreateSymbolicLinkW
// reports success and makes nothing), so it is made on the Unix side; Wine starts the program
// without a handle to wait on, so the link's appearance is waited for.
bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
  std::wstring line =
      win32::Utf8ToWide("/bin/ln -s \"" + UnixPath(target) + "\" \"" + UnixPath(link) + "\"");
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int i = 0; i < 1000 && GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(10);
  }
  return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Listing, WalkCountsWhatTheFileSystemHoldsWhateverTheListingOptions) {
  TestFolder dir;
  std::wstring deep = L"\u65e5\u672c\u8a9e\\";  // then past MAX_PATH
  dir.MakeFolder(deep);
  for (wchar_t letter = L'a'; letter <= L'e'; ++letter) {
    deep += std::wstring(60, letter) + L"\\";
    dir.MakeFolder(deep);
  }
  dir.MakeFile(deep + L"\u0444\U0001F600.txt", "1234567");
  dir.MakeSized(L"big.vhd", 5ull << 30);
  dir.MakeFile(L".profile", "x");
  dir.MakeFolder(L".cache");
  dir.MakeFile(L".cache\\x.bin", "xy");
  dir.MakeFile(L"hidden.txt", "abc");
  SetFileAttributesW((dir / L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  dir.MakeFolder(L"Wide");  // names of every length, so that reads end at every offset
  for (int i = 1; i <= 250; i += 3) dir.MakeFile(L"Wide\\" + std::wstring(i, L'w'), "z");
  ASSERT_TRUE(MakeFolderLink(dir / deep + L"up", dir.Path())) << "no folder link was made";
  ASSERT_GT((dir / deep).size(), 300u);

  const FolderFigures expected{1 + 1 + 1 + 84, 7 + (5ull << 30) + 3 + 84, 1 + 5 + 1 + 1 + 1};
  const std::pair<const char*, win32::ListingOptions> listings[] = {
      {"as the program lists", win32::DefaultListingOptions()},
      {"one folder after the other, read to the end", {0, 64 * 1024, false}},
      {"three threads, small buffers", {3, win32::kMinListingBuffer, true}},
      {"two threads, small buffers, read to the end", {2, win32::kMinListingBuffer, false}},
  };
  for (const auto& [what, options] : listings) {
    SCOPED_TRACE(what);
    win32::Win32FileSystem fs(options);
    for (int refresh = 0; refresh < 2; ++refresh) {  // the threads serve batch after batch
      FolderFigures got = ScanFolder(fs, dir.Path(), true);
      EXPECT_EQ(got.files, expected.files);
      EXPECT_EQ(got.bytes, expected.bytes);
      EXPECT_EQ(got.folders, expected.folders);
    }
    EXPECT_EQ(ScanFolder(fs, dir / deep, true).folders, 1u) << "a long root, its link not entered";
  }
}

TEST(Listing, BatchHandsEachFolderItsEntriesOnTheCallingThread) {
  TestFolder dir;
  dir.MakeFolder(L"A");
  dir.MakeFile(L"A\\a.txt");
  dir.MakeFolder(L"A\\Sub");
  dir.MakeFolder(L"Empty");
  dir.MakeFile(L"file.txt");
  const std::vector<std::wstring> folders = {dir / L"A", dir / L"Missing\\", dir / L"file.txt",
                                             dir / L"Empty\\", dir.Path()};
  const std::vector<std::set<std::wstring>> expected = {
      {L"a.txt", L"Sub"}, {}, {}, {}, {L"A", L"Empty", L"file.txt"}};
  win32::Win32FileSystem fs({2, win32::kMinListingBuffer, true});
  std::vector<std::set<std::wstring>> got(folders.size());
  DWORD caller = GetCurrentThreadId();
  bool elsewhere = false;
  fs.ListFolders(folders, [&](size_t index, const DirEntry& entry) {
    got[index].emplace(entry.name);
    elsewhere = elsewhere || GetCurrentThreadId() != caller;
  });
  EXPECT_EQ(got, expected);
  EXPECT_FALSE(elsewhere) << "entries reached the sink on another thread";
  // ListFolder says what could not be listed at all; a folder without entries can be.
  const std::pair<std::wstring, bool> listable[] = {
      {dir / L"Empty", true}, {dir / L"Missing", false}, {dir / L"file.txt", false}};
  for (const auto& [folder, ok] : listable) EXPECT_EQ(fs.ListFolder(folder, [](auto&) {}), ok);
}

TEST(Listing, RootsAsAUserMayTypeThem) {
  TestFolder dir;
  dir.MakeFolder(L"Data");
  dir.MakeFile(L"Data\\a.txt", "ab");
  dir.MakeFolder(L"Data\\Sub");
  dir.MakeFile(L"Data\\Sub\\b.txt", "abc");
  std::wstring slashes = dir / L"Data";
  std::replace(slashes.begin(), slashes.end(), L'\\', L'/');
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
  const std::pair<std::wstring, uint64_t> roots[] = {
      {dir / L"Data\\Sub\\..\\.\\", 5}, {slashes, 5}, {L"Data", 5}, {L".\\Data\\Sub", 3}};
  win32::Win32FileSystem fs;
  for (const auto& [root, bytes] : roots) {
    EXPECT_EQ(ScanFolder(fs, root, true).bytes, bytes) << win32::WideToUtf8(root);
  }
  SetCurrentDirectoryW(previous);
}

}  // namespace
}  // namespace tessel
