// The writer skeleton shared by every output list: create the document from the template, walk
// node tables once per record on a shared cursor, save.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "beerxml/document.h"
#include "beerxml/document_error.h"
#include "beerxml/node_table.h"

namespace kegverter {

class StagedOutput;

/// What one writer call needs from its caller and tells it back. A run holds everything a
/// conversion changes, so conversions on several threads each have their own.
struct ExportRun {
  DomFaults faults;           ///< failures to simulate (tests only)
  std::string reports;        ///< failure reports, as the console shows them
  int failures_reported = 0;  ///< document-layer failures reported during the call
  bool saved = false;         ///< the output file was written completely
  std::string save_error;     ///< why it was not, when a save was attempted and failed
  /// Set: the output is written into it, for the caller to put in place with others
  /// (CommitStaged); null: the output replaces its path atomically (see ReplaceFileWith).
  StagedOutput* staged = nullptr;
};

/// Saves a finished output, whatever its format; every writer saves through it. `write` writes
/// the whole document into the open file and returns false when a write failed (errno telling
/// why). Without `staged` (ExportRun::staged) the file replaces `path` atomically
/// (ReplaceFileWith); with it, it is written into `staged`, which the caller puts in place.
/// False, with the reason in `error`, when nothing was written.
bool SaveOutput(const std::string& path, StagedOutput* staged,
                const std::function<bool(std::FILE*)>& write, std::string& error);

/// The document every writer starts from: declaration, beer_xml with the schema-instance
/// namespace, version 2.01 and the empty list element `list`.
std::string BeerXmlTemplate(std::string_view list);

/// Loads the template and moves `cursor` to the list element. False when the text did not load
/// or the document is absent; for an absent document the message text alone is reported.
bool LoadTemplate(DomDocument* document, DomNode& cursor, std::string_view template_text,
                  std::string_view list, ExportRun& run);

/// Walks `table` from `cursor`, writing the value of each entry's slot from `values`. On a
/// failure the report is added to `run`, the rest of the table is skipped, nodes already added
/// stay and the cursor keeps its old place.
void EmitEntries(DomDocument* document, DomNode& cursor, std::span<const NodeSpec> table,
                 std::span<const std::optional<std::string>> values, ExportRun& run);

/// EmitEntries for a working copy of a table and the values of its slots.
template <class Slot>
void EmitNodeTable(DomDocument* document, DomNode& cursor, const NodeTable<Slot>& table,
                   const NodeValues<Slot>& values, ExportRun& run) {
  EmitEntries(document, cursor, table.entries(), values.all(), run);
}

/// EmitEntries for a constant table and the values of its slots.
template <class Slot, std::size_t N>
void EmitNodeTable(DomDocument* document, DomNode& cursor, const NodeTree<Slot, N>& table,
                   const NodeValues<Slot>& values, ExportRun& run) {
  EmitEntries(document, cursor, table.entries, values.all(), run);
}

/// EmitEntries for a table that takes no values.
template <std::size_t N>
void EmitNodeTable(DomDocument* document, DomNode& cursor, const NodeTree<NoSlot, N>& table,
                   ExportRun& run) {
  EmitEntries(document, cursor, table.entries, {}, run);
}

/// Writes the document to `path` (through a temporary file renamed into place). Raises
/// kInvalidPointer for an absent document; a failed write is noted in `run`.
void SaveDocument(DomDocument* document, const std::string& path, ExportRun& run);

/// Adds the report of `error` to `run` and counts it.
void ReportFailure(const DocumentError& error, ExportRun& run);

/// Opens the output's temporary file, runs `build` while the finished children of `list` are
/// written into it, writes the rest and puts the file in place, as SaveDocument does. False,
/// with nothing built, when the temporary file could not be made: the caller then builds and
/// saves the usual way, which fails the same way after the same reports.
bool BuildAndSaveStreamed(DomDocument& document, DomNode list, const std::string& path,
                          ExportRun& run, const std::function<void()>& build);

/// The writer skeleton: document, cursor, template for `list`, `records(document, cursor)`
/// writes the records, then the save. A failure outside the table walks is reported and ends the
/// export at once (nothing is saved when it happens before the save).
///
/// Records only ever go into the list, one after the other, so each is finished when the next
/// begins: once the template is in place they are written to the output as they are finished
/// (DomDocument::StreamChildren), and a large list is never held whole.
template <class WriteRecords>
void RunExporterFrom(const std::string& template_text, std::string_view list,
                     const std::string& path, ExportRun& run, WriteRecords&& records);

template <class WriteRecords>
void RunExporter(std::string_view list, const std::string& path, ExportRun& run,
                 WriteRecords&& records) {
  RunExporterFrom(BeerXmlTemplate(list), list, path, run, std::forward<WriteRecords>(records));
}

/// RunExporter from another template text (another format's root around the list element).
template <class WriteRecords>
void RunExporterFrom(const std::string& template_text, std::string_view list,
                     const std::string& path, ExportRun& run, WriteRecords&& records) {
  try {
    std::unique_ptr<DomDocument> document = CreateDomDocument(run.faults);
    DomNode cursor = document ? document->DocumentNode() : DomNode();
    if (LoadTemplate(document.get(), cursor, template_text, list, run) &&
        BuildAndSaveStreamed(*document, cursor, path, run,
                             [&] { records(document.get(), cursor); })) {
      return;
    }
    records(document.get(), cursor);
    SaveDocument(document.get(), path, run);
  } catch (const DocumentError& error) {
    ReportFailure(error, run);
  }
}

}  // namespace kegverter
