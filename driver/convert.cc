#include "driver/convert.h"

#include <cinttypes>
#include <memory>

#include "beerxml/emitter.h"
#include "source/input_file.h"

namespace kegverter {

namespace {

// printf into a std::string, for the few messages that carry numbers.
template <class... Args>
std::string Format(const char* format, Args... args) {
  const int size = std::snprintf(nullptr, 0, format, args...);
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  if (size > 0) std::snprintf(text.data(), text.size() + 1, format, args...);
  return text;
}

constexpr const char* kConvertible =
    "a .rec, .msh or .wtr file, or one of extra.dat, hops.dat, malt.dat, styles.dat, water.dat "
    "and yeast.dat";

}  // namespace

ConversionResult ConvertFile(const ConversionRequest& request) {
  using Status = ConversionResult::Status;
  ConversionResult result;
  auto complain = [&result](const std::string& subject, std::string text) {
    result.messages.push_back({subject, std::move(text)});
  };

  // The file opens under the name as given; detection and the output path use it trimmed.
  std::string error;
  std::unique_ptr<InputFile> input = InputFile::Open(request.input, request.input_size, error);
  if (!input) {
    complain(request.input, "cannot open: " + error);
    return result;
  }
  const std::string trimmed = TrimPath(request.input);

  std::int32_t count = 0;
  const KindInfo* kind = DetectKind(*input, trimmed, count);
  result.kind = kind;
  result.status = Status::NotConverted;
  if (kind == nullptr) {
    complain(trimmed, std::string("not a file Kegverter converts (expected ") + kConvertible + ")");
    return result;
  }
  if (!kind->converted()) {
    complain(trimmed, std::string(kind->description) + " files are not converted");
    return result;
  }
  if (input->size() == 0) {
    complain(trimmed, "the file is empty");
    return result;
  }
  if (kind->database()) {
    if (count <= 0) {
      complain(trimmed, Format("the %s holds no records (its header counts %" PRId32 ")",
                               kind->description, count));
      return result;
    }
    const std::uint64_t complete = input->size() < 4 ? 0 : (input->size() - 4) / kind->record_size;
    if (complete == 0) {
      complain(
          trimmed,
          Format("the header count is %" PRId32 " but the file holds no complete record", count));
      return result;
    }
    if (static_cast<std::uint64_t>(count) > complete) {
      complain(trimmed, Format("the header count is %" PRId32 " but the file holds %" PRIu64
                               " complete record(s); converting those",
                               count, complete));
      count = static_cast<std::int32_t>(complete);
    }
  }
  if (request.combine != nullptr) {
    result.records = count;
    kind->combine(*input, count, *request.combine);
    for (const std::string& warning : input->warnings()) complain(trimmed, warning);
    if (input->read_error()) {
      complain(trimmed, "a read error occurred; the records may be incomplete");
      result.status = Status::Failed;
    } else {
      if (input->truncated()) {
        complain(trimmed, "the file is truncated; the missing bytes were read as zeros");
      }
      result.status = Status::Written;
    }
    return result;
  }
  const ConvertFn convert = kind->writers[static_cast<std::size_t>(request.format)];
  if (convert == nullptr) {
    complain(trimmed,
             std::string("cannot be written as ") + std::string(Info(request.format).title));
    return result;
  }

  result.status = Status::Failed;
  result.output = request.output.empty() ? OutputPath(trimmed, request.format) : request.output;
  result.records = count;
  ExportRun run;
  run.faults = request.faults;
  run.staged = request.staged;
  convert(*input, count, result.output, run, request.console);
  result.reports = std::move(run.reports);
  result.saved = run.saved;

  for (const std::string& warning : input->warnings()) complain(trimmed, warning);
  if (input->read_error()) {
    complain(trimmed, "a read error occurred; the output may be incomplete");
  } else if (input->truncated()) {
    complain(trimmed, "the file is truncated; the missing bytes were read as zeros");
  }
  if (!run.saved) {
    complain(result.output,
             "not written: " + (run.save_error.empty()
                                    ? std::string("the XML document could not be built")
                                    : run.save_error));
    return result;
  }
  if (run.failures_reported > 0 || input->read_error()) {
    complain(result.output,
             Format("written incomplete: %d document failure(s) reported", run.failures_reported));
    return result;
  }
  result.status = Status::Written;
  return result;
}

}  // namespace kegverter
