// BeerJSON 1.0 documents: one per input, `{"beerjson": {"version": 1.0, LIST: [...]}}`, with the
// list that fits the kind. Quantities keep the application's units in BeerJSON's unit/value
// objects. What BeerJSON has no place for (the application's bitterness figure, a first-wort
// hop, a code without a meaning, an amount whose unit was replaced) is said in the notes of the
// record, or of the recipe for an ingredient addition, which has no notes of its own.
//
// Each writer reads the records only, builds the brewing model of one record at a time and
// writes it into the document's bytes, `run.output`; `run.written` tells that the document is
// whole. The caller saves it (SaveOutput) or hands it on.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "document/emitter.h"
#include "source/hops.h"
#include "source/malt.h"
#include "source/mash.h"
#include "source/misc.h"
#include "source/recipe.h"
#include "source/styles.h"
#include "source/water.h"
#include "source/yeast.h"

namespace kegverter {

/// `miscellaneous_ingredients`.
void WriteMiscBeerJson(std::span<const MiscRecord> records, ExportRun& run);
/// `fermentables`.
void WriteMaltBeerJson(std::span<const MaltRecord> records, ExportRun& run);
/// `hop_varieties`.
void WriteHopBeerJson(std::span<const HopRecord> records, ExportRun& run);
/// `styles`.
void WriteStyleBeerJson(std::span<const StyleRecord> records, ExportRun& run);
/// `profiles`.
void WriteWaterBeerJson(std::span<const WaterRecord> records, ExportRun& run);
/// `cultures`.
void WriteYeastBeerJson(std::span<const YeastRecord> records, ExportRun& run);
/// `mashes`. A schedule without a step (or whose every step is of an unknown kind) has no
/// BeerJSON form, which wants at least one step: it is left out of the list.
void WriteMashBeerJson(std::span<const MashScheduleRecord> records, ExportRun& run);
/// `recipes`.
void WriteRecipeBeerJson(std::span<const RecipeRecord> records, ExportRun& run);

/// One BeerJSON document holding every record of a run, list by list, in whatever order the
/// inputs come: the form an import wants. Each Add writes its records at once into a temporary
/// file of their list, so memory does not grow with the run; Finish puts the lists together in
/// the output file. Add may be called from several threads at once.
class BeerJsonCombined {
 public:
  BeerJsonCombined();
  ~BeerJsonCombined();
  BeerJsonCombined(const BeerJsonCombined&) = delete;
  BeerJsonCombined& operator=(const BeerJsonCombined&) = delete;

  /// Each adds the records to their list. A temporary file that cannot be made or written is
  /// remembered, and Finish then fails.
  void Add(std::span<const MiscRecord> records);
  void Add(std::span<const MaltRecord> records);
  void Add(std::span<const HopRecord> records);
  void Add(std::span<const StyleRecord> records);
  void Add(std::span<const WaterRecord> records);
  void Add(std::span<const YeastRecord> records);
  void Add(std::span<const MashScheduleRecord> records);
  void Add(std::span<const RecipeRecord> records);

  /// Writes the document through a temporary file renamed into place. False, with the reason in
  /// `error` and nothing put in place, when a list could not be kept or the file not written.
  bool Finish(const std::string& output_path, std::string& error);

 private:
  struct Lists;
  std::unique_ptr<Lists> lists_;
};

}  // namespace kegverter
