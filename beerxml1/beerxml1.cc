#include "beerxml1/beerxml1.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "document/node_table.h"
#include "model/from_source.h"
#include "model/notes.h"
#include "model/units.h"
#include "model/words.h"

namespace kegverter {

namespace {

namespace m = model;
using m::Notes;
using m::Words;

constexpr double kNoBound = std::numeric_limits<double>::infinity();

constexpr const char* kNothingToWrite = "no records: a BeerXML 1.0 list needs at least one";

// The document every BeerXML 1.0 writer starts from: the declaration on the first line (importers
// refuse anything else there) and the empty plural list as the root.
std::string Template(std::string_view list) {
  const std::string name(list);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + name + ">\n</" + name + ">\n";
}

// A stored value as the decimal it shows: a 32-bit value is read as its shortest text (1.8, not
// 1.7999999523), so that a conversion does not carry the float's representation error.
double AsShown(double value) {
  const auto single = static_cast<float>(value);
  if (!std::isfinite(value) || !std::isfinite(single) || static_cast<double>(single) != value) {
    return value;
  }
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, single).ptr;
  double shown = value;
  std::from_chars(buffer, end, shown);
  return shown;
}

// A number in fixed notation (XML Schema decimals take no exponent), rounded to 9 significant
// digits and then written as the shortest text that reads back to that: 4.5359237, not
// 4.535923700000001. A value that is not finite is 0; a negative zero is 0.
std::string Decimal(double value) {
  if (!std::isfinite(value) || value == 0) return "0";
  char buffer[400];
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 8);
  double rounded = value;
  if (error == std::errc()) std::from_chars(buffer, end, rounded);
  if (!std::isfinite(rounded)) rounded = value;
  const auto fixed =
      std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed);
  if (fixed.ec != std::errc()) return "0";
  return std::string(buffer, fixed.ptr);
}

// The metric value of a quantity, from the decimal its stored value shows.
double MetricValue(const m::Quantity& quantity) {
  return m::Metric({AsShown(quantity.value), quantity.unit}).value;
}

std::string MetricText(const m::Quantity& quantity) { return Decimal(MetricValue(quantity)); }

// The metric value of `quantity` held to [low, high]; a value outside is written as the bound and
// the stored one named in the notes.
std::string Bounded(const m::Quantity& quantity, double low, double high, std::string_view what,
                    Notes& notes) {
  const double value = MetricValue(quantity);
  if (value >= low && value <= high) return Decimal(value);
  notes.Add(m::AsStoredLine(what, m::StoredText(quantity)));
  return Decimal(value < low ? low : high);
}

// A pH has no unit: one outside 0 to 14 is named in the notes as the number stored.
std::string Ph(double ph, Notes& notes) {
  const double value = AsShown(ph);
  if (value >= 0 && value <= 14) return Decimal(value);
  notes.Add(m::AsStoredLine("pH", m::NumberText(ph)));
  return Decimal(value < 0 ? 0 : 14);
}

std::string Percent(const m::Quantity& q, std::string_view what, Notes& notes) {
  return Bounded(q, 0, 100, what, notes);
}
std::string Gravity(const m::Quantity& q, std::string_view what, Notes& notes) {
  return Bounded(q, 0.9, 2.0, what, notes);
}
std::string Celsius(const m::Quantity& q, std::string_view what, Notes& notes) {
  return Bounded(q, 0, 150, what, notes);
}
// Amounts, volumes and durations: not below zero.
std::string NotNegative(const m::Quantity& q, std::string_view what, Notes& notes) {
  return Bounded(q, 0, kNoBound, what, notes);
}

// A name on one line: each run of line breaks and tabs becomes one space.
std::string OneLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  bool in_run = false;
  for (const char c : text) {
    const bool breaks = c == '\r' || c == '\n' || c == '\t';
    if (!breaks) {
      line += c;
    } else if (!in_run) {
      line += ' ';
    }
    in_run = breaks;
  }
  return line;
}

// Importers validate every NAME as one line that holds a character that is not blank, and refuse
// the whole file for one that is not: a name is written on one line, a blank one as `fallback`,
// and the notes keep the name as stored whenever it changed. `what` names the name in notes that
// hold more than one ("Style name").
std::string Name(const std::string& name, std::string_view fallback, Notes& notes,
                 std::string_view what = "Name") {
  std::string line = OneLine(name);
  const bool blank = line.find_first_not_of(' ') == std::string::npos;
  if (blank || line != name) notes.Add(m::AsStoredLine(what, m::QuotedText(name)));
  if (blank) return std::string(fallback);
  return line;
}

