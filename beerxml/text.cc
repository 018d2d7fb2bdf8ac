#include "beerxml/text.h"

#include <array>
#include <cstdint>
#include <cstring>

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

// Bytes that stand for themselves in UTF-8 and that XML 1.0 allows.
constexpr bool IsPlainAscii(std::uint8_t b) {
  return b < 0x80 && (b >= 0x20 || b == 0x9 || b == 0xA || b == 0xD);
}

// Length of the run of plain ASCII bytes that starts at `from`. Eight bytes are tested at once:
// a word passes when no byte has its high bit set and none is below 0x20 (tab, line feed and
// carriage return are then looked at one by one).
std::size_t PlainAsciiRun(std::string_view text, std::size_t from) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  std::size_t i = from;
  while (i + 8 <= text.size()) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + i, 8);
    const std::uint64_t below_space = (word - 0x20 * kOnes) & ~word & kHighBits;
    if (((word & kHighBits) | below_space) != 0) break;
    i += 8;
  }
  while (i < text.size() && IsPlainAscii(static_cast<std::uint8_t>(text[i]))) ++i;
  return i - from;
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

namespace {

// Decodes the UTF-8 sequence that starts at `i`: its length, or 0 when it is not valid UTF-8
// (a stray continuation byte, a cut sequence, an overlong form, a value past U+10FFFF).
std::size_t DecodeSequence(std::string_view utf8, std::size_t i, char32_t& c) {
  const auto lead = static_cast<std::uint8_t>(utf8[i]);
  std::size_t length = 0;
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
  if (length == 0 || i + length > utf8.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto cont = static_cast<std::uint8_t>(utf8[i + k]);
    if ((cont & 0xC0) != 0x80) return 0;
    c = (c << 6) | (cont & 0x3Fu);
  }
  if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF))) return 0;
  return length;
}

// Appends `utf8` with every invalid byte and every character XML forbids replaced by U+FFFD.
void AppendRepaired(std::string& out, std::string_view utf8) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t c = 0;
    const std::size_t length = DecodeSequence(utf8, i, c);
    AppendUtf8(out, length == 0 ? kReplacement : c);
    i += length == 0 ? 1 : length;
  }
}

}  // namespace

std::string_view XmlSafeText(std::string_view utf8, std::string& storage) {
  // Most texts need no change: find the first character that does, if any. Valid UTF-8 is
  // written canonically, so a character that XML allows stays the same bytes.
  std::size_t i = 0;
  while (i < utf8.size()) {
    i += PlainAsciiRun(utf8, i);
    if (i == utf8.size()) break;
    char32_t c = 0;
    const std::size_t length = DecodeSequence(utf8, i, c);
    if (length == 0 || !XmlAllows(c)) break;
    i += length;
  }
  if (i == utf8.size()) return utf8;
  storage.assign(utf8.substr(0, i));
  AppendRepaired(storage, utf8.substr(i));
  return storage;
}

std::string XmlSafeText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  AppendRepaired(out, utf8);
  return out;
}

}  // namespace kegverter
