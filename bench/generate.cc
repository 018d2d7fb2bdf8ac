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
#include "tests/fixture_recipe.h"

namespace kegverter::bench {

namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::RecipeFile;

// Words of the generated texts. A few carry Windows-1252 letters and punctuation, as texts
// typed on the source application's platform do.
constexpr std::string_view kWords[] = {
    "malt",   "caramel",   "toffee",  "citrus",    "pine",     "resin",   "bready",  "biscuit",
    "floral", "earthy",    "spicy",   "clean",     "crisp",    "fruity",  "grapefruit", "honey",
    "toast",  "roast",     "coffee",  "chocolate", "dry",      "sweet",   "bitter",  "smooth",
    "hazy",   "bright",    "golden",  "amber",     "copper",   "pale",    "dark",    "body",
    "finish", "aroma",     "flavour", "head",      "lager",    "ale",     "wheat",   "rye",
    "oats",   "with",      "and",     "a",         "the",      "of",      "notes",   "hint",
    "light",  "medium",    "full",    "low",       "high",     "moderate", "mash",   "boil",
    "caf\xE9", "K\xF6lsch", "M\xE4rzen", "\x93house\x94", "\x96", "brewer\x92s", "na\xEFve",
    "18\xB0", "Pils", "Vienna", "Munich", "crystal", "black", "patent", "flaked", "torrified",
};

constexpr std::string_view kHopNames[] = {
    "Cascade", "Centennial", "Chinook", "Columbus", "Fuggle", "East Kent Goldings", "Hallertau",
    "Saaz", "Tettnang", "Magnum", "Northern Brewer", "Perle", "Willamette", "Amarillo", "Simcoe",
};
constexpr std::string_view kMaltNames[] = {
    "Pale Malt (2 Row)", "Pilsner Malt", "Munich Malt", "Vienna Malt", "Crystal 40L",
    "Crystal 120L", "Chocolate Malt", "Black Patent", "Wheat Malt", "Flaked Oats",
    "Light Dry Extract", "Corn Sugar", "Honey", "Rice Hulls", "Biscuit Malt",
};
constexpr std::string_view kMiscNames[] = {
    "Irish Moss", "Gypsum", "Calcium Chloride", "Coriander Seed", "Sweet Orange Peel",
    "Vanilla Extract", "Lactose", "Whirlfloc", "Yeast Nutrient", "Heather Tips",
};
constexpr std::string_view kPlaces[] = {
    "Germany", "England", "United States", "Czech Republic", "Belgium", "New Zealand",
    "Scotland", "Australia", "Slovenia", "Canada",
};
constexpr std::string_view kLabs[] = {"Wyeast Labs", "White Labs", "Fermentis", "Lallemand",
                                      "Imperial Yeast", "Omega Yeast"};
constexpr std::string_view kStyles[] = {
    "American Pale Ale", "English Bitter", "Bohemian Pilsener", "Dry Stout", "Weizen",
    "Belgian Dubbel", "Scottish Export", "Oktoberfest", "Traditional Mead", "Common Cider",
};
constexpr std::string_view kStepNames[] = {"Protein Rest", "Saccharification", "Beta Rest",
                                           "Alpha Rest", "Mash Out", "Acid Rest", "Decoction"};

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
  if (serial >= 0) name += " " + std::to_string(serial);
  if (fill == Fill::Full) {
    name += " " + Prose(random, width - 2 - std::min(name.size(), width - 2));
    while (name.size() < width - 1) name += '.';
  }
  if (name.size() > width - 1) name.resize(width - 1);
  return name;
}

// The fields a hops.dat record and a recipe's hop addition share (offsets 0 to 609; the
// addition's substitutes field is 160 bytes wide, the database's 155).
void HopFields(Bytes& b, Random& r, Fill fill, long serial, std::size_t substitutes_width) {
  const float alpha = r.Float(2, 18);
  b.Text(0, 55, Name(r, fill, 55, kHopNames, serial)).F32(55, alpha).F32(59, r.Float(0, 9));
  b.U8(63, 0).F32(64, r.Float(15, 45)).F32(68, r.Float(20, 70)).F32(72, r.Float(5, 40));
  b.F32(76, r.Float(2, 15));
  const auto form = static_cast<std::uint16_t>(r.Below(3) << 12);
  b.I16(80, static_cast<std::int16_t>(form | r.Below(4))).F32(82, r.Float(10, 60));
  b.Text(86, 155, FieldText(r, fill, 155, 120)).Text(241, 55, Name(r, fill, 55, kPlaces));
  b.Text(296, 155, FieldText(r, fill, 155, 60));
  b.Text(451, substitutes_width, FieldText(r, fill, substitutes_width, 40));
  b.F32(606, r.Float(0, 64));
}

