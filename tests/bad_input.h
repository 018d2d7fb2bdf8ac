// The bad-input matrix: every file kind, damaged in the ways old files are damaged, converted by
// the executable. Each case states the exit status, the whole stderr lines and the number of
// record elements written; every written file must parse and hold no non-number.
//
// Record layouts are written here by hand from the file formats, independently of the code's
// tables, so a wrong table in the code shows up as a wrong output.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <regex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fixture.h"
#include "tests/fixture_recipe.h"

namespace kegverter::bad_input {

using testing::Bytes;
using testing::ParsedXml;
using testing::RecipeFile;
using testing::RunResult;
using testing::ReadBack;
using testing::TempDir;

// ---------------------------------------------------------------------------------------------
// The file kinds.

enum class Kind { Extra, Hops, Malt, Styles, WaterDat, Yeast, Wtr, Msh, Rec };

struct KindInfo {
  Kind kind;
  const char* file_name;    ///< the input's name inside the test folder
  const char* list;         ///< the list element of the output
  const char* record;       ///< one record's element inside the list
  std::size_t record_size;  ///< bytes per record after the count (databases), else 0
  const char* description;  ///< how the messages name a database
};

inline constexpr KindInfo kKinds[] = {
    {Kind::Extra, "extra.dat", "miscellaneous_ingredients", "miscellaneous", 577,
     "miscellaneous ingredient database"},
    {Kind::Hops, "hops.dat", "varieties", "hop", 614, "hop database"},
    {Kind::Malt, "malt.dat", "fermentables", "fermentable", 521, "fermentable database"},
    {Kind::Styles, "styles.dat", "styles", "style", 1031, "style database"},
    {Kind::WaterDat, "water.dat", "profiles", "water", 222, "water profile"},
    {Kind::Yeast, "yeast.dat", "cultures", "yeast", 468, "yeast database"},
    {Kind::Wtr, "Edinburgh.wtr", "profiles", "water", 0, ""},
    {Kind::Msh, "Step Mash.msh", "procedure", "mash", 0, ""},
    {Kind::Rec, "Pale Ale.rec", "recipes", "recipe", 0, ""},
};

inline std::span<const KindInfo> Databases() { return std::span(kKinds).first(6); }

inline const KindInfo& Info(Kind kind) {
  for (const KindInfo& k : kKinds) {
    if (k.kind == kind) return k;
  }
  return kKinds[0];
}

// ---------------------------------------------------------------------------------------------
// Sound records of every kind, at the offsets of their layouts.

inline std::string_view View(const Bytes& b) {
  return std::string_view(reinterpret_cast<const char*>(b.data().data()), b.size());
}

inline Bytes MiscRecord(const std::string& name = "Irish Moss") {
  Bytes b(577);
  b.Text(0, 55, name).U8(55, 4).I32(56, 15).U8(60, 0).U8(61, 1).U8(62, 0).F32(63, 2.5f);
  return b.Text(67, 255, "Clarity").Text(322, 255, "Rehydrate first");
}

inline Bytes MaltRecord(const std::string& name = "Pale Malt") {
  Bytes b(521);
  b.Text(0, 55, name).Text(55, 55, "Maltster").Text(110, 55, "UK").U8(165, 1).U8(166, 1);
  b.F32(167, 1.037f).F32(171, 3).F32(175, 4).F32(179, 100).F32(183, 120).F32(187, 10);
  b.F32(191, 5).Text(195, 155, "spare").Text(350, 159, "Base malt");
  return b.F32(509, 10).F32(513, 80).F32(517, 78);
}

inline Bytes HopRecord(const std::string& name = "Goldings") {
  Bytes b(614);
  b.Text(0, 55, name).F32(55, 5.5f).F32(59, 2.5f).F32(64, 25).F32(68, 30).F32(72, 40);
  b.F32(76, 12).I16(80, 2).F32(82, 15).Text(86, 155, "Earthy").Text(241, 55, "UK");
  return b.Text(296, 155, "Bitters").Text(451, 155, "Fuggle").F32(606, 8);
}

inline Bytes StyleRecord(const std::string& category = "English Pale Ale") {
  Bytes b(1031);
  b.Text(0, 55, category).Text(55, 55, "Special Bitter").U8(110, 0);
  b.F32(111, 1.038f).F32(115, 1.045f).F32(119, 1.008f).F32(123, 1.012f);
  b.F32(127, 3.5f).F32(131, 4.5f).F32(135, 25).F32(139, 40).F32(143, 6).F32(147, 14);
  b.Text(151, 155, "Amber").Text(306, 155, "Biscuit").Text(461, 155, "Earthy");
  b.Text(616, 155, "Fruity").Text(771, 255, "Examples").I16(1026, 4);
  return b.Text(1028, 2, "B");
}

inline Bytes WaterRecord(const std::string& name = "Burton") {
  Bytes b(222);
  b.Text(0, 27, name).F32(27, 268).F32(31, 62).F32(35, 30).F32(39, 999).F32(43, 638);
  return b.F32(47, 36).F32(51, 141).F32(55, 7.5f).Text(59, 163, "Hard water");
}

inline Bytes YeastRecord(const std::string& name = "London Ale") {
  Bytes b(468);
  b.Text(0, 55, name).Text(55, 55, "Labs").Text(110, 25, "L-1028").U8(135, 0).U8(136, 1);
  b.Text(137, 155, "Minerally").Text(292, 159, "Bitters").F32(451, 1);
  return b.I32(455, 70).I32(459, 75).F32(463, 68).U8(467, 1);
}

/// One record of a database kind.
inline Bytes DatabaseRecord(Kind kind) {
  switch (kind) {
    case Kind::Extra: return MiscRecord();
    case Kind::Hops: return HopRecord();
    case Kind::Malt: return MaltRecord();
    case Kind::Styles: return StyleRecord();
    case Kind::WaterDat: case Kind::Wtr: return WaterRecord();
    case Kind::Yeast: return YeastRecord();
    default: return Bytes();
  }
}

/// A 292-byte mash step slot.
inline Bytes StepSlot(const std::string& name, std::uint8_t type, std::int32_t temperature,
                      std::int32_t time, float ratio, float amount) {
  Bytes b(testing::kStepSlotSize);
  b.Text(0, 255, name).U8(255, type).I32(256, temperature).I32(260, temperature);
  b.I32(264, temperature + 12).I32(268, time).I32(272, 2).F32(276, ratio).F32(280, amount);
  return b.Raw(284, "SPARESPA");  // the unused tail of the slot
}

inline constexpr std::size_t kMshSize = 14875;
inline constexpr std::size_t kMshNameOffset = 14620;

/// A mash schedule with three steps in use, named "Step Mash".
inline Bytes MashSchedule() {
  Bytes file(kMshSize);
  file.I32(0, 3).I32(4, 7).F32(8, 60).F32(12, 10).F32(16, 1.25f);
  const Bytes steps[] = {StepSlot("Protein Rest", 0, 122, 30, 1.25f, 12.5f),
                         StepSlot("Saccharification", 1, 152, 60, 0, 0),
                         StepSlot("Decoction", 2, 168, 10, 0, 6)};
  for (std::size_t i = 0; i < 3; ++i) file.Raw(20 + i * 292, View(steps[i]));
  return file.Text(kMshNameOffset, 255, "Step Mash");
}

/// A recipe with two hops, a fermentable, a miscellaneous ingredient, yeast, water, notes, a
/// two-rest simple mash and two steps in its step list. `step_list` selects the step list as the
/// recipe's mash instead of the simple mash.
inline RecipeFile SoundRecipe(bool step_list = false) {
  RecipeFile f;
  f.header.Text(0, 85, "Pale Ale").F32(97, 5).F32(101, 6.5f).F32(105, 45).F32(109, 32);
  f.header.F32(113, 0.75f).I32(117, 60).U8(125, 0);
  f.style = StyleRecord();
  for (const char* name : {"Goldings", "Fuggle"}) {
    Bytes hop(testing::kHopAdditionSize);
    hop.Text(0, 55, name).F32(55, 5).F32(59, 2.5f).F32(64, 25).F32(68, 30).F32(72, 40);
    hop.F32(76, 12).I16(80, 0x1002).F32(82, 15).Text(241, 55, "UK").F32(611, 4);
    hop.F32(616, 1).F32(620, 5.25f).F32(625, 1.5f).U8(629, 60).F32(631, 1);
    f.hops.push_back(hop);
  }
  // A recipe's fermentable and miscellaneous ingredient start with their database records.
  Bytes malt(testing::kFermentableAdditionSize);
  f.fermentables.push_back(malt.Raw(0, View(MaltRecord())).F32(521, 9).F32(525, 1));
  Bytes misc(testing::kMiscAdditionSize);
  f.miscs.push_back(misc.Raw(0, View(MiscRecord())).F32(577, 1).F32(581, 2).F32(585, 3));
  f.yeast = YeastRecord();
  f.water = WaterRecord();
  f.process.U8(0, 3).I32(33, 152).I32(37, 60).I32(41, 168).I32(45, 10).F32(57, 12.5f);
  f.process.Text(62, 4028, "Mash at 152 F").I32(8377, 60);
  f.steps = {StepSlot("Rest", 0, 150, 60, 1.5f, 14), StepSlot("Out", 1, 168, 10, 0, 0)};
  f.schedule.Text(0, 255, "Two Step").U8(255, step_list ? 1 : 0);
  f.SyncCounts();
  return f;
}

// ---------------------------------------------------------------------------------------------
// Running a case.

/// What a case must produce. "{in}" and "{out}" in the stderr lines stand for the input path and
/// the output path.
struct Expected {
  int exit_code = 0;
  std::vector<std::string> err;
  int records = 1;      ///< record elements in the written file
  int read = -1;        ///< records the reader went through (extra.dat dumps); -1: `records`
};

/// One run of the executable on a written input, with its parsed output.
struct Converted {
  std::string input;
  std::string output;
  RunResult run;
  std::string xml_text;
  ParsedXml xml;
  /// The record elements of the list.
  std::vector<pugi::xml_node> records;
  pugi::xml_node Record(std::size_t i = 0) const {
    return i < records.size() ? records[i] : pugi::xml_node();
  }
};

inline std::string OutputOf(const std::string& input) {
  return input.substr(0, input.size() - 3) + "xml";
}

inline std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

/// The whole stderr text the lines make.
inline std::string ErrText(const std::vector<std::string>& lines, const std::string& input,
                           const std::string& output) {
  std::string text;
  for (const std::string& line : lines) {
    text += Replace(Replace(line, "{in}", input), "{out}", output) + "\n";
  }
  return text;
}

/// Checks that `out` is exactly `dumps` nine-line extra.dat dumps, each ending in an empty line,
/// with numbers where numbers belong. A name may hold line breaks of its own.
inline ::testing::AssertionResult IsExtraDump(const std::string& out, int dumps) {
  static const std::regex kInteger("-?[0-9]+");
  static const std::regex kFixed("-?[0-9]+\\.[0-9]{6}");
  const char* const kNumberLines[] = {"ingredient_type = ", "suggested_time = ", "time_type = ",
                                      "time_units = ", "inventory_unit_of_measurement = ",
                                      "inventory = "};
  std::size_t at = 0;
  for (int d = 0; d < dumps; ++d) {
    if (out.compare(at, 18, "ingredient_name = ") != 0) {
      return ::testing::AssertionFailure() << "dump " << d << " does not start at " << at;
    }
    at = out.find("\ningredient_type = ", at);
    if (at == std::string::npos) return ::testing::AssertionFailure() << "dump " << d << " cut";
    ++at;
    for (const char* prefix : kNumberLines) {
      const std::size_t end = out.find('\n', at);
      const std::string_view line = std::string_view(out).substr(at, end - at);
      const std::string_view p(prefix);
      if (end == std::string::npos || line.substr(0, p.size()) != p) {
        return ::testing::AssertionFailure() << "dump " << d << ": expected " << prefix;
      }
      const std::string value(line.substr(p.size()));
      if (!std::regex_match(value, p == "inventory = " ? kFixed : kInteger)) {
        return ::testing::AssertionFailure() << "dump " << d << ": not a number: " << line;
      }
      at = end + 1;
    }
    for (const char* prefix : {"usage = ", "comment = "}) {
      const std::size_t end = out.find('\n', at);
      if (end == std::string::npos || out.compare(at, std::strlen(prefix), prefix) != 0) {
        return ::testing::AssertionFailure() << "dump " << d << ": expected " << prefix;
      }
      at = end + 1;
    }
    if (out.compare(at, 1, "\n") != 0) {
      return ::testing::AssertionFailure() << "dump " << d << ": no empty line";
    }
    ++at;
  }
  if (at != out.size()) return ::testing::AssertionFailure() << "more after the dumps: " << out.substr(at);
  return ::testing::AssertionSuccess();
}

/// A value that printf wrote for something that is not a number.
inline bool IsNonNumber(std::string_view text) {
  static const std::regex kNonNumber("(^|[^A-Za-z])-?(nan|inf|NAN|INF)([^A-Za-z]|$)");
  return std::regex_search(text.begin(), text.end(), kNonNumber);
}

/// Every text and attribute value of the document that is not a number where one was written.
inline std::vector<std::string> NonNumbers(pugi::xml_node node) {
  std::vector<std::string> found;
  for (pugi::xml_attribute a : node.attributes()) {
    if (IsNonNumber(a.value())) found.push_back(std::string(node.name()) + "@" + a.name());
  }
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_pcdata && IsNonNumber(child.value())) {
      found.push_back(std::string(node.name()) + ": " + child.value());
    } else if (child.type() == pugi::node_element) {
      for (std::string& f : NonNumbers(child)) found.push_back(std::move(f));
    }
  }
  return found;
}

