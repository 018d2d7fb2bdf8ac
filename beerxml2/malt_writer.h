// The fermentables list (from malt.dat), and the type words a recipe's fermentable additions
// share with it.
#pragma once

#include <span>
#include <string>

#include "document/emitter.h"
#include "model/words.h"
#include "source/malt.h"

namespace kegverter {

/// A fermentable's type; a code without a meaning has no word.
inline constexpr model::Words<model::FermentableType> kFermentableTypeWords{"", "grain", "extract",
                                                                            "sugar", "adjunct"};

/// Writes `records` as a fermentables document; failures are reported in
/// `run`.
void ExportMaltRecords(std::span<const MaltRecord> records, ExportRun& run);

}  // namespace kegverter
