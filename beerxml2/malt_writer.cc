#include "beerxml2/malt_writer.h"

#include "beerxml2/list_writer.h"
#include "beerxml2/units.h"
#include "beerxml2/values.h"
#include "document/format.h"
#include "document/node_table.h"
#include "model/from_source.h"

namespace kegverter {

namespace {

enum class FermentableSlot : std::uint16_t {
  kName,
  kType,
  kColorScale,
  kColor,
  kOrigin,
  kSupplier,
  kYield,
  kNotes,
  kCoarseFineDiff,
  kMoisture,
  kDiastaticPower,
  kProtein,
  kMaxInBatch,
  kRecommendMash,
  kPotentialUnit,
  kPotential,
  kInventoryUnit,
  kInventory,
  kCount
};

// clang-format off
// One `fermentable` element; nothing in it is optional.
constexpr auto kFermentableTable = [] {
  using namespace nodes;
  using enum FermentableSlot;
  return Tree<FermentableSlot>({
    Element("fermentable"),
        Element("name"), Text(kName), Parent(),
        Element("type"), Text(kType), Parent(),
        Element("color"), Attribute("scale", kColorScale), Text(kColor), Parent(),
        Element("origin"), Text(kOrigin), Parent(),
        Element("supplier"), Text(kSupplier), Parent(),
        Element("yield"), Text(kYield), Parent(),
        Element("notes"), Text(kNotes), Parent(),
        Element("coarse_fine_diff"), Text(kCoarseFineDiff), Parent(),
        Element("moisture"), Text(kMoisture), Parent(),
        Element("diastatic_power"), Text(kDiastaticPower), Parent(),
        Element("protein"), Text(kProtein), Parent(),
        Element("max_in_batch"), Text(kMaxInBatch), Parent(),
        Element("recommend_mash"), Text(kRecommendMash), Parent(),
        Element("potential"), Attribute("density", kPotentialUnit), Text(kPotential), Parent(),
        Element("inventory"), Attribute("mass", kInventoryUnit), Text(kInventory), Parent(),
    Parent(),
  });
}();
// clang-format on
static_assert(IsBalanced(kFermentableTable.entries));

NodeValues<FermentableSlot> FermentableValues(const model::Fermentable& f) {
  using enum FermentableSlot;
  NodeValues<FermentableSlot> v;
  v[kName] = f.name;
  v[kType] = Word(kFermentableTypeWords, f.type.meaning);
  v[kColorScale] = units::kLovibond;
  v[kColor] = FormatFixed(f.color.value, 1);
  v[kOrigin] = f.origin;
  v[kSupplier] = f.supplier;
  v[kYield] = FormatFixed(f.fine_grind_yield.value, 1);
  v[kNotes] = f.notes;
  v[kCoarseFineDiff] = FormatFixed(f.coarse_fine_difference_unrounded, 1);
  v[kMoisture] = FormatFixed(f.moisture.value, 1);
  v[kDiastaticPower] = FormatFixed(f.diastatic_power.value, 1);
  v[kProtein] = FormatFixed(f.protein.value, 1);
  v[kMaxInBatch] = FormatFixed(f.max_in_batch.value, 1);
  v[kRecommendMash] = f.recommend_mash ? units::kTrue : units::kFalse;
  v[kPotentialUnit] = units::kSpecificGravity;
  v[kPotential] = FormatFixed(f.potential.value, 4);
  v[kInventoryUnit] = units::kPounds;
  v[kInventory] = FormatFixed(f.inventory.value, 1);
  return v;
}

}  // namespace

namespace {

class FermentableList final : public BeerXml2List<model::Fermentable> {
 public:
  using BeerXml2List::BeerXml2List;

 private:
  void WriteRecord(DomDocument* document, DomNode& cursor, const model::Fermentable& fermentable,
                   ExportRun& run) override {
    EmitNodeTable(document, cursor, kFermentableTable, FermentableValues(fermentable), run);
  }
};

}  // namespace

std::unique_ptr<DocumentWriter> BeginFermentableList(ExportRun& run) {
  return std::make_unique<FermentableList>(run);
}

}  // namespace kegverter