/// Temporary files a save left beside the output.
inline std::vector<std::string> LeftoverTemporaries(const std::filesystem::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    // TemporaryPathBeside: ".kv", eight hexadecimal digits, ".tmp".
    if (name.size() == 15 && name.starts_with(".kv") && name.ends_with(".tmp")) {
      found.push_back(name);
    }
  }
  return found;
}

/// Runs the executable on `input` (already written) and checks exit status, stderr, stdout, the
/// output's presence, that it parses, and its record count. `label` names the case in failures.
inline void RunCase(const KindInfo& kind, const std::string& input, const Expected& expected,
                    const std::string& label, Converted& c) {
  SCOPED_TRACE(label);
  c.input = input;
  c.output = OutputOf(input);
  std::error_code ec;
  const bool existed = std::filesystem::exists(testing::PathFromUtf8(c.output), ec);
  c.run = testing::Convert(input);
  EXPECT_EQ(c.run.exit_code, expected.exit_code);
  EXPECT_EQ(c.run.err, ErrText(expected.err, input, c.output));

  const bool written = expected.exit_code == 0;
  const int read = expected.read >= 0 ? expected.read : (written ? expected.records : 0);
  if (kind.kind == Kind::Extra) {
    EXPECT_TRUE(IsExtraDump(c.run.out, read)) << c.run.out;
  } else if (kind.kind == Kind::Rec) {
    EXPECT_EQ(c.run.out, written ? "\nProcessed 1 record.\n\n" : "");
  } else {
    EXPECT_EQ(c.run.out, "");
  }
  EXPECT_EQ(LeftoverTemporaries(testing::PathFromUtf8(input).parent_path()),
            std::vector<std::string>{});
  if (!written) {
    if (!existed) {
      EXPECT_FALSE(std::filesystem::exists(testing::PathFromUtf8(c.output), ec))
          << "an output was written";
    }
    return;
  }
  c.xml_text = testing::ReadFile(c.output);
  testing::ParseXmlFile(c.output, c.xml);
  ASSERT_TRUE(c.xml.result) << c.xml.result.description() << "\n" << c.xml_text.substr(0, 2000);
  ASSERT_EQ(std::string(c.xml.document.child("beer_xml").child("version").text().get()), "2.01");
  const pugi::xml_node list = c.xml.document.child("beer_xml").child(kind.list);
  ASSERT_TRUE(list) << "no " << kind.list;
  for (pugi::xml_node n : list.children(kind.record)) c.records.push_back(n);
  EXPECT_EQ(c.records.size(), static_cast<std::size_t>(expected.records));
  EXPECT_EQ(testing::ChildNames(list).size(), c.records.size()) << "other elements in the list";
  EXPECT_EQ(NonNumbers(c.xml.document.document_element()), std::vector<std::string>{});
}

