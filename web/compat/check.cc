// Compares compat.h's number texts with libstdc++'s std::to_chars on random and chosen values:
// g++ -std=c++20 -O2 -DKEGVERTER_WEB_COMPAT_CHECK web/compat/check.cc && ./a.out [count]
#include <charconv>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "compat.h"

namespace {

int failures = 0;

template <class T>
void Compare(T value) {
  using kegverter::web_compat::PrecisionText;
  using kegverter::web_compat::ShortestText;
  char buffer[500];
  auto check = [&](const std::string& mine, std::to_chars_result theirs, const char* what) {
    const std::string expected(buffer, theirs.ptr);
    if (mine != expected && failures++ < 20) {
      std::printf("%s %.17g: compat %s, std %s\n", what, static_cast<double>(value), mine.c_str(),
                  expected.c_str());
    }
  };
  check(ShortestText(value, std::chars_format::general),
        std::to_chars(buffer, buffer + sizeof buffer, value), "shortest");
  check(ShortestText(value, std::chars_format::fixed),
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed), "fixed");
  check(ShortestText(value, std::chars_format::scientific),
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific),
        "scientific");
  if constexpr (std::is_same_v<T, double>) {
    for (const int precision : {0, 1, 3, 8}) {
      check(
          PrecisionText(value, std::chars_format::fixed, precision),
          std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision),
          "fixed precision");
      check(PrecisionText(value, std::chars_format::scientific, precision),
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                          precision),
            "scientific precision");
    }
  }
}

// Reads `text` with compat.h and with the standard library; both must agree on the value, the
// end and the error.
void CompareRead(const std::string& text) {
  double mine = -1;
  double theirs = -1;
  const auto a = kegverter::web_compat::FromChars(text.data(), text.data() + text.size(), mine,
                                                  std::chars_format::general);
  const auto b = std::from_chars(text.data(), text.data() + text.size(), theirs);
  const bool same =
      a.ptr == b.ptr && a.ec == b.ec &&
      (std::memcmp(&mine, &theirs, sizeof mine) == 0 || (std::isnan(mine) && std::isnan(theirs)));
  if (!same && failures++ < 20) {
    std::printf("read \"%s\": compat %.17g (%td, %d), std %.17g (%td, %d)\n", text.c_str(), mine,
                a.ptr - text.data(), static_cast<int>(a.ec), theirs, b.ptr - text.data(),
                static_cast<int>(b.ec));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const long count = argc > 1 ? std::atol(argv[1]) : 200000;
  std::mt19937_64 random(20261210);
  for (long i = 0; i < count; ++i) {
    const std::uint64_t bits = random();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (std::isfinite(d)) Compare(d);
    if (!std::isfinite(d)) d = 0;
    float f;
    const auto bits32 = static_cast<std::uint32_t>(bits);
    std::memcpy(&f, &bits32, sizeof f);
    if (std::isfinite(f)) Compare(f);
    if (!std::isfinite(f)) f = 0;
    // Values of the size the files hold: amounts, temperatures, gravities, percentages.
    const double typical =
        std::ldexp(static_cast<double>(bits % 100000000), -static_cast<int>(bits >> 58)) / 1000;
    Compare(typical);
    Compare(static_cast<float>(typical));
    Compare(static_cast<double>(static_cast<float>(typical)));
    Compare(std::round(typical * 1000) / 1000);
    char buffer[500];
    CompareRead(std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, d).ptr));
    CompareRead(std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, typical,
                                                  std::chars_format::scientific, 8)
                                        .ptr));
    CompareRead(std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, f).ptr));
  }
  for (const char* text : {"",
                           "-",
                           ".",
                           "-.5",
                           "0x1p3",
                           "1e",
                           "1e+",
                           "2.5e-3x",
                           "inf",
                           "-infinity",
                           "nan",
                           "1e400",
                           "1e-400",
                           "00012.50",
                           "123456789012345678901234567890",
                           "0.000000000000000000000000000001234567890123456789012345",
                           "+1",
                           " 1",
                           "4.9406564584124654e-324",
                           "1.7976931348623158e308"}) {
    CompareRead(text);
  }
  for (int e = -1074; e <= 1023; ++e) Compare(std::ldexp(1.0, e));
  for (int e = -149; e <= 127; ++e) Compare(std::ldexp(1.0f, e));
  for (double v : {0.0, -0.0, 1e23, 9007199254740993.0, 1e17, 123456789012345678.0, 4.5359237,
                   1.052, 0.1, 100.0, 1e-7, 5e-324, 1.7976931348623157e308}) {
    Compare(v);
  }
  std::printf("%d differences\n", failures);
  return failures == 0 ? 0 : 1;
}
