// extra.dat end to end: the records, read by source/misc, written by beerxml2/misc_writer as a
// miscellaneous_ingredients list, and the console dump of each record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "driver/console.h"
#include "source/misc.h"
#include "tests/fixture.h"
#include "tests/kind_suite.h"
#include "tests/records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::ChildNames;
using testing::ConvertAndParse;
using testing::ConvertDatabase;
using testing::ConvertedItems;
using testing::IsEmptyElement;
using testing::Items;
using testing::ParsedXml;
using testing::RunResult;
using testing::TempDir;
using testing::TextAt;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A record with every field set; the tests change the fields they are about.
file::Misc Coriander() {
  return {.ingredient_name = "Coriander",
          .suggested_time = 5,
          .time_units = 1,
          .inventory_unit_of_measurement = 1,
          .inventory = 28.35f,
          .usage = "Witbier"};
}

TEST(ExtraDat, WritesOneMiscellaneousElementPerRecordInTreeOrder) {
  TempDir dir;
  file::Misc m = Coriander();
  m.comment = "Crushed just before use";
  ParsedXml xml;
  const RunResult run = ConvertAndParse(dir, "extra.dat", file::DatabaseOf(std::vector{m}), xml);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err, "");
  ASSERT_TRUE(xml.result) << xml.result.description();
  EXPECT_STREQ(xml.List().name(), "miscellaneous_ingredients");
  const auto items = Items(xml, "miscellaneous");
  ASSERT_EQ(items.size(), 1u);
  const pugi::xml_node misc = items[0];
  EXPECT_EQ(ChildNames(misc),
            (std::vector<std::string>{"name", "type", "use", "use_for", "notes", "inventory"}));
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
  std::vector<file::Misc> records;
  for (const Case& c : cases) {
    file::Misc m = Coriander();
    m.ingredient_name = c.name;
    m.ingredient_type = c.type;
    m.inventory_unit_of_measurement = c.unit;
    m.inventory = c.inventory;
    records.push_back(m);
  }
  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(ConvertDatabase("extra.dat", records, "miscellaneous", converted));
  EXPECT_EQ(converted.run.exit_code, 0);
  const auto& items = converted.items;
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
  std::vector<file::Misc> records;
  for (const Case& c : cases) {
    file::Misc m = Coriander();
    m.ingredient_type = c.type;
    m.time_type = c.time_type;
    m.time_units = c.time_units;
    m.suggested_time = c.time;
    m.comment = c.comment;
    records.push_back(m);
  }
  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(ConvertDatabase("extra.dat", records, "miscellaneous", converted));
  const auto& items = converted.items;
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
  file::Misc first = Coriander();
  first.ingredient_name = "Cr\xE8me de cassis";  // Windows text, shown as UTF-8
  first.ingredient_type = 1;
  first.suggested_time = 3;
  first.time_type = 1;
  first.time_units = 0;
  first.inventory_unit_of_measurement = 2;
  first.inventory = -5;  // below the minimum: 0
  first.usage = "Fruit beers";
  first.comment = "Sweet";
  file::Misc second = Coriander();
  second.ingredient_name = "Irish Moss";
  second.ingredient_type = 4;
  second.suggested_time = 15;
  second.inventory_unit_of_measurement = 6;
  second.inventory = 1.5f;
  second.usage = "";
  TempDir dir;
  ParsedXml xml;
  const RunResult run =
      ConvertAndParse(dir, "extra.dat", file::DatabaseOf(std::vector{first, second}), xml);
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
  std::vector<file::Misc> records;
  for (float inventory : {-5.0f, 0.0f, 100000.0f, 100000.5f, kNaN}) {
    file::Misc m = Coriander();
    m.inventory_unit_of_measurement = 0;
    m.inventory = inventory;
    records.push_back(m);
  }
  const std::string path = dir.Write("extra.dat", file::DatabaseOf(records));
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

  ConvertedItems converted;
  ASSERT_NO_FATAL_FAILURE(ConvertDatabase("extra.dat", records, "miscellaneous", converted));
  const auto& items = converted.items;
  const char* expected[] = {"0.0", "0.0", "100000.00", "0.0", "0.0"};
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(TextAt(items[i], "inventory/amount_as_weight"), expected[i]) << "record " << i;
  }
}

TEST(ExtraDat, DumpOfARecordNeverFilledPrintsNullTexts) {
  std::string dump = "left from before";
  DumpMiscRecord(MiscRecord{}, dump);
  EXPECT_EQ(dump,
            "ingredient_name = (null)\ningredient_type = 0\nsuggested_time = 0\ntime_type = 0\n"
            "time_units = 0\ninventory_unit_of_measurement = 0\ninventory = 0.000000\n"
            "usage = (null)\ncomment = (null)\n\n");
}

}  // namespace
}  // namespace kegverter
