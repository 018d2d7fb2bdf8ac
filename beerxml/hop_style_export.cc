#include "beerxml/hop_style_export.h"

#include "beerxml/format.h"
#include "source/text.h"

namespace kegverter {

namespace {

constexpr std::size_t kBetaAcidEntry = ElementEntry(kHopTable, "hop/beta_acid_units");
static_assert(kBetaAcidEntry != kNoEntry);

constexpr std::size_t kCarbonationEntries[] = {
    ElementEntry(kStyleTable, "style/carbonation"),
    ElementEntry(kStyleTable, "style/carbonation/minimum"),
    ElementEntry(kStyleTable, "style/carbonation/maximum"),
};
static_assert(kCarbonationEntries[0] != kNoEntry && kCarbonationEntries[1] != kNoEntry &&
              kCarbonationEntries[2] != kNoEntry);

// The stored stock says nothing about the form it is in, so it is not carried into any of the
// three forms: each is written as zero ounces.
constexpr const char* kInventoryUnit = "oz";
constexpr const char* kStyleGuide = "BJCP 1999";
constexpr const char* kGravityUnit = "sg";
constexpr const char* kColorScale = "SRM";

bool IsEmpty(const NarrowText& text) { return !text || text->empty(); }

// An oil share of 0 (or none given) is written as a plain "0.0" rather than "0.00".
std::string OilValue(float share) { return share > 0 ? FormatFixed(share, 2) : FormatFixed(0, 1); }

std::string HopNotes(const HopRecord& record) {
  if (IsEmpty(record.best_for)) return WidenText(record.notes);
  const std::string best_for = "Best for " + WidenText(record.best_for);
  if (IsEmpty(record.notes)) return best_for;
  return WidenText(record.notes) + "\r\n" + best_for;
}

std::string StyleProfile(const StyleRecord& record) {
  return "Malt: " + WidenText(record.malt_description) + "\r\nHops: " +
         WidenText(record.hops_description) + "\r\nColor: " +
         WidenText(record.color_description) + "\r\nYeast: " +
         WidenText(record.yeast_description);
}

}  // namespace

std::optional<std::string> HopUseWord(std::int16_t type_code) {
  return WordOf(kHopUseWords, static_cast<std::uint16_t>(type_code) & 0x0Fu);
}

std::optional<std::string> StyleTypeWord(std::uint8_t type) { return WordOf(kStyleTypeWords, type); }

std::string StyleLetterText(const NarrowText& letter) {
  if (IsEmpty(letter) || (*letter)[0] < 'A' || (*letter)[0] > 'Z') return " ";
  return WidenText(letter);
}

NodeValues HopValues(const HopRecord& record) {
  NodeValues values;
  values.reserve(ValueCount(kHopTable));
  values.push_back(WidenText(record.name));
  values.push_back(WidenText(record.origin));
  values.push_back(FormatFixed(record.alpha_acid, 2));
  values.push_back(record.beta_acid > 0 ? std::optional(FormatFixed(record.beta_acid, 2))
                                        : std::nullopt);
  values.push_back(HopUseWord(record.type_code));
  values.push_back(HopNotes(record));
  values.push_back(FormatFixed(record.percent_lost, 1));
  values.push_back(WidenText(record.substitutes));
  values.push_back(OilValue(record.humulene));
  values.push_back(OilValue(record.caryophyllene));
  values.push_back(OilValue(record.cohumulone));
  values.push_back(OilValue(record.myrcene));
  for (int form = 0; form < 3; ++form) {  // leaf, pellet, plug
    values.push_back(kInventoryUnit);
    values.push_back(FormatFixed(0, 1));
  }
  return values;
}

NodeValues StyleValues(const StyleRecord& record) {
  NodeValues values;
  values.reserve(ValueCount(kStyleTable));
  values.push_back(WidenText(record.category) + " - " + WidenText(record.name));
  values.push_back(WidenText(record.category));
  values.push_back(FormatInt(record.category_number));
  values.push_back(StyleLetterText(record.style_letter));
  values.push_back(kStyleGuide);
  values.push_back(StyleTypeWord(record.type));
  for (const float gravity : {record.original_gravity_min, record.original_gravity_max,
                              record.final_gravity_min, record.final_gravity_max}) {
    values.push_back(kGravityUnit);
    values.push_back(FormatFixed(gravity, 3));
  }
  values.push_back(FormatFixed(record.bitterness_min, 1));
  values.push_back(FormatFixed(record.bitterness_max, 1));
  for (const float color : {record.color_min, record.color_max}) {
    values.push_back(kColorScale);
    values.push_back(FormatFixed(color, 1));
  }
  values.push_back(std::nullopt);  // carbonation: the application keeps none
  values.push_back(std::nullopt);
  values.push_back(FormatFixed(record.alcohol_min, 1));
  values.push_back(FormatFixed(record.alcohol_max, 1));
  // The record's free text lists commercial examples, so it goes to `examples` and `notes`
  // stays empty, as does `ingredients`.
  values.push_back(std::nullopt);
  values.push_back(StyleProfile(record));
  values.push_back(std::nullopt);
  values.push_back(WidenText(record.notes));
  return values;
}

int ExportHopRecords(std::span<const HopRecord> records, const std::string& output_path,
                     ExportRun& run) {
  NodeTable table(kHopTable);
  RunExporter("varieties", output_path, run, [&](DomDocument* document, DomNode& cursor) {
    for (const HopRecord& record : records) {
      const NodeValues values = HopValues(record);
      // A beta acid of zero means the application does not know it: leave the element out.
      table.Switch(kBetaAcidEntry, record.beta_acid > 0);
      if (!EmitNodeTable(document, cursor, table.entries(), values, run)) break;
    }
  });
  return 0;
}

int ExportStyleRecords(std::span<const StyleRecord> records, const std::string& output_path,
                       ExportRun& run) {
  NodeTable table(kStyleTable);
  for (const std::size_t entry : kCarbonationEntries) table.Switch(entry, false);
  RunExporter("styles", output_path, run, [&](DomDocument* document, DomNode& cursor) {
    for (const StyleRecord& record : records) {
      const NodeValues values = StyleValues(record);
      if (!EmitNodeTable(document, cursor, table.entries(), values, run)) break;
    }
  });
  return 0;
}

}  // namespace kegverter
