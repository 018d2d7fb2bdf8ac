// The writer skeleton shared by every output list: create the document from the template, walk
// node tables once per record on a shared cursor, and write the document into memory.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "document/document.h"
#include "document/document_error.h"
#include "document/node_table.h"
#include "output/output_text.h"

namespace kegverter {

/// What one writer call needs from its caller and tells it back. A run holds everything a
/// conversion changes, so conversions on several threads each have their own. Writers touch no
/// file: the document goes into `output`, which the caller saves (SaveOutput) or hands on.
struct ExportRun {
  OutputText output;          ///< the document's bytes, as far as they were written
  std::string reports;        ///< failure reports, as the console shows them
  int failures_reported = 0;  ///< document-layer failures reported during the call
  bool written = false;       ///< `output` holds the whole document
  std::string write_error;    ///< why there is no document, when a writer can say why
};

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

/// Writes the whole document into `run.output`. Raises kInvalidPointer for an absent document.
void WriteDocument(DomDocument* document, ExportRun& run);

/// Adds the report of `error` to `run` and counts it.
void ReportFailure(const DocumentError& error, ExportRun& run);

/// Runs `build` while the finished children of `list` are written into `run.output`, then
/// writes the rest: the same text as WriteDocument after the whole build, without the whole
/// list ever held in the document.
void BuildAndWriteStreamed(DomDocument& document, DomNode list, ExportRun& run,
                           const std::function<void()>& build);

/// The writer skeleton: document, cursor, template for `list`, `records(document, cursor)`
/// writes the records, then the document is written into `run.output`. A failure outside the
/// table walks is reported and ends the export at once (no document is written when it happens
/// before the end).
///
/// Records only ever go into the list, one after the other, so each is finished when the next
/// begins: once the template is in place they are written to the output as they are finished
/// (DomDocument::StreamChildren), and a large list is never held whole in the document.
template <class WriteRecords>
void RunExporterFrom(const std::string& template_text, std::string_view list, ExportRun& run,
                     WriteRecords&& records);

template <class WriteRecords>
void RunExporter(std::string_view list, ExportRun& run, WriteRecords&& records) {
  RunExporterFrom(BeerXmlTemplate(list), list, run, std::forward<WriteRecords>(records));
}

/// RunExporter from another template text (another format's root around the list element).
template <class WriteRecords>
void RunExporterFrom(const std::string& template_text, std::string_view list, ExportRun& run,
                     WriteRecords&& records) {
  try {
    std::unique_ptr<DomDocument> document = CreateDomDocument();
    DomNode cursor = document ? document->DocumentNode() : DomNode();
    if (LoadTemplate(document.get(), cursor, template_text, list, run)) {
      BuildAndWriteStreamed(*document, cursor, run, [&] { records(document.get(), cursor); });
      return;
    }
    records(document.get(), cursor);
    WriteDocument(document.get(), run);
  } catch (const DocumentError& error) {
    ReportFailure(error, run);
    run.output.Clear();  // a document cut off where it failed is no document
    run.written = false;
  }
}

}  // namespace kegverter
