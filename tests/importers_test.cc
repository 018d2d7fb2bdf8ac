// What brewing programs read in BeerXML 1.0 and BeerJSON must mean what the brewer meant: a hop's
// time is how long it is in the kettle or the mash, as both formats define it, and every BeerXML
// 1.0 NAME is one line that holds a character that is not blank, since importers refuse a whole
// file for one that is not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <pugixml.hpp>

#include "driver/convert.h"
#include "driver/registry.h"
#include "tests/fixture.h"
#include "tests/fixture_recipes.h"
#include "tests/json.h"
#include "tests/records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::TempDir;

// Converts `path` to `format` beside it; the output's text, empty when nothing was written.
std::string ConvertTo(const std::string& path, OutputFormat format) {
  ConversionRequest request;
  request.input = path;
  request.format = format;
  const ConversionResult result = ConvertFile(request);
  EXPECT_EQ(result.status, ConversionResult::Status::Written) << path;
  return result.saved ? testing::ReadFile(result.output) : std::string();
}

struct Xml {
  pugi::xml_document document;
  pugi::xml_node root;
};

void LoadXml(const std::string& text, Xml& xml) {
  ASSERT_TRUE(xml.document.load_string(text.c_str())) << text;
  xml.root = xml.document.document_element();
}

void LoadJson(const std::string& text, testing::Json& json) {
  json = testing::Json::Parse(text);
  ASSERT_FALSE(json.is_discarded()) << text;
}

std::vector<pugi::xml_node> Hops(const Xml& xml) {
  std::vector<pugi::xml_node> hops;
  for (pugi::xml_node hop : xml.root.child("RECIPE").child("HOPS").children("HOP")) {
    hops.push_back(hop);
  }
  return hops;
}

bool Holds(const std::string& text, const std::string& line) {
  return text.find(line) != std::string::npos;
}

// Boil, first wort, mash and dry hop additions of one ounce each, named after their use.
std::vector<file::HopAddition> EveryHopUse() {
  return {testing::RecipeHop("Boil", 5, 0, 0x2003, 1, 60, 0, ""),
          testing::RecipeHop("First wort", 5, 0, 0x2003, 1, 61, 0, ""),
          testing::RecipeHop("Mash", 5, 0, 0x2003, 1, 62, 255, ""),
          testing::RecipeHop("Dry", 5, 0, 0x2003, 1, 251, 255, "")};
}

// A 75-minute boil and a step mash of 30 and 45 minutes, with a 20-minute step of a kind without
// a meaning, which no format writes and which therefore does not count.
file::Recipe TimedRecipe() {
  file::Recipe r = testing::BareRecipe();
  r.header.boil_time = 75;
  r.schedule.mash_mode = 1;
  r.steps = {testing::StepSlot(0, "Rest", 152, 152, 165, 30, 0, 1.25f, 10),
             testing::StepSlot(7, "Odd", 160, 160, 0, 20, 0, 0, 0),
             testing::StepSlot(1, "Out", 168, 168, 0, 45, 10, 0, 0)};
  r.hops = EveryHopUse();
  return r.SyncCounts();
}

// An extract recipe (no mash) that gives no boil time: the application's assumptions stay.
file::Recipe UntimedRecipe() {
  file::Recipe r = testing::BareRecipe();
  r.header.boil_time = 0;
  r.header.recipe_type = 2;
  r.hops = EveryHopUse();
  return r.SyncCounts();
}

TEST(ImporterHopTimes, BeerXml1TimeIsHowLongTheHopIsIn) {
  TempDir dir;
  Xml xml;
  ASSERT_NO_FATAL_FAILURE(LoadXml(
      ConvertTo(dir.Write("t.rec", file::ToBytes(TimedRecipe())), OutputFormat::BeerXml1), xml));
  const std::vector<pugi::xml_node> hops = Hops(xml);
  ASSERT_EQ(hops.size(), 4u);
  const char* uses[] = {"Boil", "First Wort", "Mash", "Dry Hop"};
  const char* times[] = {"60", "75", "75", "7200"};
  for (std::size_t i = 0; i < hops.size(); ++i) {
    EXPECT_STREQ(hops[i].child_value("USE"), uses[i]);
    EXPECT_STREQ(hops[i].child_value("TIME"), times[i]) << uses[i];
    EXPECT_FALSE(Holds(hops[i].child_value("NOTES"), "assumed")) << uses[i];
  }

  Xml untimed;
  ASSERT_NO_FATAL_FAILURE(
      LoadXml(ConvertTo(dir.Write("u.rec", file::ToBytes(UntimedRecipe())), OutputFormat::BeerXml1),
              untimed));
  const std::vector<pugi::xml_node> assumed = Hops(untimed);
  ASSERT_EQ(assumed.size(), 4u);
  EXPECT_STREQ(assumed[1].child_value("TIME"), "40");
  EXPECT_STREQ(assumed[1].child_value("NOTES"),
               "Time: 40 min assumed (the recipe gives no boil time)");
  EXPECT_STREQ(assumed[2].child_value("TIME"), "90");
  EXPECT_STREQ(assumed[2].child_value("NOTES"),
               "Time: 90 min assumed (the recipe's mash gives no step time)");
  EXPECT_STREQ(assumed[0].child_value("NOTES"), "");
}

