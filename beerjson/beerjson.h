// BeerJSON 1.0 documents: one per input, `{"beerjson": {"version": 1.0, LIST: [...]}}`, with the
// list that fits the kind. Quantities keep the application's units in BeerJSON's unit/value
// objects. What BeerJSON has no place for (the application's bitterness figure, a first-wort
// hop, a code without a meaning, an amount whose unit was replaced) is said in the notes of the
// record, or of the recipe for an ingredient addition, which has no notes of its own.
//
// The writer takes the records of the brewing model one at a time and writes each into the
// document's bytes, `run.output`, as it comes; `run.written` tells that the document is whole.
// The caller saves it (SaveOutput) or hands it on.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "output/document_writer.h"

namespace kegverter {

/// The list of each kind of record, in RecordKind order. A mash without a step (or whose every
/// step is of an unknown kind) has no BeerJSON form, which wants at least one step: it is left
/// out of its list.
inline constexpr std::array<std::string_view, kRecordKindCount> kBeerJsonLists = {
    "miscellaneous_ingredients",
    "fermentables",
    "hop_varieties",
    "styles",
    "profiles",
    "cultures",
    "mashes",
    "recipes"};

/// Begins a document of one input: the list of `kind`, written into `run`.
std::unique_ptr<DocumentWriter> BeginBeerJson(RecordKind kind, ExportRun& run);

/// Begins a document holding every record of a run, one list per kind: the form an import
/// wants. Its lists are kept in `store` until it is written.
std::unique_ptr<WholeRunDocument> BeginBeerJsonWholeRun(PartStore store);

}  // namespace kegverter
