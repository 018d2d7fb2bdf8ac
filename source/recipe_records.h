// A recipe file: one complete recipe with its style, additions, yeast, water, mash settings,
// notes, fifty mash step slots and the name of its step mash.
//
// Layout, back to back (H, F, M: the header's list counts; K: the process section's step count):
//   header 126 | style 1031 | H x hop 635 | F x fermentable 529 | M x misc 589 | yeast 468 |
//   gap 5 | water 222 | process 8385 | 50 x step slot 292 (first K used) | schedule 256
// A recipe without additions is 25093 bytes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "source/decoder.h"
#include "source/hop_style_records.h"
#include "source/mash_schedule.h"
#include "source/misc_malt_records.h"
#include "source/water_yeast_records.h"

namespace kegverter {

/// A hop as used in a recipe: the hop database fields (with a wider `substitutes`), then the
/// recipe's own alpha acid, amount and addition time.
struct HopAddition {
  NarrowText name;
  float alpha_acid = 0;
  float beta_acid = 0;
  std::uint8_t spare_flag = 0;
  float cohumulone = 0;
  float myrcene = 0;
  float humulene = 0;
  float caryophyllene = 0;
  std::int16_t type_code = 0;  ///< low 4 bits: use; bits 12 to 15: form (0 leaf, 1 plug, 2 pellet)
  float percent_lost = 0;
  NarrowText notes;
  NarrowText origin;
  NarrowText best_for;
  NarrowText substitutes;
  float inventory = 0;
  std::uint8_t spare_byte = 0;
  float spare_value = 0;
  float alpha = 0;             ///< alpha acid percentage used in this recipe
  std::uint8_t spare_byte_2 = 0;
  float amount = 0;            ///< ounces
  std::uint8_t addition_time = 0;   ///< boil minutes, or 61 first wort, 62 mash, 251 dry hop
  std::uint8_t dry_hop_marker = 0;  ///< 255 marks a dry hop
  float spare_amount = 0;
  std::vector<std::int32_t> field_errors;
};

/// A fermentable as used in a recipe: the malt database fields, then the amount.
struct FermentableAddition {
  NarrowText name;
  NarrowText supplier;
  NarrowText origin;
  std::uint8_t type = 0;  ///< 1 grain, 2 extract, 3 sugar, 4 adjunct
  std::uint8_t recommend_mash = 0;
  float potential = 0;
  float color = 0;
  float moisture = 0;
  float max_in_batch = 0;
  float diastatic_power = 0;
  float protein = 0;
  float spare_percentage = 0;
  NarrowText spare_text;
  NarrowText notes;
  float inventory = 0;
  float fine_grind_yield = 0;
  float coarse_grind_yield = 0;
  float amount = 0;  ///< pounds
  float spare_amount = 0;
  std::vector<std::int32_t> field_errors;
};

/// A miscellaneous ingredient as used in a recipe: the database fields, then the amount.
struct MiscAddition {
  NarrowText ingredient_name;
  std::uint8_t ingredient_type = 0;
  std::int32_t suggested_time = 0;
  std::uint8_t time_type = 0;
  std::uint8_t time_units = 0;
  std::uint8_t inventory_unit_of_measurement = 0;
  float inventory = 0;
  NarrowText usage;
  NarrowText comment;
  float amount = 0;  ///< in the unit that inventory_unit_of_measurement names
  float spare_amount = 0;
  float spare_amount_2 = 0;
  std::vector<std::int32_t> field_errors;
};

/// The simple-mash rests, mash water, notes and the size of the step list.
struct RecipeProcessRecord {
  std::uint8_t simple_mash_type = 0;  ///< 2 single step, 3 or more multi step
  std::int32_t spare_value_1 = 0;
  std::int32_t spare_value_2 = 0;
  std::int32_t acid_rest_temperature = 0;
  std::int32_t acid_rest_time = 0;
  std::int32_t protein_rest_temperature = 0;
  std::int32_t protein_rest_time = 0;
  std::int32_t intermediate_rest_temperature = 0;
  std::int32_t intermediate_rest_time = 0;
  std::int32_t saccharification_rest_temperature = 0;
  std::int32_t saccharification_rest_time = 0;
  std::int32_t mash_out_temperature = 0;
  std::int32_t mash_out_time = 0;
  std::int32_t spare_value_13 = 0;
  std::int32_t spare_value_14 = 0;
  float mash_water = 0;  ///< quarts
  std::uint8_t spare_flag = 0;
  NarrowText notes;
  NarrowText spare_notes;
  std::int32_t mash_step_count = 0;  ///< used step slots, 0 to 50
  std::int32_t grain_temperature = 0;
  std::int32_t spare_value_21 = 0;
  std::vector<std::int32_t> field_errors;
};

/// The name of the step mash and whether the recipe uses it.
struct RecipeScheduleRecord {
  NarrowText schedule_name;
  std::uint8_t mash_mode = 0;  ///< 1: the mash is the step list; otherwise the simple mash
  std::vector<std::int32_t> field_errors;  ///< never set: the schedule is not range-tested
};

struct RecipeRecord {
  NarrowText name;
  std::int32_t hop_count = 0;
  std::int32_t fermentable_count = 0;
  std::int32_t misc_count = 0;
  float batch_size = 0;        ///< gallons
  float boil_size = 0;         ///< gallons
  float original_gravity = 0;  ///< gravity points: (specific gravity - 1) x 1000
  float bitterness = 0;        ///< IBU
  float efficiency = 0;
  std::int32_t boil_time = 0;  ///< minutes
  std::int32_t spare_value = 0;
  std::uint8_t recipe_type = 0;  ///< 0 all grain, 1 partial mash, 2 extract
  StyleRecord style;
  std::vector<HopAddition> hops;
  std::vector<FermentableAddition> fermentables;
  std::vector<MiscAddition> miscs;
  YeastRecord yeast;
  WaterRecord water;
  RecipeProcessRecord process;
  RecipeScheduleRecord schedule;
  std::vector<MashStepRecord> mash_steps;
  std::vector<std::int32_t> field_errors;
};

/// The header's largest list count; a list is left out when its count lies outside 0 to 100.
inline constexpr std::int32_t kMaxRecipeListCount = 100;
/// Mash step slots in every recipe, whatever its step count and type.
inline constexpr std::int32_t kRecipeStepSlots = 50;


namespace recipe_bounds {
inline constexpr RangeBounds kListCount = Int32Bounds(0, 100, 0);
inline constexpr RangeBounds kQuantity = FloatBounds(0, 100000, 0);
inline constexpr RangeBounds kGravityPoints = FloatBounds(0, 1000, 0);
inline constexpr RangeBounds kEfficiency = FloatBounds(0, 110, 70);
inline constexpr RangeBounds kBoilTime = Int32Bounds(0, 500, 0);
inline constexpr RangeBounds kSpareValue = Int32Bounds(0, 1000, 0);
inline constexpr RangeBounds kPercent = FloatBounds(0, 110, 0);
inline constexpr RangeBounds kHopAmount = FloatBounds(0, 1600000, 0);
// The file has 50 step slots, and all of them are usable.
inline constexpr RangeBounds kStepCount = Int32Bounds(0, 50, 0);

inline constexpr RangeSpec Int32Test(const RangeBounds& b) { return {FieldKind::Int32, &b}; }
inline constexpr RangeSpec FloatTest(const RangeBounds& b) { return {FieldKind::Float32, &b}; }
}  // namespace recipe_bounds

template <>
struct RecordLayout<HopAddition> {
  static constexpr std::size_t kRecordSize = 635;
  static constexpr FieldSpec kFields[] = {
      {55, FieldKind::Text},     {4, FieldKind::Float32},  {4, FieldKind::Float32},
      {1, FieldKind::UInt8},     {4, FieldKind::Float32},  {4, FieldKind::Float32},
      {4, FieldKind::Float32},   {4, FieldKind::Float32},  {2, FieldKind::Int16},
      {4, FieldKind::Float32},   {155, FieldKind::Text},   {55, FieldKind::Text},
      {155, FieldKind::Text},    {160, FieldKind::Text},   {4, FieldKind::Float32},
      {1, FieldKind::UInt8},     {4, FieldKind::Float32},  {4, FieldKind::Float32},
      {1, FieldKind::UInt8},     {4, FieldKind::Float32},  {1, FieldKind::UInt8},
      {1, FieldKind::UInt8},     {4, FieldKind::Float32},
  };
  static constexpr MemberRef<HopAddition> kMembers[] = {
      &HopAddition::name,          &HopAddition::alpha_acid,    &HopAddition::beta_acid,
      &HopAddition::spare_flag,    &HopAddition::cohumulone,    &HopAddition::myrcene,
      &HopAddition::humulene,      &HopAddition::caryophyllene, &HopAddition::type_code,
      &HopAddition::percent_lost,  &HopAddition::notes,         &HopAddition::origin,
      &HopAddition::best_for,      &HopAddition::substitutes,   &HopAddition::inventory,
      &HopAddition::spare_byte,    &HopAddition::spare_value,   &HopAddition::alpha,
      &HopAddition::spare_byte_2,  &HopAddition::amount,        &HopAddition::addition_time,
      &HopAddition::dry_hop_marker, &HopAddition::spare_amount,
  };
  static constexpr RangeSpec kRanges[] = {
      kUntested,
      recipe_bounds::FloatTest(recipe_bounds::kPercent),     // alpha_acid
      recipe_bounds::FloatTest(recipe_bounds::kPercent),     // beta_acid
      kUntested,
      recipe_bounds::FloatTest(recipe_bounds::kPercent),     // cohumulone
      recipe_bounds::FloatTest(recipe_bounds::kPercent),     // myrcene
      recipe_bounds::FloatTest(recipe_bounds::kPercent),     // humulene
      recipe_bounds::FloatTest(recipe_bounds::kPercent),     // caryophyllene
      kUntested,
      recipe_bounds::FloatTest(recipe_bounds::kPercent),     // percent_lost
      kUntested, kUntested, kUntested, kUntested,
      kUntested,                                          // inventory: not tested in a recipe
      kUntested, kUntested,
      recipe_bounds::FloatTest(recipe_bounds::kPercent),     // alpha
      kUntested,
      recipe_bounds::FloatTest(recipe_bounds::kHopAmount),   // amount
      kUntested, kUntested,
      recipe_bounds::FloatTest(recipe_bounds::kHopAmount),   // spare_amount
  };
};

template <>
struct RecordLayout<FermentableAddition> {
  static constexpr std::size_t kRecordSize = 529;
  // The malt database record, then the amount and a spare amount.
  static constexpr auto kFields = JoinTables(
      RecordLayout<MaltRecord>::kFields,
      std::array<FieldSpec, 2>{{{4, FieldKind::Float32}, {4, FieldKind::Float32}}});
  static constexpr MemberRef<FermentableAddition> kMembers[] = {
      &FermentableAddition::name,             &FermentableAddition::supplier,
      &FermentableAddition::origin,           &FermentableAddition::type,
      &FermentableAddition::recommend_mash,   &FermentableAddition::potential,
      &FermentableAddition::color,            &FermentableAddition::moisture,
      &FermentableAddition::max_in_batch,     &FermentableAddition::diastatic_power,
      &FermentableAddition::protein,          &FermentableAddition::spare_percentage,
      &FermentableAddition::spare_text,       &FermentableAddition::notes,
      &FermentableAddition::inventory,        &FermentableAddition::fine_grind_yield,
      &FermentableAddition::coarse_grind_yield, &FermentableAddition::amount,
      &FermentableAddition::spare_amount,
  };
  static constexpr auto kRanges = JoinTables(
      RecordLayout<MaltRecord>::kRanges,
      std::array<RangeSpec, 2>{{recipe_bounds::FloatTest(recipe_bounds::kQuantity),    // amount
                                recipe_bounds::FloatTest(recipe_bounds::kQuantity)}});  // spare
};

template <>
struct RecordLayout<MiscAddition> {
  static constexpr std::size_t kRecordSize = 589;
  // The miscellaneous database record, then the amount and two spare amounts.
  static constexpr auto kFields = JoinTables(
      RecordLayout<MiscRecord>::kFields,
      std::array<FieldSpec, 3>{
          {{4, FieldKind::Float32}, {4, FieldKind::Float32}, {4, FieldKind::Float32}}});
  static constexpr MemberRef<MiscAddition> kMembers[] = {
      &MiscAddition::ingredient_name, &MiscAddition::ingredient_type,
      &MiscAddition::suggested_time,  &MiscAddition::time_type,
      &MiscAddition::time_units,      &MiscAddition::inventory_unit_of_measurement,
      &MiscAddition::inventory,       &MiscAddition::usage,
      &MiscAddition::comment,         &MiscAddition::amount,
      &MiscAddition::spare_amount,    &MiscAddition::spare_amount_2,
  };
  static constexpr auto kRanges = JoinTables(
      RecordLayout<MiscRecord>::kRanges,
      std::array<RangeSpec, 3>{{recipe_bounds::FloatTest(recipe_bounds::kQuantity),  // amount
                                kUntested, kUntested}});  // the spare amounts are never tested
};

template <>
struct RecordLayout<RecipeProcessRecord> {
  static constexpr std::size_t kRecordSize = 8385;
  static constexpr FieldSpec kFields[] = {
      {1, FieldKind::UInt8},     {4, FieldKind::Int32},     {4, FieldKind::Int32},
      {4, FieldKind::Int32},     {4, FieldKind::Int32},     {4, FieldKind::Int32},
      {4, FieldKind::Int32},     {4, FieldKind::Int32},     {4, FieldKind::Int32},
      {4, FieldKind::Int32},     {4, FieldKind::Int32},     {4, FieldKind::Int32},
      {4, FieldKind::Int32},     {4, FieldKind::Int32},     {4, FieldKind::Int32},
      {4, FieldKind::Float32},   {1, FieldKind::UInt8},     {4028, FieldKind::Text},
      {4028, FieldKind::Text},   {255, FieldKind::None},    {4, FieldKind::Int32},
      {4, FieldKind::Int32},     {4, FieldKind::Int32},
  };
  static constexpr MemberRef<RecipeProcessRecord> kMembers[] = {
      &RecipeProcessRecord::simple_mash_type,
      &RecipeProcessRecord::spare_value_1,
      &RecipeProcessRecord::spare_value_2,
      &RecipeProcessRecord::acid_rest_temperature,
      &RecipeProcessRecord::acid_rest_time,
      &RecipeProcessRecord::protein_rest_temperature,
      &RecipeProcessRecord::protein_rest_time,
      &RecipeProcessRecord::intermediate_rest_temperature,
      &RecipeProcessRecord::intermediate_rest_time,
      &RecipeProcessRecord::saccharification_rest_temperature,
      &RecipeProcessRecord::saccharification_rest_time,
      &RecipeProcessRecord::mash_out_temperature,
      &RecipeProcessRecord::mash_out_time,
      &RecipeProcessRecord::spare_value_13,
      &RecipeProcessRecord::spare_value_14,
      &RecipeProcessRecord::mash_water,
      &RecipeProcessRecord::spare_flag,
      &RecipeProcessRecord::notes,
      &RecipeProcessRecord::spare_notes,
      &RecipeProcessRecord::mash_step_count,
      &RecipeProcessRecord::grain_temperature,
      &RecipeProcessRecord::spare_value_21,
  };
  static constexpr RangeSpec kRanges[] = {
      kUntested, kUntested, kUntested, kUntested, kUntested, kUntested, kUntested, kUntested,
      kUntested, kUntested, kUntested, kUntested, kUntested, kUntested, kUntested,
      recipe_bounds::FloatTest(recipe_bounds::kQuantity),  // mash_water
      kUntested, kUntested, kUntested,
      recipe_bounds::Int32Test(recipe_bounds::kStepCount),   // mash_step_count
      kUntested, kUntested,
  };
};

template <>
struct RecordLayout<RecipeScheduleRecord> {
  static constexpr std::size_t kRecordSize = 256;
  static constexpr FieldSpec kFields[] = {{255, FieldKind::Text}, {1, FieldKind::UInt8}};
  static constexpr MemberRef<RecipeScheduleRecord> kMembers[] = {
      &RecipeScheduleRecord::schedule_name, &RecipeScheduleRecord::mash_mode};
  static constexpr std::span<const RangeSpec> kRanges{};
};

template <>
struct RecordLayout<RecipeRecord> {
  static constexpr std::size_t kRecordSize = 126;
  static constexpr FieldSpec kFields[] = {
      {85, FieldKind::Text},   {4, FieldKind::Int32},   {4, FieldKind::Int32},
      {4, FieldKind::Int32},   {4, FieldKind::Float32}, {4, FieldKind::Float32},
      {4, FieldKind::Float32}, {4, FieldKind::Float32}, {4, FieldKind::Float32},
      {4, FieldKind::Int32},   {4, FieldKind::Int32},   {1, FieldKind::UInt8},
  };
  static constexpr MemberRef<RecipeRecord> kMembers[] = {
      &RecipeRecord::name,        &RecipeRecord::hop_count,        &RecipeRecord::fermentable_count,
      &RecipeRecord::misc_count,  &RecipeRecord::batch_size,       &RecipeRecord::boil_size,
      &RecipeRecord::original_gravity, &RecipeRecord::bitterness,  &RecipeRecord::efficiency,
      &RecipeRecord::boil_time,   &RecipeRecord::spare_value,      &RecipeRecord::recipe_type,
  };
  static constexpr RangeSpec kRanges[] = {
      kUntested,
      recipe_bounds::Int32Test(recipe_bounds::kListCount),        // hop_count
      recipe_bounds::Int32Test(recipe_bounds::kListCount),        // fermentable_count
      recipe_bounds::Int32Test(recipe_bounds::kListCount),        // misc_count
      recipe_bounds::FloatTest(recipe_bounds::kQuantity),       // batch_size
      recipe_bounds::FloatTest(recipe_bounds::kQuantity),       // boil_size
      recipe_bounds::FloatTest(recipe_bounds::kGravityPoints),  // original_gravity
      recipe_bounds::FloatTest(recipe_bounds::kGravityPoints),  // bitterness
      recipe_bounds::FloatTest(recipe_bounds::kEfficiency),     // efficiency
      recipe_bounds::Int32Test(recipe_bounds::kBoilTime),         // boil_time
      recipe_bounds::Int32Test(recipe_bounds::kSpareValue),       // spare_value
      kUntested,
  };
};

/// Section readers: `count` consecutive entries from the current position, one read each; each
/// returns the number of entries in which a value was replaced by its default.
std::int32_t ReadHopAdditions(InputFile& file, std::span<HopAddition> entries);
std::int32_t ReadFermentableAdditions(InputFile& file, std::span<FermentableAddition> entries);
std::int32_t ReadMiscAdditions(InputFile& file, std::span<MiscAddition> entries);
std::int32_t ReadRecipeProcess(InputFile& file, std::span<RecipeProcessRecord> entries);
std::int32_t ReadRecipeSchedule(InputFile& file, std::span<RecipeScheduleRecord> entries);

/// Reads whole recipes, each section in file order through its own reader. A list count outside
/// 0 to 100 leaves the list out; when the file still holds that many entries after the header and
/// style they are read past, so the later sections decode from their own bytes. Returns the
/// number of sections in which a value was replaced.
std::int32_t ReadRecipeRecords(InputFile& file, std::span<RecipeRecord> records);

}  // namespace kegverter
