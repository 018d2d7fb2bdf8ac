// The fermentables list (from malt.dat), and the type words a recipe's fermentable additions
// share with it.
#pragma once

#include <span>
#include <string>

#include "beerxml/emitter.h"
#include "source/malt.h"

namespace kegverter {

/// MaltRecord::type, indexed by the stored code; a null entry or a code past the end has no
/// word.
inline constexpr const char* kFermentableTypeWords[] = {nullptr, "grain", "extract", "sugar",
                                                        "adjunct"};

/// Writes `records` as a fermentables document; failures are reported in
/// `run`.
void ExportMaltRecords(std::span<const MaltRecord> records, ExportRun& run);

}  // namespace kegverter
