// Recipe files converted end to end, and the recipe exporter under document failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "beerxml/recipe_writer.h"
#include "driver/convert.h"
#include "tests/examples.h"
#include "tests/fixture.h"
#include "tests/fixture_recipe.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::ChildNames;
using testing::ParsedXml;
using testing::RecipeFile;
using testing::TempDir;
using testing::TextAt;
using Lines = std::vector<std::string>;

// Section builders, at the byte offsets of the recipe file's layout.

struct HopBytes {
  std::string name;
  float alpha = 0;  // this recipe's alpha acid
  float beta_acid = 0;
  std::int16_t type_code = 0;
  float amount = 0;
  std::uint8_t time = 0;
  std::uint8_t marker = 0;
  std::string origin;
};

Bytes Hop(const HopBytes& h) {
  Bytes b(testing::kHopAdditionSize);
  b.Text(0, 55, h.name).F32(55, h.alpha + 1.0f).F32(59, h.beta_acid).I16(80, h.type_code);
  b.Text(241, 55, h.origin).F32(620, h.alpha).F32(625, h.amount).U8(629, h.time);
  return b.U8(630, h.marker);
}

Bytes Fermentable(const std::string& name, std::uint8_t type, float amount, float color = 0,
                  const std::string& origin = "") {
  Bytes b(testing::kFermentableAdditionSize);
  return b.Text(0, 55, name).Text(110, 55, origin).U8(165, type).F32(171, color).F32(521, amount);
}

struct MiscBytes {
  std::string name;
  std::uint8_t type = 0;
  std::uint8_t unit = 0;
  float amount = 0;
  std::int32_t time = 0;
  std::uint8_t time_type = 0;
  std::uint8_t time_units = 1;
};

Bytes Misc(const MiscBytes& m) {
  Bytes b(testing::kMiscAdditionSize);
  b.Text(0, 55, m.name).U8(55, m.type).I32(56, m.time).U8(60, m.time_type).U8(61, m.time_units);
  return b.U8(62, m.unit).F32(63, 99.0f).F32(577, m.amount);
}

using testing::StepBytes;

Bytes Step(const StepBytes& s) { return testing::StepSlot(s); }

// Rests of the process section: temperature and time offsets.
constexpr std::size_t kAcidRest = 9;
constexpr std::size_t kProteinRest = 17;
constexpr std::size_t kIntermediateRest = 25;
constexpr std::size_t kSaccharificationRest = 33;
constexpr std::size_t kMashOut = 41;

void Rest(RecipeFile& f, std::size_t at, std::int32_t temperature, std::int32_t time) {
  f.process.I32(at, temperature).I32(at + 4, time);
}

// A bare all-grain recipe with a style and nothing else: no lists, no rests.
RecipeFile BareRecipe() {
  RecipeFile f;
  f.header.Text(0, 85, "Pale Ale")
      .F32(97, 5.0f)
      .F32(101, 6.5f)
      .F32(105, 50.0f)
      .F32(109, 35.26f)
      .F32(113, 0.75f)
      .I32(117, 60)
      .U8(125, 0);
  f.style.Text(0, 55, "American Pale Ale")
      .Text(55, 55, "Pale American Ale")
      .U8(110, 0)
      .I16(1026, 6)
      .Text(1028, 2, "B");
  return f;
}

// The worked example of the simple mash: 10 pounds of grain, 12.5 quarts of mash water, grain
// at 60 F, saccharification at 152 F for an hour and a mash out at 168 F for ten minutes.
RecipeFile SimpleMashRecipe() {
  RecipeFile f = BareRecipe();
  f.fermentables = {Fermentable("Pale Malt", 1, 8.0f), Fermentable("Munich", 1, 2.0f)};
  f.process.U8(0, 3).F32(57, 12.5f).I32(8377, 60);
  Rest(f, kSaccharificationRest, 152, 60);
  Rest(f, kMashOut, 168, 10);
  return f.SyncCounts();
}

// Every list, a style and the simple mash.
RecipeFile FullRecipe() {
  RecipeFile f = SimpleMashRecipe();
  f.header.U8(125, 1);
  f.style.U8(110, 5).I16(1026, -1);
  f.hops = {Hop({"Cascade", 5.5f, 4.5f, 0x2003, 1.0f, 60, 0, "US"})};
  f.miscs = {Misc({"Irish Moss", 4, 3, 1.0f, 15, 0, 1})};
  f.yeast.Text(0, 55, "American Ale")
      .Text(55, 55, "Wyeast")
      .Text(110, 25, "1056")
      .U8(135, 0)
      .U8(136, 1);
  f.gap.Fill(0xEE);
  f.water.Text(0, 27, "Burton")
      .F32(27, 275.0f)
      .F32(31, 40.0f)
      .F32(35, 25.0f)
      .F32(43, 610.0f)
      .F32(47, 35.0f)
      .F32(51, 270.0f)
      .F32(55, 8.1f);
  f.process.Text(62, 4028, "Ferment at 66 F.").Text(4090, 4028, "not exported");
  f.schedule.Text(0, 255, "Unused Schedule").U8(255, 0);
  return f.SyncCounts();
}

