#include "document/text.h"

#include <cstdint>

#include "source/text.h"

namespace kegverter {

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
    AppendUtf8(out, length == 0 ? kReplacementCharacter : c);
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
    if (length == 0 || !IsTextCharacter(c)) break;
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
