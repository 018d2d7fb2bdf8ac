// The `STYLE` of BeerXML 1.0, of the style database.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "beerxml1/common.h"
#include "document/node_table.h"
#include "model/brewing.h"

namespace kegverter::beerxml1 {

enum class StyleSlot : std::uint16_t {
  kName,
  kCategory,
  kVersion,
  kCategoryNumber,
  kStyleLetter,
  kStyleGuide,
  kType,
  kOgMin,
  kOgMax,
  kFgMin,
  kFgMax,
  kIbuMin,
  kIbuMax,
  kColorMin,
  kColorMax,
  kAbvMin,
  kAbvMax,
  kNotes,
  kProfile,
  kExamples,
  kCount
};

// clang-format off
inline constexpr auto kStyleTable = [] {
  using namespace nodes;
  using enum StyleSlot;
  return Tree<StyleSlot>({
    Element("STYLE"),
      Element("NAME"), Text(kName), Parent(),
      Element("CATEGORY"), Text(kCategory), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("CATEGORY_NUMBER"), Text(kCategoryNumber), Parent(),
      Element("STYLE_LETTER"), Text(kStyleLetter), Parent(),
      Element("STYLE_GUIDE"), Text(kStyleGuide), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("OG_MIN"), Text(kOgMin), Parent(),
      Element("OG_MAX"), Text(kOgMax), Parent(),
      Element("FG_MIN"), Text(kFgMin), Parent(),
      Element("FG_MAX"), Text(kFgMax), Parent(),
      Element("IBU_MIN"), Text(kIbuMin), Parent(),
      Element("IBU_MAX"), Text(kIbuMax), Parent(),
      Element("COLOR_MIN"), Text(kColorMin), Parent(),
      Element("COLOR_MAX"), Text(kColorMax), Parent(),
      Element("ABV_MIN"), Text(kAbvMin), Parent(),
      Element("ABV_MAX"), Text(kAbvMax), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("PROFILE"), Text(kProfile), Parent(),
      Element("EXAMPLES"), Text(kExamples), Parent(),
    Parent(),
  });
}();
// clang-format on

static_assert(IsBalanced(kStyleTable.entries));

NodeValues<StyleSlot> StyleValues(const m::Style& s);

}  // namespace kegverter::beerxml1
