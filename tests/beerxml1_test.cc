// BeerXML 1.0 documents of every kind: the plural list of the kind under the XML declaration,
// the records of the brewing model in metric units, and within the bounds importers validate
// whatever the input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "beerxml1/beerxml1.h"
#include "driver/convert.h"
#include "driver/registry.h"
#include "model/from_source.h"
#include "source/input_file.h"
#include "tests/bad_input.h"
#include "tests/examples.h"
#include "tests/fixture.h"
#include "tests/fixture_recipes.h"
#include "tests/records.h"
#include "tests/write_records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::Bytes;
using testing::TempDir;

// Converts `path` to BeerXML 1.0 beside it; the output path, empty when nothing was written.
std::string ConvertToBeerXml1(const std::string& path) {
  return testing::ConvertInProcess(path, OutputFormat::BeerXml1);
}

struct Document {
  std::string text;
  pugi::xml_document xml;
  pugi::xml_node root;
};

// Reads and parses `path`; fails the test unless it is well-formed with the declaration first.
void Load(const std::string& path, Document& document) {
  document.text = testing::ReadFile(path);
  ASSERT_TRUE(document.text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n")) << path;
  const pugi::xml_parse_result result = document.xml.load_string(document.text.c_str());
  ASSERT_TRUE(result) << path << ": " << result.description();
  document.root = document.xml.document_element();
}

std::vector<pugi::xml_node> Children(pugi::xml_node node, const char* name) {
  std::vector<pugi::xml_node> out;
  for (pugi::xml_node child : node.children(name)) out.push_back(child);
  return out;
}

double Number(pugi::xml_node node, const char* name) {
  const pugi::xml_node child = node.child(name);
  EXPECT_TRUE(child) << name;
  return std::strtod(child.child_value(), nullptr);
}

// The records of one example file, read by the readers and modelled.
template <class R, auto Reader>
std::vector<R> ReadAll(const std::string& path, std::int32_t count) {
  std::string error;
  auto input = InputFile::Open(path, error);
  EXPECT_TRUE(input) << error;
  std::vector<R> records(static_cast<std::size_t>(count));
  if (input) {
    Reader(*input, std::span<R>(records));
  }
  return records;
}

// Bounds of the schema importers validate with, by element name; and the rule that numbers
// carry no exponent and every record names itself and says VERSION 1.
const std::map<std::string, std::pair<double, double>>& Bounds() {
  static const auto* bounds = [] {
    const std::pair<double, double> percent{0, 100}, gravity{0.9, 2.0}, celsius{0, 150},
        positive{0, HUGE_VAL};
    return new std::map<std::string, std::pair<double, double>>{
        {"ALPHA", percent},
        {"BETA", percent},
        {"HSI", percent},
        {"HUMULENE", percent},
        {"CARYOPHYLLENE", percent},
        {"COHUMULONE", percent},
        {"MYRCENE", percent},
        {"YIELD", percent},
        {"COARSE_FINE_DIFF", percent},
        {"MOISTURE", percent},
        {"PROTEIN", percent},
        {"MAX_IN_BATCH", percent},
        {"ATTENUATION", percent},
        {"EFFICIENCY", percent},
        {"ABV_MIN", percent},
        {"ABV_MAX", percent},
        {"OG", gravity},
        {"OG_MIN", gravity},
        {"OG_MAX", gravity},
        {"FG_MIN", gravity},
        {"FG_MAX", gravity},
        {"IBU_MIN", {0, 5000}},
        {"IBU_MAX", {0, 5000}},
        {"COLOR_MIN", {0, 300}},
        {"COLOR_MAX", {0, 300}},
        {"PH", {0, 14}},
        {"GRAIN_TEMP", celsius},
        {"STEP_TEMP", celsius},
        {"END_TEMP", celsius},
        {"MIN_TEMPERATURE", celsius},
        {"MAX_TEMPERATURE", celsius},
        {"BATCH_SIZE", positive},
        {"BOIL_SIZE", positive},
        {"BOIL_TIME", positive},
        {"TIME", positive},
        {"STEP_TIME", positive},
        {"RAMP_TIME", positive},
        {"INFUSE_AMOUNT", positive},
        {"DECOCTION_AMOUNT", positive},
    };
  }();
  return *bounds;
}

void CheckImportable(pugi::xml_node node, const std::string& where) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::string name = child.name();
    if (child.first_child().type() == pugi::node_element) {
      CheckImportable(child, where + "/" + name);
      continue;
    }
    const auto bound = Bounds().find(name);
    if (bound != Bounds().end()) {
      const std::string text = child.child_value();
      EXPECT_EQ(text.find_first_of("eEnN"), std::string::npos) << where << "/" << name << text;
      const double value = std::strtod(text.c_str(), nullptr);
      EXPECT_TRUE(value >= bound->second.first && value <= bound->second.second)
          << where << "/" << name << " " << text;
    }
    if (name == "VERSION") {
      EXPECT_STREQ(child.child_value(), "1") << where;
    }
  }
  const std::string kind = node.name();
  if (kind == "HOP" || kind == "FERMENTABLE" || kind == "MISC" || kind == "YEAST" ||
      kind == "WATER" || kind == "STYLE" || kind == "RECIPE" || kind == "EQUIPMENT") {
    const std::string name = node.child_value("NAME");
    EXPECT_NE(name.find_first_not_of(" \t\r\n"), std::string::npos) << where << " has no name";
    EXPECT_TRUE(node.child("VERSION")) << where;
  }
}

