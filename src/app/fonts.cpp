// Form fonts. The designs name the classic 8.25 pt sans serif; its bitmap face only comes in a
// few pixel sizes, so above 96 dpi the scalable face of the same design is taken when installed,
// which keeps the text crisp on high-DPI screens.
#include "app/fonts.h"

#include <string>

namespace tessel::app {

namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW query = {};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
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

void FontSet::Create(std::wstring_view face, int sizeHundredths, int dpi) {
  Release();
  std::wstring name(face);
  if (dpi > 96 && name == L"MS Sans Serif" && FaceInstalled(L"Microsoft Sans Serif")) {
    name = L"Microsoft Sans Serif";
  }
  LOGFONTW lf = {};
  lf.lfHeight = -MulDiv(sizeHundredths, dpi, 7200);
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
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
