// hops.dat end to end: the use word, the records as source/hops reads and validates them, and the
// varieties list beerxml2/hops_writer makes of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "beerxml2/hops_writer.h"
#include "source/hops.h"
#include "tests/fixture.h"
#include "tests/kind_suite.h"
#include "tests/records.h"

namespace kegverter {
namespace {

namespace file = testing::file;
using testing::Bytes;
using testing::ChildNames;
using testing::ConvertedFile;
using testing::ConvertSuccessfully;
using testing::ReadFrom;
using testing::TextAt;

TEST(HopStyleTables, HopUseWordComesFromTheLowFourBitsOnly) {
  EXPECT_EQ(HopUseWord(0), "bittering");
  EXPECT_EQ(HopUseWord(1), "bittering");
  EXPECT_EQ(HopUseWord(2), "aroma");
  EXPECT_EQ(HopUseWord(3), "both");
  EXPECT_EQ(HopUseWord(0x2002), "aroma");                          // form bits set
  EXPECT_EQ(HopUseWord(static_cast<std::int16_t>(-14)), "aroma");  // 0xFFF2
  for (std::int16_t code = 4; code < 16; ++code) EXPECT_EQ(HopUseWord(code), std::nullopt) << code;
  EXPECT_EQ(HopUseWord(static_cast<std::int16_t>(-1)), std::nullopt);
}

TEST(HopRecords, DecodeEveryFieldAtItsOffset) {
  const Bytes b = file::ToBytes(file::Hop{.name = "Cascade",
                                          .alpha_acid = 5.5f,
                                          .beta_acid = 6.25f,
                                          .spare_flag = 7,
                                          .cohumulone = 35.0f,
                                          .myrcene = 50.0f,
                                          .humulene = 12.0f,
                                          .caryophyllene = 4.5f,
                                          .type_code = -32766,
                                          .percent_lost = 45.0f,
                                          .notes = "Citrus",
                                          .origin = "U.S.",
                                          .best_for = "Pale ales",
                                          .substitutes = "Centennial",
                                          .inventory = 99999.0f});
  std::int32_t replaced = -1;
  std::uint64_t end = 0;
  const auto hops = ReadFrom<HopRecord>(b, 1, ReadHopRecords, replaced, &end);
  const HopRecord& h = hops[0];
  EXPECT_EQ(replaced, 0);
  EXPECT_EQ(end, file::kHopSize);
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
  const Bytes b = file::ToBytes(file::Hop{.name = "Odd",
                                          .alpha_acid = 120.0f,
                                          .beta_acid = 0.0f,
                                          .cohumulone = -1.0f,
                                          .myrcene = std::numeric_limits<float>::quiet_NaN(),
                                          .percent_lost = 110.0f,
                                          .inventory = 100001.0f});
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

TEST(HopExport, WritesEveryElementInOrderWithItsFormats) {
  const file::Hop first{.name = "Cascade",
                        .alpha_acid = 12.25f,
                        .beta_acid = 4.5f,
                        .cohumulone = 33.333f,
                        .myrcene = 0.4f,
                        .humulene = 0.0f,
                        .caryophyllene = 4.1f,
                        .type_code = 0x3002,
                        .percent_lost = 47.5f,
                        .notes = "Citrus\t ",
                        .origin = "U.S.",
                        .best_for = "Pale ales",
                        .substitutes = "Centennial",
                        .inventory = 12.0f,
                        .unread = "\xFF\xFF\xFF\xFF"};
  const file::Hop second{
      .name = "Saaz", .alpha_acid = 3.5f, .type_code = 1, .best_for = "Pilsners"};
  ConvertedFile c;
  ASSERT_NO_FATAL_FAILURE(
      ConvertSuccessfully("hops.dat", file::DatabaseOf(std::vector{first, second}), c));
  EXPECT_EQ(std::string(c.list.name()), "varieties");
  ASSERT_EQ(c.records.size(), 2u);

  const pugi::xml_node hop = c.records[0];
  EXPECT_EQ(std::string(hop.name()), "hop");
  const std::vector<std::string> order = {
      "name",       "origin",       "alpha_acid_units", "beta_acid_units", "type",
      "notes",      "percent_lost", "substitutes",      "humulene",        "caryophyllene",
      "cohumulone", "myrcene",      "inventory"};
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
  // alpha out of range
  const file::Hop none{.name = "None", .alpha_acid = 120.0f, .type_code = 7, .notes = "Only notes"};
  const file::Hop with{
      .name = "With", .beta_acid = 0.01f, .type_code = static_cast<std::int16_t>(0xF003)};
  const file::Hop again{.name = "Again", .beta_acid = 111.0f};  // replaced by 0: no element
  const file::Hop empty_notes{.name = "Empty"};
  ConvertedFile c;
  ASSERT_NO_FATAL_FAILURE(ConvertSuccessfully(
      "HOPS.DAT", file::DatabaseOf(std::vector{none, with, again, empty_notes}), c));
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
  const file::Hop b{.name = "Hallertauer Mittelfr\xFCh", .notes = "Brewer\x92s choice"};
  ConvertedFile c;
  ASSERT_NO_FATAL_FAILURE(ConvertSuccessfully("hops.dat", file::DatabaseOf(std::vector{b}), c));
  ASSERT_EQ(c.records.size(), 1u);
  EXPECT_EQ(TextAt(c.records[0], "name"), "Hallertauer Mittelfr\u00FCh");
  EXPECT_EQ(TextAt(c.records[0], "notes"), "Brewer\u2019s choice");
}

}  // namespace
}  // namespace kegverter
