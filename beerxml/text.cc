#include "beerxml/text.h"

#include <array>
#include <cstdint>

namespace kegverter {

namespace {

// Windows-1252 for 0x80..0x9F; zero where the code page assigns nothing (the byte stays).
constexpr std::array<char32_t, 32> kWindows1252 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

constexpr char32_t kReplacement = 0xFFFD;

constexpr bool XmlAllows(char32_t c) {
  if (c < 0x20) return c == 0x9 || c == 0xA || c == 0xD;
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (!XmlAllows(c)) c = kReplacement;
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

}  // namespace

std::string WidenText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto byte = static_cast<std::uint8_t>(ch);
    char32_t c = byte;
    if (byte >= 0x80 && byte <= 0x9F && kWindows1252[byte - 0x80] != 0) {
      c = kWindows1252[byte - 0x80];
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string WidenText(const std::optional<std::string>& bytes) {
  return bytes ? WidenText(std::string_view(*bytes)) : std::string();
}

std::string XmlSafeText(std::string_view utf8) {
  // Plain printable ASCII, the common case, passes through untouched.
  bool plain = true;
  for (const char ch : utf8) {
    const auto b = static_cast<std::uint8_t>(ch);
    if (b >= 0x80 || (b < 0x20 && b != 0x9 && b != 0xA && b != 0xD)) {
      plain = false;
      break;
    }
  }
  if (plain) return std::string(utf8);

  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<std::uint8_t>(utf8[i]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      length = 1;
      c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      c = lead & 0x07u;
    }
    bool valid = length != 0 && i + length <= utf8.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto cont = static_cast<std::uint8_t>(utf8[i + k]);
      if ((cont & 0xC0) != 0x80) valid = false;
      c = (c << 6) | (cont & 0x3Fu);
    }
    // Overlong forms and values past U+10FFFF are not valid UTF-8.
    if (valid && ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)))) {
      valid = false;
    }
    if (!valid) {
      AppendUtf8(out, kReplacement);
      i += 1;
      continue;
    }
    AppendUtf8(out, c);
    i += length;
  }
  return out;
}

}  // namespace kegverter
