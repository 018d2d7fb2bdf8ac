// The BeerJSON writer of each file kind in the shape of the registry's writer column: read the
// records, dump them when asked, write the document. Until the registry has a BeerJSON column,
// this is where a caller (the fuzzer, the tests, the benchmark) finds the writer of a kind.
#pragma once

#include <string>

#include "driver/registry.h"

namespace kegverter {

class BeerJsonCombined;

/// Converts the file at `input_path` to a BeerJSON document at `output_path` with the checks of a
/// BeerXML conversion (a known kind, a database count above 0 and bounded by the complete
/// records present). False, with nothing written, when the input is not converted; otherwise
/// `run` says whether the output was written. Warnings about damage stay with the input file
/// and are not reported here.
bool ConvertToBeerJson(const std::string& input_path, const std::string& output_path,
                       ExportRun& run);

/// Reads the file at `input_path` with the same checks and adds its records to `combined`.
/// False, with nothing added, when the input is not converted.
bool AddToBeerJson(const std::string& input_path, BeerJsonCombined& combined);

/// The function that reads `count` records of `kind` and writes them as BeerJSON, with the same
/// close order as the kind's BeerXML conversion; null for a kind that is not converted.
ConvertFn BeerJsonConverter(FileKind kind);

}  // namespace kegverter
