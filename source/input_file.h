// The open input file that readers consume record by record.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kegverter {

/// A source file opened read-only. Reads never fail loudly: bytes missing at the end of the file
/// read as zeros and the file remembers that it was short, so the caller can warn once.
class InputFile {
 public:
  /// Opens `path` for reading; on failure returns nothing and sets `error` to the reason.
  /// `known_size`: the caller has just found `path` to be a regular file of this size.
  static std::unique_ptr<InputFile> Open(const std::string& path,
                                         std::optional<std::uint64_t> known_size,
                                         std::string& error);
  static std::unique_ptr<InputFile> Open(const std::string& path, std::string& error) {
    return Open(path, std::nullopt, error);
  }

  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  /// Fills `buffer` from the current position; bytes past the end of the file become zeros.
  /// Returns how many bytes came from the file.
  std::size_t Read(std::span<std::uint8_t> buffer);

  /// Moves the read position forward by `count` bytes (reading past the end counts as short).
  void Skip(std::uint64_t count);

  /// Size of the file in bytes when it was opened.
  std::uint64_t size() const { return size_; }
  /// Current read position.
  std::uint64_t position() const { return position_; }
  /// Bytes left from the current position to the end of the file.
  std::uint64_t remaining() const { return position_ < size_ ? size_ - position_ : 0; }
  /// True once any read or skip reached past the end of the file.
  bool truncated() const { return truncated_; }
  /// True when the system reported a read error (not the end of the file).
  bool read_error() const { return read_error_; }

  /// Closes the handle early; later reads deliver zeros.
  void Close();

  /// Notes damage that a reader worked around, for the caller to report (one line each).
  void Warn(std::string message) { warnings_.push_back(std::move(message)); }
  const std::vector<std::string>& warnings() const { return warnings_; }

 private:
  InputFile(std::FILE* file, std::uint64_t size) : file_(file), size_(size) {}
  void ReadWhole();

  std::FILE* file_;
  // A small file is read whole when it is opened, in one system call rather than a buffer's
  // worth at a time with a seek for every skipped span; `whole_` then holds it and `file_` is
  // closed.
  std::unique_ptr<std::uint8_t[]> whole_;
  std::size_t whole_size_ = 0;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
  bool truncated_ = false;
  bool read_error_ = false;
  std::vector<std::string> warnings_;
};

}  // namespace kegverter
