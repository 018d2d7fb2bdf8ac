// water.dat and '.wtr' files end to end: the profiles as source/water reads them and the profiles
// list beerxml2/water_writer makes of them. A recipe reads its water and yeast records in place.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "source/water.h"
#include "source/yeast.h"
#include "tests/fixture.h"
#include "tests/kind_suite.h"
#include "tests/records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::Bytes;
using testing::ChildNames;
using testing::ConvertDatabase;
using testing::ConvertedItems;
using testing::ConvertQuietly;
using testing::IsEmptyElement;
using testing::LondonAle;
using testing::TempDir;
using testing::TextAt;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A profile with every field set, the unread bytes after sodium too.
file::Water Burton() {
  return {"Burton", 268, 62, 30, 999, 638, 36, 141, 7.5f, "Hard, sulfate-rich water"};
}

TEST(WaterDat, WritesEveryProfileInElementOrderSkippingTheUnusedField) {
  file::Water second = Burton();
  second.name = "Pilsen";
  second.calcium = 7;
  second.magnesium = 2;
  second.sodium = 2;
  second.sulfate = 5;
  second.chloride = 5;
  second.bicarbonate = 15;
  second.ph = 7;
  second.notes = "";
  file::Water third = Burton();
  third.name = "Dublin";
  const Bytes bytes = file::DatabaseOf(std::vector{Burton(), second, third});
  ASSERT_EQ(bytes.size(), 4u + 3 * 222);
  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(ConvertQuietly("water.dat", bytes, "profiles", "water", 3, converted));
  const auto& items = converted.items;
  EXPECT_EQ(ChildNames(items[0]),
            (std::vector<std::string>{"name", "calcium", "bicarbonate", "sulfate", "chloride",
                                      "sodium", "magnesium", "pH", "notes"}));
  EXPECT_EQ(TextAt(items[0], "name"), "Burton");
  EXPECT_EQ(TextAt(items[0], "calcium"), "268.0");
  EXPECT_EQ(TextAt(items[0], "bicarbonate"), "141.0");
  EXPECT_EQ(TextAt(items[0], "sulfate"), "638.0");
  EXPECT_EQ(TextAt(items[0], "chloride"), "36.0");
  EXPECT_EQ(TextAt(items[0], "sodium"), "30.0");
  EXPECT_EQ(TextAt(items[0], "magnesium"), "62.0");
  EXPECT_EQ(TextAt(items[0], "pH"), "7.5");
  EXPECT_EQ(TextAt(items[0], "notes"), "Hard, sulfate-rich water");
  EXPECT_EQ(TextAt(items[1], "name"), "Pilsen");
  EXPECT_EQ(TextAt(items[1], "pH"), "7.0");
  EXPECT_TRUE(IsEmptyElement(items[1].child("notes")));
  EXPECT_EQ(TextAt(items[2], "name"), "Dublin");
  EXPECT_EQ(testing::ReadFile(converted.dir.Path("water.xml")).find("999"), std::string::npos);
}

TEST(WaterFile, AWtrFileOfOneBareRecordGivesOneProfile) {
  const Bytes bytes = file::ToBytes(Burton());
  ASSERT_EQ(bytes.size(), 222u);
  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(
      ConvertQuietly("Burton on Trent.wtr", bytes, "profiles", "water", 1, converted));
  const auto& items = converted.items;
  EXPECT_EQ(TextAt(items[0], "name"), "Burton");
  EXPECT_EQ(TextAt(items[0], "sulfate"), "638.0");
}

TEST(WaterDat, OutOfRangeValuesTakeTheirDefaults) {
  struct Case {
    float ph;
    float calcium;
    const char* ph_text;
    const char* calcium_text;
  };
  const Case cases[] = {
      {25, 50, "7.0", "50.0"},    {-1, 0, "7.0", "0.0"},        {0, 100000, "0.0", "100000.0"},
      {20, -0.5f, "20.0", "0.0"}, {kNaN, 100001, "7.0", "0.0"}, {6.85f, kNaN, "6.8", "0.0"},
  };
  std::vector<file::Water> records;
  for (const Case& c : cases) {
    file::Water w = Burton();
    w.ph = c.ph;
    w.calcium = c.calcium;
    records.push_back(w);
  }
  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(ConvertDatabase("water.dat", records, "water", converted));
  const auto& items = converted.items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i));
    EXPECT_EQ(TextAt(items[i], "pH"), cases[i].ph_text);
    EXPECT_EQ(TextAt(items[i], "calcium"), cases[i].calcium_text);
  }
}

// A recipe reads one water record and one yeast record from wherever its file has got to.
TEST(Readers, ReadOneRecordFromTheCurrentPositionAndStopAfterIt) {
  file::Water water = Burton();
  water.ph = 25;
  water.unread = 1.0f;
  Bytes bytes(5);
  bytes.Raw(0, "head!");
  bytes.Append(file::ToBytes(water)).Append(file::ToBytes(LondonAle())).Append(Bytes(3).Fill(0xAB));
  TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("embedded.bin", bytes), error);
  ASSERT_TRUE(input);
  input->Skip(5);

  WaterRecord w;
  EXPECT_EQ(ReadWaterRecords(*input, std::span<WaterRecord>(&w, 1)), 1);
  EXPECT_EQ(input->position(), 5u + 222);
  EXPECT_EQ(w.name, "Burton");
  EXPECT_EQ(w.sodium, 30.0f);
  EXPECT_EQ(w.sulfate, 638.0f);
  EXPECT_EQ(w.bicarbonate, 141.0f);
  EXPECT_EQ(w.ph, 7.0f);
  EXPECT_EQ(w.field_errors, (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0, 0, 2, 0}));
  EXPECT_EQ(w.notes, "Hard, sulfate-rich water");

  YeastRecord y;
  EXPECT_EQ(ReadYeastRecords(*input, std::span<YeastRecord>(&y, 1)), 0);
  EXPECT_EQ(input->position(), 5u + 222 + 468);
  EXPECT_EQ(y.name, "London Ale");
  EXPECT_EQ(y.product_id, "EL-1028");
  EXPECT_EQ(y.best_for, "Bitters, porters");
  EXPECT_EQ(y.spare_value, 12345.0f);
  EXPECT_EQ(y.attenuation_high, 75);
  EXPECT_EQ(y.flocculation, 1);
  EXPECT_TRUE(y.field_errors.empty());
  EXPECT_FALSE(input->truncated());
}

}  // namespace
}  // namespace kegverter
