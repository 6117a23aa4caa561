// Small text rules shared by every part of the program: path qualification, NUL trimming, proper
// case and blank trimming.
#pragma once

#include <string>
#include <string_view>

namespace tessel {

// The path with a trailing "\": unchanged when it already ends in one; "\" for an empty path.
std::wstring QualifyPath(std::wstring_view path);

// The text before its first NUL character (the whole text when it holds none).
std::wstring TrimNull(std::wstring_view text);

// First character of each word upper case, every other letter lower case. A word starts at the
// beginning and after a blank, tab, LF, VT, FF, CR or NUL. Keeps the length.
std::wstring ProperCase(std::wstring_view text);

// The text without leading and trailing blanks (U+0020 only; other white space stays).
std::wstring TrimBlanks(std::wstring_view text);

// Simple one-to-one case mappings for Latin, Greek and Cyrillic letters; other characters
// unchanged.
wchar_t ToUpperChar(wchar_t c);
wchar_t ToLowerChar(wchar_t c);

}  // namespace tessel
