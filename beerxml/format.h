// Number texts of the output: fixed-point with a '.' decimal point (the C locale is never
// changed), no grouping, no exponent.
#pragma once

#include <cstdint>
#include <string>

namespace kegverter {

/// "%01.<digits>f" of `value` (a 32-bit float is widened to double by the call).
std::string FormatFixed(double value, int digits);

/// "%d.0": an integer written as a decimal.
std::string FormatIntDecimal(std::int64_t value);

/// "%d".
std::string FormatInt(std::int64_t value);

}  // namespace kegverter
