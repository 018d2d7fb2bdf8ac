#include "source/input_file.h"

#include <algorithm>

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
  std::unique_ptr<InputFile> input(new InputFile(file, size));
  input->ReadWhole();
  return input;
}

void InputFile::ReadWhole() {
  // Recipes, schedules and water profiles are tens of kilobytes; databases are streamed.
  constexpr std::uint64_t kWholeFileLimit = std::uint64_t{64} * 1024;
  if (size_ == 0 || size_ > kWholeFileLimit) return;
  // One byte more than the size: a file that grew since its size was taken is streamed as it
  // is, exactly as a larger file would be.
  const auto asked = static_cast<std::size_t>(size_) + 1;
  whole_ = std::make_unique_for_overwrite<std::uint8_t[]>(asked);  // every byte read is read over
  bool failed = false;
  const std::size_t got = ReadAtStart(file_, whole_.get(), asked, failed);
  if (got == size_ && !failed) {
    whole_size_ = got;
    std::fclose(file_);
    file_ = nullptr;
    return;
  }
  whole_.reset();
  std::clearerr(file_);
  if (std::fseek(file_, 0, SEEK_SET) != 0) read_error_ = true;
}

InputFile::~InputFile() { Close(); }

void InputFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  whole_.reset();
  whole_size_ = 0;
}

std::size_t InputFile::Read(std::span<std::uint8_t> buffer) {
  std::size_t got = 0;
  if (whole_) {
    const std::uint64_t left = whole_size_ - std::min<std::uint64_t>(position_, whole_size_);
    got = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), left));
    if (got > 0) std::copy_n(whole_.get() + position_, got, buffer.begin());
  } else if (file_ != nullptr && !buffer.empty()) {
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
  if (whole_) {
    position_ += step;
  } else if (file_ != nullptr && step > 0) {
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