struct Converted : testing::Converted {
  // The recipe element (the first child of the list).
  pugi::xml_node Recipe() const { return xml.List().child("recipe"); }
};

void ConvertRecipe(const Bytes& bytes, Converted& out, const std::string& name = "r.rec") {
  testing::ConvertBytes(name, bytes, out);
}

Lines Contents(pugi::xml_node node) { return testing::ElementLines(node); }

const Lines kRecipeOrder = {"name",
                            "type",
                            "author",
                            "batch_size",
                            "boil_size",
                            "boil_time",
                            "efficiency",
                            "style",
                            "ingredients",
                            "mash",
                            "notes",
                            "original_gravity",
                            "international_bitterness_units"};

TEST(RecipeExport, WholeRecipeInDocumentOrder) {
  Converted c;
  ConvertRecipe(FullRecipe().Build(), c, "Pale Ale.rec");
  EXPECT_EQ(c.run.exit_code, 0);
  EXPECT_EQ(c.run.out, "\nProcessed 1 record.\n\n");
  EXPECT_EQ(c.run.err, "");
  ASSERT_TRUE(c.xml.result) << c.xml.result.description();
  EXPECT_EQ(ChildNames(c.xml.document.child("beer_xml")), (Lines{"version", "recipes"}));
  ASSERT_EQ(ChildNames(c.xml.List()), Lines{"recipe"});

  const pugi::xml_node recipe = c.Recipe();
  EXPECT_EQ(ChildNames(recipe), kRecipeOrder);
  EXPECT_EQ(Contents(recipe).at(0), "name Pale Ale");
  EXPECT_EQ(Contents(recipe).at(1), "type partial mash");
  EXPECT_EQ(Contents(recipe).at(2), "author ");
  EXPECT_EQ(Contents(recipe).at(3), "batch_size@volume=gal 5.00");
  EXPECT_EQ(Contents(recipe).at(4), "boil_size@volume=gal 6.50");
  EXPECT_EQ(Contents(recipe).at(5), "boil_time@duration=min 60.0");
  EXPECT_EQ(Contents(recipe).at(6), "efficiency 75.0");
  // In a recipe the style's first text is its name and the second its category.
  EXPECT_EQ(Contents(recipe.child("style")),
            (Lines{"name American Pale Ale", "category Pale American Ale", "category_number -1",
                   "style_letter B", "style_guide BJCP 1999", "type mixed"}));
  EXPECT_EQ(ChildNames(recipe.child("ingredients")),
            (Lines{"grain_bill", "hop_bill", "adjuncts", "yeast_additions", "water_profile"}));
  EXPECT_EQ(ChildNames(recipe.child("ingredients").child("grain_bill")),
            (Lines{"fermentable", "fermentable"}));
  EXPECT_EQ(ChildNames(recipe.child("mash").child("mash_steps")), (Lines{"step", "step"}));
  EXPECT_EQ(Contents(recipe).at(10), "notes Ferment at 66 F.");
  EXPECT_EQ(Contents(recipe).at(11), "original_gravity@density=sg 1.050");
  EXPECT_EQ(Contents(recipe.child("international_bitterness_units")),
            (Lines{"method Other", "estimate 35.3"}));
}

TEST(RecipeExport, StyleBlockNeedsAStyleName) {
  RecipeFile f = BareRecipe();
  f.style.Text(0, 55, "");  // the second text alone does not make a style
  Converted c;
  ConvertRecipe(f.Build(), c);
  ASSERT_TRUE(c.xml.result);
  EXPECT_EQ(ChildNames(c.Recipe()),
            (Lines{"name", "type", "author", "batch_size", "boil_size", "boil_time", "efficiency",
                   "ingredients", "notes", "original_gravity", "international_bitterness_units"}));
  // A recipe without additions, yeast or water has an empty ingredients element.
  EXPECT_TRUE(ChildNames(c.Recipe().child("ingredients")).empty());
  EXPECT_EQ(TextAt(c.Recipe(), "notes"), "");
}

