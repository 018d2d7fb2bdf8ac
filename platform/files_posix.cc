// The file-system primitives on POSIX systems, where a path is a byte string.
#if !defined(_WIN32)

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/files_internal.h"

namespace kegverter {

namespace fs = std::filesystem;

bool RegularFileSize(const std::string& path, std::uint64_t& size, std::string& error) {
  // One look at the path, following links, for both its type and its size.
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    error = ErrorText(errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    error = "is a directory";
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = "not a regular file";
    return false;
  }
  size = static_cast<std::uint64_t>(info.st_size);
  return true;
}

std::FILE* OpenForReading(const std::string& path, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) error = std::strerror(errno);
  return file;
}

bool SeekForward(std::FILE* file, std::uint64_t count) {
  while (count > 0) {
    const std::uint64_t step = count > (1u << 30) ? (1u << 30) : count;
    if (fseeko(file, static_cast<off_t>(step), SEEK_CUR) != 0) return false;
    count -= step;
  }
  return true;
}

namespace platform_files {

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(fs::path(path), ec);
}

std::FILE* CreateNewFile(const std::string& path, bool& exists, std::string& error) {
  // O_EXCL: never open a file that is already there, not even through a symbolic link.
  const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    exists = errno == EEXIST;
    error = std::strerror(errno);
    return nullptr;
  }
  std::FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    error = std::strerror(errno);
    close(descriptor);
    unlink(path.c_str());
  }
  return file;
}

bool FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
  return fsync(fileno(file)) == 0;
}

bool FlushFileAt(const std::string& path, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  const bool flushed = FlushToDisk(file);
  if (!flushed) error = std::strerror(errno);
  std::fclose(file);
  return flushed;
}

bool ReplaceWith(const std::string& from, const std::string& to, std::string& error) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  error = std::strerror(errno);
  return false;
}

void RemoveQuietly(const std::string& path) { unlink(path.c_str()); }

std::string ErrnoText(int number) { return std::strerror(number); }

}  // namespace platform_files
}  // namespace kegverter

#endif
