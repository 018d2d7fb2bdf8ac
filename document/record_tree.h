// One record of a long list while it is built: a small tree of elements and texts that is written
// out as soon as the record is finished and then cleared for the next. It is printed exactly as
// the document layer prints the same nodes (pugixml's indented format, three blanks a level,
// every carriage return as a character reference), so that a list written record by record is
// the same text as the whole document printed at once.
//
// Nodes live in vectors and their names and values in one buffer, already escaped as they will be
// printed, all kept across records: a record costs no allocation once the first of its size has
// been built, and printing it is copying.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kegverter {

class RecordTree {
 public:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  /// Makes room for a record of about this size, so that it grows in one step.
  void Reserve(std::size_t nodes, std::size_t text_bytes);
  /// Empties the tree, keeping its storage.
  void Clear();
  bool empty() const { return nodes_.empty(); }

  /// Appends an element to `parent` (an element of this tree), or makes it the root when
  /// `parent` is kNone; returns its index. A name is taken up to its first NUL, as a C string.
  std::uint32_t AddElement(std::uint32_t parent, std::string_view name);
  /// Sets the attribute of that name of `element`, adding it when the element has none; an
  /// attribute without a name never matches another and is always added. Values, here and in
  /// AddText, are taken as the document takes them: what XML cannot carry is repaired
  /// (XmlSafeText), and a NUL ends them.
  void SetAttribute(std::uint32_t element, std::string_view name, std::string_view value);
  /// Appends a text to `element`.
  void AddText(std::uint32_t element, std::string_view value);

  /// The parent element of `node`; kNone for the root.
  std::uint32_t Parent(std::uint32_t node) const { return nodes_[node].parent; }
  bool Holds(std::uint32_t node) const { return node < nodes_.size(); }

  /// The printed tree: the root's line indented `depth` levels, its children one level deeper,
  /// and a line break at the end; empty for an empty tree. Printed into `buffer`, which only
  /// ever grows, so that printing the next record needs no allocation.
  std::string_view Print(unsigned depth, std::string& buffer) const;

 private:
  struct Span {
    std::uint32_t at = 0;
    std::uint32_t size = 0;
  };
  struct Node {
    std::uint32_t parent = kNone;
    std::uint32_t first_child = kNone;
    std::uint32_t last_child = kNone;
    std::uint32_t next_sibling = kNone;
    std::uint32_t first_attribute = kNone;
    std::uint32_t last_attribute = kNone;
    Span text;  ///< the name of an element, the value of a text; as printed
    bool element = true;
  };
  struct Attribute {
    std::uint32_t next = kNone;
    Span name;          ///< as given, to find it again
    Span printed_name;  ///< as printed
    Span value;         ///< as printed
  };

  /// Stores a value as printed: repaired as XmlSafeText repairs it, with the bytes that need it
  /// written as references (those of texts or of attribute values, as `special` says).
  Span StoreValue(std::string_view value, std::uint8_t special);
  /// Stores a name as printed: up to its first NUL, ":anonymous" when empty, a carriage return
  /// as a reference.
  Span StoreName(std::string_view name);
  /// The span of what was stored from `at` on.
  Span Stored(std::size_t at);
  std::string_view View(Span span) const { return {text_.data() + span.at, span.size}; }
  std::uint32_t Append(std::uint32_t parent, const Node& node);

  class Output;
  /// How a tag is laid out: after a line break, indented, both or neither.
  static constexpr unsigned kNewLine = 1;
  static constexpr unsigned kIndented = 2;
  /// The element's opening tag; true when children follow it, false when it closed itself.
  bool PrintStart(const Node& node, unsigned layout, unsigned depth, Output& out) const;
  /// The element's closing tag.
  void PrintEnd(const Node& node, unsigned layout, unsigned depth, Output& out) const;

  std::vector<Node> nodes_;
  std::vector<Attribute> attributes_;
  std::string text_;
};

}  // namespace kegverter
