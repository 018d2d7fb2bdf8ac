// Water profiles (water.dat, and one per '.wtr' file) and the yeast database (yeast.dat).
// water.dat and yeast.dat start with a 4-byte record count; a '.wtr' file is one bare record.
// Recipes embed one record of each, read with a count of 1 from the current position.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "source/decoder.h"

namespace kegverter {

/// One water profile (222 bytes). Ion contents as the application stored them.
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

/// One yeast.dat record (468 bytes). Nothing in it is range-tested, so field_errors stays empty.
struct YeastRecord {
  NarrowText name;
  NarrowText laboratory;
  NarrowText product_id;
  std::uint8_t type = 0;
  std::uint8_t form = 0;
  NarrowText notes;
  NarrowText best_for;
  float spare_value = 0;  ///< stored, never exported
  std::int32_t attenuation_low = 0;
  std::int32_t attenuation_high = 0;
  float temperature = 0;  ///< degrees Fahrenheit
  std::uint8_t flocculation = 0;
  std::vector<std::int32_t> field_errors;
};

inline constexpr RangeBounds kWaterIonBounds = FloatBounds(0, 100000, 0);
inline constexpr RangeBounds kWaterPhBounds = FloatBounds(0, 20, 7);

template <>
struct RecordLayout<WaterRecord> {
  static constexpr std::size_t kRecordSize = 222;
  static constexpr FieldSpec kFields[] = {
      {27, FieldKind::Text},    {4, FieldKind::Float32}, {4, FieldKind::Float32},
      {4, FieldKind::Float32},
      {4, FieldKind::None},  // 4 bytes that no member receives
      {4, FieldKind::Float32},  {4, FieldKind::Float32}, {4, FieldKind::Float32},
      {4, FieldKind::Float32},  {163, FieldKind::Text},
  };
  static constexpr MemberRef<WaterRecord> kMembers[] = {
      &WaterRecord::name,     &WaterRecord::calcium,  &WaterRecord::magnesium,
      &WaterRecord::sodium,   &WaterRecord::sulfate,  &WaterRecord::chloride,
      &WaterRecord::bicarbonate, &WaterRecord::ph,    &WaterRecord::notes,
  };
  static constexpr RangeSpec kRanges[] = {
      kUntested,
      {FieldKind::Float32, &kWaterIonBounds},
      {FieldKind::Float32, &kWaterIonBounds},
      {FieldKind::Float32, &kWaterIonBounds},
      {FieldKind::Float32, &kWaterIonBounds},
      {FieldKind::Float32, &kWaterIonBounds},
      {FieldKind::Float32, &kWaterIonBounds},
      {FieldKind::Float32, &kWaterPhBounds},
      kUntested,
  };
};

template <>
struct RecordLayout<YeastRecord> {
  static constexpr std::size_t kRecordSize = 468;
  static constexpr FieldSpec kFields[] = {
      {55, FieldKind::Text},   {55, FieldKind::Text},   {25, FieldKind::Text},
      {1, FieldKind::UInt8},   {1, FieldKind::UInt8},   {155, FieldKind::Text},
      {159, FieldKind::Text},  {4, FieldKind::Float32}, {4, FieldKind::Int32},
      {4, FieldKind::Int32},   {4, FieldKind::Float32}, {1, FieldKind::UInt8},
  };
  static constexpr MemberRef<YeastRecord> kMembers[] = {
      &YeastRecord::name,         &YeastRecord::laboratory,      &YeastRecord::product_id,
      &YeastRecord::type,         &YeastRecord::form,            &YeastRecord::notes,
      &YeastRecord::best_for,     &YeastRecord::spare_value,     &YeastRecord::attenuation_low,
      &YeastRecord::attenuation_high, &YeastRecord::temperature, &YeastRecord::flocculation,
  };
  static constexpr std::span<const RangeSpec> kRanges{};
};

/// Reads water records from the current position (a whole database, a '.wtr' file or the
/// profile inside a recipe). Returns the number of records in which a value was replaced.
std::int32_t ReadWaterRecords(InputFile& file, std::span<WaterRecord> records);

/// Reads yeast records from the current position. Nothing is validated; always returns 0.
std::int32_t ReadYeastRecords(InputFile& file, std::span<YeastRecord> records);

}  // namespace kegverter
