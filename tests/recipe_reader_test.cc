#include <gtest/gtest.h>

#include "source/recipe.h"
#include "tests/fixture_recipe.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::RecipeFile;

// Reads one recipe from `file`; also reports how far the reader got.
struct ReadResult {
  RecipeRecord recipe;
  std::int32_t replaced = 0;
  std::uint64_t position = 0;
  bool truncated = false;
  std::vector<std::string> warnings;
};

ReadResult ReadOne(const Bytes& bytes) {
  testing::TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("r.rec", bytes), error);
  EXPECT_TRUE(input) << error;
  ReadResult r;
  r.replaced = ReadRecipeRecords(*input, std::span<RecipeRecord>(&r.recipe, 1));
  r.position = input->position();
  r.truncated = input->truncated();
  r.warnings = input->warnings();
  return r;
}

Bytes Hop(const char* name, float alpha, std::uint8_t time) {
  Bytes b(testing::kHopAdditionSize);
  return b.Text(0, 55, name).F32(55, 1.0f).I16(80, 0x2003).Text(451, 160, "Sub")
      .F32(611, -3.0f).F32(620, alpha).F32(625, 1.5f).U8(629, time).U8(630, 255);
}

Bytes Fermentable(const char* name, std::uint8_t type, float amount) {
  Bytes b(testing::kFermentableAdditionSize);
  return b.Text(0, 55, name).U8(165, type).F32(171, 3.5f).F32(517, 78.5f).F32(521, amount);
}

Bytes Misc(const char* name, float amount) {
  Bytes b(testing::kMiscAdditionSize);
  return b.Text(0, 55, name).U8(55, 4).I32(56, 15).U8(62, 3).F32(577, amount).F32(581, -5.0f);
}

Bytes Step(const char* name, std::int32_t temperature) {
  Bytes b(testing::kStepSlotSize);
  return b.Text(0, 255, name).U8(255, 1).I32(256, temperature).I32(268, 30).F32(280, 2.0f);
}

// A recipe with two of every list and three steps, each section marked so that a shift by even
// one byte shows.
RecipeFile FullRecipe() {
  RecipeFile f;
  f.header.Text(0, 85, "Pale Ale").F32(97, 5.0f).F32(101, 6.5f).F32(105, 50.0f)
      .F32(109, 35.26f).F32(113, 0.75f).I32(117, 60).U8(125, 0);
  f.style.Text(0, 55, "Pale Ale").Text(55, 55, "American Pale").F32(111, 1.045f).F32(115, 1.06f)
      .F32(119, 1.01f).F32(123, 1.014f).Text(1028, 2, "B");
  f.hops = {Hop("Cascade", 5.5f, 60), Hop("Centennial", 9.0f, 251)};
  f.fermentables = {Fermentable("Pale Malt", 1, 8.0f), Fermentable("Extract", 2, 3.0f)};
  f.miscs = {Misc("Irish Moss", 1.0f), Misc("Vanilla Extract", 2.0f)};
  f.yeast.Text(0, 55, "US-05").U8(136, 0).I32(455, 73).I32(459, 77);
  f.gap.Fill(0xEE);
  f.water.Text(0, 27, "Burton").F32(27, 275.0f).F32(55, 8.1f);
  f.process.U8(0, 3).I32(33, 152).I32(37, 60).F32(57, 12.5f).Text(62, 4028, "Notes here")
      .Text(4090, 4028, "spare").Raw(8118, std::string(255, '\xAB')).I32(8377, 60);
  f.steps = {Step("Protein", 122), Step("Sacch", 152), Step("Out", 168)};
  f.schedule.Text(0, 255, "My Schedule").U8(255, 1);
  return f.SyncCounts();
}

