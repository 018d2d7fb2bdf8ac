// The `MISC` of BeerXML 1.0: a miscellaneous ingredient of the database, or a recipe's addition of
// one.
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

enum class MiscSlot : std::uint16_t {
  kName,
  kVersion,
  kType,
  kUse,
  kTime,
  kAmount,
  kAmountIsWeight,
  kUseFor,
  kNotes,
  kCount
};

// clang-format off
inline constexpr auto kMiscTable = [] {
  using namespace nodes;
  using enum MiscSlot;
  return Tree<MiscSlot>({
    Element("MISC"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("USE"), Text(kUse), Parent(),
      Element("TIME"), Text(kTime), Parent(),
      Element("AMOUNT"), Text(kAmount), Parent(),
      Element("AMOUNT_IS_WEIGHT"), Text(kAmountIsWeight), Parent(),
      Element("USE_FOR"), Text(kUseFor), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
    Parent(),
  });
}();
// clang-format on

static_assert(IsBalanced(kMiscTable.entries));

NodeValues<MiscSlot> MiscValues(const m::Misc& misc);
NodeValues<MiscSlot> MiscAdditionValues(const m::MiscAddition& misc);

}  // namespace kegverter::beerxml1
