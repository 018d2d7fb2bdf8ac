// The procedure list (from a '.msh' file), and the mash a recipe writes the same way: the `mash`
// header table that leaves `mash_steps` open, the `step` table, the table that closes the mash,
// and the composer of one step's values. A mash is written as three kinds of walk:
// kMashTable once, then kMashStepTable once per step (the cursor stays on `mash_steps`), then
// kMashCloseTable, which brings the cursor back to the element that holds `mash`.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "document/emitter.h"
#include "document/node_table.h"
#include "model/brewing.h"
#include "output/document_writer.h"
#include "source/mash.h"

namespace kegverter {

enum class MashSlot : std::uint16_t {
  kName,
  kGrainTemperatureUnit,
  kGrainTemperature,
  kTunTemperatureUnit,
  kTunTemperature,
  kSpargeTemperatureUnit,
  kSpargeTemperature,
  kPh,
  kTunWeightUnit,
  kTunWeight,
  kTunSpecificHeat,
  kAdjustForEquipment,
  kNotes,
  kCount
};

enum class MashStepSlot : std::uint16_t {
  kName,
  kType,
  kInfuseAmountUnit,
  kInfuseAmount,
  kStepTemperatureUnit,
  kStepTemperature,
  kStepTimeUnit,
  kStepTime,
  kRampTimeUnit,
  kRampTime,
  kEndTemperatureUnit,
  kEndTemperature,
  kDescription,
  kWaterGrainRatio,
  kInfuseTemperatureUnit,
  kInfuseTemperature,
  kDecoctionAmountUnit,
  kDecoctionAmount,
  kCount
};

// clang-format off
/// `mash` with its header elements, ending inside the new `mash_steps`: the table is two levels
/// deep when it ends, so that the steps walked after it land in `mash_steps`.
inline constexpr auto kMashTable = [] {
  using namespace nodes;
  using enum MashSlot;
  return Tree<MashSlot>({
    Element("mash"),
        Element("name"), Text(kName), Parent(),
        Element("grain_temperature"), Attribute("degrees", kGrainTemperatureUnit),
            Text(kGrainTemperature), Parent(),
        Element("tun_temperature"), Attribute("degrees", kTunTemperatureUnit),
            Text(kTunTemperature), Parent(),
        Element("sparge_temperature"), Attribute("degrees", kSpargeTemperatureUnit),
            Text(kSpargeTemperature), Parent(),
        Element("pH"), Text(kPh), Parent(),
        Element("tun_weight"), Attribute("mass", kTunWeightUnit), Text(kTunWeight), Parent(),
        Element("tun_specific_heat"), Text(kTunSpecificHeat), Parent(),
        Element("adjust_for_equipment"), Text(kAdjustForEquipment), Parent(),
        Element("notes"), Text(kNotes), Parent(),
        Element("mash_steps"),
  });
}();

/// One `step` inside `mash_steps`; balanced. The four optional elements are switched per step by
/// ComposeMashStep.
inline constexpr auto kMashStepTable = [] {
  using namespace nodes;
  using enum MashStepSlot;
  return Tree<MashStepSlot>({
    Element("step"),
        Element("name"), Text(kName), Parent(),
        Element("type"), Text(kType), Parent(),
        Element("infuse_amount"), Attribute("volume", kInfuseAmountUnit), Text(kInfuseAmount),
            Parent(),
        Element("step_temperature"), Attribute("degrees", kStepTemperatureUnit),
            Text(kStepTemperature), Parent(),
        Element("step_time"), Attribute("duration", kStepTimeUnit), Text(kStepTime), Parent(),
        Element("ramp_time"), Attribute("duration", kRampTimeUnit), Text(kRampTime), Parent(),
        Element("end_temperature"), Attribute("degrees", kEndTemperatureUnit),
            Text(kEndTemperature), Parent(),
        Element("description"), Text(kDescription), Parent(),
        Element("water_grain_ratio"), Text(kWaterGrainRatio), Parent(),
        Element("infuse_temperature"), Attribute("degrees", kInfuseTemperatureUnit),
            Text(kInfuseTemperature), Parent(),
        Element("decoction_amount"), Attribute("volume", kDecoctionAmountUnit),
            Text(kDecoctionAmount), Parent(),
    Parent(),
  });
}();

/// Leaves `mash_steps`, then `mash`.
inline constexpr auto kMashCloseTable = Tree<NoSlot>({nodes::Parent(), nodes::Parent()});
// clang-format on

/// Mash header elements the source files have no data for; no mash ever holds them.
inline constexpr std::array<std::size_t, 6> kUnwrittenMashElements = {
    kMashTable.ElementAt("mash/tun_temperature"),
    kMashTable.ElementAt("mash/sparge_temperature"),
    kMashTable.ElementAt("mash/pH"),
    kMashTable.ElementAt("mash/tun_weight"),
    kMashTable.ElementAt("mash/tun_specific_heat"),
    kMashTable.ElementAt("mash/adjust_for_equipment"),
};

/// The optional elements of a step, switched by its kind.
inline constexpr std::size_t kInfuseAmountEntry = kMashStepTable.ElementAt("step/infuse_amount");
inline constexpr std::size_t kWaterGrainRatioEntry =
    kMashStepTable.ElementAt("step/water_grain_ratio");
inline constexpr std::size_t kInfuseTemperatureEntry =
    kMashStepTable.ElementAt("step/infuse_temperature");
inline constexpr std::size_t kDecoctionAmountEntry =
    kMashStepTable.ElementAt("step/decoction_amount");

/// Switches the six unwritten header elements off in a working copy of kMashTable.
void SwitchOffUnwrittenMashElements(NodeTable<MashSlot>& mash_table);

/// The values of kMashTable for `mash` (a schedule's or a recipe's, as the model derives it): its
/// name, its grain temperature with one decimal (a whole number of degrees shows as "60.0"), an
/// empty `notes` and nothing for the six unwritten elements.
NodeValues<MashSlot> ComposeMashHeader(const model::Mash& mash);

/// The values of one `step`, and the switches of its optional elements in `step_table` (a working
/// copy of kMashStepTable): an infusion writes `infuse_amount`, `water_grain_ratio` and
/// `infuse_temperature`, a decoction `decoction_amount`, a temperature step none of them. A step
/// of a kind without a meaning writes its name, temperatures and times, an empty `type` and
/// `description`, and none of the optional elements.
NodeValues<MashStepSlot> ComposeMashStep(const model::MashStep& step,
                                         NodeTable<MashStepSlot>& step_table);

/// Begins a document of that list, written into `run`.
std::unique_ptr<DocumentWriter> BeginMashList(ExportRun& run);

}  // namespace kegverter
