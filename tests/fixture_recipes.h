// Sample recipes and helpers that the recipe suites share (recipe_test, recipe_ingredients_test,
// recipe_mash_test): whole recipes converted by the executable, and the steps of their mash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/fixture.h"
#include "tests/records.h"

namespace kegverter::testing {

using Lines = std::vector<std::string>;

/// The element lines of `node`'s children (ElementLines).
inline Lines Contents(pugi::xml_node node) { return ElementLines(node); }

/// A hop addition whose stored alpha acid is one above this recipe's `alpha`.
file::HopAddition RecipeHop(const std::string& name, float alpha, float beta_acid,
                            std::int16_t type_code, float amount, std::uint8_t time,
                            std::uint8_t marker, const std::string& origin);
file::FermentableAddition RecipeFermentable(const std::string& name, std::uint8_t type,
                                            float amount, float color = 0,
                                            const std::string& origin = "");
/// A miscellaneous addition with a stock of 99 in its unit.
file::MiscAddition RecipeMisc(const std::string& name, std::uint8_t type, std::uint8_t unit,
                              float amount, std::int32_t time, std::uint8_t time_type,
                              std::uint8_t time_units);
/// A step slot, its type first.
file::MashStep StepSlot(std::uint8_t type, const std::string& name, std::int32_t step_temperature,
                        std::int32_t end_temperature, std::int32_t infuse_temperature,
                        std::int32_t step_time, std::int32_t ramp_time, float water_grain_ratio,
                        float step_amount);

/// One rest of the simple mash: its temperature and time in the process section.
struct SimpleRest {
  std::int32_t file::Process::*temperature;
  std::int32_t file::Process::*time;
};
inline constexpr SimpleRest kAcidRest{&file::Process::acid_rest_temperature,
                                      &file::Process::acid_rest_time};
inline constexpr SimpleRest kProteinRest{&file::Process::protein_rest_temperature,
                                         &file::Process::protein_rest_time};
inline constexpr SimpleRest kIntermediateRest{&file::Process::intermediate_rest_temperature,
                                              &file::Process::intermediate_rest_time};
inline constexpr SimpleRest kSaccharificationRest{&file::Process::saccharification_rest_temperature,
                                                  &file::Process::saccharification_rest_time};
inline constexpr SimpleRest kMashOut{&file::Process::mash_out_temperature,
                                     &file::Process::mash_out_time};
void Rest(file::Recipe& f, SimpleRest rest, std::int32_t temperature, std::int32_t time);

/// A bare all-grain recipe with a style and nothing else: no lists, no rests.
file::Recipe BareRecipe();
/// The worked example of the simple mash: 10 pounds of grain, 12.5 quarts of mash water, grain
/// at 60 F, saccharification at 152 F for an hour and a mash out at 168 F for ten minutes.
file::Recipe SimpleMashRecipe();
/// Every list, a style and the simple mash.
file::Recipe FullRecipe();

struct ConvertedRecipe : Converted {
  /// The recipe element (the first child of the list).
  pugi::xml_node Recipe() const { return xml.List().child("recipe"); }
};
void ConvertRecipe(const file::Recipe& recipe, ConvertedRecipe& out,
                   const std::string& name = "r.rec");
void ConvertRecipe(const Bytes& bytes, ConvertedRecipe& out, const std::string& name = "r.rec");

/// The steps of the recipe's mash, each as its element lines.
std::vector<Lines> MashSteps(const ConvertedRecipe& c);

/// The children of a recipe element, in document order.
extern const Lines kRecipeOrder;

}  // namespace kegverter::testing
