// The folder walk on a real file system: long paths, names outside the code page, links that
// loop, folders that cannot be listed or vanish, and the roots a user may type.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: these rely on its types.
#include <sddl.h>
#include <winioctl.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "metrics/folder_scan.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tessel {
namespace {

constexpr uint64_t kFiveGiB = 5ull * 1024 * 1024 * 1024;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(win32::LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deletes a tree by long paths and never through a link, so neither depth nor a loop can send
// it elsewhere. (The shell's delete gives up at MAX_PATH, and under Wine then deletes in the
// current folder instead.)
void RemoveTree(const std::wstring& folder) {  // ends in "\"
  std::vector<std::pair<std::wstring, DWORD>> entries;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileExW(win32::LongPath(folder + L"*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, 0);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") entries.emplace_back(name, data.dwFileAttributes);
    } while (FindNextFileW(search, &data));
    FindClose(search);
  }
  for (const auto& [name, attributes] : entries) {
    std::wstring path = win32::LongPath(folder + name);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      RemoveTree(folder + name + L"\\");
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveDirectoryW(path.c_str());
    } else {
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
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
  void MakeFile(const std::wstring& relative, const std::string& bytes = {}) const {
    win32::UniqueHandle file(CreateFileW(win32::LongPath(path_ + relative).c_str(), GENERIC_WRITE,
                                         0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                         nullptr));
    DWORD written = 0;
    if (!bytes.empty()) {
      WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
  }

 private:
  std::wstring path_;
};

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

void ExpectFigures(const FolderFigures& got, uint64_t files, uint64_t bytes, uint64_t folders,
                   const char* what) {
  EXPECT_EQ(got.files, files) << what << ": files";
  EXPECT_EQ(got.bytes, bytes) << what << ": bytes";
  EXPECT_EQ(got.folders, folders) << what << ": folders";
}

// Waits for a condition that another process brings about; fails after ten seconds.
bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 1000; ++i) {
    if (condition()) return true;
    Sleep(10);
  }
  return condition();
}

// Wine runs Unix programs started by CreateProcess but hands back no handle to wait on.
void StartUnixCommand(std::wstring commandLine) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
  }
}

