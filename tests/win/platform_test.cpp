// The Win32 platform layer against Wine's real file system and processes: probes, atomic
// replacement of the settings file, folder creation, the code page, run-and-wait and a launch
// that cannot start.
#include <gtest/gtest.h>

#include <functional>

#include "destination/settings_file.h"
#include "jobs/archiver_command.h"
#include "test_folder.h"

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

TEST(Win32Platform, SettingsFileIsReplacedWholeOrNotAtAll) {
  const std::wstring deep = std::wstring(130, L'd') + L"\\" + std::wstring(130, L'e') + L"\\";
  using Block = std::function<HANDLE(const std::wstring& file)>;
  const std::tuple<const char*, std::wstring, Block> cases[] = {
      // what, folder, what blocks it
      {"plain", L"", nullptr},
      {"past 260 characters", deep, nullptr},
      {"open elsewhere, unshared", L"", [](auto& file) {
         return CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
       }}};
  for (const auto& [what, folder, block] : cases) {
    SCOPED_TRACE(what);
    TestFolder dir;
    win32::Win32FileSystem fs;
    std::wstring file = dir / folder + L"s.txt";
    ASSERT_TRUE(fs.MakeFolderPath(dir / folder));
    ASSERT_TRUE(fs.CreateEmptyFile(file));
    EXPECT_FALSE(fs.CreateEmptyFile(file)) << "an existing file is never emptied";
    ASSERT_TRUE(fs.ReplaceFileContent(file, "D:\\Old\r\n"));
    win32::UniqueHandle lock(block ? block(file) : INVALID_HANDLE_VALUE);
    std::set<std::wstring> before = wintest::Names(dir / folder);
    Status replaced = fs.ReplaceFileContent(file, "D:\\New\r\n");
    lock.Reset();
    EXPECT_EQ(replaced.reason.empty(), !block) << WideToUtf8(replaced.reason);
    EXPECT_EQ(Read(file), replaced ? "D:\\New\r\n" : "D:\\Old\r\n");
    EXPECT_EQ(wintest::Names(dir / folder), before) << "nothing is left beside it";
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
