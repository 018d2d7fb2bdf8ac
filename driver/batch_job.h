// One job of a batch run: converting one planned input into a staged output, and putting a group
// of finished outputs in place together. What the run's parts share is here too: the program's
// name in messages and how an input ended.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "driver/batch.h"
#include "driver/batch_plan.h"
#include "driver/convert.h"
#include "driver/printf.h"
#include "output/save.h"
#include "platform/files.h"

namespace kegverter::batch {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

inline constexpr const char* kProgram = "kegverter-batch";

// How one input ended.
struct Outcome {
  EntryStatus status = EntryStatus::Failed;
  std::vector<ConversionMessage> messages;
  std::int32_t records = 0;
  double milliseconds = 0;
  /// A complete output waiting to be flushed to disk with its group and put in place.
  StagedOutput staged;
};

inline Outcome Failure(const std::string& subject, std::string text) {
  Outcome outcome;
  outcome.messages.push_back({subject, std::move(text)});
  return outcome;
}

// The output folders made so far, shared by the workers: each folder is made once, and one that
// cannot be made fails each of its files with the same reason. Folders are known by a hash of
// their path; two that shared one would only mean that a file's output fails for want of its
// folder.
class OutputFolders {
 public:
  /// Makes `folder` and the folders above it unless that was done; returns why it cannot be
  /// made, or nothing. `fresh` tells whether this run made it: no output was there before.
  std::string Make(const fs::path& folder, bool& fresh);

 private:
  struct Folder {
    std::string failure;  // why it cannot be made, or empty
    bool fresh = false;   // made by this run
  };
  std::mutex mutex_;
  std::unordered_map<std::size_t, Folder> made_;
};

/// A conversion that was written: converted, or warned when it said anything.
EntryStatus WrittenStatus(const std::vector<ConversionMessage>& messages);

/// Converts one planned input on a worker thread. The output is staged (StagedOutput) and kept
/// when the conversion succeeded and the input did not change while it was read; CommitGroup
/// puts it in place. An output present afterwards is always a whole conversion of a whole input.
/// With `whole_run`, the records go into that document instead of an output of their own.
Outcome ConvertEntry(const PlanEntry& entry, const BatchOptions& options, OutputFolders& folders,
                     int unnamed_limit, WholeRunDocument* whole_run);

// An entry of the run from the walk that finds it to its line in the report.
struct Pending {
  PlanEntry entry;
  Outcome outcome;
  bool ended = false;  // the outcome is final: the entry can be recorded
};

/// Flushes staged outputs to disk together, then puts each in place: the content is on disk
/// before the name points at it, as kegverter's own flush before its rename ensures, with one
/// wait for the disk per group instead of one per file.
void CommitGroup(const std::vector<Pending*>& group);

}  // namespace kegverter::batch
