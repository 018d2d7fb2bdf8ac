// What the core takes from C++20's standard library and Debian's Emscripten 3.1.6 lacks: its
// libc++ has no floating-point std::to_chars or std::from_chars, no std::bit_cast and no
// std::make_unique_for_overwrite. The page's build includes this header first in every file
// (-include), so the core compiles unchanged; the native builds never see it.
//
// The numbers are written with the C library's printf and read with its strtod and strtof, which
// in Emscripten's musl are exact (correctly rounded at every precision): a precision gives what
// printf gives, as std::to_chars does; the shortest form is the fewest significant digits whose
// text reads back to the same value (the nearest such text), written in the notation
// std::to_chars chooses. The page's tests compare every output with the native programs', byte
// for byte, and web/compat/check.cc compares this header with libstdc++ on many values.
#pragma once

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace kegverter::web_compat {

inline std::to_chars_result Put(char* first, char* last, std::string_view text) {
  if (static_cast<std::size_t>(last - first) < text.size()) {
    return {last, std::errc::value_too_large};
  }
  std::memcpy(first, text.data(), text.size());
  return {first + text.size(), std::errc()};
}

inline constexpr double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A finite, non-zero magnitude as significant digits (no leading zero) and the decimal exponent
// of the first: value = 0.d1d2... x 10^(exponent + 1).
struct Digits {
  std::uint64_t mantissa = 0;  // the digits as an integer
  int count = 0;               // how many
  int exponent = 0;
};

// Reads a decimal number's text as the nearest double. The page's build takes it from the
// browser's own Number(), which is exact and much faster than musl's strtod (whose long double
// arithmetic is emulated in WebAssembly); the native check takes strtod.
#if defined(__EMSCRIPTEN__)
extern "C" double kegverter_web_read_number(const char* text);  // compat/read_number.js
inline double ReadText(const char* text) { return kegverter_web_read_number(text); }
#else
inline double ReadText(const char* text) { return std::strtod(text, nullptr); }
#endif

// The double nearest to mantissa x 10^exponent. With at most 15 digits and a power of ten of at
// most 22, both factors are exact doubles and one multiplication or division rounds once.
inline double ReadDecimal(std::uint64_t mantissa, int exponent) {
  if (mantissa < 1000000000000000u && exponent >= -22 && exponent <= 22) {
    const auto m = static_cast<double>(mantissa);
    return exponent >= 0 ? m * kPowersOf10[exponent] : m / kPowersOf10[-exponent];
  }
  char text[48];
  std::snprintf(text, sizeof text, "%llue%d", static_cast<unsigned long long>(mantissa), exponent);
  return ReadText(text);
}

// Whether the digits read back as `value`.
template <class T>
bool ReadsBack(const Digits& d, T value) {
  const int exponent = d.exponent - d.count + 1;
  const double read = ReadDecimal(d.mantissa, exponent);
  if constexpr (std::is_same_v<T, float>) {
    // The text read as a float, through the nearest double: exact unless that double lies
    // halfway between two floats, where the text itself decides, or beyond the floats' range.
    if (std::fabs(read) <= static_cast<double>(std::numeric_limits<float>::max())) {
      const auto single = static_cast<float>(read);
      const auto back = static_cast<double>(single);
      if (back == read) return single == value;
      const float other = std::nextafter(single, read > back ? std::numeric_limits<float>::max()
                                                             : -std::numeric_limits<float>::max());
      if ((back + static_cast<double>(other)) / 2 != read) return single == value;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%llue%d", static_cast<unsigned long long>(d.mantissa),
                  exponent);
    return std::strtof(text, nullptr) == value;
  } else {
    return read == value;
  }
}

inline std::uint64_t Power10(int n) {
  std::uint64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

// The correctly rounded digits of `value` (positive, finite) to `count` significant digits.
// Rounded without printf, for at most 15 digits of a value whose scaling to them is by an exact
// power of ten (10^0 to 10^22): the product's exact error (fma) decides the rounding, halves to
// even as printf rounds. False where it does not apply.
inline bool RoundedExactly(double value, int count, Digits& d) {
  if (count > 15 || !std::isnormal(value)) return false;
  int exponent = static_cast<int>(std::floor(std::log10(value)));
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int scale = count - 1 - exponent;
    if (scale < 0 || scale > 22) return false;
    const double power = kPowersOf10[scale];
    const double product = value * power;
    const double error = std::fma(value, power, -product);  // value * power = product + error
    double n = std::floor(product);
    const double above_half = (product - n) - 0.5;  // exact: product < 2^53
    if (above_half > -error || (above_half == -error && std::fmod(n, 2) != 0)) n += 1;
    if (n < kPowersOf10[count - 1]) {
      --exponent;  // the estimate of the exponent was one too high
      continue;
    }
    if (n > kPowersOf10[count]) {
      ++exponent;  // one too low
      continue;
    }
    if (n == kPowersOf10[count]) {  // rounded up to the next power of ten
      d.mantissa = static_cast<std::uint64_t>(kPowersOf10[count - 1]);
      d.count = count;
      d.exponent = exponent + 1;
      return true;
    }
    d.mantissa = static_cast<std::uint64_t>(n);
    d.count = count;
    d.exponent = exponent;
    return true;
  }
  return false;
}

inline Digits Rounded(double value, int count) {
  Digits d;
  if (RoundedExactly(value, count, d)) return d;
  char text[64];
  std::snprintf(text, sizeof text, "%.*e", count - 1, value);
  d.count = count;
  const char* p = text;
  for (; *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') d.mantissa = d.mantissa * 10 + static_cast<unsigned>(*p - '0');
  }
  d.exponent = std::atoi(p + 1);
  return d;
}

// The shortest digits that read back to `value` (positive, finite); of several, the nearest.
template <class T>
Digits Shortest(T value) {
  // A value whose shortest text has at most 15 significant digits (6 for a float) is within half
  // a unit of its last binary digit of that text, which is less than half a unit of the 15th
  // (6th) decimal digit: rounded to 15 (6) digits it is that text followed by zeros. One
  // rounding then finds most values' text; the rest take 16 and 17 (7 to 9) digits in turn.
  const int sure = std::is_same_v<T, float> ? 6 : 15;
  const int most = std::is_same_v<T, float> ? 9 : 17;
  // A subnormal value has fewer binary digits, and no such bound: it tries every length.
  const bool normal = std::isnormal(value);
  Digits d = Rounded(static_cast<double>(value), sure);
  if (normal && ReadsBack(d, value)) {
    while (d.count > 1 && d.mantissa % 10 == 0) {
      d.mantissa /= 10;
      --d.count;
    }
    return d;
  }
  for (int count = normal ? sure + 1 : 1; count <= most; ++count) {
    d = Rounded(static_cast<double>(value), count);
    if (ReadsBack(d, value)) return d;
    // Next to a power of two the values that read back lie unevenly about the value: the
    // nearest text of this length may miss while its neighbour reads back.
    Digits up = d;
    if (++up.mantissa == Power10(count)) {
      up.mantissa = Power10(count - 1);
      ++up.exponent;
    }
    if (ReadsBack(up, value)) return up;
    Digits down = d;
    if (down.mantissa == Power10(count - 1)) {
      down.mantissa = Power10(count) - 1;
      --down.exponent;
    } else {
      --down.mantissa;
    }
    if (ReadsBack(down, value)) return down;
  }
  return Rounded(static_cast<double>(value), most);  // never reached: 9 or 17 digits read back
}

inline std::string DigitText(const Digits& d) {
  std::string digits = std::to_string(d.mantissa);
  digits.resize(static_cast<std::size_t>(d.count), '0');
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return digits;
}

inline std::string Scientific(const std::string& digits, int exponent) {
  std::string text(1, digits[0]);
  if (digits.size() > 1) text += '.' + digits.substr(1);
  char tail[16];
  std::snprintf(tail, sizeof tail, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return text + tail;
}

inline std::string Fixed(const std::string& digits, int exponent) {
  const auto n = static_cast<int>(digits.size());
  if (exponent < 0)
    return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  if (n <= exponent + 1)
    return digits + std::string(static_cast<std::size_t>(exponent + 1 - n), '0');
  return digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
         digits.substr(static_cast<std::size_t>(exponent + 1));
}

inline bool Special(double value, std::string& text) {
  if (std::isnan(value)) {
    text = std::signbit(value) ? "-nan" : "nan";
    return true;
  }
  if (std::isinf(value)) {
    text = value < 0 ? "-inf" : "inf";
    return true;
  }
  if (value == 0) {
    text = std::signbit(value) ? "-0" : "0";
    return true;
  }
  return false;
}

// The shortest text, in the notation asked for; with neither, the shorter of the two (fixed on
// a tie), as std::to_chars without a precision writes it.
template <class T>
std::string ShortestText(T value, std::chars_format format) {
  std::string text;
  if (Special(static_cast<double>(value), text)) {
    if (format == std::chars_format::scientific && text.back() == '0') text += "e+00";
    return text;
  }
  const bool negative = value < 0;
  const Digits d = Shortest<T>(negative ? -value : value);
  const std::string digits = DigitText(d);
  std::string fixed;
  if (format != std::chars_format::scientific) {
    // A whole number whose shortest digits end before the point is written exactly, as
    // printf's "%.0f" writes it, not with zeros after those digits.
    if (d.exponent >= static_cast<int>(digits.size())) {
      char buffer[400];
      std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(negative ? -value : value));
      fixed = buffer;
    } else {
      fixed = Fixed(digits, d.exponent);
    }
  }
  std::string scientific;
  if (format != std::chars_format::fixed) scientific = Scientific(digits, d.exponent);
  if (format == std::chars_format::fixed)
    text = fixed;
  else if (format == std::chars_format::scientific)
    text = scientific;
  else
    text = fixed.size() <= scientific.size() ? fixed : scientific;
  return negative ? "-" + text : text;
}

inline std::string PrecisionText(double value, std::chars_format format, int precision) {
  if (format == std::chars_format::scientific && std::isnormal(value)) {
    Digits d;
    if (RoundedExactly(std::fabs(value), precision + 1, d)) {
      std::string digits = std::to_string(d.mantissa);
      std::string text = value < 0 ? "-" : "";
      text += digits[0];
      if (precision > 0) text += '.' + digits.substr(1);
      char tail[16];
      std::snprintf(tail, sizeof tail, "e%c%02d", d.exponent < 0 ? '-' : '+', std::abs(d.exponent));
      return text + tail;
    }
  }
  char buffer[400];
  const char* spec = format == std::chars_format::fixed        ? "%.*f"
                     : format == std::chars_format::scientific ? "%.*e"
                                                               : "%.*g";
  const int n = std::snprintf(buffer, sizeof buffer, spec, precision, value);
  if (n < 0 || static_cast<std::size_t>(n) >= sizeof buffer) {
    std::string text(
        static_cast<std::size_t>(std::snprintf(nullptr, 0, spec, precision, value)) + 1, '\0');
    std::snprintf(text.data(), text.size(), spec, precision, value);
    text.pop_back();
    return text;
  }
  return std::string(buffer, static_cast<std::size_t>(n));
}

// Reads a decimal number as std::from_chars does: an optional '-', digits with an optional point,
// an optional exponent; no leading blank or '+', no hexadecimal. The value is left alone when
// nothing is read or the number is out of the doubles' range. "inf" and "nan" go to strtod.
inline std::from_chars_result FromChars(const char* first, const char* last, double& value,
                                        std::chars_format) {
  const char* p = first;
  const bool negative = p < last && *p == '-';
  if (negative) ++p;
  std::uint64_t mantissa = 0;
  int significant = 0;
  int exponent = 0;
  bool digits = false;
  bool exact = true;  // every significant digit is in `mantissa`
  auto digit = [&](char c, bool fraction) {
    digits = true;
    if (significant < 19) {
      mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      if (mantissa != 0) ++significant;
      if (fraction) --exponent;
    } else {
      if (c != '0') exact = false;
      if (!fraction) ++exponent;
    }
  };
  for (; p < last && *p >= '0' && *p <= '9'; ++p) digit(*p, false);
  if (p < last && *p == '.') {
    const char* point = p;
    for (++p; p < last && *p >= '0' && *p <= '9'; ++p) digit(*p, true);
    if (!digits) p = point;
  }
  if (!digits) {
    // "inf", "infinity", "nan": as the C library reads them.
    const std::string text(first + (negative ? 1 : 0), last);
    if (text.empty() || !(text[0] == 'i' || text[0] == 'I' || text[0] == 'n' || text[0] == 'N')) {
      return {first, std::errc::invalid_argument};
    }
    char* end = nullptr;
    const double read = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) return {first, std::errc::invalid_argument};
    value = negative ? -read : read;
    return {first + (negative ? 1 : 0) + (end - text.c_str()), std::errc()};
  }
  if (p < last && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    const bool minus = q < last && *q == '-';
    if (q < last && (*q == '-' || *q == '+')) ++q;
    if (q < last && *q >= '0' && *q <= '9') {
      long power = 0;
      for (; q < last && *q >= '0' && *q <= '9'; ++q) {
        if (power < 100000) power = power * 10 + (*q - '0');
      }
      exponent += static_cast<int>(minus ? -power : power);
      p = q;
    }
  }
  double read = 0;
  if (exact) {
    read = mantissa == 0 ? 0.0 : ReadDecimal(mantissa, exponent);
  } else {
    read = ReadText(std::string(first + (negative ? 1 : 0), p).c_str());
  }
  if (std::isinf(read) || (read == 0 && mantissa != 0)) return {p, std::errc::result_out_of_range};
  value = negative ? -read : read;
  return {p, std::errc()};
}

}  // namespace kegverter::web_compat

