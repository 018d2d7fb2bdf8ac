// Windows only: the UTF-16 form of a path as the file system functions take it, and the text of
// a system error code as the program reports it.
#pragma once

#if defined(_WIN32)

#include <string>

namespace kegverter {

/// The UTF-16 name of a UTF-8 (WTF-8) path. A path that would reach the old 260-character
/// limit once made absolute is given in the long form ("\\?\C:\..." or "\\?\UNC\server\..."),
/// which the wide functions accept up to 32,767 characters. Never fails: a path that cannot be
/// made absolute is returned as it is, and the system then reports what is wrong with it.
std::wstring WindowsPath(const std::string& path);

/// The reason for a system error code: the same words the C library of a POSIX system uses for
/// the errors both kinds of system know ("No such file or directory", "Permission denied"),
/// so that messages read the same everywhere; the system's own text (UTF-8) for the others.
std::string WindowsErrorText(unsigned long code);

}  // namespace kegverter

#endif
