// The few file-system operations that differ between platforms. Everything else uses the
// standard library.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kegverter {

/// Sets `size` for an existing regular file; otherwise false with the reason in `error`
/// ("No such file or directory", "is a directory", ...).
bool RegularFileSize(const std::string& path, std::uint64_t& size, std::string& error);

/// Moves an open file's position forward; false when the system refuses.
bool SeekForward(std::FILE* file, std::uint64_t count);

/// Writes `content` to a new temporary file beside `path`, then renames it over `path`. The
/// previous file at `path`, if any, stays untouched unless the whole content was written.
/// False with the reason in `error` when anything fails; the temporary file is removed then.
bool ReplaceFileContent(const std::string& path, std::string_view content, std::string& error);

}  // namespace kegverter
