#include "document/record_tree.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "document/text.h"

namespace kegverter {

namespace {

constexpr std::size_t kIndentWidth = 3;  // blanks a level
// The name printed for an element or attribute whose name is empty.
constexpr std::string_view kAnonymous = ":anonymous";

enum Special : std::uint8_t {
  kInText = 1,       // escaped in texts
  kInAttribute = 2,  // escaped in attribute values
  kInName = 4,       // written as a reference even in a name (a carriage return)
};

// Which bytes need more than a copy. In texts: the control characters, except tab and line feed,
// and & < >; in attribute values: every control character, and & < ". A carriage return is a
// reference everywhere, so that a reader does not turn it into a line feed. A NUL ends the text,
// as it ends a C string.
constexpr std::array<std::uint8_t, 256> kSpecial = [] {
  std::array<std::uint8_t, 256> table{};
  for (unsigned c = 0; c < 0x20; ++c) table[c] = kInText | kInAttribute;
  table[0] = kInText | kInAttribute | kInName;
  table['\t'] = kInAttribute;
  table['\n'] = kInAttribute;
  table['\r'] = kInText | kInAttribute | kInName;
  table['&'] = kInText | kInAttribute;
  table['<'] = kInText | kInAttribute;
  table['>'] = kInText;
  table['"'] = kInAttribute;
  return table;
}();

// Bytes written as they are: printable ASCII other than those of kSpecial. Everything else (a
// reference, a NUL, a byte of a longer UTF-8 character that may need repair) takes the slow path.
constexpr std::array<std::uint8_t, 256> kPlain = [] {
  std::array<std::uint8_t, 256> table{};
  for (unsigned c = 0x20; c < 0x80; ++c) {
    table[c] = static_cast<std::uint8_t>((kInText | kInAttribute | kInName) & ~kSpecial[c]);
  }
  return table;
}();

// Whether every byte of `text` is plain in `special`.
bool AllPlain(std::string_view text, std::uint8_t special) {
  std::uint8_t all = special;
  for (const char c : text) all &= kPlain[static_cast<unsigned char>(c)];
  return all != 0;
}

// The length of the start of `text` that needs no reference in `special`.
std::size_t PlainRun(std::string_view text, std::uint8_t special) {
  std::size_t i = 0;
  while (i < text.size() && (kSpecial[static_cast<unsigned char>(text[i])] & special) == 0) ++i;
  return i;
}

// Appends `text` up to its first NUL with the bytes of class `special` written as references.
void AppendEscaped(std::string& out, std::string_view text, std::uint8_t special) {
  std::size_t plain = PlainRun(text, special);
  out.append(text.data(), plain);
  for (std::size_t i = plain; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((kSpecial[c] & special) == 0) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    switch (c) {
      case 0:
        return;
      case '&':
        out.append("&amp;");
        break;
      case '<':
        out.append("&lt;");
        break;
      case '>':
        out.append("&gt;");
        break;
      case '"':
        out.append("&quot;");
        break;
      default: {
        const std::array<char, 5> reference = {'&', '#', static_cast<char>('0' + c / 10),
                                               static_cast<char>('0' + c % 10), ';'};
        out.append(reference.data(), reference.size());
      }
    }
  }
}

std::string_view UpToNul(std::string_view name) {
  const void* nul = std::memchr(name.data(), '\0', name.size());
  return nul == nullptr
             ? name
             : name.substr(0,
                           static_cast<std::size_t>(static_cast<const char*>(nul) - name.data()));
}

}  // namespace

// The printed text, written through a pointer into a buffer that is made large enough for each
// piece before it is written.
class RecordTree::Output {
 public:
  explicit Output(std::string& buffer) : buffer_(buffer) {}
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Room for `size` more bytes: write them from the pointer returned, then call Done with the
  // end of what was written.
  char* Room(std::size_t size) {
    if (buffer_.size() - used_ < size) Grow(size);
    return buffer_.data() + used_;
  }
  void Done(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
  std::string_view Text() const { return {buffer_.data(), used_}; }

 private:
  void Grow(std::size_t size) {
    if (size > buffer_.max_size() / 2 - used_) {
      throw std::length_error("a record too long to print");
    }
    buffer_.resize(std::max(used_ + size, 2 * buffer_.size() + 4096));
  }

  std::string& buffer_;
  std::size_t used_ = 0;
};

namespace {

char* Put(char* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}

char* PutIndent(char* at, unsigned depth) {
  const std::size_t size = std::size_t{depth} * kIndentWidth;
  std::memset(at, ' ', size);
  return at + size;
}

}  // namespace

void RecordTree::Reserve(std::size_t nodes, std::size_t text_bytes) {
  nodes_.reserve(nodes);
  text_.reserve(text_bytes);
}

void RecordTree::Clear() {
  nodes_.clear();
  attributes_.clear();
  text_.clear();
}

RecordTree::Span RecordTree::Stored(std::size_t at) {
  if (text_.size() > std::numeric_limits<std::uint32_t>::max()) {
    text_.resize(at);
    throw std::length_error("a record larger than 4 GiB");
  }
  return {static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(text_.size() - at)};
}

RecordTree::Span RecordTree::StoreValue(std::string_view value, std::uint8_t special) {
  const std::size_t at = text_.size();
  if (AllPlain(value, special)) {
    text_.append(value);
  } else {
    std::string repaired;
    AppendEscaped(text_, XmlSafeText(value, repaired), special);
  }
  return Stored(at);
}

RecordTree::Span RecordTree::StoreName(std::string_view name) {
  const std::size_t at = text_.size();
  if (!name.empty() && AllPlain(name, kInName)) {
    text_.append(name);
  } else {
    name = UpToNul(name);
    AppendEscaped(text_, name.empty() ? kAnonymous : name, kInName);
  }
  return Stored(at);
}

std::uint32_t RecordTree::Append(std::uint32_t parent, const Node& node) {
  if (nodes_.size() >= kNone) throw std::length_error("a record of more than 4 billion nodes");
  const auto index = static_cast<std::uint32_t>(nodes_.size());
  nodes_.push_back(node);
  nodes_.back().parent = parent;
  if (parent != kNone) {
    Node& above = nodes_[parent];
    if (above.last_child == kNone) {
      above.first_child = index;
    } else {
      nodes_[above.last_child].next_sibling = index;
    }
    above.last_child = index;
  }
  return index;
}

std::uint32_t RecordTree::AddElement(std::uint32_t parent, std::string_view name) {
  Node node;
  node.text = StoreName(name);
  return Append(parent, node);
}

void RecordTree::AddText(std::uint32_t element, std::string_view value) {
  Node node;
  node.text = StoreValue(value, kInText);
  node.element = false;
  Append(element, node);
}

void RecordTree::SetAttribute(std::uint32_t element, std::string_view name,
                              std::string_view value) {
  name = UpToNul(name);
  if (!name.empty()) {
    for (std::uint32_t a = nodes_[element].first_attribute; a != kNone; a = attributes_[a].next) {
      if (View(attributes_[a].name) == name) {
        attributes_[a].value = StoreValue(value, kInAttribute);
        return;
      }
    }
  }
  if (attributes_.size() >= kNone) throw std::length_error("a record of 4 billion attributes");
  Attribute attribute;
  const std::size_t at = text_.size();
  text_.append(name);
  attribute.name = Stored(at);
  attribute.printed_name = StoreName(name);
  attribute.value = StoreValue(value, kInAttribute);
  const auto index = static_cast<std::uint32_t>(attributes_.size());
  attributes_.push_back(attribute);
  Node& node = nodes_[element];
  if (node.last_attribute == kNone) {
    node.first_attribute = index;
  } else {
    attributes_[node.last_attribute].next = index;
  }
  node.last_attribute = index;
}

bool RecordTree::PrintStart(const Node& node, unsigned layout, unsigned depth, Output& out) const {
  // Line break, indentation, "<", the name, " />".
  std::size_t size = 2 + std::size_t{depth} * kIndentWidth + node.text.size + 3;
  for (std::uint32_t a = node.first_attribute; a != kNone; a = attributes_[a].next) {
    size += 4 + std::size_t{attributes_[a].printed_name.size} + attributes_[a].value.size;
  }
  char* at = out.Room(size);
  if ((layout & kNewLine) != 0) *at++ = '\n';
  if ((layout & kIndented) != 0) at = PutIndent(at, depth);
  *at++ = '<';
  at = Put(at, View(node.text));
  for (std::uint32_t a = node.first_attribute; a != kNone; a = attributes_[a].next) {
    *at++ = ' ';
    at = Put(at, View(attributes_[a].printed_name));
    *at++ = '=';
    *at++ = '"';
    at = Put(at, View(attributes_[a].value));
    *at++ = '"';
  }
  const bool open = node.first_child != kNone;
  at = Put(at, open ? std::string_view(">") : std::string_view(" />"));
  out.Done(at);
  return open;
}

void RecordTree::PrintEnd(const Node& node, unsigned layout, unsigned depth, Output& out) const {
  // Line break, indentation, "</", the name, ">".
  char* at = out.Room(1 + std::size_t{depth} * kIndentWidth + 2 + node.text.size + 1);
  if ((layout & kNewLine) != 0) *at++ = '\n';
  if ((layout & kIndented) != 0) at = PutIndent(at, depth);
  *at++ = '<';
  *at++ = '/';
  at = Put(at, View(node.text));
  *at++ = '>';
  out.Done(at);
}

// The layout rules: an element starts on a new, indented line unless a text precedes it; a
// closing tag goes on a new, indented line unless a text precedes it; a text follows whatever
// precedes it directly. So an element holding only a text is one line, <a>text</a>.
std::string_view RecordTree::Print(unsigned depth, std::string& buffer) const {
  Output out(buffer);
  if (nodes_.empty()) return out.Text();
  unsigned layout = kIndented;
  const std::uint32_t root = 0;
  std::uint32_t index = root;
  do {
    const Node& node = nodes_[index];
    if (!node.element) {
      out.Done(Put(out.Room(node.text.size), View(node.text)));
      layout = 0;
    } else {
      const bool open = PrintStart(node, layout, depth, out);
      layout = kNewLine | kIndented;
      if (open) {
        index = node.first_child;
        ++depth;
        continue;
      }
    }
    // On to the next node, closing the elements that end here.
    while (index != root) {
      if (nodes_[index].next_sibling != kNone) {
        index = nodes_[index].next_sibling;
        break;
      }
      index = nodes_[index].parent;
      --depth;
      PrintEnd(nodes_[index], layout, depth, out);
      layout = kNewLine | kIndented;
    }
  } while (index != root);
  if ((layout & kNewLine) != 0) out.Done(Put(out.Room(1), "\n"));
  return out.Text();
}

}  // namespace kegverter
