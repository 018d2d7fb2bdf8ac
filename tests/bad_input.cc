#include "tests/bad_input.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kegverter::bad_input {

namespace file = testing::file;

namespace {

std::vector<TestKind> MakeTestKinds() {
  struct Named {
    Kind kind;
    const char* label;  ///< the registry's
    const char* file_name;
  };
  const Named kinds[] = {
      {Kind::Extra, "extra.dat", "extra.dat"},    {Kind::Hops, "hops.dat", "hops.dat"},
      {Kind::Malt, "malt.dat", "malt.dat"},       {Kind::Styles, "styles.dat", "styles.dat"},
      {Kind::WaterDat, "water.dat", "water.dat"}, {Kind::Yeast, "yeast.dat", "yeast.dat"},
      {Kind::Wtr, "wtr", "Edinburgh.wtr"},        {Kind::Msh, "msh", "Step Mash.msh"},
      {Kind::Rec, "rec", "Pale Ale.rec"},
  };
  std::vector<TestKind> out;
  for (const Named& k : kinds) out.push_back({k.kind, k.file_name, FindKindByLabel(k.label)});
  return out;
}

}  // namespace

std::span<const TestKind> TestKinds() {
  static const std::vector<TestKind> kinds = MakeTestKinds();
  return kinds;
}

std::span<const TestKind> Databases() { return TestKinds().first(6); }

std::string TestKind::list() const {
  return std::string(
      kegverter::Info(OutputFormat::BeerXml2).lists[static_cast<std::size_t>(row->record)]);
}

// The element of one record in each BeerXML 2.01 list, by kind of record.
std::string TestKind::record() const {
  static constexpr std::array<const char*, kRecordKindCount> kElements = {
      "miscellaneous", "fermentable", "hop", "style", "water", "yeast", "mash", "recipe"};
  return kElements[static_cast<std::size_t>(row->record)];
}

const TestKind& Info(Kind kind) {
  for (const TestKind& k : TestKinds()) {
    if (k.kind == kind) return k;
  }
  return TestKinds().front();
}

file::Misc SoundMisc() {
  return {"Irish Moss", 4, 15, 0, 1, 0, 2.5f, "Clarity", "Rehydrate first"};
}

file::Malt SoundMalt() {
  return {"Pale Malt", "Maltster", "UK", 1,       1,           1.037f, 3,  4, 100,
          120,         10,         5,    "spare", "Base malt", 10,     80, 78};
}

file::Hop SoundHop() {
  return {"Goldings", 5.5f, 2.5f,     0,    25,        30,       40, 12,
          2,          15,   "Earthy", "UK", "Bitters", "Fuggle", 8,  ""};
}

file::Style SoundStyle() {
  return {"English Pale Ale",
          "Special Bitter",
          0,
          1.038f,
          1.045f,
          1.008f,
          1.012f,
          3.5f,
          4.5f,
          25,
          40,
          6,
          14,
          "Amber",
          "Biscuit",
          "Earthy",
          "Fruity",
          "Examples",
          4,
          "B",
          0};
}

file::Water SoundWater() { return {"Burton", 268, 62, 30, 999, 638, 36, 141, 7.5f, "Hard water"}; }

file::Yeast SoundYeast() {
  return {"London Ale", "Labs", "L-1028", 0, 1, "Minerally", "Bitters", 1, 70, 75, 68, 1};
}

Bytes DatabaseRecord(Kind kind) {
  switch (kind) {
    case Kind::Extra:
      return file::ToBytes(SoundMisc());
    case Kind::Hops:
      return file::ToBytes(SoundHop());
    case Kind::Malt:
      return file::ToBytes(SoundMalt());
    case Kind::Styles:
      return file::ToBytes(SoundStyle());
    case Kind::WaterDat:
    case Kind::Wtr:
      return file::ToBytes(SoundWater());
    case Kind::Yeast:
      return file::ToBytes(SoundYeast());
    default:
      return Bytes();
  }
}

namespace {

// A step whose end temperature is its rest's and whose infusion is 12 degrees above it.
file::MashStep Step(const std::string& name, std::uint8_t type, std::int32_t temperature,
                    std::int32_t time, float ratio, float amount) {
  return {name, type, temperature, temperature, temperature + 12,
          time, 2,    ratio,       amount,      "SPARESPA"};
}

}  // namespace

file::MashSchedule SoundMashSchedule() {
  return {3,
          7,
          60,
          10,
          1.25f,
          {Step("Protein Rest", 0, 122, 30, 1.25f, 12.5f),
           Step("Saccharification", 1, 152, 60, 0, 0), Step("Decoction", 2, 168, 10, 0, 6)},
          "Step Mash"};
}

file::MashSchedule ScheduleWithAnUnknownStepKind() {
  return {.step_count = 2,
          .steps = {{.name = "Rest",
                     .type = 0,
                     .step_temperature = 152,
                     .step_time = 60,
                     .step_amount = 12.5f},
                    {.name = "Odd", .type = 7}},
          .name = "Two"};
}