TEST(RecipeReader, EverySectionDecodesFromItsOwnOffset) {
  const RecipeFile file = FullRecipe();
  const ReadResult r = ReadOne(file.Build());
  const RecipeRecord& rec = r.recipe;
  EXPECT_EQ(r.position, testing::kBareRecipeSize + 2 * (635 + 529 + 589));
  EXPECT_FALSE(r.truncated);
  EXPECT_TRUE(r.warnings.empty());

  EXPECT_EQ(rec.name, "Pale Ale");
  EXPECT_EQ(rec.hop_count, 2);
  EXPECT_EQ(rec.batch_size, 5.0f);
  EXPECT_EQ(rec.boil_size, 6.5f);
  EXPECT_EQ(rec.original_gravity, 50.0f);
  EXPECT_EQ(rec.efficiency, 0.75f);
  EXPECT_EQ(rec.boil_time, 60);
  EXPECT_EQ(rec.style.name, "American Pale");
  EXPECT_EQ(rec.style.style_letter, "B");

  ASSERT_EQ(rec.hops.size(), 2u);
  EXPECT_EQ(rec.hops[1].name, "Centennial");
  EXPECT_EQ(rec.hops[1].type_code, 0x2003);
  EXPECT_EQ(rec.hops[1].substitutes, "Sub");
  EXPECT_EQ(rec.hops[1].inventory, -3.0f);  // not range-tested in a recipe
  EXPECT_EQ(rec.hops[1].alpha, 9.0f);
  EXPECT_EQ(rec.hops[1].amount, 1.5f);
  EXPECT_EQ(rec.hops[1].addition_time, 251);
  EXPECT_EQ(rec.hops[1].dry_hop_marker, 255);

  ASSERT_EQ(rec.fermentables.size(), 2u);
  EXPECT_EQ(rec.fermentables[0].type, 1);
  EXPECT_EQ(rec.fermentables[1].amount, 3.0f);
  EXPECT_EQ(rec.fermentables[1].coarse_grind_yield, 78.5f);

  ASSERT_EQ(rec.miscs.size(), 2u);
  EXPECT_EQ(rec.miscs[1].ingredient_name, "Vanilla Extract");
  EXPECT_EQ(rec.miscs[1].suggested_time, 15);
  EXPECT_EQ(rec.miscs[1].amount, 2.0f);
  EXPECT_EQ(rec.miscs[1].spare_amount, -5.0f);  // never validated

  EXPECT_EQ(rec.yeast.name, "US-05");
  EXPECT_EQ(rec.yeast.attenuation_high, 77);
  EXPECT_EQ(rec.water.name, "Burton");  // after the 5-byte gap
  EXPECT_EQ(rec.water.calcium, 275.0f);
  EXPECT_EQ(rec.process.simple_mash_type, 3);
  EXPECT_EQ(rec.process.saccharification_rest_temperature, 152);
  EXPECT_EQ(rec.process.mash_water, 12.5f);
  EXPECT_EQ(rec.process.notes, "Notes here");
  EXPECT_EQ(rec.process.spare_notes, "spare");
  EXPECT_EQ(rec.process.mash_step_count, 3);
  EXPECT_EQ(rec.process.grain_temperature, 60);  // after the 255 skipped bytes
  ASSERT_EQ(rec.mash_steps.size(), 3u);
  EXPECT_EQ(rec.mash_steps[2].name, "Out");
  EXPECT_EQ(rec.mash_steps[2].step_temperature, 168);
  EXPECT_EQ(rec.schedule.schedule_name, "My Schedule");
  EXPECT_EQ(rec.schedule.mash_mode, 1);
}

TEST(RecipeReader, BareRecipeConsumesExactlyItsSize) {
  RecipeFile f;
  f.schedule.Text(0, 255, "S");
  Bytes bytes = f.Build();
  bytes.Append(Bytes(10).Fill(0x77));  // anything after the recipe is not read
  const ReadResult r = ReadOne(bytes);
  EXPECT_EQ(r.position, testing::kBareRecipeSize);
  EXPECT_TRUE(r.recipe.hops.empty());
  EXPECT_TRUE(r.recipe.fermentables.empty());
  EXPECT_TRUE(r.recipe.miscs.empty());
  EXPECT_TRUE(r.recipe.mash_steps.empty());
  EXPECT_EQ(r.recipe.schedule.schedule_name, "S");
}

TEST(RecipeReader, ExtractRecipeKeepsNoStepsButSkipsAllSlots) {
  RecipeFile f = FullRecipe();
  f.header.U8(125, 2);
  const ReadResult r = ReadOne(f.Build());
  EXPECT_EQ(r.recipe.process.mash_step_count, 0);
  EXPECT_TRUE(r.recipe.mash_steps.empty());
  EXPECT_EQ(r.recipe.schedule.schedule_name, "My Schedule");
}

TEST(RecipeReader, AllFiftyStepSlotsAreUsable) {
  RecipeFile f = FullRecipe();
  f.steps.assign(50, Step("Rest", 150));
  f.steps.back() = Step("Last", 170);
  f.SyncCounts();
  const ReadResult r = ReadOne(f.Build());
  ASSERT_EQ(r.recipe.mash_steps.size(), 50u);
  EXPECT_EQ(r.recipe.mash_steps[49].name, "Last");
  EXPECT_EQ(r.recipe.schedule.schedule_name, "My Schedule");

  f.process.I32(8373, 51);
  const ReadResult over = ReadOne(f.Build());
  EXPECT_TRUE(over.recipe.mash_steps.empty());
  EXPECT_EQ(over.recipe.process.field_errors.at(19), kAboveMaximum);
  EXPECT_EQ(over.recipe.schedule.schedule_name, "My Schedule");
}

