// Example hop and style databases: a few well-known varieties and styles.
#include <vector>

#include "tests/examples.h"
#include "tests/records.h"

namespace kegverter::testing {

namespace {

file::Hop Hop(const char* name, float alpha, float beta, float cohumulone, float myrcene,
              float humulene, float caryophyllene, std::int16_t type_code, float percent_lost,
              const char* notes, const char* origin, const char* best_for, const char* substitutes,
              float inventory) {
  file::Hop h;
  h.name = name;
  h.alpha_acid = alpha;
  h.beta_acid = beta;
  h.cohumulone = cohumulone;
  h.myrcene = myrcene;
  h.humulene = humulene;
  h.caryophyllene = caryophyllene;
  h.type_code = type_code;
  h.percent_lost = percent_lost;
  h.notes = notes;
  h.origin = origin;
  h.best_for = best_for;
  h.substitutes = substitutes;
  h.inventory = inventory;
  return h;
}

}  // namespace

Bytes MakeHopsExample() {
  return file::DatabaseOf(std::vector<file::Hop>{
      Hop("Cascade", 5.5f, 6.0f, 35.0f, 50.0f, 12.0f, 4.5f, 2, 50.0f,
          "Floral, citrus and grapefruit aroma.", "U.S.", "American ales, especially pale ales",
          "Centennial, Amarillo", 16.0f),
      Hop("Northern Brewer", 8.5f, 4.0f, 24.0f, 55.0f, 24.0f, 8.0f, 3, 35.0f,
          "Woody and minty, with a clean bitterness.", "Germany", "Steam beer, porters",
          "Perle, Chinook", 4.0f),
      // No beta acid known and no oil analysis; a pellet hop (form bits 0x1000).
      Hop("Saaz", 3.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0x1000, 45.0f, "", "Czech Republic",
          "Bohemian pilsners", "Tettnang, Spalt", 0.0f),
  });
}

Bytes MakeStylesExample() {
  // category, name, type, gravities, alcohol, bitterness, colour, the four profile texts, the
  // examples, category number and letter
  return file::DatabaseOf(std::vector<file::Style>{
      {"Light Lager",
       "Standard American Lager",
       1,
       1.040f,
       1.046f,
       1.006f,
       1.010f,
       4.0f,
       5.0f,
       8.0f,
       15.0f,
       2.0f,
       4.0f,
       "Very pale straw to pale gold.",
       "Low malt flavour.",
       "Hop flavour and aroma low to none.",
       "Clean lager character.",
       "Budweiser, Miller High Life, Coors",
       1,
       "B"},
      {"American Pale Ale",
       "American Pale Ale",
       0,
       1.045f,
       1.056f,
       1.010f,
       1.015f,
       4.5f,
       5.7f,
       20.0f,
       40.0f,
       4.0f,
       11.0f,
       "Pale gold to light copper.",
       "Low to moderate maltiness.",
       "Moderate to high citrusy American hops.",
       "Clean ale character.",
       "Sierra Nevada Pale Ale, Anchor Liberty Ale",
       6,
       "A"},
      {"Mead",
       "Traditional Mead",
       3,
       1.080f,
       1.120f,
       0.990f,
       1.020f,
       8.0f,
       14.0f,
       0.0f,
       0.0f,
       1.0f,
       8.0f,
       "Pale to deep gold.",
       "None.",
       "None.",
       "Wine or mead yeast.",
       "Chaucer's Mead",
       24,
       "A"},
  });
}

}  // namespace kegverter::testing
