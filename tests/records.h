// Typed writers of the source records: one plain struct per record type, holding the fields a test
// sets (zero or empty unless set), and one function that writes it at the offsets of its file
// layout. The offsets are stated once, in records.cc, written by hand from the file formats and
// never taken from the converter's own layouts, so that a wrong layout in the code shows up as a
// wrong output. Every test, the example makers, the benchmark generator and the fuzz seeds write
// records through these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/fixture.h"

namespace kegverter::testing::file {

// Every member has a default initializer, so that a designated initializer names only the fields
// it sets.
//
// Record sizes. Texts are fixed-width fields: a text as wide as its field has no terminator, and
// a longer one is cut at the width.
inline constexpr std::size_t kMiscSize = 577;
inline constexpr std::size_t kMaltSize = 521;
inline constexpr std::size_t kHopSize = 614;
inline constexpr std::size_t kStyleSize = 1031;
inline constexpr std::size_t kWaterSize = 222;
inline constexpr std::size_t kYeastSize = 468;
inline constexpr std::size_t kMashStepSize = 292;
inline constexpr std::size_t kMashSteps = 50;  ///< step slots in a mash schedule and a recipe
inline constexpr std::size_t kMashScheduleHeaderSize = 20;  ///< before the slots
inline constexpr std::size_t kMashScheduleSize = 14875;
inline constexpr std::size_t kMashScheduleNameOffset = 14620;  ///< after the header and the slots
inline constexpr std::size_t kRecipeHeaderSize = 126;
inline constexpr std::size_t kHopAdditionSize = 635;
inline constexpr std::size_t kFermentableAdditionSize = 529;
inline constexpr std::size_t kMiscAdditionSize = 589;
inline constexpr std::size_t kRecipeGapSize = 5;
inline constexpr std::size_t kProcessSize = 8385;
inline constexpr std::size_t kScheduleSize = 256;
/// A recipe without additions: header, style, yeast, gap, water, process, slots, schedule.
inline constexpr std::size_t kBareRecipeSize = 25093;

/// An extra.dat record; a recipe's miscellaneous addition starts with one.
struct Misc {
  std::string ingredient_name{};
  std::uint8_t ingredient_type = 0;
  std::int32_t suggested_time = 0;
  std::uint8_t time_type = 0;
  std::uint8_t time_units = 0;
  std::uint8_t inventory_unit_of_measurement = 0;
  float inventory = 0;
  std::string usage{};
  std::string comment{};
};

/// A malt.dat record; a recipe's fermentable addition starts with one.
struct Malt {
  std::string name{};
  std::string supplier{};
  std::string origin{};
  std::uint8_t type = 0;
  std::uint8_t recommend_mash = 0;
  float potential = 0;
  float color = 0;
  float moisture = 0;
  float max_in_batch = 0;
  float diastatic_power = 0;
  float protein = 0;
  float spare_percentage = 0;
  std::string spare_text{};
  std::string notes{};
  float inventory = 0;
  float fine_grind_yield = 0;
  float coarse_grind_yield = 0;
};

/// A hops.dat record. A recipe's hop addition shares its fields up to best_for.
struct Hop {
  std::string name{};
  float alpha_acid = 0;
  float beta_acid = 0;
  std::uint8_t spare_flag = 0;
  float cohumulone = 0;
  float myrcene = 0;
  float humulene = 0;
  float caryophyllene = 0;
  std::int16_t type_code = 0;  ///< low 4 bits: use; bits 12 to 15: form
  float percent_lost = 0;
  std::string notes{};
  std::string origin{};
  std::string best_for{};
  std::string substitutes{};  ///< 155 bytes in hops.dat, 160 in a recipe
  float inventory = 0;
  std::string unread{};  ///< hops.dat only: the 4 bytes after the inventory, never decoded
};

/// A styles.dat record, and the style section of a recipe.
struct Style {
  std::string category{};
  std::string name{};
  std::uint8_t type = 0;
  float original_gravity_min = 0;
  float original_gravity_max = 0;
  float final_gravity_min = 0;
  float final_gravity_max = 0;
  float alcohol_min = 0;
  float alcohol_max = 0;
  float bitterness_min = 0;
  float bitterness_max = 0;
  float color_min = 0;
  float color_max = 0;
  std::string color_description{};
  std::string malt_description{};
  std::string hops_description{};
  std::string yeast_description{};
  std::string notes{};  ///< the examples
  std::int16_t category_number = 0;
  std::string style_letter{};  ///< 2 bytes: a letter and a zero, or two letters
  std::uint8_t spare_flag = 0;
};

/// A water.dat record, a whole '.wtr' file, and the water section of a recipe.
struct Water {
  std::string name{};
  float calcium = 0;
  float magnesium = 0;
  float sodium = 0;
  float unread = 0;  ///< the 4 bytes between sodium and sulfate, never decoded
  float sulfate = 0;
  float chloride = 0;
  float bicarbonate = 0;
  float ph = 0;
  std::string notes{};
};

/// A yeast.dat record, and the yeast section of a recipe.
struct Yeast {
  std::string name{};
  std::string laboratory{};
  std::string product_id{};
  std::uint8_t type = 0;
  std::uint8_t form = 0;
  std::string notes{};
  std::string best_for{};
  float spare_value = 0;
  std::int32_t attenuation_low = 0;
  std::int32_t attenuation_high = 0;
  float temperature = 0;
  std::uint8_t flocculation = 0;
};

/// One mash step slot, as mash schedules and recipes hold fifty of them.
struct MashStep {
  std::string name{};
  std::uint8_t type = 0;  ///< 0 infusion, 1 temperature, 2 decoction
  std::int32_t step_temperature = 0;
  std::int32_t end_temperature = 0;
  std::int32_t infuse_temperature = 0;
  std::int32_t step_time = 0;
  std::int32_t ramp_time = 0;
  float water_grain_ratio = 0;
  float step_amount = 0;
  std::string unread{};  ///< the 8 bytes at the end of the slot, never decoded
};

/// A '.msh' file: the header, fifty step slots (the first `steps`, the rest zero) and the name.
struct MashSchedule {
  std::int32_t step_count = 0;
  std::int32_t spare_count = 0;
  float grain_temperature = 0;
  float spare_amount = 0;
  float spare_ratio = 0;
  std::vector<MashStep> steps{};  ///< at most kMashSteps
  std::string name{};
};

/// The header section of a recipe.
struct RecipeHeader {
  std::string name{};
  std::int32_t hop_count = 0;
  std::int32_t fermentable_count = 0;
  std::int32_t misc_count = 0;
  float batch_size = 0;
  float boil_size = 0;
  float original_gravity = 0;  ///< gravity points
  float bitterness = 0;
  float efficiency = 0;
  std::int32_t boil_time = 0;
  std::int32_t spare_value = 0;
  std::uint8_t recipe_type = 0;  ///< 0 all grain, 1 partial mash, 2 extract
};

struct HopAddition : Hop {
  std::uint8_t spare_byte = 0;
  float spare_value = 0;
  float alpha = 0;
  std::uint8_t spare_byte_2 = 0;
  float amount = 0;
  std::uint8_t addition_time = 0;  ///< boil minutes, or 61 first wort, 62 mash, 251 dry hop
  std::uint8_t dry_hop_marker = 0;
  float spare_amount = 0;
};

struct FermentableAddition : Malt {
  float amount = 0;
  float spare_amount = 0;
};

struct MiscAddition : Misc {
  float amount = 0;
  float spare_amount = 0;
  float spare_amount_2 = 0;
};

/// The process section of a recipe: the simple mash's rests, the mash water, the notes and the
/// count of used step slots.
struct Process {
  std::uint8_t simple_mash_type = 0;
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
  float mash_water = 0;
  std::uint8_t spare_flag = 0;
  std::string notes{};
  std::string spare_notes{};
  std::string unread{};  ///< the 255 bytes after the notes, never decoded
  std::int32_t mash_step_count = 0;
  std::int32_t grain_temperature = 0;
  std::int32_t spare_value_21 = 0;
};

/// The schedule section that ends a recipe.
struct Schedule {
  std::string schedule_name{};
  std::uint8_t mash_mode = 0;  ///< 1: the mash is the step list
};

/// A whole '.rec' file, its sections back to back. The counts in the header and the process
/// section are written as they are set; SyncCounts() sets them from the lists.
struct Recipe {
  RecipeHeader header;
  Style style;
  std::vector<HopAddition> hops{};
  std::vector<FermentableAddition> fermentables{};
  std::vector<MiscAddition> miscs{};
  Yeast yeast;
  std::string gap{};  ///< the 5 bytes between yeast and water, never decoded
  Water water;
  Process process;
  std::vector<MashStep> steps{};  ///< the used slots (at most kMashSteps); the rest are zero
  Schedule schedule;

  Recipe& SyncCounts();
};

/// The bytes of one record or file.
Bytes ToBytes(const Misc& m);
Bytes ToBytes(const Malt& m);
Bytes ToBytes(const Hop& h);
Bytes ToBytes(const Style& s);
Bytes ToBytes(const Water& w);
Bytes ToBytes(const Yeast& y);
Bytes ToBytes(const MashStep& s);
Bytes ToBytes(const MashSchedule& m);
Bytes ToBytes(const RecipeHeader& h);
Bytes ToBytes(const HopAddition& h);
Bytes ToBytes(const FermentableAddition& f);
Bytes ToBytes(const MiscAddition& m);
Bytes ToBytes(const Process& p);
Bytes ToBytes(const Schedule& s);
Bytes ToBytes(const Recipe& r);

/// A database file of these records, its count header the number of records.
template <class R>
Bytes DatabaseOf(const std::vector<R>& records) {
  std::vector<Bytes> bytes{};
  bytes.reserve(records.size());
  for (const R& r : records) bytes.push_back(ToBytes(r));
  return testing::DatabaseOf(bytes);
}

}  // namespace kegverter::testing::file
