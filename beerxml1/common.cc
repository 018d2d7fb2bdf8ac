#include "beerxml1/common.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "model/units.h"

namespace kegverter::beerxml1 {

// A stored value as the decimal it shows: a 32-bit value is read as its shortest text (1.8, not
// 1.7999999523), so that a conversion does not carry the float's representation error.
double AsShown(double value) {
  const auto single = static_cast<float>(value);
  if (!std::isfinite(value) || !std::isfinite(single) || static_cast<double>(single) != value) {
    return value;
  }
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, single).ptr;
  double shown = value;
  std::from_chars(buffer, end, shown);
  return shown;
}

// A number in fixed notation (XML Schema decimals take no exponent), rounded to 9 significant
// digits and then written as the shortest text that reads back to that: 4.5359237, not
// 4.535923700000001. A value that is not finite is 0; a negative zero is 0.
std::string Decimal(double value) {
  if (!std::isfinite(value) || value == 0) return "0";
  char buffer[400];
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 8);
  double rounded = value;
  if (error == std::errc()) std::from_chars(buffer, end, rounded);
  if (!std::isfinite(rounded)) rounded = value;
  const auto fixed =
      std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed);
  if (fixed.ec != std::errc()) return "0";
  return std::string(buffer, fixed.ptr);
}

// The metric value of a quantity, from the decimal its stored value shows.
double MetricValue(const m::Quantity& quantity) {
  return m::Metric({AsShown(quantity.value), quantity.unit}).value;
}

std::string MetricText(const m::Quantity& quantity) { return Decimal(MetricValue(quantity)); }

// The metric value of `quantity` held to [low, high]; a value outside is written as the bound and
// the stored one named in the notes.
std::string Bounded(const m::Quantity& quantity, double low, double high, std::string_view what,
                    Notes& notes) {
  const double value = MetricValue(quantity);
  if (value >= low && value <= high) return Decimal(value);
  notes.Add(m::AsStoredLine(what, m::StoredText(quantity)));
  return Decimal(value < low ? low : high);
}

// A pH has no unit: one outside 0 to 14 is named in the notes as the number stored.
std::string Ph(double ph, Notes& notes) {
  const double value = AsShown(ph);
  if (value >= 0 && value <= 14) return Decimal(value);
  notes.Add(m::AsStoredLine("pH", m::NumberText(ph)));
  return Decimal(value < 0 ? 0 : 14);
}

std::string Percent(const m::Quantity& q, std::string_view what, Notes& notes) {
  return Bounded(q, 0, 100, what, notes);
}
std::string Gravity(const m::Quantity& q, std::string_view what, Notes& notes) {
  return Bounded(q, 0.9, 2.0, what, notes);
}
std::string Celsius(const m::Quantity& q, std::string_view what, Notes& notes) {
  return Bounded(q, 0, 150, what, notes);
}
// Amounts, volumes and durations: not below zero.
std::string NotNegative(const m::Quantity& q, std::string_view what, Notes& notes) {
  return Bounded(q, 0, kNoBound, what, notes);
}

// A name on one line: each run of line breaks and tabs becomes one space.
std::string OneLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  bool in_run = false;
  for (const char c : text) {
    const bool breaks = c == '\r' || c == '\n' || c == '\t';
    if (!breaks) {
      line += c;
    } else if (!in_run) {
      line += ' ';
    }
    in_run = breaks;
  }
  return line;
}

// Importers validate every NAME as one line that holds a character that is not blank, and refuse
// the whole file for one that is not: a name is written on one line, a blank one as `fallback`,
// and the notes keep the name as stored whenever it changed. `what` names the name in notes that
// hold more than one ("Style name").
std::string Name(const std::string& name, std::string_view fallback, Notes& notes,
                 std::string_view what) {
  std::string line = OneLine(name);
  const bool blank = line.find_first_not_of(' ') == std::string::npos;
  if (blank || line != name) notes.Add(m::AsStoredLine(what, m::QuotedText(name)));
  if (blank) return std::string(fallback);
  return line;
}

// A mash's and a step's NAME may be blank, but is written on one line all the same.
std::string LineName(const std::string& name, std::string_view what, Notes& notes) {
  std::string line = OneLine(name);
  if (line != name) notes.Add(m::AsStoredLine(what, m::QuotedText(name)));
  return line;
}

std::string Bool(bool value) { return value ? "TRUE" : "FALSE"; }

// A word as a slot value: an empty word leaves the element out.
std::optional<std::string> OptionalWord(std::string_view word) {
  if (word.empty()) return std::nullopt;
  return std::string(word);
}

}  // namespace kegverter::beerxml1
