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

TEST(MainForm, HasOneRowPerControlEachFoundByNameAndEachTabIndexOnce) {
  const FormDef& form = MainForm();
  ASSERT_EQ(form.controls.size(), static_cast<size_t>(kControlCount));
  std::set<int> ids, tabs;
  for (const ControlDef& c : form.controls) {
    EXPECT_TRUE(ids.insert(c.id).second) << "id twice: " << Name(c);
    EXPECT_TRUE(tabs.insert(c.tabIndex).second) << "tab index twice: " << c.tabIndex;
    EXPECT_EQ(form.Find(c.name), &c) << Name(c);
    EXPECT_EQ(form.Find(c.id), &c) << Name(c);
  }
  EXPECT_EQ(*tabs.begin(), 0);
  EXPECT_EQ(*tabs.rbegin(), kControlCount - 1);
  EXPECT_EQ(form.Find(L"nothing"), nullptr);
  EXPECT_EQ(form.Find(kControlCount), nullptr);
}

// Every stop in order: labels, frames, hidden controls and the display text boxes are none; the
// two archiver check boxes are, although a click does not toggle them.
TEST(MainForm, TabStopsFollowTheTabIndex) {
  const std::wstring_view expected[] = {L"btnBackupUser",
                                        L"txtDefaultPath",
                                        L"btnBrowseDefault",
                                        L"TxtSrc",
                                        L"btnBrowseSpecific",
                                        L"txtSpecificBackupFileName",
                                        L"cmbFileNameYear",
                                        L"cmbFileNameMonth",
                                        L"btnReset",
                                        L"btnQuit",
                                        L"optNo",
                                        L"optYes",
                                        L"txtUsers",
                                        L"btnSpecificBackup",
                                        L"btnDefaultDestination",
                                        L"btnBrowseForUsers",
                                        L"btnWinZip",
                                        L"btnHelp",
                                        L"chkWinZip",
                                        L"ChkAddon",
                                        L"btnEULA"};
  std::vector<const ControlDef*> order = TabOrder(MainForm());
  ASSERT_EQ(order.size(), std::size(expected));
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i]->name, expected[i]) << "stop " << i;
}

TEST(MainForm, ControlsLieInsideTheirFramesAndTheClientArea) {
  const FormDef& form = MainForm();
  for (const ControlDef& c : form.controls) {
    if (!(c.flags & kHidden)) {
      EXPECT_LE(c.left + c.width, form.clientWidth) << Name(c);
      EXPECT_LE(c.top + c.height, form.clientHeight) << Name(c);
    }
    Offset at = PositionInContainer(form, c);
    if (c.container == kWindow) {
      EXPECT_EQ(at.left, c.left);
      EXPECT_EQ(at.top, c.top);
      continue;
    }
    const ControlDef* frame = form.Find(c.container);
    ASSERT_NE(frame, nullptr) << Name(c);
    EXPECT_EQ(frame->kind, Kind::Frame) << Name(c);
    EXPECT_TRUE(Inside(c, *frame)) << Name(c) << " sticks out of " << Name(*frame);
    EXPECT_EQ(at.left, c.left - frame->left) << Name(c);
    EXPECT_EQ(at.top, c.top - frame->top) << Name(c);
  }
  // The lower band's border frames hold nothing: what they surround belongs to the window.
  const struct {
    Ctl control, frame;
  } band[] = {{Ctl::optYes, Ctl::frmVersioning},    {Ctl::optNo, Ctl::frmVersioning},
              {Ctl::cmbFileNameYear, Ctl::frmYear}, {Ctl::cmbFileNameMonth, Ctl::frmMonth},
              {Ctl::frmYear, Ctl::Frame1},          {Ctl::frmMonth, Ctl::Frame1}};
  for (const auto& b : band) {
    const ControlDef& control = MainControl(b.control);
    EXPECT_EQ(control.container, kWindow) << Name(control);
    EXPECT_TRUE(Inside(control, MainControl(b.frame))) << Name(control);
  }
}

TEST(TwipsToPixels, RoundsToNearestAtTheActualDpi) {
  const struct {
    int twips, dpi, pixels;
  } cases[] = {{8430, 96, 562}, {15, 96, 1}, {255, 96, 17}, {8430, 144, 843},
               {7, 96, 0},      {8, 96, 1},  {-8, 96, -1},  {6840, 192, 912}};
  for (const auto& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
  }
}

}  // namespace
}  // namespace tessel::ui
