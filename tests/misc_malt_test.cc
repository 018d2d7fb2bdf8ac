// extra.dat and malt.dat from the command line: records written at the byte offsets of the file
// layouts, converted by the executable, and the output read back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "beerxml/malt_writer.h"
#include "beerxml/misc_writer.h"
#include "driver/console.h"
#include "source/malt.h"
#include "source/misc.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::ChildNames;
using testing::ParsedXml;
using testing::RunResult;
using testing::TempDir;
using testing::TextAt;

// An extra.dat record (577 bytes).
struct Misc {
  std::string name = "Coriander";
  std::uint8_t type = 0;
  std::int32_t time = 5;
  std::uint8_t time_type = 0;
  std::uint8_t time_units = 1;
  std::uint8_t unit = 1;
  float inventory = 28.35f;
  std::string usage = "Witbier";
  std::string comment;
};

Bytes MiscBytes(const Misc& m) {
  Bytes b(577);
  b.Text(0, 55, m.name).U8(55, m.type).I32(56, m.time).U8(60, m.time_type).U8(61, m.time_units);
  b.U8(62, m.unit).F32(63, m.inventory).Text(67, 255, m.usage).Text(322, 255, m.comment);
  return b;
}

// A malt.dat record (521 bytes), every field distinct so that a misplaced one shows.
struct Malt {
  std::string name = "Pale Ale Malt";
  std::string supplier = "Maltings Ltd";
  std::string origin = "England";
  std::uint8_t type = 1;
  std::uint8_t recommend_mash = 1;
  float potential = 1.037f;
  float color = 3.5f;
  float moisture = 4.3f;
  float max_in_batch = 100;
  float diastatic_power = 140;
  float protein = 9.7f;
  float spare_percentage = 55;
  std::string spare_text = "SPARE-TEXT";
  std::string notes = "Base malt for bitters";
  float inventory = 55.5f;
  float fine_grind_yield = 80;
  float coarse_grind_yield = 78.5f;
};

Bytes MaltBytes(const Malt& m) {
  Bytes b(521);
  b.Text(0, 55, m.name).Text(55, 55, m.supplier).Text(110, 55, m.origin).U8(165, m.type);
  b.U8(166, m.recommend_mash).F32(167, m.potential).F32(171, m.color).F32(175, m.moisture);
  b.F32(179, m.max_in_batch).F32(183, m.diastatic_power).F32(187, m.protein);
  b.F32(191, m.spare_percentage).Text(195, 155, m.spare_text).Text(350, 159, m.notes);
  b.F32(509, m.inventory).F32(513, m.fine_grind_yield).F32(517, m.coarse_grind_yield);
  return b;
}

Bytes Records(const std::vector<Bytes>& records) { return testing::DatabaseOf(records); }

using testing::ConvertAndParse;
using testing::IsEmptyElement;
using testing::Items;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(ExtraDat, WritesOneMiscellaneousElementPerRecordInTreeOrder) {
  TempDir dir;
  Misc m;
  m.comment = "Crushed just before use";
  ParsedXml xml;
  const RunResult run = ConvertAndParse(dir, "extra.dat", Records({MiscBytes(m)}), xml);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err, "");
  ASSERT_TRUE(xml.result) << xml.result.description();
  EXPECT_STREQ(xml.List().name(), "miscellaneous_ingredients");
  const auto items = Items(xml, "miscellaneous");
  ASSERT_EQ(items.size(), 1u);
  const pugi::xml_node misc = items[0];
  EXPECT_EQ(ChildNames(misc), (std::vector<std::string>{"name", "type", "use", "use_for", "notes",
                                                        "inventory"}));
  EXPECT_EQ(TextAt(misc, "name"), "Coriander");
  EXPECT_EQ(TextAt(misc, "type"), "spice");
  EXPECT_EQ(TextAt(misc, "use"), "boil");
  EXPECT_EQ(TextAt(misc, "use_for"), "Witbier");
  EXPECT_EQ(TextAt(misc, "notes"), "Crushed just before use\r\nAdd to boil for 5 minutes.");
  EXPECT_EQ(ChildNames(misc.child("inventory")), std::vector<std::string>{"amount_as_weight"});
  EXPECT_STREQ(misc.child("inventory").child("amount_as_weight").attribute("mass").value(), "gm");
  EXPECT_EQ(TextAt(misc, "inventory/amount_as_weight"), "28.35");
}

