#include "beerxml/recipe_writer.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "beerxml/format.h"
#include "beerxml/styles_writer.h"
#include "beerxml/units.h"
#include "beerxml/values.h"
#include "model/from_source.h"
#include "source/text.h"

namespace kegverter {

namespace {

static_assert(EndDepth(kRecipeHeaderTable.entries) == 2);
static_assert(EndDepth(kOpenGrainBill.entries) == 1 && EndDepth(kOpenHopBill.entries) == 1 &&
              EndDepth(kOpenAdjuncts.entries) == 1 && EndDepth(kOpenYeastAdditions.entries) == 1 &&
              EndDepth(kOpenWaterProfile.entries) == 1);
static_assert(EndDepth(kCloseTable.entries) == -1);
static_assert(IsBalanced(kRecipeFermentableTable.entries) && IsBalanced(kRecipeHopTable.entries) &&
              IsBalanced(kRecipeMiscTable.entries) && IsBalanced(kRecipeYeastTable.entries) &&
              IsBalanced(kRecipeWaterTable.entries) && IsBalanced(kRecipeSummaryTable.entries));

// Elements the application has no data for; no recipe holds them.
constexpr std::size_t kUnwrittenHeaderElements[] = {
    kRecipeHeaderTable.ElementAt("recipe/coauthor"),
    kRecipeHeaderTable.ElementAt("recipe/created"),
};
constexpr std::size_t kUnwrittenFermentableElements[] = {
    kRecipeFermentableTable.ElementAt("fermentable/add_after_boil"),
};
constexpr std::size_t kUnwrittenYeastElements[] = {
    kRecipeYeastTable.ElementAt("yeast/times_cultured"),
    kRecipeYeastTable.ElementAt("yeast/add_to_secondary"),
};
constexpr std::size_t kUnwrittenSummaryElements[] = {
    kRecipeSummaryTable.ElementAt("final_gravity"),
    kRecipeSummaryTable.ElementAt("alcohol_by_volume"),
    kRecipeSummaryTable.ElementAt("carbonation"),
};

constexpr const char* kBitternessMethodWord = "Other";

// Up to this the stored efficiency is a fraction; compared in single precision, as the stored
// value and its range are.
constexpr float kLargestEfficiencyFraction = 1.1f;
// Gravity points to specific gravity; the factor is the single-precision constant the
// application used.
constexpr float kGravityPerPoint = 0.001f;

template <class Slot>
void SwitchOff(NodeTable<Slot>& table, std::span<const std::size_t> entries) {
  for (const std::size_t entry : entries) table.Switch(entry, false);
}

// Entries of a list: its header count, never more than the list holds.
template <class Entry>
std::size_t ListSize(std::int32_t count, const std::vector<Entry>& entries) {
  if (count <= 0) return 0;
  return std::min(static_cast<std::size_t>(count), entries.size());
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

  // One recipe, starting and ending on the list element.
  void Write(const RecipeRecord& recipe) {
    const DomNode list = cursor_;
    WriteSections(recipe);
    cursor_ = list;
  }

 private:
  template <class Table, class... Values>
  void Walk(const Table& table, const Values&... values) {
    EmitNodeTable(document_, cursor_, table, values..., run_);
  }

  void WriteSections(const RecipeRecord& recipe) {
    const DomNode list = cursor_;
    header_.Switch(kStyleEntry, HasStyle(recipe));
    Walk(header_, RecipeHeaderValues(recipe));
    // Without `ingredients` the rest of the recipe has no place to go.
    if (cursor_ == list) return;

    const DomNode ingredients = cursor_;
    WriteIngredients(recipe);
    cursor_ = ingredients;
    Walk(kCloseTable);
    if (cursor_ == ingredients) return;  // `recipe` could not be reached again

    const DomNode recipe_node = cursor_;
    // The recipe's step list or the simple mash of its rests, as the model derives it.
    if (const std::optional<model::Mash> mash = model::RecipeMash(recipe)) {
      WriteMash(*mash);
      cursor_ = recipe_node;
    }
    Walk(summary_, RecipeSummaryValues(recipe));
  }

  // Opens a list in the current element, writes its items with `item(i)` (which switches and
  // walks), and closes it; the cursor ends where it started. A list that could not be opened
  // keeps its items out.
  template <class OpenTable, class WriteItem>
  void WriteList(const OpenTable& open, std::size_t count, WriteItem&& item) {
    if (count == 0) return;
    const DomNode container = cursor_;
    Walk(open);
    if (cursor_ == container) return;
    for (std::size_t i = 0; i < count; ++i) item(i);
    Walk(kCloseTable);
    cursor_ = container;
  }

  void WriteIngredients(const RecipeRecord& recipe) {
    WriteList(kOpenGrainBill, ListSize(recipe.fermentable_count, recipe.fermentables),
              [&](std::size_t i) {
                Walk(fermentable_, RecipeFermentableValues(recipe.fermentables[i]));
              });
    WriteList(kOpenHopBill, ListSize(recipe.hop_count, recipe.hops), [&](std::size_t i) {
      const HopAddition& hop = recipe.hops[i];
      hop_.Switch(kBetaAcidUnitsEntry, hop.beta_acid > 0);
      Walk(hop_, RecipeHopValues(hop));
    });
    WriteList(kOpenAdjuncts, ListSize(recipe.misc_count, recipe.miscs), [&](std::size_t i) {
      const MiscAddition& misc = recipe.miscs[i];
      const MiscAmount amount =
          MiscAmountOf(model::ResolveMiscAmount(misc.ingredient_name, misc.ingredient_type,
                                                misc.inventory_unit_of_measurement, misc.amount));
      misc_.Switch(kMiscVolumeEntry, amount.volume);
      misc_.Switch(kMiscMassEntry, !amount.volume);
      Walk(misc_, RecipeMiscValues(misc, amount));
    });
    WriteList(kOpenYeastAdditions, HasText(recipe.yeast.name) ? 1 : 0, [&](std::size_t) {
      const bool dry = recipe.yeast.form == 0;
      yeast_.Switch(kYeastVolumeEntry, !dry);
      yeast_.Switch(kYeastMassEntry, dry);
      Walk(yeast_, RecipeYeastValues(recipe.yeast));
    });
    WriteList(kOpenWaterProfile, HasText(recipe.water.name) ? 1 : 0, [&](std::size_t) {
      Walk(kRecipeWaterTable, RecipeWaterValues(recipe.water, recipe.boil_size));
    });
  }

  // The mash table, its steps and the close. A failed mash table leaves the cursor in `recipe`:
  // there is no `mash_steps` for the steps then, and closing would climb out of the recipe.
  void WriteMash(const model::Mash& mash) {
    const DomNode recipe_node = cursor_;
    Walk(mash_, ComposeMashHeader(mash));
    if (cursor_ == recipe_node) return;
    for (const model::MashStep& step : mash.steps) {
      const NodeValues<MashStepSlot> values = ComposeMashStep(step, step_);
      Walk(step_, values);
    }
    Walk(kMashCloseTable);
  }

  DomDocument* document_;
  DomNode& cursor_;
  ExportRun& run_;
  NodeTable<RecipeHeaderSlot> header_{kRecipeHeaderTable};
  NodeTable<RecipeFermentableSlot> fermentable_{kRecipeFermentableTable};
  NodeTable<RecipeHopSlot> hop_{kRecipeHopTable};
  NodeTable<RecipeMiscSlot> misc_{kRecipeMiscTable};
  NodeTable<RecipeYeastSlot> yeast_{kRecipeYeastTable};
  NodeTable<RecipeSummarySlot> summary_{kRecipeSummaryTable};
  NodeTable<MashSlot> mash_{kMashTable};
  NodeTable<MashStepSlot> step_{kMashStepTable};
};

}  // namespace

bool HasStyle(const RecipeRecord& recipe) { return HasText(recipe.style.category); }

std::string EfficiencyText(float efficiency) {
  if (efficiency <= kLargestEfficiencyFraction) return FormatFixed(efficiency * 100.0, 1);
  return FormatFixed(efficiency, 1);
}

NodeValues<RecipeHeaderSlot> RecipeHeaderValues(const RecipeRecord& recipe) {
  using enum RecipeHeaderSlot;
  NodeValues<RecipeHeaderSlot> v;
  v[kName] = WidenText(recipe.name);
  v[kType] = WordOf(kRecipeTypeWords, recipe.recipe_type);
  v[kAuthor] = std::string();  // present and empty
  v[kBatchSizeUnit] = units::kGallons;
  v[kBatchSize] = FormatFixed(recipe.batch_size, 2);
  v[kBoilSizeUnit] = units::kGallons;
  v[kBoilSize] = FormatFixed(recipe.boil_size, 2);
  v[kBoilTimeUnit] = units::kMinutes;
  v[kBoilTime] = FormatIntDecimal(recipe.boil_time);
  v[kEfficiency] = EfficiencyText(recipe.efficiency);
  if (HasStyle(recipe)) {
    // The style's first text names it in a recipe; the second is its category.
    const StyleRecord& style = recipe.style;
    v[kStyleName] = WidenText(style.category);
    v[kStyleCategory] = WidenText(style.name);
    v[kStyleCategoryNumber] = FormatInt(style.category_number);
    v[kStyleLetter] = StyleLetterText(style.style_letter);
    v[kStyleGuide] = units::kStyleGuide;
    v[kStyleType] = StyleTypeWord(style.type);
  }
  return v;
}

NodeValues<RecipeSummarySlot> RecipeSummaryValues(const RecipeRecord& recipe) {
  using enum RecipeSummarySlot;
  const double gravity =
      static_cast<double>(recipe.original_gravity) * static_cast<double>(kGravityPerPoint) + 1.0;
  NodeValues<RecipeSummarySlot> v;
  v[kNotes] = WidenText(recipe.process.notes);
  v[kOriginalGravityUnit] = units::kSpecificGravity;
  v[kOriginalGravity] = FormatFixed(gravity, 3);
  v[kBitternessMethod] = kBitternessMethodWord;
  v[kBitterness] = FormatFixed(recipe.bitterness, 1);
  return v;
}

void ExportRecipeRecords(std::span<const RecipeRecord> records, ExportRun& run) {
  RunExporter("recipes", run, [&](DomDocument* document, DomNode& cursor) {
    RecipeWriter writer(document, cursor, run);
    for (const RecipeRecord& recipe : records) writer.Write(recipe);
  });
}

}  // namespace kegverter
