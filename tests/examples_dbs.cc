// Example extra.dat, malt.dat, water.dat, '.wtr' and yeast.dat files.
#include <vector>

#include "tests/examples.h"
#include "tests/records.h"

namespace kegverter::testing {

Bytes MakeExtraExample() {
  // name, type, time, time type, time units, unit, inventory, use for, comment
  return file::DatabaseOf(std::vector<file::Misc>{
      {"Irish Moss", 4, 15, 0, 1, 3, 4, "Clears the wort of proteins",
       "Rehydrate in a little water first."},
      {"Coriander Seed", 0, 5, 0, 1, 0, 2, "Witbier, saisons", ""},
      {"Sweet Orange Peel", 1, 5, 0, 1, 6, 1, "Witbier", ""},
      {"Vanilla Extract", 2, 7, 1, 0, 0, 2, "Porters and stouts", "Add to taste at bottling."},
      {"Gypsum", 2, 60, 2, 1, 1, 250, "Hardens soft water", ""},
      {"Heather Tips", 5, 10, 0, 1, 2, 0.5f, "Scottish ales", ""},
      {"Lactose", 3, 10, 0, 1, 4, 12, "Milk stouts", "Not fermentable."},
  });
}

namespace {

// The example malts leave the spare fields empty.
file::Malt Malt(const char* name, const char* supplier, const char* origin, std::uint8_t type,
                std::uint8_t recommend_mash, float potential, float color, float moisture,
                float max_in_batch, float diastatic_power, float protein, const char* notes,
                float inventory, float fine_grind_yield, float coarse_grind_yield) {
  file::Malt m;
  m.name = name;
  m.supplier = supplier;
  m.origin = origin;
  m.type = type;
  m.recommend_mash = recommend_mash;
  m.potential = potential;
  m.color = color;
  m.moisture = moisture;
  m.max_in_batch = max_in_batch;
  m.diastatic_power = diastatic_power;
  m.protein = protein;
  m.notes = notes;
  m.inventory = inventory;
  m.fine_grind_yield = fine_grind_yield;
  m.coarse_grind_yield = coarse_grind_yield;
  return m;
}

// Ion contents in the record's order; the 4 unread bytes after sodium stay zero.
file::Water Water(const char* name, float calcium, float magnesium, float sodium, float sulfate,
                  float chloride, float bicarbonate, float ph, const char* notes) {
  return {name, calcium, magnesium, sodium, 0, sulfate, chloride, bicarbonate, ph, notes};
}

file::Yeast Yeast(const char* name, const char* laboratory, const char* product_id,
                  std::uint8_t type, std::uint8_t form, const char* notes, const char* best_for,
                  std::int32_t attenuation_low, std::int32_t attenuation_high, float temperature,
                  std::uint8_t flocculation) {
  return {name, laboratory,      product_id,       type,        form,        notes, best_for,
          0,    attenuation_low, attenuation_high, temperature, flocculation};
}

}  // namespace

Bytes MakeMaltExample() {
  return file::DatabaseOf(std::vector<file::Malt>{
      Malt("Pale Ale Malt", "Example Maltings", "England", 1, 1, 1.038f, 3, 3.5f, 100, 50, 9.5f,
           "Base malt for English ales.", 55, 81, 79.5f),
      Malt("Crystal 60", "Example Maltings", "England", 1, 0, 1.034f, 60, 5, 20, 0, 12,
           "Caramel sweetness and a copper colour.", 10, 74, 72.5f),
      Malt("Light Dry Extract", "Example Extracts", "United States", 2, 0, 1.044f, 8, 2, 100, 0, 0,
           "Spray-dried light malt extract.", 6, 95, 95),
      Malt("Corn Sugar", "", "United States", 3, 0, 1.046f, 0, 0, 10, 0, 0,
           "Dextrose; also used for priming.", 5, 100, 100),
      Malt("Flaked Oats", "Example Mills", "Scotland", 4, 1, 1.033f, 1, 9, 30, 0, 13,
           "Body and a silky mouthfeel.", 3, 72, 71),
  });
}

Bytes MakeWaterExample() {
  // calcium, magnesium, sodium, sulfate, chloride, bicarbonate, pH
  return file::DatabaseOf(std::vector<file::Water>{
      Water("Pilsen", 7, 2, 2, 5, 5, 15, 7, "Very soft water for pale lagers."),
      Water("Burton on Trent", 268, 62, 30, 638, 36, 141, 7.8f,
            "Sulfate-rich water for pale ales."),
      Water("Dublin", 118, 4, 12, 54, 19, 319, 7.9f, "Carbonate water for stouts."),
      Water("Munich", 76, 18, 2, 5, 2, 152, 7.8f, "For dark lagers."),
      Water("Distilled", 0, 0, 0, 0, 0, 0, 7, ""),
  });
}

Bytes MakeWtrExample() {
  return file::ToBytes(Water("Edinburgh", 100, 18, 20, 105, 45, 160, 7.6f,
                             "Moderately hard water for Scottish ales."));
}

Bytes MakeYeastExample() {
  return file::DatabaseOf(std::vector<file::Yeast>{
      Yeast("Clean American Ale", "Example Labs", "EL-001", 0, 1,
            "Neutral and clean; lets hops show.", "American pale ales, IPAs", 73, 77, 66, 1),
      Yeast("English Ale", "Example Labs", "EL-002", 0, 0, "Fruity, drops bright quickly.",
            "Bitters, milds, porters", 68, 72, 65, 0),
      Yeast("Bohemian Lager", "Example Labs", "EL-101", 1, 1, "Malty, clean when fermented cold.",
            "Pilsners, Bocks", 70, 74, 50, 1),
      Yeast("Dry White Wine", "Example Labs", "EL-201", 2, 2, "Crisp; keeps fruit aromas.",
            "White wines, ciders", 75, 80, 62, 2),
      Yeast("Champagne", "Example Labs", "EL-301", 3, 0, "Alcohol tolerant; ferments very dry.",
            "Barley wines, meads", 90, 98, 60, 2),
  });
}

}  // namespace kegverter::testing