TEST(RecipeExport, StyleLetterAndCodesWithoutWords) {
  struct Case {
    std::string letter;
    std::string written;
  };
  for (const Case& k :
       {Case{"C", "C"}, Case{"", " "}, Case{"7", " "}, Case{"b", " "}, Case{"\xC4", " "}}) {
    RecipeFile f = BareRecipe();
    f.style.Text(1028, 2, k.letter).U8(110, 4);
    f.header.U8(125, 3);
    Converted c;
    ConvertRecipe(f.Build(), c);
    ASSERT_TRUE(c.xml.result);
    EXPECT_EQ(TextAt(c.Recipe(), "style/style_letter"), k.written) << k.letter;
    EXPECT_EQ(TextAt(c.Recipe(), "style/type"), "");  // style type 4 has no word
    EXPECT_EQ(TextAt(c.Recipe(), "type"), "");        // nor recipe type 3
  }
}

// A stored efficiency up to 1.1 is a fraction; above, it is already a percentage.
TEST(RecipeExport, EfficiencyIsWrittenAsAPercentage) {
  const std::map<float, std::string> cases = {
      {0.0f, "0.0"},   {0.75f, "75.0"},   {1.1f, "110.0"}, {1.5f, "1.5"},
      {72.5f, "72.5"}, {110.0f, "110.0"}, {-1.0f, "70.0"}, {111.0f, "70.0"},  // replaced by 70
  };
  for (const auto& [stored, written] : cases) {
    RecipeFile f = BareRecipe();
    f.header.F32(113, stored);
    Converted c;
    ConvertRecipe(f.Build(), c);
    ASSERT_TRUE(c.xml.result);
    EXPECT_EQ(TextAt(c.Recipe(), "efficiency"), written) << stored;
  }
}

TEST(RecipeExport, FermentablesAndHops) {
  RecipeFile f = BareRecipe();
  f.fermentables = {Fermentable("Pale Malt", 1, 8.25f, 3.5f, "Germany"),
                    Fermentable("Mystery", 0, 1.0f), Fermentable("Honey", 3, 0.5f)};
  f.hops = {
      Hop({"Magnum", 12.25f, 0, 0x2003, 1.5f, 60, 0, "Germany"}),
      Hop({"Cascade", 5.5f, 4.5f, 0x0001, 1.0f, 62, 255, "US"}),
      Hop({"Saaz", 3.5f, 0, 0x1000, 0.5f, 61, 0, ""}),
      Hop({"Amarillo", 9.0f, 6.0f, 0x3000, 2.0f, 251, 255, ""}),
      Hop({"Simcoe", 13.0f, 0, 0, 1.0f, 251, 254, ""}),
  };
  Converted c;
  ConvertRecipe(f.SyncCounts().Build(), c);
  ASSERT_TRUE(c.xml.result);
  const pugi::xml_node ingredients = c.Recipe().child("ingredients");
  EXPECT_EQ(ChildNames(ingredients), (Lines{"grain_bill", "hop_bill"}));

  const pugi::xml_node grain = ingredients.child("grain_bill").first_child();
  EXPECT_EQ(Contents(grain), (Lines{"name Pale Malt", "type grain", "color@scale=L 3.5",
                                    "origin Germany", "amount@mass=lb 8.250"}));
  EXPECT_EQ(TextAt(grain.next_sibling(), "type"), "");  // type 0 has no word
  EXPECT_EQ(TextAt(grain.next_sibling().next_sibling(), "type"), "sugar");

  std::vector<Lines> hops;
  for (pugi::xml_node hop : ingredients.child("hop_bill").children("hop")) {
    hops.push_back(Contents(hop));
  }
  ASSERT_EQ(hops.size(), 5u);
  EXPECT_EQ(hops[0],
            (Lines{"name Magnum", "origin Germany", "alpha_acid_units 12.25", "form pellet",
                   "use boil", "amount@mass=oz 1.50", "time@duration=min 60.0"}));
  // Mash hops whatever the marker says; beta acid written only when known.
  EXPECT_EQ(hops[1],
            (Lines{"name Cascade", "origin US", "alpha_acid_units 5.50", "beta_acid_units 4.50",
                   "form leaf", "use mash", "amount@mass=oz 1.00", "time@duration=min 90.0"}));
  EXPECT_EQ(hops[2][3], "form plug");
  EXPECT_EQ(hops[2][4], "use first wort");
  EXPECT_EQ(hops[2][6], "time@duration=min 40.0");
  EXPECT_EQ(hops[3][4], "form ");  // form 3 has no word
  EXPECT_EQ(hops[3][5], "use dry hop");
  EXPECT_EQ(hops[3][7], "time@duration=day 5.0");
  // Time 251 without the dry hop marker is just a long boil.
  EXPECT_EQ(hops[4][4], "use boil");
  EXPECT_EQ(hops[4][6], "time@duration=min 251.0");
}

