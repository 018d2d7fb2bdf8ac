#include "beerxml/emitter.h"

#include <cerrno>
#include <memory>

#include "platform/files.h"

namespace kegverter {

bool SaveOutput(const std::string& path, StagedOutput* staged,
                const std::function<bool(std::FILE*)>& write, std::string& error) {
  return staged == nullptr ? ReplaceFileWith(path, write, error) : staged->Write(write, error);
}

std::string BeerXmlTemplate(std::string_view list) {
  const std::string name(list);
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
         "<beer_xml xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:noNamespaceSchemaLocation=\"BeerXML.xsd\">\r\n"
         "   <version>2.01</version>\r\n"
         "   <" +
         name +
         ">\r\n"
         "   </" +
         name +
         ">\r\n"
         "</beer_xml>\r\n";
}

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

namespace {

// Writes pieces of text into an open file; after the first failed write it writes nothing more
// and keeps the errno of that failure for the caller's message.
class FileSink {
 public:
  explicit FileSink(std::FILE* out) : out_(out) {}
  void operator()(std::string_view piece) {
    if (ok_ && std::fwrite(piece.data(), 1, piece.size(), out_) != piece.size()) {
      ok_ = false;
      errno_ = errno;
    }
  }
  // True when everything was written; else sets errno back to the failure's.
  bool Finish() const {
    if (!ok_) errno = errno_;
    return ok_;
  }

 private:
  std::FILE* out_;
  bool ok_ = true;
  int errno_ = 0;
};

}  // namespace

bool BuildAndSaveStreamed(DomDocument& document, DomNode list, const std::string& path,
                          ExportRun& run, const std::function<void()>& build) {
  bool built = false;
  std::string error;
  const auto write = [&](std::FILE* out) {
    auto sink = std::make_shared<FileSink>(out);
    const DomDocument::Sink write_piece = [sink](std::string_view piece) { (*sink)(piece); };
    document.StreamChildren(list, write_piece);
    built = true;
    build();
    if (!document.SerializeRest(write_piece)) {
      errno = EINVAL;  // the streamed list was misused: the parts would not make one document
      return false;
    }
    return sink->Finish();
  };
  const bool saved = SaveOutput(path, run.staged, write, error);
  if (!built) return false;
  if (saved) {
    run.saved = true;
  } else {
    run.save_error = error;
  }
  return true;
}

void SaveDocument(DomDocument* document, const std::string& path, ExportRun& run) {
  if (document == nullptr) throw DocumentError(kInvalidPointer);
  // Written straight into the file as it is serialized: a large document is not held twice.
  const auto write = [document](std::FILE* out) {
    FileSink sink(out);
    document->Serialize([&sink](std::string_view piece) { sink(piece); });
    return sink.Finish();
  };
  run.saved = SaveOutput(path, run.staged, write, run.save_error);
}

}  // namespace kegverter
