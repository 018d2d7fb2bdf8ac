#include "source/decoder.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace kegverter {

namespace {

// Assembles up to sizeof(T) little-endian bytes; missing high bytes are zero.
template <class T>
T LittleEndian(std::span<const std::uint8_t> bytes) {
  using U = std::make_unsigned_t<std::conditional_t<std::is_floating_point_v<T>,
                                                    std::conditional_t<sizeof(T) == 4,
                                                                       std::uint32_t,
                                                                       std::uint64_t>,
                                                    T>>;
  U value = 0;
  const std::size_t n = std::min(bytes.size(), sizeof(T));
  for (std::size_t i = 0; i < n; ++i) value |= static_cast<U>(static_cast<U>(bytes[i]) << (8 * i));
  return std::bit_cast<T>(value);
}

constexpr bool IsTrimmed(char32_t c) { return c == 9 || c == 10 || c == 13 || c == 32; }

// Text ends at the first zero (the field always has one after its bytes); trailing tabs, line
// feeds, carriage returns and blanks go.
template <class Text, class Unit>
Text TrimmedText(const std::basic_string<Unit>& units) {
  std::size_t end = units.size();
  while (end > 0 && IsTrimmed(static_cast<char32_t>(units[end - 1]))) --end;
  return Text(units.substr(0, end));
}

}  // namespace

void DecodeField(std::span<const std::uint8_t> bytes, FieldKind kind, FieldRef target) {
  switch (kind) {
    case FieldKind::Char:
      if (auto* p = std::get_if<char*>(&target)) **p = static_cast<char>(LittleEndian<std::uint8_t>(bytes));
      break;
    case FieldKind::Word16:
      if (auto* p = std::get_if<std::uint16_t*>(&target)) **p = LittleEndian<std::uint16_t>(bytes);
      break;
    case FieldKind::UInt8:
      if (auto* p = std::get_if<std::uint8_t*>(&target)) **p = LittleEndian<std::uint8_t>(bytes);
      break;
    case FieldKind::Int16:
      if (auto* p = std::get_if<std::int16_t*>(&target)) **p = LittleEndian<std::int16_t>(bytes);
      break;
    case FieldKind::Int32:
      if (auto* p = std::get_if<std::int32_t*>(&target)) **p = LittleEndian<std::int32_t>(bytes);
      break;
    case FieldKind::Int64:
      if (auto* p = std::get_if<std::int64_t*>(&target)) **p = LittleEndian<std::int64_t>(bytes);
      break;
    case FieldKind::Float32:
      if (auto* p = std::get_if<float*>(&target)) **p = LittleEndian<float>(bytes);
      break;
    case FieldKind::Float64:
      if (auto* p = std::get_if<double*>(&target)) **p = LittleEndian<double>(bytes);
      break;
    case FieldKind::Text:
      if (auto* p = std::get_if<NarrowText*>(&target)) {
        // Trimmed in place and copied once: text fields are most of every record.
        const auto* text = reinterpret_cast<const char*>(bytes.data());
        const auto* zero = static_cast<const char*>(
            bytes.empty() ? nullptr : std::memchr(text, 0, bytes.size()));
        std::size_t end = zero != nullptr ? static_cast<std::size_t>(zero - text) : bytes.size();
        while (end > 0 && IsTrimmed(static_cast<std::uint8_t>(text[end - 1]))) --end;
        (*p)->emplace(text, end);
      }
      break;
    case FieldKind::Utf16Text:
      if (auto* p = std::get_if<WideText*>(&target)) {
        std::u16string units;
        for (std::size_t i = 0; i < bytes.size(); i += 2) {
          const auto unit = LittleEndian<std::uint16_t>(bytes.subspan(i));
          if (unit == 0) break;
          units.push_back(static_cast<char16_t>(unit));
        }
        **p = TrimmedText<std::u16string>(units);
      }
      break;
    case FieldKind::None:
      break;
  }
}

namespace {

// Compares in the member's own form: a value equal to a bound is in range; a NaN passes the
// minimum test and fails the maximum test.
template <class T>
std::int32_t Check(T* member, T minimum, T maximum, T default_value) {
  if (member == nullptr) return kInRange;
  std::int32_t code = kInRange;
  if (minimum > *member) {
    code = kBelowMinimum;
  } else if (maximum < *member) {
    code = kAboveMaximum;
  } else if constexpr (std::is_floating_point_v<T>) {
    if (std::isnan(*member)) code = kAboveMaximum;
  }
  if (code != kInRange) *member = default_value;
  return code;
}

template <class T>
T* As(FieldRef& ref) {
  auto* p = std::get_if<T*>(&ref);
  return p != nullptr ? *p : nullptr;
}

}  // namespace

std::int32_t ValidateField(const RangeSpec& range, FieldRef member) {
  if (range.bounds == nullptr) return kInRange;
  const RangeBounds& b = *range.bounds;
  switch (range.kind) {
    case FieldKind::Int16:
      return Check(As<std::int16_t>(member), b.minimum.i16, b.maximum.i16, b.default_value.i16);
    case FieldKind::Int32:
      return Check(As<std::int32_t>(member), b.minimum.i32, b.maximum.i32, b.default_value.i32);
    case FieldKind::Int64:
      return Check(As<std::int64_t>(member), b.minimum.i64, b.maximum.i64, b.default_value.i64);
    case FieldKind::Float32:
      return Check(As<float>(member), b.minimum.f32, b.maximum.f32, b.default_value.f32);
    case FieldKind::Float64:
      return Check(As<double>(member), b.minimum.f64, b.maximum.f64, b.default_value.f64);
    default:
      return kInRange;
  }
}

bool ReadFieldBlock(InputFile& file, std::uint32_t byte_count, std::span<const FieldSpec> table,
                    FieldRef destination) {
  if (byte_count == 0) return false;
  std::vector<std::uint8_t> block(byte_count);
  file.Read(block);
  DecodeFieldTable(std::span<const std::uint8_t>(block), table,
                   [&destination](std::size_t index) {
                     return index == 0 ? destination : FieldRef{};
                   });
  return true;
}

}  // namespace kegverter
