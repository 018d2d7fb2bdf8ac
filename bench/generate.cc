// Writes the benchmark's inputs with the fixture builder:
//   <folder>/typical/Typical.rec      6 fermentables, 5 hops, 3 misc, a 4-step mash
//   <folder>/maximal/Maximal.rec      100 of each list, 50 steps, every text field filled
//   <folder>/batch/Batch NNNN.rec     1,000 typical recipes, each a little different
//   <folder>/db1k/*.dat               1,000 records of each database kind
//   <folder>/db10k/*.dat              10,000 records of each kind (the middle point of the growth)
//   <folder>/db100k/*.dat             100,000 records of each database kind
//   <folder>/library/...              a brewer's library in nested folders: 1,000 recipes,
//                                     200 mash schedules, 50 water profiles and the six
//                                     databases of 10,000 records each
// The content is pseudo-random with a fixed seed, so every run writes the same bytes.
//
// usage: bench_generate <folder> [large database size]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fixture.h"
#include "tests/records.h"

namespace kegverter::bench {

namespace {

namespace fs = std::filesystem;
namespace file = testing::file;
using testing::Bytes;

// Words of the generated texts. A few carry Windows-1252 letters and punctuation, as texts
// typed on the source application's platform do.
constexpr std::string_view kWords[] = {
    "malt",   "caramel",     "toffee",     "citrus",    "pine",      "resin",
    "bready", "biscuit",     "floral",     "earthy",    "spicy",     "clean",
    "crisp",  "fruity",      "grapefruit", "honey",     "toast",     "roast",
    "coffee", "chocolate",   "dry",        "sweet",     "bitter",    "smooth",
    "hazy",   "bright",      "golden",     "amber",     "copper",    "pale",
    "dark",   "body",        "finish",     "aroma",     "flavour",   "head",
    "lager",  "ale",         "wheat",      "rye",       "oats",      "with",
    "and",    "a",           "the",        "of",        "notes",     "hint",
    "light",  "medium",      "full",       "low",       "high",      "moderate",
    "mash",   "boil",        "caf\xE9",    "K\xF6lsch", "M\xE4rzen", "\x93house\x94",
    "\x96",   "brewer\x92s", "na\xEFve",   "18\xB0",    "Pils",      "Vienna",
    "Munich", "crystal",     "black",      "patent",    "flaked",    "torrified",
};

constexpr std::string_view kHopNames[] = {
    "Cascade",    "Centennial", "Chinook",  "Columbus", "Fuggle",          "East Kent Goldings",
    "Hallertau",  "Saaz",       "Tettnang", "Magnum",   "Northern Brewer", "Perle",
    "Willamette", "Amarillo",   "Simcoe",
};
constexpr std::string_view kMaltNames[] = {
    "Pale Malt (2 Row)", "Pilsner Malt",   "Munich Malt",  "Vienna Malt", "Crystal 40L",
    "Crystal 120L",      "Chocolate Malt", "Black Patent", "Wheat Malt",  "Flaked Oats",
    "Light Dry Extract", "Corn Sugar",     "Honey",        "Rice Hulls",  "Biscuit Malt",
};
constexpr std::string_view kMiscNames[] = {
    "Irish Moss",      "Gypsum",  "Calcium Chloride", "Coriander Seed", "Sweet Orange Peel",
    "Vanilla Extract", "Lactose", "Whirlfloc",        "Yeast Nutrient", "Heather Tips",
};
constexpr std::string_view kPlaces[] = {
    "Germany",     "England",  "United States", "Czech Republic", "Belgium",
    "New Zealand", "Scotland", "Australia",     "Slovenia",       "Canada",
};
constexpr std::string_view kLabs[] = {"Wyeast Labs", "White Labs",     "Fermentis",
                                      "Lallemand",   "Imperial Yeast", "Omega Yeast"};
constexpr std::string_view kStyles[] = {
    "American Pale Ale", "English Bitter",  "Bohemian Pilsener", "Dry Stout",        "Weizen",
    "Belgian Dubbel",    "Scottish Export", "Oktoberfest",       "Traditional Mead", "Common Cider",
};
constexpr std::string_view kStepNames[] = {"Protein Rest", "Saccharification", "Beta Rest",
                                           "Alpha Rest",   "Mash Out",         "Acid Rest",
                                           "Decoction"};

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}

  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(engine_() % n); }
  int Between(int low, int high) {
    return low + static_cast<int>(Below(static_cast<std::uint32_t>(high - low + 1)));
  }
  std::uint8_t Byte(int low, int high) { return static_cast<std::uint8_t>(Between(low, high)); }
  /// A value in [low, high] with two decimals, as people type them.
  float Float(float low, float high) {
    const auto steps = static_cast<std::uint32_t>((high - low) * 100.0f);
    return low + static_cast<float>(Below(steps + 1)) / 100.0f;
  }
  template <std::size_t N>
  std::string_view Pick(const std::string_view (&list)[N]) {
    return list[Below(static_cast<std::uint32_t>(N))];
  }

 private:
  std::mt19937 engine_;
};

