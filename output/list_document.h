// The document of one list, written record by record: what every XML format's writer stands on.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "document/document.h"
#include "document/emitter.h"
#include "output/export_run.h"

namespace kegverter {

/// Writes the whole document into `run.output`. Raises kInvalidPointer for an absent document.
void WriteDocument(DomDocument* document, ExportRun& run);

/// One document of one list, written record by record: the document is created from a template
/// text holding the empty list element, each record is walked into the list, and the finished
/// records go into `run.output` as the next begins (DomDocument::StreamChildren), so that a large
/// list is never held whole in the document. A failure outside the table walks is reported and
/// ends the document at once: nothing more is written, and there is no document (one cut off
/// where it failed is none).
class ListDocument {
 public:
  ListDocument(std::string template_text, std::string_view list, ExportRun& run)
      : template_(std::move(template_text)), list_(list), run_(run) {}

  /// Creates the document and places the cursor on the list; once (the first Record does it
  /// when it has not been done).
  void Begin();

  /// Runs `write(document, cursor)` for one record.
  template <class Write>
  void Record(Write&& write) {
    Begin();
    Guard([&] { write(document_.get(), cursor_); });
  }

  /// Writes what is left of the document into `run.output`: `run.written` then tells whether it
  /// is whole.
  void Finish();

  bool begun() const { return begun_; }
  ExportRun& run() { return run_; }

 private:
  template <class Step>
  void Guard(Step&& step) {
    if (failed_) return;
    try {
      step();
    } catch (const DocumentError& error) {
      ReportFailure(error, run_);
      run_.output.Clear();  // a document cut off where it failed is no document
      run_.written = false;
      failed_ = true;
    }
  }

  std::string template_;
  std::string_view list_;
  ExportRun& run_;
  std::unique_ptr<DomDocument> document_;
  DomNode cursor_;
  bool begun_ = false;
  bool streaming_ = false;  ///< the template is in place and the list streams into the output
  bool failed_ = false;
};

}  // namespace kegverter
