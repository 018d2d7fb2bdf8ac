// Text of the source files in the output: the application wrote Windows text, one byte per
// character.
#pragma once

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

/// Returns UTF-8 text that XML 1.0 can carry: invalid UTF-8 sequences and forbidden characters
/// become U+FFFD; everything else is unchanged.
std::string XmlSafeText(std::string_view utf8);

/// The same, without a copy when nothing changes: returns `utf8` itself, or the repaired text
/// held in `storage`.
std::string_view XmlSafeText(std::string_view utf8, std::string& storage);

}  // namespace kegverter