const std::map<std::string, std::pair<std::string, std::string>> kListOf = {
    {"extra.dat", {"MISCS", "MISC"}},
    {"hops.dat", {"HOPS", "HOP"}},
    {"malt.dat", {"FERMENTABLES", "FERMENTABLE"}},
    {"styles.dat", {"STYLES", "STYLE"}},
    {"water.dat", {"WATERS", "WATER"}},
    {"yeast.dat", {"YEASTS", "YEAST"}},
    {"wtr", {"WATERS", "WATER"}},
    {"msh", {"MASHS", "MASH"}},
    {"rec", {"RECIPES", "RECIPE"}},
};

std::string LabelOf(const std::string& name) {
  return name.ends_with(".dat") ? name : name.substr(name.size() - 3);
}

TEST(BeerXml1Examples, EveryExampleConvertsWithItsRecords) {
  TempDir dir;
  for (const testing::ExampleFile& example : testing::ExampleFiles()) {
    const std::string path = dir.Write(example.name, example.make());
    const std::string output = ConvertToBeerXml1(path);
    ASSERT_FALSE(output.empty()) << example.name;
    Document document;
    ASSERT_NO_FATAL_FAILURE(Load(output, document));
    const auto& [list, element] = kListOf.at(LabelOf(example.name));
    EXPECT_EQ(std::string(document.root.name()), list) << example.name;
    CheckImportable(document.root, example.name);
    // As many records as the BeerXML 2.01 output of the same file.
    ASSERT_EQ(testing::Convert(path).exit_code, 0);
    testing::ParsedXml xml;
    testing::ParseXmlFile(path.substr(0, path.size() - 3) + "xml", xml);
    EXPECT_EQ(Children(document.root, element.c_str()).size(), xml.Records().size())
        << example.name;
  }
}

constexpr double kLitresPerGallon = 3.785411784;
constexpr double kKilogramsPerPound = 0.45359237;

// Equal to 9 significant digits.
void ExpectClose(double actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, std::fabs(expected) * 1e-8 + 1e-12) << what;
}

