// The hop database (hops.dat) and the style database (styles.dat): a 4-byte record count, then
// fixed-size records. A recipe file embeds one style record and starts each of its hop entries
// with the hop record's fields, so both layouts are shared with the recipe reader.
#pragma once

#include <cstddef>
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

/// One style of styles.dat (and the style embedded in a recipe).
struct StyleRecord {
  NarrowText category;
  NarrowText name;
  std::uint8_t type = 0;  ///< 0 ale, 1 lager, 2 cider, 3 mead, 5 mixed
  float original_gravity_min = 0;  ///< specific gravity
  float original_gravity_max = 0;
  float final_gravity_min = 0;
  float final_gravity_max = 0;
  float alcohol_min = 0;  ///< % by volume
  float alcohol_max = 0;
  float bitterness_min = 0;  ///< IBU
  float bitterness_max = 0;
  float color_min = 0;  ///< SRM
  float color_max = 0;
  NarrowText color_description;
  NarrowText malt_description;
  NarrowText hops_description;
  NarrowText yeast_description;
  NarrowText notes;
  std::int16_t category_number = 0;
  /// A 2-byte text field: normally one letter and a zero byte, but both bytes may be letters.
  NarrowText style_letter;
  std::uint8_t spare_flag = 0;  ///< not exported
  std::vector<std::int32_t> field_errors;
};

/// Shares and acids of a hop, in percent; a little headroom above 100 for sloppy entries.
inline constexpr RangeBounds kHopPercentBounds = FloatBounds(0.0f, 110.0f, 0.0f);
inline constexpr RangeBounds kHopInventoryBounds = FloatBounds(0.0f, 100000.0f, 0.0f);

/// Specific gravities; a value such as 40 (gravity points) lies outside and becomes 1.0.
inline constexpr RangeBounds kStyleGravityBounds = FloatBounds(0.9f, 3.0f, 1.0f);
inline constexpr RangeBounds kStylePercentBounds = FloatBounds(0.0f, 110.0f, 0.0f);
inline constexpr RangeBounds kStyleColorBounds = FloatBounds(0.0f, 5000.0f, 0.0f);

template <>
struct RecordLayout<HopRecord> {
  /// The fields end at 610; the last 4 bytes of each record are read and not decoded.
  static constexpr std::size_t kRecordSize = 614;
  static constexpr FieldSpec kFields[] = {
      {55, FieldKind::Text},     // name
      {4, FieldKind::Float32},   // alpha_acid
      {4, FieldKind::Float32},   // beta_acid
      {1, FieldKind::UInt8},     // spare_flag
      {4, FieldKind::Float32},   // cohumulone
      {4, FieldKind::Float32},   // myrcene
      {4, FieldKind::Float32},   // humulene
      {4, FieldKind::Float32},   // caryophyllene
      {2, FieldKind::Int16},     // type_code
      {4, FieldKind::Float32},   // percent_lost
      {155, FieldKind::Text},    // notes
      {55, FieldKind::Text},     // origin
      {155, FieldKind::Text},    // best_for
      {155, FieldKind::Text},    // substitutes
      {4, FieldKind::Float32},   // inventory
  };
  static constexpr MemberRef<HopRecord> kMembers[] = {
      &HopRecord::name,         &HopRecord::alpha_acid,    &HopRecord::beta_acid,
      &HopRecord::spare_flag,   &HopRecord::cohumulone,    &HopRecord::myrcene,
      &HopRecord::humulene,     &HopRecord::caryophyllene, &HopRecord::type_code,
      &HopRecord::percent_lost, &HopRecord::notes,         &HopRecord::origin,
      &HopRecord::best_for,     &HopRecord::substitutes,   &HopRecord::inventory,
  };
  static constexpr RangeSpec kRanges[] = {
      kUntested,                                // name
      {FieldKind::Float32, &kHopPercentBounds}, // alpha_acid
      {FieldKind::Float32, &kHopPercentBounds}, // beta_acid
      kUntested,                                // spare_flag
      {FieldKind::Float32, &kHopPercentBounds}, // cohumulone
      {FieldKind::Float32, &kHopPercentBounds}, // myrcene
      {FieldKind::Float32, &kHopPercentBounds}, // humulene
      {FieldKind::Float32, &kHopPercentBounds}, // caryophyllene
      kUntested,                                // type_code
      {FieldKind::Float32, &kHopPercentBounds}, // percent_lost
      kUntested,                                // notes
      kUntested,                                // origin
      kUntested,                                // best_for
      kUntested,                                // substitutes
      {FieldKind::Float32, &kHopInventoryBounds},  // inventory
  };
};

