// Water profiles: the water database (water.dat: a 4-byte record count, then 222-byte records)
// and a '.wtr' file, which is one bare record. A recipe embeds one profile as well.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "source/decoder.h"

namespace kegverter {

/// One water profile. Ion contents as the application stored them.
struct WaterRecord {
  NarrowText name;
  float calcium = 0;
  float magnesium = 0;
  float sodium = 0;
  float sulfate = 0;
  float chloride = 0;
  float bicarbonate = 0;
  float ph = 0;
  NarrowText notes;
  std::vector<std::int32_t> field_errors;
};

inline constexpr RangeBounds<float> kWaterIonBounds{0.0f, 100000.0f, 0.0f};
inline constexpr RangeBounds<float> kWaterPhBounds{0.0f, 20.0f, 7.0f};

template <>
struct RecordLayout<WaterRecord> {
  using R = WaterRecord;
  static constexpr std::size_t kRecordSize = 222;
  static constexpr LayoutEntry<R> kEntries[] = {
      Text(&R::name, 27),
      Number(&R::calcium, kWaterIonBounds),
      Number(&R::magnesium, kWaterIonBounds),
      Number(&R::sodium, kWaterIonBounds),
      Skip(4),  // a value that no member receives
      Number(&R::sulfate, kWaterIonBounds),
      Number(&R::chloride, kWaterIonBounds),
      Number(&R::bicarbonate, kWaterIonBounds),
      Number(&R::ph, kWaterPhBounds),
      Text(&R::notes, 163),
  };
};

/// Reads water records from the current position (a whole database, a '.wtr' file or the
/// profile inside a recipe). Returns the number of records in which a value was replaced.
std::int32_t ReadWaterRecords(InputFile& file, std::span<WaterRecord> records);

}  // namespace kegverter
