#include "beerxml1/beerxml1.h"

#include <array>
#include <string>

#include "beerxml1/common.h"
#include "beerxml1/fermentables.h"
#include "beerxml1/hops.h"
#include "beerxml1/mashes.h"
#include "beerxml1/miscs.h"
#include "beerxml1/recipes.h"
#include "beerxml1/styles.h"
#include "beerxml1/waters.h"
#include "beerxml1/yeasts.h"

namespace kegverter {

namespace {

using namespace beerxml1;

constexpr const char* kNothingToWrite = "no records: a BeerXML 1.0 list needs at least one";

// The document every BeerXML 1.0 list starts from: the declaration on the first line (importers
// refuse anything else there) and the empty plural list as the root.
std::string Template(std::string_view list) {
  const std::string name(list);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + name + ">\n</" + name + ">\n";
}

// How each kind of record is walked into its list.
struct MiscWriter {
  void Write(Walker& w, const m::Misc& misc) { table.Walk(w, MiscValues(misc)); }
  Table<MiscSlot, kMiscTable.entries.size()> table{kMiscTable};
};
struct FermentableWriter {
  void Write(Walker& w, const m::Fermentable& f) { table.Walk(w, FermentableValues(f, nullptr)); }
  Table<FermentableSlot, kFermentableTable.entries.size()> table{kFermentableTable};
};
struct HopWriter {
  void Write(Walker& w, const m::HopVariety& hop) { table.Walk(w, HopVarietyValues(hop)); }
  Table<HopSlot, kHopTable.entries.size()> table{kHopTable};
};
struct StyleWriter {
  void Write(Walker& w, const m::Style& style) { table.Walk(w, StyleValues(style)); }
  Table<StyleSlot, kStyleTable.entries.size()> table{kStyleTable};
};
struct WaterWriter {
  void Write(Walker& w, const m::Water& water) { table.Walk(w, WaterValues(water, nullptr)); }
  Table<WaterSlot, kWaterTable.entries.size()> table{kWaterTable};
};
struct YeastWriter {
  void Write(Walker& w, const m::Culture& c) { table.Walk(w, YeastValues(c, nullptr)); }
  Table<YeastSlot, kYeastTable.entries.size()> table{kYeastTable};
};

// One list of records, each record walked in turn by `RecordWriter`.
//
// A list holds at least one record and a document at least one list (importers validate both),
// so no BeerXML 1.0 document holds nothing: the document is begun with the first record, and
// without records nothing is written, and the run says why.
template <class Record, class RecordWriter>
class List final : public DocumentWriter {
 public:
  explicit List(ExportRun& run) : document_(Template(kList), kList, run) {}

  using DocumentWriter::Write;
  void Write(const Record& record) override {
    document_.Record([&](DomDocument* document, DomNode& cursor) {
      Walker walker(document, cursor, document_.run());
      writer_.Write(walker, record);
    });
  }

  void Finish() override {
    if (!document_.begun()) {
      document_.run().write_error = kNothingToWrite;
      return;
    }
    document_.Finish();
  }

 private:
  static constexpr std::string_view kList =
      kBeerXml1Lists[static_cast<std::size_t>(kRecordKindOf<Record>)];
  ListDocument document_;
  RecordWriter writer_;
};

template <class Record, class RecordWriter>
std::unique_ptr<DocumentWriter> Begin(ExportRun& run) {
  return std::make_unique<List<Record, RecordWriter>>(run);
}

// Each list, in RecordKind order.
constexpr std::array<std::unique_ptr<DocumentWriter> (*)(ExportRun&), kRecordKindCount> kLists = {
    &Begin<m::Misc, MiscWriter>,      &Begin<m::Fermentable, FermentableWriter>,
    &Begin<m::HopVariety, HopWriter>, &Begin<m::Style, StyleWriter>,
    &Begin<m::Water, WaterWriter>,    &Begin<m::Culture, YeastWriter>,
    &Begin<m::Mash, MashWriter>,      &Begin<m::Recipe, RecipeWriter>};

}  // namespace

std::unique_ptr<DocumentWriter> BeginBeerXml1(RecordKind kind, ExportRun& run) {
  return kLists[static_cast<std::size_t>(kind)](run);
}

}  // namespace kegverter
