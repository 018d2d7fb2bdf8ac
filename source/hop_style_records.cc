#include "source/hop_style_records.h"

namespace kegverter {

namespace {

template <class R>
constexpr std::size_t DecodedBytes() {
  std::size_t total = 0;
  for (const FieldSpec& field : RecordLayout<R>::kFields) total += field.byte_length;
  return total;
}

// A hop record carries 4 bytes after its last field; a style record is covered completely.
static_assert(DecodedBytes<HopRecord>() == 610);
static_assert(DecodedBytes<StyleRecord>() == RecordLayout<StyleRecord>::kRecordSize);

}  // namespace

std::int32_t ReadHopRecords(InputFile& file, std::span<HopRecord> records) {
  return ReadRecords(file, records);
}

std::int32_t ReadStyleRecords(InputFile& file, std::span<StyleRecord> records) {
  return ReadRecords(file, records);
}

}  // namespace kegverter
