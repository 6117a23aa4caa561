// The Win32 platform layer against Wine's real file system and processes.
#include <gtest/gtest.h>

#include "core/naming.h"
#include "jobs/archiver_command.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "test_folder.h"

namespace tessel {
namespace {

using wintest::TestFolder;

std::wstring ReadUtf16(const std::wstring& path) {
  win32::Win32FileSystem fs;
  std::string bytes;
  if (!fs.ReadFile(path, bytes)) return L"<no record>";
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

TEST(Win32System, DriveLetterAndUserName) {
  win32::Win32System sys;
  std::wstring letter = SystemDriveLetter(sys);
  ASSERT_EQ(letter.size(), 1u);
  EXPECT_TRUE(iswalpha(letter[0])) << "letter '" << letter << "'";
  EXPECT_FALSE(GetNetworkUserName(sys).empty());
  EXPECT_FALSE(sys.ThousandsSeparator().empty());
}

TEST(Win32FileSystem, ProbesFindFilesAndFoldersOfTheName) {
  TestFolder dir;
  dir.MakeFolder(L"WinZip");
  dir.MakeFile(L"WinZip\\winzip32.exe");
  dir.MakeFolder(L"WinZip\\wzzip.exe");  // a folder named like the probed file passes
  win32::Win32FileSystem fs;
  EXPECT_TRUE(fs.EntryExists(dir / L"WinZip\\winzip32.exe"));
  EXPECT_TRUE(fs.EntryExists(dir / L"WinZip\\wzzip.exe"));
  EXPECT_TRUE(fs.EntryExists(dir / L"WINZIP\\WZZIP.EXE"));
  EXPECT_FALSE(fs.EntryExists(dir / L"WinZip\\missing.exe"));
  EXPECT_FALSE(fs.EntryExists(dir / L"Nowhere\\wzzip.exe"));
  EXPECT_TRUE(fs.FolderExists(dir / L"WinZip"));
  EXPECT_TRUE(fs.FolderExists(dir / L"WinZip\\"));
  EXPECT_FALSE(fs.FolderExists(dir / L"WinZip\\winzip32.exe"));
  EXPECT_TRUE(fs.FolderExists(L"C:\\"));
}

TEST(Win32FileSystem, ReplaceFileSwapsContentWhole) {
  TestFolder dir;
  win32::Win32FileSystem fs;
  std::wstring file = dir / L"settings.txt";
  ASSERT_TRUE(fs.CreateEmptyFile(file));
  EXPECT_FALSE(fs.CreateEmptyFile(file)) << "an existing file is left alone";
  ASSERT_TRUE(fs.ReplaceFileContent(file, "D:\\Archive\r\n"));
  std::string bytes;
  ASSERT_TRUE(fs.ReadFile(file, bytes));
  EXPECT_EQ(bytes, "D:\\Archive\r\n");
  Status failed = fs.ReplaceFileContent(dir / L"missing\\settings.txt", "x");
  EXPECT_FALSE(failed);
  EXPECT_FALSE(failed.reason.empty());
}

TEST(Win32FileSystem, MakeFolderPathCreatesEveryLevel) {
  TestFolder dir;
  win32::Win32FileSystem fs;
  ASSERT_TRUE(fs.MakeFolderPath(dir / L"a\\b\\c\\"));
  EXPECT_TRUE(fs.FolderExists(dir / L"a\\b\\c"));
  ASSERT_TRUE(fs.MakeFolderPath(dir / L"x\\y"));
  EXPECT_TRUE(fs.FolderExists(dir / L"x"));
  EXPECT_FALSE(fs.FolderExists(dir / L"x\\y")) << "the last level needs a trailing backslash";
  dir.MakeFile(L"file");
  EXPECT_FALSE(fs.MakeFolderPath(dir / L"file\\sub\\"));
}

TEST(Win32System, RunAndWaitStartsTheRawLineAndWaits) {
  TestFolder dir;
  std::wstring record = dir / L"record.txt";
  SetEnvironmentVariableW(L"TESSEL_RECORD_FILE", record.c_str());
  std::wstring program = wintest::ModuleFolder() + L"record_command_line.exe";
  ArchiverCommand command{program, L"D:\\Backup Zips\\Photos-2009.zip", L"E:\\Photos\\"};
  win32::Win32System sys;
  ASSERT_TRUE(sys.RunAndWait(command.CommandLine()));
  EXPECT_EQ(ReadUtf16(record), command.CommandLine());
}

TEST(Win32System, LaunchThatCannotStartIsReported) {
  win32::Win32System sys;
  Status started = sys.RunAndWait(L"\"C:\\no such folder\\wzzip.exe\" -u -p -r \"a\" \"b\"");
  EXPECT_FALSE(started);
  EXPECT_FALSE(started.reason.empty());
}

TEST(Win32System, CodePageRefusesWhatItCannotHold) {
  win32::Win32System sys;
  ASSERT_TRUE(sys.ToCodePage(L"D:\\Backup Zips").has_value());
  EXPECT_EQ(*sys.ToCodePage(L"D:\\Backup Zips"), "D:\\Backup Zips");
  EXPECT_FALSE(sys.ToCodePage(L"D:\\\u65e5\u672c").has_value());
  EXPECT_EQ(sys.FromCodePage("D:\\x"), L"D:\\x");
}

}  // namespace
}  // namespace tessel
