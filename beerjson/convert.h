// The BeerJSON writer of each file kind, in the shape of the driver's conversion rows: read the
// records, write the document. Until the kinds' registry has a column per output format, this
// is where a caller (the fuzzer, the tests, the batch program) finds the writer of a kind.
#pragma once

#include "driver/dispatch.h"
#include "driver/file_kind.h"

namespace kegverter {

/// The function that reads `count` records of `kind` and writes them as BeerJSON, with the same
/// close order as the BeerXML conversion of that kind; null for a kind that is not converted.
ConvertFn BeerJsonConverter(FileKind kind);

}  // namespace kegverter
