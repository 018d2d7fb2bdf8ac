// BeerJSON documents value by value: every field the writer writes for each kind, compared with
// the value the fixture builder stored (tests/writer_values.h), in the application's own unit,
// the number the shortest text of the stored float (a stored 4.75 is 4.75); and every word,
// code without a word and note line written out in full.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fixture.h"
#include "tests/json.h"
#include "tests/records.h"
#include "tests/writer_values.h"

namespace kegverter {
namespace {

using testing::Json;
namespace file = testing::file;
namespace v = testing::values;
using testing::Bytes;
using testing::TempDir;
using v::Kept;
using v::Shown;

// Writes `bytes` as `name` in `dir` and converts it to BeerJSON; the document (null when none
// was written, which fails the test).
Json Convert(const TempDir& dir, const std::string& name, const Bytes& bytes) {
  const std::string output = v::ConvertTo(dir.Write(name, bytes), OutputFormat::BeerJson);
  EXPECT_FALSE(output.empty()) << name;
  return output.empty() ? Json() : Json::Parse(testing::ReadFile(output));
}

// The element at a '/'-separated path of object keys; null when a key is missing.
Json At(const Json& node, std::string_view path) {
  Json at = node;
  while (!path.empty()) {
    const std::size_t slash = path.find('/');
    const std::string key(path.substr(0, slash));
    if (!at.is_object() || !at.contains(key)) return Json();
    at = at[key];
    path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
  }
  return at;
}

// The records of the document's list, by name; each name once.
std::map<std::string, Json> ByName(const Json& document, const char* list) {
  std::map<std::string, Json> records;
  const Json all = At(document, std::string("beerjson/") + list);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Json record = all.at(i);
    const std::string name = record["name"].is_string() ? record["name"].get_string() : "";
    EXPECT_EQ(records.count(name), 0u) << name;
    records[name] = record;
  }
  return records;
}

// {"unit": unit, "value": value}, the value exactly.
void ExpectQuantity(const Json& record, std::string_view path, std::string_view unit,
                    double value) {
  const Json quantity = At(record, path);
  EXPECT_EQ(At(quantity, "unit"), unit) << path;
  const Json number = At(quantity, "value");
  EXPECT_TRUE(number.is_number()) << path << ": " << quantity;
  if (number.is_number()) {
    EXPECT_EQ(number.get_double(), value) << path;
  }
}

// A text field, or its absence (for an empty text, which BeerJSON leaves out).
void ExpectText(const Json& record, std::string_view path, const std::optional<std::string>& text) {
  const Json value = At(record, path);
  if (text) {
    EXPECT_EQ(value, *text) << path;
  } else {
    EXPECT_TRUE(value.is_null()) << path << ": " << value;
  }
}

std::optional<std::string> Optional(const std::string& text) {
  if (text.empty()) return std::nullopt;
  return text;
}

// Percentages, shares and acids are kept by the source from 0 to 110.
double Percent(float stored) { return Kept(stored, 0, 110); }

TEST(BeerJsonValues, HopVarietiesKeepEveryStoredValue) {
  struct Expected {
    std::optional<std::string> type;
    std::optional<std::string> notes;
  };
  const std::map<std::string, Expected> expected = {
      {"Fuggle", {"aroma", "Earthy and woody\r\nBest for English ales"}},
      {"Magnum", {"bittering", "Clean bitterness"}},
      {"Northdown", {"bittering", "Best for Bitters and porters"}},
      {"Challenger", {"aroma/bittering", "Spicy\r\nBest for Stouts"}},
      {"Mystery", {std::nullopt, "Unlabelled\r\nUse code 7 (no meaning known)"}},
      {"Overflow", {"aroma", "Sloppy entry"}},
  };
  TempDir dir;
  const std::vector<file::Hop> hops = v::SampleHops();
  const auto written = ByName(Convert(dir, "hops.dat", file::DatabaseOf(hops)), "hop_varieties");
  ASSERT_EQ(written.size(), hops.size());
  for (const file::Hop& hop : hops) {
    SCOPED_TRACE(hop.name);
    const Json& h = written.at(hop.name);
    ExpectText(h, "origin", Optional(hop.origin));
    ExpectQuantity(h, "alpha_acid", "%", Shown(hop.alpha_acid));
    if (hop.beta_acid > 0) {
      ExpectQuantity(h, "beta_acid", "%", Shown(hop.beta_acid));
    } else {
      EXPECT_FALSE(h.contains("beta_acid"));
    }
    ExpectText(h, "type", expected.at(hop.name).type);
    ExpectQuantity(h, "percent_lost", "%", Shown(hop.percent_lost));
    ExpectText(h, "substitutes", Optional(hop.substitutes));
    ExpectQuantity(h, "oil_content/humulene", "%", Percent(hop.humulene));
    ExpectQuantity(h, "oil_content/caryophyllene", "%", Percent(hop.caryophyllene));
    ExpectQuantity(h, "oil_content/cohumulone", "%", Percent(hop.cohumulone));
    ExpectQuantity(h, "oil_content/myrcene", "%", Percent(hop.myrcene));
    ExpectText(h, "notes", expected.at(hop.name).notes);
    EXPECT_FALSE(h.contains("inventory"));  // the stock's form is unknown
  }
  // Shares above 100 are kept as stored; beyond the source's 110, or below 0, they read as 0.
  ExpectQuantity(written.at("Overflow"), "alpha_acid", "%", 105.5);
  ExpectQuantity(written.at("Overflow"), "oil_content/myrcene", "%", 0);
  ExpectQuantity(written.at("Overflow"), "oil_content/caryophyllene", "%", 0);
}

TEST(BeerJsonValues, FermentablesKeepEveryStoredValue) {
  struct Expected {
    std::string type;
    bool adjunct = false;  // grain_group "adjunct"
    std::optional<std::string> notes;
  };
  const std::map<std::string, Expected> expected = {
      {"Maris Otter", {"grain", false, "Base malt"}},
      {"Light Extract", {"extract", false, "Spray-dried"}},
      {"Corn Sugar", {"sugar", false, "Dextrose"}},
      {"Flaked Oats", {"other", true, "Body"}},
      {"Code Seven", {"other", false, "type code 7 (no meaning known)"}},
      {"Code Zero", {"other", false, "Unsorted\r\ntype code 0 (no meaning known)"}},
      {"Derived Yield", {"grain", false, "Aromatic"}},
      {"Rich Derived", {"sugar", false, "Candi"}},
      {"Overflow", {"grain", false, "Sloppy"}},
      {"Negative Yields", {"grain", false, std::nullopt}},
  };
  TempDir dir;
  const std::vector<file::Malt> malts = v::SampleMalts();
  const auto written = ByName(Convert(dir, "malt.dat", file::DatabaseOf(malts)), "fermentables");
  ASSERT_EQ(written.size(), malts.size());
  for (const file::Malt& malt : malts) {
    SCOPED_TRACE(malt.name);
    const Json& f = written.at(malt.name);
    const Expected& e = expected.at(malt.name);
    EXPECT_EQ(At(f, "type"), e.type);
    ExpectText(f, "grain_group", e.adjunct ? std::optional<std::string>("adjunct") : std::nullopt);
    ExpectText(f, "origin", Optional(malt.origin));
    ExpectText(f, "producer", Optional(malt.supplier));
    const double fine = Kept(malt.fine_grind_yield, -11, 110);
    const double coarse = Kept(malt.coarse_grind_yield, -11, 110);
    ExpectQuantity(f, "yield/fine_grind", "%", fine);
    ExpectQuantity(f, "yield/coarse_grind", "%", coarse);
    ExpectQuantity(f, "yield/fine_coarse_difference", "%", fine - coarse);
    ExpectQuantity(f, "yield/potential", "sg", Kept(malt.potential, 0, 11));
    ExpectQuantity(f, "color", "Lovi", Kept(malt.color, 0, 2550));
    ExpectQuantity(f, "moisture", "%", Kept(malt.moisture, 0, 11));
    ExpectQuantity(f, "diastatic_power", "Lintner", Kept(malt.diastatic_power, 0, 550));
    ExpectQuantity(f, "protein", "%", Percent(malt.protein));
    ExpectQuantity(f, "max_in_batch", "%", Percent(malt.max_in_batch));
    EXPECT_EQ(At(f, "recommend_mash"), malt.recommend_mash == 1);
    ExpectQuantity(f, "inventory/amount", "lb", Shown(malt.inventory));
    ExpectText(f, "notes", e.notes);
  }
  // Spot checks of the rules above: a difference of the stored yields, a colour beyond the
  // source's range read as 0, no yield derived in BeerJSON (it keeps the potential).
  ExpectQuantity(written.at("Maris Otter"), "yield/fine_coarse_difference", "%", 2.25);
  ExpectQuantity(written.at("Overflow"), "color", "Lovi", 0);
  ExpectQuantity(written.at("Derived Yield"), "yield/fine_grind", "%", 0);
  ExpectQuantity(written.at("Derived Yield"), "yield/potential", "sg", 1.036);
}

TEST(BeerJsonValues, MiscellaneousIngredientsKeepEveryStoredValue) {
  struct Expected {
    std::string type;
    std::string unit;
    double amount;
    std::string notes;
  };
  const std::map<std::string, Expected> expected = {
      {"Coriander Seed", {"spice", "oz", 2.5, "Crush first\r\nAdd to boil for 5 minutes."}},
      {"Cherries", {"other", "cup", 2.25, "Add to secondary for 3 days.\r\nType: fruit"}},
      {"Gypsum", {"other", "g", 250.5, "Add to mash for 60 minutes."}},
      {"Lactose", {"other", "lb", 1.8, "Not fermentable\r\nAdd to boil for 10 minutes."}},
      {"Irish Moss", {"fining", "tsp", 4.5, "Rehydrate first\r\nAdd to boil for 15 minutes."}},
      {"Heather Tips", {"herb", "tbsp", 3.25, "Add to boil for 20 minutes."}},
      {"Sweet Orange Peel",
       {"other", "lb", 0,
        "Add to boil for 5 minutes.\r\nType: fruit\r\n"
        "Inventory as stored: 1.5 by ingredient type"}},
      {"Whirlfloc",
       {"fining", "tsp", 0,
        "Add to boil for 10 minutes.\r\nInventory as stored: 2 by ingredient type"}},
      {"Grains of Paradise",
       {"spice", "oz", 0,
        "Add to boil for 5 minutes.\r\nInventory as stored: 0.75 by ingredient type"}},
      {"Mystery Powder",
       {"other", "unit", 3.5,
        "Add to \r\nType code 9 (no meaning known)\r\n"
        "Inventory: unit code 6 (no meaning known)"}},
      {"Unit Seven",
       {"other", "unit", 1.25,
        "Add to boil for 0 minutes.\r\nInventory: unit code 7 (no meaning known)"}},
      {"Unit Two Hundred",
       {"other", "unit", 4.75,
        "Add to boil for 0 minutes.\r\nInventory: unit code 200 (no meaning known)"}},
      {"Vanilla Extract",
       {"other", "floz", 0,
        "Add at bottling\r\nAdd to secondary for 7 days.\r\nInventory as stored: 5 g"}},
      {"Lemon Extract", {"other", "floz", 2.5, "Add to secondary for 0 days."}},
      {"Almond Extract",
       {"other", "floz", 0, "Add to secondary for 0 days.\r\nInventory as stored: 0.5 lb"}},
      {"Mint Extract",
       {"spice", "floz", 0, "Add to secondary for 0 days.\r\nInventory as stored: 6 tsp"}},
      {"Orange Extract",
       {"other", "floz", 0,
        "Add to secondary for 0 days.\r\nType: fruit\r\nInventory as stored: 1.5 tbsp"}},
      {"Coffee Extract",
       {"other", "floz", 0, "Add to secondary for 0 days.\r\nInventory as stored: 0.25 cup"}},
      {"Rum Extract",
       {"other", "floz", 0,
        "Add to secondary for 0 days.\r\nInventory as stored: 3 in unit code 8"}},
  };
  TempDir dir;
  const std::vector<file::Misc> miscs = v::SampleMiscs();
  const auto written =
      ByName(Convert(dir, "extra.dat", file::DatabaseOf(miscs)), "miscellaneous_ingredients");
  ASSERT_EQ(written.size(), miscs.size());
  for (const file::Misc& misc : miscs) {
    SCOPED_TRACE(misc.ingredient_name);
    const Json& m = written.at(misc.ingredient_name);
    const Expected& e = expected.at(misc.ingredient_name);
    EXPECT_EQ(At(m, "type"), e.type);
    ExpectText(m, "use_for", Optional(misc.usage));
    ExpectQuantity(m, "inventory/amount", e.unit, e.amount);
    // An amount kept in its unit is the stored one.
    if (e.amount != 0) {
      EXPECT_EQ(e.amount, Shown(misc.inventory));
    }
    EXPECT_EQ(At(m, "notes"), e.notes);
    EXPECT_FALSE(m.contains("timing"));  // a database ingredient has none in BeerJSON
  }
}

TEST(BeerJsonValues, StylesKeepEveryStoredValue) {
  struct Expected {
    std::string type;
    std::string letter;
    std::vector<std::string> notes;  // after "Examples: ..."
  };
  const std::map<std::string, Expected> expected = {
      {"Special Bitter", {"beer", "B", {"Style type: ale"}}},
      {"Munich Helles", {"beer", "C", {"Style type: lager"}}},
      {"Common Cider", {"cider", "A", {"Style letter: AB"}}},
      {"Traditional Mead", {"mead", " ", {}}},
      {"Code Four", {"other", "D", {"Style type code 4 (no meaning known)"}}},
      {"Mixed Style", {"beer", "E", {"Style type: mixed"}}},
      {"Code Six", {"other", "F", {"Style type code 6 (no meaning known)"}}},
      {"Overflow", {"beer", "Z", {"Style type: ale"}}},
  };
  TempDir dir;
  const std::vector<file::Style> styles = v::SampleStyles();
  const auto written = ByName(Convert(dir, "styles.dat", file::DatabaseOf(styles)), "styles");
  ASSERT_EQ(written.size(), styles.size());
  for (const file::Style& style : styles) {
    SCOPED_TRACE(style.name);
    const Json& s = written.at(style.category + " - " + style.name);
    const Expected& e = expected.at(style.name);
    EXPECT_EQ(At(s, "category"), style.category);
    EXPECT_EQ(At(s, "category_number"), style.category_number);
    EXPECT_EQ(At(s, "style_letter"), e.letter);
    EXPECT_EQ(At(s, "style_guide"), "BJCP 1999");
    EXPECT_EQ(At(s, "type"), e.type);
    ExpectQuantity(s, "original_gravity/minimum", "sg",
                   Kept(style.original_gravity_min, 0.9, 3, 1));
    ExpectQuantity(s, "original_gravity/maximum", "sg",
                   Kept(style.original_gravity_max, 0.9, 3, 1));
    ExpectQuantity(s, "final_gravity/minimum", "sg", Kept(style.final_gravity_min, 0.9, 3, 1));
    ExpectQuantity(s, "final_gravity/maximum", "sg", Kept(style.final_gravity_max, 0.9, 3, 1));
    ExpectQuantity(s, "international_bitterness_units/minimum", "IBUs",
                   Percent(style.bitterness_min));
    ExpectQuantity(s, "international_bitterness_units/maximum", "IBUs",
                   Percent(style.bitterness_max));
    ExpectQuantity(s, "color/minimum", "SRM", Kept(style.color_min, 0, 5000));
    ExpectQuantity(s, "color/maximum", "SRM", Kept(style.color_max, 0, 5000));
    ExpectQuantity(s, "alcohol_by_volume/minimum", "%", Percent(style.alcohol_min));
    ExpectQuantity(s, "alcohol_by_volume/maximum", "%", Percent(style.alcohol_max));
    ExpectText(s, "appearance", Optional(style.color_description));
    EXPECT_EQ(At(s, "flavor"), "Malt: " + style.malt_description +
                                   "\r\nHops: " + style.hops_description +
                                   "\r\nYeast: " + style.yeast_description);
    std::string notes = style.notes.empty() ? "" : "Examples: " + style.notes;
    for (const std::string& line : e.notes) notes += (notes.empty() ? "" : "\r\n") + line;
    ExpectText(s, "notes", Optional(notes));
  }
  // A gravity given in points, beyond the source's range, reads as 1.0; one of 2.5 is kept.
  ExpectQuantity(written.at("Strong Ale - Overflow"), "original_gravity/minimum", "sg", 1);
  ExpectQuantity(written.at("Strong Ale - Overflow"), "original_gravity/maximum", "sg", 2.5);
  ExpectQuantity(written.at("Strong Ale - Overflow"), "color/maximum", "SRM", 400);
}

// The ions of a profile, the same in a database, a '.wtr' file and a recipe.
void ExpectIons(const Json& w, const file::Water& water) {
  const auto ion = [](float stored) { return Kept(stored, 0, 100000); };
  ExpectQuantity(w, "calcium", "ppm", ion(water.calcium));
  ExpectQuantity(w, "magnesium", "ppm", ion(water.magnesium));
  ExpectQuantity(w, "sodium", "ppm", ion(water.sodium));
  ExpectQuantity(w, "sulfate", "ppm", ion(water.sulfate));
  ExpectQuantity(w, "chloride", "ppm", ion(water.chloride));
  ExpectQuantity(w, "bicarbonate", "ppm", ion(water.bicarbonate));
}

TEST(BeerJsonValues, WaterProfilesKeepEveryStoredValue) {
  TempDir dir;
  const std::vector<file::Water> waters = v::SampleWaters();
  const auto written = ByName(Convert(dir, "water.dat", file::DatabaseOf(waters)), "profiles");
  ASSERT_EQ(written.size(), waters.size());
  for (const file::Water& water : waters) {
    SCOPED_TRACE(water.name);
    const Json& w = written.at(water.name);
    ExpectIons(w, water);
    EXPECT_EQ(At(w, "pH"), Kept(water.ph, 0, 20, 7));
    ExpectText(w, "notes", Optional(water.notes));
  }
  ExpectQuantity(written.at("Burton"), "sulfate", "ppm", 638.5);  // not the unread 999 before it
  ExpectQuantity(written.at("Broken Meter"), "chloride", "ppm", 0);
  EXPECT_EQ(At(written.at("Alkaline Spring"), "pH"), 15.5);
  EXPECT_EQ(At(written.at("Broken Meter"), "pH"), 7);

  const file::Water& wtr = waters.front();
  const auto profile = ByName(Convert(dir, "Burton.wtr", file::ToBytes(wtr)), "profiles");
  ASSERT_EQ(profile.size(), 1u);
  ExpectIons(profile.at(wtr.name), wtr);
  EXPECT_EQ(At(profile.at(wtr.name), "pH"), Shown(wtr.ph));
  EXPECT_EQ(At(profile.at(wtr.name), "notes"), wtr.notes);
}

TEST(BeerJsonValues, CulturesKeepEveryStoredValue) {
  struct Expected {
    std::string type;
    std::string form;
    std::optional<std::string> flocculation;
    std::optional<std::string> notes;
  };
  const std::map<std::string, Expected> expected = {
      {"Clean Ale", {"ale", "liquid", "medium", "Neutral"}},
      {"English Ale", {"ale", "dry", "high", "Fruity"}},
      {"Bohemian Lager", {"lager", "slant", "low", "Malty"}},
      {"White Wine", {"wine", "liquid", "low", std::nullopt}},
      {"Champagne", {"champagne", "dry", "high", std::nullopt}},
      {"Code Eight",
       {"other", "liquid", std::nullopt,
        "Unknown strain\r\ntype code 8 (no meaning known)\r\nform code 9 (no meaning known)\r\n"
        "Flocculation code 5 (no meaning known)"}},
  };
  TempDir dir;
  const std::vector<file::Yeast> yeasts = v::SampleYeasts();
  const auto written = ByName(Convert(dir, "yeast.dat", file::DatabaseOf(yeasts)), "cultures");
  ASSERT_EQ(written.size(), yeasts.size());
  for (const file::Yeast& yeast : yeasts) {
    SCOPED_TRACE(yeast.name);
    const Json& c = written.at(yeast.name);
    const Expected& e = expected.at(yeast.name);
    EXPECT_EQ(At(c, "type"), e.type);
    EXPECT_EQ(At(c, "form"), e.form);
    ExpectText(c, "producer", Optional(yeast.laboratory));
    ExpectText(c, "product_id", Optional(yeast.product_id));
    ExpectQuantity(c, "temperature_range/minimum", "F", Shown(yeast.temperature));
    ExpectQuantity(c, "temperature_range/maximum", "F", Shown(yeast.temperature));
    ExpectText(c, "flocculation", e.flocculation);
    ExpectQuantity(c, "attenuation_range/minimum", "%", yeast.attenuation_low);
    ExpectQuantity(c, "attenuation_range/maximum", "%", yeast.attenuation_high);
    ExpectText(c, "notes", e.notes);
    ExpectText(c, "best_for", Optional(yeast.best_for));
  }
}

TEST(BeerJsonValues, AMashScheduleKeepsEveryStepOfAKnownKind) {
  TempDir dir;
  const file::MashSchedule schedule = v::SampleMashSchedule();
  const Json document = Convert(dir, "Values.msh", file::ToBytes(schedule));
  const Json mash = At(document, "beerjson/mashes").at(0);
  EXPECT_EQ(At(mash, "name"), schedule.name);
  ExpectQuantity(mash, "grain_temperature", "F", 68.5);
  EXPECT_EQ(At(mash, "notes"), "Step \"Odd\" left out: kind code 7 (no meaning known)");
  const Json steps = At(mash, "mash_steps");
  ASSERT_EQ(steps.size(), 3u);
  const std::string kinds[] = {"infusion", "temperature", "decoction"};
  const file::MashStep* sources[] = {&schedule.steps[0], &schedule.steps[1], &schedule.steps[3]};
  for (std::size_t i = 0; i < 3; ++i) {
    const file::MashStep& step = *sources[i];
    const Json& s = steps.at(i);
    SCOPED_TRACE(step.name);
    EXPECT_EQ(At(s, "name"), step.name);
    EXPECT_EQ(At(s, "type"), kinds[i]);
    ExpectQuantity(s, "step_temperature", "F", step.step_temperature);
    ExpectQuantity(s, "end_temperature", "F", step.end_temperature);
    ExpectQuantity(s, "step_time", "min", step.step_time);
    ExpectQuantity(s, "ramp_time", "min", step.ramp_time);
    if (step.type == 1) {
      EXPECT_FALSE(s.contains("amount"));
    } else {
      ExpectQuantity(s, "amount", "qt", Shown(step.step_amount));
    }
    if (step.type == 0) {
      ExpectQuantity(s, "water_grain_ratio", "qt/lb", Shown(step.water_grain_ratio));
      ExpectQuantity(s, "infuse_temperature", "F", step.infuse_temperature);
    } else {
      EXPECT_FALSE(s.contains("water_grain_ratio"));
      EXPECT_FALSE(s.contains("infuse_temperature"));
    }
  }
}

TEST(BeerJsonValues, ARecipeKeepsEveryAddition) {
  TempDir dir;
  const file::Recipe source = v::SampleRecipe();
  const Json document = Convert(dir, "Values Ale.rec", file::ToBytes(source));
  const Json recipe = At(document, "beerjson/recipes").at(0);
  EXPECT_EQ(At(recipe, "name"), "Values Ale");
  EXPECT_EQ(At(recipe, "type"), "partial mash");
  EXPECT_EQ(At(recipe, "author"), "");
  ExpectQuantity(recipe, "batch_size", "gal", 5.25);
  ExpectQuantity(recipe, "boil/pre_boil_size", "gal", 6.5);
  ExpectQuantity(recipe, "boil/boil_time", "min", 75);
  ExpectQuantity(recipe, "efficiency/brewhouse", "%", 72);  // a stored fraction 0.72
  ExpectQuantity(recipe, "original_gravity", "sg", 1.052);  // 1 + 0.001 x 52 points
  EXPECT_EQ(At(recipe, "ibu_estimate/method"), "Other");
  EXPECT_EQ(At(recipe, "style/name"), "Best Bitter");
  EXPECT_EQ(At(recipe, "style/category"), "English Pale Ale");
  EXPECT_EQ(At(recipe, "style/category_number"), 8);
  EXPECT_EQ(At(recipe, "style/style_letter"), "B");
  EXPECT_EQ(At(recipe, "style/style_guide"), "BJCP 1999");
  EXPECT_EQ(At(recipe, "style/type"), "beer");
  EXPECT_EQ(At(recipe, "notes"),
            "Brewed for the value tests\r\nStyle type: ale\r\nBitterness: 38.5 IBUs (estimated)");

  const Json fermentables = At(recipe, "ingredients/fermentable_additions");
  ASSERT_EQ(fermentables.size(), 2u);
  const Json& otter = fermentables.at(0);
  EXPECT_EQ(At(otter, "name"), "Maris Otter");
  EXPECT_EQ(At(otter, "type"), "grain");
  EXPECT_EQ(At(otter, "origin"), "England");
  EXPECT_EQ(At(otter, "producer"), "Crisp");
  ExpectQuantity(otter, "yield/fine_grind", "%", 81.5);
  ExpectQuantity(otter, "yield/coarse_grind", "%", 79.25);
  ExpectQuantity(otter, "yield/fine_coarse_difference", "%", 2.25);
  ExpectQuantity(otter, "yield/potential", "sg", 1.038);
  ExpectQuantity(otter, "color", "Lovi", 3.75);
  ExpectQuantity(otter, "amount", "lb", 9.25);
  const Json& oats = fermentables.at(1);
  EXPECT_EQ(At(oats, "type"), "other");
  EXPECT_EQ(At(oats, "grain_group"), "adjunct");
  ExpectQuantity(oats, "yield/potential", "sg", 1.033);
  ExpectQuantity(oats, "color", "Lovi", 1.25);
  ExpectQuantity(oats, "amount", "lb", 0.75);

  // Boil hops: the recipe's alpha acid, the form from the type code's top bits.
  const Json hops = At(recipe, "ingredients/hop_additions");
  ASSERT_EQ(hops.size(), 3u);
  const std::string forms[] = {"pellet", "leaf", "plug"};
  for (std::size_t i = 0; i < 3; ++i) {
    const file::HopAddition& hop = source.hops[i];
    const Json& h = hops.at(i);
    SCOPED_TRACE(hop.name);
    EXPECT_EQ(At(h, "name"), hop.name);
    ExpectText(h, "origin", Optional(hop.origin));
    EXPECT_EQ(At(h, "form"), forms[i]);
    ExpectQuantity(h, "alpha_acid", "%", Shown(hop.alpha));
    if (hop.beta_acid > 0) {
      ExpectQuantity(h, "beta_acid", "%", Shown(hop.beta_acid));
    } else {
      EXPECT_FALSE(h.contains("beta_acid"));
    }
    ExpectQuantity(h, "amount", "oz", Shown(hop.amount));
    EXPECT_EQ(At(h, "timing/use"), "add_to_boil");
    ExpectQuantity(h, "timing/duration", "min", hop.addition_time);
  }
  ExpectQuantity(hops.at(0), "alpha_acid", "%", 13.25);  // not the variety's 14.25

  const Json miscs = At(recipe, "ingredients/miscellaneous_additions");
  ASSERT_EQ(miscs.size(), 3u);
  EXPECT_EQ(At(miscs.at(0), "name"), "Irish Moss");
  EXPECT_EQ(At(miscs.at(0), "type"), "fining");
  ExpectQuantity(miscs.at(0), "amount", "tsp", 1.25);
  EXPECT_EQ(At(miscs.at(0), "timing/use"), "add_to_boil");
  ExpectQuantity(miscs.at(0), "timing/duration", "min", 15);
  EXPECT_EQ(At(miscs.at(1), "type"), "other");
  ExpectQuantity(miscs.at(1), "amount", "g", 5.5);
  EXPECT_EQ(At(miscs.at(1), "timing/use"), "add_to_mash");
  ExpectQuantity(miscs.at(1), "timing/duration", "min", 60);
  ExpectQuantity(miscs.at(2), "amount", "lb", 0.5);
  EXPECT_EQ(At(miscs.at(2), "timing/use"), "add_to_fermentation");
  ExpectQuantity(miscs.at(2), "timing/duration", "day", 2);

  const Json culture = At(recipe, "ingredients/culture_additions").at(0);
  EXPECT_EQ(At(culture, "name"), "English Ale");
  EXPECT_EQ(At(culture, "type"), "ale");
  EXPECT_EQ(At(culture, "form"), "dry");
  EXPECT_EQ(At(culture, "producer"), "Example Labs");
  EXPECT_EQ(At(culture, "product_id"), "EL-002");
  ExpectQuantity(culture, "amount", "g", 0);        // no quantity kept; a dry yeast in grams
  ExpectQuantity(culture, "attenuation", "%", 70);  // the mean of 68 and 72

  const Json water = At(recipe, "ingredients/water_additions").at(0);
  EXPECT_EQ(At(water, "name"), "Burton");
  ExpectIons(water, source.water);
  ExpectQuantity(water, "amount", "gal", 6.5);  // as much as the recipe boils

  const Json mash = At(recipe, "mash");
  EXPECT_EQ(At(mash, "name"), "Recipe Mash");
  ExpectQuantity(mash, "grain_temperature", "F", 70);
  const Json steps = At(mash, "mash_steps");
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(At(steps.at(0), "type"), "infusion");
  ExpectQuantity(steps.at(0), "amount", "qt", 15);
  ExpectQuantity(steps.at(0), "end_temperature", "F", 150);
  ExpectQuantity(steps.at(0), "infuse_temperature", "F", 164);
  ExpectQuantity(steps.at(0), "water_grain_ratio", "qt/lb", 1.5);
  EXPECT_EQ(At(steps.at(1), "type"), "temperature");
  ExpectQuantity(steps.at(1), "step_temperature", "F", 168);
}

TEST(BeerJsonValues, EveryRecipeTypeHasItsWord) {
  const std::pair<std::uint8_t, const char*> types[] = {
      {0, "all grain"}, {1, "partial mash"}, {2, "extract"}};
  for (const auto& [code, word] : types) {
    file::Recipe recipe;
    recipe.header = {.name = "Typed", .recipe_type = code};
    TempDir dir;
    const Json document = Convert(dir, "Typed.rec", file::ToBytes(recipe));
    EXPECT_EQ(At(document, "beerjson/recipes").at(0)["type"], word) << int{code};
  }
}

}  // namespace
}  // namespace kegverter
