// The profiles list (from water.dat or a '.wtr' file) and the cultures list (from yeast.dat).
#pragma once

#include <span>
#include <string>

#include "beerxml/emitter.h"
#include "beerxml/node_table.h"
#include "source/water.h"
#include "source/yeast.h"

namespace kegverter {

/// One `water` element; its order is not the record's (bicarbonate second, magnesium sixth).
inline constexpr NodeSpec kWaterTable[] = {
    nodes::Element("water"),
        nodes::Element("name"), nodes::Text(), nodes::Parent(),
        nodes::Element("calcium"), nodes::Text(), nodes::Parent(),
        nodes::Element("bicarbonate"), nodes::Text(), nodes::Parent(),
        nodes::Element("sulfate"), nodes::Text(), nodes::Parent(),
        nodes::Element("chloride"), nodes::Text(), nodes::Parent(),
        nodes::Element("sodium"), nodes::Text(), nodes::Parent(),
        nodes::Element("magnesium"), nodes::Text(), nodes::Parent(),
        nodes::Element("pH"), nodes::Text(), nodes::Parent(),
        nodes::Element("notes"), nodes::Text(), nodes::Parent(),
    nodes::Parent(),
};

/// One `yeast` element. `max_reuse` is switched off for the whole export; the database holds no
/// quantities, so every inventory form is written as zero.
inline constexpr NodeSpec kYeastTable[] = {
    nodes::Element("yeast"),
        nodes::Element("name"), nodes::Text(), nodes::Parent(),
        nodes::Element("type"), nodes::Text(), nodes::Parent(),
        nodes::Element("form"), nodes::Text(), nodes::Parent(),
        nodes::Element("laboratory"), nodes::Text(), nodes::Parent(),
        nodes::Element("product_id"), nodes::Text(), nodes::Parent(),
        nodes::Element("temperature_range"),
            nodes::Element("minimum"), nodes::Attribute("degrees"), nodes::Text(), nodes::Parent(),
            nodes::Element("maximum"), nodes::Attribute("degrees"), nodes::Text(), nodes::Parent(),
        nodes::Parent(),
        nodes::Element("flocculation"), nodes::Text(), nodes::Parent(),
        nodes::Element("attenuation"), nodes::Text(), nodes::Parent(),
        nodes::Element("notes"), nodes::Text(), nodes::Parent(),
        nodes::Element("best_for"), nodes::Text(), nodes::Parent(),
        nodes::Element("max_reuse"), nodes::Text(), nodes::Parent(),
        nodes::Element("inventory"),
            nodes::Element("liquid"), nodes::Attribute("volume"), nodes::Text(), nodes::Parent(),
            nodes::Element("dry"), nodes::Attribute("mass"), nodes::Text(), nodes::Parent(),
            nodes::Element("slant"), nodes::Attribute("volume"), nodes::Text(), nodes::Parent(),
            nodes::Element("culture"), nodes::Attribute("volume"), nodes::Attribute("date"),
                nodes::Text(), nodes::Parent(),
        nodes::Parent(),
    nodes::Parent(),
};

// Word tables, indexed by the stored code; a code past the end has no word.

/// YeastRecord::type.
inline constexpr const char* kYeastTypeWords[] = {"ale", "lager", "wine", "champagne"};
/// YeastRecord::form.
inline constexpr const char* kYeastFormWords[] = {"dry", "liquid", "slant"};
/// YeastRecord::flocculation.
inline constexpr const char* kFlocculationWords[] = {"high", "medium", "low"};

/// Writes `records` as a profiles document to `output_path`. Returns 0.
int ExportWaterRecords(std::span<const WaterRecord> records, const std::string& output_path,
                       ExportRun& run);

/// Writes `records` as a cultures document to `output_path`. Returns 0.
int ExportYeastRecords(std::span<const YeastRecord> records, const std::string& output_path,
                       ExportRun& run);

}  // namespace kegverter
