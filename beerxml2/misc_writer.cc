#include "beerxml2/misc_writer.h"

#include <string>

#include "beerxml2/list_writer.h"
#include "beerxml2/units.h"
#include "beerxml2/values.h"
#include "document/format.h"
#include "model/from_source.h"

namespace kegverter {

namespace {

enum class MiscSlot : std::uint16_t {
  kName,
  kType,
  kUse,
  kUseFor,
  kNotes,
  kVolumeUnit,
  kVolume,
  kMassUnit,
  kMass,
  kCount
};

// clang-format off
// One `miscellaneous` element. The inventory holds exactly one of `amount` (a volume) and
// `amount_as_weight` (a mass); the writer switches the other off for each record.
constexpr auto kMiscTable = [] {
  using namespace nodes;
  using enum MiscSlot;
  return Tree<MiscSlot>({
    Element("miscellaneous"),
        Element("name"), Text(kName), Parent(),
        Element("type"), Text(kType), Parent(),
        Element("use"), Text(kUse), Parent(),
        Element("use_for"), Text(kUseFor), Parent(),
        Element("notes"), Text(kNotes), Parent(),
        Element("inventory"),
            Element("amount"), Attribute("volume", kVolumeUnit), Text(kVolume), Parent(),
            Element("amount_as_weight"), Attribute("mass", kMassUnit), Text(kMass), Parent(),
        Parent(),
    Parent(),
  });
}();
// clang-format on
static_assert(IsBalanced(kMiscTable.entries));

constexpr std::size_t kVolumeEntry = kMiscTable.ElementAt("miscellaneous/inventory/amount");
constexpr std::size_t kMassEntry = kMiscTable.ElementAt("miscellaneous/inventory/amount_as_weight");

// The unit words of the amounts a miscellaneous ingredient is measured in.
struct UnitWord {
  model::Unit unit;
  const char* word;
};
constexpr UnitWord kMiscUnitWords[] = {
    {model::Unit::kOunce, units::kOunces},       {model::Unit::kGram, units::kGrams},
    {model::Unit::kPound, units::kPounds},       {model::Unit::kFluidOunce, units::kFluidOunces},
    {model::Unit::kTeaspoon, units::kTeaspoons}, {model::Unit::kTablespoon, units::kTablespoons},
    {model::Unit::kCup, units::kCups},
};

NodeValues<MiscSlot> MiscValues(const model::Misc& misc, const MiscAmount& amount) {
  using enum MiscSlot;
  NodeValues<MiscSlot> v;
  v[kName] = misc.name;
  v[kType] = Word(model::kApplicationMiscTypes, misc.type.meaning);
  v[kUse] = Word(kMiscUseWords, misc.use.meaning);
  v[kUseFor] = misc.use_for;
  v[kNotes] = misc.notes;
  PutMiscAmount(v, amount);
  return v;
}

}  // namespace

MiscAmount MiscAmountOf(const model::MiscAmount& amount) {
  MiscAmount written;
  written.volume = amount.volume;
  for (const UnitWord& u : kMiscUnitWords) {
    if (amount.unit == u.unit) written.unit = u.word;
  }
  written.text = amount.value != 0 ? FormatFixed(amount.value, 2) : FormatFixed(0, 1);
  return written;
}

namespace {

class MiscList final : public BeerXml2List<model::Misc> {
 public:
  using BeerXml2List::BeerXml2List;

 private:
  void WriteRecord(DomDocument* document, DomNode& cursor, const model::Misc& misc,
                   ExportRun& run) override {
    const MiscAmount amount = MiscAmountOf(misc.inventory);
    table_.Switch(kVolumeEntry, amount.volume);
    table_.Switch(kMassEntry, !amount.volume);
    EmitNodeTable(document, cursor, table_, MiscValues(misc, amount), run);
  }

  NodeTable<MiscSlot> table_{kMiscTable};
};

}  // namespace

std::unique_ptr<DocumentWriter> BeginMiscList(ExportRun& run) {
  return std::make_unique<MiscList>(run);
}

}  // namespace kegverter
