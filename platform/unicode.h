// Conversions between the UTF-8 strings the program works with and the UTF-16 names of the
// Windows file system and command line.
//
// Windows names are sequences of 16-bit units that need not be valid UTF-16: a lone surrogate is
// a legal character of an NTFS name. Such a unit is carried through UTF-8 as the three-byte form
// of its value (the generalised UTF-8 known as WTF-8), so that every name read from the command
// line opens the very file it names.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kegverter {

/// UTF-16 units to UTF-8; a lone surrogate becomes its three-byte form. Never fails.
std::string Utf8FromUtf16(std::u16string_view units);

/// UTF-8 to UTF-16 units; the three-byte form of a surrogate becomes that unit again. A byte that
/// starts no valid sequence (and an overlong or truncated one) becomes U+FFFD. Never fails.
std::u16string Utf16FromUtf8(std::string_view text);

/// The std::filesystem path of a UTF-8 name, and the UTF-8 name of a path. On Windows both go
/// through UTF-16 as above: the narrow forms of std::filesystem read and write another code page
/// there, which would lose every name outside it. Elsewhere the bytes are taken as they are.
/// Never fail.
std::filesystem::path PathFromUtf8(std::string_view name);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace kegverter
