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
  std::string error;
  std::unique_ptr<InputFile> input = InputFile::Open(path, error);
  if (!input) {
    std::fprintf(stderr, "%s: cannot open: %s\n", path.c_str(), error.c_str());
    return 1;
  }
  std::int32_t count = 0;
  const KindInfo* entry = DetectKind(*input, path, count);
  const ConvertFn convert = entry == nullptr ? nullptr
                            : json           ? BeerJsonConverter(entry->kind)
                                             : entry->writers[0];
  if (convert == nullptr || count <= 0) {
    std::fprintf(stderr, "%s: not converted\n", path.c_str());
    return 1;
  }
  if (entry->database()) {
    const std::uint64_t complete = input->size() < 4 ? 0 : (input->size() - 4) / entry->record_size;
    if (complete < static_cast<std::uint64_t>(count)) count = static_cast<std::int32_t>(complete);
  }
  if (count <= 0) return 1;
  const std::string output = path.substr(0, path.size() - 3) + (json ? "json" : "xml");
  ExportRun run;
  convert(*input, count, output, run, nullptr);
  if (!run.saved)
    std::fprintf(stderr, "%s: not written: %s\n", path.c_str(), run.save_error.c_str());
  return run.saved ? 0 : 1;
}
