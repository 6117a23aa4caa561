// One builder for every window: walks a design table and creates the controls, scaled to the
// screen's DPI. Frames that hold controls are container windows, so their children are placed and
// clipped relative to them; the dialog manager is used for keys, but TAB follows the table's tab
// index across containers, which the dialog manager's own walk (window order) cannot.
#include "app/form_window.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vsstyle.h>

#include <algorithm>
#include <string>

#include "app/resource.h"
#include "platform/win32/win32_platform.h"

namespace tessel::app {

namespace {

constexpr wchar_t kFormClass[] = L"TesselForm";
constexpr wchar_t kFrameClass[] = L"TesselFrame";

HINSTANCE g_instance = nullptr;
HICON g_icon = nullptr;
HICON g_smallIcon = nullptr;

bool SetBusyCursor() {
  if (!win32::Win32Dialogs::Busy()) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

// A frame that holds controls: it only fills its background (its group box child draws the
// border) and passes its children's notifications up to the form, which owns the reactions.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    case WM_SETCURSOR:
      if (SetBusyCursor()) return TRUE;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

DWORD WindowStyle(ui::Border border) {
  if (border == ui::Border::FixedSingle) {
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  }
  return WS_OVERLAPPEDWINDOW;
}

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

bool RegisterFormClasses(HINSTANCE instance) {
  g_instance = instance;
  WNDCLASSEXW form = {};
  form.cbSize = sizeof form;
  form.lpfnWndProc = FormWindow::Proc;
  form.hInstance = instance;
  form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kFormClass;
  g_icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TESSEL), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                         LR_DEFAULTCOLOR));
  g_smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TESSEL), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  form.hIcon = g_icon;
  form.hIconSm = g_smallIcon;
  if (!RegisterClassExW(&form)) return false;

  WNDCLASSEXW frame = {};
  frame.cbSize = sizeof frame;
  frame.lpfnWndProc = FrameProc;
  frame.hInstance = instance;
  frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frame.lpszClassName = kFrameClass;
  return RegisterClassExW(&frame) != 0;
}

FormWindow::FormWindow(const ui::FormDef& form) : form_(form) {}

FormWindow::~FormWindow() {
  if (hwnd_) {
    // Gone before its window: the window must not call back into this object while it dies.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool FormWindow::Create() {
  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi_ <= 0) dpi_ = 96;
  fonts_.Create(form_.fontFace, form_.fontSizeHundredths, dpi_);

  DWORD style = WindowStyle(form_.border);
  RECT rect = {0, 0, ui::TwipsToPixels(form_.clientWidth, dpi_),
               ui::TwipsToPixels(form_.clientHeight, dpi_)};
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  std::wstring caption(form_.caption);
  CreateWindowExW(0, kFormClass, caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, g_instance,
                  this);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(ui::FontStyle::Bold)), 0);
  // Also per window, so task switchers that ask the window itself find the icon.
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_icon));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_smallIcon));

  toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, g_instance, nullptr);
  if (toolTip_) SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(360, dpi_, 96));
  CreateControls();
  StackControls();
  return true;
}

void FormWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

HWND FormWindow::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

