// The Help and licence texts: block structure, line breaks and the exact quoted blocks.
#include <gtest/gtest.h>

#include <string>

#include "core/vendor_link.h"
#include "ui/text_forms.h"

namespace tessel::ui {
namespace {

TEST(TextBlocks, BlocksAndTheirBreaksJoinIntoTheWindowTexts) {
  // CR LF pairs after each block, as the two windows' block tables give them.
  const std::vector<int> help = {2, 2, 2, 2, 3, 3, 2, 2, 2, 2, 3, 2, 2, 2, 3, 2, 2, 2, 2, 3,
                                 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 2, 3, 2, 2, 2, 2, 0};
  const std::vector<int> eula = {2, 2, 3, 2, 2, 2, 3, 2, 2, 3, 2, 2, 2, 3, 2, 3, 2, 2, 1, 2, 0};
  for (const auto& [blocks, breaks, joined] :
       {std::tuple{HelpBlocks(), help, HelpText()}, std::tuple{EulaBlocks(), eula, EulaText()}}) {
    ASSERT_EQ(blocks.size(), breaks.size());
    std::wstring expected;
    for (size_t i = 0; i < blocks.size(); ++i) {
      EXPECT_EQ(blocks[i].breaksAfter, breaks[i]) << "block " << i + 1;
      EXPECT_TRUE(!blocks[i].text.empty() &&
                  blocks[i].text.find_first_of(L"\r\n") == std::wstring::npos)
          << "block " << i + 1;
      expected += blocks[i].text;
      for (int n = 0; n < breaks[i]; ++n) expected += L"\r\n";
    }
    EXPECT_EQ(joined, expected);
  }
}

TEST(TextBlocks, SharedAndFixedBlocks) {
  std::vector<TextBlock> help = HelpBlocks();
  EXPECT_EQ(help[0].text, L"PREREQUISITES");
  EXPECT_EQ(help[1].text, L"To use this application, the following are required: ");
  EXPECT_EQ(help[10].text, help[34].text) << "both versioning paragraphs";
  EXPECT_NE(help[8].text.find(std::wstring(L"(") + kVendorHost + L")"), std::wstring::npos);
  std::vector<TextBlock> eula = EulaBlocks();
  EXPECT_EQ(eula[0].text, L"End User License Agreement (EULA)");
  EXPECT_EQ(eula[19].text, std::wstring(40, L'_'));
}

}  // namespace
}  // namespace tessel::ui