TEST(ImporterHopTimes, BeerJsonDurationIsHowLongTheAdditionStays) {
  TempDir dir;
  testing::Json json;
  ASSERT_NO_FATAL_FAILURE(LoadJson(
      ConvertTo(dir.Write("t.rec", file::ToBytes(TimedRecipe())), OutputFormat::BeerJson), json));
  const testing::Json recipe = json.at("beerjson").at("recipes").at(0);
  const testing::Json hops = recipe.at("ingredients").at("hop_additions");
  ASSERT_EQ(hops.size(), 4u);
  const char* uses[] = {"add_to_boil", "add_to_boil", "add_to_mash", "add_to_fermentation"};
  const int durations[] = {60, 75, 75, 5};
  const char* units[] = {"min", "min", "min", "day"};
  for (std::size_t i = 0; i < hops.size(); ++i) {
    const testing::Json timing = hops.at(i).at("timing");
    EXPECT_EQ(timing.at("use"), uses[i]);
    EXPECT_EQ(timing.at("duration").at("value"), durations[i]) << uses[i];
    EXPECT_EQ(timing.at("duration").at("unit"), units[i]);
  }
  // The first-wort fact is kept in the recipe's notes, as BeerJSON has no word for it.
  const std::string notes = recipe.at("notes");
  EXPECT_TRUE(Holds(notes, "Hop First wort (1 oz): first wort")) << notes;
  EXPECT_FALSE(Holds(notes, "assumed")) << notes;

  testing::Json untimed;
  ASSERT_NO_FATAL_FAILURE(LoadJson(
      ConvertTo(dir.Write("u.rec", file::ToBytes(UntimedRecipe())), OutputFormat::BeerJson),
      untimed));
  const testing::Json assumed = untimed.at("beerjson").at("recipes").at(0);
  const testing::Json additions = assumed.at("ingredients").at("hop_additions");
  EXPECT_EQ(additions.at(1).at("timing").at("duration").at("value"), 40);
  EXPECT_EQ(additions.at(2).at("timing").at("duration").at("value"), 90);
  const std::string assumed_notes = assumed.at("notes");
  for (const char* line :
       {"Hop First wort (1 oz): Time: 40 min assumed (the recipe gives no boil time)",
        "Hop Mash (1 oz): Time: 90 min assumed (the recipe's mash gives no step time)"}) {
    EXPECT_TRUE(Holds(assumed_notes, line)) << line << "\nin: " << assumed_notes;
  }
}

// BeerXML 2.01 keeps the application's own timing: 40 minutes for first wort, 90 for a mash hop.
TEST(ImporterHopTimes, BeerXml2KeepsTheApplicationsTiming) {
  TempDir dir;
  Xml xml;
  ASSERT_NO_FATAL_FAILURE(LoadXml(
      ConvertTo(dir.Write("t.rec", file::ToBytes(TimedRecipe())), OutputFormat::BeerXml2), xml));
  std::vector<std::string> times;
  for (pugi::xml_node hop : xml.root.child("recipes")
                                .child("recipe")
                                .child("ingredients")
                                .child("hop_bill")
                                .children("hop")) {
    times.emplace_back(hop.child_value("time"));
  }
  EXPECT_EQ(times, (std::vector<std::string>{"60.0", "40.0", "90.0", "5.0"}));
}

