// The input that readers consume record by record: a source file's bytes, in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kegverter {

/// A source file's bytes, read record by record. Reads never fail loudly: bytes missing at the
/// end read as zeros and the input remembers that it was short, so the caller can warn once.
/// The bytes are in memory: either the caller's (a view, which must outlive the input or its
/// Close) or read whole from a file by Open.
class InputFile {
 public:
  /// Reads the file at `path` whole, then closes it; on failure to open it returns nothing and
  /// sets `error` to the reason. `known_size`: the caller has just found `path` to be a regular
  /// file of this size. The input has the size the file had when it was looked at: bytes that
  /// did not come (the file shrank meanwhile, or the system reported a read error, which
  /// read_error() then tells) read as zeros, and bytes the file gained meanwhile are not read.
  static std::unique_ptr<InputFile> Open(const std::string& path,
                                         std::optional<std::uint64_t> known_size,
                                         std::string& error);
  static std::unique_ptr<InputFile> Open(const std::string& path, std::string& error) {
    return Open(path, std::nullopt, error);
  }

  /// An input over `bytes`, which the caller keeps until the input is closed or destroyed.
  explicit InputFile(std::span<const std::uint8_t> bytes) : bytes_(bytes), size_(bytes.size()) {}

  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  /// Fills `buffer` from the current position; bytes past the end of the input become zeros.
  /// Returns how many bytes came from the input.
  std::size_t Read(std::span<std::uint8_t> buffer);

  /// Moves the read position forward by `count` bytes (reading past the end counts as short).
  void Skip(std::uint64_t count);

  /// Size of the input in bytes (of the file when it was looked at).
  std::uint64_t size() const { return size_; }
  /// Current read position.
  std::uint64_t position() const { return position_; }
  /// Bytes left from the current position to the end of the input.
  std::uint64_t remaining() const { return position_ < size_ ? size_ - position_ : 0; }
  /// True once any read or skip reached past the end of the bytes there are.
  bool truncated() const { return truncated_; }
  /// True when the system reported a read error while the file was read (not the end of the
  /// file); the bytes from there on read as zeros.
  bool read_error() const { return read_error_; }

  /// Releases the bytes (a file's, read by Open) once the records are read; later reads
  /// deliver zeros.
  void Close();

  /// Notes damage that a reader worked around, for the caller to report (one line each).
  void Warn(std::string message) { warnings_.push_back(std::move(message)); }
  const std::vector<std::string>& warnings() const { return warnings_; }

 private:
  InputFile(std::unique_ptr<std::uint8_t[]> owned, std::size_t available, std::uint64_t size,
            bool read_error)
      : owned_(std::move(owned)),
        bytes_(owned_.get(), available),
        size_(size),
        read_error_(read_error) {}

  std::unique_ptr<std::uint8_t[]> owned_;  ///< a file's bytes, read by Open
  std::span<const std::uint8_t> bytes_;    ///< the bytes there are: `size_` or fewer
  std::uint64_t size_;
  std::uint64_t position_ = 0;
  bool truncated_ = false;
  bool read_error_ = false;
  std::vector<std::string> warnings_;
};

}  // namespace kegverter
