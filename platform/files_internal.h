// The primitives that files.cc builds the atomic replace from, one implementation per platform
// (files_posix.cc, files_windows.cc). Paths are UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace kegverter::platform_files {

/// True when `path` names an existing folder.
bool IsDirectory(const std::string& path);

/// Creates `path` exclusively and opens it for binary writing. Null when it cannot; `exists`
/// then tells whether a file of that name was already there, and `error` why it failed.
std::FILE* CreateNewFile(const std::string& path, bool& exists, std::string& error);

/// Creates a file without a name in `folder` and opens it for binary writing; the stream does
/// not own `descriptor`, which stays open after the stream is closed. Null when the system or
/// the folder has no such files, or it cannot be created.
std::FILE* CreateUnnamedFile(const std::string& folder, int& descriptor);

/// Gives the unnamed file open as `descriptor` the name `path`, which must not exist; `exists`
/// tells when it did. False with the reason in `error`.
bool NameUnnamedFile(int descriptor, const std::string& path, bool& exists, std::string& error);

/// Flushes the files open as `descriptors` to disk: one flush of each file system they are on.
bool FlushDescriptors(const std::vector<int>& descriptors, std::string& error);

/// Closes a descriptor of CreateUnnamedFile; the file goes with it unless it was named.
void CloseDescriptor(int descriptor);

/// Flushes the stream and the system's buffers to the disk; false when either fails.
bool FlushToDisk(std::FILE* file);

/// Flushes the file at `path` (written and closed before) to the disk; false with the reason.
bool FlushFileAt(const std::string& path, std::string& error);

/// Renames `from` over `to` in one step, replacing a file at `to`; false with the reason.
bool ReplaceWith(const std::string& from, const std::string& to, std::string& error);

/// Removes a file, ignoring failure.
void RemoveQuietly(const std::string& path);

/// The text of the C library's error number as the core reports it.
std::string ErrnoText(int number);

}  // namespace kegverter::platform_files
