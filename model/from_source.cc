#include "model/from_source.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>

#include "source/text.h"

namespace kegverter::model {

namespace {

// Damaged files put NaNs and infinities into fields that have no range; they mean nothing, and
// the range tables give such a value 0 everywhere else.
double Finite(double value) { return std::isfinite(value) ? value : 0.0; }

Quantity Q(double value, Unit unit) { return {Finite(value), unit}; }

// A value derived from single-precision inputs, kept at their precision.
Quantity Derived(double value, Unit unit) {
  const double finite = Finite(value);
  const double single = static_cast<double>(static_cast<float>(finite));
  return {std::isfinite(single) ? single : finite, unit};
}

bool IsEmpty(const NarrowText& text) { return !text || text->empty(); }

// The meaning of a code by a table indexed by the code; kUnknown past its end.
template <class Meaning, std::size_t N>
Coded<Meaning> Decode(const std::array<Meaning, N>& meanings, std::int64_t code) {
  Coded<Meaning> coded;
  coded.code = static_cast<std::int32_t>(code);
  if (code >= 0 && static_cast<std::uint64_t>(code) < N) {
    coded.meaning = meanings[static_cast<std::size_t>(code)];
  }
  return coded;
}

constexpr std::array kFermentableTypes = {FermentableType::kUnknown, FermentableType::kGrain,
                                          FermentableType::kExtract, FermentableType::kSugar,
                                          FermentableType::kAdjunct};
constexpr std::array kHopUses = {HopUse::kBittering, HopUse::kBittering, HopUse::kAroma,
                                 HopUse::kBoth};
constexpr std::array kHopForms = {HopForm::kLeaf, HopForm::kPlug, HopForm::kPellet};
constexpr std::array kMiscTypes = {MiscType::kSpice, MiscType::kFruit,  MiscType::kOther,
                                   MiscType::kOther, MiscType::kFining, MiscType::kHerb};
constexpr std::array kMiscUses = {MiscUse::kBoil, MiscUse::kSecondary, MiscUse::kMash};
constexpr std::array kStyleTypes = {StyleType::kAle,  StyleType::kLager,   StyleType::kCider,
                                    StyleType::kMead, StyleType::kUnknown, StyleType::kMixed};
constexpr std::array kCultureTypes = {CultureType::kAle, CultureType::kLager, CultureType::kWine,
                                      CultureType::kChampagne};
constexpr std::array kCultureForms = {CultureForm::kDry, CultureForm::kLiquid, CultureForm::kSlant};
constexpr std::array kFlocculations = {Flocculation::kHigh, Flocculation::kMedium,
                                       Flocculation::kLow};
constexpr std::array kStepKinds = {MashStepKind::kInfusion, MashStepKind::kTemperature,
                                   MashStepKind::kDecoction};
constexpr std::array kRecipeTypes = {RecipeType::kAllGrain, RecipeType::kPartialMash,
                                     RecipeType::kExtract};

// Words of the miscellaneous notes sentence.
constexpr std::array<const char*, 3> kMiscUseWords = {"boil", "secondary", "mash"};
constexpr std::array<const char*, 2> kMiscTimePhrases = {" for %d days.", " for %d minutes."};
constexpr std::array kMiscTimeUnits = {Unit::kDay, Unit::kMinute};

// Stored unit code 6: the unit follows from the ingredient type.
constexpr std::uint8_t kUnitByType = 6;
constexpr std::array<std::uint8_t, 6> kUnitByTypeResolved = {0, 2, 0, 0, 3, 0};
constexpr std::array<std::optional<Unit>, 6> kMiscVolumeUnits = {
    Unit::kFluidOunce, std::nullopt, std::nullopt, Unit::kTeaspoon, Unit::kTablespoon, Unit::kCup};
constexpr std::array<std::optional<Unit>, 3> kMiscMassUnits = {Unit::kOunce, Unit::kGram,
                                                               Unit::kPound};

constexpr const char* kStyleGuide = "BJCP 1999";

// Hop addition times that are not boil minutes, and the durations the application assumes.
constexpr std::uint8_t kFirstWort = 61;
constexpr std::uint8_t kMashHop = 62;
constexpr std::uint8_t kDryHop = 251;
constexpr std::uint8_t kDryHopMarker = 255;
constexpr double kDryHopDays = 5;
constexpr double kMashHopMinutes = 90;
constexpr double kFirstWortMinutes = 40;

constexpr std::uint8_t kGrain = 1;
constexpr std::uint8_t kDryYeast = 0;
constexpr std::uint8_t kExtractRecipe = 2;
constexpr std::uint8_t kStepListMode = 1;

// Fixed-point text with a '.' point, as the step descriptions show their numbers.
std::string Fixed(double value, int digits) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, Finite(value),
                                    std::chars_format::fixed, digits);
  return std::string(buffer, result.ptr);
}

