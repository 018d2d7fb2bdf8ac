// Writes the fuzzer's seed corpus: make_seeds <corpus folder> [<examples folder>].
//
// Every seed is one kind byte followed by a file's content, in <corpus folder>/<kind label>/.
// Seeds come from three places: the bundled examples as the fixture builder makes them, whatever
// files the examples folder holds (each picked up by its name, so the examples of a new kind need
// no change here), and a few files per kind written with the fixture's record writers: plain,
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
#include "tests/records.h"

namespace kegverter::fuzz {
namespace {

namespace fs = std::filesystem;
namespace file = testing::file;
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

// A record of the kind whose name (a style's category) is `name`, every other field zero.
struct RecordSeedKind {
  std::string_view label;
  Bytes (*named)(std::string_view name);
  bool count_header;
};

template <class R, std::string R::*kName>
Bytes Named(std::string_view name) {
  R record;
  record.*kName = std::string(name);
  return file::ToBytes(record);
}

constexpr RecordSeedKind kRecordSeedKinds[] = {
    {"extra.dat", Named<file::Misc, &file::Misc::ingredient_name>, true},
    {"hops.dat", Named<file::Hop, &file::Hop::name>, true},
    {"malt.dat", Named<file::Malt, &file::Malt::name>, true},
    {"styles.dat", Named<file::Style, &file::Style::category>, true},
    {"water.dat", Named<file::Water, &file::Water::name>, true},
    {"yeast.dat", Named<file::Yeast, &file::Yeast::name>, true},
    {"wtr", Named<file::Water, &file::Water::name>, false},
};

void AddRecordSeeds(std::vector<Seed>& seeds) {
  for (const RecordSeedKind& kind : kRecordSeedKinds) {
    const Bytes first = kind.named("Cascade");
    const Bytes second = kind.named("Caf\xE9 \x80 Tab\t\r\n");
    const std::size_t size = first.size();
    Bytes full = Bytes(size).Fill(0xFF);
    const std::string label(kind.label);
    if (kind.count_header) {
      Add(seeds, label, "one", Database(1, {first}));
      Add(seeds, label, "three", Database(3, {first, second, Bytes(size)}));
      Add(seeds, label, "count-past-records", Database(2, {first}));
      Add(seeds, label, "count-negative", Database(-1, {first}));
      Add(seeds, label, "count-zero", Database(0, {first}));
      Add(seeds, label, "all-ff", Database(1, {full}));
      Add(seeds, label, "cut-short", Database(1, {first}).Prefix(4 + size / 2));
    } else {
      Add(seeds, label, "one", first);
      Add(seeds, label, "all-ff", full);
      Add(seeds, label, "cut-short", first.Prefix(size / 2));
    }
  }
}

// ---- Mash schedules ---------------------------------------------------------------------------

file::MashStep Step(int k) {
  const int temperatures[] = {122, 152, 168};
  file::MashStep s;
  s.name = "Rest " + std::to_string(k);
  s.type = static_cast<std::uint8_t>(k % 3);
  s.step_temperature = temperatures[k % 3];
  s.end_temperature = temperatures[k % 3] + 2;
  s.infuse_temperature = 170;
  s.step_time = 20 + k;
  s.ramp_time = 5;
  s.water_grain_ratio = 1.25f;
  s.step_amount = 10.5f;
  return s;
}

Bytes MashSchedule(std::int32_t step_count, int steps_written) {
  file::MashSchedule m;
  m.step_count = step_count;
  m.grain_temperature = 68.0f;
  m.spare_ratio = 1.5f;
  for (int k = 0; k < steps_written; ++k) m.steps.push_back(Step(k));
  m.name = "Step mash";
  return file::ToBytes(m);
}

void AddMashSeeds(std::vector<Seed>& seeds) {
  Add(seeds, "msh", "three-steps", MashSchedule(3, 3));
  Add(seeds, "msh", "no-steps", MashSchedule(0, 0));
  Add(seeds, "msh", "most-steps", MashSchedule(49, 49));
  Add(seeds, "msh", "count-past-slots", MashSchedule(50, 50));
  Add(seeds, "msh", "cut-short",
      MashSchedule(3, 3).Prefix(file::kMashScheduleHeaderSize + 2 * file::kMashStepSize + 100));
}

// ---- Recipes ----------------------------------------------------------------------------------

struct RecipeShape {
  std::int32_t hops = 0;
  std::int32_t fermentables = 0;
  std::int32_t miscs = 0;
  std::int32_t steps = 0;
  std::uint8_t recipe_type = 0;
  std::uint8_t mash_mode = 1;
};

Bytes Recipe(const RecipeShape& shape) {
  file::Recipe recipe;
  recipe.header = {.name = "Pale Ale",
                   .batch_size = 5.0f,
                   .boil_size = 6.5f,
                   .original_gravity = 52.0f,
                   .bitterness = 35.0f,
                   .efficiency = 72.0f,
                   .boil_time = 60,
                   .recipe_type = shape.recipe_type};
  recipe.style.category = "Ale";
  recipe.style.name = "American Pale Ale";
  for (std::int32_t i = 0; i < shape.hops; ++i) {
    file::HopAddition hop;
    hop.name = "Cascade";
    hop.alpha_acid = 5.5f;
    hop.alpha = 5.5f;
    hop.amount = 1.0f;
    hop.addition_time = static_cast<std::uint8_t>(i % 2 == 0 ? 60 : 251);
    hop.dry_hop_marker = static_cast<std::uint8_t>(i % 2 == 0 ? 0 : 255);
    recipe.hops.push_back(hop);
  }
  for (std::int32_t i = 0; i < shape.fermentables; ++i) {
    file::FermentableAddition malt;
    malt.name = "Pale Malt";
    malt.color = 3.0f;
    malt.amount = 9.0f;
    recipe.fermentables.push_back(malt);
  }
  for (std::int32_t i = 0; i < shape.miscs; ++i) {
    file::MiscAddition misc;
    misc.ingredient_name = "Irish Moss";
    misc.amount = 1.0f;
    recipe.miscs.push_back(misc);
  }
  recipe.yeast.name = "American Ale";
  recipe.water.name = "Soft water";
  recipe.process.saccharification_rest_temperature = 152;
  recipe.process.saccharification_rest_time = 60;
  recipe.process.mash_water = 12.0f;
  recipe.process.notes = "Mash at 152 F.\r\nFerment cool.";
  recipe.process.grain_temperature = 68;
  for (std::int32_t k = 0; k < shape.steps; ++k) recipe.steps.push_back(Step(k));
  recipe.schedule = {"Step mash", shape.mash_mode};
  return file::ToBytes(recipe.SyncCounts());
}

void AddRecipeSeeds(std::vector<Seed>& seeds) {
  Add(seeds, "rec", "plain", Recipe({}));
  Add(seeds, "rec", "lists-and-steps", Recipe({2, 3, 1, 3, 0, 1}));
  Add(seeds, "rec", "simple-mash", Recipe({1, 1, 1, 0, 1, 0}));
  Add(seeds, "rec", "extract", Recipe({1, 2, 0, 5, 2, 1}));
  Add(seeds, "rec", "largest", Recipe({100, 100, 100, 49, 0, 1}));
  // A hop count past the limit, with the 101 entries present.
  Add(seeds, "rec", "count-past-limit", Recipe({101, 1, 1, 0, 0, 1}));
  Add(seeds, "rec", "cut-short",
      Recipe({2, 3, 1, 3, 0, 1})
          .Prefix(file::kRecipeHeaderSize + file::kStyleSize + file::kHopAdditionSize + 100));
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
    fs::create_directories(corpus / FuzzKinds()[kind]->label);
    per_kind[kind] = 0;
  }
  for (const Seed& seed : seeds) {
    const fs::path path = corpus / FuzzKinds()[seed.kind]->label / ("seed-" + SafeName(seed.name));
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
    std::printf("%-10s %d seeds\n", std::string(FuzzKinds()[kind]->label).c_str(), count);
  }
  return 0;
}

}  // namespace
}  // namespace kegverter::fuzz

int main(int argc, char** argv) {
  // The kinds, one label a line, for scripts that name kinds (scripts/fuzz.sh).
  if (argc == 2 && std::string_view(argv[1]) == "--kinds") {
    for (const kegverter::KindInfo* kind : kegverter::fuzz::FuzzKinds()) {
      std::printf("%s\n", std::string(kind->label).c_str());
    }
    return 0;
  }
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: make_seeds <corpus folder> [<examples folder>] | --kinds\n");
    return 2;
  }
  return kegverter::fuzz::Run(argv[1], argc == 3 ? argv[2] : "");
}
