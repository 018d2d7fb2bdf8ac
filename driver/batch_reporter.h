// What a batch run prints and records: message lines, the progress line on a terminal, the JSON
// Lines report and the summary.
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

#include "driver/batch_job.h"
#include "driver/batch_report.h"
#include "platform/terminal.h"
#include "platform/unicode.h"

namespace kegverter::batch {

inline std::string ClockText(double seconds) {
  const auto total = static_cast<long long>(seconds < 0 ? 0 : seconds + 0.5);
  if (total >= 3600) return Printf("%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
  return Printf("%lld:%02lld", total / 60, total % 60);
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
    std::string line = Printf("[%zu/%zu] %.1f files/s, %s elapsed", done_, total, rate,
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
    std::string line = Printf("%zu files: ", recorded_);
    for (std::size_t s = 0; s < kEntryStatusCount; ++s) {
      line += Printf("%s%zu %s", s > 0 ? ", " : "", counts_[s],
                     StatusName(static_cast<EntryStatus>(s)));
    }
    std::fprintf(console_.err, "%s: %s\n", kProgram, line.c_str());

    std::string kinds;
    for (const KindInfo& kind : Kinds()) {
      const auto found = per_kind_.find(&kind);
      if (found == per_kind_.end()) continue;
      kinds += Printf("%s%.*s %zu", kinds.empty() ? "" : ", ", static_cast<int>(kind.label.size()),
                      kind.label.data(), found->second);
    }
    if (const auto unknown = per_kind_.find(nullptr); unknown != per_kind_.end()) {
      kinds += Printf("%sother %zu", kinds.empty() ? "" : ", ", unknown->second);
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

}  // namespace kegverter::batch