std::string IntDecimal(std::int64_t value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr) + ".0";
}

// The leading fields that a malt record and a recipe's fermentable share.
template <class Record>
Fermentable FermentableOf(const Record& r) {
  Fermentable f;
  f.name = WidenText(r.name);
  f.supplier = WidenText(r.supplier);
  f.origin = WidenText(r.origin);
  f.type = Decode(kFermentableTypes, r.type);
  f.recommend_mash = r.recommend_mash == 1;
  f.potential = Q(r.potential, Unit::kSpecificGravity);
  f.color = Q(r.color, Unit::kLovibond);
  f.moisture = Q(r.moisture, Unit::kPercent);
  f.max_in_batch = Q(r.max_in_batch, Unit::kPercent);
  f.diastatic_power = Q(r.diastatic_power, Unit::kLintner);
  f.protein = Q(r.protein, Unit::kPercent);
  f.notes = WidenText(r.notes);
  f.inventory = Q(r.inventory, Unit::kPound);
  f.fine_grind_yield = Q(r.fine_grind_yield, Unit::kPercent);
  f.coarse_grind_yield = Q(r.coarse_grind_yield, Unit::kPercent);
  f.coarse_fine_difference_unrounded =
      static_cast<double>(r.fine_grind_yield) - static_cast<double>(r.coarse_grind_yield);
  f.coarse_fine_difference =
      Derived(Finite(r.fine_grind_yield) - Finite(r.coarse_grind_yield), Unit::kPercent);
  return f;
}

std::optional<Quantity> BetaAcid(float beta_acid) {
  if (!(beta_acid > 0) || !std::isfinite(beta_acid)) return std::nullopt;
  return Q(beta_acid, Unit::kPercent);
}

Quantity OilShare(float share) { return Q(share > 0 ? share : 0.0f, Unit::kPercent); }

std::string StyleLetter(const NarrowText& letter) {
  if (IsEmpty(letter) || (*letter)[0] < 'A' || (*letter)[0] > 'Z') return " ";
  return WidenText(letter);
}

Coded<StyleType> StyleTypeOf(std::uint8_t type) { return Decode(kStyleTypes, type); }

std::optional<Quantity> MiscTime(std::uint8_t time_units, std::int32_t suggested_time) {
  if (time_units >= kMiscTimeUnits.size()) return std::nullopt;
  return Q(suggested_time, kMiscTimeUnits[time_units]);
}

MashStep StepOf(Coded<MashStepKind> kind, std::string name, float amount,
                std::int32_t step_temperature, std::int32_t step_time, std::int32_t ramp_time,
                std::int32_t end_temperature, std::int32_t infuse_temperature,
                float water_grain_ratio) {
  MashStep step;
  step.name = std::move(name);
  step.kind = kind;
  step.step_temperature = Q(step_temperature, Unit::kFahrenheit);
  step.step_time = Q(step_time, Unit::kMinute);
  step.ramp_time = Q(ramp_time, Unit::kMinute);
  step.end_temperature = Q(end_temperature, Unit::kFahrenheit);
  switch (kind.meaning) {
    case MashStepKind::kInfusion:
      step.amount = Q(amount, Unit::kQuart);
      step.infuse_temperature = Q(infuse_temperature, Unit::kFahrenheit);
      step.water_grain_ratio = Q(water_grain_ratio, Unit::kQuartsPerPound);
      step.description = "Add " + Fixed(step.amount->value, 2) + " qt of water at " +
                         IntDecimal(infuse_temperature) + " F";
      break;
    case MashStepKind::kTemperature:
      step.description =
          "Heat to " + IntDecimal(end_temperature) + " F over " + IntDecimal(ramp_time) + " min";
      break;
    case MashStepKind::kDecoction:
      step.amount = Q(amount, Unit::kQuart);
      step.description = "Decoct " + Fixed(step.amount->value, 2) + " qt of mash and boil it";
      break;
    case MashStepKind::kUnknown:
    case MashStepKind::kCount:
      break;
  }
  return step;
}

