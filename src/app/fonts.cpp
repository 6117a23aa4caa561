// Form fonts. The designs name the classic 8.25 pt sans serif, a bitmap face that covers only the
// system code page and takes no part in font linking: a name in another script would show as
// boxes. So at every DPI its TrueType successor of the same metrics is taken, which Windows links
// to its East Asian faces (else Tahoma, which Wine ships and links alike), at the largest size up
// to the design's at which every label's caption fits the width the design gives it.
#include "app/fonts.h"

#include <string>

namespace tessel::app {

namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW query = {};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

bool LabelsFit(HDC dc, const ui::FormDef& form, HFONT regular, int dpi) {
  HGDIOBJ old = SelectObject(dc, regular);
  bool fit = true;
  for (const ui::ControlDef& c : form.controls) {
    SIZE text = {};
    if (c.kind != ui::Kind::Label) continue;
    GetTextExtentPoint32W(dc, c.caption.data(), static_cast<int>(c.caption.size()), &text);
    fit = fit && text.cx <= ui::TwipsToPixels(c.width, dpi);
  }
  SelectObject(dc, old);
  return fit;
}

}  // namespace

FontSet::~FontSet() {
  Release();
}

void FontSet::Release() {
  for (HFONT& font : fonts_) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}

void FontSet::Create(const ui::FormDef& form, int dpi) {
  Release();
  HDC screen = GetDC(nullptr);
  std::wstring name(form.fontFace);
  bool substituted = false;
  if (name == L"MS Sans Serif") {
    for (const wchar_t* successor : {L"Microsoft Sans Serif", L"Tahoma"}) {
      if (FaceInstalled(screen, successor)) {
        name = successor;
        substituted = true;
        break;
      }
    }
  }
  LOGFONTW lf = {};
  lf.lfHeight = -MulDiv(form.fontSizeHundredths, dpi, 7200);
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
  // A face of other proportions than the design's may need a pixel or two less.
  for (int smaller = 0; substituted && smaller < 4; ++smaller) {
    HFONT regular = CreateFontIndirectW(&lf);
    bool fit = regular && LabelsFit(screen, form, regular, dpi);
    if (regular) DeleteObject(regular);
    if (fit) break;
    ++lf.lfHeight;
  }
  ReleaseDC(nullptr, screen);
  const struct {
    ui::FontStyle style;
    LONG weight;
    BYTE underline;
  } kinds[] = {{ui::FontStyle::Regular, FW_NORMAL, FALSE},
               {ui::FontStyle::Bold, FW_BOLD, FALSE},
               {ui::FontStyle::BoldUnderline, FW_BOLD, TRUE}};
  for (const auto& k : kinds) {
    lf.lfWeight = k.weight;
    lf.lfUnderline = k.underline;
    fonts_[static_cast<int>(k.style)] = CreateFontIndirectW(&lf);
  }
}

HFONT FontSet::Get(ui::FontStyle style) const {
  HFONT font = fonts_[static_cast<int>(style)];
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace tessel::app
