// Helpers for the values the writers put into their slots: the words of the model's meanings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/words.h"

namespace kegverter {

/// The word of a meaning; nothing when the format has none for it (a code without a meaning),
/// which leaves its element empty.
template <class Meaning>
std::optional<std::string> Word(const model::Words<Meaning>& words, Meaning meaning) {
  const std::string_view word = words[meaning];
  if (word.empty()) return std::nullopt;
  return std::string(word);
}

}  // namespace kegverter