// The amount and unit rule, one record each; consecutive records switch between the two forms.
TEST(ExtraDat, AmountUnitRuleSwitchesBetweenVolumeAndMassPerRecord) {
  struct Case {
    const char* name;
    std::uint8_t type;
    std::uint8_t unit;
    float inventory;
    const char* element;    // the one inventory child
    const char* attribute;  // its unit attribute
    const char* unit_word;  // null: no attribute
    const char* text;
  };
  const Case cases[] = {
      {"Vanilla Extract", 2, 0, 2, "amount", "volume", "ozfl", "2.00"},
      {"Vanilla Extract", 2, 1, 2, "amount", "volume", "ozfl", "0.0"},
      {"Oak extract", 2, 2, 3, "amount", "volume", "ozfl", "0.0"},
      {"MALT EXTRACT", 2, 0, 3, "amount_as_weight", "mass", "oz", "3.00"},  // case-sensitive
      {"Raspberries", 1, 6, 3, "amount_as_weight", "mass", "lb", "0.0"},
      {"Irish Moss", 4, 6, 1, "amount", "volume", "tsp", "0.0"},
      {"Gypsum", 2, 6, 1, "amount_as_weight", "mass", "oz", "0.0"},
      {"Heather tips", 5, 6, 1, "amount_as_weight", "mass", "oz", "0.0"},
      {"Lactose", 3, 4, 0, "amount", "volume", "tbsp", "0.0"},
      {"Lactose", 3, 4, 1.5f, "amount", "volume", "tbsp", "1.50"},
      {"Irish Moss", 4, 3, 1, "amount", "volume", "tsp", "1.00"},
      {"Honey", 2, 5, 0.25f, "amount", "volume", "cup", "0.25"},
      {"Orange peel", 0, 2, 0.5f, "amount_as_weight", "mass", "lb", "0.50"},
      {"Seeds", 0, 0, 4, "amount_as_weight", "mass", "oz", "4.00"},
      // Codes without a word: the mass attribute is left out, the amount is kept.
      {"Oddity", 9, 6, 3, "amount_as_weight", "mass", nullptr, "3.00"},
      {"Oddity", 2, 7, 3, "amount_as_weight", "mass", nullptr, "3.00"},
      {"Oddity", 2, 255, 0, "amount_as_weight", "mass", nullptr, "0.0"},
  };
  std::vector<Bytes> records;
  for (const Case& c : cases) {
    Misc m;
    m.name = c.name;
    m.type = c.type;
    m.unit = c.unit;
    m.inventory = c.inventory;
    records.push_back(MiscBytes(m));
  }
  TempDir dir;
  ParsedXml xml;
  const RunResult run = ConvertAndParse(dir, "extra.dat", Records(records), xml);
  EXPECT_EQ(run.exit_code, 0);
  ASSERT_TRUE(xml.result);
  const auto items = Items(xml, "miscellaneous");
  ASSERT_EQ(items.size(), std::size(cases));
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(std::string(c.name) + " unit " + std::to_string(c.unit) + " record " +
                 std::to_string(i));
    const pugi::xml_node inventory = items[i].child("inventory");
    ASSERT_EQ(ChildNames(inventory), std::vector<std::string>{c.element});
    const pugi::xml_node amount = inventory.child(c.element);
    if (c.unit_word != nullptr) {
      EXPECT_STREQ(amount.attribute(c.attribute).value(), c.unit_word);
    } else {
      EXPECT_FALSE(amount.first_attribute());
    }
    EXPECT_EQ(std::distance(amount.attributes_begin(), amount.attributes_end()),
              c.unit_word != nullptr ? 1 : 0);
    EXPECT_STREQ(amount.text().get(), c.text);
  }
}

