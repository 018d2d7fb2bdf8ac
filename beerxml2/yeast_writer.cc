#include "beerxml2/yeast_writer.h"

#include <cstdint>

#include "beerxml2/list_writer.h"
#include "beerxml2/units.h"
#include "beerxml2/values.h"
#include "document/format.h"
#include "document/node_table.h"
#include "model/from_source.h"
#include "model/words.h"

namespace kegverter {

namespace {

enum class YeastSlot : std::uint16_t {
  kName,
  kType,
  kForm,
  kLaboratory,
  kProductId,
  kMinimumUnit,
  kMinimum,
  kMaximumUnit,
  kMaximum,
  kFlocculation,
  kAttenuation,
  kNotes,
  kBestFor,
  kMaxReuse,
  kLiquidUnit,
  kLiquid,
  kDryUnit,
  kDry,
  kSlantUnit,
  kSlant,
  kCultureUnit,
  kCultureDate,
  kCulture,
  kCount
};

// clang-format off
// One `yeast` element. `max_reuse` is switched off for the whole export; the database holds no
// quantities, so every inventory form is written as zero.
constexpr auto kYeastTable = [] {
  using namespace nodes;
  using enum YeastSlot;
  return Tree<YeastSlot>({
    Element("yeast"),
        Element("name"), Text(kName), Parent(),
        Element("type"), Text(kType), Parent(),
        Element("form"), Text(kForm), Parent(),
        Element("laboratory"), Text(kLaboratory), Parent(),
        Element("product_id"), Text(kProductId), Parent(),
        Element("temperature_range"),
            Element("minimum"), Attribute("degrees", kMinimumUnit), Text(kMinimum), Parent(),
            Element("maximum"), Attribute("degrees", kMaximumUnit), Text(kMaximum), Parent(),
        Parent(),
        Element("flocculation"), Text(kFlocculation), Parent(),
        Element("attenuation"), Text(kAttenuation), Parent(),
        Element("notes"), Text(kNotes), Parent(),
        Element("best_for"), Text(kBestFor), Parent(),
        Element("max_reuse"), Text(kMaxReuse), Parent(),
        Element("inventory"),
            Element("liquid"), Attribute("volume", kLiquidUnit), Text(kLiquid), Parent(),
            Element("dry"), Attribute("mass", kDryUnit), Text(kDry), Parent(),
            Element("slant"), Attribute("volume", kSlantUnit), Text(kSlant), Parent(),
            Element("culture"), Attribute("volume", kCultureUnit), Attribute("date", kCultureDate),
                Text(kCulture), Parent(),
        Parent(),
    Parent(),
  });
}();
// clang-format on
static_assert(IsBalanced(kYeastTable.entries));

constexpr std::size_t kMaxReuseEntry = kYeastTable.ElementAt("yeast/max_reuse");

constexpr model::Words<model::Flocculation> kFlocculationWords{"", "high", "medium", "low"};

NodeValues<YeastSlot> YeastValues(const model::Culture& culture) {
  using enum YeastSlot;
  NodeValues<YeastSlot> v;
  v[kName] = culture.name;
  v[kType] = Word(kCultureTypeWords, culture.type.meaning);
  v[kForm] = Word(kCultureFormWords, culture.form.meaning);
  v[kLaboratory] = culture.laboratory;
  v[kProductId] = culture.product_id;
  // One temperature is both ends of the range.
  v[kMinimumUnit] = units::kFahrenheit;
  v[kMinimum] = FormatFixed(culture.temperature.minimum.value, 1);
  v[kMaximumUnit] = units::kFahrenheit;
  v[kMaximum] = v[kMinimum];
  v[kFlocculation] = Word(kFlocculationWords, culture.flocculation.meaning);
  v[kAttenuation] = FormatFixed(culture.attenuation_mean.value, 1);
  v[kNotes] = culture.notes;
  v[kBestFor] = culture.best_for;
  const std::string none = FormatFixed(0, 1);
  v[kLiquidUnit] = units::kMillilitres;
  v[kLiquid] = none;
  v[kDryUnit] = units::kGrams;
  v[kDry] = none;
  v[kSlantUnit] = units::kMillilitres;
  v[kSlant] = none;
  v[kCultureUnit] = units::kMillilitres;
  v[kCulture] = none;  // the culture has no date
  return v;
}

}  // namespace

namespace {

class YeastList final : public BeerXml2List<model::Culture> {
 public:
  explicit YeastList(ExportRun& run) : BeerXml2List(run) { table_.Switch(kMaxReuseEntry, false); }

 private:
  void WriteRecord(DomDocument* document, DomNode& cursor, const model::Culture& culture,
                   ExportRun& run) override {
    EmitNodeTable(document, cursor, table_, YeastValues(culture), run);
  }

  NodeTable<YeastSlot> table_{kYeastTable};
};

}  // namespace

std::unique_ptr<DocumentWriter> BeginYeastList(ExportRun& run) {
  return std::make_unique<YeastList>(run);
}

}  // namespace kegverter
