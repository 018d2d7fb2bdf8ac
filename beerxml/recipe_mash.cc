// A recipe's mash: its own step list copied, or the simple mash that the application derives
// from the rests of the process section, with the strike water temperature of the first rest.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "beerxml/format.h"
#include "beerxml/recipe_writer.h"
#include "source/text.h"

namespace kegverter {

namespace {

// One rest of the simple mash: its step name and where the process section keeps it.
struct Rest {
  const char* name;
  std::int32_t RecipeProcessRecord::*temperature;
  std::int32_t RecipeProcessRecord::*time;
};

constexpr Rest kRests[] = {
    {"Acid Rest", &RecipeProcessRecord::acid_rest_temperature,
     &RecipeProcessRecord::acid_rest_time},
    {"Protein Rest", &RecipeProcessRecord::protein_rest_temperature,
     &RecipeProcessRecord::protein_rest_time},
    {"Intermediate Rest", &RecipeProcessRecord::intermediate_rest_temperature,
     &RecipeProcessRecord::intermediate_rest_time},
    {"Saccharification Rest", &RecipeProcessRecord::saccharification_rest_temperature,
     &RecipeProcessRecord::saccharification_rest_time},
    {"Mash Out", &RecipeProcessRecord::mash_out_temperature, &RecipeProcessRecord::mash_out_time},
};
// A single-step mash uses the saccharification rest and the mash out only.
constexpr std::size_t kSingleStepFirstRest = 3;
// The acid rest may lie below the grain temperature; every later rest heats the mash.
constexpr std::size_t kAcidRest = 0;

// Simple mash types 3 and above are multi-step; 2 is single-step, and so are 0 and 1, which
// the application does not write.
constexpr std::uint8_t kMultiStepType = 3;
constexpr const char* kMultiStepName = "Simple Mash Type - Multi Step";
constexpr const char* kSingleStepName = "Simple Mash Type - Single Step";

constexpr std::uint8_t kExtractRecipe = 2;
constexpr std::uint8_t kStepListMode = 1;

constexpr std::int32_t kStrikeRampTime = 5;
constexpr std::int32_t kHeatingRampTime = 10;

// Weights of grain and water in the heat balance of the infusion, per pound of grain and per
// quart of water. The grain factor is kept in single precision, as the application computed it.
constexpr float kGrainHeatFactor = 0.05f;
constexpr double kWaterHeatFactor = 0.25;

std::span<const Rest> Candidates(const RecipeProcessRecord& process) {
  if (process.simple_mash_type >= kMultiStepType) return kRests;
  return std::span<const Rest>(kRests).subspan(kSingleStepFirstRest);
}

std::optional<RecipeMash> StepListMash(const RecipeRecord& recipe) {
  const std::size_t count =
      std::min(static_cast<std::size_t>(std::max(recipe.process.mash_step_count, 0)),
               recipe.mash_steps.size());
  if (count == 0) return std::nullopt;
  RecipeMash mash;
  mash.header = ComposeMashHeader(WidenText(recipe.schedule.schedule_name),
                                  FormatIntDecimal(recipe.process.grain_temperature));
  mash.steps.reserve(count);
  for (std::size_t i = 0; i < count; ++i) mash.steps.push_back(MashStepOf(recipe.mash_steps[i]));
  return mash;
}

std::optional<RecipeMash> SimpleMash(const RecipeRecord& recipe) {
  const RecipeProcessRecord& process = recipe.process;
  const std::span<const Rest> candidates = Candidates(process);
  RecipeMash mash;
  mash.header = ComposeMashHeader(
      process.simple_mash_type >= kMultiStepType ? kMultiStepName : kSingleStepName,
      FormatIntDecimal(process.grain_temperature));
  const float grain_weight = GrainWeight(recipe.fermentables);
  const float water = process.mash_water;
  std::int32_t previous = process.grain_temperature;
  for (const Rest& rest : candidates) {
    const std::int32_t temperature = process.*rest.temperature;
    const std::int32_t time = process.*rest.time;
    if (temperature <= 0 || time <= 0) continue;
    if (&rest != &kRests[kAcidRest] && temperature < previous) continue;
    MashStep step;
    step.name = rest.name;
    step.step_temperature = temperature;
    step.step_time = time;
    step.end_temperature = temperature;
    if (mash.steps.empty()) {
      // The first rest is reached by infusing the mash water at the strike temperature.
      float ratio = grain_weight > 0 ? water / grain_weight : 0.0f;
      if (!std::isfinite(ratio)) ratio = 0.0f;
      step.kind = kInfusionStep;
      step.amount = water;
      step.ramp_time = kStrikeRampTime;
      step.infuse_temperature =
          StrikeTemperature(temperature, grain_weight, water, process.grain_temperature);
      step.water_grain_ratio = ratio;
    } else {
      step.kind = kTemperatureStep;
      step.ramp_time = kHeatingRampTime;
    }
    mash.steps.push_back(step);
    previous = temperature;
  }
  // Rests that are all unset, negative or below the grain make no step; a mash without a step
  // says nothing, so there is none, as for a step list without steps.
  if (mash.steps.empty()) return std::nullopt;
  return mash;
}

}  // namespace

float GrainWeight(std::span<const FermentableAddition> fermentables) {
  constexpr std::uint8_t kGrain = 1;
  float weight = 0.0f;
  for (const FermentableAddition& f : fermentables) {
    if (f.type == kGrain) weight += f.amount;
  }
  return weight;
}

std::int32_t StrikeTemperature(std::int32_t rest_temperature, float grain_weight, float mash_water,
                               std::int32_t grain_temperature) {
  // Without water there is nothing to heat: the rest is simply reached.
  if (mash_water == 0.0f) return rest_temperature;
  const double grain = static_cast<double>(kGrainHeatFactor);
  const double w = grain_weight;
  const double a = mash_water;
  const double t = rest_temperature;
  const double g = grain_temperature;
  const double strike =
      ((grain * w + kWaterHeatFactor * a) * t - grain * g * w) / (kWaterHeatFactor * a);
  if (std::isnan(strike)) return rest_temperature;
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(std::trunc(strike), kLowest, kHighest));
}

std::optional<RecipeMash> PlanRecipeMash(const RecipeRecord& recipe) {
  if (recipe.recipe_type == kExtractRecipe) return std::nullopt;
  if (recipe.schedule.mash_mode == kStepListMode) return StepListMash(recipe);
  return SimpleMash(recipe);
}

}  // namespace kegverter
