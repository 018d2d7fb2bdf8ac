// The styles list (from styles.dat), and the style words and letter rule that a recipe's style
// shares with it.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "document/emitter.h"
#include "model/brewing.h"
#include "source/styles.h"

namespace kegverter {

/// The word of a style type; a code without a meaning (4, and codes above 5) has none.
std::optional<std::string> StyleTypeWord(const model::Coded<model::StyleType>& type);

/// Writes `records` as the `styles` list; failures are reported in `run`.
void ExportStyleRecords(std::span<const StyleRecord> records, ExportRun& run);

}  // namespace kegverter
