// Writes the bundled example files: make_examples <folder>.
#include <cstdio>
#include <filesystem>

#include "tests/examples.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_examples <folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (const auto& example : kegverter::testing::ExampleFiles()) {
    const auto bytes = example.make();
    std::FILE* out = std::fopen((folder / example.name).string().c_str(), "wb");
    if (out == nullptr || std::fwrite(bytes.data().data(), 1, bytes.size(), out) != bytes.size()) {
      std::fprintf(stderr, "make_examples: cannot write %s\n", example.name);
      return 1;
    }
    std::fclose(out);
  }
  return 0;
}
