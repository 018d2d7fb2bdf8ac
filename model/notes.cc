#include "model/notes.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kegverter::model {

namespace {

// By Unit, in its order.
constexpr std::array<std::string_view, 25> kUnitSymbols = {
    "lb",   "oz",  "g",  "gal", "qt",   "floz",    "tsp",   "tbsp", "cup", "ml", "F", "min",  "day",
    "Lovi", "SRM", "sg", "%",   "IBUs", "Lintner", "qt/lb", "ppm",  "kg",  "l",  "C", "l/kg",
};
static_assert(kUnitSymbols.size() == static_cast<std::size_t>(Unit::kLitresPerKilogram) + 1);

// Every integer up to this is exact in a double.
constexpr double kExactIntegers = 9007199254740992.0;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t NumberText(double value, char (&buffer)[64]) {
  if (!std::isfinite(value)) value = 0;
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

std::string NumberText(double value) {
  char buffer[64];
  return std::string(buffer, NumberText(value, buffer));
}

std::string_view UnitSymbol(Unit unit) {
  const auto index = static_cast<std::size_t>(unit);
  return index < kUnitSymbols.size() ? kUnitSymbols[index] : std::string_view();
}

std::string StoredText(const Quantity& quantity) {
  return NumberText(quantity.value) + " " + std::string(UnitSymbol(quantity.unit));
}

std::string AsStoredLine(std::string_view what, std::string_view stored) {
  return std::string(what) + " as stored: " + std::string(stored);
}

std::string QuotedText(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '\r':
        quoted += "\\r";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\t':
        quoted += "\\t";
        break;
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      default:
        quoted += c;
    }
  }
  return quoted + "\"";
}

std::string AssumedDurationLine(const HopAddition& hop) {
  const char* why = hop.use == HopAdditionUse::kMash ? "the recipe's mash gives no step time"
                                                     : "the recipe gives no boil time";
  return "Time: " + StoredText(hop.duration) + " assumed (" + why + ")";
}

std::string UnknownCodeLine(std::string_view what, std::int32_t code) {
  return std::string(what) + " code " + std::to_string(code) + " (no meaning known)";
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::size_t KnownStepCount(const Mash& mash) {
  std::size_t count = 0;
  for (const MashStep& step : mash.steps) count += step.kind.known() ? 1 : 0;
  return count;
}

std::string LeftOutStepLine(const MashStep& step) {
  return "Step \"" + step.name + "\" left out: " + UnknownCodeLine("kind", step.kind.code);
}

std::string EstimatedBitternessLine(const Recipe& recipe) {
  return "Bitterness: " + NumberText(recipe.bitterness.value) + " IBUs (estimated)";
}

}  // namespace kegverter::model
