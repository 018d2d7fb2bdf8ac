#include "driver/batch.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>
#include <unordered_map>
#include <utility>

#include <CLI/CLI.hpp>

#include "driver/batch_plan.h"
#include "driver/batch_report.h"
#include "driver/convert.h"
#include "output/save.h"
#include "platform/files.h"
#include "platform/terminal.h"
#include "platform/unicode.h"

namespace kegverter {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kProgram = "kegverter-batch";

// The entries between the walk and the report: found, waiting for a worker, being converted,
// waiting for their group's flush, or done and waiting for an earlier entry to be recorded (the
// report is in walk order). The walk waits while this many are pending, so that a run holds
// about the same whatever its size; the number is large enough that the workers always have
// files to convert while a group of outputs is flushed.
constexpr std::size_t kWindow = 1024;
// Finished outputs wait for one flush to disk together: as soon as this many are waiting, or
// for a second. The thread that reports flushes a group while the workers convert the next, so
// the groups grow as large as a flush is slow: each flush waits for everything written to the
// file system, and with large groups there are few of them, while with a fast disk the last
// group, which no conversion overlaps, stays small.
constexpr std::size_t kFlushGroup = 16;
constexpr auto kFlushDelay = std::chrono::seconds(1);

// Files done that the thread that reports waits for before it wakes (or a tenth of a second).
constexpr std::size_t kEventBatch = 32;

// printf into a std::string.
template <class... Args>
std::string Format(const char* format, Args... args) {
  const int size = std::snprintf(nullptr, 0, format, args...);
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  if (size > 0) std::snprintf(text.data(), text.size() + 1, format, args...);
  return text;
}

// How one input ended.
struct Outcome {
  EntryStatus status = EntryStatus::Failed;
  std::vector<ConversionMessage> messages;
  std::int32_t records = 0;
  double milliseconds = 0;
  /// A complete output waiting to be flushed to disk with its group and put in place.
  StagedOutput staged;
};

Outcome Failure(const std::string& subject, std::string text) {
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
  std::string Make(const fs::path& folder, bool& fresh) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto [known, first] =
        made_.emplace(std::hash<std::string>{}(Utf8FromPath(folder)), Folder());
    if (first) {
      std::error_code ec;
      known->second.fresh = fs::create_directories(folder, ec);
      if (ec) known->second.failure = ec.message();
    }
    fresh = known->second.fresh;
    return known->second.failure;
  }

 private:
  struct Folder {
    std::string failure;  // why it cannot be made, or empty
    bool fresh = false;   // made by this run
  };
  std::mutex mutex_;
  std::unordered_map<std::size_t, Folder> made_;
};

// The format of an existing output file, from its first bytes; null when there is none or it
// is not one the program writes.
const FormatInfo* FormatOfOutput(const std::string& path) {
  std::string error;
  std::FILE* file = OpenForReading(path, error);
  if (file == nullptr) return nullptr;
  char head[512];
  const std::size_t got = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  return FormatOfContent(std::string_view(head, got));
}

// A conversion that was written: converted, or warned when it said anything.
EntryStatus WrittenStatus(const std::vector<ConversionMessage>& messages) {
  return messages.empty() ? EntryStatus::Converted : EntryStatus::Warned;
}

