#include "tests/fixture_recipe.h"

namespace kegverter::testing {

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
