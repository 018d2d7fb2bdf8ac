// The file-system primitives on POSIX systems, where a path is a byte string.
#if !defined(_WIN32)

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

#include "platform/files.h"
#include "platform/files_internal.h"

namespace kegverter {

namespace fs = std::filesystem;

int UnnamedFileLimit() {
#if defined(O_TMPFILE)
  struct rlimit limit {};
  if (access("/proc/self/fd", X_OK) != 0 || getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
  constexpr rlim_t kMost = 1 << 20;
  return static_cast<int>(std::min<rlim_t>(limit.rlim_cur, kMost) / 2);
#else
  return 0;
#endif
}

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

std::size_t ReadAtStart(std::FILE* file, void* buffer, std::size_t size, bool& failed) {
  // The stream has buffered nothing yet: the system's reads see what it would, without the
  // look at the file that the stream takes to size its buffer.
  const int descriptor = fileno(file);
  auto* bytes = static_cast<char*>(buffer);
  std::size_t got = 0;
  failed = false;
  while (got < size) {
    const ssize_t read_now = read(descriptor, bytes + got, size - got);
    if (read_now < 0 && errno == EINTR) continue;
    if (read_now < 0) failed = true;
    if (read_now <= 0) break;
    got += static_cast<std::size_t>(read_now);
  }
  return got;
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

#if defined(O_TMPFILE)
namespace {

// The stream of an unnamed file writes to a descriptor it does not own (glibc's custom streams).
// Returns what was written; 0 with errno set when nothing could be.
ssize_t WriteToDescriptor(void* cookie, const char* data, std::size_t size) {
  const int descriptor = *static_cast<const int*>(cookie);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t wrote = ::write(descriptor, data + done, size - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) break;
    done += static_cast<std::size_t>(wrote);
  }
  return static_cast<ssize_t>(done);
}

}  // namespace
#endif

std::FILE* CreateUnnamedFile(const std::string& folder, int& descriptor) {
#if defined(O_TMPFILE)
  const int created = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (created < 0) return nullptr;
  descriptor = created;
  cookie_io_functions_t functions{};
  functions.write = WriteToDescriptor;
  std::FILE* file = fopencookie(&descriptor, "wb", functions);
  if (file == nullptr) {
    close(created);
    descriptor = -1;
  }
  return file;
#else
  (void)folder;
  (void)descriptor;
  return nullptr;
#endif
}

bool NameUnnamedFile(int descriptor, const std::string& path, bool& exists, std::string& error) {
  // Linked by its descriptor, which kernels since 6.10 allow the file's opener; older ones
  // refuse that without a privilege (ENOENT), and the file is reached through its descriptor's
  // entry in /proc instead.
  exists = false;
  if (linkat(descriptor, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return true;
  if (errno == ENOENT) {
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return true;
    }
  }
  exists = errno == EEXIST;
  error = std::strerror(errno);
  return false;
}

bool FlushDescriptors(const std::vector<int>& descriptors, std::string& error) {
  // One syncfs per file system: everything written to it, these files included, reaches the
  // disk in one wait instead of one wait per file.
  std::set<dev_t> flushed;
  for (const int descriptor : descriptors) {
    struct stat info {};
    if (fstat(descriptor, &info) != 0) {
      error = std::strerror(errno);
      return false;
    }
    if (!flushed.insert(info.st_dev).second) continue;
    if (syncfs(descriptor) != 0) {
      error = std::strerror(errno);
      return false;
    }
  }
  return true;
}

void CloseDescriptor(int descriptor) { close(descriptor); }

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