MashStep StepOf(const MashStepRecord& s) {
  return StepOf(Decode(kStepKinds, s.type), WidenText(s.name), s.step_amount, s.step_temperature,
                s.step_time, s.ramp_time, s.end_temperature, s.infuse_temperature,
                s.water_grain_ratio);
}

// One rest of the simple mash: its step name and where the process section keeps it.
struct Rest {
  const char* name;
  std::int32_t RecipeProcessRecord::*temperature;
  std::int32_t RecipeProcessRecord::*time;
};

constexpr Rest kRests[] = {
    {"Acid Rest", &RecipeProcessRecord::acid_rest_temperature,
     &RecipeProcessRecord::acid_rest_time},
    {"Protein Rest", &RecipeProcessRecord::protein_rest_temperature,
     &RecipeProcessRecord::protein_rest_time},
    {"Intermediate Rest", &RecipeProcessRecord::intermediate_rest_temperature,
     &RecipeProcessRecord::intermediate_rest_time},
    {"Saccharification Rest", &RecipeProcessRecord::saccharification_rest_temperature,
     &RecipeProcessRecord::saccharification_rest_time},
    {"Mash Out", &RecipeProcessRecord::mash_out_temperature, &RecipeProcessRecord::mash_out_time},
};
// A single-step mash uses the saccharification rest and the mash out only; simple mash types 3
// and above are multi-step, and 0 to 2 single-step.
constexpr std::size_t kSingleStepFirstRest = 3;
constexpr std::uint8_t kMultiStepType = 3;
constexpr const char* kMultiStepName = "Simple Mash Type - Multi Step";
constexpr const char* kSingleStepName = "Simple Mash Type - Single Step";
constexpr std::int32_t kStrikeRampTime = 5;
constexpr std::int32_t kHeatingRampTime = 10;

// Weights of grain and water in the heat balance of the infusion, per pound of grain and per
// quart of water. The grain factor is kept in single precision, as the application computed it.
constexpr float kGrainHeatFactor = 0.05f;
constexpr double kWaterHeatFactor = 0.25;

template <class Entry>
std::size_t ListSize(std::int32_t count, const std::vector<Entry>& entries) {
  if (count <= 0) return 0;
  return std::min(static_cast<std::size_t>(count), entries.size());
}

std::optional<Mash> StepListMash(const RecipeRecord& recipe) {
  const std::size_t count = ListSize(recipe.process.mash_step_count, recipe.mash_steps);
  if (count == 0) return std::nullopt;
  Mash mash;
  mash.name = WidenText(recipe.schedule.schedule_name);
  mash.grain_temperature = Q(recipe.process.grain_temperature, Unit::kFahrenheit);
  for (std::size_t i = 0; i < count; ++i) mash.steps.push_back(StepOf(recipe.mash_steps[i]));
  return mash;
}

