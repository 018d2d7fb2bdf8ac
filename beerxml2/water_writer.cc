#include "beerxml2/water_writer.h"

#include "beerxml2/list_writer.h"
#include "document/format.h"
#include "document/node_table.h"
#include "model/from_source.h"

namespace kegverter {

namespace {

enum class WaterSlot : std::uint16_t {
  kName,
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
// One `water` element; its order is not the record's (bicarbonate second, magnesium sixth).
constexpr auto kWaterTable = [] {
  using namespace nodes;
  using enum WaterSlot;
  return Tree<WaterSlot>({
    Element("water"),
        Element("name"), Text(kName), Parent(),
        Element("calcium"), Text(kCalcium), Parent(),
        Element("bicarbonate"), Text(kBicarbonate), Parent(),
        Element("sulfate"), Text(kSulfate), Parent(),
        Element("chloride"), Text(kChloride), Parent(),
        Element("sodium"), Text(kSodium), Parent(),
        Element("magnesium"), Text(kMagnesium), Parent(),
        Element("pH"), Text(kPh), Parent(),
        Element("notes"), Text(kNotes), Parent(),
    Parent(),
  });
}();
// clang-format on
static_assert(IsBalanced(kWaterTable.entries));

NodeValues<WaterSlot> WaterValues(const model::Water& water) {
  using enum WaterSlot;
  NodeValues<WaterSlot> v;
  PutWater(v, water);
  v[kPh] = FormatFixed(water.ph, 1);
  v[kNotes] = water.notes;
  return v;
}

}  // namespace

namespace {

class WaterList final : public BeerXml2List<model::Water> {
 public:
  using BeerXml2List::BeerXml2List;

 private:
  void WriteRecord(DomDocument* document, DomNode& cursor, const model::Water& water,
                   ExportRun& run) override {
    EmitNodeTable(document, cursor, kWaterTable, WaterValues(water), run);
  }
};

}  // namespace

std::unique_ptr<DocumentWriter> BeginWaterList(ExportRun& run) {
  return std::make_unique<WaterList>(run);
}

}  // namespace kegverter
