// Writes a library of every file kind whose texts hold what old files do hold and importers
// choke on: line breaks, tabs, control characters, bytes 0x80 to 0x9F, leading blanks, names
// filled to the width of their field, and every hop use, in recipes with a step mash, a simple
// mash and no mash. The content is pseudo-random with a fixed seed: every run writes the same
// bytes.
//
// usage: make_hostile <folder>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fixture.h"
#include "tests/fixture_recipes.h"
#include "tests/records.h"

namespace kegverter::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kWords[] = {
    "Pale",          "Ale",         "Cascade", "Munich", "caf\xE9", "K\xF6lsch",
    "\x93house\x94", "brewer\x92s", "<&>",     "\"q\"",  "\\"};
constexpr std::string_view kHostile[] = {"\n",   "\r\n", "\r",   "\t",   "\x01", "\x1F",  "\x7F",
                                         "\x81", "\x85", "\x8D", "\x9F", "  ",   "\n\n\t"};

class Texts {
 public:
  explicit Texts(std::uint32_t seed) : random_(seed) {}

  // Words with hostile bytes between and around them; one in five fills its field.
  std::string Text() {
    std::string text;
    if (Pick(3) == 0) text += ' ';
    const std::size_t words = 1 + Pick(4);
    for (std::size_t i = 0; i < words; ++i) {
      text += kWords[Pick(std::size(kWords))];
      text += kHostile[Pick(std::size(kHostile))];
    }
    if (Pick(5) == 0) {
      while (text.size() < 300) text += "Full" + std::string(kHostile[Pick(std::size(kHostile))]);
    }
    return text;
  }

  std::size_t Pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }

 private:
  std::mt19937 random_;
};

bool Save(const fs::path& path, const Bytes& bytes) {
  std::FILE* out = std::fopen(path.string().c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(bytes.data().data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written;
}

file::Recipe HostileRecipe(Texts& t, int n) {
  file::Recipe r = FullRecipe();
  r.header.name = t.Text();
  r.style.category = t.Text();
  r.style.name = t.Text();
  // Every hop use: boil, first wort, mash and dry hop.
  r.hops = {RecipeHop(t.Text(), 5.5f, 4.5f, 0x2003, 1.0f, 60, 0, t.Text()),
            RecipeHop(t.Text(), 10, 5, 0x0001, 0.5f, 61, 0, t.Text()),
            RecipeHop(t.Text(), 4, 3, 0x1002, 0.75f, 62, 255, t.Text()),
            RecipeHop(t.Text(), 6, 3, 0x2003, 1.0f, 251, 255, t.Text())};
  for (auto& f : r.fermentables) f.name = t.Text();
  for (auto& m : r.miscs) m.ingredient_name = t.Text();
  r.yeast.name = t.Text();
  r.yeast.laboratory = t.Text();
  r.water.name = t.Text();
  r.process.notes = t.Text();
  if (n % 3 == 1) {
    // A step mash, names and all.
    r.schedule.mash_mode = 1;
    r.schedule.schedule_name = t.Text();
    r.steps = {StepSlot(0, t.Text(), 152, 152, 165, 60, 0, 1.25f, 12.5f),
               StepSlot(1, t.Text(), 168, 168, 0, 10, 10, 0, 0)};
  } else if (n % 3 == 2) {
    r.header.recipe_type = 2;  // extract: no mash
  }
  return r.SyncCounts();
}

file::MashSchedule HostileSchedule(Texts& t) {
  return {.step_count = 3,
          .grain_temperature = 60,
          .steps = {StepSlot(0, t.Text(), 122, 122, 135, 20, 0, 1.5f, 10),
                    StepSlot(1, t.Text(), 152, 152, 0, 45, 10, 0, 0),
                    StepSlot(2, t.Text(), 168, 168, 0, 10, 5, 0, 4)},
          .name = t.Text()};
}

file::Water HostileWater(Texts& t) {
  return {.name = t.Text(),
          .calcium = 50,
          .magnesium = 10,
          .sodium = 20,
          .sulfate = 80,
          .chloride = 40,
          .bicarbonate = 100,
          .ph = 7.5f,
          .notes = t.Text()};
}

bool Generate(const fs::path& folder) {
  fs::create_directories(folder);
  Texts t(20261210);
  constexpr int kPerKind = 6;
  bool ok = true;
  std::vector<file::Misc> miscs;
  std::vector<file::Malt> malts;
  std::vector<file::Hop> hops;
  std::vector<file::Style> styles;
  std::vector<file::Water> waters;
  std::vector<file::Yeast> yeasts;
  for (int n = 0; n < kPerKind; ++n) {
    const std::string number = std::to_string(n);
    ok = ok && Save(folder / ("Recipe " + number + ".rec"), file::ToBytes(HostileRecipe(t, n)));
    ok = ok && Save(folder / ("Mash " + number + ".msh"), file::ToBytes(HostileSchedule(t)));
    ok = ok && Save(folder / ("Water " + number + ".wtr"), file::ToBytes(HostileWater(t)));
    miscs.push_back({.ingredient_name = t.Text(),
                     .ingredient_type = 4,
                     .suggested_time = 15,
                     .time_units = 1,
                     .inventory_unit_of_measurement = 3,
                     .inventory = 2,
                     .usage = t.Text(),
                     .comment = t.Text()});
    malts.push_back({.name = t.Text(),
                     .supplier = t.Text(),
                     .origin = t.Text(),
                     .type = 1,
                     .recommend_mash = 1,
                     .potential = 1.037f,
                     .color = 3,
                     .notes = t.Text(),
                     .fine_grind_yield = 80});
    hops.push_back({.name = t.Text(),
                    .alpha_acid = 6,
                    .beta_acid = 4,
                    .type_code = 0x2003,
                    .notes = t.Text(),
                    .origin = t.Text(),
                    .best_for = t.Text(),
                    .substitutes = t.Text()});
    styles.push_back({.category = t.Text(),
                      .name = t.Text(),
                      .original_gravity_min = 1.040f,
                      .original_gravity_max = 1.060f,
                      .final_gravity_min = 1.008f,
                      .final_gravity_max = 1.014f,
                      .color_description = t.Text(),
                      .notes = t.Text(),
                      .category_number = 6,
                      .style_letter = "B"});
    waters.push_back(HostileWater(t));
    yeasts.push_back({.name = t.Text(),
                      .laboratory = t.Text(),
                      .product_id = t.Text(),
                      .type = 0,
                      .form = 1,
                      .notes = t.Text(),
                      .best_for = t.Text(),
                      .attenuation_low = 70,
                      .attenuation_high = 80,
                      .temperature = 66});
  }
  ok = ok && Save(folder / "extra.dat", file::DatabaseOf(miscs));
  ok = ok && Save(folder / "malt.dat", file::DatabaseOf(malts));
  ok = ok && Save(folder / "hops.dat", file::DatabaseOf(hops));
  ok = ok && Save(folder / "styles.dat", file::DatabaseOf(styles));
  ok = ok && Save(folder / "water.dat", file::DatabaseOf(waters));
  ok = ok && Save(folder / "yeast.dat", file::DatabaseOf(yeasts));
  return ok;
}

}  // namespace
}  // namespace kegverter::testing

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_hostile <folder>\n");
    return 2;
  }
  if (!kegverter::testing::Generate(argv[1])) {
    std::fprintf(stderr, "make_hostile: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
