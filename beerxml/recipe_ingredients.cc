// The items of a recipe's ingredient lists: the amounts the recipe uses and a few of the
// database fields that lead each addition.
#include <string>

#include "beerxml/format.h"
#include "beerxml/hop_style_export.h"
#include "beerxml/recipe_export.h"
#include "beerxml/water_yeast_export.h"
#include "source/text.h"

namespace kegverter {

namespace {

constexpr const char* kColorScale = "L";
constexpr const char* kPounds = "lb";
constexpr const char* kOunces = "oz";
constexpr const char* kGallons = "gal";
constexpr const char* kMinutes = "min";
constexpr const char* kDays = "day";
constexpr const char* kMillilitres = "mL";
constexpr const char* kGrams = "gm";

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
    return {"dry hop", kDays, FormatFixed(kDryHopDays, 1)};
  }
  if (hop.addition_time == kMash) return {"mash", kMinutes, FormatFixed(kMashHopMinutes, 1)};
  if (hop.addition_time == kFirstWort) {
    return {"first wort", kMinutes, FormatFixed(kFirstWortMinutes, 1)};
  }
  return {"boil", kMinutes, FormatIntDecimal(hop.addition_time)};
}

// The form sits in the top four bits of the type code; the low four are the use of the hop
// variety, which a recipe's addition does not need.
std::uint32_t HopForm(std::int16_t type_code) {
  return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(type_code)) >> 12) & 0x0Fu;
}

}  // namespace

NodeValues RecipeFermentableValues(const FermentableAddition& fermentable) {
  return {
      WidenText(fermentable.name),
      WordOf(kFermentableTypeWords, fermentable.type),
      kColorScale,
      FormatFixed(fermentable.color, 1),
      WidenText(fermentable.origin),
      kPounds,
      FormatFixed(fermentable.amount, 3),
      std::nullopt,  // add_after_boil: never written
  };
}

NodeValues RecipeHopValues(const HopAddition& hop) {
  HopUse use = HopUseOf(hop);
  return {
      WidenText(hop.name),
      WidenText(hop.origin),
      FormatFixed(hop.alpha, 2),  // the alpha acid this recipe used, not the variety's
      hop.beta_acid > 0 ? std::optional(FormatFixed(hop.beta_acid, 2)) : std::nullopt,
      WordOf(kHopFormWords, HopForm(hop.type_code)),
      use.use,
      kOunces,
      FormatFixed(hop.amount, 2),
      use.duration,
      std::move(use.time),
  };
}

NodeValues RecipeMiscValues(const MiscAddition& misc, const MiscAmount& amount) {
  NodeValues values;
  values.reserve(ValueCount(RecipeMiscTable));
  values.push_back(WidenText(misc.ingredient_name));
  values.push_back(WordOf(kMiscTypeWords, misc.ingredient_type));
  values.push_back(WordOf(kMiscUseWords, misc.time_type));
  AppendMiscAmountValues(values, amount);
  // An addition has no time of its own: the ingredient's suggested time applies.
  values.push_back(WordOf(kMiscTimeUnitWords, misc.time_units));
  values.push_back(FormatIntDecimal(misc.suggested_time));
  return values;
}

NodeValues RecipeYeastValues(const YeastRecord& yeast) {
  // The recipe holds no yeast quantity: the amount is written as zero in the form's unit.
  const bool dry = yeast.form == kDryYeast;
  const std::optional<std::string> zero = FormatFixed(0, 1);
  return {
      WidenText(yeast.name),
      WordOf(kYeastTypeWords, yeast.type),
      WordOf(kYeastFormWords, yeast.form),
      WidenText(yeast.laboratory),
      WidenText(yeast.product_id),
      dry ? std::nullopt : std::optional<std::string>(kMillilitres),
      dry ? std::nullopt : zero,
      dry ? std::optional<std::string>(kGrams) : std::nullopt,
      dry ? zero : std::nullopt,
      std::nullopt,  // times_cultured: never written
      std::nullopt,  // add_to_secondary: never written
  };
}

NodeValues RecipeWaterValues(const WaterRecord& water, float boil_size) {
  return {
      WidenText(water.name),
      FormatFixed(water.calcium, 1),
      FormatFixed(water.bicarbonate, 1),
      FormatFixed(water.sulfate, 1),
      FormatFixed(water.chloride, 1),
      FormatFixed(water.sodium, 1),
      FormatFixed(water.magnesium, 1),
      kGallons,
      FormatFixed(boil_size, 1),
  };
}

}  // namespace kegverter
