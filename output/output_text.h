// A document's bytes as the writers make them, whatever the format.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kegverter {

/// Text appended piece by piece into blocks that never move: growing it never copies what it
/// holds, so that a large document costs its own size in memory and one pass to make, where one
/// string would be copied (and held twice) each time it outgrew its storage.
class OutputText {
 public:
  void Append(std::string_view piece);
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void Clear();

  /// The blocks, in order: together they are the text.
  const std::vector<std::string>& blocks() const { return blocks_; }
  /// Writes the text into an open file; false when a write failed (errno telling why).
  bool WriteTo(std::FILE* out) const;
  /// The whole text as one string, leaving this empty. Each block is released as soon as it is
  /// copied; a text of one block is moved, not copied.
  std::string Take();

 private:
  std::vector<std::string> blocks_;
  std::size_t size_ = 0;
};

}  // namespace kegverter
