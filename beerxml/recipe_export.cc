#include "beerxml/recipe_export.h"

#include <algorithm>
#include <utility>

#include "beerxml/format.h"
#include "beerxml/hop_style_export.h"
#include "source/text.h"

namespace kegverter {

namespace {

static_assert(std::size(RecipeHeaderTable) == 52 && ValueCount(RecipeHeaderTable) == 18 &&
              EndDepth(RecipeHeaderTable) == 2);
static_assert(recipe_tables::OpenGrainBill.size() == 1 &&
              ValueCount(recipe_tables::OpenGrainBill) == 0 &&
              EndDepth(recipe_tables::OpenGrainBill) == 1);
static_assert(std::size(CloseTable) == 1 && ValueCount(CloseTable) == 0 &&
              EndDepth(CloseTable) == -1);
static_assert(std::size(RecipeFermentableTable) == 22 && ValueCount(RecipeFermentableTable) == 8 &&
              IsBalanced(RecipeFermentableTable));
static_assert(std::size(RecipeHopTable) == 28 && ValueCount(RecipeHopTable) == 10 &&
              IsBalanced(RecipeHopTable));
static_assert(std::size(RecipeMiscTable) == 23 && ValueCount(RecipeMiscTable) == 9 &&
              IsBalanced(RecipeMiscTable));
static_assert(std::size(RecipeYeastTable) == 31 && ValueCount(RecipeYeastTable) == 11 &&
              IsBalanced(RecipeYeastTable));
static_assert(std::size(RecipeWaterTable) == 27 && ValueCount(RecipeWaterTable) == 9 &&
              IsBalanced(RecipeWaterTable));
static_assert(std::size(RecipeSummaryTable) == 25 && ValueCount(RecipeSummaryTable) == 9 &&
              IsBalanced(RecipeSummaryTable));

static_assert(kStyleEntry != kNoEntry && kBetaAcidUnitsEntry != kNoEntry &&
              kMiscVolumeEntry != kNoEntry && kMiscMassEntry != kNoEntry &&
              kYeastVolumeEntry != kNoEntry && kYeastMassEntry != kNoEntry);

// Elements the application has no data for; no recipe holds them.
constexpr std::size_t kUnwrittenHeaderElements[] = {
    ElementEntry(RecipeHeaderTable, "recipe/coauthor"),
    ElementEntry(RecipeHeaderTable, "recipe/created"),
};
constexpr std::size_t kUnwrittenFermentableElements[] = {
    ElementEntry(RecipeFermentableTable, "fermentable/add_after_boil"),
};
constexpr std::size_t kUnwrittenYeastElements[] = {
    ElementEntry(RecipeYeastTable, "yeast/times_cultured"),
    ElementEntry(RecipeYeastTable, "yeast/add_to_secondary"),
};
constexpr std::size_t kUnwrittenSummaryElements[] = {
    ElementEntry(RecipeSummaryTable, "final_gravity"),
    ElementEntry(RecipeSummaryTable, "alcohol_by_volume"),
    ElementEntry(RecipeSummaryTable, "carbonation"),
};

constexpr bool AllFound(std::span<const std::size_t> entries) {
  for (const std::size_t e : entries) {
    if (e == kNoEntry) return false;
  }
  return true;
}
static_assert(AllFound(kUnwrittenHeaderElements) && AllFound(kUnwrittenFermentableElements) &&
              AllFound(kUnwrittenYeastElements) && AllFound(kUnwrittenSummaryElements));

constexpr const char* kGallons = "gal";
constexpr const char* kMinutes = "min";
constexpr const char* kStyleGuide = "BJCP 1999";
constexpr const char* kGravityUnit = "sg";
constexpr const char* kBitternessMethod = "Other";

// Up to this the stored efficiency is a fraction; compared in single precision, as the stored
// value and its range are.
constexpr float kLargestEfficiencyFraction = 1.1f;
// Gravity points to specific gravity; the factor is the single-precision constant the
// application used.
constexpr float kGravityPerPoint = 0.001f;

bool HasText(const NarrowText& text) { return text && !text->empty(); }

void SwitchOff(NodeTable& table, std::span<const std::size_t> entries) {
  for (const std::size_t entry : entries) table.Switch(entry, false);
}

// Writes recipes on one document, section after section, keeping each section inside its
// recipe. Every walk may fail in the document layer: the failure is reported, the cursor stays
// where it was, and a section whose container could not be made is left out rather than
// written into an element it does not belong to.
class RecipeWriter {
 public:
  RecipeWriter(DomDocument* document, DomNode& cursor, ExportRun& run)
      : document_(document), cursor_(cursor), run_(run) {
    SwitchOff(header_, kUnwrittenHeaderElements);
    SwitchOff(fermentable_, kUnwrittenFermentableElements);
    SwitchOff(yeast_, kUnwrittenYeastElements);
    SwitchOff(summary_, kUnwrittenSummaryElements);
    SwitchOffUnwrittenMashElements(mash_);
  }

