#include "source/mash.h"

#include <algorithm>

namespace kegverter {

static_assert(kMashNameOffset == 14620);

std::int32_t ReadMashStepRecords(InputFile& file, std::span<MashStepRecord> steps) {
  return ReadRecords(file, steps);
}

std::int32_t ReadMashSchedule(InputFile& file, std::span<MashScheduleRecord> records) {
  std::int32_t replaced_steps = 0;
  const std::int32_t replaced_headers =
      ReadRecordsWith(file, records, [&](MashScheduleRecord& schedule) {
        // The header's validation has bounded the count; the clamp keeps the sizes below safe
        // whatever the bounds say.
        const std::int32_t used = std::clamp(schedule.step_count, 0, kMashStepSlots);
        schedule.steps.resize(static_cast<std::size_t>(used));
        replaced_steps += ReadMashStepRecords(file, std::span<MashStepRecord>(schedule.steps));
        file.Skip(static_cast<std::uint64_t>(kMashStepSlots - used) * kMashStepSlotSize);
        schedule.name = ReadTextField(file, kMashNameFieldSize);
      });
  return replaced_headers + replaced_steps;
}

}  // namespace kegverter
