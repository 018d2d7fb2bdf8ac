// The miscellaneous-ingredient database (extra.dat) and the fermentable database (malt.dat):
// a 4-byte record count, then fixed-size records of 577 and 521 bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "source/decoder.h"

namespace kegverter {

/// One extra.dat record. The byte codes are kept as stored; the exporter gives them meaning.
struct MiscRecord {
  NarrowText ingredient_name;
  std::uint8_t ingredient_type = 0;
  std::int32_t suggested_time = 0;   ///< in the unit of time_units
  std::uint8_t time_type = 0;        ///< when the ingredient goes in
  std::uint8_t time_units = 0;
  std::uint8_t inventory_unit_of_measurement = 0;
  float inventory = 0;
  NarrowText usage;
  NarrowText comment;
  std::vector<std::int32_t> field_errors;
};

/// One malt.dat record. A recipe's fermentable additions start with the same fields.
struct MaltRecord {
  NarrowText name;
  NarrowText supplier;
  NarrowText origin;
  std::uint8_t type = 0;
  std::uint8_t recommend_mash = 0;
  float potential = 0;
  float color = 0;                 ///< degrees Lovibond
  float moisture = 0;
  float max_in_batch = 0;
  float diastatic_power = 0;
  float protein = 0;
  float spare_percentage = 0;      ///< stored and range-tested, never exported
  NarrowText spare_text;           ///< stored, never exported
  NarrowText notes;
  float inventory = 0;
  float fine_grind_yield = 0;
  float coarse_grind_yield = 0;
  std::vector<std::int32_t> field_errors;
};

inline constexpr RangeBounds kMiscInventoryBounds = FloatBounds(0, 100000, 0);

inline constexpr RangeBounds kMaltPotentialBounds = FloatBounds(0, 11, 0);  // also moisture
inline constexpr RangeBounds kMaltColorBounds = FloatBounds(0, 2550, 0);
inline constexpr RangeBounds kMaltPercentBounds = FloatBounds(0, 110, 0);
inline constexpr RangeBounds kMaltDiastaticBounds = FloatBounds(0, 550, 0);
inline constexpr RangeBounds kMaltInventoryBounds = FloatBounds(0, 100000, 0);
inline constexpr RangeBounds kMaltYieldBounds = FloatBounds(-11, 110, 0);

template <>
struct RecordLayout<MiscRecord> {
  static constexpr std::size_t kRecordSize = 577;
  static constexpr FieldSpec kFields[] = {
      {55, FieldKind::Text},   {1, FieldKind::UInt8},   {4, FieldKind::Int32},
      {1, FieldKind::UInt8},   {1, FieldKind::UInt8},   {1, FieldKind::UInt8},
      {4, FieldKind::Float32}, {255, FieldKind::Text},  {255, FieldKind::Text},
  };
  static constexpr MemberRef<MiscRecord> kMembers[] = {
      &MiscRecord::ingredient_name,
      &MiscRecord::ingredient_type,
      &MiscRecord::suggested_time,
      &MiscRecord::time_type,
      &MiscRecord::time_units,
      &MiscRecord::inventory_unit_of_measurement,
      &MiscRecord::inventory,
      &MiscRecord::usage,
      &MiscRecord::comment,
  };
  static constexpr RangeSpec kRanges[] = {
      kUntested, kUntested, kUntested, kUntested, kUntested, kUntested,
      {FieldKind::Float32, &kMiscInventoryBounds},
      kUntested, kUntested,
  };
};

template <>
struct RecordLayout<MaltRecord> {
  static constexpr std::size_t kRecordSize = 521;
  static constexpr FieldSpec kFields[] = {
      {55, FieldKind::Text},     {55, FieldKind::Text},     {55, FieldKind::Text},
      {1, FieldKind::UInt8},     {1, FieldKind::UInt8},     {4, FieldKind::Float32},
      {4, FieldKind::Float32},   {4, FieldKind::Float32},   {4, FieldKind::Float32},
      {4, FieldKind::Float32},   {4, FieldKind::Float32},   {4, FieldKind::Float32},
      {155, FieldKind::Text},    {159, FieldKind::Text},    {4, FieldKind::Float32},
      {4, FieldKind::Float32},   {4, FieldKind::Float32},
  };
  static constexpr MemberRef<MaltRecord> kMembers[] = {
      &MaltRecord::name,
      &MaltRecord::supplier,
      &MaltRecord::origin,
      &MaltRecord::type,
      &MaltRecord::recommend_mash,
      &MaltRecord::potential,
      &MaltRecord::color,
      &MaltRecord::moisture,
      &MaltRecord::max_in_batch,
      &MaltRecord::diastatic_power,
      &MaltRecord::protein,
      &MaltRecord::spare_percentage,
      &MaltRecord::spare_text,
      &MaltRecord::notes,
      &MaltRecord::inventory,
      &MaltRecord::fine_grind_yield,
      &MaltRecord::coarse_grind_yield,
  };
  static constexpr RangeSpec kRanges[] = {
      kUntested,
      kUntested,
      kUntested,
      kUntested,
      kUntested,
      {FieldKind::Float32, &kMaltPotentialBounds},
      {FieldKind::Float32, &kMaltColorBounds},
      {FieldKind::Float32, &kMaltPotentialBounds},
      {FieldKind::Float32, &kMaltPercentBounds},
      {FieldKind::Float32, &kMaltDiastaticBounds},
      {FieldKind::Float32, &kMaltPercentBounds},
      {FieldKind::Float32, &kMaltPercentBounds},
      kUntested,
      kUntested,
      {FieldKind::Float32, &kMaltInventoryBounds},
      {FieldKind::Float32, &kMaltYieldBounds},
      {FieldKind::Float32, &kMaltYieldBounds},
  };
};

/// Reads `records.size()` extra.dat records from the current position, validating each and
/// dumping it on standard output. Returns the number of records in which a value was replaced.
std::int32_t ReadMiscRecords(InputFile& file, std::span<MiscRecord> records);

/// Reads malt.dat records from the current position. Returns the number of records in which a
/// value was replaced.
std::int32_t ReadMaltRecords(InputFile& file, std::span<MaltRecord> records);

/// The nine-line console dump of one extra.dat record, ending with an empty line. A missing text
/// prints as "(null)".
void PrintMiscRecord(const MiscRecord& record, std::FILE* out = stdout);

}  // namespace kegverter
