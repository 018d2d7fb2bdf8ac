// The styles list (from styles.dat), and the style words and letter rule that a recipe's style
// shares with it.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "document/emitter.h"
#include "model/brewing.h"
#include "output/document_writer.h"
#include "source/styles.h"

namespace kegverter {

/// The word of a style type; a code without a meaning (4, and codes above 5) has none.
std::optional<std::string> StyleTypeWord(const model::Coded<model::StyleType>& type);

/// Begins a document of that list, written into `run`.
std::unique_ptr<DocumentWriter> BeginStyleList(ExportRun& run);

}  // namespace kegverter
