#include "driver/convert.h"

#include <algorithm>
#include <cinttypes>
#include <memory>

#include "driver/printf.h"
#include "output/save.h"
#include "source/input_file.h"

namespace kegverter {

namespace {

using Status = ConversionResult::Status;
using About = ConversionMessage::About;

constexpr const char* kConvertible =
    "a .rec, .msh or .wtr file, or one of extra.dat, hops.dat, malt.dat, styles.dat, water.dat "
    "and yeast.dat";

void Complain(InputConversion& result, const std::string& subject, std::string text,
              About about = About::Input) {
  result.messages.push_back({subject, std::move(text), about});
}

// Recognises the input by its trimmed name and checks that it holds records to convert, leaving
// it after a database's count header with `result.records` the records to read. False, with the
// reason in `result` (status NotConverted), when there is nothing to convert.
bool Recognise(InputFile& input, const std::string& trimmed, InputConversion& result) {
  std::int32_t count = 0;
  const KindInfo* kind = DetectKind(input, trimmed, count);
  result.kind = kind;
  result.status = Status::NotConverted;
  if (kind == nullptr) {
    Complain(result, trimmed,
             std::string("not a file Kegverter converts (expected ") + kConvertible + ")");
    return false;
  }
  if (!kind->converted()) {
    Complain(result, trimmed, std::string(kind->description) + " files are not converted");
    return false;
  }
  if (input.size() == 0) {
    Complain(result, trimmed, "the file is empty");
    return false;
  }
  if (kind->database()) {
    if (count <= 0) {
      Complain(result, trimmed,
               Printf("the %s holds no records (its header counts %" PRId32 ")", kind->description,
                      count));
      return false;
    }
    const std::uint64_t complete = input.size() < 4 ? 0 : (input.size() - 4) / kind->record_size;
    if (complete == 0) {
      Complain(
          result, trimmed,
          Printf("the header count is %" PRId32 " but the file holds no complete record", count));
      return false;
    }
    if (static_cast<std::uint64_t>(count) > complete) {
      Complain(result, trimmed,
               Printf("the header count is %" PRId32 " but the file holds %" PRIu64
                      " complete record(s); converting those",
                      count, complete));
      count = static_cast<std::int32_t>(complete);
    }
  }
  result.records = count;
  return true;
}

// The damage the readers worked around, then a read error or the file's end coming too soon.
void NoteInputDamage(const InputFile& input, const std::string& trimmed,
                     const char* after_read_error, InputConversion& result) {
  for (const std::string& warning : input.warnings()) Complain(result, trimmed, warning);
  if (input.read_error()) {
    Complain(result, trimmed, std::string("a read error occurred; ") + after_read_error);
  } else if (input.truncated()) {
    Complain(result, trimmed, "the file is truncated; the missing bytes were read as zeros");
  }
}

}  // namespace

bool RecogniseInput(std::string_view name, InputFile& input, InputConversion& result) {
  const std::string trimmed = TrimPath(name);
  if (!Recognise(input, trimmed, result)) return false;
  result.status = Status::Failed;
  return true;
}

void WriteInput(std::string_view name, InputFile& input, OutputFormat format,
                const ConsoleSink& console, InputConversion& result) {
  const std::string trimmed = TrimPath(name);
  ExportRun run;
  {
    const std::unique_ptr<DocumentWriter> writer = Info(format).begin(result.kind->record, run);
    result.kind->read(input, result.records, *writer, console);
    writer->Finish();
  }
  result.reports = std::move(run.reports);
  NoteInputDamage(input, trimmed, "the output may be incomplete", result);

  const std::string output = OutputPath(trimmed, format);
  if (!run.written) {
    Complain(result, output,
             "not written: " + (run.write_error.empty()
                                    ? std::string("the XML document could not be built")
                                    : run.write_error),
             About::Output);
    return;
  }
  result.has_document = true;
  result.document = std::move(run.output);
  if (run.failures_reported > 0 || input.read_error()) {
    Complain(result, output,
             Printf("written incomplete: %d document failure(s) reported", run.failures_reported),
             About::Output);
    return;
  }
  result.status = Status::Written;
}

InputConversion ConvertInput(std::string_view name, InputFile& input, OutputFormat format,
                             const ConsoleSink& console) {
  InputConversion result;
  if (RecogniseInput(name, input, result)) WriteInput(name, input, format, console, result);
  return result;
}

InputConversion CombineInput(std::string_view name, InputFile& input, WholeRunDocument& whole_run) {
  InputConversion result;
  const std::string trimmed = TrimPath(name);
  if (!Recognise(input, trimmed, result)) return result;
  const std::unique_ptr<DocumentWriter> writer = whole_run.BeginInput();
  result.kind->read(input, result.records, *writer, ConsoleSink());
  writer->Finish();
  NoteInputDamage(input, trimmed, "the records may be incomplete", result);
  result.status = input.read_error() ? Status::Failed : Status::Written;
  return result;
}

ConversionResult ConvertFile(const ConversionRequest& request) {
  ConversionResult result;
  // The file opens under the name as given; detection and the output path use it trimmed.
  std::string error;
  const std::unique_ptr<InputFile> input =
      InputFile::Open(request.input, request.input_size, error);
  if (!input) {
    result.messages.push_back({request.input, "cannot open: " + error});
    return result;
  }

  if (request.whole_run != nullptr) {
    InputConversion combined = CombineInput(request.input, *input, *request.whole_run);
    result.status = combined.status;
    result.kind = combined.kind;
    result.records = combined.records;
    result.messages = std::move(combined.messages);
    return result;
  }

  InputConversion converted;
  const bool convertible = RecogniseInput(request.input, *input, converted);
  result.kind = converted.kind;
  result.records = converted.records;
  ConsoleSink console;
  if (request.console != nullptr) {
    console = [out = request.console](std::string_view text) {
      std::fwrite(text.data(), 1, text.size(), out);
    };
  }
  // The output is opened first and the document written into it once converted, so that a
  // conversion of the batch happens while its output is being written, as it always did: the
  // batch's look at the input afterwards sees any change made meanwhile.
  bool converted_yet = false;
  const auto write = [&](std::FILE* out) {
    WriteInput(request.input, *input, request.format, console, converted);
    converted_yet = true;
    return converted.has_document && converted.document.WriteTo(out);
  };
  std::string save_error;
  if (convertible) {
    result.output = request.output.empty() ? OutputPath(TrimPath(request.input), request.format)
                                           : request.output;
    result.saved = SaveOutput(result.output, request.staged, write, save_error);
    // An output that could not even be opened: the records are read and written all the same,
    // for what the conversion has to say.
    if (!converted_yet) WriteInput(request.input, *input, request.format, console, converted);
  }
  result.status = converted.status;
  result.messages = std::move(converted.messages);
  result.reports = std::move(converted.reports);
  // The messages about the output name the path it is saved at.
  for (ConversionMessage& message : result.messages) {
    if (message.about == About::Output) message.subject = result.output;
  }
  if (converted.has_document && !result.saved) {
    // Whatever the document was, it is not there: that is all there is to say about it.
    std::erase_if(result.messages,
                  [](const ConversionMessage& message) { return message.about == About::Output; });
    result.messages.push_back({result.output, "not written: " + save_error, About::Output});
    result.status = Status::Failed;
  }
  return result;
}

}  // namespace kegverter
