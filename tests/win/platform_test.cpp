// The Win32 platform layer against Wine's real file system and processes: probes, reading and
// atomic replacement of the settings file while other programs hold it, folder creation, picked
// shell items, the code page, run-and-wait and a launch that cannot start.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "destination/settings_file.h"
#include "jobs/archiver_command.h"
#include "test_folder.h"
// test_folder.h brings windows.h, which shlobj.h relies on.
#include <shlobj.h>

namespace tessel {
namespace {

using win32::WideToUtf8;
using wintest::TestFolder;

// Started by the launch test with TESSEL_RECORD_FILE set, this program only writes its raw
// command line there, before any test runs, and ends.
const bool kRecorded = [] {
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"TESSEL_RECORD_FILE", path, MAX_PATH)) return false;
  std::wstring_view line = GetCommandLineW();
  std::string bytes(reinterpret_cast<const char*>(line.data()), line.size() * sizeof(wchar_t));
  win32::Win32FileSystem().ReplaceFileContent(path, bytes);
  ExitProcess(7);
}();

std::string Read(const std::wstring& path) {
  std::string bytes;
  return win32::Win32FileSystem().ReadFile(path, bytes) ? bytes : "<unreadable>";
}

// Another program's handle on the file, as an indexer or a virus scanner takes one.
struct Holder {
  DWORD access;
  DWORD share;
  DWORD letsGoAfterMs;  // INFINITE: not before the test is done
};

// Closes `handle` after `ms` on a thread of its own, while the test goes on.
void CloseLater(HANDLE handle, DWORD ms) {
  static DWORD delay;
  delay = ms;
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* h) -> DWORD {
        Sleep(delay);
        return CloseHandle(h);
      },
      handle, 0, nullptr);
  CloseHandle(thread);
}

TEST(Win32Platform, SettingsFileIsReadWhileHeldAndReplacedWholeOrNotAtAll) {
  const std::wstring deep = std::wstring(130, L'd') + L"\\" + std::wstring(130, L'e') + L"\\";
  constexpr DWORD kAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  constexpr DWORD kScanner = GENERIC_READ | DELETE;  // may move the file to quarantine
  const std::tuple<const char*, std::wstring, std::optional<Holder>, bool, bool> cases[] = {
      // what, folder, held by, read then, replaced then
      {"plain", L"", std::nullopt, true, true},
      {"past 260 characters", deep, std::nullopt, true, true},
      {"a scanner holds it", L"", Holder{kScanner, kAll, INFINITE}, true, false},
      {"a reader sharing only reading holds it", L"",
       Holder{GENERIC_READ, FILE_SHARE_READ, INFINITE}, true, false},
      {"held unshared", L"", Holder{GENERIC_READ, 0, INFINITE}, false, false},
      {"a scanner lets go", L"", Holder{kScanner, kAll, 300}, true, true},
      {"a reader lets go", L"", Holder{GENERIC_READ, FILE_SHARE_READ, 300}, true, true}};
  for (const auto& [what, folder, holder, read, replaced] : cases) {
    SCOPED_TRACE(what);
    TestFolder dir;
    win32::Win32FileSystem fs;
    std::wstring file = dir / folder + L"s.txt";
    ASSERT_TRUE(fs.MakeFolderPath(dir / folder));
    ASSERT_TRUE(fs.CreateEmptyFile(file));
    EXPECT_FALSE(fs.CreateEmptyFile(file)) << "an existing file is never emptied";
    ASSERT_TRUE(fs.ReplaceFileContent(file, "D:\\Old\r\n"));
    std::set<std::wstring> before = wintest::Names(dir / folder);
    win32::UniqueHandle held;
    if (holder) {
      HANDLE h = CreateFileW(file.c_str(), holder->access, holder->share, nullptr, OPEN_EXISTING, 0,
                             nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE);
      holder->letsGoAfterMs == INFINITE ? held.Reset(h) : CloseLater(h, holder->letsGoAfterMs);
    }
    std::string bytes;
    Status got = fs.ReadFile(file, bytes);
    EXPECT_EQ(got.reason.empty(), read) << WideToUtf8(got.reason);
    EXPECT_EQ(bytes, read ? "D:\\Old\r\n" : "");
    Status stored = fs.ReplaceFileContent(file, "D:\\New\r\n");
    held.Reset();
    EXPECT_EQ(stored.reason.empty(), replaced) << WideToUtf8(stored.reason);
    EXPECT_EQ(Read(file), replaced ? "D:\\New\r\n" : "D:\\Old\r\n");
    EXPECT_EQ(wintest::Names(dir / folder), before) << "nothing is left beside it";
  }
}

