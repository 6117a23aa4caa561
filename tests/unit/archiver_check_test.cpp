// The archiver presence check, its messages and the archiver command line.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "jobs/archiver_command.h"
#include "jobs/presence_check.h"

namespace tessel {
namespace {

const wchar_t kMessageA[] =
    L"WinZip was \r\n\r\n(1) not found to be installed or\r\n(2) not installed to default "
    L"path.\r\n\r\nIt must be installed and installed to the\r\n default path for this program "
    L"to function.\r\n Tessel works best if a WinZip license\r\n is purchased.";
const wchar_t kMessageB[] =
    L"The WinZip Command Line Support Add-on was \r\n\r\n(1) not found to be installed or\r\n(2) "
    L"not installed to default path.\r\n\r\nIt must be installed and installed to the\r\n "
    L"default path for this program to function.\r\n Tessel works best if a WinZip license\r\n "
    L"is purchased.";

struct PresenceCase {
  const char* name;
  bool winzip, addon;
  bool expectResult;
  int expectWinZipBox, expectAddonBox;  // -1: never set
  std::vector<std::wstring> expectMessages;
};

TEST(CheckWinZipInstalled, FourOutcomes) {
  const PresenceCase cases[] = {
      {"both present", true, true, true, 1, 1, {}},
      {"WinZip missing", false, true, true, -1, 1, {kMessageA}},
      {"add-on missing", true, false, false, 1, 0, {kMessageB}},
      {"both missing", false, false, false, -1, 0, {kMessageA, kMessageB}},
  };
  for (const PresenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakePlatform p;
    if (c.winzip) p.fs.AddFile(L"C:\\Program Files\\WinZip\\winzip32.exe", 100);
    if (c.addon) p.fs.AddFile(L"C:\\Program Files\\WinZip\\wzzip.exe", 100);
    int winzipBox = -1, addonBox = -1;
    bool result = CheckWinZipInstalled(p.platform, [&](PresenceBox box, int value) {
      (box == PresenceBox::WinZip ? winzipBox : addonBox) = value;
    });
    EXPECT_EQ(result, c.expectResult);
    EXPECT_EQ(winzipBox, c.expectWinZipBox);
    EXPECT_EQ(addonBox, c.expectAddonBox);
    ASSERT_EQ(p.dialogs.messages.size(), c.expectMessages.size());
    for (size_t i = 0; i < c.expectMessages.size(); ++i) {
      EXPECT_EQ(p.dialogs.messages[i].text, c.expectMessages[i]);
      EXPECT_EQ(p.dialogs.messages[i].caption, L"Tessel");
      EXPECT_EQ(p.dialogs.messages[i].buttons, Buttons::Ok);
    }
  }
}

TEST(CheckWinZipInstalled, ProbesDriveCOnlyAndAcceptsFolders) {
  fake::FakePlatform p;
  p.sys.windowsDirectory = L"D:\\WINDOWS";
  p.fs.AddFile(L"D:\\Program Files\\WinZip\\winzip32.exe", 1);
  p.fs.AddFile(L"D:\\Program Files\\WinZip\\wzzip.exe", 1);
  EXPECT_FALSE(CheckWinZipInstalled(p.platform, [](PresenceBox, int) {}));
  EXPECT_EQ(p.dialogs.messages.size(), 2u);

  fake::FakePlatform q;
  q.fs.AddFolder(L"C:\\PROGRAM FILES\\winzip\\WZZIP.EXE");  // any entry of that name passes
  q.fs.AddFile(L"c:\\program files\\winzip\\winzip32.exe", 1);
  EXPECT_TRUE(CheckWinZipInstalled(q.platform, [](PresenceBox, int) {}));
  EXPECT_TRUE(q.dialogs.messages.empty());
}

TEST(ArchiverCommand, ExactShape) {
  struct Case {
    std::wstring drive, archive, source, expected;
  };
  const Case cases[] = {
      {L"C", L"D:\\Backup Zips\\John-200905.zip", L"C:\\Users\\John\\Documents\\*.*",
       L"\"C:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r \"D:\\Backup Zips\\John-200905.zip\" "
       L"\"C:\\Users\\John\\Documents\\*.*\""},
      {L"C", L"D:\\Backup Zips\\Photos-2009.zip", L"E:\\Photos\\",
       L"\"C:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r \"D:\\Backup Zips\\Photos-2009.zip\" "
       L"\"E:\\Photos\\\""},
      {L"E", L"D:\\x.zip", L"F:\\",
       L"\"E:\\Program Files\\WinZip\\wzzip.exe\" -u -p -r "
       L"\"D:\\x.zip\" \"F:\\\""},
      {L"", L"", L"", L"\":\\Program Files\\WinZip\\wzzip.exe\" -u -p -r \"\" \"\""},
  };
  for (const Case& c : cases) {
    ArchiverCommand command{ArchiverProgramPath(c.drive), c.archive, c.source};
    EXPECT_EQ(command.CommandLine(), c.expected);
  }
}

TEST(RunArchiverAndWait, LaunchesOnceAndReportsOnlyAFailedStart) {
  fake::FakePlatform p;
  ArchiverCommand command{ArchiverProgramPath(L"C"), L"D:\\a.zip", L"E:\\src\\"};
  EXPECT_TRUE(RunArchiverAndWait(p.platform, command));
  ASSERT_EQ(p.sys.launches.size(), 1u);
  EXPECT_EQ(p.sys.launches[0], command.CommandLine());
  EXPECT_TRUE(p.dialogs.messages.empty()) << "a finished archiver is never reported";

  p.sys.launchResult = Status::Failed(L"The system cannot find the file specified.");
  EXPECT_FALSE(RunArchiverAndWait(p.platform, command));
  ASSERT_EQ(p.dialogs.messages.size(), 1u);
  EXPECT_EQ(p.dialogs.messages[0].text,
            L"The archiver could not be started:\r\nC:\\Program Files\\WinZip\\wzzip.exe\r\n\r\n"
            L"The system cannot find the file specified.");
  EXPECT_EQ(p.dialogs.messages[0].caption, L"Tessel");
}

TEST(RefuseQuotes, NamesTheFirstFieldHoldingAQuote) {
  fake::FakePlatform p;
  EXPECT_TRUE(RefuseQuotes(p.platform, {{L"Destination", L"D:\\Backup Zips\\ "},
                                        {L"Backup File Label", L"my photos\\"}}));
  EXPECT_TRUE(p.dialogs.messages.empty());

  EXPECT_FALSE(RefuseQuotes(p.platform, {{L"Destination", L"D:\\Backups"},
                                         {L"Backup File Label", L"x\" -m \"y"},
                                         {L"Source Path", L"E:\\\"z"}}));
  ASSERT_EQ(p.dialogs.messages.size(), 1u);
  EXPECT_EQ(p.dialogs.messages[0].text, QuoteRefusalMessage(L"Backup File Label"));
  EXPECT_NE(p.dialogs.messages[0].text.find(L"Backup File Label"), std::wstring::npos);
  EXPECT_EQ(p.dialogs.messages[0].caption, L"Tessel");
}

}  // namespace
}  // namespace tessel
