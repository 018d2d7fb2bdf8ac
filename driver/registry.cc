#include "driver/registry.h"

#include <vector>

#include "beerjson/beerjson.h"
#include "beerxml1/beerxml1.h"
#include "beerxml2/beerxml2.h"
#include "driver/console.h"
#include "model/from_source.h"
#include "source/decoder.h"
#include "source/hops.h"
#include "source/input_file.h"
#include "source/malt.h"
#include "source/mash.h"
#include "source/misc.h"
#include "source/recipe.h"
#include "source/styles.h"
#include "source/water.h"
#include "source/yeast.h"

namespace kegverter {

namespace {

/// The reading of source records of type R: the records are created empty and read, the input's
/// bytes are released (a large database is then not held twice while it is written), the records
/// are dumped on the console when the kind has a dump, and the model of each is written.
template <class R, auto Reader, auto Dump = nullptr>
void Read(InputFile& input, std::int32_t count, DocumentWriter& writer,
          const ConsoleSink& console) {
  std::vector<R> records(static_cast<std::size_t>(count));  // the count is bounded by the file
  Reader(input, std::span<R>(records));
  input.Close();
  if constexpr (!std::is_same_v<decltype(Dump), std::nullptr_t>) {
    if (console) {
      std::string text;
      for (const R& record : records) {
        Dump(record, text);
        console(text);
      }
    }
  }
  for (const R& record : records) writer.Write(model::ModelOf(record));
}

constexpr std::array kFormats = {
    FormatInfo{OutputFormat::BeerXml2, "beerxml2", "xml", "BeerXML 2.01", kBeerXml2Lists,
               &BeginBeerXml2, nullptr},
    FormatInfo{OutputFormat::BeerJson, "beerjson", "json", "BeerJSON 1.0", kBeerJsonLists,
               &BeginBeerJson, &BeginBeerJsonWholeRun},
    FormatInfo{OutputFormat::BeerXml1, "beerxml1", "xml", "BeerXML 1.0", kBeerXml1Lists,
               &BeginBeerXml1, nullptr},
};
static_assert(kFormats.size() == kFormatCount);

constexpr std::uint32_t kOneRecord = 0;

// In detection order: databases by their own name, then single-record files by extension.
constexpr std::array kKinds = {
    KindInfo{FileKind::ExtraDat, "extra.dat", "extra.dat", "dat", "extra.dat",
             "miscellaneous ingredient database", RecordLayout<MiscRecord>::kRecordSize,
             RecordKind::Misc, &Read<MiscRecord, ReadMiscRecords, &DumpMiscRecord>, false},
    KindInfo{FileKind::HopsDat, "hops.dat", "hops.dat", "dat", "hops.dat", "hop database",
             RecordLayout<HopRecord>::kRecordSize, RecordKind::HopVariety,
             &Read<HopRecord, ReadHopRecords>, false},
    KindInfo{FileKind::MaltDat, "malt.dat", "malt.dat", "dat", "malt.dat", "fermentable database",
             RecordLayout<MaltRecord>::kRecordSize, RecordKind::Fermentable,
             &Read<MaltRecord, ReadMaltRecords>, false},
    KindInfo{FileKind::StylesDat, "styles.dat", "styles.dat", "dat", "styles.dat", "style database",
             RecordLayout<StyleRecord>::kRecordSize, RecordKind::Style,
             &Read<StyleRecord, ReadStyleRecords>, false},
    KindInfo{FileKind::WaterFile, "water.dat", "water.dat", "dat", "water.dat", "water profile",
             RecordLayout<WaterRecord>::kRecordSize, RecordKind::Water,
             &Read<WaterRecord, ReadWaterRecords>, false},
    KindInfo{FileKind::YeastDat, "yeast.dat", "yeast.dat", "dat", "yeast.dat", "yeast database",
             RecordLayout<YeastRecord>::kRecordSize, RecordKind::Culture,
             &Read<YeastRecord, ReadYeastRecords>, false},
    KindInfo{FileKind::WaterFile, "wtr", "", "wtr", "profile.wtr", "water profile", kOneRecord,
             RecordKind::Water, &Read<WaterRecord, ReadWaterRecords>, false},
    KindInfo{FileKind::MshFile, "msh", "", "msh", "schedule.msh", "mash schedule", kOneRecord,
             RecordKind::Mash, &Read<MashScheduleRecord, ReadMashSchedule>, false},
    KindInfo{FileKind::RecFile, "rec", "", "rec", "recipe.rec", "recipe", kOneRecord,
             RecordKind::Recipe, &Read<RecipeRecord, ReadRecipeRecords>, true},
    // Brew sessions are recognised so that they can be named in messages; nothing converts them.
    KindInfo{FileKind::BrwFile, "brw", "", "brw", "session.brw", "brew session", kOneRecord,
             RecordKind::Recipe, nullptr, false},
};

constexpr char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// The three characters after a final '.', or nothing.
std::string_view ExtensionOf(std::string_view path) {
  const std::size_t len = path.size();
  if (len < 4 || path[len - 4] != '.') return {};
  return path.substr(len - 3);
}

}  // namespace

std::span<const FormatInfo> Formats() { return kFormats; }

const FormatInfo* FindFormat(std::string_view name) {
  for (const FormatInfo& format : kFormats) {
    if (format.name == name) return &format;
  }
  return nullptr;
}

const FormatInfo& Info(OutputFormat format) { return kFormats[static_cast<std::size_t>(format)]; }

const FormatInfo* FormatOfContent(std::string_view head) {
  const std::size_t start = head.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return nullptr;
  if (head[start] == '{') {
    return head.find("\"beerjson\"") != std::string_view::npos ? &Info(OutputFormat::BeerJson)
                                                               : nullptr;
  }
  // The root element: the first '<' that opens neither a declaration nor a comment.
  for (std::size_t at = head.find('<', start); at != std::string_view::npos;
       at = head.find('<', at + 1)) {
    if (at + 1 >= head.size()) return nullptr;
    const char next = head[at + 1];
    if (next == '?' || next == '!') continue;
    if (head.substr(at + 1, 8) == "beer_xml") return &Info(OutputFormat::BeerXml2);
    std::size_t end = at + 1;
    while (end < head.size() && ((head[end] >= 'A' && head[end] <= 'Z') || head[end] == '_')) {
      ++end;
    }
    const bool upper = end > at + 1 && end < head.size() &&
                       (head[end] == '>' || head[end] == ' ' || head[end] == '/' ||
                        head[end] == '\r' || head[end] == '\n');
    return upper ? &Info(OutputFormat::BeerXml1) : nullptr;
  }
  return nullptr;
}

std::span<const KindInfo> Kinds() { return kKinds; }

const KindInfo* FindKindByLabel(std::string_view label) {
  for (const KindInfo& kind : kKinds) {
    if (kind.label == label) return &kind;
  }
  return nullptr;
}

const KindInfo* FindKindByName(std::string_view file_name) {
  const std::string_view extension = ExtensionOf(file_name);
  if (extension.empty()) return nullptr;
  const bool database = EqualsIgnoringCase(extension, "dat");
  for (const KindInfo& kind : kKinds) {
    if (database ? EqualsIgnoringCase(file_name, kind.file_name)
                 : (!kind.database() && EqualsIgnoringCase(extension, kind.extension))) {
      return &kind;
    }
  }
  return nullptr;
}

std::string TrimPath(std::string_view path) {
  std::size_t end = path.size();
  while (end > 0) {
    const char c = path[end - 1];
    if (c != '\t' && c != '\n' && c != '\r' && c != ' ') break;
    --end;
  }
  return std::string(path.substr(0, end));
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string OutputPath(std::string_view trimmed_path, OutputFormat format) {
  if (trimmed_path.size() < 4) return std::string();
  return std::string(trimmed_path.substr(0, trimmed_path.size() - 3)) +
         std::string(Info(format).extension);
}

bool HasCountHeader(std::string_view trimmed_path) {
  return EqualsIgnoringCase(ExtensionOf(trimmed_path), "dat");
}

const KindInfo* DetectKind(InputFile& file, std::string_view trimmed_path, std::int32_t& count) {
  if (ExtensionOf(trimmed_path).empty()) return nullptr;
  if (HasCountHeader(trimmed_path)) count = ReadCountHeader(file);
  const KindInfo* kind = FindKindByName(FileNameOf(trimmed_path));
  if (kind != nullptr && !kind->database()) count = 1;
  return kind;
}

}  // namespace kegverter
