// Turns fuzzer bytes into wide text: two bytes per character, so every UTF-16 unit appears.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessel::fuzz {

inline std::wstring WideFromBytes(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  }
  return text;
}

// Splits the text at U+0001 into up to `n` pieces (missing ones are empty).
inline std::wstring Piece(const std::wstring& text, size_t index) {
  size_t start = 0;
  for (size_t i = 0; i < index; ++i) {
    start = text.find(L'\x01', start);
    if (start == std::wstring::npos) return {};
    ++start;
  }
  return text.substr(start, text.find(L'\x01', start) - start);
}

}  // namespace tessel::fuzz
