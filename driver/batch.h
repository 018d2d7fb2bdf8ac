// kegverter-batch: converts whole folders of source files in one process, several files at a
// time, with progress on a terminal, a summary, and an optional JSON Lines report.
#pragma once

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/registry.h"

namespace kegverter {

/// Exit statuses besides 0 and 1; a stop request exits with 128 plus the signal's number.
inline constexpr int kBatchUsageError = 2;

struct BatchOptions {
  std::vector<std::string> paths;
  std::string output_dir;  ///< empty: outputs beside their inputs
  unsigned jobs = 0;       ///< files converted at once; 0: one per core
  OutputFormat format = OutputFormat::BeerXml2;
  bool force = false;         ///< convert even when the output is newer than the input
  std::string report;         ///< empty: no report
  bool quiet = false;         ///< only failures and the lines that say why
  bool verbose = false;       ///< also every skipped and up-to-date file
  bool follow_links = false;  ///< walk into symbolic links to folders
  /// Not empty: every record of the run goes into this one BeerJSON document instead of an
  /// output per input.
  std::string combine;
};

/// The console the batch reports to.
struct BatchConsole {
  std::FILE* err = stderr;
  bool terminal = false;  ///< stderr is a terminal: draw the progress line
  int columns = 80;       ///< the terminal's width
};

/// What the command line asks for: a run with these options, or an exit with this status
/// (after --help, --version or a usage error, already printed).
struct BatchCommandLine {
  bool run = false;
  int exit_code = 0;
  BatchOptions options;
};

/// Parses the command line. Help and the version go to `out`, usage errors to `err` (exit
/// status 2); never throws.
BatchCommandLine ParseBatchCommandLine(int argc, const char* const* argv, const char* version,
                                       std::FILE* out, std::FILE* err);

/// Converts everything the options name. Stops starting files once `stop` is not zero (the
/// signal's number), finishes the files in flight, and still writes the report and the summary.
/// Returns the exit status: 0 when nothing failed, 1 when something did, 2 for paths that
/// cannot be walked as asked or a report that cannot be written, 128 + the signal after a stop.
int RunBatch(const BatchOptions& options, const std::atomic<int>& stop,
             const BatchConsole& console);

/// The whole program: parse, then run with stderr as the console.
int RunBatchProgram(int argc, const char* const* argv, const char* version,
                    const std::atomic<int>& stop);

}  // namespace kegverter
