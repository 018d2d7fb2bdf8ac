// The fermentables list (from malt.dat), and the type words a recipe's fermentable additions
// share with it.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "document/emitter.h"
#include "model/words.h"
#include "output/document_writer.h"
#include "source/malt.h"

namespace kegverter {

/// A fermentable's type; a code without a meaning has no word.
inline constexpr model::Words<model::FermentableType> kFermentableTypeWords{"", "grain", "extract",
                                                                            "sugar", "adjunct"};

/// Begins a document of that list, written into `run`.
std::unique_ptr<DocumentWriter> BeginFermentableList(ExportRun& run);

}  // namespace kegverter
