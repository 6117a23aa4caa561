// The folder walk on a real file system: long paths, names outside the code page, links that
// loop, folders that cannot be listed or vanish, and the roots a user may type.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: sddl.h relies on its types.
#include <sddl.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "metrics/folder_scan.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tessel {
namespace {

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(win32::LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deletes a tree by long paths and never through a link. The shell's delete stops at MAX_PATH
// and, under Wine, then deletes in the current folder instead.
void RemoveTree(const std::wstring& folder) {  // ends in "\"
  std::vector<std::pair<std::wstring, DWORD>> entries;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(win32::LongPath(folder + L"*").c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") entries.emplace_back(folder + name, data.dwFileAttributes);
    } while (FindNextFileW(search, &data));
    FindClose(search);
  }
  for (const auto& [path, attributes] : entries) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      RemoveTree(path + L"\\");
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveDirectoryW(win32::LongPath(path).c_str());
    } else {
      SetFileAttributesW(win32::LongPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(win32::LongPath(path).c_str());
    }
  }
  RemoveDirectoryW(win32::LongPath(folder).c_str());
}

// A fresh folder under the temp folder for one test, removed with RemoveTree afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    path_ = std::wstring(temp) + L"tessel-scan-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveTree(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }  // ends in "\"
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }
  void MakeFolder(const std::wstring& relative) const {
    CreateDirectoryW(win32::LongPath(path_ + relative).c_str(), nullptr);
  }
  // A file of `size` bytes: sparse where the file system allows, so large sizes cost no disk.
  void MakeFile(const std::wstring& relative, uint64_t size = 0) const {
    win32::UniqueHandle file(CreateFileW(win32::LongPath(path_ + relative).c_str(), GENERIC_WRITE,
                                         0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                         nullptr));
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN);
    SetEndOfFile(file.Get());
  }

 private:
  std::wstring path_;
};

void ExpectFigures(const FolderFigures& got, FolderFigures expected, const std::string& what) {
  EXPECT_EQ(got.files, expected.files) << what << ": files";
  EXPECT_EQ(got.bytes, expected.bytes) << what << ": bytes";
  EXPECT_EQ(got.folders, expected.folders) << what << ": folders";
}

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::string UnixPath(const std::wstring& windowsPath) {
  using Convert = char*(CDECL*)(const wchar_t*);
  // Through void*: a FARPROC has no parameters to match.
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* unix = convert ? convert(windowsPath.c_str()) : nullptr;
  std::string path = unix ? unix : "";
  if (unix) HeapFree(GetProcessHeap(), 0, unix);
  return path;
}

// Runs a Unix program from Wine, which starts it but gives no handle to wait on: the caller waits
// for the effect instead, for up to ten seconds.
bool RunUnix(const std::string& commandLine, const std::function<bool()>& done) {
  std::wstring line = win32::Utf8ToWide(commandLine);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int i = 0; i < 1000 && !done(); ++i) Sleep(10);
  return done();
}

// A symbolic link to a folder for the life of the object. Wine 8 takes none from Windows programs
// (CreateSymbolicLinkW reports success and makes nothing), so under Wine it is made on the Unix
// side; Wine lists such a link as a folder carrying the reparse bit.
class FolderLink {
 public:
  FolderLink(std::wstring link, const std::wstring& target) : link_(std::move(link)) {
    if (UnderWine()) {
      RunUnix("/bin/ln -s \"" + UnixPath(target) + "\" \"" + UnixPath(link_) + "\"",
              [&] { return Exists(link_); });
    } else {
      CreateSymbolicLinkW(link_.c_str(), target.c_str(),
                          SYMBOLIC_LINK_FLAG_DIRECTORY | 0x2 /* unprivileged create */);
    }
    made_ = Exists(link_);
  }
  ~FolderLink() {
    if (!made_) return;
    if (UnderWine()) {
      RunUnix("/bin/rm -f \"" + UnixPath(link_) + "\"", [&] { return !Exists(link_); });
    } else {
      RemoveDirectoryW(link_.c_str());
    }
  }
  bool Made() const { return made_; }

 private:
  std::wstring link_;
  bool made_ = false;
};

