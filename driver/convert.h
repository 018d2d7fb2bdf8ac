// One conversion of one file, as both programs and the library run it. ConvertInput converts
// bytes in memory and touches no file (the library's Convert, kegverter.h, is made of it);
// ConvertFile reads a file into memory, converts it as ConvertInput does and saves the document.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/registry.h"
#include "output/output_text.h"

namespace kegverter {

class StagedOutput;

struct ConversionRequest {
  std::string input;  ///< the path as given; trailing blanks are ignored for the kind
  OutputFormat format = OutputFormat::BeerXml2;
  std::string output;  ///< empty: beside the input, as OutputPath names it
  /// Set by a caller that has just found the input to be a regular file of this size, so that
  /// it is not looked at once more before it is opened.
  std::optional<std::uint64_t> input_size;
  std::FILE* console = nullptr;  ///< receives the console dump of each record; null: no dump
  /// null: the output replaces `output` atomically (a temporary file beside it, flushed to disk,
  /// renamed over it). Set: the output is written into it, and the caller puts it in place,
  /// several at once (CommitStaged).
  StagedOutput* staged = nullptr;
  /// When set, the records are added to this document of a whole run instead of being written
  /// to an output of their own.
  WholeRunDocument* whole_run = nullptr;
};

/// One line of the account: what it is about (the input or the output path) and what happened.
struct ConversionMessage {
  enum class About : std::uint8_t { Input, Output };
  std::string subject;
  std::string text;
  About about = About::Input;
};

struct ConversionResult {
  enum class Status {
    Written,       ///< the output file was written completely
    NotConverted,  ///< the input is not a file the program converts, or holds nothing; no output
    Failed,        ///< the input could not be read or the output not written completely
  };
  Status status = Status::Failed;
  const KindInfo* kind = nullptr;  ///< null until recognised
  std::string output;              ///< the output path, once decided
  std::int32_t records = 0;        ///< records converted
  bool saved = false;              ///< an output file was written (complete or not)
  /// Damage worked around and faults, in the order they arose: warnings when the status is
  /// Written, the reasons otherwise.
  std::vector<ConversionMessage> messages;
  /// The document layer's failure reports, exactly as the console shows them.
  std::string reports;
};

/// Converts one file. Never throws for anything the input or the file system does.
ConversionResult ConvertFile(const ConversionRequest& request);

/// What ConvertInput made and said. `status` is as for a file, Written meaning that `document`
/// holds the whole document.
struct InputConversion {
  ConversionResult::Status status = ConversionResult::Status::NotConverted;
  const KindInfo* kind = nullptr;  ///< null when the name is not of a kind the program knows
  std::int32_t records = 0;        ///< records read
  /// True when `document` holds a document: complete, or (status Failed) written incomplete.
  bool has_document = false;
  OutputText document;
  /// In the order they arose; those about the output name it as OutputPath does, beside the
  /// input.
  std::vector<ConversionMessage> messages;
  /// The document layer's failure reports, exactly as the console shows them.
  std::string reports;
};

/// Converts the bytes of `input`, a file named `name` (trailing blanks are ignored), to
/// `format`, in memory. `console`, when not empty, receives the kind's console dump as it is
/// made. Touches no file and no state but its arguments. It is RecogniseInput, then, when that
/// found something to convert, WriteInput.
InputConversion ConvertInput(std::string_view name, InputFile& input, OutputFormat format,
                             const ConsoleSink& console);

/// The first step of ConvertInput: recognises the input by its name and checks that it holds
/// records to convert. False, with `result` saying why (status NotConverted), when
/// there is nothing to convert; true leaves the input after a database's count header, with
/// `result.kind` and `result.records` set and the status Failed until WriteInput.
bool RecogniseInput(std::string_view name, InputFile& input, InputConversion& result);
/// The second step: reads the records and writes the document into `result`, with what
/// happened on the way.
void WriteInput(std::string_view name, InputFile& input, OutputFormat format,
                const ConsoleSink& console, InputConversion& result);

/// Reads the records of `input`, a file named `name`, into `whole_run` (a document of a whole
/// run) instead of a document of their own; `status` Written when they were added.
InputConversion CombineInput(std::string_view name, InputFile& input, WholeRunDocument& whole_run);

}  // namespace kegverter
