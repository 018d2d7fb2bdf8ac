// What a brewer means by the records of the brewing application: ingredients with their amounts
// and units, a mash as steps, a style as ranges, a recipe as all of these together. Plain values,
// built once from the decoded records (model/from_source.h), read by every output writer.
//
// Quantities keep the units the application used (pounds, ounces, gallons, quarts, degrees
// Fahrenheit, minutes, days, degrees Lovibond, ...): a writer converts when its format asks for
// other units. Texts are UTF-8, already read as Windows-1252. A code the application stored
// without a meaning (a fermentable type 7, say) keeps its number beside an `Unknown` meaning,
// so that a writer can say what it was rather than drop it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kegverter::model {

enum class Unit : std::uint8_t {
  kPound,
  kOunce,
  kGram,
  kGallon,
  kQuart,
  kFluidOunce,
  kTeaspoon,
  kTablespoon,
  kCup,
  kMillilitre,
  kFahrenheit,
  kMinute,
  kDay,
  kLovibond,
  kSrm,
  kSpecificGravity,
  kPercent,
  kIbu,
  kLintner,
  kQuartsPerPound,
  kPartsPerMillion,
  // The metric units that BeerXML 1.0 fixes.
  kKilogram,
  kLitre,
  kCelsius,
  kLitresPerKilogram,
};

/// A number and its unit. The value holds a 32-bit source value exactly; a value derived from
/// 32-bit inputs is rounded to single precision, the precision its inputs had. Never a NaN or an
/// infinity: the model reads those as 0, as the range tables do.
struct Quantity {
  double value = 0;
  Unit unit = Unit::kPound;
};

struct Range {
  Quantity minimum;
  Quantity maximum;
};

/// A stored code and what it means; `meaning` is the enum's kUnknown when the application
/// defines no meaning for `code`.
template <class Meaning>
struct Coded {
  Meaning meaning{};
  std::int32_t code = 0;

  bool known() const { return meaning != Meaning::kUnknown; }
};

// Each ends with kCount, the number of meanings, which sizes the word tables of the formats
// (model/words.h); no value holds it.
enum class FermentableType : std::uint8_t { kUnknown, kGrain, kExtract, kSugar, kAdjunct, kCount };
enum class HopUse : std::uint8_t { kUnknown, kBittering, kAroma, kBoth, kCount };
enum class HopForm : std::uint8_t { kUnknown, kLeaf, kPlug, kPellet, kCount };
enum class HopAdditionUse : std::uint8_t { kBoil, kFirstWort, kMash, kDryHop, kCount };
enum class MiscType : std::uint8_t { kUnknown, kSpice, kFruit, kOther, kFining, kHerb, kCount };
enum class MiscUse : std::uint8_t { kUnknown, kBoil, kSecondary, kMash, kCount };
enum class StyleType : std::uint8_t { kUnknown, kAle, kLager, kCider, kMead, kMixed, kCount };
enum class CultureType : std::uint8_t { kUnknown, kAle, kLager, kWine, kChampagne, kCount };
enum class CultureForm : std::uint8_t { kUnknown, kDry, kLiquid, kSlant, kCount };
enum class Flocculation : std::uint8_t { kUnknown, kHigh, kMedium, kLow, kCount };
enum class MashStepKind : std::uint8_t { kUnknown, kInfusion, kTemperature, kDecoction, kCount };
enum class RecipeType : std::uint8_t { kUnknown, kAllGrain, kPartialMash, kExtract, kCount };

/// A fermentable of the malt database, or the database part of a recipe's fermentable.
struct Fermentable {
  std::string name;
  std::string supplier;
  std::string origin;
  Coded<FermentableType> type;
  bool recommend_mash = false;  ///< only a stored 1 recommends mashing
  Quantity potential;           ///< specific gravity
  Quantity color;               ///< degrees Lovibond
  Quantity moisture;            ///< percent
  Quantity max_in_batch;        ///< percent of the grist
  Quantity diastatic_power;     ///< degrees Lintner
  Quantity protein;             ///< percent
  std::string notes;
  Quantity inventory;               ///< pounds
  Quantity fine_grind_yield;        ///< percent
  Quantity coarse_grind_yield;      ///< percent
  Quantity coarse_fine_difference;  ///< fine minus coarse, percent
  /// The same difference before it is rounded to single precision, which BeerXML 2.01 rounds to
  /// its one decimal.
  double coarse_fine_difference_unrounded = 0;
};

