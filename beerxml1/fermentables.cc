#include "beerxml1/fermentables.h"

namespace kegverter::beerxml1 {

namespace {

// BeerXML 1.0 has no potential: the yield stands for it, and importers compute gravities from
// it. A fermentable without a stored yield gets the yield of its potential, as a share of the
// potential of sucrose (1.046214), the notes saying so.
constexpr double kSucrosePoints = 0.046214;

std::string Yield(const m::Fermentable& f, Notes& notes) {
  const double potential = AsShown(f.potential.value);
  if (f.fine_grind_yield.value > 0 || !(potential > 1)) {
    notes.Add("Potential: " + MetricText(f.potential) + " SG");
    return Percent(f.fine_grind_yield, "Fine grind yield", notes);
  }
  notes.Add("Yield derived from potential " + MetricText(f.potential) + " SG");
  return Bounded({(potential - 1) / kSucrosePoints * 100, m::Unit::kPercent}, 0, 100,
                 "Yield derived from potential", notes);
}

}  // namespace

NodeValues<FermentableSlot> FermentableValues(const m::Fermentable& f, const m::Quantity* amount) {
  using enum FermentableSlot;
  NodeValues<FermentableSlot> v;
  Notes notes(f.notes);
  v[kName] = Name(f.name, "Unnamed fermentable", notes);
  v[kVersion] = std::string(kVersionOne);
  v[kType] = std::string(m::WordOf(kFermentableTypes, f.type, "Type", notes));
  // A fermentable of the database has no amount; BeerXML 1.0 requires one.
  v[kAmount] = amount ? NotNegative(*amount, "Amount", notes) : "0";
  v[kYield] = Yield(f, notes);
  v[kColor] = NotNegative(f.color, "Color", notes);
  v[kOrigin] = f.origin;
  v[kSupplier] = f.supplier;
  v[kCoarseFineDiff] = Percent(f.coarse_fine_difference, "Coarse/fine difference", notes);
  v[kMoisture] = Percent(f.moisture, "Moisture", notes);
  v[kDiastaticPower] = NotNegative(f.diastatic_power, "Diastatic power", notes);
  v[kProtein] = Percent(f.protein, "Protein", notes);
  v[kMaxInBatch] = Percent(f.max_in_batch, "Max in batch", notes);
  v[kRecommendMash] = Bool(f.recommend_mash);
  if (!amount) v[kInventory] = MetricText(f.inventory);
  v[kNotes] = notes.Take();
  return v;
}

}  // namespace kegverter::beerxml1
