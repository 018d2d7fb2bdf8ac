// The brewing model derives each value once: the simple mash's arithmetic, and derivations held
// to what the BeerXML 2.01 output writes for the same records, over grids of inputs rather than
// examples.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "beerxml2/misc_writer.h"
#include "beerxml2/recipe_writer.h"
#include "document/format.h"
#include "model/from_source.h"
#include "model/notes.h"
#include "model/units.h"
#include "model/words.h"

namespace kegverter {
namespace {

// The unit of a miscellaneous amount: the stored code, a code 6 decided by the ingredient type,
// fluid ounces for an extract; the amount keeps its value only in its stored unit. BeerXML 2.01
// writes it from the same derivation (MiscAmountOf).
TEST(ModelDerivations, MiscAmountUnits) {
  using model::Unit;
  struct Case {
    const char* name;
    std::uint8_t type;
    std::uint8_t stored_unit;
    bool volume;
    std::optional<Unit> unit;
    double value;  // of a stored 1.5
    const char* beerxml_unit;
    const char* beerxml_text;
  };
  const Case cases[] = {
      {"Gypsum", 2, 1, false, Unit::kGram, 1.5, "gm", "1.50"},
      {"Hops", 2, 2, false, Unit::kPound, 1.5, "lb", "1.50"},
      {"Moss", 4, 3, true, Unit::kTeaspoon, 1.5, "tsp", "1.50"},
      {"Salt", 2, 4, true, Unit::kTablespoon, 1.5, "tbsp", "1.50"},
      {"Oats", 2, 5, true, Unit::kCup, 1.5, "cup", "1.50"},
      // Code 6: fruit in pounds, finings in teaspoons, the rest in ounces; the value is
      // replaced, since the unit written is not the stored one.
      {"Cherries", 1, 6, false, Unit::kPound, 0, "lb", "0.0"},
      {"Moss", 4, 6, true, Unit::kTeaspoon, 0, "tsp", "0.0"},
      {"Spice", 0, 6, false, Unit::kOunce, 0, "oz", "0.0"},
      // A code 6 of a type without a meaning, and codes past 6: no unit, a mass.
      {"Odd", 9, 6, false, std::nullopt, 1.5, nullptr, "1.50"},
      {"Odd", 2, 8, false, std::nullopt, 1.5, nullptr, "1.50"},
      // An extract is measured in fluid ounces whatever its stored unit.
      {"Vanilla Extract", 2, 0, true, Unit::kFluidOunce, 1.5, "ozfl", "1.50"},
      {"extract of oak", 2, 1, true, Unit::kFluidOunce, 0, "ozfl", "0.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " unit " + std::to_string(c.stored_unit));
    const model::MiscAmount m =
        model::ResolveMiscAmount(std::string(c.name), c.type, c.stored_unit, 1.5f);
    EXPECT_EQ(m.volume, c.volume);
    EXPECT_EQ(m.unit, c.unit);
    EXPECT_EQ(m.value, c.value);
    EXPECT_EQ(m.stored_value, 1.5);
    EXPECT_EQ(m.replaced(), c.value == 0);
    const MiscAmount written = MiscAmountOf(m);
    EXPECT_EQ(written.volume, c.volume);
    EXPECT_EQ(written.unit,
              c.beerxml_unit ? std::optional<std::string>(c.beerxml_unit) : std::nullopt);
    EXPECT_EQ(written.text, c.beerxml_text);
  }
  // No stored amount: "0.0", as for a replaced one.
  EXPECT_EQ(MiscAmountOf(model::ResolveMiscAmount(std::string("Salt"), 2, 1, 0.0f)).text, "0.0");
}

FermentableAddition Addition(std::uint8_t type, float amount) {
  FermentableAddition f;
  f.type = type;
  f.amount = amount;
  return f;
}

TEST(ModelMash, GrainWeightCountsGrainOnly) {
  const std::vector<FermentableAddition> bill = {Addition(1, 8.0f), Addition(2, 3.0f),
                                                 Addition(1, 2.5f), Addition(3, 1.0f),
                                                 Addition(4, 0.5f), Addition(0, 9.0f)};
  EXPECT_EQ(model::GrainWeight(bill), 10.5f);
  EXPECT_EQ(model::GrainWeight({}), 0.0f);
  // Summed in single precision, in list order.
  const std::vector<FermentableAddition> fine = {Addition(1, 16777216.0f), Addition(1, 1.0f)};
  EXPECT_EQ(model::GrainWeight(fine), 16777216.0f);
}

TEST(ModelMash, StrikeTemperatureOfTheWorkedExamples) {
  // 10 lb of grain at 60 F in 12.5 qt: 166.72 for a 152 F rest, 100.6 for a 95 F rest.
  EXPECT_EQ(model::StrikeTemperature(152, 10.0f, 12.5f, 60), 166);
  EXPECT_EQ(model::StrikeTemperature(95, 10.0f, 12.5f, 60), 100);
  // The rest at the grain temperature needs water at that temperature.
  EXPECT_EQ(model::StrikeTemperature(60, 10.0f, 12.5f, 60), 60);
  // No grain: the water is the mash.
  EXPECT_EQ(model::StrikeTemperature(152, 0.0f, 12.5f, 60), 152);
}

TEST(ModelMash, StrikeTemperatureTruncatesTowardZero) {
  // A rest below the grain temperature: 40 + 0.16 x (40 - 100) = 30.4; 10 + 0.16 x -90 = -4.4.
  EXPECT_EQ(model::StrikeTemperature(40, 10.0f, 12.5f, 100), 30);
  EXPECT_EQ(model::StrikeTemperature(10, 10.0f, 12.5f, 100), -4);
}

TEST(ModelMash, StrikeTemperatureWithoutWaterOrOutOfRange) {
  EXPECT_EQ(model::StrikeTemperature(152, 10.0f, 0.0f, 60), 152);
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(model::StrikeTemperature(kMax, 100000.0f, 1e-30f, 0), kMax);
  EXPECT_EQ(model::StrikeTemperature(kMin, 100000.0f, 1e-30f, 0), kMin);
  EXPECT_EQ(model::StrikeTemperature(kMax, 0.0f, 12.5f, kMin), kMax);
}

TEST(ModelDerivations, EfficiencyPercentWritesAsTheBeerXmlText) {
  for (const float stored : {0.0f, 0.72f, 0.755f, 1.0f, 1.1f, 1.2f, 70.0f, 110.0f}) {
    EXPECT_EQ(FormatFixed(model::EfficiencyPercent(stored), 1),
              FormatFixed(model::EfficiencyPercentUnrounded(stored), 1))
        << stored;
  }
  EXPECT_EQ(model::EfficiencyPercent(0.72f), 72.0);  // in single precision, not 71.99999809
}

TEST(ModelDerivations, StepDescriptions) {
  MashScheduleRecord schedule;
  schedule.step_count = 3;
  schedule.steps.resize(3);
  schedule.steps[0] = {.name = "Rest",
                       .type = 0,
                       .step_temperature = 152,
                       .end_temperature = 152,
                       .infuse_temperature = 166,
                       .step_time = 60,
                       .ramp_time = 5,
                       .water_grain_ratio = 1.25f,
                       .step_amount = 12.5f,
                       .field_errors = {}};
  schedule.steps[1] = {.name = "Out",
                       .type = 1,
                       .end_temperature = 168,
                       .ramp_time = 10,
                       .water_grain_ratio = 0,
                       .step_amount = 0,
                       .field_errors = {}};
  schedule.steps[2] = {.name = "Decoct", .type = 2, .step_amount = 3, .field_errors = {}};
  const model::Mash mash = model::ModelOf(schedule);
  ASSERT_EQ(mash.steps.size(), 3u);
  EXPECT_EQ(mash.steps[0].description, "Add 12.50 qt of water at 166.0 F");
  EXPECT_EQ(mash.steps[1].description, "Heat to 168.0 F over 10.0 min");
  EXPECT_EQ(mash.steps[2].description, "Decoct 3.00 qt of mash and boil it");
  EXPECT_FALSE(mash.steps[1].amount);
}

TEST(ModelDerivations, HopTimingAndForm) {
  using model::HopAdditionUse;
  struct Case {
    std::uint8_t time, marker;
    HopAdditionUse use;
    double value;
    model::Unit unit;
  };
  const Case cases[] = {
      {60, 0, HopAdditionUse::kBoil, 60, model::Unit::kMinute},
      {61, 0, HopAdditionUse::kFirstWort, 40, model::Unit::kMinute},
      {62, 255, HopAdditionUse::kMash, 90, model::Unit::kMinute},
      {251, 255, HopAdditionUse::kDryHop, 5, model::Unit::kDay},
      // Without the dry hop marker, 251 is boil minutes.
      {251, 0, HopAdditionUse::kBoil, 251, model::Unit::kMinute},
  };
  for (const Case& c : cases) {
    const model::HopTiming timing = model::HopTimingOf(c.time, c.marker);
    EXPECT_EQ(timing.use, c.use) << static_cast<int>(c.time);
    EXPECT_EQ(timing.time.value, c.value) << static_cast<int>(c.time);
    EXPECT_EQ(timing.time.unit, c.unit) << static_cast<int>(c.time);
  }
  // The form is the top four bits; the low four are the variety's use.
  EXPECT_EQ(model::HopFormOf(0x2003).meaning, model::HopForm::kPellet);
  const model::Coded<model::HopForm> unknown = model::HopFormOf(0x7003);
  EXPECT_FALSE(unknown.known());
  EXPECT_EQ(unknown.code, 7);
  EXPECT_EQ(model::HopFormOf(static_cast<std::int16_t>(0xF000)).code, 15);
}

TEST(ModelDerivations, YeastAttenuationMeanAndNonNumbers) {
  YeastRecord yeast;
  yeast.attenuation_low = 73;
  yeast.attenuation_high = 76;
  yeast.temperature = std::numeric_limits<float>::quiet_NaN();
  model::Culture c = model::ModelOf(yeast);
  EXPECT_EQ(c.attenuation_mean.value, 74.5);
  EXPECT_EQ(c.temperature.minimum.value, 0);
  yeast.attenuation_low = 2147483647;
  yeast.attenuation_high = 2147483647;
  c = model::ModelOf(yeast);
  EXPECT_EQ(c.attenuation_mean.value, 2147483647.0);
}

// Metric values keep at least 7 significant digits of the exact conversion.
TEST(ModelUnits, MetricConversionsAreTheExactDefinitions) {
  struct Case {
    model::Quantity from;
    model::Unit to;
    double expected;
  };
  const Case cases[] = {
      {{10, model::Unit::kPound}, model::Unit::kKilogram, 4.5359237},
      {{1.5, model::Unit::kOunce}, model::Unit::kKilogram, 0.0425242846875},
      {{5, model::Unit::kGram}, model::Unit::kKilogram, 0.005},
      {{5.5, model::Unit::kGallon}, model::Unit::kLitre, 20.819764812},
      {{12.5, model::Unit::kQuart}, model::Unit::kLitre, 11.829411825},
      {{1, model::Unit::kCup}, model::Unit::kLitre, 0.2365882365},
      {{0.5, model::Unit::kFluidOunce}, model::Unit::kLitre, 0.01478676478125},
      {{1, model::Unit::kTablespoon}, model::Unit::kLitre, 0.01478676478125},
      {{1, model::Unit::kTeaspoon}, model::Unit::kLitre, 0.00492892159375},
      {{166, model::Unit::kFahrenheit}, model::Unit::kCelsius, 74.444444444444},
      {{-40, model::Unit::kFahrenheit}, model::Unit::kCelsius, -40},
      {{5, model::Unit::kDay}, model::Unit::kMinute, 7200},
      {{1.25, model::Unit::kQuartsPerPound}, model::Unit::kLitresPerKilogram, 2.6079388915},
      {{60, model::Unit::kMinute}, model::Unit::kMinute, 60},
      {{40, model::Unit::kLovibond}, model::Unit::kLovibond, 40},
  };
  for (const Case& c : cases) {
    const model::Quantity metric = model::Metric(c.from);
    EXPECT_EQ(metric.unit, c.to);
    EXPECT_NEAR(metric.value, c.expected, std::fabs(c.expected) * 1e-9 + 1e-12) << c.expected;
  }
}

TEST(ModelNotes, NumbersAreTheShortestTextThatReadsBack) {
  EXPECT_EQ(model::NumberText(5), "5");
  EXPECT_EQ(model::NumberText(-0.0), "0");
  EXPECT_EQ(model::NumberText(static_cast<float>(0.1)), "0.1");  // not 0.10000000149011612
  EXPECT_EQ(model::NumberText(static_cast<float>(1.052)), "1.052");
  EXPECT_EQ(model::NumberText(74.5), "74.5");
  // Whole numbers beyond float precision stay exact.
  EXPECT_EQ(model::NumberText(16777217.0), "16777217");
  EXPECT_EQ(model::NumberText(3.4028234663852886e38), "3.4028235e+38");
  EXPECT_EQ(model::NumberText(0.1), "0.1");  // a double that is no float: its own shortest text
  EXPECT_EQ(model::NumberText(std::numeric_limits<double>::quiet_NaN()), "0");
  EXPECT_EQ(model::StoredText({5, model::Unit::kGram}), "5 g");
  EXPECT_EQ(model::StoredText({3.0e38f, model::Unit::kFahrenheit}), "3e+38 F");
}

// The words of one format: a required field gets a word for every meaning, an optional one none
// for the unknown meaning; the notes name the code, or the application's own word where the
// format's is more general.
TEST(ModelNotes, WordsNameUnknownCodesAndMoreGeneralWords) {
  constexpr model::Words<model::MiscType> kWords{"Other", "Spice",  "Other",
                                                 "Other", "Fining", "Herb"};
  model::Notes notes("Stored notes");
  const model::Coded<model::MiscType> fruit{model::MiscType::kFruit, 1};
  const model::Coded<model::MiscType> other{model::MiscType::kOther, 2};
  const model::Coded<model::MiscType> unknown{model::MiscType::kUnknown, 9};
  EXPECT_EQ(model::WordOf(kWords, fruit, "Type", notes), "Other");
  model::NoteApplicationWord("Other", model::kApplicationMiscTypes, fruit, "Type: ", notes);
  // The application's "other" is BeerXML 1.0's "Other": nothing to say.
  EXPECT_EQ(model::WordOf(kWords, other, "Type", notes), "Other");
  model::NoteApplicationWord("Other", model::kApplicationMiscTypes, other, "Type: ", notes);
  EXPECT_EQ(model::WordOf(kWords, unknown, "Type", notes), "Other");
  model::NoteApplicationWord("Other", model::kApplicationMiscTypes, unknown, "Type: ", notes);
  EXPECT_EQ(notes.Take(), "Stored notes\r\nType: fruit\r\nType code 9 (no meaning known)");
  EXPECT_EQ(notes.text(), "");

  constexpr model::Words<model::Flocculation> kFlocculations{"", "high", "medium", "low"};
  EXPECT_EQ(
      model::WordOf(kFlocculations, {model::Flocculation::kUnknown, -3}, "Flocculation", notes),
      "");
  EXPECT_EQ(notes.text(), "Flocculation code -3 (no meaning known)");
  // A meaning past the table (a value no code decodes to) has no word.
  EXPECT_EQ(kFlocculations[model::Flocculation::kCount], "");
  EXPECT_TRUE(model::SameWord("First Wort", "first wort"));
  EXPECT_FALSE(model::SameWord("beer", "ale"));
  EXPECT_FALSE(model::SameWord("other", "others"));
}

TEST(ModelNotes, StepsWithoutAKindAndTheBitternessEstimate) {
  model::Mash mash;
  mash.steps.resize(3);
  mash.steps[0].kind = {model::MashStepKind::kInfusion, 0};
  mash.steps[1].kind = {model::MashStepKind::kUnknown, 7};
  mash.steps[1].name = "Odd";
  mash.steps[2].kind = {model::MashStepKind::kDecoction, 2};
  EXPECT_EQ(model::KnownStepCount(mash), 2u);
  EXPECT_EQ(model::LeftOutStepLine(mash.steps[1]),
            "Step \"Odd\" left out: kind code 7 (no meaning known)");
  model::Recipe recipe;
  recipe.bitterness = {static_cast<float>(38.4), model::Unit::kIbu};
  EXPECT_EQ(model::EstimatedBitternessLine(recipe), "Bitterness: 38.4 IBUs (estimated)");
}

}  // namespace
}  // namespace kegverter
