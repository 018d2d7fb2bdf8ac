// BeerXML 1.0 documents: the XML declaration, then one plural list that fits the kind (`HOPS`,
// `FERMENTABLES`, `MISCS`, `YEASTS`, `WATERS`, `STYLES`, `MASHS`, `RECIPES`) with one record per
// source record. Upper-case tags, `VERSION` 1 in every record, booleans `TRUE`/`FALSE`, and the
// fixed units of BeerXML 1.0: kg, L, degrees C, minutes, SG, Lovibond for grain colours. Every
// converted number keeps 9 significant digits, written without an exponent.
//
// A value outside the bounds that importers validate (percentages 0 to 100, gravities 0.9 to 2.0,
// temperatures 0 to 150 C, ...) is written as the nearest bound, and the record's `NOTES` say
// what was stored; so do they for a value that BeerXML 1.0 has no element for, and for a code
// without a meaning. A recipe carries an `EQUIPMENT` made from its batch size, boil size and boil
// time, a `STYLE` and a `MASH` always, since importers refuse a recipe without them.
//
// A BeerXML 1.0 list holds at least one record: given none, a writer writes nothing, and
// `run.write_error` says so.
//
// Each writer builds the brewing model of one record at a time and streams the records through
// the document layer into the document's bytes, `run.output`: `run.written` tells that the
// document is whole, `run.write_error` why there is none, `run.reports` what failed on the way.
#pragma once

#include <span>
#include <string>

#include "document/emitter.h"
#include "source/hops.h"
#include "source/malt.h"
#include "source/mash.h"
#include "source/misc.h"
#include "source/recipe.h"
#include "source/styles.h"
#include "source/water.h"
#include "source/yeast.h"

namespace kegverter {

/// `MISCS`.
void WriteMiscBeerXml1(std::span<const MiscRecord> records, ExportRun& run);
/// `FERMENTABLES`.
void WriteMaltBeerXml1(std::span<const MaltRecord> records, ExportRun& run);
/// `HOPS`.
void WriteHopBeerXml1(std::span<const HopRecord> records, ExportRun& run);
/// `STYLES`.
void WriteStyleBeerXml1(std::span<const StyleRecord> records, ExportRun& run);
/// `WATERS`.
void WriteWaterBeerXml1(std::span<const WaterRecord> records, ExportRun& run);
/// `YEASTS`.
void WriteYeastBeerXml1(std::span<const YeastRecord> records, ExportRun& run);
/// `MASHS`. A step of a kind without a meaning is left out and named in the mash's notes.
void WriteMashBeerXml1(std::span<const MashScheduleRecord> records, ExportRun& run);
/// `RECIPES`.
void WriteRecipeBeerXml1(std::span<const RecipeRecord> records, ExportRun& run);

}  // namespace kegverter
