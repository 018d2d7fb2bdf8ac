// Recipe files end to end: every section as source/recipe reads it, and the recipe document of
// beerxml2/recipe_writer (header, style, notes and summary), in files and in process.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "beerxml2/recipe_writer.h"
#include "source/recipe.h"
#include "tests/document_faults.h"
#include "tests/fixture.h"
#include "tests/fixture_recipes.h"
#include "tests/records.h"
#include "tests/write_records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::BareRecipe;
using testing::Bytes;
using testing::ChildNames;
using testing::ConvertedRecipe;
using testing::ConvertRecipe;
using testing::FullRecipe;
using testing::kRecipeOrder;
using testing::Lines;
using testing::ParsedXml;
using testing::TempDir;
using testing::TextAt;

Lines Contents(pugi::xml_node node) { return testing::ElementLines(node); }

// ---- Reader ----

// Reads one recipe from `bytes`; also reports how far the reader got.
struct ReadResult {
  RecipeRecord recipe;
  std::int32_t replaced = 0;
  std::uint64_t position = 0;
  bool truncated = false;
  std::vector<std::string> warnings;
};

ReadResult ReadOne(const Bytes& bytes) {
  TempDir dir;
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

file::HopAddition MarkedHop(const char* name, float alpha, std::uint8_t time) {
  file::HopAddition h;
  h.name = name;
  h.alpha_acid = 1.0f;
  h.type_code = 0x2003;
  h.substitutes = "Sub";
  h.inventory = -3.0f;
  h.alpha = alpha;
  h.amount = 1.5f;
  h.addition_time = time;
  h.dry_hop_marker = 255;
  return h;
}

file::FermentableAddition MarkedFermentable(const char* name, std::uint8_t type, float amount) {
  file::FermentableAddition f;
  f.name = name;
  f.type = type;
  f.color = 3.5f;
  f.coarse_grind_yield = 78.5f;
  f.amount = amount;
  return f;
}

file::MiscAddition MarkedMisc(const char* name, float amount) {
  file::MiscAddition m;
  m.ingredient_name = name;
  m.ingredient_type = 4;
  m.suggested_time = 15;
  m.inventory_unit_of_measurement = 3;
  m.amount = amount;
  m.spare_amount = -5.0f;
  return m;
}

file::MashStep MarkedStep(const char* name, std::int32_t temperature) {
  file::MashStep s;
  s.name = name;
  s.type = 1;
  s.step_temperature = temperature;
  s.step_time = 30;
  s.step_amount = 2.0f;
  return s;
}

// A recipe with two of every list and three steps, each section marked so that a shift by even
// one byte shows.
file::Recipe EverySectionMarked() {
  file::Recipe f;
  f.header = {.name = "Pale Ale",
              .batch_size = 5.0f,
              .boil_size = 6.5f,
              .original_gravity = 50.0f,
              .bitterness = 35.26f,
              .efficiency = 0.75f,
              .boil_time = 60};
  f.style = {.category = "Pale Ale",
             .name = "American Pale",
             .original_gravity_min = 1.045f,
             .original_gravity_max = 1.06f,
             .final_gravity_min = 1.01f,
             .final_gravity_max = 1.014f,
             .style_letter = "B"};
  f.hops = {MarkedHop("Cascade", 5.5f, 60), MarkedHop("Centennial", 9.0f, 251)};
  f.fermentables = {MarkedFermentable("Pale Malt", 1, 8.0f), MarkedFermentable("Extract", 2, 3.0f)};
  f.miscs = {MarkedMisc("Irish Moss", 1.0f), MarkedMisc("Vanilla Extract", 2.0f)};
  f.yeast = {.name = "US-05", .attenuation_low = 73, .attenuation_high = 77};
  f.gap = std::string(file::kRecipeGapSize, '\xEE');
  f.water = {.name = "Burton", .calcium = 275.0f, .ph = 8.1f};
  f.process = {.simple_mash_type = 3,
               .saccharification_rest_temperature = 152,
               .saccharification_rest_time = 60,
               .mash_water = 12.5f,
               .notes = "Notes here",
               .spare_notes = "spare",
               .unread = std::string(255, '\xAB'),
               .grain_temperature = 60};
  f.steps = {MarkedStep("Protein", 122), MarkedStep("Sacch", 152), MarkedStep("Out", 168)};
  f.schedule = {"My Schedule", 1};
  return f.SyncCounts();
}

TEST(RecipeReader, EverySectionDecodesFromItsOwnOffset) {
  const ReadResult r = ReadOne(file::ToBytes(EverySectionMarked()));
  const RecipeRecord& rec = r.recipe;
  EXPECT_EQ(r.position,
            file::kBareRecipeSize + 2 * (file::kHopAdditionSize + file::kFermentableAdditionSize +
                                         file::kMiscAdditionSize));
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
  file::Recipe f;
  f.schedule.schedule_name = "S";
  Bytes bytes = file::ToBytes(f);
  bytes.Append(Bytes(10).Fill(0x77));  // anything after the recipe is not read
  const ReadResult r = ReadOne(bytes);
  EXPECT_EQ(r.position, file::kBareRecipeSize);
  EXPECT_TRUE(r.recipe.hops.empty());
  EXPECT_TRUE(r.recipe.fermentables.empty());
  EXPECT_TRUE(r.recipe.miscs.empty());
  EXPECT_TRUE(r.recipe.mash_steps.empty());
  EXPECT_EQ(r.recipe.schedule.schedule_name, "S");
}

TEST(RecipeReader, ExtractRecipeKeepsNoStepsButSkipsAllSlots) {
  file::Recipe f = EverySectionMarked();
  f.header.recipe_type = 2;
  const ReadResult r = ReadOne(file::ToBytes(f));
  EXPECT_EQ(r.recipe.process.mash_step_count, 0);
  EXPECT_TRUE(r.recipe.mash_steps.empty());
  EXPECT_EQ(r.recipe.schedule.schedule_name, "My Schedule");
}

TEST(RecipeReader, AllFiftyStepSlotsAreUsable) {
  file::Recipe f = EverySectionMarked();
  f.steps.assign(50, MarkedStep("Rest", 150));
  f.steps.back() = MarkedStep("Last", 170);
  f.SyncCounts();
  const ReadResult r = ReadOne(file::ToBytes(f));
  ASSERT_EQ(r.recipe.mash_steps.size(), 50u);
  EXPECT_EQ(r.recipe.mash_steps[49].name, "Last");
  EXPECT_EQ(r.recipe.schedule.schedule_name, "My Schedule");

  f.process.mash_step_count = 51;
  const ReadResult over = ReadOne(file::ToBytes(f));
  EXPECT_TRUE(over.recipe.mash_steps.empty());
  EXPECT_EQ(over.recipe.process.field_errors.at(19), kAboveMaximum);
  EXPECT_EQ(over.recipe.schedule.schedule_name, "My Schedule");
}

TEST(RecipeReader, OversizedListThatFitsIsReadPastWithAWarning) {
  file::Recipe f = EverySectionMarked();
  f.hops.assign(101, MarkedHop("Many", 5.0f, 10));
  f.SyncCounts();
  const ReadResult r = ReadOne(file::ToBytes(f));
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
    file::Recipe f = EverySectionMarked();
    f.header.misc_count = count;  // the file holds two entries
    const ReadResult r = ReadOne(file::ToBytes(f));
    EXPECT_TRUE(r.recipe.miscs.empty()) << count;
    EXPECT_EQ(r.recipe.misc_count, 0);
    EXPECT_EQ(r.recipe.field_errors.at(3), count < 0 ? kBelowMinimum : kAboveMaximum);
    ASSERT_EQ(r.warnings.size(), 1u) << count;
    EXPECT_NE(r.warnings[0].find("miscellaneous ingredient list counts " + std::to_string(count)),
              std::string::npos)
        << r.warnings[0];
    EXPECT_EQ(r.recipe.hops.size(), 2u);
  }
}

