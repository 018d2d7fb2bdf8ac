// What the program shows on the console besides its messages.
#pragma once

#include <cstdio>

#include "source/misc.h"

namespace kegverter {

/// The nine-line console dump of one extra.dat record, ending with an empty line. A missing text
/// prints as "(null)". Write errors on `out` are not reported.
void PrintMiscRecord(const MiscRecord& record, std::FILE* out);

}  // namespace kegverter
