#include "output/output_text.h"

#include <algorithm>

namespace kegverter {

namespace {

// A recipe's document fits the first block; each further block is twice the last, up to a size
// at which the blocks of the largest databases stay few.
constexpr std::size_t kFirstBlock = std::size_t{16} * 1024;
constexpr std::size_t kLargestBlock = std::size_t{4} * 1024 * 1024;

}  // namespace

void OutputText::Append(std::string_view piece) {
  size_ += piece.size();
  while (!piece.empty()) {
    if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity()) {
      const std::size_t capacity =
          blocks_.empty() ? kFirstBlock : std::min(2 * blocks_.back().capacity(), kLargestBlock);
      blocks_.emplace_back().reserve(capacity);
    }
    std::string& block = blocks_.back();
    const std::size_t taken = std::min(block.capacity() - block.size(), piece.size());
    block.append(piece.substr(0, taken));  // within the capacity: the block does not move
    piece.remove_prefix(taken);
  }
}

void OutputText::Clear() {
  blocks_.clear();
  size_ = 0;
}

bool OutputText::WriteTo(std::FILE* out) const {
  for (const std::string& block : blocks_) {
    if (std::fwrite(block.data(), 1, block.size(), out) != block.size()) return false;
  }
  return true;
}

std::string OutputText::Take() {
  std::string whole;
  if (blocks_.size() == 1) {
    whole = std::move(blocks_.front());
  } else {
    whole.reserve(size_);
    for (std::string& block : blocks_) {
      whole += block;
      std::string().swap(block);
    }
  }
  Clear();
  return whole;
}

}  // namespace kegverter
