// The Win32 platform layer against Wine's real file system and processes: probes, atomic
// replacement of the settings file, folder creation, the code page, run-and-wait and a launch
// that cannot start.
#include <gtest/gtest.h>

#include "core/naming.h"
#include "destination/settings_file.h"
#include "jobs/archiver_command.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "test_folder.h"

namespace tessel {
namespace {

using wintest::TestFolder;

std::string Read(const std::wstring& path) {
  std::string bytes;
  return win32::Win32FileSystem().ReadFile(path, bytes) ? bytes : "<unreadable>";
}

std::wstring MissingDriveRoot() {
  wchar_t d = L'Q';
  while (d > L'D' && (GetLogicalDrives() & (1u << (d - L'A')))) --d;
  return std::wstring(1, d) + L":\\";
}

TEST(Win32Platform, MachineFactsAndProbes) {
  win32::Win32System sys;
  EXPECT_TRUE(iswalpha(SystemDriveLetter(sys)[0]));
  EXPECT_FALSE(GetNetworkUserName(sys).empty());
  TestFolder dir;
  dir.MakeFolder(L"WinZip");
  dir.MakeFolder(L"WinZip\\wzzip.exe");  // a folder named like the probed file is found
  dir.MakeFile(L"WinZip\\winzip32.exe");
  struct Probe {
    std::wstring path;
    bool entry, folder;
  };
  const Probe probes[] = {
      {dir / L"WINZIP\\WINZIP32.EXE", true, false},
      {dir / L"WinZip\\wzzip.exe", true, true},
      {dir / L"WinZip\\", false, true},
      {dir / L"Nowhere\\x.exe", false, false},
      {L"C:\\", false, true},
      {MissingDriveRoot(), false, false},
      {L"\\\\nosuchserver\\share\\", false, false},
  };
  win32::Win32FileSystem fs;
  for (const Probe& p : probes) {
    EXPECT_EQ(fs.EntryExists(p.path), p.entry) << win32::WideToUtf8(p.path);
    EXPECT_EQ(fs.FolderExists(p.path), p.folder) << win32::WideToUtf8(p.path);
  }
}

// Another program holding the file open without sharing.
HANDLE Lock(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(Win32Platform, SettingsFileIsReplacedWholeOrNotAtAll) {
  struct Case {
    const char* what;
    std::wstring folder;  // below the test folder
    std::function<HANDLE(const TestFolder&, const std::wstring& file)> block;
    bool replaced;
  };
  const std::wstring deep = std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e');
  const Case cases[] = {
      {"plain", L"", nullptr, true},
      {"past 260 characters", deep, nullptr, true},
      {"open elsewhere", L"", [](auto&, const std::wstring& file) { return Lock(file); }, false},
      {"temporary name taken by a folder", L"",
       [](const TestFolder& dir, const std::wstring&) {
         dir.MakeFolder(L"settings.txt.new-" + std::to_wstring(GetCurrentProcessId()));
         return INVALID_HANDLE_VALUE;
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestFolder dir;
    win32::Win32FileSystem fs;
    ASSERT_TRUE(fs.MakeFolderPath(dir / c.folder + L"\\"));
    std::wstring file = dir / c.folder + L"\\settings.txt";
    ASSERT_TRUE(fs.CreateEmptyFile(file));
    EXPECT_FALSE(fs.CreateEmptyFile(file)) << "an existing file is never emptied";
    ASSERT_TRUE(fs.ReplaceFileContent(file, "D:\\Old\r\n"));
    win32::UniqueHandle lock(c.block ? c.block(dir, file) : INVALID_HANDLE_VALUE);
    std::set<std::wstring> before = wintest::EntryNames(dir / c.folder);
    Status replaced = fs.ReplaceFileContent(file, "D:\\New\r\n");
    EXPECT_EQ(bool(replaced), c.replaced) << win32::WideToUtf8(replaced.reason);
    EXPECT_EQ(replaced.reason.empty(), c.replaced);
    lock.Reset();
    EXPECT_EQ(Read(file), c.replaced ? "D:\\New\r\n" : "D:\\Old\r\n");
    EXPECT_EQ(wintest::EntryNames(dir / c.folder), before) << "nothing is left beside it";
  }
}

TEST(Win32Platform, FolderPathsAreMadeLevelByLevelOrRefusedWithTheReason) {
  TestFolder dir;
  dir.MakeFile(L"Tessel");
  struct Case {
    std::wstring path;
    std::wstring reason;  // "" when made; "?" for the system's own text
    std::wstring made;    // a folder that exists afterwards
  };
  const Case cases[] = {
      {dir / L"a\\b\\c\\", L"", dir / L"a\\b\\c"},
      {dir / L"x\\y", L"", dir / L"x"},  // the last level needs its backslash
      {L"C:\\", L"", L"C:\\"},
      {dir / L"Tessel\\", L"A file is in the way: " + dir / L"Tessel", L""},
      {dir / L"Tessel\\Sub\\", L"A file is in the way: " + dir / L"Tessel", L""},
      {MissingDriveRoot() + L"Backups\\", L"?", L""},
      {L"\\\\nosuchserver\\share\\dir\\", L"?", L""},
  };
  win32::Win32FileSystem fs;
  for (const Case& c : cases) {
    Status made = fs.MakeFolderPath(c.path);
    EXPECT_EQ(bool(made), c.reason.empty()) << win32::WideToUtf8(c.path);
    EXPECT_EQ(c.reason == L"?" ? c.reason : made.reason, c.reason) << win32::WideToUtf8(c.path);
    EXPECT_TRUE(c.made.empty() || fs.FolderExists(c.made)) << win32::WideToUtf8(c.made);
  }
  EXPECT_FALSE(fs.FolderExists(dir / L"x\\y"));
  // What Windows rewrites (trailing dots) or takes for a device is refused, or made where every
  // other program finds it by the same path.
  for (const wchar_t* name : {L"Backups.", L"Backups ", L"con", L"a|b"}) {
    TestFolder fresh;
    Status made = fs.CreateFolder(fresh / name);
    DWORD plain = GetFileAttributesW((fresh / name).c_str());
    EXPECT_EQ(bool(made), plain != INVALID_FILE_ATTRIBUTES && (plain & FILE_ATTRIBUTE_DIRECTORY))
        << win32::WideToUtf8(name);
  }
}

TEST(Win32Platform, CodePageTextIsExactOrRefused) {
  const std::wstring japanese = L"D:\\\u65e5\u672c";
  win32::Win32System ansi(1252), utf8(CP_UTF8);
  EXPECT_EQ(ansi.ToCodePage(L"D:\\Caf\u00e9"), "D:\\Caf\xe9");
  EXPECT_EQ(ansi.ToCodePage(japanese), std::nullopt);
  EXPECT_EQ(utf8.ToCodePage(japanese), "D:\\\xe6\x97\xa5\xe6\x9c\xac");
  EXPECT_EQ(utf8.ToCodePage(L"D:\\\xd800"), std::nullopt) << "a stray surrogate";
  EXPECT_EQ(utf8.FromCodePage("D:\\\xe6\x97\xa5\xe6\x9c\xac"), japanese);
  // With UTF-8 as the system code page the settings file is written in it, without a mark.
  auto toUtf8 = [&](std::wstring_view text) { return utf8.ToCodePage(text); };
  EXPECT_EQ(EncodeSettingsFile(japanese, toUtf8), "D:\\\xe6\x97\xa5\xe6\x9c\xac\r\n");
}

TEST(Win32Platform, RunAndWaitStartsTheRawLineAndWaitsOrSaysWhyNot) {
  TestFolder dir;
  std::wstring record = dir / L"record.txt";
  SetEnvironmentVariableW(L"TESSEL_RECORD_FILE", record.c_str());
  ArchiverCommand command{wintest::ModuleFolder() + L"record_command_line.exe",
                          L"D:\\Backup Zips\\Photos-2009.zip", L"E:\\Photos\\"};
  win32::Win32System sys;
  ASSERT_TRUE(sys.RunAndWait(command.CommandLine()));
  std::string bytes = Read(record);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2),
            command.CommandLine());
  dir.MakeFolder(L"wzzip.exe");
  for (const std::wstring& program : {dir / L"wzzip.exe", dir / L"Missing\\wzzip.exe"}) {
    Status started = sys.RunAndWait(L"\"" + program + L"\" -u -p -r \"a\" \"b\"");
    EXPECT_FALSE(started) << win32::WideToUtf8(program);
    EXPECT_FALSE(started.reason.empty());
  }
}

}  // namespace
}  // namespace tessel
