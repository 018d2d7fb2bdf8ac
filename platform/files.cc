#include "platform/files.h"

#include <cerrno>
#include <memory>
#include <random>
#include <set>
#include <string_view>
#include <system_error>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/files_internal.h"

namespace kegverter {

namespace {

// A collision is one chance in four billion; a few tries settle it, and more would only hide a
// folder that refuses every name.
constexpr int kTemporaryNameTries = 8;

// An output stream's buffer: a recipe's whole document goes out in one system call, where the
// C library's own buffer is a disk block. The caller keeps it until the stream is closed.
constexpr std::size_t kWriteBufferSize = std::size_t{64} * 1024;

// The folder part of a path written with '/' (the only separator of the systems that have files
// without a name).
std::string_view FolderOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::unique_ptr<char[]> WriteBufferFor(std::FILE* file) {
  auto buffer = std::make_unique_for_overwrite<char[]>(kWriteBufferSize);
  if (std::setvbuf(file, buffer.get(), _IOFBF, kWriteBufferSize) != 0) return nullptr;
  return buffer;
}

}  // namespace

std::string TemporaryPathBeside(const std::string& path, std::uint32_t tag) {
#if defined(_WIN32)
  const std::size_t slash = path.find_last_of("/\\:");
#else
  const std::size_t slash = path.rfind('/');
#endif
  std::string temporary = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  static constexpr char kHex[] = "0123456789abcdef";
  temporary += ".kv";
  for (int shift = 28; shift >= 0; shift -= 4) temporary += kHex[(tag >> shift) & 0xFu];
  temporary += ".tmp";
  return temporary;
}

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

std::string TemporaryPathFor(const std::string& path) {
  // Random rather than derived from the process, so that conversions on several threads, or in
  // several processes, never pick the same name twice in a row.
  std::random_device random;
  return TemporaryPathBeside(path, static_cast<std::uint32_t>(random()));
}

bool RenameOver(const std::string& from, const std::string& to, std::string& error) {
  return platform_files::ReplaceWith(from, to, error);
}

std::string StagingPathFor(const std::string& path, unsigned attempt) {
  // FNV-1a of the path; each attempt starts elsewhere on the golden-ratio stride.
  std::uint32_t tag = 0x811c9dc5u + attempt * 0x9e3779b9u;
  for (const char c : path) tag = (tag ^ static_cast<unsigned char>(c)) * 0x01000193u;
  return TemporaryPathBeside(path, tag);
}

StagedOutput& StagedOutput::operator=(StagedOutput&& other) noexcept {
  if (this != &other) {
    Discard();
    path_ = std::move(other.path_);
    unnamed_limit_ = other.unnamed_limit_;
    temporary_ = std::move(other.temporary_);
    descriptor_ = other.descriptor_;
    other.temporary_.clear();
    other.descriptor_ = -1;
  }
  return *this;
}

void StagedOutput::Discard() {
  if (descriptor_ >= 0) platform_files::CloseDescriptor(descriptor_);
  descriptor_ = -1;
  if (!temporary_.empty()) platform_files::RemoveQuietly(temporary_);
  temporary_.clear();
}

bool StagedOutput::Write(const std::function<bool(std::FILE*)>& write, std::string& error) {
  using namespace platform_files;
  Discard();
  std::FILE* out = nullptr;
  if (unnamed_limit_ > 0) {
    out = CreateUnnamedFile(std::string(FolderOf(path_)), descriptor_);
    // Descriptors are numbered from the lowest free one: a high number means that many staged
    // files are open, and this one takes a name, so that the run never runs out of descriptors.
    if (out != nullptr && descriptor_ >= unnamed_limit_) {
      std::fclose(out);
      Discard();
      out = nullptr;
    }
  }
  for (unsigned attempt = 0; out == nullptr && attempt < kTemporaryNameTries; ++attempt) {
    std::string temporary = StagingPathFor(path_, attempt);
    bool exists = false;
    out = CreateNewFile(temporary, exists, error);
    if (out != nullptr) temporary_ = std::move(temporary);
    if (out == nullptr && !exists) return false;
  }
  if (out == nullptr) return false;  // every name is taken; `error` says so
  // Closed below, before the buffer goes.
  const std::unique_ptr<char[]> buffer = WriteBufferFor(out);
  bool ok = false;
  try {
    ok = write(out);
  } catch (...) {
    std::fclose(out);
    Discard();
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
  if (!ok) Discard();
  return ok;
}

namespace {

// Names an unnamed staged file. An existing file at the path is replaced in one step, as a
// rename replaces it: the new file gets a temporary name beside it first.
bool NameStaged(int descriptor, const std::string& path, std::string& error) {
  using namespace platform_files;
  bool exists = false;
  if (NameUnnamedFile(descriptor, path, exists, error)) return true;
  for (unsigned attempt = 0; exists && attempt < kTemporaryNameTries; ++attempt) {
    const std::string temporary = StagingPathFor(path, attempt);
    if (NameUnnamedFile(descriptor, temporary, exists, error)) {
      if (ReplaceWith(temporary, path, error)) return true;
      RemoveQuietly(temporary);
      return false;
    }
  }
  return false;
}

}  // namespace

std::vector<std::string> CommitStaged(const std::vector<StagedOutput*>& outputs) {
  using namespace platform_files;
  // A folder is on one file system: one descriptor of each folder tells which to flush.
  std::vector<int> descriptors;
  std::set<std::string_view> folders;
  std::vector<std::string> named;
  for (const StagedOutput* output : outputs) {
    if (output->descriptor_ >= 0 && folders.insert(FolderOf(output->path_)).second) {
      descriptors.push_back(output->descriptor_);
    }
    if (!output->temporary_.empty()) named.push_back(output->temporary_);
  }
  // The content reaches the disk before any name points at it.
  std::string flush_error;
  const bool flushed = (descriptors.empty() || FlushDescriptors(descriptors, flush_error)) &&
                       (named.empty() || FlushFilesToDisk(named, flush_error));
  std::vector<std::string> errors(outputs.size());
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    StagedOutput& output = *outputs[i];
    std::string& error = errors[i];
    if (!output.written()) {
      error = "nothing was written";
    } else if (!flushed) {
      error = flush_error;
    } else {
      const bool placed = output.descriptor_ >= 0
                              ? NameStaged(output.descriptor_, output.path_, error)
                              : ReplaceWith(output.temporary_, output.path_, error);
      if (placed) {
        output.temporary_.clear();  // it is the output now
        error.clear();
      } else if (error.empty()) {
        error = "unknown error";
      }
    }
    output.Discard();
  }
  return errors;
}

AtomicFileWriter::~AtomicFileWriter() { Abandon(); }

void AtomicFileWriter::Abandon() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) platform_files::RemoveQuietly(temporary_);
  temporary_.clear();
}

