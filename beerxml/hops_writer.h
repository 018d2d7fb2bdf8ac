// The varieties list (from hops.dat).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "beerxml/emitter.h"
#include "source/hops.h"

namespace kegverter {

/// Words of a hop's use code, the low 4 bits of `type_code`; codes 4 to 15 have none.
inline constexpr std::array<const char*, 16> kHopUseWords = {
    "bittering",
    "bittering",
    "aroma",
    "both",
};

/// The use word of a hop's `type_code` (the upper 12 bits do not matter).
std::optional<std::string> HopUseWord(std::int16_t type_code);

/// Writes `records` as the `varieties` list; failures are reported in `run`.
void ExportHopRecords(std::span<const HopRecord> records, ExportRun& run);

}  // namespace kegverter
