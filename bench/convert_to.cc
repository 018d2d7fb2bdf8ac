// bench_convert_to FORMAT FILE: converts one file in process to FORMAT (beerxml2 or beerjson),
// output beside it as NAME.xml or NAME.json, so that the output formats are timed through the
// same reading and the same crash-safe write. Exit 0 when the output was written, 1 otherwise,
// 2 for a usage error. Prints nothing but failures.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "beerjson/convert.h"
#include "beerxml/emitter.h"
#include "driver/convert.h"
#include "driver/registry.h"
#include "source/input_file.h"

int main(int argc, char** argv) {
  using namespace kegverter;
  if (argc != 3 ||
      (std::strcmp(argv[1], "beerxml2") != 0 && std::strcmp(argv[1], "beerjson") != 0)) {
    std::fprintf(stderr, "usage: bench_convert_to beerxml2|beerjson FILE\n");
    return 2;
  }
  const bool json = std::strcmp(argv[1], "beerjson") == 0;
  const std::string path = TrimPath(argv[2]);
  const std::string output = path.substr(0, path.size() - 3) + (json ? "json" : "xml");
  ExportRun run;
  if (json) {
    if (!ConvertToBeerJson(path, output, run)) {
      std::fprintf(stderr, "%s: not converted\n", path.c_str());
      return 1;
    }
  } else {
    ConversionRequest request;
    request.input = path;
    const ConversionResult result = ConvertFile(request);
    run.saved = result.status == ConversionResult::Status::Written;
    for (const ConversionMessage& m : result.messages) run.save_error += m.text + "; ";
  }
  if (!run.saved) {
    std::fprintf(stderr, "%s: not written: %s\n", path.c_str(), run.save_error.c_str());
  }
  return run.saved ? 0 : 1;
}