/// Writes `file` under the kind's name (or `name`) in `dir` and runs the case.
inline void ConvertCase(const TempDir& dir, const KindInfo& kind, const Bytes& file,
                        const Expected& expected, const std::string& label, Converted& c,
                        const std::string& name = "") {
  RunCase(kind, dir.Write(name.empty() ? kind.file_name : name, file), expected, label, c);
}

// ---------------------------------------------------------------------------------------------
// Texts: what the output must read back for a field's bytes.

/// A text field's value: up to its first zero byte, trailing tabs, line breaks and blanks gone.
inline std::string FieldText(std::string_view bytes) {
  bytes = bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
  while (!bytes.empty() && (bytes.back() == '\t' || bytes.back() == '\n' ||
                            bytes.back() == '\r' || bytes.back() == ' ')) {
    bytes.remove_suffix(1);
  }
  return std::string(bytes);
}

// ---------------------------------------------------------------------------------------------
// Float fields of every layout, with their range (none for fields the files leave unchecked).

struct FloatField {
  const char* name;
  std::size_t offset;
  bool tested;
  float minimum = 0;
  float maximum = 0;
  float default_value = 0;
};

constexpr FloatField Tested(const char* name, std::size_t offset, float minimum, float maximum,
                            float default_value = 0) {
  return {name, offset, true, minimum, maximum, default_value};
}
constexpr FloatField Unchecked(const char* name, std::size_t offset) {
  return {name, offset, false};
}

