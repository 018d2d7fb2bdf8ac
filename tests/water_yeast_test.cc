// water.dat, '.wtr' files and yeast.dat from the command line, and the two readers used on their
// own from the middle of a file, as a recipe embeds them.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "beerxml/water_writer.h"
#include "beerxml/yeast_writer.h"
#include "source/water.h"
#include "source/yeast.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::ChildNames;
using testing::ParsedXml;
using testing::RunResult;
using testing::TempDir;
using testing::TextAt;

// A water record (222 bytes). The 4 bytes at offset 39 belong to no field.
struct Water {
  std::string name = "Burton";
  float calcium = 268;
  float magnesium = 62;
  float sodium = 30;
  float unused = 999;
  float sulfate = 638;
  float chloride = 36;
  float bicarbonate = 141;
  float ph = 7.5f;
  std::string notes = "Hard, sulfate-rich water";
};

Bytes WaterBytes(const Water& w) {
  Bytes b(222);
  b.Text(0, 27, w.name).F32(27, w.calcium).F32(31, w.magnesium).F32(35, w.sodium);
  b.F32(39, w.unused).F32(43, w.sulfate).F32(47, w.chloride).F32(51, w.bicarbonate);
  b.F32(55, w.ph).Text(59, 163, w.notes);
  return b;
}

// A yeast.dat record (468 bytes).
struct Yeast {
  std::string name = "London Ale";
  std::string laboratory = "Example Labs";
  std::string product_id = "EL-1028";
  std::uint8_t type = 0;
  std::uint8_t form = 1;
  std::string notes = "Rich, minerally profile";
  std::string best_for = "Bitters, porters";
  float spare_value = 12345;
  std::int32_t attenuation_low = 70;
  std::int32_t attenuation_high = 75;
  float temperature = 68;
  std::uint8_t flocculation = 1;
};

Bytes YeastBytes(const Yeast& y) {
  Bytes b(468);
  b.Text(0, 55, y.name).Text(55, 55, y.laboratory).Text(110, 25, y.product_id);
  b.U8(135, y.type).U8(136, y.form).Text(137, 155, y.notes).Text(292, 159, y.best_for);
  b.F32(451, y.spare_value).I32(455, y.attenuation_low).I32(459, y.attenuation_high);
  b.F32(463, y.temperature).U8(467, y.flocculation);
  return b;
}

Bytes Records(const std::vector<Bytes>& records) { return testing::DatabaseOf(records); }

using testing::ConvertAndParse;
using testing::IsEmptyElement;
using testing::Items;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(WaterDat, WritesEveryProfileInElementOrderSkippingTheUnusedField) {
  Water second;
  second.name = "Pilsen";
  second.calcium = 7;
  second.magnesium = 2;
  second.sodium = 2;
  second.sulfate = 5;
  second.chloride = 5;
  second.bicarbonate = 15;
  second.ph = 7;
  second.notes = "";
  Water third;
  third.name = "Dublin";
  const Bytes file = Records({WaterBytes(Water{}), WaterBytes(second), WaterBytes(third)});
  ASSERT_EQ(file.size(), 4u + 3 * 222);
  TempDir dir;
  ParsedXml xml;
  const RunResult run = ConvertAndParse(dir, "water.dat", file, xml);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  ASSERT_TRUE(xml.result);
  EXPECT_STREQ(xml.List().name(), "profiles");
  const auto items = Items(xml, "water");
  ASSERT_EQ(items.size(), 3u);
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
  EXPECT_EQ(testing::ReadFile(dir.Path("water.xml")).find("999"), std::string::npos);
}

