// The batch program's command line.
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "driver/batch.h"
#include "driver/batch_job.h"

namespace kegverter {

using batch::kProgram;

BatchCommandLine ParseBatchCommandLine(int argc, const char* const* argv, const char* version,
                                       std::FILE* out, std::FILE* err) {
  BatchCommandLine parsed;
  BatchOptions& options = parsed.options;
  std::vector<std::string> formats;
  std::string formats_text;
  for (const FormatInfo& format : Formats()) {
    formats.emplace_back(format.name);
    formats_text += std::string(formats_text.empty() ? "" : ", ") + std::string(format.name) +
                    " (" + std::string(format.title) + ", ." + std::string(format.extension) + ")";
  }
  std::string to(Formats().front().name);

  CLI::App app(
      "Converts every source file found under the PATHs (files or folders, walked recursively) "
      "in one process, several files at a time.",
      kProgram);
  app.add_option("PATH", options.paths, "Files and folders to convert")->required();
  app.add_option("-o,--output", options.output_dir,
                 "Write the outputs under DIR, mirroring each input's path below its PATH "
                 "(default: beside each input)")
      ->type_name("DIR");
  app.add_option("-j,--jobs", options.jobs, "Files converted at once (default: one per core)")
      ->check(CLI::Range(1u, 1024u))
      ->type_name("N");
  app.add_option("--to", to, "Output format: " + formats_text)
      ->check(CLI::IsMember(formats))
      ->type_name("FORMAT")
      ->capture_default_str();
  app.add_flag("--force", options.force, "Convert even when an output is newer than its input");
  app.add_option("--report", options.report, "Write one JSON object per input to FILE")
      ->type_name("FILE");
  CLI::Option* quiet =
      app.add_flag("-q,--quiet", options.quiet, "Print only failures: no progress, no summary");
  app.add_flag("-v,--verbose", options.verbose,
               "Also list every skipped, converted and up-to-date file")
      ->excludes(quiet);
  app.add_flag("--follow-links", options.follow_links, "Walk into symbolic links to folders");
  CLI::Option* combine =
      app.add_option("--combine", options.combine,
                     "Write every record of the run into one BeerJSON document FILE instead of "
                     "an output per input")
          ->type_name("FILE");
  app.set_version_flag("--version", std::string(kProgram) + " " + version);

  std::ostringstream out_text;
  std::ostringstream err_text;
  try {
    app.parse(argc, argv);
    options.format = FindFormat(to)->format;
    if (combine->count() > 0) {
      // A format that holds a whole run: the one asked for, or else the first of the table.
      const FormatInfo* whole_run = nullptr;
      for (const FormatInfo& format : Formats()) {
        if (format.holds_whole_run() && whole_run == nullptr) whole_run = &format;
      }
      if (app.count("--to") > 0 && !Info(options.format).holds_whole_run()) {
        const std::string_view title = whole_run->title;
        throw CLI::ValidationError("--combine", "writes " +
                                                    std::string(title.substr(0, title.find(' '))) +
                                                    "; it cannot go with --to " + to);
      }
      if (app.count("--to") == 0) options.format = whole_run->format;
    }
    parsed.run = true;
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out_text, err_text);
    parsed.exit_code = code == 0 ? 0 : kBatchUsageError;
  }
  std::fputs(out_text.str().c_str(), out);
  std::fputs(err_text.str().c_str(), err);
  std::fflush(out);
  std::fflush(err);
  return parsed;
}

}  // namespace kegverter
