#include "platform/files.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kegverter {

namespace fs = std::filesystem;

bool RegularFileSize(const std::string& path, std::uint64_t& size, std::string& error) {
  FileInfo info;
  if (!StatPath(path, true, info, error)) return false;
  if (info.type == FileInfo::Type::Directory) {
    error = "is a directory";
    return false;
  }
  if (info.type != FileInfo::Type::Regular) {
    error = "not a regular file";
    return false;
  }
  size = info.size;
  return true;
}

bool SeekForward(std::FILE* file, std::uint64_t count) {
  while (count > 0) {
    const std::uint64_t step = count > (1u << 30) ? (1u << 30) : count;
#if defined(_WIN32)
    if (_fseeki64(file, static_cast<long long>(step), SEEK_CUR) != 0) return false;
#else
    if (fseeko(file, static_cast<off_t>(step), SEEK_CUR) != 0) return false;
#endif
    count -= step;
  }
  return true;
}

namespace {

int ProcessId() {
#if defined(_WIN32)
  return _getpid();
#else
  return static_cast<int>(getpid());
#endif
}

bool FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#if defined(_WIN32)
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

bool ReplaceFileContent(const std::string& path, std::string_view content, std::string& error) {
  return ReplaceFileWith(
      path,
      [content](std::FILE* out) {
        return std::fwrite(content.data(), 1, content.size(), out) == content.size();
      },
      error);
}

bool ReplaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string& error) {
  AtomicFileWriter writer;
  if (!writer.Open(path, error)) return false;
  // A throwing `write` leaves through the writer's destructor, which removes the temporary file.
  if (!write(writer.file())) {
    error = ErrorText(errno);
    return false;
  }
  return writer.Commit(error);
}

bool WriteNewFile(const std::string& path, const std::function<bool(std::FILE*)>& write,
                  std::string& error) {
  std::FILE* out = std::fopen(path.c_str(), "wbx");
  if (out == nullptr) {
    error = ErrorText(errno);
    return false;
  }
  std::error_code ec;
  bool ok = false;
  try {
    ok = write(out);
  } catch (...) {
    std::fclose(out);
    fs::remove(fs::path(path), ec);
    throw;
  }
  if (!ok) error = ErrorText(errno);
  if (ok && (std::fflush(out) != 0 || std::ferror(out))) {
    ok = false;
    error = ErrorText(errno);
  }
  if (std::fclose(out) != 0 && ok) {
    ok = false;
    error = ErrorText(errno);
  }
  if (!ok) fs::remove(fs::path(path), ec);
  return ok;
}

AtomicFileWriter::~AtomicFileWriter() { Abandon(); }

void AtomicFileWriter::Abandon() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) {
    std::error_code ec;
    fs::remove(fs::path(temporary_), ec);
  }
  temporary_.clear();
}

std::string TemporaryPathFor(const std::string& path) {
  // The serial only makes names unique within the process: it carries no meaning from one call
  // to the next, and several threads may take numbers at once.
  static std::atomic<unsigned> serial{0};
  return path + ".kegverter-" + std::to_string(ProcessId()) + "-" + std::to_string(serial++) +
         ".tmp";
}

bool AtomicFileWriter::Open(const std::string& path, std::string& error) {
  Abandon();
  std::error_code ec;
  if (fs::is_directory(fs::path(path), ec)) {
    error = "is a directory";
    return false;
  }
  std::string temporary = TemporaryPathFor(path);
  // "x": never reuse an existing file under the temporary name.
  file_ = std::fopen(temporary.c_str(), "wbx");
  if (file_ == nullptr) {
    error = ErrorText(errno);
    return false;
  }
  path_ = path;
  temporary_ = std::move(temporary);
  return true;
}

bool AtomicFileWriter::Commit(std::string& error) {
  if (file_ == nullptr) {
    error = "not open";
    return false;
  }
  bool ok = !std::ferror(file_);
  if (!ok) error = "a write failed";
  if (ok && !FlushToDisk(file_)) {
    ok = false;
    error = ErrorText(errno);
  }
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0 && ok) {
    ok = false;
    error = ErrorText(errno);
  }
  if (ok) {
    std::error_code ec;
    fs::rename(fs::path(temporary_), fs::path(path_), ec);
    if (ec) {
      ok = false;
      error = ec.message();
    }
  }
  if (ok) temporary_.clear();
  Abandon();
  return ok;
}

bool StatPath(const std::string& path, bool follow, FileInfo& info, std::string& error) {
  info = FileInfo{};
#if defined(_WIN32)
  std::error_code ec;
  const fs::path p(path);
  const fs::file_status status = follow ? fs::status(p, ec) : fs::symlink_status(p, ec);
  if (ec || !fs::exists(status)) {
    error = ec ? ec.message() : std::string("No such file or directory");
    return false;
  }
  switch (status.type()) {
    case fs::file_type::regular:
      info.type = FileInfo::Type::Regular;
      info.size = fs::file_size(p, ec);
      break;
    case fs::file_type::directory:
      info.type = FileInfo::Type::Directory;
      break;
    case fs::file_type::symlink:
      info.type = FileInfo::Type::Symlink;
      break;
    default:
      info.type = FileInfo::Type::Other;
      info.other = "not a regular file";
      break;
  }
  const auto modified = fs::last_write_time(p, ec);
  if (!ec) {
    info.modified_ns = static_cast<std::int64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count());
  }
  return true;
#else
  struct stat st {};
  if ((follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) {
    error = ErrorText(errno);
    return false;
  }
  if (S_ISREG(st.st_mode)) {
    info.type = FileInfo::Type::Regular;
  } else if (S_ISDIR(st.st_mode)) {
    info.type = FileInfo::Type::Directory;
  } else if (S_ISLNK(st.st_mode)) {
    info.type = FileInfo::Type::Symlink;
  } else {
    info.type = FileInfo::Type::Other;
    info.other = S_ISFIFO(st.st_mode) ? "a FIFO"
                 : S_ISSOCK(st.st_mode) ? "a socket"
                 : S_ISCHR(st.st_mode) ? "a character device"
                 : S_ISBLK(st.st_mode) ? "a block device"
                                       : "not a regular file";
  }
  info.size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  info.modified_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 +
                     static_cast<std::int64_t>(st.st_mtim.tv_nsec);
  return true;
#endif
}

bool FlushFilesToDisk(const std::vector<std::string>& paths, std::string& error) {
  bool ok = true;
  auto failed = [&](const std::string& path) {
    if (ok) error = path + ": " + ErrorText(errno);
    ok = false;
  };
#if defined(__linux__)
  // One syncfs per file system: everything written to it, these files included, reaches the
  // disk in one wait instead of one wait per file.
  std::set<dev_t> flushed;
  for (const std::string& path : paths) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
      failed(path);
      continue;
    }
    if (flushed.count(st.st_dev) != 0) continue;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      failed(path);
      continue;
    }
    if (::syncfs(fd) != 0) {
      failed(path);
    } else {
      flushed.insert(st.st_dev);
    }
    ::close(fd);
  }
#else
  for (const std::string& path : paths) {
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (file == nullptr) {
      failed(path);
      continue;
    }
    if (!FlushToDisk(file)) failed(path);
    std::fclose(file);
  }
#endif
  return ok;
}

std::string ErrorText(int error_number) {
  // std::strerror may share one buffer between threads; the category's text does not.
  return std::generic_category().message(error_number);
}

}  // namespace kegverter
