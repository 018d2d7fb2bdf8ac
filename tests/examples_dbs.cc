// Example extra.dat, malt.dat, water.dat, '.wtr' and yeast.dat files, written field by field at
// the offsets of their record layouts.
#include <cstdint>
#include <vector>

#include "tests/examples.h"

namespace kegverter::testing {

namespace {

Bytes MiscRecordBytes(const char* name, std::uint8_t type, std::int32_t time,
                      std::uint8_t time_type, std::uint8_t time_units, std::uint8_t unit,
                      float inventory, const char* usage, const char* comment) {
  Bytes b(577);
  b.Text(0, 55, name).U8(55, type).I32(56, time).U8(60, time_type).U8(61, time_units);
  b.U8(62, unit).F32(63, inventory).Text(67, 255, usage).Text(322, 255, comment);
  return b;
}

struct MaltFields {
  const char* name;
  const char* supplier;
  const char* origin;
  std::uint8_t type;
  std::uint8_t recommend_mash;
  float potential;
  float color;
  float moisture;
  float max_in_batch;
  float diastatic_power;
  float protein;
  const char* notes;
  float inventory;
  float fine_grind_yield;
  float coarse_grind_yield;
};

Bytes MaltRecordBytes(const MaltFields& m) {
  Bytes b(521);
  b.Text(0, 55, m.name).Text(55, 55, m.supplier).Text(110, 55, m.origin).U8(165, m.type);
  b.U8(166, m.recommend_mash).F32(167, m.potential).F32(171, m.color).F32(175, m.moisture);
  b.F32(179, m.max_in_batch).F32(183, m.diastatic_power).F32(187, m.protein);
  b.F32(191, 0).Text(195, 155, "").Text(350, 159, m.notes);
  b.F32(509, m.inventory).F32(513, m.fine_grind_yield).F32(517, m.coarse_grind_yield);
  return b;
}

// Ion contents in the record's order (calcium, magnesium, sodium, sulfate, chloride,
// bicarbonate); the 4 bytes at offset 39 are left zero.
Bytes WaterRecordBytes(const char* name, float calcium, float magnesium, float sodium,
                       float sulfate, float chloride, float bicarbonate, float ph,
                       const char* notes) {
  Bytes b(222);
  b.Text(0, 27, name).F32(27, calcium).F32(31, magnesium).F32(35, sodium);
  b.F32(43, sulfate).F32(47, chloride).F32(51, bicarbonate).F32(55, ph).Text(59, 163, notes);
  return b;
}

struct YeastFields {
  const char* name;
  const char* laboratory;
  const char* product_id;
  std::uint8_t type;
  std::uint8_t form;
  const char* notes;
  const char* best_for;
  std::int32_t attenuation_low;
  std::int32_t attenuation_high;
  float temperature;
  std::uint8_t flocculation;
};

Bytes YeastRecordBytes(const YeastFields& y) {
  Bytes b(468);
  b.Text(0, 55, y.name).Text(55, 55, y.laboratory).Text(110, 25, y.product_id);
  b.U8(135, y.type).U8(136, y.form).Text(137, 155, y.notes).Text(292, 159, y.best_for);
  b.F32(451, 0).I32(455, y.attenuation_low).I32(459, y.attenuation_high);
  b.F32(463, y.temperature).U8(467, y.flocculation);
  return b;
}

Bytes CountedFile(const std::vector<Bytes>& records) {
  return Database(static_cast<std::int32_t>(records.size()), records);
}

}  // namespace

Bytes MakeExtraExample() {
  // name, type, time, time type, time units, unit, inventory, use for, comment
  return CountedFile({
      MiscRecordBytes("Irish Moss", 4, 15, 0, 1, 3, 4, "Clears the wort of proteins",
                      "Rehydrate in a little water first."),
      MiscRecordBytes("Coriander Seed", 0, 5, 0, 1, 0, 2, "Witbier, saisons", ""),
      MiscRecordBytes("Sweet Orange Peel", 1, 5, 0, 1, 6, 1, "Witbier", ""),
      MiscRecordBytes("Vanilla Extract", 2, 7, 1, 0, 0, 2, "Porters and stouts",
                      "Add to taste at bottling."),
      MiscRecordBytes("Gypsum", 2, 60, 2, 1, 1, 250, "Hardens soft water", ""),
      MiscRecordBytes("Heather Tips", 5, 10, 0, 1, 2, 0.5f, "Scottish ales", ""),
      MiscRecordBytes("Lactose", 3, 10, 0, 1, 4, 12, "Milk stouts", "Not fermentable."),
  });
}

Bytes MakeMaltExample() {
  return CountedFile({
      MaltRecordBytes({"Pale Ale Malt", "Example Maltings", "England", 1, 1, 1.038f, 3, 3.5f,
                       100, 50, 9.5f, "Base malt for English ales.", 55, 81, 79.5f}),
      MaltRecordBytes({"Crystal 60", "Example Maltings", "England", 1, 0, 1.034f, 60, 5, 20, 0,
                       12, "Caramel sweetness and a copper colour.", 10, 74, 72.5f}),
      MaltRecordBytes({"Light Dry Extract", "Example Extracts", "United States", 2, 0, 1.044f,
                       8, 2, 100, 0, 0, "Spray-dried light malt extract.", 6, 95, 95}),
      MaltRecordBytes({"Corn Sugar", "", "United States", 3, 0, 1.046f, 0, 0, 10, 0, 0,
                       "Dextrose; also used for priming.", 5, 100, 100}),
      MaltRecordBytes({"Flaked Oats", "Example Mills", "Scotland", 4, 1, 1.033f, 1, 9, 30, 0,
                       13, "Body and a silky mouthfeel.", 3, 72, 71}),
  });
}

Bytes MakeWaterExample() {
  // calcium, magnesium, sodium, sulfate, chloride, bicarbonate, pH
  return CountedFile({
      WaterRecordBytes("Pilsen", 7, 2, 2, 5, 5, 15, 7, "Very soft water for pale lagers."),
      WaterRecordBytes("Burton on Trent", 268, 62, 30, 638, 36, 141, 7.8f,
                       "Sulfate-rich water for pale ales."),
      WaterRecordBytes("Dublin", 118, 4, 12, 54, 19, 319, 7.9f, "Carbonate water for stouts."),
      WaterRecordBytes("Munich", 76, 18, 2, 5, 2, 152, 7.8f, "For dark lagers."),
      WaterRecordBytes("Distilled", 0, 0, 0, 0, 0, 0, 7, ""),
  });
}

Bytes MakeWtrExample() {
  return WaterRecordBytes("Edinburgh", 100, 18, 20, 105, 45, 160, 7.6f,
                          "Moderately hard water for Scottish ales.");
}

Bytes MakeYeastExample() {
  return CountedFile({
      YeastRecordBytes({"Clean American Ale", "Example Labs", "EL-001", 0, 1,
                        "Neutral and clean; lets hops show.", "American pale ales, IPAs", 73,
                        77, 66, 1}),
      YeastRecordBytes({"English Ale", "Example Labs", "EL-002", 0, 0,
                        "Fruity, drops bright quickly.", "Bitters, milds, porters", 68, 72, 65,
                        0}),
      YeastRecordBytes({"Bohemian Lager", "Example Labs", "EL-101", 1, 1,
                        "Malty, clean when fermented cold.", "Pilsners, Bocks", 70, 74, 50, 1}),
      YeastRecordBytes({"Dry White Wine", "Example Labs", "EL-201", 2, 2,
                        "Crisp; keeps fruit aromas.", "White wines, ciders", 75, 80, 62, 2}),
      YeastRecordBytes({"Champagne", "Example Labs", "EL-301", 3, 0,
                        "Alcohol tolerant; ferments very dry.", "Barley wines, meads", 90, 98,
                        60, 2}),
  });
}

}  // namespace kegverter::testing
