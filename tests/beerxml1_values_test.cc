// BeerXML 1.0 documents value by value: every element the writer writes for each kind, compared
// with the value the fixture builder stored (tests/writer_values.h), converted to the standard's
// metric unit as docs/formats.md states it and written to 9 significant digits in plain decimal
// notation; values beyond the bounds importers validate written as the bound, with the stored
// value in the notes; every word, code without a word and note line written out in full.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "tests/fixture.h"
#include "tests/records.h"
#include "tests/writer_values.h"

namespace kegverter {
namespace {

namespace file = testing::file;
namespace v = testing::values;
using testing::Bytes;
using testing::TempDir;
using v::Celsius;
using v::Kept;
using v::Shown;

// A converted document and its root, the plural list.
struct Document {
  pugi::xml_document xml;
  pugi::xml_node root;
};

// Writes `bytes` as `name` in `dir`, converts it to BeerXML 1.0 and parses the output; fails
// the test unless it is well-formed.
void Convert(const TempDir& dir, const std::string& name, const Bytes& bytes, Document& out) {
  const std::string output = v::ConvertTo(dir.Write(name, bytes), OutputFormat::BeerXml1);
  ASSERT_FALSE(output.empty()) << name;
  const std::string text = testing::ReadFile(output);
  // A text of blanks alone is kept: a style letter may be one blank.
  const pugi::xml_parse_result parsed =
      out.xml.load_string(text.c_str(), pugi::parse_default | pugi::parse_ws_pcdata_single);
  ASSERT_TRUE(parsed) << parsed.description();
  out.root = out.xml.document_element();
}

// The records of the list, by NAME; each name once.
std::map<std::string, pugi::xml_node> ByName(pugi::xml_node list, const char* element) {
  std::map<std::string, pugi::xml_node> records;
  for (pugi::xml_node record : list.children(element)) {
    const std::string name = record.child_value("NAME");
    EXPECT_EQ(records.count(name), 0u) << name;
    records[name] = record;
  }
  return records;
}

// `value` held to [low, high], as BeerXML 1.0 writes a value beyond the bounds importers take.
double Within(double value, double low, double high) { return std::clamp(value, low, high); }

// Percentages, shares and acids are kept by the source from 0 to 110, and BeerXML 1.0 takes
// them from 0 to 100.
double Percent(float stored) { return Within(Kept(stored, 0, 110), 0, 100); }

// The number at the start of `text`: plain decimal notation, `expected` to 9 significant digits.
void ExpectNumberText(const std::string& text, double expected, const std::string& what) {
  EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << what << ": " << text;
  EXPECT_FALSE(text.empty()) << what;
  EXPECT_EQ(std::strtod(text.c_str(), nullptr), v::NineDigits(expected))
      << what << ": " << text << ", expected " << expected;
}

// The element's number.
void ExpectDecimal(pugi::xml_node node, const char* element, double expected) {
  EXPECT_TRUE(node.child(element)) << element << " missing";
  ExpectNumberText(node.child_value(element), expected, element);
}

// The element's text; nullopt: the element is left out.
void ExpectText(pugi::xml_node node, const char* element, const std::optional<std::string>& text) {
  if (text) {
    EXPECT_TRUE(node.child(element)) << element << " missing";
    EXPECT_EQ(node.child_value(element), *text) << element;
  } else {
    EXPECT_FALSE(node.child(element)) << element << " written: " << node.child_value(element);
  }
}

const char* Bool(bool value) { return value ? "TRUE" : "FALSE"; }

TEST(BeerXml1Values, HopVarietiesHoldEveryStoredValueInBounds) {
  struct Expected {
    std::optional<std::string> type;
    std::string notes;
  };
  const std::map<std::string, Expected> expected = {
      {"Fuggle", {"Aroma", "Earthy and woody\r\nBest for English ales"}},
      {"Magnum", {"Bittering", "Clean bitterness"}},
      {"Northdown", {"Bittering", "Best for Bitters and porters"}},
      {"Challenger", {"Both", "Spicy\r\nBest for Stouts"}},
      {"Mystery", {std::nullopt, "Unlabelled\r\nUse code 7 (no meaning known)"}},
      {"Overflow",
       {"Aroma",
        "Sloppy entry\r\nAlpha acid as stored: 105.5 %\r\nBeta acid as stored: 104.25 %\r\n"
        "Percent lost as stored: 102.5 %\r\nHumulene as stored: 101.75 %"}},
  };
  TempDir dir;
  const std::vector<file::Hop> hops = v::SampleHops();
  Document document;
  ASSERT_NO_FATAL_FAILURE(Convert(dir, "hops.dat", file::DatabaseOf(hops), document));
  EXPECT_STREQ(document.root.name(), "HOPS");
  const auto written = ByName(document.root, "HOP");
  ASSERT_EQ(written.size(), hops.size());
  for (const file::Hop& hop : hops) {
    SCOPED_TRACE(hop.name);
    const pugi::xml_node h = written.at(hop.name);
    ExpectText(h, "VERSION", "1");
    ExpectDecimal(h, "ALPHA", Percent(hop.alpha_acid));
    if (hop.beta_acid > 0) {
      ExpectDecimal(h, "BETA", Percent(hop.beta_acid));
    } else {
      ExpectText(h, "BETA", std::nullopt);
    }
    // A variety has no amount and no timing; the standard requires them.
    ExpectText(h, "AMOUNT", "0");
    ExpectText(h, "USE", "Boil");
    ExpectText(h, "TIME", "0");
    ExpectText(h, "TYPE", expected.at(hop.name).type);
    ExpectText(h, "FORM", std::nullopt);
    ExpectDecimal(h, "HSI", Percent(hop.percent_lost));
    ExpectText(h, "ORIGIN", hop.origin);
    ExpectText(h, "SUBSTITUTES", hop.substitutes);
    ExpectDecimal(h, "HUMULENE", Percent(hop.humulene));
    ExpectDecimal(h, "CARYOPHYLLENE", Percent(hop.caryophyllene));
    ExpectDecimal(h, "COHUMULONE", Percent(hop.cohumulone));
    ExpectDecimal(h, "MYRCENE", Percent(hop.myrcene));
    ExpectText(h, "NOTES", expected.at(hop.name).notes);
  }
  EXPECT_STREQ(written.at("Overflow").child_value("ALPHA"), "100");
  EXPECT_STREQ(written.at("Overflow").child_value("MYRCENE"), "0");  // beyond the source's 110
  EXPECT_STREQ(written.at("Fuggle").child_value("MYRCENE"), "42.25");
}

// BeerXML 1.0 has no potential: a fermentable without a stored yield gets the yield of its
// potential as a share of sucrose's (1.046214): (potential - 1) / 0.046214 x 100.
double YieldFromPotential(double potential) { return (potential - 1) / 0.046214 * 100; }

TEST(BeerXml1Values, FermentablesHoldEveryStoredValueInBoundsAndAYieldWhereNoneIsStored) {
  struct Expected {
    std::string type;
    std::vector<std::string> notes;  // lines; one ending in "..." is compared up to there
  };
  const std::map<std::string, Expected> expected = {
      {"Maris Otter", {"Grain", {"Base malt", "Potential: 1.038 SG"}}},
      {"Light Extract", {"Extract", {"Spray-dried", "Potential: 1.044 SG"}}},
      {"Corn Sugar", {"Sugar", {"Dextrose", "Potential: 1.046 SG"}}},
      {"Flaked Oats", {"Adjunct", {"Body", "Potential: 1.033 SG"}}},
      {"Code Seven", {"Adjunct", {"Type code 7 (no meaning known)", "Potential: 1.03 SG"}}},
      {"Code Zero",
       {"Adjunct", {"Unsorted", "Type code 0 (no meaning known)", "Potential: 1.031 SG"}}},
      {"Derived Yield", {"Grain", {"Aromatic", "Yield derived from potential 1.036 SG"}}},
      {"Rich Derived",
       {"Sugar",
        {"Candi", "Yield derived from potential 1.05 SG",
         "Yield derived from potential as stored: 108.1923..."}}},
      {"Overflow",
       {"Grain",
        {"Sloppy", "Potential: 1.04 SG", "Fine grind yield as stored: 105.5 %",
         "Coarse/fine difference as stored: 103 %", "Protein as stored: 101.25 %",
         "Max in batch as stored: 104.5 %"}}},
      {"Negative Yields", {"Grain", {"Potential: 0 SG", "Fine grind yield as stored: -5.5 %"}}},
  };
  TempDir dir;
  const std::vector<file::Malt> malts = v::SampleMalts();
  Document document;
  ASSERT_NO_FATAL_FAILURE(Convert(dir, "malt.dat", file::DatabaseOf(malts), document));
  EXPECT_STREQ(document.root.name(), "FERMENTABLES");
  const auto written = ByName(document.root, "FERMENTABLE");
  ASSERT_EQ(written.size(), malts.size());
  for (const file::Malt& malt : malts) {
    SCOPED_TRACE(malt.name);
    const pugi::xml_node f = written.at(malt.name);
    const Expected& e = expected.at(malt.name);
    ExpectText(f, "VERSION", "1");
    ExpectText(f, "TYPE", e.type);
    ExpectText(f, "AMOUNT", "0");  // a database fermentable has none; the standard wants one
    const double fine = Kept(malt.fine_grind_yield, -11, 110);
    const double coarse = Kept(malt.coarse_grind_yield, -11, 110);
    const double potential = Kept(malt.potential, 0, 11);
    const double yield = fine > 0 || potential <= 1 ? fine : YieldFromPotential(potential);
    ExpectDecimal(f, "YIELD", Within(yield, 0, 100));
    ExpectDecimal(f, "COARSE_FINE_DIFF", Within(fine - coarse, 0, 100));
    ExpectDecimal(f, "COLOR", Kept(malt.color, 0, 2550));
    ExpectText(f, "ORIGIN", malt.origin);
    ExpectText(f, "SUPPLIER", malt.supplier);
    ExpectDecimal(f, "MOISTURE", Kept(malt.moisture, 0, 11));
    ExpectDecimal(f, "DIASTATIC_POWER", Kept(malt.diastatic_power, 0, 550));
    ExpectDecimal(f, "PROTEIN", Percent(malt.protein));
    ExpectDecimal(f, "MAX_IN_BATCH", Percent(malt.max_in_batch));
    ExpectText(f, "RECOMMEND_MASH", Bool(malt.recommend_mash == 1));
    ExpectDecimal(f, "INVENTORY", Shown(malt.inventory) * v::kKilogramsPerPound);
    std::vector<std::string> lines;
    std::string notes = f.child_value("NOTES");
    for (std::size_t start = 0; start <= notes.size();) {
      const std::size_t end = std::min(notes.find("\r\n", start), notes.size());
      lines.push_back(notes.substr(start, end - start));
      start = end + 2;
    }
    ASSERT_EQ(lines.size(), e.notes.size()) << notes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = e.notes[i];
      if (line.ends_with("...")) {
        EXPECT_TRUE(lines[i].starts_with(line.substr(0, line.size() - 3))) << lines[i];
        EXPECT_TRUE(lines[i].ends_with(" %")) << lines[i];
      } else {
        EXPECT_EQ(lines[i], line);
      }
    }
  }
  // The derived yield in full, and the conversions of docs/formats.md spelt out.
  EXPECT_STREQ(written.at("Derived Yield").child_value("YIELD"), "77.8984723");
  EXPECT_STREQ(written.at("Rich Derived").child_value("YIELD"), "100");
  EXPECT_STREQ(written.at("Maris Otter").child_value("INVENTORY"), "25.0609784");
  EXPECT_STREQ(written.at("Overflow").child_value("COLOR"), "0");  // beyond the source's 2550
}

TEST(BeerXml1Values, MiscellaneousIngredientsHoldEveryStoredValueInMetricUnits) {
  struct Expected {
    std::string type;
    std::string use;
    double time;
    double amount;  // kg or L
    bool weight;
    std::string notes;
  };
  const double days = v::kMinutesPerDay;
  const std::map<std::string, Expected> expected = {
      {"Coriander Seed",
       {"Spice", "Boil", 5, 2.5 * v::kKilogramsPerOunce, true,
        "Crush first\r\nAdd to boil for 5 minutes."}},
      {"Cherries",
       {"Other", "Secondary", 3 * days, 2.25 * v::kLitresPerCup, false,
        "Add to secondary for 3 days.\r\nType: fruit"}},
      {"Gypsum",
       {"Other", "Mash", 60, 250.5 * v::kKilogramsPerGram, true, "Add to mash for 60 minutes."}},
      {"Lactose",
       {"Other", "Boil", 10, 1.8 * v::kKilogramsPerPound, true,
        "Not fermentable\r\nAdd to boil for 10 minutes."}},
      {"Irish Moss",
       {"Fining", "Boil", 15, 4.5 * v::kLitresPerTeaspoon, false,
        "Rehydrate first\r\nAdd to boil for 15 minutes."}},
      {"Heather Tips",
       {"Herb", "Boil", 20, 3.25 * v::kLitresPerTablespoon, false, "Add to boil for 20 minutes."}},
      {"Sweet Orange Peel",
       {"Other", "Boil", 5, 0, true,
        "Add to boil for 5 minutes.\r\nType: fruit\r\nInventory as stored: 1.5 (unit code 6)"}},
      {"Whirlfloc",
       {"Fining", "Boil", 10, 0, false,
        "Add to boil for 10 minutes.\r\nInventory as stored: 2 (unit code 6)"}},
      {"Grains of Paradise",
       {"Spice", "Boil", 5, 0, true,
        "Add to boil for 5 minutes.\r\nInventory as stored: 0.75 (unit code 6)"}},
      {"Mystery Powder",
       {"Other", "Boil", 0, 0, true,
        "Add to \r\nType code 9 (no meaning known)\r\nUse code 7 (no meaning known)\r\n"
        "Inventory: unit code 6 (no meaning known)"}},
      {"Unit Seven",
       {"Other", "Boil", 0, 0, true,
        "Add to boil for 0 minutes.\r\nInventory: unit code 7 (no meaning known)"}},
      {"Unit Two Hundred",
       {"Other", "Boil", 0, 0, true,
        "Add to boil for 0 minutes.\r\nInventory: unit code 200 (no meaning known)"}},
      {"Vanilla Extract",
       {"Other", "Secondary", 7 * days, 0, false,
        "Add at bottling\r\nAdd to secondary for 7 days.\r\nInventory as stored: 5 (unit code 1)"}},
      {"Lemon Extract",
       {"Other", "Secondary", 0, 2.5 * v::kLitresPerFluidOunce, false,
        "Add to secondary for 0 days."}},
      {"Almond Extract",
       {"Other", "Secondary", 0, 0, false,
        "Add to secondary for 0 days.\r\nInventory as stored: 0.5 (unit code 2)"}},
      {"Mint Extract",
       {"Spice", "Secondary", 0, 0, false,
        "Add to secondary for 0 days.\r\nInventory as stored: 6 (unit code 3)"}},
      {"Orange Extract",
       {"Other", "Secondary", 0, 0, false,
        "Add to secondary for 0 days.\r\nType: fruit\r\nInventory as stored: 1.5 (unit code 4)"}},
      {"Coffee Extract",
       {"Other", "Secondary", 0, 0, false,
        "Add to secondary for 0 days.\r\nInventory as stored: 0.25 (unit code 5)"}},
      {"Rum Extract",
       {"Other", "Secondary", 0, 0, false,
        "Add to secondary for 0 days.\r\nInventory as stored: 3 (unit code 8)"}},
  };
  TempDir dir;
  const std::vector<file::Misc> miscs = v::SampleMiscs();
  Document document;
  ASSERT_NO_FATAL_FAILURE(Convert(dir, "extra.dat", file::DatabaseOf(miscs), document));
  EXPECT_STREQ(document.root.name(), "MISCS");
  const auto written = ByName(document.root, "MISC");
  ASSERT_EQ(written.size(), miscs.size());
  for (const file::Misc& misc : miscs) {
    SCOPED_TRACE(misc.ingredient_name);
    const pugi::xml_node m = written.at(misc.ingredient_name);
    const Expected& e = expected.at(misc.ingredient_name);
    ExpectText(m, "VERSION", "1");
    ExpectText(m, "TYPE", e.type);
    ExpectText(m, "USE", e.use);
    ExpectDecimal(m, "TIME", e.time);
    ExpectDecimal(m, "AMOUNT", e.amount);
    ExpectText(m, "AMOUNT_IS_WEIGHT", Bool(e.weight));
    ExpectText(m, "USE_FOR", misc.usage);
    ExpectText(m, "NOTES", e.notes);
  }
  // The conversions of docs/formats.md spelt out.
  EXPECT_STREQ(written.at("Lactose").child_value("AMOUNT"), "0.816466266");
  EXPECT_STREQ(written.at("Irish Moss").child_value("AMOUNT"), "0.0221801472");
  EXPECT_STREQ(written.at("Cherries").child_value("TIME"), "4320");
}

TEST(BeerXml1Values, StylesHoldEveryStoredValueInBounds) {
  struct Expected {
    std::string type;
    std::string letter;
    std::string notes;
  };
  const std::map<std::string, Expected> expected = {
      {"Special Bitter", {"Ale", "B", ""}},
      {"Munich Helles", {"Lager", "C", ""}},
      {"Common Cider", {"Cider", "AB", ""}},
      {"Traditional Mead", {"Mead", " ", ""}},
      {"Code Four", {"Ale", "D", "Type code 4 (no meaning known)"}},
      {"Mixed Style", {"Mixed", "E", ""}},
      {"Code Six", {"Ale", "F", "Type code 6 (no meaning known)"}},
      {"Overflow",
       {"Ale", "Z",
        "OG maximum as stored: 2.5 sg\r\nColor maximum as stored: 400 SRM\r\n"
        "ABV maximum as stored: 105.5 %"}},
  };
  TempDir dir;
  const std::vector<file::Style> styles = v::SampleStyles();
  Document document;
  ASSERT_NO_FATAL_FAILURE(Convert(dir, "styles.dat", file::DatabaseOf(styles), document));
  EXPECT_STREQ(document.root.name(), "STYLES");
  const auto written = ByName(document.root, "STYLE");
  ASSERT_EQ(written.size(), styles.size());
  const auto gravity = [](float stored) { return Within(Kept(stored, 0.9, 3, 1), 0.9, 2); };
  const auto color = [](float stored) { return Within(Kept(stored, 0, 5000), 0, 300); };
  for (const file::Style& style : styles) {
    SCOPED_TRACE(style.name);
    const pugi::xml_node s = written.at(style.category + " - " + style.name);
    const Expected& e = expected.at(style.name);
    ExpectText(s, "CATEGORY", style.category);
    ExpectText(s, "VERSION", "1");
    ExpectText(s, "CATEGORY_NUMBER", std::to_string(style.category_number));
    ExpectText(s, "STYLE_LETTER", e.letter);
    ExpectText(s, "STYLE_GUIDE", "BJCP 1999");
    ExpectText(s, "TYPE", e.type);
    ExpectDecimal(s, "OG_MIN", gravity(style.original_gravity_min));
    ExpectDecimal(s, "OG_MAX", gravity(style.original_gravity_max));
    ExpectDecimal(s, "FG_MIN", gravity(style.final_gravity_min));
    ExpectDecimal(s, "FG_MAX", gravity(style.final_gravity_max));
    // The source keeps bitterness up to 110, within the schema's 5000.
    ExpectDecimal(s, "IBU_MIN", Kept(style.bitterness_min, 0, 110));
    ExpectDecimal(s, "IBU_MAX", Kept(style.bitterness_max, 0, 110));
    ExpectDecimal(s, "COLOR_MIN", color(style.color_min));
    ExpectDecimal(s, "COLOR_MAX", color(style.color_max));
    ExpectDecimal(s, "ABV_MIN", Percent(style.alcohol_min));
    ExpectDecimal(s, "ABV_MAX", Percent(style.alcohol_max));
    ExpectText(s, "NOTES", e.notes);
    ExpectText(s, "PROFILE",
               "Malt: " + style.malt_description + "\r\nHops: " + style.hops_description +
                   "\r\nColor: " + style.color_description +
                   "\r\nYeast: " + style.yeast_description);
    ExpectText(s, "EXAMPLES", style.notes);
  }
  const pugi::xml_node overflow = written.at("Strong Ale - Overflow");
  EXPECT_STREQ(overflow.child_value("OG_MIN"), "1");  // gravity points: beyond the source's 3.0
  EXPECT_STREQ(overflow.child_value("OG_MAX"), "2");
  EXPECT_STREQ(overflow.child_value("COLOR_MAX"), "300");
  EXPECT_STREQ(overflow.child_value("FG_MIN"), "0.95");
}

// The ions and pH of a profile, the same in a database, a '.wtr' file and a recipe.
void ExpectWater(pugi::xml_node w, const file::Water& water) {
  const auto ion = [](float stored) { return Kept(stored, 0, 100000); };
  ExpectText(w, "VERSION", "1");
  ExpectDecimal(w, "CALCIUM", ion(water.calcium));
  ExpectDecimal(w, "MAGNESIUM", ion(water.magnesium));
  ExpectDecimal(w, "SODIUM", ion(water.sodium));
  ExpectDecimal(w, "SULFATE", ion(water.sulfate));
  ExpectDecimal(w, "CHLORIDE", ion(water.chloride));
  ExpectDecimal(w, "BICARBONATE", ion(water.bicarbonate));
  ExpectDecimal(w, "PH", Within(Kept(water.ph, 0, 20, 7), 0, 14));
}

TEST(BeerXml1Values, WaterProfilesHoldEveryStoredValueInBounds) {
  TempDir dir;
  const std::vector<file::Water> waters = v::SampleWaters();
  Document document;
  ASSERT_NO_FATAL_FAILURE(Convert(dir, "water.dat", file::DatabaseOf(waters), document));
  EXPECT_STREQ(document.root.name(), "WATERS");
  const auto written = ByName(document.root, "WATER");
  ASSERT_EQ(written.size(), waters.size());
  for (const file::Water& water : waters) {
    SCOPED_TRACE(water.name);
    const pugi::xml_node w = written.at(water.name);
    ExpectWater(w, water);
    ExpectText(w, "AMOUNT", "0");  // a profile of a database has none; the standard wants one
    if (water.name != "Alkaline Spring") {
      ExpectText(w, "NOTES", water.notes);
    }
  }
  EXPECT_STREQ(written.at("Burton").child_value("SULFATE"), "638.5");  // not the unread 999
  EXPECT_STREQ(written.at("Dublin").child_value("BICARBONATE"), "319.5");
  EXPECT_STREQ(written.at("Broken Meter").child_value("PH"), "7");
  EXPECT_STREQ(written.at("Alkaline Spring").child_value("PH"), "14");
  // The stored pH is named in the notes, a number without a unit.
  EXPECT_STREQ(written.at("Alkaline Spring").child_value("NOTES"),
               "Very alkaline\r\npH as stored: 15.5");

  Document wtr;
  ASSERT_NO_FATAL_FAILURE(Convert(dir, "Burton.wtr", file::ToBytes(waters.front()), wtr));
  EXPECT_STREQ(wtr.root.name(), "WATERS");
  ExpectWater(wtr.root.child("WATER"), waters.front());
  ExpectText(wtr.root.child("WATER"), "NAME", "Burton");
  ExpectText(wtr.root.child("WATER"), "NOTES", "Sulfate-rich");
}

TEST(BeerXml1Values, YeastsHoldEveryStoredValueInMetricUnits) {
  struct Expected {
    std::string type;
    std::string form;
    std::optional<std::string> flocculation;
  };
  const std::map<std::string, Expected> expected = {
      {"Clean Ale", {"Ale", "Liquid", "Medium"}},
      {"English Ale", {"Ale", "Dry", "High"}},
      {"Bohemian Lager", {"Lager", "Slant", "Low"}},
      {"White Wine", {"Wine", "Liquid", "Low"}},
      {"Champagne", {"Champagne", "Dry", "High"}},
      {"Code Eight", {"Ale", "Liquid", std::nullopt}},
  };
  TempDir dir;
  const std::vector<file::Yeast> yeasts = v::SampleYeasts();
  Document document;
  ASSERT_NO_FATAL_FAILURE(Convert(dir, "yeast.dat", file::DatabaseOf(yeasts), document));
  EXPECT_STREQ(document.root.name(), "YEASTS");
  const auto written = ByName(document.root, "YEAST");
  ASSERT_EQ(written.size(), yeasts.size());
  for (const file::Yeast& yeast : yeasts) {
    SCOPED_TRACE(yeast.name);
    const pugi::xml_node y = written.at(yeast.name);
    const Expected& e = expected.at(yeast.name);
    ExpectText(y, "VERSION", "1");
    ExpectText(y, "TYPE", e.type);
    ExpectText(y, "FORM", e.form);
    ExpectText(y, "AMOUNT", "0");
    ExpectText(y, "AMOUNT_IS_WEIGHT", Bool(yeast.form == 0));
    ExpectText(y, "LABORATORY", yeast.laboratory);
    ExpectText(y, "PRODUCT_ID", yeast.product_id);
    const double celsius = Within(Celsius(Shown(yeast.temperature)), 0, 150);
    ExpectDecimal(y, "MIN_TEMPERATURE", celsius);
    ExpectDecimal(y, "MAX_TEMPERATURE", celsius);
    ExpectText(y, "FLOCCULATION", e.flocculation);
    const double mean = (yeast.attenuation_low + yeast.attenuation_high) / 2.0;
    ExpectDecimal(y, "ATTENUATION", Within(mean, 0, 100));
    ExpectText(y, "BEST_FOR", yeast.best_for);
    if (yeast.name != "Code Eight") {
      ExpectText(y, "NOTES", yeast.notes);
    }
  }
  EXPECT_STREQ(written.at("Clean Ale").child_value("MIN_TEMPERATURE"), "19.1666667");
  EXPECT_STREQ(written.at("English Ale").child_value("ATTENUATION"), "69.5");
  // Codes without a word, and 28 F (-2.2 C) held to 0 C, named in the notes: the one stored
  // temperature once, though it is both ends of the range.
  EXPECT_STREQ(written.at("Code Eight").child_value("NOTES"),
               "Unknown strain\r\nType code 8 (no meaning known)\r\n"
               "Form code 9 (no meaning known)\r\nTemperature as stored: 28 F\r\n"
               "Flocculation code 5 (no meaning known)");
  EXPECT_STREQ(written.at("Code Eight").child_value("MIN_TEMPERATURE"), "0");
}

// The elements of a mash step, from its slot in the source.
void ExpectStep(pugi::xml_node s, const file::MashStep& step, const char* type) {
  SCOPED_TRACE(step.name);
  ExpectText(s, "NAME", step.name);
  ExpectText(s, "VERSION", "1");
  ExpectText(s, "TYPE", type);
  ExpectDecimal(s, "STEP_TEMP", Celsius(step.step_temperature));
  ExpectDecimal(s, "END_TEMP", Celsius(step.end_temperature));
  ExpectDecimal(s, "STEP_TIME", step.step_time);
  ExpectDecimal(s, "RAMP_TIME", step.ramp_time);
  const double litres = Shown(step.step_amount) * v::kLitresPerQuart;
  if (step.type == 0) {
    ExpectDecimal(s, "INFUSE_AMOUNT", litres);
    // "2.6 L/kg" and "74.4444444 C": texts with the unit, as the 1.0 standard has them.
    const std::string ratio = s.child_value("WATER_GRAIN_RATIO");
    EXPECT_TRUE(ratio.ends_with(" L/kg")) << ratio;
    ExpectNumberText(ratio,
                     Shown(step.water_grain_ratio) * v::kLitresPerQuart / v::kKilogramsPerPound,
                     "WATER_GRAIN_RATIO");
    const std::string infuse = s.child_value("INFUSE_TEMP");
    EXPECT_TRUE(infuse.ends_with(" C")) << infuse;
    ExpectNumberText(infuse, Celsius(step.infuse_temperature), "INFUSE_TEMP");
  } else {
    ExpectText(s, "INFUSE_AMOUNT", std::nullopt);
    ExpectText(s, "WATER_GRAIN_RATIO", std::nullopt);
    ExpectText(s, "INFUSE_TEMP", std::nullopt);
  }
  if (step.type == 2) {
    ExpectDecimal(s, "DECOCTION_AMOUNT", litres);
  } else {
    ExpectText(s, "DECOCTION_AMOUNT", std::nullopt);
  }
}

TEST(BeerXml1Values, AMashScheduleHoldsEveryStepOfAKnownKindInMetricUnits) {
  TempDir dir;
  const file::MashSchedule schedule = v::SampleMashSchedule();
  Document document;
  ASSERT_NO_FATAL_FAILURE(Convert(dir, "Values.msh", file::ToBytes(schedule), document));
  EXPECT_STREQ(document.root.name(), "MASHS");
  const pugi::xml_node mash = document.root.child("MASH");
  ExpectText(mash, "NAME", "Values Mash");
  ExpectText(mash, "VERSION", "1");
  ExpectDecimal(mash, "GRAIN_TEMP", Celsius(68.5));
  ExpectText(mash, "NOTES", "Step \"Odd\" left out: kind code 7 (no meaning known)");
  std::vector<pugi::xml_node> steps;
  for (pugi::xml_node step : mash.child("MASH_STEPS").children("MASH_STEP")) steps.push_back(step);
  ASSERT_EQ(steps.size(), 3u);
  ExpectStep(steps[0], schedule.steps[0], "Infusion");
  ExpectStep(steps[1], schedule.steps[1], "Temperature");
  ExpectStep(steps[2], schedule.steps[3], "Decoction");
  ExpectText(steps[0], "DESCRIPTION", "Add 12.25 qt of water at 131.0 F");
  ExpectText(steps[1], "DESCRIPTION", "Heat to 152.0 F over 12.0 min");
  ExpectText(steps[2], "DESCRIPTION", "Decoct 3.75 qt of mash and boil it");
  EXPECT_STREQ(steps[0].child_value("INFUSE_AMOUNT"), "11.5928236");
  EXPECT_STREQ(steps[0].child_value("WATER_GRAIN_RATIO"), "2.60793889 L/kg");
  EXPECT_STREQ(steps[0].child_value("INFUSE_TEMP"), "55 C");
  EXPECT_STREQ(mash.child_value("GRAIN_TEMP"), "20.2777778");
}

TEST(BeerXml1Values, ARecipeHoldsEveryAdditionInMetricUnits) {
  TempDir dir;
  const file::Recipe source = v::SampleRecipe();
  Document document;
  ASSERT_NO_FATAL_FAILURE(Convert(dir, "Values Ale.rec", file::ToBytes(source), document));
  EXPECT_STREQ(document.root.name(), "RECIPES");
  const pugi::xml_node recipe = document.root.child("RECIPE");
  ExpectText(recipe, "NAME", "Values Ale");
  ExpectText(recipe, "VERSION", "1");
  ExpectText(recipe, "TYPE", "Partial Mash");
  ExpectText(recipe, "BREWER", "");
  ExpectDecimal(recipe, "BATCH_SIZE", 5.25 * v::kLitresPerGallon);
  ExpectDecimal(recipe, "BOIL_SIZE", 6.5 * v::kLitresPerGallon);
  ExpectDecimal(recipe, "BOIL_TIME", 75);
  ExpectDecimal(recipe, "EFFICIENCY", 72);  // a stored fraction 0.72
  ExpectDecimal(recipe, "OG", 1.052);       // 1 + 0.001 x 52 points
  ExpectText(recipe, "NOTES", "Brewed for the value tests\r\nBitterness: 38.5 IBUs (estimated)");

  // The style keeps its names; its ranges, which a recipe does not keep, are the widest.
  const pugi::xml_node style = recipe.child("STYLE");
  ExpectText(style, "NAME", "Best Bitter");
  ExpectText(style, "CATEGORY", "English Pale Ale");
  ExpectText(style, "CATEGORY_NUMBER", "8");
  ExpectText(style, "STYLE_LETTER", "B");
  ExpectText(style, "STYLE_GUIDE", "BJCP 1999");
  ExpectText(style, "TYPE", "Ale");
  for (const auto& [element, bound] : std::map<std::string, double>{{"OG_MIN", 0.9},
                                                                    {"OG_MAX", 2},
                                                                    {"FG_MIN", 0.9},
                                                                    {"FG_MAX", 2},
                                                                    {"IBU_MIN", 0},
                                                                    {"IBU_MAX", 5000},
                                                                    {"COLOR_MIN", 0},
                                                                    {"COLOR_MAX", 300}}) {
    ExpectDecimal(style, element.c_str(), bound);
  }
  const pugi::xml_node equipment = recipe.child("EQUIPMENT");
  ExpectText(equipment, "NAME", "Values Ale");
  ExpectDecimal(equipment, "BATCH_SIZE", 5.25 * v::kLitresPerGallon);
  ExpectDecimal(equipment, "BOIL_SIZE", 6.5 * v::kLitresPerGallon);
  ExpectDecimal(equipment, "BOIL_TIME", 75);
  EXPECT_STREQ(recipe.child_value("BATCH_SIZE"), "19.8734119");

  const auto fermentables = ByName(recipe.child("FERMENTABLES"), "FERMENTABLE");
  ASSERT_EQ(fermentables.size(), 2u);
  const pugi::xml_node otter = fermentables.at("Maris Otter");
  ExpectText(otter, "TYPE", "Grain");
  ExpectDecimal(otter, "AMOUNT", 9.25 * v::kKilogramsPerPound);
  ExpectDecimal(otter, "YIELD", 81.5);
  ExpectDecimal(otter, "COARSE_FINE_DIFF", 2.25);
  ExpectDecimal(otter, "COLOR", 3.75);
  ExpectText(otter, "ORIGIN", "England");
  ExpectText(otter, "SUPPLIER", "Crisp");
  ExpectText(otter, "NOTES", "Potential: 1.038 SG");
  ExpectText(otter, "INVENTORY", std::nullopt);  // the database's stock only
  EXPECT_STREQ(otter.child_value("AMOUNT"), "4.19572942");
  const pugi::xml_node oats = fermentables.at("Flaked Oats");
  ExpectText(oats, "TYPE", "Adjunct");
  ExpectDecimal(oats, "AMOUNT", 0.75 * v::kKilogramsPerPound);
  ExpectDecimal(oats, "YIELD", YieldFromPotential(1.033));
  ExpectText(oats, "NOTES", "Yield derived from potential 1.033 SG");
  EXPECT_STREQ(oats.child_value("YIELD"), "71.406933");

  // Boil hops: the recipe's alpha acid, the form from the type code's top bits.
  const auto hops = ByName(recipe.child("HOPS"), "HOP");
  ASSERT_EQ(hops.size(), 3u);
  const std::map<std::string, std::string> forms = {
      {"Magnum", "Pellet"}, {"Fuggle", "Leaf"}, {"Northdown", "Plug"}};
  for (const file::HopAddition& hop : source.hops) {
    SCOPED_TRACE(hop.name);
    const pugi::xml_node h = hops.at(hop.name);
    ExpectText(h, "VERSION", "1");
    ExpectDecimal(h, "ALPHA", Shown(hop.alpha));
    if (hop.beta_acid > 0) {
      ExpectDecimal(h, "BETA", Shown(hop.beta_acid));
    } else {
      ExpectText(h, "BETA", std::nullopt);
    }
    ExpectDecimal(h, "AMOUNT", Shown(hop.amount) * v::kKilogramsPerOunce);
    ExpectText(h, "USE", "Boil");
    ExpectDecimal(h, "TIME", hop.addition_time);
    ExpectText(h, "FORM", forms.at(hop.name));
    ExpectText(h, "ORIGIN", hop.origin);
  }
  EXPECT_STREQ(hops.at("Magnum").child_value("ALPHA"), "13.25");  // not the variety's 14.25
  EXPECT_STREQ(hops.at("Magnum").child_value("AMOUNT"), "0.0354369039");

  const auto miscs = ByName(recipe.child("MISCS"), "MISC");
  ASSERT_EQ(miscs.size(), 3u);
  const pugi::xml_node moss = miscs.at("Irish Moss");
  ExpectText(moss, "TYPE", "Fining");
  ExpectText(moss, "USE", "Boil");
  ExpectDecimal(moss, "TIME", 15);
  ExpectDecimal(moss, "AMOUNT", 1.25 * v::kLitresPerTeaspoon);
  ExpectText(moss, "AMOUNT_IS_WEIGHT", "FALSE");
  const pugi::xml_node gypsum = miscs.at("Gypsum");
  ExpectText(gypsum, "TYPE", "Other");
  ExpectText(gypsum, "USE", "Mash");
  ExpectDecimal(gypsum, "TIME", 60);
  ExpectDecimal(gypsum, "AMOUNT", 5.5 * v::kKilogramsPerGram);
  ExpectText(gypsum, "AMOUNT_IS_WEIGHT", "TRUE");
  const pugi::xml_node lactose = miscs.at("Lactose");
  ExpectText(lactose, "USE", "Secondary");
  ExpectDecimal(lactose, "TIME", 2 * v::kMinutesPerDay);
  ExpectDecimal(lactose, "AMOUNT", 0.5 * v::kKilogramsPerPound);
  ExpectText(lactose, "AMOUNT_IS_WEIGHT", "TRUE");

  const pugi::xml_node yeast = recipe.child("YEASTS").child("YEAST");
  ExpectText(yeast, "NAME", "English Ale");
  ExpectText(yeast, "TYPE", "Ale");
  ExpectText(yeast, "FORM", "Dry");
  ExpectText(yeast, "AMOUNT", "0");  // no quantity kept
  ExpectText(yeast, "AMOUNT_IS_WEIGHT", "TRUE");
  ExpectText(yeast, "LABORATORY", "Example Labs");
  ExpectText(yeast, "PRODUCT_ID", "EL-002");
  ExpectDecimal(yeast, "MIN_TEMPERATURE", Celsius(64.5));
  ExpectDecimal(yeast, "ATTENUATION", 70);  // the mean of 68 and 72
  ExpectText(yeast, "FLOCCULATION", "High");

  const pugi::xml_node water = recipe.child("WATERS").child("WATER");
  ExpectText(water, "NAME", "Burton");
  ExpectWater(water, source.water);
  ExpectDecimal(water, "AMOUNT", 6.5 * v::kLitresPerGallon);  // as much as the recipe boils

  const pugi::xml_node mash = recipe.child("MASH");
  ExpectText(mash, "NAME", "Recipe Mash");
  ExpectDecimal(mash, "GRAIN_TEMP", Celsius(70));
  std::vector<pugi::xml_node> steps;
  for (pugi::xml_node step : mash.child("MASH_STEPS").children("MASH_STEP")) steps.push_back(step);
  ASSERT_EQ(steps.size(), 2u);
  ExpectStep(steps[0], source.steps[0], "Infusion");
  ExpectStep(steps[1], source.steps[1], "Temperature");
}

TEST(BeerXml1Values, EveryRecipeTypeHasItsWord) {
  const std::pair<std::uint8_t, const char*> types[] = {
      {0, "All Grain"}, {1, "Partial Mash"}, {2, "Extract"}};
  for (const auto& [code, word] : types) {
    file::Recipe recipe;
    recipe.header = {.name = "Typed", .recipe_type = code};
    TempDir dir;
    Document document;
    ASSERT_NO_FATAL_FAILURE(Convert(dir, "Typed.rec", file::ToBytes(recipe), document));
    EXPECT_STREQ(document.root.child("RECIPE").child_value("TYPE"), word) << int{code};
  }
}

}  // namespace
}  // namespace kegverter