bool SetFolderRights(const std::wstring& folder, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    return false;
  }
  BOOL set = SetFileSecurityW(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  return set;
}

TEST(ScanListing, CountsWhatTheFileSystemHolds) {
  constexpr uint64_t kFiveGiB = 5ull << 30;
  ScratchFolder dir;
  dir.MakeFile(L"a.txt", 3);
  dir.MakeFile(L"big.vhd", kFiveGiB);
  dir.MakeFile(L"empty.txt");
  dir.MakeFile(L".profile", 6);
  dir.MakeFolder(L".cache");
  dir.MakeFile(L".cache\\x.bin", 5);
  dir.MakeFolder(L".cache\\inner");
  dir.MakeFile(L"hidden.txt", 1);
  SetFileAttributesW((dir / L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  dir.MakeFolder(L"Sub");
  dir.MakeFile(L"Sub\\b.txt", 4);

  win32::Win32FileSystem fs;
  ExpectFigures(ScanFolder(fs, dir.Path(), true), {5, 3 + kFiveGiB + 1 + 4, 3}, "recursing");
  ExpectFigures(ScanFolder(fs, dir.Path(), false), {4, 3 + kFiveGiB + 1, 2}, "not recursing");
}

TEST(ScanListing, ListsPathsBeyondMaxPath) {
  ScratchFolder dir;
  std::wstring deep;
  for (wchar_t letter = L'a'; letter <= L'f'; ++letter) {
    deep += std::wstring(60, letter) + L"\\";
    dir.MakeFolder(deep);
  }
  dir.MakeFile(deep + L"deep.txt", 7);
  ASSERT_GT((dir / deep).size(), 360u);
  ASSERT_TRUE(Exists(dir / deep + L"deep.txt"));

  win32::Win32FileSystem fs;
  ExpectFigures(ScanFolder(fs, dir.Path(), true), {1, 7, 6}, "below the root");
  ExpectFigures(ScanFolder(fs, dir / deep, true), {1, 7, 0}, "long root");
}

TEST(ScanListing, ListsNamesOutsideTheCodePage) {
  ScratchFolder dir;
  std::wstring japanese = L"\u65e5\u672c\u8a9e\\";
  std::wstring greek = japanese + L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\\";
  dir.MakeFolder(japanese);
  dir.MakeFile(japanese + L"\u30c7\u30fc\u30bf.txt", 3);
  dir.MakeFolder(greek);
  dir.MakeFile(greek + L"\u0444.bin", 4);
  dir.MakeFolder(L"\U0001F600");
  dir.MakeFile(L"\U0001F600\\x", 1);

  win32::Win32FileSystem fs;
  ExpectFigures(ScanFolder(fs, dir.Path(), true), {3, 8, 3}, "wide names");
}

TEST(ScanListing, LinksAreCountedButNotEntered) {
  ScratchFolder elsewhere;
  elsewhere.MakeFile(L"big.bin", 10);
  ScratchFolder root;
  root.MakeFolder(L"A");
  root.MakeFile(L"A\\f.txt", 5);
  FolderLink up(root / L"A\\Up", root.Path().substr(0, root.Path().size() - 1));
  FolderLink away(root / L"Away", elsewhere.Path().substr(0, elsewhere.Path().size() - 1));
  ASSERT_TRUE(up.Made() && away.Made()) << "no folder link could be made here";

  win32::Win32FileSystem fs;
  bool upIsLink = false;
  fs.ListFolder(root / L"A", [&](const DirEntry& entry) {
    if (entry.name == L"Up") upIsLink = entry.IsDirectory() && entry.IsLink();
  });
  EXPECT_TRUE(upIsLink) << "a link to an ancestor lists as a folder link";
  ExpectFigures(ScanFolder(fs, root.Path(), true), {1, 5, 3}, "loop and outside link");
  ExpectFigures(ScanFolder(fs, root / L"Away", true), {1, 10, 0}, "a link as the root");
}

// The real file system, with `afterFirst` run once the first listing is done.
class InterruptedFileSystem : public win32::Win32FileSystem {
 public:
  std::function<void()> afterFirst;
  bool ListFolder(std::wstring_view folder, const EntrySink& sink) override {
    bool listed = Win32FileSystem::ListFolder(folder, sink);
    if (auto run = std::exchange(afterFirst, nullptr)) run();
    return listed;
  }
};

TEST(ScanListing, FolderVanishingDuringTheWalkAddsNothing) {
  ScratchFolder dir;
  dir.MakeFolder(L"Stays");
  dir.MakeFile(L"Stays\\f.txt", 3);
  dir.MakeFolder(L"Goes");
  dir.MakeFile(L"Goes\\g.txt", 5);
  dir.MakeFolder(L"Goes\\Inner");

  InterruptedFileSystem fs;
  fs.afterFirst = [&] { RemoveTree(dir / L"Goes\\"); };
  ExpectFigures(ScanFolder(fs, dir.Path(), true), {1, 3, 2}, "after the vanishing");
}

TEST(ScanListing, UnreadableFolderAddsNothing) {
  ScratchFolder dir;
  dir.MakeFolder(L"Open");
  dir.MakeFile(L"Open\\f.txt", 3);
  dir.MakeFolder(L"Locked");
  dir.MakeFile(L"Locked\\g.txt", 5);
  dir.MakeFolder(L"Locked\\Inner");
  ASSERT_TRUE(SetFolderRights(dir / L"Locked", L"D:P(D;OICI;GA;;;WD)"));

  win32::Win32FileSystem fs;
  bool stillListable = fs.ListFolder(dir / L"Locked", [](const DirEntry&) {});
  FolderFigures got = ScanFolder(fs, dir.Path(), true);
  SetFolderRights(dir / L"Locked", L"D:(A;OICI;GA;;;WD)");
  if (stillListable) {
    GTEST_SKIP() << "This account reads folders whatever their rights (Wine running as root); "
                    "the in-memory tests cover unreadable folders";
  }
  ExpectFigures(got, {1, 3, 2}, "beside a locked folder");
}

TEST(ScanListing, RootsAsAUserMayTypeThem) {
  ScratchFolder dir;
  dir.MakeFolder(L"Data");
  dir.MakeFile(L"Data\\a.txt", 2);
  dir.MakeFolder(L"Data\\Sub");
  dir.MakeFile(L"Data\\Sub\\b.txt", 3);
  dir.MakeFile(L"file.txt", 1);
  std::wstring slashes = dir / L"Data";
  std::replace(slashes.begin(), slashes.end(), L'\\', L'/');

  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
  const std::pair<std::wstring, FolderFigures> cases[] = {
      {dir / L"Data", {2, 5, 1}},    {dir / L"Data\\Sub\\..\\.\\", {2, 5, 1}},
      {slashes, {2, 5, 1}},          {L"Data", {2, 5, 1}},
      {L".\\Data\\Sub", {1, 3, 0}},  {dir / L"file.txt", {0, 0, 0}},
      {dir / L"Missing", {0, 0, 0}},
  };
  win32::Win32FileSystem fs;
  for (const auto& [root, expected] : cases) {
    ExpectFigures(ScanFolder(fs, root, true), expected, win32::WideToUtf8(root));
  }
  SetCurrentDirectoryW(previous);
}

TEST(ScanListing, ListingLeavesOutSelfAndParent) {
  ScratchFolder dir;
  dir.MakeFolder(L"Sub");
  dir.MakeFile(L"f.txt");
  win32::Win32FileSystem fs;
  for (const std::wstring& folder : {dir.Path(), dir.Path().substr(0, dir.Path().size() - 1)}) {
    std::vector<std::wstring> names;
    ASSERT_TRUE(fs.ListFolder(folder, [&](const DirEntry& e) { names.emplace_back(e.name); }));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Sub", L"f.txt"}));
  }
  size_t inEmpty = 0;
  EXPECT_TRUE(fs.ListFolder(dir / L"Sub", [&](const DirEntry&) { ++inEmpty; }));
  EXPECT_EQ(inEmpty, 0u);
  EXPECT_FALSE(fs.ListFolder(dir / L"f.txt", [](const DirEntry&) {}));
}

}  // namespace
}  // namespace tessel