TEST(WaterFile, AWtrFileOfOneBareRecordGivesOneProfile) {
  TempDir dir;
  const Bytes file = WaterBytes(Water{});
  ASSERT_EQ(file.size(), 222u);
  ParsedXml xml;
  const RunResult run = ConvertAndParse(dir, "Burton on Trent.wtr", file, xml);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  ASSERT_TRUE(xml.result);
  EXPECT_STREQ(xml.List().name(), "profiles");
  const auto items = Items(xml, "water");
  ASSERT_EQ(items.size(), 1u);
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
      {25, 50, "7.0", "50.0"},     {-1, 0, "7.0", "0.0"},        {0, 100000, "0.0", "100000.0"},
      {20, -0.5f, "20.0", "0.0"},  {kNaN, 100001, "7.0", "0.0"}, {6.85f, kNaN, "6.8", "0.0"},
  };
  std::vector<Bytes> records;
  for (const Case& c : cases) {
    Water w;
    w.ph = c.ph;
    w.calcium = c.calcium;
    records.push_back(WaterBytes(w));
  }
  TempDir dir;
  ParsedXml xml;
  ConvertAndParse(dir, "water.dat", Records(records), xml);
  ASSERT_TRUE(xml.result);
  const auto items = Items(xml, "water");
  ASSERT_EQ(items.size(), std::size(cases));
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i));
    EXPECT_EQ(TextAt(items[i], "pH"), cases[i].ph_text);
    EXPECT_EQ(TextAt(items[i], "calcium"), cases[i].calcium_text);
  }
}

// A recipe reads one water record and one yeast record from wherever its file has got to.
TEST(Readers, ReadOneRecordFromTheCurrentPositionAndStopAfterIt) {
  Water water;
  water.ph = 25;
  water.unused = 1.0f;
  Bytes file(5);
  file.Raw(0, "head!");
  file.Append(WaterBytes(water)).Append(YeastBytes(Yeast{})).Append(Bytes(3).Fill(0xAB));
  TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("embedded.bin", file), error);
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

TEST(YeastDat, WritesEveryCultureWithItsFixedInventoryAndNoMaxReuse) {
  Yeast second;
  second.name = "Pilsner Lager";
  second.type = 1;
  second.form = 0;
  second.attenuation_low = 73;
  second.attenuation_high = 77;
  second.temperature = 50.5f;
  second.flocculation = 2;
  TempDir dir;
  ParsedXml xml;
  const RunResult run =
      ConvertAndParse(dir, "yeast.dat", Records({YeastBytes(Yeast{}), YeastBytes(second)}), xml);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  ASSERT_TRUE(xml.result);
  EXPECT_STREQ(xml.List().name(), "cultures");
  const auto items = Items(xml, "yeast");
  ASSERT_EQ(items.size(), 2u);
  for (const pugi::xml_node& yeast : items) {
    EXPECT_EQ(ChildNames(yeast),
              (std::vector<std::string>{"name", "type", "form", "laboratory", "product_id",
                                        "temperature_range", "flocculation", "attenuation",
                                        "notes", "best_for", "inventory"}));
    EXPECT_EQ(ChildNames(yeast.child("temperature_range")),
              (std::vector<std::string>{"minimum", "maximum"}));
    const pugi::xml_node inventory = yeast.child("inventory");
    EXPECT_EQ(ChildNames(inventory),
              (std::vector<std::string>{"liquid", "dry", "slant", "culture"}));
    for (const char* form : {"liquid", "dry", "slant", "culture"}) {
      EXPECT_STREQ(inventory.child(form).text().get(), "0.0") << form;
      EXPECT_EQ(std::distance(inventory.child(form).attributes_begin(),
                              inventory.child(form).attributes_end()),
                1)
          << form;
    }
    EXPECT_STREQ(inventory.child("liquid").attribute("volume").value(), "mL");
    EXPECT_STREQ(inventory.child("dry").attribute("mass").value(), "gm");
    EXPECT_STREQ(inventory.child("slant").attribute("volume").value(), "mL");
    EXPECT_STREQ(inventory.child("culture").attribute("volume").value(), "mL");
  }
  const pugi::xml_node first = items[0];
  EXPECT_EQ(TextAt(first, "name"), "London Ale");
  EXPECT_EQ(TextAt(first, "type"), "ale");
  EXPECT_EQ(TextAt(first, "form"), "liquid");
  EXPECT_EQ(TextAt(first, "laboratory"), "Example Labs");
  EXPECT_EQ(TextAt(first, "product_id"), "EL-1028");
  EXPECT_EQ(TextAt(first, "temperature_range/minimum"), "68.0");
  EXPECT_EQ(TextAt(first, "temperature_range/maximum"), "68.0");
  EXPECT_STREQ(first.child("temperature_range").child("minimum").attribute("degrees").value(),
               "F");
  EXPECT_STREQ(first.child("temperature_range").child("maximum").attribute("degrees").value(),
               "F");
  EXPECT_EQ(TextAt(first, "flocculation"), "medium");
  EXPECT_EQ(TextAt(first, "attenuation"), "72.5");
  EXPECT_EQ(TextAt(first, "notes"), "Rich, minerally profile");
  EXPECT_EQ(TextAt(first, "best_for"), "Bitters, porters");
  EXPECT_EQ(TextAt(items[1], "type"), "lager");
  EXPECT_EQ(TextAt(items[1], "form"), "dry");
  EXPECT_EQ(TextAt(items[1], "flocculation"), "low");
  EXPECT_EQ(TextAt(items[1], "attenuation"), "75.0");
  EXPECT_EQ(TextAt(items[1], "temperature_range/maximum"), "50.5");
  EXPECT_EQ(testing::ReadFile(dir.Path("yeast.xml")).find("12345"), std::string::npos);
}

