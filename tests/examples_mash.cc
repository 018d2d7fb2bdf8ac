// The bundled mash schedule: a decoction step mash that uses all three kinds of step.
#include "tests/examples.h"

namespace kegverter::testing {

namespace {

// Byte offsets of a '.msh' file: a 20-byte header, fifty 292-byte step slots from byte 20,
// and the schedule's 255-byte name at byte 14620.
constexpr std::size_t kSlotsAt = 20;
constexpr std::size_t kSlotSize = 292;
constexpr std::size_t kNameAt = 14620;
constexpr std::size_t kFileSize = 14875;

struct Step {
  std::uint8_t kind;  // 0 infusion, 1 temperature, 2 decoction
  const char* name;
  std::int32_t step_temperature;
  std::int32_t end_temperature;
  std::int32_t infuse_temperature;
  std::int32_t step_time;
  std::int32_t ramp_time;
  float water_grain_ratio;
  float amount;  // quarts
};

void PutStep(Bytes& file, std::size_t slot, const Step& s) {
  const std::size_t at = kSlotsAt + slot * kSlotSize;
  file.Text(at, 255, s.name).U8(at + 255, s.kind);
  file.I32(at + 256, s.step_temperature).I32(at + 260, s.end_temperature);
  file.I32(at + 264, s.infuse_temperature).I32(at + 268, s.step_time);
  file.I32(at + 272, s.ramp_time).F32(at + 276, s.water_grain_ratio).F32(at + 280, s.amount);
}

}  // namespace

Bytes MashScheduleExample() {
  Bytes file(kFileSize);
  file.I32(0, 3).F32(8, 65.0f).Text(kNameAt, 255, "Single Decoction Step Mash");
  PutStep(file, 0, {0, "Protein Rest", 122, 122, 131, 20, 2, 1.25f, 12.5f});
  PutStep(file, 1, {1, "Saccharification Rest", 152, 152, 0, 60, 10, 0, 0});
  PutStep(file, 2, {2, "Mash Out Decoction", 168, 168, 0, 10, 15, 0, 6.0f});
  return file;
}

}  // namespace kegverter::testing
