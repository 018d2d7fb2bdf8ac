// The cultures list (from yeast.dat), and the words a recipe's yeast shares with it.
#pragma once

#include <span>
#include <string>

#include "document/emitter.h"
#include "model/words.h"
#include "source/yeast.h"

namespace kegverter {

// The words of a culture's meanings; a code without a meaning has none.
inline constexpr model::Words<model::CultureType> kCultureTypeWords{"", "ale", "lager", "wine",
                                                                    "champagne"};
inline constexpr model::Words<model::CultureForm> kCultureFormWords{"", "dry", "liquid", "slant"};

/// Writes `records` as a cultures document; failures are reported in `run`.
void ExportYeastRecords(std::span<const YeastRecord> records, ExportRun& run);

}  // namespace kegverter