  // One recipe, starting and ending on the list element. False when a walk asks to stop.
  bool Write(const RecipeRecord& recipe) {
    const DomNode list = cursor_;
    const bool go_on = WriteSections(recipe);
    cursor_ = list;
    return go_on;
  }

 private:
  bool Walk(std::span<const NodeSpec> table, const NodeValues& values) {
    return EmitNodeTable(document_, cursor_, table, values, run_);
  }

  bool WriteSections(const RecipeRecord& recipe) {
    const DomNode list = cursor_;
    header_.Switch(kStyleEntry, HasStyle(recipe));
    if (!Walk(header_.entries(), RecipeHeaderValues(recipe))) return false;
    // Without `ingredients` the rest of the recipe has no place to go.
    if (cursor_ == list) return true;

    const DomNode ingredients = cursor_;
    if (!WriteIngredients(recipe)) return false;
    cursor_ = ingredients;
    if (!Walk(CloseTable, {})) return false;
    if (cursor_ == ingredients) return true;  // `recipe` could not be reached again

    const DomNode recipe_node = cursor_;
    if (const std::optional<RecipeMash> mash = PlanRecipeMash(recipe)) {
      if (!WriteMash(*mash)) return false;
      cursor_ = recipe_node;
    }
    return Walk(summary_.entries(), RecipeSummaryValues(recipe));
  }

  // Opens a list in the current element, writes its items with `item(i)` (which switches and
  // walks), and closes it; the cursor ends where it started. A list that could not be opened
  // keeps its items out.
  template <class WriteItem>
  bool WriteList(std::span<const NodeSpec> open, std::size_t count, WriteItem&& item) {
    if (count == 0) return true;
    const DomNode container = cursor_;
    if (!Walk(open, {})) return false;
    if (cursor_ == container) return true;
    for (std::size_t i = 0; i < count; ++i) {
      if (!item(i)) return false;
    }
    const bool go_on = Walk(CloseTable, {});
    cursor_ = container;
    return go_on;
  }

  bool WriteIngredients(const RecipeRecord& recipe) {
    const std::size_t fermentables = ListSize(recipe.fermentable_count, recipe.fermentables);
    if (!WriteList(recipe_tables::OpenGrainBill, fermentables, [&](std::size_t i) {
          return Walk(fermentable_.entries(), RecipeFermentableValues(recipe.fermentables[i]));
        })) {
      return false;
    }
    const std::size_t hops = ListSize(recipe.hop_count, recipe.hops);
    if (!WriteList(recipe_tables::OpenHopBill, hops, [&](std::size_t i) {
          const HopAddition& hop = recipe.hops[i];
          hop_.Switch(kBetaAcidUnitsEntry, hop.beta_acid > 0);
          return Walk(hop_.entries(), RecipeHopValues(hop));
        })) {
      return false;
    }
    const std::size_t miscs = ListSize(recipe.misc_count, recipe.miscs);
    if (!WriteList(recipe_tables::OpenAdjuncts, miscs, [&](std::size_t i) {
          const MiscAddition& misc = recipe.miscs[i];
          const MiscAmount amount = ResolveMiscAmount(
              misc.ingredient_name, misc.ingredient_type, misc.inventory_unit_of_measurement,
              misc.amount);
          misc_.Switch(kMiscVolumeEntry, amount.volume);
          misc_.Switch(kMiscMassEntry, !amount.volume);
          return Walk(misc_.entries(), RecipeMiscValues(misc, amount));
        })) {
      return false;
    }
    const std::size_t yeasts = HasText(recipe.yeast.name) ? 1 : 0;
    if (!WriteList(recipe_tables::OpenYeastAdditions, yeasts, [&](std::size_t) {
          const bool dry = recipe.yeast.form == 0;
          yeast_.Switch(kYeastVolumeEntry, !dry);
          yeast_.Switch(kYeastMassEntry, dry);
          return Walk(yeast_.entries(), RecipeYeastValues(recipe.yeast));
        })) {
      return false;
    }
    const std::size_t waters = HasText(recipe.water.name) ? 1 : 0;
    return WriteList(recipe_tables::OpenWaterProfile, waters, [&](std::size_t) {
      return Walk(RecipeWaterTable, RecipeWaterValues(recipe.water, recipe.boil_size));
    });
  }

