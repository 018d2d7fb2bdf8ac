#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "beerxml/mash_export.h"
#include "source/input_file.h"
#include "source/mash_schedule.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::ChildNames;
using testing::ParsedXml;
using testing::TempDir;
using testing::TextAt;

// File layout of a '.msh' file, written out here from the format rather than from the code.
constexpr std::size_t kFileSize = 14875;
constexpr std::size_t kNameAt = 14620;
constexpr std::size_t SlotAt(std::size_t slot) { return 20 + 292 * slot; }

Bytes Schedule(std::int32_t step_count, float grain_temperature, std::string_view name) {
  Bytes b(kFileSize);
  b.I32(0, step_count).F32(8, grain_temperature).Text(kNameAt, 255, name);
  return b;
}

struct StepBytes {
  std::uint8_t kind = 0;
  std::string name;
  std::int32_t step_temperature = 0;
  std::int32_t end_temperature = 0;
  std::int32_t infuse_temperature = 0;
  std::int32_t step_time = 0;
  std::int32_t ramp_time = 0;
  float ratio = 0;
  float amount = 0;
};

// A 292-byte step slot starting at byte `at`.
void PutStepAt(Bytes& b, std::size_t at, const StepBytes& s) {
  b.Text(at, 255, s.name).U8(at + 255, s.kind).I32(at + 256, s.step_temperature);
  b.I32(at + 260, s.end_temperature).I32(at + 264, s.infuse_temperature);
  b.I32(at + 268, s.step_time).I32(at + 272, s.ramp_time).F32(at + 276, s.ratio);
  b.F32(at + 280, s.amount);
}

void PutStep(Bytes& b, std::size_t slot, const StepBytes& s) { PutStepAt(b, SlotAt(slot), s); }

struct ReadResult {
  MashScheduleRecord schedule;
  std::int32_t replaced = 0;
  std::uint64_t position = 0;
  bool truncated = false;
};

ReadResult ReadSchedule(const Bytes& bytes) {
  TempDir dir;
  std::string error;
  auto file = InputFile::Open(dir.Write("s.msh", bytes), error);
  EXPECT_TRUE(file) << error;
  ReadResult r;
  if (!file) return r;
  r.replaced = ReadMashSchedule(*file, std::span<MashScheduleRecord>(&r.schedule, 1));
  r.position = file->position();
  r.truncated = file->truncated();
  return r;
}

// ---- Reader ----

TEST(MashReader, StepsComeFromTheirSlotsAndTheNameFromTheEnd) {
  Bytes b = Schedule(3, 152.5f, "Triple Decoction");
  b.I32(4, 7).F32(12, 30.0f).F32(16, 1.5f);
  PutStep(b, 0, {0, "Dough In", 122, 124, 131, 20, 2, 1.25f, 12.5f});
  PutStep(b, 1, {1, "Rest", 152, 150, 0, 60, 10, 0, 0});
  PutStep(b, 2, {2, "Boil", 168, 168, 0, 10, 15, 0, 6.0f});
  PutStep(b, 3, {1, "Unused slot", 200, 200, 0, 1, 1, 0, 0});
  for (std::size_t slot = 0; slot < 3; ++slot) b.Raw(SlotAt(slot) + 284, std::string(8, '\xFF'));

  const ReadResult r = ReadSchedule(b);
  const MashScheduleRecord& s = r.schedule;
  EXPECT_EQ(r.replaced, 0);
  EXPECT_EQ(r.position, kFileSize);
  EXPECT_FALSE(r.truncated);
  EXPECT_EQ(s.name, "Triple Decoction");
  EXPECT_EQ(s.step_count, 3);
  EXPECT_EQ(s.spare_count, 7);
  EXPECT_FLOAT_EQ(s.grain_temperature, 152.5f);
  EXPECT_FLOAT_EQ(s.spare_amount, 30.0f);
  EXPECT_FLOAT_EQ(s.spare_ratio, 1.5f);
  EXPECT_TRUE(s.field_errors.empty());
  ASSERT_EQ(s.steps.size(), 3u);

  const MashStepRecord& first = s.steps[0];
  EXPECT_EQ(first.name, "Dough In");
  EXPECT_EQ(first.type, 0);
  EXPECT_EQ(first.step_temperature, 122);
  EXPECT_EQ(first.end_temperature, 124);
  EXPECT_EQ(first.infuse_temperature, 131);
  EXPECT_EQ(first.step_time, 20);
  EXPECT_EQ(first.ramp_time, 2);
  EXPECT_FLOAT_EQ(first.water_grain_ratio, 1.25f);
  EXPECT_FLOAT_EQ(first.step_amount, 12.5f);
  EXPECT_TRUE(first.field_errors.empty());
  EXPECT_EQ(s.steps[1].name, "Rest");
  EXPECT_EQ(s.steps[1].type, 1);
  EXPECT_EQ(s.steps[1].end_temperature, 150);
  EXPECT_EQ(s.steps[2].name, "Boil");
  EXPECT_EQ(s.steps[2].type, 2);
  EXPECT_FLOAT_EQ(s.steps[2].step_amount, 6.0f);
}