inline constexpr FloatField kMiscFloats[] = {Tested("inventory", 63, 0, 100000)};

inline constexpr FloatField kMaltFloats[] = {
    Tested("potential", 167, 0, 11),        Tested("color", 171, 0, 2550),
    Tested("moisture", 175, 0, 11),         Tested("max_in_batch", 179, 0, 110),
    Tested("diastatic_power", 183, 0, 550), Tested("protein", 187, 0, 110),
    Tested("spare_percentage", 191, 0, 110), Tested("inventory", 509, 0, 100000),
    Tested("fine_grind_yield", 513, -11, 110), Tested("coarse_grind_yield", 517, -11, 110),
};

inline constexpr FloatField kHopFloats[] = {
    Tested("alpha_acid", 55, 0, 110), Tested("beta_acid", 59, 0, 110),
    Tested("cohumulone", 64, 0, 110), Tested("myrcene", 68, 0, 110),
    Tested("humulene", 72, 0, 110),   Tested("caryophyllene", 76, 0, 110),
    Tested("percent_lost", 82, 0, 110), Tested("inventory", 606, 0, 100000),
};

inline constexpr FloatField kStyleFloats[] = {
    Tested("original_gravity_min", 111, 0.9f, 3.0f, 1.0f),
    Tested("original_gravity_max", 115, 0.9f, 3.0f, 1.0f),
    Tested("final_gravity_min", 119, 0.9f, 3.0f, 1.0f),
    Tested("final_gravity_max", 123, 0.9f, 3.0f, 1.0f),
    Tested("alcohol_min", 127, 0, 110),    Tested("alcohol_max", 131, 0, 110),
    Tested("bitterness_min", 135, 0, 110), Tested("bitterness_max", 139, 0, 110),
    Tested("color_min", 143, 0, 5000),     Tested("color_max", 147, 0, 5000),
};