TEST(ExtraDat, TypeAndUseWordsAndTheNotesSentence) {
  struct Case {
    std::uint8_t type;
    std::uint8_t time_type;
    std::uint8_t time_units;
    std::int32_t time;
    const char* comment;
    const char* type_word;  // null: element written empty
    const char* use_word;
    const char* notes;
  };
  const Case cases[] = {
      {0, 0, 1, 15, "", "spice", "boil", "Add to boil for 15 minutes."},
      {1, 1, 0, 7, "", "fruit", "secondary", "Add to secondary for 7 days."},
      {2, 2, 1, 60, "Mash hop", "other", "mash", "Mash hop\r\nAdd to mash for 60 minutes."},
      {3, 0, 2, 10, "", "other", "boil", "Add to boil"},
      {4, 0, 1, -3, "", "fining", "boil", "Add to boil for -3 minutes."},
      {5, 3, 1, 10, "", "herb", nullptr, "Add to  for 10 minutes."},
      {6, 200, 9, 10, "", nullptr, nullptr, "Add to "},
      {255, 0, 0, 2147483647, "", nullptr, "boil", "Add to boil for 2147483647 days."},
  };
  std::vector<Bytes> records;
  for (const Case& c : cases) {
    Misc m;
    m.type = c.type;
    m.time_type = c.time_type;
    m.time_units = c.time_units;
    m.time = c.time;
    m.comment = c.comment;
    records.push_back(MiscBytes(m));
  }
  TempDir dir;
  ParsedXml xml;
  ConvertAndParse(dir, "extra.dat", Records(records), xml);
  ASSERT_TRUE(xml.result);
  const auto items = Items(xml, "miscellaneous");
  ASSERT_EQ(items.size(), std::size(cases));
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE("record " + std::to_string(i));
    if (c.type_word != nullptr) {
      EXPECT_EQ(TextAt(items[i], "type"), c.type_word);
    } else {
      EXPECT_TRUE(IsEmptyElement(items[i].child("type")));
    }
    if (c.use_word != nullptr) {
      EXPECT_EQ(TextAt(items[i], "use"), c.use_word);
    } else {
      EXPECT_TRUE(IsEmptyElement(items[i].child("use")));
    }
    EXPECT_EQ(TextAt(items[i], "notes"), c.notes);
  }
}

TEST(ExtraDat, DumpsEveryRecordOnTheConsoleAfterValidation) {
  Misc first;
  first.name = "Cr\xE8me de cassis";  // Windows text, shown as UTF-8
  first.type = 1;
  first.time = 3;
  first.time_type = 1;
  first.time_units = 0;
  first.unit = 2;
  first.inventory = -5;  // below the minimum: 0
  first.usage = "Fruit beers";
  first.comment = "Sweet";
  Misc second;
  second.name = "Irish Moss";
  second.type = 4;
  second.time = 15;
  second.unit = 6;
  second.inventory = 1.5f;
  second.usage = "";
  TempDir dir;
  ParsedXml xml;
  const RunResult run =
      ConvertAndParse(dir, "extra.dat", Records({MiscBytes(first), MiscBytes(second)}), xml);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "ingredient_name = Cr\xC3\xA8me de cassis\n"
            "ingredient_type = 1\n"
            "suggested_time = 3\n"
            "time_type = 1\n"
            "time_units = 0\n"
            "inventory_unit_of_measurement = 2\n"
            "inventory = 0.000000\n"
            "usage = Fruit beers\n"
            "comment = Sweet\n"
            "\n"
            "ingredient_name = Irish Moss\n"
            "ingredient_type = 4\n"
            "suggested_time = 15\n"
            "time_type = 0\n"
            "time_units = 1\n"
            "inventory_unit_of_measurement = 6\n"
            "inventory = 1.500000\n"
            "usage = \n"
            "comment = \n"
            "\n");
  ASSERT_TRUE(xml.result);
  const auto items = Items(xml, "miscellaneous");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(TextAt(items[0], "name"), "Cr\xC3\xA8me de cassis");
  EXPECT_EQ(TextAt(items[0], "inventory/amount_as_weight"), "0.0");
}

TEST(ExtraDat, InventoryOutOfRangeIsReplacedAndCounted) {
  TempDir dir;
  std::vector<Bytes> records;
  for (float inventory : {-5.0f, 0.0f, 100000.0f, 100000.5f, kNaN}) {
    Misc m;
    m.unit = 0;
    m.inventory = inventory;
    records.push_back(MiscBytes(m));
  }
  const std::string path = dir.Write("extra.dat", Records(records));
  std::string error;
  auto input = InputFile::Open(path, error);
  ASSERT_TRUE(input);
  input->Skip(4);
  std::vector<MiscRecord> read(records.size());
  // The reader loop without the console dump, which the test above covers.
  EXPECT_EQ(ReadRecords(*input, std::span<MiscRecord>(read)), 3);
  EXPECT_EQ(read[0].field_errors, (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0, 1, 0, 0}));
  EXPECT_TRUE(read[1].field_errors.empty());
  EXPECT_TRUE(read[2].field_errors.empty());
  EXPECT_EQ(read[2].inventory, 100000.0f);
  EXPECT_EQ(read[3].field_errors[6], kAboveMaximum);
  EXPECT_EQ(read[4].field_errors[6], kAboveMaximum);
  EXPECT_EQ(read[4].inventory, 0.0f);
  EXPECT_EQ(input->position(), 4u + 5 * 577);

  ParsedXml xml;
  ConvertAndParse(dir, "extra.dat", Records(records), xml);
  const auto items = Items(xml, "miscellaneous");
  ASSERT_EQ(items.size(), 5u);
  const char* expected[] = {"0.0", "0.0", "100000.00", "0.0", "0.0"};
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(TextAt(items[i], "inventory/amount_as_weight"), expected[i]) << "record " << i;
  }
}

