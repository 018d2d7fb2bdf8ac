#include "output/list_document.h"

#include <cerrno>

#include "platform/files.h"

namespace kegverter {

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
