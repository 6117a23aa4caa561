// Whole numbers as the metrics boxes show them.
#include <gtest/gtest.h>

#include "metrics/digit_grouping.h"

namespace tessel {
namespace {

struct GroupCase {
  uint64_t value;
  const wchar_t* separator;
  const wchar_t* expected;
};

TEST(GroupDigits, GroupsEveryThreeDigitsNeverScaling) {
  const GroupCase cases[] = {
      {0, L",", L"0"},
      {7, L",", L"7"},
      {999, L",", L"999"},
      {1000, L",", L"1,000"},
      {1234567, L",", L"1,234,567"},
      {2147483648ull, L",", L"2,147,483,648"},
      {12345678901ull, L",", L"12,345,678,901"},
      {18446744073709551615ull, L",", L"18,446,744,073,709,551,615"},
      {1234567, L"\u00a0", L"1\u00a0234\u00a0567"},
      {1234567, L"", L"1234567"},
  };
  for (const GroupCase& c : cases) {
    EXPECT_EQ(GroupDigits(c.value, c.separator), c.expected) << c.value;
  }
}

}  // namespace
}  // namespace tessel
