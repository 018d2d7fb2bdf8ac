// Conversions between the UTF-8 strings the program works with and the UTF-16 names of the
// Windows file system and command line.
//
// Windows names are sequences of 16-bit units that need not be valid UTF-16: a lone surrogate is
// a legal character of an NTFS name. Such a unit is carried through UTF-8 as the three-byte form
// of its value (the generalised UTF-8 known as WTF-8), so that every name read from the command
// line opens the very file it names.
#pragma once

#include <string>
#include <string_view>

namespace kegverter {

/// UTF-16 units to UTF-8; a lone surrogate becomes its three-byte form. Never fails.
std::string Utf8FromUtf16(std::u16string_view units);

/// UTF-8 to UTF-16 units; the three-byte form of a surrogate becomes that unit again. A byte that
/// starts no valid sequence (and an overlong or truncated one) becomes U+FFFD. Never fails.
std::u16string Utf16FromUtf8(std::string_view text);

}  // namespace kegverter