TEST(MashReader, StepCountIsBoundedByTheFiftySlots) {
  struct Case {
    std::int32_t stored;
    std::size_t steps;
    std::int32_t code;
  };
  for (const Case c : {Case{0, 0, kInRange}, Case{50, 50, kInRange}, Case{51, 0, kAboveMaximum},
                       Case{-1, 0, kBelowMinimum}, Case{INT32_MIN, 0, kBelowMinimum}}) {
    SCOPED_TRACE(c.stored);
    Bytes b = Schedule(c.stored, 60.0f, "Named");
    for (std::size_t slot = 0; slot < 50; ++slot) {
      PutStep(b, slot, {1, "Step " + std::to_string(slot), static_cast<std::int32_t>(100 + slot),
                        0, 0, 5, 0, 0, 0});
    }
    const ReadResult r = ReadSchedule(b);
    EXPECT_EQ(r.schedule.name, "Named");
    EXPECT_EQ(r.position, kFileSize);
    ASSERT_EQ(r.schedule.steps.size(), c.steps);
    if (c.steps == 50) {
      EXPECT_EQ(r.schedule.steps[49].name, "Step 49");
      EXPECT_EQ(r.schedule.steps[49].step_temperature, 149);
    }
    if (c.code == kInRange) {
      EXPECT_TRUE(r.schedule.field_errors.empty());
      EXPECT_EQ(r.replaced, 0);
    } else {
      EXPECT_EQ(r.schedule.step_count, 0);
      ASSERT_EQ(r.schedule.field_errors.size(), 5u);
      EXPECT_EQ(r.schedule.field_errors[0], c.code);
      EXPECT_EQ(r.replaced, 1);
    }
  }
}

