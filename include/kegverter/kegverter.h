// Kegverter as a library: the bytes of one source file in, the bytes of one output document out.
//
// Convert does what the kegverter program does for one file, with no file system and no state
// of its own: it recognises the file by its name, reads its bytes, and writes the document in
// memory, with the program's own warnings and errors and the text it shows on its standard
// output. Any number of conversions may run at once on different threads.
//
//   #include <kegverter/kegverter.h>
//
//   using namespace kegverter;
//   const Result result = Convert("hops.dat", std::as_bytes(std::span(bytes)), Format::BeerJson);
//   if (result.status == Status::Written) Save(result.output);
//
// Link with the static library `kegverter` (and pugixml), or `find_package(kegverter)` and the
// target `kegverter::kegverter` in CMake.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kegverter {

/// The output formats.
enum class Format : std::uint8_t {
  BeerXml2,  ///< BeerXML 2.01 (`.xml`), what the kegverter program writes
  BeerJson,  ///< BeerJSON 1.0 (`.json`)
  BeerXml1,  ///< BeerXML 1.0 (`.xml`), what most brewing programs import
};

/// How a conversion ended.
enum class Status : std::uint8_t {
  Written,       ///< `output` holds the whole document
  NotConverted,  ///< not a file Kegverter converts, or it holds nothing to convert; no output
  Failed,        ///< no complete document: none at all, or one written incomplete
};

/// One warning or error, in the words the programs print ("kegverter: SUBJECT: TEXT").
struct Message {
  enum class About : std::uint8_t {
    Input,   ///< the file; `subject` is its name as given, without trailing blanks
    Output,  ///< the document; `subject` is the name the program gives it (OutputName)
  };
  About about = About::Input;
  std::string subject;
  std::string text;
};

/// What a conversion made and said.
struct Result {
  Status status = Status::Failed;
  /// The kind of the file, as the programs name it ("rec", "msh", "wtr", "hops.dat", ...);
  /// empty when the name is not one of a kind Kegverter knows.
  std::string_view kind;
  /// The document's bytes: complete when `status` is Written. With Failed it is empty, or holds
  /// a document that the document layer could not write whole (the program saves it and says
  /// "written incomplete").
  std::string output;
  /// The records read from the file (for a database, those its header counts and the file
  /// holds); 0 when it was not converted.
  std::int32_t records = 0;
  /// Damage worked around and faults, in the order they arose: warnings when `status` is
  /// Written, the reasons otherwise.
  std::vector<Message> messages;
  /// What the program prints on its standard output for this file: the dump of each extra.dat
  /// record, then the document layer's failure reports. (The program then adds its
  /// "Processed 1 record." line after a recipe it saved.)
  std::string console;
};

/// Converts one source file held in memory. `file_name` is only looked at for the kind (its last
/// component: `*.rec`, `hops.dat` in any letter case, ...) and for the messages; `bytes` are the
/// file's content. Never throws for anything the bytes hold (only std::bad_alloc when memory
/// runs out).
Result Convert(std::string_view file_name, std::span<const std::byte> bytes,
               Format format = Format::BeerXml2);

/// Whether one document of `format` can hold the records of several files, list by list
/// (BeerJSON); a BeerXML document holds the one list of one file.
bool HoldsWholeRun(Format format);

/// One document gathering every record of several files, as `kegverter-batch --combine FILE`
/// writes it: one list per kind of record, each file's records kept together. Files may be added
/// from several threads at once. Holds the document in memory until Finish.
class Combination {
 public:
  /// A combination in `format`, which must be one that HoldsWholeRun; for another, every Add
  /// and Finish fails.
  explicit Combination(Format format);
  ~Combination();
  Combination(Combination&&) noexcept;
  Combination& operator=(Combination&&) noexcept;

  /// Converts one file, as Convert does, and adds its records to the document; the Result is
  /// Convert's, with `output` empty (Written: the records were added).
  Result Add(std::string_view file_name, std::span<const std::byte> bytes);

  /// The whole document in `output`, status Written; Failed, with the reason in `messages`,
  /// when it could not be made.
  Result Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// The name the program gives the output of `file_name`: its last three characters replaced by
/// the format's extension (`Pale Ale.rec` gives `Pale Ale.xml`, or `Pale Ale.json`), after
/// trailing blanks; empty for a name shorter than four characters.
std::string OutputName(std::string_view file_name, Format format = Format::BeerXml2);

/// One file of a folder, as `kegverter-batch -o DIR --to FORMAT` plans it.
struct PlannedFile {
  /// The kind's label ("rec", "hops.dat", "brw", ...); empty for a file of no known kind.
  std::string kind;
  /// The output's path below DIR ('/'-separated); empty when the file is not converted.
  std::string output;
  /// When not converted: why, in the batch report's words ("not a file Kegverter converts").
  std::string reason;
  /// Its place in the batch program's walk (0, 1, ...), the order in which it converts and
  /// names the files; a path given twice shares the first one's.
  std::size_t position = 0;
};

/// The output paths `kegverter-batch -o DIR --to FORMAT ITEM...` gives the files of `paths`,
/// worked out without a file system (for files that arrive as a list, as in a browser). Each path
/// is '/'-separated; its first component is an ITEM: a file, or a folder holding the rest of the
/// path; the ITEMs are taken in name order. Outputs that would meet are named apart exactly as
/// the batch program names them ("x.rec.xml", "x.msh.xml"). One entry per path, in their order.
std::vector<PlannedFile> PlanFolder(std::span<const std::string> paths,
                                    Format format = Format::BeerXml2);

}  // namespace kegverter
