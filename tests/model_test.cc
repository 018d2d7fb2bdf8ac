// The brewing model derives each value once; these tests hold its derivations to what the
// BeerXML 2.01 output writes for the same records, over grids of inputs rather than examples.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "beerxml/format.h"
#include "beerxml/misc_writer.h"
#include "beerxml/recipe_writer.h"
#include "model/from_source.h"
#include "model/units.h"

namespace kegverter {
namespace {

TEST(ModelDerivations, MiscAmountMatchesTheBeerXmlRuleForEveryTypeAndUnit) {
  for (const char* name : {"Irish Moss", "Vanilla Extract", "extract of oak"}) {
    for (std::uint8_t type = 0; type <= 7; ++type) {
      for (std::uint8_t unit = 0; unit <= 8; ++unit) {
        for (const float amount : {0.0f, 1.5f}) {
          const NarrowText text = std::string(name);
          const MiscAmount xml = kegverter::ResolveMiscAmount(text, type, unit, amount);
          const model::MiscAmount m = model::ResolveMiscAmount(text, type, unit, amount);
          SCOPED_TRACE(std::string(name) + " type " + std::to_string(type) + " unit " +
                       std::to_string(unit));
          EXPECT_EQ(m.volume, xml.volume);
          EXPECT_EQ(m.unit.has_value(), xml.unit.has_value());
          EXPECT_EQ(FormatFixed(m.value, 2), FormatFixed(std::stod(xml.text), 2));
          if (m.unit && xml.unit) {
            // Same unit, different spelling: the model's unit names BeerJSON's words.
            const std::string word = *xml.unit;
            const bool same = (word == "ozfl" && *m.unit == model::Unit::kFluidOunce) ||
                              (word == "gm" && *m.unit == model::Unit::kGram) ||
                              (word == "oz" && *m.unit == model::Unit::kOunce) ||
                              (word == "lb" && *m.unit == model::Unit::kPound) ||
                              (word == "tsp" && *m.unit == model::Unit::kTeaspoon) ||
                              (word == "tbsp" && *m.unit == model::Unit::kTablespoon) ||
                              (word == "cup" && *m.unit == model::Unit::kCup);
            EXPECT_TRUE(same) << word;
          }
          EXPECT_EQ(m.stored_value, amount);
        }
      }
    }
  }
}

TEST(ModelDerivations, StrikeTemperatureAndGrainWeightMatchTheBeerXmlOnes) {
  for (const float water : {0.0f, 3.0f, 12.5f, 1e-30f, 100000.0f}) {
    for (const float grain : {0.0f, 10.0f, 8.0f, 1e30f}) {
      for (const std::int32_t rest : {95, 152, 168, -5}) {
        for (const std::int32_t grain_temperature : {60, 0, -2147483647}) {
          EXPECT_EQ(model::StrikeTemperature(rest, grain, water, grain_temperature),
                    kegverter::StrikeTemperature(rest, grain, water, grain_temperature));
        }
      }
    }
  }
  std::vector<FermentableAddition> fermentables(3);
  fermentables[0].type = 1;
  fermentables[0].amount = 8.0f;
  fermentables[1].type = 2;
  fermentables[1].amount = 3.0f;
  fermentables[2].type = 1;
  fermentables[2].amount = 0.1f;
  EXPECT_EQ(model::GrainWeight(fermentables), kegverter::GrainWeight(fermentables));
  EXPECT_EQ(model::GrainWeight(fermentables), 8.1f);
}

TEST(ModelDerivations, EfficiencyPercentWritesAsTheBeerXmlText) {
  for (const float stored : {0.0f, 0.72f, 0.755f, 1.0f, 1.1f, 1.2f, 70.0f, 110.0f}) {
    EXPECT_EQ(FormatFixed(model::EfficiencyPercent(stored), 1), EfficiencyText(stored)) << stored;
  }
  EXPECT_EQ(model::EfficiencyPercent(0.72f), 72.0);  // in single precision, not 71.99999809
}

// A recipe whose mash is derived: every combination of rests, mash modes and types plans the
// same steps as the BeerXML 2.01 exporter.
TEST(ModelDerivations, RecipeMashPlansTheSameStepsAsBeerXml) {
  RecipeRecord recipe;
  recipe.fermentables.resize(2);
  recipe.fermentable_count = 2;
  recipe.fermentables[0].type = 1;
  recipe.fermentables[0].amount = 10;
  recipe.fermentables[1].type = 3;
  recipe.fermentables[1].amount = 2;
  recipe.process.mash_water = 12.5f;
  recipe.process.grain_temperature = 60;
  recipe.mash_steps.resize(2);
  recipe.mash_steps[0].name = "Step";
  recipe.mash_steps[0].type = 2;
  recipe.mash_steps[0].step_amount = 3;
  recipe.mash_steps[1].type = 5;
  recipe.schedule.schedule_name = "Listed";
  const std::int32_t rests[][2] = {{95, 15}, {122, 0}, {0, 30}, {152, 60}, {168, 10}};
  for (const int type : {0, 1, 2}) {
    for (const int mode : {0, 1, 3}) {
      for (const int simple : {0, 2, 3, 7}) {
        for (std::int32_t steps : {0, 1, 2}) {
          recipe.recipe_type = static_cast<std::uint8_t>(type);
          recipe.schedule.mash_mode = static_cast<std::uint8_t>(mode);
          recipe.process.simple_mash_type = static_cast<std::uint8_t>(simple);
          recipe.process.mash_step_count = steps;
          recipe.process.acid_rest_temperature = rests[0][0];
          recipe.process.acid_rest_time = rests[0][1];
          recipe.process.protein_rest_temperature = rests[1][0];
          recipe.process.saccharification_rest_temperature = rests[3][0];
          recipe.process.saccharification_rest_time = rests[3][1];
          recipe.process.mash_out_temperature = rests[4][0];
          recipe.process.mash_out_time = rests[4][1];
          const auto planned = PlanRecipeMash(recipe);
          const auto mash = model::RecipeMash(recipe);
          ASSERT_EQ(mash.has_value(), planned.has_value());
          if (!mash) continue;
          EXPECT_EQ(mash->name, planned->header[MashSlot::kName].value_or(""));
          EXPECT_EQ(FormatIntDecimal(static_cast<std::int64_t>(mash->grain_temperature.value)),
                    planned->header[MashSlot::kGrainTemperature].value_or(""));
          ASSERT_EQ(mash->steps.size(), planned->steps.size());
          for (std::size_t i = 0; i < mash->steps.size(); ++i) {
            const model::MashStep& s = mash->steps[i];
            const MashStep& p = planned->steps[i];
            EXPECT_EQ(s.name, p.name);
            EXPECT_EQ(s.step_temperature.value, p.step_temperature);
            EXPECT_EQ(s.ramp_time.value, p.ramp_time);
            EXPECT_EQ(s.kind.code, p.kind);
            if (s.infuse_temperature) {
              EXPECT_EQ(s.infuse_temperature->value, p.infuse_temperature);
              EXPECT_EQ(s.water_grain_ratio->value, p.water_grain_ratio);
              EXPECT_EQ(s.amount->value, p.amount);
            }
          }
        }
      }
    }
  }
}

TEST(ModelDerivations, StepDescriptionsAndHopTimesAreTheBeerXmlOnes) {
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

  RecipeRecord recipe;
  recipe.hop_count = 5;
  recipe.hops.resize(5);
  const std::uint8_t times[][2] = {{60, 0}, {61, 0}, {62, 255}, {251, 255}, {251, 0}};
  for (std::size_t i = 0; i < 5; ++i) {
    recipe.hops[i].addition_time = times[i][0];
    recipe.hops[i].dry_hop_marker = times[i][1];
    recipe.hops[i].type_code = static_cast<std::int16_t>(i << 12);
  }
  const model::Recipe m = model::ModelOf(recipe);
  for (std::size_t i = 0; i < 5; ++i) {
    const NodeValues<RecipeHopSlot> xml = RecipeHopValues(recipe.hops[i]);
    const model::HopAddition& hop = m.hops[i];
    EXPECT_EQ(FormatFixed(hop.time.value, 1), xml[RecipeHopSlot::kTime].value_or("")) << i;
    EXPECT_EQ(hop.time.unit == model::Unit::kDay ? "day" : "min",
              xml[RecipeHopSlot::kTimeUnit].value_or(""))
        << i;
    EXPECT_EQ(hop.form.known(), xml[RecipeHopSlot::kForm].has_value()) << i;
  }
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

}  // namespace
}  // namespace kegverter