std::optional<Mash> SimpleMash(const RecipeRecord& recipe) {
  const RecipeProcessRecord& process = recipe.process;
  const bool multi_step = process.simple_mash_type >= kMultiStepType;
  const std::span<const Rest> candidates =
      multi_step ? std::span<const Rest>(kRests)
                 : std::span<const Rest>(kRests).subspan(kSingleStepFirstRest);
  Mash mash;
  mash.name = multi_step ? kMultiStepName : kSingleStepName;
  mash.grain_temperature = Q(process.grain_temperature, Unit::kFahrenheit);
  const float grain_weight = GrainWeight(recipe.fermentables);
  const float water = process.mash_water;
  std::int32_t previous = process.grain_temperature;
  for (const Rest& rest : candidates) {
    const std::int32_t temperature = process.*rest.temperature;
    const std::int32_t time = process.*rest.time;
    if (temperature <= 0 || time <= 0) continue;
    // The acid rest may lie below the grain temperature; every later rest heats the mash.
    if (&rest != &kRests[0] && temperature < previous) continue;
    if (mash.steps.empty()) {
      // The first rest is reached by infusing the mash water at the strike temperature.
      float ratio = grain_weight > 0 ? water / grain_weight : 0.0f;
      if (!std::isfinite(ratio)) ratio = 0.0f;
      mash.steps.push_back(StepOf(
          Decode(kStepKinds, 0), rest.name, water, temperature, time, kStrikeRampTime, temperature,
          StrikeTemperature(temperature, grain_weight, water, process.grain_temperature), ratio));
    } else {
      mash.steps.push_back(StepOf(Decode(kStepKinds, 1), rest.name, 0, temperature, time,
                                  kHeatingRampTime, temperature, 0, 0));
    }
    previous = temperature;
  }
  // Rests that are all unset, negative or below the grain make no step, and no mash.
  if (mash.steps.empty()) return std::nullopt;
  return mash;
}

}  // namespace

float GrainWeight(std::span<const kegverter::FermentableAddition> fermentables) {
  float weight = 0.0f;
  for (const kegverter::FermentableAddition& f : fermentables) {
    if (f.type == kGrain) weight += f.amount;
  }
  return weight;
}

std::int32_t StrikeTemperature(std::int32_t rest_temperature, float grain_weight, float mash_water,
                               std::int32_t grain_temperature) {
  if (mash_water == 0.0f) return rest_temperature;
  const double grain = static_cast<double>(kGrainHeatFactor);
  const double w = grain_weight;
  const double a = mash_water;
  const double t = rest_temperature;
  const double g = grain_temperature;
  const double strike =
      ((grain * w + kWaterHeatFactor * a) * t - grain * g * w) / (kWaterHeatFactor * a);
  if (std::isnan(strike)) return rest_temperature;
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(std::trunc(strike), kLowest, kHighest));
}

double EfficiencyPercentUnrounded(float stored) {
  // Compared in single precision, as the stored value and its range are.
  constexpr float kLargestFraction = 1.1f;
  return stored <= kLargestFraction ? stored * 100.0 : stored;
}

double EfficiencyPercent(float stored) {
  return Derived(EfficiencyPercentUnrounded(stored), Unit::kPercent).value;
}

MiscAmount ResolveMiscAmount(const NarrowText& ingredient_name, std::uint8_t ingredient_type,
                             std::uint8_t stored_unit, float amount) {
  std::uint8_t unit = stored_unit;
  if (unit == kUnitByType && ingredient_type < kUnitByTypeResolved.size()) {
    unit = kUnitByTypeResolved[ingredient_type];
  }
  MiscAmount result;
  if (ingredient_name && ingredient_name->find("xtract") != std::string::npos) {
    unit = 0;
    result.volume = true;
  } else {
    result.volume = unit == 3 || unit == 4 || unit == 5;
  }
  if (result.volume && unit < kMiscVolumeUnits.size()) result.unit = kMiscVolumeUnits[unit];
  if (!result.volume && unit < kMiscMassUnits.size()) result.unit = kMiscMassUnits[unit];
  result.unit_code = unit;
  result.stored_unit_code = stored_unit;
  result.stored_value = Finite(amount);
  result.value = unit == stored_unit ? result.stored_value : 0.0;
  return result;
}

