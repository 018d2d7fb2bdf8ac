#include "driver/driver.h"

#include <cinttypes>
#include <cstdarg>
#include <cstring>
#include <string>

#include "driver/dispatch.h"
#include "driver/file_kind.h"
#include "source/input_file.h"

namespace kegverter {

namespace {

void Complain(std::FILE* err, const char* format, ...) {
  std::fputs("kegverter: ", err);
  va_list args;
  va_start(args, format);
  std::vfprintf(err, format, args);
  va_end(args);
  std::fputc('\n', err);
  std::fflush(err);
}

constexpr const char* kConvertible =
    "a .rec, .msh or .wtr file, or one of extra.dat, hops.dat, malt.dat, styles.dat, water.dat "
    "and yeast.dat";

}  // namespace

int RunKegverter(int argc, const char* const* argv, std::FILE* out, std::FILE* err,
                 const DomFaults& faults) {
  if (argc != 2 || argv[1] == nullptr || std::strlen(argv[1]) < 5) {
    std::fputs(kUsageText, out);
    std::fflush(out);
    return -1;
  }
  const std::string argument = argv[1];

  // The file opens under the name as given; detection and the output path use it trimmed.
  std::string error;
  std::unique_ptr<InputFile> input = InputFile::Open(argument, error);
  if (!input) {
    Complain(err, "%s: cannot open: %s", argument.c_str(), error.c_str());
    return 1;
  }
  const std::string trimmed = TrimPath(argument);
  const char* name = trimmed.c_str();

  std::int32_t count = 0;
  const FileKind kind = DetectFileKind(*input, trimmed, count);
  const KindEntry* entry = FindKind(kind);
  if (kind == FileKind::None || entry == nullptr) {
    Complain(err, "%s: not a file Kegverter converts (expected %s)", name, kConvertible);
    return 1;
  }
  if (kind == FileKind::BrwFile) {
    Complain(err, "%s: brew session files are not converted", name);
    return 1;
  }
  if (input->size() == 0) {
    Complain(err, "%s: the file is empty", name);
    return 1;
  }
  if (HasCountHeader(trimmed)) {
    if (count <= 0) {
      Complain(err, "%s: the %s holds no records (its header counts %" PRId32 ")", name,
               entry->description, count);
      return 1;
    }
    const std::uint64_t complete = input->size() < 4 ? 0 : (input->size() - 4) / entry->record_size;
    if (complete == 0) {
      Complain(err, "%s: the header count is %" PRId32 " but the file holds no complete record",
               name, count);
      return 1;
    }
    if (static_cast<std::uint64_t>(count) > complete) {
      Complain(err, "%s: the header count is %" PRId32 " but the file holds %" PRIu64
               " complete record(s); converting those", name, count, complete);
      count = static_cast<std::int32_t>(complete);
    }
  }
  if (entry->convert == nullptr) {
    Complain(err, "%s: converting a %s is not supported yet", name, entry->description);
    return 1;
  }

  const std::string output = OutputPath(trimmed);
  ExportRun run;
  run.faults = faults;
  entry->convert(*input, count, output, run);
  // The document failures reported during the export, after the dump printed while reading.
  std::fwrite(run.reports.data(), 1, run.reports.size(), out);
  std::fflush(out);

  for (const std::string& warning : input->warnings()) Complain(err, "%s: %s", name, warning.c_str());
  if (input->read_error()) {
    Complain(err, "%s: a read error occurred; the output may be incomplete", name);
  } else if (input->truncated()) {
    Complain(err, "%s: the file is truncated; the missing bytes were read as zeros", name);
  }
  if (!run.saved) {
    Complain(err, "%s: not written: %s", output.c_str(),
             run.save_error.empty() ? "the XML document could not be built"
                                    : run.save_error.c_str());
    return 1;
  }
  if (entry->prints_summary) {
    std::fprintf(out, count == 1 ? "\nProcessed %d record.\n\n" : "\nProcessed %d records.\n\n",
                 static_cast<int>(count));
    std::fflush(out);
  }
  if (run.failures_reported > 0 || input->read_error()) {
    Complain(err, "%s: written incomplete: %d document failure(s) reported", output.c_str(),
             run.failures_reported);
    return 1;
  }
  return 0;
}

}  // namespace kegverter
