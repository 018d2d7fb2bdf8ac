// kegverter: one argument, the file to convert; the BeerXML 2.01 output goes beside it.
#pragma once

#include <cstdio>

namespace kegverter {

inline constexpr const char* kUsageText = "\nusage:\tKegverter \"Name of recipe file.rec\"\n\n";

/// Runs one conversion. Standard output (`out`) carries only the program's own console texts;
/// every other report is one "kegverter: " line on `err`. Returns -1 for a usage error, 1 when
/// no complete output file was written, 0 when it was.
int RunKegverter(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace kegverter
