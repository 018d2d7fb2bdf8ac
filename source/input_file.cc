#include "source/input_file.h"

#include <algorithm>
#include <cstdio>

#include "platform/files.h"

namespace kegverter {

std::unique_ptr<InputFile> InputFile::Open(const std::string& path,
                                           std::optional<std::uint64_t> known_size,
                                           std::string& error) {
  // A device or a FIFO is never opened: opening one can wait, or do something to the device.
  std::uint64_t size = known_size.value_or(0);
  if (!known_size && !RegularFileSize(path, size, error)) return nullptr;
  std::FILE* file = OpenForReading(path, error);
  if (file == nullptr) return nullptr;
  // The whole file in one go, in as few system calls as it allows; it is released as soon as
  // its records are read (Close).
  const auto wanted = static_cast<std::size_t>(size);
  std::unique_ptr<std::uint8_t[]> bytes;
  std::size_t got = 0;
  bool failed = false;
  if (wanted > 0) {
    bytes = std::make_unique_for_overwrite<std::uint8_t[]>(wanted);  // only what came is read
    got = ReadAtStart(file, bytes.get(), wanted, failed);
  }
  std::fclose(file);
  return std::unique_ptr<InputFile>(new InputFile(std::move(bytes), got, size, failed));
}

void InputFile::Close() {
  bytes_ = {};
  owned_.reset();
}

std::size_t InputFile::Read(std::span<std::uint8_t> buffer) {
  const std::uint64_t left = bytes_.size() - std::min<std::uint64_t>(position_, bytes_.size());
  const auto got = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), left));
  if (got > 0) {
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), got, buffer.begin());
  }
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(got), buffer.end(), std::uint8_t{0});
  if (got < buffer.size()) truncated_ = true;
  position_ += got;
  return got;
}

void InputFile::Skip(std::uint64_t count) {
  const std::uint64_t step = std::min(count, remaining());
  if (step < count) truncated_ = true;
  position_ += step;
}

}  // namespace kegverter
