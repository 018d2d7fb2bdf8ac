#include "platform/files.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace kegverter {

namespace fs = std::filesystem;

bool RegularFileSize(const std::string& path, std::uint64_t& size, std::string& error) {
  std::error_code ec;
  const fs::file_status status = fs::status(fs::path(path), ec);
  if (ec) {
    error = ec.message();
    return false;
  }
  if (fs::is_directory(status)) {
    error = "is a directory";
    return false;
  }
  if (!fs::is_regular_file(status)) {
    error = "not a regular file";
    return false;
  }
  size = fs::file_size(fs::path(path), ec);
  if (ec) {
    error = ec.message();
    return false;
  }
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
  static std::atomic<unsigned> serial{0};
  std::error_code ec;
  if (fs::is_directory(fs::path(path), ec)) {
    error = "is a directory";
    return false;
  }
  const std::string temporary = path + ".kegverter-" + std::to_string(ProcessId()) + "-" +
                                std::to_string(serial++) + ".tmp";
  // "x": never reuse an existing file under the temporary name.
  std::FILE* out = std::fopen(temporary.c_str(), "wbx");
  if (out == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  bool ok = false;
  try {
    ok = write(out);
  } catch (...) {
    // The content was abandoned: no partial file stays behind.
    std::fclose(out);
    fs::remove(fs::path(temporary), ec);
    throw;
  }
  if (!ok) error = std::strerror(errno);
  if (ok && !FlushToDisk(out)) {
    ok = false;
    error = std::strerror(errno);
  }
  if (std::fclose(out) != 0 && ok) {
    ok = false;
    error = std::strerror(errno);
  }
  if (ok) {
    fs::rename(fs::path(temporary), fs::path(path), ec);
    if (ec) {
      ok = false;
      error = ec.message();
    }
  }
  if (!ok) fs::remove(fs::path(temporary), ec);
  return ok;
}

}  // namespace kegverter
