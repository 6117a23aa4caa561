// The main window's design table: one row per control, the tab stops in order, containment.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/main_form.h"

namespace tessel::ui {
namespace {

std::string Name(const ControlDef& c) {
  return std::string(c.name.begin(), c.name.end());
}

bool Inside(const ControlDef& in, const ControlDef& out) {
  return in.left >= out.left && in.top >= out.top && in.left + in.width <= out.left + out.width &&
         in.top + in.height <= out.top + out.height;
}

TEST(MainForm, OneRowPerControlFoundByIdAndNameEachTabIndexOnce) {
  const FormDef& form = MainForm();
  ASSERT_EQ(form.controls.size(), static_cast<size_t>(kControlCount));
  std::set<int> tabs;
  for (const ControlDef& c : form.controls) {
    EXPECT_TRUE(form.Find(c.name) == &c && form.Find(c.id) == &c) << Name(c);
    tabs.insert(c.tabIndex);
  }
  EXPECT_TRUE(tabs.size() == form.controls.size() && *tabs.rbegin() == kControlCount - 1);
  EXPECT_TRUE(form.Find(L"none") == nullptr && form.Find(kControlCount) == nullptr);
}

// Labels, frames, hidden controls and the display text boxes are no stops; the two archiver
// check boxes are, though a click does not toggle them.
TEST(MainForm, TabStopsFollowTheTabIndex) {
  std::wstring names;
  for (const ControlDef* c : TabOrder(MainForm())) names += std::wstring(c->name) + L" ";
  EXPECT_EQ(names,
            L"btnBackupUser txtDefaultPath btnBrowseDefault TxtSrc btnBrowseSpecific "
            L"txtSpecificBackupFileName cmbFileNameYear cmbFileNameMonth btnReset btnQuit optNo "
            L"optYes txtUsers btnSpecificBackup btnDefaultDestination btnBrowseForUsers btnWinZip "
            L"btnHelp chkWinZip ChkAddon btnEULA ");
}

TEST(MainForm, ControlsLieInsideTheirFramesAndTheClientArea) {
  const FormDef& form = MainForm();
  const ControlDef area{0, L"client",        Kind::Frame,       L"", L"",     0,
                        0, form.clientWidth, form.clientHeight, 0,   kWindow, FontStyle::Bold};
  for (const ControlDef& c : form.controls) {
    const ControlDef* frame = c.container == kWindow ? nullptr : form.Find(c.container);
    EXPECT_TRUE((c.flags & kHidden) || Inside(c, area)) << Name(c);
    EXPECT_TRUE(c.container == kWindow ||
                (frame && frame->kind == Kind::Frame && Inside(c, *frame)))
        << Name(c);
    Offset at = PositionInContainer(form, c);
    EXPECT_EQ(at.left, c.left - (frame ? frame->left : 0)) << Name(c);
    EXPECT_EQ(at.top, c.top - (frame ? frame->top : 0)) << Name(c);
  }
  // The lower band's border frames hold nothing: what they surround belongs to the window.
  for (auto [control, border] : {std::pair{Ctl::optYes, Ctl::frmVersioning},
                                 {Ctl::optNo, Ctl::frmVersioning},
                                 {Ctl::cmbFileNameYear, Ctl::frmYear},
                                 {Ctl::cmbFileNameMonth, Ctl::frmMonth},
                                 {Ctl::frmYear, Ctl::Frame1},
                                 {Ctl::frmMonth, Ctl::Frame1}}) {
    EXPECT_EQ(MainControl(control).container, kWindow) << Name(MainControl(control));
    EXPECT_TRUE(Inside(MainControl(control), MainControl(border))) << Name(MainControl(control));
  }
}

TEST(TwipsToPixels, RoundsToNearestAtTheActualDpi) {
  const int cases[][3] = {{8430, 96, 562}, {15, 96, 1}, {255, 96, 17}, {8430, 144, 843},
                          {7, 96, 0},      {8, 96, 1},  {-8, 96, -1},  {6840, 192, 912}};
  for (const auto& c : cases) EXPECT_EQ(TwipsToPixels(c[0], c[1]), c[2]) << c[0] << " at " << c[1];
}

}  // namespace
}  // namespace tessel::ui
