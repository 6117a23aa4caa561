// Joins text blocks with their line breaks.
#include "ui/text_blocks.h"

namespace tessel::ui {

std::wstring JoinBlocks(std::span<const TextBlock> blocks) {
  std::wstring text;
  for (const TextBlock& block : blocks) {
    text += block.text;
    for (int i = 0; i < block.breaksAfter; ++i) text += L"\r\n";
  }
  return text;
}

}  // namespace tessel::ui
