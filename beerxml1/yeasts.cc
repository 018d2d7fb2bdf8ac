#include "beerxml1/yeasts.h"

namespace kegverter::beerxml1 {

NodeValues<YeastSlot> YeastValues(const m::Culture& c, const m::Quantity* amount) {
  using enum YeastSlot;
  NodeValues<YeastSlot> v;
  Notes notes(c.notes);
  v[kName] = Name(c.name, "Unnamed yeast", notes);
  v[kVersion] = std::string(kVersionOne);
  v[kType] = std::string(m::WordOf(kCultureTypes, c.type, "Type", notes));
  v[kForm] = std::string(m::WordOf(kCultureForms, c.form, "Form", notes));
  // A recipe keeps no yeast quantity; a database none at all.
  v[kAmount] = amount ? NotNegative(*amount, "Amount", notes) : "0";
  v[kAmountIsWeight] = Bool(c.form.meaning == m::CultureForm::kDry);
  v[kLaboratory] = c.laboratory;
  v[kProductId] = c.product_id;
  // One stored temperature is both ends of the range: named once when it is held to a bound.
  v[kMinTemperature] = Celsius(c.temperature.minimum, "Temperature", notes);
  Notes once;
  v[kMaxTemperature] = Celsius(c.temperature.maximum, "Temperature", once);
  v[kFlocculation] = OptionalWord(m::WordOf(kFlocculations, c.flocculation, "Flocculation", notes));
  v[kAttenuation] = Percent(c.attenuation_mean, "Attenuation", notes);
  v[kBestFor] = c.best_for;
  v[kNotes] = notes.Take();
  return v;
}

}  // namespace kegverter::beerxml1
