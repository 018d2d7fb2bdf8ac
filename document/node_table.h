// Node tables: an element tree written as data. Each element is its Element entry, then its
// Attribute entries, then at most one Text entry, then its children, then its Parent entry.
//
// Every Attribute and Text entry names the slot its value comes from. Slots are the enumerators
// of a scoped enum that ends with `kCount`, one enum per table; the values of one walk are a
// NodeValues of that enum. Tree() builds a table at compile time and fails the build unless
// every slot has exactly one entry and every value entry has a slot of the table's own enum.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kegverter {

enum class NodeKind : std::uint8_t {
  Disabled,   ///< nothing; how an optional element is switched off
  Element,    ///< appends an element and descends into it
  Parent,     ///< climbs to the parent of the current node
  Attribute,  ///< sets the attribute from its slot when the value is present
  Text,       ///< appends a text node from its slot when the value is present
};

struct NodeSpec {
  NodeKind kind;
  const char* name;    ///< null on Parent and Text entries
  std::uint16_t slot;  ///< the value slot of Attribute and Text entries, 0 otherwise
};

/// A table entry while its table is written: value entries carry their slot's enum in the type,
/// so an entry with another table's slot does not convert.
template <class Slot>
struct NodeEntry {
  NodeSpec spec;
};

/// An Element or Parent entry, which fits a table of any slot enum.
struct StructureEntry {
  NodeSpec spec;
  template <class Slot>
  constexpr operator NodeEntry<Slot>() const {  // NOLINT(google-explicit-constructor)
    return {spec};
  }
};

/// The slot enum of tables that take no values (the walks that only open or close elements).
enum class NoSlot : std::uint16_t { kCount };

/// Entry builders, so that a table reads as the tree it describes.
namespace nodes {
constexpr StructureEntry Element(const char* name) { return {{NodeKind::Element, name, 0}}; }
constexpr StructureEntry Parent() { return {{NodeKind::Parent, nullptr, 0}}; }
template <class Slot>
constexpr NodeEntry<Slot> Attribute(const char* name, Slot slot) {
  return {{NodeKind::Attribute, name, static_cast<std::uint16_t>(slot)}};
}
template <class Slot>
constexpr NodeEntry<Slot> Text(Slot slot) {
  return {{NodeKind::Text, nullptr, static_cast<std::uint16_t>(slot)}};
}
}  // namespace nodes

template <class Slot>
inline constexpr std::size_t kSlotCount = static_cast<std::size_t>(Slot::kCount);

/// A constant table whose value entries take the slots of `Slot`.
template <class Slot, std::size_t N>
struct NodeTree {
  std::array<NodeSpec, N> entries;

  /// Index of the Element entry reached by a '/'-separated path of element names from the
  /// start of the table; the build fails when there is none.
  consteval std::size_t ElementAt(std::string_view path) const;
};

namespace detail {
// Not constexpr: reaching it in a constant evaluation fails the build with its name.
inline void SlotWithoutItsEntryOrEntryWithoutItsSlot() {}
}  // namespace detail

/// Builds a table from its entries; the build fails unless every slot of `Slot` is taken by
/// exactly one Attribute or Text entry.
template <class Slot, std::size_t N>
consteval NodeTree<Slot, N> Tree(const NodeEntry<Slot> (&entries)[N]) {
  std::array<int, kSlotCount<Slot> + 1> uses{};
  NodeTree<Slot, N> tree{};
  for (std::size_t i = 0; i < N; ++i) {
    const NodeSpec& e = entries[i].spec;
    tree.entries[i] = e;
    if (e.kind != NodeKind::Attribute && e.kind != NodeKind::Text) continue;
    if (e.slot >= kSlotCount<Slot>) detail::SlotWithoutItsEntryOrEntryWithoutItsSlot();
    ++uses[e.slot];
  }
  for (std::size_t slot = 0; slot < kSlotCount<Slot>; ++slot) {
    if (uses[slot] != 1) detail::SlotWithoutItsEntryOrEntryWithoutItsSlot();
  }
  return tree;
}

/// The values of one walk of a table with slots `Slot`; a slot left absent writes nothing.
template <class Slot>
class NodeValues {
 public:
  std::optional<std::string>& operator[](Slot slot) { return values_[Index(slot)]; }
  const std::optional<std::string>& operator[](Slot slot) const { return values_[Index(slot)]; }
  std::span<const std::optional<std::string>> all() const { return values_; }

 private:
  static constexpr std::size_t Index(Slot slot) { return static_cast<std::size_t>(slot); }
  std::array<std::optional<std::string>, kSlotCount<Slot>> values_{};
};

inline constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);

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

namespace detail {
// Not constexpr: reaching it in a constant evaluation fails the build with its name.
inline void NoElementAtThisPath() {}
}  // namespace detail

template <class Slot, std::size_t N>
consteval std::size_t NodeTree<Slot, N>::ElementAt(std::string_view path) const {
  const std::size_t entry = ElementEntry(entries, path);
  if (entry == kNoEntry) detail::NoElementAtThisPath();
  return entry;
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

/// A writer's own working copy of a constant table, in which optional elements are switched on
/// and off. Switches stay as last set for the life of the copy.
template <class Slot>
class NodeTable {
 public:
  template <std::size_t N>
  explicit NodeTable(const NodeTree<Slot, N>& tree)
      : layout_(tree.entries), entries_(layout_.begin(), layout_.end()) {}

  /// Switches the element whose Element entry is at `element` on or off, with everything nested
  /// in it: its entries become Disabled, or return to what the layout says. The values of the
  /// slots inside a switched-off element are not written. An index that is not an Element entry
  /// changes nothing.
  void Switch(std::size_t element, bool on) {
    if (element >= entries_.size() || layout_[element].kind != NodeKind::Element) return;
    const std::size_t parent = MatchingParent(layout_, element);
    const std::size_t end = parent == kNoEntry ? element + 1 : parent + 1;
    for (std::size_t i = element; i < end; ++i) {
      entries_[i].kind = on ? layout_[i].kind : NodeKind::Disabled;
    }
  }

  bool IsOn(std::size_t element) const { return entries_.at(element).kind == NodeKind::Element; }

  std::span<const NodeSpec> entries() const { return entries_; }

 private:
  std::span<const NodeSpec> layout_;
  std::vector<NodeSpec> entries_;
};

}  // namespace kegverter
