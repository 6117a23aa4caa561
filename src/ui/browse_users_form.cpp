// The Browse for Users window's design: a caption, the sorted profile list and "Get User".
#include "ui/browse_users_form.h"

namespace tessel::ui {

namespace {

using enum Kind;
using enum FontStyle;

constexpr int Id(BrowseCtl c) {
  return static_cast<int>(c);
}

// clang-format off
constexpr ControlDef kControls[] = {
  {Id(BrowseCtl::lblBrowseUsers), L"lblBrowseUsers", Label, L"Users", L"", 0, 120, 3495, 255, 0, kWindow, Regular},
  {Id(BrowseCtl::lstUsers), L"lstUsers", ListBox, L"", L"List of Users with My Documents Folder", 0, 480, 3495, 4935, 1, kWindow, Regular},
  {Id(BrowseCtl::cmdUsers), L"cmdUsers", Button, L"Get User", L"", 1200, 5520, 1215, 375, 2, kWindow, Regular},
};
// clang-format on

constexpr FormDef kForm{L"frmBrowseUsers", L"Browse for Users", 3540, 5940,
                        Border::Sizable,   L"MS Sans Serif",    825,  kControls};

}  // namespace

const FormDef& BrowseUsersForm() {
  return kForm;
}

}  // namespace tessel::ui
