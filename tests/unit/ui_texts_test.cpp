// The Help and licence texts: block structure, line breaks and the exact quoted blocks.
#include <gtest/gtest.h>

#include <string>

#include "ui/text_forms.h"
#include "core/vendor_link.h"

namespace tessel::ui {
namespace {

// CR LF pairs after each block, as the two windows' block tables give them.
const int kHelpBreaks[] = {2, 2, 2, 2, 3, 3, 2, 2, 2, 2, 3, 2, 2, 2, 3, 2, 2, 2, 2, 3,
                           2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 2, 3, 2, 2, 2, 2, 0};
const int kEulaBreaks[] = {2, 2, 3, 2, 2, 2, 3, 2, 2, 3, 2, 2, 2, 3, 2, 3, 2, 2, 1, 2, 0};

TEST(TextBlocks, BreakCountsFollowTheTables) {
  const struct {
    const char* name;
    std::vector<TextBlock> blocks;
    std::span<const int> breaks;
  } cases[] = {{"help", HelpBlocks(), kHelpBreaks}, {"licence", EulaBlocks(), kEulaBreaks}};
  for (const auto& c : cases) {
    ASSERT_EQ(c.blocks.size(), c.breaks.size()) << c.name;
    for (size_t i = 0; i < c.blocks.size(); ++i) {
      EXPECT_EQ(c.blocks[i].breaksAfter, c.breaks[i]) << c.name << " block " << i + 1;
      const std::wstring& t = c.blocks[i].text;
      EXPECT_FALSE(t.empty()) << c.name << " block " << i + 1;
      EXPECT_EQ(t.find_first_of(L"\r\n"), std::wstring::npos)
          << c.name << " block " << i + 1 << " holds a line break of its own";
    }
  }
}

TEST(TextBlocks, JoinedTextsEndWithoutALineBreak) {
  for (const std::wstring& text : {HelpText(), EulaText()}) {
    ASSERT_GE(text.size(), 2u);
    EXPECT_NE(text.back(), L'\n');
    // Every line feed belongs to a CR LF pair and vice versa.
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == L'\r') {
        EXPECT_EQ(text[i + 1], L'\n') << "lone CR at " << i;
      }
      if (text[i] == L'\n') {
        EXPECT_EQ(text[i - 1], L'\r') << "lone LF at " << i;
      }
    }
  }
}

TEST(HelpText, QuotedBlocksAreExactAndHeadingsStandApart) {
  std::wstring text = HelpText();
  EXPECT_TRUE(
      text.starts_with(L"PREREQUISITES\r\n\r\nTo use this application, the following "
                       L"are required: \r\n\r\n1.  WinZip must be installed"));
  EXPECT_TRUE(
      text.ends_with(L"\r\n\r\nMonth\r\n\r\nDefault is System Date Month.  This adds the "
                     L"month chosen to the zip file name only if Versioning is "
                     L"selected."));
  for (const wchar_t* heading :
       {L"OVERVIEW", L"CAVEATS", L"DIRECTIONS", L"BUTTONS", L"VERSIONING", L"FILE NAME"}) {
    std::wstring framed = std::wstring(L".\r\n\r\n\r\n") + heading + L"\r\n\r\n";
    EXPECT_NE(text.find(framed), std::wstring::npos) << "heading not framed by 2 and 1 blank lines";
  }
  EXPECT_NE(text.find(L"c:\\program files\\winzip.\r\n\r\n\r\nAnyone using WinZip beyond the "
                      L"21-day evaluation period should purchase a WinZip license.\r\n\r\n\r\n"),
            std::wstring::npos);
  EXPECT_NE(text.find(std::wstring(L"(") + kVendorHost + L")"), std::wstring::npos);
  std::vector<TextBlock> blocks = HelpBlocks();
  EXPECT_EQ(blocks[10].text, blocks[34].text) << "both versioning paragraphs";
}

TEST(EulaText, EndsWithTheRuleAndTheClosingLine) {
  std::vector<TextBlock> blocks = EulaBlocks();
  EXPECT_EQ(blocks.front().text, L"End User License Agreement (EULA)");
  EXPECT_EQ(blocks[19].text, std::wstring(40, L'_'));
  std::wstring text = EulaText();
  EXPECT_NE(text.find(L"owners.\r\n" + std::wstring(40, L'_') + L"\r\n\r\n"), std::wstring::npos);
  EXPECT_TRUE(text.ends_with(blocks.back().text));
}

}  // namespace
}  // namespace tessel::ui
