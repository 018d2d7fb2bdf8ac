// The varieties list (from hops.dat).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "document/emitter.h"
#include "model/words.h"
#include "output/document_writer.h"
#include "source/hops.h"

namespace kegverter {

/// Words of a hop variety's use; a use code without a meaning has none.
inline constexpr model::Words<model::HopUse> kHopUseWords{"", "bittering", "aroma", "both"};

/// The use word of a hop's `type_code` (the upper 12 bits do not matter).
std::optional<std::string> HopUseWord(std::int16_t type_code);

/// Begins a document of that list, written into `run`.
std::unique_ptr<DocumentWriter> BeginHopList(ExportRun& run);

}  // namespace kegverter
