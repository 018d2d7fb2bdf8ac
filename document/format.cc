#include "document/format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>

namespace kegverter {

namespace {

// The values brewing data holds, with at most four digits after the point, rounded exactly in
// integers. A double is m * 2^e with an integer m below 2^53, so value * 10^digits is
// m * 5^digits * 2^(e + digits): m * 5^digits stays below 2^63, and shifting it right, the bits
// shifted out rounding half to even, gives the number of 10^-digits units exactly as printf
// rounds the exact binary value. False for what this does not cover.
bool FormatFixedExactly(double value, int digits, std::string& text) {
  constexpr std::uint64_t kFivePowers[] = {1, 5, 25, 125, 625};
  const double magnitude = std::fabs(value);
  if (digits < 0 || digits > 4 || !(magnitude < 1e12)) return false;
  int exponent = 0;
  const double fraction = std::frexp(magnitude, &exponent);  // in [0.5, 1), or 0
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const std::uint64_t scaled = mantissa * kFivePowers[digits];
  // Below 1e12, exponent is at most 40: the units are `scaled` shifted right.
  const int right = 53 - digits - exponent;
  if (right <= 0) return false;
  std::uint64_t units = 0;
  if (right < 64) {
    units = scaled >> right;
    const std::uint64_t rest = scaled & ((std::uint64_t{1} << right) - 1);
    const std::uint64_t half = std::uint64_t{1} << (right - 1);
    if (rest > half || (rest == half && (units & 1) != 0)) ++units;
  }  // else: `scaled` is below 2^63, less than half a unit
  char buffer[24];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, units);
  const auto length = static_cast<std::size_t>(result.ptr - buffer);
  const auto after = static_cast<std::size_t>(digits);
  text.clear();
  if (std::signbit(value)) text += '-';  // printf keeps the sign of a value that rounds to 0
  if (after == 0) {
    text.append(buffer, length);
  } else if (length <= after) {
    text += "0.";
    text.append(after - length, '0');
    text.append(buffer, length);
  } else {
    text.append(buffer, length - after);
    text += '.';
    text.append(buffer + length - after, after);
  }
  return true;
}

}  // namespace

std::string FormatFixed(double value, int digits) {
  if (!std::isfinite(value)) value = 0.0;
  if (std::string text; FormatFixedExactly(value, digits, text)) return text;
  // The largest double needs some 310 digits before the point.
  char buffer[400];
  // std::to_chars with a precision writes what printf's "%.<digits>f" writes in the C locale,
  // digit for digit (both round the exact binary value), at a fraction of the cost; "%01" adds
  // nothing to a text that always has at least one character.
  if (digits >= 0) {
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits);
    if (result.ec == std::errc()) return std::string(buffer, result.ptr);
  }
  char format[16];
  std::snprintf(format, sizeof format, "%%01.%df", digits);
  const int n = std::snprintf(buffer, sizeof buffer, format, value);
  if (n < 0) return std::string();
  return std::string(buffer, static_cast<std::size_t>(n) < sizeof buffer
                                 ? static_cast<std::size_t>(n)
                                 : sizeof buffer - 1);
}

std::string FormatIntDecimal(std::int64_t value) {
  char buffer[32];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer - 2, value);
  char* end = result.ptr;
  *end++ = '.';
  *end++ = '0';
  return std::string(buffer, end);
}

std::string FormatInt(std::int64_t value) {
  char buffer[32];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace kegverter
