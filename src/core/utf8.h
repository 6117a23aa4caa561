// UTF-8 to and from the program's wide text. Surrogate code units that stand alone are carried as
// three-byte sequences, so any wide text survives a round trip.
#pragma once

#include <string>
#include <string_view>

namespace tessel {

std::string ToUtf8(std::wstring_view text);

// Malformed or truncated sequences decode as U+FFFD, one per byte that cannot start a sequence.
std::wstring FromUtf8(std::string_view bytes);

}  // namespace tessel
