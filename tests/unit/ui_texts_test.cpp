// The Help and licence texts: block structure, line breaks and the exact quoted blocks.
#include <gtest/gtest.h>

#include <string>

#include "core/vendor_link.h"
#include "ui/text_forms.h"

namespace tessel::ui {
namespace {

// CR LF pairs after each block, as the two windows' block tables give them.
const int kHelpBreaks[] = {2, 2, 2, 2, 3, 3, 2, 2, 2, 2, 3, 2, 2, 2, 3, 2, 2, 2, 2, 3,
                           2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 2, 3, 2, 2, 2, 2, 0};
const int kEulaBreaks[] = {2, 2, 3, 2, 2, 2, 3, 2, 2, 3, 2, 2, 2, 3, 2, 3, 2, 2, 1, 2, 0};

TEST(TextBlocks, BlocksAndTheirBreaksJoinIntoTheWindowTexts) {
  const struct {
    const char* name;
    std::vector<TextBlock> blocks;
    std::span<const int> breaks;
    std::wstring joined;
  } cases[] = {{"help", HelpBlocks(), kHelpBreaks, HelpText()},
               {"licence", EulaBlocks(), kEulaBreaks, EulaText()}};
  for (const auto& c : cases) {
    ASSERT_EQ(c.blocks.size(), c.breaks.size()) << c.name;
    std::wstring expected;
    for (size_t i = 0; i < c.blocks.size(); ++i) {
      const std::wstring& t = c.blocks[i].text;
      EXPECT_EQ(c.blocks[i].breaksAfter, c.breaks[i]) << c.name << " block " << i + 1;
      EXPECT_FALSE(t.empty()) << c.name << " block " << i + 1;
      EXPECT_EQ(t.find_first_of(L"\r\n"), std::wstring::npos) << c.name << " block " << i + 1;
      expected += t;
      for (int n = 0; n < c.breaks[i]; ++n) expected += L"\r\n";
    }
    EXPECT_EQ(c.joined, expected) << c.name;
  }
}

TEST(TextBlocks, QuotedBlocksAreExact) {
  std::vector<TextBlock> help = HelpBlocks();
  const struct {
    size_t block;
    std::wstring_view text;
  } quoted[] = {
      {0, L"PREREQUISITES"},
      {1, L"To use this application, the following are required: "},
      {2, L"1.  WinZip must be installed to default directory c:\\Program Files\\WinZip."},
      {5,
       L"Anyone using WinZip beyond the 21-day evaluation period should purchase a WinZip "
       L"license."},
      {6, L"OVERVIEW"},
      {11, L"CAVEATS"},
      {15, L"DIRECTIONS"},
      {20, L"BUTTONS"},
      {33, L"VERSIONING"},
      {35, L"FILE NAME"},
      {39,
       L"Default is System Date Month.  This adds the month chosen to the zip file name only "
       L"if Versioning is selected."}};
  for (const auto& q : quoted)
    EXPECT_EQ(help[q.block].text, q.text) << "help block " << q.block + 1;
  EXPECT_EQ(help[10].text, help[34].text) << "both versioning paragraphs";
  EXPECT_NE(help[8].text.find(std::wstring(L"(") + kVendorHost + L")"), std::wstring::npos);

  std::vector<TextBlock> eula = EulaBlocks();
  EXPECT_EQ(eula[0].text, L"End User License Agreement (EULA)");
  EXPECT_EQ(eula[19].text, std::wstring(40, L'_'));
}

}  // namespace
}  // namespace tessel::ui
