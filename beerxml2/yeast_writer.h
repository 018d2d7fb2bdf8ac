// The cultures list (from yeast.dat), and the words a recipe's yeast shares with it.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "document/emitter.h"
#include "model/words.h"
#include "output/document_writer.h"
#include "source/yeast.h"

namespace kegverter {

// The words of a culture's meanings; a code without a meaning has none.
inline constexpr model::Words<model::CultureType> kCultureTypeWords{"", "ale", "lager", "wine",
                                                                    "champagne"};
inline constexpr model::Words<model::CultureForm> kCultureFormWords{"", "dry", "liquid", "slant"};

/// Begins a document of that list, written into `run`.
std::unique_ptr<DocumentWriter> BeginYeastList(ExportRun& run);

}  // namespace kegverter
