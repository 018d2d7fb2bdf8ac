// malt.dat end to end: the records, read by source/malt and written by beerxml2/malt_writer as a
// fermentables list.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "source/malt.h"
#include "tests/fixture.h"
#include "tests/kind_suite.h"
#include "tests/records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::ChildNames;
using testing::ConvertDatabase;
using testing::ConvertedItems;
using testing::ConvertQuietly;
using testing::IsEmptyElement;
using testing::TempDir;
using testing::TextAt;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A record with every field distinct, so that a misplaced one shows.
file::Malt PaleAleMalt() {
  return {.name = "Pale Ale Malt",
          .supplier = "Maltings Ltd",
          .origin = "England",
          .type = 1,
          .recommend_mash = 1,
          .potential = 1.037f,
          .color = 3.5f,
          .moisture = 4.3f,
          .max_in_batch = 100,
          .diastatic_power = 140,
          .protein = 9.7f,
          .spare_percentage = 55,
          .spare_text = "SPARE-TEXT",
          .notes = "Base malt for bitters",
          .inventory = 55.5f,
          .fine_grind_yield = 80,
          .coarse_grind_yield = 78.5f};
}

TEST(MaltDat, WritesOneFermentablePerRecordWithEveryFieldInPlace) {
  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(ConvertQuietly("malt.dat", file::DatabaseOf(std::vector{PaleAleMalt()}),
                                         "fermentables", "fermentable", 1, converted));
  const auto& items = converted.items;
  const pugi::xml_node f = items[0];
  EXPECT_EQ(ChildNames(f), (std::vector<std::string>{
                               "name", "type", "color", "origin", "supplier", "yield", "notes",
                               "coarse_fine_diff", "moisture", "diastatic_power", "protein",
                               "max_in_batch", "recommend_mash", "potential", "inventory"}));
  EXPECT_EQ(TextAt(f, "name"), "Pale Ale Malt");
  EXPECT_EQ(TextAt(f, "type"), "grain");
  EXPECT_EQ(TextAt(f, "color"), "3.5");
  EXPECT_STREQ(f.child("color").attribute("scale").value(), "L");
  EXPECT_EQ(TextAt(f, "origin"), "England");
  EXPECT_EQ(TextAt(f, "supplier"), "Maltings Ltd");
  EXPECT_EQ(TextAt(f, "yield"), "80.0");
  EXPECT_EQ(TextAt(f, "notes"), "Base malt for bitters");
  EXPECT_EQ(TextAt(f, "coarse_fine_diff"), "1.5");
  EXPECT_EQ(TextAt(f, "moisture"), "4.3");
  EXPECT_EQ(TextAt(f, "diastatic_power"), "140.0");
  EXPECT_EQ(TextAt(f, "protein"), "9.7");
  EXPECT_EQ(TextAt(f, "max_in_batch"), "100.0");
  EXPECT_EQ(TextAt(f, "recommend_mash"), "true");
  EXPECT_EQ(TextAt(f, "potential"), "1.0370");
  EXPECT_STREQ(f.child("potential").attribute("density").value(), "sg");
  EXPECT_EQ(TextAt(f, "inventory"), "55.5");
  EXPECT_STREQ(f.child("inventory").attribute("mass").value(), "lb");
  // The spare fields are read but never written.
  const std::string output = testing::ReadFile(converted.dir.Path("malt.xml"));
  EXPECT_EQ(output.find("SPARE-TEXT"), std::string::npos);
  EXPECT_EQ(output.find("55.0"), std::string::npos);
}

TEST(MaltDat, TypeWordsAndRecommendMash) {
  const std::uint8_t types[] = {0, 1, 2, 3, 4, 5, 255};
  const char* words[] = {nullptr, "grain", "extract", "sugar", "adjunct", nullptr, nullptr};
  const std::uint8_t mash[] = {0, 1, 2, 1, 0, 255, 1};
  const char* mash_words[] = {"false", "true", "false", "true", "false", "false", "true"};
  std::vector<file::Malt> records;
  for (std::size_t i = 0; i < std::size(types); ++i) {
    file::Malt m = PaleAleMalt();
    m.type = types[i];
    m.recommend_mash = mash[i];
    records.push_back(m);
  }
  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(ConvertDatabase("malt.dat", records, "fermentable", converted));
  const auto& items = converted.items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE("type " + std::to_string(types[i]));
    if (words[i] != nullptr) {
      EXPECT_EQ(TextAt(items[i], "type"), words[i]);
    } else {
      EXPECT_TRUE(IsEmptyElement(items[i].child("type")));
    }
    EXPECT_EQ(TextAt(items[i], "recommend_mash"), mash_words[i]);
  }
}

TEST(MaltDat, RangeBoundsAreInclusiveAndOutOfRangeValuesBecomeZero) {
  file::Malt edges = PaleAleMalt();  // every value on a bound: unchanged
  edges.fine_grind_yield = -11;
  edges.coarse_grind_yield = 110;
  edges.color = 2550;
  edges.potential = 11;
  edges.moisture = 0;
  edges.max_in_batch = 110;
  edges.diastatic_power = 550;
  edges.protein = 110;
  edges.inventory = 100000;
  file::Malt over = PaleAleMalt();  // every tested value just past a bound
  over.fine_grind_yield = 110.5f;
  over.coarse_grind_yield = -11.5f;
  over.color = 2550.5f;
  over.potential = 11.5f;
  over.moisture = -0.5f;
  over.max_in_batch = 110.5f;
  over.diastatic_power = 550.5f;
  over.protein = kNaN;
  over.spare_percentage = 111;
  over.inventory = -1;
  TempDir dir;
  const std::string path = dir.Write("malt.dat", file::DatabaseOf(std::vector{edges, over}));
  std::string error;
  auto input = InputFile::Open(path, error);
  ASSERT_TRUE(input);
  input->Skip(4);
  std::vector<MaltRecord> read(2);
  EXPECT_EQ(ReadMaltRecords(*input, std::span<MaltRecord>(read)), 1);
  EXPECT_TRUE(read[0].field_errors.empty());
  EXPECT_EQ(read[1].field_errors,
            (std::vector<std::int32_t>{0, 0, 0, 0, 0, 2, 2, 1, 2, 2, 2, 2, 0, 0, 1, 2, 1}));
  EXPECT_EQ(read[1].spare_percentage, 0.0f);

  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(
      ConvertDatabase("malt.dat", std::vector{edges, over}, "fermentable", converted));
  const auto& items = converted.items;
  EXPECT_EQ(TextAt(items[0], "yield"), "-11.0");
  EXPECT_EQ(TextAt(items[0], "coarse_fine_diff"), "-121.0");
  EXPECT_EQ(TextAt(items[0], "color"), "2550.0");
  EXPECT_EQ(TextAt(items[0], "potential"), "11.0000");
  EXPECT_EQ(TextAt(items[0], "inventory"), "100000.0");
  for (const char* element : {"yield", "coarse_fine_diff", "color", "moisture", "max_in_batch",
                              "diastatic_power", "protein", "inventory"}) {
    EXPECT_EQ(TextAt(items[1], element), "0.0") << element;
  }
  EXPECT_EQ(TextAt(items[1], "potential"), "0.0000");
}

}  // namespace
}  // namespace kegverter
