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
#include <mutex>
#include <sstream>
#include <thread>
#include <utility>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "beerjson/beerjson.h"
#include "driver/batch_plan.h"
#include "driver/convert.h"
#include "platform/files.h"
#include "platform/terminal.h"
#include "platform/unicode.h"

namespace kegverter {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kProgram = "kegverter-batch";

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
  /// A complete output under its temporary name, waiting to be flushed to disk and renamed.
  std::string staged;
};

Outcome Failure(const std::string& subject, std::string text) {
  Outcome outcome;
  outcome.messages.push_back({subject, std::move(text)});
  return outcome;
}

// The output folders made so far, shared by the workers: each folder is made once, and one that
// cannot be made fails each of its files with the same reason.
class OutputFolders {
 public:
  /// Makes `folder` and the folders above it unless that was done; returns why it cannot be
  /// made, or nothing.
  std::string Make(const fs::path& folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto [known, first] = made_.emplace(Utf8FromPath(folder), std::string());
    if (first) {
      std::error_code ec;
      fs::create_directories(folder, ec);
      if (ec) known->second = ec.message();
    }
    return known->second;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::string> made_;  // folder -> why it cannot be made, or empty
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

// Converts one planned input on a worker thread. The output is written under a temporary name
// and staged there when the conversion succeeded and the input did not change while it was read;
// CommitStaged puts it in place. An output present afterwards is always a whole conversion of a
// whole input.
Outcome ConvertEntry(const PlanEntry& entry, const BatchOptions& options, OutputFolders& folders,
                     BeerJsonCombined* combined) {
  FileInfo before;
  std::string error;
  if (!StatPath(entry.input, true, before, error)) {
    return Failure(entry.input, "cannot open: " + error);
  }
  if (before.type != FileInfo::Type::Regular) {
    return Failure(entry.input,
                   std::string("cannot open: ") + before.other + ", not a regular file");
  }
  if (combined != nullptr) {
    ConversionRequest request;
    request.input = entry.input;
    request.combine = combined;
    const ConversionResult result = ConvertFile(request);
    Outcome outcome;
    outcome.records = result.records;
    outcome.messages = result.messages;
    outcome.status = result.status != ConversionResult::Status::Written ? EntryStatus::Failed
                     : outcome.messages.empty()                         ? EntryStatus::Converted
                                                                        : EntryStatus::Warned;
    return outcome;
  }
  if (!options.force) {
    // BeerXML 1.0 and 2.01 outputs share a name: an output of another format is never taken
    // for this run's, nor replaced without --force.
    if (const FormatInfo* held = FormatOfOutput(entry.output);
        held != nullptr && held->format != options.format) {
      return Failure(entry.output, "conflict: the existing output holds " +
                                       std::string(held->title) + ", not " +
                                       std::string(Info(options.format).title) +
                                       "; left as it is (--force replaces it)");
    }
    FileInfo existing;
    if (StatPath(entry.output, true, existing, error) && existing.type == FileInfo::Type::Regular &&
        existing.modified_ns > before.modified_ns) {
      Outcome outcome;
      outcome.status = EntryStatus::UpToDate;
      return outcome;
    }
  }
  std::error_code ec;
  if (!options.output_dir.empty()) {
    const fs::path folder = PathFromUtf8(entry.output).parent_path();
    const std::string failure = folders.Make(folder);
    if (!failure.empty()) {
      return Failure(entry.output,
                     "cannot create the folder " + Utf8FromPath(folder) + ": " + failure);
    }
  }

  ConversionRequest request;
  request.input = entry.input;
  request.format = options.format;
  request.output = TemporaryPathFor(entry.output);
  request.replace_output = false;  // CommitStaged flushes many outputs in one wait
  const ConversionResult result = ConvertFile(request);

  Outcome outcome;
  outcome.records = result.records;
  outcome.messages = result.messages;
  for (ConversionMessage& message : outcome.messages) {
    if (message.subject == request.output) message.subject = entry.output;
  }
  if (!result.reports.empty()) {
    std::string reports = result.reports;
    while (!reports.empty() && (reports.back() == '\n' || reports.front() == '\n')) {
      if (reports.back() == '\n') reports.pop_back();
      if (!reports.empty() && reports.front() == '\n') reports.erase(0, 1);
    }
    outcome.messages.push_back({entry.output, reports});
  }
  auto discard = [&](std::string subject, std::string text) {
    fs::remove(PathFromUtf8(request.output), ec);
    outcome.status = EntryStatus::Failed;
    if (!text.empty()) outcome.messages.push_back({std::move(subject), std::move(text)});
    return outcome;
  };
  if (result.status != ConversionResult::Status::Written) return discard({}, {});

  FileInfo after;
  if (!StatPath(entry.input, true, after, error)) {
    return discard(entry.input, "vanished while it was read; its output was not kept");
  }
  if (after.size != before.size || after.modified_ns != before.modified_ns) {
    return discard(entry.input, "changed while it was read; its output was not kept");
  }
  outcome.status = outcome.messages.empty() ? EntryStatus::Converted : EntryStatus::Warned;
  outcome.staged = request.output;
  return outcome;
}

// Flushes staged outputs to disk together, then renames each over its final name: the content
// is on disk before the name points at it, as kegverter's own flush before its rename ensures,
// with one wait for the disk per group instead of one per file.
void CommitStaged(const Plan& plan, std::vector<std::pair<std::size_t, Outcome>>& staged) {
  std::vector<std::string> temporaries;
  temporaries.reserve(staged.size());
  for (const auto& [index, outcome] : staged) temporaries.push_back(outcome.staged);
  std::string error;
  const bool flushed = FlushFilesToDisk(temporaries, error);
  for (auto& [index, outcome] : staged) {
    const std::string& output = plan.entries[index].output;
    if (!flushed || !RenameOver(outcome.staged, output, error)) {
      std::error_code ec;
      fs::remove(PathFromUtf8(outcome.staged), ec);
      outcome.status = EntryStatus::Failed;
      outcome.messages.push_back({output, "not written: " + error});
    }
    outcome.staged.clear();
  }
}

// What the workers hand to the thread that prints: a file started, or a file done.
struct Event {
  std::size_t entry;
  bool done;
  Outcome outcome;
};

class EventQueue {
 public:
  explicit EventQueue(std::size_t workers) : running_(workers) {}

  void Push(Event event) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      events_.push_back(std::move(event));
    }
    ready_.notify_one();
  }

