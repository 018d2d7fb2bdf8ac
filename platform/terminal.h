// The console the batch program reports to: whether it is a terminal and how wide it is.
#pragma once

#include <cstdio>

namespace kegverter {

/// True when `stream` is an interactive terminal (a console window on Windows); false for a
/// file, a pipe, or when that cannot be told.
bool IsTerminal(std::FILE* stream);

/// The width of the terminal behind `stream` in columns; 80 when it cannot be told.
int TerminalColumns(std::FILE* stream);

}  // namespace kegverter