std::wstring UnixPath(const std::wstring& windowsPath) {
  using Convert = char*(CDECL*)(const wchar_t*);
  // Through void*: a FARPROC has no parameters to match.
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* unix = convert(windowsPath.c_str());
  if (!unix) return {};
  std::wstring path = win32::Utf8ToWide(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return path;
}

// A folder link for the life of the object: a junction where the file system takes one; under
// Wine, which takes neither junctions nor symbolic links from Windows programs yet, a Unix
// symbolic link, which Wine lists as a folder carrying the reparse bit.
class FolderLink {
 public:
  FolderLink(std::wstring link, const std::wstring& target) : link_(std::move(link)) {
    if (MakeJunction(target)) {
      kind_ = Kind::Junction;
    } else if (UnderWine()) {
      StartUnixCommand(L"/bin/ln -s \"" + UnixPath(target) + L"\" \"" + UnixPath(link_) + L"\"");
      if (WaitFor([&] { return Exists(link_); })) kind_ = Kind::UnixLink;
    }
  }
  ~FolderLink() {
    if (kind_ == Kind::Junction) RemoveDirectoryW(link_.c_str());
    if (kind_ == Kind::UnixLink) {
      StartUnixCommand(L"/bin/rm -f \"" + UnixPath(link_) + L"\"");
      WaitFor([&] { return !Exists(link_); });
    }
  }
  bool Made() const { return kind_ != Kind::None; }

 private:
  enum class Kind { None, Junction, UnixLink };

  bool MakeJunction(const std::wstring& target) {
    if (!CreateDirectoryW(link_.c_str(), nullptr)) return false;
    win32::UniqueHandle dir(CreateFileW(link_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                        nullptr));
    // Mount-point reparse data: tag, sizes, then substitute and print names, NUL-terminated.
    std::wstring substitute = L"\\??\\" + target;
    std::vector<wchar_t> names(substitute.begin(), substitute.end());
    names.push_back(L'\0');
    names.push_back(L'\0');  // empty print name
    std::vector<BYTE> data(16 + names.size() * sizeof(wchar_t));
    auto put16 = [&](size_t at, size_t value) {
      WORD v = static_cast<WORD>(value);
      memcpy(data.data() + at, &v, sizeof v);
    };
    DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    memcpy(data.data(), &tag, sizeof tag);
    put16(4, data.size() - 8);
    put16(8, 0);
    put16(10, substitute.size() * sizeof(wchar_t));
    put16(12, (substitute.size() + 1) * sizeof(wchar_t));
    put16(14, 0);
    memcpy(data.data() + 16, names.data(), names.size() * sizeof(wchar_t));
    DWORD returned = 0;
    bool made = dir.Valid() &&
                DeviceIoControl(dir.Get(), FSCTL_SET_REPARSE_POINT, data.data(),
                                static_cast<DWORD>(data.size()), nullptr, 0, &returned, nullptr);
    dir.Reset();
    if (!made) RemoveDirectoryW(link_.c_str());
    return made;
  }

  std::wstring link_;
  Kind kind_ = Kind::None;
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

void MakeSizedFile(const std::wstring& path, uint64_t size) {
  win32::UniqueHandle file(CreateFileW(win32::LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file.Valid());
  DWORD returned = 0;
  // Sparse, so the size costs no disk space where the file system allows it.
  DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  ASSERT_TRUE(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(file.Get()));
}

TEST(ScanListing, CountsWhatTheFileSystemHolds) {
  ScratchFolder dir;
  dir.MakeFile(L"a.txt", "abc");
  MakeSizedFile(dir / L"big.vhd", kFiveGiB);
  dir.MakeFile(L"empty.txt");
  dir.MakeFile(L".profile", "secret");
  dir.MakeFolder(L".cache");
  dir.MakeFile(L".cache\\x.bin", "12345");
  dir.MakeFolder(L".cache\\inner");
  dir.MakeFile(L"hidden.txt", "h");
  dir.MakeFile(L"system.txt", "s");
  dir.MakeFile(L"readonly.txt", "r");
  SetFileAttributesW((dir / L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW((dir / L"system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW((dir / L"readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  dir.MakeFolder(L"Sub");
  dir.MakeFile(L"Sub\\b.txt", "1234");

  win32::Win32FileSystem fs;
  ExpectFigures(ScanFolder(fs, dir.Path(), true), 7, 3 + kFiveGiB + 3 + 4, 3, "recursing");
  ExpectFigures(ScanFolder(fs, dir.Path(), false), 6, 3 + kFiveGiB + 3, 2, "not recursing");
}

TEST(ScanListing, ListsPathsBeyondMaxPath) {
  ScratchFolder dir;
  std::wstring relative;
  for (int level = 0; level < 6; ++level) {
    relative += std::wstring(60, static_cast<wchar_t>(L'a' + level)) + L"\\";
    dir.MakeFolder(relative);
  }
  dir.MakeFile(relative + L"deep.txt", "1234567");
  ASSERT_GT((dir / relative).size(), 360u);
  ASSERT_TRUE(Exists(dir / relative + L"deep.txt"));

  win32::Win32FileSystem fs;
  ExpectFigures(ScanFolder(fs, dir.Path(), true), 1, 7, 6, "below the root");
  ExpectFigures(ScanFolder(fs, dir / relative, true), 1, 7, 0, "long root");
}

TEST(ScanListing, ListsNamesOutsideTheCodePage) {
  ScratchFolder dir;
  dir.MakeFolder(L"\u65e5\u672c\u8a9e");
  dir.MakeFile(L"\u65e5\u672c\u8a9e\\\u30c7\u30fc\u30bf.txt", "abc");
  dir.MakeFolder(L"\u65e5\u672c\u8a9e\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac");
  dir.MakeFile(L"\u65e5\u672c\u8a9e\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\\\u0444.bin",
               "abcd");
  dir.MakeFolder(L"\U0001F600");
  dir.MakeFile(L"\U0001F600\\x", "z");

  win32::Win32FileSystem fs;
  ExpectFigures(ScanFolder(fs, dir.Path(), true), 3, 8, 3, "wide names");
}

TEST(ScanListing, LinksAreCountedButNotEntered) {
  ScratchFolder dir;
  dir.MakeFolder(L"A");
  dir.MakeFile(L"A\\f.txt", "12345");
  dir.MakeFolder(L"Elsewhere");
  dir.MakeFile(L"Elsewhere\\big.bin", "0123456789");
  ScratchFolder root;
  root.MakeFolder(L"A");
  root.MakeFile(L"A\\f.txt", "12345");
  FolderLink up(root / L"A\\Up", root.Path().substr(0, root.Path().size() - 1));
  FolderLink away(root / L"Away", dir / L"Elsewhere");
  ASSERT_TRUE(up.Made() && away.Made()) << "no way to make a folder link here";

  win32::Win32FileSystem fs;
  bool upIsLink = false;
  fs.ListFolder(root / L"A", [&](const DirEntry& entry) {
    if (entry.name == L"Up") upIsLink = entry.IsDirectory() && entry.IsLink();
  });
  EXPECT_TRUE(upIsLink) << "a link to an ancestor lists as a folder link";
  ExpectFigures(ScanFolder(fs, root.Path(), true), 1, 5, 3, "loop and outside link");
  ExpectFigures(ScanFolder(fs, root / L"Away", true), 1, 10, 0, "a link as the root is followed");
}

// Forwards to the real file system and runs `afterRoot` once the first listing is done.
class InterruptedFileSystem : public win32::Win32FileSystem {
 public:
  std::function<void()> afterRoot;
  bool ListFolder(std::wstring_view folder, const EntrySink& sink) override {
    bool listed = Win32FileSystem::ListFolder(folder, sink);
    if (auto run = std::exchange(afterRoot, nullptr)) run();
    return listed;
  }
};

TEST(ScanListing, FolderVanishingDuringTheWalkAddsNothing) {
  ScratchFolder dir;
  dir.MakeFolder(L"Stays");
  dir.MakeFile(L"Stays\\f.txt", "123");
  dir.MakeFolder(L"Goes");
  dir.MakeFile(L"Goes\\g.txt", "12345");
  dir.MakeFolder(L"Goes\\Inner");

  InterruptedFileSystem fs;
  fs.afterRoot = [&] {
    DeleteFileW((dir / L"Goes\\g.txt").c_str());
    RemoveDirectoryW((dir / L"Goes\\Inner").c_str());
    RemoveDirectoryW((dir / L"Goes").c_str());
  };
  ExpectFigures(ScanFolder(fs, dir.Path(), true), 1, 3, 2, "after the vanishing");
}

TEST(ScanListing, UnreadableFolderAddsNothing) {
  ScratchFolder dir;
  dir.MakeFolder(L"Open");
  dir.MakeFile(L"Open\\f.txt", "123");
  dir.MakeFolder(L"Locked");
  dir.MakeFile(L"Locked\\g.txt", "12345");
  dir.MakeFolder(L"Locked\\Inner");
  ASSERT_TRUE(SetFolderRights(dir / L"Locked", L"D:P(D;OICI;GA;;;WD)"));

  win32::Win32FileSystem fs;
  bool stillListable = fs.ListFolder(dir / L"Locked", [](const DirEntry&) {});
  FolderFigures got = ScanFolder(fs, dir.Path(), true);
  SetFolderRights(dir / L"Locked", L"D:(A;OICI;GA;;;WD)");
  if (stillListable) {
    GTEST_SKIP() << "This account reads folders whatever their rights (Wine as root); the "
                    "in-memory tests cover unreadable folders";
  }
  ExpectFigures(got, 1, 3, 2, "beside a locked folder");
}

TEST(ScanListing, RootsAsAUserMayTypeThem) {
  ScratchFolder dir;
  dir.MakeFolder(L"Data");
  dir.MakeFile(L"Data\\a.txt", "12");
  dir.MakeFolder(L"Data\\Sub");
  dir.MakeFile(L"Data\\Sub\\b.txt", "345");
  dir.MakeFile(L"file.txt", "x");

  win32::Win32FileSystem fs;
  std::wstring slashes = dir / L"Data";
  std::replace(slashes.begin(), slashes.end(), L'\\', L'/');
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
  struct {
    std::wstring root;
    uint64_t files, bytes, folders;
  } const cases[] = {
      {dir / L"Data", 2, 5, 1},    {dir / L"Data\\Sub\\..\\.\\", 2, 5, 1},
      {slashes, 2, 5, 1},          {L"Data", 2, 5, 1},
      {L".\\Data\\Sub", 1, 3, 0},  {dir / L"file.txt", 0, 0, 0},
      {dir / L"Missing", 0, 0, 0},
  };
  for (const auto& c : cases) {
    FolderFigures got = ScanFolder(fs, c.root, true);
    std::string what = win32::WideToUtf8(c.root);
    ExpectFigures(got, c.files, c.bytes, c.folders, what.c_str());
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
  std::vector<std::wstring> none;
  EXPECT_TRUE(fs.ListFolder(dir / L"Sub", [&](const DirEntry& e) { none.emplace_back(e.name); }));
  EXPECT_TRUE(none.empty());
  EXPECT_FALSE(fs.ListFolder(dir / L"f.txt", [](const DirEntry&) {}));
}

}  // namespace
}  // namespace tessel
