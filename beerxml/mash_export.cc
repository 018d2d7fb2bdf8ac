#include "beerxml/mash_export.h"

#include <cstdio>
#include <utility>

#include "beerxml/format.h"
#include "source/text.h"

namespace kegverter {

namespace {

static_assert(std::size(MashTable) == 33 && ValueCount(MashTable) == 13 && EndDepth(MashTable) == 2);
static_assert(std::size(MashStepTable) == 42 && ValueCount(MashStepTable) == 18 &&
              IsBalanced(MashStepTable));
static_assert(std::size(MashCloseTable) == 2 && ValueCount(MashCloseTable) == 0 &&
              EndDepth(MashCloseTable) == -2);

// Value positions of MashTable.
enum MashValue : std::size_t {
  kMashName = 0,
  kGrainDegrees = 1,
  kGrainTemperature = 2,
  kMashNotes = 12,
};

// Value positions of MashStepTable.
enum StepValue : std::size_t {
  kStepName,
  kStepType,
  kInfuseVolume,
  kInfuseAmount,
  kStepDegrees,
  kStepTemperature,
  kStepDuration,
  kStepTime,
  kRampDuration,
  kRampTime,
  kEndDegrees,
  kEndTemperature,
  kDescription,
  kWaterGrainRatio,
  kInfuseDegrees,
  kInfuseTemperature,
  kDecoctionVolume,
  kDecoctionAmount,
  kStepValueCount,
};
static_assert(kStepValueCount == ValueCount(MashStepTable));

static_assert(kInfuseAmountEntry != kNoEntry && kWaterGrainRatioEntry != kNoEntry &&
              kInfuseTemperatureEntry != kNoEntry && kDecoctionAmountEntry != kNoEntry);

// Words of the step kinds, indexed by kind.
constexpr const char* kStepTypeWords[] = {"infusion", "temperature", "decoction"};

constexpr const char* kFahrenheit = "F";
constexpr const char* kMinutes = "min";
constexpr const char* kQuarts = "qt";

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

void SwitchOffUnwrittenMashElements(NodeTable& mash_table) {
  for (const std::size_t entry : kUnwrittenMashElements) mash_table.Switch(entry, false);
}

MashView ComposeMashHeader(std::string name, std::string grain_temperature) {
  MashView values(ValueCount(MashTable));
  values[kMashName] = std::move(name);
  values[kGrainDegrees] = kFahrenheit;
  values[kGrainTemperature] = std::move(grain_temperature);
  values[kMashNotes] = std::string();  // present, so `notes` is written empty
  return values;
}

MashStepView ComposeMashStep(NodeTable& step_table, std::int32_t kind, const NarrowText& name,
                             float amount, std::int32_t step_temperature, std::int32_t step_time,
                             std::int32_t ramp_time, std::int32_t end_temperature,
                             std::int32_t infuse_temperature, float water_grain_ratio) {
  MashStepView v(kStepValueCount);
  v[kStepName] = WidenText(name);
  v[kStepDegrees] = kFahrenheit;
  v[kStepTemperature] = FormatIntDecimal(step_temperature);
  v[kStepDuration] = kMinutes;
  v[kStepTime] = FormatIntDecimal(step_time);
  v[kRampDuration] = kMinutes;
  v[kRampTime] = FormatIntDecimal(ramp_time);
  v[kEndDegrees] = kFahrenheit;
  v[kEndTemperature] = FormatIntDecimal(end_temperature);

  const bool infusion = kind == kInfusionStep;
  const bool decoction = kind == kDecoctionStep;
  if (kind >= 0 && kind < static_cast<std::int32_t>(std::size(kStepTypeWords))) {
    v[kStepType] = kStepTypeWords[kind];
  }
  if (infusion) {
    v[kInfuseVolume] = kQuarts;
    v[kInfuseAmount] = FormatFixed(amount, 2);
    v[kWaterGrainRatio] = FormatFixed(water_grain_ratio, 2);
    v[kInfuseDegrees] = kFahrenheit;
    v[kInfuseTemperature] = FormatIntDecimal(infuse_temperature);
    v[kDescription] = Sentence(kInfusionSentence, v[kInfuseAmount], v[kInfuseVolume],
                               v[kInfuseTemperature], v[kInfuseDegrees]);
  } else if (kind == kTemperatureStep) {
    v[kDescription] = Sentence(kTemperatureSentence, v[kEndTemperature], v[kEndDegrees],
                               v[kRampTime], v[kRampDuration]);
  } else if (decoction) {
    v[kDecoctionVolume] = kQuarts;
    v[kDecoctionAmount] = FormatFixed(amount, 2);
    v[kDescription] = Sentence(kDecoctionSentence, v[kDecoctionAmount], v[kDecoctionVolume]);
  }

  step_table.Switch(kInfuseAmountEntry, infusion);
  step_table.Switch(kWaterGrainRatioEntry, infusion);
  step_table.Switch(kInfuseTemperatureEntry, infusion);
  step_table.Switch(kDecoctionAmountEntry, decoction);
  return v;
}

int ExportMashSchedules(std::span<const MashScheduleRecord> records,
                        const std::string& output_path, ExportRun& run) {
  NodeTable mash_table(MashTable);
  SwitchOffUnwrittenMashElements(mash_table);
  NodeTable step_table(MashStepTable);
  RunExporter("procedure", output_path, run, [&](DomDocument* document, DomNode& cursor) {
    for (const MashScheduleRecord& schedule : records) {
      const DomNode list = cursor;
      const MashView header =
          ComposeMashHeader(WidenText(schedule.name), FormatFixed(schedule.grain_temperature, 1));
      if (!EmitNodeTable(document, cursor, mash_table.entries(), header, run)) break;
      // A failed header walk leaves the cursor on the list: there is no `mash_steps` for the
      // steps, and closing would climb out of the list.
      if (cursor == list) continue;
      for (const MashStepRecord& step : schedule.steps) {
        const MashStepView values = ComposeMashStep(
            step_table, step.type, step.name, step.step_amount, step.step_temperature,
            step.step_time, step.ramp_time, step.end_temperature, step.infuse_temperature,
            step.water_grain_ratio);
        if (!EmitNodeTable(document, cursor, step_table.entries(), values, run)) break;
      }
      if (!EmitNodeTable(document, cursor, MashCloseTable, {}, run)) break;
      // A failed close leaves the cursor inside this mash; the next one belongs beside it.
      cursor = list;
    }
  });
  return 0;
}

}  // namespace kegverter
