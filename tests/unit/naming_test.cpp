// Archive names, documents and source patterns, the drive letter and the user name.
#include <gtest/gtest.h>

#include "core/naming.h"
#include "core/text.h"
#include "fake_platform.h"

namespace tessel {
namespace {

struct ArchiveCase {
  const wchar_t* destination;
  const wchar_t* label;
  const wchar_t* year;
  const wchar_t* month;
  const wchar_t* expected;
};

TEST(GetArchiveName, JoinsPiecesAsTheyAre) {
  const ArchiveCase cases[] = {
      {L"D:\\Backups\\", L"docs", L"2011", L"08", L"D:\\Backups\\docs-201108.zip"},
      {L"D:\\Backups", L"docs", L"2011", L"08", L"D:\\Backups\\docs-201108.zip"},
      {L"", L"docs", L"2011", L"08", L"\\docs-201108.zip"},
      {L"D:\\Backups", L"docs", L"2011", L"", L"D:\\Backups\\docs-2011.zip"},
      {L"D:\\Backups", L" ", L"2011", L"08", L"D:\\Backups\\ -201108.zip"},
      {L"D:\\Backups", L"jOHN smith", L"2011", L"08", L"D:\\Backups\\jOHN smith-201108.zip"},
      {L"D:\\Backups", L"docs", L"FY11", L"08", L"D:\\Backups\\docs-FY1108.zip"},
      {L"D:\\", L"docs", L"", L"", L"D:\\docs-.zip"},
  };
  for (const ArchiveCase& c : cases) {
    EXPECT_EQ(GetArchiveName(c.destination, c.label, c.year, c.month), c.expected)
        << "destination '" << c.destination << "' label '" << c.label << "'";
  }
}

TEST(QualifyPath, AddsOneTrailingBackslash) {
  EXPECT_EQ(QualifyPath(L""), L"\\");
  EXPECT_EQ(QualifyPath(L"E:\\"), L"E:\\");
  EXPECT_EQ(QualifyPath(L"E:\\Data"), L"E:\\Data\\");
  EXPECT_EQ(QualifyPath(L"E:\\Data\\\\"), L"E:\\Data\\\\");
}

TEST(TrimNull, CutsAtFirstNul) {
  EXPECT_EQ(TrimNull(L"abc"), L"abc");
  EXPECT_EQ(TrimNull(std::wstring(L"\0abc", 4)), L"");
  EXPECT_EQ(TrimNull(std::wstring(L"ab\0c\0", 5)), L"ab");
  EXPECT_EQ(TrimNull(L""), L"");
}

TEST(ProperCase, WordsStartAfterEachSeparator) {
  struct Case {
    std::wstring in, out;
  };
  const Case cases[] = {
      {L"jOHN smith", L"John Smith"},
      {L"MY-PICS", L"My-pics"},
      {L"my photos", L"My Photos"},
      {L"a\tb\nc\vd\fe\rf", L"A\tB\nC\vD\fE\rF"},
      {std::wstring(L"ab\0cd", 5), std::wstring(L"Ab\0Cd", 5)},
      {L"  lead", L"  Lead"},
      {L"o'neil mcDONALD", L"O'neil Mcdonald"},
      {L"\u00e9MILE \u00c5SA", L"\u00c9mile \u00c5sa"},
      {L"\u0441\u0415\u0420\u0413\u0415\u0419", L"\u0421\u0435\u0440\u0433\u0435\u0439"},
      {L"\u03b1\u0392\u0393", L"\u0391\u03b2\u03b3"},
      {L"\u0142UKASZ \u017c\u00d3\u0141W", L"\u0141ukasz \u017b\u00f3\u0142w"},
      {L"stra\u00dfe", L"Stra\u00dfe"},
      {L"2011 x", L"2011 X"},
      {L"", L""},
  };
  for (const Case& c : cases) {
    std::wstring got = ProperCase(c.in);
    EXPECT_EQ(got, c.out) << "input '" << c.in << "'";
    EXPECT_EQ(got.size(), c.in.size());
  }
}

TEST(Patterns, DocumentsAndSourcePatterns) {
  EXPECT_EQ(GetUserDocumentsPath(L"C", L"jOHN smith"), L"C:\\Users\\John Smith\\Documents\\*.*");
  EXPECT_EQ(GetUserDocumentsPath(L"C", L"jdoe", UsersSpelling::USers),
            L"C:\\USers\\Jdoe\\Documents\\*.*");
  EXPECT_EQ(GetUserDocumentsPath(L"", L"jsmith"), L":\\Users\\Jsmith\\Documents\\*.*");
  EXPECT_EQ(GetSpecificDirectoryPattern(L"E:\\Data"), L"E:\\Data\\*.*");
  EXPECT_EQ(GetSpecificDirectoryPattern(L"E:\\"), L"E:\\*.*");
}

TEST(DerivedFields, EmptyOnlyWhenTheirDecidingFieldIsEmpty) {
  BackupSettings s;
  s.txtDefaultPath = L"D:\\Backups";
  s.cmbFileNameYear.text = L"2011";
  s.cmbFileNameMonth.text = L"08";
  EXPECT_EQ(SpecificArchivePath(s), L"");
  EXPECT_EQ(UserArchivePath(s), L"");
  EXPECT_EQ(UserDocumentsPattern(s, L"C", UsersSpelling::Users), L"");
  EXPECT_EQ(SpecificDirectoryPattern(s), L"");

  s.txtSpecificBackupFileName = L"docs";
  s.txtUsers = L"jOHN smith";
  s.TxtSrc = L"E:\\Data";
  s.txtDefaultPath.clear();
  s.cmbFileNameYear.text.clear();
  EXPECT_EQ(SpecificArchivePath(s), L"\\docs-08.zip");
  EXPECT_EQ(UserArchivePath(s), L"\\jOHN smith-08.zip");
  EXPECT_EQ(UserDocumentsPattern(s, L"C", UsersSpelling::Users),
            L"C:\\Users\\John Smith\\Documents\\*.*");
  EXPECT_EQ(SpecificDirectoryPattern(s), L"E:\\Data\\*.*");
}

TEST(SystemFacts, DriveLetterAndUserName) {
  fake::FakeSystem sys;
  struct Case {
    std::wstring windowsDirectory, letter;
  };
  const Case cases[] = {{L"C:\\WINDOWS", L"C"}, {L"  D:\\Win  ", L"D"}, {L"", L""}, {L"   ", L""}};
  for (const Case& c : cases) {
    sys.windowsDirectory = c.windowsDirectory;
    EXPECT_EQ(SystemDriveLetter(sys), c.letter) << "directory '" << c.windowsDirectory << "'";
  }

  sys.userName = L"jsmith";
  EXPECT_EQ(GetNetworkUserName(sys), L"jsmith");
  sys.userName = std::wstring(L"jsmith\0junk", 11);
  EXPECT_EQ(GetNetworkUserName(sys), L"jsmith");
  sys.userName = std::nullopt;
  EXPECT_EQ(GetNetworkUserName(sys), L"");
}

}  // namespace
}  // namespace tessel
