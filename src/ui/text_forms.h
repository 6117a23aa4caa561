// The Help and licence agreement windows: one design with two captions, and their texts.
#pragma once

#include <vector>

#include "ui/form.h"
#include "ui/text_blocks.h"

namespace tessel::ui {

// Control ids of the two text windows.
enum class TextCtl { txtHelp, btnClose };

const FormDef& HelpForm();
const FormDef& EulaForm();

std::vector<TextBlock> HelpBlocks();
std::vector<TextBlock> EulaBlocks();

// The whole texts as their windows show them.
std::wstring HelpText();
std::wstring EulaText();

}  // namespace tessel::ui
