// The `YEAST` of BeerXML 1.0: a culture of the database, or a recipe's with its amount.
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

enum class YeastSlot : std::uint16_t {
  kName,
  kVersion,
  kType,
  kForm,
  kAmount,
  kAmountIsWeight,
  kLaboratory,
  kProductId,
  kMinTemperature,
  kMaxTemperature,
  kFlocculation,
  kAttenuation,
  kNotes,
  kBestFor,
  kCount
};

// clang-format off
inline constexpr auto kYeastTable = [] {
  using namespace nodes;
  using enum YeastSlot;
  return Tree<YeastSlot>({
    Element("YEAST"),
      Element("NAME"), Text(kName), Parent(),
      Element("VERSION"), Text(kVersion), Parent(),
      Element("TYPE"), Text(kType), Parent(),
      Element("FORM"), Text(kForm), Parent(),
      Element("AMOUNT"), Text(kAmount), Parent(),
      Element("AMOUNT_IS_WEIGHT"), Text(kAmountIsWeight), Parent(),
      Element("LABORATORY"), Text(kLaboratory), Parent(),
      Element("PRODUCT_ID"), Text(kProductId), Parent(),
      Element("MIN_TEMPERATURE"), Text(kMinTemperature), Parent(),
      Element("MAX_TEMPERATURE"), Text(kMaxTemperature), Parent(),
      Element("FLOCCULATION"), Text(kFlocculation), Parent(),
      Element("ATTENUATION"), Text(kAttenuation), Parent(),
      Element("NOTES"), Text(kNotes), Parent(),
      Element("BEST_FOR"), Text(kBestFor), Parent(),
    Parent(),
  });
}();
// clang-format on

static_assert(IsBalanced(kYeastTable.entries));

/// `amount`: the culture's amount in a recipe; null for a culture of the database.
NodeValues<YeastSlot> YeastValues(const m::Culture& c, const m::Quantity* amount);

}  // namespace kegverter::beerxml1
