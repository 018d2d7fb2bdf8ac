#include "beerxml/misc_writer.h"

#include <cstdio>
#include <iterator>
#include <string_view>

#include "beerxml/format.h"
#include "beerxml/values.h"
#include "source/text.h"

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

// MiscRecord::time_units: the time phrase of the notes sentence, with suggested_time.
constexpr const char* kMiscTimePhrases[] = {" for %d days.", " for %d minutes."};

// Stored unit code 6: the unit follows from the ingredient type.
constexpr std::uint8_t kUnitByType = 6;
constexpr std::uint8_t kUnitByTypeResolved[] = {0, 2, 0, 0, 3, 0};

// "Add to <use> for <n> <units>.", after the comment when there is one. Codes without a word
// leave their part out.
std::string MiscNotes(const MiscRecord& record) {
  std::string sentence = "Add to ";
  if (const auto use = WordOf(kMiscUseWords, record.time_type)) sentence += *use;
  if (const auto phrase = WordOf(kMiscTimePhrases, record.time_units)) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, phrase->c_str(), static_cast<int>(record.suggested_time));
    sentence += buffer;
  }
  const std::string_view comment = record.comment ? std::string_view(*record.comment) : "";
  if (comment.empty()) return WidenText(std::string_view(sentence));
  const std::string notes = std::string(comment) + "\r\n" + sentence;
  return WidenText(std::string_view(notes));
}

NodeValues<MiscSlot> MiscValues(const MiscRecord& record, const MiscAmount& amount) {
  using enum MiscSlot;
  NodeValues<MiscSlot> v;
  v[kName] = WidenText(record.ingredient_name);
  v[kType] = WordOf(kMiscTypeWords, record.ingredient_type);
  v[kUse] = WordOf(kMiscUseWords, record.time_type);
  v[kUseFor] = WidenText(record.usage);
  v[kNotes] = MiscNotes(record);
  PutMiscAmount(v, amount);
  return v;
}

}  // namespace

MiscAmount ResolveMiscAmount(const NarrowText& ingredient_name, std::uint8_t ingredient_type,
                             std::uint8_t stored_unit, float amount) {
  std::uint8_t unit = stored_unit;
  if (unit == kUnitByType && ingredient_type < std::size(kUnitByTypeResolved)) {
    unit = kUnitByTypeResolved[ingredient_type];
  }
  MiscAmount result;
  if (ingredient_name && ingredient_name->find("xtract") != std::string::npos) {
    unit = 0;
    result.volume = true;
  } else {
    result.volume = unit == 3 || unit == 4 || unit == 5;
  }
  result.unit = WordOf(result.volume ? std::span<const char* const>(kMiscVolumeUnits)
                                     : std::span<const char* const>(kMiscMassUnits),
                       unit);
  result.text = unit == stored_unit && amount != 0 ? FormatFixed(amount, 2) : FormatFixed(0, 1);
  return result;
}

void ExportMiscRecords(std::span<const MiscRecord> records, const std::string& output_path,
                       ExportRun& run) {
  NodeTable table(kMiscTable);
  RunExporter("miscellaneous_ingredients", output_path, run,
              [&](DomDocument* document, DomNode& cursor) {
                for (const MiscRecord& record : records) {
                  const MiscAmount amount =
                      ResolveMiscAmount(record.ingredient_name, record.ingredient_type,
                                        record.inventory_unit_of_measurement, record.inventory);
                  table.Switch(kVolumeEntry, amount.volume);
                  table.Switch(kMassEntry, !amount.volume);
                  EmitNodeTable(document, cursor, table, MiscValues(record, amount), run);
                }
              });
}

}  // namespace kegverter
