#include "document/emitter.h"

#include <cerrno>

#include "platform/files.h"

namespace kegverter {

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

void BuildAndWriteStreamed(DomDocument& document, DomNode list, ExportRun& run,
                           const std::function<void()>& build) {
  OutputText& output = run.output;
  const DomDocument::Sink write_piece = [&output](std::string_view piece) { output.Append(piece); };
  document.StreamChildren(list, write_piece);
  build();
  if (!document.SerializeRest(write_piece)) {
    // The streamed list was misused: the parts would not make one document.
    output.Clear();
    run.write_error = ErrorText(EINVAL);
    return;
  }
  run.written = true;
}

void WriteDocument(DomDocument* document, ExportRun& run) {
  if (document == nullptr) throw DocumentError(kInvalidPointer);
  document->Serialize([&run](std::string_view piece) { run.output.Append(piece); });
  run.written = true;
}

}  // namespace kegverter
