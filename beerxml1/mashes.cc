#include "beerxml1/mashes.h"

#include <vector>

namespace kegverter::beerxml1 {

// A mash's steps of a known kind, and the mash's values with what was left out in its notes.
NodeValues<MashSlot> MashValues(const m::Mash& mash, Notes& notes) {
  using enum MashSlot;
  NodeValues<MashSlot> v;
  v[kName] = LineName(mash.name, "Name", notes);
  v[kVersion] = std::string(kVersionOne);
  v[kGrainTemp] = Celsius(mash.grain_temperature, "Grain temperature", notes);
  for (const m::MashStep& step : mash.steps) {
    if (!step.kind.known()) {
      notes.Add(m::LeftOutStepLine(step));
    }
  }
  return v;
}

NodeValues<StepSlot> StepValues(const m::MashStep& step, Notes& notes) {
  using enum StepSlot;
  NodeValues<StepSlot> v;
  const std::string name = OneLine(step.name);
  const std::string who = "Step \"" + name + "\" ";
  v[kName] = LineName(step.name, who + "name", notes);
  v[kVersion] = std::string(kVersionOne);
  v[kType] = std::string(kStepKinds[step.kind.meaning]);
  if (step.kind.meaning == m::MashStepKind::kInfusion) {
    // An infusion names its water; the 1.0 text requires it.
    v[kInfuseAmount] = step.amount ? NotNegative(*step.amount, who + "amount", notes) : "0";
  } else if (step.kind.meaning == m::MashStepKind::kDecoction && step.amount) {
    v[kDecoctionAmount] = NotNegative(*step.amount, who + "amount", notes);
  }
  v[kStepTemp] = Celsius(step.step_temperature, who + "temperature", notes);
  v[kStepTime] = NotNegative(step.step_time, who + "time", notes);
  v[kRampTime] = NotNegative(step.ramp_time, who + "ramp time", notes);
  v[kEndTemp] = Celsius(step.end_temperature, who + "end temperature", notes);
  v[kDescription] = step.description;
  if (step.water_grain_ratio) v[kWaterGrainRatio] = MetricText(*step.water_grain_ratio) + " L/kg";
  if (step.infuse_temperature) v[kInfuseTemp] = MetricText(*step.infuse_temperature) + " C";
  return v;
}

void MashWriter::Write(Walker& walker, const m::Mash& mash) {
  Notes notes;
  NodeValues<MashSlot> values = MashValues(mash, notes);
  std::vector<NodeValues<StepSlot>> steps;
  for (const m::MashStep& step : mash.steps) {
    if (step.kind.known()) steps.push_back(StepValues(step, notes));
  }
  if (!notes.text().empty()) values[MashSlot::kNotes] = notes.Take();
  const DomNode before = walker.cursor();
  mash_.Walk(walker, values);
  if (walker.cursor() == before) return;
  for (const NodeValues<StepSlot>& step : steps) step_.Walk(walker, step);
  walker.Walk(kMashClose);
}

}  // namespace kegverter::beerxml1
