// The style database (styles.dat): a 4-byte record count, then 1031-byte records. A recipe file
// embeds one style record.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "source/decoder.h"

namespace kegverter {

/// One style of styles.dat (and the style embedded in a recipe).
struct StyleRecord {
  NarrowText category;
  NarrowText name;
  std::uint8_t type = 0;           ///< 0 ale, 1 lager, 2 cider, 3 mead, 5 mixed
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

/// Specific gravities; a value such as 40 (gravity points) lies outside and becomes 1.0.
inline constexpr RangeBounds<float> kStyleGravityBounds{0.9f, 3.0f, 1.0f};
inline constexpr RangeBounds<float> kStylePercentBounds{0.0f, 110.0f, 0.0f};
inline constexpr RangeBounds<float> kStyleColorBounds{0.0f, 5000.0f, 0.0f};

template <>
struct RecordLayout<StyleRecord> {
  using R = StyleRecord;
  static constexpr std::size_t kRecordSize = 1031;
  static constexpr LayoutEntry<R> kEntries[] = {
      Text(&R::category, 55),
      Text(&R::name, 55),
      Number(&R::type),
      Number(&R::original_gravity_min, kStyleGravityBounds),
      Number(&R::original_gravity_max, kStyleGravityBounds),
      Number(&R::final_gravity_min, kStyleGravityBounds),
      Number(&R::final_gravity_max, kStyleGravityBounds),
      Number(&R::alcohol_min, kStylePercentBounds),
      Number(&R::alcohol_max, kStylePercentBounds),
      Number(&R::bitterness_min, kStylePercentBounds),
      Number(&R::bitterness_max, kStylePercentBounds),
      Number(&R::color_min, kStyleColorBounds),
      Number(&R::color_max, kStyleColorBounds),
      Text(&R::color_description, 155),
      Text(&R::malt_description, 155),
      Text(&R::hops_description, 155),
      Text(&R::yeast_description, 155),
      Text(&R::notes, 255),
      Number(&R::category_number),
      Text(&R::style_letter, 2),
      Number(&R::spare_flag),
  };
};

/// Reads `records.size()` style records from the current position of `file` and leaves the
/// position after them (a recipe reads its one embedded style this way); returns how many had a
/// value replaced by its default.
std::int32_t ReadStyleRecords(InputFile& file, std::span<StyleRecord> records);

}  // namespace kegverter
