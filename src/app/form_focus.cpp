// Keyboard and focus: TAB follows the table's tab index across containers, which the dialog
// manager's own walk (window order) cannot; the dialog manager does the rest.
#include <algorithm>

#include "app/form_window.h"

namespace tessel::app {

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

void FormWindow::Enable(bool enable) {
  if (!hwnd_) return;
  if (!enable) {
    // Windows takes the focus from a window it disables.
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) savedFocus_ = focus;
  }
  EnableWindow(hwnd_, enable);
  if (enable && GetActiveWindow() == hwnd_) OnActivate(true);
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

}  // namespace tessel::app