TEST(BeerXml1Examples, RecipeHoldsTheModelInMetricUnits) {
  TempDir dir;
  const std::string path = dir.Write("Pale Ale.rec", testing::RecipeExample());
  Document document;
  ASSERT_NO_FATAL_FAILURE(Load(ConvertToBeerXml1(path), document));
  const auto records = ReadAll<RecipeRecord, ReadRecipeRecords>(path, 1);
  const model::Recipe r = model::ModelOf(records.at(0));

  const pugi::xml_node recipe = document.root.child("RECIPE");
  EXPECT_EQ(recipe.child_value("NAME"), r.name);
  EXPECT_STREQ(recipe.child_value("TYPE"), "All Grain");
  ExpectClose(Number(recipe, "BATCH_SIZE"), r.batch_size.value * kLitresPerGallon, "batch");
  ExpectClose(Number(recipe, "BOIL_SIZE"), r.boil_size.value * kLitresPerGallon, "boil");
  // Importers refuse a recipe without equipment: it restates the recipe's sizes and boil time.
  const pugi::xml_node equipment = recipe.child("EQUIPMENT");
  EXPECT_EQ(Number(equipment, "BATCH_SIZE"), Number(recipe, "BATCH_SIZE"));
  EXPECT_EQ(Number(equipment, "BOIL_SIZE"), Number(recipe, "BOIL_SIZE"));
  EXPECT_EQ(Number(equipment, "BOIL_TIME"), r.boil_time.value);
  EXPECT_EQ(recipe.child("STYLE").child_value("NAME"), r.style->name);
  EXPECT_NE(std::string(recipe.child_value("NOTES")).find("IBUs (estimated)"), std::string::npos);

  const auto fermentables = Children(recipe.child("FERMENTABLES"), "FERMENTABLE");
  ASSERT_EQ(fermentables.size(), r.fermentables.size());
  for (std::size_t i = 0; i < fermentables.size(); ++i) {
    EXPECT_EQ(fermentables[i].child_value("NAME"), r.fermentables[i].fermentable.name);
    ExpectClose(Number(fermentables[i], "AMOUNT"),
                r.fermentables[i].amount.value * kKilogramsPerPound, "fermentable amount");
  }
  const auto hops = Children(recipe.child("HOPS"), "HOP");
  ASSERT_EQ(hops.size(), r.hops.size());
  for (std::size_t i = 0; i < hops.size(); ++i) {
    EXPECT_EQ(hops[i].child_value("NAME"), r.hops[i].name);
    ExpectClose(Number(hops[i], "AMOUNT"), r.hops[i].amount.value * kKilogramsPerPound / 16,
                "hop amount");
  }
  // The dry hop's five days in minutes.
  EXPECT_STREQ(hops.back().child_value("USE"), "Dry Hop");
  EXPECT_EQ(Number(hops.back(), "TIME"), 7200);
  EXPECT_EQ(Children(recipe.child("MISCS"), "MISC").size(), r.miscs.size());
  EXPECT_EQ(Children(recipe.child("YEASTS"), "YEAST").size(), 1u);
  const pugi::xml_node water = recipe.child("WATERS").child("WATER");
  ExpectClose(Number(water, "AMOUNT"), r.water->amount.value * kLitresPerGallon, "water");

  const pugi::xml_node mash = recipe.child("MASH");
  const auto steps = Children(mash.child("MASH_STEPS"), "MASH_STEP");
  ASSERT_EQ(steps.size(), r.mash->steps.size());
  ExpectClose(Number(mash, "GRAIN_TEMP"), (r.mash->grain_temperature.value - 32) * 5 / 9, "grain");
  for (std::size_t i = 0; i < steps.size(); ++i) {
    ExpectClose(Number(steps[i], "STEP_TEMP"),
                (r.mash->steps[i].step_temperature.value - 32) * 5 / 9, "step temperature");
  }
  // Infusions name their water in litres.
  ExpectClose(Number(steps[0], "INFUSE_AMOUNT"),
              r.mash->steps[0].amount->value * kLitresPerGallon / 4, "infusion");
}

TEST(BeerXml1Numbers, ShownDecimalsConvertedToNineDigitsWithoutExponent) {
  file::Recipe sizes;
  sizes.header = {.name = "Sizes", .batch_size = 5.5f, .boil_size = 6.8f};
  TempDir dir;
  const std::string path = dir.Write("sizes.rec", file::ToBytes(sizes));
  Document document;
  ASSERT_NO_FATAL_FAILURE(Load(ConvertToBeerXml1(path), document));
  const auto records = ReadAll<RecipeRecord, ReadRecipeRecords>(path, 1);
  const model::Recipe r = model::ModelOf(records.at(0));
  const pugi::xml_node recipe = document.root.child("RECIPE");
  // The stored 32-bit value is read as the decimal it shows before it is converted.
  const auto expect_text = [&](const char* name, const model::Quantity& q) {
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.7g", q.value);
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.9g",
                  std::strtod(shown, nullptr) * kLitresPerGallon);
    EXPECT_EQ(std::strtod(recipe.child_value(name), nullptr), std::strtod(expected, nullptr))
        << name;
  };
  expect_text("BATCH_SIZE", r.batch_size);
  expect_text("BOIL_SIZE", r.boil_size);
  // No recipe style: a style is still written, since importers require one.
  EXPECT_TRUE(recipe.child("STYLE").child("NAME"));
  EXPECT_TRUE(recipe.child("MASH").child("MASH_STEPS"));
  CheckImportable(document.root, "sizes");
}

