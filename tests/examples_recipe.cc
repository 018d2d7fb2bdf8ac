// The bundled recipe: an American pale ale with every ingredient list and a multi-step simple
// mash, whose first rest is reached by an infusion at a computed strike temperature.
#include "tests/examples.h"
#include "tests/records.h"

namespace kegverter::testing {

namespace {

file::HopAddition Hop(const char* name, const char* origin, float alpha, std::int16_t type_code,
                      float amount, std::uint8_t time, std::uint8_t marker) {
  file::HopAddition h;
  h.name = name;
  h.alpha_acid = alpha;
  h.beta_acid = alpha / 2;
  h.type_code = type_code;
  h.origin = origin;
  h.alpha = alpha;
  h.amount = amount;
  h.addition_time = time;
  h.dry_hop_marker = marker;
  return h;
}

file::FermentableAddition Fermentable(const char* name, const char* origin, std::uint8_t type,
                                      float color, float amount) {
  file::FermentableAddition f;
  f.name = name;
  f.origin = origin;
  f.type = type;
  f.potential = 1.036f;
  f.color = color;
  f.amount = amount;
  return f;
}

// Time units: 0 days, 1 minutes.
file::MiscAddition Misc(const char* name, std::uint8_t type, std::int32_t time,
                        std::uint8_t time_units, std::uint8_t use, std::uint8_t unit,
                        float amount) {
  file::MiscAddition m;
  m.ingredient_name = name;
  m.ingredient_type = type;
  m.suggested_time = time;
  m.time_type = use;
  m.time_units = time_units;
  m.inventory_unit_of_measurement = unit;
  m.amount = amount;
  return m;
}

}  // namespace

Bytes RecipeExample() {
  file::Recipe r;
  r.header = {.name = "Pale Ale",
              .batch_size = 5.5f,
              .boil_size = 7.0f,
              .original_gravity = 52.0f,
              .bitterness = 38.4f,
              .efficiency = 0.72f,
              .boil_time = 60};
  r.style = {.category = "American Pale Ale",
             .name = "American Ale",
             .original_gravity_min = 1.045f,
             .original_gravity_max = 1.056f,
             .final_gravity_min = 1.010f,
             .final_gravity_max = 1.015f,
             .alcohol_min = 4.5f,
             .alcohol_max = 6.0f,
             .bitterness_min = 20.0f,
             .bitterness_max = 40.0f,
             .color_min = 4.0f,
             .color_max = 11.0f,
             .category_number = 6,
             .style_letter = "A"};
  // Type codes: the form in the top four bits (0 leaf, 2 pellet), the variety's use below.
  r.hops = {
      Hop("Magnum", "Germany", 13.5f, 0x2000, 0.5f, 60, 0),
      Hop("Centennial", "US", 10.0f, 0x0003, 0.5f, 61, 0),  // first wort
      Hop("Cascade", "US", 6.25f, 0x2002, 1.0f, 10, 0),
      Hop("Cascade", "US", 6.25f, 0x2002, 1.0f, 251, 255),  // dry hop
  };
  r.fermentables = {
      Fermentable("Pale Malt (2 Row)", "US", 1, 1.8f, 9.5f),
      Fermentable("Crystal 40L", "US", 1, 40.0f, 0.75f),
      Fermentable("Honey", "US", 3, 1.0f, 0.5f),  // not grain: no weight in the mash
  };
  r.miscs = {
      Misc("Irish Moss", 4, 15, 1, 0, 3, 1.0f),      // teaspoons, boil
      Misc("Gypsum", 2, 60, 1, 2, 1, 5.0f),          // grams, mash
      Misc("Vanilla Extract", 2, 7, 0, 1, 0, 0.5f),  // an extract, in fluid ounces
  };
  r.yeast = {.name = "American Ale",
             .laboratory = "Wyeast Labs",
             .product_id = "1056",
             .form = 1,
             .attenuation_low = 73,
             .attenuation_high = 77,
             .temperature = 66.0f};
  r.water = {.name = "Soft Tap Water",
             .calcium = 18.0f,
             .magnesium = 4.0f,
             .sodium = 9.0f,
             .sulfate = 12.0f,
             .chloride = 15.0f,
             .bicarbonate = 45.0f,
             .ph = 7.2f};
  // Multi-step simple mash: protein rest, saccharification, mash out; 14.25 quarts at 65 F.
  r.process = {.simple_mash_type = 3,
               .protein_rest_temperature = 122,
               .protein_rest_time = 15,
               .saccharification_rest_temperature = 152,
               .saccharification_rest_time = 60,
               .mash_out_temperature = 168,
               .mash_out_time = 10,
               .mash_water = 14.25f,
               .notes = "Ferment at 66 F for two weeks, dry hop for five days.",
               .grain_temperature = 65};
  return file::ToBytes(r.SyncCounts());
}

}  // namespace kegverter::testing