TEST(RecipeReader, RangesOfTheHeaderAndAdditions) {
  file::Recipe f = EverySectionMarked();
  f.header.efficiency = -1.0f;
  RecipeRecord rec = ReadOne(file::ToBytes(f)).recipe;
  EXPECT_EQ(rec.efficiency, 70.0f);
  f.header.efficiency = 111.0f;
  EXPECT_EQ(ReadOne(file::ToBytes(f)).recipe.efficiency, 70.0f);
  f.header.efficiency = 110.0f;
  EXPECT_EQ(ReadOne(file::ToBytes(f)).recipe.efficiency, 110.0f);

  f.miscs[0].amount = -5.0f;
  f.hops[0].amount = 1600001.0f;
  f.fermentables[0].fine_grind_yield = -11.5f;
  const ReadResult r = ReadOne(file::ToBytes(f));
  EXPECT_EQ(r.recipe.miscs[0].amount, 0.0f);
  EXPECT_EQ(r.recipe.hops[0].amount, 0.0f);
  EXPECT_EQ(r.recipe.fermentables[0].fine_grind_yield, 0.0f);
  EXPECT_EQ(r.replaced, 3);
}

TEST(RecipeReader, TruncatedRecipeReadsMissingBytesAsZeros) {
  const Bytes whole = file::ToBytes(EverySectionMarked());
  const ReadResult r = ReadOne(whole.Prefix(file::kRecipeHeaderSize + file::kStyleSize + 100));
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
  auto input = InputFile::Open(dir.Write("r.rec", file::ToBytes(EverySectionMarked())), error);
  ASSERT_TRUE(input);
  EXPECT_EQ(ReadRecipeRecords(*input, std::span<RecipeRecord>()), 0);
  EXPECT_EQ(input->position(), 0u);
}

