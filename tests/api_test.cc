// The library's one entry (include/kegverter/kegverter.h): the bytes of a file in, the document
// out, with what the programs write and say for the same file, in every format: the examples,
// damaged copies of them, and inputs that are empty, unknown or not converted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "document/document_error.h"
#include "driver/convert.h"
#include "kegverter/kegverter.h"
#include "tests/document_faults.h"
#include "tests/examples.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::ReadFile;
using testing::TempDir;

constexpr Format kFormats[] = {Format::BeerXml2, Format::BeerJson, Format::BeerXml1};

std::string Text(const Bytes& bytes) {
  return std::string(bytes.data().begin(), bytes.data().end());
}

Result ConvertText(std::string_view name, std::string_view bytes, Format format) {
  return Convert(name, std::as_bytes(std::span(bytes.data(), bytes.size())), format);
}

// The stderr lines of kegverter for these messages.
std::string ErrLines(const std::vector<Message>& messages) {
  std::string lines;
  for (const Message& m : messages) lines += "kegverter: " + m.subject + ": " + m.text + "\n";
  return lines;
}

// Converts the file at `path` (already written, `bytes` its content) with the library and with
// the kegverter program, and checks that they agree on everything the program shows.
void ExpectWhatKegverterDoes(const std::string& path, const std::string& bytes) {
  SCOPED_TRACE(path);
  const Result result = ConvertText(path, bytes, Format::BeerXml2);
  const testing::RunResult run = testing::Convert(path);
  EXPECT_EQ(run.exit_code, result.status == Status::Written ? 0 : 1);
  EXPECT_EQ(run.err, ErrLines(result.messages));
  const std::string output = OutputName(path);
  const bool saved = !result.output.empty();
  EXPECT_EQ(ReadFile(output), result.output);
  const bool summary = saved && (result.kind == "rec");
  EXPECT_EQ(run.out, result.console + (summary ? "\nProcessed 1 record.\n\n" : ""));
  if (result.status == Status::NotConverted) {
    EXPECT_TRUE(result.output.empty());
    EXPECT_EQ(result.records, 0);
  }
}

// The same for the other formats, with the conversion the batch program runs (ConvertFile):
// status, messages, records and the document saved.
void ExpectWhatTheBatchDoes(const std::string& path, const std::string& bytes, Format format) {
  SCOPED_TRACE(path + " " + std::to_string(static_cast<int>(format)));
  const Result result = ConvertText(path, bytes, format);
  ConversionRequest request;
  request.input = path;
  request.format = static_cast<OutputFormat>(format);
  const ConversionResult file = ConvertFile(request);
  EXPECT_EQ(static_cast<int>(file.status), static_cast<int>(result.status));
  EXPECT_EQ(file.records, result.records);
  EXPECT_EQ(file.kind != nullptr ? file.kind->label : std::string_view(), result.kind);
  ASSERT_EQ(file.messages.size(), result.messages.size());
  for (std::size_t i = 0; i < file.messages.size(); ++i) {
    EXPECT_EQ(file.messages[i].subject, result.messages[i].subject);
    EXPECT_EQ(file.messages[i].text, result.messages[i].text);
    EXPECT_EQ(file.messages[i].about == ConversionMessage::About::Output,
              result.messages[i].about == Message::About::Output);
  }
  EXPECT_EQ(file.saved, !result.output.empty());
  if (file.saved) {
    EXPECT_EQ(ReadFile(file.output), result.output);
  }
  // The batch shows no console dump (extra.dat's); the reports come after it.
  EXPECT_TRUE(result.console.ends_with(file.reports));
  if (result.kind != "extra.dat") {
    EXPECT_EQ(result.console, file.reports);
  }
}

