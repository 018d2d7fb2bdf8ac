// The few file-system operations that differ between platforms. Everything else uses the
// standard library.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
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

/// The same with content that `write` writes to the open temporary file, so that it need not be
/// held in memory; `write` returns false when a write failed (with errno telling why). `write`
/// is called only once the temporary file is open; when it throws, the temporary file is removed
/// and the exception goes on.
bool ReplaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string& error);

}  // namespace kegverter
