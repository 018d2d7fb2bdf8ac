// The bundled examples: each committed file is what its maker in the fixture builder writes, and
// converts to exactly the committed golden outputs, compared whole, in every output format:
//   tests/golden/NAME.xml           BeerXML 2.01, as kegverter writes it
//   tests/golden/NAME.stdout        kegverter's console text (nothing goes to standard error)
//   tests/golden/NAME.json          BeerJSON, as kegverter-batch --to beerjson writes it
//   tests/golden/NAME.beerxml1.xml  BeerXML 1.0, as kegverter-batch --to beerxml1 writes it
// After a deliberate change of an output, `bash scripts/update-golden.sh` writes them all again
// (it runs these tests with KEGVERTER_UPDATE_GOLDEN=1, which writes what they would compare);
// the change then shows in `git diff tests/golden`.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

#include "tests/examples.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::ExampleFile;
using testing::ReadFile;
using testing::TempDir;

std::string SourcePath(const std::string& relative) {
  return std::string(KEGVERTER_SOURCE_DIR) + "/" + relative;
}

bool Updating() {
  const char* update = std::getenv("KEGVERTER_UPDATE_GOLDEN");
  return update != nullptr && *update != '\0' && std::string_view(update) != "0";
}

// Compares `actual` whole with the golden file `name`, or writes it there when updating.
void ExpectGolden(const std::string& actual, const std::string& name) {
  const std::string path = SourcePath("tests/golden/" + name);
  if (Updating()) {
    std::ofstream out(testing::PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out << actual;
    EXPECT_TRUE(out.flush()) << "cannot write " << path;
    return;
  }
  EXPECT_EQ(actual, ReadFile(path))
      << name << " changed; after a deliberate change: bash scripts/update-golden.sh";
}

// Each golden file's name: the example's name with the format's suffix.
struct GoldenFormat {
  const char* batch_name;  ///< kegverter-batch --to
  const char* extension;   ///< of the batch's output, without the dot
  const char* suffix;      ///< of the golden file after the example's name
};
constexpr GoldenFormat kBatchFormats[] = {
    {"beerjson", "json", ".json"},
    {"beerxml1", "xml", ".beerxml1.xml"},
};

TEST(Examples, CommittedFilesAreWhatTheirMakersWrite) {
  ASSERT_EQ(testing::ExampleFiles().size(), 9u);
  for (const ExampleFile& example : testing::ExampleFiles()) {
    const Bytes bytes = example.make();
    EXPECT_EQ(ReadFile(SourcePath(std::string("examples/") + example.name)),
              std::string(bytes.data().begin(), bytes.data().end()))
        << example.name << ": regenerate with build/tests/make_examples examples";
  }
}

TEST(Examples, ConvertToTheGoldenBeerXml2AndConsoleText) {
  for (const ExampleFile& example : testing::ExampleFiles()) {
    const std::string name = example.name;
    SCOPED_TRACE(name);
    TempDir dir;
    const std::string input = dir.Write(name, example.make());
    const testing::RunResult run = testing::Convert(input);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, "");
    ExpectGolden(run.out, name + ".stdout");
    ExpectGolden(ReadFile(input.substr(0, input.size() - 3) + "xml"), name + ".xml");
  }
}

TEST(Examples, BatchConvertsThemToTheGoldenBeerJsonAndBeerXml1) {
  TempDir dir;
  for (const ExampleFile& example : testing::ExampleFiles()) {
    dir.Write(std::string("examples/") + example.name, example.make());
  }
  for (const GoldenFormat& format : kBatchFormats) {
    SCOPED_TRACE(format.batch_name);
    const std::string out = dir.Path(format.batch_name);
    const testing::RunResult run = testing::RunBatchExecutable(
        {"-q", "--to", format.batch_name, "-o", out, dir.Path("examples")});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::size_t outputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testing::PathFromUtf8(out))) {
      outputs += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(outputs, testing::ExampleFiles().size());
    for (const ExampleFile& example : testing::ExampleFiles()) {
      const std::string name = example.name;
      const std::string output = out + "/" + name.substr(0, name.size() - 3) + format.extension;
      ExpectGolden(ReadFile(output), name + format.suffix);
    }
  }
}

// Every golden file belongs to an example and a format: none is left over from one removed.
TEST(Examples, GoldenFolderHoldsExactlyTheGoldenFiles) {
  std::set<std::string> expected;
  for (const ExampleFile& example : testing::ExampleFiles()) {
    const std::string name = example.name;
    expected.insert({name + ".xml", name + ".stdout"});
    for (const GoldenFormat& format : kBatchFormats) expected.insert(name + format.suffix);
  }
  std::set<std::string> present;
  for (const auto& entry :
       std::filesystem::directory_iterator(testing::PathFromUtf8(SourcePath("tests/golden")))) {
    present.insert(testing::Utf8FromPath(entry.path().filename()));
  }
  EXPECT_EQ(present, expected);
}

}  // namespace
}  // namespace kegverter
