// A recipe file: one complete recipe with its style, additions, yeast, water, mash settings,
// notes, fifty mash step slots and the name of its step mash.
//
// Layout, back to back (H, F, M: the header's list counts; K: the process section's step count):
//   header 126 | style 1031 | H x hop 635 | F x fermentable 529 | M x misc 589 | yeast 468 |
//   gap 5 | water 222 | process 8385 | 50 x step slot 292 (first K used) | schedule 256
// A recipe without additions is 25093 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "source/decoder.h"
#include "source/hops.h"
#include "source/malt.h"
#include "source/mash.h"
#include "source/misc.h"
#include "source/styles.h"
#include "source/water.h"
#include "source/yeast.h"

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
  float alpha = 0;  ///< alpha acid percentage used in this recipe
  std::uint8_t spare_byte_2 = 0;
  float amount = 0;                 ///< ounces
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
inline constexpr RangeBounds<std::int32_t> kListCount{0, kMaxRecipeListCount, 0};
inline constexpr RangeBounds<float> kQuantity{0.0f, 100000.0f, 0.0f};
inline constexpr RangeBounds<float> kGravityPoints{0.0f, 1000.0f, 0.0f};
inline constexpr RangeBounds<float> kEfficiency{0.0f, 110.0f, 70.0f};
inline constexpr RangeBounds<std::int32_t> kBoilTime{0, 500, 0};
inline constexpr RangeBounds<std::int32_t> kSpareValue{0, 1000, 0};
inline constexpr RangeBounds<float> kPercent{0.0f, 110.0f, 0.0f};
inline constexpr RangeBounds<float> kHopAmount{0.0f, 1600000.0f, 0.0f};
// The file has 50 step slots, and all of them are usable.
inline constexpr RangeBounds<std::int32_t> kStepCount{0, kRecipeStepSlots, 0};
}  // namespace recipe_bounds

/// The hop database fields up to `best_for`, then a wider `substitutes`, the inventory (not
/// tested in a recipe) and the recipe's own alpha acid, amount and addition time.
template <>
struct RecordLayout<HopAddition> {
  using R = HopAddition;
  static constexpr std::size_t kRecordSize = 635;
  static constexpr auto kEntries =
      JoinEntries(kHopEntries<R>, std::to_array<LayoutEntry<R>>({
                                      Text(&R::substitutes, 160),
                                      Number(&R::inventory),
                                      Number(&R::spare_byte),
                                      Number(&R::spare_value),
                                      Number(&R::alpha, recipe_bounds::kPercent),
                                      Number(&R::spare_byte_2),
                                      Number(&R::amount, recipe_bounds::kHopAmount),
                                      Number(&R::addition_time),
                                      Number(&R::dry_hop_marker),
                                      Number(&R::spare_amount, recipe_bounds::kHopAmount),
                                  }));
};

/// The malt database record, then the amount and a spare amount.
template <>
struct RecordLayout<FermentableAddition> {
  using R = FermentableAddition;
  static constexpr std::size_t kRecordSize = 529;
  static constexpr auto kEntries =
      JoinEntries(kMaltEntries<R>, std::to_array<LayoutEntry<R>>({
                                       Number(&R::amount, recipe_bounds::kQuantity),
                                       Number(&R::spare_amount, recipe_bounds::kQuantity),
                                   }));
};

/// The miscellaneous database record, then the amount and two spare amounts, which are never
/// tested.
template <>
struct RecordLayout<MiscAddition> {
  using R = MiscAddition;
  static constexpr std::size_t kRecordSize = 589;
  static constexpr auto kEntries =
      JoinEntries(kMiscEntries<R>, std::to_array<LayoutEntry<R>>({
                                       Number(&R::amount, recipe_bounds::kQuantity),
                                       Number(&R::spare_amount),
                                       Number(&R::spare_amount_2),
                                   }));
};

template <>
struct RecordLayout<RecipeProcessRecord> {
  using R = RecipeProcessRecord;
  static constexpr std::size_t kRecordSize = 8385;
  static constexpr LayoutEntry<R> kEntries[] = {
      Number(&R::simple_mash_type),
      Number(&R::spare_value_1),
      Number(&R::spare_value_2),
      Number(&R::acid_rest_temperature),
      Number(&R::acid_rest_time),
      Number(&R::protein_rest_temperature),
      Number(&R::protein_rest_time),
      Number(&R::intermediate_rest_temperature),
      Number(&R::intermediate_rest_time),
      Number(&R::saccharification_rest_temperature),
      Number(&R::saccharification_rest_time),
      Number(&R::mash_out_temperature),
      Number(&R::mash_out_time),
      Number(&R::spare_value_13),
      Number(&R::spare_value_14),
      Number(&R::mash_water, recipe_bounds::kQuantity),
      Number(&R::spare_flag),
      Text(&R::notes, 4028),
      Text(&R::spare_notes, 4028),
      Skip(255),  // never decoded
      Number(&R::mash_step_count, recipe_bounds::kStepCount),
      Number(&R::grain_temperature),
      Number(&R::spare_value_21),
  };
};

template <>
struct RecordLayout<RecipeScheduleRecord> {
  using R = RecipeScheduleRecord;
  static constexpr std::size_t kRecordSize = 256;
  static constexpr LayoutEntry<R> kEntries[] = {
      Text(&R::schedule_name, 255),
      Number(&R::mash_mode),
  };
};

/// The recipe's header: its name, the list counts and the batch figures.
template <>
struct RecordLayout<RecipeRecord> {
  using R = RecipeRecord;
  static constexpr std::size_t kRecordSize = 126;
  static constexpr LayoutEntry<R> kEntries[] = {
      Text(&R::name, 85),
      Number(&R::hop_count, recipe_bounds::kListCount),
      Number(&R::fermentable_count, recipe_bounds::kListCount),
      Number(&R::misc_count, recipe_bounds::kListCount),
      Number(&R::batch_size, recipe_bounds::kQuantity),
      Number(&R::boil_size, recipe_bounds::kQuantity),
      Number(&R::original_gravity, recipe_bounds::kGravityPoints),
      Number(&R::bitterness, recipe_bounds::kGravityPoints),
      Number(&R::efficiency, recipe_bounds::kEfficiency),
      Number(&R::boil_time, recipe_bounds::kBoilTime),
      Number(&R::spare_value, recipe_bounds::kSpareValue),
      Number(&R::recipe_type),
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
