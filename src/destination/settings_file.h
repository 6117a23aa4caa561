// The stored default destination: where its file lives and how its bytes become lines and back.
// Parsing and encoding are pure so they can be tested (and fed any bytes) without a disk.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

// drive + ":\Program Files\Tessel\" and the file DefaultDestinationPath.txt in it.
std::wstring SettingsFolderPath(std::wstring_view drive);
std::wstring SettingsFilePath(std::wstring_view drive);

// drive + ":\Backup Zips": used when nothing is stored.
std::wstring BuiltInDestination(std::wstring_view drive);

using CodePageDecoder = std::function<std::wstring(std::string_view)>;
using CodePageEncoder = std::function<std::optional<std::string>(std::wstring_view)>;

// The file's lines. Bytes starting with the UTF-8 byte-order mark are UTF-8, anything else is in
// the system code page. A line ends at CR LF, a lone LF or a lone CR; a last line without an end
// still counts, and a final line end starts no further line. A line's text stops at its first
// NUL, as a text box would show it.
std::vector<std::wstring> ParseSettingsFile(std::string_view bytes,
                                            const CodePageDecoder& fromCodePage);

// One line and CR LF: in the system code page when every character has an exact representation
// there (and the result cannot be mistaken for a byte-order mark), otherwise UTF-8 after a
// byte-order mark, so the text always reads back exactly.
std::string EncodeSettingsFile(std::wstring_view destination, const CodePageEncoder& toCodePage);

}  // namespace tessel
