// The field-table record decoder.
//
// Every file of the brewing application is a run of fixed-size little-endian records with no
// alignment. A record type is described by data only:
//   - a field table: (byte length, kind) per field in file order; kind None skips bytes;
//   - a member table: one member pointer per decoded field (the field index is the position
//     among the non-skipped entries), which is what FieldAddress resolves;
//   - a range table: one entry per field index, with minimum, maximum and default.
// One engine walks the tables; no record is parsed by hand.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace kegverter {

class InputFile;

/// What a field holds. The code doubles as the alternative index of FieldRef and MemberRef.
enum class FieldKind : std::int32_t {
  None = 0,       ///< bytes skipped: no member, no field index
  Char = 1,       ///< one-byte character
  Word16 = 2,     ///< 16-bit value
  UInt8 = 3,      ///< unsigned 8-bit integer
  Int16 = 4,      ///< signed 16-bit integer
  Int32 = 5,      ///< signed 32-bit integer
  Int64 = 6,      ///< signed 64-bit integer
  Float32 = 7,    ///< IEEE 754 single precision
  Float64 = 8,    ///< IEEE 754 double precision
  Text = 9,       ///< narrow text in a fixed-width field
  Utf16Text = 10, ///< UTF-16 text in a fixed-width field
};

/// One entry of a field table.
struct FieldSpec {
  std::uint32_t byte_length;  ///< source bytes the field occupies
  FieldKind kind;
};

/// The natural width of each kind; text kinds take their width from the field.
inline constexpr FieldSpec kNaturalWidths[] = {
    {1, FieldKind::Char},  {2, FieldKind::Word16}, {1, FieldKind::UInt8},   {2, FieldKind::Int16},
    {4, FieldKind::Int32}, {8, FieldKind::Int64},  {4, FieldKind::Float32}, {8, FieldKind::Float64},
    {0, FieldKind::Text},  {0, FieldKind::Utf16Text},
};

/// The 4-byte record count that heads every database file.
inline constexpr FieldSpec kCountHeader[] = {kNaturalWidths[4]};

/// Texts are null until decoded; a decoded empty field is an empty string.
using NarrowText = std::optional<std::string>;
using WideText = std::optional<std::u16string>;

/// A reference to the member that receives one field; the alternative index is the FieldKind.
using FieldRef = std::variant<std::monostate, char*, std::uint16_t*, std::uint8_t*, std::int16_t*,
                              std::int32_t*, std::int64_t*, float*, double*, NarrowText*, WideText*>;

/// A member pointer of record type R, in the same alternative order as FieldRef.
template <class R>
using MemberRef =
    std::variant<std::monostate, char R::*, std::uint16_t R::*, std::uint8_t R::*,
                 std::int16_t R::*, std::int32_t R::*, std::int64_t R::*, float R::*, double R::*,
                 NarrowText R::*, WideText R::*>;

/// One bound in every numeric form; the range entry's kind says which form is read.
struct RangeValue {
  std::int16_t i16 = 0;
  std::int32_t i32 = 0;
  std::int64_t i64 = 0;
  float f32 = 0;
  double f64 = 0;
};

/// Minimum, maximum and default of a range-tested field.
struct RangeBounds {
  RangeValue minimum;
  RangeValue maximum;
  RangeValue default_value;
};

constexpr RangeBounds FloatBounds(float minimum, float maximum, float default_value) {
  RangeBounds b;
  b.minimum.f32 = minimum;
  b.maximum.f32 = maximum;
  b.default_value.f32 = default_value;
  return b;
}

constexpr RangeBounds Int16Bounds(std::int16_t minimum, std::int16_t maximum,
                                  std::int16_t default_value) {
  RangeBounds b;
  b.minimum.i16 = minimum;
  b.maximum.i16 = maximum;
  b.default_value.i16 = default_value;
  return b;
}

constexpr RangeBounds Int32Bounds(std::int32_t minimum, std::int32_t maximum,
                                  std::int32_t default_value) {
  RangeBounds b;
  b.minimum.i32 = minimum;
  b.maximum.i32 = maximum;
  b.default_value.i32 = default_value;
  return b;
}

/// One entry of a range table: a kind of 4 to 8 tests the field, anything else leaves it alone.
struct RangeSpec {
  FieldKind kind = FieldKind::None;
  const RangeBounds* bounds = nullptr;
};

/// Not range-tested.
inline constexpr RangeSpec kUntested{};

/// field_errors codes.
enum : std::int32_t { kInRange = 0, kBelowMinimum = 1, kAboveMaximum = 2 };

/// The layout of a record type: specialised next to each record type with
///   kRecordSize, kFields (FieldSpec[]), kMembers (MemberRef<R>[]) and kRanges (RangeSpec[],
///   empty span for a type that is not range-tested).
template <class R>
struct RecordLayout;

/// A table made of `head` followed by `tail`: a record that extends another record type's layout
/// states only what it adds.
template <class T, std::size_t N, std::size_t M>
constexpr std::array<T, N + M> JoinTables(const T (&head)[N], const std::array<T, M>& tail) {
  std::array<T, N + M> joined{};
  for (std::size_t i = 0; i < N; ++i) joined[i] = head[i];
  for (std::size_t i = 0; i < M; ++i) joined[N + i] = tail[i];
  return joined;
}

