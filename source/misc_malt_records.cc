#include "source/misc_malt_records.h"

#include <string>

#include "beerxml/format.h"
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
  // One call for the nine lines: a database of many records prints nine lines per record.
  // The inventory is "%f", which FormatFixed with six digits writes faster.
  std::fprintf(out,
               "ingredient_name = %s\n"
               "ingredient_type = %d\n"
               "suggested_time = %d\n"
               "time_type = %d\n"
               "time_units = %d\n"
               "inventory_unit_of_measurement = %d\n"
               "inventory = %s\n"
               "usage = %s\n"
               "comment = %s\n\n",
               ConsoleText(record.ingredient_name).c_str(),
               static_cast<int>(record.ingredient_type), static_cast<int>(record.suggested_time),
               static_cast<int>(record.time_type), static_cast<int>(record.time_units),
               static_cast<int>(record.inventory_unit_of_measurement),
               FormatFixed(record.inventory, 6).c_str(), ConsoleText(record.usage).c_str(),
               ConsoleText(record.comment).c_str());
}

std::int32_t ReadMiscRecords(InputFile& file, std::span<MiscRecord> records) {
  return ReadRecords(file, records);
}

std::int32_t ReadMaltRecords(InputFile& file, std::span<MaltRecord> records) {
  return ReadRecords(file, records);
}

}  // namespace kegverter