// Converts one planned input on a worker thread. The output is staged (StagedOutput) and kept
// when the conversion succeeded and the input did not change while it was read; CommitGroup
// puts it in place. An output present afterwards is always a whole conversion of a whole input.
Outcome ConvertEntry(const PlanEntry& entry, const BatchOptions& options, OutputFolders& folders,
                     int unnamed_limit, WholeRunDocument* whole_run) {
  FileInfo before;
  std::string error;
  if (!StatPath(entry.input, true, before, error)) {
    return Failure(entry.input, "cannot open: " + error);
  }
  if (before.type != FileInfo::Type::Regular) {
    return Failure(entry.input,
                   std::string("cannot open: ") + before.other + ", not a regular file");
  }
  if (whole_run != nullptr) {
    ConversionRequest request;
    request.input = entry.input;
    request.whole_run = whole_run;
    const ConversionResult result = ConvertFile(request);
    Outcome outcome;
    outcome.records = result.records;
    outcome.messages = result.messages;
    outcome.status = result.status != ConversionResult::Status::Written
                         ? EntryStatus::Failed
                         : WrittenStatus(outcome.messages);
    return outcome;
  }
  bool fresh_folder = false;
  if (!options.output_dir.empty()) {
    const fs::path folder = PathFromUtf8(entry.output).parent_path();
    const std::string failure = folders.Make(folder, fresh_folder);
    if (!failure.empty()) {
      return Failure(entry.output,
                     "cannot create the folder " + Utf8FromPath(folder) + ": " + failure);
    }
  }
  // A folder this run made held no outputs, and no two inputs of a run share one: there is
  // nothing to look for.
  if (!options.force && !fresh_folder) {
    // BeerXML 1.0 and 2.01 outputs share a name: an output of another format is never taken
    // for this run's, nor replaced without --force.
    // Most outputs are not there yet: one look says so before anything is opened.
    FileInfo existing;
    if (StatPath(entry.output, true, existing, error)) {
      if (const FormatInfo* held = FormatOfOutput(entry.output);
          held != nullptr && held->format != options.format) {
        return Failure(entry.output, "conflict: the existing output holds " +
                                         std::string(held->title) + ", not " +
                                         std::string(Info(options.format).title) +
                                         "; left as it is (--force replaces it)");
      }
      if (existing.type == FileInfo::Type::Regular && existing.modified_ns > before.modified_ns) {
        Outcome outcome;
        outcome.status = EntryStatus::UpToDate;
        return outcome;
      }
    }
  }
  Outcome outcome;
  outcome.staged = StagedOutput(entry.output, unnamed_limit);
  ConversionRequest request;
  request.input = entry.input;
  request.format = options.format;
  request.output = entry.output;
  request.input_size = before.size;
  request.staged = &outcome.staged;  // CommitStaged flushes many outputs in one wait
  const ConversionResult result = ConvertFile(request);

  outcome.records = result.records;
  outcome.messages = result.messages;
  if (!result.reports.empty()) {
    std::string reports = result.reports;
    while (!reports.empty() && (reports.back() == '\n' || reports.front() == '\n')) {
      if (reports.back() == '\n') reports.pop_back();
      if (!reports.empty() && reports.front() == '\n') reports.erase(0, 1);
    }
    outcome.messages.push_back({entry.output, reports});
  }
  auto discard = [&](std::string subject, std::string text) {
    outcome.staged.Discard();
    outcome.status = EntryStatus::Failed;
    if (!text.empty()) outcome.messages.push_back({std::move(subject), std::move(text)});
    return std::move(outcome);
  };
  if (result.status != ConversionResult::Status::Written) return discard({}, {});

  FileInfo after;
  if (!StatPath(entry.input, true, after, error)) {
    return discard(entry.input, "vanished while it was read; its output was not kept");
  }
  if (after.size != before.size || after.modified_ns != before.modified_ns) {
    return discard(entry.input, "changed while it was read; its output was not kept");
  }
  outcome.status = WrittenStatus(outcome.messages);
  return outcome;
}

// An entry of the run from the walk that finds it to its line in the report.
struct Pending {
  PlanEntry entry;
  Outcome outcome;
  bool ended = false;  // the outcome is final: the entry can be recorded
};

// Flushes staged outputs to disk together, then puts each in place: the content is on disk
// before the name points at it, as kegverter's own flush before its rename ensures, with one
// wait for the disk per group instead of one per file.
void CommitGroup(const std::vector<Pending*>& group) {
  std::vector<StagedOutput*> outputs;
  outputs.reserve(group.size());
  for (Pending* pending : group) outputs.push_back(&pending->outcome.staged);
  const std::vector<std::string> errors = CommitStaged(outputs);
  for (std::size_t i = 0; i < group.size(); ++i) {
    if (errors[i].empty()) continue;
    Outcome& outcome = group[i]->outcome;
    outcome.status = EntryStatus::Failed;
    outcome.messages.push_back({group[i]->entry.output, "not written: " + errors[i]});
  }
}

