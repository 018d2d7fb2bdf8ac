// The node-table emitter: a template loaded into a document, node tables walked on a shared
// cursor, and the failures of the document layer met on the way logged as the console shows them.
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

namespace kegverter {

/// The failures of the document layer met while writing a document, as the console shows them.
struct FailureLog {
  std::string reports;        ///< failure reports, as the console shows them
  int failures_reported = 0;  ///< document-layer failures reported
};

/// Loads the template and moves `cursor` to the list element. False when the text did not load
/// or the document is absent; for an absent document the message text alone is reported.
bool LoadTemplate(DomDocument* document, DomNode& cursor, std::string_view template_text,
                  std::string_view list, FailureLog& log);

/// Walks `table` from `cursor`, writing the value of each entry's slot from `values`. On a
/// failure the report is added to `log`, the rest of the table is skipped, nodes already added
/// stay and the cursor keeps its old place.
void EmitEntries(DomDocument* document, DomNode& cursor, std::span<const NodeSpec> table,
                 std::span<const std::optional<std::string>> values, FailureLog& log);

/// EmitEntries for a working copy of a table and the values of its slots.
template <class Slot>
void EmitNodeTable(DomDocument* document, DomNode& cursor, const NodeTable<Slot>& table,
                   const NodeValues<Slot>& values, FailureLog& log) {
  EmitEntries(document, cursor, table.entries(), values.all(), log);
}

/// EmitEntries for a constant table and the values of its slots.
template <class Slot, std::size_t N>
void EmitNodeTable(DomDocument* document, DomNode& cursor, const NodeTree<Slot, N>& table,
                   const NodeValues<Slot>& values, FailureLog& log) {
  EmitEntries(document, cursor, table.entries, values.all(), log);
}

/// EmitEntries for a table that takes no values.
template <std::size_t N>
void EmitNodeTable(DomDocument* document, DomNode& cursor, const NodeTree<NoSlot, N>& table,
                   FailureLog& log) {
  EmitEntries(document, cursor, table.entries, {}, log);
}

/// Adds the report of `error` to `log` and counts it.
void ReportFailure(const DocumentError& error, FailureLog& log);

}  // namespace kegverter
