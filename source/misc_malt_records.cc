#include "source/misc_malt_records.h"

#include <string>

#include "beerxml/text.h"

namespace kegverter {

namespace {

// The console is UTF-8 here, while the database holds Windows text: the names are shown the way
// the application showed them, with "(null)" for a record that was never filled.
std::string ConsoleText(const NarrowText& text) {
  return text ? WidenText(std::string_view(*text)) : std::string("(null)");
}

}  // namespace

void PrintMiscRecord(const MiscRecord& record, std::FILE* out) {
  std::fprintf(out, "ingredient_name = %s\n", ConsoleText(record.ingredient_name).c_str());
  std::fprintf(out, "ingredient_type = %d\n", static_cast<int>(record.ingredient_type));
  std::fprintf(out, "suggested_time = %d\n", static_cast<int>(record.suggested_time));
  std::fprintf(out, "time_type = %d\n", static_cast<int>(record.time_type));
  std::fprintf(out, "time_units = %d\n", static_cast<int>(record.time_units));
  std::fprintf(out, "inventory_unit_of_measurement = %d\n",
               static_cast<int>(record.inventory_unit_of_measurement));
  std::fprintf(out, "inventory = %f\n", static_cast<double>(record.inventory));
  std::fprintf(out, "usage = %s\n", ConsoleText(record.usage).c_str());
  std::fprintf(out, "comment = %s\n\n", ConsoleText(record.comment).c_str());
}

std::int32_t ReadMiscRecords(InputFile& file, std::span<MiscRecord> records) {
  // The dump follows validation, so it shows the defaults that replaced bad values.
  return ReadRecordsWith(file, records, [](const MiscRecord& record) { PrintMiscRecord(record); });
}

std::int32_t ReadMaltRecords(InputFile& file, std::span<MaltRecord> records) {
  return ReadRecords(file, records);
}

}  // namespace kegverter
