// styles.dat end to end: the records as source/styles reads and validates them (a recipe holds
// one too), and the styles list beerxml2/styles_writer makes of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "beerxml2/styles_writer.h"
#include "source/styles.h"
#include "tests/fixture.h"
#include "tests/kind_suite.h"
#include "tests/records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::Bytes;
using testing::ChildNames;
using testing::ConvertedFile;
using testing::ConvertSuccessfully;
using testing::ReadFrom;
using testing::TextAt;

// A style with in-range gravities, so that a test sees only the substitutions it provokes.
file::Style Style(std::string category, std::string name) {
  return {.category = std::move(category),
          .name = std::move(name),
          .original_gravity_min = 1.040f,
          .original_gravity_max = 1.060f,
          .final_gravity_min = 1.008f,
          .final_gravity_max = 1.012f};
}

TEST(StyleRecords, OneRecordIsReadFromTheCurrentPositionAndTheRestIsLeft) {
  file::Style stout = Style("Stout", "Dry Stout");
  stout.color_max = 5000.0f;
  stout.notes = "Guinness";
  stout.category_number = 16;
  stout.style_letter = "AB";
  stout.spare_flag = 9;
  Bytes b = file::ToBytes(stout);
  b.Append(file::ToBytes(Style("Next", "Record")));  // what a recipe keeps after its embedded style
  std::int32_t replaced = -1;
  std::uint64_t end = 0;
  const auto styles = ReadFrom<StyleRecord>(b, 1, ReadStyleRecords, replaced, &end);
  const StyleRecord& s = styles[0];
  EXPECT_EQ(replaced, 0);
  EXPECT_EQ(end, file::kStyleSize);
  EXPECT_EQ(s.color_max, 5000.0f);  // a bound is in range
  EXPECT_EQ(s.notes, "Guinness");
  EXPECT_EQ(s.category_number, 16);
  EXPECT_EQ(s.style_letter, "AB");
  EXPECT_EQ(s.spare_flag, 9);
  EXPECT_TRUE(s.field_errors.empty());
}

