// The bad-input cases' shared parts: every file kind under a test file name, a sound file of each
// kind, and running one case through the executable. Each case states the exit status, the whole
// stderr lines and the number of record elements written; every written file must parse and hold
// no non-number.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "driver/registry.h"
#include "tests/fixture.h"
#include "tests/records.h"

namespace kegverter::bad_input {

using testing::Bytes;
using testing::ParsedXml;
using testing::ReadBack;
using testing::RunResult;
using testing::TempDir;

enum class Kind { Extra, Hops, Malt, Styles, WaterDat, Yeast, Wtr, Msh, Rec };

/// A file kind as the cases write it: the registry's row (list and record elements, record
/// size, description) and the input's name inside the test folder.
struct TestKind {
  Kind kind;
  const char* file_name;
  const KindInfo* row;

  std::string list() const;
  std::string record() const;
  /// Bytes per record after the count (databases), else 0.
  std::size_t record_size() const { return row->record_size; }
  std::string description() const { return row->description; }
};

/// Every kind, the six databases first.
std::span<const TestKind> TestKinds();
std::span<const TestKind> Databases();
const TestKind& Info(Kind kind);

// Sound records of every kind, each field distinct from zero.
testing::file::Misc SoundMisc();
testing::file::Malt SoundMalt();
testing::file::Hop SoundHop();
testing::file::Style SoundStyle();
testing::file::Water SoundWater();
testing::file::Yeast SoundYeast();
/// One sound record of a database kind (a water record for Wtr).
Bytes DatabaseRecord(Kind kind);

/// Temporary files a save left in `folder`.
std::vector<std::string> LeftoverTemporaries(const std::filesystem::path& folder);
/// A mash schedule with three steps in use, one of each type, named "Step Mash".
testing::file::MashSchedule SoundMashSchedule();
/// A schedule named "Two" with two steps in use: an infusion ("Rest", 152 F for 60 minutes with
/// 12.5 quarts) and a step of kind 7 ("Odd"), which the application defines no meaning for.
testing::file::MashSchedule ScheduleWithAnUnknownStepKind();
/// A recipe with two hops, a fermentable, a miscellaneous ingredient, yeast, water, notes, a
/// two-rest simple mash and two steps in its step list. `step_list` selects the step list as the
/// recipe's mash instead of the simple mash.
testing::file::Recipe SoundRecipe(bool step_list = false);
/// A sound file of the kind: two records for a database.
Bytes SoundFile(Kind kind);

/// What a case must produce. "{in}" and "{out}" in the stderr lines stand for the input path and
/// the output path.
struct Expected {
  int exit_code = 0;
  std::vector<std::string> err;
  int records = 1;  ///< record elements in the written file
  int read = -1;    ///< records the reader went through (extra.dat dumps); -1: `records`
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

std::string OutputOf(const std::string& input);
/// `text` with every `from` replaced by `to`.
std::string Replace(std::string text, const std::string& from, const std::string& to);

/// Runs the executable on `input` (already written) and checks exit status, stderr, stdout, the
/// output's presence, that it parses, and its record count. `label` names the case in failures.
void RunCase(const TestKind& kind, const std::string& input, const Expected& expected,
             const std::string& label, Converted& c);

/// Writes `file` under the kind's name (or `name`) in `dir` and runs the case.
void ConvertCase(const TempDir& dir, const TestKind& kind, const Bytes& file,
                 const Expected& expected, const std::string& label, Converted& c,
                 const std::string& name = "");

/// A text field's value: up to its first zero byte, trailing tabs, line breaks and blanks gone.
std::string FieldText(std::string_view bytes);

}  // namespace kegverter::bad_input
