// Record layouts.
//
// Every file of the brewing application is a run of fixed-size little-endian records with no
// alignment. Each record type is described once, next to its struct, as the sequence of its
// entries in file order:
//
//   template <>
//   struct RecordLayout<WaterRecord> {
//     using R = WaterRecord;
//     static constexpr std::size_t kRecordSize = 222;
//     static constexpr LayoutEntry<R> kEntries[] = {
//         Text(&R::name, 27),                   // a text field 27 bytes wide
//         Number(&R::calcium, kWaterIonBounds), // 4 bytes, range-tested
//         Skip(4),                              // bytes that no member receives
//         ...
//     };
//   };
//
// A number takes its width from its member's type; a text field states its width. The entries
// must cover the record exactly, so bytes after the last field are a Skip as well. Everything
// the decoder walks is derived from that one list at compile time (Layout<R>): each field's
// offset, its index among the decoded fields (the position in field_errors) and which fields are
// range-tested.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

namespace kegverter {

/// Texts are null until decoded; a decoded empty field is an empty string.
using NarrowText = std::optional<std::string>;

/// What a field holds; the code is the alternative index of MemberRef.
enum class FieldKind : std::uint8_t {
  Skip = 0,     ///< bytes skipped: no member, no field index
  UInt8 = 1,    ///< unsigned 8-bit integer
  Int16 = 2,    ///< signed 16-bit integer
  Int32 = 3,    ///< signed 32-bit integer
  Float32 = 4,  ///< IEEE 754 single precision
  Text = 5,     ///< narrow text in a fixed-width field
};

/// The member of record type R that receives a field, in FieldKind order.
template <class R>
using MemberRef = std::variant<std::monostate, std::uint8_t R::*, std::int16_t R::*,
                               std::int32_t R::*, float R::*, NarrowText R::*>;

/// Inclusive bounds of a range-tested number, in the member's own type, and the value that
/// replaces a number outside them.
template <class T>
struct RangeBounds {
  T minimum;
  T maximum;
  T default_value;
};

/// The bounds of a field: none (not tested), or bounds of the member's type.
using FieldBounds = std::variant<std::monostate, RangeBounds<std::int32_t>, RangeBounds<float>>;

/// Bytes that no member receives.
struct SkipBytes {
  std::uint32_t byte_length;
};

/// One entry of a record's layout. Made by Number, Text and Skip, which derive the kind and the
/// width from the member and accept bounds only of the member's own type.
template <class R>
struct LayoutEntry {
  constexpr LayoutEntry() = default;
  // Implicit, so that a Skip stands in an entry list beside Number and Text.
  constexpr LayoutEntry(SkipBytes skip) : byte_length(skip.byte_length) {}  // NOLINT
  constexpr LayoutEntry(MemberRef<R> target, std::uint32_t length, FieldBounds range)
      : member(target), byte_length(length), bounds(range) {}

  constexpr FieldKind kind() const { return static_cast<FieldKind>(member.index()); }

  MemberRef<R> member;  ///< monostate for skipped bytes
  std::uint32_t byte_length = 0;
  FieldBounds bounds;
};

template <class T>
inline constexpr bool kIsNumberMember =
    std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int16_t> ||
    std::is_same_v<T, std::int32_t> || std::is_same_v<T, float>;

/// A number as wide as its member's type, not range-tested.
template <class R, class T>
constexpr LayoutEntry<R> Number(T R::*member) {
  static_assert(kIsNumberMember<T>, "a number field is a uint8_t, int16_t, int32_t or float");
  return {MemberRef<R>(member), static_cast<std::uint32_t>(sizeof(T)), FieldBounds()};
}

/// A range-tested number: the bounds' type must be the member's.
template <class R, class T>
constexpr LayoutEntry<R> Number(T R::*member, RangeBounds<T> bounds) {
  static_assert(kIsNumberMember<T>, "a number field is a uint8_t, int16_t, int32_t or float");
  return {MemberRef<R>(member), static_cast<std::uint32_t>(sizeof(T)), FieldBounds(bounds)};
}

/// A narrow text field `width` bytes wide.
template <class R>
constexpr LayoutEntry<R> Text(NarrowText R::*member, std::uint32_t width) {
  return {MemberRef<R>(member), width, FieldBounds()};
}

/// `byte_length` bytes that no member receives.
constexpr SkipBytes Skip(std::uint32_t byte_length) { return {byte_length}; }

/// The layout of a record type, specialised next to each record type with
///   kRecordSize: the record's size in the file, and
///   kEntries: its LayoutEntry<R> list (a C array or a std::array), covering kRecordSize bytes.
template <class R>
struct RecordLayout;

/// A layout that extends another one: `head`'s entries, then `tail`'s.
template <class R, std::size_t N, std::size_t M>
constexpr std::array<LayoutEntry<R>, N + M> JoinEntries(const std::array<LayoutEntry<R>, N>& head,
                                                        const std::array<LayoutEntry<R>, M>& tail) {
  std::array<LayoutEntry<R>, N + M> joined{};
  for (std::size_t i = 0; i < N; ++i) joined[i] = head[i];
  for (std::size_t i = 0; i < M; ++i) joined[N + i] = tail[i];
  return joined;
}

/// One decoded field of a record: where it lies, what receives it, how it is tested.
template <class R>
struct DecodedField {
  std::uint32_t offset = 0;
  std::uint32_t byte_length = 0;
  MemberRef<R> member;
  FieldBounds bounds;

