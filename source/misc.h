// The miscellaneous-ingredient database (extra.dat): a 4-byte record count, then 577-byte
// records. A recipe's miscellaneous entries start with the same fields.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "source/decoder.h"

namespace kegverter {

/// One extra.dat record. The byte codes are kept as stored; the exporter gives them meaning.
struct MiscRecord {
  NarrowText ingredient_name;
  std::uint8_t ingredient_type = 0;
  std::int32_t suggested_time = 0;  ///< in the unit of time_units
  std::uint8_t time_type = 0;       ///< when the ingredient goes in
  std::uint8_t time_units = 0;
  std::uint8_t inventory_unit_of_measurement = 0;
  float inventory = 0;
  NarrowText usage;
  NarrowText comment;
  std::vector<std::int32_t> field_errors;
};

inline constexpr RangeBounds<float> kMiscInventoryBounds{0.0f, 100000.0f, 0.0f};

/// The extra.dat fields, for MiscRecord and for the recipe entry that extends them.
template <class R>
inline constexpr auto kMiscEntries = std::to_array<LayoutEntry<R>>({
    Text(&R::ingredient_name, 55),
    Number(&R::ingredient_type),
    Number(&R::suggested_time),
    Number(&R::time_type),
    Number(&R::time_units),
    Number(&R::inventory_unit_of_measurement),
    Number(&R::inventory, kMiscInventoryBounds),
    Text(&R::usage, 255),
    Text(&R::comment, 255),
});

template <>
struct RecordLayout<MiscRecord> {
  static constexpr std::size_t kRecordSize = 577;
  static constexpr auto kEntries = kMiscEntries<MiscRecord>;
};

/// Reads `records.size()` extra.dat records from the current position. Returns the number of
/// records in which a value was replaced by its default.
std::int32_t ReadMiscRecords(InputFile& file, std::span<MiscRecord> records);

}  // namespace kegverter
