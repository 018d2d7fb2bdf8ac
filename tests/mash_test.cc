// '.msh' files end to end: the schedule and its step slots as source/mash reads them, the step
// composer and the procedure list of beerxml2/mash_writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "beerxml2/mash_writer.h"
#include "model/from_source.h"
#include "source/input_file.h"
#include "source/mash.h"
#include "tests/document_faults.h"
#include "tests/fixture.h"
#include "tests/records.h"
#include "tests/write_records.h"

namespace kegverter {
namespace {

using testing::Bytes;
using testing::ChildNames;
using testing::ParsedXml;
using testing::TempDir;
using testing::TextAt;

namespace file = testing::file;

file::MashSchedule Schedule(std::int32_t step_count, float grain_temperature, std::string name) {
  return {
      .step_count = step_count, .grain_temperature = grain_temperature, .name = std::move(name)};
}

// A step slot, its type first.
file::MashStep Slot(std::uint8_t type, std::string name, std::int32_t step_temperature,
                    std::int32_t end_temperature, std::int32_t infuse_temperature,
                    std::int32_t step_time, std::int32_t ramp_time, float water_grain_ratio,
                    float step_amount) {
  return {std::move(name), type,      step_temperature,  end_temperature, infuse_temperature,
          step_time,       ramp_time, water_grain_ratio, step_amount,     ""};
}

void PutStep(file::MashSchedule& m, std::size_t slot, const file::MashStep& s) {
  if (m.steps.size() <= slot) m.steps.resize(slot + 1);
  m.steps[slot] = s;
}

struct ReadResult {
  MashScheduleRecord schedule;
  std::int32_t replaced = 0;
  std::uint64_t position = 0;
  bool truncated = false;
};

ReadResult ReadSchedule(const Bytes& bytes) {
  TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("s.msh", bytes), error);
  EXPECT_TRUE(input) << error;
  ReadResult r;
  if (!input) return r;
  r.replaced = ReadMashSchedule(*input, std::span<MashScheduleRecord>(&r.schedule, 1));
  r.position = input->position();
  r.truncated = input->truncated();
  return r;
}

// A step's fields in slot order, so that whole steps compare at once.
std::string Fields(const MashStepRecord& s) {
  char numbers[200];
  std::snprintf(numbers, sizeof numbers, "|%d|%d|%d|%d|%d|%d|%g|%g", s.type, s.step_temperature,
                s.end_temperature, s.infuse_temperature, s.step_time, s.ramp_time,
                static_cast<double>(s.water_grain_ratio), static_cast<double>(s.step_amount));
  return s.name.value_or("<null>") + numbers;
}

// ---- Reader ----

TEST(MashReader, StepsComeFromTheirSlotsAndTheNameFromTheEnd) {
  file::MashSchedule b = Schedule(3, 152.5f, "Triple Decoction");
  b.spare_count = 7;
  b.spare_amount = 30.0f;
  b.spare_ratio = 1.5f;
  PutStep(b, 0, Slot(0, "Dough In", 122, 124, 131, 20, 2, 1.25f, 12.5f));
  PutStep(b, 1, Slot(1, "Rest", 152, 150, 0, 60, 10, 0, 0));
  PutStep(b, 2, Slot(2, "Boil", 168, 168, 0, 10, 15, 0, 6.0f));
  PutStep(b, 3, Slot(1, "Unused slot", 200, 200, 0, 1, 1, 0, 0));
  for (std::size_t slot = 0; slot < 3; ++slot) b.steps[slot].unread = std::string(8, '\xFF');

  const ReadResult r = ReadSchedule(file::ToBytes(b));
  const MashScheduleRecord& s = r.schedule;
  EXPECT_EQ(r.replaced, 0);
  EXPECT_EQ(r.position, file::kMashScheduleSize);
  EXPECT_FALSE(r.truncated);
  EXPECT_EQ(s.name, "Triple Decoction");
  EXPECT_EQ(s.step_count, 3);
  EXPECT_EQ(s.spare_count, 7);
  EXPECT_FLOAT_EQ(s.grain_temperature, 152.5f);
  EXPECT_FLOAT_EQ(s.spare_amount, 30.0f);
  EXPECT_FLOAT_EQ(s.spare_ratio, 1.5f);
  EXPECT_TRUE(s.field_errors.empty());
  ASSERT_EQ(s.steps.size(), 3u);

  EXPECT_EQ(Fields(s.steps[0]), "Dough In|0|122|124|131|20|2|1.25|12.5");
  EXPECT_EQ(Fields(s.steps[1]), "Rest|1|152|150|0|60|10|0|0");
  EXPECT_EQ(Fields(s.steps[2]), "Boil|2|168|168|0|10|15|0|6");
  for (const MashStepRecord& step : s.steps) EXPECT_TRUE(step.field_errors.empty());
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
    file::MashSchedule b = Schedule(c.stored, 60.0f, "Named");
    for (std::size_t slot = 0; slot < 50; ++slot) {
      PutStep(b, slot,
              Slot(1, "Step " + std::to_string(slot), static_cast<std::int32_t>(100 + slot), 0, 0,
                   5, 0, 0, 0));
    }
    const ReadResult r = ReadSchedule(file::ToBytes(b));
    EXPECT_EQ(r.schedule.name, "Named");
    EXPECT_EQ(r.position, file::kMashScheduleSize);
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
    file::MashSchedule b = Schedule(0, c.grain_temperature, "x");
    b.spare_count = c.spare_count;
    b.spare_ratio = c.spare_ratio;
    const ReadResult r = ReadSchedule(file::ToBytes(b));
    EXPECT_EQ(r.schedule.field_errors, c.codes);
    if (!c.codes.empty()) {
      EXPECT_EQ(r.schedule.spare_count, 0);
      EXPECT_EQ(r.schedule.grain_temperature, 0.0f);
      EXPECT_EQ(r.schedule.spare_ratio, 0.0f);
    }
  }
}