TEST(RecipeExport, MiscellaneousAmountRule) {
  RecipeFile f = BareRecipe();
  f.miscs = {
      Misc({"Irish Moss", 4, 6, 1.0f, 15, 0, 1}),      // unit from the type: teaspoons, zeroed
      Misc({"Irish Moss", 4, 3, 1.0f, 15, 0, 1}),      // teaspoons as stored
      Misc({"Vanilla Extract", 2, 0, 2.0f, 7, 1, 0}),  // an extract in ounces: fluid ounces
      Misc({"Vanilla Extract", 2, 1, 2.0f, 7, 1, 0}),  // grams replaced by fluid ounces
      Misc({"Gypsum", 2, 1, 0.0f, 60, 2, 1}),          // grams, nothing used
      Misc({"Oddity", 9, 6, 3.0f, 5, 7, 4}),           // no words at all
  };
  Converted c;
  ConvertRecipe(f.SyncCounts().Build(), c);
  ASSERT_TRUE(c.xml.result);
  std::vector<Lines> miscs;
  for (pugi::xml_node m : c.Recipe().child("ingredients").child("adjuncts").children()) {
    miscs.push_back(Contents(m));
  }
  ASSERT_EQ(miscs.size(), 6u);
  EXPECT_EQ(miscs[0], (Lines{"name Irish Moss", "type fining", "use boil", "amount@volume=tsp 0.0",
                             "time@duration=min 15.0"}));
  EXPECT_EQ(miscs[1][3], "amount@volume=tsp 1.00");
  EXPECT_EQ(miscs[2], (Lines{"name Vanilla Extract", "type other", "use secondary",
                             "amount@volume=ozfl 2.00", "time@duration=day 7.0"}));
  EXPECT_EQ(miscs[3][3], "amount@volume=ozfl 0.0");
  EXPECT_EQ(miscs[4], (Lines{"name Gypsum", "type other", "use mash",
                             "amount_as_weight@mass=gm 0.0", "time@duration=min 60.0"}));
  EXPECT_EQ(miscs[5], (Lines{"name Oddity", "type ", "use ", "amount_as_weight 3.00", "time 5.0"}));
}

TEST(RecipeExport, YeastAndWater) {
  RecipeFile f = FullRecipe();
  Converted liquid;
  ConvertRecipe(f.Build(), liquid);
  ASSERT_TRUE(liquid.xml.result);
  const pugi::xml_node ingredients = liquid.Recipe().child("ingredients");
  EXPECT_EQ(Contents(ingredients.child("yeast_additions").child("yeast")),
            (Lines{"name American Ale", "type ale", "form liquid", "laboratory Wyeast",
                   "product_id 1056", "amount@volume=mL 0.0"}));
  EXPECT_EQ(Contents(ingredients.child("water_profile").child("water")),
            (Lines{"name Burton", "calcium 275.0", "bicarbonate 270.0", "sulfate 610.0",
                   "chloride 35.0", "sodium 25.0", "magnesium 40.0", "amount@volume=gal 6.5"}));

  f.yeast.U8(135, 1).U8(136, 0);
  f.water.Text(0, 27, "");
  Converted dry;
  ConvertRecipe(f.Build(), dry);
  ASSERT_TRUE(dry.xml.result);
  const pugi::xml_node yeast =
      dry.Recipe().child("ingredients").child("yeast_additions").child("yeast");
  EXPECT_EQ(Contents(yeast).at(1), "type lager");
  EXPECT_EQ(Contents(yeast).at(2), "form dry");
  EXPECT_EQ(Contents(yeast).at(5), "amount_as_weight@mass=gm 0.0");
  EXPECT_EQ(ChildNames(yeast).size(), 6u);
  EXPECT_EQ(ChildNames(dry.Recipe().child("ingredients")).back(), "yeast_additions");

  f.yeast.Text(0, 55, "").U8(136, 2);
  Converted none;
  ConvertRecipe(f.Build(), none);
  ASSERT_TRUE(none.xml.result);
  EXPECT_EQ(ChildNames(none.Recipe().child("ingredients")),
            (Lines{"grain_bill", "hop_bill", "adjuncts"}));
}

// The steps of the recipe's mash, each as its contents.
std::vector<Lines> MashSteps(const Converted& c) {
  std::vector<Lines> steps;
  for (pugi::xml_node s : c.Recipe().child("mash").child("mash_steps").children()) {
    steps.push_back(Contents(s));
  }
  return steps;
}

