// BeerJSON documents of every kind: schema-valid whatever the input, the same brewing values as
// the BeerXML 2.01 output of the same file, in the application's own units, and what BeerJSON has
// no place for said in the notes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <thread>

#include "beerjson/beerjson.h"
#include "document/emitter.h"
#include "driver/convert.h"
#include "driver/registry.h"
#include "output/save.h"
#include "source/input_file.h"
#include "tests/bad_input.h"
#include "tests/examples.h"
#include "tests/fixture.h"
#include "tests/fixture_recipes.h"
#include "tests/json.h"
#include "tests/records.h"

namespace kegverter {
namespace {

using testing::Json;
namespace file = testing::file;
using testing::Bytes;
using testing::TempDir;

// Converts `path` to BeerJSON beside it; the output path, empty when nothing was written.
std::string ConvertToBeerJson(const std::string& path) {
  return testing::ConvertInProcess(path, OutputFormat::BeerJson);
}

// Runs the project's validator over `paths`; the text it printed when a document is invalid.
// The validator is a Python program of the build machine, which a Windows test program cannot
// run (Wine starts a Linux program but cannot wait for it): there the documents go unchecked,
// and scripts/test-windows.sh compares the examples' BeerJSON with Linux's byte for byte.
std::string SchemaErrors(const std::vector<std::string>& paths) {
  if (testing::kWindows) return std::string();
  std::string command = "/usr/bin/python3 '" KEGVERTER_SOURCE_DIR "/scripts/validate_beerjson.py'";
  for (const std::string& p : paths) command += " '" + p + "'";
  command += " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "cannot run the validator";
  std::string output;
  char buffer[4096];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  return status == 0 ? std::string() : output + " (status " + std::to_string(status) + ")";
}

Json ReadJson(const std::string& path) { return Json::Parse(testing::ReadFile(path)); }

// The first record of the document's only list.
Json FirstRecord(const Json& document, const char* list) {
  return document.at("beerjson").at(list).at(0);
}

// Writes `bytes` as `name`, converts it to BeerJSON and to BeerXML 2.01, and validates the
// BeerJSON document.
struct BothOutputs {
  Json beerjson;
  testing::ParsedXml beerxml;
};

void ConvertBoth(const TempDir& dir, const std::string& name, const Bytes& bytes,
                 BothOutputs& out) {
  const std::string path = dir.Write(name, bytes);
  const std::string output = ConvertToBeerJson(path);
  ASSERT_FALSE(output.empty()) << name;
  EXPECT_EQ(SchemaErrors({output}), "");
  out.beerjson = ReadJson(output);
  ASSERT_EQ(testing::Convert(path).exit_code, 0);
  testing::ParseXmlFile(path.substr(0, path.size() - 3) + "xml", out.beerxml);
}

double Value(const Json& quantity) { return quantity.at("value").get_double(); }

double XmlNumber(pugi::xml_node node, const std::string& path) {
  return std::stod(testing::TextAt(node, path));
}

TEST(BeerJsonExamples, EveryExampleIsValidAndKeepsItsRecords) {
  TempDir dir;
  std::vector<std::string> outputs;
  for (const testing::ExampleFile& example : testing::ExampleFiles()) {
    const std::string path = dir.Write(example.name, example.make());
    const std::string output = ConvertToBeerJson(path);
    ASSERT_FALSE(output.empty()) << example.name;
    outputs.push_back(output);
    // As many records as the BeerXML 2.01 output has.
    ASSERT_EQ(testing::Convert(path).exit_code, 0);
    testing::ParsedXml xml;
    testing::ParseXmlFile(path.substr(0, path.size() - 3) + "xml", xml);
    const Json document = ReadJson(output);
    EXPECT_EQ(document.at("beerjson").at("version"), 1.0);
    const Json lists = document.at("beerjson");
    ASSERT_EQ(lists.size(), 2u) << example.name;
    for (const auto& [key, list] : lists.items()) {
      if (key != "version") {
        EXPECT_EQ(list.size(), xml.Records().size()) << example.name;
      }
    }
  }
  EXPECT_EQ(SchemaErrors(outputs), "");
}

TEST(BeerJsonExamples, RecipeKeepsTheBrewersValuesInTheirUnits) {
  TempDir dir;
  BothOutputs out;
  ConvertBoth(dir, "Pale Ale.rec", testing::RecipeExample(), out);
  const Json recipe = FirstRecord(out.beerjson, "recipes");
  const pugi::xml_node xml = out.beerxml.Records().at(0);

  EXPECT_EQ(recipe.at("name"), testing::TextAt(xml, "name"));
  EXPECT_EQ(recipe.at("type"), "all grain");
  EXPECT_EQ(recipe.at("batch_size"), Json::Parse(R"({"unit": "gal", "value": 5.5})"));
  EXPECT_EQ(recipe.at("boil").at("pre_boil_size"), Json::Parse(R"({"unit": "gal", "value": 7})"));
  EXPECT_EQ(recipe.at("boil").at("boil_time"), Json::Parse(R"({"unit": "min", "value": 60})"));
  EXPECT_DOUBLE_EQ(Value(recipe.at("efficiency").at("brewhouse")), XmlNumber(xml, "efficiency"));
  EXPECT_NEAR(Value(recipe.at("original_gravity")), XmlNumber(xml, "original_gravity"), 5e-4);
  EXPECT_EQ(recipe.at("style").at("name"), testing::TextAt(xml, "style/name"));
  EXPECT_EQ(recipe.at("style").at("category"), testing::TextAt(xml, "style/category"));
  EXPECT_EQ(recipe.at("style").at("type"), "beer");

  // Each list, item by item, against the BeerXML 2.01 items.
  const Json ingredients = recipe.at("ingredients");
  const auto xml_items = [&](const char* list) {
    std::vector<pugi::xml_node> items;
    for (pugi::xml_node n : xml.child("ingredients").child(list).children()) items.push_back(n);
    return items;
  };
  const auto fermentables = xml_items("grain_bill");
  ASSERT_EQ(ingredients.at("fermentable_additions").size(), fermentables.size());
  for (std::size_t i = 0; i < fermentables.size(); ++i) {
    const Json f = ingredients.at("fermentable_additions").at(i);
    EXPECT_EQ(f.at("name"), testing::TextAt(fermentables[i], "name"));
    EXPECT_EQ(f.at("type"), testing::TextAt(fermentables[i], "type"));
    EXPECT_EQ(f.at("amount").at("unit"), "lb");
    EXPECT_NEAR(Value(f.at("amount")), XmlNumber(fermentables[i], "amount"), 5e-4);
    EXPECT_EQ(f.at("color").at("unit"), "Lovi");
  }
  const auto hops = xml_items("hop_bill");
  ASSERT_EQ(ingredients.at("hop_additions").size(), hops.size());
  for (std::size_t i = 0; i < hops.size(); ++i) {
    const Json h = ingredients.at("hop_additions").at(i);
    EXPECT_EQ(h.at("form"), testing::TextAt(hops[i], "form"));
    EXPECT_EQ(h.at("amount").at("unit"), "oz");
    EXPECT_NEAR(Value(h.at("amount")), XmlNumber(hops[i], "amount"), 5e-3);
    EXPECT_NEAR(Value(h.at("alpha_acid")), XmlNumber(hops[i], "alpha_acid_units"), 5e-3);
    // A first-wort hop stays in for the whole boil; BeerXML 2.01 keeps the application's 40.
    const bool first_wort = testing::TextAt(hops[i], "use") == "first wort";
    EXPECT_EQ(h.at("timing").at("duration").at("value").get_double(),
              first_wort ? 60 : XmlNumber(hops[i], "time"));
    EXPECT_EQ(h.at("timing").at("duration").at("unit"),
              hops[i].child("time").attribute("duration").value());
  }
  // Dry hop days and first wort: one in fermentation, the other said in the notes.
  EXPECT_EQ(ingredients.at("hop_additions").at(3).at("timing").at("use"), "add_to_fermentation");
  EXPECT_EQ(ingredients.at("hop_additions").at(1).at("timing").at("use"), "add_to_boil");
  const std::string notes = recipe.at("notes");
  EXPECT_NE(notes.find("Hop Centennial (0.5 oz): first wort"), std::string::npos) << notes;
  EXPECT_NE(
      notes.find("Bitterness: " + testing::TextAt(xml, "international_bitterness_units/estimate")),
      std::string::npos)
      << notes;

  const auto miscs = xml_items("adjuncts");
  ASSERT_EQ(ingredients.at("miscellaneous_additions").size(), miscs.size());
  for (std::size_t i = 0; i < miscs.size(); ++i) {
    const Json m = ingredients.at("miscellaneous_additions").at(i);
    const pugi::xml_node amount =
        miscs[i].child("amount") ? miscs[i].child("amount") : miscs[i].child("amount_as_weight");
    EXPECT_NEAR(Value(m.at("amount")), std::stod(amount.text().get()), 5e-3);
    const std::string unit = amount.first_attribute().value();
    const std::string expected_unit = unit == "ozfl" ? "floz" : unit == "gm" ? "g" : unit;
    EXPECT_EQ(m.at("amount").at("unit"), expected_unit);
  }
  const Json yeast = ingredients.at("culture_additions").at(0);
  EXPECT_EQ(yeast.at("form"), "liquid");
  EXPECT_EQ(yeast.at("amount"), Json::Parse(R"({"unit": "ml", "value": 0})"));
  const Json water = ingredients.at("water_additions").at(0);
  EXPECT_EQ(water.at("amount"), Json::Parse(R"({"unit": "gal", "value": 7})"));

  // The simple mash: the strike temperature and the ratio derived once, as BeerXML 2.01 shows.
  const Json steps = recipe.at("mash").at("mash_steps");
  const pugi::xml_node xml_steps = xml.child("mash").child("mash_steps");
  std::size_t i = 0;
  for (pugi::xml_node step : xml_steps.children("step")) {
    const Json s = steps.at(i++);
    EXPECT_EQ(s.at("name"), testing::TextAt(step, "name"));
    EXPECT_EQ(s.at("type"), testing::TextAt(step, "type"));
    EXPECT_EQ(Value(s.at("step_temperature")), XmlNumber(step, "step_temperature"));
    EXPECT_EQ(Value(s.at("ramp_time")), XmlNumber(step, "ramp_time"));
    if (step.child("infuse_temperature")) {
      EXPECT_EQ(Value(s.at("infuse_temperature")), XmlNumber(step, "infuse_temperature"));
      EXPECT_NEAR(Value(s.at("amount")), XmlNumber(step, "infuse_amount"), 5e-3);
      EXPECT_NEAR(Value(s.at("water_grain_ratio")), XmlNumber(step, "water_grain_ratio"), 5e-3);
      EXPECT_EQ(s.at("water_grain_ratio").at("unit"), "qt/lb");
    } else {
      EXPECT_FALSE(s.contains("infuse_temperature"));
    }
  }
  EXPECT_EQ(i, steps.size());
}

TEST(BeerJsonExamples, DatabasesAgreeWithBeerXml) {
  TempDir dir;
  BothOutputs yeast;
  ConvertBoth(dir, "yeast.dat", testing::MakeYeastExample(), yeast);
  const Json culture = FirstRecord(yeast.beerjson, "cultures");
  const pugi::xml_node xml_yeast = yeast.beerxml.Records().at(0);
  // The stored bounds are kept as the range; BeerXML 2.01 shows their mean.
  const double low = Value(culture.at("attenuation_range").at("minimum"));
  const double high = Value(culture.at("attenuation_range").at("maximum"));
  EXPECT_DOUBLE_EQ((low + high) / 2, XmlNumber(xml_yeast, "attenuation"));
  EXPECT_EQ(culture.at("temperature_range").at("minimum").at("unit"), "F");
  EXPECT_EQ(culture.at("flocculation"), testing::TextAt(xml_yeast, "flocculation"));

  BothOutputs styles;
  ConvertBoth(dir, "styles.dat", testing::MakeStylesExample(), styles);
  const Json style = FirstRecord(styles.beerjson, "styles");
  const pugi::xml_node xml_style = styles.beerxml.Records().at(0);
  EXPECT_EQ(style.at("name"), testing::TextAt(xml_style, "name"));
  EXPECT_EQ(style.at("original_gravity").at("minimum"),
            Json::Parse(R"({"unit": "sg", "value": 1.04})"));
  EXPECT_EQ(style.at("color").at("maximum").at("unit"), "SRM");
  EXPECT_EQ(style.at("notes"), "Examples: " + testing::TextAt(xml_style, "examples") +
                                   "\r\nStyle type: " + testing::TextAt(xml_style, "type"));

  BothOutputs extra;
  ConvertBoth(dir, "extra.dat", testing::MakeExtraExample(), extra);
  const auto xml_miscs = extra.beerxml.Records();
  const Json miscs = extra.beerjson.at("beerjson").at("miscellaneous_ingredients");
  ASSERT_EQ(miscs.size(), xml_miscs.size());
  for (std::size_t i = 0; i < miscs.size(); ++i) {
    const std::string xml_notes = testing::TextAt(xml_miscs[i], "notes");
    const std::string notes = miscs[i].at("notes");
    EXPECT_EQ(notes.substr(0, xml_notes.size()), xml_notes);
  }

  BothOutputs malt;
  ConvertBoth(dir, "malt.dat", testing::MakeMaltExample(), malt);
  const Json fermentable = FirstRecord(malt.beerjson, "fermentables");
  const pugi::xml_node xml_malt = malt.beerxml.Records().at(0);
  EXPECT_NEAR(Value(fermentable.at("yield").at("fine_coarse_difference")),
              XmlNumber(xml_malt, "coarse_fine_diff"), 0.05);
  EXPECT_EQ(fermentable.at("recommend_mash"),
            testing::TextAt(xml_malt, "recommend_mash") == "true");
  EXPECT_EQ(fermentable.at("diastatic_power").at("unit"), "Lintner");
}

// A recipe with codes the application defines no meaning for, damaged numbers and texts: the
// document stays valid, and every lost meaning is named in the notes.
TEST(BeerJsonBadInput, UnknownCodesGoToTheNotesAndTheDocumentStaysValid) {
  file::Recipe recipe;
  recipe.header = {.name = "", .recipe_type = 9};
  recipe.style = {.category = "Odd", .name = "Style", .type = 4, .style_letter = "AB"};
  recipe.hops = {testing::RecipeHop("Mystery", 0, 0, 0x7003, 1.5f, 61, 0, "")};
  recipe.miscs = {testing::RecipeMisc("Dust", 9, 8, 2.0f, 0, 7, 5)};
  recipe.fermentables = {testing::RecipeFermentable("Rice", 4, 1.0f)};
  recipe.yeast = {.name = "Yeast",
                  .type = 8,
                  .form = 9,
                  .temperature = std::numeric_limits<float>::quiet_NaN(),
                  .flocculation = 5};

  TempDir dir;
  const std::string output =
      ConvertToBeerJson(dir.Write("odd.rec", file::ToBytes(recipe.SyncCounts())));
  ASSERT_FALSE(output.empty());
  EXPECT_EQ(SchemaErrors({output}), "");
  const Json written = FirstRecord(ReadJson(output), "recipes");
  EXPECT_EQ(written.at("name"), "");
  EXPECT_EQ(written.at("type"), "other");
  EXPECT_EQ(written.at("style").at("style_letter"), "A");
  EXPECT_EQ(written.at("style").at("type"), "other");
  const std::string notes = written.at("notes");
  for (const char* line :
       {"Recipe type code 9 (no meaning known)", "Style letter: AB",
        "Style type code 4 (no meaning known)", "Hop Mystery: form code 7 (no meaning known)",
        "Hop Mystery (1.5 oz): first wort", "Miscellaneous Dust: type code 9 (no meaning known)",
        "Miscellaneous Dust: amount: unit code 8 (no meaning known)",
        "Miscellaneous Dust: use code 7 (no meaning known)",
        "Yeast Yeast: type code 8 (no meaning known)",
        "Yeast Yeast: form code 9 (no meaning known)"}) {
    EXPECT_NE(notes.find(line), std::string::npos) << line << "\nin: " << notes;
  }
  const Json f = written.at("ingredients").at("fermentable_additions").at(0);
  EXPECT_EQ(f.at("type"), "other");
  EXPECT_EQ(f.at("grain_group"), "adjunct");
  EXPECT_EQ(written.at("ingredients").at("miscellaneous_additions").at(0).at("amount"),
            Json::Parse(R"({"unit": "unit", "value": 2})"));
}

// Meanings BeerJSON names more generally: the application's own word is kept in the notes.
TEST(BeerJsonBadInput, MoreGeneralWordsKeepTheApplicationsWordInTheNotes) {
  file::Recipe recipe;
  recipe.header.name = "Fruit Ale";
  recipe.style = {.category = "Fruit Beer", .name = "Fruit", .type = 0, .style_letter = "A"};
  recipe.miscs = {testing::RecipeMisc("Cherries", 1, 0, 2.0f, 0, 0, 0)};
  TempDir dir;
  const std::string output =
      ConvertToBeerJson(dir.Write("fruit.rec", file::ToBytes(recipe.SyncCounts())));
  ASSERT_FALSE(output.empty());
  EXPECT_EQ(SchemaErrors({output}), "");
  const Json written = FirstRecord(ReadJson(output), "recipes");
  EXPECT_EQ(written.at("style").at("type"), "beer");
  EXPECT_EQ(written.at("ingredients").at("miscellaneous_additions").at(0).at("type"), "other");
  EXPECT_EQ(written.at("notes"),
            "Style type: ale\r\nMiscellaneous Cherries: type fruit\r\n"
            "Bitterness: 0 IBUs (estimated)");

  const std::vector<file::Misc> records = {
      {.ingredient_name = "Cherries", .ingredient_type = 1, .comment = "Sour"},
      {.ingredient_name = "Moss", .ingredient_type = 4}};
  const std::string database = ConvertToBeerJson(dir.Write("extra.dat", file::DatabaseOf(records)));
  ASSERT_FALSE(database.empty());
  const Json miscs = ReadJson(database).at("beerjson").at("miscellaneous_ingredients");
  EXPECT_EQ(miscs.at(0).at("type"), "other");
  EXPECT_EQ(miscs.at(0).at("notes"), "Sour\r\nAdd to boil for 0 days.\r\nType: fruit");
  EXPECT_EQ(miscs.at(1).at("type"), "fining");
  EXPECT_EQ(miscs.at(1).at("notes"), "Add to boil for 0 days.");
}

TEST(BeerJsonBadInput, NonNumbersHugeValuesAndEmptyTextsStayValid) {
  const std::vector<file::Yeast> yeasts = {
      {.attenuation_low = 2147483647,
       .attenuation_high = 2147483647,
       .temperature = std::numeric_limits<float>::infinity()},
      {.name = "\x01\x92\x81", .temperature = 3.0e38f, .flocculation = 9},
  };
  TempDir dir;
  const std::string output = ConvertToBeerJson(dir.Write("yeast.dat", file::DatabaseOf(yeasts)));
  ASSERT_FALSE(output.empty());
  EXPECT_EQ(SchemaErrors({output}), "");
  const Json cultures = ReadJson(output).at("beerjson").at("cultures");
  EXPECT_EQ(Value(cultures.at(0).at("temperature_range").at("minimum")), 0);  // as BeerXML 2.01
  EXPECT_EQ(cultures.at(0).at("attenuation_range").at("maximum").at("value"), 2147483647);
  // The shortest text of the float: it reads back to the same float.
  EXPECT_EQ(static_cast<float>(Value(cultures.at(1).at("temperature_range").at("maximum"))),
            3.0e38f);
  EXPECT_EQ(cultures.at(1).at("name"), "\xEF\xBF\xBD\xE2\x80\x99\xC2\x81");
  EXPECT_FALSE(cultures.at(1).contains("flocculation"));
}

TEST(BeerJsonBadInput, AMashWithoutStepsIsLeftOutOfTheList) {
  TempDir dir;
  const std::string output =
      ConvertToBeerJson(dir.Write("Empty.msh", file::ToBytes(file::MashSchedule{.name = "Empty"})));
  ASSERT_FALSE(output.empty());
  EXPECT_EQ(SchemaErrors({output}), "");
  EXPECT_TRUE(ReadJson(output).at("beerjson").at("mashes").empty());
}

TEST(BeerJsonBadInput, AnUnknownStepKindIsNamedInTheMashNotes) {
  const file::MashSchedule schedule = bad_input::ScheduleWithAnUnknownStepKind();
  TempDir dir;
  const std::string output = ConvertToBeerJson(dir.Write("Two.msh", file::ToBytes(schedule)));
  ASSERT_FALSE(output.empty());
  EXPECT_EQ(SchemaErrors({output}), "");
  const Json mash = FirstRecord(ReadJson(output), "mashes");
  ASSERT_EQ(mash.at("mash_steps").size(), 1u);
  EXPECT_EQ(mash.at("mash_steps").at(0).at("amount"),
            Json::Parse(R"({"unit": "qt", "value": 12.5})"));
  EXPECT_EQ(mash.at("notes"), "Step \"Odd\" left out: kind code 7 (no meaning known)");
}

// Every example with bytes overwritten at random (fixed seeds): codes without meaning, NaNs,
// huge numbers, broken texts. Whatever comes out must validate.
TEST(BeerJsonBadInput, DamagedExamplesStaySchemaValid) {
  TempDir dir;
  std::vector<std::string> outputs;
  for (const testing::DamagedExample& copy : testing::WriteDamagedExamples(dir, 12, 12)) {
    const std::string output = ConvertToBeerJson(copy.path);
    if (!output.empty()) outputs.push_back(output);
  }
  EXPECT_GT(outputs.size(), 80u);
  EXPECT_EQ(SchemaErrors(outputs), "");
}

// Every example into one document from two threads: each list holds all the records of its
// kind, and the document validates.
// An input far larger than what a whole-run document keeps in memory while its lists are in
// files: its records join the list in parts, between those of other inputs' records, and the
// document is the same as one kept in memory.
TEST(BeerJsonWholeRun, LargeInputsJoinTheirListInPartsWithTheSameBytes) {
  std::vector<Bytes> records(6000, bad_input::DatabaseRecord(bad_input::Kind::Hops));
  const Bytes large = testing::DatabaseOf(records);
  const Bytes small =
      testing::DatabaseOf(std::vector<Bytes>{bad_input::DatabaseRecord(bad_input::Kind::Hops)});
  std::string documents[2];
  for (const PartStore store : {PartStore::Memory, PartStore::TemporaryFiles}) {
    const std::unique_ptr<WholeRunDocument> whole =
        Info(OutputFormat::BeerJson).begin_whole_run(store);
    for (const Bytes* input : {&small, &large, &small}) {
      InputFile file(input->data());
      const InputConversion added = CombineInput("hops.dat", file, *whole);
      ASSERT_EQ(added.status, ConversionResult::Status::Written);
    }
    OutputText out;
    std::string error;
    ASSERT_TRUE(whole->WriteTo(out, error)) << error;
    documents[static_cast<int>(store)] = out.Take();
  }
  EXPECT_GT(documents[0].size(), std::size_t{2} << 20);
  EXPECT_EQ(documents[0], documents[1]);
  const Json document = Json::Parse(documents[0]);
  EXPECT_EQ(document.at("beerjson").at("hop_varieties").size(), 6002u);
}

TEST(BeerJsonWholeRun, OneDocumentHoldsEveryListOfTheRun) {
  TempDir dir;
  std::vector<std::string> inputs;
  std::map<std::string, std::size_t> expected;
  for (const testing::ExampleFile& example : testing::ExampleFiles()) {
    inputs.push_back(dir.Write(example.name, example.make()));
    const std::string single = ConvertToBeerJson(inputs.back());
    ASSERT_FALSE(single.empty());
    const Json document = ReadJson(single);
    for (const auto& [key, list] : document.at("beerjson").items()) {
      if (key != "version") expected[key] += list.size();
    }
  }
  const FormatInfo& beerjson = Info(OutputFormat::BeerJson);
  const std::unique_ptr<WholeRunDocument> combined =
      beerjson.begin_whole_run(PartStore::TemporaryFiles);
  const auto add = [&combined](const std::string& input) {
    ConversionRequest request;
    request.input = input;
    request.whole_run = combined.get();
    return ConvertFile(request).status == ConversionResult::Status::Written;
  };
  const auto add_every_other = [&](std::size_t first) {
    for (std::size_t i = first; i < inputs.size(); i += 2) EXPECT_TRUE(add(inputs[i]));
  };
  std::thread other(add_every_other, 1);
  add_every_other(0);
  other.join();
  EXPECT_FALSE(add(dir.Write("notes.txt", std::string_view("text"))));
  const auto save = [&dir](WholeRunDocument& document, const std::string& name,
                           std::string& error) {
    return SaveOutput(
        dir.Path(name), nullptr,
        [&document](std::FILE* out) {
          std::string unused;
          return document.WriteTo(out, unused);
        },
        error);
  };
  std::string error;
  ASSERT_EQ(combined->error(), "");
  ASSERT_TRUE(save(*combined, "library.json", error)) << error;
  EXPECT_EQ(SchemaErrors({dir.Path("library.json")}), "");
  const Json document = ReadJson(dir.Path("library.json")).at("beerjson");
  EXPECT_EQ(document.size(), expected.size() + 1);
  for (const auto& [list, count] : expected) EXPECT_EQ(document.at(list).size(), count) << list;

  const std::unique_ptr<WholeRunDocument> empty = beerjson.begin_whole_run(PartStore::Memory);
  ASSERT_TRUE(save(*empty, "empty.json", error)) << error;
  EXPECT_EQ(SchemaErrors({dir.Path("empty.json")}), "");
  EXPECT_EQ(ReadJson(dir.Path("empty.json")), Json::Parse(R"({"beerjson": {"version": 1.0}})"));
  EXPECT_FALSE(save(*empty, "missing/empty.json", error));
  EXPECT_FALSE(error.empty());
}

TEST(BeerJsonSave, AnUnwritableOutputIsReportedAndLeavesNothing) {
  TempDir dir;
  ConversionRequest request;
  request.input = dir.Write("water.dat", testing::MakeWaterExample());
  request.format = OutputFormat::BeerJson;
  request.output = dir.Path("missing/water.json");
  const ConversionResult result = ConvertFile(request);
  EXPECT_FALSE(result.saved);
  ASSERT_FALSE(result.messages.empty());
  EXPECT_EQ(result.messages.back().text.rfind("not written: ", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("missing")));
}

}  // namespace
}  // namespace kegverter