// The fields of a malt.dat record, which a recipe's fermentable addition starts with.
void MaltFields(Bytes& b, Random& r, Fill fill, long serial) {
  b.Text(0, 55, Name(r, fill, 55, kMaltNames, serial)).Text(55, 55, FieldText(r, fill, 55, 24));
  b.Text(110, 55, Name(r, fill, 55, kPlaces)).U8(165, r.Byte(1, 4)).U8(166, r.Byte(0, 1));
  b.F32(167, r.Float(1.02f, 1.046f)).F32(171, r.Float(1, 500)).F32(175, r.Float(1, 10));
  b.F32(179, r.Float(5, 100)).F32(183, r.Float(0, 160)).F32(187, r.Float(5, 15));
  b.F32(191, r.Float(0, 10)).Text(195, 155, FieldText(r, fill, 155, 30));
  b.Text(350, 159, FieldText(r, fill, 159, 120)).F32(509, r.Float(0, 110));
  const float fine = r.Float(60, 82);
  b.F32(513, fine).F32(517, fine - r.Float(0, 3));
}

// The fields of an extra.dat record, which a recipe's miscellaneous addition starts with.
void MiscFields(Bytes& b, Random& r, Fill fill, long serial) {
  b.Text(0, 55, Name(r, fill, 55, kMiscNames, serial)).U8(55, r.Byte(0, 5));
  b.I32(56, r.Between(1, 90)).U8(60, r.Byte(0, 2)).U8(61, r.Byte(0, 1)).U8(62, r.Byte(0, 6));
  b.F32(63, r.Float(0, 500)).Text(67, 255, FieldText(r, fill, 255, 60));
  // Half the ingredients carry a comment.
  b.Text(322, 255, r.Below(2) == 0 || fill == Fill::Full ? FieldText(r, fill, 255, 100) : "");
}

Bytes StyleBytes(Random& r, Fill fill, long serial) {
  Bytes b(testing::kStyleSize);
  const float og = r.Float(1.03f, 1.09f);
  const float fg = r.Float(1.004f, 1.02f);
  b.Text(0, 55, Name(r, fill, 55, kStyles, serial)).Text(55, 55, Name(r, fill, 55, kStyles));
  b.U8(110, r.Byte(0, 3)).F32(111, og).F32(115, og + 0.012f).F32(119, fg).F32(123, fg + 0.006f);
  b.F32(127, r.Float(3, 8)).F32(131, r.Float(8, 12)).F32(135, r.Float(5, 40));
  b.F32(139, r.Float(40, 100)).F32(143, r.Float(2, 20)).F32(147, r.Float(20, 40));
  b.Text(151, 155, FieldText(r, fill, 155, 60)).Text(306, 155, FieldText(r, fill, 155, 80));
  b.Text(461, 155, FieldText(r, fill, 155, 80)).Text(616, 155, FieldText(r, fill, 155, 60));
  b.Text(771, 255, FieldText(r, fill, 255, 120));
  b.I16(1026, static_cast<std::int16_t>(r.Between(1, 28)));
  b.Text(1028, 2, std::string(1, static_cast<char>('A' + r.Below(6))));
  return b;
}

Bytes WaterBytes(Random& r, Fill fill, long serial) {
  Bytes b(testing::kWaterSize);
  b.Text(0, 27, Name(r, fill, 27, kPlaces, serial)).F32(27, r.Float(0, 300));
  b.F32(31, r.Float(0, 60)).F32(35, r.Float(0, 80)).F32(43, r.Float(0, 700));
  b.F32(47, r.Float(0, 200)).F32(51, r.Float(0, 400)).F32(55, r.Float(5.5f, 8.5f));
  b.Text(59, 163, FieldText(r, fill, 163, 80));
  return b;
}

Bytes YeastBytes(Random& r, Fill fill, long serial) {
  Bytes b(testing::kYeastSize);
  const std::string product = std::to_string(1000 + r.Below(9000));
  b.Text(0, 55, Name(r, fill, 55, kStyles, serial)).Text(55, 55, Name(r, fill, 55, kLabs));
  b.Text(110, 25, fill == Fill::Full ? FieldText(r, fill, 25, 24) : product);
  b.U8(135, r.Byte(0, 3)).U8(136, r.Byte(0, 2)).Text(137, 155, FieldText(r, fill, 155, 100));
  b.Text(292, 159, FieldText(r, fill, 159, 60)).F32(451, 0);
  const int low = r.Between(65, 78);
  b.I32(455, low).I32(459, low + r.Between(2, 8)).F32(463, r.Float(48, 75)).U8(467, r.Byte(0, 2));
  return b;
}

Bytes HopBytes(Random& r, Fill fill, long serial) {
  Bytes b(614);
  HopFields(b, r, fill, serial, 155);
  return b;
}

Bytes MaltBytes(Random& r, Fill fill, long serial) {
  Bytes b(521);
  MaltFields(b, r, fill, serial);
  return b;
}

Bytes MiscBytes(Random& r, Fill fill, long serial) {
  Bytes b(577);
  MiscFields(b, r, fill, serial);
  return b;
}