TEST(MashReader, OutOfRangeStepValuesBecomeZeroAndCountPerStep) {
  file::MashSchedule b = Schedule(3, 60.0f, "x");
  PutStep(b, 0, Slot(0, "a", 300, 225, 0, 510, 511, 0, 0));
  PutStep(b, 1, Slot(0, "b", 150, 150, -1, 60, 0, -0.5f, 100001.0f));
  PutStep(b, 2, Slot(0, "c", 0, 0, 225, 0, 510, 100000.0f, 100000.0f));
  const ReadResult r = ReadSchedule(file::ToBytes(b));
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
  file::MashSchedule b = Schedule(2, 60.0f, "Lost");
  PutStep(b, 0, Slot(0, "Kept", 150, 150, 160, 60, 5, 1.0f, 10.0f));
  PutStep(b, 1, Slot(1, "Cut", 168, 168, 0, 10, 10, 0, 0));
  const ReadResult r = ReadSchedule(file::ToBytes(b).Prefix(
      file::kMashScheduleHeaderSize + file::kMashStepSize + 256));  // ends inside the second step
  EXPECT_TRUE(r.truncated);
  ASSERT_EQ(r.schedule.steps.size(), 2u);
  EXPECT_EQ(Fields(r.schedule.steps[0]), "Kept|0|150|150|160|60|5|1|10");
  EXPECT_EQ(Fields(r.schedule.steps[1]), "Cut|1|0|0|0|0|0|0|0");
  EXPECT_EQ(r.schedule.name, "");

  const ReadResult header_only = ReadSchedule(file::ToBytes(b).Prefix(6));
  EXPECT_TRUE(header_only.truncated);
  EXPECT_EQ(header_only.schedule.step_count, 2);
  EXPECT_EQ(header_only.schedule.steps.size(), 2u);
  EXPECT_EQ(header_only.schedule.name, "");
}

TEST(MashReader, StepRecordsAreReadFromTheCurrentPosition) {
  Bytes b(7);
  b.Append(file::ToBytes(Slot(2, "Embedded", 158, 158, 0, 20, 15, 0, 3.0f)));
  b.Append(Bytes(file::kMashStepSize + 3));
  TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("r.rec", b), error);
  ASSERT_TRUE(input);
  input->Skip(7);
  std::vector<MashStepRecord> steps(2);
  EXPECT_EQ(ReadMashStepRecords(*input, steps), 0);
  EXPECT_EQ(input->position(), 7u + 2 * file::kMashStepSize);
  EXPECT_EQ(Fields(steps[0]), "Embedded|2|158|158|0|20|15|0|3");
  EXPECT_EQ(Fields(steps[1]), "|0|0|0|0|0|0|0|0");
}

// ---- Shared tables and composer ----

TEST(MashTables, UnwrittenHeaderElementsAreSwitchedOff) {
  NodeTable mash(kMashTable);
  SwitchOffUnwrittenMashElements(mash);
  std::vector<std::string> off;
  for (std::size_t i = 0; i < kMashTable.entries.size(); ++i) {
    const NodeSpec& e = kMashTable.entries[i];
    if (e.kind == NodeKind::Element && !mash.IsOn(i)) off.emplace_back(e.name);
  }
  EXPECT_EQ(off,
            (std::vector<std::string>{"tun_temperature", "sparge_temperature", "pH", "tun_weight",
                                      "tun_specific_heat", "adjust_for_equipment"}));
}

// The values a step writes, by slot; every slot not named is absent.
using StepValues = std::map<MashStepSlot, std::string>;

