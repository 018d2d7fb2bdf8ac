// A recipe's mash as the recipe writer writes it: the simple mash that the model derives from the
// rests (with its strike water temperature), and the recipe's own step list.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/fixture.h"
#include "tests/fixture_recipes.h"
#include "tests/records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::Bytes;
using testing::ChildNames;
using testing::Contents;
using testing::ConvertedRecipe;
using testing::ConvertRecipe;
using testing::kRecipeOrder;
using testing::Lines;
using testing::TextAt;

using testing::kAcidRest;
using testing::kIntermediateRest;
using testing::kMashOut;
using testing::kProteinRest;
using testing::kSaccharificationRest;
using testing::MashSteps;
using testing::RecipeFermentable;
using testing::Rest;
using testing::SimpleMashRecipe;
using testing::StepSlot;

TEST(RecipeMash, SimpleMashWithStrikeTemperature) {
  ConvertedRecipe c;
  ConvertRecipe(SimpleMashRecipe(), c);
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

TEST(RecipeMash, AcidRestTakesTheInfusion) {
  file::Recipe f = SimpleMashRecipe();
  Rest(f, kAcidRest, 95, 15);
  ConvertedRecipe c;
  ConvertRecipe(f, c);
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

TEST(RecipeMash, RestsBelowThePreviousOneAreSkipped) {
  file::Recipe f = SimpleMashRecipe();
  Rest(f, kAcidRest, 130, 10);
  Rest(f, kProteinRest, 122, 20);           // below the acid rest
  Rest(f, kIntermediateRest, 140, -5);      // a negative time is no rest
  Rest(f, kSaccharificationRest, 128, 60);  // still below 130
  ConvertedRecipe c;
  ConvertRecipe(f, c);
  ASSERT_TRUE(c.xml.result);
  const std::vector<Lines> steps = MashSteps(c);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0][0], "name Acid Rest");
  EXPECT_EQ(steps[1][0], "name Mash Out");
}

TEST(RecipeMash, SingleStepMashUsesTheLastTwoRests) {
  // 0 and 1 are taken as single-step.
  for (const std::uint8_t type : {std::uint8_t{2}, std::uint8_t{0}, std::uint8_t{1}}) {
    SCOPED_TRACE(static_cast<int>(type));
    file::Recipe f = SimpleMashRecipe();
    f.process.simple_mash_type = type;
    Rest(f, kAcidRest, 95, 15);
    Rest(f, kMashOut, 0, 0);
    ConvertedRecipe c;
    ConvertRecipe(f, c);
    ASSERT_TRUE(c.xml.result);
    EXPECT_EQ(ChildNames(c.Recipe()), kRecipeOrder);
    EXPECT_EQ(TextAt(c.Recipe(), "mash/name"), "Simple Mash Type - Single Step");
    const std::vector<Lines> steps = MashSteps(c);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0][0], "name Saccharification Rest");
    EXPECT_EQ(steps[0][9], "infuse_temperature@degrees=F 166.0");

    // Only the early rests set: a single-step mash has nothing to write.
    Rest(f, kSaccharificationRest, 0, 60);
    ConvertedRecipe none;
    ConvertRecipe(f, none);
    ASSERT_TRUE(none.xml.result);
    EXPECT_FALSE(none.Recipe().child("mash"));
  }
}

TEST(RecipeMash, GrainWeightAndMissingWaterOrGrain) {
  // Only grain-type fermentables weigh: 8 pounds of grain beside 3 of extract.
  file::Recipe f = SimpleMashRecipe();
  f.fermentables = {RecipeFermentable("Pale Malt", 1, 8.0f), RecipeFermentable("Extract", 2, 3.0f)};
  ConvertedRecipe c;
  ConvertRecipe(f.SyncCounts(), c);
  ASSERT_TRUE(c.xml.result);
  EXPECT_EQ(MashSteps(c).at(0).at(8), "water_grain_ratio 1.56");  // 12.5 / 8

  // No mash water: the strike water is at the rest temperature.
  f.process.mash_water = 0.0f;
  ConvertedRecipe dry;
  ConvertRecipe(f, dry);
  ASSERT_TRUE(dry.xml.result);
  EXPECT_EQ(MashSteps(dry).at(0),
            (Lines{"name Saccharification Rest", "type infusion", "infuse_amount@volume=qt 0.00",
                   "step_temperature@degrees=F 152.0", "step_time@duration=min 60.0",
                   "ramp_time@duration=min 5.0", "end_temperature@degrees=F 152.0",
                   "description Add 0.00 qt of water at 152.0 F", "water_grain_ratio 0.00",
                   "infuse_temperature@degrees=F 152.0"}));

  // No grain at all: no ratio.
  f.process.mash_water = 12.5f;
  f.fermentables = {RecipeFermentable("Extract", 2, 3.0f)};
  ConvertedRecipe extract_only;
  ConvertRecipe(f.SyncCounts(), extract_only);
  ASSERT_TRUE(extract_only.xml.result);
  EXPECT_EQ(MashSteps(extract_only).at(0).at(8), "water_grain_ratio 0.00");
  EXPECT_EQ(MashSteps(extract_only).at(0).at(9), "infuse_temperature@degrees=F 152.0");
}

TEST(RecipeMash, StepListMashIsCopied) {
  file::Recipe f = SimpleMashRecipe();
  f.process.grain_temperature = 55;
  f.schedule = {"Hochkurz Decoction", 1};
  f.steps = {
      StepSlot(0, "Dough In", 144, 144, 160, 30, 2, 1.5f, 15.0f),
      StepSlot(2, "Decoction", 158, 158, 0, 20, 15, 0, 4.0f),
      StepSlot(1, "Mash Out", 168, 168, 0, 10, 10, 0, 0),
      StepSlot(7, "Unknown Kind", 170, 171, 0, 5, 1, 0, 0),
  };
  ConvertedRecipe c;
  ConvertRecipe(f.SyncCounts(), c);
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
  ConvertedRecipe empty;
  ConvertRecipe(f.SyncCounts(), empty);
  ASSERT_TRUE(empty.xml.result);
  EXPECT_FALSE(empty.Recipe().child("mash"));

  // Any mode but 1 is the simple mash, and its rests decide whether there is one.
  f.schedule.mash_mode = 2;
  ConvertedRecipe simple;
  ConvertRecipe(f, simple);
  ASSERT_TRUE(simple.xml.result);
  EXPECT_EQ(TextAt(simple.Recipe(), "mash/name"), "Simple Mash Type - Multi Step");
  EXPECT_EQ(MashSteps(simple).size(), 2u);
}

TEST(RecipeMash, ExtractRecipeHasNoMash) {
  for (const std::uint8_t mode : {std::uint8_t{0}, std::uint8_t{1}}) {
    file::Recipe f = SimpleMashRecipe();
    f.header.recipe_type = 2;
    f.schedule.mash_mode = mode;
    f.steps = {StepSlot(0, "Dough In", 152, 152, 166, 60, 2, 1.25f, 12.5f)};
    ConvertedRecipe c;
    ConvertRecipe(f.SyncCounts(), c);
    ASSERT_TRUE(c.xml.result);
    EXPECT_EQ(TextAt(c.Recipe(), "type"), "extract");
    EXPECT_FALSE(c.Recipe().child("mash")) << static_cast<int>(mode);
    EXPECT_EQ(ChildNames(c.Recipe()).back(), "international_bitterness_units");
  }
}

}  // namespace
}  // namespace kegverter
