// Word tables: the words the output writes for the codes the application stores, indexed by the
// code.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kegverter {

/// The word of `code` in a word table; nothing when the code is outside the table or its entry
/// is null (a code the application defines no word for).
inline std::optional<std::string> WordOf(std::span<const char* const> words, std::uint32_t code) {
  if (code >= words.size() || words[code] == nullptr) return std::nullopt;
  return std::string(words[code]);
}

}  // namespace kegverter
