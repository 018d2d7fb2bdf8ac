#include "source/water_yeast_records.h"

namespace kegverter {

std::int32_t ReadWaterRecords(InputFile& file, std::span<WaterRecord> records) {
  return ReadRecords(file, records);
}

std::int32_t ReadYeastRecords(InputFile& file, std::span<YeastRecord> records) {
  return ReadRecords(file, records);
}

}  // namespace kegverter