TEST(BeerXml1BadInput, UnknownCodesAndEmptyNamesGoToTheNotes) {
  file::Recipe odd;
  odd.header = {.name = "", .recipe_type = 9};
  odd.style = {.category = "Odd", .name = "Style", .type = 4};
  odd.hops = {testing::RecipeHop("Mystery", 0, 0, 0x7003, 1.5f, 0, 0, "")};
  odd.miscs = {testing::RecipeMisc("Dust", 9, 8, 2.0f, 0, 7, 5)};
  odd.yeast = {.name = "Yeast",
               .type = 8,
               .form = 9,
               .temperature = std::numeric_limits<float>::quiet_NaN()};
  odd.SyncCounts();

  TempDir dir;
  Document document;
  ASSERT_NO_FATAL_FAILURE(
      Load(ConvertToBeerXml1(dir.Write("odd.rec", file::ToBytes(odd))), document));
  CheckImportable(document.root, "odd");
  const pugi::xml_node recipe = document.root.child("RECIPE");
  EXPECT_STREQ(recipe.child_value("NAME"), "Unnamed recipe");
  EXPECT_STREQ(recipe.child_value("TYPE"), "All Grain");
  const std::string notes = recipe.child_value("NOTES");
  for (const char* line : {"Name as stored: \"\"", "Recipe type code 9 (no meaning known)",
                           "Style type code 4 (no meaning known)"}) {
    EXPECT_NE(notes.find(line), std::string::npos) << line << "\nin: " << notes;
  }
  const pugi::xml_node h = recipe.child("HOPS").child("HOP");
  EXPECT_FALSE(h.child("FORM"));
  EXPECT_NE(std::string(h.child_value("NOTES")).find("Form code 7 (no meaning known)"),
            std::string::npos);
  const pugi::xml_node m = recipe.child("MISCS").child("MISC");
  EXPECT_STREQ(m.child_value("AMOUNT"), "0");
  const std::string misc_notes = m.child_value("NOTES");
  for (const char* line : {"Type code 9 (no meaning known)", "Use code 7 (no meaning known)",
                           "Amount: unit code 8 (no meaning known)"}) {
    EXPECT_NE(misc_notes.find(line), std::string::npos) << line << "\nin: " << misc_notes;
  }
  const pugi::xml_node y = recipe.child("YEASTS").child("YEAST");
  EXPECT_STREQ(y.child_value("TYPE"), "Ale");
  EXPECT_STREQ(y.child_value("FORM"), "Liquid");
}

TEST(BeerXml1BadInput, OutOfBoundsValuesAreClampedAndNamed) {
  const std::vector<file::Yeast> records = {
      {.name = "Hot",
       .attenuation_low = 2147483647,
       .attenuation_high = 2147483647,
       .temperature = 3.0e38f},
      {.name = "\x01\x92\x81", .temperature = std::numeric_limits<float>::infinity()},
  };
  TempDir dir;
  Document document;
  ASSERT_NO_FATAL_FAILURE(
      Load(ConvertToBeerXml1(dir.Write("yeast.dat", file::DatabaseOf(records))), document));
  CheckImportable(document.root, "yeast.dat");
  const auto yeasts = Children(document.root, "YEAST");
  ASSERT_EQ(yeasts.size(), 2u);
  EXPECT_STREQ(yeasts[0].child_value("MAX_TEMPERATURE"), "150");
  EXPECT_STREQ(yeasts[0].child_value("ATTENUATION"), "100");
  const std::string notes = yeasts[0].child_value("NOTES");
  EXPECT_NE(notes.find("Temperature as stored: 3e+38 F"), std::string::npos) << notes;
  EXPECT_NE(notes.find("Attenuation as stored: 2147483647 %"), std::string::npos) << notes;
  // A non-number reads as 0 F: -17.8 C, below the bound.
  EXPECT_STREQ(yeasts[1].child_value("MIN_TEMPERATURE"), "0");
  EXPECT_STREQ(yeasts[1].child_value("NAME"), "\xEF\xBF\xBD\xE2\x80\x99\xC2\x81");
}

