// One line of kegverter-batch's report (--report FILE, JSON Lines): an object per input, in
// compact JSON, its keys in alphabetical order.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "driver/convert.h"

namespace kegverter {

/// What the report says of one input.
struct ReportEntry {
  std::string_view path;
  std::optional<std::string_view> kind;    ///< the kind's label; null for an unknown file
  std::optional<std::string_view> output;  ///< null when no output was written
  std::string_view status;
  std::span<const ConversionMessage> messages;
  std::int32_t records = 0;
  double milliseconds = 0;  ///< written rounded to a thousandth
};

/// The entry as one line, with its line feed:
/// {"kind":…,"messages":[{"subject":…,"text":…}],"milliseconds":…,"output":…,"path":…,
/// "records":…,"status":…}.
std::string ReportLine(const ReportEntry& entry);

/// Appends `text` as a JSON string, quotes included. Paths are bytes, not always UTF-8: each
/// maximal part of an ill-formed UTF-8 sequence (a stray byte, or the start of a sequence that
/// ends too soon) becomes one U+FFFD. Quotes, backslashes and control characters are escaped
/// (\b \t \n \f \r, the others as \u00xx in lower case); everything else is copied.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace kegverter
