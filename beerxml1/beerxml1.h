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
// The writer takes the records of the brewing model one at a time and streams them through the
// document layer into the document's bytes, `run.output`: `run.written` tells that the document
// is whole, `run.write_error` why there is none, `run.reports` what failed on the way. Each kind
// of record has its module: common (what they share), fermentables, hops, miscs, yeasts, waters,
// styles, mashes, recipes.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "output/document_writer.h"

namespace kegverter {

/// The list of each kind of record, in RecordKind order.
inline constexpr std::array<std::string_view, kRecordKindCount> kBeerXml1Lists = {
    "MISCS", "FERMENTABLES", "HOPS", "STYLES", "WATERS", "YEASTS", "MASHS", "RECIPES"};

/// Begins a document of the list of `kind`, written into `run`.
std::unique_ptr<DocumentWriter> BeginBeerXml1(RecordKind kind, ExportRun& run);

}  // namespace kegverter
