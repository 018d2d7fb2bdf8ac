// hops.dat and styles.dat: record decoding and validation, and the varieties and styles
// documents, end to end through the executable. Offsets are those of the file layouts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "beerxml/hops_writer.h"
#include "beerxml/styles_writer.h"
#include "source/hops.h"
#include "source/styles.h"
#include "tests/examples.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::ChildNames;
using testing::TextAt;

constexpr std::size_t kHopSize = 614;
constexpr std::size_t kStyleSize = 1031;

Bytes Hop(std::string_view name) {
  Bytes b(kHopSize);
  b.Text(0, 55, name);
  return b;
}

Bytes Style(std::string_view category, std::string_view name) {
  Bytes b(kStyleSize);
  b.Text(0, 55, category).Text(55, 55, name);
  // In-range gravities, so that a test sees only the substitutions it provokes.
  b.F32(111, 1.040f).F32(115, 1.060f).F32(119, 1.008f).F32(123, 1.012f);
  return b;
}

// Converts `bytes` saved as `file_name` and parses the output; the run must succeed silently.
struct Converted {
  testing::TempDir dir;
  testing::RunResult run;
  testing::ParsedXml xml;
  pugi::xml_node list;
  std::vector<pugi::xml_node> records;
};

void ConvertFile(const std::string& file_name, const Bytes& bytes, Converted& c) {
  const std::string input = c.dir.Write(file_name, bytes);
  c.run = testing::Convert(input);
  ASSERT_EQ(c.run.exit_code, 0) << c.run.err;
  EXPECT_EQ(c.run.out, "");
  const std::string output = input.substr(0, input.size() - 3) + "xml";
  // Whitespace-only texts are content here (a style letter of one blank), so they are kept.
  c.xml.result = c.xml.document.load_file(
      output.c_str(), pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single);
  ASSERT_TRUE(c.xml.result) << c.xml.result.description();
  c.list = c.xml.List();
  for (pugi::xml_node n : c.list.children()) {
    if (n.type() == pugi::node_element) c.records.push_back(n);
  }
}

template <class R, class Reader>
std::vector<R> ReadFrom(const Bytes& bytes, std::size_t count, Reader reader, std::int32_t& result,
                        std::uint64_t* end_position = nullptr) {
  testing::TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("records.bin", bytes), error);
  EXPECT_TRUE(input) << error;
  std::vector<R> records(count);
  if (!input) return records;
  result = reader(*input, std::span<R>(records));
  if (end_position != nullptr) *end_position = input->position();
  return records;
}

// ---------------------------------------------------------------------------------------------
// Tables and word rules

TEST(HopStyleTables, HopUseWordComesFromTheLowFourBitsOnly) {
  EXPECT_EQ(HopUseWord(0), "bittering");
  EXPECT_EQ(HopUseWord(1), "bittering");
  EXPECT_EQ(HopUseWord(2), "aroma");
  EXPECT_EQ(HopUseWord(3), "both");
  EXPECT_EQ(HopUseWord(0x2002), "aroma");                      // form bits set
  EXPECT_EQ(HopUseWord(static_cast<std::int16_t>(-14)), "aroma");  // 0xFFF2
  for (std::int16_t code = 4; code < 16; ++code) EXPECT_EQ(HopUseWord(code), std::nullopt) << code;
  EXPECT_EQ(HopUseWord(static_cast<std::int16_t>(-1)), std::nullopt);
}

// ---------------------------------------------------------------------------------------------
// Records

