// The yeast database (yeast.dat): a 4-byte record count, then 468-byte records. A recipe embeds
// one yeast record.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "source/decoder.h"

namespace kegverter {

/// One yeast.dat record. Nothing in it is range-tested, so field_errors stays empty.
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

template <>
struct RecordLayout<YeastRecord> {
  using R = YeastRecord;
  static constexpr std::size_t kRecordSize = 468;
  static constexpr LayoutEntry<R> kEntries[] = {
      Text(&R::name, 55),
      Text(&R::laboratory, 55),
      Text(&R::product_id, 25),
      Number(&R::type),
      Number(&R::form),
      Text(&R::notes, 155),
      Text(&R::best_for, 159),
      Number(&R::spare_value),
      Number(&R::attenuation_low),
      Number(&R::attenuation_high),
      Number(&R::temperature),
      Number(&R::flocculation),
  };
};

/// Reads yeast records from the current position. Nothing is validated; always returns 0.
std::int32_t ReadYeastRecords(InputFile& file, std::span<YeastRecord> records);

}  // namespace kegverter