void ExpectStepValues(const NodeValues<MashStepSlot>& values, const StepValues& expected) {
  for (std::size_t i = 0; i < kSlotCount<MashStepSlot>; ++i) {
    const auto slot = static_cast<MashStepSlot>(i);
    const auto it = expected.find(slot);
    if (it == expected.end()) {
      EXPECT_FALSE(values[slot].has_value()) << "slot " << i << ": " << *values[slot];
    } else {
      EXPECT_EQ(values[slot], it->second) << "slot " << i;
    }
  }
}

struct Switches {
  bool infuse_amount, water_grain_ratio, infuse_temperature, decoction_amount;
  bool operator==(const Switches&) const = default;
};
Switches SwitchesOf(const NodeTable<MashStepSlot>& t) {
  return {t.IsOn(kInfuseAmountEntry), t.IsOn(kWaterGrainRatioEntry),
          t.IsOn(kInfuseTemperatureEntry), t.IsOn(kDecoctionAmountEntry)};
}

// A step as the model derives it from a stored slot, its kind first.
model::MashStep Step(std::uint8_t kind, std::string_view name, float amount,
                     std::int32_t temperature, std::int32_t time, std::int32_t ramp,
                     std::int32_t end, std::int32_t infuse, float ratio) {
  MashScheduleRecord schedule;
  schedule.step_count = 1;
  schedule.steps.push_back({.name = std::string(name),
                            .type = kind,
                            .step_temperature = temperature,
                            .end_temperature = end,
                            .infuse_temperature = infuse,
                            .step_time = time,
                            .ramp_time = ramp,
                            .water_grain_ratio = ratio,
                            .step_amount = amount,
                            .field_errors = {}});
  return model::ModelOf(schedule).steps.at(0);
}

TEST(MashComposer, UnknownKindWritesTheCommonElementsOnly) {
  using enum MashStepSlot;
  NodeTable table(kMashStepTable);
  for (const std::uint8_t kind : {std::uint8_t{0}, std::uint8_t{2}}) {
    // Whatever the step before it switched on, an unknown kind switches everything off.
    ComposeMashStep(Step(kind, "before", 1.0f, 1, 1, 1, 1, 1, 1.0f), table);
    ExpectStepValues(ComposeMashStep(Step(3, "Odd", 4.0f, 150, 30, 5, 151, 170, 1.0f), table),
                     {{kName, "Odd"},
                      {kStepTemperatureUnit, "F"},
                      {kStepTemperature, "150.0"},
                      {kStepTimeUnit, "min"},
                      {kStepTime, "30.0"},
                      {kRampTimeUnit, "min"},
                      {kRampTime, "5.0"},
                      {kEndTemperatureUnit, "F"},
                      {kEndTemperature, "151.0"}});
    EXPECT_EQ(SwitchesOf(table), (Switches{false, false, false, false}));
  }
  EXPECT_FALSE(ComposeMashStep(Step(255, "x", 0, 0, 0, 0, 0, 0, 0), table)[kType].has_value());
}

TEST(MashComposer, IntegersAreWrittenAsDecimalsWithTheirSign) {
  using enum MashStepSlot;
  NodeTable table(kMashStepTable);
  ExpectStepValues(ComposeMashStep(Step(0, {}, -2.5f, -5, 0, -10, -1, -40, -0.125f), table),
                   {{kName, ""},
                    {kType, "infusion"},
                    {kInfuseAmountUnit, "qt"},
                    {kInfuseAmount, "-2.50"},
                    {kStepTemperatureUnit, "F"},
                    {kStepTemperature, "-5.0"},
                    {kStepTimeUnit, "min"},
                    {kStepTime, "0.0"},
                    {kRampTimeUnit, "min"},
                    {kRampTime, "-10.0"},
                    {kEndTemperatureUnit, "F"},
                    {kEndTemperature, "-1.0"},
                    {kDescription, "Add -2.50 qt of water at -40.0 F"},
                    {kWaterGrainRatio, "-0.12"},
                    {kInfuseTemperatureUnit, "F"},
                    {kInfuseTemperature, "-40.0"}});
  EXPECT_EQ(SwitchesOf(table), (Switches{true, true, true, false}));
}

// ---- Whole conversions ----

using testing::Converted;

void ConvertSchedule(const file::MashSchedule& m, Converted& out,
                     const std::string& name = "s.msh") {
  testing::ConvertBytes(name, file::ToBytes(m), out);
}

std::vector<std::string> Contents(pugi::xml_node node) { return testing::ElementLines(node); }

using Lines = std::vector<std::string>;

