#include "core/text.h"

namespace tessel {

namespace {

bool StartsWord(wchar_t previous) {
  switch (previous) {
    case L' ':
    case L'\t':
    case L'\n':
    case L'\v':
    case L'\f':
    case L'\r':
    case L'\0':
      return true;
    default:
      return false;
  }
}

// Latin Extended-A (up to U+017E: the long s after it has no pair) pairs capitals with small
// letters at even/odd code points, except in two runs that pair odd/even.
bool OddIsCapitalInLatinExtendedA(wchar_t c) {
  return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
}

}  // namespace

wchar_t ToUpperChar(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
  if (c < 0xE0) return c;
  if (c <= 0xFE) return c == 0xF7 ? c : static_cast<wchar_t>(c - 32);
  if (c == 0xFF) return static_cast<wchar_t>(0x178);
  if (c >= 0x100 && c <= 0x17E) {
    if (c == 0x131 || c == 0x138 || c == 0x149) return c;
    bool odd = (c & 1) != 0;
    if (OddIsCapitalInLatinExtendedA(c)) return odd ? c : static_cast<wchar_t>(c - 1);
    return odd ? static_cast<wchar_t>(c - 1) : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<wchar_t>(c - 32);
  if (c >= 0x430 && c <= 0x44F) return static_cast<wchar_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 80);
  return c;
}

wchar_t ToLowerChar(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : static_cast<wchar_t>(c + 32);
  if (c == 0x178) return static_cast<wchar_t>(0xFF);
  if (c >= 0x100 && c <= 0x17E) {
    if (c == 0x130 || c == 0x138 || c == 0x149) return c;
    bool odd = (c & 1) != 0;
    if (OddIsCapitalInLatinExtendedA(c)) return odd ? static_cast<wchar_t>(c + 1) : c;
    return odd ? c : static_cast<wchar_t>(c + 1);
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<wchar_t>(c + 32);
  if (c >= 0x410 && c <= 0x42F) return static_cast<wchar_t>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 80);
  return c;
}

std::wstring QualifyPath(std::wstring_view path) {
  std::wstring result(path);
  if (result.empty() || result.back() != L'\\') result += L'\\';
  return result;
}

std::wstring TrimNull(std::wstring_view text) {
  return std::wstring(text.substr(0, text.find(L'\0')));
}

std::wstring ProperCase(std::wstring_view text) {
  std::wstring result(text);
  bool wordStart = true;
  for (wchar_t& c : result) {
    wchar_t original = c;
    c = wordStart ? ToUpperChar(c) : ToLowerChar(c);
    wordStart = StartsWord(original);
  }
  return result;
}

std::wstring TrimBlanks(std::wstring_view text) {
  size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  size_t last = text.find_last_not_of(L' ');
  return std::wstring(text.substr(first, last - first + 1));
}

}  // namespace tessel
