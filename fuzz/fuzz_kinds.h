// The file kinds the fuzzer feeds the converter. Every fuzz input starts with one kind byte that
// picks the row (modulo the row count, so every byte value picks one); the rest of the input is
// the content of a file named after the row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kegverter::fuzz {

struct FuzzKind {
  std::string_view label;      ///< names the kind on the command line and its corpus folder
  std::string_view file_name;  ///< the input file written for it
  bool by_name;                ///< recognised by the whole file name; otherwise by extension
};

// Databases are recognised by their exact name, the single-record files by their extension. The
// row index is the kind byte; append new rows at the end so that existing corpora keep their kind.
inline constexpr std::array kFuzzKinds = {
    FuzzKind{"extra.dat", "extra.dat", true},   FuzzKind{"hops.dat", "hops.dat", true},
    FuzzKind{"malt.dat", "malt.dat", true},     FuzzKind{"styles.dat", "styles.dat", true},
    FuzzKind{"water.dat", "water.dat", true},   FuzzKind{"yeast.dat", "yeast.dat", true},
    FuzzKind{"wtr", "profile.wtr", false},      FuzzKind{"msh", "schedule.msh", false},
    FuzzKind{"rec", "recipe.rec", false},
};

/// The row a kind byte picks.
constexpr std::size_t KindIndex(std::uint8_t kind_byte) { return kind_byte % kFuzzKinds.size(); }

constexpr char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

constexpr std::string_view Extension(std::string_view file_name) {
  const std::size_t dot = file_name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : file_name.substr(dot);
}

/// The row for a file name (without folder), or nothing when no row takes it: a database by its
/// name, any other kind by its extension, both without regard to ASCII case.
constexpr std::optional<std::size_t> KindOfFileName(std::string_view file_name) {
  for (std::size_t i = 0; i < kFuzzKinds.size(); ++i) {
    if (kFuzzKinds[i].by_name && EqualsIgnoringCase(file_name, kFuzzKinds[i].file_name)) return i;
  }
  const std::string_view extension = Extension(file_name);
  if (EqualsIgnoringCase(extension, ".dat")) return std::nullopt;  // a database by name only
  for (std::size_t i = 0; i < kFuzzKinds.size(); ++i) {
    if (!kFuzzKinds[i].by_name && !extension.empty() &&
        EqualsIgnoringCase(extension, Extension(kFuzzKinds[i].file_name))) {
      return i;
    }
  }
  return std::nullopt;
}

/// The row named by a label, or nothing.
constexpr std::optional<std::size_t> KindOfLabel(std::string_view label) {
  for (std::size_t i = 0; i < kFuzzKinds.size(); ++i) {
    if (kFuzzKinds[i].label == label) return i;
  }
  return std::nullopt;
}

static_assert(kFuzzKinds.size() <= 256);
static_assert(KindOfFileName("HOPS.DAT") == 1 && KindOfFileName("Pale Ale.rec") == 8 &&
              KindOfFileName("a.WTR") == 6 && !KindOfFileName("notes.dat") &&
              !KindOfFileName("session.brw"));

}  // namespace kegverter::fuzz