  constexpr FieldKind kind() const { return static_cast<FieldKind>(member.index()); }
};

/// No such field in the layout.
inline constexpr std::size_t kNoField = static_cast<std::size_t>(-1);

/// The tables derived from RecordLayout<R>::kEntries.
template <class R>
class Layout {
  static constexpr std::span<const LayoutEntry<R>> Entries() {
    return std::span<const LayoutEntry<R>>(RecordLayout<R>::kEntries);
  }

  static constexpr std::size_t CountFields(bool tested_only) {
    std::size_t count = 0;
    for (const LayoutEntry<R>& entry : Entries()) {
      if (entry.kind() == FieldKind::Skip) continue;
      if (!tested_only || entry.bounds.index() != 0) ++count;
    }
    return count;
  }

  static constexpr std::size_t CoveredBytes() {
    std::size_t total = 0;
    for (const LayoutEntry<R>& entry : Entries()) total += entry.byte_length;
    return total;
  }

  static constexpr bool EveryFieldHasBytes() {
    for (const LayoutEntry<R>& entry : Entries()) {
      if (entry.byte_length == 0) return false;
    }
    return true;
  }

  // Number() only takes bounds of the member's type; an entry built otherwise must agree too.
  static constexpr bool BoundsFitTheirMembers() {
    for (const LayoutEntry<R>& entry : Entries()) {
      const std::size_t bounds = entry.bounds.index();
      if (bounds == 1 && entry.kind() != FieldKind::Int32) return false;
      if (bounds == 2 && entry.kind() != FieldKind::Float32) return false;
    }
    return true;
  }

 public:
  /// Decoded fields: the size of field_errors.
  static constexpr std::size_t kFieldCount = CountFields(false);
  static constexpr std::size_t kTestedCount = CountFields(true);

  static_assert(CoveredBytes() == RecordLayout<R>::kRecordSize,
                "a layout's entries cover its record exactly, trailing bytes as a Skip");
  static_assert(EveryFieldHasBytes(), "an entry of no bytes");
  static_assert(BoundsFitTheirMembers(), "range bounds of another type than their member");

  /// The decoded fields in file order; a field's position here is its field index.
  static constexpr std::array<DecodedField<R>, kFieldCount> kFields = [] {
    std::array<DecodedField<R>, kFieldCount> fields{};
    std::uint32_t offset = 0;
    std::size_t index = 0;
    for (const LayoutEntry<R>& entry : Entries()) {
      if (entry.kind() != FieldKind::Skip) {
        fields[index++] = {offset, entry.byte_length, entry.member, entry.bounds};
      }
      offset += entry.byte_length;
    }
    return fields;
  }();

  /// The field indexes of the range-tested fields.
  static constexpr std::array<std::uint32_t, kTestedCount> kTested = [] {
    std::array<std::uint32_t, kTestedCount> tested{};
    std::size_t next = 0;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
      if (kFields[i].bounds.index() != 0) tested[next++] = static_cast<std::uint32_t>(i);
    }
    return tested;
  }();

  /// The index among the decoded fields of `member`'s field, or kNoField.
  template <class T>
  static constexpr std::size_t IndexOf(T R::*member) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
      const auto* candidate = std::get_if<T R::*>(&kFields[i].member);
      if (candidate != nullptr && *candidate == member) return i;
    }
    return kNoField;
  }
};

/// The field index (position in field_errors) of `member`'s field, or kNoField.
template <class R, class T>
constexpr std::size_t FieldIndex(T R::*member) {
  return Layout<R>::IndexOf(member);
}

/// The byte offset of `member`'s field within the record, or kNoField.
template <class R, class T>
constexpr std::size_t FieldOffset(T R::*member) {
  const std::size_t index = Layout<R>::IndexOf(member);
  return index == kNoField ? kNoField : Layout<R>::kFields[index].offset;
}

/// The width in bytes of `member`'s field, or 0 when the layout has no such field.
template <class R, class T>
constexpr std::size_t FieldWidth(T R::*member) {
  const std::size_t index = Layout<R>::IndexOf(member);
  return index == kNoField ? 0 : Layout<R>::kFields[index].byte_length;
}

}  // namespace kegverter
