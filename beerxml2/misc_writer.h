// The miscellaneous_ingredients list (from extra.dat), and the rules a recipe's miscellaneous
// additions share with it: the type and use words and how an amount is written.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "document/emitter.h"
#include "document/node_table.h"
#include "model/brewing.h"
#include "model/words.h"
#include "output/document_writer.h"
#include "source/misc.h"

namespace kegverter {

/// The `use` of a miscellaneous ingredient; a code without a meaning has no word. (Its type
/// has the application's own words, model::kApplicationMiscTypes.)
inline constexpr model::Words<model::MiscUse> kMiscUseWords{"", "boil", "secondary", "mash"};
/// How an amount of a miscellaneous ingredient is written.
struct MiscAmount {
  bool volume = false;              ///< `amount` with `volume`, else `amount_as_weight` with `mass`
  std::optional<std::string> unit;  ///< absent when the effective unit code has no word
  std::string text;
};

/// How the model's amount of a miscellaneous ingredient (model::ResolveMiscAmount: the unit it
/// resolves to, its value 0 when the unit was replaced) is written: "0.0" for an amount of 0,
/// else its value with two decimals, rather than a number in the wrong unit.
MiscAmount MiscAmountOf(const model::MiscAmount& amount);

/// Puts `amount` into the slots of the form in use (`kVolumeUnit` and `kVolume`, or `kMassUnit`
/// and `kMass` of a table's slots) and leaves the other form's slots absent.
template <class Slot>
void PutMiscAmount(NodeValues<Slot>& values, const MiscAmount& amount) {
  values[amount.volume ? Slot::kVolumeUnit : Slot::kMassUnit] = amount.unit;
  values[amount.volume ? Slot::kVolume : Slot::kMass] = amount.text;
}

/// Begins a document of that list, written into `run`.
std::unique_ptr<DocumentWriter> BeginMiscList(ExportRun& run);

}  // namespace kegverter
