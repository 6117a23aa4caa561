// The pure rules: archive names and patterns, proper case and its letter pairs, the drive letter
// and user name, digit grouping, UTF-8, and the settings file's bytes both ways.
#include <gtest/gtest.h>

#include "core/naming.h"
#include "core/text.h"
#include "core/utf8.h"
#include "destination/settings_file.h"
#include "fake_platform.h"
#include "metrics/digit_grouping.h"

namespace tessel {
namespace {

TEST(Naming, ProperCaseWordsAndLetterPairs) {
  const std::wstring cases[][2] = {
      {L"jOHN smith", L"John Smith"},
      {L"MY-PICS o'neil", L"My-pics O'neil"},
      {std::wstring(L"a\tb\nc\vd\fe\rf\0g h", 15), std::wstring(L"A\tB\nC\vD\fE\rF\0G H", 15)},
      {L"  \u00e9MILE \u0441\u0415\u0420\u0413\u0415\u0419",
       L"  \u00c9mile \u0421\u0435\u0440\u0433\u0435\u0439"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProperCase(c[0]), c[1]);
  // Small and capital letter of each pair, at the ends of every range the mapping knows.
  const wchar_t pairs[][2] = {
      {L'a', L'A'},   {L'z', L'Z'},   {0xE0, 0xC0},   {0xFE, 0xDE},   {0xFF, 0x178},
      {0x101, 0x100}, {0x137, 0x136}, {0x13A, 0x139}, {0x148, 0x147}, {0x14B, 0x14A},
      {0x177, 0x176}, {0x17A, 0x179}, {0x17E, 0x17D}, {0x3B1, 0x391}, {0x3C9, 0x3A9},
      {0x430, 0x410}, {0x44F, 0x42F}, {0x450, 0x400}, {0x45F, 0x40F},
  };
  for (const auto& [small, capital] : pairs) {
    EXPECT_EQ(ToUpperChar(small), capital) << std::hex << int(small);
    EXPECT_EQ(ToLowerChar(capital), small) << std::hex << int(capital);
    EXPECT_EQ(ToUpperChar(capital) + ToLowerChar(small), capital + small) << std::hex << int(small);
  }
  for (wchar_t c :
       std::wstring(L"`{@[\u00d7\u00f7\u00df\u0130\u0131\u0138\u0149\u017f\u03a2\u03c2\u0460")) {
    EXPECT_EQ(ToUpperChar(c) + ToLowerChar(c), 2 * c) << std::hex << int(c);
  }
}

TEST(GroupDigits, EveryThreeDigitsNeverScaled) {
  EXPECT_EQ(GroupDigits(0, L",") + L" " + GroupDigits(999, L",") + L" " + GroupDigits(1000, L"."),
            L"0 999 1.000");
  EXPECT_EQ(GroupDigits(18446744073709551615ull, L","), L"18,446,744,073,709,551,615");
  EXPECT_EQ(GroupDigits(1234567, L""), L"1234567");
}

TEST(Utf8, BoundsBothWays) {
  const std::pair<std::string, std::wstring> valid[] = {
      {"\x7F", L"\x7F"},
      {"\xC2\x80", L"\x80"},
      {"\xDF\xBF", L"\x7FF"},
      {"\xE0\xA0\x80", L"\x800"},
      {"\xEF\xBF\xBF", L"\xFFFF"},
      {"\xF0\x90\x80\x80", L"\U00010000"},
      {"\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
      {"\xED\xA0\x80", L"\xD800"},
  };
  for (const auto& [bytes, text] : valid) {
    EXPECT_EQ(FromUtf8(bytes), text) << bytes;
    EXPECT_EQ(ToUtf8(text), bytes) << bytes;
  }
  EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xEF\xBF\xBD");
  // Overlong forms, values past U+10FFFF, bad leads and cut sequences: one U+FFFD per byte.
  const std::pair<std::string, size_t> malformed[] = {
      {"\xC1\xBF", 2},
      {"\xE0\x9F\xBF", 3},
      {"\xF0\x8F\xBF\xBF", 4},
      {"\xF4\x90\x80\x80", 4},
      {"\xF5\x80\x80\x80", 4},
      {"\xE2\x82", 2},
      {"\x80", 1},
  };
  for (const auto& [bytes, count] : malformed) {
    EXPECT_EQ(FromUtf8(bytes), std::wstring(count, L'\uFFFD')) << bytes.size();
  }
  EXPECT_EQ(FromUtf8("\xC3\x28"), L"\uFFFD(");
}

std::wstring Latin1(std::string_view b) {
  return fake::FakeSystem().FromCodePage(b);
}

TEST(SettingsFile, LinesFromAnyBytes) {
  const std::pair<std::string, std::vector<std::wstring>> cases[] = {
      {"", {}},
      {"D:\\One\r\n\r\n", {L"D:\\One", L""}},
      {"D:\\One\nE:\\Two\rF:\\3", {L"D:\\One", L"E:\\Two", L"F:\\3"}},
      {"\n\r\r\n\r", {L"", L"", L"", L""}},
      {"D:\\Caf\xE9\r\n", {L"D:\\Caf\u00e9"}},
      {"\xEF\xBB\xBF"
       "D:\\\xD0\x90\xFF",
       {L"D:\\\u0410\uFFFD"}},
      {std::string("D:\\A\0junk\r\n\0", 13), {L"D:\\A", L""}},
  };
  for (const auto& [bytes, lines] : cases)
    EXPECT_EQ(ParseSettingsFile(bytes, Latin1), lines) << bytes;
}

TEST(SettingsFile, WrittenInTheCodePageOrMarkedUtf8AndReadBackExactly) {
  auto toLatin1 = [](std::wstring_view t) { return fake::FakeSystem().ToCodePage(t); };
  const std::pair<std::wstring, std::string> cases[] = {
      {L"D:\\Backups  ", "D:\\Backups  \r\n"},
      {L"D:\\Caf\u00e9", "D:\\Caf\xE9\r\n"},
      {L"D:\\\u0410",
       "\xEF\xBB\xBF"
       "D:\\\xD0\x90\r\n"},
      // In the code page this would read back as a byte-order mark.
      {L"\u00ef\u00bb\u00bfx", "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBFx\r\n"},
  };
  for (const auto& [text, bytes] : cases) {
    EXPECT_EQ(EncodeSettingsFile(text, toLatin1), bytes);
    EXPECT_EQ(ParseSettingsFile(bytes, Latin1), std::vector<std::wstring>{text});
  }
}

}  // namespace
}  // namespace tessel