/// Yields the member of `record` that receives field `index`; monostate past the last field.
template <class R>
FieldRef FieldAddress(R& record, std::size_t index) {
  const auto& members = RecordLayout<R>::kMembers;
  // The monostate is named rather than `return {}`, which g++ 12 at -O2 wrongly reports as
  // maybe uninitialised for some record types.
  if (index >= std::size(members)) return FieldRef(std::in_place_index<0>);
  return std::visit(
      [&record](auto member) -> FieldRef {
        if constexpr (std::is_same_v<decltype(member), std::monostate>) {
          return FieldRef(std::in_place_index<0>);
        } else {
          return &(record.*member);
        }
      },
      members[index]);
}

/// Decodes one field's bytes (at most its byte length, already bounded) into `target`.
/// Numbers shorter than their natural width read the missing high bytes as zero.
void DecodeField(std::span<const std::uint8_t> bytes, FieldKind kind, FieldRef target);

/// Walks `table` over `bytes`, handing each decoded field to `resolve(field_index)`.
/// Bytes past the end of `bytes` read as zeros.
template <class Resolve>
void DecodeFieldTable(std::span<const std::uint8_t> bytes, std::span<const FieldSpec> table,
                      Resolve&& resolve) {
  std::size_t offset = 0;
  std::size_t index = 0;
  for (const FieldSpec& field : table) {
    if (field.kind != FieldKind::None) {
      std::span<const std::uint8_t> field_bytes;
      if (offset < bytes.size()) {
        field_bytes = bytes.subspan(offset, std::min<std::size_t>(field.byte_length,
                                                                  bytes.size() - offset));
      }
      DecodeField(field_bytes, field.kind, resolve(index));
      ++index;
    }
    offset += field.byte_length;
  }
}

/// Decodes a whole record of type R.
template <class R>
void DecodeRecord(std::span<const std::uint8_t> bytes, R& record) {
  DecodeFieldTable(bytes, RecordLayout<R>::kFields,
                   [&record](std::size_t index) { return FieldAddress(record, index); });
}

/// Tests one field against its range entry; replaces an out-of-range value by the default.
/// Returns the field_errors code.
std::int32_t ValidateField(const RangeSpec& range, FieldRef member);

/// Range-tests every field of `record`; substitutes defaults and notes codes in field_errors,
/// which is created (all zeros) on the first code. True when nothing was replaced.
template <class R>
bool ValidateRanges(R& record) {
  const auto& ranges = RecordLayout<R>::kRanges;
  bool clean = true;
  for (std::size_t i = 0; i < std::size(ranges); ++i) {
    const std::int32_t code = ValidateField(ranges[i], FieldAddress(record, i));
    if (code == kInRange) continue;
    if (record.field_errors.empty()) record.field_errors.assign(std::size(ranges), kInRange);
    record.field_errors[i] = code;
    clean = false;
  }
  return clean;
}

/// True for the bounds of a tested range entry. The bounds are read rather than compared with
/// null: g++ cannot compare the address of an inline variable with null at compile time in a
/// sanitizer build, whereas reading through a null reference is never a constant expression, so
/// a tested entry without bounds still stops the compilation.
constexpr bool BoundsReadable(const RangeBounds* bounds) {
  const RangeBounds copy = *bounds;
  static_cast<void>(copy);
  return true;
}

/// Checks at compile time that a layout's tables agree: one member per decoded field with the
/// field's kind, one range entry per field index whose kind matches, and fields within the record.
template <class R>
constexpr bool LayoutIsConsistent() {
  using L = RecordLayout<R>;
  std::size_t decoded = 0;
  std::size_t total = 0;
  for (const FieldSpec& f : L::kFields) {
    total += f.byte_length;
    if (f.kind == FieldKind::None) continue;
    if (decoded >= std::size(L::kMembers)) return false;
    if (L::kMembers[decoded].index() != static_cast<std::size_t>(f.kind)) return false;
    ++decoded;
  }
  if (decoded != std::size(L::kMembers) || total > L::kRecordSize) return false;
  if (std::size(L::kRanges) != 0) {
    if (std::size(L::kRanges) != decoded) return false;
    std::size_t i = 0;
    for (const FieldSpec& f : L::kFields) {
      if (f.kind == FieldKind::None) continue;
      const RangeSpec& r = L::kRanges[i++];
      const auto k = static_cast<int>(r.kind);
      if (k >= 4 && k <= 8 && (r.kind != f.kind || !BoundsReadable(r.bounds))) return false;
    }
  }
  return true;
}

/// Reads a block of `byte_count` bytes (missing bytes read as zeros) and decodes field 0 of
/// `table` into `destination`. False, with nothing stored, for a count of 0.
bool ReadFieldBlock(InputFile& file, std::uint32_t byte_count, std::span<const FieldSpec> table,
                    FieldRef destination);

/// The reader loop shared by all record readers: one read of the whole record, decode,
/// validate (types with a range table), then the per-type step. Returns the number of records
/// in which a value was replaced by its default.
template <class R, class Step>
std::int32_t ReadRecordsWith(InputFile& file, std::span<R> records, Step&& per_record);

template <class R>
std::int32_t ReadRecords(InputFile& file, std::span<R> records) {
  return ReadRecordsWith(file, records, [](const R&) {});
}

}  // namespace kegverter

#include "source/input_file.h"

namespace kegverter {

template <class R, class Step>
std::int32_t ReadRecordsWith(InputFile& file, std::span<R> records, Step&& per_record) {
  static_assert(LayoutIsConsistent<R>());
  std::int32_t replaced = 0;
  if (records.empty()) return 0;
  std::vector<std::uint8_t> buffer(RecordLayout<R>::kRecordSize);
  for (R& record : records) {
    file.Read(buffer);
    DecodeRecord(std::span<const std::uint8_t>(buffer), record);
    if (!ValidateRanges(record)) ++replaced;
    per_record(record);
  }
  return replaced;
}

}  // namespace kegverter
