#include "beerxml/document.h"

#include <pugixml.hpp>

#include "beerxml/text.h"

namespace kegverter {

namespace {

pugi::xml_node Node(DomNode node) { return pugi::xml_node(node.get()); }

// pugixml writes a carriage return inside text as it is, and a reading parser would turn it into
// a line feed; as a character reference it survives. pugixml itself never emits one.
class ProtectingWriter : public pugi::xml_writer {
 public:
  explicit ProtectingWriter(const std::function<void(std::string_view)>& sink) : sink_(sink) {}
  void write(const void* data, size_t size) override {
    std::string_view rest(static_cast<const char*>(data), size);
    while (!rest.empty()) {
      const std::size_t cr = rest.find('\r');
      if (cr == std::string_view::npos) {
        sink_(rest);
        return;
      }
      if (cr > 0) sink_(rest.substr(0, cr));
      sink_("&#13;");
      rest.remove_prefix(cr + 1);
    }
  }

 private:
  const std::function<void(std::string_view)>& sink_;
};

}  // namespace

DomDocument::DomDocument(const DomFaults& faults)
    : document_(std::make_unique<pugi::xml_document>()), faults_(faults) {}

DomDocument::~DomDocument() = default;

DomNode DomDocument::DocumentNode() const { return DomNode(document_->internal_object()); }

bool DomDocument::LoadXml(std::string_view text) {
  const pugi::xml_parse_result result = document_->load_buffer(
      text.data(), text.size(), pugi::parse_default | pugi::parse_declaration, pugi::encoding_utf8);
  if (!result) document_->reset();
  return static_cast<bool>(result);
}

DomNode DomDocument::FirstElementByTagName(std::string_view name) const {
  const pugi::xml_node found = document_->find_node([name](pugi::xml_node n) {
    return n.type() == pugi::node_element && name == n.name();
  });
  return DomNode(found.internal_object());
}

void DomDocument::CountOperation() {
  ++operations_;
  if (faults_.fail_operation != 0 && operations_ == faults_.fail_operation) {
    throw _com_error(faults_.code);
  }
}

DomNode DomDocument::AppendElement(DomNode parent, std::string_view name) {
  CountOperation();
  if (!parent.present()) throw _com_error(kE_POINTER);
  pugi::xml_node p = Node(parent);
  if (p.type() == pugi::node_document &&
      p.find_child([](pugi::xml_node c) { return c.type() == pugi::node_element; })) {
    throw _com_error(kE_FAIL);
  }
  const std::string element_name(name);
  pugi::xml_node created = p.append_child(element_name.c_str());
  if (!created) throw _com_error(kE_POINTER);
  return DomNode(created.internal_object());
}

DomNode DomDocument::ParentNode(DomNode node) {
  CountOperation();
  if (!node.present()) throw _com_error(kE_POINTER);
  return DomNode(Node(node).parent().internal_object());
}

void DomDocument::SetAttribute(DomNode element, std::string_view name, std::string_view value) {
  CountOperation();
  if (!element.present()) throw _com_error(kE_POINTER);
  pugi::xml_node e = Node(element);
  if (e.type() != pugi::node_element) throw _com_error(kE_FAIL);
  const std::string attribute_name(name);
  pugi::xml_attribute a = e.attribute(attribute_name.c_str());
  if (!a) a = e.append_attribute(attribute_name.c_str());
  if (!a) throw _com_error(kE_POINTER);
  std::string repaired;
  const std::string_view safe = XmlSafeText(value, repaired);
  a.set_value(safe.data(), safe.size());
}

void DomDocument::AppendText(DomNode element, std::string_view value) {
  CountOperation();
  if (!element.present()) throw _com_error(kE_POINTER);
  pugi::xml_node e = Node(element);
  if (e.type() != pugi::node_element) throw _com_error(kE_FAIL);
  pugi::xml_node text = e.append_child(pugi::node_pcdata);
  if (!text) throw _com_error(kE_POINTER);
  std::string repaired;
  const std::string_view safe = XmlSafeText(value, repaired);
  text.set_value(safe.data(), safe.size());
}

void DomDocument::Serialize(const std::function<void(std::string_view)>& sink) const {
  ProtectingWriter writer(sink);
  document_->save(writer, "   ", pugi::format_indent, pugi::encoding_utf8);
}

std::string DomDocument::Serialize() const {
  std::string out;
  Serialize([&out](std::string_view piece) { out += piece; });
  return out;
}

std::unique_ptr<DomDocument> CreateDomDocument(const DomFaults& faults) {
  if (faults.unavailable) return nullptr;
  return std::make_unique<DomDocument>(faults);
}

}  // namespace kegverter
