#include "beerjson/convert.h"

#include <memory>
#include <span>
#include <vector>

#include "beerjson/beerjson.h"
#include "beerxml/emitter.h"
#include "source/input_file.h"

namespace kegverter {

namespace {

// As the registry converts: the records are read (extra.dat's reader prints its own dump, as
// for BeerXML), the input closed before or after the write as the kind's BeerXML conversion does.
template <class R, auto Reader, auto Writer, bool close_first>
void Convert(InputFile& input, std::int32_t count, const std::string& output_path, ExportRun& run,
             std::FILE* /*console*/) {
  std::vector<R> records(static_cast<std::size_t>(count));  // the count is bounded by the file
  Reader(input, std::span<R>(records));
  if constexpr (close_first) input.Close();
  Writer(std::span<const R>(records), output_path, run);
  input.Close();
}

// Reads a kind's records and adds them to a combined document.
template <class R, auto Reader>
void Collect(InputFile& input, std::int32_t count, BeerJsonCombined& combined) {
  std::vector<R> records(static_cast<std::size_t>(count));  // the count is bounded by the file
  Reader(input, std::span<R>(records));
  input.Close();
  combined.Add(std::span<const R>(records));
}

using CollectFn = void (*)(InputFile& input, std::int32_t count, BeerJsonCombined& combined);

CollectFn CollectorOf(FileKind kind) {
  switch (kind) {
    case FileKind::ExtraDat:
      return &Collect<MiscRecord, ReadMiscRecords>;
    case FileKind::HopsDat:
      return &Collect<HopRecord, ReadHopRecords>;
    case FileKind::MaltDat:
      return &Collect<MaltRecord, ReadMaltRecords>;
    case FileKind::StylesDat:
      return &Collect<StyleRecord, ReadStyleRecords>;
    case FileKind::WaterFile:
      return &Collect<WaterRecord, ReadWaterRecords>;
    case FileKind::YeastDat:
      return &Collect<YeastRecord, ReadYeastRecords>;
    case FileKind::MshFile:
      return &Collect<MashScheduleRecord, ReadMashSchedule>;
    case FileKind::RecFile:
      return &Collect<RecipeRecord, ReadRecipeRecords>;
    case FileKind::None:
    case FileKind::BrwFile:
      break;
  }
  return nullptr;
}

// Opens and recognises the input and bounds its record count as a BeerXML conversion does;
// null when it is not converted.
std::unique_ptr<InputFile> OpenForConversion(const std::string& input_path, const KindInfo*& kind,
                                             std::int32_t& count) {
  std::string error;
  std::unique_ptr<InputFile> input = InputFile::Open(input_path, error);
  if (!input || input->size() == 0) return nullptr;
  kind = DetectKind(*input, TrimPath(input_path), count);
  if (kind == nullptr || !kind->converted() || count <= 0) return nullptr;
  if (kind->database()) {
    const std::uint64_t complete = input->size() < 4 ? 0 : (input->size() - 4) / kind->record_size;
    if (complete == 0) return nullptr;
    if (static_cast<std::uint64_t>(count) > complete) count = static_cast<std::int32_t>(complete);
  }
  return input;
}

}  // namespace

bool AddToBeerJson(const std::string& input_path, BeerJsonCombined& combined) {
  const KindInfo* kind = nullptr;
  std::int32_t count = 0;
  std::unique_ptr<InputFile> input = OpenForConversion(input_path, kind, count);
  const CollectFn collect = input ? CollectorOf(kind->kind) : nullptr;
  if (collect == nullptr) return false;
  collect(*input, count, combined);
  return true;
}

bool ConvertToBeerJson(const std::string& input_path, const std::string& output_path,
                       ExportRun& run) {
  const KindInfo* kind = nullptr;
  std::int32_t count = 0;
  std::unique_ptr<InputFile> input = OpenForConversion(input_path, kind, count);
  const ConvertFn convert = input ? BeerJsonConverter(kind->kind) : nullptr;
  if (convert == nullptr) return false;
  convert(*input, count, output_path, run, nullptr);
  return true;
}

ConvertFn BeerJsonConverter(FileKind kind) {
  switch (kind) {
    case FileKind::ExtraDat:
      return &Convert<MiscRecord, ReadMiscRecords, WriteMiscBeerJson, false>;
    case FileKind::HopsDat:
      return &Convert<HopRecord, ReadHopRecords, WriteHopBeerJson, false>;
    case FileKind::MaltDat:
      return &Convert<MaltRecord, ReadMaltRecords, WriteMaltBeerJson, false>;
    case FileKind::StylesDat:
      return &Convert<StyleRecord, ReadStyleRecords, WriteStyleBeerJson, true>;
    case FileKind::WaterFile:
      return &Convert<WaterRecord, ReadWaterRecords, WriteWaterBeerJson, true>;
    case FileKind::YeastDat:
      return &Convert<YeastRecord, ReadYeastRecords, WriteYeastBeerJson, false>;
    case FileKind::MshFile:
      return &Convert<MashScheduleRecord, ReadMashSchedule, WriteMashBeerJson, false>;
    case FileKind::RecFile:
      return &Convert<RecipeRecord, ReadRecipeRecords, WriteRecipeBeerJson, false>;
    case FileKind::None:
    case FileKind::BrwFile:
      break;
  }
  return nullptr;
}

}  // namespace kegverter