// How full the text fields are: realistic lengths, or every field filled to its width.
enum class Fill { Typical, Full };

// Sentences of kWords, at most `length` bytes long (cut at a word).
std::string Prose(Random& random, std::size_t length) {
  std::string text;
  bool sentence_start = true;
  while (true) {
    std::string word(random.Pick(kWords));
    if (sentence_start && word[0] >= 'a' && word[0] <= 'z') {
      word[0] = static_cast<char>(word[0] - 'a' + 'A');
    }
    const std::size_t needed = (text.empty() ? 0 : 1) + word.size();
    if (text.size() + needed > length) break;
    if (!text.empty()) text += ' ';
    text += word;
    sentence_start = random.Below(7) == 0;
    if (sentence_start && text.size() + 1 <= length) text += '.';
  }
  return text;
}

// The text for a field of `width` bytes: `typical_length` at most (a little varied), or the
// whole width but its terminator when the fields are full.
std::string FieldText(Random& random, Fill fill, std::size_t width, std::size_t typical_length) {
  if (fill == Fill::Full) {
    std::string text = Prose(random, width - 1);
    while (text.size() < width - 1) text += '.';  // no trailing blank: it would be trimmed
    return text;
  }
  const std::size_t most = std::min(width - 1, typical_length);
  return Prose(random, most / 2 + random.Below(static_cast<std::uint32_t>(most / 2 + 1)));
}

// A name from `list`, with a number when `serial` is given, so that large databases do not
// repeat one name; filled to the width when the fields are full.
template <std::size_t N>
std::string Name(Random& random, Fill fill, std::size_t width, const std::string_view (&list)[N],
                 long serial = -1) {
  std::string name(random.Pick(list));
  if (serial >= 0) {
    name += ' ';
    name += std::to_string(serial);
  }
  if (fill == Fill::Full) {
    name += ' ';
    name += Prose(random, width - 2 - std::min(name.size(), width - 2));
    while (name.size() < width - 1) name += '.';
  }
  if (name.size() > width - 1) name.resize(width - 1);
  return name;
}

// The fields a hops.dat record and a recipe's hop addition share, drawn in their file order
// (the alpha acid before the name).
void HopFields(file::Hop& h, Random& r, Fill fill, long serial, std::size_t substitutes_width) {
  const float alpha = r.Float(2, 18);
  h.name = Name(r, fill, 55, kHopNames, serial);
  h.alpha_acid = alpha;
  h.beta_acid = r.Float(0, 9);
  h.cohumulone = r.Float(15, 45);
  h.myrcene = r.Float(20, 70);
  h.humulene = r.Float(5, 40);
  h.caryophyllene = r.Float(2, 15);
  const auto form = static_cast<std::uint16_t>(r.Below(3) << 12);
  h.type_code = static_cast<std::int16_t>(form | r.Below(4));
  h.percent_lost = r.Float(10, 60);
  h.notes = FieldText(r, fill, 155, 120);
  h.origin = Name(r, fill, 55, kPlaces);
  h.best_for = FieldText(r, fill, 155, 60);
  h.substitutes = FieldText(r, fill, substitutes_width, 40);
  h.inventory = r.Float(0, 64);
}

// The fields of a malt.dat record, which a recipe's fermentable addition starts with.
void MaltFields(file::Malt& m, Random& r, Fill fill, long serial) {
  m.name = Name(r, fill, 55, kMaltNames, serial);
  m.supplier = FieldText(r, fill, 55, 24);
  m.origin = Name(r, fill, 55, kPlaces);
  m.type = r.Byte(1, 4);
  m.recommend_mash = r.Byte(0, 1);
  m.potential = r.Float(1.02f, 1.046f);
  m.color = r.Float(1, 500);
  m.moisture = r.Float(1, 10);
  m.max_in_batch = r.Float(5, 100);
  m.diastatic_power = r.Float(0, 160);
  m.protein = r.Float(5, 15);
  m.spare_percentage = r.Float(0, 10);
  m.spare_text = FieldText(r, fill, 155, 30);
  m.notes = FieldText(r, fill, 159, 120);
  m.inventory = r.Float(0, 110);
  m.fine_grind_yield = r.Float(60, 82);
  m.coarse_grind_yield = m.fine_grind_yield - r.Float(0, 3);
}

