#include "tests/fixture_recipe.h"

namespace kegverter::testing {

Bytes StepSlot(const StepBytes& s) {
  Bytes b(kStepSlotSize);
  b.Text(0, 255, s.name).U8(255, s.kind).I32(256, s.step_temperature);
  b.I32(260, s.end_temperature).I32(264, s.infuse_temperature).I32(268, s.step_time);
  return b.I32(272, s.ramp_time).F32(276, s.ratio).F32(280, s.amount);
}

RecipeFile& RecipeFile::SyncCounts() {
  header.I32(85, static_cast<std::int32_t>(hops.size()));
  header.I32(89, static_cast<std::int32_t>(fermentables.size()));
  header.I32(93, static_cast<std::int32_t>(miscs.size()));
  process.I32(8373, static_cast<std::int32_t>(steps.size()));
  return *this;
}

Bytes RecipeFile::Build() const {
  Bytes file = header;
  file.Append(style);
  for (const Bytes& b : hops) file.Append(b);
  for (const Bytes& b : fermentables) file.Append(b);
  for (const Bytes& b : miscs) file.Append(b);
  file.Append(yeast).Append(gap).Append(water).Append(process);
  for (std::size_t slot = 0; slot < kStepSlots; ++slot) {
    file.Append(slot < steps.size() ? steps[slot] : Bytes(kStepSlotSize));
  }
  file.Append(schedule);
  return file;
}

}  // namespace kegverter::testing
