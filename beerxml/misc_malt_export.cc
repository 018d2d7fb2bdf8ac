#include "beerxml/misc_malt_export.h"

#include <cstdio>
#include <iterator>
#include <string_view>

#include "beerxml/format.h"
#include "source/text.h"

namespace kegverter {

namespace {

static_assert(std::size(kMiscTable) == 27 && ValueCount(kMiscTable) == 9 &&
              IsBalanced(kMiscTable));
static_assert(std::size(kFermentableTable) == 50 && ValueCount(kFermentableTable) == 18 &&
              IsBalanced(kFermentableTable));

constexpr std::size_t kVolumeEntry = ElementEntry(kMiscTable, "miscellaneous/inventory/amount");
constexpr std::size_t kMassEntry =
    ElementEntry(kMiscTable, "miscellaneous/inventory/amount_as_weight");
static_assert(kVolumeEntry != kNoEntry && kMassEntry != kNoEntry);

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

NodeValues MiscValues(const MiscRecord& record, const MiscAmount& amount) {
  NodeValues values;
  values.reserve(ValueCount(kMiscTable));
  values.emplace_back(WidenText(record.ingredient_name));
  values.push_back(WordOf(kMiscTypeWords, record.ingredient_type));
  values.push_back(WordOf(kMiscUseWords, record.time_type));
  values.emplace_back(WidenText(record.usage));
  values.emplace_back(MiscNotes(record));
  AppendMiscAmountValues(values, amount);
  return values;
}

NodeValues FermentableValues(const MaltRecord& record) {
  // Subtracted in double precision, as the formatted values are.
  const double coarse_fine_diff = static_cast<double>(record.fine_grind_yield) -
                                  static_cast<double>(record.coarse_grind_yield);
  return {
      WidenText(record.name),
      WordOf(kFermentableTypeWords, record.type),
      "L",
      FormatFixed(record.color, 1),
      WidenText(record.origin),
      WidenText(record.supplier),
      FormatFixed(record.fine_grind_yield, 1),
      WidenText(record.notes),
      FormatFixed(coarse_fine_diff, 1),
      FormatFixed(record.moisture, 1),
      FormatFixed(record.diastatic_power, 1),
      FormatFixed(record.protein, 1),
      FormatFixed(record.max_in_batch, 1),
      record.recommend_mash == 1 ? "true" : "false",
      "sg",
      FormatFixed(record.potential, 4),
      "lb",
      FormatFixed(record.inventory, 1),
  };
}

}  // namespace

void AppendMiscAmountValues(NodeValues& values, const MiscAmount& amount) {
  const std::optional<std::string> absent;
  values.push_back(amount.volume ? amount.unit : absent);
  values.push_back(amount.volume ? std::optional<std::string>(amount.text) : absent);
  values.push_back(amount.volume ? absent : amount.unit);
  values.push_back(amount.volume ? absent : std::optional<std::string>(amount.text));
}

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

int ExportMiscRecords(std::span<const MiscRecord> records, const std::string& output_path,
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
                  const NodeValues values = MiscValues(record, amount);
                  if (!EmitNodeTable(document, cursor, table.entries(), values, run)) break;
                }
              });
  return 0;
}

int ExportMaltRecords(std::span<const MaltRecord> records, const std::string& output_path,
                      ExportRun& run) {
  const NodeTable table(kFermentableTable);
  RunExporter("fermentables", output_path, run, [&](DomDocument* document, DomNode& cursor) {
    for (const MaltRecord& record : records) {
      const NodeValues values = FermentableValues(record);
      if (!EmitNodeTable(document, cursor, table.entries(), values, run)) break;
    }
  });
  return 0;
}

}  // namespace kegverter
