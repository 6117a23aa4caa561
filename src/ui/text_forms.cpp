// The Help and licence agreement windows' shared design.
#include "ui/text_forms.h"

namespace tessel::ui {

namespace {

using enum Kind;
using enum FontStyle;

// clang-format off
constexpr ControlDef kControls[] = {
  {static_cast<int>(TextCtl::txtHelp), L"txtHelp", MultiLineText, L"", L"Help for Quorvel", 120, 120, 4695, 4455, 0, kWindow, Regular},
  {static_cast<int>(TextCtl::btnClose), L"btnClose", Button, L"Close", L"", 1800, 4680, 1215, 375, 1, kWindow, Regular},
};
// clang-format on

constexpr FormDef kHelpForm{L"frmHelp",      L"Quorvel HELP",  4950, 5130,
                            Border::Sizable, L"MS Sans Serif", 825,  kControls};
constexpr FormDef kEulaForm{L"frmEULA",      L"Quorvel EULA",  4950, 5130,
                            Border::Sizable, L"MS Sans Serif", 825,  kControls};

}  // namespace

const FormDef& HelpForm() {
  return kHelpForm;
}

const FormDef& EulaForm() {
  return kEulaForm;
}

std::wstring HelpText() {
  std::vector<TextBlock> blocks = HelpBlocks();
  return JoinBlocks(blocks);
}

std::wstring EulaText() {
  std::vector<TextBlock> blocks = EulaBlocks();
  return JoinBlocks(blocks);
}

}  // namespace tessel::ui