TEST(ExtraDat, DumpOfARecordNeverFilledPrintsNullTexts) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  PrintMiscRecord(MiscRecord{}, out);
  std::rewind(out);
  char buffer[512] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, out);
  std::fclose(out);
  EXPECT_EQ(std::string(buffer, n),
            "ingredient_name = (null)\ningredient_type = 0\nsuggested_time = 0\ntime_type = 0\n"
            "time_units = 0\ninventory_unit_of_measurement = 0\ninventory = 0.000000\n"
            "usage = (null)\ncomment = (null)\n\n");
}

TEST(MaltDat, WritesOneFermentablePerRecordWithEveryFieldInPlace) {
  TempDir dir;
  ParsedXml xml;
  const RunResult run = ConvertAndParse(dir, "malt.dat", Records({MaltBytes(Malt{})}), xml);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  ASSERT_TRUE(xml.result);
  EXPECT_STREQ(xml.List().name(), "fermentables");
  const auto items = Items(xml, "fermentable");
  ASSERT_EQ(items.size(), 1u);
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
  const std::string output = testing::ReadFile(dir.Path("malt.xml"));
  EXPECT_EQ(output.find("SPARE-TEXT"), std::string::npos);
  EXPECT_EQ(output.find("55.0"), std::string::npos);
}

TEST(MaltDat, TypeWordsAndRecommendMash) {
  const std::uint8_t types[] = {0, 1, 2, 3, 4, 5, 255};
  const char* words[] = {nullptr, "grain", "extract", "sugar", "adjunct", nullptr, nullptr};
  const std::uint8_t mash[] = {0, 1, 2, 1, 0, 255, 1};
  const char* mash_words[] = {"false", "true", "false", "true", "false", "false", "true"};
  std::vector<Bytes> records;
  for (std::size_t i = 0; i < std::size(types); ++i) {
    Malt m;
    m.type = types[i];
    m.recommend_mash = mash[i];
    records.push_back(MaltBytes(m));
  }
  TempDir dir;
  ParsedXml xml;
  ConvertAndParse(dir, "malt.dat", Records(records), xml);
  ASSERT_TRUE(xml.result);
  const auto items = Items(xml, "fermentable");
  ASSERT_EQ(items.size(), std::size(types));
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
  Malt edges;  // every value on a bound: unchanged
  edges.fine_grind_yield = -11;
  edges.coarse_grind_yield = 110;
  edges.color = 2550;
  edges.potential = 11;
  edges.moisture = 0;
  edges.max_in_batch = 110;
  edges.diastatic_power = 550;
  edges.protein = 110;
  edges.inventory = 100000;
  Malt over;  // every tested value just past a bound
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
  const std::string path = dir.Write("malt.dat", Records({MaltBytes(edges), MaltBytes(over)}));
  std::string error;
  auto input = InputFile::Open(path, error);
  ASSERT_TRUE(input);
  input->Skip(4);
  std::vector<MaltRecord> read(2);
  EXPECT_EQ(ReadMaltRecords(*input, std::span<MaltRecord>(read)), 1);
  EXPECT_TRUE(read[0].field_errors.empty());
  EXPECT_EQ(read[1].field_errors, (std::vector<std::int32_t>{0, 0, 0, 0, 0, 2, 2, 1, 2, 2, 2, 2,
                                                             0, 0, 1, 2, 1}));
  EXPECT_EQ(read[1].spare_percentage, 0.0f);

  ParsedXml xml;
  ConvertAndParse(dir, "malt.dat", Records({MaltBytes(edges), MaltBytes(over)}), xml);
  const auto items = Items(xml, "fermentable");
  ASSERT_EQ(items.size(), 2u);
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