TEST(MashReader, HeaderRangesTestTheSpareCountAsAnInteger) {
  // 100001 and -1 as float bits are a tiny positive number and a NaN: only an integer test
  // tells them apart from the bounds.
  struct Case {
    std::int32_t spare_count;
    float grain_temperature;
    float spare_ratio;
    std::vector<std::int32_t> codes;
  };
  const Case cases[] = {
      {100000, 225.0f, 2.5f, {}},
      {100001, 226.0f, 2.6f, {0, 2, 2, 0, 2}},
      {-1, -0.5f, -1.0f, {0, 1, 1, 0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spare_count);
    Bytes b = Schedule(0, c.grain_temperature, "x");
    b.I32(4, c.spare_count).F32(16, c.spare_ratio);
    const ReadResult r = ReadSchedule(b);
    EXPECT_EQ(r.schedule.field_errors, c.codes);
    if (!c.codes.empty()) {
      EXPECT_EQ(r.schedule.spare_count, 0);
      EXPECT_EQ(r.schedule.grain_temperature, 0.0f);
      EXPECT_EQ(r.schedule.spare_ratio, 0.0f);
    }
  }
}

TEST(MashReader, OutOfRangeStepValuesBecomeZeroAndCountPerStep) {
  Bytes b = Schedule(3, 60.0f, "x");
  PutStep(b, 0, {0, "a", 300, 225, 0, 510, 511, 0, 0});
  PutStep(b, 1, {0, "b", 150, 150, -1, 60, 0, -0.5f, 100001.0f});
  PutStep(b, 2, {0, "c", 0, 0, 225, 0, 510, 100000.0f, 100000.0f});
  const ReadResult r = ReadSchedule(b);
  ASSERT_EQ(r.schedule.steps.size(), 3u);
  const MashStepRecord& a = r.schedule.steps[0];
  EXPECT_EQ(a.step_temperature, 0);
  EXPECT_EQ(a.end_temperature, 225);
  EXPECT_EQ(a.step_time, 510);
  EXPECT_EQ(a.ramp_time, 0);
  EXPECT_EQ(a.field_errors, (std::vector<std::int32_t>{0, 0, 2, 0, 0, 0, 2, 0, 0}));
  EXPECT_EQ(r.schedule.steps[1].field_errors,
            (std::vector<std::int32_t>{0, 0, 0, 0, 1, 0, 0, 1, 2}));
  EXPECT_TRUE(r.schedule.steps[2].field_errors.empty());
  EXPECT_TRUE(r.schedule.field_errors.empty());
  EXPECT_EQ(r.replaced, 2);
}

TEST(MashReader, TruncatedFileReadsMissingBytesAsZeros) {
  Bytes b = Schedule(2, 60.0f, "Lost");
  PutStep(b, 0, {0, "Kept", 150, 150, 160, 60, 5, 1.0f, 10.0f});
  PutStep(b, 1, {1, "Cut", 168, 168, 0, 10, 10, 0, 0});
  const ReadResult r = ReadSchedule(b.Prefix(SlotAt(1) + 256));  // ends inside the second step
  EXPECT_TRUE(r.truncated);
  ASSERT_EQ(r.schedule.steps.size(), 2u);
  EXPECT_EQ(r.schedule.steps[0].name, "Kept");
  EXPECT_EQ(r.schedule.steps[0].infuse_temperature, 160);
  EXPECT_EQ(r.schedule.steps[1].name, "Cut");
  EXPECT_EQ(r.schedule.steps[1].type, 1);
  EXPECT_EQ(r.schedule.steps[1].step_temperature, 0);
  EXPECT_EQ(r.schedule.name, "");

  const ReadResult header_only = ReadSchedule(b.Prefix(6));
  EXPECT_TRUE(header_only.truncated);
  EXPECT_EQ(header_only.schedule.step_count, 2);
  EXPECT_EQ(header_only.schedule.steps.size(), 2u);
  EXPECT_EQ(header_only.schedule.name, "");
}

TEST(MashReader, StepRecordsAreReadFromTheCurrentPosition) {
  Bytes b(7 + 2 * 292 + 3);
  PutStepAt(b, 7, {2, "Embedded", 158, 158, 0, 20, 15, 0, 3.0f});
  TempDir dir;
  std::string error;
  auto file = InputFile::Open(dir.Write("r.rec", b), error);
  ASSERT_TRUE(file);
  file->Skip(7);
  std::vector<MashStepRecord> steps(2);
  EXPECT_EQ(ReadMashStepRecords(*file, steps), 0);
  EXPECT_EQ(file->position(), 7u + 2 * 292);
  EXPECT_EQ(steps[0].name, "Embedded");
  EXPECT_EQ(steps[0].type, 2);
  EXPECT_FLOAT_EQ(steps[0].step_amount, 3.0f);
  EXPECT_EQ(steps[1].name, "");
}

// ---- Shared tables and composer ----

TEST(MashTables, EntryAndValueCounts) {
  EXPECT_EQ(std::size(MashTable), 33u);
  EXPECT_EQ(ValueCount(MashTable), 13u);
  EXPECT_EQ(std::size(MashStepTable), 42u);
  EXPECT_EQ(ValueCount(MashStepTable), 18u);
  ASSERT_EQ(std::size(MashCloseTable), 2u);
  EXPECT_EQ(MashCloseTable[0].kind, NodeKind::Parent);
  EXPECT_EQ(MashCloseTable[1].kind, NodeKind::Parent);
  EXPECT_EQ(MashTable[std::size(MashTable) - 1].kind, NodeKind::Element);
  EXPECT_STREQ(MashTable[std::size(MashTable) - 1].name, "mash_steps");

  NodeTable mash(MashTable);
  SwitchOffUnwrittenMashElements(mash);
  std::vector<std::string> off;
  for (const NodeSpec& e : MashTable) {
    if (e.kind != NodeKind::Element) continue;
    const auto i = static_cast<std::size_t>(&e - MashTable);
    if (!mash.IsOn(i)) off.emplace_back(e.name);
  }
  EXPECT_EQ(off, (std::vector<std::string>{"tun_temperature", "sparge_temperature", "pH",
                                           "tun_weight", "tun_specific_heat",
                                           "adjust_for_equipment"}));
}

TEST(MashTables, HeaderValuesLeaveTheUnwrittenElementsEmpty) {
  const MashView v = ComposeMashHeader("Simple Mash Type - Multi Step", "60.0");
  ASSERT_EQ(v.size(), 13u);
  EXPECT_EQ(v[0], "Simple Mash Type - Multi Step");
  EXPECT_EQ(v[1], "F");
  EXPECT_EQ(v[2], "60.0");
  for (std::size_t i = 3; i <= 11; ++i) EXPECT_FALSE(v[i].has_value()) << i;
  EXPECT_EQ(v[12], "");
}

using Values = std::vector<std::optional<std::string>>;
const std::nullopt_t none = std::nullopt;

struct Switches {
  bool infuse_amount, water_grain_ratio, infuse_temperature, decoction_amount;
  bool operator==(const Switches&) const = default;
};
Switches SwitchesOf(const NodeTable& t) {
  return {t.IsOn(kInfuseAmountEntry), t.IsOn(kWaterGrainRatioEntry),
          t.IsOn(kInfuseTemperatureEntry), t.IsOn(kDecoctionAmountEntry)};
}

TEST(MashComposer, EachKindGetsItsValuesSentenceAndElements) {
  NodeTable table(MashStepTable);

  const Values infusion = ComposeMashStep(table, 0, "Sacch", 12.5f, 152, 60, 5, 152, 166, 1.25f);
  EXPECT_EQ(infusion, (Values{"Sacch", "infusion", "qt", "12.50", "F", "152.0", "min", "60.0",
                              "min", "5.0", "F", "152.0", "Add 12.50 qt of water at 166.0 F",
                              "1.25", "F", "166.0", none, none}));
  EXPECT_EQ(SwitchesOf(table), (Switches{true, true, true, false}));

  const Values temperature = ComposeMashStep(table, 1, "Out", 9.0f, 168, 10, 0, 168, 170, 2.0f);
  EXPECT_EQ(temperature, (Values{"Out", "temperature", none, none, "F", "168.0", "min", "10.0",
                                 "min", "0.0", "F", "168.0", "Heat to 168.0 F over 0.0 min",
                                 none, none, none, none, none}));
  EXPECT_EQ(SwitchesOf(table), (Switches{false, false, false, false}));

  const Values decoction = ComposeMashStep(table, 2, "Pull", 3.0f, 158, 20, 15, 160, 0, 0.0f);
  EXPECT_EQ(decoction, (Values{"Pull", "decoction", none, none, "F", "158.0", "min", "20.0",
                               "min", "15.0", "F", "160.0", "Decoct 3.00 qt of mash and boil it",
                               none, none, none, "qt", "3.00"}));
  EXPECT_EQ(SwitchesOf(table), (Switches{false, false, false, true}));
}

TEST(MashComposer, UnknownKindWritesTheCommonElementsOnly) {
  NodeTable table(MashStepTable);
  for (const std::int32_t kind : {0, 2}) {
    // Whatever the step before it switched on, an unknown kind switches everything off.
    ComposeMashStep(table, kind, "before", 1.0f, 1, 1, 1, 1, 1, 1.0f);
    const Values v = ComposeMashStep(table, 3, "Odd", 4.0f, 150, 30, 5, 151, 170, 1.0f);
    EXPECT_EQ(v, (Values{"Odd", none, none, none, "F", "150.0", "min", "30.0", "min", "5.0", "F",
                         "151.0", none, none, none, none, none, none}));
    EXPECT_EQ(SwitchesOf(table), (Switches{false, false, false, false}));
  }
  EXPECT_FALSE(ComposeMashStep(table, 255, "x", 0, 0, 0, 0, 0, 0, 0)[1].has_value());
  EXPECT_FALSE(ComposeMashStep(table, -1, "x", 0, 0, 0, 0, 0, 0, 0)[1].has_value());
}

TEST(MashComposer, IntegersAreWrittenAsDecimalsWithTheirSign) {
  NodeTable table(MashStepTable);
  const Values v = ComposeMashStep(table, 0, std::nullopt, -2.5f, -5, 0, -10, -1, -40, -0.125f);
  EXPECT_EQ(v[0], "");
  EXPECT_EQ(v[3], "-2.50");
  EXPECT_EQ(v[5], "-5.0");
  EXPECT_EQ(v[7], "0.0");
  EXPECT_EQ(v[9], "-10.0");
  EXPECT_EQ(v[11], "-1.0");
  EXPECT_EQ(v[12], "Add -2.50 qt of water at -40.0 F");
  EXPECT_EQ(v[13], "-0.12");
  EXPECT_EQ(v[15], "-40.0");
  const Values big = ComposeMashStep(table, 1, "x", 0, INT32_MAX, 0, INT32_MIN, INT32_MIN, 0, 0);
  EXPECT_EQ(big[5], "2147483647.0");
  EXPECT_EQ(big[12], "Heat to -2147483648.0 F over -2147483648.0 min");
}

// ---- Whole conversions ----

struct Converted {
  testing::RunResult run;
  ParsedXml xml;
};

void ConvertSchedule(const Bytes& bytes, Converted& out, const std::string& name = "s.msh") {
  TempDir dir;
  out.run = testing::Convert(dir.Write(name, bytes));
  testing::ParseXmlFile(dir.Path(name.substr(0, name.size() - 3) + "xml"), out.xml);
}

std::vector<pugi::xml_node> Steps(pugi::xml_node mash) {
  std::vector<pugi::xml_node> steps;
  for (pugi::xml_node s : mash.child("mash_steps").children()) steps.push_back(s);
  return steps;
}

TEST(MashExport, WritesOneMashWithEveryStepKind) {
  Bytes b = Schedule(4, 152.5f, "Hochkurz");
  PutStep(b, 0, {0, "Dough In", 145, 146, 160, 30, 5, 1.5f, 15.0f});
  PutStep(b, 1, {1, "Raise", 162, 163, 0, 30, 12, 0, 0});
  PutStep(b, 2, {2, "Decoct", 168, 168, 0, 10, 20, 0, 4.25f});
  PutStep(b, 3, {9, "Kind nine", 170, 171, 0, 1, 2, 0, 0});
  Converted c;
  ConvertSchedule(b, c);
  EXPECT_EQ(c.run.exit_code, 0);
  EXPECT_EQ(c.run.out, "");
  EXPECT_EQ(c.run.err, "");
  ASSERT_TRUE(c.xml.result) << c.xml.result.description();

  const pugi::xml_node list = c.xml.List();
  EXPECT_STREQ(list.name(), "procedure");
  ASSERT_EQ(ChildNames(list), std::vector<std::string>{"mash"});
  const pugi::xml_node mash = list.child("mash");
  EXPECT_EQ(ChildNames(mash),
            (std::vector<std::string>{"name", "grain_temperature", "notes", "mash_steps"}));
  EXPECT_EQ(TextAt(mash, "name"), "Hochkurz");
  EXPECT_EQ(TextAt(mash, "grain_temperature"), "152.5");
  EXPECT_STREQ(mash.child("grain_temperature").attribute("degrees").value(), "F");
  EXPECT_EQ(TextAt(mash, "notes"), "");

  const auto steps = Steps(mash);
  ASSERT_EQ(steps.size(), 4u);
  const std::vector<std::string> common_tail = {"step_temperature", "step_time", "ramp_time",
                                                "end_temperature", "description"};
  EXPECT_EQ(ChildNames(steps[0]),
            (std::vector<std::string>{"name", "type", "infuse_amount", "step_temperature",
                                      "step_time", "ramp_time", "end_temperature", "description",
                                      "water_grain_ratio", "infuse_temperature"}));
  EXPECT_EQ(TextAt(steps[0], "infuse_amount"), "15.00");
  EXPECT_STREQ(steps[0].child("infuse_amount").attribute("volume").value(), "qt");
  EXPECT_EQ(TextAt(steps[0], "step_temperature"), "145.0");
  EXPECT_STREQ(steps[0].child("step_temperature").attribute("degrees").value(), "F");
  EXPECT_EQ(TextAt(steps[0], "step_time"), "30.0");
  EXPECT_STREQ(steps[0].child("step_time").attribute("duration").value(), "min");
  EXPECT_EQ(TextAt(steps[0], "ramp_time"), "5.0");
  EXPECT_STREQ(steps[0].child("ramp_time").attribute("duration").value(), "min");
  EXPECT_EQ(TextAt(steps[0], "end_temperature"), "146.0");
  EXPECT_STREQ(steps[0].child("end_temperature").attribute("degrees").value(), "F");
  EXPECT_EQ(TextAt(steps[0], "description"), "Add 15.00 qt of water at 160.0 F");
  EXPECT_EQ(TextAt(steps[0], "water_grain_ratio"), "1.50");
  EXPECT_EQ(TextAt(steps[0], "infuse_temperature"), "160.0");
  EXPECT_STREQ(steps[0].child("infuse_temperature").attribute("degrees").value(), "F");

  // The temperature step follows the infusion without inheriting its elements.
  EXPECT_EQ(ChildNames(steps[1]),
            (std::vector<std::string>{"name", "type", "step_temperature", "step_time",
                                      "ramp_time", "end_temperature", "description"}));
  EXPECT_EQ(TextAt(steps[1], "type"), "temperature");
  EXPECT_EQ(TextAt(steps[1], "description"), "Heat to 163.0 F over 12.0 min");

  EXPECT_EQ(ChildNames(steps[2]),
            (std::vector<std::string>{"name", "type", "step_temperature", "step_time",
                                      "ramp_time", "end_temperature", "description",
                                      "decoction_amount"}));
  EXPECT_EQ(TextAt(steps[2], "type"), "decoction");
  EXPECT_EQ(TextAt(steps[2], "description"), "Decoct 4.25 qt of mash and boil it");
  EXPECT_EQ(TextAt(steps[2], "decoction_amount"), "4.25");
  EXPECT_STREQ(steps[2].child("decoction_amount").attribute("volume").value(), "qt");

  EXPECT_EQ(ChildNames(steps[3]), ChildNames(steps[1]));
  EXPECT_EQ(TextAt(steps[3], "name"), "Kind nine");
  EXPECT_EQ(TextAt(steps[3], "type"), "");
  EXPECT_EQ(TextAt(steps[3], "description"), "");
  EXPECT_EQ(TextAt(steps[3], "end_temperature"), "171.0");
}

TEST(MashExport, EmptyStepListAndZeroGrainTemperature) {
  Converted c;
  ConvertSchedule(Schedule(0, 0.0f, "Nothing yet"), c);
  EXPECT_EQ(c.run.exit_code, 0);
  ASSERT_TRUE(c.xml.result);
  const pugi::xml_node mash = c.xml.List().child("mash");
  EXPECT_EQ(ChildNames(mash),
            (std::vector<std::string>{"name", "grain_temperature", "notes", "mash_steps"}));
  EXPECT_EQ(TextAt(mash, "grain_temperature"), "0.0");
  EXPECT_TRUE(ChildNames(mash.child("mash_steps")).empty());
}

TEST(MashExport, LongNamesAreWrittenWhole) {
  const std::string long_name = std::string(240, 'a') + "\x93quoted\x94 \xE9";
  ASSERT_EQ(long_name.size(), 250u);
  Bytes b = Schedule(1, 60.0f, long_name);
  PutStep(b, 0, {1, std::string(254, 'z'), 150, 150, 0, 60, 0, 0, 0});
  Converted c;
  ConvertSchedule(b, c, "long names.msh");
  ASSERT_TRUE(c.xml.result);
  const pugi::xml_node mash = c.xml.List().child("mash");
  EXPECT_EQ(TextAt(mash, "name"), std::string(240, 'a') + "\u201Cquoted\u201D \u00E9");
  EXPECT_EQ(TextAt(mash, "mash_steps/step/name"), std::string(254, 'z'));
}

TEST(MashExport, TruncatedFileIsConvertedWithAWarning) {
  Bytes b = Schedule(1, 60.0f, "Cut short");
  PutStep(b, 0, {1, "Only", 150, 150, 0, 60, 0, 0, 0});
  Converted c;
  ConvertSchedule(b.Prefix(SlotAt(1)), c);
  EXPECT_EQ(c.run.exit_code, 0);
  EXPECT_NE(c.run.err.find("truncated"), std::string::npos) << c.run.err;
  ASSERT_TRUE(c.xml.result);
  const pugi::xml_node mash = c.xml.List().child("mash");
  EXPECT_EQ(TextAt(mash, "name"), "");
  EXPECT_EQ(TextAt(mash, "mash_steps/step/name"), "Only");
}

// A document failure inside a mash keeps every later mash in the list, beside it.
TEST(MashExport, FailureInsideAMashKeepsTheNextOneInTheList) {
  std::vector<MashScheduleRecord> schedules(2);
  schedules[0].name = "First";
  schedules[1].name = "Second";
  schedules[1].steps.resize(1);
  schedules[1].steps[0].name = "Step";
  // Node operations of a mash without steps: 12 for its header, then 2 to close it.
  for (const std::uint64_t failing : {2u, 12u, 13u, 14u}) {
    SCOPED_TRACE(failing);
    TempDir dir;
    ExportRun run;
    run.faults.fail_operation = failing;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> console(std::tmpfile(), &std::fclose);
    run.console = console.get();
    const std::string path = dir.Path("out.xml");
    EXPECT_EQ(ExportMashSchedules(schedules, path, run), 0);
    EXPECT_EQ(run.failures_reported, 1);
    ParsedXml xml;
    testing::ParseXmlFile(path, xml);
    ASSERT_TRUE(xml.result);
    const pugi::xml_node list = xml.List();
    EXPECT_EQ(ChildNames(list), (std::vector<std::string>{"mash", "mash"}));
    const pugi::xml_node second = list.last_child();
    EXPECT_EQ(TextAt(second, "name"), "Second");
    EXPECT_EQ(TextAt(second, "mash_steps/step/name"), "Step");
  }
}

}  // namespace
}  // namespace kegverter