file::Recipe SoundRecipe(bool step_list) {
  file::Recipe f;
  f.header = {.name = "Pale Ale",
              .batch_size = 5,
              .boil_size = 6.5f,
              .original_gravity = 45,
              .bitterness = 32,
              .efficiency = 0.75f,
              .boil_time = 60};
  f.style = SoundStyle();
  for (const char* name : {"Goldings", "Fuggle"}) {
    file::HopAddition hop;
    hop.name = name;
    hop.alpha_acid = 5;
    hop.beta_acid = 2.5f;
    hop.cohumulone = 25;
    hop.myrcene = 30;
    hop.humulene = 40;
    hop.caryophyllene = 12;
    hop.type_code = 0x1002;
    hop.percent_lost = 15;
    hop.origin = "UK";
    hop.inventory = 4;
    hop.spare_value = 1;
    hop.alpha = 5.25f;
    hop.amount = 1.5f;
    hop.addition_time = 60;
    hop.spare_amount = 1;
    f.hops.push_back(hop);
  }
  // A recipe's fermentable and miscellaneous ingredient start with their database records.
  f.fermentables = {{SoundMalt(), 9, 1}};
  f.miscs = {{SoundMisc(), 1, 2, 3}};
  f.yeast = SoundYeast();
  f.water = SoundWater();
  f.process = {.simple_mash_type = 3,
               .saccharification_rest_temperature = 152,
               .saccharification_rest_time = 60,
               .mash_out_temperature = 168,
               .mash_out_time = 10,
               .mash_water = 12.5f,
               .notes = "Mash at 152 F",
               .grain_temperature = 60};
  f.steps = {Step("Rest", 0, 150, 60, 1.5f, 14), Step("Out", 1, 168, 10, 0, 0)};
  f.schedule = {"Two Step", static_cast<std::uint8_t>(step_list ? 1 : 0)};
  f.SyncCounts();
  return f;
}

Bytes SoundFile(Kind kind) {
  switch (kind) {
    case Kind::Wtr:
      return file::ToBytes(SoundWater());
    case Kind::Msh:
      return file::ToBytes(SoundMashSchedule());
    case Kind::Rec:
      return file::ToBytes(SoundRecipe());
    default:
      return testing::Database(2, {DatabaseRecord(kind), DatabaseRecord(kind)});
  }
}

std::string OutputOf(const std::string& input) { return input.substr(0, input.size() - 3) + "xml"; }

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Digits after an optional minus sign; with `decimals`, then a point and that many digits.
bool IsNumber(std::string_view text, std::size_t decimals) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  const std::size_t whole = text.find('.');
  const std::string_view integer = text.substr(0, whole);
  if (integer.empty() || !std::all_of(integer.begin(), integer.end(), IsDigit)) return false;
  if (decimals == 0) return whole == std::string_view::npos;
  const std::string_view fraction =
      whole == std::string_view::npos ? std::string_view() : text.substr(whole + 1);
  return fraction.size() == decimals && std::all_of(fraction.begin(), fraction.end(), IsDigit);
}

// The whole stderr text the lines make.
std::string ErrText(const std::vector<std::string>& lines, const std::string& input,
                    const std::string& output) {
  std::string text;
  for (const std::string& line : lines) {
    text += Replace(Replace(line, "{in}", input), "{out}", output);
    text += '\n';
  }
  return text;
}

// Checks that `out` is exactly `dumps` nine-line extra.dat dumps, each ending in an empty line,
// with numbers where numbers belong. A name may hold line breaks of its own.
::testing::AssertionResult IsExtraDump(const std::string& out, int dumps) {
  const char* const kNumberLines[] = {"ingredient_type = ",
                                      "suggested_time = ",
                                      "time_type = ",
                                      "time_units = ",
                                      "inventory_unit_of_measurement = ",
                                      "inventory = "};
  std::size_t at = 0;
  for (int d = 0; d < dumps; ++d) {
    if (out.compare(at, 18, "ingredient_name = ") != 0) {
      return ::testing::AssertionFailure() << "dump " << d << " does not start at " << at;
    }
    at = out.find("\ningredient_type = ", at);
    if (at == std::string::npos) return ::testing::AssertionFailure() << "dump " << d << " cut";
    ++at;
    for (const char* prefix : kNumberLines) {
      const std::size_t end = out.find('\n', at);
      const std::string_view line = std::string_view(out).substr(at, end - at);
      const std::string_view p(prefix);
      if (end == std::string::npos || line.substr(0, p.size()) != p) {
        return ::testing::AssertionFailure() << "dump " << d << ": expected " << prefix;
      }
      const std::string value(line.substr(p.size()));
      if (!IsNumber(value, p == "inventory = " ? 6 : 0)) {
        return ::testing::AssertionFailure() << "dump " << d << ": not a number: " << line;
      }
      at = end + 1;
    }
    for (const char* prefix : {"usage = ", "comment = "}) {
      const std::size_t end = out.find('\n', at);
      if (end == std::string::npos || out.compare(at, std::strlen(prefix), prefix) != 0) {
        return ::testing::AssertionFailure() << "dump " << d << ": expected " << prefix;
      }
      at = end + 1;
    }
    if (out.compare(at, 1, "\n") != 0) {
      return ::testing::AssertionFailure() << "dump " << d << ": no empty line";
    }
    ++at;
  }
  if (at != out.size()) {
    return ::testing::AssertionFailure() << "more after the dumps: " << out.substr(at);
  }
  return ::testing::AssertionSuccess();
}