TEST(YeastDat, CodesWithoutAWordLeaveTheirElementEmpty) {
  struct Case {
    std::uint8_t code;
    const char* type;
    const char* form;
    const char* flocculation;
  };
  const Case cases[] = {
      {0, "ale", "dry", "high"},
      {1, "lager", "liquid", "medium"},
      {2, "wine", "slant", "low"},
      {3, "champagne", nullptr, nullptr},
      {4, nullptr, nullptr, nullptr},
      {255, nullptr, nullptr, nullptr},
  };
  std::vector<Bytes> records;
  for (const Case& c : cases) {
    Yeast y;
    y.type = y.form = y.flocculation = c.code;
    records.push_back(YeastBytes(y));
  }
  TempDir dir;
  ParsedXml xml;
  ConvertAndParse(dir, "yeast.dat", Records(records), xml);
  ASSERT_TRUE(xml.result);
  const auto items = Items(xml, "yeast");
  ASSERT_EQ(items.size(), std::size(cases));
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE("code " + std::to_string(cases[i].code));
    const std::pair<const char*, const char*> expected[] = {
        {"type", cases[i].type}, {"form", cases[i].form}, {"flocculation", cases[i].flocculation}};
    for (const auto& [element, word] : expected) {
      if (word != nullptr) {
        EXPECT_EQ(TextAt(items[i], element), word) << element;
      } else {
        EXPECT_TRUE(IsEmptyElement(items[i].child(element))) << element;
      }
    }
  }
}

// The bounds are not range-tested, so any two 32-bit values must average without overflow.
TEST(YeastDat, AttenuationIsTheMeanOfTheBoundsWhateverTheyHold) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  struct Case {
    std::int32_t low;
    std::int32_t high;
    const char* text;
  };
  const Case cases[] = {
      {73, 76, "74.5"},          {-5, 500, "247.5"},          {kMax, kMax, "2147483647.0"},
      {kMin, kMin, "-2147483648.0"}, {kMax, 1, "1073741824.0"}, {kMin, kMax, "-0.5"},
  };
  std::vector<Bytes> records;
  for (const Case& c : cases) {
    Yeast y;
    y.attenuation_low = c.low;
    y.attenuation_high = c.high;
    records.push_back(YeastBytes(y));
  }
  TempDir dir;
  ParsedXml xml;
  ConvertAndParse(dir, "yeast.dat", Records(records), xml);
  ASSERT_TRUE(xml.result);
  const auto items = Items(xml, "yeast");
  ASSERT_EQ(items.size(), std::size(cases));
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(TextAt(items[i], "attenuation"), cases[i].text) << "record " << i;
  }
}

}  // namespace
}  // namespace kegverter
