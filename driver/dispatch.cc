#include "driver/dispatch.h"

#include <array>

#include "beerxml/hops_writer.h"
#include "beerxml/malt_writer.h"
#include "beerxml/mash_writer.h"
#include "beerxml/misc_writer.h"
#include "beerxml/recipe_writer.h"
#include "beerxml/styles_writer.h"
#include "beerxml/water_writer.h"
#include "beerxml/yeast_writer.h"
#include "source/hop_style_records.h"
#include "source/mash_schedule.h"
#include "source/misc_malt_records.h"
#include "source/recipe_records.h"
#include "source/water_yeast_records.h"

namespace kegverter {

namespace {

// In FileKind order. The record sizes bound a database's header count by the bytes present.
constexpr std::array kKinds = {
    KindEntry{FileKind::ExtraDat, "miscellaneous ingredient database", 577,
              &Convert<MiscRecord, ReadMiscRecords, ExportMiscRecords, CloseOrder::ExportThenClose>,
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
