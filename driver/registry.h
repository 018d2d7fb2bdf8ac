// The registry of file kinds and the table of output formats. A kind's row says how a file of the
// kind is recognised and read into records of the brewing model; a format's row names a module
// that writes model records (output/document_writer.h). Detection, conversion, both programs,
// the fuzzer, the tests and the scripts read these tables: adding a kind is one row, adding an
// output format is one module and one row of the format table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "output/document_writer.h"

namespace kegverter {

class InputFile;

/// The kind of a source file. The codes are those the application gave its file kinds; a water
/// database and a '.wtr' file are the same kind.
enum class FileKind : std::int32_t {
  None = 0,
  ExtraDat = 1,
  HopsDat = 2,
  MaltDat = 3,
  StylesDat = 4,
  WaterFile = 5,
  YeastDat = 6,
  MshFile = 7,
  RecFile = 8,
  BrwFile = 9,
};

/// An output format, in the order of the format table.
enum class OutputFormat : std::uint8_t {
  BeerXml2 = 0,  ///< BeerXML 2.01, what kegverter writes
  BeerJson = 1,  ///< BeerJSON 1.0
  BeerXml1 = 2,  ///< BeerXML 1.0, what most brewing programs import
};
inline constexpr std::size_t kFormatCount = 3;

struct FormatInfo {
  OutputFormat format;
  std::string_view name;       ///< how the command line names it ("beerxml2")
  std::string_view extension;  ///< of the output file name, without the dot
  std::string_view title;      ///< for messages and help ("BeerXML 2.01")
  /// The list that holds each kind of record, in RecordKind order.
  std::array<std::string_view, kRecordKindCount> lists;
  /// Begins a document of one input's records, all of `kind`.
  std::unique_ptr<DocumentWriter> (*begin)(RecordKind kind, ExportRun& run);
  /// Begins a document of a whole run, the records of every input in it; null for a format whose
  /// document holds one list only.
  std::unique_ptr<WholeRunDocument> (*begin_whole_run)(PartStore store);

  bool holds_whole_run() const { return begin_whole_run != nullptr; }
};

/// The output formats, in OutputFormat order.
std::span<const FormatInfo> Formats();
/// The format of that command-line name, or null.
const FormatInfo* FindFormat(std::string_view name);
const FormatInfo& Info(OutputFormat format);
/// The format a file the program wrote is in, told from its first bytes (`head`): BeerXML 2.01
/// by its root `beer_xml`, BeerJSON by its object `beerjson`, BeerXML 1.0 by an upper-case root
/// element; null for anything else.
const FormatInfo* FormatOfContent(std::string_view head);

/// Receives console text as it is made, piece by piece.
using ConsoleSink = std::function<void(std::string_view)>;

/// Reads `count` records from `input` (left after a database's count header), releases the
/// input, and writes the model of each record into `writer`. `console`, when not empty, receives
/// the kind's console dump of each record (only extra.dat has one) before the first is written.
using ReadFn = void (*)(InputFile& input, std::int32_t count, DocumentWriter& writer,
                        const ConsoleSink& console);

struct KindInfo {
  FileKind kind;
  std::string_view label;        ///< names the kind in scripts, the fuzzer and reports
  std::string_view file_name;    ///< a database's own file name (any case); empty otherwise
  std::string_view extension;    ///< a single-record file's extension; "dat" for databases
  std::string_view sample_name;  ///< a file name that this row recognises
  const char* description;       ///< what the file holds, for messages
  std::uint32_t record_size;     ///< bytes per database record (from its layout); 0: one record
  RecordKind record;             ///< the kind of record of the model the file holds
  ReadFn read;                   ///< reads the records; null: recognised, not converted
  bool prints_summary;           ///< kegverter prints "Processed N record." after the output

  bool database() const { return !file_name.empty(); }
  bool converted() const { return read != nullptr; }
};

/// Every row, in detection order.
std::span<const KindInfo> Kinds();

/// The row whose label is `label` ("hops.dat", "rec"), or null.
const KindInfo* FindKindByLabel(std::string_view label);

/// The row that recognises `file_name` (the last path component, any ASCII case): a database by
/// its whole name, any other kind by its extension; null for anything else (a '.dat' file with
/// another name included).
const KindInfo* FindKindByName(std::string_view file_name);

/// The path without trailing tabs, line feeds, carriage returns and blanks.
std::string TrimPath(std::string_view path);

/// The last component of a path: what follows the last '/' or '\'.
std::string_view FileNameOf(std::string_view path);

/// The output path: the trimmed path with its last three characters replaced by the format's
/// extension ("xml" for BeerXML); empty when the trimmed path is shorter than four characters.
std::string OutputPath(std::string_view trimmed_path, OutputFormat format = OutputFormat::BeerXml2);

/// True for a '.dat' path: the file starts with a 4-byte record count.
bool HasCountHeader(std::string_view trimmed_path);

/// Decides the row of the trimmed path (null: not a kind the program knows). For a '.dat' path
/// the 4-byte record count is read from the start of the file into `count` (missing bytes read as
/// zero) and the file is left after it, whether or not its name is known; for a single-record
/// kind `count` becomes 1 and nothing is read; otherwise `count` is left as it is.
const KindInfo* DetectKind(InputFile& file, std::string_view trimmed_path, std::int32_t& count);

}  // namespace kegverter
