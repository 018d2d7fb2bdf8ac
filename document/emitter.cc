#include "document/emitter.h"

namespace kegverter {

void ReportFailure(const DocumentError& error, FailureLog& log) {
  ++log.failures_reported;
  log.reports += FormatErrorReport(error);
}

bool LoadTemplate(DomDocument* document, DomNode& cursor, std::string_view template_text,
                  std::string_view list, FailureLog& log) {
  try {
    if (document == nullptr) throw DocumentError(kInvalidPointer);
    if (!document->LoadXml(template_text)) return false;
    cursor = document->FirstElementByTagName(list);
    return cursor.present();
  } catch (const DocumentError& error) {
    ++log.failures_reported;
    log.reports += error.MessageText();
    log.reports += '\n';
    return false;
  }
}

void EmitEntries(DomDocument* document, DomNode& cursor, std::span<const NodeSpec> table,
                 std::span<const std::optional<std::string>> values, FailureLog& log) {
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
    ReportFailure(error, log);
  }
}

}  // namespace kegverter
