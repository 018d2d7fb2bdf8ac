// The bundled examples: each committed file is what its maker in the fixture builder writes, and
// converts to exactly the committed golden output and console text (tests/golden/NAME.xml and
// NAME.stdout), with nothing on standard error.
#include <gtest/gtest.h>

#include <string>

#include "tests/examples.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::ExampleFile;
using testing::ReadFile;
using testing::TempDir;

std::string SourceFile(const std::string& relative) {
  return ReadFile(std::string(KEGVERTER_SOURCE_DIR) + "/" + relative);
}

TEST(Examples, CommittedFilesConvertToTheGoldenOutputs) {
  ASSERT_EQ(testing::ExampleFiles().size(), 9u);
  for (const ExampleFile& example : testing::ExampleFiles()) {
    const std::string name = example.name;
    SCOPED_TRACE(name);
    const Bytes bytes = example.make();
    const std::string committed = SourceFile("examples/" + name);
    ASSERT_EQ(committed, std::string(bytes.data().begin(), bytes.data().end()))
        << "regenerate with build/tests/make_examples examples";

    TempDir dir;
    const std::string input = dir.Write(name, bytes);
    const testing::RunResult run = testing::Convert(input);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, SourceFile("tests/golden/" + name + ".stdout"));
    const std::string output = input.substr(0, input.size() - 3) + "xml";
    EXPECT_EQ(ReadFile(output), SourceFile("tests/golden/" + name + ".xml"))
        << "the output of " << name << " changed";
  }
}

}  // namespace
}  // namespace kegverter
