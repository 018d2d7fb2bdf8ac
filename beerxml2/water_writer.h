// The profiles list (from water.dat or a '.wtr' file).
#pragma once

#include <memory>
#include <span>
#include <string>

#include "document/emitter.h"
#include "document/format.h"
#include "document/node_table.h"
#include "model/brewing.h"
#include "output/document_writer.h"
#include "source/water.h"

namespace kegverter {

/// Puts the name and the six ions of `water` into the slots of the same names, which a water
/// profile and a recipe's water share.
template <class Slot>
void PutWater(NodeValues<Slot>& v, const model::Water& water) {
  v[Slot::kName] = water.name;
  v[Slot::kCalcium] = FormatFixed(water.calcium.value, 1);
  v[Slot::kBicarbonate] = FormatFixed(water.bicarbonate.value, 1);
  v[Slot::kSulfate] = FormatFixed(water.sulfate.value, 1);
  v[Slot::kChloride] = FormatFixed(water.chloride.value, 1);
  v[Slot::kSodium] = FormatFixed(water.sodium.value, 1);
  v[Slot::kMagnesium] = FormatFixed(water.magnesium.value, 1);
}

/// Begins a document of that list, written into `run`.
std::unique_ptr<DocumentWriter> BeginWaterList(ExportRun& run);

}  // namespace kegverter