// ---- Document ----

TEST(RecipeExport, WholeRecipeInDocumentOrder) {
  ConvertedRecipe c;
  ConvertRecipe(FullRecipe(), c, "Pale Ale.rec");
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
  file::Recipe f = BareRecipe();
  f.style.category = "";  // the second text alone does not make a style
  ConvertedRecipe c;
  ConvertRecipe(f, c);
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
    file::Recipe f = BareRecipe();
    f.style.style_letter = k.letter;
    f.style.type = 4;
    f.header.recipe_type = 3;
    ConvertedRecipe c;
    ConvertRecipe(f, c);
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
    file::Recipe f = BareRecipe();
    f.header.efficiency = stored;
    ConvertedRecipe c;
    ConvertRecipe(f, c);
    ASSERT_TRUE(c.xml.result);
    EXPECT_EQ(TextAt(c.Recipe(), "efficiency"), written) << stored;
  }
}

TEST(RecipeExport, SummaryFigures) {
  file::Recipe f = BareRecipe();
  f.header.original_gravity = 0.0f;
  f.header.bitterness = 0.0f;
  f.process.notes = std::string(4028, 'n');  // the whole field, no terminator
  ConvertedRecipe c;
  ConvertRecipe(f, c);
  ASSERT_TRUE(c.xml.result);
  EXPECT_EQ(TextAt(c.Recipe(), "notes"), std::string(4028, 'n'));
  EXPECT_EQ(TextAt(c.Recipe(), "original_gravity"), "1.000");
  EXPECT_EQ(TextAt(c.Recipe(), "international_bitterness_units/estimate"), "0.0");

  f.header.original_gravity = 1000.0f;
  f.header.bitterness = 1000.0f;
  ConvertedRecipe high;
  ConvertRecipe(f, high);
  ASSERT_TRUE(high.xml.result);
  EXPECT_EQ(TextAt(high.Recipe(), "original_gravity"), "2.000");
  EXPECT_EQ(TextAt(high.Recipe(), "international_bitterness_units/estimate"), "1000.0");
}

TEST(RecipeExport, TruncatedEmptyAndUnwrittenFiles) {
  // A truncated recipe converts what it has.
  ConvertedRecipe cut;
  // Cut inside the hop addition.
  ConvertRecipe(
      file::ToBytes(FullRecipe()).Prefix(file::kRecipeHeaderSize + file::kStyleSize + 629), cut);
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
      testing::Convert(dir.Write("blocked.rec", file::ToBytes(FullRecipe())));
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
  const testing::SimulatedDocumentFaults faults({.fail_operation = failing});
  const std::string path = dir.Path("out.xml");
  std::filesystem::remove(path);
  testing::WriteRecords(OutputFormat::BeerXml2, recipes, out.run);
  testing::SaveWriterOutput(out.run, path);
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

}  // namespace
}  // namespace kegverter
