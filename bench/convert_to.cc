// bench_convert_to FORMAT FILE: converts one file in process to FORMAT (a name of the registry's
// format table: beerxml2, beerjson, ...), output beside it as the format names it, so that the
// output formats are timed through the same reading and the same crash-safe write. Exit 0 when
// the output was written, 1 otherwise, 2 for a usage error. Prints nothing but failures.
#include <cstdio>
#include <string>

#include "driver/convert.h"
#include "driver/registry.h"

int main(int argc, char** argv) {
  using namespace kegverter;
  const FormatInfo* format = argc == 3 ? FindFormat(argv[1]) : nullptr;
  if (format == nullptr) {
    std::fprintf(stderr, "usage: bench_convert_to FORMAT FILE\n");
    return 2;
  }
  ConversionRequest request;
  request.input = argv[2];
  request.format = format->format;
  const ConversionResult result = ConvertFile(request);
  for (const ConversionMessage& m : result.messages) {
    if (result.status != ConversionResult::Status::Written) {
      std::fprintf(stderr, "%s: %s\n", m.subject.c_str(), m.text.c_str());
    }
  }
  return result.status == ConversionResult::Status::Written ? 0 : 1;
}