std::string MiscNotes(const MiscRecord& record) {
  std::string sentence = "Add to ";
  if (record.time_type < kMiscUseWords.size()) sentence += kMiscUseWords[record.time_type];
  if (record.time_units < kMiscTimePhrases.size()) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, kMiscTimePhrases[record.time_units],
                  static_cast<int>(record.suggested_time));
    sentence += buffer;
  }
  if (IsEmpty(record.comment)) return sentence;
  return WidenText(record.comment) + "\r\n" + sentence;
}

Coded<HopForm> HopFormOf(std::int16_t type_code) {
  return Decode(kHopForms, (static_cast<std::uint16_t>(type_code) >> 12) & 0x0Fu);
}

Coded<HopUse> HopUseOf(std::int16_t type_code) {
  return Decode(kHopUses, static_cast<std::uint16_t>(type_code) & 0x0Fu);
}

HopTiming HopTimingOf(std::uint8_t addition_time, std::uint8_t dry_hop_marker) {
  if (dry_hop_marker == kDryHopMarker && addition_time == kDryHop) {
    return {HopAdditionUse::kDryHop, Q(kDryHopDays, Unit::kDay)};
  }
  if (addition_time == kMashHop) return {HopAdditionUse::kMash, Q(kMashHopMinutes, Unit::kMinute)};
  if (addition_time == kFirstWort) {
    return {HopAdditionUse::kFirstWort, Q(kFirstWortMinutes, Unit::kMinute)};
  }
  return {HopAdditionUse::kBoil, Q(addition_time, Unit::kMinute)};
}

// The minutes of the steps a format writes: those of a known kind.
double MashMinutes(const Mash& mash) {
  double minutes = 0;
  for (const MashStep& step : mash.steps) {
    if (step.kind.known()) minutes += step.step_time.value;
  }
  return minutes;
}

// How long the hop stays in the wort or the mash (HopAddition::duration), from the recipe's boil
// time and mash, which must be known already.
void HopDuration(const Recipe& recipe, HopAddition& hop) {
  std::optional<double> minutes;
  if (hop.use == HopAdditionUse::kFirstWort) {
    if (recipe.boil_time.value > 0) minutes = recipe.boil_time.value;
  } else if (hop.use == HopAdditionUse::kMash) {
    if (recipe.mash && MashMinutes(*recipe.mash) > 0) minutes = MashMinutes(*recipe.mash);
  } else {
    hop.duration = hop.time;
    return;
  }
  hop.duration = minutes ? Q(*minutes, Unit::kMinute) : hop.time;
  hop.duration_assumed = !minutes;
}

std::optional<Mash> RecipeMash(const RecipeRecord& record) {
  if (record.recipe_type == kExtractRecipe) return std::nullopt;
  if (record.schedule.mash_mode == kStepListMode) return StepListMash(record);
  return SimpleMash(record);
}

Misc ModelOf(const MiscRecord& r) {
  Misc m;
  m.name = WidenText(r.ingredient_name);
  m.type = Decode(kMiscTypes, r.ingredient_type);
  m.use = Decode(kMiscUses, r.time_type);
  m.use_for = WidenText(r.usage);
  m.comment = WidenText(r.comment);
  m.notes = MiscNotes(r);
  m.time = MiscTime(r.time_units, r.suggested_time);
  m.inventory = ResolveMiscAmount(r.ingredient_name, r.ingredient_type,
                                  r.inventory_unit_of_measurement, r.inventory);
  return m;
}

Fermentable ModelOf(const MaltRecord& r) { return FermentableOf(r); }

HopVariety ModelOf(const HopRecord& r) {
  HopVariety h;
  h.name = WidenText(r.name);
  h.origin = WidenText(r.origin);
  h.alpha_acid = Q(r.alpha_acid, Unit::kPercent);
  h.beta_acid = BetaAcid(r.beta_acid);
  h.use = HopUseOf(r.type_code);
  h.best_for = WidenText(r.best_for);
  if (IsEmpty(r.best_for)) {
    h.notes = WidenText(r.notes);
  } else if (IsEmpty(r.notes)) {
    h.notes = "Best for " + h.best_for;
  } else {
    h.notes = WidenText(r.notes) + "\r\nBest for " + h.best_for;
  }
  h.percent_lost = Q(r.percent_lost, Unit::kPercent);
  h.substitutes = WidenText(r.substitutes);
  h.humulene = OilShare(r.humulene);
  h.caryophyllene = OilShare(r.caryophyllene);
  h.cohumulone = OilShare(r.cohumulone);
  h.myrcene = OilShare(r.myrcene);
  return h;
}