struct FermentableAddition {
  Fermentable fermentable;
  Quantity amount;  ///< pounds
};

/// A hop variety of the hop database.
struct HopVariety {
  std::string name;
  std::string origin;
  Quantity alpha_acid;                ///< percent
  std::optional<Quantity> beta_acid;  ///< percent; none when the application knows none (0)
  Coded<HopUse> use;                  ///< the low four bits of the type code
  std::string notes;                  ///< the notes, then "Best for ..." when there is a use
  std::string best_for;
  Quantity percent_lost;  ///< percent lost in storage
  std::string substitutes;
  // Oil shares in percent; a share not above zero is 0.
  Quantity humulene;
  Quantity caryophyllene;
  Quantity cohumulone;
  Quantity myrcene;
};

/// A hop as a recipe adds it: the recipe's own alpha acid, amount, form and timing.
struct HopAddition {
  std::string name;
  std::string origin;
  Quantity alpha_acid;                ///< percent, as the recipe used it
  std::optional<Quantity> beta_acid;  ///< percent; none when not above zero
  Coded<HopForm> form;                ///< the top four bits of the type code
  HopAdditionUse use = HopAdditionUse::kBoil;
  Quantity amount;  ///< ounces
  /// The application's own timing: boil minutes; for first wort 40 minutes and a mash hop 90
  /// minutes, a dry hop 5 days: the application keeps no duration for these and assumes those.
  Quantity time;
  /// How long the hop stays in the wort or the mash, as brewing programs read a hop's time: the
  /// boil minutes of a boil hop; the recipe's boil time for a first-wort hop, which is in the
  /// kettle for the whole boil; the total step time of the recipe's mash (its steps of a known
  /// kind, as written) for a mash hop; 5 days for a dry hop. When the recipe gives no such time
  /// (no boil time, no mash or no step time), it is `time` and `duration_assumed` is set.
  Quantity duration;
  bool duration_assumed = false;
};

/// How an amount of a miscellaneous ingredient is given. A stored unit code 6 is decided by the
/// ingredient type, and an extract (a name containing "xtract") is measured in fluid ounces; the
/// amount keeps its value only when the unit given is the stored one, otherwise it is 0 and the
/// stored value is kept in `stored_value` for the notes.
struct MiscAmount {
  bool volume = false;         ///< a volume (fl oz, tsp, tbsp, cup), else a mass
  std::optional<Unit> unit;    ///< none when the unit code means nothing
  std::int32_t unit_code = 0;  ///< the effective unit code
  std::int32_t stored_unit_code = 0;
  double value = 0;         ///< the amount in `unit`; 0 when the unit was replaced
  double stored_value = 0;  ///< the amount as stored, in the stored unit

  bool replaced() const { return unit_code != stored_unit_code; }
};

/// A miscellaneous ingredient of the database.
struct Misc {
  std::string name;
  Coded<MiscType> type;
  Coded<MiscUse> use;
  std::string use_for;
  std::string comment;
  /// The comment (when there is one), a line break and the sentence "Add to boil for 15
  /// minutes."; codes without a meaning leave their part of the sentence out.
  std::string notes;
  std::optional<Quantity> time;  ///< minutes or days; none when the unit code means nothing
  MiscAmount inventory;
};

struct MiscAddition {
  std::string name;
  Coded<MiscType> type;
  Coded<MiscUse> use;
  std::optional<Quantity> time;  ///< the ingredient's suggested time: an addition has none
  /// The suggested time as stored, whatever its unit code says (BeerXML 2.01 writes it so).
  std::int32_t stored_time = 0;
  MiscAmount amount;
};

