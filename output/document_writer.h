// The one interface every output format implements: a document is begun, records of the brewing
// model are written into it one at a time, and it is finished. Each format is a module of its
// own behind this interface (beerxml2/, beerjson/, beerxml1/); the table of formats names them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "output/export_run.h"

namespace kegverter {

namespace model {
struct Misc;
struct Fermentable;
struct HopVariety;
struct Style;
struct Water;
struct Culture;
struct Mash;
struct Recipe;
}  // namespace model

/// The kinds of record of the brewing model: every kind of source file holds records of one.
enum class RecordKind : std::uint8_t {
  Misc,
  Fermentable,
  HopVariety,
  Style,
  Water,
  Culture,
  Mash,
  Recipe,
};
inline constexpr std::size_t kRecordKindCount = 8;

/// The model's record types, in RecordKind order.
using ModelRecords = std::tuple<model::Misc, model::Fermentable, model::HopVariety, model::Style,
                                model::Water, model::Culture, model::Mash, model::Recipe>;
static_assert(std::tuple_size_v<ModelRecords> == kRecordKindCount);

template <class Record, std::size_t... I>
constexpr RecordKind RecordKindIn(std::index_sequence<I...>) {
  static_assert((std::is_same_v<Record, std::tuple_element_t<I, ModelRecords>> || ...),
                "not a record type of the model");
  return static_cast<RecordKind>(
      ((std::is_same_v<Record, std::tuple_element_t<I, ModelRecords>> ? I : 0) + ...));
}

/// The kind of a model record type (kRecordKindOf<model::Recipe> is RecordKind::Recipe).
template <class Record>
inline constexpr RecordKind kRecordKindOf =
    RecordKindIn<Record>(std::make_index_sequence<kRecordKindCount>{});

/// Writes one document, record by record, into an ExportRun given when it was begun. A document
/// of one input's records takes records of that input's kind only; one that gathers a whole run
/// takes any. Once a write has failed past repair the rest are ignored and Finish says so in the
/// run. A writer is used on one thread.
class DocumentWriter {
 public:
  DocumentWriter() = default;
  virtual ~DocumentWriter() = default;
  DocumentWriter(const DocumentWriter&) = delete;
  DocumentWriter& operator=(const DocumentWriter&) = delete;

  virtual void Write(const model::Misc& record);
  virtual void Write(const model::Fermentable& record);
  virtual void Write(const model::HopVariety& record);
  virtual void Write(const model::Style& record);
  virtual void Write(const model::Water& record);
  virtual void Write(const model::Culture& record);
  virtual void Write(const model::Mash& record);
  virtual void Write(const model::Recipe& record);

  /// Ends the document: the run's `written` then tells whether it is whole.
  virtual void Finish() = 0;

 protected:
  /// A record of a kind this document has no list for: a fault of the caller. Throws
  /// std::logic_error.
  [[noreturn]] static void WrongKind(RecordKind kind);
};

/// A document that gathers the records of every input of a run, list by list, in whatever order
/// the inputs come: for the formats that can hold a whole run. The records of each input are
/// written through a writer of their own and join the document together when it finishes, so
/// several inputs may be added at once from several threads.
class WholeRunDocument {
 public:
  WholeRunDocument() = default;
  virtual ~WholeRunDocument() = default;
  WholeRunDocument(const WholeRunDocument&) = delete;
  WholeRunDocument& operator=(const WholeRunDocument&) = delete;

  /// A writer for the records of one input; its Finish adds them to the document.
  virtual std::unique_ptr<DocumentWriter> BeginInput() = 0;

  /// Why a part of the document could not be kept (a temporary file could not be made or
  /// written); empty while every part is kept.
  virtual std::string error() const = 0;

  /// Writes the whole document into `out`, or into the open file `out`. False, with the reason
  /// in `error`, when a part of the document was lost or the file could not be written.
  virtual bool WriteTo(OutputText& out, std::string& error) = 0;
  virtual bool WriteTo(std::FILE* out, std::string& error) = 0;
};

/// Where a whole-run document keeps its lists until it is written: in memory (a library call,
/// which hands the document over in memory anyway) or in temporary files (a run of the batch
/// program, whose document may be larger than memory).
enum class PartStore : std::uint8_t { Memory, TemporaryFiles };

}  // namespace kegverter
