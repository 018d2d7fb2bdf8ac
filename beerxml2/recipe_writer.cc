#include "beerxml2/recipe_writer.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "beerxml2/list_writer.h"
#include "beerxml2/styles_writer.h"
#include "beerxml2/units.h"
#include "beerxml2/values.h"
#include "document/format.h"
#include "model/from_source.h"

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

template <class Slot>
void SwitchOff(NodeTable<Slot>& table, std::span<const std::size_t> entries) {
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

  // One recipe, starting and ending on the list element.
  void Write(const model::Recipe& recipe) {
    const DomNode list = cursor_;
    WriteSections(recipe);
    cursor_ = list;
  }

 private:
  template <class Table, class... Values>
  void Walk(const Table& table, const Values&... values) {
    EmitNodeTable(document_, cursor_, table, values..., run_);
  }

  void WriteSections(const model::Recipe& brewed) {
    const DomNode list = cursor_;
    header_.Switch(kStyleEntry, brewed.style.has_value());
    Walk(header_, RecipeHeaderValues(brewed));
    // Without `ingredients` the rest of the recipe has no place to go.
    if (cursor_ == list) return;

    const DomNode ingredients = cursor_;
    WriteIngredients(brewed);
    cursor_ = ingredients;
    Walk(kCloseTable);
    if (cursor_ == ingredients) return;  // `recipe` could not be reached again

    const DomNode recipe_node = cursor_;
    // The recipe's step list or the simple mash of its rests, as the model derives it.
    if (brewed.mash) {
      WriteMash(*brewed.mash);
      cursor_ = recipe_node;
    }
    Walk(summary_, RecipeSummaryValues(brewed));
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

  void WriteIngredients(const model::Recipe& brewed) {
    WriteList(kOpenGrainBill, brewed.fermentables.size(), [&](std::size_t i) {
      Walk(fermentable_, RecipeFermentableValues(brewed.fermentables[i]));
    });
    WriteList(kOpenHopBill, brewed.hops.size(), [&](std::size_t i) {
      const model::HopAddition& hop = brewed.hops[i];
      hop_.Switch(kBetaAcidUnitsEntry, hop.beta_acid.has_value());
      Walk(hop_, RecipeHopValues(hop));
    });
    WriteList(kOpenAdjuncts, brewed.miscs.size(), [&](std::size_t i) {
      const model::MiscAddition& misc = brewed.miscs[i];
      const MiscAmount amount = MiscAmountOf(misc.amount);
      misc_.Switch(kMiscVolumeEntry, amount.volume);
      misc_.Switch(kMiscMassEntry, !amount.volume);
      Walk(misc_, RecipeMiscValues(misc, amount));
    });
    WriteList(kOpenYeastAdditions, brewed.culture ? 1 : 0, [&](std::size_t) {
      const model::Culture& culture = brewed.culture->culture;
      const bool dry = culture.form.meaning == model::CultureForm::kDry;
      yeast_.Switch(kYeastVolumeEntry, !dry);
      yeast_.Switch(kYeastMassEntry, dry);
      Walk(yeast_, RecipeYeastValues(culture));
    });
    WriteList(kOpenWaterProfile, brewed.water ? 1 : 0,
              [&](std::size_t) { Walk(kRecipeWaterTable, RecipeWaterValues(*brewed.water)); });
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

NodeValues<RecipeHeaderSlot> RecipeHeaderValues(const model::Recipe& recipe) {
  using enum RecipeHeaderSlot;
  NodeValues<RecipeHeaderSlot> v;
  v[kName] = recipe.name;
  v[kType] = Word(kRecipeTypeWords, recipe.type.meaning);
  v[kAuthor] = std::string();  // present and empty
  v[kBatchSizeUnit] = units::kGallons;
  v[kBatchSize] = FormatFixed(recipe.batch_size.value, 2);
  v[kBoilSizeUnit] = units::kGallons;
  v[kBoilSize] = FormatFixed(recipe.boil_size.value, 2);
  v[kBoilTimeUnit] = units::kMinutes;
  v[kBoilTime] = FormatIntDecimal(static_cast<std::int64_t>(recipe.boil_time.value));
  v[kEfficiency] = FormatFixed(recipe.efficiency_unrounded, 1);
  if (const std::optional<model::RecipeStyle>& style = recipe.style) {
    v[kStyleName] = style->name;
    v[kStyleCategory] = style->category;
    v[kStyleCategoryNumber] = FormatInt(style->category_number);
    v[kStyleLetter] = style->style_letter;
    v[kStyleGuide] = style->style_guide;
    v[kStyleType] = StyleTypeWord(style->type);
  }
  return v;
}

NodeValues<RecipeSummarySlot> RecipeSummaryValues(const model::Recipe& recipe) {
  using enum RecipeSummarySlot;
  NodeValues<RecipeSummarySlot> v;
  v[kNotes] = recipe.notes;
  v[kOriginalGravityUnit] = units::kSpecificGravity;
  v[kOriginalGravity] = FormatFixed(recipe.original_gravity_unrounded, 3);
  v[kBitternessMethod] = kBitternessMethodWord;
  v[kBitterness] = FormatFixed(recipe.bitterness.value, 1);
  return v;
}

namespace {

class RecipeList final : public BeerXml2List<model::Recipe> {
 public:
  using BeerXml2List::BeerXml2List;

 private:
  void WriteRecord(DomDocument* document, DomNode& cursor, const model::Recipe& recipe,
                   ExportRun& run) override {
    // The document and the cursor stay the same from one recipe to the next.
    if (!writer_) writer_.emplace(document, cursor, run);
    writer_->Write(recipe);
  }

  std::optional<RecipeWriter> writer_;
};

}  // namespace

std::unique_ptr<DocumentWriter> BeginRecipeList(ExportRun& run) {
  return std::make_unique<RecipeList>(run);
}

}  // namespace kegverter