TEST(Api, ExamplesInEveryFormatAreWhatTheProgramsWrite) {
  TempDir dir;
  std::vector<std::pair<std::string, std::string>> inputs;  // name, bytes
  for (const testing::ExampleFile& example : testing::ExampleFiles()) {
    const std::string bytes = Text(example.make());
    dir.Write(std::string("in/") + example.name, std::string_view(bytes));
    inputs.emplace_back(example.name, bytes);
  }
  for (const auto& [name, bytes] : inputs) {
    ExpectWhatKegverterDoes(dir.Write(name, std::string_view(bytes)), bytes);
  }
  // kegverter-batch writes the other formats.
  for (const auto& [format, to] :
       {std::pair{Format::BeerJson, "beerjson"}, std::pair{Format::BeerXml1, "beerxml1"}}) {
    SCOPED_TRACE(to);
    const std::string out = dir.Path(std::string("out-") + to);
    const testing::RunResult run =
        testing::RunBatchExecutable({"-q", "--to", to, "-o", out, dir.Path("in")});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    for (const auto& [name, bytes] : inputs) {
      SCOPED_TRACE(name);
      const Result result = ConvertText(name, bytes, format);
      EXPECT_EQ(result.status, Status::Written);
      EXPECT_TRUE(result.messages.empty());
      EXPECT_EQ(ReadFile(out + "/" + OutputName(name, format)), result.output);
    }
  }
}

TEST(Api, DamagedEmptyAndUnknownInputsSayWhatTheProgramsSay) {
  TempDir dir;
  std::vector<std::pair<std::string, std::string>> cases;  // path, bytes
  const auto add = [&](const std::string& name, const std::string& bytes) {
    cases.emplace_back(dir.Write(name, std::string_view(bytes)), bytes);
  };
  const std::string recipe = Text(testing::RecipeExample());
  const std::string hops = Text(testing::MakeHopsExample());
  add("Empty.rec", "");
  add("notes.txt", "some text");
  add("Session.brw", std::string(200, 'x'));
  add("other.dat", hops);
  add("Short.rec", recipe.substr(0, recipe.size() / 3));
  add("Cut/hops.dat", hops.substr(0, hops.size() - 100));
  add("None/hops.dat", std::string("\0\0\0\0", 4) + hops.substr(4));
  add("Many/HOPS.DAT", std::string("\x40\0\0\0", 4) + hops.substr(4));
  add("Nothing/yeast.dat", std::string("\x05\0\0\0\x01\x02", 6));
  add("Garbage.rec", std::string(recipe.size(), '\xFF'));
  add("extra.dat", Text(testing::MakeExtraExample()));
  if (!testing::kWindows) add("Blanks.msh \t", Text(testing::MashScheduleExample()));
  for (const testing::DamagedExample& damaged : testing::WriteDamagedExamples(dir, 20, 2)) {
    cases.emplace_back(damaged.path, ReadFile(damaged.path));
  }
  for (const auto& [path, bytes] : cases) {
    ExpectWhatKegverterDoes(path, bytes);
    for (Format format : {Format::BeerJson, Format::BeerXml1}) {
      ExpectWhatTheBatchDoes(path, bytes, format);
    }
  }
}

