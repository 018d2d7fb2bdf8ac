// Number formatting (document/format): the quick fixed-point text must be exactly printf's, for
// every value.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "document/format.h"

namespace kegverter {
namespace {

// printf's text, with a non-number written as zero as the output never holds "nan" or "inf".
std::string Printf(double value, int digits) {
  if (!std::isfinite(value)) value = 0.0;
  char format[16];
  std::snprintf(format, sizeof format, "%%01.%df", digits);
  char buffer[400];
  const int n = std::snprintf(buffer, sizeof buffer, format, value);
  return std::string(buffer, static_cast<std::size_t>(n));
}

TEST(Format, FixedPointTextIsPrintfsForFloatsDoublesTiesAndSpecials) {
  const double specials[] = {0.0,
                             -0.0,
                             0.05,
                             0.125,
                             0.25,
                             2.5,
                             -0.004,
                             1e300,
                             -1e-300,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::nan(""),
                             -std::nan("")};
  for (const double value : specials) {
    for (int digits = 0; digits <= 6; ++digits) {
      EXPECT_EQ(FormatFixed(value, digits), Printf(value, digits)) << value << " " << digits;
    }
  }
  std::mt19937_64 random(7);
  int mismatches = 0;
  for (int i = 0; i < 200000; ++i) {
    const auto as_float = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    const double as_double = std::bit_cast<double>(random());
    // Values of the size brewing data has, many of them exact halves of the last digit.
    const double typed = static_cast<double>(random() % 2000000) / 2000.0 - 500.0;
    const int digits = i % 6;
    // Any size from far below a unit of the last digit to past where integers take over, with
    // either sign; and values on a tie of the last digit or next to one.
    const double sized =
        std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 100) - 80) *
        ((random() & 1) != 0 ? -1.0 : 1.0);
    const double tie = (static_cast<double>(random() % 100000000) + 0.5) / std::pow(10.0, digits);
    const double beside_tie = std::nextafter(tie, (random() & 1) != 0 ? 0.0 : 1e30);
    for (const double value :
         {static_cast<double>(as_float), as_double, typed, sized, tie, beside_tie}) {
      if (FormatFixed(value, digits) != Printf(value, digits) && ++mismatches < 5) {
        ADD_FAILURE() << value << " with " << digits << " digits: " << FormatFixed(value, digits)
                      << " instead of " << Printf(value, digits);
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(FormatIntDecimal(-2147483648LL), "-2147483648.0");
  EXPECT_EQ(FormatInt(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

}  // namespace
}  // namespace kegverter
