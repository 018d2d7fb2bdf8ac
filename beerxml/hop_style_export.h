// The hop database as a `varieties` list and the style database as a `styles` list. The style
// type words and the style letter rule are shared with the recipe export, which writes the style
// of a recipe the same way.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "beerxml/emitter.h"
#include "beerxml/node_table.h"
#include "source/hops.h"
#include "source/styles.h"

namespace kegverter {

/// Words of a hop's use code, the low 4 bits of `type_code`; codes 4 to 15 have none.
inline constexpr std::array<const char*, 16> kHopUseWords = {
    "bittering", "bittering", "aroma", "both",
};

/// Words of a style's `type`; 4 and codes above 5 have none.
inline constexpr std::array<const char*, 6> kStyleTypeWords = {
    "ale", "lager", "cider", "mead", nullptr, "mixed",
};

/// The use word of a hop's `type_code` (the upper 12 bits do not matter).
std::optional<std::string> HopUseWord(std::int16_t type_code);

/// The word of a style `type`.
std::optional<std::string> StyleTypeWord(std::uint8_t type);

/// The style letter as written: the stored text (one or two characters) when it starts with an
/// upper-case letter A to Z, otherwise one blank.
std::string StyleLetterText(const NarrowText& letter);

// clang-format off
/// One `hop` of the `varieties` list.
inline constexpr NodeSpec kHopTable[] = {
    nodes::Element("hop"),
      nodes::Element("name"), nodes::Text(), nodes::Parent(),
      nodes::Element("origin"), nodes::Text(), nodes::Parent(),
      nodes::Element("alpha_acid_units"), nodes::Text(), nodes::Parent(),
      nodes::Element("beta_acid_units"), nodes::Text(), nodes::Parent(),
      nodes::Element("type"), nodes::Text(), nodes::Parent(),
      nodes::Element("notes"), nodes::Text(), nodes::Parent(),
      nodes::Element("percent_lost"), nodes::Text(), nodes::Parent(),
      nodes::Element("substitutes"), nodes::Text(), nodes::Parent(),
      nodes::Element("humulene"), nodes::Text(), nodes::Parent(),
      nodes::Element("caryophyllene"), nodes::Text(), nodes::Parent(),
      nodes::Element("cohumulone"), nodes::Text(), nodes::Parent(),
      nodes::Element("myrcene"), nodes::Text(), nodes::Parent(),
      nodes::Element("inventory"),
        nodes::Element("leaf"), nodes::Attribute("mass"), nodes::Text(), nodes::Parent(),
        nodes::Element("pellet"), nodes::Attribute("mass"), nodes::Text(), nodes::Parent(),
        nodes::Element("plug"), nodes::Attribute("mass"), nodes::Text(), nodes::Parent(),
      nodes::Parent(),
    nodes::Parent(),
};

/// One `style` of the `styles` list.
inline constexpr NodeSpec kStyleTable[] = {
    nodes::Element("style"),
      nodes::Element("name"), nodes::Text(), nodes::Parent(),
      nodes::Element("category"), nodes::Text(), nodes::Parent(),
      nodes::Element("category_number"), nodes::Text(), nodes::Parent(),
      nodes::Element("style_letter"), nodes::Text(), nodes::Parent(),
      nodes::Element("style_guide"), nodes::Text(), nodes::Parent(),
      nodes::Element("type"), nodes::Text(), nodes::Parent(),
      nodes::Element("original_gravity"),
        nodes::Element("minimum"), nodes::Attribute("density"), nodes::Text(), nodes::Parent(),
        nodes::Element("maximum"), nodes::Attribute("density"), nodes::Text(), nodes::Parent(),
      nodes::Parent(),
      nodes::Element("final_gravity"),
        nodes::Element("minimum"), nodes::Attribute("density"), nodes::Text(), nodes::Parent(),
        nodes::Element("maximum"), nodes::Attribute("density"), nodes::Text(), nodes::Parent(),
      nodes::Parent(),
      nodes::Element("international_bitterness_units"),
        nodes::Element("minimum"), nodes::Text(), nodes::Parent(),
        nodes::Element("maximum"), nodes::Text(), nodes::Parent(),
      nodes::Parent(),
      nodes::Element("color"),
        nodes::Element("minimum"), nodes::Attribute("scale"), nodes::Text(), nodes::Parent(),
        nodes::Element("maximum"), nodes::Attribute("scale"), nodes::Text(), nodes::Parent(),
      nodes::Parent(),
      nodes::Element("carbonation"),
        nodes::Element("minimum"), nodes::Text(), nodes::Parent(),
        nodes::Element("maximum"), nodes::Text(), nodes::Parent(),
      nodes::Parent(),
      nodes::Element("alcohol_by_volume"),
        nodes::Element("minimum"), nodes::Text(), nodes::Parent(),
        nodes::Element("maximum"), nodes::Text(), nodes::Parent(),
      nodes::Parent(),
      nodes::Element("notes"), nodes::Text(), nodes::Parent(),
      nodes::Element("profile"), nodes::Text(), nodes::Parent(),
      nodes::Element("ingredients"), nodes::Text(), nodes::Parent(),
      nodes::Element("examples"), nodes::Text(), nodes::Parent(),
    nodes::Parent(),
};
// clang-format on

static_assert(std::size(kHopTable) == 52 && ValueCount(kHopTable) == 18 && IsBalanced(kHopTable));
static_assert(std::size(kStyleTable) == 86 && ValueCount(kStyleTable) == 28 &&
              IsBalanced(kStyleTable));

/// The value strings of one hop, in table order.
NodeValues HopValues(const HopRecord& record);

/// The value strings of one style, in table order.
NodeValues StyleValues(const StyleRecord& record);

/// Writes `records` as the `varieties` list to `output_path`. Returns 0.
int ExportHopRecords(std::span<const HopRecord> records, const std::string& output_path,
                     ExportRun& run);

/// Writes `records` as the `styles` list to `output_path`. Returns 0.
int ExportStyleRecords(std::span<const StyleRecord> records, const std::string& output_path,
                       ExportRun& run);

}  // namespace kegverter