// Addition times: boil minutes mostly, now and then first wort (61), mash (62) or dry hop (251
// with the marker 255).
Bytes HopAdditionBytes(Random& r, Fill fill) {
  Bytes b(testing::kHopAdditionSize);
  HopFields(b, r, fill, -1, 160);
  const std::uint32_t use = r.Below(10);
  const std::uint8_t time = use == 0 ? 61 : use == 1 ? 62 : use == 2 ? 251 : r.Byte(0, 60);
  b.U8(615, 0).F32(616, 0).F32(620, r.Float(2, 18)).U8(624, 0).F32(625, r.Float(0.25f, 4));
  return b.U8(629, time).U8(630, time == 251 ? 255 : 0).F32(631, 0);
}

Bytes FermentableAdditionBytes(Random& r, Fill fill) {
  Bytes b(testing::kFermentableAdditionSize);
  MaltFields(b, r, fill, -1);
  return b.F32(521, r.Float(0.25f, 12)).F32(525, 0);
}

Bytes MiscAdditionBytes(Random& r, Fill fill) {
  Bytes b(testing::kMiscAdditionSize);
  MiscFields(b, r, fill, -1);
  return b.F32(577, r.Float(0.25f, 10)).F32(581, 0).F32(585, 0);
}

Bytes MashStep(Random& r, Fill fill, int index) {
  Bytes b(testing::kStepSlotSize);
  const int temperature = 120 + 3 * index % 50;
  b.Text(0, 255, fill == Fill::Full ? FieldText(r, fill, 255, 0) : std::string(r.Pick(kStepNames)));
  b.U8(255, r.Byte(0, 2)).I32(256, temperature).I32(260, temperature + r.Between(0, 2));
  b.I32(264, r.Between(160, 212)).I32(268, r.Between(5, 60)).I32(272, r.Between(2, 15));
  return b.F32(276, r.Float(1, 2)).F32(280, r.Float(0, 20));
}

// A recipe with the given list sizes. The step list is the recipe's mash (mode 1).
Bytes Recipe(std::uint32_t seed, Fill fill, const std::string& name, std::size_t fermentables,
             std::size_t hops, std::size_t miscs, std::size_t steps) {
  Random r(seed);
  RecipeFile f;
  f.header.Text(0, 85, fill == Fill::Full ? Name(r, fill, 85, kStyles) : name);
  f.header.F32(97, r.Float(5, 12)).F32(101, r.Float(6, 14)).F32(105, r.Float(35, 90));
  f.header.F32(109, r.Float(10, 80)).F32(113, r.Float(0.65f, 0.8f)).I32(117, r.Between(60, 90));
  f.header.I32(121, 0).U8(125, 0);
  f.style = StyleBytes(r, fill, -1);
  for (std::size_t i = 0; i < hops; ++i) f.hops.push_back(HopAdditionBytes(r, fill));
  for (std::size_t i = 0; i < fermentables; ++i) {
    f.fermentables.push_back(FermentableAdditionBytes(r, fill));
  }
  for (std::size_t i = 0; i < miscs; ++i) f.miscs.push_back(MiscAdditionBytes(r, fill));
  f.yeast = YeastBytes(r, fill, -1);
  f.water = WaterBytes(r, fill, -1);
  f.process.U8(0, 3).I32(17, 122).I32(21, 15).I32(33, 152).I32(37, 60).I32(41, 168).I32(45, 10);
  f.process.F32(57, r.Float(10, 20)).Text(62, 4028, FieldText(r, fill, 4028, 400));
  f.process.Text(4090, 4028, FieldText(r, fill, 4028, 100)).I32(8377, r.Between(55, 75));
  for (std::size_t i = 0; i < steps; ++i) f.steps.push_back(MashStep(r, fill, static_cast<int>(i)));
  f.schedule.Text(0, 255, fill == Fill::Full ? FieldText(r, fill, 255, 0) : "Step Mash").U8(255, 1);
  return f.SyncCounts().Build();
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
    {"extra.dat", MiscBytes}, {"hops.dat", HopBytes},   {"malt.dat", MaltBytes},
    {"styles.dat", StyleBytes}, {"water.dat", WaterBytes}, {"yeast.dat", YeastBytes},
};

// A mash schedule file: the step count, the grain temperature, the step slots (unused ones
// zero) and the schedule's name.
Bytes MashFile(std::uint32_t seed, const std::string& name) {
  constexpr std::size_t kSlotsAt = 20;
  constexpr std::size_t kNameAt = 14620;
  Random r(seed);
  Bytes b(14875);
  const int steps = r.Between(1, 6);
  b.I32(0, steps).F32(8, r.Float(55, 75)).Text(kNameAt, 255, name);
  for (int i = 0; i < steps; ++i) {
    const Bytes step = MashStep(r, Fill::Typical, i);
    b.Raw(kSlotsAt + static_cast<std::size_t>(i) * testing::kStepSlotSize,
          std::string_view(reinterpret_cast<const char*>(step.data().data()), step.size()));
  }
  return b;
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
                          "Library Recipe " + std::to_string(i), 5 + wiggle, 4 + wiggle,
                          2 + wiggle, 3 + wiggle));
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
  ok = ok && WriteFile(folder / "maximal" / "Maximal.rec",
                       Recipe(2, Fill::Full, "", 100, 100, 100, 50));
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
