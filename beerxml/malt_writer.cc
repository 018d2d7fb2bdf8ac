#include "beerxml/malt_writer.h"

#include "beerxml/format.h"
#include "beerxml/node_table.h"
#include "beerxml/units.h"
#include "beerxml/values.h"
#include "source/text.h"

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

NodeValues<FermentableSlot> FermentableValues(const MaltRecord& record) {
  using enum FermentableSlot;
  // Subtracted in double precision, as the formatted values are.
  const double coarse_fine_diff =
      static_cast<double>(record.fine_grind_yield) - static_cast<double>(record.coarse_grind_yield);
  NodeValues<FermentableSlot> v;
  v[kName] = WidenText(record.name);
  v[kType] = WordOf(kFermentableTypeWords, record.type);
  v[kColorScale] = units::kLovibond;
  v[kColor] = FormatFixed(record.color, 1);
  v[kOrigin] = WidenText(record.origin);
  v[kSupplier] = WidenText(record.supplier);
  v[kYield] = FormatFixed(record.fine_grind_yield, 1);
  v[kNotes] = WidenText(record.notes);
  v[kCoarseFineDiff] = FormatFixed(coarse_fine_diff, 1);
  v[kMoisture] = FormatFixed(record.moisture, 1);
  v[kDiastaticPower] = FormatFixed(record.diastatic_power, 1);
  v[kProtein] = FormatFixed(record.protein, 1);
  v[kMaxInBatch] = FormatFixed(record.max_in_batch, 1);
  v[kRecommendMash] = record.recommend_mash == 1 ? units::kTrue : units::kFalse;
  v[kPotentialUnit] = units::kSpecificGravity;
  v[kPotential] = FormatFixed(record.potential, 4);
  v[kInventoryUnit] = units::kPounds;
  v[kInventory] = FormatFixed(record.inventory, 1);
  return v;
}

}  // namespace

void ExportMaltRecords(std::span<const MaltRecord> records, ExportRun& run) {
  RunExporter("fermentables", run, [&](DomDocument* document, DomNode& cursor) {
    for (const MaltRecord& record : records) {
      EmitNodeTable(document, cursor, kFermentableTable, FermentableValues(record), run);
    }
  });
}

}  // namespace kegverter
