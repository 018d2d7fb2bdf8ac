// Helpers for the values the writers put into their slots: the words of stored codes, and
// whether a stored text holds anything.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/words.h"
#include "source/decoder.h"

namespace kegverter {

/// The word of `code` in a word table (the words of the codes the application stores, indexed by
/// the code); nothing when the code is outside the table or its entry is null (a code the
/// application defines no word for).
inline std::optional<std::string> WordOf(std::span<const char* const> words, std::uint32_t code) {
  if (code >= words.size() || words[code] == nullptr) return std::nullopt;
  return std::string(words[code]);
}

/// The word of a meaning; nothing when the format has none for it (a code without a meaning).
template <class Meaning>
std::optional<std::string> Word(const model::Words<Meaning>& words, Meaning meaning) {
  const std::string_view word = words[meaning];
  if (word.empty()) return std::nullopt;
  return std::string(word);
}

/// True when a stored text is present and not empty.
inline bool HasText(const NarrowText& text) { return text && !text->empty(); }

}  // namespace kegverter
