// Writes the fuzzer's seed corpus: make_seeds <corpus folder> [<examples folder>].
//
// Every seed is one kind byte followed by a file's content, in <corpus folder>/<kind label>/.
// Seeds come from three places: the bundled examples as the fixture builder makes them, whatever
// files the examples folder holds (each picked up by its name, so the examples of a new kind need
// no change here), and a few files per kind built here at the offsets of the file layouts: plain,
// several records, damaged counts, all-0xFF and cut short.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_kinds.h"
#include "tests/examples.h"
#include "tests/fixture.h"
#include "tests/fixture_recipe.h"

namespace kegverter::fuzz {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::Database;

struct Seed {
  std::size_t kind;
  std::string name;
  std::vector<std::uint8_t> content;
};

void Add(std::vector<Seed>& seeds, std::string_view label, std::string name, const Bytes& bytes) {
  const std::optional<std::size_t> kind = KindOfLabel(label);
  if (!kind) return;
  seeds.push_back({*kind, std::move(name), bytes.data()});
}

// ---- Databases and water profiles: fixed-size records with a name first ----------------------

struct RecordShape {
  std::string_view label;
  std::size_t record_size;
  std::size_t name_width;  ///< the name (or category) field at offset 0
  bool count_header;
};

constexpr RecordShape kRecordShapes[] = {
    {"extra.dat", 577, 55, true}, {"hops.dat", 614, 55, true},  {"malt.dat", 521, 55, true},
    {"styles.dat", 1031, 55, true}, {"water.dat", 222, 27, true}, {"yeast.dat", 468, 55, true},
    {"wtr", 222, 27, false},
};

Bytes Named(const RecordShape& shape, std::string_view name) {
  return Bytes(shape.record_size).Text(0, shape.name_width, name);
}

void AddRecordSeeds(std::vector<Seed>& seeds) {
  for (const RecordShape& shape : kRecordShapes) {
    const Bytes first = Named(shape, "Cascade");
    const Bytes second = Named(shape, "Caf\xE9 \x80 Tab\t\r\n");
    Bytes full = Bytes(shape.record_size).Fill(0xFF);
    const std::string label(shape.label);
    if (shape.count_header) {
      Add(seeds, label, "one", Database(1, {first}));
      Add(seeds, label, "three", Database(3, {first, second, Bytes(shape.record_size)}));
      Add(seeds, label, "count-past-records", Database(2, {first}));
      Add(seeds, label, "count-negative", Database(-1, {first}));
      Add(seeds, label, "count-zero", Database(0, {first}));
      Add(seeds, label, "all-ff", Database(1, {full}));
      Add(seeds, label, "cut-short", Database(1, {first}).Prefix(4 + shape.record_size / 2));
    } else {
      Add(seeds, label, "one", first);
      Add(seeds, label, "all-ff", full);
      Add(seeds, label, "cut-short", first.Prefix(shape.record_size / 2));
    }
  }
}

// ---- Mash schedules: 20-byte header, fifty 292-byte step slots, 255-byte name -------------------

using testing::kStepSlots;
using testing::kStepSlotSize;

Bytes Step(int k) {
  const int temperatures[] = {122, 152, 168};
  return Bytes(kStepSlotSize)
      .Text(0, 255, "Rest " + std::to_string(k))
      .U8(255, static_cast<std::uint8_t>(k % 3))
      .I32(256, temperatures[k % 3])
      .I32(260, temperatures[k % 3] + 2)
      .I32(264, 170)
      .I32(268, 20 + k)
      .I32(272, 5)
      .F32(276, 1.25f)
      .F32(280, 10.5f);
}

Bytes MashSchedule(std::int32_t step_count, int steps_written) {
  Bytes file = Bytes(20).I32(0, step_count).I32(4, 0).F32(8, 68.0f).F32(12, 0.0f).F32(16, 1.5f);
  for (std::size_t k = 0; k < kStepSlots; ++k) {
    file.Append(static_cast<int>(k) < steps_written ? Step(static_cast<int>(k))
                                                    : Bytes(kStepSlotSize));
  }
  return file.Append(Bytes(255).Text(0, 255, "Step mash"));
}

void AddMashSeeds(std::vector<Seed>& seeds) {
  Add(seeds, "msh", "three-steps", MashSchedule(3, 3));
  Add(seeds, "msh", "no-steps", MashSchedule(0, 0));
  Add(seeds, "msh", "most-steps", MashSchedule(49, 49));
  Add(seeds, "msh", "count-past-slots", MashSchedule(50, 50));
  Add(seeds, "msh", "cut-short", MashSchedule(3, 3).Prefix(20 + 2 * kStepSlotSize + 100));
}

// ---- Recipes: header, style, the three addition lists, yeast, gap, water, process, fifty step
// slots, schedule (the fixture's recipe builder lays out the sections) -------------------------

struct RecipeShape {
  std::int32_t hops = 0;
  std::int32_t fermentables = 0;
  std::int32_t miscs = 0;
  std::int32_t steps = 0;
  std::uint8_t recipe_type = 0;
  std::uint8_t mash_mode = 1;
};

Bytes Recipe(const RecipeShape& shape) {
  testing::RecipeFile recipe;
  recipe.header.Text(0, 85, "Pale Ale").F32(97, 5.0f).F32(101, 6.5f).F32(105, 52.0f)
      .F32(109, 35.0f).F32(113, 72.0f).I32(117, 60).U8(125, shape.recipe_type);
  recipe.style.Text(0, 55, "Ale").Text(55, 55, "American Pale Ale");
  for (std::int32_t i = 0; i < shape.hops; ++i) {
    recipe.hops.push_back(Bytes(testing::kHopAdditionSize).Text(0, 55, "Cascade").F32(55, 5.5f)
                              .F32(620, 5.5f).F32(625, 1.0f)
                              .U8(629, static_cast<std::uint8_t>(i % 2 == 0 ? 60 : 251))
                              .U8(630, static_cast<std::uint8_t>(i % 2 == 0 ? 0 : 255)));
  }
  for (std::int32_t i = 0; i < shape.fermentables; ++i) {
    recipe.fermentables.push_back(Bytes(testing::kFermentableAdditionSize)
                                      .Text(0, 55, "Pale Malt").F32(171, 3.0f).F32(521, 9.0f));
  }
  for (std::int32_t i = 0; i < shape.miscs; ++i) {
    recipe.miscs.push_back(
        Bytes(testing::kMiscAdditionSize).Text(0, 55, "Irish Moss").F32(577, 1.0f));
  }
  recipe.yeast.Text(0, 55, "American Ale");
  recipe.water.Text(0, 27, "Soft water");
  recipe.process.I32(33, 152).I32(37, 60).F32(57, 12.0f)
      .Text(62, 4028, "Mash at 152 F.\r\nFerment cool.").I32(8377, 68);
  for (std::int32_t k = 0; k < shape.steps; ++k) recipe.steps.push_back(Step(k));
  recipe.schedule.Text(0, 255, "Step mash").U8(255, shape.mash_mode);
  recipe.SyncCounts();
  return recipe.Build();
}

void AddRecipeSeeds(std::vector<Seed>& seeds) {
  Add(seeds, "rec", "plain", Recipe({}));
  Add(seeds, "rec", "lists-and-steps", Recipe({2, 3, 1, 3, 0, 1}));
  Add(seeds, "rec", "simple-mash", Recipe({1, 1, 1, 0, 1, 0}));
  Add(seeds, "rec", "extract", Recipe({1, 2, 0, 5, 2, 1}));
  Add(seeds, "rec", "largest", Recipe({100, 100, 100, 49, 0, 1}));
  // A hop count past the limit, with the 101 entries present.
  Add(seeds, "rec", "count-past-limit", Recipe({101, 1, 1, 0, 0, 1}));
  Add(seeds, "rec", "cut-short", Recipe({2, 3, 1, 3, 0, 1}).Prefix(126 + 1031 + 635 + 100));
}

// ---- Examples ---------------------------------------------------------------------------------

void AddExampleSeeds(std::vector<Seed>& seeds, const fs::path& folder) {
  for (const testing::ExampleFile& example : testing::ExampleFiles()) {
    if (const auto kind = KindOfFileName(example.name)) {
      seeds.push_back({*kind, std::string("example-") + example.name, example.make().data()});
    }
  }
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(folder, ec)) return;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string name = entry.path().filename().string();
    const auto kind = KindOfFileName(name);
    if (!kind) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<std::uint8_t> content((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
    seeds.push_back({*kind, "file-" + name, std::move(content)});
  }
}

// File names of seeds: no blanks or folder separators.
std::string SafeName(std::string name) {
  for (char& c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  return name;
}

int Run(const fs::path& corpus, const fs::path& examples) {
  std::vector<Seed> seeds;
  AddRecordSeeds(seeds);
  AddMashSeeds(seeds);
  AddRecipeSeeds(seeds);
  AddExampleSeeds(seeds, examples);

  std::map<std::size_t, int> per_kind;
  for (std::size_t kind = 0; kind < FuzzKinds().size(); ++kind) {
    fs::create_directories(corpus / FuzzKinds()[kind].label);
    per_kind[kind] = 0;
  }
  for (const Seed& seed : seeds) {
    const fs::path path = corpus / FuzzKinds()[seed.kind].label / ("seed-" + SafeName(seed.name));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const char kind_byte = static_cast<char>(seed.kind);
    out.write(&kind_byte, 1);
    out.write(reinterpret_cast<const char*>(seed.content.data()),
              static_cast<std::streamsize>(seed.content.size()));
    if (!out) {
      std::fprintf(stderr, "make_seeds: cannot write %s\n", path.c_str());
      return 1;
    }
    ++per_kind[seed.kind];
  }
  for (const auto& [kind, count] : per_kind) {
    std::printf("%-10s %d seeds\n", std::string(FuzzKinds()[kind].label).c_str(), count);
  }
  return 0;
}

}  // namespace
}  // namespace kegverter::fuzz

int main(int argc, char** argv) {
  // The kinds, one label a line, for scripts that name kinds (scripts/fuzz.sh).
  if (argc == 2 && std::string_view(argv[1]) == "--kinds") {
    for (const kegverter::KindInfo& kind : kegverter::fuzz::FuzzKinds()) {
      std::printf("%s\n", std::string(kind.label).c_str());
    }
    return 0;
  }
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: make_seeds <corpus folder> [<examples folder>] | --kinds\n");
    return 2;
  }
  return kegverter::fuzz::Run(argv[1], argc == 3 ? argv[2] : "");
}
