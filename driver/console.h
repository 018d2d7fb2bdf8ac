// What the program shows on the console besides its messages.
#pragma once

#include <string>

#include "source/misc.h"

namespace kegverter {

/// The nine-line console dump of one extra.dat record, ending with an empty line, into `text`
/// (replacing what it held). A missing text shows as "(null)".
void DumpMiscRecord(const MiscRecord& record, std::string& text);

}  // namespace kegverter
