// Help and licence windows: load the text, show it from the top, close on "Close".
#include "app/text_window.h"

#include "ui/text_forms.h"

namespace tessel::app {

TextWindow::TextWindow(const ui::FormDef& form, std::wstring text)
    : FormWindow(form), text_(std::move(text)) {}

void TextWindow::Form_Load() {
  HWND box = Control(static_cast<int>(ui::TextCtl::txtHelp));
  if (!box) return;
  SetWindowTextW(box, text_.c_str());
  SendMessageW(box, EM_SETSEL, 0, 0);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

void TextWindow::Show() {
  if (Hwnd()) ShowWindow(Hwnd(), SW_SHOW);
}

void TextWindow::OnCommand(int id, int code, HWND) {
  if (id == static_cast<int>(ui::TextCtl::btnClose) && code == BN_CLICKED) Destroy();
}

}  // namespace tessel::app
