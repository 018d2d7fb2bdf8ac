// The range bounds of every record layout, end to end: non-numbers, infinities, negative zero,
// denormals and the extremes in every float field of every kind. Each damaged file is converted
// beside a reference file holding what the converter must make of each value (the field's default
// when outside its range, zero for a non-number where there is no range), and the two must print
// and write the same. The ranges are stated here, by hand, from the file formats.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "tests/bad_input.h"

namespace kegverter::bad_input {
namespace {

namespace file = testing::file;

// A float field of a record type, with its range (none for fields the files leave unchecked).
template <class R>
struct FloatField {
  const char* name;
  float R::*member;
  bool tested;
  float minimum = 0;
  float maximum = 0;
  float default_value = 0;
};

template <class R>
struct Fields {
  static constexpr FloatField<R> Tested(const char* name, float R::*member, float minimum,
                                        float maximum, float default_value = 0) {
    return {name, member, true, minimum, maximum, default_value};
  }
  static constexpr FloatField<R> Unchecked(const char* name, float R::*member) {
    return {name, member, false};
  }
};

using MiscFields = Fields<file::Misc>;
constexpr FloatField<file::Misc> kMiscFloats[] = {
    MiscFields::Tested("inventory", &file::Misc::inventory, 0, 100000)};

using MaltFields = Fields<file::Malt>;
constexpr FloatField<file::Malt> kMaltFloats[] = {
    MaltFields::Tested("potential", &file::Malt::potential, 0, 11),
    MaltFields::Tested("color", &file::Malt::color, 0, 2550),
    MaltFields::Tested("moisture", &file::Malt::moisture, 0, 11),
    MaltFields::Tested("max_in_batch", &file::Malt::max_in_batch, 0, 110),
    MaltFields::Tested("diastatic_power", &file::Malt::diastatic_power, 0, 550),
    MaltFields::Tested("protein", &file::Malt::protein, 0, 110),
    MaltFields::Tested("spare_percentage", &file::Malt::spare_percentage, 0, 110),
    MaltFields::Tested("inventory", &file::Malt::inventory, 0, 100000),
    MaltFields::Tested("fine_grind_yield", &file::Malt::fine_grind_yield, -11, 110),
    MaltFields::Tested("coarse_grind_yield", &file::Malt::coarse_grind_yield, -11, 110),
};

using HopFields = Fields<file::Hop>;
constexpr FloatField<file::Hop> kHopFloats[] = {
    HopFields::Tested("alpha_acid", &file::Hop::alpha_acid, 0, 110),
    HopFields::Tested("beta_acid", &file::Hop::beta_acid, 0, 110),
    HopFields::Tested("cohumulone", &file::Hop::cohumulone, 0, 110),
    HopFields::Tested("myrcene", &file::Hop::myrcene, 0, 110),
    HopFields::Tested("humulene", &file::Hop::humulene, 0, 110),
    HopFields::Tested("caryophyllene", &file::Hop::caryophyllene, 0, 110),
    HopFields::Tested("percent_lost", &file::Hop::percent_lost, 0, 110),
    HopFields::Tested("inventory", &file::Hop::inventory, 0, 100000),
};

using StyleFields = Fields<file::Style>;
constexpr FloatField<file::Style> kStyleFloats[] = {
    StyleFields::Tested("original_gravity_min", &file::Style::original_gravity_min, 0.9f, 3.0f,
                        1.0f),
    StyleFields::Tested("original_gravity_max", &file::Style::original_gravity_max, 0.9f, 3.0f,
                        1.0f),
    StyleFields::Tested("final_gravity_min", &file::Style::final_gravity_min, 0.9f, 3.0f, 1.0f),
    StyleFields::Tested("final_gravity_max", &file::Style::final_gravity_max, 0.9f, 3.0f, 1.0f),
    StyleFields::Tested("alcohol_min", &file::Style::alcohol_min, 0, 110),
    StyleFields::Tested("alcohol_max", &file::Style::alcohol_max, 0, 110),
    StyleFields::Tested("bitterness_min", &file::Style::bitterness_min, 0, 110),
    StyleFields::Tested("bitterness_max", &file::Style::bitterness_max, 0, 110),
    StyleFields::Tested("color_min", &file::Style::color_min, 0, 5000),
    StyleFields::Tested("color_max", &file::Style::color_max, 0, 5000),
};

using WaterFields = Fields<file::Water>;
constexpr FloatField<file::Water> kWaterFloats[] = {
    WaterFields::Tested("calcium", &file::Water::calcium, 0, 100000),
    WaterFields::Tested("magnesium", &file::Water::magnesium, 0, 100000),
    WaterFields::Tested("sodium", &file::Water::sodium, 0, 100000),
    WaterFields::Unchecked("(unread bytes)", &file::Water::unread),
    WaterFields::Tested("sulfate", &file::Water::sulfate, 0, 100000),
    WaterFields::Tested("chloride", &file::Water::chloride, 0, 100000),
    WaterFields::Tested("bicarbonate", &file::Water::bicarbonate, 0, 100000),
    WaterFields::Tested("ph", &file::Water::ph, 0, 20, 7),
};

using YeastFields = Fields<file::Yeast>;
constexpr FloatField<file::Yeast> kYeastFloats[] = {
    YeastFields::Unchecked("spare_value", &file::Yeast::spare_value),
    YeastFields::Unchecked("temperature", &file::Yeast::temperature),
};

using MashFields = Fields<file::MashSchedule>;
constexpr FloatField<file::MashSchedule> kMashHeaderFloats[] = {
    MashFields::Tested("grain_temperature", &file::MashSchedule::grain_temperature, 0, 225),
    MashFields::Tested("spare_amount", &file::MashSchedule::spare_amount, 0, 100000),
    MashFields::Tested("spare_ratio", &file::MashSchedule::spare_ratio, 0, 2.5f),
};

using StepFields = Fields<file::MashStep>;
constexpr FloatField<file::MashStep> kMashStepFloats[] = {
    StepFields::Tested("water_grain_ratio", &file::MashStep::water_grain_ratio, 0, 100000),
    StepFields::Tested("step_amount", &file::MashStep::step_amount, 0, 100000),
};

using HeaderFields = Fields<file::RecipeHeader>;
constexpr FloatField<file::RecipeHeader> kRecipeHeaderFloats[] = {
    HeaderFields::Tested("batch_size", &file::RecipeHeader::batch_size, 0, 100000),
    HeaderFields::Tested("boil_size", &file::RecipeHeader::boil_size, 0, 100000),
    HeaderFields::Tested("original_gravity", &file::RecipeHeader::original_gravity, 0, 1000),
    HeaderFields::Tested("bitterness", &file::RecipeHeader::bitterness, 0, 1000),
    HeaderFields::Tested("efficiency", &file::RecipeHeader::efficiency, 0, 110, 70),
};

using HopAdditionFields = Fields<file::HopAddition>;
constexpr FloatField<file::HopAddition> kHopAdditionFloats[] = {
    HopAdditionFields::Tested("alpha_acid", &file::HopAddition::alpha_acid, 0, 110),
    HopAdditionFields::Tested("beta_acid", &file::HopAddition::beta_acid, 0, 110),
    HopAdditionFields::Tested("cohumulone", &file::HopAddition::cohumulone, 0, 110),
    HopAdditionFields::Tested("myrcene", &file::HopAddition::myrcene, 0, 110),
    HopAdditionFields::Tested("humulene", &file::HopAddition::humulene, 0, 110),
    HopAdditionFields::Tested("caryophyllene", &file::HopAddition::caryophyllene, 0, 110),
    HopAdditionFields::Tested("percent_lost", &file::HopAddition::percent_lost, 0, 110),
    HopAdditionFields::Unchecked("inventory", &file::HopAddition::inventory),
    HopAdditionFields::Unchecked("spare_value", &file::HopAddition::spare_value),
    HopAdditionFields::Tested("alpha", &file::HopAddition::alpha, 0, 110),
    HopAdditionFields::Tested("amount", &file::HopAddition::amount, 0, 1600000),
    HopAdditionFields::Tested("spare_amount", &file::HopAddition::spare_amount, 0, 1600000),
};

using FermentableFields = Fields<file::FermentableAddition>;
constexpr FloatField<file::FermentableAddition> kFermentableAdditionFloats[] = {
    FermentableFields::Tested("potential", &file::FermentableAddition::potential, 0, 11),
    FermentableFields::Tested("color", &file::FermentableAddition::color, 0, 2550),
    FermentableFields::Tested("moisture", &file::FermentableAddition::moisture, 0, 11),
    FermentableFields::Tested("max_in_batch", &file::FermentableAddition::max_in_batch, 0, 110),
    FermentableFields::Tested("diastatic_power", &file::FermentableAddition::diastatic_power, 0,
                              550),
    FermentableFields::Tested("protein", &file::FermentableAddition::protein, 0, 110),
    FermentableFields::Tested("spare_percentage", &file::FermentableAddition::spare_percentage, 0,
                              110),
    FermentableFields::Tested("inventory", &file::FermentableAddition::inventory, 0, 100000),
    FermentableFields::Tested("fine_grind_yield", &file::FermentableAddition::fine_grind_yield, -11,
                              110),
    FermentableFields::Tested("coarse_grind_yield", &file::FermentableAddition::coarse_grind_yield,
                              -11, 110),
    FermentableFields::Tested("amount", &file::FermentableAddition::amount, 0, 100000),
    FermentableFields::Tested("spare_amount", &file::FermentableAddition::spare_amount, 0, 100000),
};

using MiscAdditionFields = Fields<file::MiscAddition>;
constexpr FloatField<file::MiscAddition> kMiscAdditionFloats[] = {
    MiscAdditionFields::Tested("inventory", &file::MiscAddition::inventory, 0, 100000),
    MiscAdditionFields::Tested("amount", &file::MiscAddition::amount, 0, 100000),
    MiscAdditionFields::Unchecked("spare_amount", &file::MiscAddition::spare_amount),
    MiscAdditionFields::Unchecked("spare_amount_2", &file::MiscAddition::spare_amount_2),
};

using ProcessFields = Fields<file::Process>;
constexpr FloatField<file::Process> kProcessFloats[] = {
    ProcessFields::Tested("mash_water", &file::Process::mash_water, 0, 100000)};

// What the converter must make of `value` in `field`: a range-tested field takes its default
// when the value is outside the range or not a number; a field without a range keeps a finite
// value, and a non-number (NaN, an infinity) is written as zero.
template <class R>
float Substitute(const FloatField<R>& field, float value) {
  if (field.tested) {
    return std::isnan(value) || value < field.minimum || value > field.maximum ? field.default_value
                                                                               : value;
  }
  return std::isfinite(value) ? value : 0.0f;
}

// Writes `value` (or, for the reference file, its substitute) into every field of `fields`.
template <class R, std::size_t N>
void PutFloats(R& record, const FloatField<R> (&fields)[N], float value, bool reference) {
  for (const FloatField<R>& f : fields) record.*f.member = reference ? Substitute(f, value) : value;
}

template <class R, std::size_t N>
Bytes Damaged(R record, const FloatField<R> (&fields)[N], float value, bool reference) {
  PutFloats(record, fields, value, reference);
  return file::ToBytes(record);
}

// A sound record of a database kind with `value` in every float field.
Bytes DamagedRecord(Kind kind, float value, bool reference) {
  switch (kind) {
    case Kind::Extra:
      return Damaged(SoundMisc(), kMiscFloats, value, reference);
    case Kind::Hops:
      return Damaged(SoundHop(), kHopFloats, value, reference);
    case Kind::Malt:
      return Damaged(SoundMalt(), kMaltFloats, value, reference);
    case Kind::Styles:
      return Damaged(SoundStyle(), kStyleFloats, value, reference);
    case Kind::Yeast:
      return Damaged(SoundYeast(), kYeastFloats, value, reference);
    default:
      return Damaged(SoundWater(), kWaterFloats, value, reference);
  }
}

struct Value {
  const char* name;
  float value;
};

const Value kValues[] = {
    {"NaN", std::bit_cast<float>(0x7FC00000u)},
    {"negative NaN", std::bit_cast<float>(0xFFC00000u)},
    {"signalling NaN", std::bit_cast<float>(0x7F800001u)},
    {"infinity", std::numeric_limits<float>::infinity()},
    {"negative infinity", -std::numeric_limits<float>::infinity()},
    {"negative zero", -0.0f},
    {"smallest denormal", std::numeric_limits<float>::denorm_min()},
    {"negative denormal", -std::numeric_limits<float>::denorm_min()},
    {"largest float", FLT_MAX},
    {"lowest float", -FLT_MAX},
};

// Where two outputs first differ, for a readable failure.
std::string FirstDifference(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  const std::size_t from = a.rfind('\n', i) == std::string::npos ? 0 : a.rfind('\n', i) + 1;
  return "damaged: " + a.substr(from, a.find('\n', i) - from) +
         "\nexpected: " + b.substr(from, b.find('\n', i) - from);
}

// Converts the damaged file and, when it differs, the reference file that holds what the
// converter must make of each damaged value; the two conversions must print and write the same.
void ExpectLikeReference(const TestKind& kind, const Bytes& damaged, const Bytes& reference,
                         int records, const std::string& label) {
  TempDir dir;
  Converted bad;
  ConvertCase(dir, kind, damaged, {0, {}, records}, label, bad);
  if (reference.data() == damaged.data()) return;
  TempDir reference_dir;
  Converted good;
  ConvertCase(reference_dir, kind, reference, {0, {}, records}, label + " (reference)", good);
  EXPECT_EQ(bad.run.out, good.run.out) << label;
  EXPECT_TRUE(bad.xml_text == good.xml_text) << label << "\n"
                                             << FirstDifference(bad.xml_text, good.xml_text);
}

TEST(LayoutRanges, NonNumbersAndExtremesInEveryFloatField) {
  // Databases: one record per value, every float field of the record holding it.
  for (const TestKind& kind : Databases()) {
    std::vector<Bytes> damaged;
    std::vector<Bytes> reference;
    for (const Value& v : kValues) {
      damaged.push_back(DamagedRecord(kind.kind, v.value, false));
      reference.push_back(DamagedRecord(kind.kind, v.value, true));
    }
    const auto count = static_cast<std::int32_t>(std::size(kValues));
    ExpectLikeReference(kind, testing::Database(count, damaged),
                        testing::Database(count, reference), count,
                        std::string(kind.file_name) + " floats");
  }

  // Single-record files: one file per value, every float field of every section holding it.
  struct Layout {
    Kind kind;
    const char* what;
    std::function<Bytes(float, bool)> build;
  };
  const auto recipe = [](bool step_list) {
    return [step_list](float value, bool reference) {
      file::Recipe f = SoundRecipe(step_list);
      PutFloats(f.header, kRecipeHeaderFloats, value, reference);
      PutFloats(f.style, kStyleFloats, value, reference);
      for (file::HopAddition& hop : f.hops) PutFloats(hop, kHopAdditionFloats, value, reference);
      for (file::FermentableAddition& malt : f.fermentables) {
        PutFloats(malt, kFermentableAdditionFloats, value, reference);
      }
      for (file::MiscAddition& misc : f.miscs) {
        PutFloats(misc, kMiscAdditionFloats, value, reference);
      }
      PutFloats(f.yeast, kYeastFloats, value, reference);
      PutFloats(f.water, kWaterFloats, value, reference);
      PutFloats(f.process, kProcessFloats, value, reference);
      for (file::MashStep& step : f.steps) PutFloats(step, kMashStepFloats, value, reference);
      return file::ToBytes(f);
    };
  };
  const Layout layouts[] = {
      {Kind::Wtr, "water profile",
       [](float value, bool reference) {
         return Damaged(SoundWater(), kWaterFloats, value, reference);
       }},
      {Kind::Msh, "mash schedule",
       [](float value, bool reference) {
         file::MashSchedule m = SoundMashSchedule();
         PutFloats(m, kMashHeaderFloats, value, reference);
         for (file::MashStep& step : m.steps) PutFloats(step, kMashStepFloats, value, reference);
         return file::ToBytes(m);
       }},
      {Kind::Rec, "recipe with a simple mash", recipe(false)},
      {Kind::Rec, "recipe with a step list", recipe(true)},
  };
  for (const Layout& layout : layouts) {
    for (const Value& v : kValues) {
      ExpectLikeReference(Info(layout.kind), layout.build(v.value, false),
                          layout.build(v.value, true), 1,
                          std::string(layout.what) + ", every float " + v.name);
    }
  }
}

TEST(LayoutRanges, UncheckedFloatsAreWrittenAsNumbers) {
  // The yeast's temperature has no range: a non-number is written as zero, an extreme as it is.
  struct Case {
    float temperature;
    std::string written;
  };
  const Case cases[] = {
      {std::bit_cast<float>(0x7FC00000u), "0.0"},
      {std::bit_cast<float>(0xFFFFFFFFu), "0.0"},
      {std::numeric_limits<float>::infinity(), "0.0"},
      {-std::numeric_limits<float>::infinity(), "0.0"},
      {-0.0f, "-0.0"},
      {FLT_MAX, "340282346638528859811704183484516925440.0"},
      {-FLT_MAX, "-340282346638528859811704183484516925440.0"},
      {68.25f, "68.2"},
  };
  std::vector<file::Yeast> records;
  for (const Case& c : cases) {
    records.push_back(SoundYeast());
    records.back().temperature = c.temperature;
  }
  TempDir dir;
  Converted out;
  const auto count = static_cast<std::int32_t>(std::size(cases));
  ConvertCase(dir, Info(Kind::Yeast), file::DatabaseOf(records), {0, {}, count},
              "yeast temperatures", out);
  for (std::size_t i = 0; i < out.records.size(); ++i) {
    EXPECT_EQ(testing::TextAt(out.Record(i), "temperature_range/minimum"), cases[i].written) << i;
    EXPECT_EQ(testing::TextAt(out.Record(i), "temperature_range/maximum"), cases[i].written) << i;
  }
}

}  // namespace
}  // namespace kegverter::bad_input