TEST(RecipeExport, SimpleMashWithStrikeTemperature) {
  Converted c;
  ConvertRecipe(SimpleMashRecipe().Build(), c);
  ASSERT_TRUE(c.xml.result);
  EXPECT_EQ(Contents(c.Recipe().child("mash")),
            (Lines{"name Simple Mash Type - Multi Step", "grain_temperature@degrees=F 60.0",
                   "notes ", "mash_steps"}));
  const std::vector<Lines> steps = MashSteps(c);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0],
            (Lines{"name Saccharification Rest", "type infusion", "infuse_amount@volume=qt 12.50",
                   "step_temperature@degrees=F 152.0", "step_time@duration=min 60.0",
                   "ramp_time@duration=min 5.0", "end_temperature@degrees=F 152.0",
                   "description Add 12.50 qt of water at 166.0 F", "water_grain_ratio 1.25",
                   "infuse_temperature@degrees=F 166.0"}));
  EXPECT_EQ(steps[1], (Lines{"name Mash Out", "type temperature",
                             "step_temperature@degrees=F 168.0", "step_time@duration=min 10.0",
                             "ramp_time@duration=min 10.0", "end_temperature@degrees=F 168.0",
                             "description Heat to 168.0 F over 10.0 min"}));
}

TEST(RecipeExport, AcidRestTakesTheInfusion) {
  RecipeFile f = SimpleMashRecipe();
  Rest(f, kAcidRest, 95, 15);
  Converted c;
  ConvertRecipe(f.Build(), c);
  ASSERT_TRUE(c.xml.result);
  const std::vector<Lines> steps = MashSteps(c);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0][0], "name Acid Rest");
  EXPECT_EQ(steps[0][7], "description Add 12.50 qt of water at 100.0 F");
  EXPECT_EQ(steps[0][9], "infuse_temperature@degrees=F 100.0");
  EXPECT_EQ(steps[1], (Lines{"name Saccharification Rest", "type temperature",
                             "step_temperature@degrees=F 152.0", "step_time@duration=min 60.0",
                             "ramp_time@duration=min 10.0", "end_temperature@degrees=F 152.0",
                             "description Heat to 152.0 F over 10.0 min"}));
}

TEST(RecipeExport, RestsBelowThePreviousOneAreSkipped) {
  RecipeFile f = SimpleMashRecipe();
  Rest(f, kAcidRest, 130, 10);
  Rest(f, kProteinRest, 122, 20);           // below the acid rest
  Rest(f, kIntermediateRest, 140, -5);      // a negative time is no rest
  Rest(f, kSaccharificationRest, 128, 60);  // still below 130
  Converted c;
  ConvertRecipe(f.Build(), c);
  ASSERT_TRUE(c.xml.result);
  const std::vector<Lines> steps = MashSteps(c);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0][0], "name Acid Rest");
  EXPECT_EQ(steps[1][0], "name Mash Out");
}

TEST(RecipeExport, SingleStepMashUsesTheLastTwoRests) {
  // 0 and 1 are taken as single-step.
  for (const std::uint8_t type : {std::uint8_t{2}, std::uint8_t{0}, std::uint8_t{1}}) {
    SCOPED_TRACE(static_cast<int>(type));
    RecipeFile f = SimpleMashRecipe();
    f.process.U8(0, type);
    Rest(f, kAcidRest, 95, 15);
    Rest(f, kMashOut, 0, 0);
    Converted c;
    ConvertRecipe(f.Build(), c);
    ASSERT_TRUE(c.xml.result);
    EXPECT_EQ(ChildNames(c.Recipe()), kRecipeOrder);
    EXPECT_EQ(TextAt(c.Recipe(), "mash/name"), "Simple Mash Type - Single Step");
    const std::vector<Lines> steps = MashSteps(c);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0][0], "name Saccharification Rest");
    EXPECT_EQ(steps[0][9], "infuse_temperature@degrees=F 166.0");

    // Only the early rests set: a single-step mash has nothing to write.
    Rest(f, kSaccharificationRest, 0, 60);
    Converted none;
    ConvertRecipe(f.Build(), none);
    ASSERT_TRUE(none.xml.result);
    EXPECT_FALSE(none.Recipe().child("mash"));
  }
}

TEST(RecipeExport, GrainWeightAndMissingWaterOrGrain) {
  // Only grain-type fermentables weigh: 8 pounds of grain beside 3 of extract.
  RecipeFile f = SimpleMashRecipe();
  f.fermentables = {Fermentable("Pale Malt", 1, 8.0f), Fermentable("Extract", 2, 3.0f)};
  Converted c;
  ConvertRecipe(f.SyncCounts().Build(), c);
  ASSERT_TRUE(c.xml.result);
  EXPECT_EQ(MashSteps(c).at(0).at(8), "water_grain_ratio 1.56");  // 12.5 / 8

  // No mash water: the strike water is at the rest temperature.
  f.process.F32(57, 0.0f);
  Converted dry;
  ConvertRecipe(f.Build(), dry);
  ASSERT_TRUE(dry.xml.result);
  EXPECT_EQ(MashSteps(dry).at(0),
            (Lines{"name Saccharification Rest", "type infusion", "infuse_amount@volume=qt 0.00",
                   "step_temperature@degrees=F 152.0", "step_time@duration=min 60.0",
                   "ramp_time@duration=min 5.0", "end_temperature@degrees=F 152.0",
                   "description Add 0.00 qt of water at 152.0 F", "water_grain_ratio 0.00",
                   "infuse_temperature@degrees=F 152.0"}));

  // No grain at all: no ratio.
  f.process.F32(57, 12.5f);
  f.fermentables = {Fermentable("Extract", 2, 3.0f)};
  Converted extract_only;
  ConvertRecipe(f.SyncCounts().Build(), extract_only);
  ASSERT_TRUE(extract_only.xml.result);
  EXPECT_EQ(MashSteps(extract_only).at(0).at(8), "water_grain_ratio 0.00");
  EXPECT_EQ(MashSteps(extract_only).at(0).at(9), "infuse_temperature@degrees=F 152.0");
}