// A conversion for a worker: the entry stays where it is, pending, until its outcome is in.
struct Job {
  std::size_t seq;
  const PlanEntry* entry;
};

// The conversions the walk found, in walk order, waiting for a worker.
class Jobs {
 public:
  void Push(Job job) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      jobs_.push_back(job);
    }
    ready_.notify_one();
  }

  // No more jobs come: the workers end once the queue is empty (at once after a stop).
  void Close() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closed_ = true;
    }
    ready_.notify_all();
  }

  // Waits for the next job; false when the worker is to end.
  bool Pop(Job& job, const std::atomic<int>& stop) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [this] { return !jobs_.empty() || closed_; });
    if (jobs_.empty() || stop.load() != 0) return false;
    job = jobs_.front();
    jobs_.pop_front();
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Job> jobs_;
  bool closed_ = false;
};

// What the workers hand to the thread that prints: a file started, or a file done.
struct Event {
  std::size_t seq;
  bool done;
  Outcome outcome;
};

class EventQueue {
 public:
  explicit EventQueue(std::size_t workers) : running_(workers) {}

  // Wakes the taker only once as many files are done as it waits for: a wake-up per file would
  // cost more than the conversions on a small file.
  void Push(Event event) {
    bool wake = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (event.done) ++done_;
      events_.push_back(std::move(event));
      wake = waiting_ && done_ >= wanted_;
    }
    if (wake) ready_.notify_one();
  }

  void WorkerDone() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      --running_;
    }
    ready_.notify_one();
  }

  // Waits up to `wait` for `wanted` files to be done (or every worker to end); takes every event
  // there is. True once every worker has ended and every event has been taken.
  bool Take(std::chrono::milliseconds wait, std::size_t wanted, std::deque<Event>& out) {
    std::unique_lock<std::mutex> lock(mutex_);
    wanted_ = std::max<std::size_t>(wanted, 1);
    waiting_ = true;
    ready_.wait_for(lock, wait, [this] { return done_ >= wanted_ || running_ == 0; });
    waiting_ = false;
    out.swap(events_);
    events_.clear();
    done_ = 0;
    return running_ == 0;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Event> events_;
  std::size_t done_ = 0;  // done events among events_
  std::size_t wanted_ = 1;
  bool waiting_ = false;
  std::size_t running_;
};