TEST(MashExport, WritesOneMashWithEveryStepKind) {
  file::MashSchedule b = Schedule(4, 152.5f, "Hochkurz");
  PutStep(b, 0, Slot(0, "Dough In", 145, 146, 160, 30, 5, 1.5f, 15.0f));
  PutStep(b, 1, Slot(1, "Raise", 162, 163, 0, 30, 12, 0, 0));
  PutStep(b, 2, Slot(2, "Decoct", 168, 168, 0, 10, 20, 0, 4.25f));
  PutStep(b, 3, Slot(9, "Kind nine", 170, 171, 0, 1, 2, 0, 0));
  Converted c;
  ConvertSchedule(b, c);
  EXPECT_EQ(c.run.exit_code, 0);
  EXPECT_EQ(c.run.out, "");
  EXPECT_EQ(c.run.err, "");
  ASSERT_TRUE(c.xml.result) << c.xml.result.description();

  const pugi::xml_node list = c.xml.List();
  EXPECT_STREQ(list.name(), "procedure");
  ASSERT_EQ(ChildNames(list), Lines{"mash"});
  const pugi::xml_node mash = list.child("mash");
  EXPECT_EQ(Contents(mash),
            (Lines{"name Hochkurz", "grain_temperature@degrees=F 152.5", "notes ", "mash_steps"}));

  std::vector<Lines> steps;
  for (pugi::xml_node step : mash.child("mash_steps").children()) steps.push_back(Contents(step));
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0], (Lines{"name Dough In", "type infusion", "infuse_amount@volume=qt 15.00",
                             "step_temperature@degrees=F 145.0", "step_time@duration=min 30.0",
                             "ramp_time@duration=min 5.0", "end_temperature@degrees=F 146.0",
                             "description Add 15.00 qt of water at 160.0 F",
                             "water_grain_ratio 1.50", "infuse_temperature@degrees=F 160.0"}));
  // The temperature step follows the infusion without inheriting its elements.
  EXPECT_EQ(steps[1], (Lines{"name Raise", "type temperature", "step_temperature@degrees=F 162.0",
                             "step_time@duration=min 30.0", "ramp_time@duration=min 12.0",
                             "end_temperature@degrees=F 163.0",
                             "description Heat to 163.0 F over 12.0 min"}));
  EXPECT_EQ(steps[2], (Lines{"name Decoct", "type decoction", "step_temperature@degrees=F 168.0",
                             "step_time@duration=min 10.0", "ramp_time@duration=min 20.0",
                             "end_temperature@degrees=F 168.0",
                             "description Decoct 4.25 qt of mash and boil it",
                             "decoction_amount@volume=qt 4.25"}));
  EXPECT_EQ(steps[3], (Lines{"name Kind nine", "type ", "step_temperature@degrees=F 170.0",
                             "step_time@duration=min 1.0", "ramp_time@duration=min 2.0",
                             "end_temperature@degrees=F 171.0", "description "}));
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
  // Built by appending: g++ 12 misreports `std::string(n, c) + "..."` as out of bounds.
  std::string long_name(240, 'a');
  long_name += "\x93quoted\x94 \xE9";
  ASSERT_EQ(long_name.size(), 250u);
  file::MashSchedule b = Schedule(1, 60.0f, long_name);
  PutStep(b, 0, Slot(1, std::string(254, 'z'), 150, 150, 0, 60, 0, 0, 0));
  Converted c;
  ConvertSchedule(b, c, "long names.msh");
  ASSERT_TRUE(c.xml.result);
  const pugi::xml_node mash = c.xml.List().child("mash");
  std::string written(240, 'a');
  written += "\u201Cquoted\u201D \u00E9";
  EXPECT_EQ(TextAt(mash, "name"), written);
  EXPECT_EQ(TextAt(mash, "mash_steps/step/name"), std::string(254, 'z'));
}

// A document failure inside a mash keeps every later mash in the list, beside it.
TEST(MashExport, FailureInsideAMashKeepsTheNextOneInTheList) {
  std::vector<MashScheduleRecord> schedules(2);
  schedules[0].name = "First";
  schedules[1].name = "Second";
  schedules[1].step_count = 1;  // as the reader leaves it: the count of the steps read
  schedules[1].steps.resize(1);
  schedules[1].steps[0].name = "Step";
  // Node operations of a mash without steps: 12 for its header, then 2 to close it.
  for (const std::uint64_t failing : {2u, 12u, 13u, 14u}) {
    SCOPED_TRACE(failing);
    TempDir dir;
    const testing::SimulatedDocumentFaults faults({.fail_operation = failing});
    ExportRun run;
    const std::string path = dir.Path("out.xml");
    testing::WriteRecords<MashScheduleRecord>(OutputFormat::BeerXml2, schedules, run);
    ASSERT_TRUE(testing::SaveWriterOutput(run, path));
    EXPECT_EQ(run.failures_reported, 1);
    EXPECT_EQ(run.reports, FormatErrorReport(DocumentError(kUnspecifiedError)));
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
