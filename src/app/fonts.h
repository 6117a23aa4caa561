// The three fonts a form uses (regular, bold, bold underlined), made for the screen's DPI.
#pragma once

#include <windows.h>

#include "ui/form.h"

namespace tessel::app {

class FontSet {
 public:
  FontSet() = default;
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  // The form's face and size at `dpi`.
  void Create(const ui::FormDef& form, int dpi);
  HFONT Get(ui::FontStyle style) const;

 private:
  void Release();
  HFONT fonts_[3] = {};
};

}  // namespace tessel::app
