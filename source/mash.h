// Mash schedule files ('.msh') and the 292-byte mash step slot that recipes embed as well.
//
// A '.msh' file is 14875 bytes: a 20-byte header, 50 step slots of 292 bytes of which the first
// `step_count` hold the steps, and the schedule's name in a 255-byte text field at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "source/decoder.h"

namespace kegverter {

/// One step of a step mash, as one 292-byte slot holds it.
struct MashStepRecord {
  NarrowText name;
  std::uint8_t type = 0;                ///< 0 infusion, 1 temperature, 2 decoction
  std::int32_t step_temperature = 0;    ///< rest temperature, whole degrees Fahrenheit
  std::int32_t end_temperature = 0;     ///< temperature at the end of the step
  std::int32_t infuse_temperature = 0;  ///< temperature of the infused water
  std::int32_t step_time = 0;           ///< rest time, minutes
  std::int32_t ramp_time = 0;           ///< time to reach the rest, minutes
  float water_grain_ratio = 0;
  float step_amount = 0;  ///< water infused or mash decocted, quarts
  std::vector<std::int32_t> field_errors;
};

/// A mash schedule: the header fields, the steps in use and the name stored after the slots.
struct MashScheduleRecord {
  NarrowText name;
  std::int32_t step_count = 0;  ///< steps in use, 0 to 50 once validated
  std::int32_t spare_count = 0;
  float grain_temperature = 0;  ///< degrees Fahrenheit
  float spare_amount = 0;
  float spare_ratio = 0;
  std::vector<MashStepRecord> steps;  ///< `step_count` steps in slot order
  std::vector<std::int32_t> field_errors;
};

inline constexpr std::size_t kMashStepSlotSize = 292;
/// Every slot may hold a step: a schedule that uses all fifty keeps them all.
inline constexpr std::int32_t kMashStepSlots = 50;
inline constexpr std::size_t kMashHeaderSize = 20;
inline constexpr std::uint32_t kMashNameFieldSize = 255;
/// 20 + 50 × 292: where the schedule's name starts.
inline constexpr std::size_t kMashNameOffset = kMashHeaderSize + kMashStepSlots * kMashStepSlotSize;

inline constexpr RangeBounds<std::int32_t> kMashTemperatureBounds{0, 225, 0};
inline constexpr RangeBounds<std::int32_t> kMashTimeBounds{0, 510, 0};
inline constexpr RangeBounds<float> kMashQuantityBounds{0.0f, 100000.0f, 0.0f};
inline constexpr RangeBounds<std::int32_t> kMashStepCountBounds{0, kMashStepSlots, 0};
inline constexpr RangeBounds<std::int32_t> kMashSpareCountBounds{0, 100000, 0};
inline constexpr RangeBounds<float> kMashGrainTemperatureBounds{0.0f, 225.0f, 0.0f};
inline constexpr RangeBounds<float> kMashSpareRatioBounds{0.0f, 2.5f, 0.0f};

template <>
struct RecordLayout<MashStepRecord> {
  using R = MashStepRecord;
  static constexpr std::size_t kRecordSize = kMashStepSlotSize;
  static constexpr LayoutEntry<R> kEntries[] = {
      Text(&R::name, 255),
      Number(&R::type),
      Number(&R::step_temperature, kMashTemperatureBounds),
      Number(&R::end_temperature, kMashTemperatureBounds),
      Number(&R::infuse_temperature, kMashTemperatureBounds),
      Number(&R::step_time, kMashTimeBounds),
      Number(&R::ramp_time, kMashTimeBounds),
      Number(&R::water_grain_ratio, kMashQuantityBounds),
      Number(&R::step_amount, kMashQuantityBounds),
      Skip(8),  // unused tail of the slot
  };
};

/// The header only: the steps and the name are read around it by ReadMashSchedule.
template <>
struct RecordLayout<MashScheduleRecord> {
  using R = MashScheduleRecord;
  static constexpr std::size_t kRecordSize = kMashHeaderSize;
  static constexpr LayoutEntry<R> kEntries[] = {
      Number(&R::step_count, kMashStepCountBounds),
      Number(&R::spare_count, kMashSpareCountBounds),
      Number(&R::grain_temperature, kMashGrainTemperatureBounds),
      Number(&R::spare_amount, kMashQuantityBounds),
      Number(&R::spare_ratio, kMashSpareRatioBounds),
  };
};

/// Reads `steps.size()` consecutive 292-byte step slots from the current position. Returns the
/// number of steps in which a value was replaced by its default.
std::int32_t ReadMashStepRecords(InputFile& file, std::span<MashStepRecord> steps);

/// Reads whole schedules from the current position: header, the steps in use, past the unused
/// slots, then the name. Leaves the position after the name. Returns the number of headers and
/// steps in which a value was replaced by its default.
std::int32_t ReadMashSchedule(InputFile& file, std::span<MashScheduleRecord> records);

}  // namespace kegverter
