// The library's one entry (include/kegverter/kegverter.h): ConvertInput over the caller's bytes.
#include <cstdint>

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

}  // namespace

Result Convert(std::string_view file_name, std::span<const std::byte> bytes, Format format) {
  Result result;
  if (!Known(format)) {
    result.status = Status::NotConverted;
    result.messages.push_back({Message::About::Input, TrimPath(file_name),
                               "cannot be written in an unknown output format"});
    return result;
  }
  InputFile input(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                                bytes.size()));
  const ConsoleSink console = [&result](std::string_view text) { result.console += text; };
  InputConversion converted =
      ConvertInput(file_name, input, static_cast<OutputFormat>(format), console);
  result.status = StatusOf(converted.status);
  if (converted.kind != nullptr) result.kind = converted.kind->label;
  result.records = converted.records;
  result.output = converted.document.Take();
  result.messages.reserve(converted.messages.size());
  for (ConversionMessage& message : converted.messages) {
    result.messages.push_back({message.about == ConversionMessage::About::Output
                                   ? Message::About::Output
                                   : Message::About::Input,
                               std::move(message.subject), std::move(message.text)});
  }
  result.console += converted.reports;
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
