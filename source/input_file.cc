#include "source/input_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace kegverter {

std::unique_ptr<InputFile> InputFile::Open(const std::string& path, std::string& error) {
  std::uint64_t size = 0;
  if (!RegularFileSize(path, size, error)) return nullptr;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = ErrorText(errno);
    return nullptr;
  }
  return std::unique_ptr<InputFile>(new InputFile(file, size));
}

InputFile::~InputFile() { Close(); }

void InputFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

std::size_t InputFile::Read(std::span<std::uint8_t> buffer) {
  std::size_t got = 0;
  if (file_ != nullptr && !buffer.empty()) {
    got = std::fread(buffer.data(), 1, buffer.size(), file_);
    if (got < buffer.size() && std::ferror(file_)) read_error_ = true;
  }
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(got), buffer.end(), std::uint8_t{0});
  if (got < buffer.size()) truncated_ = true;
  position_ += got;
  return got;
}

void InputFile::Skip(std::uint64_t count) {
  const std::uint64_t available = remaining();
  const std::uint64_t step = std::min(count, available);
  if (step < count) truncated_ = true;
  if (file_ != nullptr && step > 0) {
    // The position stays within the file, whose size fits the platform's file offsets.
    if (SeekForward(file_, step)) {
      position_ += step;
    } else {
      read_error_ = true;
      truncated_ = true;
    }
  }
}

}  // namespace kegverter
