// The plan of a batch run: every file found under the paths given, what kind it is, and the one
// output path each convertible file gets. Two inputs that would share an output are told apart
// before anything is written, yet the plan never holds the run's paths: a first walk keeps a
// fixed-size key of each output, a second walk finds the same files again, in the same order, and
// names each output from those keys as it goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "driver/registry.h"

namespace kegverter {

/// How one input ended, as the report and the summary name it.
enum class EntryStatus : std::uint8_t {
  Converted,  ///< written completely, nothing to say
  Warned,     ///< written completely, with warnings
  Failed,     ///< not written (or not readable); the reasons say why
  Skipped,    ///< not a file to convert (unknown, not converted, not followed)
  UpToDate,   ///< its output is newer than it; left alone
};
inline constexpr std::size_t kEntryStatusCount = 5;

/// The report's word for a status ("converted", "up to date", ...).
const char* StatusName(EntryStatus status);

struct PlanEntry {
  std::string input;               ///< the path as found: a PATH, or a PATH joined with names
  const KindInfo* kind = nullptr;  ///< null: not a kind the program knows
  bool convert = false;            ///< true: a worker converts it to `output`
  EntryStatus status = EntryStatus::Skipped;  ///< when not `convert`: Skipped or Failed
  std::string reason;                         ///< when not `convert`: why
  bool listed_only = false;  ///< a skip that only --verbose mentions (a file of no known kind)
  std::string output;        ///< where the output goes, when `convert`
  /// When the output was renamed to keep it apart from another input's: the name it would have
  /// had, and a note for the summary. Empty otherwise.
  std::string renamed_from;
  const char* rename_note = "";
};

struct PlanOptions {
  std::vector<std::string> paths;
  std::string output_dir;  ///< empty: outputs beside their inputs
  OutputFormat format = OutputFormat::BeerXml2;
  bool follow_links = false;  ///< walk into symbolic links to folders
};

/// Plans a run in two walks over the paths (PATHs as given, each folder sorted by name). Holds
/// 16 bytes per input to convert, a few per folder, and the listings of the folders being walked;
/// never the paths of the run. Never throws for anything the file system does: an unreadable
/// folder, a dangling link or a loop is one Failed or Skipped entry, and the walk goes on. Reads
/// folder listings and the types of entries; opens no file.
class Planner {
 public:
  explicit Planner(const PlanOptions& options);
  ~Planner();
  Planner(const Planner&) = delete;
  Planner& operator=(const Planner&) = delete;

  /// The first walk: counts the inputs to convert and names their outputs apart. False when the
  /// paths cannot be walked as asked (a PATH inside the output folder); `usage_error` says why
  /// and nothing is planned.
  bool Survey();
  const std::string& usage_error() const;
  /// The inputs to convert that the first walk found.
  std::size_t to_convert() const;

  /// The second walk, after Survey: the next entry in walk order; false at the end. An input
  /// found now and not by the first walk is a Skipped entry, never converted (its output could
  /// take a name given to another input); one that vanished since is not an entry at all.
  bool Next(PlanEntry& entry);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// Both walks at once, every entry kept (in walk order): for a caller that wants the whole plan.
struct Plan {
  std::vector<PlanEntry> entries;
  std::size_t to_convert = 0;  ///< entries with `convert`
  std::string usage_error;     ///< not empty: the paths cannot be walked as asked; no entries
};
Plan MakePlan(const PlanOptions& options);

/// The output file name of an input file name in one format: the name, trimmed as kegverter
/// trims it, with its last three characters replaced by the format's extension ("Pale Ale.rec"
/// gives "Pale Ale.xml"); with `whole_name`, the trimmed name followed by a dot and the
/// extension ("Pale Ale.rec.xml").
std::string OutputNameOf(std::string_view input_name, const FormatInfo& format, bool whole_name);

/// One file of a list of paths, as kegverter-batch plans it.
struct PlannedOutput {
  std::string_view kind;     ///< the kind's label; empty for a file of no known kind
  std::string output;        ///< the output's path below the output folder; empty: not converted
  std::string reason;        ///< when not converted: why, in the report's words
  std::string renamed_from;  ///< when named apart from another input's output: its usual name
  std::size_t position = 0;  ///< its place in the walk's order (a path given twice: the first's)
};

/// The outputs `kegverter-batch -o DIR --to FORMAT ITEM...` gives the files of `paths`, without a
/// file system: each path is '/'-separated, its first component the ITEM (a file, or a folder that
/// holds the rest of the path), the ITEMs taken in name order. Names outputs apart exactly as the
/// Planner does, each output's path relative to DIR. One entry per path, in the order given.
std::vector<PlannedOutput> PlanOutputs(std::span<const std::string> paths, OutputFormat format);

}  // namespace kegverter
