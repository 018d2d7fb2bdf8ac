// Starting the build's programs from a test: what each platform provides to RunProgram and
// BackgroundRun (fixture.h), in fixture_process_posix.cc and fixture_process_windows.cc.
#pragma once

#include <string>
#include <vector>

namespace kegverter::testing::process {

/// What RunProgram reports when no exit status can be had.
inline constexpr int kNoExitStatus = -1000;

/// Runs `program` (the path the build gives it) to its end with these arguments, standard input
/// empty, standard output and standard error written to the two files. Returns the exit status
/// as a POSIX shell shows it, or kNoExitStatus when the program could not be started.
int RunToEnd(const std::string& program, const std::vector<std::string>& arguments,
             const std::string& out_path, const std::string& err_path);

/// Console text as the tests compare it: on Windows "\r\n" becomes "\n" and a bare "\n" shows as
/// "<LF without CR>\n"; elsewhere the text as it is.
std::string FromConsoleLines(const std::string& text);

}  // namespace kegverter::testing::process