TEST(RecipeExport, StepListMashIsCopied) {
  RecipeFile f = SimpleMashRecipe();
  f.process.I32(8377, 55);
  f.schedule.Text(0, 255, "Hochkurz Decoction").U8(255, 1);
  f.steps = {
      Step({0, "Dough In", 144, 144, 160, 30, 2, 1.5f, 15.0f}),
      Step({2, "Decoction", 158, 158, 0, 20, 15, 0, 4.0f}),
      Step({1, "Mash Out", 168, 168, 0, 10, 10, 0, 0}),
      Step({7, "Unknown Kind", 170, 171, 0, 5, 1, 0, 0}),
  };
  Converted c;
  ConvertRecipe(f.SyncCounts().Build(), c);
  ASSERT_TRUE(c.xml.result);
  EXPECT_EQ(Contents(c.Recipe().child("mash")),
            (Lines{"name Hochkurz Decoction", "grain_temperature@degrees=F 55.0", "notes ",
                   "mash_steps"}));
  const std::vector<Lines> steps = MashSteps(c);
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0][7], "description Add 15.00 qt of water at 160.0 F");
  EXPECT_EQ(steps[0][8], "water_grain_ratio 1.50");
  EXPECT_EQ(steps[1], (Lines{"name Decoction", "type decoction", "step_temperature@degrees=F 158.0",
                             "step_time@duration=min 20.0", "ramp_time@duration=min 15.0",
                             "end_temperature@degrees=F 158.0",
                             "description Decoct 4.00 qt of mash and boil it",
                             "decoction_amount@volume=qt 4.00"}));
  EXPECT_EQ(steps[2][1], "type temperature");
  // A kind the application does not know keeps its figures, with no type or description.
  EXPECT_EQ(steps[3], (Lines{"name Unknown Kind", "type ", "step_temperature@degrees=F 170.0",
                             "step_time@duration=min 5.0", "ramp_time@duration=min 1.0",
                             "end_temperature@degrees=F 171.0", "description "}));

  // A step list mash without steps writes no mash, whatever the rests hold.
  f.steps.clear();
  Converted empty;
  ConvertRecipe(f.SyncCounts().Build(), empty);
  ASSERT_TRUE(empty.xml.result);
  EXPECT_FALSE(empty.Recipe().child("mash"));

  // Any mode but 1 is the simple mash, and its rests decide whether there is one.
  f.schedule.U8(255, 2);
  Converted simple;
  ConvertRecipe(f.Build(), simple);
  ASSERT_TRUE(simple.xml.result);
  EXPECT_EQ(TextAt(simple.Recipe(), "mash/name"), "Simple Mash Type - Multi Step");
  EXPECT_EQ(MashSteps(simple).size(), 2u);
}

TEST(RecipeExport, ExtractRecipeHasNoMash) {
  for (const std::uint8_t mode : {std::uint8_t{0}, std::uint8_t{1}}) {
    RecipeFile f = SimpleMashRecipe();
    f.header.U8(125, 2);
    f.schedule.U8(255, mode);
    f.steps = {Step({0, "Dough In", 152, 152, 166, 60, 2, 1.25f, 12.5f})};
    Converted c;
    ConvertRecipe(f.SyncCounts().Build(), c);
    ASSERT_TRUE(c.xml.result);
    EXPECT_EQ(TextAt(c.Recipe(), "type"), "extract");
    EXPECT_FALSE(c.Recipe().child("mash")) << static_cast<int>(mode);
    EXPECT_EQ(ChildNames(c.Recipe()).back(), "international_bitterness_units");
  }
}

