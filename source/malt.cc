#include "source/malt.h"

namespace kegverter {

std::int32_t ReadMaltRecords(InputFile& file, std::span<MaltRecord> records) {
  return ReadRecords(file, records);
}

}  // namespace kegverter
