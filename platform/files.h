// The file-system operations of the core. Paths are UTF-8 on every platform; on Windows they are
// opened by their UTF-16 names (files_windows.cc), so any name works, and paths longer than the
// old 260-character limit too.
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

/// Opens a file for reading in binary mode; null with the reason in `error` when it cannot be
/// opened. Others may read the file meanwhile but not change it, where the system can say so.
std::FILE* OpenForReading(const std::string& path, std::string& error);

/// Moves an open file's position forward; false when the system refuses.
bool SeekForward(std::FILE* file, std::uint64_t count);

/// Writes `content` to a new temporary file beside `path`, then renames it over `path` in one
/// step. The temporary file is created exclusively under a short name of its own (see
/// TemporaryPathBeside), so it can neither clobber another file nor make a name that fits fail.
/// The previous file at `path`, if any, stays untouched unless the whole content was written.
/// False with the reason in `error` when anything fails; the temporary file is removed then.
bool ReplaceFileContent(const std::string& path, std::string_view content, std::string& error);

/// The same with content that `write` writes to the open temporary file, so that it need not be
/// held in memory; `write` returns false when a write failed (with errno telling why). `write`
/// is called only once the temporary file is open; when it throws, the temporary file is removed
/// and the exception goes on.
bool ReplaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string& error);

/// The name of a temporary file in `path`'s folder: ".kv" and `tag` as eight hexadecimal digits,
/// then ".tmp" (15 characters, whatever the length of `path`'s own name). Never fails.
std::string TemporaryPathBeside(const std::string& path, std::uint32_t tag);

}  // namespace kegverter