TEST(RecipeReader, OversizedListThatFitsIsReadPastWithAWarning) {
  RecipeFile f = FullRecipe();
  f.hops.assign(101, Hop("Many", 5.0f, 10));
  f.SyncCounts();
  const ReadResult r = ReadOne(f.Build());
  EXPECT_TRUE(r.recipe.hops.empty());
  EXPECT_EQ(r.recipe.hop_count, 0);
  EXPECT_EQ(r.recipe.field_errors.at(1), kAboveMaximum);
  // The sections after the list still decode from their own bytes.
  ASSERT_EQ(r.recipe.fermentables.size(), 2u);
  EXPECT_EQ(r.recipe.fermentables[0].name, "Pale Malt");
  EXPECT_EQ(r.recipe.schedule.schedule_name, "My Schedule");
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_EQ(r.warnings[0],
            "the recipe's hop list counts 101 entries, more than 100; the list was left out");
}

TEST(RecipeReader, ImpossibleCountsLeaveTheListOut) {
  for (const std::int32_t count : {-1, 150, 2147483647}) {
    RecipeFile f = FullRecipe();
    f.header.I32(93, count);  // misc count; the file holds two entries
    const ReadResult r = ReadOne(f.Build());
    EXPECT_TRUE(r.recipe.miscs.empty()) << count;
    EXPECT_EQ(r.recipe.misc_count, 0);
    EXPECT_EQ(r.recipe.field_errors.at(3), count < 0 ? kBelowMinimum : kAboveMaximum);
    ASSERT_EQ(r.warnings.size(), 1u) << count;
    EXPECT_NE(r.warnings[0].find("miscellaneous ingredient list counts " + std::to_string(count)),
              std::string::npos) << r.warnings[0];
    EXPECT_EQ(r.recipe.hops.size(), 2u);
  }
}

TEST(RecipeReader, RangesOfTheHeaderAndAdditions) {
  RecipeFile f = FullRecipe();
  f.header.F32(113, -1.0f);
  RecipeRecord rec = ReadOne(f.Build()).recipe;
  EXPECT_EQ(rec.efficiency, 70.0f);
  f.header.F32(113, 111.0f);
  EXPECT_EQ(ReadOne(f.Build()).recipe.efficiency, 70.0f);
  f.header.F32(113, 110.0f);
  EXPECT_EQ(ReadOne(f.Build()).recipe.efficiency, 110.0f);

  f.miscs[0].F32(577, -5.0f);
  f.hops[0].F32(625, 1600001.0f);
  f.fermentables[0].F32(513, -11.5f);
  const ReadResult r = ReadOne(f.Build());
  EXPECT_EQ(r.recipe.miscs[0].amount, 0.0f);
  EXPECT_EQ(r.recipe.hops[0].amount, 0.0f);
  EXPECT_EQ(r.recipe.fermentables[0].fine_grind_yield, 0.0f);
  EXPECT_EQ(r.replaced, 3);
}

TEST(RecipeReader, TruncatedRecipeReadsMissingBytesAsZeros) {
  const Bytes whole = FullRecipe().Build();
  const ReadResult r = ReadOne(whole.Prefix(126 + 1031 + 100));
  EXPECT_TRUE(r.truncated);
  EXPECT_EQ(r.recipe.name, "Pale Ale");
  ASSERT_EQ(r.recipe.hops.size(), 2u);
  EXPECT_EQ(r.recipe.hops[0].name, "Cascade");
  EXPECT_EQ(r.recipe.hops[1].name, "");  // zeros, not the bytes of the hop before
  EXPECT_EQ(r.recipe.water.ph, 0.0f);
  EXPECT_TRUE(r.recipe.mash_steps.empty());
}

TEST(RecipeReader, CountZeroReadsNothing) {
  testing::TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("r.rec", FullRecipe().Build()), error);
  ASSERT_TRUE(input);
  EXPECT_EQ(ReadRecipeRecords(*input, std::span<RecipeRecord>()), 0);
  EXPECT_EQ(input->position(), 0u);
}

}  // namespace
}  // namespace kegverter