// A value that printf wrote for something that is not a number: "nan" or "inf" (or in capitals),
// maybe signed, not inside a word.
bool IsNonNumber(std::string_view text) {
  for (const std::string_view word : {"nan", "inf", "NAN", "INF"}) {
    for (std::size_t at = text.find(word); at != std::string_view::npos;
         at = text.find(word, at + 1)) {
      const std::size_t after = at + word.size();
      if ((at == 0 || !IsLetter(text[at - 1])) &&
          (after == text.size() || !IsLetter(text[after]))) {
        return true;
      }
    }
  }
  return false;
}

// Every text and attribute value of the document that is not a number where one was written.
std::vector<std::string> NonNumbers(pugi::xml_node node) {
  std::vector<std::string> found;
  for (pugi::xml_attribute a : node.attributes()) {
    if (IsNonNumber(a.value())) found.push_back(std::string(node.name()) + "@" + a.name());
  }
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_pcdata && IsNonNumber(child.value())) {
      found.push_back(std::string(node.name()) + ": " + child.value());
    } else if (child.type() == pugi::node_element) {
      for (std::string& f : NonNumbers(child)) found.push_back(std::move(f));
    }
  }
  return found;
}

}  // namespace

// Temporary files a save left beside the output.
std::vector<std::string> LeftoverTemporaries(const std::filesystem::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    // The temporary file beside an output: ".kv", eight hexadecimal digits, ".tmp".
    if (name.size() == 15 && name.starts_with(".kv") && name.ends_with(".tmp")) {
      found.push_back(name);
    }
  }
  return found;
}

void RunCase(const TestKind& kind, const std::string& input, const Expected& expected,
             const std::string& label, Converted& c) {
  SCOPED_TRACE(label);
  c.input = input;
  c.output = OutputOf(input);
  std::error_code ec;
  const bool existed = std::filesystem::exists(testing::PathFromUtf8(c.output), ec);
  c.run = testing::Convert(input);
  EXPECT_EQ(c.run.exit_code, expected.exit_code);
  EXPECT_EQ(c.run.err, ErrText(expected.err, input, c.output));

  const bool written = expected.exit_code == 0;
  const int read = expected.read >= 0 ? expected.read : (written ? expected.records : 0);
  if (kind.kind == Kind::Extra) {
    EXPECT_TRUE(IsExtraDump(c.run.out, read)) << c.run.out;
  } else if (kind.kind == Kind::Rec) {
    EXPECT_EQ(c.run.out, written ? "\nProcessed 1 record.\n\n" : "");
  } else {
    EXPECT_EQ(c.run.out, "");
  }
  EXPECT_EQ(LeftoverTemporaries(testing::PathFromUtf8(input).parent_path()),
            std::vector<std::string>{});
  if (!written) {
    if (!existed) {
      EXPECT_FALSE(std::filesystem::exists(testing::PathFromUtf8(c.output), ec))
          << "an output was written";
    }
    return;
  }
  c.xml_text = testing::ReadFile(c.output);
  testing::ParseXmlFile(c.output, c.xml);
  ASSERT_TRUE(c.xml.result) << c.xml.result.description() << "\n" << c.xml_text.substr(0, 2000);
  ASSERT_EQ(std::string(c.xml.document.child("beer_xml").child("version").text().get()), "2.01");
  const std::string list_name = kind.list();
  const std::string record_name = kind.record();
  const pugi::xml_node list = c.xml.document.child("beer_xml").child(list_name.c_str());
  ASSERT_TRUE(list) << "no " << list_name;
  for (pugi::xml_node n : list.children(record_name.c_str())) c.records.push_back(n);
  EXPECT_EQ(c.records.size(), static_cast<std::size_t>(expected.records));
  EXPECT_EQ(testing::ChildNames(list).size(), c.records.size()) << "other elements in the list";
  EXPECT_EQ(NonNumbers(c.xml.document.document_element()), std::vector<std::string>{});
}

void ConvertCase(const TempDir& dir, const TestKind& kind, const Bytes& file,
                 const Expected& expected, const std::string& label, Converted& c,
                 const std::string& name) {
  RunCase(kind, dir.Write(name.empty() ? kind.file_name : name, file), expected, label, c);
}

std::string FieldText(std::string_view bytes) {
  bytes = bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
  while (!bytes.empty() && (bytes.back() == '\t' || bytes.back() == '\n' || bytes.back() == '\r' ||
                            bytes.back() == ' ')) {
    bytes.remove_suffix(1);
  }
  return std::string(bytes);
}

}  // namespace kegverter::bad_input
