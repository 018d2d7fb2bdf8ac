#include "driver/batch.h"

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

#include "driver/batch_job.h"
#include "driver/batch_plan.h"
#include "driver/batch_queues.h"
#include "driver/batch_report.h"
#include "driver/batch_reporter.h"
#include "driver/convert.h"
#include "output/save.h"
#include "platform/files.h"
#include "platform/terminal.h"

namespace kegverter {

namespace {

using namespace batch;

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

}  // namespace

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
