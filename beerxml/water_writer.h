// The profiles list (from water.dat or a '.wtr' file).
#pragma once

#include <span>
#include <string>

#include "beerxml/emitter.h"
#include "source/water.h"

namespace kegverter {

/// Writes `records` as a profiles document to `output_path`; failures are reported in `run`.
void ExportWaterRecords(std::span<const WaterRecord> records, const std::string& output_path,
                        ExportRun& run);

}  // namespace kegverter