// A mash's and a step's NAME may be blank, but is written on one line all the same.
std::string LineName(const std::string& name, std::string_view what, Notes& notes) {
  std::string line = OneLine(name);
  if (line != name) notes.Add(m::AsStoredLine(what, m::QuotedText(name)));
  return line;
}

std::string Bool(bool value) { return value ? "TRUE" : "FALSE"; }

// BeerXML 1.0's words, by the model's meanings. Where a required field has no word for a code,
// the most general word is written and the code named in the notes; BeerXML 1.0 has no fruit,
// so a fruit is Other, the notes saying "Type: fruit".
constexpr Words<m::FermentableType> kFermentableTypes{"Adjunct", "Grain", "Extract", "Sugar",
                                                      "Adjunct"};
constexpr Words<m::HopUse> kHopUses{"", "Bittering", "Aroma", "Both"};
constexpr Words<m::HopForm> kHopForms{"", "Leaf", "Plug", "Pellet"};
constexpr Words<m::HopAdditionUse> kHopAdditionUses{"Boil", "First Wort", "Mash", "Dry Hop"};
constexpr Words<m::MiscType> kMiscTypes{"Other", "Spice", "Other", "Other", "Fining", "Herb"};
constexpr Words<m::MiscUse> kMiscUses{"Boil", "Boil", "Secondary", "Mash"};
constexpr Words<m::StyleType> kStyleTypes{"Ale", "Ale", "Lager", "Cider", "Mead", "Mixed"};
constexpr Words<m::CultureType> kCultureTypes{"Ale", "Ale", "Lager", "Wine", "Champagne"};
constexpr Words<m::CultureForm> kCultureForms{"Liquid", "Dry", "Liquid", "Slant"};
constexpr Words<m::Flocculation> kFlocculations{"", "High", "Medium", "Low"};
constexpr Words<m::MashStepKind> kStepKinds{"", "Infusion", "Temperature", "Decoction"};
constexpr Words<m::RecipeType> kRecipeTypes{"All Grain", "All Grain", "Partial Mash", "Extract"};

// A word as a slot value: an empty word leaves the element out.
std::optional<std::string> OptionalWord(std::string_view word) {
  if (word.empty()) return std::nullopt;
  return std::string(word);
}

// ---------------------------------------------------------------------------------------------
// The tables. BeerXML 1.0 elements are unordered within a record; each table follows the order
// of the standard's field lists. A leaf element whose slot is absent is left out (Walk).

enum class HopSlot : std::uint16_t {
  kName,
  kVersion,
  kAlpha,
  kAmount,
  kUse,
  kTime,
  kNotes,
  kType,
  kForm,
  kBeta,
  kHsi,
  kOrigin,
  kSubstitutes,
  kHumulene,
  kCaryophyllene,
  kCohumulone,
  kMyrcene,
  kCount
};

