// The profiles list (from water.dat or a '.wtr' file).
#pragma once

#include <span>
#include <string>

#include "beerxml/emitter.h"
#include "source/water.h"

namespace kegverter {

/// Writes `records` as a profiles document; failures are reported in `run`.
void ExportWaterRecords(std::span<const WaterRecord> records, ExportRun& run);

}  // namespace kegverter
