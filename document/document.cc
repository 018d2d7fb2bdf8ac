#include "document/document.h"

#include <pugixml.hpp>

#include <cstring>
#include <limits>
#include <string>

#include "document/record_tree.h"
#include "document/text.h"

namespace kegverter {

namespace {

pugi::xml_node Node(DomNode node) { return pugi::xml_node(node.get()); }

// An element or attribute name as the C string pugixml takes: on the stack for the names the
// writers use (the longest is some thirty characters), on the heap for a longer one.
class NameText {
 public:
  explicit NameText(std::string_view name) {
    if (name.size() < sizeof small_) {
      std::memcpy(small_, name.data(), name.size());
      small_[name.size()] = '\0';
    } else {
      large_.assign(name);
    }
  }
  const char* c_str() const { return large_.empty() ? small_ : large_.c_str(); }

 private:
  char small_[64];
  std::string large_;
};

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

constexpr const char* kIndent = "   ";
constexpr unsigned kFormat = pugi::format_indent;

// A processing instruction put in front of the streamed children for a moment: escaping keeps
// "<?" out of every text and attribute, so its line can only be its own.
constexpr const char* kStreamMark = "kegverter-streamed-children";
constexpr std::string_view kStreamMarkText = "<?kegverter-streamed-children?>";

// Serializes the document with the mark as the first child of `container` and splits the text
// at the mark's line: what precedes the line goes to `before`, what follows it to `after`.
void SerializeAroundMark(const pugi::xml_document& document, pugi::xml_node container,
                         const std::function<void(std::string_view)>& before,
                         const std::function<void(std::string_view)>& after) {
  pugi::xml_node mark = container.prepend_child(pugi::node_pi);
  mark.set_name(kStreamMark);
  std::string head;  // the text up to the end of the mark's line; a few hundred bytes
  bool split = false;
  const std::function<void(std::string_view)> splitter = [&](std::string_view piece) {
    if (split) {
      after(piece);
      return;
    }
    head.append(piece);
    const std::size_t at = head.find(kStreamMarkText);
    if (at == std::string::npos) return;
    const std::size_t line_end = head.find('\n', at);
    if (line_end == std::string::npos) return;
    const std::size_t line_start = head.rfind('\n', at);
    before(std::string_view(head).substr(0, line_start == std::string::npos ? 0 : line_start + 1));
    split = true;
    if (line_end + 1 < head.size()) after(std::string_view(head).substr(line_end + 1));
  };
  ProtectingWriter writer(splitter);
  document.save(writer, kIndent, kFormat, pugi::encoding_utf8);
  container.remove_child(mark);
}

bool OnlyElements(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) return false;
  }
  return true;
}

}  // namespace

DomDocument::DomDocument() : document_(std::make_unique<pugi::xml_document>()) {}

DomDocument::~DomDocument() = default;

DomNode DomDocument::DocumentNode() const { return DomNode(document_->internal_object()); }

bool DomDocument::LoadXml(std::string_view text) {
  const pugi::xml_parse_result result = document_->load_buffer(
      text.data(), text.size(), pugi::parse_default | pugi::parse_declaration, pugi::encoding_utf8);
  if (!result) document_->reset();
  return static_cast<bool>(result);
}

DomNode DomDocument::FirstElementByTagName(std::string_view name) const {
  const pugi::xml_node found = document_->find_node(
      [name](pugi::xml_node n) { return n.type() == pugi::node_element && name == n.name(); });
  return DomNode(found.internal_object());
}

// A list being streamed: where it is, where its text goes, and the record being built.
struct DomDocument::Stream {
  pugi::xml_node_struct* container = nullptr;
  Sink sink;
  unsigned depth = 0;         ///< indentation depth of the container's children
  bool started = false;       ///< the text before the children has been written
  bool text_in_list = false;  ///< a text was put in the list: the parts cannot be joined
  std::string before;         ///< that text, to check that it still holds at the end
  RecordTree record;          ///< the record being built; empty before the first
  std::uint32_t number = 0;   ///< the record's number, from 1
  std::string printed;        ///< a finished record's text, its storage kept for the next
};

std::uint32_t DomDocument::Streamed(DomNode node) const {
  if (!stream_ || node.record() != stream_->number || !stream_->record.Holds(node.index())) {
    throw DocumentError(kInvalidPointer);
  }
  return node.index();
}

void DomDocument::StartStream() {
  Stream& stream = *stream_;
  if (stream.started) return;
  pugi::xml_node container(stream.container);
  SerializeAroundMark(
      *document_, container,
      [&stream](std::string_view text) {
        stream.before.append(text);
        stream.sink(text);
      },
      [](std::string_view) {});
  stream.started = true;
  // Elements the list held before it streamed go first.
  ProtectingWriter writer(stream.sink);
  while (const pugi::xml_node child = container.first_child()) {
    child.print(writer, kIndent, kFormat, pugi::encoding_utf8, stream.depth);
    container.remove_child(child);
  }
}

void DomDocument::WriteRecord() {
  Stream& stream = *stream_;
  if (stream.record.empty()) return;
  stream.sink(stream.record.Print(stream.depth, stream.printed));
  stream.record.Clear();
}

void DomDocument::StartRecord() {
  Stream& stream = *stream_;
  // The first record waits: a list of one is printed with the whole document.
  if (!stream.record.empty()) {
    StartStream();
    WriteRecord();
  }
  if (stream.number == std::numeric_limits<std::uint32_t>::max()) {
    throw DocumentError(kOutOfMemory);  // four billion records: their nodes could not be told apart
  }
  ++stream.number;
}

