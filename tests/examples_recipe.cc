// The bundled recipe: an American pale ale with every ingredient list and a multi-step simple
// mash, whose first rest is reached by an infusion at a computed strike temperature.
#include "tests/examples.h"
#include "tests/fixture_recipe.h"

namespace kegverter::testing {

namespace {

Bytes Hop(const char* name, const char* origin, float alpha, std::int16_t type_code, float amount,
          std::uint8_t time, std::uint8_t marker) {
  Bytes b(kHopAdditionSize);
  b.Text(0, 55, name).F32(55, alpha).F32(59, alpha / 2).I16(80, type_code).Text(241, 55, origin);
  return b.F32(620, alpha).F32(625, amount).U8(629, time).U8(630, marker);
}

Bytes Fermentable(const char* name, const char* origin, std::uint8_t type, float color,
                  float amount) {
  Bytes b(kFermentableAdditionSize);
  return b.Text(0, 55, name).Text(110, 55, origin).U8(165, type).F32(167, 1.036f)
      .F32(171, color).F32(521, amount);
}

// Time units: 0 days, 1 minutes.
Bytes Misc(const char* name, std::uint8_t type, std::int32_t time, std::uint8_t time_units,
           std::uint8_t use, std::uint8_t unit, float amount) {
  Bytes b(kMiscAdditionSize);
  return b.Text(0, 55, name).U8(55, type).I32(56, time).U8(60, use).U8(61, time_units)
      .U8(62, unit).F32(577, amount);
}

}  // namespace

Bytes RecipeExample() {
  RecipeFile f;
  f.header.Text(0, 85, "Pale Ale").F32(97, 5.5f).F32(101, 7.0f).F32(105, 52.0f)
      .F32(109, 38.4f).F32(113, 0.72f).I32(117, 60).U8(125, 0);
  f.style.Text(0, 55, "American Pale Ale").Text(55, 55, "American Ale").U8(110, 0)
      .F32(111, 1.045f).F32(115, 1.056f).F32(119, 1.010f).F32(123, 1.015f)
      .F32(127, 4.5f).F32(131, 6.0f).F32(135, 20.0f).F32(139, 40.0f)
      .F32(143, 4.0f).F32(147, 11.0f).I16(1026, 6).Text(1028, 2, "A");
  // Type codes: the form in the top four bits (0 leaf, 2 pellet), the variety's use below.
  f.hops = {
      Hop("Magnum", "Germany", 13.5f, 0x2000, 0.5f, 60, 0),
      Hop("Centennial", "US", 10.0f, 0x0003, 0.5f, 61, 0),   // first wort
      Hop("Cascade", "US", 6.25f, 0x2002, 1.0f, 10, 0),
      Hop("Cascade", "US", 6.25f, 0x2002, 1.0f, 251, 255),   // dry hop
  };
  f.fermentables = {
      Fermentable("Pale Malt (2 Row)", "US", 1, 1.8f, 9.5f),
      Fermentable("Crystal 40L", "US", 1, 40.0f, 0.75f),
      Fermentable("Honey", "US", 3, 1.0f, 0.5f),  // not grain: no weight in the mash
  };
  f.miscs = {
      Misc("Irish Moss", 4, 15, 1, 0, 3, 1.0f),      // teaspoons, boil
      Misc("Gypsum", 2, 60, 1, 2, 1, 5.0f),          // grams, mash
      Misc("Vanilla Extract", 2, 7, 0, 1, 0, 0.5f),  // an extract, in fluid ounces
  };
  f.yeast.Text(0, 55, "American Ale").Text(55, 55, "Wyeast Labs").Text(110, 25, "1056")
      .U8(135, 0).U8(136, 1).I32(455, 73).I32(459, 77).F32(463, 66.0f);
  f.water.Text(0, 27, "Soft Tap Water").F32(27, 18.0f).F32(31, 4.0f).F32(35, 9.0f)
      .F32(43, 12.0f).F32(47, 15.0f).F32(51, 45.0f).F32(55, 7.2f);
  // Multi-step simple mash: protein rest, saccharification, mash out; 14.25 quarts at 65 F.
  f.process.U8(0, 3).I32(17, 122).I32(21, 15).I32(33, 152).I32(37, 60).I32(41, 168).I32(45, 10)
      .F32(57, 14.25f).Text(62, 4028, "Ferment at 66 F for two weeks, dry hop for five days.")
      .I32(8377, 65);
  f.schedule.U8(255, 0);
  return f.SyncCounts().Build();
}

}  // namespace kegverter::testing
