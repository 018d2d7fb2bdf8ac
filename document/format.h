// Number texts of the output: fixed-point with a '.' decimal point (the C locale is never
// changed), no grouping, no exponent.
#pragma once

#include <cstdint>
#include <string>

namespace kegverter {

/// "%01.<digits>f" of `value` (a 32-bit float is widened to double by the call).
///
/// A value that is not a finite number (a NaN or an infinity, which damaged files hold in
/// fields that have no valid range) is written as zero with the same digits ("0.0", "0.00"):
/// printf would write "nan" or "inf", which no BeerXML reader takes for a number, and zero is
/// what the range tables give a non-number everywhere else. Huge finite values are written in
/// full; they are numbers.
std::string FormatFixed(double value, int digits);

/// "%d.0": an integer written as a decimal.
std::string FormatIntDecimal(std::int64_t value);

/// "%d".
std::string FormatInt(std::int64_t value);

}  // namespace kegverter
