#include "source/misc.h"

namespace kegverter {

std::int32_t ReadMiscRecords(InputFile& file, std::span<MiscRecord> records) {
  return ReadRecords(file, records);
}

}  // namespace kegverter
