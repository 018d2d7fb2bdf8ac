// A recipe file assembled section by section, for the recipe tests and the bundled example.
#pragma once

#include <vector>

#include "tests/fixture.h"

namespace kegverter::testing {

/// Section sizes of a recipe file.
inline constexpr std::size_t kRecipeHeaderSize = 126;
inline constexpr std::size_t kStyleSize = 1031;
inline constexpr std::size_t kHopAdditionSize = 635;
inline constexpr std::size_t kFermentableAdditionSize = 529;
inline constexpr std::size_t kMiscAdditionSize = 589;
inline constexpr std::size_t kYeastSize = 468;
inline constexpr std::size_t kGapSize = 5;
inline constexpr std::size_t kWaterSize = 222;
inline constexpr std::size_t kProcessSize = 8385;
inline constexpr std::size_t kStepSlotSize = 292;
inline constexpr std::size_t kStepSlots = 50;
inline constexpr std::size_t kScheduleSize = 256;
/// A recipe without additions.
inline constexpr std::size_t kBareRecipeSize = 25093;

/// One mash step slot, as both mash schedule and recipe files hold them.
struct StepBytes {
  std::uint8_t kind = 0;
  std::string name;
  std::int32_t step_temperature = 0;
  std::int32_t end_temperature = 0;
  std::int32_t infuse_temperature = 0;
  std::int32_t step_time = 0;
  std::int32_t ramp_time = 0;
  float ratio = 0;
  float amount = 0;
};

/// The kStepSlotSize bytes of a step slot.
Bytes StepSlot(const StepBytes& step);

/// The sections of one recipe; each is written at the offsets of its own layout. Build() lays
/// them out back to back, with all fifty step slots (unused ones zero).
struct RecipeFile {
  Bytes header{kRecipeHeaderSize};
  Bytes style{kStyleSize};
  std::vector<Bytes> hops;          ///< kHopAdditionSize each
  std::vector<Bytes> fermentables;  ///< kFermentableAdditionSize each
  std::vector<Bytes> miscs;         ///< kMiscAdditionSize each
  Bytes yeast{kYeastSize};
  Bytes gap{kGapSize};
  Bytes water{kWaterSize};
  Bytes process{kProcessSize};
  std::vector<Bytes> steps;  ///< the used slots, kStepSlotSize each (at most 50)
  Bytes schedule{kScheduleSize};

  /// Writes the list counts into the header (offsets 85, 89, 93) and the step count into the
  /// process section (offset 8373) from the sizes of the lists.
  RecipeFile& SyncCounts();
  /// The whole file.
  Bytes Build() const;
};

}  // namespace kegverter::testing
