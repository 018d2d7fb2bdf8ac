#include "tests/writer_values.h"

#include <cstdio>
#include <cstdlib>

#include "driver/convert.h"
#include "tests/fixture_recipes.h"

namespace kegverter::testing::values {

double Celsius(double fahrenheit) { return (fahrenheit - 32) * 5 / 9; }

double Shown(float stored) {
  char text[64];
  std::snprintf(text, sizeof text, "%.7g", static_cast<double>(stored));
  return std::strtod(text, nullptr);
}

double Kept(float stored, double low, double high, double fallback) {
  const double value = Shown(stored);
  return value >= low && value <= high ? value : fallback;
}

double NineDigits(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.9g", value);
  return std::strtod(text, nullptr);
}

std::string ConvertTo(const std::string& input, OutputFormat format) {
  ConversionRequest request;
  request.input = input;
  request.format = format;
  const ConversionResult result = ConvertFile(request);
  return result.saved ? result.output : std::string();
}

std::vector<file::Hop> SampleHops() {
  return {
      {.name = "Fuggle",
       .alpha_acid = 4.75f,
       .beta_acid = 2.25f,
       .cohumulone = 27.5f,
       .myrcene = 42.25f,
       .humulene = 21.5f,
       .caryophyllene = 8.75f,
       .type_code = 0x2002,  // aroma; the form bits are a recipe's
       .percent_lost = 18.5f,
       .notes = "Earthy and woody",
       .origin = "United Kingdom",
       .best_for = "English ales",
       .substitutes = "Willamette, Styrian Goldings",
       .inventory = 3.5f},
      {.name = "Magnum",
       .alpha_acid = 13.25f,
       .cohumulone = 24.5f,
       .myrcene = 35.75f,
       .humulene = 30.25f,
       .caryophyllene = 10.5f,
       .type_code = 0x0000,
       .percent_lost = 15.25f,
       .notes = "Clean bitterness",
       .origin = "Germany",
       .substitutes = "Nugget"},
      {.name = "Northdown",
       .alpha_acid = 8.5f,
       .beta_acid = 5.25f,
       .cohumulone = 29.75f,
       .myrcene = 26.5f,
       .humulene = 41.25f,
       .caryophyllene = 14.75f,
       .type_code = 0x1001,
       .percent_lost = 17.75f,
       .best_for = "Bitters and porters"},
      {.name = "Challenger",
       .alpha_acid = 7.25f,
       .beta_acid = 4.125f,
       .cohumulone = 22.5f,
       .myrcene = 33.25f,
       .humulene = 28.75f,
       .caryophyllene = 9.25f,
       .type_code = 0x0003,
       .percent_lost = 16.5f,
       .notes = "Spicy",
       .origin = "United Kingdom",
       .best_for = "Stouts",
       .substitutes = "Perle"},
      {.name = "Mystery",
       .alpha_acid = 6.5f,
       .beta_acid = 3.75f,
       .cohumulone = 1.5f,
       .myrcene = 2.5f,
       .humulene = 3.5f,
       .caryophyllene = 4.5f,
       .type_code = 0x0007,
       .percent_lost = 12.5f,
       .notes = "Unlabelled"},
      {.name = "Overflow",
       .alpha_acid = 105.5f,
       .beta_acid = 104.25f,
       .cohumulone = 0,
       .myrcene = 120,  // beyond the source's 110: read as 0
       .humulene = 101.75f,
       .caryophyllene = -3,  // below the source's 0: read as 0
       .type_code = 0x0002,
       .percent_lost = 102.5f,
       .notes = "Sloppy entry"},
  };
}

std::vector<file::Malt> SampleMalts() {
  return {
      {.name = "Maris Otter",
       .supplier = "Crisp",
       .origin = "England",
       .type = 1,
       .recommend_mash = 1,
       .potential = 1.038f,
       .color = 3.75f,
       .moisture = 3.25f,
       .max_in_batch = 100,
       .diastatic_power = 120.5f,
       .protein = 9.75f,
       .spare_percentage = 5,
       .spare_text = "never written",
       .notes = "Base malt",
       .inventory = 55.25f,
       .fine_grind_yield = 81.5f,
       .coarse_grind_yield = 79.25f},
      {.name = "Light Extract",
       .supplier = "Example Extracts",
       .origin = "United States",
       .type = 2,
       .potential = 1.044f,
       .color = 8.5f,
       .moisture = 2.5f,
       .max_in_batch = 90.5f,
       .protein = 0.5f,
       .notes = "Spray-dried",
       .inventory = 6.75f,
       .fine_grind_yield = 95.5f,
       .coarse_grind_yield = 94.75f},
      {.name = "Corn Sugar",
       .type = 3,
       .potential = 1.046f,
       .color = 0.5f,
       .moisture = 0.25f,
       .max_in_batch = 10.5f,
       .notes = "Dextrose",
       .inventory = 5.125f,
       .fine_grind_yield = 99.5f,
       .coarse_grind_yield = 98.25f},
      {.name = "Flaked Oats",
       .supplier = "Example Mills",
       .origin = "Scotland",
       .type = 4,
       .recommend_mash = 1,
       .potential = 1.033f,
       .color = 1.25f,
       .moisture = 9.5f,
       .max_in_batch = 30,
       .protein = 13.5f,
       .notes = "Body",
       .inventory = 3,
       .fine_grind_yield = 72.5f,
       .coarse_grind_yield = 71.25f},
      {.name = "Code Seven",
       .supplier = "Odd Mill",
       .origin = "Nowhere",
       .type = 7,
       .recommend_mash = 2,  // only a stored 1 recommends mashing
       .potential = 1.03f,
       .color = 2,
       .moisture = 4,
       .max_in_batch = 20,
       .diastatic_power = 10,
       .protein = 11,
       .inventory = 0.75f,
       .fine_grind_yield = 60.5f,
       .coarse_grind_yield = 58},
      {.name = "Code Zero",
       .type = 0,
       .potential = 1.031f,
       .color = 4.5f,
       .notes = "Unsorted",
       .inventory = 1.5f,
       .fine_grind_yield = 65.25f,
       .coarse_grind_yield = 64},
      // No stored yield: BeerXML 1.0 derives it from the potential.
      {.name = "Derived Yield",
       .origin = "Belgium",
       .type = 1,
       .potential = 1.036f,
       .color = 20.5f,
       .notes = "Aromatic",
       .inventory = 2.25f},
      {.name = "Rich Derived", .type = 3, .potential = 1.05f, .notes = "Candi", .inventory = 1},
      {.name = "Overflow",
       .type = 1,
       .potential = 1.04f,
       .color = 3000,  // beyond the source's 2550: read as 0
       .max_in_batch = 104.5f,
       .protein = 101.25f,
       .notes = "Sloppy",
       .fine_grind_yield = 105.5f,
       .coarse_grind_yield = 2.5f},
      {.name = "Negative Yields",
       .type = 1,
       .potential = 0,
       .color = 2.5f,
       .fine_grind_yield = -5.5f,
       .coarse_grind_yield = -8.25f},
  };
}

std::vector<file::Misc> SampleMiscs() {
  // name, type, suggested time, use, time unit, inventory unit, inventory, use for, comment
  return {
      {"Coriander Seed", 0, 5, 0, 1, 0, 2.5f, "Witbier", "Crush first"},
      {"Cherries", 1, 3, 1, 0, 5, 2.25f, "Kriek", ""},
      {"Gypsum", 2, 60, 2, 1, 1, 250.5f, "Hard water", ""},
      {"Lactose", 3, 10, 0, 1, 2, 1.8f, "Milk stouts", "Not fermentable"},
      {"Irish Moss", 4, 15, 0, 1, 3, 4.5f, "Clarity", "Rehydrate first"},
      {"Heather Tips", 5, 20, 0, 1, 4, 3.25f, "Scottish ales", ""},
      // Unit code 6: the unit follows from the type (fruit lb, fining tsp, others oz), and the
      // stored amount, in no unit, is not carried over.
      {"Sweet Orange Peel", 1, 5, 0, 1, 6, 1.5f, "Witbier", ""},
      {"Whirlfloc", 4, 10, 0, 1, 6, 2, "", ""},
      {"Grains of Paradise", 0, 5, 0, 1, 6, 0.75f, "", ""},
      {"Mystery Powder", 9, 7, 7, 5, 6, 3.5f, "", ""},
      {"Unit Seven", 2, 0, 0, 1, 7, 1.25f, "", ""},
      {"Unit Two Hundred", 2, 0, 0, 1, 200, 4.75f, "", ""},
      // An extract is measured in fluid ounces: a stored gram is replaced, a stored ounce kept.
      {"Vanilla Extract", 2, 7, 1, 0, 1, 5, "Porters", "Add at bottling"},
      {"Lemon Extract", 2, 0, 1, 0, 0, 2.5f, "", ""},
      {"Almond Extract", 2, 0, 1, 0, 2, 0.5f, "", ""},
      {"Mint Extract", 0, 0, 1, 0, 3, 6, "", ""},
      {"Orange Extract", 1, 0, 1, 0, 4, 1.5f, "", ""},
      {"Coffee Extract", 2, 0, 1, 0, 5, 0.25f, "", ""},
      {"Rum Extract", 2, 0, 1, 0, 8, 3, "", ""},
  };
}

namespace {

// A style whose numbers all follow from `base`, each the float nearest its decimal.
file::Style StyleOf(const char* category, const char* name, std::uint8_t type, std::int16_t number,
                    const char* letter, double base) {
  const auto f = [](double value) { return static_cast<float>(value); };
  return {.category = category,
          .name = name,
          .type = type,
          .original_gravity_min = f(1 + base / 1000),
          .original_gravity_max = f(1 + (base + 7) / 1000),
          .final_gravity_min = f(1 + base / 4000),
          .final_gravity_max = f(1 + (base + 5) / 4000),
          .alcohol_min = f(base / 10),
          .alcohol_max = f((base + 9) / 10),
          .bitterness_min = f(base / 2),
          .bitterness_max = f((base + 11) / 2),
          .color_min = f(base / 5),
          .color_max = f((base + 13) / 5),
          .color_description = std::string("Colour of ") + name,
          .malt_description = std::string("Malt of ") + name,
          .hops_description = std::string("Hops of ") + name,
          .yeast_description = std::string("Yeast of ") + name,
          .notes = std::string("Examples of ") + name,
          .category_number = number,
          .style_letter = letter};
}

}  // namespace

std::vector<file::Style> SampleStyles() {
  std::vector<file::Style> styles = {
      {.category = "English Pale Ale",
       .name = "Special Bitter",
       .type = 0,
       .original_gravity_min = 1.038f,
       .original_gravity_max = 1.045f,
       .final_gravity_min = 1.008f,
       .final_gravity_max = 1.012f,
       .alcohol_min = 3.75f,
       .alcohol_max = 4.625f,
       .bitterness_min = 25.5f,
       .bitterness_max = 40.25f,
       .color_min = 6.5f,
       .color_max = 14.75f,
       .color_description = "Amber",
       .malt_description = "Biscuit",
       .hops_description = "Earthy",
       .yeast_description = "Fruity",
       .notes = "London Pride",
       .category_number = 8,
       .style_letter = "B"},
      StyleOf("European Lager", "Munich Helles", 1, 1, "C", 44),
      StyleOf("Cider", "Common Cider", 2, 27, "AB", 48),
      StyleOf("Mead", "Traditional Mead", 3, 24, "a", 52),
      StyleOf("Odd", "Code Four", 4, 30, "D", 56),
      StyleOf("Specialty", "Mixed Style", 5, 23, "E", 60),
      StyleOf("Odd", "Code Six", 6, 31, "F", 64),
      {.category = "Strong Ale",
       .name = "Overflow",
       .type = 0,
       .original_gravity_min = 40,  // gravity points, beyond the source's 3.0: read as 1.0
       .original_gravity_max = 2.5f,
       .final_gravity_min = 0.95f,
       .final_gravity_max = 1.25f,
       .alcohol_min = 8.5f,
       .alcohol_max = 105.5f,
       .bitterness_min = 60.5f,
       .bitterness_max = 108.5f,
       .color_min = 20.5f,
       .color_max = 400,
       .notes = "",
       .category_number = 19,
       .style_letter = "Z"},
  };
  return styles;
}

std::vector<file::Water> SampleWaters() {
  // name, calcium, magnesium, sodium, (unread), sulfate, chloride, bicarbonate, pH, notes
  return {
      {"Burton", 268.5f, 62.25f, 30.75f, 999, 638.5f, 36.25f, 141.75f, 7.8f, "Sulfate-rich"},
      {"Dublin", 118.25f, 4.5f, 12.75f, 888, 54.5f, 19.25f, 319.5f, 7.9f, "Carbonate water"},
      {"Alkaline Spring", 10.5f, 20.25f, 30.5f, 0, 40.75f, 50.25f, 60.5f, 15.5f, "Very alkaline"},
      // A pH beyond the source's 20 is read as 7, an ion beyond 100000 as 0.
      {"Broken Meter", 1.5f, 2.5f, 3.5f, 0, 4.5f, 200000, 6.5f, 25, ""},
  };
}

std::vector<file::Yeast> SampleYeasts() {
  return {
      {.name = "Clean Ale",
       .laboratory = "Example Labs",
       .product_id = "EL-001",
       .type = 0,
       .form = 1,
       .notes = "Neutral",
       .best_for = "Pale ales",
       .spare_value = 9,
       .attenuation_low = 73,
       .attenuation_high = 77,
       .temperature = 66.5f,
       .flocculation = 1},
      {.name = "English Ale",
       .laboratory = "Example Labs",
       .product_id = "EL-002",
       .type = 0,
       .form = 0,
       .notes = "Fruity",
       .best_for = "Bitters",
       .attenuation_low = 68,
       .attenuation_high = 71,
       .temperature = 64.25f,
       .flocculation = 0},
      {.name = "Bohemian Lager",
       .laboratory = "Lager Labs",
       .product_id = "LL-101",
       .type = 1,
       .form = 2,
       .notes = "Malty",
       .best_for = "Pilsners",
       .attenuation_low = 70,
       .attenuation_high = 74,
       .temperature = 50.5f,
       .flocculation = 2},
      {.name = "White Wine",
       .laboratory = "Wine Labs",
       .product_id = "WL-201",
       .type = 2,
       .form = 1,
       .attenuation_low = 75,
       .attenuation_high = 80,
       .temperature = 62,
       .flocculation = 2},
      {.name = "Champagne",
       .laboratory = "Wine Labs",
       .product_id = "WL-301",
       .type = 3,
       .form = 0,
       .best_for = "Meads",
       .attenuation_low = 90,
       .attenuation_high = 98,
       .temperature = 59.75f,
       .flocculation = 0},
      {.name = "Code Eight",
       .laboratory = "Odd Labs",
       .product_id = "OL-8",
       .type = 8,
       .form = 9,
       .notes = "Unknown strain",
       .attenuation_low = 60,
       .attenuation_high = 65,
       .temperature = 28,  // -2.2 C
       .flocculation = 5},
  };
}

file::MashSchedule SampleMashSchedule() {
  file::MashSchedule schedule;
  schedule.name = "Values Mash";
  schedule.grain_temperature = 68.5f;
  // type, name, step temperature, end temperature, infuse temperature, step time, ramp time,
  // ratio, amount. Only an infusion has a ratio and an infusion temperature, only an infusion
  // and a decoction an amount: the temperature step's are never written.
  schedule.steps = {
      StepSlot(0, "Dough In", 122, 120, 131, 20, 4, 1.25f, 12.25f),
      StepSlot(1, "Saccharification", 154, 152, 171, 60, 12, 2.5f, 5),
      StepSlot(7, "Odd", 160, 160, 0, 5, 5, 0, 0),
      StepSlot(2, "Decoct", 168, 166, 0, 10, 25, 0, 3.75f),
  };
  schedule.step_count = static_cast<std::int32_t>(schedule.steps.size());
  return schedule;
}

file::Recipe SampleRecipe() {
  file::Recipe r;
  r.header = {.name = "Values Ale",
              .batch_size = 5.25f,
              .boil_size = 6.5f,
              .original_gravity = 52,
              .bitterness = 38.5f,
              .efficiency = 0.72f,
              .boil_time = 75,
              .recipe_type = 1};
  // A recipe keeps the style's name in the first text field and its category in the second.
  r.style = {.category = "Best Bitter",
             .name = "English Pale Ale",
             .type = 0,
             .category_number = 8,
             .style_letter = "B"};
  file::FermentableAddition otter;
  otter.name = "Maris Otter";
  otter.supplier = "Crisp";
  otter.origin = "England";
  otter.type = 1;
  otter.potential = 1.038f;
  otter.color = 3.75f;
  otter.fine_grind_yield = 81.5f;
  otter.coarse_grind_yield = 79.25f;
  otter.amount = 9.25f;
  file::FermentableAddition oats = RecipeFermentable("Flaked Oats", 4, 0.75f, 1.25f, "Scotland");
  oats.potential = 1.033f;  // no stored yield: BeerXML 1.0 derives it
  r.fermentables = {otter, oats};
  // Boil hops only, one of each form (the top four bits of the type code); the recipe's own
  // alpha acid, one below the stored variety's.
  r.hops = {RecipeHop("Magnum", 13.25f, 0, 0x2000, 1.25f, 60, 0, "Germany"),
            RecipeHop("Fuggle", 4.75f, 2.25f, 0x0002, 2.0f, 15, 0, "United Kingdom"),
            RecipeHop("Northdown", 8.5f, 5.25f, 0x1001, 0.75f, 0, 0, "")};
  // name, type, unit, amount, suggested time, use, time unit
  r.miscs = {RecipeMisc("Irish Moss", 4, 3, 1.25f, 15, 0, 1),
             RecipeMisc("Gypsum", 2, 1, 5.5f, 60, 2, 1),
             RecipeMisc("Lactose", 3, 2, 0.5f, 2, 1, 0)};
  r.yeast = {.name = "English Ale",
             .laboratory = "Example Labs",
             .product_id = "EL-002",
             .type = 0,
             .form = 0,
             .attenuation_low = 68,
             .attenuation_high = 72,
             .temperature = 64.5f,
             .flocculation = 0};
  r.water = {"Burton", 268.5f, 62.25f, 30.75f, 0, 638.5f, 36.25f, 141.75f, 7.8f, ""};
  r.process.notes = "Brewed for the value tests";
  r.process.grain_temperature = 70;
  r.steps = {StepSlot(0, "Mash In", 152, 150, 164, 60, 2, 1.5f, 15),
             StepSlot(1, "Mash Out", 168, 168, 0, 10, 10, 0, 0)};
  r.schedule = {.schedule_name = "Recipe Mash", .mash_mode = 1};
  return r.SyncCounts();
}

}  // namespace kegverter::testing::values
