// The page's entry into the library: Convert, PlanFolder and Combination, bound for
// JavaScript with embind. Bytes cross as Uint8Array copies; nothing is kept between calls except
// in a Combination the page owns.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstddef>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "kegverter/kegverter.h"

namespace kegverter {
namespace {

using emscripten::val;

std::vector<std::byte> BytesOf(const val& array) {
  std::vector<std::byte> bytes(array["length"].as<std::size_t>());
  // Copies the JavaScript array straight into the vector.
  val view(
      emscripten::typed_memory_view(bytes.size(), reinterpret_cast<unsigned char*>(bytes.data())));
  view.call<void>("set", array);
  return bytes;
}

val ArrayOf(const std::string& text) {
  // A new Uint8Array holding a copy: the string's memory is gone once this returns.
  return val::global("Uint8Array")
      .new_(emscripten::typed_memory_view(text.size(),
                                          reinterpret_cast<const unsigned char*>(text.data())));
}

const char* StatusName(Status status) {
  switch (status) {
    case Status::Written:
      return "written";
    case Status::NotConverted:
      return "not converted";
    case Status::Failed:
      break;
  }
  return "failed";
}

Format FormatOf(int format) {
  switch (format) {
    case 1:
      return Format::BeerJson;
    case 2:
      return Format::BeerXml1;
    default:
      return Format::BeerXml2;
  }
}

// A Result as a plain object: `output` a Uint8Array, each message {about, subject, text}.
val ObjectOf(const Result& result) {
  val object = val::object();
  object.set("status", std::string(StatusName(result.status)));
  object.set("kind", std::string(result.kind));
  object.set("output", ArrayOf(result.output));
  object.set("records", result.records);
  val messages = val::array();
  for (const Message& message : result.messages) {
    val entry = val::object();
    entry.set("about", std::string(message.about == Message::About::Output ? "output" : "input"));
    entry.set("subject", message.subject);
    entry.set("text", message.text);
    messages.call<void>("push", entry);
  }
  object.set("messages", messages);
  object.set("console", result.console);
  return object;
}

val ConvertFile(const std::string& name, const val& bytes, int format) {
  const std::vector<std::byte> input = BytesOf(bytes);
  return ObjectOf(Convert(name, input, FormatOf(format)));
}

val OutputNameOf(const std::string& name, int format) {
  return val(OutputName(name, FormatOf(format)));
}

// The batch program's plan for a list of '/'-separated paths: [{kind, output, reason, position}].
val Plan(const val& paths, int format) {
  const auto list = emscripten::vecFromJSArray<std::string>(paths);
  const std::vector<PlannedFile> planned = PlanFolder(list, FormatOf(format));
  val out = val::array();
  for (const PlannedFile& file : planned) {
    val entry = val::object();
    entry.set("kind", file.kind);
    entry.set("output", file.output);
    entry.set("reason", file.reason);
    entry.set("position", static_cast<double>(file.position));
    out.call<void>("push", entry);
  }
  return out;
}

// One document of every record of the files added, as kegverter-batch --combine writes it.
class WholeRun {
 public:
  explicit WholeRun(int format) : combination_(FormatOf(format)) {}

  val Add(const std::string& name, const val& bytes) {
    const std::vector<std::byte> input = BytesOf(bytes);
    return ObjectOf(combination_.Add(name, input));
  }

  val Finish() { return ObjectOf(combination_.Finish()); }

 private:
  Combination combination_;
};

}  // namespace
}  // namespace kegverter

EMSCRIPTEN_BINDINGS(kegverter) {
  emscripten::class_<kegverter::WholeRun>("Combination")
      .constructor<int>()
      .function("add", &kegverter::WholeRun::Add)
      .function("finish", &kegverter::WholeRun::Finish);
  emscripten::function(
      "holdsWholeRun",
      +[](int format) { return kegverter::HoldsWholeRun(kegverter::FormatOf(format)); });
  emscripten::function("convert", &kegverter::ConvertFile);
  emscripten::function("outputName", &kegverter::OutputNameOf);
  emscripten::function("plan", &kegverter::Plan);
}