TEST(StyleRecords, GravityBoundsAreSinglePrecisionAndPointsAreReplaced) {
  file::Style points = Style("Pale Ale", "Points");
  points.original_gravity_min = 40.0f;
  points.original_gravity_max = 60.0f;
  points.final_gravity_min = 0.9f;
  points.final_gravity_max = 0.89f;
  points.color_max = 5000.5f;
  const Bytes bytes = file::ToBytes(points).Append(file::ToBytes(file::Style{}));
  std::int32_t replaced = -1;
  const auto styles = ReadFrom<StyleRecord>(bytes, 2, ReadStyleRecords, replaced);
  EXPECT_EQ(replaced, 2);
  EXPECT_EQ(styles[0].original_gravity_min, 1.0f);
  EXPECT_EQ(styles[0].original_gravity_max, 1.0f);
  EXPECT_EQ(styles[0].final_gravity_min, 0.9f);  // the float nearest 0.9 is its own bound
  EXPECT_EQ(styles[0].final_gravity_max, 1.0f);
  EXPECT_EQ(styles[0].color_max, 0.0f);
  const std::vector<std::int32_t> codes = {0, 0, 0, 2, 2, 0, 1, 0, 0, 0, 0,
                                           0, 2, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(styles[0].field_errors, codes);
  // An all-zero style takes 1.0 for its four gravities, below the minimum.
  const std::vector<std::int32_t> empty_codes = {0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0,
                                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(styles[1].field_errors, empty_codes);
  EXPECT_EQ(styles[1].original_gravity_min, 1.0f);
  EXPECT_EQ(styles[1].final_gravity_max, 1.0f);
  EXPECT_EQ(styles[1].alcohol_max, 0.0f);
}

TEST(StyleExport, WritesEveryElementInOrderWithItsFormats) {
  const file::Style b{.category = "Pale Ale",
                      .name = "American Pale Ale",
                      .type = 5,
                      .original_gravity_min = 1.045f,
                      .original_gravity_max = 1.0555f,
                      .final_gravity_min = 1.010f,
                      .final_gravity_max = 1.015f,
                      .alcohol_min = 4.5f,
                      .alcohol_max = 6.0f,
                      .bitterness_min = 20.0f,
                      .bitterness_max = 40.3f,
                      .color_min = 4.0f,
                      .color_max = 3.5f,
                      .color_description = "Gold",
                      .malt_description = "Bready",
                      .hops_description = "Citrus",
                      .yeast_description = "Clean",
                      .notes = "Sierra Nevada",
                      .category_number = -1,
                      .style_letter = "B"};
  ConvertedFile c;
  ASSERT_NO_FATAL_FAILURE(ConvertSuccessfully("styles.dat", file::DatabaseOf(std::vector{b}), c));
  EXPECT_EQ(std::string(c.list.name()), "styles");
  ASSERT_EQ(c.records.size(), 1u);
  const pugi::xml_node style = c.records[0];
  EXPECT_EQ(std::string(style.name()), "style");
  const std::vector<std::string> order = {"name",
                                          "category",
                                          "category_number",
                                          "style_letter",
                                          "style_guide",
                                          "type",
                                          "original_gravity",
                                          "final_gravity",
                                          "international_bitterness_units",
                                          "color",
                                          "alcohol_by_volume",
                                          "notes",
                                          "profile",
                                          "ingredients",
                                          "examples"};
  EXPECT_EQ(ChildNames(style), order);
  EXPECT_EQ(TextAt(style, "name"), "Pale Ale - American Pale Ale");
  EXPECT_EQ(TextAt(style, "category"), "Pale Ale");
  EXPECT_EQ(TextAt(style, "category_number"), "-1");
  EXPECT_EQ(TextAt(style, "style_letter"), "B");
  EXPECT_EQ(TextAt(style, "style_guide"), "BJCP 1999");
  EXPECT_EQ(TextAt(style, "type"), "mixed");

  const std::vector<std::string> range = {"minimum", "maximum"};
  for (const char* block : {"original_gravity", "final_gravity", "international_bitterness_units",
                            "color", "alcohol_by_volume"}) {
    EXPECT_EQ(ChildNames(style.child(block)), range) << block;
  }
  EXPECT_EQ(TextAt(style, "original_gravity/minimum"), "1.045");
  EXPECT_EQ(TextAt(style, "original_gravity/maximum"), "1.056");
  EXPECT_EQ(TextAt(style, "final_gravity/minimum"), "1.010");
  EXPECT_EQ(TextAt(style, "final_gravity/maximum"), "1.015");
  for (const char* block : {"original_gravity", "final_gravity"}) {
    for (pugi::xml_node n : style.child(block).children()) {
      EXPECT_EQ(std::string(n.attribute("density").value()), "sg");
    }
  }
  EXPECT_EQ(TextAt(style, "international_bitterness_units/minimum"), "20.0");
  EXPECT_EQ(TextAt(style, "international_bitterness_units/maximum"), "40.3");
  EXPECT_EQ(TextAt(style, "color/minimum"), "4.0");
  EXPECT_EQ(TextAt(style, "color/maximum"), "3.5");  // a minimum above its maximum is kept
  for (pugi::xml_node n : style.child("color").children()) {
    EXPECT_EQ(std::string(n.attribute("scale").value()), "SRM");
  }
  EXPECT_EQ(TextAt(style, "alcohol_by_volume/minimum"), "4.5");
  EXPECT_EQ(TextAt(style, "alcohol_by_volume/maximum"), "6.0");
  for (const char* block : {"international_bitterness_units", "alcohol_by_volume"}) {
    for (pugi::xml_node n : style.child(block).children()) EXPECT_FALSE(n.first_attribute());
  }
  // The free text lists examples; notes and ingredients stay empty.
  EXPECT_EQ(TextAt(style, "notes"), "");
  EXPECT_EQ(TextAt(style, "ingredients"), "");
  EXPECT_EQ(TextAt(style, "profile"),
            "Malt: Bready\r\nHops: Citrus\r\nColor: Gold\r\nYeast: Clean");
  EXPECT_EQ(TextAt(style, "examples"), "Sierra Nevada");
}

TEST(StyleExport, LettersTypesAndSubstitutedGravities) {
  struct Case {
    std::string letter_bytes;
    std::uint8_t type;
    std::string letter;
    std::string type_word;
  };
  const std::vector<Case> cases = {
      {std::string("b\0", 2), 0, " ", "ale"},
      {std::string("1\0", 2), 1, " ", "lager"},
      {std::string("\0\0", 2), 2, " ", "cider"},
      {"AB", 3, "AB", "mead"},
      {"a1", 4, " ", ""},
      {std::string("Z\0", 2), 6, "Z", ""},
  };
  std::vector<file::Style> records;
  for (const Case& k : cases) {
    file::Style s = Style("Cat", "Name");
    s.type = k.type;
    s.style_letter = k.letter_bytes;
    records.push_back(s);
  }
  // Gravity points where specific gravities belong: 1.000 is written in their place.
  file::Style points = Style("Old", "Points");
  points.original_gravity_min = 40.0f;
  points.original_gravity_max = 60.0f;
  points.final_gravity_min = 8.0f;
  points.final_gravity_max = 12.0f;
  points.color_max = 6000.0f;
  records.push_back(points);

  ConvertedFile c;
  ASSERT_NO_FATAL_FAILURE(ConvertSuccessfully("Styles.Dat", file::DatabaseOf(records), c));
  ASSERT_EQ(c.records.size(), records.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(TextAt(c.records[i], "style_letter"), cases[i].letter) << i;
    EXPECT_EQ(TextAt(c.records[i], "type"), cases[i].type_word) << i;
    EXPECT_TRUE(c.records[i].child("type")) << i;
    EXPECT_FALSE(c.records[i].child("carbonation")) << i;
  }
  const pugi::xml_node substituted = c.records.back();
  EXPECT_EQ(TextAt(substituted, "original_gravity/minimum"), "1.000");
  EXPECT_EQ(TextAt(substituted, "original_gravity/maximum"), "1.000");
  EXPECT_EQ(TextAt(substituted, "final_gravity/minimum"), "1.000");
  EXPECT_EQ(TextAt(substituted, "final_gravity/maximum"), "1.000");
  EXPECT_EQ(TextAt(substituted, "color/maximum"), "0.0");
  EXPECT_EQ(TextAt(substituted, "profile"), "Malt: \r\nHops: \r\nColor: \r\nYeast: ");
}

}  // namespace
}  // namespace kegverter
