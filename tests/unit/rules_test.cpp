// The pure rules the window tests reach only in part: proper case and its letter pairs, UTF-8,
// and the settings file's bytes both ways.
#include <gtest/gtest.h>

#include "core/text.h"
#include "core/utf8.h"
#include "destination/settings_file.h"
#include "fake_platform.h"

namespace tessel {
namespace {

TEST(Naming, ProperCaseWordsAndLetterPairs) {
  EXPECT_EQ(ProperCase(std::wstring(L"a\tb\nc\vd\fe\rf\0g h-I", 17)),
            std::wstring(L"A\tB\nC\vD\fE\rF\0G H-i", 17));
  // Letters outside the plane (a surrogate pair in 16-bit wchar_t) are kept and start no word.
  EXPECT_EQ(ProperCase(L"\U0001F600a b\U0001D41A c"), L"\U0001F600a B\U0001D41A C");
  // Small and capital letter of each pair, at the ends of every range the mapping knows.
  const wchar_t pairs[][2] = {{L'a', L'A'},   {L'z', L'Z'},   {0xE0, 0xC0},   {0xFE, 0xDE},
                              {0xFF, 0x178},  {0x101, 0x100}, {0x137, 0x136}, {0x13A, 0x139},
                              {0x148, 0x147}, {0x14B, 0x14A}, {0x177, 0x176}, {0x17A, 0x179},
                              {0x17E, 0x17D}, {0x3B1, 0x391}, {0x3C9, 0x3A9}, {0x430, 0x410},
                              {0x44F, 0x42F}, {0x450, 0x400}, {0x45F, 0x40F}};
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

TEST(Utf8, BoundsBothWays) {
  // The first and last value of each length, and a lone surrogate, which is let through.
  const std::string valid =
      "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80"
      "\xF4\x8F\xBF\xBF\xED\xA0\x80";
  const std::wstring text = L"\x7F\x80\x7FF\x800\xFFFF\U00010000\U0010FFFF\xD800";
  EXPECT_EQ(FromUtf8(valid), text);
  EXPECT_EQ(ToUtf8(text), valid);
  // Surrogates that pair with nothing (a low before a high, a high last) go out and back alone.
  const std::wstring lone = L"\xDC00\xD800-\xDBFF";
  EXPECT_EQ(ToUtf8(lone), "\xED\xB0\x80\xED\xA0\x80-\xED\xAF\xBF");
  EXPECT_EQ(FromUtf8(ToUtf8(lone)), lone);
  if constexpr (sizeof(wchar_t) == 4) {  // only a 32-bit wchar_t holds a value past U+10FFFF
    EXPECT_EQ(ToUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), "\xEF\xBF\xBD");
  }
  // Overlong forms, values past U+10FFFF, bad leads and a cut sequence: one U+FFFD per byte.
  EXPECT_EQ(FromUtf8("\xC1\xBF\xE0\x9F\xBF\xF0\x8F\xBF\xBF\xF4\x90\x80\x80\xF5\x80\x80\x80\x80"
                     "\xE2\x82"),
            std::wstring(20, L'\uFFFD'));
  EXPECT_EQ(FromUtf8("\xC3\x28"), L"\uFFFD(");
}

std::wstring Latin1(std::string_view b) {
  return fake::FakeSystem().FromCodePage(b);
}

TEST(SettingsFile, LinesFromAnyBytes) {
  EXPECT_TRUE(ParseSettingsFile("", Latin1).empty());
  // CR LF, LF and CR each end a line, a line's text stops at a NUL, and the last needs no end.
  EXPECT_EQ(ParseSettingsFile(std::string("D:\\1\nE:\\2\r\r\nCaf\xE9\0junk\r\n\n\r\0", 26), Latin1),
            (std::vector<std::wstring>{L"D:\\1", L"E:\\2", L"", L"Caf\u00e9", L"", L"", L""}));
  EXPECT_EQ(ParseSettingsFile("\357\273\277D:\\\xD0\x90\xFF", Latin1),
            std::vector<std::wstring>{L"D:\\\u0410\uFFFD"});
}

TEST(SettingsFile, WrittenInTheCodePageOrMarkedUtf8AndReadBackExactly) {
  auto toLatin1 = [](std::wstring_view t) { return fake::FakeSystem().ToCodePage(t); };
  const std::pair<std::wstring, std::string> cases[] = {
      {L"D:\\Backups  ", "D:\\Backups  \r\n"},
      {L"D:\\Caf\u00e9", "D:\\Caf\xE9\r\n"},
      {L"D:\\\u0410", "\357\273\277D:\\\xD0\x90\r\n"},
      // In the code page this would read back as a byte-order mark.
      {L"\u00ef\u00bb\u00bfx", "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBFx\r\n"}};
  for (const auto& [text, bytes] : cases) {
    EXPECT_EQ(EncodeSettingsFile(text, toLatin1), bytes);
    EXPECT_EQ(ParseSettingsFile(bytes, Latin1), std::vector<std::wstring>{text});
  }
}

}  // namespace
}  // namespace tessel
