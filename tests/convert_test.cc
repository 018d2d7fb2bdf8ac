// The conversion (driver/convert) of damaged files of every kind, end to end: truncation at every
// section boundary and inside fields, impossible counts, records of nothing but 0xFF or 0x00,
// inputs and outputs that the file system refuses, and document failures handed on.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "document/document_error.h"
#include "driver/convert.h"
#include "platform/files.h"
#include "tests/bad_input.h"
#include "tests/document_faults.h"
#include "tests/examples.h"

namespace kegverter::bad_input {
namespace {

namespace file = testing::file;
namespace fs = std::filesystem;

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

const std::string kTruncated =
    "kegverter: {in}: the file is truncated; the missing bytes were read as zeros";
const std::string kEmpty = "kegverter: {in}: the file is empty";

std::string NoCompleteRecord(std::int32_t count) {
  return "kegverter: {in}: the header count is " + std::to_string(count) +
         " but the file holds no complete record";
}
std::string OnlyComplete(std::int32_t count, int complete) {
  return "kegverter: {in}: the header count is " + std::to_string(count) + " but the file holds " +
         std::to_string(complete) + " complete record(s); converting those";
}
std::string NoRecords(const TestKind& kind, std::int32_t count) {
  return "kegverter: {in}: the " + kind.description() + " holds no records (its header counts " +
         std::to_string(count) + ")";
}

// A byte inside a number field of each database record (a field split by the cut).
std::size_t InsideANumber(Kind kind) {
  switch (kind) {
    case Kind::Extra:
      return 58;  // suggested_time, 56 to 59
    case Kind::Hops:
      return 57;  // alpha_acid, 55 to 58
    case Kind::Malt:
      return 169;  // potential, 167 to 170
    case Kind::Styles:
      return 113;  // original_gravity_min, 111 to 114
    case Kind::WaterDat:
      return 29;  // calcium, 27 to 30
    default:
      return 457;  // yeast attenuation_low, 455 to 458
  }
}

TEST(Convert, DatabasesTruncatedAtEveryBoundaryAndInsideFields) {
  for (const TestKind& kind : Databases()) {
    const std::size_t r = kind.record_size();
    const std::size_t mid = InsideANumber(kind.kind);
    const Bytes record = DatabaseRecord(kind.kind);
    const Bytes file = testing::Database(3, {record, record, record});
    struct Case {
      const char* where;
      std::size_t length;
      Expected expected;
    };
    const Case cases[] = {
        {"no byte", 0, {1, {kEmpty}}},
        {"inside the count", 2, {1, {NoCompleteRecord(3)}}},
        {"after the count", 4, {1, {NoCompleteRecord(3)}}},
        {"inside the first name", 4 + 10, {1, {NoCompleteRecord(3)}}},
        {"inside a number of the first record", 4 + mid, {1, {NoCompleteRecord(3)}}},
        {"at the end of the first record", 4 + r, {0, {OnlyComplete(3, 1)}, 1}},
        {"inside a number of the second record", 4 + r + mid, {0, {OnlyComplete(3, 1)}, 1}},
        {"at the end of the second record", 4 + 2 * r, {0, {OnlyComplete(3, 2)}, 2}},
        {"one byte short", 4 + 3 * r - 1, {0, {OnlyComplete(3, 2)}, 2}},
        {"complete", 4 + 3 * r, {0, {}, 3}},
        {"with bytes after the records", 4 + 3 * r + 7, {0, {}, 3}},
    };
    for (const Case& c : cases) {
      TempDir dir;
      Bytes bytes = file.Prefix(c.length);
      if (c.length > file.size()) bytes.Append(Bytes(c.length - file.size()).Fill('x'));
      Converted out;
      ConvertCase(dir, kind, bytes, c.expected, std::string(kind.file_name) + " " + c.where, out);
    }
  }
}

TEST(Convert, SingleRecordFilesTruncatedAtEveryBoundaryAndInsideFields) {
  constexpr std::size_t kSlot0 = file::kMashScheduleHeaderSize;
  constexpr std::size_t kSlot = file::kMashStepSize;
  struct Case {
    Kind kind;
    const char* where;
    std::size_t length;
    Expected expected;
    std::vector<std::pair<const char*, std::string>> texts;  // element path in the record, text
  };
  const std::vector<Case> cases = {
      // A water profile: name 0-26, six minerals and a skipped field 27-54, pH 55-58, notes.
      {Kind::Wtr, "no byte", 0, {1, {kEmpty}}, {}},
      {Kind::Wtr, "inside the name", 3, {0, {kTruncated}}, {{"name", "Bur"}, {"calcium", "0.0"}}},
      {Kind::Wtr,
       "after the name",
       27,
       {0, {kTruncated}},
       {{"name", "Burton"}, {"calcium", "0.0"}}},
      {Kind::Wtr, "inside calcium", 29, {0, {kTruncated}}, {{"calcium", "0.0"}}},
      {Kind::Wtr,
       "inside the skipped field",
       41,
       {0, {kTruncated}},
       {{"calcium", "268.0"}, {"sodium", "30.0"}, {"sulfate", "0.0"}}},
      {Kind::Wtr, "inside pH", 57, {0, {kTruncated}}, {{"bicarbonate", "141.0"}, {"pH", "0.0"}}},
      {Kind::Wtr, "before the notes", 59, {0, {kTruncated}}, {{"pH", "7.5"}, {"notes", ""}}},
      {Kind::Wtr, "inside the notes", 63, {0, {kTruncated}}, {{"notes", "Hard"}}},
      {Kind::Wtr,
       "one byte short",
       file::kWaterSize - 1,
       {0, {kTruncated}},
       {{"notes", "Hard water"}}},
      {Kind::Wtr, "complete", file::kWaterSize, {0, {}}, {{"name", "Burton"}, {"pH", "7.5"}}},
      {Kind::Wtr,
       "with bytes after the record",
       file::kWaterSize + 8,
       {0, {}},
       {{"notes", "Hard water"}}},
      // A mash schedule: header 0-19, fifty step slots of 292 bytes, the name at 14620.
      {Kind::Msh, "no byte", 0, {1, {kEmpty}}, {}},
      {Kind::Msh,
       "inside the step count",
       2,
       {0, {kTruncated}},
       {{"name", ""}, {"grain_temperature", "0.0"}, {"mash_steps/step/name", ""}}},
      {Kind::Msh,
       "inside the grain temperature",
       10,
       {0, {kTruncated}},
       {{"grain_temperature", "0.0"}}},
      {Kind::Msh,
       "after the header",
       kSlot0,
       {0, {kTruncated}},
       {{"grain_temperature", "60.0"}, {"mash_steps/step/name", ""}}},
      {Kind::Msh,
       "inside the first step's name",
       kSlot0 + 7,
       {0, {kTruncated}},
       {{"mash_steps/step/name", "Protein"}}},
      {Kind::Msh,
       "inside the second step's temperature",
       kSlot0 + kSlot + 258,
       {0, {kTruncated}},
       {{"mash_steps/step/name", "Protein Rest"}}},
      {Kind::Msh,
       "inside an unused slot",
       kSlot0 + 4 * kSlot + 50,
       {0, {kTruncated}},
       {{"name", ""}}},
      {Kind::Msh,
       "before the name",
       file::kMashScheduleNameOffset,
       {0, {kTruncated}},
       {{"name", ""}}},
      {Kind::Msh,
       "inside the name",
       file::kMashScheduleNameOffset + 4,
       {0, {kTruncated}},
       {{"name", "Step"}}},
      {Kind::Msh, "complete", file::kMashScheduleSize, {0, {}}, {{"name", "Step Mash"}}},
      {Kind::Msh,
       "with bytes after the name",
       file::kMashScheduleSize + 9,
       {0, {}},
       {{"name", "Step Mash"}}},
  };
  for (const Case& c : cases) {
    const TestKind& kind = Info(c.kind);
    const Bytes file =
        c.kind == Kind::Wtr ? file::ToBytes(SoundWater()) : file::ToBytes(SoundMashSchedule());
    Bytes bytes = file.Prefix(c.length);
    if (c.length > file.size()) bytes.Append(Bytes(c.length - file.size()).Fill('x'));
    TempDir dir;
    Converted out;
    const std::string label = std::string(kind.file_name) + " " + c.where;
    ConvertCase(dir, kind, bytes, c.expected, label, out);
    if (c.expected.exit_code != 0) continue;
    for (const auto& [path, text] : c.texts) {
      EXPECT_EQ(testing::TextAt(out.Record(), path), text) << label << ": " << path;
    }
    if (c.kind == Kind::Msh) {
      // The step count survives every cut but the first two bytes: three steps, zeros or not.
      EXPECT_EQ(out.Record().child("mash_steps").select_nodes("step").size(), 3u) << label;
    }
  }
}

// Counts of a recipe's output: the items of each list, the mash steps (-1 for no mash).
// Leaves `n` copies of the list's first entry.
template <class T>
void KeepCopiesOfFirst(std::vector<T>& list, std::size_t n) {
  const T first = list.front();
  list.assign(n, first);
}

struct RecipeShape {
  int hops = 2;
  int fermentables = 1;
  int miscs = 1;
  int yeasts = 1;
  int waters = 1;
  int mash_steps = 2;
  std::string name = "Pale Ale";
  std::string notes = "Mash at 152 F";
};

void ExpectShape(pugi::xml_node recipe, const RecipeShape& s, const std::string& label) {
  SCOPED_TRACE(label);
  const pugi::xml_node ingredients = recipe.child("ingredients");
  const auto items = [&](const char* list, const char* item) {
    return static_cast<int>(ingredients.child(list).select_nodes(item).size());
  };
  EXPECT_EQ(items("hop_bill", "hop"), s.hops);
  EXPECT_EQ(items("grain_bill", "fermentable"), s.fermentables);
  EXPECT_EQ(items("adjuncts", "miscellaneous"), s.miscs);
  EXPECT_EQ(items("yeast_additions", "yeast"), s.yeasts);
  EXPECT_EQ(items("water_profile", "water"), s.waters);
  // A list without items is left out altogether.
  for (const char* list :
       {"hop_bill", "grain_bill", "adjuncts", "yeast_additions", "water_profile"}) {
    if (ingredients.child(list)) {
      EXPECT_GT(testing::ChildNames(ingredients.child(list)).size(), 0u) << list;
    }
  }
  const pugi::xml_node mash = recipe.child("mash");
  EXPECT_EQ(mash ? static_cast<int>(mash.child("mash_steps").select_nodes("step").size()) : -1,
            s.mash_steps);
  EXPECT_EQ(testing::TextAt(recipe, "name"), s.name);
  EXPECT_EQ(testing::TextAt(recipe, "notes"), s.notes);
}

TEST(Convert, RecipeTruncatedAfterEverySectionAndInsideFields) {
  // Section starts of the sound recipe: two hops, one fermentable, one miscellaneous ingredient.
  constexpr std::size_t kStyle = file::kRecipeHeaderSize;
  constexpr std::size_t kHops = kStyle + file::kStyleSize;
  constexpr std::size_t kFermentables = kHops + 2 * file::kHopAdditionSize;
  constexpr std::size_t kMiscs = kFermentables + file::kFermentableAdditionSize;
  constexpr std::size_t kYeast = kMiscs + file::kMiscAdditionSize;
  constexpr std::size_t kGap = kYeast + file::kYeastSize;
  constexpr std::size_t kWater = kGap + file::kRecipeGapSize;
  constexpr std::size_t kProcess = kWater + file::kWaterSize;
  constexpr std::size_t kNotes = kProcess + 62;  // the notes start 62 bytes into the section
  constexpr std::size_t kSlots = kProcess + file::kProcessSize;
  constexpr std::size_t kSchedule = kSlots + file::kMashSteps * file::kMashStepSize;
  constexpr std::size_t kEnd = kSchedule + file::kScheduleSize;
  const Bytes bytes = file::ToBytes(SoundRecipe());
  ASSERT_EQ(bytes.size(), kEnd);

  // What survives a cut, section by section.
  RecipeShape nothing{0, 0, 0, 0, 0, -1, "Pale Ale", ""};
  RecipeShape lists = nothing;
  lists.hops = 2, lists.fermentables = 1, lists.miscs = 1;
  RecipeShape with_yeast = lists;
  with_yeast.yeasts = 1;
  RecipeShape with_water = with_yeast;
  with_water.waters = 1;
  RecipeShape one_rest = with_water;  // the mash out is cut off
  one_rest.mash_steps = 1;
  RecipeShape part_notes = with_water;
  part_notes.mash_steps = 2, part_notes.notes = "Mash at";
  const RecipeShape whole;

  struct Case {
    const char* where;
    std::size_t length;
    RecipeShape shape;
  };
  RecipeShape short_name = nothing;
  short_name.name = "Pale";
  RecipeShape hop_count_only = nothing;
  hop_count_only.hops = 2;
  const Case cases[] = {
      {"inside the name", 4, short_name},
      {"after the name", 85, nothing},
      {"inside the hop count", 87, hop_count_only},
      {"after the header", kStyle, lists},
      {"inside the style", kStyle + 500, lists},
      {"after the style", kHops, lists},
      {"inside the second hop", kHops + 635 + 300, lists},
      {"after the hops", kFermentables, lists},
      {"after the fermentable", kMiscs, lists},
      {"after the miscellaneous ingredient", kYeast, lists},
      {"inside the yeast", kYeast + 20, with_yeast},
      {"after the yeast", kGap, with_yeast},
      {"after the gap", kWater, with_yeast},
      {"inside the water's name", kWater + 3, with_water},
      {"after the water", kProcess, with_water},
      {"inside the rests", kProcess + 40, one_rest},
      {"inside the notes", kNotes + 7, part_notes},
      {"after the process section", kSlots, whole},
      {"inside the second step slot", kSlots + 292 + 100, whole},
      {"after the step slots", kSchedule, whole},
      {"inside the schedule", kSchedule + 3, whole},
  };
  const TestKind& kind = Info(Kind::Rec);
  for (const Case& c : cases) {
    TempDir dir;
    Converted out;
    const std::string label = std::string("recipe cut ") + c.where;
    ConvertCase(dir, kind, bytes.Prefix(c.length), {0, {kTruncated}}, label, out);
    if (out.records.size() == 1) ExpectShape(out.Record(), c.shape, label);
  }
  for (const std::size_t length : {std::size_t{0}, kEnd}) {
    TempDir dir;
    Converted out;
    const bool empty = length == 0;
    ConvertCase(dir, kind, bytes.Prefix(length), empty ? Expected{1, {kEmpty}} : Expected{},
                "recipe of " + std::to_string(length) + " bytes", out);
    if (!empty) ExpectShape(out.Record(), whole, "complete recipe");
  }
}

TEST(Convert, DatabaseCounts) {
  struct Case {
    std::int32_t count;
    int converted;  // 0: nothing written
    bool warns;
  };
  // The files hold two complete records.
  const Case cases[] = {
      {0, 0, false}, {-1, 0, false}, {kInt32Min, 0, false},
      {1, 1, false}, {3, 2, true},   {kInt32Max, 2, true},
  };
  for (const TestKind& kind : Databases()) {
    const Bytes record = DatabaseRecord(kind.kind);
    for (const Case& c : cases) {
      Expected expected;
      if (c.converted == 0) {
        expected = {1, {NoRecords(kind, c.count)}};
      } else {
        expected.records = c.converted;
        if (c.warns) expected.err = {OnlyComplete(c.count, 2)};
      }
      TempDir dir;
      Converted out;
      ConvertCase(dir, kind, testing::Database(c.count, {record, record}), expected,
                  std::string(kind.file_name) + " counting " + std::to_string(c.count), out);
    }
  }
}

TEST(Convert, RecipeListCounts) {
  struct List {
    const char* words;  // how the warning names the list
    // Sets the list's count in the header, with `entries` copies of its first entry in the file.
    void (*set)(file::Recipe& f, std::int32_t count, std::size_t entries);
    int RecipeShape::*items;
  };
  const List lists[] = {
      {"hop",
       [](file::Recipe& f, std::int32_t count, std::size_t entries) {
         KeepCopiesOfFirst(f.hops, entries);
         f.header.hop_count = count;
       },
       &RecipeShape::hops},
      {"fermentable",
       [](file::Recipe& f, std::int32_t count, std::size_t entries) {
         KeepCopiesOfFirst(f.fermentables, entries);
         f.header.fermentable_count = count;
       },
       &RecipeShape::fermentables},
      {"miscellaneous ingredient",
       [](file::Recipe& f, std::int32_t count, std::size_t entries) {
         KeepCopiesOfFirst(f.miscs, entries);
         f.header.misc_count = count;
       },
       &RecipeShape::miscs},
  };
  struct Case {
    std::int32_t count;
    bool entries_in_file;  // the file holds `count` entries of the list, else none
    const char* warning;   // after "the recipe's <list> list counts <count> entries"
  };
  const Case cases[] = {
      {-1, false, "; the list was left out"},
      {kInt32Min, false, "; the list was left out"},
      {101, true, ", more than 100; the list was left out"},
      {101, false, ", more than the file holds; the list was left out"},
      {kInt32Max, false, ", more than the file holds; the list was left out"},
  };
  const TestKind& kind = Info(Kind::Rec);
  for (const List& list : lists) {
    for (const Case& c : cases) {
      file::Recipe f = SoundRecipe();
      list.set(f, c.count, c.entries_in_file ? static_cast<std::size_t>(c.count) : 0);
      const std::string label =
          std::string(list.words) + " list counting " + std::to_string(c.count);
      TempDir dir;
      Converted out;
      ConvertCase(dir, kind, file::ToBytes(f),
                  {0,
                   {"kegverter: {in}: the recipe's " + std::string(list.words) + " list counts " +
                    std::to_string(c.count) + " entries" + c.warning}},
                  label, out);
      // The list is left out; every later section is read from its own bytes.
      RecipeShape shape;
      shape.*list.items = 0;
      if (out.records.size() == 1) ExpectShape(out.Record(), shape, label);
    }
  }
}

TEST(Convert, MashStepCounts) {
  // A step count outside 0 to 50 keeps no step, silently; 50 uses every slot.
  struct Case {
    std::int32_t count;
    int steps;  // -1: no mash
  };
  const Case cases[] = {{-1, -1}, {kInt32Min, -1}, {0, -1}, {50, 50}, {51, -1}, {kInt32Max, -1}};
  for (const Case& c : cases) {
    const std::string count = std::to_string(c.count);
    {
      TempDir dir;
      Converted out;
      file::MashSchedule schedule = SoundMashSchedule();
      schedule.step_count = c.count;
      ConvertCase(dir, Info(Kind::Msh), file::ToBytes(schedule), {0, {}, 1},
                  "mash schedule counting " + count + " steps", out);
      if (out.records.size() == 1) {
        EXPECT_EQ(out.Record().child("mash_steps").select_nodes("step").size(),
                  static_cast<std::size_t>(std::max(c.steps, 0)))
            << count;
        EXPECT_EQ(testing::TextAt(out.Record(), "name"), "Step Mash") << count;
      }
    }
    {
      // A recipe whose mash is its step list.
      file::Recipe f = SoundRecipe(true);
      const file::MashStep first = f.steps.front();  // more steps repeat it
      f.steps.resize(std::min<std::size_t>(file::kMashSteps, std::max(c.count, 0)), first);
      f.SyncCounts();
      f.process.mash_step_count = c.count;
      RecipeShape shape;
      shape.mash_steps = c.steps;
      TempDir dir;
      Converted out;
      const std::string label = "recipe counting " + count + " steps";
      ConvertCase(dir, Info(Kind::Rec), file::ToBytes(f), {0, {}, 1}, label, out);
      if (out.records.size() == 1) ExpectShape(out.Record(), shape, label);
    }
  }
}

TEST(Convert, RecordsOfOnlyOnesOrOnlyZeros) {
  // A name field filled with 0xFF has no terminator: all its bytes are the name, each U+00FF.
  const auto all_ff = [](std::size_t width) { return ReadBack(std::string(width, '\xFF')); };
  const std::string rec_warning =
      "kegverter: {in}: the recipe's %s list counts -1 entries; the list was left out";
  const auto list_warning = [&](const char* list) { return Replace(rec_warning, "%s", list); };
  struct Case {
    Kind kind;
    std::uint8_t fill;
    Expected expected;
    const char* name_path;  // inside the record element
    std::string name;
  };
  const std::vector<Case> cases = {
      {Kind::Extra, 0xFF, {0, {}, 2}, "name", all_ff(55)},
      {Kind::Hops, 0xFF, {0, {}, 2}, "name", all_ff(55)},
      {Kind::Malt, 0xFF, {0, {}, 2}, "name", all_ff(55)},
      {Kind::Styles, 0xFF, {0, {}, 2}, "category", all_ff(55)},
      {Kind::WaterDat, 0xFF, {0, {}, 2}, "name", all_ff(27)},
      {Kind::Yeast, 0xFF, {0, {}, 2}, "name", all_ff(55)},
      {Kind::Wtr, 0xFF, {0, {}, 1}, "name", all_ff(27)},
      {Kind::Msh, 0xFF, {0, {}, 1}, "name", all_ff(255)},
      {Kind::Rec,
       0xFF,
       {0,
        {list_warning("hop"), list_warning("fermentable"),
         list_warning("miscellaneous ingredient")},
        1},
       "name",
       all_ff(85)},
      {Kind::Extra, 0x00, {0, {}, 2}, "name", ""},
      {Kind::Hops, 0x00, {0, {}, 2}, "name", ""},
      {Kind::Malt, 0x00, {0, {}, 2}, "name", ""},
      {Kind::Styles, 0x00, {0, {}, 2}, "category", ""},
      {Kind::WaterDat, 0x00, {0, {}, 2}, "name", ""},
      {Kind::Yeast, 0x00, {0, {}, 2}, "name", ""},
      {Kind::Wtr, 0x00, {0, {}, 1}, "name", ""},
      {Kind::Msh, 0x00, {0, {}, 1}, "name", ""},
      {Kind::Rec, 0x00, {0, {}, 1}, "name", ""},
  };
  for (const Case& c : cases) {
    const TestKind& kind = Info(c.kind);
    Bytes file;
    if (kind.record_size() != 0) {
      const Bytes record = Bytes(kind.record_size()).Fill(c.fill);
      file = testing::Database(2, {record, record});
    } else {
      const std::size_t size = c.kind == Kind::Wtr   ? file::kWaterSize
                               : c.kind == Kind::Msh ? file::kMashScheduleSize
                                                     : file::kBareRecipeSize;
      file = Bytes(size).Fill(c.fill);
    }
    char label[64];
    std::snprintf(label, sizeof label, "%s of 0x%02X", kind.file_name, c.fill);
    TempDir dir;
    Converted out;
    ConvertCase(dir, kind, file, c.expected, label, out);
    for (const pugi::xml_node record : out.records) {
      EXPECT_EQ(testing::TextAt(record, c.name_path), c.name) << label;
    }
    if (c.kind == Kind::Msh && !out.records.empty()) {
      // A step count of -1 (or 0) keeps no step.
      EXPECT_EQ(out.Record().child("mash_steps").select_nodes("step").size(), 0u) << label;
    }
    if (c.kind == Kind::Rec && !out.records.empty()) {
      // Every list count is -1 or 0, so no list has items; a name of 0xFF bytes is a name, so
      // yeast and water are there. Rests of -1 make no step, and a mash without steps is none.
      const bool ff = c.fill == 0xFF;
      RecipeShape shape{0, 0, 0, ff ? 1 : 0, ff ? 1 : 0, -1, c.name, ff ? all_ff(4028) : ""};
      ExpectShape(out.Record(), shape, label);
    }
  }
}

TEST(Convert, DirectoryAsInput) {
  for (const TestKind& kind : TestKinds()) {
    TempDir dir;
    fs::create_directories(dir.Path(kind.file_name));
    Converted out;
    RunCase(kind, dir.Path(kind.file_name), {1, {"kegverter: {in}: cannot open: is a directory"}},
            std::string("folder named ") + kind.file_name, out);
    EXPECT_TRUE(fs::is_directory(dir.Path(kind.file_name)));
  }
}

TEST(Convert, OutputPathIsADirectory) {
  for (const TestKind& kind : TestKinds()) {
    TempDir dir;
    const std::string input = dir.Write(kind.file_name, SoundFile(kind.kind));
    fs::create_directories(OutputOf(input));
    Expected expected{1, {"kegverter: {out}: not written: is a directory"}};
    expected.read = kind.record_size() != 0 ? 2 : 1;  // the extra.dat dump comes from the reader
    Converted out;
    RunCase(kind, input, expected, std::string("output of ") + kind.file_name, out);
    EXPECT_TRUE(fs::is_directory(OutputOf(input)));
  }
  // Warnings about the input come before the line about the output.
  TempDir dir;
  const TestKind& wtr = Info(Kind::Wtr);
  const std::string input = dir.Write(wtr.file_name, file::ToBytes(SoundWater()).Prefix(100));
  fs::create_directories(OutputOf(input));
  Converted out;
  RunCase(wtr, input, {1, {kTruncated, "kegverter: {out}: not written: is a directory"}},
          "truncated, output a folder", out);
}

TEST(Convert, ExistingOutputSurvivesAFailedRun) {
  const std::string old_output = "<old>the previous conversion</old>\n";
  struct Case {
    const char* what;
    Kind kind;
    std::string name;
    Bytes content;
    Expected expected;
  };
  const std::vector<Case> cases = {
      {"counts no records",
       Kind::Hops,
       "hops.dat",
       testing::Database(0, {DatabaseRecord(Kind::Hops)}),
       {1, {NoRecords(Info(Kind::Hops), 0)}}},
      {"holds no complete record",
       Kind::Styles,
       "styles.dat",
       testing::Database(1, {Bytes(30)}),
       {1, {NoCompleteRecord(1)}}},
      {"is empty", Kind::Rec, "Pale Ale.rec", Bytes(), {1, {kEmpty}}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string input = dir.Write(c.name, c.content);
    dir.Write(fs::path(OutputOf(input)).filename().string(), old_output);
    Converted out;
    RunCase(Info(c.kind), input, c.expected, std::string("input that ") + c.what, out);
    EXPECT_EQ(testing::ReadFile(OutputOf(input)), old_output) << c.what;
  }
}

TEST(Convert, PermissionsRefused) {
#if defined(_WIN32)
  GTEST_SKIP() << "no POSIX permissions on Windows (see WindowsFiles in platform_test.cc)";
#endif
  // Permissions do not stop the superuser: find out whether they stop us.
  TempDir probe;
  const std::string locked = probe.Write("locked", "x");
  fs::permissions(locked, fs::perms::none);
  std::FILE* opened = std::fopen(locked.c_str(), "rb");
  if (opened != nullptr) {
    std::fclose(opened);
    GTEST_SKIP() << "running with permission to read any file (as root)";
  }

  // An unreadable input.
  const TestKind& rec = Info(Kind::Rec);
  {
    TempDir dir;
    const std::string input = dir.Write(rec.file_name, file::ToBytes(SoundRecipe()));
    fs::permissions(input, fs::perms::none);
    Converted out;
    RunCase(rec, input, {1, {"kegverter: {in}: cannot open: Permission denied"}},
            "unreadable input", out);
  }
  // A folder where nothing can be written: the existing output stays as it was.
  {
    TempDir dir;
    const std::string input = dir.Write(rec.file_name, file::ToBytes(SoundRecipe()));
    const std::string old_output = "<old/>\n";
    dir.Write("Pale Ale.xml", old_output);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    Converted out;
    RunCase(rec, input, {1, {"kegverter: {out}: not written: Permission denied"}},
            "read-only folder", out);
    EXPECT_EQ(testing::ReadFile(OutputOf(input)), old_output);
    fs::permissions(dir.path(), fs::perms::owner_all);
  }
}

#if !defined(_WIN32)
// kegverter's own save on a disk that refuses it: a full file system, one that fills while the
// output is written, a read-only one. Each is mounted in the test's own mount namespace (see
// testing::Mounts; not built for Windows, which has no counterpart). An existing output stays
// byte for byte as it was, the run exits 1 with the reason, and no temporary file is left.

const std::string kPreviousOutput = "<old>the previous conversion, kept whole</old>\n";

// The names in `folder`, sorted.
std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// What a refused save prints: the reason on stderr (databases have been read, and extra.dat
// dumped, by then), and no "Processed" line.
Expected NotWritten(const TestKind& kind, const std::string& reason) {
  Expected expected{1, {"kegverter: {out}: not written: " + reason}};
  expected.read = kind.record_size() != 0 ? 2 : 1;
  return expected;
}

TEST(Convert, AFullFileSystemLeavesTheExistingOutputAsItWas) {
  TempDir dir;
  testing::Mounts mounts;
  if (!mounts.why().empty()) GTEST_SKIP() << mounts.why();
  for (const TestKind& kind : TestKinds()) {
    const std::string label = std::string("full, ") + kind.file_name;
    SCOPED_TRACE(label);
    const std::string sub = std::string("full ") + kind.file_name;
    const std::string folder = dir.Path(sub);
    fs::create_directories(folder);
    ASSERT_TRUE(mounts.Small(folder, 64)) << mounts.why();
    const std::string input = dir.Write(sub + "/" + kind.file_name, SoundFile(kind.kind));
    const std::string output = OutputOf(input);
    dir.Write(sub + "/" + fs::path(output).filename().string(), kPreviousOutput);
    ASSERT_EQ(testing::FillFileSystem(folder + "/filler"), "");
    const std::vector<std::string> before = NamesIn(folder);

    Converted out;
    RunCase(kind, input, NotWritten(kind, "No space left on device"), label, out);
    EXPECT_EQ(testing::ReadFile(output), kPreviousOutput);
    EXPECT_EQ(NamesIn(folder), before);
    EXPECT_EQ(testing::FreeBytes(folder), 0u);  // nothing half-written holds a block either
  }
}

// The disk fills while the output is written: the first blocks of it reach the disk, the rest
// does not fit. A hops.dat of many varieties whose output is several times the room left,
// which itself is several times the stream's buffer (64 KiB, platform/files.cc), so that some
// of the output is written before a write fails.
TEST(Convert, ADiskThatFillsWhileTheOutputIsWrittenLeavesTheExistingOutputAsItWas) {
  constexpr std::uint64_t kStreamBuffer = 64 * 1024;
  constexpr int kRoomKib = 384;
  std::vector<file::Hop> hops(2000, SoundHop());
  for (std::size_t i = 0; i < hops.size(); ++i) {
    hops[i].name = "Variety " + std::to_string(i);
    hops[i].notes = std::string(150, 'n');
    hops[i].best_for = std::string(150, 'b');
    hops[i].substitutes = std::string(150, 's');
  }
  TempDir dir;
  // The input lies outside the small disk; the disk holds a link to it, so that all its room
  // is the output's.
  const std::string database = dir.Write("source/hops.dat", file::DatabaseOf(hops));
  const std::string roomy = dir.Write("roomy/hops.dat", file::DatabaseOf(hops));
  ASSERT_EQ(testing::Convert(roomy).exit_code, 0);
  const std::uint64_t whole = fs::file_size(OutputOf(roomy));

  const std::string folder = dir.Path("small");
  fs::create_directories(folder);
  testing::Mounts mounts;
  if (!mounts.why().empty()) GTEST_SKIP() << mounts.why();
  ASSERT_TRUE(mounts.Small(folder, kRoomKib)) << mounts.why();
  const std::string input = folder + "/hops.dat";
  fs::create_symlink(database, input);
  dir.Write("small/hops.xml", kPreviousOutput);
  const std::uint64_t room = testing::FreeBytes(folder);
  ASSERT_GT(room, 3 * kStreamBuffer);
  ASSERT_GT(whole, 3 * room);

  Converted out;
  RunCase(Info(Kind::Hops), input, {1, {"kegverter: {out}: not written: No space left on device"}},
          "a disk that fills", out);
  EXPECT_EQ(testing::ReadFile(OutputOf(input)), kPreviousOutput);
  EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"hops.dat", "hops.xml"}));
  EXPECT_EQ(testing::FreeBytes(folder), room);  // what was written is gone again
}

