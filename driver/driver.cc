#include "driver/driver.h"

#include <cstring>
#include <string>

#include "driver/convert.h"

namespace kegverter {

int RunKegverter(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  if (argc != 2 || argv[1] == nullptr || std::strlen(argv[1]) < 5) {
    std::fputs(kUsageText, out);
    std::fflush(out);
    return -1;
  }
  ConversionRequest request;
  request.input = argv[1];
  request.console = out;
  const ConversionResult result = ConvertFile(request);

  std::fwrite(result.reports.data(), 1, result.reports.size(), out);
  std::fflush(out);
  for (const ConversionMessage& message : result.messages) {
    std::fprintf(err, "kegverter: %s: %s\n", message.subject.c_str(), message.text.c_str());
  }
  std::fflush(err);
  // A recipe written with document failures still says so: the file is there, incomplete.
  if (result.saved && result.kind->prints_summary) {
    std::fprintf(out,
                 result.records == 1 ? "\nProcessed %d record.\n\n" : "\nProcessed %d records.\n\n",
                 static_cast<int>(result.records));
    std::fflush(out);
  }
  return result.status == ConversionResult::Status::Written ? 0 : 1;
}

}  // namespace kegverter