Style ModelOf(const StyleRecord& r) {
  Style s;
  s.category = WidenText(r.category);
  s.name = WidenText(r.name);
  s.full_name = s.category + " - " + s.name;
  s.category_number = r.category_number;
  s.style_letter = StyleLetter(r.style_letter);
  s.style_guide = kStyleGuide;
  s.type = StyleTypeOf(r.type);
  s.original_gravity = {Q(r.original_gravity_min, Unit::kSpecificGravity),
                        Q(r.original_gravity_max, Unit::kSpecificGravity)};
  s.final_gravity = {Q(r.final_gravity_min, Unit::kSpecificGravity),
                     Q(r.final_gravity_max, Unit::kSpecificGravity)};
  s.bitterness = {Q(r.bitterness_min, Unit::kIbu), Q(r.bitterness_max, Unit::kIbu)};
  s.color = {Q(r.color_min, Unit::kSrm), Q(r.color_max, Unit::kSrm)};
  s.alcohol_by_volume = {Q(r.alcohol_min, Unit::kPercent), Q(r.alcohol_max, Unit::kPercent)};
  s.color_description = WidenText(r.color_description);
  s.malt_description = WidenText(r.malt_description);
  s.hops_description = WidenText(r.hops_description);
  s.yeast_description = WidenText(r.yeast_description);
  s.profile = "Malt: " + s.malt_description + "\r\nHops: " + s.hops_description +
              "\r\nColor: " + s.color_description + "\r\nYeast: " + s.yeast_description;
  s.examples = WidenText(r.notes);
  return s;
}

Water ModelOf(const WaterRecord& r) {
  Water w;
  w.name = WidenText(r.name);
  w.calcium = Q(r.calcium, Unit::kPartsPerMillion);
  w.magnesium = Q(r.magnesium, Unit::kPartsPerMillion);
  w.sodium = Q(r.sodium, Unit::kPartsPerMillion);
  w.sulfate = Q(r.sulfate, Unit::kPartsPerMillion);
  w.chloride = Q(r.chloride, Unit::kPartsPerMillion);
  w.bicarbonate = Q(r.bicarbonate, Unit::kPartsPerMillion);
  w.ph = Finite(r.ph);
  w.notes = WidenText(r.notes);
  return w;
}

Culture ModelOf(const YeastRecord& r) {
  Culture c;
  c.name = WidenText(r.name);
  c.type = Decode(kCultureTypes, r.type);
  c.form = Decode(kCultureForms, r.form);
  c.laboratory = WidenText(r.laboratory);
  c.product_id = WidenText(r.product_id);
  const Quantity temperature = Q(r.temperature, Unit::kFahrenheit);
  c.temperature = {temperature, temperature};
  c.flocculation = Decode(kFlocculations, r.flocculation);
  c.attenuation = {Q(r.attenuation_low, Unit::kPercent), Q(r.attenuation_high, Unit::kPercent)};
  // The bounds are not range-tested, so their sum is taken in 64 bits; x.5 is exact in double.
  const std::int64_t sum =
      static_cast<std::int64_t>(r.attenuation_low) + static_cast<std::int64_t>(r.attenuation_high);
  c.attenuation_mean = Q(static_cast<double>(sum) * 0.5, Unit::kPercent);
  c.notes = WidenText(r.notes);
  c.best_for = WidenText(r.best_for);
  return c;
}

Mash ModelOf(const MashScheduleRecord& r) {
  Mash m;
  m.name = WidenText(r.name);
  m.grain_temperature = Q(r.grain_temperature, Unit::kFahrenheit);
  const std::size_t count = ListSize(r.step_count, r.steps);
  m.steps.reserve(count);
  for (std::size_t i = 0; i < count; ++i) m.steps.push_back(StepOf(r.steps[i]));
  return m;
}

