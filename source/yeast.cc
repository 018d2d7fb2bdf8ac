#include "source/yeast.h"

namespace kegverter {

std::int32_t ReadYeastRecords(InputFile& file, std::span<YeastRecord> records) {
  return ReadRecords(file, records);
}

}  // namespace kegverter