TEST(RecipeExport, SummaryFigures) {
  RecipeFile f = BareRecipe();
  f.header.F32(105, 0.0f).F32(109, 0.0f);
  f.process.Text(62, 4028, std::string(4028, 'n'));  // the whole field, no terminator
  Converted c;
  ConvertRecipe(f.Build(), c);
  ASSERT_TRUE(c.xml.result);
  EXPECT_EQ(TextAt(c.Recipe(), "notes"), std::string(4028, 'n'));
  EXPECT_EQ(TextAt(c.Recipe(), "original_gravity"), "1.000");
  EXPECT_EQ(TextAt(c.Recipe(), "international_bitterness_units/estimate"), "0.0");

  f.header.F32(105, 1000.0f).F32(109, 1000.0f);
  Converted high;
  ConvertRecipe(f.Build(), high);
  ASSERT_TRUE(high.xml.result);
  EXPECT_EQ(TextAt(high.Recipe(), "original_gravity"), "2.000");
  EXPECT_EQ(TextAt(high.Recipe(), "international_bitterness_units/estimate"), "1000.0");
}

TEST(RecipeExport, TruncatedEmptyAndUnwrittenFiles) {
  // A truncated recipe converts what it has.
  Converted cut;
  ConvertRecipe(FullRecipe().Build().Prefix(126 + 1031 + 529 + 100), cut);
  EXPECT_EQ(cut.run.exit_code, 0);
  EXPECT_EQ(cut.run.out, "\nProcessed 1 record.\n\n");
  EXPECT_NE(cut.run.err.find("truncated"), std::string::npos) << cut.run.err;
  ASSERT_TRUE(cut.xml.result);
  EXPECT_EQ(TextAt(cut.Recipe(), "name"), "Pale Ale");

  TempDir dir;
  const testing::RunResult empty = testing::Convert(dir.Write("empty.rec", Bytes()));
  EXPECT_NE(empty.exit_code, 0);
  EXPECT_EQ(empty.out, "");
  EXPECT_NE(empty.err.find("empty"), std::string::npos) << empty.err;

  // No summary line when the output could not be written.
  std::filesystem::create_directory(dir.path() / "blocked.xml");
  const testing::RunResult blocked =
      testing::Convert(dir.Write("blocked.rec", FullRecipe().Build()));
  EXPECT_NE(blocked.exit_code, 0);
  EXPECT_EQ(blocked.out, "");
  EXPECT_NE(blocked.err.find("not written"), std::string::npos) << blocked.err;
}

// In-process exports, for what a file cannot reach: several recipes, document failures.

RecipeRecord InMemoryRecipe(const std::string& name) {
  RecipeRecord r;
  r.name = name;
  r.style.category = "Stout";
  r.fermentable_count = 1;
  r.fermentables.resize(1);
  r.fermentables[0].name = "Pale";
  r.fermentables[0].type = 1;
  r.fermentables[0].amount = 10.0f;
  r.hop_count = 1;
  r.hops.resize(1);
  r.hops[0].name = "Fuggle";
  r.misc_count = 1;
  r.miscs.resize(1);
  r.miscs[0].ingredient_name = "Salt";
  r.yeast.name = "Ale Yeast";
  r.water.name = "Soft";
  r.process.simple_mash_type = 3;
  r.process.mash_water = 12.5f;
  r.process.saccharification_rest_temperature = 152;
  r.process.saccharification_rest_time = 60;
  r.process.mash_out_temperature = 168;
  r.process.mash_out_time = 10;
  r.process.notes = "Notes";
  return r;
}

struct InProcess {
  ExportRun run;
  ParsedXml xml;
};

void ExportInProcess(std::span<const RecipeRecord> recipes, std::uint64_t failing,
                     const TempDir& dir, InProcess& out) {
  out.run.faults.fail_operation = failing;
  const std::string path = dir.Path("out.xml");
  std::filesystem::remove(path);
  ExportRecipeRecords(recipes, path, out.run);
  testing::ParseXmlFile(path, out.xml);
}

TEST(RecipeExport, SeveralRecipesEachInTheList) {
  const std::vector<RecipeRecord> recipes = {InMemoryRecipe("One"), InMemoryRecipe("Two")};
  TempDir dir;
  InProcess p;
  ExportInProcess(recipes, 0, dir, p);
  ASSERT_TRUE(p.xml.result);
  EXPECT_EQ(ChildNames(p.xml.List()), (Lines{"recipe", "recipe"}));
  for (pugi::xml_node recipe : p.xml.List().children("recipe")) {
    EXPECT_EQ(ChildNames(recipe), kRecipeOrder);
  }
  EXPECT_EQ(TextAt(p.xml.List().last_child(), "name"), "Two");
}

// Where each element of a recipe document belongs.
const std::map<std::string, std::string> kParentOf = {
    {"recipes", "beer_xml"},
    {"recipe", "recipes"},
    {"ingredients", "recipe"},
    {"mash", "recipe"},
    {"international_bitterness_units", "recipe"},
    {"original_gravity", "recipe"},
    {"efficiency", "recipe"},
    {"grain_bill", "ingredients"},
    {"hop_bill", "ingredients"},
    {"adjuncts", "ingredients"},
    {"yeast_additions", "ingredients"},
    {"water_profile", "ingredients"},
    {"fermentable", "grain_bill"},
    {"hop", "hop_bill"},
    {"miscellaneous", "adjuncts"},
    {"yeast", "yeast_additions"},
    {"water", "water_profile"},
    {"mash_steps", "mash"},
    {"step", "mash_steps"},
    {"style", "recipe"},
};

