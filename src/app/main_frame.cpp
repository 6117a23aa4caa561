// The main window's view: user input in, presenter state out.
#include "app/main_frame.h"

#include <string>

#include "app/window_text.h"
#include "core/control_table.h"
#include "ui/main_form.h"

namespace tessel::app {

namespace {

// Focus moves are made once the event that asked for them has been handled.
constexpr UINT kMoveFocusMessage = WM_APP + 1;

void SetTextIfDifferent(HWND hwnd, const std::wstring& text) {
  // Rewriting the same text would put the caret back to the start while the user types.
  if (hwnd && WindowText(hwnd) != text) SetWindowTextW(hwnd, text.c_str());
}

void SetVisible(HWND hwnd, bool visible) {
  if (hwnd && (IsWindowVisible(hwnd) != FALSE) != visible) {
    ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
  }
}

std::wstring ListEntry(HWND combo, int index) {
  LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

MainFrame::MainFrame(Platform& platform, Shell& shell)
    : FormWindow(ui::MainForm()),
      presenter_(std::make_unique<MainWindow>(platform, *this, shell)) {}

MainFrame::~MainFrame() = default;

void MainFrame::Changed(Ctl control) {
  const ui::ControlDef* def = form_.Find(static_cast<int>(control));
  HWND hwnd = Control(static_cast<int>(control));
  if (!def || !hwnd) return;
  const BackupSettings& s = presenter_->Settings();
  ++mirroring_;
  switch (def->kind) {
    case ui::Kind::TextBox:
      if (const std::wstring* text = TextField(s, control)) SetTextIfDifferent(hwnd, *text);
      break;
    case ui::Kind::ComboBox:
      MirrorList(control);
      break;
    case ui::Kind::CheckBox:
      if (const int* value = FieldIn(s, control, &ControlField::check)) {
        SendMessageW(hwnd, BM_SETCHECK, *value, 0);
      }
      break;
    case ui::Kind::Option:
      if (const bool* selected = FieldIn(s, control, &ControlField::selected)) {
        SendMessageW(hwnd, BM_SETCHECK, *selected ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      break;
    default:
      break;
  }
  // The month frame and list are switched one by one; nothing else changes visibility.
  if (const bool* visible = FieldIn(s, control, &ControlField::visible)) SetVisible(hwnd, *visible);
  --mirroring_;
}

void MainFrame::MirrorList(Ctl list) {
  const ComboState* state = ListField(presenter_->Settings(), list);
  HWND combo = Control(static_cast<int>(list));
  if (!state || !combo) return;
  int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  bool same = count == static_cast<int>(state->entries.size());
  for (int i = 0; same && i < count; ++i) same = ListEntry(combo, i) == state->entries[i];
  if (!same) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : state->entries) {
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
  }
  // A typed text leaves the list's own selection alone: clearing it would clear the text too.
  if (state->selected >= 0 && SendMessageW(combo, CB_GETCURSEL, 0, 0) != state->selected) {
    SendMessageW(combo, CB_SETCURSEL, state->selected, 0);
  }
  SetTextIfDifferent(combo, state->text);
}

void MainFrame::MoveFocus(int tabStops) {
  pendingStops_ += tabStops;
  if (Hwnd()) PostMessageW(Hwnd(), kMoveFocusMessage, 0, 0);
}

void MainFrame::Centre() {
  RECT rect;
  if (!Hwnd() || !GetWindowRect(Hwnd(), &rect)) return;
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(Hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainFrame::Show() {
  if (!Hwnd()) return;
  if (!IsWindowVisible(Hwnd())) ShowWindow(Hwnd(), SW_SHOW);
  SetForegroundWindow(Hwnd());
  // Focus moves queued while the window was hidden land now that it can take the focus.
  if (pendingStops_ > 0) PostMessageW(Hwnd(), kMoveFocusMessage, 0, 0);
}

void MainFrame::OnCommand(int id, int code, HWND) {
  if (id < 0 || id >= kControlCount || mirroring_ > 0) return;
  Ctl control = static_cast<Ctl>(id);
  const ui::ControlDef* def = form_.Find(id);
  HWND hwnd = Control(id);
  if (!def || !hwnd) return;
  switch (def->kind) {
    case ui::Kind::TextBox:
      if (code != EN_CHANGE || (def->flags & ui::kDisplay)) return;
      ReadControls(control);
      return presenter_->EditText(control, WindowText(hwnd));
    case ui::Kind::ComboBox:
      if (code == CBN_EDITCHANGE) {
        ReadControls(control);
        return presenter_->SetListText(control, WindowText(hwnd));
      }
      if (code == CBN_SELCHANGE) {
        ReadControls(control);
        int index = static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
        if (index >= 0) presenter_->SelectListEntry(control, index);
      }
      return;
    case ui::Kind::Button:
    case ui::Kind::Option:
      if (code != BN_CLICKED) return;
      ReadControls(control);
      return presenter_->Click(control);
    default:
      return;
  }
}

void MainFrame::ReadControls(std::optional<Ctl> handled) {
  const BackupSettings& s = presenter_->Settings();
  for (const ui::ControlDef& def : form_.controls) {
    Ctl control = static_cast<Ctl>(def.id);
    HWND hwnd = Control(def.id);
    if (!hwnd || control == handled) continue;
    if (def.kind == ui::Kind::TextBox && !(def.flags & ui::kDisplay)) {
      std::wstring text = WindowText(hwnd);
      if (text != *TextField(s, control)) presenter_->SetText(control, text);
    } else if (def.kind == ui::Kind::ComboBox) {
      std::wstring text = WindowText(hwnd);
      if (text != ListField(s, control)->text) presenter_->SetListText(control, text);
    }
  }
  if (handled == Ctl::optYes || handled == Ctl::optNo) return;
  // An option selected without a click still runs its reaction, as selecting it from code does.
  HWND yes = Control(static_cast<int>(Ctl::optYes));
  HWND no = Control(static_cast<int>(Ctl::optNo));
  if (!yes || !no) return;
  bool yesShown = SendMessageW(yes, BM_GETCHECK, 0, 0) == BST_CHECKED;
  bool noShown = SendMessageW(no, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (yesShown != noShown && yesShown != s.optYes) {
    presenter_->Click(yesShown ? Ctl::optYes : Ctl::optNo);
  }
}

void MainFrame::Reset2() {
  ReadControls(std::nullopt);
  presenter_->Reset2();
}

void MainFrame::OnClose() {
  // The close box ends the program as Quit does.
  presenter_->btnQuit_Click();
}

LRESULT MainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMoveFocusMessage) {
    if (Hwnd() && IsWindowVisible(Hwnd()) && pendingStops_ > 0) {
      int stops = pendingStops_;
      pendingStops_ = 0;
      MoveFocusBy(stops);
    }
    return 0;
  }
  return FormWindow::OnMessage(message, wParam, lParam);
}

}  // namespace tessel::app
