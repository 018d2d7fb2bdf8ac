// The `FERMENTABLE` of BeerXML 1.0: a fermentable of the database, or of a recipe with its amount.
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

enum class FermentableSlot : std::uint16_t {
  kName,
  kVersion,
  kType,
  kAmount,
  kYield,
  kColor,
  kOrigin,
  kSupplier,
  kNotes,
  kCoarseFineDiff,
  kMoisture,
  kDiastaticPower,
  kProtein,
  kMaxInBatch,
  kRecommendMash,
  kInventory,
  kCount
};

// clang-format off
inline constexpr auto kFermentableTable = [] {
  using namespace nodes;
  using enum FermentableSlot;
  return Tree<FermentableSlot>({
    Element("FERMENTABLE"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("AMOUNT"), Text(kAmount), Parent(),
      Element("YIELD"), Text(kYield), Parent(),
      Element("COLOR"), Text(kColor), Parent(),
      Element("ORIGIN"), Text(kOrigin), Parent(),
      Element("SUPPLIER"), Text(kSupplier), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("COARSE_FINE_DIFF"), Text(kCoarseFineDiff), Parent(),
      Element("MOISTURE"), Text(kMoisture), Parent(),
      Element("DIASTATIC_POWER"), Text(kDiastaticPower), Parent(),
      Element("PROTEIN"), Text(kProtein), Parent(),
      Element("MAX_IN_BATCH"), Text(kMaxInBatch), Parent(),
      Element("RECOMMEND_MASH"), Text(kRecommendMash), Parent(),
      Element("INVENTORY"), Text(kInventory), Parent(),
    Parent(),
  });
}();
// clang-format on

static_assert(IsBalanced(kFermentableTable.entries));

/// `amount`: the fermentable's amount in a recipe; null for a fermentable of the database.
NodeValues<FermentableSlot> FermentableValues(const m::Fermentable& f, const m::Quantity* amount);

}  // namespace kegverter::beerxml1