// The fields of an extra.dat record, which a recipe's miscellaneous addition starts with.
void MiscFields(file::Misc& m, Random& r, Fill fill, long serial) {
  m.ingredient_name = Name(r, fill, 55, kMiscNames, serial);
  m.ingredient_type = r.Byte(0, 5);
  m.suggested_time = r.Between(1, 90);
  m.time_type = r.Byte(0, 2);
  m.time_units = r.Byte(0, 1);
  m.inventory_unit_of_measurement = r.Byte(0, 6);
  m.inventory = r.Float(0, 500);
  m.usage = FieldText(r, fill, 255, 60);
  // Half the ingredients carry a comment.
  if (r.Below(2) == 0 || fill == Fill::Full) m.comment = FieldText(r, fill, 255, 100);
}

file::Style Style(Random& r, Fill fill, long serial) {
  file::Style s;
  const float og = r.Float(1.03f, 1.09f);
  const float fg = r.Float(1.004f, 1.02f);
  s.category = Name(r, fill, 55, kStyles, serial);
  s.name = Name(r, fill, 55, kStyles);
  s.type = r.Byte(0, 3);
  s.original_gravity_min = og;
  s.original_gravity_max = og + 0.012f;
  s.final_gravity_min = fg;
  s.final_gravity_max = fg + 0.006f;
  s.alcohol_min = r.Float(3, 8);
  s.alcohol_max = r.Float(8, 12);
  s.bitterness_min = r.Float(5, 40);
  s.bitterness_max = r.Float(40, 100);
  s.color_min = r.Float(2, 20);
  s.color_max = r.Float(20, 40);
  s.color_description = FieldText(r, fill, 155, 60);
  s.malt_description = FieldText(r, fill, 155, 80);
  s.hops_description = FieldText(r, fill, 155, 80);
  s.yeast_description = FieldText(r, fill, 155, 60);
  s.notes = FieldText(r, fill, 255, 120);
  s.category_number = static_cast<std::int16_t>(r.Between(1, 28));
  s.style_letter = std::string(1, static_cast<char>('A' + r.Below(6)));
  return s;
}

file::Water Water(Random& r, Fill fill, long serial) {
  file::Water w;
  w.name = Name(r, fill, 27, kPlaces, serial);
  w.calcium = r.Float(0, 300);
  w.magnesium = r.Float(0, 60);
  w.sodium = r.Float(0, 80);
  w.sulfate = r.Float(0, 700);
  w.chloride = r.Float(0, 200);
  w.bicarbonate = r.Float(0, 400);
  w.ph = r.Float(5.5f, 8.5f);
  w.notes = FieldText(r, fill, 163, 80);
  return w;
}

file::Yeast Yeast(Random& r, Fill fill, long serial) {
  file::Yeast y;
  const std::string product = std::to_string(1000 + r.Below(9000));
  y.name = Name(r, fill, 55, kStyles, serial);
  y.laboratory = Name(r, fill, 55, kLabs);
  y.product_id = fill == Fill::Full ? FieldText(r, fill, 25, 24) : product;
  y.type = r.Byte(0, 3);
  y.form = r.Byte(0, 2);
  y.notes = FieldText(r, fill, 155, 100);
  y.best_for = FieldText(r, fill, 159, 60);
  y.attenuation_low = r.Between(65, 78);
  y.attenuation_high = y.attenuation_low + r.Between(2, 8);
  y.temperature = r.Float(48, 75);
  y.flocculation = r.Byte(0, 2);
  return y;
}

Bytes StyleBytes(Random& r, Fill fill, long serial) {
  return file::ToBytes(Style(r, fill, serial));
}
Bytes WaterBytes(Random& r, Fill fill, long serial) {
  return file::ToBytes(Water(r, fill, serial));
}
Bytes YeastBytes(Random& r, Fill fill, long serial) {
  return file::ToBytes(Yeast(r, fill, serial));
}

Bytes HopBytes(Random& r, Fill fill, long serial) {
  file::Hop h;
  HopFields(h, r, fill, serial, 155);
  return file::ToBytes(h);
}

Bytes MaltBytes(Random& r, Fill fill, long serial) {
  file::Malt m;
  MaltFields(m, r, fill, serial);
  return file::ToBytes(m);
}

Bytes MiscBytes(Random& r, Fill fill, long serial) {
  file::Misc m;
  MiscFields(m, r, fill, serial);
  return file::ToBytes(m);
}

