// The Win32 platform layer against Wine's real file system and processes: probes, reading and
// atomic replacement of the settings file while other programs hold it, folder creation, the order
// of names, the code page, run-and-wait and a launch that cannot start, start-up hardening.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <thread>
#include <utility>

#include "jobs/archiver_command.h"
#include "platform/win32/hardening.h"
#include "test_folder.h"

// This program's import slot for CreateProcessW, through which the platform layer calls it.
extern "C" decltype(&CreateProcessW) __imp_CreateProcessW;

namespace tessel {
namespace {

using win32::WideToUtf8;
using wintest::TestFolder;

// What a read yields; a failed one should have read nothing.
std::string Read(const std::wstring& path) {
  std::string bytes;
  return win32::Win32FileSystem().ReadFile(path, bytes) ? bytes : "<unreadable>" + bytes;
}

TEST(Win32Platform, SettingsFileIsReadWhileHeldAndReplacedWholeOrNotAtAll) {
  const std::wstring deep = std::wstring(130, L'd') + L"\\" + std::wstring(130, L'e') + L"\\";
  constexpr DWORD kAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  constexpr DWORD kScanner = GENERIC_READ | DELETE;  // as a virus scanner that may quarantine it
  // What, folder, another program's access (0: none) and sharing, read and replaced. A holder of a
  // file that is replaced lets go within the time a store waits.
  const std::tuple<const char*, std::wstring, DWORD, DWORD, bool, bool> cases[] = {
      {"plain", L"", 0, 0, true, true},
      {"past 260 characters", deep, 0, 0, true, true},
      {"a scanner holds it", L"", kScanner, kAll, true, false},
      {"a reader sharing only reading holds it", L"", GENERIC_READ, FILE_SHARE_READ, true, false},
      {"held unshared", L"", GENERIC_READ, 0, false, false},
      {"a scanner lets go", L"", kScanner, kAll, true, true}};
  for (const auto& [what, folder, access, share, read, replaced] : cases) {
    SCOPED_TRACE(what);
    TestFolder dir;
    win32::Win32FileSystem fs;
    std::wstring file = dir / folder + L"s.txt";
    ASSERT_TRUE(fs.MakeFolderPath(dir / folder));
    ASSERT_TRUE(fs.CreateEmptyFile(file));
    EXPECT_FALSE(fs.CreateEmptyFile(file)) << "an existing file is never emptied";
    ASSERT_TRUE(fs.ReplaceFileContent(file, "D:\\Old\r\n"));
    std::set<std::wstring> before = wintest::Names(dir / folder);
    HANDLE held =
        access ? CreateFileW(file.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr) : 0;
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Read(file), read ? "D:\\Old\r\n" : "<unreadable>");
    if (held && replaced) std::thread([held] { Sleep(300), CloseHandle(held); }).detach();
    Status stored = fs.ReplaceFileContent(file, "D:\\New\r\n");
    if (held && !replaced) CloseHandle(held);
    EXPECT_EQ(stored.reason.empty(), replaced) << WideToUtf8(stored.reason);
    EXPECT_EQ(Read(file), replaced ? "D:\\New\r\n" : "D:\\Old\r\n");
    EXPECT_EQ(wintest::Names(dir / folder), before) << "nothing is left beside it";
  }
}

TEST(Win32Platform, AStoreTakesOverOnlyItsOwnLeftoverAndNamesAFolderInTheWay) {
  TestFolder dir;
  win32::Win32FileSystem fs;
  for (auto name :
       {L"s.txt.tessel-store", L"s.txt.new-42", L"s.txt.tessel-store.bak", L"t.txt.tessel-store"}) {
    dir.MakeFile(name, "D:\\Half");
  }
  dir.MakeFolder(L"f.txt");
  ASSERT_TRUE(fs.ReplaceFileContent(dir / L"s.txt", "D:\\New\r\n"));
  EXPECT_EQ(Read(dir / L"s.txt"), "D:\\New\r\n");
  const std::wstring inTheWay = L"A folder is in the way: " + dir / L"f.txt";
  std::string bytes;
  EXPECT_EQ(fs.ReadFile(dir / L"f.txt", bytes).reason, inTheWay);
  EXPECT_EQ(fs.ReplaceFileContent(dir / L"f.txt", "D:\\New\r\n").reason, inTheWay);
  EXPECT_EQ(wintest::Names(dir.Path()),
            (std::set<std::wstring>{L"f.txt", L"s.txt", L"s.txt.new-42", L"s.txt.tessel-store.bak",
                                    L"t.txt.tessel-store"}))
      << "only what a store killed half-way left, s.txt.tessel-store, goes";
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

TEST(Win32Platform, CodePageTextIsExactOrRefusedAndNamesCompareAsTheLocaleSortsThem) {
  const std::wstring japanese = L"D:\\\u65e5\u672c";
  const std::string utf8Bytes = "D:\\\xe6\x97\xa5\xe6\x9c\xac";
  win32::Win32System ansi(1252), utf8(CP_UTF8);
  EXPECT_EQ(ansi.ToCodePage(L"D:\\Caf\u00e9"), "D:\\Caf\xe9");
  EXPECT_EQ(ansi.ToCodePage(japanese), std::nullopt);
  EXPECT_EQ(utf8.ToCodePage(L"D:\\\xd800"), std::nullopt) << "a stray surrogate";
  EXPECT_EQ(utf8.FromCodePage(utf8Bytes), japanese);
  EXPECT_EQ(utf8.ToCodePage(japanese), utf8Bytes) << "UTF-8 as the system code page holds it all";
  // Names compare as a sorted list box orders them for the user's locale: by letters first, then
  // by accents, never by letter case; hyphens and apostrophes are passed over unless all else is
  // equal, while a blank comes before any letter. By character codes "\u00c9" would follow "Z"
  // and "'" precede "a".
  const std::tuple<std::wstring, std::wstring, int> cases[] = {
      {L"\u00c9mile", L"Zoe", -1},       {L"Emile", L"\u00c9mile", -1},
      {L"\u00e9mile", L"\u00c9MILE", 0}, {L"O'Brien", L"Oakley", 1},
      {L"Jean Luc", L"Jeanette", -1},    {L"Public", L"pUBLIC", 0}};
  for (const auto& [a, b, order] : cases) {
    int got = ansi.CompareIgnoringCase(a, b);
    EXPECT_EQ((got > 0) - (got < 0), order) << WideToUtf8(a) << " vs " << WideToUtf8(b);
  }
}

// The archiver gets Windows' default error mode, whatever the program set for itself.
TEST(Win32Platform, RunAndWaitStartsTheRawLineAsWindowsWouldAndWaitsOrSaysWhyNot) {
  TestFolder dir;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  // The UI driver named so records its raw command line in command-lines.log beside itself.
  std::filesystem::path driver =
      std::filesystem::path(self).parent_path() / L"..\\..\\tools\\uidriver\\uidriver.exe";
  ASSERT_TRUE(CopyFileW(driver.c_str(), (dir / L"wzzip.exe").c_str(), FALSE));
  ArchiverCommand command{dir / L"wzzip.exe", L"D:\\Backup Zips\\Photos-2009.zip", L"E:\\Photos\\"};
  static decltype(&CreateProcessW) real = nullptr;
  static DWORD flags = 0;
  DWORD protection = 0;  // import slots may be read-only once the loader has filled them
  VirtualProtect(&__imp_CreateProcessW, sizeof(void*), PAGE_READWRITE, &protection);
  real = std::exchange(
      __imp_CreateProcessW,
      [](LPCWSTR a, LPWSTR b, LPSECURITY_ATTRIBUTES c, LPSECURITY_ATTRIBUTES d, BOOL e, DWORD f,
         LPVOID g, LPCWSTR h, LPSTARTUPINFOW i,
         LPPROCESS_INFORMATION j) -> BOOL { return real(a, b, c, d, e, flags = f, g, h, i, j); });
  win32::Win32System sys;
  Status ran = sys.RunAndWait(command.CommandLine());
  __imp_CreateProcessW = real;
  ASSERT_TRUE(ran);
  EXPECT_EQ(Read(dir / L"command-lines.log"), WideToUtf8(command.CommandLine()) + "\n");
  EXPECT_TRUE(flags & CREATE_DEFAULT_ERROR_MODE) << "flags " << flags;
  Status started = sys.RunAndWait(L"\"" + dir / L"Missing\\wzzip.exe\" -u -p -r \"a\" \"b\"");
  EXPECT_FALSE(started.ok || started.reason.empty()) << "a launch that cannot start";
}

// Wine draws no system error boxes, so the test reads back what the process set.
TEST(Win32Platform, HardenedDllsComeFromSystem32AndWindowsShowsNoErrorBoxes) {
  TestFolder dir;
  dir.MakeFile(L"tessel-probe.dll", "not a program");  // found by name: a bad image
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  auto probe = [] { return LoadLibraryW(L"tessel-probe.dll") ? 0 : GetLastError(); };
  EXPECT_EQ(probe(), DWORD{ERROR_BAD_EXE_FORMAT}) << "searched before";
  UINT testRunnerMode = SetErrorMode(0);  // GoogleTest quiets errors itself
  win32::HardenProcess();
  EXPECT_EQ(GetErrorMode(), UINT{SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX});
  EXPECT_EQ(probe(), DWORD{ERROR_MOD_NOT_FOUND}) << "not after";
  SetErrorMode(testRunnerMode);
  std::filesystem::current_path(before);
}

}  // namespace
}  // namespace tessel
