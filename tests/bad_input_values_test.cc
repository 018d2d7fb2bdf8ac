// Damaged values inside otherwise sound files of every kind: non-numbers, infinities, negative
// zero, denormals and the extremes in every float field, and texts of control characters, high
// bytes and no terminator in name fields.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "tests/bad_input.h"

namespace kegverter::bad_input {
namespace {

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
void ExpectLikeReference(const KindInfo& kind, const Bytes& damaged, const Bytes& reference,
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

TEST(BadInput, NonNumbersAndExtremesInEveryFloatField) {
  // Databases: one record per value, every float field of the record holding it.
  for (const KindInfo& kind : Databases()) {
    std::vector<Bytes> damaged;
    std::vector<Bytes> reference;
    for (const Value& v : kValues) {
      damaged.push_back(DatabaseRecord(kind.kind));
      PutFloats(damaged.back(), FloatsOf(kind.kind), v.value, false);
      reference.push_back(DatabaseRecord(kind.kind));
      PutFloats(reference.back(), FloatsOf(kind.kind), v.value, true);
    }
    const auto count = static_cast<std::int32_t>(std::size(kValues));
    ExpectLikeReference(kind, testing::Database(count, damaged), testing::Database(count, reference),
                        count, std::string(kind.file_name) + " floats");
  }

  // Single-record files: one file per value, every float field of every section holding it.
  struct Layout {
    Kind kind;
    const char* what;
    std::function<Bytes(float, bool)> build;
  };
  const auto recipe = [](bool step_list) {
    return [step_list](float value, bool reference) {
      RecipeFile f = SoundRecipe(step_list);
      PutFloats(f.header, kRecipeHeaderFloats, value, reference);
      PutFloats(f.style, kStyleFloats, value, reference);
      for (Bytes& hop : f.hops) PutFloats(hop, kHopAdditionFloats, value, reference);
      for (Bytes& malt : f.fermentables) PutFloats(malt, kFermentableAdditionFloats, value, reference);
      for (Bytes& misc : f.miscs) PutFloats(misc, kMiscAdditionFloats, value, reference);
      PutFloats(f.yeast, kYeastFloats, value, reference);
      PutFloats(f.water, kWaterFloats, value, reference);
      PutFloats(f.process, kProcessFloats, value, reference);
      for (Bytes& step : f.steps) PutFloats(step, kMashStepFloats, value, reference);
      return f.Build();
    };
  };
  const Layout layouts[] = {
      {Kind::Wtr, "water profile",
       [](float value, bool reference) {
         Bytes b = WaterRecord();
         PutFloats(b, kWaterFloats, value, reference);
         return b;
       }},
      {Kind::Msh, "mash schedule",
       [](float value, bool reference) {
         Bytes b = MashSchedule();
         PutFloats(b, kMashHeaderFloats, value, reference);
         for (std::size_t slot = 0; slot < 3; ++slot) {
           for (const FloatField& f : kMashStepFloats) {
             const std::size_t at = 20 + slot * 292 + f.offset;
             b.F32(at, reference ? Substitute(f, value) : value);
           }
         }
         return b;
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

TEST(BadInput, UncheckedFloatsAreWrittenAsNumbers) {
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
  std::vector<Bytes> records;
  for (const Case& c : cases) records.push_back(YeastRecord().F32(463, c.temperature));
  TempDir dir;
  Converted out;
  const auto count = static_cast<std::int32_t>(std::size(cases));
  ConvertCase(dir, Info(Kind::Yeast), testing::Database(count, records), {0, {}, count},
              "yeast temperatures", out);
  for (std::size_t i = 0; i < out.records.size(); ++i) {
    EXPECT_EQ(testing::TextAt(out.Record(i), "temperature_range/minimum"), cases[i].written) << i;
    EXPECT_EQ(testing::TextAt(out.Record(i), "temperature_range/maximum"), cases[i].written) << i;
  }
}

// Texts whose bytes are split into pieces that fit a field; a piece as wide as the field leaves
// it without a terminator.
std::vector<std::string> Pieces(std::size_t width) {
  std::string controls = "a";
  for (char c = 0x01; c < 0x20; ++c) controls += c;
  controls += 'z';
  std::string high;
  for (int b = 0x80; b <= 0xFF; ++b) high += static_cast<char>(b);
  std::string full;
  for (std::size_t i = 0; i < width; ++i) full += static_cast<char>('A' + i % 26);
  std::vector<std::string> pieces;
  for (const std::string& text : {controls, high, full}) {
    for (std::size_t at = 0; at < text.size(); at += width) pieces.push_back(text.substr(at, width));
  }
  return pieces;
}

TEST(BadInput, NameTextsOfControlsHighBytesAndNoTerminator) {
  struct Case {
    Kind kind;
    std::size_t offset;  // in the record (databases) or the file
    std::size_t width;
    const char* path;    // the element inside the record element
  };
  const Case cases[] = {
      {Kind::Extra, 0, 55, "name"},
      {Kind::Hops, 0, 55, "name"},
      {Kind::Malt, 0, 55, "name"},
      {Kind::Styles, 0, 55, "category"},
      {Kind::WaterDat, 0, 27, "name"},
      {Kind::Yeast, 0, 55, "name"},
      {Kind::Wtr, 0, 27, "name"},
      {Kind::Msh, kMshNameOffset, 255, "name"},
      {Kind::Msh, 20, 255, "mash_steps/step/name"},
      {Kind::Rec, 0, 85, "name"},
      {Kind::Rec, 1157, 55, "ingredients/hop_bill/hop/name"},
      {Kind::Rec, 1157 + 2 * 635 + 529 + 589 + 468 + 5, 27, "ingredients/water_profile/water/name"},
  };
  for (const Case& c : cases) {
    const KindInfo& kind = Info(c.kind);
    const std::vector<std::string> pieces = Pieces(c.width);
    const auto put = [&](Bytes& b, std::size_t at, const std::string& piece) {
      b.Raw(at, std::string(c.width, '\0')).Raw(at, piece);
    };
    const std::string label = std::string(kind.file_name) + " " + c.path;
    if (kind.record_size != 0) {
      std::vector<Bytes> records;
      for (const std::string& piece : pieces) {
        records.push_back(DatabaseRecord(c.kind));
        put(records.back(), c.offset, piece);
      }
      const auto count = static_cast<std::int32_t>(records.size());
      TempDir dir;
      Converted out;
      ConvertCase(dir, kind, testing::Database(count, records), {0, {}, count}, label, out);
      for (std::size_t i = 0; i < out.records.size(); ++i) {
        EXPECT_EQ(testing::TextAt(out.Record(i), c.path), ReadBack(FieldText(pieces[i])))
            << label << " piece " << i;
      }
      continue;
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      Bytes file = c.kind == Kind::Wtr ? WaterRecord()
                   : c.kind == Kind::Msh ? MashSchedule()
                                         : SoundRecipe().Build();
      put(file, c.offset, pieces[i]);
      TempDir dir;
      Converted out;
      ConvertCase(dir, kind, file, {0, {}, 1}, label + " piece " + std::to_string(i), out);
      EXPECT_EQ(testing::TextAt(out.Record(), c.path), ReadBack(FieldText(pieces[i])))
          << label << " piece " << i;
    }
  }
}

}  // namespace
}  // namespace kegverter::bad_input
