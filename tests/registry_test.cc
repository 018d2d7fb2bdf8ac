// The registry of file kinds (driver/registry): output paths, and the row a file name and its
// count header select.
#include <gtest/gtest.h>

#include <string>

#include "driver/registry.h"
#include "source/input_file.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::Database;
using testing::TempDir;

FileKind KindOf(const KindInfo* kind) { return kind != nullptr ? kind->kind : FileKind::None; }

FileKind Detect(const TempDir& dir, const std::string& name, const Bytes& content,
                std::int32_t& count) {
  std::string error;
  auto input = InputFile::Open(dir.Write(name, content), error);
  EXPECT_TRUE(input) << error;
  count = 0;
  return KindOf(
      DetectKind(*input, TrimPath(dir.Path(name)).substr(dir.path().string().size() + 1), count));
}

TEST(Paths, TrimAndOutputPath) {
  EXPECT_EQ(TrimPath("pale.rec \t\r\n "), "pale.rec");
  EXPECT_EQ(TrimPath("  pale.rec"), "  pale.rec");
  EXPECT_EQ(OutputPath("C:\\brew\\Pale Ale.rec"), "C:\\brew\\Pale Ale.xml");
  EXPECT_EQ(OutputPath("hops.dat"), "hops.xml");
  EXPECT_EQ(OutputPath("a.rec"), "a.xml");
  EXPECT_EQ(OutputPath("abc"), "");
  // Built by appending: g++ 12 misreports `std::string(n, c) + "..."` as out of bounds.
  std::string long_path(2000, 'd');
  std::string long_output = long_path;
  long_path += "/x.rec";
  long_output += "/x.xml";
  EXPECT_EQ(OutputPath(long_path), long_output);
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

}  // namespace
}  // namespace kegverter