Recipe ModelOf(const RecipeRecord& r) {
  Recipe recipe;
  recipe.name = WidenText(r.name);
  recipe.type = Decode(kRecipeTypes, r.recipe_type);
  recipe.batch_size = Q(r.batch_size, Unit::kGallon);
  recipe.boil_size = Q(r.boil_size, Unit::kGallon);
  recipe.boil_time = Q(r.boil_time, Unit::kMinute);
  recipe.efficiency = {EfficiencyPercent(r.efficiency), Unit::kPercent};
  recipe.efficiency_unrounded = EfficiencyPercentUnrounded(r.efficiency);
  if (!IsEmpty(r.style.category)) {
    RecipeStyle style;
    style.name = WidenText(r.style.category);
    style.category = WidenText(r.style.name);
    style.category_number = r.style.category_number;
    style.style_letter = StyleLetter(r.style.style_letter);
    style.style_guide = kStyleGuide;
    style.type = StyleTypeOf(r.style.type);
    recipe.style = std::move(style);
  }
  const std::size_t fermentables = ListSize(r.fermentable_count, r.fermentables);
  for (std::size_t i = 0; i < fermentables; ++i) {
    const auto& f = r.fermentables[i];
    recipe.fermentables.push_back({FermentableOf(f), Q(f.amount, Unit::kPound)});
  }
  const std::size_t hops = ListSize(r.hop_count, r.hops);
  for (std::size_t i = 0; i < hops; ++i) {
    const auto& h = r.hops[i];
    HopAddition hop;
    hop.name = WidenText(h.name);
    hop.origin = WidenText(h.origin);
    hop.alpha_acid = Q(h.alpha, Unit::kPercent);
    hop.beta_acid = BetaAcid(h.beta_acid);
    hop.form = HopFormOf(h.type_code);
    hop.amount = Q(h.amount, Unit::kOunce);
    const HopTiming timing = HopTimingOf(h.addition_time, h.dry_hop_marker);
    hop.use = timing.use;
    hop.time = timing.time;
    recipe.hops.push_back(std::move(hop));
  }
  const std::size_t miscs = ListSize(r.misc_count, r.miscs);
  for (std::size_t i = 0; i < miscs; ++i) {
    const auto& m = r.miscs[i];
    MiscAddition misc;
    misc.name = WidenText(m.ingredient_name);
    misc.type = Decode(kMiscTypes, m.ingredient_type);
    misc.use = Decode(kMiscUses, m.time_type);
    misc.time = MiscTime(m.time_units, m.suggested_time);
    misc.stored_time = m.suggested_time;
    misc.amount = ResolveMiscAmount(m.ingredient_name, m.ingredient_type,
                                    m.inventory_unit_of_measurement, m.amount);
    recipe.miscs.push_back(std::move(misc));
  }
  if (!IsEmpty(r.yeast.name)) {
    CultureAddition culture;
    culture.culture = ModelOf(r.yeast);
    culture.amount = {0, r.yeast.form == kDryYeast ? Unit::kGram : Unit::kMillilitre};
    recipe.culture = std::move(culture);
  }
  if (!IsEmpty(r.water.name))
    recipe.water = WaterAddition{ModelOf(r.water), Q(r.boil_size, Unit::kGallon)};
  recipe.mash = RecipeMash(r);
  for (HopAddition& hop : recipe.hops) HopDuration(recipe, hop);
  recipe.notes = WidenText(r.process.notes);
  // Gravity points to specific gravity; the factor is the single-precision constant the
  // application used.
  recipe.original_gravity_unrounded =
      static_cast<double>(r.original_gravity) * static_cast<double>(0.001f) + 1.0;
  recipe.original_gravity = Derived(recipe.original_gravity_unrounded, Unit::kSpecificGravity);
  recipe.bitterness = Q(r.bitterness, Unit::kIbu);
  return recipe;
}

}  // namespace kegverter::model
