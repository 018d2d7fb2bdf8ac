// The program's command line (driver/driver): the usage text and the files it refuses, each with
// one line on standard error.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/registry.h"
#include "tests/fixture.h"
#include "tests/records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::Bytes;
using testing::Convert;
using testing::Database;
using testing::RunExecutable;
using testing::TempDir;

TEST(CommandLine, UsageForAnythingButOneArgumentOfFiveCharacters) {
  const std::string usage = "\nusage:\tKegverter \"Name of recipe file.rec\"\n\n";
  for (const auto& args : std::vector<std::vector<std::string>>{{}, {"a.rec", "b.rec"}, {"b.rc"}}) {
    const auto r = RunExecutable(args);
    EXPECT_EQ(r.exit_code, 255);
    EXPECT_EQ(r.out, usage);
    EXPECT_EQ(r.err, "");
  }
}

TEST(CommandLine, FilesThatAreNotConvertedExitOneWithAReason) {
  TempDir dir;
  struct Case {
    std::string name;
    Bytes content;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"missing.rec", Bytes(), "cannot open"},
      {"notes.dat", Database(2, {Bytes(10)}), "not a file Kegverter converts"},
      {"recipe.txt", Bytes(10), "not a file Kegverter converts"},
      {"session.brw", Bytes(10), "brew session files are not converted"},
      {"empty.rec", Bytes(), "the file is empty"},
      {"hops.dat", Database(0, {file::ToBytes(file::Hop{})}),
       "holds no records (its header counts 0)"},
      {"malt.dat", Database(-1, {file::ToBytes(file::Malt{})}),
       "holds no records (its header counts -1)"},
      // A yeast record one byte short.
      {"yeast.dat", Database(2, {file::ToBytes(file::Yeast{}).Prefix(file::kYeastSize - 1)}),
       "holds no complete record"},
      {"extra.dat", Bytes().Raw(0, "\x01"), "holds no complete record"},
  };
  for (const Case& c : cases) {
    const std::string path =
        c.name == "missing.rec" ? dir.Path(c.name) : dir.Write(c.name, c.content);
    const auto r = Convert(path);
    EXPECT_EQ(r.exit_code, 1) << c.name;
    EXPECT_EQ(r.out, "") << c.name;
    EXPECT_EQ(r.err.rfind("kegverter: " + path + ": ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_FALSE(std::filesystem::exists(OutputPath(path))) << c.name;
  }
}

}  // namespace
}  // namespace kegverter