inline constexpr FloatField kWaterFloats[] = {
    Tested("calcium", 27, 0, 100000),  Tested("magnesium", 31, 0, 100000),
    Tested("sodium", 35, 0, 100000),   Unchecked("(skipped bytes)", 39),
    Tested("sulfate", 43, 0, 100000),  Tested("chloride", 47, 0, 100000),
    Tested("bicarbonate", 51, 0, 100000), Tested("ph", 55, 0, 20, 7),
};

inline constexpr FloatField kYeastFloats[] = {
    Unchecked("spare_value", 451),
    Unchecked("temperature", 463),
};

inline constexpr FloatField kMashHeaderFloats[] = {
    Tested("grain_temperature", 8, 0, 225), Tested("spare_amount", 12, 0, 100000),
    Tested("spare_ratio", 16, 0, 2.5f),
};

inline constexpr FloatField kMashStepFloats[] = {
    Tested("water_grain_ratio", 276, 0, 100000), Tested("step_amount", 280, 0, 100000),
};

inline constexpr FloatField kRecipeHeaderFloats[] = {
    Tested("batch_size", 97, 0, 100000),     Tested("boil_size", 101, 0, 100000),
    Tested("original_gravity", 105, 0, 1000), Tested("bitterness", 109, 0, 1000),
    Tested("efficiency", 113, 0, 110, 70),
};

