#include "source/water.h"

namespace kegverter {

std::int32_t ReadWaterRecords(InputFile& file, std::span<WaterRecord> records) {
  return ReadRecords(file, records);
}

}  // namespace kegverter