  // The mash table, its steps and the close. A failed mash table leaves the cursor in `recipe`:
  // there is no `mash_steps` for the steps then, and closing would climb out of the recipe.
  bool WriteMash(const RecipeMash& mash) {
    const DomNode recipe_node = cursor_;
    if (!Walk(mash_.entries(), mash.header)) return false;
    if (cursor_ == recipe_node) return true;
    for (const RecipeMashStep& s : mash.steps) {
      const MashStepView values = ComposeMashStep(
          step_, s.kind, s.name, s.amount, s.step_temperature, s.step_time, s.ramp_time,
          s.end_temperature, s.infuse_temperature, s.water_grain_ratio);
      if (!Walk(step_.entries(), values)) return false;
    }
    return Walk(MashCloseTable, {});
  }

  // Entries of a list: its header count, never more than the list holds.
  template <class Entry>
  static std::size_t ListSize(std::int32_t count, const std::vector<Entry>& entries) {
    if (count <= 0) return 0;
    return std::min(static_cast<std::size_t>(count), entries.size());
  }

  DomDocument* document_;
  DomNode& cursor_;
  ExportRun& run_;
  NodeTable header_{RecipeHeaderTable};
  NodeTable fermentable_{RecipeFermentableTable};
  NodeTable hop_{RecipeHopTable};
  NodeTable misc_{RecipeMiscTable};
  NodeTable yeast_{RecipeYeastTable};
  NodeTable summary_{RecipeSummaryTable};
  NodeTable mash_{MashTable};
  NodeTable step_{MashStepTable};
};

}  // namespace

bool HasStyle(const RecipeRecord& recipe) { return HasText(recipe.style.category); }

std::string EfficiencyText(float efficiency) {
  if (efficiency <= kLargestEfficiencyFraction) return FormatFixed(efficiency * 100.0, 1);
  return FormatFixed(efficiency, 1);
}

NodeValues RecipeHeaderValues(const RecipeRecord& recipe) {
  NodeValues values = {
      WidenText(recipe.name),
      WordOf(kRecipeTypeWords, recipe.recipe_type),
      std::string(),  // author: present and empty
      std::nullopt,   // coauthor: never written
      std::nullopt,   // created: never written
      kGallons,
      FormatFixed(recipe.batch_size, 2),
      kGallons,
      FormatFixed(recipe.boil_size, 2),
      kMinutes,
      FormatIntDecimal(recipe.boil_time),
      EfficiencyText(recipe.efficiency),
  };
  const StyleRecord& style = recipe.style;
  if (HasStyle(recipe)) {
    // The style's first text names it in a recipe; the second is its category.
    values.push_back(WidenText(style.category));
    values.push_back(WidenText(style.name));
    values.push_back(FormatInt(style.category_number));
    values.push_back(StyleLetterText(style.style_letter));
    values.push_back(kStyleGuide);
    values.push_back(StyleTypeWord(style.type));
  } else {
    values.resize(ValueCount(RecipeHeaderTable));
  }
  return values;
}

NodeValues RecipeSummaryValues(const RecipeRecord& recipe) {
  const double gravity =
      static_cast<double>(recipe.original_gravity) * static_cast<double>(kGravityPerPoint) + 1.0;
  return {
      WidenText(recipe.process.notes),
      kGravityUnit,
      FormatFixed(gravity, 3),
      std::nullopt,  // final_gravity: never written
      std::nullopt,
      std::nullopt,  // alcohol_by_volume: never written
      kBitternessMethod,
      FormatFixed(recipe.bitterness, 1),
      std::nullopt,  // carbonation: never written
  };
}

int ExportRecipeRecords(std::span<const RecipeRecord> records, const std::string& output_path,
                        ExportRun& run) {
  RunExporter("recipes", output_path, run, [&](DomDocument* document, DomNode& cursor) {
    RecipeWriter writer(document, cursor, run);
    for (const RecipeRecord& recipe : records) {
      if (!writer.Write(recipe)) break;
    }
  });
  return 0;
}

}  // namespace kegverter
