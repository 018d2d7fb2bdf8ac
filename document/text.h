// Texts in the XML output: whatever reaches a document must be characters that XML 1.0 can carry.
#pragma once

#include <string>
#include <string_view>

namespace kegverter {

/// Returns UTF-8 text that XML 1.0 can carry: invalid UTF-8 sequences and forbidden characters
/// become U+FFFD; everything else is unchanged.
std::string XmlSafeText(std::string_view utf8);

/// The same, without a copy when nothing changes: returns `utf8` itself, or the repaired text
/// held in `storage`.
std::string_view XmlSafeText(std::string_view utf8, std::string& storage);

}  // namespace kegverter
