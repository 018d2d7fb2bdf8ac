#include <gtest/gtest.h>

#include "driver/driver.h"
#include "driver/registry.h"
#include "source/input_file.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::Convert;
using testing::RunExecutable;
using testing::Database;
using testing::TempDir;

FileKind KindOf(const KindInfo* kind) { return kind != nullptr ? kind->kind : FileKind::None; }

FileKind Detect(const TempDir& dir, const std::string& name, const Bytes& content,
                std::int32_t& count) {
  std::string error;
  auto input = InputFile::Open(dir.Write(name, content), error);
  EXPECT_TRUE(input) << error;
  count = 0;
  return KindOf(DetectKind(*input, TrimPath(dir.Path(name)).substr(dir.path().string().size() + 1), count));
}

TEST(Paths, TrimAndOutputPath) {
  EXPECT_EQ(TrimPath("pale.rec \t\r\n "), "pale.rec");
  EXPECT_EQ(TrimPath("  pale.rec"), "  pale.rec");
  EXPECT_EQ(OutputPath("C:\\brew\\Pale Ale.rec"), "C:\\brew\\Pale Ale.xml");
  EXPECT_EQ(OutputPath("hops.dat"), "hops.xml");
  EXPECT_EQ(OutputPath("a.rec"), "a.xml");
  EXPECT_EQ(OutputPath("abc"), "");
  const std::string long_path = std::string(2000, 'd') + "/x.rec";
  EXPECT_EQ(OutputPath(long_path), std::string(2000, 'd') + "/x.xml");
}

TEST(Detection, DatabasesByTheirOwnNameInAnyCase) {
  TempDir dir;
  std::int32_t count = 0;
  const Bytes header = Database(3, {});
  EXPECT_EQ(Detect(dir, "extra.dat", header, count), FileKind::ExtraDat);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(Detect(dir, "HOPS.DAT", header, count), FileKind::HopsDat);
  EXPECT_EQ(Detect(dir, "Malt.Dat", header, count), FileKind::MaltDat);
  EXPECT_EQ(Detect(dir, "styles.dAt", header, count), FileKind::StylesDat);
  EXPECT_EQ(Detect(dir, "water.dat", header, count), FileKind::WaterFile);
  EXPECT_EQ(Detect(dir, "yeast.dat", header, count), FileKind::YeastDat);
  // A folder in front of the name does not hide the database.
  EXPECT_EQ(Detect(dir, "data/hops.dat", header, count), FileKind::HopsDat);
  EXPECT_EQ(Detect(dir, "notes.dat", header, count), FileKind::None);
  EXPECT_EQ(count, 3);  // the header of any '.dat' is read
  EXPECT_EQ(Detect(dir, "xhops.dat", header, count), FileKind::None);
}

TEST(Detection, SingleRecordFilesByExtension) {
  TempDir dir;
  std::int32_t count = 0;
  const Bytes some(8);
  EXPECT_EQ(Detect(dir, "profile.WTR", some, count), FileKind::WaterFile);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(Detect(dir, "step.Msh", some, count), FileKind::MshFile);
  EXPECT_EQ(Detect(dir, "Pale Ale.rec", some, count), FileKind::RecFile);
  EXPECT_EQ(Detect(dir, "session.brw", some, count), FileKind::BrwFile);
  count = 7;
  std::string error;
  auto input = InputFile::Open(dir.Write("other.txt", some), error);
  EXPECT_EQ(DetectKind(*input, "other.txt", count), nullptr);
  EXPECT_EQ(count, 7);  // untouched
  EXPECT_EQ(DetectKind(*input, "arec", count), nullptr);
  EXPECT_EQ(input->position(), 0u);
}

TEST(Detection, ShortHeaderCountsMissingBytesAsZero) {
  TempDir dir;
  std::int32_t count = 0;
  EXPECT_EQ(Detect(dir, "hops.dat", Bytes().Raw(0, "\x05\x01"), count), FileKind::HopsDat);
  EXPECT_EQ(count, 0x105);
}

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
      {"hops.dat", Database(0, {Bytes(614)}), "holds no records (its header counts 0)"},
      {"malt.dat", Database(-1, {Bytes(521)}), "holds no records (its header counts -1)"},
      {"yeast.dat", Database(2, {Bytes(467)}), "holds no complete record"},
      {"extra.dat", Bytes().Raw(0, "\x01"), "holds no complete record"},
  };
  for (const Case& c : cases) {
    const std::string path = c.name == "missing.rec" ? dir.Path(c.name) : dir.Write(c.name, c.content);
    const auto r = Convert(path);
    EXPECT_EQ(r.exit_code, 1) << c.name;
    EXPECT_EQ(r.out, "") << c.name;
    EXPECT_EQ(r.err.rfind("kegverter: " + path + ": ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_FALSE(std::filesystem::exists(OutputPath(path))) << c.name;
  }
}

TEST(CommandLine, DirectoryAsInput) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path("folder.rec"));
  const auto r = Convert(dir.Path("folder.rec"));
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("is a directory"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kegverter