std::string ClockText(double seconds) {
  const auto total = static_cast<long long>(seconds < 0 ? 0 : seconds + 0.5);
  if (total >= 3600) return Format("%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
  return Format("%lld:%02lld", total / 60, total % 60);
}

// Everything the batch prints and records, on one thread: message lines, the progress line,
// the report and the summary counts. It holds nothing per file but the renamed and the failed
// ones, which the summary lists.
class Reporter {
 public:
  Reporter(const BatchOptions& options, const BatchConsole& console, std::FILE* report,
           std::size_t total)
      : options_(options),
        console_(console),
        report_(report),
        progress_(console.terminal && !options.quiet),
        total_(total),
        start_(Clock::now()) {}

  void Line(const std::string& subject, const std::string& text) {
    ClearProgress();
    std::fprintf(console_.err, "%s: %s: %s\n", kProgram, subject.c_str(), text.c_str());
  }

  // An entry as the walk finds it: a failure, a notable skip, a renamed output.
  void Walked(const PlanEntry& entry) {
    if (entry.convert) {
      if (entry.renamed_from.empty()) return;
      if (!options_.quiet) {
        Line(entry.input, "written as " + entry.output + " (" + entry.rename_note + ")");
      }
      renamed_.push_back(entry.renamed_from + " -> " + entry.output + " (" + entry.rename_note +
                         ")");
      return;
    }
    const bool shown = entry.status == EntryStatus::Failed ||
                       (!options_.quiet && (!entry.listed_only || options_.verbose));
    if (shown) Line(entry.input, entry.reason);
  }

  void Started(const std::string& input) {
    current_ = input;
    Refresh(false);
  }

  // A worker finished a file (its output may still wait for the group flush).
  void Finished() { ++done_; }

  // A conversion's outcome is final: the lines it gives.
  void Ended(const PlanEntry& entry, const Outcome& outcome) {
    const bool failed = outcome.status == EntryStatus::Failed;
    if (failed || (outcome.status == EntryStatus::Warned && !options_.quiet)) {
      for (const ConversionMessage& m : outcome.messages) Line(m.subject, m.text);
    } else if (options_.verbose && outcome.status == EntryStatus::Converted) {
      Line(entry.input, "converted to " + entry.output);
    } else if (options_.verbose && outcome.status == EntryStatus::UpToDate) {
      Line(entry.input, "up to date: " + entry.output);
    }
  }

  // Counts an entry and writes its report line; in walk order.
  void Record(const PlanEntry& entry, const Outcome& outcome) {
    ++recorded_;
    ++counts_[static_cast<std::size_t>(outcome.status)];
    ++per_kind_[entry.kind];
    if (outcome.status == EntryStatus::Failed) failures_.push_back(entry.input);
    if (report_ == nullptr) return;
    const bool has_output = outcome.status == EntryStatus::Converted ||
                            outcome.status == EntryStatus::Warned ||
                            outcome.status == EntryStatus::UpToDate;
    ReportEntry line;
    line.path = entry.input;
    if (entry.kind != nullptr) line.kind = entry.kind->label;
    if (has_output) line.output = entry.output;
    line.status = StatusName(outcome.status);
    line.messages = outcome.messages;
    line.records = outcome.records;
    line.milliseconds = outcome.milliseconds;
    std::fputs(ReportLine(line).c_str(), report_);
  }

  void Refresh(bool force) {
    if (!progress_) return;
    const auto now = Clock::now();
    if (!force && drawn_ && now - last_draw_ < std::chrono::milliseconds(100)) return;
    last_draw_ = now;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const double rate = elapsed > 0 ? static_cast<double>(done_) / elapsed : 0;
    // Files that vanished after the first walk are in the total and never done.
    const std::size_t total = std::max(total_, done_);
    std::string line = Format("[%zu/%zu] %.1f files/s, %s elapsed", done_, total, rate,
                              ClockText(elapsed).c_str());
    if (done_ > 0 && rate > 0) {
      line += ", " + ClockText(static_cast<double>(total - done_) / rate) + " left";
    }
    if (!current_.empty()) line += "  " + current_;
    // One line only: a line longer than the terminal would wrap and never be cleared.
    const std::size_t width =
        console_.columns > 1 ? static_cast<std::size_t>(console_.columns - 1) : 79;
    if (line.size() > width) {
      std::size_t cut = width;
      while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
      line.resize(cut);
    }
    std::fprintf(console_.err, "\r%s\x1b[K", line.c_str());
    std::fflush(console_.err);
    drawn_ = true;
  }

  void ClearProgress() {
    if (!drawn_) return;
    std::fputs("\r\x1b[K", console_.err);
    drawn_ = false;
  }

  bool Summary(int stop_signal, std::size_t not_started, const std::string& report_error) {
    ClearProgress();
    const bool failed = counts_[static_cast<std::size_t>(EntryStatus::Failed)] > 0;
    if (options_.quiet) {
      std::fflush(console_.err);
      return failed;
    }
    std::string line = Format("%zu files: ", recorded_);
    for (std::size_t s = 0; s < kEntryStatusCount; ++s) {
      line += Format("%s%zu %s", s > 0 ? ", " : "", counts_[s],
                     StatusName(static_cast<EntryStatus>(s)));
    }
    std::fprintf(console_.err, "%s: %s\n", kProgram, line.c_str());

    std::string kinds;
    for (const KindInfo& kind : Kinds()) {
      const auto found = per_kind_.find(&kind);
      if (found == per_kind_.end()) continue;
      kinds += Format("%s%.*s %zu", kinds.empty() ? "" : ", ", static_cast<int>(kind.label.size()),
                      kind.label.data(), found->second);
    }
    if (const auto unknown = per_kind_.find(nullptr); unknown != per_kind_.end()) {
      kinds += Format("%sother %zu", kinds.empty() ? "" : ", ", unknown->second);
    }
    if (!kinds.empty()) std::fprintf(console_.err, "%s: by kind: %s\n", kProgram, kinds.c_str());
    for (const std::string& renamed : renamed_) {
      std::fprintf(console_.err, "%s: renamed: %s\n", kProgram, renamed.c_str());
    }
    for (const std::string& path : failures_) {
      std::fprintf(console_.err, "%s: failed: %s\n", kProgram, path.c_str());
    }
    if (stop_signal != 0) {
      std::fprintf(console_.err, "%s: stopped by %s: %zu file(s) not started\n", kProgram,
                   stop_signal == 2 ? "an interrupt (SIGINT)" : "a termination request",
                   not_started);
    }
    if (!report_error.empty()) {
      std::fprintf(console_.err, "%s: %s: not written: %s\n", kProgram, options_.report.c_str(),
                   report_error.c_str());
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    std::fprintf(console_.err, "%s: %s elapsed\n", kProgram, ClockText(elapsed).c_str());
    std::fflush(console_.err);
    return failed;
  }

 private:
  const BatchOptions& options_;
  const BatchConsole& console_;
  std::FILE* report_;
  const bool progress_;
  const std::size_t total_;
  const Clock::time_point start_;
  Clock::time_point last_draw_;
  bool drawn_ = false;
  std::string current_;
  std::size_t done_ = 0;
  std::size_t recorded_ = 0;
  std::array<std::size_t, kEntryStatusCount> counts_{};
  std::map<const KindInfo*, std::size_t> per_kind_;
  std::vector<std::string> renamed_;  // "from -> to (why)"
  std::vector<std::string> failures_;
};

}  // namespace

BatchCommandLine ParseBatchCommandLine(int argc, const char* const* argv, const char* version,
                                       std::FILE* out, std::FILE* err) {
  BatchCommandLine parsed;
  BatchOptions& options = parsed.options;
  std::vector<std::string> formats;
  std::string formats_text;
  for (const FormatInfo& format : Formats()) {
    formats.emplace_back(format.name);
    formats_text += std::string(formats_text.empty() ? "" : ", ") + std::string(format.name) +
                    " (" + std::string(format.title) + ", ." + std::string(format.extension) + ")";
  }
  std::string to(Formats().front().name);

  CLI::App app(
      "Converts every source file found under the PATHs (files or folders, walked recursively) "
      "in one process, several files at a time.",
      kProgram);
  app.add_option("PATH", options.paths, "Files and folders to convert")->required();
  app.add_option("-o,--output", options.output_dir,
                 "Write the outputs under DIR, mirroring each input's path below its PATH "
                 "(default: beside each input)")
      ->type_name("DIR");
  app.add_option("-j,--jobs", options.jobs, "Files converted at once (default: one per core)")
      ->check(CLI::Range(1u, 1024u))
      ->type_name("N");
  app.add_option("--to", to, "Output format: " + formats_text)
      ->check(CLI::IsMember(formats))
      ->type_name("FORMAT")
      ->capture_default_str();
  app.add_flag("--force", options.force, "Convert even when an output is newer than its input");
  app.add_option("--report", options.report, "Write one JSON object per input to FILE")
      ->type_name("FILE");
  CLI::Option* quiet =
      app.add_flag("-q,--quiet", options.quiet, "Print only failures: no progress, no summary");
  app.add_flag("-v,--verbose", options.verbose,
               "Also list every skipped, converted and up-to-date file")
      ->excludes(quiet);
  app.add_flag("--follow-links", options.follow_links, "Walk into symbolic links to folders");
  CLI::Option* combine =
      app.add_option("--combine", options.combine,
                     "Write every record of the run into one BeerJSON document FILE instead of "
                     "an output per input")
          ->type_name("FILE");
  app.set_version_flag("--version", std::string(kProgram) + " " + version);

  std::ostringstream out_text;
  std::ostringstream err_text;
  try {
    app.parse(argc, argv);
    options.format = FindFormat(to)->format;
    if (combine->count() > 0) {
      // A format that holds a whole run: the one asked for, or else the first of the table.
      const FormatInfo* whole_run = nullptr;
      for (const FormatInfo& format : Formats()) {
        if (format.holds_whole_run() && whole_run == nullptr) whole_run = &format;
      }
      if (app.count("--to") > 0 && !Info(options.format).holds_whole_run()) {
        const std::string_view title = whole_run->title;
        throw CLI::ValidationError("--combine", "writes " +
                                                    std::string(title.substr(0, title.find(' '))) +
                                                    "; it cannot go with --to " + to);
      }
      if (app.count("--to") == 0) options.format = whole_run->format;
    }
    parsed.run = true;
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out_text, err_text);
    parsed.exit_code = code == 0 ? 0 : kBatchUsageError;
  }
  std::fputs(out_text.str().c_str(), out);
  std::fputs(err_text.str().c_str(), err);
  std::fflush(out);
  std::fflush(err);
  return parsed;
}

