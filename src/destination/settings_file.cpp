// The settings file's location, its line parsing and its encoding.
#include "destination/settings_file.h"

#include "core/text.h"
#include "core/utf8.h"

namespace tessel {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

std::wstring SettingsFolderPath(std::wstring_view drive) {
  std::wstring path(drive);
  return path + L":\\Program Files\\Tessel\\";
}

std::wstring SettingsFilePath(std::wstring_view drive) {
  return SettingsFolderPath(drive) + L"DefaultDestinationPath.txt";
}

std::wstring BuiltInDestination(std::wstring_view drive) {
  std::wstring path(drive);
  return path + L":\\Backup Zips";
}

std::vector<std::wstring> ParseSettingsFile(std::string_view bytes,
                                            const CodePageDecoder& fromCodePage) {
  std::wstring text =
      bytes.starts_with(kUtf8Mark) ? FromUtf8(bytes.substr(kUtf8Mark.size())) : fromCodePage(bytes);
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    lines.push_back(TrimNull(std::wstring_view(text).substr(start, end - start)));
    start = end + (std::wstring_view(text).substr(end, 2) == L"\r\n" ? 2 : 1);
  }
  return lines;
}

std::string EncodeSettingsFile(std::wstring_view destination, const CodePageEncoder& toCodePage) {
  std::optional<std::string> single = toCodePage(destination);
  if (single && !single->starts_with(kUtf8Mark)) return *single + "\r\n";
  return std::string(kUtf8Mark) + ToUtf8(destination) + "\r\n";
}

}  // namespace tessel
