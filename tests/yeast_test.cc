// yeast.dat end to end: the cultures as source/yeast reads them and the cultures list
// beerxml2/yeast_writer makes of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

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
using testing::TextAt;

TEST(YeastDat, WritesEveryCultureWithItsFixedInventoryAndNoMaxReuse) {
  file::Yeast second = LondonAle();
  second.name = "Pilsner Lager";
  second.type = 1;
  second.form = 0;
  second.attenuation_low = 73;
  second.attenuation_high = 77;
  second.temperature = 50.5f;
  second.flocculation = 2;
  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(ConvertQuietly("yeast.dat",
                                         file::DatabaseOf(std::vector{LondonAle(), second}),
                                         "cultures", "yeast", 2, converted));
  const auto& items = converted.items;
  for (const pugi::xml_node& yeast : items) {
    EXPECT_EQ(ChildNames(yeast),
              (std::vector<std::string>{"name", "type", "form", "laboratory", "product_id",
                                        "temperature_range", "flocculation", "attenuation", "notes",
                                        "best_for", "inventory"}));
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
  EXPECT_STREQ(first.child("temperature_range").child("minimum").attribute("degrees").value(), "F");
  EXPECT_STREQ(first.child("temperature_range").child("maximum").attribute("degrees").value(), "F");
  EXPECT_EQ(TextAt(first, "flocculation"), "medium");
  EXPECT_EQ(TextAt(first, "attenuation"), "72.5");
  EXPECT_EQ(TextAt(first, "notes"), "Rich, minerally profile");
  EXPECT_EQ(TextAt(first, "best_for"), "Bitters, porters");
  EXPECT_EQ(TextAt(items[1], "type"), "lager");
  EXPECT_EQ(TextAt(items[1], "form"), "dry");
  EXPECT_EQ(TextAt(items[1], "flocculation"), "low");
  EXPECT_EQ(TextAt(items[1], "attenuation"), "75.0");
  EXPECT_EQ(TextAt(items[1], "temperature_range/maximum"), "50.5");
  EXPECT_EQ(testing::ReadFile(converted.dir.Path("yeast.xml")).find("12345"), std::string::npos);
}

TEST(YeastDat, CodesWithoutAWordLeaveTheirElementEmpty) {
  struct Case {
    std::uint8_t code;
    const char* type;
    const char* form;
    const char* flocculation;
  };
  const Case cases[] = {
      {0, "ale", "dry", "high"},      {1, "lager", "liquid", "medium"},
      {2, "wine", "slant", "low"},    {3, "champagne", nullptr, nullptr},
      {4, nullptr, nullptr, nullptr}, {255, nullptr, nullptr, nullptr},
  };
  std::vector<file::Yeast> records;
  for (const Case& c : cases) {
    file::Yeast y = LondonAle();
    y.type = y.form = y.flocculation = c.code;
    records.push_back(y);
  }
  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(ConvertDatabase("yeast.dat", records, "yeast", converted));
  const auto& items = converted.items;
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
      {73, 76, "74.5"},
      {-5, 500, "247.5"},
      {kMax, kMax, "2147483647.0"},
      {kMin, kMin, "-2147483648.0"},
      {kMax, 1, "1073741824.0"},
      {kMin, kMax, "-0.5"},
  };
  std::vector<file::Yeast> records;
  for (const Case& c : cases) {
    file::Yeast y = LondonAle();
    y.attenuation_low = c.low;
    y.attenuation_high = c.high;
    records.push_back(y);
  }
  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(ConvertDatabase("yeast.dat", records, "yeast", converted));
  const auto& items = converted.items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(TextAt(items[i], "attenuation"), cases[i].text) << "record " << i;
  }
}

}  // namespace
}  // namespace kegverter
