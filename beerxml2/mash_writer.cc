#include "beerxml2/mash_writer.h"

#include <optional>
#include <string>

#include "beerxml2/list_writer.h"
#include "beerxml2/units.h"
#include "document/format.h"
#include "model/from_source.h"
#include "model/words.h"

namespace kegverter {

namespace {

static_assert(EndDepth(kMashTable.entries) == 2);
static_assert(IsBalanced(kMashStepTable.entries));
static_assert(EndDepth(kMashCloseTable.entries) == -2);

// The words of the step kinds.
constexpr model::Words<model::MashStepKind> kStepTypeWords{"", "infusion", "temperature",
                                                           "decoction"};

// An integer temperature or time is written as "%d.0", the .msh grain temperature as "%01.1f":
// both are one decimal of the value.
std::string OneDecimal(const model::Quantity& quantity) { return FormatFixed(quantity.value, 1); }

// Amounts and the water-to-grain ratio, "%01.2f"; the model holds them for the kinds that have
// them.
std::string TwoDecimals(const std::optional<model::Quantity>& quantity) {
  return FormatFixed(quantity ? quantity->value : 0.0, 2);
}

}  // namespace

void SwitchOffUnwrittenMashElements(NodeTable<MashSlot>& mash_table) {
  for (const std::size_t entry : kUnwrittenMashElements) mash_table.Switch(entry, false);
}

NodeValues<MashSlot> ComposeMashHeader(const model::Mash& mash) {
  using enum MashSlot;
  NodeValues<MashSlot> v;
  v[kName] = mash.name;
  v[kGrainTemperatureUnit] = units::kFahrenheit;
  v[kGrainTemperature] = OneDecimal(mash.grain_temperature);
  v[kNotes] = std::string();  // present, so `notes` is written empty
  return v;
}

NodeValues<MashStepSlot> ComposeMashStep(const model::MashStep& step,
                                         NodeTable<MashStepSlot>& step_table) {
  using enum MashStepSlot;
  using model::MashStepKind;
  NodeValues<MashStepSlot> v;
  v[kName] = step.name;
  v[kStepTemperatureUnit] = units::kFahrenheit;
  v[kStepTemperature] = OneDecimal(step.step_temperature);
  v[kStepTimeUnit] = units::kMinutes;
  v[kStepTime] = OneDecimal(step.step_time);
  v[kRampTimeUnit] = units::kMinutes;
  v[kRampTime] = OneDecimal(step.ramp_time);
  v[kEndTemperatureUnit] = units::kFahrenheit;
  v[kEndTemperature] = OneDecimal(step.end_temperature);

  const bool infusion = step.kind.meaning == MashStepKind::kInfusion;
  const bool decoction = step.kind.meaning == MashStepKind::kDecoction;
  if (step.kind.known()) {
    v[kType] = std::string(kStepTypeWords[step.kind.meaning]);
    v[kDescription] = step.description;
  }
  if (infusion) {
    v[kInfuseAmountUnit] = units::kQuarts;
    v[kInfuseAmount] = TwoDecimals(step.amount);
    v[kWaterGrainRatio] = TwoDecimals(step.water_grain_ratio);
    v[kInfuseTemperatureUnit] = units::kFahrenheit;
    v[kInfuseTemperature] = OneDecimal(step.infuse_temperature.value_or(model::Quantity{}));
  } else if (decoction) {
    v[kDecoctionAmountUnit] = units::kQuarts;
    v[kDecoctionAmount] = TwoDecimals(step.amount);
  }

  step_table.Switch(kInfuseAmountEntry, infusion);
  step_table.Switch(kWaterGrainRatioEntry, infusion);
  step_table.Switch(kInfuseTemperatureEntry, infusion);
  step_table.Switch(kDecoctionAmountEntry, decoction);
  return v;
}

namespace {

class MashList final : public BeerXml2List<model::Mash> {
 public:
  explicit MashList(ExportRun& run) : BeerXml2List(run) {
    SwitchOffUnwrittenMashElements(mash_table_);
  }

 private:
  void WriteRecord(DomDocument* document, DomNode& cursor, const model::Mash& mash,
                   ExportRun& run) override {
    const DomNode list = cursor;
    EmitNodeTable(document, cursor, mash_table_, ComposeMashHeader(mash), run);
    // A failed header walk leaves the cursor on the list: there is no `mash_steps` for the
    // steps, and closing would climb out of the list.
    if (cursor == list) return;
    for (const model::MashStep& step : mash.steps) {
      EmitNodeTable(document, cursor, step_table_, ComposeMashStep(step, step_table_), run);
    }
    EmitNodeTable(document, cursor, kMashCloseTable, run);
    // A failed close leaves the cursor inside this mash; the next one belongs beside it.
    cursor = list;
  }

  NodeTable<MashSlot> mash_table_{kMashTable};
  NodeTable<MashStepSlot> step_table_{kMashStepTable};
};

}  // namespace

std::unique_ptr<DocumentWriter> BeginMashList(ExportRun& run) {
  return std::make_unique<MashList>(run);
}

}  // namespace kegverter
