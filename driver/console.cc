#include "driver/console.h"

#include <string_view>

#include "document/format.h"
#include "source/text.h"

namespace kegverter {

namespace {

// The console is UTF-8 here, while the database holds Windows text: the names are shown the way
// the application showed them, with "(null)" for a record that was never filled.
std::string ConsoleText(const NarrowText& text) {
  return text ? WidenText(std::string_view(*text)) : std::string("(null)");
}

// One line "name = value". A decoded text ends at its field's first NUL, so printf's "%s", which
// the dump once was, showed every value whole too.
void Line(std::string& text, std::string_view name, const std::string& value) {
  text += name;
  text += " = ";
  text += value;
  text += '\n';
}

}  // namespace

void DumpMiscRecord(const MiscRecord& record, std::string& text) {
  // A database of many records dumps nine lines per record: the text's storage is reused.
  text.clear();
  Line(text, "ingredient_name", ConsoleText(record.ingredient_name));
  Line(text, "ingredient_type", std::to_string(static_cast<int>(record.ingredient_type)));
  Line(text, "suggested_time", std::to_string(static_cast<int>(record.suggested_time)));
  Line(text, "time_type", std::to_string(static_cast<int>(record.time_type)));
  Line(text, "time_units", std::to_string(static_cast<int>(record.time_units)));
  Line(text, "inventory_unit_of_measurement",
       std::to_string(static_cast<int>(record.inventory_unit_of_measurement)));
  // The inventory is printf's "%f", which FormatFixed with six digits writes faster.
  Line(text, "inventory", FormatFixed(record.inventory, 6));
  Line(text, "usage", ConsoleText(record.usage));
  Line(text, "comment", ConsoleText(record.comment));
  text += '\n';
}

}  // namespace kegverter
