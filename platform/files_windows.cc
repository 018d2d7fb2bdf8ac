// The file-system primitives on Windows. Every name goes to the wide (UTF-16) functions, so that
// names outside the ANSI code page and paths past 260 characters work; the C runtime only wraps
// the handles for stdio.
#if defined(_WIN32)

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

#include "platform/files.h"
#include "platform/files_internal.h"
#include "platform/unicode.h"
#include "platform/windows_paths.h"

namespace kegverter {

namespace {

// The errors Windows and POSIX systems share, in the words of the POSIX C library.
struct ErrorWords {
  DWORD code;
  const char* text;
};
constexpr ErrorWords kSharedErrors[] = {
    {ERROR_FILE_NOT_FOUND, "No such file or directory"},
    {ERROR_PATH_NOT_FOUND, "No such file or directory"},
    {ERROR_BAD_NETPATH, "No such file or directory"},
    {ERROR_INVALID_DRIVE, "No such file or directory"},
    {ERROR_ACCESS_DENIED, "Permission denied"},
    // A file that another program holds open without sharing: refused, as the C runtime says.
    {ERROR_SHARING_VIOLATION, "Permission denied"},
    {ERROR_LOCK_VIOLATION, "Permission denied"},
    {ERROR_FILE_EXISTS, "File exists"},
    {ERROR_ALREADY_EXISTS, "File exists"},
    {ERROR_DISK_FULL, "No space left on device"},
    {ERROR_HANDLE_DISK_FULL, "No space left on device"},
    {ERROR_FILENAME_EXCED_RANGE, "File name too long"},
    {ERROR_WRITE_PROTECT, "Read-only file system"},
    {ERROR_NOT_ENOUGH_MEMORY, "Cannot allocate memory"},
    {ERROR_OUTOFMEMORY, "Cannot allocate memory"},
    {ERROR_DIRECTORY, "Not a directory"},
    {ERROR_NOT_SAME_DEVICE, "Invalid cross-device link"},
};

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The C runtime's stream over a handle; the handle is closed when this fails.
std::FILE* StreamOf(HANDLE handle, int flags, const char* mode, std::string& error) {
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
  if (descriptor < 0) {
    error = std::strerror(errno);
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(descriptor, mode);
  if (file == nullptr) {
    error = std::strerror(errno);
    _close(descriptor);
  }
  return file;
}

}  // namespace

std::wstring WindowsPath(const std::string& path) {
  const std::u16string units = Utf16FromUtf8(path);
  std::wstring wide(units.begin(), units.end());
  // Already in a form the system takes as it is: long ("\\?\") or device ("\\.\").
  if (StartsWith(wide, L"\\\\?\\") || StartsWith(wide, L"\\\\.\\")) return wide;
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return wide;
  full.resize(length);
  // 248, not 260: folders must leave room for an 8.3 name inside them.
  if (full.size() < MAX_PATH - 12) return wide;
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::string WindowsErrorText(unsigned long code) {
  for (const ErrorWords& shared : kSharedErrors) {
    if (shared.code == code) return shared.text;
  }
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text;
  if (length > 0 && buffer != nullptr) {
    std::u16string units(buffer, buffer + length);
    text = Utf8FromUtf16(units);
  }
  if (buffer != nullptr) LocalFree(buffer);
  // The system's texts end in a full stop and a line break; a report line carries neither.
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  if (text.empty()) text = "system error " + std::to_string(code);
  return text;
}

bool RegularFileSize(const std::string& path, std::uint64_t& size, std::string& error) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WindowsPath(path).c_str(), GetFileExInfoStandard, &data)) {
    error = WindowsErrorText(GetLastError());
    return false;
  }
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = "is a directory";
    return false;
  }
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) {
    error = "not a regular file";
    return false;
  }
  size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

std::FILE* OpenForReading(const std::string& path, std::string& error) {
  const HANDLE handle = CreateFileW(WindowsPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = WindowsErrorText(GetLastError());
    return nullptr;
  }
  return StreamOf(handle, _O_RDONLY, "rb", error);
}

std::size_t ReadAtStart(std::FILE* file, void* buffer, std::size_t size, bool& failed) {
  const std::size_t got = std::fread(buffer, 1, size, file);
  failed = got < size && std::ferror(file);
  return got;
}