const ui::ControlDef* FormWindow::ControlOf(HWND hwnd) const {
  for (; hwnd && hwnd != hwnd_; hwnd = GetParent(hwnd)) {
    auto it = defs_.find(hwnd);
    if (it != defs_.end()) return it->second;
  }
  return nullptr;
}

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
    hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kFrameClass, caption.c_str(), style & ~BS_GROUPBOX,
                           x, y, cx, cy, parent, id, g_instance, nullptr);
    HWND box = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0, cx, cy,
                               hwnd, nullptr, g_instance, nullptr);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(def.font)), 0);
    frameBorders_.push_back(box);
  } else {
    hwnd = CreateWindowExW(exStyle, cls, caption.c_str(), style, x, y, cx, cy, parent, id,
                           g_instance, nullptr);
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

bool FormWindow::CanTakeFocus(const ui::ControlDef& def) const {
  HWND h = Control(def.id);
  if (!h || !IsWindowVisible(h) || !IsWindowEnabled(h)) return false;
  // Of a group of option buttons only the selected one is a stop; arrow keys move within it.
  if (def.kind == ui::Kind::Option) return SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return true;
}

HWND FormWindow::NextTabStop(HWND from, bool forward) const {
  std::vector<const ui::ControlDef*> order = ui::TabOrder(form_);
  int n = static_cast<int>(order.size());
  if (n == 0) return nullptr;
  // From a control that is no stop itself (a display box, say), go on from its tab index.
  const ui::ControlDef* current = ControlOf(from);
  int first = forward ? 0 : n - 1;
  if (current) {
    if (forward) {
      auto it = std::find_if(order.begin(), order.end(), [&](const ui::ControlDef* d) {
        return d->tabIndex > current->tabIndex;
      });
      first = it == order.end() ? 0 : static_cast<int>(it - order.begin());
    } else {
      auto it = std::find_if(order.rbegin(), order.rend(), [&](const ui::ControlDef* d) {
        return d->tabIndex < current->tabIndex;
      });
      first = it == order.rend() ? n - 1 : static_cast<int>(order.rend() - it) - 1;
    }
  }
  for (int step = 0; step < n; ++step) {
    int i = ((first + (forward ? step : -step)) % n + n) % n;
    if (CanTakeFocus(*order[i])) return Control(order[i]->id);
  }
  return nullptr;
}

void FormWindow::FocusControl(HWND control) {
  SetFocus(control);
  // Like the dialog manager: a box reached by the keyboard has its text selected.
  const ui::ControlDef* def = ControlOf(control);
  if (!def) return;
  if (def->kind == ui::Kind::TextBox) SendMessageW(control, EM_SETSEL, 0, -1);
  if (def->kind == ui::Kind::ComboBox) SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void FormWindow::MoveFocusBy(int stops) {
  if (!hwnd_ || stops <= 0) return;
  bool active = GetActiveWindow() == hwnd_;
  HWND at = active ? GetFocus() : savedFocus_;
  for (int i = 0; i < stops; ++i) {
    HWND next = NextTabStop(at, true);
    if (!next) return;
    at = next;
  }
  if (active) {
    FocusControl(at);
  } else {
    savedFocus_ = at;
  }
}

bool FormWindow::PreTranslate(MSG& msg) {
  if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
      GetKeyState(VK_MENU) >= 0) {
    HWND focus = GetFocus();
    const ui::ControlDef* def = ControlOf(focus);
    if (def && def->kind == ui::Kind::ComboBox) {
      SendMessageW(Control(def->id), CB_SHOWDROPDOWN, FALSE, 0);
    }
    if (HWND next = NextTabStop(focus, GetKeyState(VK_SHIFT) >= 0)) FocusControl(next);
    return true;
  }
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

void FormWindow::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) savedFocus_ = focus;
    return;
  }
  HWND target = savedFocus_;
  if (!target || !IsChild(hwnd_, target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
    target = NextTabStop(nullptr, true);
  }
  if (target) SetFocus(target);
}

LRESULT FormWindow::OnCtlColor(HDC dc, HWND control) {
  const ui::ControlDef* def = ControlOf(control);
  bool window = def &&
                (def->kind == ui::Kind::TextBox || def->kind == ui::Kind::MultiLineText ||
                 def->kind == ui::Kind::ListBox || def->kind == ui::Kind::ComboBox) &&
                !(def->flags & ui::kButtonFace);
  int colour = window ? COLOR_WINDOW : COLOR_BTNFACE;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(colour));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
}

// HELP and EULA stand upright, narrower than their captions: the letters go one under another.
void FormWindow::DrawVerticalButton(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rc = item.rcItem;
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  if (HTHEME theme = OpenThemeData(item.hwndItem, L"BUTTON")) {
    int state = pressed ? PBS_PRESSED : (item.itemState & ODS_FOCUS) ? PBS_DEFAULTED : PBS_NORMAL;
    DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &rc, nullptr);
    CloseThemeData(theme);
  } else {
    DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  }
  wchar_t caption[32] = {};
  int length = GetWindowTextW(item.hwndItem, caption, 32);
  HGDIOBJ oldFont =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm = {};
  GetTextMetricsW(dc, &tm);
  int line = tm.tmHeight;
  int top = rc.top + (rc.bottom - rc.top - line * length) / 2 + (pressed ? 1 : 0);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  for (int i = 0; i < length; ++i) {
    RECT letter = {rc.left + (pressed ? 1 : 0), top + i * line, rc.right + (pressed ? 1 : 0),
                   top + (i + 1) * line};
    DrawTextW(dc, &caption[i], 1, &letter, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = rc;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

void FormWindow::OnCommand(int, int, HWND) {}

void FormWindow::OnClose() {
  DestroyWindow(hwnd_);
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<FormWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  // No exception may unwind into the window system.
  try {
    return self->Dispatch(message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT FormWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      HWND control = reinterpret_cast<HWND>(lParam);
      if (id == IDOK && !control) {
        // Enter: press the focused button, as in a dialog box.
        HWND focus = GetFocus();
        const ui::ControlDef* def = ControlOf(focus);
        if (def && def->kind == ui::Kind::Button) SendMessageW(focus, BM_CLICK, 0, 0);
        return 0;
      }
      if (id >= ui::kControlIdBase) OnCommand(id - ui::kControlIdBase, HIWORD(wParam), control);
      return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      const ui::ControlDef* def = ControlOf(item->hwndItem);
      if (def && (def->flags & ui::kVertical)) {
        DrawVerticalButton(*item);
        return TRUE;
      }
      break;
    }
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_SETFOCUS:
      OnActivate(true);
      return 0;
    case WM_SETCURSOR:
      if (SetBusyCursor()) return TRUE;
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_NCDESTROY: {
      hwnd_ = nullptr;
      toolTip_ = nullptr;
      controls_.clear();
      frameBorders_.clear();
      defs_.clear();
      if (onDestroyed) onDestroyed(this);
      return 0;
    }
    default:
      break;
  }
  return OnMessage(message, wParam, lParam);
}

}  // namespace tessel::app
