// The items of a recipe's ingredient lists: the amounts the recipe uses and a few of the
// database fields that lead each addition.
#include <string>

#include "beerxml/format.h"
#include "beerxml/malt_writer.h"
#include "beerxml/recipe_writer.h"
#include "beerxml/units.h"
#include "beerxml/values.h"
#include "beerxml/yeast_writer.h"
#include "source/text.h"

namespace kegverter {

namespace {

// MiscAddition::time_units: the unit of `suggested_time`.
constexpr const char* kMiscTimeUnitWords[] = {units::kDays, units::kMinutes};

// Hop addition times that are not boil minutes.
constexpr std::uint8_t kFirstWort = 61;
constexpr std::uint8_t kMash = 62;
constexpr std::uint8_t kDryHop = 251;
constexpr std::uint8_t kDryHopMarker = 255;

// The application keeps no duration for these uses; it assumes these.
constexpr double kDryHopDays = 5.0;
constexpr double kMashHopMinutes = 90.0;
constexpr double kFirstWortMinutes = 40.0;

constexpr std::uint8_t kDryYeast = 0;

// The use of a hop addition and how long it lasts.
struct HopUse {
  const char* use;
  const char* duration;
  std::string time;
};

HopUse HopUseOf(const HopAddition& hop) {
  if (hop.dry_hop_marker == kDryHopMarker && hop.addition_time == kDryHop) {
    return {"dry hop", units::kDays, FormatFixed(kDryHopDays, 1)};
  }
  if (hop.addition_time == kMash) {
    return {"mash", units::kMinutes, FormatFixed(kMashHopMinutes, 1)};
  }
  if (hop.addition_time == kFirstWort) {
    return {"first wort", units::kMinutes, FormatFixed(kFirstWortMinutes, 1)};
  }
  return {"boil", units::kMinutes, FormatIntDecimal(hop.addition_time)};
}

// The form sits in the top four bits of the type code; the low four are the use of the hop
// variety, which a recipe's addition does not need.
std::uint32_t HopForm(std::int16_t type_code) {
  return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(type_code)) >> 12) & 0x0Fu;
}

}  // namespace

NodeValues<RecipeFermentableSlot> RecipeFermentableValues(const FermentableAddition& fermentable) {
  using enum RecipeFermentableSlot;
  NodeValues<RecipeFermentableSlot> v;
  v[kName] = WidenText(fermentable.name);
  v[kType] = WordOf(kFermentableTypeWords, fermentable.type);
  v[kColorScale] = units::kLovibond;
  v[kColor] = FormatFixed(fermentable.color, 1);
  v[kOrigin] = WidenText(fermentable.origin);
  v[kAmountUnit] = units::kPounds;
  v[kAmount] = FormatFixed(fermentable.amount, 3);
  return v;
}

NodeValues<RecipeHopSlot> RecipeHopValues(const HopAddition& hop) {
  using enum RecipeHopSlot;
  HopUse use = HopUseOf(hop);
  NodeValues<RecipeHopSlot> v;
  v[kName] = WidenText(hop.name);
  v[kOrigin] = WidenText(hop.origin);
  v[kAlphaAcid] = FormatFixed(hop.alpha, 2);  // the alpha acid this recipe used, not the variety's
  if (hop.beta_acid > 0) v[kBetaAcid] = FormatFixed(hop.beta_acid, 2);
  v[kForm] = WordOf(kHopFormWords, HopForm(hop.type_code));
  v[kUse] = use.use;
  v[kAmountUnit] = units::kOunces;
  v[kAmount] = FormatFixed(hop.amount, 2);
  v[kTimeUnit] = use.duration;
  v[kTime] = std::move(use.time);
  return v;
}

NodeValues<RecipeMiscSlot> RecipeMiscValues(const MiscAddition& misc, const MiscAmount& amount) {
  using enum RecipeMiscSlot;
  NodeValues<RecipeMiscSlot> v;
  v[kName] = WidenText(misc.ingredient_name);
  v[kType] = WordOf(kMiscTypeWords, misc.ingredient_type);
  v[kUse] = WordOf(kMiscUseWords, misc.time_type);
  PutMiscAmount(v, amount);
  // An addition has no time of its own: the ingredient's suggested time applies.
  v[kTimeUnit] = WordOf(kMiscTimeUnitWords, misc.time_units);
  v[kTime] = FormatIntDecimal(misc.suggested_time);
  return v;
}

NodeValues<RecipeYeastSlot> RecipeYeastValues(const YeastRecord& yeast) {
  using enum RecipeYeastSlot;
  NodeValues<RecipeYeastSlot> v;
  v[kName] = WidenText(yeast.name);
  v[kType] = WordOf(kYeastTypeWords, yeast.type);
  v[kForm] = WordOf(kYeastFormWords, yeast.form);
  v[kLaboratory] = WidenText(yeast.laboratory);
  v[kProductId] = WidenText(yeast.product_id);
  // The recipe holds no yeast quantity: the amount is written as zero in the form's unit.
  if (yeast.form == kDryYeast) {
    v[kMassUnit] = units::kGrams;
    v[kMass] = FormatFixed(0, 1);
  } else {
    v[kVolumeUnit] = units::kMillilitres;
    v[kVolume] = FormatFixed(0, 1);
  }
  return v;
}

NodeValues<RecipeWaterSlot> RecipeWaterValues(const WaterRecord& water, float boil_size) {
  using enum RecipeWaterSlot;
  NodeValues<RecipeWaterSlot> v;
  v[kName] = WidenText(water.name);
  v[kCalcium] = FormatFixed(water.calcium, 1);
  v[kBicarbonate] = FormatFixed(water.bicarbonate, 1);
  v[kSulfate] = FormatFixed(water.sulfate, 1);
  v[kChloride] = FormatFixed(water.chloride, 1);
  v[kSodium] = FormatFixed(water.sodium, 1);
  v[kMagnesium] = FormatFixed(water.magnesium, 1);
  v[kAmountUnit] = units::kGallons;
  v[kAmount] = FormatFixed(boil_size, 1);
  return v;
}

}  // namespace kegverter
