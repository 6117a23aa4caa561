// The settings-file reader on arbitrary bytes, and the writer's promise that what it stores reads
// back as exactly one line holding the same text.
#include <cstdlib>

#include "core/utf8.h"
#include "destination/settings_file.h"
#include "fuzz_text.h"

using namespace tessel;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// A single-byte code page in which every byte is a character, as on a Western system.
std::wstring Latin1(std::string_view bytes) {
  std::wstring text;
  for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return text;
}

std::optional<std::string> ToLatin1(std::wstring_view text) {
  std::string bytes;
  for (wchar_t c : text) {
    if (static_cast<unsigned>(c) > 0xFF) return std::nullopt;
    bytes += static_cast<char>(c);
  }
  return bytes;
}

void CheckLines(std::string_view bytes, const CodePageDecoder& decode) {
  std::vector<std::wstring> lines = ParseSettingsFile(bytes, decode);
  size_t total = 0;
  for (const std::wstring& line : lines) {
    Require(line.find_first_of(std::wstring_view(L"\r\n\0", 3)) == std::wstring::npos);
    total += line.size();
  }
  Require(total <= bytes.size());  // no decoding makes more characters than bytes
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // Any bytes read through either kind of code page: a single-byte one, and a multi-byte one
  // (UTF-8 stands in for it) in which byte counts and character counts differ.
  CheckLines(bytes, Latin1);
  CheckLines(bytes, [](std::string_view b) { return FromUtf8(b); });

  // In the single-byte page the line count follows from the line ends alone: CR LF, LF or CR
  // each end one line, and text after the last end makes one more.
  if (!bytes.starts_with("\xEF\xBB\xBF")) {
    size_t ends = 0;
    for (size_t i = 0; i < size; ++i) {
      if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == size || bytes[i + 1] != '\n'))) ++ends;
    }
    bool openLast = size > 0 && bytes.back() != '\r' && bytes.back() != '\n';
    Require(ParseSettingsFile(bytes, Latin1).size() == ends + (openLast ? 1 : 0));
  }

  // Whatever a text box can hold (no line break, no NUL) is stored and read back unchanged.
  std::wstring text = fuzz::WideFromBytes(data, size);
  std::erase_if(text, [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\0'; });
  std::string stored = EncodeSettingsFile(text, ToLatin1);
  Require(stored.ends_with("\r\n"));
  std::vector<std::wstring> back = ParseSettingsFile(stored, Latin1);
  Require(back.size() == 1 && back[0] == text);
  Require(FromUtf8(ToUtf8(text)) == text);
  return 0;
}
