// Fixed texts kept as tables of blocks, each followed by a number of line breaks (CR LF).
#pragma once

#include <span>
#include <string>
#include <vector>

namespace tessel::ui {

struct TextBlock {
  std::wstring text;
  int breaksAfter;  // CR LF pairs after the block; the last block has none
};

// The blocks joined, each followed by its CR LF pairs.
std::wstring JoinBlocks(std::span<const TextBlock> blocks);

}  // namespace tessel::ui
