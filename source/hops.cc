#include "source/hops.h"

namespace kegverter {

std::int32_t ReadHopRecords(InputFile& file, std::span<HopRecord> records) {
  return ReadRecords(file, records);
}

}  // namespace kegverter