  void WorkerDone() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      --running_;
    }
    ready_.notify_one();
  }

  // Waits up to `wait` for events; takes them all. True once every worker has ended and every
  // event has been taken.
  bool Take(std::chrono::milliseconds wait, std::deque<Event>& out) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait_for(lock, wait, [this] { return !events_.empty() || running_ == 0; });
    out.swap(events_);
    events_.clear();
    return running_ == 0;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Event> events_;
  std::size_t running_;
};

std::string ClockText(double seconds) {
  const auto total = static_cast<long long>(seconds < 0 ? 0 : seconds + 0.5);
  if (total >= 3600) return Format("%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
  return Format("%lld:%02lld", total / 60, total % 60);
}

// Everything the batch prints and records, on one thread: message lines, the progress line,
// the report (in walk order, whatever order the files finish in) and the summary counts.
class Reporter {
 public:
  Reporter(const Plan& plan, const BatchOptions& options, const BatchConsole& console,
           std::FILE* report)
      : plan_(plan),
        options_(options),
        console_(console),
        report_(report),
        progress_(console.terminal && !options.quiet),
        start_(Clock::now()) {}

  void Line(const std::string& subject, const std::string& text) {
    ClearProgress();
    std::fprintf(console_.err, "%s: %s: %s\n", kProgram, subject.c_str(), text.c_str());
  }

  // The lines the plan already has: failures, notable skips, renamed outputs.
  void Announce() {
    for (const PlanEntry& entry : plan_.entries) {
      if (entry.convert) {
        if (!entry.renamed_from.empty() && !options_.quiet) {
          Line(entry.input, "written as " + entry.output + " (" + entry.rename_note + ")");
        }
        continue;
      }
      const bool shown = entry.status == EntryStatus::Failed ||
                         (!options_.quiet && (!entry.listed_only || options_.verbose));
      if (shown) Line(entry.input, entry.reason);
    }
    std::fflush(console_.err);
  }

  void Started(std::size_t entry) {
    current_ = entry;
    Refresh(false);
  }

  // A worker finished a file (its output may still wait for the group flush).
  void Finished() { ++done_; }

  void Done(std::size_t index, Outcome outcome) {
    const PlanEntry& entry = plan_.entries[index];
    const bool failed = outcome.status == EntryStatus::Failed;
    if (failed || (outcome.status == EntryStatus::Warned && !options_.quiet)) {
      for (const ConversionMessage& m : outcome.messages) Line(m.subject, m.text);
    } else if (options_.verbose && outcome.status == EntryStatus::Converted) {
      Line(entry.input, "converted to " + entry.output);
    } else if (options_.verbose && outcome.status == EntryStatus::UpToDate) {
      Line(entry.input, "up to date: " + entry.output);
    }
    finished_.emplace(index, std::move(outcome));
    Drain(false);
    Refresh(false);
  }

  // Records the entries that end without a conversion, up to the first conversion not yet
  // finished (all of them at the end of the run; conversions never started are not recorded).
  void Drain(bool final) {
    while (next_ < plan_.entries.size()) {
      const PlanEntry& entry = plan_.entries[next_];
      if (!entry.convert) {
        Outcome outcome;
        outcome.status = entry.status;
        outcome.messages.push_back({entry.input, entry.reason});
        Record(entry, outcome);
      } else if (const auto found = finished_.find(next_); found != finished_.end()) {
        Record(entry, found->second);
        finished_.erase(found);
      } else if (final) {
        ++not_started_;
      } else {
        return;
      }
      ++next_;
    }
  }

  void Refresh(bool force) {
    if (!progress_) return;
    const auto now = Clock::now();
    if (!force && drawn_ && now - last_draw_ < std::chrono::milliseconds(100)) return;
    last_draw_ = now;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const double rate = elapsed > 0 ? static_cast<double>(done_) / elapsed : 0;
    const std::size_t total = plan_.to_convert;
    std::string line = Format("[%zu/%zu] %.1f files/s, %s elapsed", done_, total, rate,
                              ClockText(elapsed).c_str());
    if (done_ > 0 && rate > 0) {
      line += ", " + ClockText(static_cast<double>(total - done_) / rate) + " left";
    }
    if (current_ < plan_.entries.size()) line += "  " + plan_.entries[current_].input;
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

  bool Summary(int stop_signal, const std::string& report_error) {
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
    for (const PlanEntry& entry : plan_.entries) {
      if (entry.renamed_from.empty()) continue;
      std::fprintf(console_.err, "%s: renamed: %s -> %s (%s)\n", kProgram,
                   entry.renamed_from.c_str(), entry.output.c_str(), entry.rename_note);
    }
    for (const std::string& path : failures_) {
      std::fprintf(console_.err, "%s: failed: %s\n", kProgram, path.c_str());
    }
    if (stop_signal != 0) {
      std::fprintf(console_.err, "%s: stopped by %s: %zu file(s) not started\n", kProgram,
                   stop_signal == 2 ? "an interrupt (SIGINT)" : "a termination request",
                   not_started_);
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
  void Record(const PlanEntry& entry, const Outcome& outcome) {
    ++recorded_;
    ++counts_[static_cast<std::size_t>(outcome.status)];
    ++per_kind_[entry.kind];
    if (outcome.status == EntryStatus::Failed) failures_.push_back(entry.input);
    if (report_ == nullptr) return;
    nlohmann::json line;
    line["path"] = entry.input;
    line["kind"] = entry.kind != nullptr ? nlohmann::json(std::string(entry.kind->label)) : nullptr;
    const bool has_output = outcome.status == EntryStatus::Converted ||
                            outcome.status == EntryStatus::Warned ||
                            outcome.status == EntryStatus::UpToDate;
    line["output"] = has_output ? nlohmann::json(entry.output) : nullptr;
    line["status"] = StatusName(outcome.status);
    nlohmann::json messages = nlohmann::json::array();
    for (const ConversionMessage& m : outcome.messages) {
      messages.push_back({{"subject", m.subject}, {"text", m.text}});
    }
    line["messages"] = std::move(messages);
    line["records"] = outcome.records;
    line["milliseconds"] = std::round(outcome.milliseconds * 1000) / 1000;
    // Paths are bytes: one that is not UTF-8 gets U+FFFD for its stray bytes.
    const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::fputs(text.c_str(), report_);
    std::fputc('\n', report_);
  }

  const Plan& plan_;
  const BatchOptions& options_;
  const BatchConsole& console_;
  std::FILE* report_;
  const bool progress_;
  const Clock::time_point start_;
  Clock::time_point last_draw_;
  bool drawn_ = false;
  std::size_t current_ = static_cast<std::size_t>(-1);
  std::size_t done_ = 0;
  std::size_t next_ = 0;
  std::size_t recorded_ = 0;
  std::size_t not_started_ = 0;
  std::map<std::size_t, Outcome> finished_;  // done, waiting for earlier entries
  std::array<std::size_t, kEntryStatusCount> counts_{};
  std::map<const KindInfo*, std::size_t> per_kind_;
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
      if (app.count("--to") > 0 && options.format != OutputFormat::BeerJson) {
        throw CLI::ValidationError("--combine", "writes BeerJSON; it cannot go with --to " + to);
      }
      options.format = OutputFormat::BeerJson;
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
  const Plan plan = MakePlan(plan_options);
  if (!plan.usage_error.empty()) {
    std::fprintf(console.err, "%s: %s\n", kProgram, plan.usage_error.c_str());
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

  Reporter reporter(plan, options, console, report.file());
  reporter.Announce();

  std::vector<std::size_t> work;
  work.reserve(plan.to_convert);
  for (std::size_t i = 0; i < plan.entries.size(); ++i) {
    if (plan.entries[i].convert) work.push_back(i);
  }
  unsigned jobs = options.jobs != 0 ? options.jobs : std::thread::hardware_concurrency();
  if (jobs == 0) jobs = 1;
  const std::size_t workers = std::min<std::size_t>(jobs, work.size());

  EventQueue queue(workers);
  OutputFolders folders;
  const std::unique_ptr<BeerJsonCombined> combined =
      options.combine.empty() ? nullptr : std::make_unique<BeerJsonCombined>();
  std::atomic<std::size_t> next{0};
  auto work_loop = [&] {
    while (stop.load() == 0) {
      const std::size_t slot = next.fetch_add(1);
      if (slot >= work.size()) break;
      const std::size_t index = work[slot];
      queue.Push({index, false, {}});
      const auto begin = Clock::now();
      Outcome outcome;
      try {
        outcome = ConvertEntry(plan.entries[index], options, folders, combined.get());
      } catch (const std::exception& e) {
        // Memory ran out, most likely: this file fails, the others go on.
        outcome = Failure(plan.entries[index].input, std::string("not converted: ") + e.what());
      }
      outcome.milliseconds =
          std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
      queue.Push({index, true, std::move(outcome)});
    }
    queue.WorkerDone();
  };
  std::vector<std::thread> threads;
  threads.reserve(workers);
  for (std::size_t i = 0; i < workers; ++i) threads.emplace_back(work_loop);

  // Finished outputs wait here for a group flush, at most a second or 4096 files: each flush
  // waits for everything written to the file system, so fewer are faster.
  std::vector<std::pair<std::size_t, Outcome>> staged;
  Clock::time_point first_staged;
  auto commit = [&] {
    CommitStaged(plan, staged);
    for (auto& [index, outcome] : staged) reporter.Done(index, std::move(outcome));
    staged.clear();
  };
  std::deque<Event> events;
  for (bool finished = workers == 0; !finished;) {
    finished = queue.Take(std::chrono::milliseconds(100), events);
    for (Event& event : events) {
      if (!event.done) {
        reporter.Started(event.entry);
        continue;
      }
      reporter.Finished();
      if (event.outcome.staged.empty()) {
        reporter.Done(event.entry, std::move(event.outcome));
      } else {
        if (staged.empty()) first_staged = Clock::now();
        staged.emplace_back(event.entry, std::move(event.outcome));
      }
    }
    events.clear();
    if (!staged.empty() && (finished || staged.size() >= 4096 ||
                            Clock::now() - first_staged >= std::chrono::seconds(1))) {
      commit();
    }
    reporter.Refresh(false);
  }
  for (std::thread& thread : threads) thread.join();
  commit();
  reporter.Drain(true);

  // The combined document is written only for a whole run: a stopped run leaves none.
  bool combine_failed = false;
  if (combined && stop.load() == 0) {
    std::string error;
    if (!combined->Finish(options.combine, error)) {
      std::fprintf(console.err, "%s: %s: not written: %s\n", kProgram, options.combine.c_str(),
                   error.c_str());
      combine_failed = true;
    }
  }

  std::string report_error;
  if (report.file() != nullptr && !report.Commit(report_error) && report_error.empty()) {
    report_error = "unknown error";
  }
  const bool failed = reporter.Summary(stop.load(), report_error);
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