int RunBatch(const BatchOptions& options, const std::atomic<int>& stop,
             const BatchConsole& console) {
  PlanOptions plan_options;
  plan_options.paths = options.paths;
  plan_options.output_dir = options.output_dir;
  plan_options.format = options.format;
  plan_options.follow_links = options.follow_links;
  Planner planner(plan_options);
  if (!planner.Survey()) {
    std::fprintf(console.err, "%s: %s\n", kProgram, planner.usage_error().c_str());
    return kBatchUsageError;
  }

  AtomicFileWriter report;
  if (!options.report.empty()) {
    std::string error;
    if (!report.Open(options.report, error)) {
      std::fprintf(console.err, "%s: %s: cannot write the report: %s\n", kProgram,
                   options.report.c_str(), error.c_str());
      return kBatchUsageError;
    }
  }

  Reporter reporter(options, console, report.file(), planner.to_convert());
  unsigned jobs = options.jobs != 0 ? options.jobs : std::thread::hardware_concurrency();
  if (jobs == 0) jobs = 1;
  const std::size_t workers = std::min<std::size_t>(jobs, planner.to_convert());

  Jobs queue;
  EventQueue events(workers);
  OutputFolders folders;
  const int unnamed_limit = UnnamedFileLimit();
  // With --combine, one document of the run, its lists kept in temporary files meanwhile.
  const std::unique_ptr<WholeRunDocument> combined =
      options.combine.empty() ? nullptr
                              : Info(options.format).begin_whole_run(PartStore::TemporaryFiles);
  auto work_loop = [&] {
    for (Job job; stop.load() == 0 && queue.Pop(job, stop);) {
      events.Push({job.seq, false, {}});
      const auto begin = Clock::now();
      Outcome outcome;
      try {
        outcome = ConvertEntry(*job.entry, options, folders, unnamed_limit, combined.get());
      } catch (const std::exception& e) {
        // Memory ran out, most likely: this file fails, the others go on.
        outcome = Failure(job.entry->input, std::string("not converted: ") + e.what());
      }
      outcome.milliseconds =
          std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
      events.Push({job.seq, true, std::move(outcome)});
    }
    events.WorkerDone();
  };
  std::vector<std::thread> threads;
  threads.reserve(workers);
  for (std::size_t i = 0; i < workers; ++i) threads.emplace_back(work_loop);

  // The pending entries in walk order; the first has the number `first_seq`.
  std::deque<std::unique_ptr<Pending>> window;
  std::size_t first_seq = 0;
  auto at = [&](std::size_t seq) -> Pending& { return *window[seq - first_seq]; };
  std::vector<Pending*> staged;
  Clock::time_point first_staged;
  std::size_t in_flight = 0;  // given to the workers, not yet done
  std::size_t started = 0;
  auto commit = [&] {
    CommitGroup(staged);
    for (Pending* pending : staged) {
      pending->ended = true;
      reporter.Ended(pending->entry, pending->outcome);
    }
    staged.clear();
  };
  auto record = [&] {
    while (!window.empty() && window.front()->ended) {
      reporter.Record(window.front()->entry, window.front()->outcome);
      window.pop_front();
      ++first_seq;
    }
  };

  bool walked = false;
  std::deque<Event> taken;
  for (bool workers_ended = workers == 0;;) {
    // The walk goes on as far as the window lets it; after a stop it ends where it is.
    while (!walked && stop.load() == 0 && window.size() < kWindow) {
      auto pending = std::make_unique<Pending>();
      PlanEntry& entry = pending->entry;
      if (!planner.Next(entry)) {
        walked = true;
        break;
      }
      reporter.Walked(entry);
      if (entry.convert) {
        queue.Push({first_seq + window.size(), &entry});
        ++in_flight;
      } else {
        pending->ended = true;
        pending->outcome.status = entry.status;
        pending->outcome.messages.push_back({entry.input, entry.reason});
      }
      window.push_back(std::move(pending));
    }
    if (stop.load() != 0) walked = true;
    if (walked) queue.Close();
    record();  // the entries that need no conversion, up to the first that does
    if (walked && workers_ended) break;

    // Waits for the workers only when the walk cannot go on.
    const bool walking = !walked && window.size() < kWindow;
    workers_ended = events.Take(std::chrono::milliseconds(walking ? 0 : 100),
                                std::min(in_flight, kEventBatch), taken);
    for (Event& event : taken) {
      Pending& pending = at(event.seq);
      if (!event.done) {
        ++started;
        reporter.Started(pending.entry.input);
        continue;
      }
      --in_flight;
      reporter.Finished();
      pending.outcome = std::move(event.outcome);
      if (!pending.outcome.staged.written()) {
        pending.ended = true;
        reporter.Ended(pending.entry, pending.outcome);
      } else {
        if (staged.empty()) first_staged = Clock::now();
        staged.push_back(&pending);
      }
    }
    taken.clear();
    record();
    // A group is flushed when it is large or old enough, or when the workers have nothing left to
    // convert: at the end, or while the walk waits for entries that only the flush lets go.
    const bool idle = in_flight == 0 && (walked || window.size() >= kWindow);
    if (!staged.empty() &&
        (staged.size() >= kFlushGroup || idle || Clock::now() - first_staged >= kFlushDelay)) {
      commit();
      record();
    }
    reporter.Refresh(false);
  }
  for (std::thread& thread : threads) thread.join();
  commit();
  // After a stop: the conversions never started are not entries of the report.
  for (const std::unique_ptr<Pending>& pending : window) {
    if (pending->ended) reporter.Record(pending->entry, pending->outcome);
  }
  window.clear();

  // The combined document is written only for a whole run: a stopped run leaves none.
  bool combine_failed = false;
  if (combined && stop.load() == 0) {
    std::string error = combined->error();
    const auto write = [&combined](std::FILE* out) {
      std::string unused;  // a write that fails says why through errno, as any other save
      return combined->WriteTo(out, unused);
    };
    // The run's one document, at a path of the user's choosing: replaced atomically.
    if (!error.empty() || !SaveOutput(options.combine, nullptr, write, error)) {
      std::fprintf(console.err, "%s: %s: not written: %s\n", kProgram, options.combine.c_str(),
                   error.c_str());
      combine_failed = true;
    }
  }

  std::string report_error;
  if (report.file() != nullptr && !report.Commit(report_error) && report_error.empty()) {
    report_error = "unknown error";
  }
  const std::size_t not_started =
      planner.to_convert() > started ? planner.to_convert() - started : 0;
  const bool failed = reporter.Summary(stop.load(), not_started, report_error);
  if (stop.load() != 0) return 128 + stop.load();
  return failed || combine_failed || !report_error.empty() ? 1 : 0;
}

int RunBatchProgram(int argc, const char* const* argv, const char* version,
                    const std::atomic<int>& stop) {
  const BatchCommandLine command = ParseBatchCommandLine(argc, argv, version, stdout, stderr);
  if (!command.run) return command.exit_code;
  BatchConsole console;
  console.err = stderr;
  console.terminal = IsTerminal(stderr);
  console.columns = console.terminal ? TerminalColumns(stderr) : 80;
  return RunBatch(command.options, stop, console);
}

}  // namespace kegverter
