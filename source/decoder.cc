#include "source/decoder.h"

#include <cstring>
#include <vector>

namespace kegverter {

namespace {

constexpr bool IsTrimmed(std::uint8_t c) { return c == 9 || c == 10 || c == 13 || c == 32; }

}  // namespace

void DecodeText(std::span<const std::uint8_t> bytes, NarrowText& text) {
  // Trimmed in place and copied once: text fields are most of every record.
  const auto* chars = reinterpret_cast<const char*>(bytes.data());
  const auto* zero =
      static_cast<const char*>(bytes.empty() ? nullptr : std::memchr(chars, 0, bytes.size()));
  std::size_t end = zero != nullptr ? static_cast<std::size_t>(zero - chars) : bytes.size();
  while (end > 0 && IsTrimmed(static_cast<std::uint8_t>(chars[end - 1]))) --end;
  text.emplace(chars, end);
}

std::int32_t ReadCountHeader(InputFile& file) {
  CountHeader header;
  ReadRecords(file, std::span<CountHeader>(&header, 1));
  return header.count;
}

NarrowText ReadTextField(InputFile& file, std::uint32_t width) {
  std::vector<std::uint8_t> bytes(width);
  file.Read(bytes);
  NarrowText text;
  DecodeText(bytes, text);
  return text;
}

}  // namespace kegverter
