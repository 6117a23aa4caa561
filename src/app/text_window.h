// The Help and licence agreement windows: one fixed text and a Close button.
#pragma once

#include <string>

#include "app/form_window.h"

namespace tessel::app {

class TextWindow : public FormWindow {
 public:
  TextWindow(const ui::FormDef& form, std::wstring text);

  // Puts the text into the box in one assignment, shown from its beginning.
  void Form_Load();
  void Show();

 protected:
  void OnCommand(int id, int code, HWND control) override;

 private:
  std::wstring text_;
};

}  // namespace tessel::app