TEST(Win32Platform, AStoreTakesOverOnlyItsOwnLeftoverAndNamesAFolderInTheWay) {
  TestFolder dir;
  win32::Win32FileSystem fs;
  const std::set<std::wstring> others = {L"s.txt.new-4242", L"s.txt.tessel-store.bak",
                                         L"t.txt.tessel-store", L"s.txt~"};
  for (const std::wstring& name : others) dir.MakeFile(name, "other");
  dir.MakeFile(L"s.txt.tessel-store", "D:\\Half");  // a store killed half-way
  ASSERT_TRUE(fs.ReplaceFileContent(dir / L"s.txt", "D:\\New\r\n"));
  EXPECT_EQ(Read(dir / L"s.txt"), "D:\\New\r\n");
  std::set<std::wstring> left = others;
  left.insert(L"s.txt");
  EXPECT_EQ(wintest::Names(dir.Path()), left);

  dir.MakeFolder(L"f.txt");
  const std::wstring inTheWay = L"A folder is in the way: " + dir / L"f.txt";
  std::string bytes;
  EXPECT_EQ(fs.ReadFile(dir / L"f.txt", bytes).reason, inTheWay);
  EXPECT_EQ(fs.ReplaceFileContent(dir / L"f.txt", "D:\\New\r\n").reason, inTheWay);
  left.insert(L"f.txt");
  EXPECT_EQ(wintest::Names(dir.Path()), left);
}

// A pick is converted with room for any path. Wine's shell makes no item of a path past MAX_PATH
// (and cuts one there), so the long pick itself cannot be shown here.
TEST(Win32Platform, PickedShellItemsBecomeTheirPathsOrNone) {
  TestFolder dir;
  dir.MakeFolder(L"Backup Zips");
  PIDLIST_ABSOLUTE computer = nullptr;
  SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
  const std::pair<PIDLIST_ABSOLUTE, std::optional<std::wstring>> cases[] = {
      {ILCreateFromPathW((dir / L"Backup Zips").c_str()), dir / L"Backup Zips"},
      {ILCreateFromPathW(L"C:\\"), L"C:\\"},
      {computer, std::nullopt}};  // no file-system path
  for (const auto& [list, path] : cases) {
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(win32::PathFromIdList(list), path) << WideToUtf8(path.value_or(L"none"));
    CoTaskMemFree(list);
  }
}

TEST(Win32Platform, FoldersAreMadeLevelByLevelOrRefusedWithTheReasonAndFound) {
  TestFolder dir;
  dir.MakeFile(L"Tessel");
  const std::wstring inTheWay = L"A file is in the way: " + dir / L"Tessel";
  const std::tuple<std::wstring, std::wstring, std::wstring> cases[] = {
      // path, reason ("" when made, "?" the system's own), a folder there afterwards
      {dir / L"a\\b\\c\\", L"", dir / L"a\\b\\c"},
      {dir / L"x\\y", L"", dir / L"x"},
      {dir / L"Dots.\\", L"", dir / L"Dots"},  // where other programs find it
      {dir / L"con\\", L"?", L""},
      {dir / L"Tessel\\", inTheWay, L""},
      {dir / L"Tessel\\Sub\\", inTheWay, L""},
      {L"\\\\nosuchserver\\share\\dir\\", L"?", L""}};
  win32::Win32FileSystem fs;
  for (const auto& [path, reason, made] : cases) {
    Status status = fs.MakeFolderPath(path);
    EXPECT_EQ(reason == L"?" ? !status.reason.empty() : status.reason == reason, true)
        << WideToUtf8(path);
    EXPECT_TRUE(made.empty() || fs.FolderExists(made)) << WideToUtf8(made);
  }
  EXPECT_FALSE(fs.FolderExists(dir / L"x\\y")) << "the last level needs its backslash";
  dir.MakeFolder(L"wzzip.exe");  // probes find a folder named like the probed file
  EXPECT_TRUE(fs.EntryExists(dir / L"WZZIP.EXE") && fs.FolderExists(dir / L"wzzip.exe\\"));
  EXPECT_FALSE(fs.EntryExists(dir / L"x\\wzzip.exe") || fs.FolderExists(dir / L"Tessel"));
}

