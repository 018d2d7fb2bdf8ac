#include "beerxml/format.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace kegverter {

std::string FormatFixed(double value, int digits) {
  if (!std::isfinite(value)) value = 0.0;
  char format[16];
  std::snprintf(format, sizeof format, "%%01.%df", digits);
  // The largest double needs some 310 digits before the point.
  char buffer[400];
  const int n = std::snprintf(buffer, sizeof buffer, format, value);
  if (n < 0) return std::string();
  return std::string(buffer, static_cast<std::size_t>(n) < sizeof buffer ? static_cast<std::size_t>(n)
                                                                         : sizeof buffer - 1);
}

std::string FormatIntDecimal(std::int64_t value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%" PRId64 ".0", value);
  return buffer;
}

std::string FormatInt(std::int64_t value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%" PRId64, value);
  return buffer;
}

}  // namespace kegverter