TEST(Convert, AReadOnlyFileSystemLeavesTheExistingOutputAsItWas) {
  TempDir dir;
  testing::Mounts mounts;
  if (!mounts.why().empty()) GTEST_SKIP() << mounts.why();
  for (const TestKind& kind : TestKinds()) {
    const std::string label = std::string("read-only, ") + kind.file_name;
    SCOPED_TRACE(label);
    const std::string kept = std::string("kept ") + kind.file_name;
    const std::string source = dir.Write(kept + "/" + kind.file_name, SoundFile(kind.kind));
    const std::string name = fs::path(OutputOf(source)).filename().string();
    dir.Write(kept + "/" + name, kPreviousOutput);
    const std::string folder = dir.Path(std::string("frozen ") + kind.file_name);
    fs::create_directories(folder);
    ASSERT_TRUE(mounts.ReadOnly(dir.Path(kept), folder)) << mounts.why();

    Converted out;
    RunCase(kind, folder + "/" + kind.file_name, NotWritten(kind, "Read-only file system"), label,
            out);
    EXPECT_EQ(testing::ReadFile(folder + "/" + name), kPreviousOutput);
    EXPECT_EQ(NamesIn(dir.Path(kept)), (std::vector<std::string>{kind.file_name, name}));
  }
}
#endif

