#include "beerxml2/hops_writer.h"

#include "beerxml2/list_writer.h"
#include "beerxml2/units.h"
#include "beerxml2/values.h"
#include "document/format.h"
#include "document/node_table.h"
#include "model/from_source.h"

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
std::string OilValue(const model::Quantity& share) {
  return share.value > 0 ? FormatFixed(share.value, 2) : FormatFixed(0, 1);
}

NodeValues<HopSlot> HopValues(const model::HopVariety& hop) {
  using enum HopSlot;
  NodeValues<HopSlot> v;
  v[kName] = hop.name;
  v[kOrigin] = hop.origin;
  v[kAlphaAcid] = FormatFixed(hop.alpha_acid.value, 2);
  if (hop.beta_acid) v[kBetaAcid] = FormatFixed(hop.beta_acid->value, 2);
  v[kType] = Word(kHopUseWords, hop.use.meaning);
  v[kNotes] = hop.notes;
  v[kPercentLost] = FormatFixed(hop.percent_lost.value, 1);
  v[kSubstitutes] = hop.substitutes;
  v[kHumulene] = OilValue(hop.humulene);
  v[kCaryophyllene] = OilValue(hop.caryophyllene);
  v[kCohumulone] = OilValue(hop.cohumulone);
  v[kMyrcene] = OilValue(hop.myrcene);
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
  return Word(kHopUseWords, model::HopUseOf(type_code).meaning);
}

namespace {

class HopList final : public BeerXml2List<model::HopVariety> {
 public:
  using BeerXml2List::BeerXml2List;

 private:
  void WriteRecord(DomDocument* document, DomNode& cursor, const model::HopVariety& hop,
                   ExportRun& run) override {
    // A beta acid of zero means the application does not know it: leave the element out.
    table_.Switch(kBetaAcidEntry, hop.beta_acid.has_value());
    EmitNodeTable(document, cursor, table_, HopValues(hop), run);
  }

  NodeTable<HopSlot> table_{kHopTable};
};

}  // namespace

std::unique_ptr<DocumentWriter> BeginHopList(ExportRun& run) {
  return std::make_unique<HopList>(run);
}

}  // namespace kegverter
