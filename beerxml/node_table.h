// Node tables: an element tree written as data. Each element is its Element entry, then its
// Attribute entries, then at most one Text entry, then its children, then its Parent entry. The
// emitter walks a table and takes one value string per Attribute and Text entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kegverter {

enum class NodeKind : std::int32_t {
  Disabled = 0,        ///< nothing; how an optional element is switched off
  XmlInstruction = 1,  ///< an "xml" processing instruction appended to the current node
  Element = 2,         ///< appends an element and descends into it
  Parent = 3,          ///< climbs to the parent of the current node
  Attribute = 4,       ///< takes the next value; sets the attribute when the value is present
  Text = 5,            ///< takes the next value; appends a text node when the value is present
};

/// The variant type of a string value; entries carrying a value have it.
inline constexpr std::int32_t kValueString = 8;

struct NodeSpec {
  NodeKind kind;
  const char* name;        ///< null on Parent and Text entries
  std::int32_t value_type; ///< kValueString on Attribute and Text entries, 0 otherwise
};

/// The value strings of one table walk, one per Attribute/Text entry in table order; an absent
/// value writes nothing.
using NodeValues = std::vector<std::optional<std::string>>;

/// Entry builders, so that a table reads as the tree it describes.
namespace nodes {
constexpr NodeSpec Element(const char* name) { return {NodeKind::Element, name, 0}; }
constexpr NodeSpec Attribute(const char* name) { return {NodeKind::Attribute, name, kValueString}; }
constexpr NodeSpec Text() { return {NodeKind::Text, nullptr, kValueString}; }
constexpr NodeSpec Parent() { return {NodeKind::Parent, nullptr, 0}; }
}  // namespace nodes

/// The word of `code` in a word table; nothing when the code is outside the table or its entry
/// is null (a code the application defines no word for).
inline std::optional<std::string> WordOf(std::span<const char* const> words, std::uint32_t code) {
  if (code >= words.size() || words[code] == nullptr) return std::nullopt;
  return std::string(words[code]);
}

inline constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);

/// Number of value strings a table takes.
constexpr std::size_t ValueCount(std::span<const NodeSpec> table) {
  std::size_t n = 0;
  for (const NodeSpec& e : table) {
    if (e.kind == NodeKind::Attribute || e.kind == NodeKind::Text) ++n;
  }
  return n;
}

namespace detail {
constexpr bool SameName(const char* a, std::string_view b) {
  if (a == nullptr) return false;
  return std::string_view(a) == b;
}
}  // namespace detail

/// Index of the Element entry reached by a '/'-separated path of element names from the start of
/// the table ("mash/mash_steps", "miscellaneous/inventory/amount"); kNoEntry when there is none.
/// Each segment names a direct child of the element the path has reached so far.
constexpr std::size_t ElementEntry(std::span<const NodeSpec> table, std::string_view path) {
  std::size_t from = 0;
  int wanted_depth = 0;  // depth, relative to the table start, at which the next segment sits
  std::size_t found = kNoEntry;
  while (!path.empty()) {
    const std::size_t slash = path.find('/');
    const std::string_view segment = path.substr(0, slash);
    path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    found = kNoEntry;
    int depth = wanted_depth;
    for (std::size_t i = from; i < table.size(); ++i) {
      const NodeSpec& e = table[i];
      if (e.kind == NodeKind::Element) {
        if (depth == wanted_depth && detail::SameName(e.name, segment)) {
          found = i;
          break;
        }
        ++depth;
      } else if (e.kind == NodeKind::Parent) {
        if (--depth < wanted_depth) break;  // left the element whose children we search
      }
    }
    if (found == kNoEntry) return kNoEntry;
    from = found + 1;
    ++wanted_depth;
  }
  return found;
}

/// The Parent entry that closes the element opened at `element`; kNoEntry for an element the
/// table leaves open.
constexpr std::size_t MatchingParent(std::span<const NodeSpec> table, std::size_t element) {
  int depth = 0;
  for (std::size_t i = element; i < table.size(); ++i) {
    if (table[i].kind == NodeKind::Element) ++depth;
    if (table[i].kind == NodeKind::Parent && --depth == 0) return i;
  }
  return kNoEntry;
}

/// How many levels a table leaves the cursor below where it started (negative: above).
constexpr int EndDepth(std::span<const NodeSpec> table) {
  int depth = 0;
  for (const NodeSpec& e : table) {
    if (e.kind == NodeKind::Element) ++depth;
    if (e.kind == NodeKind::Parent) --depth;
  }
  return depth;
}

/// True when every Element entry is closed by a Parent entry and no Parent climbs above the start.
constexpr bool IsBalanced(std::span<const NodeSpec> table) {
  int depth = 0;
  for (const NodeSpec& e : table) {
    if (e.kind == NodeKind::Element) ++depth;
    if (e.kind == NodeKind::Parent && --depth < 0) return false;
  }
  return depth == 0;
}

/// An exporter's own working copy of a constant table, in which optional elements are switched
/// on and off. Switches stay as last set for the life of the copy.
class NodeTable {
 public:
  explicit NodeTable(std::span<const NodeSpec> layout)
      : layout_(layout), entries_(layout.begin(), layout.end()) {}

  /// Switches the element whose Element entry is at `element` on or off, with every element
  /// nested in it: their Element and Parent entries become Disabled, or return to what the layout
  /// says. The Attribute and Text entries inside still take their values, so the caller gives them
  /// absent values while the element is off.
  void Switch(std::size_t element, bool on) {
    if (element >= entries_.size() || layout_[element].kind != NodeKind::Element) return;
    const std::size_t parent = MatchingParent(layout_, element);
    const std::size_t end = parent == kNoEntry ? element + 1 : parent + 1;
    for (std::size_t i = element; i < end; ++i) {
      const NodeKind original = layout_[i].kind;
      if (original == NodeKind::Element || original == NodeKind::Parent) {
        entries_[i].kind = on ? original : NodeKind::Disabled;
      }
    }
  }

  bool IsOn(std::size_t element) const { return entries_.at(element).kind == NodeKind::Element; }

  std::span<const NodeSpec> entries() const { return entries_; }
  std::size_t value_count() const { return ValueCount(layout_); }

 private:
  std::span<const NodeSpec> layout_;
  std::vector<NodeSpec> entries_;
};

}  // namespace kegverter