TEST(HopRecords, DecodeEveryFieldAtItsOffset) {
  Bytes b = Hop("Cascade");
  b.F32(55, 5.5f).F32(59, 6.25f).U8(63, 7).F32(64, 35.0f).F32(68, 50.0f).F32(72, 12.0f);
  b.F32(76, 4.5f).I16(80, -32766).F32(82, 45.0f).Text(86, 155, "Citrus").Text(241, 55, "U.S.");
  b.Text(296, 155, "Pale ales").Text(451, 155, "Centennial").F32(606, 99999.0f);
  std::int32_t replaced = -1;
  std::uint64_t end = 0;
  const auto hops = ReadFrom<HopRecord>(b, 1, ReadHopRecords, replaced, &end);
  const HopRecord& h = hops[0];
  EXPECT_EQ(replaced, 0);
  EXPECT_EQ(end, kHopSize);
  EXPECT_EQ(h.name, "Cascade");
  EXPECT_EQ(h.alpha_acid, 5.5f);
  EXPECT_EQ(h.beta_acid, 6.25f);
  EXPECT_EQ(h.spare_flag, 7);
  EXPECT_EQ(h.cohumulone, 35.0f);
  EXPECT_EQ(h.myrcene, 50.0f);
  EXPECT_EQ(h.humulene, 12.0f);
  EXPECT_EQ(h.caryophyllene, 4.5f);
  EXPECT_EQ(h.type_code, -32766);
  EXPECT_EQ(h.percent_lost, 45.0f);
  EXPECT_EQ(h.notes, "Citrus");
  EXPECT_EQ(h.origin, "U.S.");
  EXPECT_EQ(h.best_for, "Pale ales");
  EXPECT_EQ(h.substitutes, "Centennial");
  EXPECT_EQ(h.inventory, 99999.0f);
  EXPECT_TRUE(h.field_errors.empty());
}

TEST(HopRecords, OutOfRangeValuesBecomeZeroWithTheirCodes) {
  Bytes b = Hop("Odd");
  b.F32(55, 120.0f).F32(59, 0.0f).F32(64, -1.0f).F32(82, 110.0f).F32(606, 100001.0f);
  b.F32(68, std::numeric_limits<float>::quiet_NaN());
  std::int32_t replaced = -1;
  const auto hops = ReadFrom<HopRecord>(b, 1, ReadHopRecords, replaced);
  const HopRecord& h = hops[0];
  EXPECT_EQ(replaced, 1);
  ASSERT_EQ(h.field_errors.size(), 15u);
  const std::vector<std::int32_t> codes = {0, 2, 0, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 2};
  EXPECT_EQ(h.field_errors, codes);
  EXPECT_EQ(h.alpha_acid, 0.0f);
  EXPECT_EQ(h.cohumulone, 0.0f);
  EXPECT_EQ(h.myrcene, 0.0f);
  EXPECT_EQ(h.percent_lost, 110.0f);  // a bound is in range
  EXPECT_EQ(h.inventory, 0.0f);
}

TEST(StyleRecords, OneRecordIsReadFromTheCurrentPositionAndTheRestIsLeft) {
  Bytes b = Style("Stout", "Dry Stout");
  b.F32(147, 5000.0f).Text(771, 255, "Guinness").I16(1026, 16).Raw(1028, "AB").U8(1030, 9);
  b.Append(Style("Next", "Record"));  // what a recipe keeps after its embedded style
  std::int32_t replaced = -1;
  std::uint64_t end = 0;
  const auto styles = ReadFrom<StyleRecord>(b, 1, ReadStyleRecords, replaced, &end);
  const StyleRecord& s = styles[0];
  EXPECT_EQ(replaced, 0);
  EXPECT_EQ(end, kStyleSize);
  EXPECT_EQ(s.color_max, 5000.0f);  // a bound is in range
  EXPECT_EQ(s.notes, "Guinness");
  EXPECT_EQ(s.category_number, 16);
  EXPECT_EQ(s.style_letter, "AB");
  EXPECT_EQ(s.spare_flag, 9);
  EXPECT_TRUE(s.field_errors.empty());
}

