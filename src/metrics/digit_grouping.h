// Whole numbers as the metrics boxes show them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessel {

// All digits of `value` in groups of three from the right, joined by `separator`: "0" for zero,
// 1234567 as "1,234,567" with a comma. Never scaled, never shortened.
std::wstring GroupDigits(uint64_t value, std::wstring_view separator);

}  // namespace tessel
