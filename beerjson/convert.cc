#include "beerjson/convert.h"

#include "beerjson/beerjson.h"

namespace kegverter {

ConvertFn BeerJsonConverter(FileKind kind) {
  using enum CloseOrder;
  switch (kind) {
    case FileKind::ExtraDat:
      return &Convert<MiscRecord, ReadMiscRecords, WriteMiscBeerJson, ExportThenClose>;
    case FileKind::HopsDat:
      return &Convert<HopRecord, ReadHopRecords, WriteHopBeerJson, ExportThenClose>;
    case FileKind::MaltDat:
      return &Convert<MaltRecord, ReadMaltRecords, WriteMaltBeerJson, ExportThenClose>;
    case FileKind::StylesDat:
      return &Convert<StyleRecord, ReadStyleRecords, WriteStyleBeerJson, CloseThenExport>;
    case FileKind::WaterFile:
      return &Convert<WaterRecord, ReadWaterRecords, WriteWaterBeerJson, CloseThenExport>;
    case FileKind::YeastDat:
      return &Convert<YeastRecord, ReadYeastRecords, WriteYeastBeerJson, ExportThenClose>;
    case FileKind::MshFile:
      return &Convert<MashScheduleRecord, ReadMashSchedule, WriteMashBeerJson, ExportThenClose>;
    case FileKind::RecFile:
      return &Convert<RecipeRecord, ReadRecipeRecords, WriteRecipeBeerJson, ExportThenClose>;
    case FileKind::None:
    case FileKind::BrwFile:
      break;
  }
  return nullptr;
}

}  // namespace kegverter
