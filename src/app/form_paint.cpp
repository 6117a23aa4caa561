// Painting: control colours by kind and design, and the upright HELP and EULA buttons.
#include "app/form_window.h"

#include <uxtheme.h>
#include <vsstyle.h>

#include "platform/win32/hardening.h"

namespace tessel::app {

namespace {

// The themed push button. UxTheme is not one of Windows' known DLLs, so it is taken from System32
// by hand; without it the buttons are drawn in the classic style.
struct ThemeApi {
  decltype(&OpenThemeData) open = Load<decltype(OpenThemeData)>("OpenThemeData");
  decltype(&DrawThemeBackground) draw = Load<decltype(DrawThemeBackground)>("DrawThemeBackground");
  decltype(&CloseThemeData) close = Load<decltype(CloseThemeData)>("CloseThemeData");

  template <typename Function>
  static Function* Load(const char* name) {
    return win32::SystemFunction<Function>(L"uxtheme.dll", name);
  }
  HTHEME Open(HWND button) const {
    return open && draw && close ? open(button, L"BUTTON") : nullptr;
  }
};

}  // namespace

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
  static const ThemeApi themes;
  if (HTHEME theme = themes.Open(item.hwndItem)) {
    int state = pressed ? PBS_PRESSED : (item.itemState & ODS_FOCUS) ? PBS_DEFAULTED : PBS_NORMAL;
    themes.draw(theme, dc, BP_PUSHBUTTON, state, &rc, nullptr);
    themes.close(theme);
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

}  // namespace tessel::app
