// The fermentable database (malt.dat): a 4-byte record count, then 521-byte records. A recipe's
// fermentable entries start with the same fields.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "source/decoder.h"

namespace kegverter {

/// One malt.dat record.
struct MaltRecord {
  NarrowText name;
  NarrowText supplier;
  NarrowText origin;
  std::uint8_t type = 0;
  std::uint8_t recommend_mash = 0;
  float potential = 0;
  float color = 0;  ///< degrees Lovibond
  float moisture = 0;
  float max_in_batch = 0;
  float diastatic_power = 0;
  float protein = 0;
  float spare_percentage = 0;  ///< stored and range-tested, never exported
  NarrowText spare_text;       ///< stored, never exported
  NarrowText notes;
  float inventory = 0;
  float fine_grind_yield = 0;
  float coarse_grind_yield = 0;
  std::vector<std::int32_t> field_errors;
};

inline constexpr RangeBounds<float> kMaltPotentialBounds{0.0f, 11.0f, 0.0f};  // also moisture
inline constexpr RangeBounds<float> kMaltColorBounds{0.0f, 2550.0f, 0.0f};
inline constexpr RangeBounds<float> kMaltPercentBounds{0.0f, 110.0f, 0.0f};
inline constexpr RangeBounds<float> kMaltDiastaticBounds{0.0f, 550.0f, 0.0f};
inline constexpr RangeBounds<float> kMaltInventoryBounds{0.0f, 100000.0f, 0.0f};
inline constexpr RangeBounds<float> kMaltYieldBounds{-11.0f, 110.0f, 0.0f};

/// The malt.dat fields, for MaltRecord and for the recipe entry that extends them.
template <class R>
inline constexpr auto kMaltEntries = std::to_array<LayoutEntry<R>>({
    Text(&R::name, 55),
    Text(&R::supplier, 55),
    Text(&R::origin, 55),
    Number(&R::type),
    Number(&R::recommend_mash),
    Number(&R::potential, kMaltPotentialBounds),
    Number(&R::color, kMaltColorBounds),
    Number(&R::moisture, kMaltPotentialBounds),
    Number(&R::max_in_batch, kMaltPercentBounds),
    Number(&R::diastatic_power, kMaltDiastaticBounds),
    Number(&R::protein, kMaltPercentBounds),
    Number(&R::spare_percentage, kMaltPercentBounds),
    Text(&R::spare_text, 155),
    Text(&R::notes, 159),
    Number(&R::inventory, kMaltInventoryBounds),
    Number(&R::fine_grind_yield, kMaltYieldBounds),
    Number(&R::coarse_grind_yield, kMaltYieldBounds),
});

template <>
struct RecordLayout<MaltRecord> {
  static constexpr std::size_t kRecordSize = 521;
  static constexpr auto kEntries = kMaltEntries<MaltRecord>;
};

/// Reads `records.size()` malt.dat records from the current position. Returns the number of
/// records in which a value was replaced by its default.
std::int32_t ReadMaltRecords(InputFile& file, std::span<MaltRecord> records);

}  // namespace kegverter
