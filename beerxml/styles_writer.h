// The styles list (from styles.dat), and the style words and letter rule that a recipe's style
// shares with it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "beerxml/emitter.h"
#include "source/styles.h"

namespace kegverter {

/// Words of a style's `type`; 4 and codes above 5 have none.
inline constexpr std::array<const char*, 6> kStyleTypeWords = {
    "ale", "lager", "cider", "mead", nullptr, "mixed",
};

/// The word of a style `type`.
std::optional<std::string> StyleTypeWord(std::uint8_t type);

/// The style letter as written: the stored text (one or two characters) when it starts with an
/// upper-case letter A to Z, otherwise one blank.
std::string StyleLetterText(const NarrowText& letter);

/// Writes `records` as the `styles` list; failures are reported in `run`.
void ExportStyleRecords(std::span<const StyleRecord> records, ExportRun& run);

}  // namespace kegverter