// Addition times: boil minutes mostly, now and then first wort (61), mash (62) or dry hop (251
// with the marker 255).
file::HopAddition HopAddition(Random& r, Fill fill) {
  file::HopAddition h;
  HopFields(h, r, fill, -1, 160);
  const std::uint32_t use = r.Below(10);
  h.addition_time = use == 0 ? 61 : use == 1 ? 62 : use == 2 ? 251 : r.Byte(0, 60);
  h.alpha = r.Float(2, 18);
  h.amount = r.Float(0.25f, 4);
  h.dry_hop_marker = h.addition_time == 251 ? 255 : 0;
  return h;
}

file::FermentableAddition FermentableAddition(Random& r, Fill fill) {
  file::FermentableAddition f;
  MaltFields(f, r, fill, -1);
  f.amount = r.Float(0.25f, 12);
  return f;
}

file::MiscAddition MiscAddition(Random& r, Fill fill) {
  file::MiscAddition m;
  MiscFields(m, r, fill, -1);
  m.amount = r.Float(0.25f, 10);
  return m;
}

file::MashStep MashStep(Random& r, Fill fill, int index) {
  file::MashStep s;
  const int temperature = 120 + 3 * index % 50;
  s.name = fill == Fill::Full ? FieldText(r, fill, 255, 0) : std::string(r.Pick(kStepNames));
  s.type = r.Byte(0, 2);
  s.step_temperature = temperature;
  s.end_temperature = temperature + r.Between(0, 2);
  s.infuse_temperature = r.Between(160, 212);
  s.step_time = r.Between(5, 60);
  s.ramp_time = r.Between(2, 15);
  s.water_grain_ratio = r.Float(1, 2);
  s.step_amount = r.Float(0, 20);
  return s;
}

// A recipe with the given list sizes. The step list is the recipe's mash (mode 1).
Bytes Recipe(std::uint32_t seed, Fill fill, const std::string& name, std::size_t fermentables,
             std::size_t hops, std::size_t miscs, std::size_t steps) {
  Random r(seed);
  file::Recipe f;
  f.header.name = fill == Fill::Full ? Name(r, fill, 85, kStyles) : name;
  f.header.batch_size = r.Float(5, 12);
  f.header.boil_size = r.Float(6, 14);
  f.header.original_gravity = r.Float(35, 90);
  f.header.bitterness = r.Float(10, 80);
  f.header.efficiency = r.Float(0.65f, 0.8f);
  f.header.boil_time = r.Between(60, 90);
  f.style = Style(r, fill, -1);
  for (std::size_t i = 0; i < hops; ++i) f.hops.push_back(HopAddition(r, fill));
  for (std::size_t i = 0; i < fermentables; ++i) {
    f.fermentables.push_back(FermentableAddition(r, fill));
  }
  for (std::size_t i = 0; i < miscs; ++i) f.miscs.push_back(MiscAddition(r, fill));
  f.yeast = Yeast(r, fill, -1);
  f.water = Water(r, fill, -1);
  f.process.simple_mash_type = 3;
  f.process.protein_rest_temperature = 122;
  f.process.protein_rest_time = 15;
  f.process.saccharification_rest_temperature = 152;
  f.process.saccharification_rest_time = 60;
  f.process.mash_out_temperature = 168;
  f.process.mash_out_time = 10;
  f.process.mash_water = r.Float(10, 20);
  f.process.notes = FieldText(r, fill, 4028, 400);
  f.process.spare_notes = FieldText(r, fill, 4028, 100);
  f.process.grain_temperature = r.Between(55, 75);
  for (std::size_t i = 0; i < steps; ++i) f.steps.push_back(MashStep(r, fill, static_cast<int>(i)));
  f.schedule.schedule_name = fill == Fill::Full ? FieldText(r, fill, 255, 0) : "Step Mash";
  f.schedule.mash_mode = 1;
  return file::ToBytes(f.SyncCounts());
}

void WriteBytes(std::FILE* out, const Bytes& bytes) {
  std::fwrite(bytes.data().data(), 1, bytes.size(), out);
}

bool WriteFile(const fs::path& path, const Bytes& bytes) {
  fs::create_directories(path.parent_path());
  std::FILE* out = std::fopen(path.string().c_str(), "wb");
  if (out == nullptr) return false;
  WriteBytes(out, bytes);
  return std::fclose(out) == 0;
}

// A database of `count` records made by `make`, written record by record.
bool WriteDatabase(const fs::path& path, std::int32_t count, std::uint32_t seed,
                   Bytes (*make)(Random&, Fill, long)) {
  fs::create_directories(path.parent_path());
  std::FILE* out = std::fopen(path.string().c_str(), "wb");
  if (out == nullptr) return false;
  WriteBytes(out, Bytes(4).I32(0, count));
  Random random(seed);
  for (std::int32_t i = 0; i < count; ++i) WriteBytes(out, make(random, Fill::Typical, i + 1));
  return std::fclose(out) == 0;
}

