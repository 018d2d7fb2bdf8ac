// BeerXML 2.01 documents, what the kegverter program writes: the declaration, `beer_xml` with
// the schema-instance namespace and `version` 2.01, and one list that fits the kind, holding a
// record for every source record, written from the brewing model by the node tables of the
// list's module (misc_writer, malt_writer, hops_writer, styles_writer, water_writer,
// yeast_writer, mash_writer, recipe_writer).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "output/document_writer.h"

namespace kegverter {

/// The list element of each kind of record, in RecordKind order.
inline constexpr std::array<std::string_view, kRecordKindCount> kBeerXml2Lists = {
    "miscellaneous_ingredients",
    "fermentables",
    "varieties",
    "styles",
    "profiles",
    "cultures",
    "procedure",
    "recipes"};

/// The document every list starts from: declaration, beer_xml with the schema-instance
/// namespace, version 2.01 and the empty list element `list`, with CR LF line ends.
std::string BeerXmlTemplate(std::string_view list);

/// Begins a document of the list of `kind`, written into `run`.
std::unique_ptr<DocumentWriter> BeginBeerXml2(RecordKind kind, ExportRun& run);

}  // namespace kegverter