// The writers only collect their reports; the conversion hands them on with the output written
// incomplete, which the program reports after printing them and exits 1.
TEST(Convert, DocumentFailureIsReportedAndTheOutputCountsAsIncomplete) {
  TempDir dir;
  const testing::SimulatedDocumentFaults faults({.fail_operation = 3, .code = 0x80040203});
  ConversionRequest request;
  request.input = dir.Write("Pale Ale.rec", testing::RecipeExample());
  const ConversionResult result = ConvertFile(request);
  EXPECT_EQ(result.status, ConversionResult::Status::Failed);
  EXPECT_TRUE(result.saved);
  EXPECT_EQ(result.records, 1);
  EXPECT_EQ(result.reports, FormatErrorReport(DocumentError(0x80040203)));
  ASSERT_FALSE(result.messages.empty());
  EXPECT_EQ(result.messages.back().text, "written incomplete: 1 document failure(s) reported");
}

// Every format saves the same way. By default the output replaces an existing file atomically;
// a caller that stages its outputs (the batch program, which flushes many at once) has the file
// written aside, and the output changes only when the caller commits it: the same bytes, and
// nothing else left behind.
TEST(Convert, EveryFormatSavesAsTheRequestSays) {
  for (const FormatInfo& format : Formats()) {
    for (const testing::ExampleFile& example : testing::ExampleFiles()) {
      for (const int unnamed_limit : {0, UnnamedFileLimit()}) {
        SCOPED_TRACE(std::string(format.name) + " " + example.name + " " +
                     std::to_string(unnamed_limit));
        TempDir dir;
        ConversionRequest request;
        request.input = dir.Write(example.name, example.make());
        request.format = format.format;
        request.output = dir.Write("output", std::string_view("old"));
        ConversionResult result = ConvertFile(request);
        EXPECT_EQ(result.status, ConversionResult::Status::Written);
        const std::string replaced = testing::ReadFile(request.output);
        EXPECT_NE(replaced, "old");

        dir.Write("output", std::string_view("old"));
        StagedOutput staged(request.output, unnamed_limit);
        request.staged = &staged;
        result = ConvertFile(request);
        EXPECT_EQ(result.status, ConversionResult::Status::Written);
        EXPECT_TRUE(staged.written());
        EXPECT_EQ(testing::ReadFile(request.output), "old");
        EXPECT_EQ(CommitStaged({&staged}), std::vector<std::string>{""});
        EXPECT_FALSE(staged.written());
        EXPECT_EQ(testing::ReadFile(request.output), replaced);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
      }
    }
  }
}

}  // namespace
}  // namespace kegverter::bad_input
