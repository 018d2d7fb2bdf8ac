#include "beerjson/json_out.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kegverter::beerjson {

namespace {

// By model::Unit, in its order.
constexpr std::array<std::string_view, 21> kUnitWords = {
    "lb",  "oz",  "g",    "gal", "qt", "floz", "tsp",  "tbsp",    "cup",   "ml",  "F",
    "min", "day", "Lovi", "SRM", "sg", "%",    "IBUs", "Lintner", "qt/lb", "ppm",
};
static_assert(kUnitWords.size() == static_cast<std::size_t>(model::Unit::kPartsPerMillion) + 1);

// Every integer up to this is exact in a double.
constexpr double kExactIntegers = 9007199254740992.0;

}  // namespace

std::size_t NumberText(double value, char (&buffer)[64]) {
  if (!std::isfinite(value)) value = 0;  // JSON has no NaN; the model never holds one
  std::to_chars_result result;
  if (value == std::trunc(value) && std::fabs(value) <= kExactIntegers) {
    result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(value));
  } else if (const float single = static_cast<float>(value);
             std::isfinite(single) && static_cast<double>(single) == value) {
    result = std::to_chars(buffer, buffer + sizeof buffer, single);
  } else {
    result = std::to_chars(buffer, buffer + sizeof buffer, value);
  }
  return static_cast<std::size_t>(result.ptr - buffer);
}

std::string_view UnitWord(model::Unit unit) { return kUnitWords[static_cast<std::size_t>(unit)]; }

JsonOut::JsonOut(std::FILE* out)
    : out_(out), buffer_(1 << 16), stream_(out, buffer_.data(), buffer_.size()), writer_(stream_) {
  writer_.SetIndent(' ', 2);
}

void JsonOut::Key(std::string_view key) {
  writer_.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}

void JsonOut::String(std::string_view text) {
  writer_.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

void JsonOut::Number(double value) {
  char buffer[64];
  const std::size_t length = NumberText(value, buffer);
  writer_.RawValue(buffer, length, rapidjson::kNumberType);
}

void JsonOut::Integer(std::int64_t value) { writer_.Int64(value); }

void JsonOut::RawNumber(std::string_view text) {
  writer_.RawValue(text.data(), text.size(), rapidjson::kNumberType);
}

void JsonOut::Quantity(std::string_view key, const model::Quantity& quantity) {
  Key(key);
  StartObject();
  Key("unit");
  String(UnitWord(quantity.unit));
  Key("value");
  Number(quantity.value);
  EndObject();
}

void JsonOut::Duration(std::string_view key, const model::Quantity& quantity) {
  Key(key);
  StartObject();
  Key("unit");
  String(UnitWord(quantity.unit));
  Key("value");
  // Times are whole minutes or days in every source file; a value past 64 bits cannot occur.
  const double whole = std::trunc(quantity.value);
  Integer(std::fabs(whole) < 9.2e18 ? static_cast<std::int64_t>(whole) : 0);
  EndObject();
}

void JsonOut::Range(std::string_view key, const model::Range& range) {
  Key(key);
  StartObject();
  Quantity("minimum", range.minimum);
  Quantity("maximum", range.maximum);
  EndObject();
}

void JsonOut::OptionalString(std::string_view key, std::string_view text) {
  if (text.empty()) return;
  Key(key);
  String(text);
}

bool JsonOut::Finish() {
  stream_.Flush();
  return std::ferror(out_) == 0;
}

}  // namespace kegverter::beerjson