DomNode DomDocument::AppendElement(DomNode parent, std::string_view name) {
  BeforeOperation();
  if (parent.streamed()) {
    const std::uint32_t index = Streamed(parent);
    return {stream_->number, stream_->record.AddElement(index, name)};
  }
  if (!parent.present()) throw DocumentError(kInvalidPointer);
  pugi::xml_node p = Node(parent);
  if (p.type() == pugi::node_document &&
      p.find_child([](pugi::xml_node c) { return c.type() == pugi::node_element; })) {
    throw DocumentError(kUnspecifiedError);
  }
  if (stream_ && parent.get() == stream_->container && OnlyElements(p)) {
    StartRecord();
    return {stream_->number, stream_->record.AddElement(RecordTree::kNone, name)};
  }
  const NameText element_name(name);
  pugi::xml_node created = p.append_child(element_name.c_str());
  if (!created) throw DocumentError(kInvalidPointer);
  return DomNode(created.internal_object());
}

DomNode DomDocument::ParentNode(DomNode node) {
  BeforeOperation();
  if (node.streamed()) {
    const std::uint32_t index = Streamed(node);
    const std::uint32_t parent = stream_->record.Parent(index);
    return parent == RecordTree::kNone ? DomNode(stream_->container)
                                       : DomNode(stream_->number, parent);
  }
  if (!node.present()) throw DocumentError(kInvalidPointer);
  return DomNode(Node(node).parent().internal_object());
}

void DomDocument::SetAttribute(DomNode element, std::string_view name, std::string_view value) {
  BeforeOperation();
  if (element.streamed()) {
    const std::uint32_t index = Streamed(element);
    stream_->record.SetAttribute(index, name, value);
    return;
  }
  if (!element.present()) throw DocumentError(kInvalidPointer);
  pugi::xml_node e = Node(element);
  if (e.type() != pugi::node_element) throw DocumentError(kUnspecifiedError);
  const NameText attribute_name(name);
  pugi::xml_attribute a = e.attribute(attribute_name.c_str());
  if (!a) a = e.append_attribute(attribute_name.c_str());
  if (!a) throw DocumentError(kInvalidPointer);
  std::string repaired;
  const std::string_view safe = XmlSafeText(value, repaired);
  a.set_value(safe.data(), safe.size());
}

void DomDocument::AppendText(DomNode element, std::string_view value) {
  BeforeOperation();
  if (element.streamed()) {
    const std::uint32_t index = Streamed(element);
    stream_->record.AddText(index, value);
    return;
  }
  if (!element.present()) throw DocumentError(kInvalidPointer);
  pugi::xml_node e = Node(element);
  if (e.type() != pugi::node_element) throw DocumentError(kUnspecifiedError);
  if (stream_ && element.get() == stream_->container) stream_->text_in_list = true;
  pugi::xml_node text = e.append_child(pugi::node_pcdata);
  if (!text) throw DocumentError(kInvalidPointer);
  std::string repaired;
  const std::string_view safe = XmlSafeText(value, repaired);
  text.set_value(safe.data(), safe.size());
}

void DomDocument::Serialize(const std::function<void(std::string_view)>& sink) const {
  ProtectingWriter writer(sink);
  document_->save(writer, kIndent, kFormat, pugi::encoding_utf8);
}

void DomDocument::StreamChildren(DomNode container, Sink sink) {
  stream_ = std::make_unique<Stream>();
  // A recipe, the largest record, has some hundreds of nodes and prints as some kilobytes.
  stream_->record.Reserve(512, 8192);
  stream_->container = container.get();
  stream_->sink = std::move(sink);
  // The children are indented one level deeper than their container; the root element's
  // children sit at depth 1.
  for (pugi::xml_node n = Node(container); n && n.type() != pugi::node_document; n = n.parent()) {
    ++stream_->depth;
  }
}

bool DomDocument::SerializeRest(const Sink& sink) {
  if (!stream_ || (!stream_->started && stream_->record.empty())) {
    stream_.reset();
    Serialize(sink);
    return true;
  }
  Stream& stream = *stream_;
  const pugi::xml_node container(stream.container);
  bool consistent = !stream.text_in_list && OnlyElements(container);
  if (consistent) {
    stream.sink = sink;
    // Elements the list held before it streamed go out with the text before it.
    if (container.first_child()) StartStream();
    // One print gives the text before the list, unless that went out already (it must not have
    // changed since), and the text after it, which follows the last record.
    std::string after;  // a few lines
    SerializeAroundMark(
        *document_, container,
        [&](std::string_view text) {
          if (stream.started) {
            consistent = text == stream.before;
          } else {
            sink(text);
          }
        },
        [&](std::string_view text) { after.append(text); });
    if (consistent) {
      WriteRecord();
      sink(after);
    }
  }
  stream_.reset();
  return consistent;
}

std::string DomDocument::Serialize() const {
  std::string out;
  Serialize([&out](std::string_view piece) { out += piece; });
  return out;
}

namespace {

// The factory a test put in place on this thread (DocumentFactoryScope); null: the document
// layer's own.
thread_local const DocumentFactory* t_factory = nullptr;

}  // namespace

std::unique_ptr<DomDocument> CreateDomDocument() {
  return t_factory != nullptr ? t_factory->Create() : std::make_unique<DomDocument>();
}

DocumentFactoryScope::DocumentFactoryScope(const DocumentFactory& factory) : previous_(t_factory) {
  t_factory = &factory;
}

DocumentFactoryScope::~DocumentFactoryScope() { t_factory = previous_; }

}  // namespace kegverter
