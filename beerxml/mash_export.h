// Mash output, shared by the mash schedule exporter and the recipe exporter: the `mash` header
// table that leaves `mash_steps` open, the `step` table, the table that closes the mash, and the
// composer of one step's values. A mash is written as three kinds of walk: MashTable once, then
// MashStepTable once per step (the cursor stays on `mash_steps`), then MashCloseTable, which
// brings the cursor back to the element that holds `mash`.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "beerxml/emitter.h"
#include "beerxml/node_table.h"
#include "source/mash.h"

namespace kegverter {

// The tables are written with the node builders, as the trees they describe.
namespace mash_tables {
using namespace nodes;

/// `mash` with its header elements, ending inside the new `mash_steps`: the table is two levels
/// deep when it ends, so that the steps walked after it land in `mash_steps`.
inline constexpr NodeSpec MashTable[] = {
    Element("mash"),
        Element("name"), Text(), Parent(),
        Element("grain_temperature"), Attribute("degrees"), Text(), Parent(),
        Element("tun_temperature"), Attribute("degrees"), Text(), Parent(),
        Element("sparge_temperature"), Attribute("degrees"), Text(), Parent(),
        Element("pH"), Text(), Parent(),
        Element("tun_weight"), Attribute("mass"), Text(), Parent(),
        Element("tun_specific_heat"), Text(), Parent(),
        Element("adjust_for_equipment"), Text(), Parent(),
        Element("notes"), Text(), Parent(),
        Element("mash_steps"),
};

/// One `step` inside `mash_steps`; balanced. The four optional elements are switched per step by
/// ComposeMashStep.
inline constexpr NodeSpec MashStepTable[] = {
    Element("step"),
        Element("name"), Text(), Parent(),
        Element("type"), Text(), Parent(),
        Element("infuse_amount"), Attribute("volume"), Text(), Parent(),
        Element("step_temperature"), Attribute("degrees"), Text(), Parent(),
        Element("step_time"), Attribute("duration"), Text(), Parent(),
        Element("ramp_time"), Attribute("duration"), Text(), Parent(),
        Element("end_temperature"), Attribute("degrees"), Text(), Parent(),
        Element("description"), Text(), Parent(),
        Element("water_grain_ratio"), Text(), Parent(),
        Element("infuse_temperature"), Attribute("degrees"), Text(), Parent(),
        Element("decoction_amount"), Attribute("volume"), Text(), Parent(),
    Parent(),
};

/// Leaves `mash_steps`, then `mash`.
inline constexpr NodeSpec MashCloseTable[] = {Parent(), Parent()};

}  // namespace mash_tables

using mash_tables::MashCloseTable;
using mash_tables::MashStepTable;
using mash_tables::MashTable;

/// The 13 values of MashTable and the 18 values of MashStepTable, in table order.
using MashView = NodeValues;
using MashStepView = NodeValues;

/// Step kinds as the step slot stores them.
enum MashStepKind : std::int32_t { kInfusionStep = 0, kTemperatureStep = 1, kDecoctionStep = 2 };

/// Mash header elements the source files have no data for; no mash ever holds them.
inline constexpr std::array<std::size_t, 6> kUnwrittenMashElements = {
    ElementEntry(MashTable, "mash/tun_temperature"),
    ElementEntry(MashTable, "mash/sparge_temperature"),
    ElementEntry(MashTable, "mash/pH"),
    ElementEntry(MashTable, "mash/tun_weight"),
    ElementEntry(MashTable, "mash/tun_specific_heat"),
    ElementEntry(MashTable, "mash/adjust_for_equipment"),
};

/// The optional elements of a step, switched by its kind.
inline constexpr std::size_t kInfuseAmountEntry = ElementEntry(MashStepTable, "step/infuse_amount");
inline constexpr std::size_t kWaterGrainRatioEntry =
    ElementEntry(MashStepTable, "step/water_grain_ratio");
inline constexpr std::size_t kInfuseTemperatureEntry =
    ElementEntry(MashStepTable, "step/infuse_temperature");
inline constexpr std::size_t kDecoctionAmountEntry =
    ElementEntry(MashStepTable, "step/decoction_amount");

/// Switches the six unwritten header elements off in a working copy of MashTable.
void SwitchOffUnwrittenMashElements(NodeTable& mash_table);

/// The values of MashTable: the mash name (UTF-8, already widened), the grain temperature
/// already formatted, an empty `notes` and nothing for the six unwritten elements.
MashView ComposeMashHeader(std::string name, std::string grain_temperature);

/// The values of one `step`, and the switches of its optional elements in `step_table` (a working
/// copy of MashStepTable): an infusion writes `infuse_amount`, `water_grain_ratio` and
/// `infuse_temperature`, a decoction `decoction_amount`, a temperature step none of them. A kind
/// above 2 writes its name, temperatures and times, an empty `type` and `description`, and none
/// of the optional elements. `amount` is in quarts; temperatures and times are whole degrees
/// Fahrenheit and minutes.
MashStepView ComposeMashStep(NodeTable& step_table, std::int32_t kind, const NarrowText& name,
                             float amount, std::int32_t step_temperature, std::int32_t step_time,
                             std::int32_t ramp_time, std::int32_t end_temperature,
                             std::int32_t infuse_temperature, float water_grain_ratio);

/// Writes the schedules as the `procedure` list, one `mash` each, to `output_path`. Returns 0.
int ExportMashSchedules(std::span<const MashScheduleRecord> records,
                        const std::string& output_path, ExportRun& run);

}  // namespace kegverter
