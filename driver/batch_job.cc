#include "driver/batch_job.h"

#include "platform/files.h"
#include "platform/unicode.h"

namespace kegverter::batch {

namespace {

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

}  // namespace

std::string OutputFolders::Make(const fs::path& folder, bool& fresh) {
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

EntryStatus WrittenStatus(const std::vector<ConversionMessage>& messages) {
  return messages.empty() ? EntryStatus::Converted : EntryStatus::Warned;
}

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

}  // namespace kegverter::batch