// web/compat/check.cc compares the functions above with a standard library that has them.
#if !defined(KEGVERTER_WEB_COMPAT_CHECK)
namespace std {

inline to_chars_result to_chars(char* first, char* last, double value) {
  return kegverter::web_compat::Put(
      first, last, kegverter::web_compat::ShortestText(value, chars_format::general));
}
inline to_chars_result to_chars(char* first, char* last, float value) {
  return kegverter::web_compat::Put(
      first, last, kegverter::web_compat::ShortestText(value, chars_format::general));
}
inline to_chars_result to_chars(char* first, char* last, double value, chars_format format) {
  return kegverter::web_compat::Put(first, last,
                                    kegverter::web_compat::ShortestText(value, format));
}
inline to_chars_result to_chars(char* first, char* last, float value, chars_format format) {
  return kegverter::web_compat::Put(first, last,
                                    kegverter::web_compat::ShortestText(value, format));
}
inline to_chars_result to_chars(char* first, char* last, double value, chars_format format,
                                int precision) {
  return kegverter::web_compat::Put(first, last,
                                    kegverter::web_compat::PrecisionText(value, format, precision));
}

inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format format = chars_format::general) {
  return kegverter::web_compat::FromChars(first, last, value, format);
}

#if !defined(__cpp_lib_bit_cast)
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}
#endif

#if !defined(__cpp_lib_smart_ptr_for_overwrite)
template <class T>
unique_ptr<T> make_unique_for_overwrite(size_t n) requires is_unbounded_array_v<T> {
  return unique_ptr<T>(new remove_extent_t<T>[n]);
}
#endif

}  // namespace std
#endif
