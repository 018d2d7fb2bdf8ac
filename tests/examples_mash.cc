// The bundled mash schedule: a decoction step mash that uses all three kinds of step.
#include "tests/examples.h"
#include "tests/records.h"

namespace kegverter::testing {

Bytes MashScheduleExample() {
  file::MashSchedule m;
  m.step_count = 3;
  m.grain_temperature = 65.0f;
  m.name = "Single Decoction Step Mash";
  // name, kind (0 infusion, 1 temperature, 2 decoction), step, end and infusion temperatures,
  // step and ramp times, water to grain ratio, amount in quarts
  m.steps = {
      {"Protein Rest", 0, 122, 122, 131, 20, 2, 1.25f, 12.5f, ""},
      {"Saccharification Rest", 1, 152, 152, 0, 60, 10, 0, 0, ""},
      {"Mash Out Decoction", 2, 168, 168, 0, 10, 15, 0, 6.0f, ""},
  };
  return file::ToBytes(m);
}

}  // namespace kegverter::testing
