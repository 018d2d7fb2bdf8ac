// The BeerJSON writer of each file kind in the shape of the registry's writer column: read the
// records, dump them when asked, write the document. Until the registry has a BeerJSON column,
// this is where a caller (the fuzzer, the tests, the benchmark) finds the writer of a kind.
#pragma once

#include "driver/registry.h"

namespace kegverter {

/// The function that reads `count` records of `kind` and writes them as BeerJSON, with the same
/// close order as the kind's BeerXML conversion; null for a kind that is not converted.
ConvertFn BeerJsonConverter(FileKind kind);

}  // namespace kegverter
