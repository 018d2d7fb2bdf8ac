// The hop database (hops.dat): a 4-byte record count, then 614-byte records. A recipe's hop
// entries start with the same fields up to `best_for`.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "source/decoder.h"

namespace kegverter {

/// One variety of hops.dat.
struct HopRecord {
  NarrowText name;
  float alpha_acid = 0;
  float beta_acid = 0;          ///< 0 when the application knows none
  std::uint8_t spare_flag = 0;  ///< not exported
  float cohumulone = 0;
  float myrcene = 0;
  float humulene = 0;
  float caryophyllene = 0;
  /// Low 4 bits: the use code; bits 12 to 15: the hop form (read by the recipe export). Kept as
  /// stored, negative values included.
  std::int16_t type_code = 0;
  float percent_lost = 0;
  NarrowText notes;
  NarrowText origin;
  NarrowText best_for;
  NarrowText substitutes;
  float inventory = 0;  ///< not exported
  std::vector<std::int32_t> field_errors;
};

/// Shares and acids of a hop, in percent; a little headroom above 100 for sloppy entries.
inline constexpr RangeBounds<float> kHopPercentBounds{0.0f, 110.0f, 0.0f};
inline constexpr RangeBounds<float> kHopInventoryBounds{0.0f, 100000.0f, 0.0f};

/// The fields up to `best_for`, which hops.dat and a recipe's hop entry share; what follows
/// differs (the recipe's `substitutes` is wider).
template <class R>
inline constexpr auto kHopEntries = std::to_array<LayoutEntry<R>>({
    Text(&R::name, 55),
    Number(&R::alpha_acid, kHopPercentBounds),
    Number(&R::beta_acid, kHopPercentBounds),
    Number(&R::spare_flag),
    Number(&R::cohumulone, kHopPercentBounds),
    Number(&R::myrcene, kHopPercentBounds),
    Number(&R::humulene, kHopPercentBounds),
    Number(&R::caryophyllene, kHopPercentBounds),
    Number(&R::type_code),
    Number(&R::percent_lost, kHopPercentBounds),
    Text(&R::notes, 155),
    Text(&R::origin, 55),
    Text(&R::best_for, 155),
});

template <>
struct RecordLayout<HopRecord> {
  using R = HopRecord;
  static constexpr std::size_t kRecordSize = 614;
  static constexpr auto kEntries = JoinEntries(
      kHopEntries<R>, std::to_array<LayoutEntry<R>>({
                          Text(&R::substitutes, 155), Number(&R::inventory, kHopInventoryBounds),
                          Skip(4),  // read with the record, never decoded
                      }));
};

/// Reads `records.size()` hop records from the current position of `file`; returns how many had
/// a value replaced by its default.
std::int32_t ReadHopRecords(InputFile& file, std::span<HopRecord> records);

}  // namespace kegverter