TEST(StyleRecords, GravityBoundsAreSinglePrecisionAndPointsAreReplaced) {
  Bytes points = Style("Pale Ale", "Points");
  points.F32(111, 40.0f).F32(115, 60.0f).F32(119, 0.9f).F32(123, 0.89f).F32(147, 5000.5f);
  Bytes empty(kStyleSize);
  Bytes file = points;
  file.Append(empty);
  std::int32_t replaced = -1;
  const auto styles = ReadFrom<StyleRecord>(file, 2, ReadStyleRecords, replaced);
  EXPECT_EQ(replaced, 2);
  EXPECT_EQ(styles[0].original_gravity_min, 1.0f);
  EXPECT_EQ(styles[0].original_gravity_max, 1.0f);
  EXPECT_EQ(styles[0].final_gravity_min, 0.9f);  // the float nearest 0.9 is its own bound
  EXPECT_EQ(styles[0].final_gravity_max, 1.0f);
  EXPECT_EQ(styles[0].color_max, 0.0f);
  const std::vector<std::int32_t> codes = {0, 0, 0, 2, 2, 0, 1, 0, 0, 0, 0, 0, 2,
                                           0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(styles[0].field_errors, codes);
  // An all-zero style takes 1.0 for its four gravities, below the minimum.
  const std::vector<std::int32_t> empty_codes = {0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0,
                                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(styles[1].field_errors, empty_codes);
  EXPECT_EQ(styles[1].original_gravity_min, 1.0f);
  EXPECT_EQ(styles[1].final_gravity_max, 1.0f);
  EXPECT_EQ(styles[1].alcohol_max, 0.0f);
}

// ---------------------------------------------------------------------------------------------
// varieties

TEST(HopExport, WritesEveryElementInOrderWithItsFormats) {
  Bytes first = Hop("Cascade");
  first.F32(55, 12.25f).F32(59, 4.5f).F32(64, 33.333f).F32(68, 0.4f).F32(72, 0.0f);
  first.F32(76, 4.1f).I16(80, 0x3002).F32(82, 47.5f).Text(86, 155, "Citrus\t ");
  first.Text(241, 55, "U.S.").Text(296, 155, "Pale ales").Text(451, 155, "Centennial");
  first.F32(606, 12.0f).Raw(610, "\xFF\xFF\xFF\xFF");  // the 4 undecoded bytes
  Bytes second = Hop("Saaz");
  second.F32(55, 3.5f).I16(80, 1).Text(296, 155, "Pilsners");
  Converted c;
  ASSERT_NO_FATAL_FAILURE(ConvertFile("hops.dat", testing::Database(2, {first, second}), c));
  EXPECT_EQ(std::string(c.list.name()), "varieties");
  ASSERT_EQ(c.records.size(), 2u);

  const pugi::xml_node hop = c.records[0];
  EXPECT_EQ(std::string(hop.name()), "hop");
  const std::vector<std::string> order = {
      "name",     "origin",        "alpha_acid_units", "beta_acid_units", "type",
      "notes",    "percent_lost",  "substitutes",      "humulene",        "caryophyllene",
      "cohumulone", "myrcene",     "inventory"};
  EXPECT_EQ(ChildNames(hop), order);
  EXPECT_EQ(TextAt(hop, "name"), "Cascade");
  EXPECT_EQ(TextAt(hop, "origin"), "U.S.");
  EXPECT_EQ(TextAt(hop, "alpha_acid_units"), "12.25");
  EXPECT_EQ(TextAt(hop, "beta_acid_units"), "4.50");
  EXPECT_EQ(TextAt(hop, "type"), "aroma");
  EXPECT_EQ(TextAt(hop, "notes"), "Citrus\r\nBest for Pale ales");
  EXPECT_EQ(TextAt(hop, "percent_lost"), "47.5");
  EXPECT_EQ(TextAt(hop, "substitutes"), "Centennial");
  EXPECT_EQ(TextAt(hop, "humulene"), "0.0");
  EXPECT_EQ(TextAt(hop, "caryophyllene"), "4.10");
  EXPECT_EQ(TextAt(hop, "cohumulone"), "33.33");
  EXPECT_EQ(TextAt(hop, "myrcene"), "0.40");
  for (pugi::xml_node n : hop.children()) {
    if (std::string(n.name()) != "inventory") {
      EXPECT_FALSE(n.first_attribute()) << n.name();
    }
  }
  // The stored stock is not carried over: every form holds zero ounces.
  const pugi::xml_node inventory = hop.child("inventory");
  EXPECT_EQ(ChildNames(inventory), (std::vector<std::string>{"leaf", "pellet", "plug"}));
  for (pugi::xml_node form : inventory.children()) {
    EXPECT_EQ(std::string(form.attribute("mass").value()), "oz");
    EXPECT_EQ(std::string(form.text().get()), "0.0");
  }

  // The second record starts 614 bytes after the first, past the undecoded bytes.
  const pugi::xml_node saaz = c.records[1];
  EXPECT_EQ(TextAt(saaz, "name"), "Saaz");
  EXPECT_EQ(TextAt(saaz, "alpha_acid_units"), "3.50");
  EXPECT_EQ(TextAt(saaz, "beta_acid_units"), "<missing>");
  EXPECT_EQ(ChildNames(saaz).size(), 12u);
  EXPECT_EQ(TextAt(saaz, "type"), "bittering");
  EXPECT_EQ(TextAt(saaz, "notes"), "Best for Pilsners");
  EXPECT_EQ(TextAt(saaz, "origin"), "");
  EXPECT_EQ(TextAt(saaz, "percent_lost"), "0.0");
  EXPECT_EQ(TextAt(saaz, "myrcene"), "0.0");
  EXPECT_EQ(TextAt(saaz, "inventory/plug"), "0.0");
}

TEST(HopExport, BetaAcidSwitchFollowsEachRecordAndSubstitutionsShow) {
  Bytes none = Hop("None");
  none.F32(55, 120.0f).I16(80, 7).Text(86, 155, "Only notes");  // alpha out of range
  Bytes with = Hop("With");
  with.F32(59, 0.01f).I16(80, static_cast<std::int16_t>(0xF003));
  Bytes again = Hop("Again");
  again.F32(59, 111.0f);  // replaced by 0: no element
  Bytes empty_notes = Hop("Empty");
  Converted c;
  ASSERT_NO_FATAL_FAILURE(
      ConvertFile("HOPS.DAT", testing::Database(4, {none, with, again, empty_notes}), c));
  ASSERT_EQ(c.records.size(), 4u);
  EXPECT_EQ(TextAt(c.records[0], "alpha_acid_units"), "0.00");
  EXPECT_EQ(TextAt(c.records[0], "beta_acid_units"), "<missing>");
  EXPECT_EQ(TextAt(c.records[0], "notes"), "Only notes");
  // A use code without a word leaves the element in place, empty.
  EXPECT_EQ(TextAt(c.records[0], "type"), "");
  EXPECT_EQ(ChildNames(c.records[0])[3], "type");
  EXPECT_EQ(TextAt(c.records[1], "beta_acid_units"), "0.01");
  EXPECT_EQ(TextAt(c.records[1], "type"), "both");
  EXPECT_EQ(TextAt(c.records[2], "beta_acid_units"), "<missing>");
  EXPECT_EQ(TextAt(c.records[3], "notes"), "");
  EXPECT_TRUE(c.records[3].child("notes"));
}

TEST(HopExport, SourceBytesAreWidenedAsWindowsText) {
  Bytes b = Hop("Hallertauer Mittelfr\xFCh");
  b.Text(86, 155, "Brewer\x92s choice");
  Converted c;
  ASSERT_NO_FATAL_FAILURE(ConvertFile("hops.dat", testing::Database(1, {b}), c));
  ASSERT_EQ(c.records.size(), 1u);
  EXPECT_EQ(TextAt(c.records[0], "name"), "Hallertauer Mittelfr\u00FCh");
  EXPECT_EQ(TextAt(c.records[0], "notes"), "Brewer\u2019s choice");
}

// ---------------------------------------------------------------------------------------------
// styles

TEST(StyleExport, WritesEveryElementInOrderWithItsFormats) {
  Bytes b = Style("Pale Ale", "American Pale Ale");
  b.U8(110, 5).F32(111, 1.045f).F32(115, 1.0555f).F32(119, 1.010f).F32(123, 1.015f);
  b.F32(127, 4.5f).F32(131, 6.0f).F32(135, 20.0f).F32(139, 40.3f).F32(143, 4.0f);
  b.F32(147, 3.5f).Text(151, 155, "Gold").Text(306, 155, "Bready").Text(461, 155, "Citrus");
  b.Text(616, 155, "Clean").Text(771, 255, "Sierra Nevada").I16(1026, -1).Raw(1028, "B\0");
  Converted c;
  ASSERT_NO_FATAL_FAILURE(ConvertFile("styles.dat", testing::Database(1, {b}), c));
  EXPECT_EQ(std::string(c.list.name()), "styles");
  ASSERT_EQ(c.records.size(), 1u);
  const pugi::xml_node style = c.records[0];
  EXPECT_EQ(std::string(style.name()), "style");
  const std::vector<std::string> order = {
      "name", "category", "category_number", "style_letter", "style_guide", "type",
      "original_gravity", "final_gravity", "international_bitterness_units", "color",
      "alcohol_by_volume", "notes", "profile", "ingredients", "examples"};
  EXPECT_EQ(ChildNames(style), order);
  EXPECT_EQ(TextAt(style, "name"), "Pale Ale - American Pale Ale");
  EXPECT_EQ(TextAt(style, "category"), "Pale Ale");
  EXPECT_EQ(TextAt(style, "category_number"), "-1");
  EXPECT_EQ(TextAt(style, "style_letter"), "B");
  EXPECT_EQ(TextAt(style, "style_guide"), "BJCP 1999");
  EXPECT_EQ(TextAt(style, "type"), "mixed");

  const std::vector<std::string> range = {"minimum", "maximum"};
  for (const char* block : {"original_gravity", "final_gravity", "international_bitterness_units",
                            "color", "alcohol_by_volume"}) {
    EXPECT_EQ(ChildNames(style.child(block)), range) << block;
  }
  EXPECT_EQ(TextAt(style, "original_gravity/minimum"), "1.045");
  EXPECT_EQ(TextAt(style, "original_gravity/maximum"), "1.056");
  EXPECT_EQ(TextAt(style, "final_gravity/minimum"), "1.010");
  EXPECT_EQ(TextAt(style, "final_gravity/maximum"), "1.015");
  for (const char* block : {"original_gravity", "final_gravity"}) {
    for (pugi::xml_node n : style.child(block).children()) {
      EXPECT_EQ(std::string(n.attribute("density").value()), "sg");
    }
  }
  EXPECT_EQ(TextAt(style, "international_bitterness_units/minimum"), "20.0");
  EXPECT_EQ(TextAt(style, "international_bitterness_units/maximum"), "40.3");
  EXPECT_EQ(TextAt(style, "color/minimum"), "4.0");
  EXPECT_EQ(TextAt(style, "color/maximum"), "3.5");  // a minimum above its maximum is kept
  for (pugi::xml_node n : style.child("color").children()) {
    EXPECT_EQ(std::string(n.attribute("scale").value()), "SRM");
  }
  EXPECT_EQ(TextAt(style, "alcohol_by_volume/minimum"), "4.5");
  EXPECT_EQ(TextAt(style, "alcohol_by_volume/maximum"), "6.0");
  for (const char* block : {"international_bitterness_units", "alcohol_by_volume"}) {
    for (pugi::xml_node n : style.child(block).children()) EXPECT_FALSE(n.first_attribute());
  }
  // The free text lists examples; notes and ingredients stay empty.
  EXPECT_EQ(TextAt(style, "notes"), "");
  EXPECT_EQ(TextAt(style, "ingredients"), "");
  EXPECT_EQ(TextAt(style, "profile"),
            "Malt: Bready\r\nHops: Citrus\r\nColor: Gold\r\nYeast: Clean");
  EXPECT_EQ(TextAt(style, "examples"), "Sierra Nevada");
}

TEST(StyleExport, LettersTypesAndSubstitutedGravities) {
  struct Case {
    std::string letter_bytes;
    std::uint8_t type;
    std::string letter;
    std::string type_word;
  };
  const std::vector<Case> cases = {
      {std::string("b\0", 2), 0, " ", "ale"},   {std::string("1\0", 2), 1, " ", "lager"},
      {std::string("\0\0", 2), 2, " ", "cider"}, {"AB", 3, "AB", "mead"},
      {"a1", 4, " ", ""},                        {std::string("Z\0", 2), 6, "Z", ""},
  };
  std::vector<Bytes> records;
  for (const Case& k : cases) {
    Bytes b = Style("Cat", "Name");
    b.U8(110, k.type).Raw(1028, k.letter_bytes);
    records.push_back(b);
  }
  // Gravity points where specific gravities belong: 1.000 is written in their place.
  Bytes points = Style("Old", "Points");
  points.F32(111, 40.0f).F32(115, 60.0f).F32(119, 8.0f).F32(123, 12.0f).F32(147, 6000.0f);
  records.push_back(points);

  Converted c;
  ASSERT_NO_FATAL_FAILURE(ConvertFile(
      "Styles.Dat", testing::Database(static_cast<std::int32_t>(records.size()), records), c));
  ASSERT_EQ(c.records.size(), records.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(TextAt(c.records[i], "style_letter"), cases[i].letter) << i;
    EXPECT_EQ(TextAt(c.records[i], "type"), cases[i].type_word) << i;
    EXPECT_TRUE(c.records[i].child("type")) << i;
    EXPECT_FALSE(c.records[i].child("carbonation")) << i;
  }
  const pugi::xml_node substituted = c.records.back();
  EXPECT_EQ(TextAt(substituted, "original_gravity/minimum"), "1.000");
  EXPECT_EQ(TextAt(substituted, "original_gravity/maximum"), "1.000");
  EXPECT_EQ(TextAt(substituted, "final_gravity/minimum"), "1.000");
  EXPECT_EQ(TextAt(substituted, "final_gravity/maximum"), "1.000");
  EXPECT_EQ(TextAt(substituted, "color/maximum"), "0.0");
  EXPECT_EQ(TextAt(substituted, "profile"), "Malt: \r\nHops: \r\nColor: \r\nYeast: ");
}

// ---------------------------------------------------------------------------------------------
// Bundled examples

TEST(HopStyleExamples, CommittedFilesMatchTheirMakersAndConvert) {
  const testing::ExampleFile files[] = {{"hops.dat", testing::MakeHopsExample},
                                         {"styles.dat", testing::MakeStylesExample}};
  for (const testing::ExampleFile& file : files) {
    const std::string name = file.name;
    const Bytes bytes = file.make();
    const std::string committed =
        testing::ReadFile(std::string(KEGVERTER_SOURCE_DIR) + "/examples/" + name);
    EXPECT_EQ(committed, std::string(bytes.data().begin(), bytes.data().end()))
        << "regenerate with build/tests/make_examples examples: " << name;
    Converted c;
    ASSERT_NO_FATAL_FAILURE(ConvertFile(name, bytes, c));
    EXPECT_EQ(c.records.size(), 3u) << name;
  }
}

}  // namespace
}  // namespace kegverter