TEST(BeerXml1BadInput, UnknownStepKindsLeaveTheMashAndAreNamed) {
  const file::MashSchedule schedule = bad_input::ScheduleWithAnUnknownStepKind();
  TempDir dir;
  Document document;
  ASSERT_NO_FATAL_FAILURE(
      Load(ConvertToBeerXml1(dir.Write("Two.msh", file::ToBytes(schedule))), document));
  const pugi::xml_node mash = document.root.child("MASH");
  const auto steps = Children(mash.child("MASH_STEPS"), "MASH_STEP");
  ASSERT_EQ(steps.size(), 1u);
  ExpectClose(Number(steps[0], "INFUSE_AMOUNT"), 12.5 * kLitresPerGallon / 4, "infusion");
  ExpectClose(Number(steps[0], "STEP_TEMP"), (152.0 - 32) * 5 / 9, "rest");
  const std::string notes = mash.child_value("NOTES");
  EXPECT_NE(notes.find("Step \"Odd\" left out: kind code 7 (no meaning known)"), std::string::npos)
      << notes;
  EXPECT_NE(notes.find("Grain temperature as stored: 0 F"), std::string::npos) << notes;
}

// Every example with bytes overwritten at random (fixed seeds): whatever comes out is well-formed
// and within the bounds importers validate.
TEST(BeerXml1BadInput, DamagedExamplesStayImportable) {
  TempDir dir;
  int written = 0;
  for (const testing::DamagedExample& copy : testing::WriteDamagedExamples(dir, 21, 12)) {
    const std::string output = ConvertToBeerXml1(copy.path);
    if (output.empty()) continue;
    ++written;
    Document document;
    ASSERT_NO_FATAL_FAILURE(Load(output, document));
    CheckImportable(document.root, copy.folder);
  }
  EXPECT_GT(written, 80);
}

// A list holds at least one record and a document at least one list, as importers validate: no
// valid BeerXML 1.0 document holds nothing. Given no records, a writer writes nothing and says
// why; the conversion of a database that counts none never reaches it.
TEST(BeerXml1Empty, NoRecordsWriteNoDocument) {
  TempDir dir;
  const auto expect_nothing = [&](const char* what, auto write) {
    SCOPED_TRACE(what);
    ExportRun run;
    const std::string path = dir.Path(std::string(what) + ".xml");
    write(run);
    EXPECT_FALSE(run.written);
    EXPECT_EQ(run.write_error, "no records: a BeerXML 1.0 list needs at least one");
    EXPECT_EQ(run.failures_reported, 0);
    EXPECT_FALSE(testing::SaveWriterOutput(run, path));
    EXPECT_FALSE(std::filesystem::exists(path));
  };
  expect_nothing("misc", [](ExportRun& r) {
    testing::WriteRecords<MiscRecord>(OutputFormat::BeerXml1, {}, r);
  });
  expect_nothing("malt", [](ExportRun& r) {
    testing::WriteRecords<MaltRecord>(OutputFormat::BeerXml1, {}, r);
  });
  expect_nothing("hops", [](ExportRun& r) {
    testing::WriteRecords<HopRecord>(OutputFormat::BeerXml1, {}, r);
  });
  expect_nothing("styles", [](ExportRun& r) {
    testing::WriteRecords<StyleRecord>(OutputFormat::BeerXml1, {}, r);
  });
  expect_nothing("water", [](ExportRun& r) {
    testing::WriteRecords<WaterRecord>(OutputFormat::BeerXml1, {}, r);
  });
  expect_nothing("yeast", [](ExportRun& r) {
    testing::WriteRecords<YeastRecord>(OutputFormat::BeerXml1, {}, r);
  });
  expect_nothing("mash", [](ExportRun& r) {
    testing::WriteRecords<MashScheduleRecord>(OutputFormat::BeerXml1, {}, r);
  });
  expect_nothing("recipe", [](ExportRun& r) {
    testing::WriteRecords<RecipeRecord>(OutputFormat::BeerXml1, {}, r);
  });

  // An existing output stays as it was.
  const std::string kept = dir.Write("kept.xml", std::string_view("<HOPS>old</HOPS>"));
  ExportRun run;
  testing::WriteRecords<HopRecord>(OutputFormat::BeerXml1, {}, run);
  EXPECT_FALSE(testing::SaveWriterOutput(run, kept));
  EXPECT_EQ(testing::ReadFile(kept), "<HOPS>old</HOPS>");

  // Through the conversion, a database counting no records fails before any writer, as for
  // every format, and leaves no output.
  const std::string input = dir.Write("hops.dat", testing::Database(0, {}));
  ConversionRequest request;
  request.input = input;
  request.format = OutputFormat::BeerXml1;
  const ConversionResult result = ConvertFile(request);
  EXPECT_EQ(result.status, ConversionResult::Status::NotConverted);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("hops.xml")));
}

}  // namespace
}  // namespace kegverter
