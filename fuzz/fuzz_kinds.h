// The file kinds the fuzzer feeds the converter: the converted rows of the registry. Every fuzz
// input starts with one kind byte that picks the row (modulo the row count, so every byte value
// picks one); the rest of the input is the content of a file named after the row. The registry
// keeps its rows in a fixed order and adds new ones at the end, so existing corpora keep their
// kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "driver/registry.h"

namespace kegverter::fuzz {

/// The rows that convert: every row but those only recognised, which come last.
inline std::span<const KindInfo> FuzzKinds() {
  std::size_t n = 0;
  while (n < Kinds().size() && Kinds()[n].converted()) ++n;
  return Kinds().first(n);
}

/// The row a kind byte picks.
inline std::size_t KindIndex(std::uint8_t kind_byte) { return kind_byte % FuzzKinds().size(); }

/// The row for a file name (without folder), or nothing when no converted row takes it.
inline std::optional<std::size_t> KindOfFileName(std::string_view file_name) {
  const KindInfo* kind = FindKindByName(file_name);
  if (kind == nullptr || !kind->converted()) return std::nullopt;
  return static_cast<std::size_t>(kind - Kinds().data());
}

/// The row named by a label, or nothing.
inline std::optional<std::size_t> KindOfLabel(std::string_view label) {
  const KindInfo* kind = FindKindByLabel(label);
  if (kind == nullptr || !kind->converted()) return std::nullopt;
  return static_cast<std::size_t>(kind - Kinds().data());
}

}  // namespace kegverter::fuzz
