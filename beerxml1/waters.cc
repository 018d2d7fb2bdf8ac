#include "beerxml1/waters.h"

namespace kegverter::beerxml1 {

NodeValues<WaterSlot> WaterValues(const m::Water& w, const m::Quantity* amount) {
  using enum WaterSlot;
  NodeValues<WaterSlot> v;
  Notes notes(w.notes);
  v[kName] = Name(w.name, "Unnamed water", notes);
  v[kVersion] = std::string(kVersionOne);
  // A profile of a database has no amount; BeerXML 1.0 requires one.
  v[kAmount] = amount ? NotNegative(*amount, "Amount", notes) : "0";
  v[kCalcium] = MetricText(w.calcium);
  v[kBicarbonate] = MetricText(w.bicarbonate);
  v[kSulfate] = MetricText(w.sulfate);
  v[kChloride] = MetricText(w.chloride);
  v[kSodium] = MetricText(w.sodium);
  v[kMagnesium] = MetricText(w.magnesium);
  v[kPh] = Ph(w.ph, notes);
  v[kNotes] = notes.Take();
  return v;
}

}  // namespace kegverter::beerxml1