TEST(Api, KindRecordsMessagesAndNames) {
  const std::string hops = Text(testing::MakeHopsExample());
  const Result result = ConvertText("Library/Hops.Dat", hops, Format::BeerJson);
  EXPECT_EQ(result.status, Status::Written);
  EXPECT_EQ(result.kind, "hops.dat");
  std::int32_t count = 0;
  std::memcpy(&count, hops.data(), sizeof count);  // little-endian, as the tests run
  EXPECT_EQ(result.records, count);
  EXPECT_TRUE(result.messages.empty());
  EXPECT_TRUE(result.console.empty());

  const Result cut = ConvertText("hops.dat", hops.substr(0, hops.size() - 1), Format::BeerXml1);
  EXPECT_EQ(cut.status, Status::Written);
  EXPECT_EQ(cut.records, result.records - 1);
  ASSERT_EQ(cut.messages.size(), 1u);
  EXPECT_EQ(cut.messages[0].about, Message::About::Input);
  EXPECT_EQ(cut.messages[0].subject, "hops.dat");

  const Result unknown = ConvertText("hops.txt  ", hops, Format::BeerXml2);
  EXPECT_EQ(unknown.status, Status::NotConverted);
  EXPECT_TRUE(unknown.kind.empty());
  EXPECT_TRUE(unknown.output.empty());
  ASSERT_EQ(unknown.messages.size(), 1u);
  EXPECT_EQ(unknown.messages[0].subject, "hops.txt");

  const Result session = ConvertText("a.brw", "x", Format::BeerXml2);
  EXPECT_EQ(session.status, Status::NotConverted);
  EXPECT_EQ(session.kind, "brw");

  EXPECT_EQ(OutputName("Pale Ale.rec"), "Pale Ale.xml");
  EXPECT_EQ(OutputName("dir/Pale Ale.rec \n", Format::BeerJson), "dir/Pale Ale.json");
  EXPECT_EQ(OutputName("hops.dat", Format::BeerXml1), "hops.xml");
  EXPECT_EQ(OutputName("a.b"), "");
}

// A failure of the document layer (simulated through its seam) leaves a document written
// incomplete, which the program saves and says so, and the report on the console; without a
// document at all there is no output.
TEST(Api, DocumentFailuresAreReportedAsTheProgramReportsThem) {
  TempDir dir;
  const std::string recipe = Text(testing::RecipeExample());
  const std::string path = dir.Write("Pale Ale.rec", recipe);
  for (const testing::DomFaults& faults :
       {testing::DomFaults{.fail_operation = 3, .code = 0x80040203},
        testing::DomFaults{.unavailable = true}}) {
    SCOPED_TRACE(faults.unavailable);
    const testing::SimulatedDocumentFaults simulated(faults);
    const Result result = ConvertText(path, recipe, Format::BeerXml2);
    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_EQ(result.records, 1);
    ASSERT_FALSE(result.messages.empty());
    EXPECT_EQ(result.messages.back().about, Message::About::Output);
    EXPECT_EQ(result.messages.back().subject, OutputName(path));
    if (faults.unavailable) {
      EXPECT_TRUE(result.output.empty());
      EXPECT_EQ(result.messages.back().text, "not written: the XML document could not be built");
    } else {
      EXPECT_FALSE(result.output.empty());
      EXPECT_EQ(result.console, FormatErrorReport(DocumentError(0x80040203)));
      EXPECT_EQ(result.messages.back().text, "written incomplete: 1 document failure(s) reported");
    }
    ConversionRequest request;
    request.input = path;
    const ConversionResult file = ConvertFile(request);
    EXPECT_EQ(file.saved, !result.output.empty());
    EXPECT_EQ(file.reports, result.console);
    if (file.saved) {
      EXPECT_EQ(ReadFile(file.output), result.output);
    }
  }
}

// The name is only a name: no file is looked at, and a folder that does not exist is no matter.
TEST(Api, TheNameIsNotOpened) {
  const std::string recipe = Text(testing::RecipeExample());
  for (Format format : kFormats) {
    const Result here = ConvertText("Pale Ale.rec", recipe, format);
    const Result nowhere = ConvertText("/no/such/folder/Pale Ale.rec", recipe, format);
    EXPECT_EQ(here.status, Status::Written);
    EXPECT_EQ(nowhere.status, Status::Written);
    EXPECT_EQ(here.output, nowhere.output);
  }
}

// The README's example program converts as the library does, and says what it says.
TEST(Api, TheReadmeExampleProgram) {
  TempDir dir;
  const std::string hops = Text(testing::MakeHopsExample());
  const std::string path = dir.Write("hops.dat", std::string_view(hops));
  const testing::RunResult run = testing::RunProgram(KEGVERTER_LIBRARY_EXAMPLE_EXE, {path});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, ConvertText(path, hops, Format::BeerJson).output);
  EXPECT_EQ(run.err, "");

  const std::string empty = dir.Write("Empty.rec", std::string_view());
  const testing::RunResult refused = testing::RunProgram(KEGVERTER_LIBRARY_EXAMPLE_EXE, {empty});
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, empty + ": the file is empty\n");
}