void ExpectEveryElementInPlace(pugi::xml_node node) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    const auto it = kParentOf.find(child.name());
    if (it != kParentOf.end()) {
      EXPECT_EQ(it->second, node.name()) << child.name() << " in " << node.name();
    }
    ExpectEveryElementInPlace(child);
  }
}

// A document failure anywhere in a recipe keeps every section inside its own recipe, and the
// next recipe is complete beside it.
TEST(RecipeExport, FailureAnywhereKeepsSectionsInTheirRecipe) {
  const std::vector<RecipeRecord> recipes = {InMemoryRecipe("One"), InMemoryRecipe("Two")};
  TempDir dir;
  // The node operations of one recipe: half of those of both, found as the first operation
  // number that no longer fails.
  const auto fails_at = [&](std::uint64_t operation) {
    InProcess p;
    ExportInProcess(recipes, operation, dir, p);
    return p.run.failures_reported > 0;
  };
  std::uint64_t low = 1;
  std::uint64_t high = 4096;
  ASSERT_TRUE(fails_at(low));
  ASSERT_FALSE(fails_at(high));
  while (high - low > 1) {
    const std::uint64_t middle = (low + high) / 2;
    (fails_at(middle) ? low : high) = middle;
  }
  const std::uint64_t per_recipe = low / 2;
  ASSERT_EQ(low, 2 * per_recipe);
  for (std::uint64_t failing = 1; failing <= per_recipe; ++failing) {
    SCOPED_TRACE(failing);
    InProcess p;
    ExportInProcess(recipes, failing, dir, p);
    EXPECT_EQ(p.run.failures_reported, 1);
    ASSERT_TRUE(p.xml.result);
    ExpectEveryElementInPlace(p.xml.document);
    const pugi::xml_node list = p.xml.List();
    EXPECT_EQ(ChildNames(p.xml.document.child("beer_xml")), (Lines{"version", "recipes"}));
    const pugi::xml_node last = list.last_child();
    EXPECT_EQ(TextAt(last, "name"), "Two");
    EXPECT_EQ(ChildNames(last), kRecipeOrder);
    EXPECT_EQ(ChildNames(last.child("mash").child("mash_steps")), (Lines{"step", "step"}));
  }
}

TEST(RecipeExample, CommittedFileMatchesItsMakerAndConverts) {
  const Bytes bytes = testing::RecipeExample();
  const std::string committed =
      testing::ReadFile(std::string(KEGVERTER_SOURCE_DIR) + "/examples/Pale Ale.rec");
  EXPECT_EQ(committed, std::string(bytes.data().begin(), bytes.data().end()))
      << "regenerate with build/tests/make_examples examples";
  Converted c;
  ConvertRecipe(bytes, c, "Pale Ale.rec");
  EXPECT_EQ(c.run.out, "\nProcessed 1 record.\n\n");
  EXPECT_EQ(c.run.err, "");
  ASSERT_TRUE(c.xml.result);
  EXPECT_EQ(ChildNames(c.Recipe()), kRecipeOrder);
  EXPECT_EQ(ChildNames(c.Recipe().child("ingredients")),
            (Lines{"grain_bill", "hop_bill", "adjuncts", "yeast_additions", "water_profile"}));
  EXPECT_EQ(TextAt(c.Recipe(), "mash/name"), "Simple Mash Type - Multi Step");
  EXPECT_EQ(TextAt(c.Recipe(), "mash/mash_steps/step/infuse_temperature"), "130.0");
}

// The writers only collect their reports; the conversion hands them on with the output written
// incomplete, which the program reports after printing them and exits 1.
TEST(RecipeExport, DocumentFailureIsReportedAndTheOutputCountsAsIncomplete) {
  TempDir dir;
  ConversionRequest request;
  request.input = dir.Write("Pale Ale.rec", testing::RecipeExample());
  request.faults.fail_operation = 3;
  request.faults.code = 0x80040203;
  const ConversionResult result = ConvertFile(request);
  EXPECT_EQ(result.status, ConversionResult::Status::Failed);
  EXPECT_TRUE(result.saved);
  EXPECT_EQ(result.records, 1);
  EXPECT_EQ(result.reports, FormatErrorReport(DocumentError(0x80040203)));
  ASSERT_FALSE(result.messages.empty());
  EXPECT_EQ(result.messages.back().text, "written incomplete: 1 document failure(s) reported");
}

}  // namespace
}  // namespace kegverter
