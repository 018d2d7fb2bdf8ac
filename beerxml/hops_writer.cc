#include "beerxml/hops_writer.h"

#include "beerxml/format.h"
#include "beerxml/node_table.h"
#include "beerxml/units.h"
#include "beerxml/values.h"
#include "source/text.h"

namespace kegverter {

namespace {

enum class HopSlot : std::uint16_t {
  kName,
  kOrigin,
  kAlphaAcid,
  kBetaAcid,
  kType,
  kNotes,
  kPercentLost,
  kSubstitutes,
  kHumulene,
  kCaryophyllene,
  kCohumulone,
  kMyrcene,
  kLeafUnit,
  kLeaf,
  kPelletUnit,
  kPellet,
  kPlugUnit,
  kPlug,
  kCount
};

// clang-format off
// One `hop` of the `varieties` list.
constexpr auto kHopTable = [] {
  using namespace nodes;
  using enum HopSlot;
  return Tree<HopSlot>({
    Element("hop"),
      Element("name"), Text(kName), Parent(),
      Element("origin"), Text(kOrigin), Parent(),
      Element("alpha_acid_units"), Text(kAlphaAcid), Parent(),
      Element("beta_acid_units"), Text(kBetaAcid), Parent(),
      Element("type"), Text(kType), Parent(),
      Element("notes"), Text(kNotes), Parent(),
      Element("percent_lost"), Text(kPercentLost), Parent(),
      Element("substitutes"), Text(kSubstitutes), Parent(),
      Element("humulene"), Text(kHumulene), Parent(),
      Element("caryophyllene"), Text(kCaryophyllene), Parent(),
      Element("cohumulone"), Text(kCohumulone), Parent(),
      Element("myrcene"), Text(kMyrcene), Parent(),
      Element("inventory"),
        Element("leaf"), Attribute("mass", kLeafUnit), Text(kLeaf), Parent(),
        Element("pellet"), Attribute("mass", kPelletUnit), Text(kPellet), Parent(),
        Element("plug"), Attribute("mass", kPlugUnit), Text(kPlug), Parent(),
      Parent(),
    Parent(),
  });
}();
// clang-format on
static_assert(IsBalanced(kHopTable.entries));

constexpr std::size_t kBetaAcidEntry = kHopTable.ElementAt("hop/beta_acid_units");

// An oil share of 0 (or none given) is written as a plain "0.0" rather than "0.00".
std::string OilValue(float share) { return share > 0 ? FormatFixed(share, 2) : FormatFixed(0, 1); }

std::string HopNotes(const HopRecord& record) {
  if (!HasText(record.best_for)) return WidenText(record.notes);
  std::string best_for = "Best for " + WidenText(record.best_for);
  if (!HasText(record.notes)) return best_for;
  return WidenText(record.notes) + "\r\n" + best_for;
}

NodeValues<HopSlot> HopValues(const HopRecord& record) {
  using enum HopSlot;
  NodeValues<HopSlot> v;
  v[kName] = WidenText(record.name);
  v[kOrigin] = WidenText(record.origin);
  v[kAlphaAcid] = FormatFixed(record.alpha_acid, 2);
  if (record.beta_acid > 0) v[kBetaAcid] = FormatFixed(record.beta_acid, 2);
  v[kType] = HopUseWord(record.type_code);
  v[kNotes] = HopNotes(record);
  v[kPercentLost] = FormatFixed(record.percent_lost, 1);
  v[kSubstitutes] = WidenText(record.substitutes);
  v[kHumulene] = OilValue(record.humulene);
  v[kCaryophyllene] = OilValue(record.caryophyllene);
  v[kCohumulone] = OilValue(record.cohumulone);
  v[kMyrcene] = OilValue(record.myrcene);
  // The stored stock says nothing about the form it is in, so it is not carried into any of the
  // three forms: each is written as zero ounces.
  for (const auto& [unit, amount] : {std::pair{kLeafUnit, kLeaf}, std::pair{kPelletUnit, kPellet},
                                     std::pair{kPlugUnit, kPlug}}) {
    v[unit] = units::kOunces;
    v[amount] = FormatFixed(0, 1);
  }
  return v;
}

}  // namespace

std::optional<std::string> HopUseWord(std::int16_t type_code) {
  return WordOf(kHopUseWords, static_cast<std::uint16_t>(type_code) & 0x0Fu);
}

void ExportHopRecords(std::span<const HopRecord> records, ExportRun& run) {
  NodeTable table(kHopTable);
  RunExporter("varieties", run, [&](DomDocument* document, DomNode& cursor) {
    for (const HopRecord& record : records) {
      // A beta acid of zero means the application does not know it: leave the element out.
      table.Switch(kBetaAcidEntry, record.beta_acid > 0);
      EmitNodeTable(document, cursor, table, HopValues(record), run);
    }
  });
}

}  // namespace kegverter