inline constexpr FloatField kHopAdditionFloats[] = {
    Tested("alpha_acid", 55, 0, 110),   Tested("beta_acid", 59, 0, 110),
    Tested("cohumulone", 64, 0, 110),   Tested("myrcene", 68, 0, 110),
    Tested("humulene", 72, 0, 110),     Tested("caryophyllene", 76, 0, 110),
    Tested("percent_lost", 82, 0, 110), Unchecked("inventory", 611),
    Unchecked("spare_value", 616),      Tested("alpha", 620, 0, 110),
    Tested("amount", 625, 0, 1600000),  Tested("spare_amount", 631, 0, 1600000),
};

inline constexpr FloatField kFermentableAdditionFloats[] = {
    Tested("potential", 167, 0, 11),        Tested("color", 171, 0, 2550),
    Tested("moisture", 175, 0, 11),         Tested("max_in_batch", 179, 0, 110),
    Tested("diastatic_power", 183, 0, 550), Tested("protein", 187, 0, 110),
    Tested("spare_percentage", 191, 0, 110), Tested("inventory", 509, 0, 100000),
    Tested("fine_grind_yield", 513, -11, 110), Tested("coarse_grind_yield", 517, -11, 110),
    Tested("amount", 521, 0, 100000),       Tested("spare_amount", 525, 0, 100000),
};

inline constexpr FloatField kMiscAdditionFloats[] = {
    Tested("inventory", 63, 0, 100000), Tested("amount", 577, 0, 100000),
    Unchecked("spare_amount", 581),     Unchecked("spare_amount_2", 585),
};

inline constexpr FloatField kProcessFloats[] = {Tested("mash_water", 57, 0, 100000)};

/// The float fields of a database kind's record.
inline std::span<const FloatField> FloatsOf(Kind kind) {
  switch (kind) {
    case Kind::Extra: return kMiscFloats;
    case Kind::Hops: return kHopFloats;
    case Kind::Malt: return kMaltFloats;
    case Kind::Styles: return kStyleFloats;
    case Kind::WaterDat: case Kind::Wtr: return kWaterFloats;
    case Kind::Yeast: return kYeastFloats;
    default: return {};
  }
}

/// What the converter must make of `value` in `field`: a range-tested field takes its default
/// when the value is outside the range or not a number; a field without a range keeps a finite
/// value, and a non-number (NaN, an infinity) is written as zero.
inline float Substitute(const FloatField& field, float value) {
  if (field.tested) {
    return std::isnan(value) || value < field.minimum || value > field.maximum
               ? field.default_value
               : value;
  }
  return std::isfinite(value) ? value : 0.0f;
}

/// Writes `value` (or, for the reference file, its substitute) into every field of `fields`.
inline void PutFloats(Bytes& bytes, std::span<const FloatField> fields, float value,
                      bool reference) {
  for (const FloatField& f : fields) bytes.F32(f.offset, reference ? Substitute(f, value) : value);
}

}  // namespace kegverter::bad_input
