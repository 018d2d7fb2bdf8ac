// The byte offsets of every source record, each stated here once. All numbers are little-endian
// and packed without alignment.
#include "tests/records.h"

namespace kegverter::testing::file {

namespace {

// Fields 0 to 321 of extra.dat, which a recipe's miscellaneous addition repeats.
void PutMisc(Bytes& b, const Misc& m) {
  b.Text(0, 55, m.ingredient_name).U8(55, m.ingredient_type).I32(56, m.suggested_time);
  b.U8(60, m.time_type).U8(61, m.time_units).U8(62, m.inventory_unit_of_measurement);
  b.F32(63, m.inventory).Text(67, 255, m.usage).Text(322, 255, m.comment);
}

// The 521 bytes of malt.dat, which a recipe's fermentable addition starts with.
void PutMalt(Bytes& b, const Malt& m) {
  b.Text(0, 55, m.name).Text(55, 55, m.supplier).Text(110, 55, m.origin).U8(165, m.type);
  b.U8(166, m.recommend_mash).F32(167, m.potential).F32(171, m.color).F32(175, m.moisture);
  b.F32(179, m.max_in_batch).F32(183, m.diastatic_power).F32(187, m.protein);
  b.F32(191, m.spare_percentage).Text(195, 155, m.spare_text).Text(350, 159, m.notes);
  b.F32(509, m.inventory).F32(513, m.fine_grind_yield).F32(517, m.coarse_grind_yield);
}

// The fields a hops.dat record and a recipe's hop addition share: offsets 0 to 450.
void PutHopStart(Bytes& b, const Hop& h) {
  b.Text(0, 55, h.name).F32(55, h.alpha_acid).F32(59, h.beta_acid).U8(63, h.spare_flag);
  b.F32(64, h.cohumulone).F32(68, h.myrcene).F32(72, h.humulene).F32(76, h.caryophyllene);
  b.I16(80, h.type_code).F32(82, h.percent_lost).Text(86, 155, h.notes).Text(241, 55, h.origin);
  b.Text(296, 155, h.best_for);
}

}  // namespace

Bytes ToBytes(const Misc& m) {
  Bytes b(kMiscSize);
  PutMisc(b, m);
  return b;
}

Bytes ToBytes(const Malt& m) {
  Bytes b(kMaltSize);
  PutMalt(b, m);
  return b;
}

Bytes ToBytes(const Hop& h) {
  Bytes b(kHopSize);
  PutHopStart(b, h);
  b.Text(451, 155, h.substitutes).F32(606, h.inventory);
  return b.Raw(610, h.unread.substr(0, 4));
}

Bytes ToBytes(const Style& s) {
  Bytes b(kStyleSize);
  b.Text(0, 55, s.category).Text(55, 55, s.name).U8(110, s.type);
  b.F32(111, s.original_gravity_min).F32(115, s.original_gravity_max);
  b.F32(119, s.final_gravity_min).F32(123, s.final_gravity_max);
  b.F32(127, s.alcohol_min).F32(131, s.alcohol_max);
  b.F32(135, s.bitterness_min).F32(139, s.bitterness_max);
  b.F32(143, s.color_min).F32(147, s.color_max);
  b.Text(151, 155, s.color_description).Text(306, 155, s.malt_description);
  b.Text(461, 155, s.hops_description).Text(616, 155, s.yeast_description);
  b.Text(771, 255, s.notes).I16(1026, s.category_number).Text(1028, 2, s.style_letter);
  return b.U8(1030, s.spare_flag);
}

Bytes ToBytes(const Water& w) {
  Bytes b(kWaterSize);
  b.Text(0, 27, w.name).F32(27, w.calcium).F32(31, w.magnesium).F32(35, w.sodium);
  b.F32(39, w.unread).F32(43, w.sulfate).F32(47, w.chloride).F32(51, w.bicarbonate);
  return b.F32(55, w.ph).Text(59, 163, w.notes);
}

Bytes ToBytes(const Yeast& y) {
  Bytes b(kYeastSize);
  b.Text(0, 55, y.name).Text(55, 55, y.laboratory).Text(110, 25, y.product_id);
  b.U8(135, y.type).U8(136, y.form).Text(137, 155, y.notes).Text(292, 159, y.best_for);
  b.F32(451, y.spare_value).I32(455, y.attenuation_low).I32(459, y.attenuation_high);
  return b.F32(463, y.temperature).U8(467, y.flocculation);
}

Bytes ToBytes(const MashStep& s) {
  Bytes b(kMashStepSize);
  b.Text(0, 255, s.name).U8(255, s.type).I32(256, s.step_temperature);
  b.I32(260, s.end_temperature).I32(264, s.infuse_temperature).I32(268, s.step_time);
  b.I32(272, s.ramp_time).F32(276, s.water_grain_ratio).F32(280, s.step_amount);
  return b.Raw(284, s.unread.substr(0, 8));
}

Bytes ToBytes(const MashSchedule& m) {
  Bytes b(kMashScheduleHeaderSize);
  b.I32(0, m.step_count).I32(4, m.spare_count).F32(8, m.grain_temperature);
  b.F32(12, m.spare_amount).F32(16, m.spare_ratio);
  for (std::size_t slot = 0; slot < kMashSteps; ++slot) {
    b.Append(slot < m.steps.size() ? ToBytes(m.steps[slot]) : Bytes(kMashStepSize));
  }
  return b.Append(Bytes(255).Text(0, 255, m.name));
}

Bytes ToBytes(const RecipeHeader& h) {
  Bytes b(kRecipeHeaderSize);
  b.Text(0, 85, h.name).I32(85, h.hop_count).I32(89, h.fermentable_count);
  b.I32(93, h.misc_count).F32(97, h.batch_size).F32(101, h.boil_size);
  b.F32(105, h.original_gravity).F32(109, h.bitterness).F32(113, h.efficiency);
  return b.I32(117, h.boil_time).I32(121, h.spare_value).U8(125, h.recipe_type);
}

Bytes ToBytes(const HopAddition& h) {
  Bytes b(kHopAdditionSize);
  PutHopStart(b, h);
  b.Text(451, 160, h.substitutes).F32(611, h.inventory).U8(615, h.spare_byte);
  b.F32(616, h.spare_value).F32(620, h.alpha).U8(624, h.spare_byte_2).F32(625, h.amount);
  return b.U8(629, h.addition_time).U8(630, h.dry_hop_marker).F32(631, h.spare_amount);
}

Bytes ToBytes(const FermentableAddition& f) {
  Bytes b(kFermentableAdditionSize);
  PutMalt(b, f);
  return b.F32(521, f.amount).F32(525, f.spare_amount);
}

Bytes ToBytes(const MiscAddition& m) {
  Bytes b(kMiscAdditionSize);
  PutMisc(b, m);
  return b.F32(577, m.amount).F32(581, m.spare_amount).F32(585, m.spare_amount_2);
}

Bytes ToBytes(const Process& p) {
  Bytes b(kProcessSize);
  b.U8(0, p.simple_mash_type).I32(1, p.spare_value_1).I32(5, p.spare_value_2);
  b.I32(9, p.acid_rest_temperature).I32(13, p.acid_rest_time);
  b.I32(17, p.protein_rest_temperature).I32(21, p.protein_rest_time);
  b.I32(25, p.intermediate_rest_temperature).I32(29, p.intermediate_rest_time);
  b.I32(33, p.saccharification_rest_temperature).I32(37, p.saccharification_rest_time);
  b.I32(41, p.mash_out_temperature).I32(45, p.mash_out_time);
  b.I32(49, p.spare_value_13).I32(53, p.spare_value_14).F32(57, p.mash_water);
  b.U8(61, p.spare_flag).Text(62, 4028, p.notes).Text(4090, 4028, p.spare_notes);
  b.Raw(8118, p.unread.substr(0, 255)).I32(8373, p.mash_step_count).I32(8377, p.grain_temperature);
  return b.I32(8381, p.spare_value_21);
}

Bytes ToBytes(const Schedule& s) {
  Bytes b(kScheduleSize);
  return b.Text(0, 255, s.schedule_name).U8(255, s.mash_mode);
}

Recipe& Recipe::SyncCounts() {
  header.hop_count = static_cast<std::int32_t>(hops.size());
  header.fermentable_count = static_cast<std::int32_t>(fermentables.size());
  header.misc_count = static_cast<std::int32_t>(miscs.size());
  process.mash_step_count = static_cast<std::int32_t>(steps.size());
  return *this;
}

Bytes ToBytes(const Recipe& r) {
  Bytes b = ToBytes(r.header);
  b.Append(ToBytes(r.style));
  for (const HopAddition& h : r.hops) b.Append(ToBytes(h));
  for (const FermentableAddition& f : r.fermentables) b.Append(ToBytes(f));
  for (const MiscAddition& m : r.miscs) b.Append(ToBytes(m));
  b.Append(ToBytes(r.yeast)).Append(Bytes(kRecipeGapSize).Raw(0, r.gap.substr(0, kRecipeGapSize)));
  b.Append(ToBytes(r.water)).Append(ToBytes(r.process));
  for (std::size_t slot = 0; slot < kMashSteps; ++slot) {
    b.Append(slot < r.steps.size() ? ToBytes(r.steps[slot]) : Bytes(kMashStepSize));
  }
  return b.Append(ToBytes(r.schedule));
}

}  // namespace kegverter::testing::file
