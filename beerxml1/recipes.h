// The `RECIPE` of BeerXML 1.0: a recipe with its style, equipment, ingredients and mash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "beerxml1/common.h"
#include "beerxml1/fermentables.h"
#include "beerxml1/hops.h"
#include "beerxml1/mashes.h"
#include "beerxml1/miscs.h"
#include "beerxml1/waters.h"
#include "beerxml1/yeasts.h"
#include "document/node_table.h"
#include "model/brewing.h"

namespace kegverter::beerxml1 {

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
inline constexpr auto kRecipeOpen = [] {
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
inline constexpr auto kToHops = Tree<NoSlot>({nodes::Parent(), nodes::Element("HOPS")});
inline constexpr auto kToMiscs = Tree<NoSlot>({nodes::Parent(), nodes::Element("MISCS")});
inline constexpr auto kToYeasts = Tree<NoSlot>({nodes::Parent(), nodes::Element("YEASTS")});
inline constexpr auto kToWaters = Tree<NoSlot>({nodes::Parent(), nodes::Element("WATERS")});
inline constexpr auto kCloseList = Tree<NoSlot>({nodes::Parent()});
inline constexpr auto kCloseRecipe = Tree<NoSlot>({nodes::Parent()});

static_assert(EndDepth(kRecipeOpen.entries) + EndDepth(kToHops.entries) +
                  EndDepth(kToMiscs.entries) + EndDepth(kToYeasts.entries) +
                  EndDepth(kToWaters.entries) + EndDepth(kCloseList.entries) +
                  EndDepth(kCloseRecipe.entries) ==
              0);

/// A recipe's own values, its style's and its equipment's.
NodeValues<RecipeSlot> RecipeValues(const m::Recipe& r);

class RecipeWriter {
 public:
  void Write(Walker& walker, const m::Recipe& r);

 private:
  Table<RecipeSlot, kRecipeOpen.entries.size()> recipe_{kRecipeOpen};
  Table<FermentableSlot, kFermentableTable.entries.size()> fermentable_{kFermentableTable};
  Table<HopSlot, kHopTable.entries.size()> hop_{kHopTable};
  Table<MiscSlot, kMiscTable.entries.size()> misc_{kMiscTable};
  Table<YeastSlot, kYeastTable.entries.size()> yeast_{kYeastTable};
  Table<WaterSlot, kWaterTable.entries.size()> water_{kWaterTable};
  MashWriter mash_;
};

}  // namespace kegverter::beerxml1
