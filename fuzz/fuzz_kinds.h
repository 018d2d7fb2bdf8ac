// The file kinds the fuzzer feeds the converter: every converted row of the registry, in registry
// order, wherever it stands (rows only recognised, such as brw, are passed over). Every fuzz
// input starts with one kind byte that picks the row (modulo the number of converted rows, so
// every byte value picks one); the rest of the input is the content of a file named after the
// row. The registry adds new rows at the end, so a new converted row is fuzzed and the rows
// before it keep their kind bytes: the seeds of existing corpora (kind bytes 0 to 8) keep their
// kind.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "driver/registry.h"

namespace kegverter::fuzz {

/// The rows of `rows` that convert, in their order.
inline std::vector<const KindInfo*> ConvertedRows(std::span<const KindInfo> rows) {
  std::vector<const KindInfo*> converted;
  for (const KindInfo& row : rows) {
    if (row.converted()) converted.push_back(&row);
  }
  return converted;
}

/// The registry's converted rows; a kind is an index into them.
inline const std::vector<const KindInfo*>& FuzzKinds() {
  static const std::vector<const KindInfo*> kinds = ConvertedRows(Kinds());
  return kinds;
}

/// The kind a kind byte picks.
inline std::size_t KindIndex(std::uint8_t kind_byte) { return kind_byte % FuzzKinds().size(); }

/// The kind of a registry row, or nothing when the row does not convert (or is null).
inline std::optional<std::size_t> KindOfRow(const KindInfo* row) {
  const auto found = std::find(FuzzKinds().begin(), FuzzKinds().end(), row);
  if (row == nullptr || found == FuzzKinds().end()) return std::nullopt;
  return static_cast<std::size_t>(found - FuzzKinds().begin());
}

/// The kind for a file name (without folder), or nothing when no converted row takes it.
inline std::optional<std::size_t> KindOfFileName(std::string_view file_name) {
  return KindOfRow(FindKindByName(file_name));
}

/// The kind named by a label, or nothing.
inline std::optional<std::size_t> KindOfLabel(std::string_view label) {
  return KindOfRow(FindKindByLabel(label));
}

}  // namespace kegverter::fuzz
