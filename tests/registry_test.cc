// The registry of file kinds (driver/registry): output paths, and the row a file name and its
// count header select.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver/registry.h"
#include "fuzz/fuzz_kinds.h"
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

// The fuzzer's kinds: every converted row, each reachable by a kind byte, its label and its
// sample name; the kind bytes of the rows there today are those the existing corpora hold.
TEST(FuzzKinds, EveryConvertedKindIsFuzzed) {
  std::vector<std::string> converted;
  for (const KindInfo& row : Kinds()) {
    if (!row.converted()) continue;
    converted.emplace_back(row.label);
    const std::optional<std::size_t> kind = fuzz::KindOfLabel(row.label);
    ASSERT_TRUE(kind.has_value()) << row.label;
    EXPECT_EQ(fuzz::FuzzKinds()[*kind], &row);
    EXPECT_EQ(fuzz::KindOfFileName(row.sample_name), kind) << row.label;
    EXPECT_EQ(fuzz::KindIndex(static_cast<std::uint8_t>(*kind)), *kind) << row.label;
  }
  ASSERT_EQ(fuzz::FuzzKinds().size(), converted.size());
  EXPECT_FALSE(fuzz::KindOfLabel("brw").has_value());
  EXPECT_FALSE(fuzz::KindOfFileName("session.brw").has_value());

  const std::vector<std::string> today = {"extra.dat",  "hops.dat",  "malt.dat",
                                          "styles.dat", "water.dat", "yeast.dat",
                                          "wtr",        "msh",       "rec"};
  for (std::size_t byte = 0; byte < today.size(); ++byte) {
    EXPECT_EQ(fuzz::FuzzKinds()[fuzz::KindIndex(static_cast<std::uint8_t>(byte))]->label,
              today[byte]);
  }
}

// A converted row added at the end, after a row that is only recognised, is fuzzed too, and the
// rows before it keep their kinds.
TEST(FuzzKinds, ARowAfterOneThatIsNotConvertedIsFuzzed) {
  const KindInfo* recognised_only = FindKindByLabel("brw");
  ASSERT_NE(recognised_only, nullptr);
  ASSERT_FALSE(recognised_only->converted());
  std::vector<KindInfo> rows(Kinds().begin(), Kinds().end());
  KindInfo added = *FindKindByLabel("rec");
  added.label = "new";
  rows.push_back(added);
  const std::vector<const KindInfo*> kinds = fuzz::ConvertedRows(rows);
  ASSERT_EQ(kinds.size(), fuzz::FuzzKinds().size() + 1);
  for (std::size_t i = 0; i < fuzz::FuzzKinds().size(); ++i) {
    EXPECT_EQ(kinds[i]->label, fuzz::FuzzKinds()[i]->label);
  }
  EXPECT_EQ(kinds.back()->label, "new");
}

}  // namespace
}  // namespace kegverter