TEST(ImporterNames, BeerXml1NamesAreOneLineAndTheStoredNameIsKept) {
  TempDir dir;
  const std::vector<file::Water> waters = {{.name = "kp2SL\nW74h", .calcium = 50},
                                           {.name = "Tab\tand\r\nbreak", .calcium = 60},
                                           {.name = "", .calcium = 70},
                                           {.name = "  Plain", .calcium = 80},
                                           {.name = "Quote \"q\" \\\n\tx", .calcium = 90}};
  Xml xml;
  ASSERT_NO_FATAL_FAILURE(LoadXml(
      ConvertTo(dir.Write("water.dat", file::DatabaseOf(waters)), OutputFormat::BeerXml1), xml));
  struct Expected {
    const char* name;
    const char* notes;
  };
  const Expected expected[] = {
      {"kp2SL W74h", "Name as stored: \"kp2SL\\nW74h\""},
      {"Tab and break", "Name as stored: \"Tab\\tand\\r\\nbreak\""},
      {"Unnamed water", "Name as stored: \"\""},
      {"  Plain", ""},
      {"Quote \"q\" \\ x", "Name as stored: \"Quote \\\"q\\\" \\\\\\n\\tx\""}};
  std::size_t i = 0;
  for (pugi::xml_node water : xml.root.children("WATER")) {
    ASSERT_LT(i, std::size(expected));
    EXPECT_STREQ(water.child_value("NAME"), expected[i].name);
    EXPECT_STREQ(water.child_value("NOTES"), expected[i].notes);
    ++i;
  }
  EXPECT_EQ(i, std::size(expected));
}

// A recipe's name, its style's and its ingredients' names, and its mash's and steps' names are
// all written on one line; the equipment takes the recipe's.
TEST(ImporterNames, BeerXml1RecipeNamesAreOneLine) {
  file::Recipe r = TimedRecipe();
  r.header.name = "Pale\r\nAle";
  r.style.category = "American\tPale";
  r.hops[0].name = "Cas\ncade";
  r.yeast.name = "US\r\n05";
  r.steps[0].name = "Sacch\r\nRest";
  r.schedule.schedule_name = "Single\ninfusion";
  r.SyncCounts();
  TempDir dir;
  const std::string text = ConvertTo(dir.Write("r.rec", file::ToBytes(r)), OutputFormat::BeerXml1);
  Xml xml;
  ASSERT_NO_FATAL_FAILURE(LoadXml(text, xml));
  const pugi::xml_node recipe = xml.root.child("RECIPE");
  EXPECT_STREQ(recipe.child_value("NAME"), "Pale Ale");
  EXPECT_STREQ(recipe.child("EQUIPMENT").child_value("NAME"), "Pale Ale");
  EXPECT_STREQ(recipe.child("STYLE").child_value("NAME"), "American Pale");
  const std::string notes = recipe.child_value("NOTES");
  EXPECT_TRUE(Holds(notes, "Name as stored: \"Pale\\r\\nAle\"")) << notes;
  EXPECT_TRUE(Holds(notes, "Style name as stored: \"American\\tPale\"")) << notes;
  const pugi::xml_node hop = recipe.child("HOPS").child("HOP");
  EXPECT_STREQ(hop.child_value("NAME"), "Cas cade");
  EXPECT_TRUE(Holds(hop.child_value("NOTES"), "Name as stored: \"Cas\\ncade\""));
  EXPECT_STREQ(recipe.child("YEASTS").child("YEAST").child_value("NAME"), "US 05");
  const pugi::xml_node mash = recipe.child("MASH");
  EXPECT_STREQ(mash.child("MASH_STEPS").child("MASH_STEP").child_value("NAME"), "Sacch Rest");
  EXPECT_TRUE(
      Holds(mash.child_value("NOTES"), "Step \"Sacch Rest\" name as stored: \"Sacch\\r\\nRest\""))
      << mash.child_value("NOTES");
  // No NAME anywhere holds a line break or a tab.
  for (pugi::xpath_node name : xml.document.select_nodes("//NAME")) {
    EXPECT_EQ(std::string(name.node().child_value()).find_first_of("\r\n\t"), std::string::npos)
        << name.node().parent().name();
  }
}

// BeerJSON has no rule on names: they are kept as stored.
TEST(ImporterNames, BeerJsonKeepsNamesAsStored) {
  const std::vector<file::Water> waters = {{.name = "kp2SL\nW74h", .calcium = 50}};
  TempDir dir;
  testing::Json json;
  ASSERT_NO_FATAL_FAILURE(LoadJson(
      ConvertTo(dir.Write("water.dat", file::DatabaseOf(waters)), OutputFormat::BeerJson), json));
  EXPECT_EQ(json.at("beerjson").at("profiles").at(0).at("name"), "kp2SL\nW74h");
}

}  // namespace
}  // namespace kegverter
