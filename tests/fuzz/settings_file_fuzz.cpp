// The settings-file reader on arbitrary bytes, and the writer's promise that whatever a text box
// can hold is stored and read back as exactly one line holding the same text.
#include <cstdint>
#include <cstdlib>

#include "core/utf8.h"
#include "destination/settings_file.h"
#include "fake_platform.h"

using namespace tessel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fake::FakeSystem sys;  // its code page is Latin-1, in which every byte is a character
  CodePageDecoder fromCodePage = [&](std::string_view b) { return sys.FromCodePage(b); };
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Through a single-byte code page and a multi-byte one (UTF-8 stands in for it): no line holds
  // a line end or NUL, and no decoding makes more characters than bytes.
  for (const CodePageDecoder& decode : {fromCodePage, CodePageDecoder(FromUtf8)}) {
    size_t total = 0;
    for (const std::wstring& line : ParseSettingsFile(bytes, decode)) {
      if (line.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring::npos) std::abort();
      total += line.size();
    }
    if (total > size) std::abort();
  }
  // Two bytes per character, so every UTF-16 unit appears; what a text box cannot hold is dropped.
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    if (c != L'\r' && c != L'\n' && c != L'\0') text += c;
  }
  std::string stored =
      EncodeSettingsFile(text, [&](std::wstring_view t) { return sys.ToCodePage(t); });
  if (ParseSettingsFile(stored, fromCodePage) != std::vector<std::wstring>{text}) std::abort();
  if (FromUtf8(ToUtf8(text)) != text) std::abort();
  return 0;
}
