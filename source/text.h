// Text of the source files: the application wrote Windows text, one byte per character, which
// the outputs carry as UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace kegverter {

/// Widens source bytes to UTF-8: 0x80 to 0x9F as Windows-1252 (0x80 the euro sign, 0x92 a right
/// single quote; the unassigned 0x81, 0x8D, 0x8F, 0x90 and 0x9D stay U+0081 and so on), every
/// other byte as the code point of its value. Controls that XML 1.0 forbids become U+FFFD.
std::string WidenText(std::string_view bytes);

/// A missing text renders as an empty string.
std::string WidenText(const std::optional<std::string>& bytes);

/// What stands in for a character that a text cannot carry.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

/// True for the characters a text may carry, the ones XML 1.0 allows: no controls other than
/// tab, line feed and carriage return, no surrogates, no U+FFFE or U+FFFF, nothing past U+10FFFF.
constexpr bool IsTextCharacter(char32_t c) {
  if (c < 0x20) return c == 0x9 || c == 0xA || c == 0xD;
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

/// Appends `c` as UTF-8, or U+FFFD when it is no text character.
void AppendUtf8(std::string& out, char32_t c);

/// Bytes that stand for themselves in UTF-8 and that a text may carry.
constexpr bool IsPlainAscii(std::uint8_t b) {
  return b < 0x80 && (b >= 0x20 || b == 0x9 || b == 0xA || b == 0xD);
}

/// Length of the run of plain ASCII bytes that starts at `from` (at most the rest of `text`).
/// Eight bytes are tested at once: a word passes when no byte has its high bit set and none is
/// below 0x20 (tab, line feed and carriage return are then looked at one by one).
inline std::size_t PlainAsciiRun(std::string_view text, std::size_t from) {
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

}  // namespace kegverter
