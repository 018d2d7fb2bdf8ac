#include "source/text.h"

#include <array>

namespace kegverter {

namespace {

// Windows-1252 for 0x80..0x9F; zero where the code page assigns nothing (the byte stays).
// clang-format off
constexpr std::array<char32_t, 32> kWindows1252 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};
// clang-format on

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (!IsTextCharacter(c)) c = kReplacementCharacter;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string WidenText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    // Runs of printable ASCII, most of every text, are the same bytes in UTF-8.
    const std::size_t run = i + PlainAsciiRun(bytes, i);
    out.append(bytes.data() + i, run - i);
    if (run == bytes.size()) break;
    const auto byte = static_cast<std::uint8_t>(bytes[run]);
    char32_t c = byte;
    if (byte >= 0x80 && byte <= 0x9F && kWindows1252[byte - 0x80] != 0) {
      c = kWindows1252[byte - 0x80];
    }
    AppendUtf8(out, c);
    i = run + 1;
  }
  return out;
}

std::string WidenText(const std::optional<std::string>& bytes) {
  return bytes ? WidenText(std::string_view(*bytes)) : std::string();
}

}  // namespace kegverter
