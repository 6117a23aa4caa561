// Building a form's controls from its design table: kinds and styles, containers, fonts, tool tips
// and the stacking order that keeps every control in front of the frames it overlaps.
#include "app/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace tessel::app {

namespace {

bool HoldsControls(const ui::FormDef& form, int frameId) {
  return std::any_of(form.controls.begin(), form.controls.end(),
                     [&](const ui::ControlDef& c) { return c.container == frameId; });
}

// Option buttons form one group per container: the first of them (in tab order) starts it.
bool StartsOptionGroup(const ui::FormDef& form, const ui::ControlDef& option) {
  return std::none_of(form.controls.begin(), form.controls.end(), [&](const ui::ControlDef& c) {
    return c.kind == ui::Kind::Option && c.container == option.container &&
           c.tabIndex < option.tabIndex;
  });
}

}  // namespace

void FormWindow::CreateControls() {
  // Frames first: the controls they hold need them as parents.
  for (const ui::ControlDef& def : form_.controls) {
    if (def.kind == ui::Kind::Frame) CreateControl(def);
  }
  for (const ui::ControlDef& def : form_.controls) {
    if (def.kind != ui::Kind::Frame) CreateControl(def);
  }
}

HWND FormWindow::CreateControl(const ui::ControlDef& def) {
  using ui::Kind;
  HWND parent = def.container == ui::kWindow ? hwnd_ : Control(def.container);
  if (!parent) return nullptr;
  ui::Offset at = ui::PositionInContainer(form_, def);
  int x = ui::TwipsToPixels(at.left, dpi_);
  int y = ui::TwipsToPixels(at.top, dpi_);
  // Width and height from the far edges, so neighbours that touch in twips touch in pixels.
  int cx = ui::TwipsToPixels(at.left + def.width, dpi_) - x;
  int cy = ui::TwipsToPixels(at.top + def.height, dpi_) - y;

  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (!(def.flags & ui::kHidden)) style |= WS_VISIBLE;
  if (ui::TakesFocus(def)) style |= WS_TABSTOP;
  if (def.kind != Kind::Option || StartsOptionGroup(form_, def)) style |= WS_GROUP;
  DWORD exStyle = 0;
  const wchar_t* cls = L"BUTTON";
  switch (def.kind) {
    case Kind::Frame:
      style |= BS_GROUPBOX;
      break;
    case Kind::Label:
      cls = L"STATIC";
      // One line each: a face wider than the design's must not push text onto a hidden line.
      style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
      break;
    case Kind::TextBox:
      cls = L"EDIT";
      style |= ES_AUTOHSCROLL | ((def.flags & ui::kRightAlign) ? ES_RIGHT : ES_LEFT);
      if (def.flags & ui::kDisplay) style |= ES_READONLY;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case Kind::MultiLineText:
      cls = L"EDIT";
      style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case Kind::Button:
      style |= (def.flags & ui::kVertical) ? BS_OWNERDRAW : BS_PUSHBUTTON;
      break;
    case Kind::CheckBox:
      // Display boxes show what the program found; a click must not make them say otherwise.
      style |= (def.flags & ui::kDisplay) ? BS_CHECKBOX : BS_AUTOCHECKBOX;
      break;
    case Kind::Option:
      style |= BS_AUTORADIOBUTTON;
      break;
    case Kind::ComboBox:
      cls = L"COMBOBOX";
      style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
      cy *= 10;  // the height given is the closed box's; the rest is the drop-down list's
      break;
    case Kind::ListBox:
      cls = L"LISTBOX";
      style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
  }

  std::wstring caption(def.caption);
  HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(ui::kControlIdBase + def.id));
  HWND hwnd = nullptr;
  if (def.kind == Kind::Frame && HoldsControls(form_, def.id)) {
    // A container with the group box drawn inside it, filling it.
    hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, detail::kFrameClass, caption.c_str(),
                           style & ~BS_GROUPBOX, x, y, cx, cy, parent, id, detail::Instance(),
                           nullptr);
    HWND box = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0, cx, cy,
                               hwnd, nullptr, detail::Instance(), nullptr);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(def.font)), 0);
    frameBorders_.push_back(box);
  } else {
    hwnd = CreateWindowExW(exStyle, cls, caption.c_str(), style, x, y, cx, cy, parent, id,
                           detail::Instance(), nullptr);
  }
  if (!hwnd) return nullptr;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(def.font)), 0);
  if (def.flags & ui::kChecked) SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  if (def.kind == Kind::ComboBox) SendMessageW(hwnd, CB_SETMINVISIBLE, 12, 0);
  if (!def.toolTip.empty()) AddToolTip(hwnd, def.toolTip);
  controls_[def.id] = hwnd;
  defs_[hwnd] = &def;
  return hwnd;
}

// Window order, top to bottom: working controls, then labels (their rectangles may reach under a
// neighbouring box), then frames, smaller ones above the larger ones they sit in. Every control
// clips its siblings, so a frame never paints over a control that belongs to the window.
void FormWindow::StackControls() {
  std::vector<const ui::ControlDef*> order;
  for (const ui::ControlDef& def : form_.controls) order.push_back(&def);
  auto layer = [](const ui::ControlDef* d) {
    return d->kind == ui::Kind::Frame ? 2 : d->kind == ui::Kind::Label ? 1 : 0;
  };
  std::stable_sort(order.begin(), order.end(), [&](const auto* a, const auto* b) {
    if (layer(a) != layer(b)) return layer(a) < layer(b);
    if (layer(a) == 2) return a->width * a->height < b->width * b->height;
    return a->tabIndex < b->tabIndex;
  });
  auto toBottom = [](HWND h) {
    SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  };
  for (const ui::ControlDef* def : order) {
    if (HWND h = Control(def->id)) toBottom(h);
  }
  // A container's border lies behind the controls it holds.
  for (HWND border : frameBorders_) toBottom(border);
}

void FormWindow::AddToolTip(HWND control, std::wstring_view text) {
  if (!toolTip_) return;
  std::wstring tip(text);
  auto add = [&](HWND target) {
    TTTOOLINFOW info = {};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(target);
    info.lpszText = tip.data();
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  };
  add(control);
  // The mouse rests on a combo box's edit part, not on the combo box.
  if (HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr)) add(edit);
}

}  // namespace tessel::app
