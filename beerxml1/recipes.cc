#include "beerxml1/recipes.h"

namespace kegverter::beerxml1 {

NodeValues<RecipeSlot> RecipeValues(const m::Recipe& r) {
  using enum RecipeSlot;
  NodeValues<RecipeSlot> v;
  Notes notes(r.notes);
  v[kName] = Name(r.name, "Unnamed recipe", notes);
  v[kVersion] = std::string(kVersionOne);
  v[kType] = std::string(m::WordOf(kRecipeTypes, r.type, "Recipe type", notes));
  v[kBrewer] = std::string();
  v[kBatchSize] = NotNegative(r.batch_size, "Batch size", notes);
  v[kBoilSize] = NotNegative(r.boil_size, "Boil size", notes);
  v[kBoilTime] = NotNegative(r.boil_time, "Boil time", notes);
  v[kEfficiency] = Percent(r.efficiency, "Efficiency", notes);
  v[kOg] = Gravity(r.original_gravity, "Original gravity", notes);
  v[kEquipmentName] = *v[kName];
  v[kEquipmentVersion] = std::string(kVersionOne);
  v[kEquipmentBoilSize] = v[kBoilSize];
  v[kEquipmentBatchSize] = v[kBatchSize];
  v[kEquipmentBoilTime] = v[kBoilTime];
  // A recipe must name a style; the recipe keeps the style's names but not its ranges, which
  // are written as the widest the format takes rather than made up.
  v[kStyleVersion] = std::string(kVersionOne);
  if (r.style) {
    v[kStyleName] = Name(r.style->name, "No style", notes, "Style name");
    v[kStyleCategory] = r.style->category;
    v[kStyleCategoryNumber] = std::to_string(r.style->category_number);
    v[kStyleLetter] = r.style->style_letter;
    v[kStyleGuide] = r.style->style_guide;
    v[kStyleType] = std::string(m::WordOf(kStyleTypes, r.style->type, "Style type", notes));
  } else {
    v[kStyleName] = "No style";
    v[kStyleCategory] = std::string();
    v[kStyleCategoryNumber] = std::string();
    v[kStyleLetter] = std::string();
    v[kStyleGuide] = std::string();
    v[kStyleType] = std::string(kStyleTypes[m::StyleType::kAle]);
  }
  v[kStyleOgMin] = Decimal(0.9);
  v[kStyleOgMax] = Decimal(2.0);
  v[kStyleFgMin] = Decimal(0.9);
  v[kStyleFgMax] = Decimal(2.0);
  v[kStyleIbuMin] = "0";
  v[kStyleIbuMax] = Decimal(5000);
  v[kStyleColorMin] = "0";
  v[kStyleColorMax] = Decimal(300);
  notes.Add(m::EstimatedBitternessLine(r));
  v[kNotes] = notes.Take();
  return v;
}

void RecipeWriter::Write(Walker& walker, const m::Recipe& r) {
  const DomNode before = walker.cursor();
  recipe_.Walk(walker, RecipeValues(r));
  if (walker.cursor() == before) return;
  for (const m::FermentableAddition& f : r.fermentables) {
    fermentable_.Walk(walker, FermentableValues(f.fermentable, &f.amount));
  }
  walker.Walk(kToHops);
  for (const m::HopAddition& hop : r.hops) hop_.Walk(walker, HopAdditionValues(hop));
  walker.Walk(kToMiscs);
  for (const m::MiscAddition& misc : r.miscs) misc_.Walk(walker, MiscAdditionValues(misc));
  walker.Walk(kToYeasts);
  if (r.culture) yeast_.Walk(walker, YeastValues(r.culture->culture, &r.culture->amount));
  walker.Walk(kToWaters);
  if (r.water) water_.Walk(walker, WaterValues(r.water->water, &r.water->amount));
  walker.Walk(kCloseList);
  // Importers want a mash in every recipe: an extract recipe gets one without steps.
  if (r.mash) {
    mash_.Write(walker, *r.mash);
  } else {
    mash_.Write(walker, m::Mash{"No mash", {0, m::Unit::kCelsius}, {}});
  }
  walker.Walk(kCloseRecipe);
}

}  // namespace kegverter::beerxml1