// clang-format off
constexpr auto kHopTable = [] {
  using namespace nodes;
  using enum HopSlot;
  return Tree<HopSlot>({
    Element("HOP"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("ALPHA"), Text(kAlpha), Parent(),
      Element("AMOUNT"), Text(kAmount), Parent(),
      Element("USE"), Text(kUse), Parent(),
      Element("TIME"), Text(kTime), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("FORM"), Text(kForm), Parent(),
      Element("BETA"), Text(kBeta), Parent(),
      Element("HSI"), Text(kHsi), Parent(),
      Element("ORIGIN"), Text(kOrigin), Parent(),
      Element("SUBSTITUTES"), Text(kSubstitutes), Parent(),
      Element("HUMULENE"), Text(kHumulene), Parent(),
      Element("CARYOPHYLLENE"), Text(kCaryophyllene), Parent(),
      Element("COHUMULONE"), Text(kCohumulone), Parent(),
      Element("MYRCENE"), Text(kMyrcene), Parent(),
    Parent(),
  });
}();
// clang-format on

enum class FermentableSlot : std::uint16_t {
  kName,
  kVersion,
  kType,
  kAmount,
  kYield,
  kColor,
  kOrigin,
  kSupplier,
  kNotes,
  kCoarseFineDiff,
  kMoisture,
  kDiastaticPower,
  kProtein,
  kMaxInBatch,
  kRecommendMash,
  kInventory,
  kCount
};

// clang-format off
constexpr auto kFermentableTable = [] {
  using namespace nodes;
  using enum FermentableSlot;
  return Tree<FermentableSlot>({
    Element("FERMENTABLE"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("AMOUNT"), Text(kAmount), Parent(),
      Element("YIELD"), Text(kYield), Parent(),
      Element("COLOR"), Text(kColor), Parent(),
      Element("ORIGIN"), Text(kOrigin), Parent(),
      Element("SUPPLIER"), Text(kSupplier), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("COARSE_FINE_DIFF"), Text(kCoarseFineDiff), Parent(),
      Element("MOISTURE"), Text(kMoisture), Parent(),
      Element("DIASTATIC_POWER"), Text(kDiastaticPower), Parent(),
      Element("PROTEIN"), Text(kProtein), Parent(),
      Element("MAX_IN_BATCH"), Text(kMaxInBatch), Parent(),
      Element("RECOMMEND_MASH"), Text(kRecommendMash), Parent(),
      Element("INVENTORY"), Text(kInventory), Parent(),
    Parent(),
  });
}();
// clang-format on

enum class MiscSlot : std::uint16_t {
  kName,
  kVersion,
  kType,
  kUse,
  kTime,
  kAmount,
  kAmountIsWeight,
  kUseFor,
  kNotes,
  kCount
};

// clang-format off
constexpr auto kMiscTable = [] {
  using namespace nodes;
  using enum MiscSlot;
  return Tree<MiscSlot>({
    Element("MISC"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("USE"), Text(kUse), Parent(),
      Element("TIME"), Text(kTime), Parent(),
      Element("AMOUNT"), Text(kAmount), Parent(),
      Element("AMOUNT_IS_WEIGHT"), Text(kAmountIsWeight), Parent(),
      Element("USE_FOR"), Text(kUseFor), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
    Parent(),
  });
}();
// clang-format on

enum class YeastSlot : std::uint16_t {
  kName,
  kVersion,
  kType,
  kForm,
  kAmount,
  kAmountIsWeight,
  kLaboratory,
  kProductId,
  kMinTemperature,
  kMaxTemperature,
  kFlocculation,
  kAttenuation,
  kNotes,
  kBestFor,
  kCount
};

// clang-format off
constexpr auto kYeastTable = [] {
  using namespace nodes;
  using enum YeastSlot;
  return Tree<YeastSlot>({
    Element("YEAST"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("FORM"), Text(kForm), Parent(),
      Element("AMOUNT"), Text(kAmount), Parent(),
      Element("AMOUNT_IS_WEIGHT"), Text(kAmountIsWeight), Parent(),
      Element("LABORATORY"), Text(kLaboratory), Parent(),
      Element("PRODUCT_ID"), Text(kProductId), Parent(),
      Element("MIN_TEMPERATURE"), Text(kMinTemperature), Parent(),
      Element("MAX_TEMPERATURE"), Text(kMaxTemperature), Parent(),
      Element("FLOCCULATION"), Text(kFlocculation), Parent(),
      Element("ATTENUATION"), Text(kAttenuation), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("BEST_FOR"), Text(kBestFor), Parent(),
    Parent(),
  });
}();
// clang-format on

enum class WaterSlot : std::uint16_t {
  kName,
  kVersion,
  kAmount,
  kCalcium,
  kBicarbonate,
  kSulfate,
  kChloride,
  kSodium,
  kMagnesium,
  kPh,
  kNotes,
  kCount
};

// clang-format off
constexpr auto kWaterTable = [] {
  using namespace nodes;
  using enum WaterSlot;
  return Tree<WaterSlot>({
    Element("WATER"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("AMOUNT"), Text(kAmount), Parent(),
      Element("CALCIUM"), Text(kCalcium), Parent(),
      Element("BICARBONATE"), Text(kBicarbonate), Parent(),
      Element("SULFATE"), Text(kSulfate), Parent(),
      Element("CHLORIDE"), Text(kChloride), Parent(),
      Element("SODIUM"), Text(kSodium), Parent(),
      Element("MAGNESIUM"), Text(kMagnesium), Parent(),
      Element("PH"), Text(kPh), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
    Parent(),
  });
}();
// clang-format on

enum class StyleSlot : std::uint16_t {
  kName,
  kCategory,
  kVersion,
  kCategoryNumber,
  kStyleLetter,
  kStyleGuide,
  kType,
  kOgMin,
  kOgMax,
  kFgMin,
  kFgMax,
  kIbuMin,
  kIbuMax,
  kColorMin,
  kColorMax,
  kAbvMin,
  kAbvMax,
  kNotes,
  kProfile,
  kExamples,
  kCount
};

// clang-format off
constexpr auto kStyleTable = [] {
  using namespace nodes;
  using enum StyleSlot;
  return Tree<StyleSlot>({
    Element("STYLE"),
      Element("NAME"), Text(kName), Parent(),
      Element("CATEGORY"), Text(kCategory), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("CATEGORY_NUMBER"), Text(kCategoryNumber), Parent(),
      Element("STYLE_LETTER"), Text(kStyleLetter), Parent(),
      Element("STYLE_GUIDE"), Text(kStyleGuide), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("OG_MIN"), Text(kOgMin), Parent(),
      Element("OG_MAX"), Text(kOgMax), Parent(),
      Element("FG_MIN"), Text(kFgMin), Parent(),
      Element("FG_MAX"), Text(kFgMax), Parent(),
      Element("IBU_MIN"), Text(kIbuMin), Parent(),
      Element("IBU_MAX"), Text(kIbuMax), Parent(),
      Element("COLOR_MIN"), Text(kColorMin), Parent(),
      Element("COLOR_MAX"), Text(kColorMax), Parent(),
      Element("ABV_MIN"), Text(kAbvMin), Parent(),
      Element("ABV_MAX"), Text(kAbvMax), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("PROFILE"), Text(kProfile), Parent(),
      Element("EXAMPLES"), Text(kExamples), Parent(),
    Parent(),
  });
}();
// clang-format on

// A mash up to its open step list; kMashClose closes both.
enum class MashSlot : std::uint16_t { kName, kVersion, kGrainTemp, kNotes, kCount };

// clang-format off
constexpr auto kMashOpen = [] {
  using namespace nodes;
  using enum MashSlot;
  return Tree<MashSlot>({
    Element("MASH"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("GRAIN_TEMP"), Text(kGrainTemp), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("MASH_STEPS"),
  });
}();
// clang-format on

constexpr auto kMashClose = Tree<NoSlot>({nodes::Parent(), nodes::Parent()});

enum class StepSlot : std::uint16_t {
  kName,
  kVersion,
  kType,
  kInfuseAmount,
  kDecoctionAmount,
  kStepTemp,
  kStepTime,
  kRampTime,
  kEndTemp,
  kDescription,
  kWaterGrainRatio,
  kInfuseTemp,
  kCount
};

// clang-format off
constexpr auto kStepTable = [] {
  using namespace nodes;
  using enum StepSlot;
  return Tree<StepSlot>({
    Element("MASH_STEP"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("INFUSE_AMOUNT"), Text(kInfuseAmount), Parent(),
      Element("DECOCTION_AMOUNT"), Text(kDecoctionAmount), Parent(),
      Element("STEP_TEMP"), Text(kStepTemp), Parent(),
      Element("STEP_TIME"), Text(kStepTime), Parent(),
      Element("RAMP_TIME"), Text(kRampTime), Parent(),
      Element("END_TEMP"), Text(kEndTemp), Parent(),
      Element("DESCRIPTION"), Text(kDescription), Parent(),
      Element("WATER_GRAIN_RATIO"), Text(kWaterGrainRatio), Parent(),
      Element("INFUSE_TEMP"), Text(kInfuseTemp), Parent(),
    Parent(),
  });
}();
// clang-format on

// A recipe's own fields, its style and equipment, up to its open fermentable list.
enum class RecipeSlot : std::uint16_t {
  kName,
  kVersion,
  kType,
  kBrewer,
  kBatchSize,
  kBoilSize,
  kBoilTime,
  kEfficiency,
  kNotes,
  kOg,
  kStyleName,
  kStyleCategory,
  kStyleVersion,
  kStyleCategoryNumber,
  kStyleLetter,
  kStyleGuide,
  kStyleType,
  kStyleOgMin,
  kStyleOgMax,
  kStyleFgMin,
  kStyleFgMax,
  kStyleIbuMin,
  kStyleIbuMax,
  kStyleColorMin,
  kStyleColorMax,
  kEquipmentName,
  kEquipmentVersion,
  kEquipmentBoilSize,
  kEquipmentBatchSize,
  kEquipmentBoilTime,
  kCount
};

// clang-format off
constexpr auto kRecipeOpen = [] {
  using namespace nodes;
  using enum RecipeSlot;
  return Tree<RecipeSlot>({
    Element("RECIPE"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("BREWER"), Text(kBrewer), Parent(),
      Element("BATCH_SIZE"), Text(kBatchSize), Parent(),
      Element("BOIL_SIZE"), Text(kBoilSize), Parent(),
      Element("BOIL_TIME"), Text(kBoilTime), Parent(),
      Element("EFFICIENCY"), Text(kEfficiency), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("OG"), Text(kOg), Parent(),
      Element("STYLE"),
        Element("NAME"), Text(kStyleName), Parent(),
        Element("CATEGORY"), Text(kStyleCategory), Parent(),
        Element("VERSION"), Text(kStyleVersion), Parent(),
        Element("CATEGORY_NUMBER"), Text(kStyleCategoryNumber), Parent(),
        Element("STYLE_LETTER"), Text(kStyleLetter), Parent(),
        Element("STYLE_GUIDE"), Text(kStyleGuide), Parent(),
        Element("TYPE"), Text(kStyleType), Parent(),
        Element("OG_MIN"), Text(kStyleOgMin), Parent(),
        Element("OG_MAX"), Text(kStyleOgMax), Parent(),
        Element("FG_MIN"), Text(kStyleFgMin), Parent(),
        Element("FG_MAX"), Text(kStyleFgMax), Parent(),
        Element("IBU_MIN"), Text(kStyleIbuMin), Parent(),
        Element("IBU_MAX"), Text(kStyleIbuMax), Parent(),
        Element("COLOR_MIN"), Text(kStyleColorMin), Parent(),
        Element("COLOR_MAX"), Text(kStyleColorMax), Parent(),
      Parent(),
      Element("EQUIPMENT"),
        Element("NAME"), Text(kEquipmentName), Parent(),
        Element("VERSION"), Text(kEquipmentVersion), Parent(),
        Element("BOIL_SIZE"), Text(kEquipmentBoilSize), Parent(),
        Element("BATCH_SIZE"), Text(kEquipmentBatchSize), Parent(),
        Element("BOIL_TIME"), Text(kEquipmentBoilTime), Parent(),
      Parent(),
      Element("FERMENTABLES"),
  });
}();
// clang-format on

// Between a recipe's lists: close one, open the next; and the recipe's close.
constexpr auto kToHops = Tree<NoSlot>({nodes::Parent(), nodes::Element("HOPS")});
constexpr auto kToMiscs = Tree<NoSlot>({nodes::Parent(), nodes::Element("MISCS")});
constexpr auto kToYeasts = Tree<NoSlot>({nodes::Parent(), nodes::Element("YEASTS")});
constexpr auto kToWaters = Tree<NoSlot>({nodes::Parent(), nodes::Element("WATERS")});
constexpr auto kCloseList = Tree<NoSlot>({nodes::Parent()});
constexpr auto kCloseRecipe = Tree<NoSlot>({nodes::Parent()});

static_assert(IsBalanced(kHopTable.entries) && IsBalanced(kFermentableTable.entries) &&
              IsBalanced(kMiscTable.entries) && IsBalanced(kYeastTable.entries) &&
              IsBalanced(kWaterTable.entries) && IsBalanced(kStyleTable.entries) &&
              IsBalanced(kStepTable.entries));
static_assert(EndDepth(kMashOpen.entries) + EndDepth(kMashClose.entries) == 0);
static_assert(EndDepth(kRecipeOpen.entries) + EndDepth(kToHops.entries) +
                  EndDepth(kToMiscs.entries) + EndDepth(kToYeasts.entries) +
                  EndDepth(kToWaters.entries) + EndDepth(kCloseList.entries) +
                  EndDepth(kCloseRecipe.entries) ==
              0);

constexpr const char* kVersionOne = "1";

// ---------------------------------------------------------------------------------------------
// The values of each table, from the model.

NodeValues<HopSlot> HopVarietyValues(const m::HopVariety& hop) {
  using enum HopSlot;
  NodeValues<HopSlot> v;
  Notes notes(hop.notes);
  v[kName] = Name(hop.name, "Unnamed hop", notes);
  v[kVersion] = kVersionOne;
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
  v[kVersion] = kVersionOne;
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

NodeValues<FermentableSlot> FermentableValues(const m::Fermentable& f, const m::Quantity* amount) {
  using enum FermentableSlot;
  NodeValues<FermentableSlot> v;
  Notes notes(f.notes);
  v[kName] = Name(f.name, "Unnamed fermentable", notes);
  v[kVersion] = kVersionOne;
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

// A misc amount in kg, or in L for a volume; an amount whose unit was replaced or means nothing
// is 0, the stored amount named in the notes.
void MiscAmountValues(const m::MiscAmount& amount, std::string_view what, NodeValues<MiscSlot>& v,
                      Notes& notes) {
  using enum MiscSlot;
  v[kAmountIsWeight] = Bool(!amount.volume);
  if (!amount.unit) {
    v[kAmount] = "0";
    notes.Add(std::string(what) + ": " + m::UnknownCodeLine("unit", amount.unit_code));
    return;
  }
  v[kAmount] = NotNegative({amount.value, *amount.unit}, what, notes);
  if (amount.replaced()) {
    notes.Add(m::AsStoredLine(what, m::NumberText(amount.stored_value) + " (unit code " +
                                        std::to_string(amount.stored_unit_code) + ")"));
  }
}

void MiscCodes(const m::Coded<m::MiscType>& type, const m::Coded<m::MiscUse>& use,
               NodeValues<MiscSlot>& v, Notes& notes) {
  using enum MiscSlot;
  const std::string_view word = m::WordOf(kMiscTypes, type, "Type", notes);
  m::NoteApplicationWord(word, m::kApplicationMiscTypes, type, "Type: ", notes);
  v[kType] = std::string(word);
  v[kUse] = std::string(m::WordOf(kMiscUses, use, "Use", notes));
}

NodeValues<MiscSlot> MiscValues(const m::Misc& misc) {
  using enum MiscSlot;
  NodeValues<MiscSlot> v;
  Notes notes(misc.notes);
  v[kName] = Name(misc.name, "Unnamed ingredient", notes);
  v[kVersion] = kVersionOne;
  MiscCodes(misc.type, misc.use, v, notes);
  v[kTime] = misc.time ? NotNegative(*misc.time, "Time", notes) : "0";
  MiscAmountValues(misc.inventory, "Inventory", v, notes);
  v[kUseFor] = misc.use_for;
  v[kNotes] = notes.Take();
  return v;
}

NodeValues<MiscSlot> MiscAdditionValues(const m::MiscAddition& misc) {
  using enum MiscSlot;
  NodeValues<MiscSlot> v;
  Notes notes;
  v[kName] = Name(misc.name, "Unnamed ingredient", notes);
  v[kVersion] = kVersionOne;
  MiscCodes(misc.type, misc.use, v, notes);
  v[kTime] = misc.time ? NotNegative(*misc.time, "Time", notes) : "0";
  MiscAmountValues(misc.amount, "Amount", v, notes);
  v[kNotes] = notes.Take();
  return v;
}

NodeValues<YeastSlot> YeastValues(const m::Culture& c, const m::Quantity* amount) {
  using enum YeastSlot;
  NodeValues<YeastSlot> v;
  Notes notes(c.notes);
  v[kName] = Name(c.name, "Unnamed yeast", notes);
  v[kVersion] = kVersionOne;
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

NodeValues<WaterSlot> WaterValues(const m::Water& w, const m::Quantity* amount) {
  using enum WaterSlot;
  NodeValues<WaterSlot> v;
  Notes notes(w.notes);
  v[kName] = Name(w.name, "Unnamed water", notes);
  v[kVersion] = kVersionOne;
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

NodeValues<StyleSlot> StyleValues(const m::Style& s) {
  using enum StyleSlot;
  NodeValues<StyleSlot> v;
  Notes notes;
  v[kName] = Name(s.full_name, "Unnamed style", notes);
  v[kCategory] = s.category;
  v[kVersion] = kVersionOne;
  v[kCategoryNumber] = std::to_string(s.category_number);
  v[kStyleLetter] = s.style_letter;
  v[kStyleGuide] = s.style_guide;
  v[kType] = std::string(m::WordOf(kStyleTypes, s.type, "Type", notes));
  v[kOgMin] = Gravity(s.original_gravity.minimum, "OG minimum", notes);
  v[kOgMax] = Gravity(s.original_gravity.maximum, "OG maximum", notes);
  v[kFgMin] = Gravity(s.final_gravity.minimum, "FG minimum", notes);
  v[kFgMax] = Gravity(s.final_gravity.maximum, "FG maximum", notes);
  v[kIbuMin] = Bounded(s.bitterness.minimum, 0, 5000, "IBU minimum", notes);
  v[kIbuMax] = Bounded(s.bitterness.maximum, 0, 5000, "IBU maximum", notes);
  v[kColorMin] = Bounded(s.color.minimum, 0, 300, "Color minimum", notes);
  v[kColorMax] = Bounded(s.color.maximum, 0, 300, "Color maximum", notes);
  v[kAbvMin] = Percent(s.alcohol_by_volume.minimum, "ABV minimum", notes);
  v[kAbvMax] = Percent(s.alcohol_by_volume.maximum, "ABV maximum", notes);
  v[kProfile] = s.profile;
  v[kExamples] = s.examples;
  v[kNotes] = notes.Take();
  return v;
}

// A mash's steps of a known kind, and the mash's values with what was left out in its notes.
NodeValues<MashSlot> MashValues(const m::Mash& mash, Notes& notes) {
  using enum MashSlot;
  NodeValues<MashSlot> v;
  v[kName] = LineName(mash.name, "Name", notes);
  v[kVersion] = kVersionOne;
  v[kGrainTemp] = Celsius(mash.grain_temperature, "Grain temperature", notes);
  for (const m::MashStep& step : mash.steps) {
    if (!step.kind.known()) {
      notes.Add(m::LeftOutStepLine(step));
    }
  }
  return v;
}

NodeValues<StepSlot> StepValues(const m::MashStep& step, Notes& notes) {
  using enum StepSlot;
  NodeValues<StepSlot> v;
  const std::string name = OneLine(step.name);
  const std::string who = "Step \"" + name + "\" ";
  v[kName] = LineName(step.name, who + "name", notes);
  v[kVersion] = kVersionOne;
  v[kType] = std::string(kStepKinds[step.kind.meaning]);
  if (step.kind.meaning == m::MashStepKind::kInfusion) {
    // An infusion names its water; the 1.0 text requires it.
    v[kInfuseAmount] = step.amount ? NotNegative(*step.amount, who + "amount", notes) : "0";
  } else if (step.kind.meaning == m::MashStepKind::kDecoction && step.amount) {
    v[kDecoctionAmount] = NotNegative(*step.amount, who + "amount", notes);
  }
  v[kStepTemp] = Celsius(step.step_temperature, who + "temperature", notes);
  v[kStepTime] = NotNegative(step.step_time, who + "time", notes);
  v[kRampTime] = NotNegative(step.ramp_time, who + "ramp time", notes);
  v[kEndTemp] = Celsius(step.end_temperature, who + "end temperature", notes);
  v[kDescription] = step.description;
  if (step.water_grain_ratio) v[kWaterGrainRatio] = MetricText(*step.water_grain_ratio) + " L/kg";
  if (step.infuse_temperature) v[kInfuseTemp] = MetricText(*step.infuse_temperature) + " C";
  return v;
}

NodeValues<RecipeSlot> RecipeValues(const m::Recipe& r) {
  using enum RecipeSlot;
  NodeValues<RecipeSlot> v;
  Notes notes(r.notes);
  v[kName] = Name(r.name, "Unnamed recipe", notes);
  v[kVersion] = kVersionOne;
  v[kType] = std::string(m::WordOf(kRecipeTypes, r.type, "Recipe type", notes));
  v[kBrewer] = std::string();
  v[kBatchSize] = NotNegative(r.batch_size, "Batch size", notes);
  v[kBoilSize] = NotNegative(r.boil_size, "Boil size", notes);
  v[kBoilTime] = NotNegative(r.boil_time, "Boil time", notes);
  v[kEfficiency] = Percent(r.efficiency, "Efficiency", notes);
  v[kOg] = Gravity(r.original_gravity, "Original gravity", notes);
  v[kEquipmentName] = *v[kName];
  v[kEquipmentVersion] = kVersionOne;
  v[kEquipmentBoilSize] = v[kBoilSize];
  v[kEquipmentBatchSize] = v[kBatchSize];
  v[kEquipmentBoilTime] = v[kBoilTime];
  // A recipe must name a style; the recipe keeps the style's names but not its ranges, which
  // are written as the widest the format takes rather than made up.
  v[kStyleVersion] = kVersionOne;
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

// ---------------------------------------------------------------------------------------------
// The engine side: one walk per table, with every leaf element whose slot is absent switched off.

class Walker {
 public:
  Walker(DomDocument* document, DomNode& cursor, ExportRun& run)
      : document_(document), cursor_(cursor), run_(run) {}

  template <class Slot, std::size_t N>
  void Walk(NodeTable<Slot>& table, const NodeTree<Slot, N>& tree, const NodeValues<Slot>& v) {
    for (std::size_t i = 0; i + 1 < N; ++i) {
      if (tree.entries[i].kind == NodeKind::Element && tree.entries[i + 1].kind == NodeKind::Text) {
        table.Switch(i, v[static_cast<Slot>(tree.entries[i + 1].slot)].has_value());
      }
    }
    EmitNodeTable(document_, cursor_, table, v, run_);
  }

  template <std::size_t N>
  void Walk(const NodeTree<NoSlot, N>& tree) {
    EmitNodeTable(document_, cursor_, tree, run_);
  }

  DomNode& cursor() { return cursor_; }

 private:
  DomDocument* document_;
  DomNode& cursor_;
  ExportRun& run_;
};

// One table with its working copy.
template <class Slot, std::size_t N>
struct Table {
  explicit Table(const NodeTree<Slot, N>& t) : tree(t), copy(t) {}
  void Walk(Walker& walker, const NodeValues<Slot>& v) { walker.Walk(copy, tree, v); }
  const NodeTree<Slot, N>& tree;
  NodeTable<Slot> copy;
};

template <class Slot, std::size_t N>
Table(const NodeTree<Slot, N>&) -> Table<Slot, N>;

// A mash with its steps of known kinds. A failed open leaves the cursor where it was: the steps
// and the close are not written then, which would climb out of the mash's container.
class MashWriter {
 public:
  void Write(Walker& walker, const m::Mash& mash) {
    Notes notes;
    NodeValues<MashSlot> values = MashValues(mash, notes);
    std::vector<NodeValues<StepSlot>> steps;
    for (const m::MashStep& step : mash.steps) {
      if (step.kind.known()) steps.push_back(StepValues(step, notes));
    }
    if (!notes.text().empty()) values[MashSlot::kNotes] = notes.Take();
    const DomNode before = walker.cursor();
    mash_.Walk(walker, values);
    if (walker.cursor() == before) return;
    for (const NodeValues<StepSlot>& step : steps) step_.Walk(walker, step);
    walker.Walk(kMashClose);
  }

 private:
  Table<MashSlot, kMashOpen.entries.size()> mash_{kMashOpen};
  Table<StepSlot, kStepTable.entries.size()> step_{kStepTable};
};

class RecipeWriter {
 public:
  void Write(Walker& walker, const m::Recipe& r) {
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

 private:
  Table<RecipeSlot, kRecipeOpen.entries.size()> recipe_{kRecipeOpen};
  Table<FermentableSlot, kFermentableTable.entries.size()> fermentable_{kFermentableTable};
  Table<HopSlot, kHopTable.entries.size()> hop_{kHopTable};
  Table<MiscSlot, kMiscTable.entries.size()> misc_{kMiscTable};
  Table<YeastSlot, kYeastTable.entries.size()> yeast_{kYeastTable};
  Table<WaterSlot, kWaterTable.entries.size()> water_{kWaterTable};
  MashWriter mash_;
};

// One list of records, each record's model built and walked in turn.
//
// A list holds at least one record and a document at least one list (importers validate both),
// so no BeerXML 1.0 document holds nothing: without records nothing is written, and the run says
// why.
template <class Record, class Write>
void WriteList(std::string_view list, std::span<const Record> records, ExportRun& run,
               Write&& write) {
  if (records.empty()) {
    run.write_error = kNothingToWrite;
    return;
  }
  RunExporterFrom(Template(list), list, run, [&](DomDocument* document, DomNode& cursor) {
    Walker walker(document, cursor, run);
    for (const Record& record : records) write(walker, m::ModelOf(record));
  });
}

}  // namespace

void WriteMiscBeerXml1(std::span<const MiscRecord> records, ExportRun& run) {
  Table table(kMiscTable);
  WriteList("MISCS", records, run,
            [&](Walker& w, const m::Misc& misc) { table.Walk(w, MiscValues(misc)); });
}

void WriteMaltBeerXml1(std::span<const MaltRecord> records, ExportRun& run) {
  Table table(kFermentableTable);
  WriteList("FERMENTABLES", records, run, [&](Walker& w, const m::Fermentable& f) {
    table.Walk(w, FermentableValues(f, nullptr));
  });
}

void WriteHopBeerXml1(std::span<const HopRecord> records, ExportRun& run) {
  Table table(kHopTable);
  WriteList("HOPS", records, run,
            [&](Walker& w, const m::HopVariety& hop) { table.Walk(w, HopVarietyValues(hop)); });
}

void WriteStyleBeerXml1(std::span<const StyleRecord> records, ExportRun& run) {
  Table table(kStyleTable);
  WriteList("STYLES", records, run,
            [&](Walker& w, const m::Style& style) { table.Walk(w, StyleValues(style)); });
}

void WriteWaterBeerXml1(std::span<const WaterRecord> records, ExportRun& run) {
  Table table(kWaterTable);
  WriteList("WATERS", records, run,
            [&](Walker& w, const m::Water& water) { table.Walk(w, WaterValues(water, nullptr)); });
}

void WriteYeastBeerXml1(std::span<const YeastRecord> records, ExportRun& run) {
  Table table(kYeastTable);
  WriteList("YEASTS", records, run,
            [&](Walker& w, const m::Culture& c) { table.Walk(w, YeastValues(c, nullptr)); });
}

void WriteMashBeerXml1(std::span<const MashScheduleRecord> records, ExportRun& run) {
  MashWriter writer;
  WriteList("MASHS", records, run, [&](Walker& w, const m::Mash& mash) { writer.Write(w, mash); });
}

void WriteRecipeBeerXml1(std::span<const RecipeRecord> records, ExportRun& run) {
  RecipeWriter writer;
  WriteList("RECIPES", records, run,
            [&](Walker& w, const m::Recipe& recipe) { writer.Write(w, recipe); });
}

}  // namespace kegverter
