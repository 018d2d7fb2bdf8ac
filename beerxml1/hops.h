// The hops of BeerXML 1.0: a variety of the hop database, and a recipe's hop addition, in one `HOP`
// table.
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

enum class HopSlot : std::uint16_t {
  kName,
  kVersion,
  kAlpha,
  kAmount,
  kUse,
  kTime,
  kNotes,
  kType,
  kForm,
  kBeta,
  kHsi,
  kOrigin,
  kSubstitutes,
  kHumulene,
  kCaryophyllene,
  kCohumulone,
  kMyrcene,
  kCount
};

// clang-format off
inline constexpr auto kHopTable = [] {
  using namespace nodes;
  using enum HopSlot;
  return Tree<HopSlot>({
    Element("HOP"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("ALPHA"), Text(kAlpha), Parent(),
      Element("AMOUNT"), Text(kAmount), Parent(),
      Element("USE"), Text(kUse), Parent(),
      Element("TIME"), Text(kTime), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("FORM"), Text(kForm), Parent(),
      Element("BETA"), Text(kBeta), Parent(),
      Element("HSI"), Text(kHsi), Parent(),
      Element("ORIGIN"), Text(kOrigin), Parent(),
      Element("SUBSTITUTES"), Text(kSubstitutes), Parent(),
      Element("HUMULENE"), Text(kHumulene), Parent(),
      Element("CARYOPHYLLENE"), Text(kCaryophyllene), Parent(),
      Element("COHUMULONE"), Text(kCohumulone), Parent(),
      Element("MYRCENE"), Text(kMyrcene), Parent(),
    Parent(),
  });
}();
// clang-format on

static_assert(IsBalanced(kHopTable.entries));

NodeValues<HopSlot> HopVarietyValues(const m::HopVariety& hop);
NodeValues<HopSlot> HopAdditionValues(const m::HopAddition& hop);

}  // namespace kegverter::beerxml1
