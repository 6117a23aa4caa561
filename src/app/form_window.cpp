// One builder for every window: the window classes, a form's life from Create to WM_NCDESTROY and
// its message dispatch. Controls come from the design table, scaled to the screen's DPI; frames
// that hold controls are container windows, so their children are placed and clipped relative to
// them.
#include "app/form_window.h"

#include <commctrl.h>

#include <string>

#include "app/resource.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/win32_platform.h"

namespace tessel::app {

namespace {

constexpr wchar_t kFormClass[] = L"TesselForm";

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

}  // namespace

HINSTANCE detail::Instance() {
  return g_instance;
}

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
  frame.lpszClassName = detail::kFrameClass;
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
  fonts_.Create(form_, dpi_);

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

// A notification or close request that reaches the window while long work runs (another program
// setting a text, clicking or closing) is handled once the work is over, never inside it. While
// the window is disabled (the archiver runs) a click is refused, as a click on it would be; a text
// that changed is still taken.
void FormWindow::Postpone(UINT message, WPARAM wParam, LPARAM lParam) {
  int code = HIWORD(wParam);
  bool changed = code == EN_CHANGE || code == CBN_EDITCHANGE || code == CBN_SELCHANGE;
  if (message == WM_COMMAND && !changed && !IsWindowEnabled(hwnd_)) return;
  PostMessageW(hwnd_, message, wParam, lParam);
}

LRESULT FormWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_COMMAND || message == WM_CLOSE) && win32::ServingInsideWork()) {
    Postpone(message, wParam, lParam);
    return 0;
  }
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
