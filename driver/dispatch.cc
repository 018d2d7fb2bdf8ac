#include "driver/dispatch.h"

#include <array>

#include "beerxml/mash_export.h"
#include "source/mash_schedule.h"

namespace kegverter {

namespace {

// In FileKind order. The record sizes bound a database's header count by the bytes present.
constexpr std::array kKinds = {
    KindEntry{FileKind::ExtraDat, "miscellaneous ingredient database", 577, nullptr, false},
    KindEntry{FileKind::HopsDat, "hop database", 614, nullptr, false},
    KindEntry{FileKind::MaltDat, "fermentable database", 521, nullptr, false},
    KindEntry{FileKind::StylesDat, "style database", 1031, nullptr, false},
    KindEntry{FileKind::WaterFile, "water profile", 222, nullptr, false},
    KindEntry{FileKind::YeastDat, "yeast database", 468, nullptr, false},
    KindEntry{FileKind::MshFile, "mash schedule", 0,
              &Convert<MashScheduleRecord, ReadMashSchedule, ExportMashSchedules,
                       CloseOrder::ExportThenClose>,
              false},
    KindEntry{FileKind::RecFile, "recipe", 0, nullptr, true},
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