TEST(Win32Platform, CodePageTextIsExactOrRefused) {
  const std::wstring japanese = L"D:\\\u65e5\u672c";
  const std::string utf8Bytes = "D:\\\xe6\x97\xa5\xe6\x9c\xac";
  win32::Win32System ansi(1252), utf8(CP_UTF8);
  EXPECT_EQ(ansi.ToCodePage(L"D:\\Caf\u00e9"), "D:\\Caf\xe9");
  EXPECT_EQ(ansi.ToCodePage(japanese), std::nullopt);
  EXPECT_EQ(utf8.ToCodePage(L"D:\\\xd800"), std::nullopt) << "a stray surrogate";
  EXPECT_EQ(utf8.FromCodePage(utf8Bytes), japanese);
  // With UTF-8 as the system code page the settings file is written in it, without a mark.
  auto toUtf8 = [&](std::wstring_view text) { return utf8.ToCodePage(text); };
  EXPECT_EQ(EncodeSettingsFile(japanese, toUtf8), utf8Bytes + "\r\n");
}

// As a sorted list box orders names for the user's locale: by letters first, then by accents,
// never by letter case; hyphens and apostrophes are passed over unless all else is equal, while a
// blank comes before any letter. By character codes "\u00c9" would follow "Z" and "'" precede "a".
TEST(Win32Platform, NamesCompareAsTheLocaleSortsThemWithCaseIgnored) {
  const std::tuple<std::wstring, std::wstring, int> cases[] = {
      {L"\u00c9mile", L"Zoe", -1},    {L"\u00c9mile", L"Emma", -1},
      {L"Emile", L"\u00c9mile", -1},  {L"\u00e9mile", L"\u00c9MILE", 0},
      {L"O'Brien", L"Oakley", 1},     {L"Jean-Luc", L"Jeanette", 1},
      {L"Jean Luc", L"Jeanette", -1}, {L"Public", L"pUBLIC", 0}};
  win32::Win32System sys;
  for (const auto& [a, b, order] : cases) {
    int got = sys.CompareIgnoringCase(a, b);
    EXPECT_EQ((got > 0) - (got < 0), order) << WideToUtf8(a) << " vs " << WideToUtf8(b);
    got = sys.CompareIgnoringCase(b, a);
    EXPECT_EQ((got > 0) - (got < 0), -order) << WideToUtf8(b) << " vs " << WideToUtf8(a);
  }
}

TEST(Win32Platform, RunAndWaitStartsTheRawLineAndWaitsOrSaysWhyNot) {
  TestFolder dir;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  ArchiverCommand command{self, L"D:\\Backup Zips\\Photos-2009.zip", L"E:\\Photos\\"};
  win32::Win32System sys;
  SetEnvironmentVariableW(L"TESSEL_RECORD_FILE", (dir / L"record.txt").c_str());
  Status ran = sys.RunAndWait(command.CommandLine());
  SetEnvironmentVariableW(L"TESSEL_RECORD_FILE", nullptr);
  ASSERT_TRUE(ran);
  std::string bytes = Read(dir / L"record.txt");
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2),
            command.CommandLine());
  Status started = sys.RunAndWait(L"\"" + dir / L"Missing\\wzzip.exe\" -u -p -r \"a\" \"b\"");
  EXPECT_FALSE(started.ok || started.reason.empty()) << "a launch that cannot start";
}

}  // namespace
}  // namespace tessel
