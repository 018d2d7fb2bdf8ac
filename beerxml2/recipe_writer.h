// The recipes list (from a '.rec' file). A recipe is not one table: it is written by a sequence of
// walks on one cursor, each landing inside the elements an earlier walk left open:
//   kRecipeHeaderTable            recipes -> recipe/ingredients (style switched per recipe)
//   per list: kOpen... table, one item table per entry, kCloseTable    (inside ingredients)
//   kCloseTable                   ingredients -> recipe
//   kMashTable, kMashStepTable per step, kMashCloseTable              (inside recipe)
//   kRecipeSummaryTable           balanced, inside recipe
// A list without entries is left out, and so is the mash of an extract recipe or of a recipe
// whose rests or step list hold nothing (the mash is the model's: model::RecipeMash).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "beerxml2/mash_writer.h"
#include "beerxml2/misc_writer.h"
#include "document/emitter.h"
#include "document/node_table.h"
#include "model/brewing.h"
#include "model/words.h"
#include "output/document_writer.h"
#include "source/recipe.h"

namespace kegverter {

enum class RecipeHeaderSlot : std::uint16_t {
  kName,
  kType,
  kAuthor,
  kCoauthor,
  kCreated,
  kBatchSizeUnit,
  kBatchSize,
  kBoilSizeUnit,
  kBoilSize,
  kBoilTimeUnit,
  kBoilTime,
  kEfficiency,
  kStyleName,
  kStyleCategory,
  kStyleCategoryNumber,
  kStyleLetter,
  kStyleGuide,
  kStyleType,
  kCount
};
enum class RecipeFermentableSlot : std::uint16_t {
  kName,
  kType,
  kColorScale,
  kColor,
  kOrigin,
  kAmountUnit,
  kAmount,
  kAddAfterBoil,
  kCount
};
enum class RecipeHopSlot : std::uint16_t {
  kName,
  kOrigin,
  kAlphaAcid,
  kBetaAcid,
  kForm,
  kUse,
  kAmountUnit,
  kAmount,
  kTimeUnit,
  kTime,
  kCount
};
enum class RecipeMiscSlot : std::uint16_t {
  kName,
  kType,
  kUse,
  kVolumeUnit,
  kVolume,
  kMassUnit,
  kMass,
  kTimeUnit,
  kTime,
  kCount
};
enum class RecipeYeastSlot : std::uint16_t {
  kName,
  kType,
  kForm,
  kLaboratory,
  kProductId,
  kVolumeUnit,
  kVolume,
  kMassUnit,
  kMass,
  kTimesCultured,
  kAddToSecondary,
  kCount
};
enum class RecipeWaterSlot : std::uint16_t {
  kName,
  kCalcium,
  kBicarbonate,
  kSulfate,
  kChloride,
  kSodium,
  kMagnesium,
  kAmountUnit,
  kAmount,
  kCount
};
enum class RecipeSummarySlot : std::uint16_t {
  kNotes,
  kOriginalGravityUnit,
  kOriginalGravity,
  kFinalGravityUnit,
  kFinalGravity,
  kAlcohol,
  kBitternessMethod,
  kBitterness,
  kCarbonation,
  kCount
};

// clang-format off
/// `recipe` with its scalar elements and style, ending inside the new `ingredients`: neither
/// `recipe` nor `ingredients` is closed here.
inline constexpr auto kRecipeHeaderTable = [] {
  using namespace nodes;
  using enum RecipeHeaderSlot;
  return Tree<RecipeHeaderSlot>({
    Element("recipe"),
        Element("name"), Text(kName), Parent(),
        Element("type"), Text(kType), Parent(),
        Element("author"), Text(kAuthor), Parent(),
        Element("coauthor"), Text(kCoauthor), Parent(),
        Element("created"), Text(kCreated), Parent(),
        Element("batch_size"), Attribute("volume", kBatchSizeUnit), Text(kBatchSize), Parent(),
        Element("boil_size"), Attribute("volume", kBoilSizeUnit), Text(kBoilSize), Parent(),
        Element("boil_time"), Attribute("duration", kBoilTimeUnit), Text(kBoilTime), Parent(),
        Element("efficiency"), Text(kEfficiency), Parent(),
        Element("style"),
            Element("name"), Text(kStyleName), Parent(),
            Element("category"), Text(kStyleCategory), Parent(),
            Element("category_number"), Text(kStyleCategoryNumber), Parent(),
            Element("style_letter"), Text(kStyleLetter), Parent(),
            Element("style_guide"), Text(kStyleGuide), Parent(),
            Element("type"), Text(kStyleType), Parent(),
        Parent(),
        Element("ingredients"),
  });
}();

/// Open one ingredient list each and descend into it.
inline constexpr auto kOpenGrainBill = Tree<NoSlot>({nodes::Element("grain_bill")});
inline constexpr auto kOpenHopBill = Tree<NoSlot>({nodes::Element("hop_bill")});
inline constexpr auto kOpenAdjuncts = Tree<NoSlot>({nodes::Element("adjuncts")});
inline constexpr auto kOpenYeastAdditions = Tree<NoSlot>({nodes::Element("yeast_additions")});
inline constexpr auto kOpenWaterProfile = Tree<NoSlot>({nodes::Element("water_profile")});

/// Climbs one level: closes a list, or `ingredients`.
inline constexpr auto kCloseTable = Tree<NoSlot>({nodes::Parent()});

inline constexpr auto kRecipeFermentableTable = [] {
  using namespace nodes;
  using enum RecipeFermentableSlot;
  return Tree<RecipeFermentableSlot>({
    Element("fermentable"),
        Element("name"), Text(kName), Parent(),
        Element("type"), Text(kType), Parent(),
        Element("color"), Attribute("scale", kColorScale), Text(kColor), Parent(),
        Element("origin"), Text(kOrigin), Parent(),
        Element("amount"), Attribute("mass", kAmountUnit), Text(kAmount), Parent(),
        Element("add_after_boil"), Text(kAddAfterBoil), Parent(),
    Parent(),
  });
}();

/// `beta_acid_units` is written only for a hop whose beta acid is known (above 0).
inline constexpr auto kRecipeHopTable = [] {
  using namespace nodes;
  using enum RecipeHopSlot;
  return Tree<RecipeHopSlot>({
    Element("hop"),
        Element("name"), Text(kName), Parent(),
        Element("origin"), Text(kOrigin), Parent(),
        Element("alpha_acid_units"), Text(kAlphaAcid), Parent(),
        Element("beta_acid_units"), Text(kBetaAcid), Parent(),
        Element("form"), Text(kForm), Parent(),
        Element("use"), Text(kUse), Parent(),
        Element("amount"), Attribute("mass", kAmountUnit), Text(kAmount), Parent(),
        Element("time"), Attribute("duration", kTimeUnit), Text(kTime), Parent(),
    Parent(),
  });
}();

/// Exactly one of `amount` (a volume) and `amount_as_weight` (a mass) is written per item.
inline constexpr auto kRecipeMiscTable = [] {
  using namespace nodes;
  using enum RecipeMiscSlot;
  return Tree<RecipeMiscSlot>({
    Element("miscellaneous"),
        Element("name"), Text(kName), Parent(),
        Element("type"), Text(kType), Parent(),
        Element("use"), Text(kUse), Parent(),
        Element("amount"), Attribute("volume", kVolumeUnit), Text(kVolume), Parent(),
        Element("amount_as_weight"), Attribute("mass", kMassUnit), Text(kMass), Parent(),
        Element("time"), Attribute("duration", kTimeUnit), Text(kTime), Parent(),
    Parent(),
  });
}();

/// Dry yeast is weighed, liquid and slant yeast measured by volume; the recipe keeps no
/// culture history, so `times_cultured` and `add_to_secondary` are never written.
inline constexpr auto kRecipeYeastTable = [] {
  using namespace nodes;
  using enum RecipeYeastSlot;
  return Tree<RecipeYeastSlot>({
    Element("yeast"),
        Element("name"), Text(kName), Parent(),
        Element("type"), Text(kType), Parent(),
        Element("form"), Text(kForm), Parent(),
        Element("laboratory"), Text(kLaboratory), Parent(),
        Element("product_id"), Text(kProductId), Parent(),
        Element("amount"), Attribute("volume", kVolumeUnit), Text(kVolume), Parent(),
        Element("amount_as_weight"), Attribute("mass", kMassUnit), Text(kMass), Parent(),
        Element("times_cultured"), Text(kTimesCultured), Parent(),
        Element("add_to_secondary"), Text(kAddToSecondary), Parent(),
    Parent(),
  });
}();

inline constexpr auto kRecipeWaterTable = [] {
  using namespace nodes;
  using enum RecipeWaterSlot;
  return Tree<RecipeWaterSlot>({
    Element("water"),
        Element("name"), Text(kName), Parent(),
        Element("calcium"), Text(kCalcium), Parent(),
        Element("bicarbonate"), Text(kBicarbonate), Parent(),
        Element("sulfate"), Text(kSulfate), Parent(),
        Element("chloride"), Text(kChloride), Parent(),
        Element("sodium"), Text(kSodium), Parent(),
        Element("magnesium"), Text(kMagnesium), Parent(),
        Element("amount"), Attribute("volume", kAmountUnit), Text(kAmount), Parent(),
    Parent(),
  });
}();

/// The elements that close a recipe, directly inside `recipe`. The application keeps no final
/// gravity, alcohol or carbonation figures, so those three are never written.
inline constexpr auto kRecipeSummaryTable = [] {
  using namespace nodes;
  using enum RecipeSummarySlot;
  return Tree<RecipeSummarySlot>({
    Element("notes"), Text(kNotes), Parent(),
    Element("original_gravity"), Attribute("density", kOriginalGravityUnit),
        Text(kOriginalGravity), Parent(),
    Element("final_gravity"), Attribute("density", kFinalGravityUnit), Text(kFinalGravity),
        Parent(),
    Element("alcohol_by_volume"), Text(kAlcohol), Parent(),
    Element("international_bitterness_units"),
        Element("method"), Text(kBitternessMethod), Parent(),
        Element("estimate"), Text(kBitterness), Parent(),
    Parent(),
    Element("carbonation"), Text(kCarbonation), Parent(),
  });
}();
// clang-format on

/// A recipe's type; a code without a meaning has no word.
inline constexpr model::Words<model::RecipeType> kRecipeTypeWords{"", "all grain", "partial mash",
                                                                  "extract"};

/// Optional elements, by their Element entries.
inline constexpr std::size_t kStyleEntry = kRecipeHeaderTable.ElementAt("recipe/style");
inline constexpr std::size_t kBetaAcidUnitsEntry = kRecipeHopTable.ElementAt("hop/beta_acid_units");
inline constexpr std::size_t kMiscVolumeEntry = kRecipeMiscTable.ElementAt("miscellaneous/amount");
inline constexpr std::size_t kMiscMassEntry =
    kRecipeMiscTable.ElementAt("miscellaneous/amount_as_weight");
inline constexpr std::size_t kYeastVolumeEntry = kRecipeYeastTable.ElementAt("yeast/amount");
inline constexpr std::size_t kYeastMassEntry =
    kRecipeYeastTable.ElementAt("yeast/amount_as_weight");

/// The values of kRecipeHeaderTable; the style values are absent without a style.
NodeValues<RecipeHeaderSlot> RecipeHeaderValues(const model::Recipe& recipe);

/// The values of one item of each list.
NodeValues<RecipeFermentableSlot> RecipeFermentableValues(
    const model::FermentableAddition& addition);
NodeValues<RecipeHopSlot> RecipeHopValues(const model::HopAddition& hop);
/// `amount` is the misc amount as the model resolves it (MiscAmountOf).
NodeValues<RecipeMiscSlot> RecipeMiscValues(const model::MiscAddition& misc,
                                            const MiscAmount& amount);
NodeValues<RecipeYeastSlot> RecipeYeastValues(const model::Culture& yeast);
/// The water is as much as the recipe boils.
NodeValues<RecipeWaterSlot> RecipeWaterValues(const model::WaterAddition& addition);

/// The values of kRecipeSummaryTable.
NodeValues<RecipeSummarySlot> RecipeSummaryValues(const model::Recipe& recipe);

/// Begins a document of that list, written into `run`.
std::unique_ptr<DocumentWriter> BeginRecipeList(ExportRun& run);

}  // namespace kegverter