bool SeekForward(std::FILE* file, std::uint64_t count) {
  while (count > 0) {
    const std::uint64_t step = count > (1u << 30) ? (1u << 30) : count;
    if (_fseeki64(file, static_cast<long long>(step), SEEK_CUR) != 0) return false;
    count -= step;
  }
  return true;
}

namespace {

// FILETIME counts 100-nanosecond ticks from 1601; the Unix epoch is this many ticks later.
constexpr std::int64_t kUnixEpochTicks = 116444736000000000;

// Nanoseconds since the Unix epoch, held at the limits of the type for the times (centuries
// away) that would not fit.
std::int64_t NanosecondsSinceUnixEpoch(FILETIME time) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kLimit = kMax / 100;
  const std::uint64_t raw =
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  const std::int64_t ticks =
      raw > static_cast<std::uint64_t>(kMax) ? kMax : static_cast<std::int64_t>(raw);
  const std::int64_t since = ticks - kUnixEpochTicks;
  if (since > kLimit) return kLimit * 100;
  if (since < -kLimit) return -kLimit * 100;
  return since * 100;
}

}  // namespace

bool StatPath(const std::string& path, bool follow, FileInfo& info, std::string& error) {
  info = FileInfo{};
  // Opened for no access at all: only the attributes are read, which no other program's sharing
  // mode refuses. Folders open only with backup semantics. The times come whole (100 ns), not
  // in the seconds the C runtime's stat gives.
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  const HANDLE handle = CreateFileW(WindowsPath(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = WindowsErrorText(GetLastError());
    return false;
  }
  BY_HANDLE_FILE_INFORMATION data{};
  const DWORD kind = GetFileType(handle);
  const bool known = kind == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &data) != 0;
  CloseHandle(handle);
  if (!known) {
    info.type = FileInfo::Type::Other;
    info.other = kind == FILE_TYPE_CHAR   ? "a character device"
                 : kind == FILE_TYPE_PIPE ? "a pipe"
                                          : "not a regular file";
    return true;
  }
  if (!follow && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    info.type = FileInfo::Type::Symlink;
  } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    info.type = FileInfo::Type::Directory;
  } else {
    info.type = FileInfo::Type::Regular;
    info.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  info.modified_ns = NanosecondsSinceUnixEpoch(data.ftLastWriteTime);
  return true;
}

int UnnamedFileLimit() { return 0; }

namespace platform_files {

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WindowsPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::FILE* CreateNewFile(const std::string& path, bool& exists, std::string& error) {
  // CREATE_NEW fails when anything of that name exists; the C runtime's "x" mode is not honoured
  // by every runtime that runs these programs.
  const HANDLE handle = CreateFileW(WindowsPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    exists = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
    error = WindowsErrorText(code);
    return nullptr;
  }
  std::FILE* file = StreamOf(handle, _O_WRONLY, "wb", error);
  if (file == nullptr) RemoveQuietly(path);
  return file;
}

// Windows has no files without a name: staged outputs are written under temporary names.
std::FILE* CreateUnnamedFile(const std::string&, int&) { return nullptr; }

bool NameUnnamedFile(int, const std::string&, bool& exists, std::string& error) {
  exists = false;
  error = "not supported";
  return false;
}

bool FlushDescriptors(const std::vector<int>&, std::string& error) {
  error = "not supported";
  return false;
}

void CloseDescriptor(int) {}

bool FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
  return _commit(_fileno(file)) == 0;
}

bool FlushFileAt(const std::string& path, std::string& error) {
  const HANDLE handle =
      CreateFileW(WindowsPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = WindowsErrorText(GetLastError());
    return false;
  }
  const bool flushed = FlushFileBuffers(handle) != 0;
  if (!flushed) error = WindowsErrorText(GetLastError());
  CloseHandle(handle);
  return flushed;
}

bool ReplaceWith(const std::string& from, const std::string& to, std::string& error) {
  const std::wstring target = WindowsPath(to);
  // Windows refuses to replace a read-only file; Wine, run by a user who may write the folder,
  // does not. Asking first gives the same answer under both.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    error = WindowsErrorText(ERROR_ACCESS_DENIED);
    return false;
  }
  // One step that replaces an existing file, and returns only once the rename is on the disk.
  if (MoveFileExW(WindowsPath(from).c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  error = WindowsErrorText(GetLastError());
  return false;
}

void RemoveQuietly(const std::string& path) { DeleteFileW(WindowsPath(path).c_str()); }

std::string ErrnoText(int number) { return std::strerror(number); }

}  // namespace platform_files
}  // namespace kegverter

#endif
