#include "tests/examples.h"

#include <filesystem>
#include <random>
#include <string_view>
#include <vector>

namespace kegverter::testing {

// One row per example, each made by a function next to its file kind's tests.
static const std::vector<ExampleFile> kExamples = {
    {"extra.dat", MakeExtraExample},   {"malt.dat", MakeMaltExample},
    {"water.dat", MakeWaterExample},   {"Edinburgh.wtr", MakeWtrExample},
    {"yeast.dat", MakeYeastExample},   {"hops.dat", MakeHopsExample},
    {"styles.dat", MakeStylesExample}, {"Step Mash.msh", &MashScheduleExample},
    {"Pale Ale.rec", &RecipeExample},
};

std::span<const ExampleFile> ExampleFiles() { return kExamples; }

std::vector<DamagedExample> WriteDamagedExamples(const TempDir& dir, std::uint32_t seed,
                                                 int variants) {
  std::vector<DamagedExample> copies;
  std::mt19937 random(seed);
  for (const ExampleFile& example : ExampleFiles()) {
    const Bytes original = example.make();
    for (int variant = 0; variant < variants; ++variant) {
      std::vector<std::uint8_t> bytes = original.data();
      const std::size_t first = std::string_view(example.name).ends_with(".dat") ? 4 : 0;
      for (int k = 0; k < 40 && bytes.size() > first; ++k) {
        const std::size_t at = first + random() % (bytes.size() - first);
        bytes[at] = static_cast<std::uint8_t>(random());
      }
      std::string folder = "v" + std::to_string(variant) + "-" + example.name;
      std::filesystem::create_directory(dir.Path(folder));
      std::string path =
          dir.Write(folder + "/" + example.name,
                    std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
      copies.push_back({std::move(folder), std::move(path)});
    }
  }
  return copies;
}

}  // namespace kegverter::testing
