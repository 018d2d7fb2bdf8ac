#include "beerxml/water_yeast_export.h"

#include <cstdint>
#include <iterator>
#include <optional>

#include "beerxml/format.h"
#include "source/text.h"

namespace kegverter {

namespace {

static_assert(std::size(kWaterTable) == 29 && ValueCount(kWaterTable) == 9 &&
              IsBalanced(kWaterTable));
static_assert(std::size(kYeastTable) == 61 && ValueCount(kYeastTable) == 23 &&
              IsBalanced(kYeastTable));

constexpr std::size_t kMaxReuseEntry = ElementEntry(kYeastTable, "yeast/max_reuse");
static_assert(kMaxReuseEntry != kNoEntry);

NodeValues WaterValues(const WaterRecord& record) {
  return {
      WidenText(record.name),
      FormatFixed(record.calcium, 1),
      FormatFixed(record.bicarbonate, 1),
      FormatFixed(record.sulfate, 1),
      FormatFixed(record.chloride, 1),
      FormatFixed(record.sodium, 1),
      FormatFixed(record.magnesium, 1),
      FormatFixed(record.ph, 1),
      WidenText(record.notes),
  };
}

NodeValues YeastValues(const YeastRecord& record) {
  // The bounds are not range-tested, so their sum may not fit 32 bits.
  const std::int64_t attenuation_sum = static_cast<std::int64_t>(record.attenuation_low) +
                                       static_cast<std::int64_t>(record.attenuation_high);
  const std::string temperature = FormatFixed(record.temperature, 1);
  const std::string none = FormatFixed(0, 1);
  return {
      WidenText(record.name),
      WordOf(kYeastTypeWords, record.type),
      WordOf(kYeastFormWords, record.form),
      WidenText(record.laboratory),
      WidenText(record.product_id),
      "F",
      temperature,  // one temperature is both ends of the range
      "F",
      temperature,
      WordOf(kFlocculationWords, record.flocculation),
      FormatFixed(static_cast<double>(attenuation_sum) * 0.5, 1),
      WidenText(record.notes),
      WidenText(record.best_for),
      std::nullopt,  // max_reuse
      "mL",
      none,
      "gm",
      none,
      "mL",
      none,
      "mL",
      std::nullopt,  // culture date
      none,
  };
}

}  // namespace

int ExportWaterRecords(std::span<const WaterRecord> records, const std::string& output_path,
                       ExportRun& run) {
  const NodeTable table(kWaterTable);
  RunExporter("profiles", output_path, run, [&](DomDocument* document, DomNode& cursor) {
    for (const WaterRecord& record : records) {
      const NodeValues values = WaterValues(record);
      if (!EmitNodeTable(document, cursor, table.entries(), values, run)) break;
    }
  });
  return 0;
}

int ExportYeastRecords(std::span<const YeastRecord> records, const std::string& output_path,
                       ExportRun& run) {
  NodeTable table(kYeastTable);
  table.Switch(kMaxReuseEntry, false);
  RunExporter("cultures", output_path, run, [&](DomDocument* document, DomNode& cursor) {
    for (const YeastRecord& record : records) {
      const NodeValues values = YeastValues(record);
      if (!EmitNodeTable(document, cursor, table.entries(), values, run)) break;
    }
  });
  return 0;
}

}  // namespace kegverter
