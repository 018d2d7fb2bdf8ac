// The miscellaneous_ingredients list (from extra.dat) and the fermentables list (from malt.dat).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "beerxml/emitter.h"
#include "beerxml/node_table.h"
#include "source/malt.h"
#include "source/misc.h"

namespace kegverter {

/// One `miscellaneous` element. The inventory holds exactly one of `amount` (a volume) and
/// `amount_as_weight` (a mass); the exporter switches the other off for each record.
inline constexpr NodeSpec kMiscTable[] = {
    nodes::Element("miscellaneous"),
        nodes::Element("name"), nodes::Text(), nodes::Parent(),
        nodes::Element("type"), nodes::Text(), nodes::Parent(),
        nodes::Element("use"), nodes::Text(), nodes::Parent(),
        nodes::Element("use_for"), nodes::Text(), nodes::Parent(),
        nodes::Element("notes"), nodes::Text(), nodes::Parent(),
        nodes::Element("inventory"),
            nodes::Element("amount"), nodes::Attribute("volume"), nodes::Text(), nodes::Parent(),
            nodes::Element("amount_as_weight"), nodes::Attribute("mass"), nodes::Text(),
            nodes::Parent(),
        nodes::Parent(),
    nodes::Parent(),
};

/// One `fermentable` element; nothing in it is optional.
inline constexpr NodeSpec kFermentableTable[] = {
    nodes::Element("fermentable"),
        nodes::Element("name"), nodes::Text(), nodes::Parent(),
        nodes::Element("type"), nodes::Text(), nodes::Parent(),
        nodes::Element("color"), nodes::Attribute("scale"), nodes::Text(), nodes::Parent(),
        nodes::Element("origin"), nodes::Text(), nodes::Parent(),
        nodes::Element("supplier"), nodes::Text(), nodes::Parent(),
        nodes::Element("yield"), nodes::Text(), nodes::Parent(),
        nodes::Element("notes"), nodes::Text(), nodes::Parent(),
        nodes::Element("coarse_fine_diff"), nodes::Text(), nodes::Parent(),
        nodes::Element("moisture"), nodes::Text(), nodes::Parent(),
        nodes::Element("diastatic_power"), nodes::Text(), nodes::Parent(),
        nodes::Element("protein"), nodes::Text(), nodes::Parent(),
        nodes::Element("max_in_batch"), nodes::Text(), nodes::Parent(),
        nodes::Element("recommend_mash"), nodes::Text(), nodes::Parent(),
        nodes::Element("potential"), nodes::Attribute("density"), nodes::Text(), nodes::Parent(),
        nodes::Element("inventory"), nodes::Attribute("mass"), nodes::Text(), nodes::Parent(),
    nodes::Parent(),
};

// Word tables, indexed by the stored code; a null entry or a code past the end has no word.

/// MiscRecord::ingredient_type.
inline constexpr const char* kMiscTypeWords[] = {"spice", "fruit", "other", "other", "fining",
                                                 "herb"};
/// MiscRecord::time_type: the `use` element and the notes sentence.
inline constexpr const char* kMiscUseWords[] = {"boil", "secondary", "mash"};
/// MiscRecord::time_units: the time phrase of the notes sentence, with suggested_time.
inline constexpr const char* kMiscTimePhrases[] = {" for %d days.", " for %d minutes."};
/// Unit words of an amount written as a mass, by effective unit code.
inline constexpr const char* kMiscMassUnits[] = {"oz", "gm", "lb"};
/// Unit words of an amount written as a volume, by effective unit code.
inline constexpr const char* kMiscVolumeUnits[] = {"ozfl", nullptr, nullptr, "tsp", "tbsp", "cup"};
/// MaltRecord::type.
inline constexpr const char* kFermentableTypeWords[] = {nullptr, "grain", "extract", "sugar",
                                                        "adjunct"};

/// How an amount of a miscellaneous ingredient is written.
struct MiscAmount {
  bool volume = false;              ///< `amount` with `volume`, else `amount_as_weight` with `mass`
  std::optional<std::string> unit;  ///< absent when the effective unit code has no word
  std::string text;
};

/// Resolves the unit of a miscellaneous ingredient's amount: a stored unit code 6 is decided by
/// the ingredient type, and an extract (a name containing "xtract") is measured in fluid ounces.
/// The amount keeps its value only when the unit written is the stored one; an amount whose
/// unit was replaced is written as 0.0 rather than as a number in the wrong unit.
MiscAmount ResolveMiscAmount(const NarrowText& ingredient_name, std::uint8_t ingredient_type,
                             std::uint8_t stored_unit, float amount);

/// Appends the four values of the `amount` and `amount_as_weight` elements, in table order:
/// unit and text for the form in use, absent values for the other.
void AppendMiscAmountValues(NodeValues& values, const MiscAmount& amount);

/// Writes `records` as a miscellaneous_ingredients document to `output_path`. Returns 0.
int ExportMiscRecords(std::span<const MiscRecord> records, const std::string& output_path,
                      ExportRun& run);

/// Writes `records` as a fermentables document to `output_path`. Returns 0.
int ExportMaltRecords(std::span<const MaltRecord> records, const std::string& output_path,
                      ExportRun& run);

}  // namespace kegverter