// Conversions share nothing: on several threads at once they give what they give one by one.
TEST(Api, ConversionsOnSeveralThreadsAtOnceAgree) {
  std::vector<std::pair<std::string, std::string>> inputs;
  for (const testing::ExampleFile& example : testing::ExampleFiles()) {
    inputs.emplace_back(example.name, Text(example.make()));
  }
  std::vector<Result> alone;
  for (const auto& [name, bytes] : inputs) {
    for (Format format : kFormats) alone.push_back(ConvertText(name, bytes, format));
  }
  constexpr int kThreads = 4;
  std::vector<std::vector<Result>> together(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 3; ++round) {
        together[t].clear();
        for (const auto& [name, bytes] : inputs) {
          for (Format format : kFormats) together[t].push_back(ConvertText(name, bytes, format));
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::vector<Result>& results : together) {
    ASSERT_EQ(results.size(), alone.size());
    for (std::size_t i = 0; i < results.size(); ++i) {
      EXPECT_EQ(results[i].output, alone[i].output);
      EXPECT_EQ(results[i].console, alone[i].console);
      EXPECT_EQ(results[i].status, alone[i].status);
    }
  }
}

// A combination of the examples is, byte for byte, what kegverter-batch --combine writes for
// them, given in the batch's walk order; what is not converted is said and left out.
TEST(Api, CombinationIsWhatTheBatchCombines) {
  TempDir dir;
  std::vector<std::pair<std::string, std::string>> inputs;  // name, bytes
  for (const testing::ExampleFile& example : testing::ExampleFiles()) {
    inputs.emplace_back(example.name, Text(example.make()));
    dir.Write(std::string("in/") + example.name, std::string_view(inputs.back().second));
  }
  std::sort(inputs.begin(), inputs.end());  // the batch walks a folder in name order
  const std::string combined = dir.Path("all.json");
  const testing::RunResult run =
      testing::RunBatchExecutable({"-q", "-j", "1", "--combine", combined, dir.Path("in")});
  ASSERT_EQ(run.exit_code, 0) << run.err;

  ASSERT_TRUE(HoldsWholeRun(Format::BeerJson));
  Combination all(Format::BeerJson);
  for (const auto& [name, bytes] : inputs) {
    const Result added = all.Add(name, std::as_bytes(std::span(bytes.data(), bytes.size())));
    EXPECT_EQ(added.status, Status::Written) << name;
    EXPECT_TRUE(added.output.empty());
    EXPECT_GT(added.records, 0);
  }
  const Result unknown = all.Add("notes.txt", {});
  EXPECT_EQ(unknown.status, Status::NotConverted);
  ASSERT_EQ(unknown.messages.size(), 1u);
  const Result whole = all.Finish();
  ASSERT_EQ(whole.status, Status::Written);
  EXPECT_EQ(whole.output, ReadFile(combined));

  // A BeerXML document holds one list: nothing is added, and there is no document.
  for (const Format format : {Format::BeerXml2, Format::BeerXml1}) {
    EXPECT_FALSE(HoldsWholeRun(format));
    Combination none(format);
    const auto& [name, bytes] = inputs.front();
    EXPECT_EQ(none.Add(name, std::as_bytes(std::span(bytes.data(), bytes.size()))).status,
              Status::NotConverted);
    const Result nothing = none.Finish();
    EXPECT_EQ(nothing.status, Status::Failed);
    EXPECT_TRUE(nothing.output.empty());
    EXPECT_EQ(nothing.messages.size(), 1u);
  }
}

}  // namespace
}  // namespace kegverter
