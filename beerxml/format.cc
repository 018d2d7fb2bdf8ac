#include "beerxml/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace kegverter {

std::string FormatFixed(double value, int digits) {
  if (!std::isfinite(value)) value = 0.0;
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