bool AtomicFileWriter::Open(const std::string& path, std::string& error) {
  using namespace platform_files;
  Abandon();
  if (IsDirectory(path)) {
    error = "is a directory";
    return false;
  }
  std::string temporary;
  for (int attempt = 0; file_ == nullptr && attempt < kTemporaryNameTries; ++attempt) {
    temporary = TemporaryPathFor(path);
    bool exists = false;
    file_ = CreateNewFile(temporary, exists, error);
    if (file_ == nullptr && !exists) return false;
  }
  if (file_ == nullptr) return false;
  buffer_ = WriteBufferFor(file_);
  path_ = path;
  temporary_ = std::move(temporary);
  return true;
}

bool AtomicFileWriter::Commit(std::string& error) {
  using namespace platform_files;
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
  if (ok) ok = ReplaceWith(temporary_, path_, error);
  if (ok) temporary_.clear();
  Abandon();
  return ok;
}

#if !defined(_WIN32)
// Windows: files_windows.cc.
bool StatPath(const std::string& path, bool follow, FileInfo& info, std::string& error) {
  info = FileInfo{};
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
    info.other = S_ISFIFO(st.st_mode)   ? "a FIFO"
                 : S_ISSOCK(st.st_mode) ? "a socket"
                 : S_ISCHR(st.st_mode)  ? "a character device"
                 : S_ISBLK(st.st_mode)  ? "a block device"
                                        : "not a regular file";
  }
  info.size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  info.modified_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 +
                     static_cast<std::int64_t>(st.st_mtim.tv_nsec);
  return true;
}
#endif

bool FlushFilesToDisk(const std::vector<std::string>& paths, std::string& error) {
  bool ok = true;
#if defined(__linux__)
  auto failed = [&](const std::string& path, const std::string& reason) {
    if (ok) error = path + ": " + reason;
    ok = false;
  };
  // One file of each file system is opened, for that file system's one flush
  // (FlushDescriptors).
  std::set<dev_t> flushed;
  for (const std::string& path : paths) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
      failed(path, ErrorText(errno));
      continue;
    }
    if (flushed.count(st.st_dev) != 0) continue;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      failed(path, ErrorText(errno));
      continue;
    }
    std::string reason;
    if (platform_files::FlushDescriptors({fd}, reason)) {
      flushed.insert(st.st_dev);
    } else {
      failed(path, reason);
    }
    ::close(fd);
  }
#else
  for (const std::string& path : paths) {
    std::string reason;
    if (!platform_files::FlushFileAt(path, reason)) {
      if (ok) error = path + ": " + reason;
      ok = false;
    }
  }
#endif
  return ok;
}

std::string ErrorText(int error_number) {
  // std::strerror may share one buffer between threads; the category's text does not.
  return std::generic_category().message(error_number);
}

}  // namespace kegverter
