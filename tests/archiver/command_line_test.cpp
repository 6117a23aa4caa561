// The raw command lines the archiver is started with, and the ones it must refuse.
#include <gtest/gtest.h>

#include "command_line.h"

namespace tessel::archiver {
namespace {

struct LineCase {
  const char* line;
  const char* archive;  // nullptr: the line is refused
  const char* folder;
  const char* error = "";  // part of the refusal message
};

TEST(ParseCommandLine, ReadsTheLinesBackupsBuild) {
  const LineCase cases[] = {
      {R"("C:\Program Files\WinZip\wzzip.exe" -u -p -r "D:\Backup Zips\Photos-2009.zip" "E:\Photos\")",
       R"(D:\Backup Zips\Photos-2009.zip)", R"(E:\Photos\)"},
      {R"("C:\Program Files\WinZip\wzzip.exe" -u -p -r "D:\Backup Zips\John-200905.zip" "C:\Users\John\Documents\*.*")",
       R"(D:\Backup Zips\John-200905.zip)", R"(C:\Users\John\Documents\)"},
      {R"("C:\Program Files\WinZip\wzzip.exe" -u -p -r "D:\a.zip" "E:\")", R"(D:\a.zip)", R"(E:\)"},
      {R"("C:\Program Files\WinZip\wzzip.exe" -u -p -r "D:\a.zip" "E:\*.*")", R"(D:\a.zip)",
       R"(E:\)"},
      {"\"C:\\w.exe\"\t-u  -p\t-r   \"D:\\a.zip\"   \"E:\\My Data\\\"  ", R"(D:\a.zip)",
       R"(E:\My Data\)"},
      {R"(C:\w.exe -u -p -r D:\a.zip E:\Data)", R"(D:\a.zip)", R"(E:\Data)"},
      {R"(w -U -P -R "D:\a.zip" "E:\Data\*")", R"(D:\a.zip)", R"(E:\Data\)"},
      {R"(w -upr "D:\Backups\"x".zip" "E:\Data\")", R"(D:\Backups\x.zip)", R"(E:\Data\)"},
      {R"(w -u -p -r "D:\日本\é.zip" "E:\Données\")", R"(D:\日本\é.zip)", R"(E:\Données\)"},
      {R"(w -u -p -r /backups/a.zip /data/photos/)", "/backups/a.zip", "/data/photos/"},
      {R"(w -u -p -r a.zip *.*)", "a.zip", "."},
      // Refused, with what the message must name.
      {R"("C:\w.exe" -u -p -r "D:\a.zip" "E:\Photos\)", nullptr, nullptr, "not closed"},
      {R"("C:\w.exe" -u -x -r "D:\a.zip" "E:\Photos\")", nullptr, nullptr, "unknown option -x"},
      {R"("C:\w.exe" -u -p -r "D:\a.zip")", nullptr, nullptr, "no source"},
      {R"("C:\w.exe" -u -p -r)", nullptr, nullptr, "no archive"},
      {R"("C:\w.exe")", nullptr, nullptr, "no archive"},
      {"", nullptr, nullptr, "empty"},
      {R"("C:\w.exe" -u "D:\a.zip" "E:\" "F:\")", nullptr, nullptr, "unexpected argument"},
      {R"("C:\w.exe" "D:\a.zip" -u "E:\")", nullptr, nullptr, "after the archive"},
      {R"("C:\w.exe" -u "" "E:\")", nullptr, nullptr, "archive name is empty"},
      {R"("C:\w.exe" -u "D:\a.zip" "")", nullptr, nullptr, "source is empty"},
      {R"("C:\w.exe" -u "D:\*.zip" "E:\")", nullptr, nullptr, "wildcards in the archive"},
      {R"("C:\w.exe" -u "D:\Backups\" "E:\")", nullptr, nullptr, "is a folder"},
      {R"("C:\w.exe" -u "D:\a.zip" "E:\*.txt")", nullptr, nullptr, "*.txt"},
      {R"("C:\w.exe" -u "D:\a.zip" "E:\*\x\")", nullptr, nullptr, "wildcards in the source"},
  };
  for (const LineCase& c : cases) {
    ParseResult result = ParseCommandLine(c.line);
    if (c.archive == nullptr) {
      EXPECT_FALSE(result.request) << c.line;
      EXPECT_NE(result.error.find(c.error), std::string::npos)
          << c.line << "\n  expected the error to name '" << c.error << "', got '" << result.error
          << "'";
      continue;
    }
    ASSERT_TRUE(result.request) << c.line << "\n  refused: " << result.error;
    EXPECT_EQ(result.request->archive, c.archive) << c.line;
    EXPECT_EQ(result.request->folder, c.folder) << c.line;
  }
}

TEST(ParseCommandLine, OptionsSetOnlyTheirOwnFlag) {
  struct {
    const char* options;
    bool update, keepPaths, recurse;
  } cases[] = {
      {"-u -p -r", true, true, true}, {"-r", false, false, true}, {"-p", false, true, false},
      {"-u", true, false, false},     {"", false, false, false},  {"-r -r -u", true, false, true},
  };
  for (const auto& c : cases) {
    ParseResult result = ParseCommandLine(std::string("w ") + c.options + " a.zip src\\");
    ASSERT_TRUE(result.request) << c.options << ": " << result.error;
    EXPECT_EQ(result.request->update, c.update) << c.options;
    EXPECT_EQ(result.request->keepPaths, c.keepPaths) << c.options;
    EXPECT_EQ(result.request->recurse, c.recurse) << c.options;
  }
}

TEST(SplitRawCommandLine, KeepsBackslashesAndEmptyQuotedArguments) {
  auto split = SplitRawCommandLine(R"("a b\" "" c\\"d e"f)");
  ASSERT_TRUE(split);
  EXPECT_EQ(*split, (std::vector<std::string>{"a b\\", "", "c\\\\d ef"}));
}

}  // namespace
}  // namespace tessel::archiver
