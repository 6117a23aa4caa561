// The main window's design table: completeness, tab order, containment and overlap.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/main_form.h"

namespace tessel::ui {
namespace {

struct Rect {
  int left, top, right, bottom;
};

Rect Bounds(const ControlDef& c) {
  return {c.left, c.top, c.left + c.width, c.top + c.height};
}

bool Inside(const ControlDef& inner, const ControlDef& outer) {
  Rect i = Bounds(inner), o = Bounds(outer);
  return i.left >= o.left && i.top >= o.top && i.right <= o.right && i.bottom <= o.bottom;
}

bool Overlap(const ControlDef& a, const ControlDef& b) {
  Rect x = Bounds(a), y = Bounds(b);
  return x.left < y.right && y.left < x.right && x.top < y.bottom && y.top < x.bottom;
}

std::string Name(const ControlDef& c) {
  return std::string(c.name.begin(), c.name.end());
}

TEST(MainForm, HasOneRowPerControlAndEachTabIndexOnce) {
  const FormDef& form = MainForm();
  ASSERT_EQ(form.controls.size(), static_cast<size_t>(kControlCount));
  std::set<int> ids, tabs;
  std::set<std::wstring_view> names;
  for (const ControlDef& c : form.controls) {
    EXPECT_TRUE(ids.insert(c.id).second) << "id twice: " << Name(c);
    EXPECT_TRUE(names.insert(c.name).second) << "name twice: " << Name(c);
    EXPECT_TRUE(tabs.insert(c.tabIndex).second) << "tab index twice: " << c.tabIndex;
  }
  EXPECT_EQ(*tabs.begin(), 0);
  EXPECT_EQ(*tabs.rbegin(), kControlCount - 1);
}

TEST(MainForm, TabFromBackupUserVisitsTheWorkingControlsInOrder) {
  std::vector<const ControlDef*> order = TabOrder(MainForm());
  ASSERT_FALSE(order.empty());
  EXPECT_EQ(order.front()->name, L"btnBackupUser") << "the first stop";
  const std::wstring_view expected[] = {L"btnBackupUser",     L"txtDefaultPath",
                                        L"btnBrowseDefault",  L"TxtSrc",
                                        L"btnBrowseSpecific", L"txtSpecificBackupFileName",
                                        L"cmbFileNameYear",   L"cmbFileNameMonth",
                                        L"btnReset",          L"btnQuit"};
  ASSERT_GE(order.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(order[i]->name, expected[i]) << "stop " << i;
  }
  for (const ControlDef* c : order) {
    EXPECT_FALSE(c->kind == Kind::Label || c->kind == Kind::Frame || (c->flags & kHidden))
        << Name(*c) << " must not take the focus";
  }
}

TEST(MainForm, ControlsHeldByAFrameLieInsideIt) {
  const FormDef& form = MainForm();
  for (const ControlDef& c : form.controls) {
    if (c.container == kWindow) continue;
    const ControlDef* frame = form.Find(c.container);
    ASSERT_NE(frame, nullptr) << Name(c);
    EXPECT_EQ(frame->kind, Kind::Frame) << Name(c) << " is held by a non-frame";
    EXPECT_TRUE(Inside(c, *frame)) << Name(c) << " sticks out of " << Name(*frame);
    Offset at = PositionInContainer(form, c);
    EXPECT_EQ(at.left, c.left - frame->left);
    EXPECT_EQ(at.top, c.top - frame->top);
  }
}

TEST(MainForm, LowerBandSitsVisuallyInsideItsBorderFrames) {
  const struct {
    Ctl control, frame;
  } cases[] = {
      {Ctl::optYes, Ctl::frmVersioning},    {Ctl::optNo, Ctl::frmVersioning},
      {Ctl::cmbFileNameYear, Ctl::frmYear}, {Ctl::cmbFileNameMonth, Ctl::frmMonth},
      {Ctl::frmYear, Ctl::Frame1},          {Ctl::frmMonth, Ctl::Frame1},
  };
  for (const auto& c : cases) {
    const ControlDef& control = MainControl(c.control);
    EXPECT_EQ(control.container, kWindow) << Name(control) << " belongs to the window";
    EXPECT_TRUE(Inside(control, MainControl(c.frame))) << Name(control);
  }
}

// A label's rectangle may reach into the box beside it (the window draws labels behind the other
// controls, and their text ends well before); nothing else may overlap.
TEST(MainForm, VisibleControlsDoNotOverlapAndFitTheClientArea) {
  const FormDef& form = MainForm();
  for (size_t i = 0; i < form.controls.size(); ++i) {
    const ControlDef& a = form.controls[i];
    if (a.flags & kHidden) continue;
    EXPECT_LE(a.left + a.width, form.clientWidth) << Name(a);
    EXPECT_LE(a.top + a.height, form.clientHeight) << Name(a);
    if (a.kind == Kind::Frame) continue;
    for (size_t j = i + 1; j < form.controls.size(); ++j) {
      const ControlDef& b = form.controls[j];
      if ((b.flags & kHidden) || b.kind == Kind::Frame) continue;
      if (!Overlap(a, b)) continue;
      bool labelBehindBox = (a.kind == Kind::Label) != (b.kind == Kind::Label) && a.top == b.top;
      EXPECT_TRUE(labelBehindBox) << Name(a) << " overlaps " << Name(b);
    }
  }
}

TEST(TwipsToPixels, ScalesByTheActualDpi) {
  const struct {
    int twips, dpi, pixels;
  } cases[] = {
      {8430, 96, 562},  {6840, 96, 456},  {15, 96, 1}, {255, 96, 17},
      {8430, 144, 843}, {6840, 192, 912}, {7, 96, 0},  {8, 96, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
  }
}

}  // namespace
}  // namespace tessel::ui