template <>
struct RecordLayout<StyleRecord> {
  static constexpr std::size_t kRecordSize = 1031;
  static constexpr FieldSpec kFields[] = {
      {55, FieldKind::Text},     // category
      {55, FieldKind::Text},     // name
      {1, FieldKind::UInt8},     // type
      {4, FieldKind::Float32},   // original_gravity_min
      {4, FieldKind::Float32},   // original_gravity_max
      {4, FieldKind::Float32},   // final_gravity_min
      {4, FieldKind::Float32},   // final_gravity_max
      {4, FieldKind::Float32},   // alcohol_min
      {4, FieldKind::Float32},   // alcohol_max
      {4, FieldKind::Float32},   // bitterness_min
      {4, FieldKind::Float32},   // bitterness_max
      {4, FieldKind::Float32},   // color_min
      {4, FieldKind::Float32},   // color_max
      {155, FieldKind::Text},    // color_description
      {155, FieldKind::Text},    // malt_description
      {155, FieldKind::Text},    // hops_description
      {155, FieldKind::Text},    // yeast_description
      {255, FieldKind::Text},    // notes
      {2, FieldKind::Int16},     // category_number
      {2, FieldKind::Text},      // style_letter
      {1, FieldKind::UInt8},     // spare_flag
  };
  static constexpr MemberRef<StyleRecord> kMembers[] = {
      &StyleRecord::category,          &StyleRecord::name,
      &StyleRecord::type,              &StyleRecord::original_gravity_min,
      &StyleRecord::original_gravity_max, &StyleRecord::final_gravity_min,
      &StyleRecord::final_gravity_max, &StyleRecord::alcohol_min,
      &StyleRecord::alcohol_max,       &StyleRecord::bitterness_min,
      &StyleRecord::bitterness_max,    &StyleRecord::color_min,
      &StyleRecord::color_max,         &StyleRecord::color_description,
      &StyleRecord::malt_description,  &StyleRecord::hops_description,
      &StyleRecord::yeast_description, &StyleRecord::notes,
      &StyleRecord::category_number,   &StyleRecord::style_letter,
      &StyleRecord::spare_flag,
  };
  static constexpr RangeSpec kRanges[] = {
      kUntested,                                  // category
      kUntested,                                  // name
      kUntested,                                  // type
      {FieldKind::Float32, &kStyleGravityBounds}, // original_gravity_min
      {FieldKind::Float32, &kStyleGravityBounds}, // original_gravity_max
      {FieldKind::Float32, &kStyleGravityBounds}, // final_gravity_min
      {FieldKind::Float32, &kStyleGravityBounds}, // final_gravity_max
      {FieldKind::Float32, &kStylePercentBounds}, // alcohol_min
      {FieldKind::Float32, &kStylePercentBounds}, // alcohol_max
      {FieldKind::Float32, &kStylePercentBounds}, // bitterness_min
      {FieldKind::Float32, &kStylePercentBounds}, // bitterness_max
      {FieldKind::Float32, &kStyleColorBounds},   // color_min
      {FieldKind::Float32, &kStyleColorBounds},   // color_max
      kUntested,                                  // color_description
      kUntested,                                  // malt_description
      kUntested,                                  // hops_description
      kUntested,                                  // yeast_description
      kUntested,                                  // notes
      kUntested,                                  // category_number
      kUntested,                                  // style_letter
      kUntested,                                  // spare_flag
  };
};

/// Reads `records.size()` hop records from the current position of `file`; returns how many had
/// a value replaced by its default.
std::int32_t ReadHopRecords(InputFile& file, std::span<HopRecord> records);

/// Reads `records.size()` style records from the current position of `file` and leaves the
/// position after them (a recipe reads its one embedded style this way); returns how many had a
/// value replaced by its default.
std::int32_t ReadStyleRecords(InputFile& file, std::span<StyleRecord> records);

}  // namespace kegverter
