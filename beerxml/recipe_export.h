// The recipes list (from a '.rec' file). A recipe is not one table: it is written by a sequence of
// walks on one cursor, each landing inside the elements an earlier walk left open:
//   RecipeHeaderTable            recipes -> recipe/ingredients (style switched per recipe)
//   per list: OpenListTable, one item table per entry, CloseTable      (inside ingredients)
//   CloseTable                   ingredients -> recipe
//   MashTable, MashStepTable per step, MashCloseTable                  (inside recipe)
//   RecipeSummaryTable           balanced, inside recipe
// A list without entries is left out, and so is the mash of an extract recipe or of a recipe
// whose rests or step list hold nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "beerxml/emitter.h"
#include "beerxml/mash_export.h"
#include "beerxml/misc_malt_export.h"
#include "beerxml/node_table.h"
#include "source/recipe.h"

namespace kegverter {

namespace recipe_tables {
using namespace nodes;

// clang-format off
/// `recipe` with its scalar elements and style, ending inside the new `ingredients`: neither
/// `recipe` nor `ingredients` is closed here.
inline constexpr NodeSpec RecipeHeaderTable[] = {
    Element("recipe"),
        Element("name"), Text(), Parent(),
        Element("type"), Text(), Parent(),
        Element("author"), Text(), Parent(),
        Element("coauthor"), Text(), Parent(),
        Element("created"), Text(), Parent(),
        Element("batch_size"), Attribute("volume"), Text(), Parent(),
        Element("boil_size"), Attribute("volume"), Text(), Parent(),
        Element("boil_time"), Attribute("duration"), Text(), Parent(),
        Element("efficiency"), Text(), Parent(),
        Element("style"),
            Element("name"), Text(), Parent(),
            Element("category"), Text(), Parent(),
            Element("category_number"), Text(), Parent(),
            Element("style_letter"), Text(), Parent(),
            Element("style_guide"), Text(), Parent(),
            Element("type"), Text(), Parent(),
        Parent(),
        Element("ingredients"),
};

/// Opens one ingredient list and descends into it.
constexpr std::array<NodeSpec, 1> OpenListTable(const char* list) { return {Element(list)}; }
inline constexpr auto OpenGrainBill = OpenListTable("grain_bill");
inline constexpr auto OpenHopBill = OpenListTable("hop_bill");
inline constexpr auto OpenAdjuncts = OpenListTable("adjuncts");
inline constexpr auto OpenYeastAdditions = OpenListTable("yeast_additions");
inline constexpr auto OpenWaterProfile = OpenListTable("water_profile");

/// Climbs one level: closes a list, or `ingredients`.
inline constexpr NodeSpec CloseTable[] = {Parent()};

inline constexpr NodeSpec RecipeFermentableTable[] = {
    Element("fermentable"),
        Element("name"), Text(), Parent(),
        Element("type"), Text(), Parent(),
        Element("color"), Attribute("scale"), Text(), Parent(),
        Element("origin"), Text(), Parent(),
        Element("amount"), Attribute("mass"), Text(), Parent(),
        Element("add_after_boil"), Text(), Parent(),
    Parent(),
};

/// `beta_acid_units` is written only for a hop whose beta acid is known (above 0).
inline constexpr NodeSpec RecipeHopTable[] = {
    Element("hop"),
        Element("name"), Text(), Parent(),
        Element("origin"), Text(), Parent(),
        Element("alpha_acid_units"), Text(), Parent(),
        Element("beta_acid_units"), Text(), Parent(),
        Element("form"), Text(), Parent(),
        Element("use"), Text(), Parent(),
        Element("amount"), Attribute("mass"), Text(), Parent(),
        Element("time"), Attribute("duration"), Text(), Parent(),
    Parent(),
};

/// Exactly one of `amount` (a volume) and `amount_as_weight` (a mass) is written per item.
inline constexpr NodeSpec RecipeMiscTable[] = {
    Element("miscellaneous"),
        Element("name"), Text(), Parent(),
        Element("type"), Text(), Parent(),
        Element("use"), Text(), Parent(),
        Element("amount"), Attribute("volume"), Text(), Parent(),
        Element("amount_as_weight"), Attribute("mass"), Text(), Parent(),
        Element("time"), Attribute("duration"), Text(), Parent(),
    Parent(),
};

/// Dry yeast is weighed, liquid and slant yeast measured by volume; the recipe keeps no
/// culture history, so `times_cultured` and `add_to_secondary` are never written.
inline constexpr NodeSpec RecipeYeastTable[] = {
    Element("yeast"),
        Element("name"), Text(), Parent(),
        Element("type"), Text(), Parent(),
        Element("form"), Text(), Parent(),
        Element("laboratory"), Text(), Parent(),
        Element("product_id"), Text(), Parent(),
        Element("amount"), Attribute("volume"), Text(), Parent(),
        Element("amount_as_weight"), Attribute("mass"), Text(), Parent(),
        Element("times_cultured"), Text(), Parent(),
        Element("add_to_secondary"), Text(), Parent(),
    Parent(),
};

inline constexpr NodeSpec RecipeWaterTable[] = {
    Element("water"),
        Element("name"), Text(), Parent(),
        Element("calcium"), Text(), Parent(),
        Element("bicarbonate"), Text(), Parent(),
        Element("sulfate"), Text(), Parent(),
        Element("chloride"), Text(), Parent(),
        Element("sodium"), Text(), Parent(),
        Element("magnesium"), Text(), Parent(),
        Element("amount"), Attribute("volume"), Text(), Parent(),
    Parent(),
};

/// The elements that close a recipe, directly inside `recipe`. The application keeps no final
/// gravity, alcohol or carbonation figures, so those three are never written.
inline constexpr NodeSpec RecipeSummaryTable[] = {
    Element("notes"), Text(), Parent(),
    Element("original_gravity"), Attribute("density"), Text(), Parent(),
    Element("final_gravity"), Attribute("density"), Text(), Parent(),
    Element("alcohol_by_volume"), Text(), Parent(),
    Element("international_bitterness_units"),
        Element("method"), Text(), Parent(),
        Element("estimate"), Text(), Parent(),
    Parent(),
    Element("carbonation"), Text(), Parent(),
};
// clang-format on

}  // namespace recipe_tables

using recipe_tables::CloseTable;
using recipe_tables::OpenListTable;
using recipe_tables::RecipeFermentableTable;
using recipe_tables::RecipeHeaderTable;
using recipe_tables::RecipeHopTable;
using recipe_tables::RecipeMiscTable;
using recipe_tables::RecipeSummaryTable;
using recipe_tables::RecipeWaterTable;
using recipe_tables::RecipeYeastTable;

// Word tables, indexed by the stored code; a code past the end has no word.

/// RecipeRecord::recipe_type.
inline constexpr const char* kRecipeTypeWords[] = {"all grain", "partial mash", "extract"};
/// A hop addition's form: bits 12 to 15 of `type_code`.
inline constexpr const char* kHopFormWords[] = {"leaf", "plug", "pellet"};
/// MiscAddition::time_units: the unit of `suggested_time`.
inline constexpr const char* kMiscTimeUnitWords[] = {"day", "min"};

/// Optional elements, by their Element entries.
inline constexpr std::size_t kStyleEntry = ElementEntry(RecipeHeaderTable, "recipe/style");
inline constexpr std::size_t kBetaAcidUnitsEntry =
    ElementEntry(RecipeHopTable, "hop/beta_acid_units");
inline constexpr std::size_t kMiscVolumeEntry =
    ElementEntry(RecipeMiscTable, "miscellaneous/amount");
inline constexpr std::size_t kMiscMassEntry =
    ElementEntry(RecipeMiscTable, "miscellaneous/amount_as_weight");
inline constexpr std::size_t kYeastVolumeEntry = ElementEntry(RecipeYeastTable, "yeast/amount");
inline constexpr std::size_t kYeastMassEntry =
    ElementEntry(RecipeYeastTable, "yeast/amount_as_weight");

/// True when the recipe names a style (its first text field is not empty).
bool HasStyle(const RecipeRecord& recipe);

/// The 18 values of RecipeHeaderTable; the six style values are absent without a style.
NodeValues RecipeHeaderValues(const RecipeRecord& recipe);

/// The efficiency as a percentage: a stored value up to 1.1 is a fraction, a larger one is
/// already a percentage.
std::string EfficiencyText(float efficiency);

/// The values of one item of each list, in table order.
NodeValues RecipeFermentableValues(const FermentableAddition& fermentable);
NodeValues RecipeHopValues(const HopAddition& hop);
/// `amount` is the misc amount as ResolveMiscAmount decides it.
NodeValues RecipeMiscValues(const MiscAddition& misc, const MiscAmount& amount);
NodeValues RecipeYeastValues(const YeastRecord& yeast);
/// The water is as much as the recipe boils.
NodeValues RecipeWaterValues(const WaterRecord& water, float boil_size);

/// The 9 values of RecipeSummaryTable.
NodeValues RecipeSummaryValues(const RecipeRecord& recipe);

/// Pounds of grain in the recipe: the amounts of the grain-type fermentables, summed in single
/// precision in list order.
float GrainWeight(std::span<const FermentableAddition> fermentables);

/// Temperature of the strike water that, mixed with `grain_weight` pounds of grain at
/// `grain_temperature` in `mash_water` quarts, settles at `rest_temperature`; truncated toward
/// zero and held to the 32-bit range. Without mash water it is the rest temperature.
std::int32_t StrikeTemperature(std::int32_t rest_temperature, float grain_weight, float mash_water,
                               std::int32_t grain_temperature);

/// One step of a recipe's mash, as ComposeMashStep takes it.
struct RecipeMashStep {
  std::int32_t kind = kInfusionStep;
  NarrowText name;
  float amount = 0;  ///< quarts
  std::int32_t step_temperature = 0;
  std::int32_t step_time = 0;
  std::int32_t ramp_time = 0;
  std::int32_t end_temperature = 0;
  std::int32_t infuse_temperature = 0;
  float water_grain_ratio = 0;
};

/// A recipe's mash: the header values of MashTable and its steps in order.
struct RecipeMash {
  MashView header;
  std::vector<RecipeMashStep> steps;
};

/// The mash a recipe gets: its own step list when the schedule says so, otherwise the simple
/// mash made from the rests of its process section; nothing for an extract recipe or when the
/// chosen source holds no step.
std::optional<RecipeMash> PlanRecipeMash(const RecipeRecord& recipe);

/// Writes `records` as the `recipes` list to `output_path`, one `recipe` each. Returns 0.
int ExportRecipeRecords(std::span<const RecipeRecord> records, const std::string& output_path,
                        ExportRun& run);

}  // namespace kegverter
