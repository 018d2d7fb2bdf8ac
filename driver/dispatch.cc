#include "driver/dispatch.h"

#include <array>

#include "beerxml/hop_style_export.h"
#include "beerxml/mash_export.h"
#include "beerxml/misc_malt_export.h"
#include "beerxml/recipe_export.h"
#include "beerxml/water_yeast_export.h"
#include "driver/console.h"
#include "source/hops.h"
#include "source/malt.h"
#include "source/mash.h"
#include "source/misc.h"
#include "source/recipe.h"
#include "source/styles.h"
#include "source/water.h"
#include "source/yeast.h"

namespace kegverter {

namespace {

// extra.dat shows every record on the console. The dump follows validation, so it shows the
// defaults that replaced bad values; every record is read before any is exported.
std::int32_t ReadAndPrintMiscRecords(InputFile& file, std::span<MiscRecord> records) {
  const std::int32_t replaced = ReadMiscRecords(file, records);
  for (const MiscRecord& record : records) PrintMiscRecord(record, stdout);
  return replaced;
}

// In FileKind order. The record sizes bound a database's header count by the bytes present.
constexpr std::array kKinds = {
    KindEntry{FileKind::ExtraDat, "miscellaneous ingredient database", 577,
              &Convert<MiscRecord, ReadAndPrintMiscRecords, ExportMiscRecords,
                       CloseOrder::ExportThenClose>,
              false},
    KindEntry{FileKind::HopsDat, "hop database", 614,
              &Convert<HopRecord, ReadHopRecords, ExportHopRecords, CloseOrder::ExportThenClose>,
              false},
    KindEntry{FileKind::MaltDat, "fermentable database", 521,
              &Convert<MaltRecord, ReadMaltRecords, ExportMaltRecords, CloseOrder::ExportThenClose>,
              false},
    KindEntry{FileKind::StylesDat, "style database", 1031,
              &Convert<StyleRecord, ReadStyleRecords, ExportStyleRecords,
                       CloseOrder::CloseThenExport>,
              false},
    KindEntry{FileKind::WaterFile, "water profile", 222,
              &Convert<WaterRecord, ReadWaterRecords, ExportWaterRecords,
                       CloseOrder::CloseThenExport>,
              false},
    KindEntry{FileKind::YeastDat, "yeast database", 468,
              &Convert<YeastRecord, ReadYeastRecords, ExportYeastRecords,
                       CloseOrder::ExportThenClose>,
              false},
    KindEntry{FileKind::MshFile, "mash schedule", 0,
              &Convert<MashScheduleRecord, ReadMashSchedule, ExportMashSchedules,
                       CloseOrder::ExportThenClose>,
              false},
    KindEntry{FileKind::RecFile, "recipe", 0,
              &Convert<RecipeRecord, ReadRecipeRecords, ExportRecipeRecords,
                       CloseOrder::ExportThenClose>,
              true},
    KindEntry{FileKind::BrwFile, "brew session", 0, nullptr, false},
};

}  // namespace

const KindEntry* FindKind(FileKind kind) {
  for (const KindEntry& entry : kKinds) {
    if (entry.kind == kind) return &entry;
  }
  return nullptr;
}

}  // namespace kegverter
