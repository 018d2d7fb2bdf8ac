// One row per convertible file kind: its record type's reader and exporter, and whether the
// input is closed before or after the export.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "beerxml/emitter.h"
#include "driver/file_kind.h"
#include "source/input_file.h"

namespace kegverter {

/// Reads `count` records of one kind from `input` and exports them to `output_path`.
using ConvertFn = void (*)(InputFile& input, std::int32_t count, const std::string& output_path,
                           ExportRun& run);

struct KindEntry {
  FileKind kind;
  const char* description;     ///< what the file holds, for messages
  std::uint32_t record_size;   ///< bytes per record after a database's count header
  ConvertFn convert;           ///< null while the kind cannot be converted yet
  bool prints_summary;         ///< prints "Processed N record." after a written output
};

enum class CloseOrder { CloseThenExport, ExportThenClose };

/// The records of one run, created empty, read, exported and released in the kind's order.
template <class R, auto Reader, auto Exporter, CloseOrder order>
void Convert(InputFile& input, std::int32_t count, const std::string& output_path,
             ExportRun& run) {
  std::vector<R> records(static_cast<std::size_t>(count));  // the count is bounded by the file
  Reader(input, std::span<R>(records));
  if constexpr (order == CloseOrder::CloseThenExport) input.Close();
  Exporter(std::span<const R>(records), output_path, run);
  input.Close();
}

/// The row for `kind`, or null for None and unknown codes.
const KindEntry* FindKind(FileKind kind);

}  // namespace kegverter
