// The items of a recipe's ingredient lists: the amounts the recipe uses and a few of the
// database fields that lead each addition.
#include <string>
#include <string_view>

#include "beerxml2/malt_writer.h"
#include "beerxml2/recipe_writer.h"
#include "beerxml2/units.h"
#include "beerxml2/values.h"
#include "beerxml2/water_writer.h"
#include "beerxml2/yeast_writer.h"
#include "document/format.h"
#include "model/from_source.h"
#include "model/words.h"

namespace kegverter {

namespace {

// The form of a recipe's hop.
constexpr model::Words<model::HopForm> kHopForms{"", "leaf", "plug", "pellet"};

}  // namespace

NodeValues<RecipeFermentableSlot> RecipeFermentableValues(
    const model::FermentableAddition& addition) {
  using enum RecipeFermentableSlot;
  const model::Fermentable& fermentable = addition.fermentable;
  NodeValues<RecipeFermentableSlot> v;
  v[kName] = fermentable.name;
  v[kType] = Word(kFermentableTypeWords, fermentable.type.meaning);
  v[kColorScale] = units::kLovibond;
  v[kColor] = FormatFixed(fermentable.color.value, 1);
  v[kOrigin] = fermentable.origin;
  v[kAmountUnit] = units::kPounds;
  v[kAmount] = FormatFixed(addition.amount.value, 3);
  return v;
}

NodeValues<RecipeHopSlot> RecipeHopValues(const model::HopAddition& hop) {
  using enum RecipeHopSlot;
  const std::string_view form = kHopForms[hop.form.meaning];
  NodeValues<RecipeHopSlot> v;
  v[kName] = hop.name;
  v[kOrigin] = hop.origin;
  v[kAlphaAcid] = FormatFixed(hop.alpha_acid.value, 2);  // the alpha acid this recipe used
  if (hop.beta_acid) v[kBetaAcid] = FormatFixed(hop.beta_acid->value, 2);
  if (!form.empty()) v[kForm] = std::string(form);
  v[kUse] = std::string(model::kApplicationHopUses[hop.use]);
  v[kAmountUnit] = units::kOunces;
  v[kAmount] = FormatFixed(hop.amount.value, 2);
  // The application's own timing: 40 minutes for first wort, 90 for a mash hop.
  v[kTimeUnit] = hop.time.unit == model::Unit::kDay ? units::kDays : units::kMinutes;
  v[kTime] = FormatFixed(hop.time.value, 1);
  return v;
}

NodeValues<RecipeMiscSlot> RecipeMiscValues(const model::MiscAddition& misc,
                                            const MiscAmount& amount) {
  using enum RecipeMiscSlot;
  NodeValues<RecipeMiscSlot> v;
  v[kName] = misc.name;
  v[kType] = Word(model::kApplicationMiscTypes, misc.type.meaning);
  v[kUse] = Word(kMiscUseWords, misc.use.meaning);
  PutMiscAmount(v, amount);
  // An addition has no time of its own: the ingredient's suggested time applies.
  if (misc.time)
    v[kTimeUnit] = misc.time->unit == model::Unit::kDay ? units::kDays : units::kMinutes;
  v[kTime] = FormatIntDecimal(misc.stored_time);
  return v;
}

NodeValues<RecipeYeastSlot> RecipeYeastValues(const model::Culture& yeast) {
  using enum RecipeYeastSlot;
  NodeValues<RecipeYeastSlot> v;
  v[kName] = yeast.name;
  v[kType] = Word(kCultureTypeWords, yeast.type.meaning);
  v[kForm] = Word(kCultureFormWords, yeast.form.meaning);
  v[kLaboratory] = yeast.laboratory;
  v[kProductId] = yeast.product_id;
  // The recipe holds no yeast quantity: the amount is written as zero in the form's unit.
  if (yeast.form.meaning == model::CultureForm::kDry) {
    v[kMassUnit] = units::kGrams;
    v[kMass] = FormatFixed(0, 1);
  } else {
    v[kVolumeUnit] = units::kMillilitres;
    v[kVolume] = FormatFixed(0, 1);
  }
  return v;
}

NodeValues<RecipeWaterSlot> RecipeWaterValues(const model::WaterAddition& addition) {
  using enum RecipeWaterSlot;
  NodeValues<RecipeWaterSlot> v;
  PutWater(v, addition.water);
  v[kAmountUnit] = units::kGallons;
  v[kAmount] = FormatFixed(addition.amount.value, 1);
  return v;
}

}  // namespace kegverter
