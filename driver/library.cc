// The library's one entry (include/kegverter/kegverter.h): ConvertInput over the caller's bytes.
#include <cstdint>
#include <memory>
#include <utility>

#include "driver/batch_plan.h"
#include "driver/convert.h"
#include "driver/registry.h"
#include "kegverter/kegverter.h"
#include "source/input_file.h"

namespace kegverter {

namespace {

static_assert(static_cast<std::size_t>(Format::BeerXml2) ==
              static_cast<std::size_t>(OutputFormat::BeerXml2));
static_assert(static_cast<std::size_t>(Format::BeerJson) ==
              static_cast<std::size_t>(OutputFormat::BeerJson));
static_assert(static_cast<std::size_t>(Format::BeerXml1) ==
              static_cast<std::size_t>(OutputFormat::BeerXml1));
static_assert(static_cast<std::size_t>(Format::BeerXml1) + 1 == kFormatCount);

Status StatusOf(ConversionResult::Status status) {
  switch (status) {
    case ConversionResult::Status::Written:
      return Status::Written;
    case ConversionResult::Status::NotConverted:
      return Status::NotConverted;
    case ConversionResult::Status::Failed:
      break;
  }
  return Status::Failed;
}

bool Known(Format format) { return static_cast<std::size_t>(format) < kFormatCount; }

InputFile InputOf(std::span<const std::byte> bytes) {
  return InputFile(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// What a conversion said, in the library's terms.
void Tell(InputConversion& converted, Result& result) {
  result.status = StatusOf(converted.status);
  if (converted.kind != nullptr) result.kind = converted.kind->label;
  result.records = converted.records;
  result.messages.reserve(converted.messages.size());
  for (ConversionMessage& message : converted.messages) {
    result.messages.push_back({message.about == ConversionMessage::About::Output
                                   ? Message::About::Output
                                   : Message::About::Input,
                               std::move(message.subject), std::move(message.text)});
  }
  result.console += converted.reports;
}

}  // namespace

Result Convert(std::string_view file_name, std::span<const std::byte> bytes, Format format) {
  Result result;
  if (!Known(format)) {
    result.status = Status::NotConverted;
    result.messages.push_back({Message::About::Input, TrimPath(file_name),
                               "cannot be written in an unknown output format"});
    return result;
  }
  InputFile input = InputOf(bytes);
  const ConsoleSink console = [&result](std::string_view text) { result.console += text; };
  InputConversion converted =
      ConvertInput(file_name, input, static_cast<OutputFormat>(format), console);
  Tell(converted, result);
  result.output = converted.document.Take();
  return result;
}

bool HoldsWholeRun(Format format) {
  return Known(format) && Info(static_cast<OutputFormat>(format)).holds_whole_run();
}

struct Combination::State {
  std::unique_ptr<WholeRunDocument> document;  // null for a format that holds no whole run
};

Combination::Combination(Format format) : state_(std::make_unique<State>()) {
  if (HoldsWholeRun(format)) {
    state_->document = Info(static_cast<OutputFormat>(format)).begin_whole_run(PartStore::Memory);
  }
}

Combination::~Combination() = default;
Combination::Combination(Combination&&) noexcept = default;
Combination& Combination::operator=(Combination&&) noexcept = default;

Result Combination::Add(std::string_view file_name, std::span<const std::byte> bytes) {
  Result result;
  if (!state_ || !state_->document) {
    result.status = Status::NotConverted;
    result.messages.push_back({Message::About::Input, TrimPath(file_name),
                               "cannot be added: the format holds one list per document"});
    return result;
  }
  InputFile input = InputOf(bytes);
  InputConversion converted = CombineInput(file_name, input, *state_->document);
  Tell(converted, result);
  return result;
}

Result Combination::Finish() {
  Result result;
  std::string error;
  if (!state_ || !state_->document) {
    error = "the format holds one list per document";
  } else {
    error = state_->document->error();
    OutputText output;
    if (error.empty() && state_->document->WriteTo(output, error)) {
      result.status = Status::Written;
      result.output = output.Take();
    }
  }
  if (result.status != Status::Written) {
    result.messages.push_back({Message::About::Output, std::string(), "not written: " + error});
  }
  return result;
}

std::string OutputName(std::string_view file_name, Format format) {
  if (!Known(format)) return std::string();
  return OutputPath(TrimPath(file_name), static_cast<OutputFormat>(format));
}

std::vector<PlannedFile> PlanFolder(std::span<const std::string> paths, Format format) {
  std::vector<PlannedFile> planned(paths.size());
  if (!Known(format)) {
    for (PlannedFile& file : planned) file.reason = "cannot be written in an unknown output format";
    return planned;
  }
  std::vector<PlannedOutput> outputs = PlanOutputs(paths, static_cast<OutputFormat>(format));
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    planned[i].kind = outputs[i].kind;
    planned[i].output = std::move(outputs[i].output);
    planned[i].reason = std::move(outputs[i].reason);
    planned[i].position = outputs[i].position;
  }
  return planned;
}

}  // namespace kegverter