struct DatabaseKind {
  const char* file_name;
  Bytes (*make)(Random&, Fill, long);
};

constexpr DatabaseKind kDatabases[] = {
    {"extra.dat", MiscBytes},   {"hops.dat", HopBytes},    {"malt.dat", MaltBytes},
    {"styles.dat", StyleBytes}, {"water.dat", WaterBytes}, {"yeast.dat", YeastBytes},
};

// A mash schedule file of one to six steps.
Bytes MashFile(std::uint32_t seed, const std::string& name) {
  Random r(seed);
  testing::file::MashSchedule m;
  m.step_count = r.Between(1, 6);
  m.grain_temperature = r.Float(55, 75);
  m.name = name;
  for (int i = 0; i < m.step_count; ++i) m.steps.push_back(MashStep(r, Fill::Typical, i));
  return testing::file::ToBytes(m);
}

// A library as a brewer keeps one: recipes by year and style, mash schedules and water
// profiles in their own folders, the databases together.
bool GenerateLibrary(const fs::path& folder) {
  bool ok = true;
  for (int i = 0; ok && i < 1000; ++i) {
    char name[48];
    std::snprintf(name, sizeof name, "%d/%.*s/Recipe %04d.rec", 2010 + i % 10,
                  static_cast<int>(kStyles[i / 10 % 4].size()), kStyles[i / 10 % 4].data(), i);
    const auto wiggle = static_cast<std::size_t>(i % 3);
    ok = WriteFile(folder / "recipes" / name,
                   Recipe(static_cast<std::uint32_t>(50000 + i), Fill::Typical,
                          "Library Recipe " + std::to_string(i), 5 + wiggle, 4 + wiggle, 2 + wiggle,
                          3 + wiggle));
  }
  for (int i = 0; ok && i < 200; ++i) {
    char name[48];
    std::snprintf(name, sizeof name, "group %d/Mash %03d.msh", i % 4, i);
    ok = WriteFile(folder / "mash" / name,
                   MashFile(static_cast<std::uint32_t>(60000 + i), "Mash " + std::to_string(i)));
  }
  Random water(70000);
  for (int i = 0; ok && i < 50; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Water %02d.wtr", i);
    ok = WriteFile(folder / "water" / name, WaterBytes(water, Fill::Typical, i + 1));
  }
  std::uint32_t seed = 80000;
  for (const DatabaseKind& kind : kDatabases) {
    ok = ok && WriteDatabase(folder / "databases" / kind.file_name, 10000, seed++, kind.make);
  }
  return ok;
}

bool Generate(const fs::path& folder, std::int32_t large) {
  bool ok = WriteFile(folder / "typical" / "Typical.rec",
                      Recipe(1, Fill::Typical, "Typical Pale Ale", 6, 5, 3, 4));
  ok = ok &&
       WriteFile(folder / "maximal" / "Maximal.rec", Recipe(2, Fill::Full, "", 100, 100, 100, 50));
  for (int i = 1; ok && i <= 1000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Batch %04d.rec", i);
    // A little variety: other names, amounts and texts, and a list a little longer or shorter.
    const auto seed = static_cast<std::uint32_t>(1000 + i);
    const auto wiggle = static_cast<std::size_t>(i % 3);
    ok = WriteFile(folder / "batch" / name,
                   Recipe(seed, Fill::Typical, "Batch Recipe " + std::to_string(i), 5 + wiggle,
                          4 + wiggle, 2 + wiggle, 3 + wiggle));
  }
  std::uint32_t seed = 10;
  for (const DatabaseKind& kind : kDatabases) {
    ok = ok && WriteDatabase(folder / "db1k" / kind.file_name, 1000, seed++, kind.make);
    ok = ok && WriteDatabase(folder / "db10k" / kind.file_name, 10000, seed++, kind.make);
    ok = ok && WriteDatabase(folder / "db100k" / kind.file_name, large, seed++, kind.make);
  }
  return ok && GenerateLibrary(folder / "library");
}

}  // namespace

}  // namespace kegverter::bench

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: bench_generate <folder> [large database size]\n");
    return 2;
  }
  const long large = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 100000;
  if (large < 1 || large > 10000000) {
    std::fprintf(stderr, "bench_generate: the large database size must be 1 to 10000000\n");
    return 2;
  }
  if (!kegverter::bench::Generate(argv[1], static_cast<std::int32_t>(large))) {
    std::fprintf(stderr, "bench_generate: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
