// Digit grouping for the metrics boxes.
#include "metrics/digit_grouping.h"

namespace tessel {

std::wstring GroupDigits(uint64_t value, std::wstring_view separator) {
  std::wstring digits = std::to_wstring(value);
  std::wstring grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace tessel
