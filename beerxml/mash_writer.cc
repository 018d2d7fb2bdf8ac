#include "beerxml/mash_writer.h"

#include <cstdio>
#include <utility>

#include "beerxml/format.h"
#include "beerxml/units.h"
#include "source/text.h"

namespace kegverter {

namespace {

static_assert(EndDepth(kMashTable.entries) == 2);
static_assert(IsBalanced(kMashStepTable.entries));
static_assert(EndDepth(kMashCloseTable.entries) == -2);

// Words of the step kinds, indexed by kind.
constexpr const char* kStepTypeWords[] = {"infusion", "temperature", "decoction"};

// What the brewer does in each kind of step, filled with the step's own value texts.
constexpr const char* kInfusionSentence = "Add %s %s of water at %s %s";
constexpr const char* kTemperatureSentence = "Heat to %s %s over %s %s";
constexpr const char* kDecoctionSentence = "Decoct %s %s of mash and boil it";

// A sentence from its format and the texts it inserts unchanged, sized to fit.
template <class... Parts>
std::string Sentence(const char* format, const Parts&... parts) {
  const int length = std::snprintf(nullptr, 0, format, parts->c_str()...);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, parts->c_str()...);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

MashStep MashStepOf(const MashStepRecord& record) {
  MashStep step;
  step.kind = record.type;
  if (record.name) step.name = *record.name;
  step.amount = record.step_amount;
  step.step_temperature = record.step_temperature;
  step.step_time = record.step_time;
  step.ramp_time = record.ramp_time;
  step.end_temperature = record.end_temperature;
  step.infuse_temperature = record.infuse_temperature;
  step.water_grain_ratio = record.water_grain_ratio;
  return step;
}

void SwitchOffUnwrittenMashElements(NodeTable<MashSlot>& mash_table) {
  for (const std::size_t entry : kUnwrittenMashElements) mash_table.Switch(entry, false);
}

NodeValues<MashSlot> ComposeMashHeader(std::string name, std::string grain_temperature) {
  using enum MashSlot;
  NodeValues<MashSlot> v;
  v[kName] = std::move(name);
  v[kGrainTemperatureUnit] = units::kFahrenheit;
  v[kGrainTemperature] = std::move(grain_temperature);
  v[kNotes] = std::string();  // present, so `notes` is written empty
  return v;
}

NodeValues<MashStepSlot> ComposeMashStep(const MashStep& step,
                                         NodeTable<MashStepSlot>& step_table) {
  using enum MashStepSlot;
  NodeValues<MashStepSlot> v;
  v[kName] = WidenText(step.name);
  v[kStepTemperatureUnit] = units::kFahrenheit;
  v[kStepTemperature] = FormatIntDecimal(step.step_temperature);
  v[kStepTimeUnit] = units::kMinutes;
  v[kStepTime] = FormatIntDecimal(step.step_time);
  v[kRampTimeUnit] = units::kMinutes;
  v[kRampTime] = FormatIntDecimal(step.ramp_time);
  v[kEndTemperatureUnit] = units::kFahrenheit;
  v[kEndTemperature] = FormatIntDecimal(step.end_temperature);

  const bool infusion = step.kind == kInfusionStep;
  const bool decoction = step.kind == kDecoctionStep;
  if (step.kind >= 0 && step.kind < static_cast<std::int32_t>(std::size(kStepTypeWords))) {
    v[kType] = kStepTypeWords[step.kind];
  }
  if (infusion) {
    v[kInfuseAmountUnit] = units::kQuarts;
    v[kInfuseAmount] = FormatFixed(step.amount, 2);
    v[kWaterGrainRatio] = FormatFixed(step.water_grain_ratio, 2);
    v[kInfuseTemperatureUnit] = units::kFahrenheit;
    v[kInfuseTemperature] = FormatIntDecimal(step.infuse_temperature);
    v[kDescription] = Sentence(kInfusionSentence, v[kInfuseAmount], v[kInfuseAmountUnit],
                               v[kInfuseTemperature], v[kInfuseTemperatureUnit]);
  } else if (step.kind == kTemperatureStep) {
    v[kDescription] = Sentence(kTemperatureSentence, v[kEndTemperature], v[kEndTemperatureUnit],
                               v[kRampTime], v[kRampTimeUnit]);
  } else if (decoction) {
    v[kDecoctionAmountUnit] = units::kQuarts;
    v[kDecoctionAmount] = FormatFixed(step.amount, 2);
    v[kDescription] = Sentence(kDecoctionSentence, v[kDecoctionAmount], v[kDecoctionAmountUnit]);
  }

  step_table.Switch(kInfuseAmountEntry, infusion);
  step_table.Switch(kWaterGrainRatioEntry, infusion);
  step_table.Switch(kInfuseTemperatureEntry, infusion);
  step_table.Switch(kDecoctionAmountEntry, decoction);
  return v;
}

void ExportMashSchedules(std::span<const MashScheduleRecord> records,
                         const std::string& output_path, ExportRun& run) {
  NodeTable mash_table(kMashTable);
  SwitchOffUnwrittenMashElements(mash_table);
  NodeTable step_table(kMashStepTable);
  RunExporter("procedure", output_path, run, [&](DomDocument* document, DomNode& cursor) {
    for (const MashScheduleRecord& schedule : records) {
      const DomNode list = cursor;
      EmitNodeTable(
          document, cursor, mash_table,
          ComposeMashHeader(WidenText(schedule.name), FormatFixed(schedule.grain_temperature, 1)),
          run);
      // A failed header walk leaves the cursor on the list: there is no `mash_steps` for the
      // steps, and closing would climb out of the list.
      if (cursor == list) continue;
      for (const MashStepRecord& step : schedule.steps) {
        EmitNodeTable(document, cursor, step_table, ComposeMashStep(MashStepOf(step), step_table),
                      run);
      }
      EmitNodeTable(document, cursor, kMashCloseTable, run);
      // A failed close leaves the cursor inside this mash; the next one belongs beside it.
      cursor = list;
    }
  });
}

}  // namespace kegverter
