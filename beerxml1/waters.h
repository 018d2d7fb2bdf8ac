// The `WATER` of BeerXML 1.0: a water profile, or a recipe's water with its amount.
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

enum class WaterSlot : std::uint16_t {
  kName,
  kVersion,
  kAmount,
  kCalcium,
  kBicarbonate,
  kSulfate,
  kChloride,
  kSodium,
  kMagnesium,
  kPh,
  kNotes,
  kCount
};

// clang-format off
inline constexpr auto kWaterTable = [] {
  using namespace nodes;
  using enum WaterSlot;
  return Tree<WaterSlot>({
    Element("WATER"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("AMOUNT"), Text(kAmount), Parent(),
      Element("CALCIUM"), Text(kCalcium), Parent(),
      Element("BICARBONATE"), Text(kBicarbonate), Parent(),
      Element("SULFATE"), Text(kSulfate), Parent(),
      Element("CHLORIDE"), Text(kChloride), Parent(),
      Element("SODIUM"), Text(kSodium), Parent(),
      Element("MAGNESIUM"), Text(kMagnesium), Parent(),
      Element("PH"), Text(kPh), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
    Parent(),
  });
}();
// clang-format on

static_assert(IsBalanced(kWaterTable.entries));

/// `amount`: the water's amount in a recipe; null for a profile of its own.
NodeValues<WaterSlot> WaterValues(const m::Water& w, const m::Quantity* amount);

}  // namespace kegverter::beerxml1
