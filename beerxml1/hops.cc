#include "beerxml1/hops.h"

namespace kegverter::beerxml1 {

NodeValues<HopSlot> HopVarietyValues(const m::HopVariety& hop) {
  using enum HopSlot;
  NodeValues<HopSlot> v;
  Notes notes(hop.notes);
  v[kName] = Name(hop.name, "Unnamed hop", notes);
  v[kVersion] = std::string(kVersionOne);
  v[kAlpha] = Percent(hop.alpha_acid, "Alpha acid", notes);
  if (hop.beta_acid) v[kBeta] = Percent(*hop.beta_acid, "Beta acid", notes);
  // A variety of the database has no amount and no timing; BeerXML 1.0 requires them.
  v[kAmount] = "0";
  v[kUse] = std::string(kHopAdditionUses[m::HopAdditionUse::kBoil]);
  v[kTime] = "0";
  v[kType] = OptionalWord(m::WordOf(kHopUses, hop.use, "Use", notes));
  v[kHsi] = Percent(hop.percent_lost, "Percent lost", notes);
  v[kOrigin] = hop.origin;
  v[kSubstitutes] = hop.substitutes;
  v[kHumulene] = Percent(hop.humulene, "Humulene", notes);
  v[kCaryophyllene] = Percent(hop.caryophyllene, "Caryophyllene", notes);
  v[kCohumulone] = Percent(hop.cohumulone, "Cohumulone", notes);
  v[kMyrcene] = Percent(hop.myrcene, "Myrcene", notes);
  v[kNotes] = notes.Take();
  return v;
}

NodeValues<HopSlot> HopAdditionValues(const m::HopAddition& hop) {
  using enum HopSlot;
  NodeValues<HopSlot> v;
  Notes notes;
  v[kName] = Name(hop.name, "Unnamed hop", notes);
  v[kVersion] = std::string(kVersionOne);
  v[kAlpha] = Percent(hop.alpha_acid, "Alpha acid", notes);
  if (hop.beta_acid) v[kBeta] = Percent(*hop.beta_acid, "Beta acid", notes);
  v[kAmount] = NotNegative(hop.amount, "Amount", notes);
  v[kUse] = std::string(kHopAdditionUses[hop.use]);
  // TIME is how long the hop is in: for first wort the boil time, for a mash hop the mash time.
  v[kTime] = NotNegative(hop.duration, "Time", notes);
  if (hop.duration_assumed) notes.Add(m::AssumedDurationLine(hop));
  v[kForm] = OptionalWord(m::WordOf(kHopForms, hop.form, "Form", notes));
  v[kOrigin] = hop.origin;
  v[kNotes] = notes.Take();
  return v;
}

}  // namespace kegverter::beerxml1
