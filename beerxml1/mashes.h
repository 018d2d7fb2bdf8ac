// The `MASH` of BeerXML 1.0 with its `MASH_STEPS`: a mash schedule, or a recipe's mash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "beerxml1/common.h"
#include "document/node_table.h"
#include "model/brewing.h"

namespace kegverter::beerxml1 {

// A mash up to its open step list; kMashClose closes both.
enum class MashSlot : std::uint16_t { kName, kVersion, kGrainTemp, kNotes, kCount };

// clang-format off
inline constexpr auto kMashOpen = [] {
  using namespace nodes;
  using enum MashSlot;
  return Tree<MashSlot>({
    Element("MASH"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("GRAIN_TEMP"), Text(kGrainTemp), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("MASH_STEPS"),
  });
}();
// clang-format on

inline constexpr auto kMashClose = Tree<NoSlot>({nodes::Parent(), nodes::Parent()});

enum class StepSlot : std::uint16_t {
  kName,
  kVersion,
  kType,
  kInfuseAmount,
  kDecoctionAmount,
  kStepTemp,
  kStepTime,
  kRampTime,
  kEndTemp,
  kDescription,
  kWaterGrainRatio,
  kInfuseTemp,
  kCount
};

// clang-format off
inline constexpr auto kStepTable = [] {
  using namespace nodes;
  using enum StepSlot;
  return Tree<StepSlot>({
    Element("MASH_STEP"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("INFUSE_AMOUNT"), Text(kInfuseAmount), Parent(),
      Element("DECOCTION_AMOUNT"), Text(kDecoctionAmount), Parent(),
      Element("STEP_TEMP"), Text(kStepTemp), Parent(),
      Element("STEP_TIME"), Text(kStepTime), Parent(),
      Element("RAMP_TIME"), Text(kRampTime), Parent(),
      Element("END_TEMP"), Text(kEndTemp), Parent(),
      Element("DESCRIPTION"), Text(kDescription), Parent(),
      Element("WATER_GRAIN_RATIO"), Text(kWaterGrainRatio), Parent(),
      Element("INFUSE_TEMP"), Text(kInfuseTemp), Parent(),
    Parent(),
  });
}();
// clang-format on

static_assert(IsBalanced(kStepTable.entries));
static_assert(EndDepth(kMashOpen.entries) + EndDepth(kMashClose.entries) == 0);

/// A mash's values, with what was left out in its notes.
NodeValues<MashSlot> MashValues(const m::Mash& mash, Notes& notes);
/// A step's values; what it cannot say goes in the mash's notes.
NodeValues<StepSlot> StepValues(const m::MashStep& step, Notes& notes);

// A mash with its steps of known kinds. A failed open leaves the cursor where it was: the steps
// and the close are not written then, which would climb out of the mash's container.
class MashWriter {
 public:
  void Write(Walker& walker, const m::Mash& mash);

 private:
  Table<MashSlot, kMashOpen.entries.size()> mash_{kMashOpen};
  Table<StepSlot, kStepTable.entries.size()> step_{kStepTable};
};

}  // namespace kegverter::beerxml1
