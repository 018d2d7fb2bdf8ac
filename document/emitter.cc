#include "document/emitter.h"

#include <cerrno>

#include "platform/files.h"

namespace kegverter {

void ReportFailure(const DocumentError& error, ExportRun& run) {
  ++run.failures_reported;
  run.reports += FormatErrorReport(error);
}

bool LoadTemplate(DomDocument* document, DomNode& cursor, std::string_view template_text,
                  std::string_view list, ExportRun& run) {
  try {
    if (document == nullptr) throw DocumentError(kInvalidPointer);
    if (!document->LoadXml(template_text)) return false;
    cursor = document->FirstElementByTagName(list);
    return cursor.present();
  } catch (const DocumentError& error) {
    ++run.failures_reported;
    run.reports += error.MessageText();
    run.reports += '\n';
    return false;
  }
}

void EmitEntries(DomDocument* document, DomNode& cursor, std::span<const NodeSpec> table,
                 std::span<const std::optional<std::string>> values, ExportRun& run) {
  try {
    if (document == nullptr) throw DocumentError(kInvalidPointer);
    DomNode current = cursor;
    for (const NodeSpec& entry : table) {
      switch (entry.kind) {
        case NodeKind::Element:
          current = document->AppendElement(current, entry.name);
          break;
        case NodeKind::Parent:
          current = document->ParentNode(current);
          break;
        case NodeKind::Attribute:
          if (entry.slot < values.size() && values[entry.slot]) {
            document->SetAttribute(current, entry.name, *values[entry.slot]);
          }
          break;
        case NodeKind::Text:
          if (entry.slot < values.size() && values[entry.slot]) {
            document->AppendText(current, *values[entry.slot]);
          }
          break;
        case NodeKind::Disabled:
          break;
      }
    }
    cursor = current;
  } catch (const DocumentError& error) {
    ReportFailure(error, run);
  }
}

void ListDocument::Begin() {
  if (begun_) return;
  begun_ = true;
  Guard([&] {
    document_ = CreateDomDocument();
    cursor_ = document_ ? document_->DocumentNode() : DomNode();
    if (LoadTemplate(document_.get(), cursor_, template_, list_, run_)) {
      OutputText& output = run_.output;
      document_->StreamChildren(cursor_,
                                [&output](std::string_view piece) { output.Append(piece); });
      streaming_ = true;
    }
  });
}

void ListDocument::Finish() {
  Begin();
  Guard([&] {
    if (!streaming_) {
      // Without its template the records went wherever the cursor was: the document is
      // written as it is.
      WriteDocument(document_.get(), run_);
      return;
    }
    OutputText& output = run_.output;
    if (!document_->SerializeRest([&output](std::string_view piece) { output.Append(piece); })) {
      // The streamed list was misused: the parts would not make one document.
      output.Clear();
      run_.write_error = ErrorText(EINVAL);
      return;
    }
    run_.written = true;
  });
}

void WriteDocument(DomDocument* document, ExportRun& run) {
  if (document == nullptr) throw DocumentError(kInvalidPointer);
  document->Serialize([&run](std::string_view piece) { run.output.Append(piece); });
  run.written = true;
}

}  // namespace kegverter
