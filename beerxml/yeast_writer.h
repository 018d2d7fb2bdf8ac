// The cultures list (from yeast.dat), and the words a recipe's yeast shares with it.
#pragma once

#include <span>
#include <string>

#include "beerxml/emitter.h"
#include "source/yeast.h"

namespace kegverter {

// Word tables, indexed by the stored code; a code past the end has no word.

/// YeastRecord::type.
inline constexpr const char* kYeastTypeWords[] = {"ale", "lager", "wine", "champagne"};
/// YeastRecord::form.
inline constexpr const char* kYeastFormWords[] = {"dry", "liquid", "slant"};

/// Writes `records` as a cultures document; failures are reported in `run`.
void ExportYeastRecords(std::span<const YeastRecord> records, ExportRun& run);

}  // namespace kegverter
