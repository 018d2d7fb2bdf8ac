// The record decoder: one engine walks the tables that source/layout.h derives from each record's
// layout, decoding every field, testing the range-tested ones and reading records from a file.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "source/input_file.h"
#include "source/layout.h"

namespace kegverter {

/// field_errors codes.
enum : std::int32_t { kInRange = 0, kBelowMinimum = 1, kAboveMaximum = 2 };

/// Assembles up to sizeof(T) little-endian bytes; missing high bytes are zero.
template <class T>
T LittleEndian(std::span<const std::uint8_t> bytes) {
  using U = std::conditional_t<sizeof(T) == 1, std::uint8_t,
                               std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint32_t>>;
  static_assert(sizeof(U) == sizeof(T));
  U value = 0;
  const std::size_t n = std::min(bytes.size(), sizeof(T));
  for (std::size_t i = 0; i < n; ++i) value |= static_cast<U>(static_cast<U>(bytes[i]) << (8 * i));
  return std::bit_cast<T>(value);
}

/// Decodes a text field: the text ends at the first zero byte or at the field's end, and trailing
/// tabs, line feeds, carriage returns and blanks go. An empty field is an empty text, not null.
void DecodeText(std::span<const std::uint8_t> bytes, NarrowText& text);

/// Decodes a whole record of type R from `bytes`; bytes past the end of `bytes` read as zeros.
template <class R>
void DecodeRecord(std::span<const std::uint8_t> bytes, R& record) {
  for (const DecodedField<R>& field : Layout<R>::kFields) {
    std::span<const std::uint8_t> field_bytes;
    if (field.offset < bytes.size()) {
      field_bytes = bytes.subspan(
          field.offset, std::min<std::size_t>(field.byte_length, bytes.size() - field.offset));
    }
    const MemberRef<R>& member = field.member;
    switch (field.kind()) {
      case FieldKind::UInt8:
        record.*std::get<std::uint8_t R::*>(member) = LittleEndian<std::uint8_t>(field_bytes);
        break;
      case FieldKind::Int16:
        record.*std::get<std::int16_t R::*>(member) = LittleEndian<std::int16_t>(field_bytes);
        break;
      case FieldKind::Int32:
        record.*std::get<std::int32_t R::*>(member) = LittleEndian<std::int32_t>(field_bytes);
        break;
      case FieldKind::Float32:
        record.*std::get<float R::*>(member) = LittleEndian<float>(field_bytes);
        break;
      case FieldKind::Text:
        DecodeText(field_bytes, record.*std::get<NarrowText R::*>(member));
        break;
      case FieldKind::Skip:
        break;
    }
  }
}

/// Tests `value` against `bounds` in the value's own type and replaces a value outside them by
/// the default. A value equal to a bound is in range; a NaN passes the minimum test and fails the
/// maximum test. Returns the field_errors code.
template <class T>
std::int32_t ApplyBounds(T& value, const RangeBounds<T>& bounds) {
  std::int32_t code = kInRange;
  if (bounds.minimum > value) {
    code = kBelowMinimum;
  } else if (bounds.maximum < value) {
    code = kAboveMaximum;
  } else if constexpr (std::is_floating_point_v<T>) {
    if (std::isnan(value)) code = kAboveMaximum;
  }
  if (code != kInRange) value = bounds.default_value;
  return code;
}

/// Range-tests every tested field of `record`; substitutes defaults and notes codes in
/// field_errors (indexed among the decoded fields), which is created all zeros on the first code.
/// True when nothing was replaced.
template <class R>
bool ValidateRanges(R& record) {
  bool clean = true;
  if constexpr (Layout<R>::kTestedCount > 0) {
    for (const std::uint32_t index : Layout<R>::kTested) {
      const DecodedField<R>& field = Layout<R>::kFields[index];
      std::int32_t code = kInRange;
      if (const auto* f = std::get_if<RangeBounds<float>>(&field.bounds)) {
        code = ApplyBounds(record.*std::get<float R::*>(field.member), *f);
      } else if (const auto* i = std::get_if<RangeBounds<std::int32_t>>(&field.bounds)) {
        code = ApplyBounds(record.*std::get<std::int32_t R::*>(field.member), *i);
      }
      if (code == kInRange) continue;
      if (record.field_errors.empty()) record.field_errors.assign(Layout<R>::kFieldCount, kInRange);
      record.field_errors[index] = code;
      clean = false;
    }
  }
  return clean;
}

/// The reader loop shared by all record readers: one read of the whole record (missing bytes at
/// the end of the file read as zeros), decode, validate, then the per-type step. Returns the
/// number of records in which a value was replaced by its default.
template <class R, class Step>
std::int32_t ReadRecordsWith(InputFile& file, std::span<R> records, Step&& per_record) {
  if (records.empty()) return 0;
  std::int32_t replaced = 0;
  std::array<std::uint8_t, RecordLayout<R>::kRecordSize> buffer{};
  for (R& record : records) {
    file.Read(buffer);
    DecodeRecord(std::span<const std::uint8_t>(buffer), record);
    if (!ValidateRanges(record)) ++replaced;
    per_record(record);
  }
  return replaced;
}

template <class R>
std::int32_t ReadRecords(InputFile& file, std::span<R> records) {
  return ReadRecordsWith(file, records, [](const R&) {});
}

/// The 4-byte record count that heads every database file.
struct CountHeader {
  std::int32_t count = 0;
};

template <>
struct RecordLayout<CountHeader> {
  using R = CountHeader;
  static constexpr std::size_t kRecordSize = 4;
  static constexpr LayoutEntry<R> kEntries[] = {Number(&R::count)};
};

/// Reads the count header from the current position; bytes missing at the end of the file read
/// as zeros, so an empty file counts 0.
std::int32_t ReadCountHeader(InputFile& file);

/// Reads a text field of `width` bytes that stands on its own in the file (the name after a mash
/// schedule's step slots); bytes missing at the end of the file read as zeros.
NarrowText ReadTextField(InputFile& file, std::uint32_t width);

}  // namespace kegverter
