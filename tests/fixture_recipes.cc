#include "tests/fixture_recipes.h"

namespace kegverter::testing {

file::HopAddition RecipeHop(const std::string& name, float alpha, float beta_acid,
                            std::int16_t type_code, float amount, std::uint8_t time,
                            std::uint8_t marker, const std::string& origin) {
  file::HopAddition h;
  h.name = name;
  h.alpha_acid = alpha + 1.0f;
  h.beta_acid = beta_acid;
  h.type_code = type_code;
  h.origin = origin;
  h.alpha = alpha;
  h.amount = amount;
  h.addition_time = time;
  h.dry_hop_marker = marker;
  return h;
}

file::FermentableAddition RecipeFermentable(const std::string& name, std::uint8_t type,
                                            float amount, float color, const std::string& origin) {
  file::FermentableAddition f;
  f.name = name;
  f.origin = origin;
  f.type = type;
  f.color = color;
  f.amount = amount;
  return f;
}

file::MiscAddition RecipeMisc(const std::string& name, std::uint8_t type, std::uint8_t unit,
                              float amount, std::int32_t time, std::uint8_t time_type,
                              std::uint8_t time_units) {
  file::MiscAddition m;
  m.ingredient_name = name;
  m.ingredient_type = type;
  m.suggested_time = time;
  m.time_type = time_type;
  m.time_units = time_units;
  m.inventory_unit_of_measurement = unit;
  m.inventory = 99.0f;
  m.amount = amount;
  return m;
}

file::MashStep StepSlot(std::uint8_t type, const std::string& name, std::int32_t step_temperature,
                        std::int32_t end_temperature, std::int32_t infuse_temperature,
                        std::int32_t step_time, std::int32_t ramp_time, float water_grain_ratio,
                        float step_amount) {
  return {name,      type,      step_temperature,  end_temperature, infuse_temperature,
          step_time, ramp_time, water_grain_ratio, step_amount,     ""};
}

void Rest(file::Recipe& f, SimpleRest rest, std::int32_t temperature, std::int32_t time) {
  f.process.*rest.temperature = temperature;
  f.process.*rest.time = time;
}

file::Recipe BareRecipe() {
  file::Recipe f;
  f.header = {.name = "Pale Ale",
              .batch_size = 5.0f,
              .boil_size = 6.5f,
              .original_gravity = 50.0f,
              .bitterness = 35.26f,
              .efficiency = 0.75f,
              .boil_time = 60};
  f.style = {.category = "American Pale Ale",
             .name = "Pale American Ale",
             .category_number = 6,
             .style_letter = "B"};
  return f;
}

file::Recipe SimpleMashRecipe() {
  file::Recipe f = BareRecipe();
  f.fermentables = {RecipeFermentable("Pale Malt", 1, 8.0f), RecipeFermentable("Munich", 1, 2.0f)};
  f.process.simple_mash_type = 3;
  f.process.mash_water = 12.5f;
  f.process.grain_temperature = 60;
  Rest(f, kSaccharificationRest, 152, 60);
  Rest(f, kMashOut, 168, 10);
  return f.SyncCounts();
}

file::Recipe FullRecipe() {
  file::Recipe f = SimpleMashRecipe();
  f.header.recipe_type = 1;
  f.style.type = 5;
  f.style.category_number = -1;
  f.hops = {RecipeHop("Cascade", 5.5f, 4.5f, 0x2003, 1.0f, 60, 0, "US")};
  f.miscs = {RecipeMisc("Irish Moss", 4, 3, 1.0f, 15, 0, 1)};
  f.yeast = {.name = "American Ale", .laboratory = "Wyeast", .product_id = "1056", .form = 1};
  f.gap = std::string(file::kRecipeGapSize, '\xEE');
  f.water = {.name = "Burton",
             .calcium = 275.0f,
             .magnesium = 40.0f,
             .sodium = 25.0f,
             .sulfate = 610.0f,
             .chloride = 35.0f,
             .bicarbonate = 270.0f,
             .ph = 8.1f};
  f.process.notes = "Ferment at 66 F.";
  f.process.spare_notes = "not exported";
  f.schedule = {"Unused Schedule", 0};
  return f.SyncCounts();
}

void ConvertRecipe(const file::Recipe& recipe, ConvertedRecipe& out, const std::string& name) {
  ConvertRecipe(file::ToBytes(recipe), out, name);
}

void ConvertRecipe(const Bytes& bytes, ConvertedRecipe& out, const std::string& name) {
  ConvertBytes(name, bytes, out);
}

std::vector<Lines> MashSteps(const ConvertedRecipe& c) {
  std::vector<Lines> steps;
  for (pugi::xml_node s : c.Recipe().child("mash").child("mash_steps").children()) {
    steps.push_back(ElementLines(s));
  }
  return steps;
}

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

}  // namespace kegverter::testing
