#include "source/styles.h"

namespace kegverter {

std::int32_t ReadStyleRecords(InputFile& file, std::span<StyleRecord> records) {
  return ReadRecords(file, records);
}

}  // namespace kegverter
