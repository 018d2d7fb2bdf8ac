// Example hop and style databases: a few well-known varieties and styles, written at the byte
// offsets of the hops.dat and styles.dat records.
#include "tests/examples.h"

#include <cstdint>
#include <string_view>

namespace kegverter::testing {

namespace {

struct ExampleHop {
  std::string_view name;
  float alpha;
  float beta;
  float cohumulone;
  float myrcene;
  float humulene;
  float caryophyllene;
  std::int16_t type_code;  // low 4 bits: use; bits 12 to 15: form
  float percent_lost;
  std::string_view notes;
  std::string_view origin;
  std::string_view best_for;
  std::string_view substitutes;
  float inventory;
};

Bytes HopRecordBytes(const ExampleHop& hop) {
  Bytes b(614);
  b.Text(0, 55, hop.name).F32(55, hop.alpha).F32(59, hop.beta);
  b.F32(64, hop.cohumulone).F32(68, hop.myrcene).F32(72, hop.humulene).F32(76, hop.caryophyllene);
  b.I16(80, hop.type_code).F32(82, hop.percent_lost);
  b.Text(86, 155, hop.notes).Text(241, 55, hop.origin).Text(296, 155, hop.best_for);
  b.Text(451, 155, hop.substitutes).F32(606, hop.inventory);
  return b;
}

struct ExampleStyle {
  std::string_view category;
  std::string_view name;
  std::uint8_t type;
  float og_min, og_max, fg_min, fg_max;
  float abv_min, abv_max, ibu_min, ibu_max, color_min, color_max;
  std::string_view color, malt, hops, yeast, examples;
  std::int16_t category_number;
  std::string_view letter;
};

Bytes StyleRecordBytes(const ExampleStyle& s) {
  Bytes b(1031);
  b.Text(0, 55, s.category).Text(55, 55, s.name).U8(110, s.type);
  b.F32(111, s.og_min).F32(115, s.og_max).F32(119, s.fg_min).F32(123, s.fg_max);
  b.F32(127, s.abv_min).F32(131, s.abv_max).F32(135, s.ibu_min).F32(139, s.ibu_max);
  b.F32(143, s.color_min).F32(147, s.color_max);
  b.Text(151, 155, s.color).Text(306, 155, s.malt).Text(461, 155, s.hops).Text(616, 155, s.yeast);
  b.Text(771, 255, s.examples).I16(1026, s.category_number).Text(1028, 2, s.letter);
  return b;
}

}  // namespace

Bytes MakeHopsExample() {
  const ExampleHop hops[] = {
      {"Cascade", 5.5f, 6.0f, 35.0f, 50.0f, 12.0f, 4.5f, 2, 50.0f,
       "Floral, citrus and grapefruit aroma.", "U.S.", "American ales, especially pale ales",
       "Centennial, Amarillo", 16.0f},
      {"Northern Brewer", 8.5f, 4.0f, 24.0f, 55.0f, 24.0f, 8.0f, 3, 35.0f,
       "Woody and minty, with a clean bitterness.", "Germany", "Steam beer, porters",
       "Perle, Chinook", 4.0f},
      // No beta acid known and no oil analysis; a pellet hop (form bits 0x1000).
      {"Saaz", 3.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0x1000, 45.0f, "", "Czech Republic",
       "Bohemian pilsners", "Tettnang, Spalt", 0.0f},
  };
  std::vector<Bytes> records;
  for (const ExampleHop& hop : hops) records.push_back(HopRecordBytes(hop));
  return Database(static_cast<std::int32_t>(records.size()), records);
}

Bytes MakeStylesExample() {
  const ExampleStyle styles[] = {
      {"Light Lager", "Standard American Lager", 1, 1.040f, 1.046f, 1.006f, 1.010f, 4.0f, 5.0f,
       8.0f, 15.0f, 2.0f, 4.0f, "Very pale straw to pale gold.", "Low malt flavour.",
       "Hop flavour and aroma low to none.", "Clean lager character.",
       "Budweiser, Miller High Life, Coors", 1, "B"},
      {"American Pale Ale", "American Pale Ale", 0, 1.045f, 1.056f, 1.010f, 1.015f, 4.5f, 5.7f,
       20.0f, 40.0f, 4.0f, 11.0f, "Pale gold to light copper.", "Low to moderate maltiness.",
       "Moderate to high citrusy American hops.", "Clean ale character.",
       "Sierra Nevada Pale Ale, Anchor Liberty Ale", 6, "A"},
      {"Mead", "Traditional Mead", 3, 1.080f, 1.120f, 0.990f, 1.020f, 8.0f, 14.0f, 0.0f, 0.0f,
       1.0f, 8.0f, "Pale to deep gold.", "None.", "None.", "Wine or mead yeast.",
       "Chaucer's Mead", 24, "A"},
  };
  std::vector<Bytes> records;
  for (const ExampleStyle& style : styles) records.push_back(StyleRecordBytes(style));
  return Database(static_cast<std::int32_t>(records.size()), records);
}

}  // namespace kegverter::testing