/// A style of the style database.
struct Style {
  std::string category;
  std::string name;       ///< the style's own name
  std::string full_name;  ///< "category - name"
  std::int32_t category_number = 0;
  /// The stored letter when it starts with an upper-case letter A to Z (one or two characters),
  /// otherwise one blank.
  std::string style_letter;
  std::string style_guide;  ///< "BJCP 1999", the guide the application follows
  Coded<StyleType> type;
  Range original_gravity;   ///< specific gravity
  Range final_gravity;      ///< specific gravity
  Range bitterness;         ///< IBU
  Range color;              ///< SRM
  Range alcohol_by_volume;  ///< percent
  std::string color_description;
  std::string malt_description;
  std::string hops_description;
  std::string yeast_description;
  /// "Malt: ...", "Hops: ...", "Color: ...", "Yeast: ..." on four lines.
  std::string profile;
  std::string examples;  ///< the record's free text: commercial examples
};

/// The style a recipe names. The recipe stores the style's name in the style's first text field
/// and its category in the second, the reverse of the style database.
struct RecipeStyle {
  std::string name;
  std::string category;
  std::int32_t category_number = 0;
  std::string style_letter;
  std::string style_guide;
  Coded<StyleType> type;
};

struct Water {
  std::string name;
  // Ion contents in parts per million.
  Quantity calcium;
  Quantity magnesium;
  Quantity sodium;
  Quantity sulfate;
  Quantity chloride;
  Quantity bicarbonate;
  double ph = 0;
  std::string notes;
};

struct WaterAddition {
  Water water;
  Quantity amount;  ///< gallons: as much as the recipe boils
};

/// A yeast of the yeast database.
struct Culture {
  std::string name;
  Coded<CultureType> type;
  Coded<CultureForm> form;
  std::string laboratory;
  std::string product_id;
  /// The one stored temperature is both ends of the range (degrees Fahrenheit).
  Range temperature;
  Coded<Flocculation> flocculation;
  Range attenuation;          ///< the stored bounds, percent
  Quantity attenuation_mean;  ///< their mean, percent
  std::string notes;
  std::string best_for;
};

/// The yeast of a recipe. The recipe keeps no quantity: the amount is 0 in millilitres, or in
/// grams for a dry yeast.
struct CultureAddition {
  Culture culture;
  Quantity amount;
};

struct MashStep {
  std::string name;
  Coded<MashStepKind> kind;
  /// Water infused (infusion) or mash decocted (decoction), quarts; none for other kinds.
  std::optional<Quantity> amount;
  Quantity step_temperature;                   ///< degrees Fahrenheit
  Quantity step_time;                          ///< minutes
  Quantity ramp_time;                          ///< minutes
  Quantity end_temperature;                    ///< degrees Fahrenheit
  std::optional<Quantity> infuse_temperature;  ///< infusion only
  std::optional<Quantity> water_grain_ratio;   ///< infusion only, quarts per pound
  /// What the brewer does: "Add 12.50 qt of water at 166.0 F", "Heat to 168.0 F over 10.0 min",
  /// "Decoct 3.00 qt of mash and boil it"; empty for a kind without a meaning.
  std::string description;
};

struct Mash {
  std::string name;
  Quantity grain_temperature;  ///< degrees Fahrenheit
  std::vector<MashStep> steps;
};

struct Recipe {
  std::string name;
  Coded<RecipeType> type;
  Quantity batch_size;  ///< gallons
  Quantity boil_size;   ///< gallons
  Quantity boil_time;   ///< minutes
  /// Percent: a stored value up to 1.1 is a fraction and is multiplied by 100.
  Quantity efficiency;
  /// The same percentage before it is rounded to single precision, which BeerXML 2.01 rounds to
  /// its one decimal.
  double efficiency_unrounded = 0;
  std::optional<RecipeStyle> style;  ///< none when the style's first text field is empty
  std::vector<FermentableAddition> fermentables;
  std::vector<HopAddition> hops;
  std::vector<MiscAddition> miscs;
  std::optional<CultureAddition> culture;  ///< none when the yeast has no name
  std::optional<WaterAddition> water;      ///< none when the water has no name
  /// The recipe's own step list, or the simple mash made from the rests of its process
  /// section; none for an extract recipe or when the chosen source makes no step.
  std::optional<Mash> mash;
  std::string notes;
  Quantity original_gravity;  ///< specific gravity, from the stored gravity points
  /// The same gravity before it is rounded to single precision, which BeerXML 2.01 rounds to its
  /// three decimals.
  double original_gravity_unrounded = 0;
  Quantity bitterness;  ///< IBU, the application's own estimate
};

}  // namespace kegverter::model
