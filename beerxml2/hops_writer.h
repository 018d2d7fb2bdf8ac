// The varieties list (from hops.dat).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "document/emitter.h"
#include "model/words.h"
#include "source/hops.h"

namespace kegverter {

/// Words of a hop variety's use; a use code without a meaning has none.
inline constexpr model::Words<model::HopUse> kHopUseWords{"", "bittering", "aroma", "both"};

/// The use word of a hop's `type_code` (the upper 12 bits do not matter).
std::optional<std::string> HopUseWord(std::int16_t type_code);

/// Writes `records` as the `varieties` list; failures are reported in `run`.
void ExportHopRecords(std::span<const HopRecord> records, ExportRun& run);

}  // namespace kegverter
