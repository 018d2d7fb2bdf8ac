// A BeerJSON document written as the caller walks its records: into memory (a document's bytes)
// or straight into a file (the parts and the whole of a combined document).
//
// Strings are escaped by RapidJSON's writer, used on one value at a time: its nesting stack,
// which applies an offset to a null pointer on its first use (undefined behaviour that the
// sanitizers stop at), is never touched. The layout around the values (braces, commas, two-blank
// indentation) is kept here.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include <rapidjson/writer.h>

#include "model/brewing.h"
#include "output/output_text.h"

namespace kegverter::beerjson {

/// Writes JSON to the end of a text or to an open file. Every method writes one token or one
/// small object; the caller keeps the structure balanced and gives a key before every value
/// inside an object.
class JsonOut {
 public:
  explicit JsonOut(OutputText& out);
  explicit JsonOut(std::FILE* out);
  /// Continues a document of which `depth` containers are open (an array innermost), for a part
  /// that is written apart and copied into its place later; `filled` tells whether the
  /// innermost container holds an element already, so that the next one follows a comma.
  JsonOut(std::FILE* out, std::size_t depth, bool filled);
  JsonOut(OutputText& out, std::size_t depth, bool filled);
  JsonOut(const JsonOut&) = delete;
  JsonOut& operator=(const JsonOut&) = delete;

  void StartObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void StartArray() { Open('['); }
  void EndArray() { Close(']'); }
  void Key(std::string_view key);
  void String(std::string_view text);
  void Bool(bool value);
  void Number(double value);
  void Integer(std::int64_t value);
  /// A number given as its JSON text ("1.0").
  void RawNumber(std::string_view text);

  /// `key`: {"unit": ..., "value": ...}.
  void Quantity(std::string_view key, const model::Quantity& quantity);
  /// The same with a whole value, as BeerJSON times must be.
  void Duration(std::string_view key, const model::Quantity& quantity);
  /// `key`: {"minimum": {...}, "maximum": {...}}.
  void Range(std::string_view key, const model::Range& range);
  /// `key`: `text`, left out when `text` is empty.
  void OptionalString(std::string_view key, std::string_view text);

  /// Copies the whole content of `part` (written by a JsonOut of the right depth) as elements of
  /// the array open here. False when `part` could not be read.
  bool CopyElements(std::FILE* part);
  void CopyElements(const OutputText& part);

  /// Writes what is buffered; false when a write to the file failed (never for a text).
  bool Finish();

  /// The output stream RapidJSON's writer puts the escaped strings into.
  class Sink {
   public:
    using Ch = char;
    explicit Sink(JsonOut& out) : out_(out) {}
    void Put(char c) { out_.Put(c); }
    void Flush() {}

   private:
    JsonOut& out_;
  };

 private:
  void Put(char c) {
    buffer_.push_back(c);
    if (buffer_.size() >= kBufferSize) Drain();
  }
  void Put(std::string_view text);
  void Drain();
  // Before a value: the comma and line break of an array element, nothing after a key.
  void BeforeValue();
  void NewLine();
  void Open(char bracket);
  void Close(char bracket);
  void Escaped(std::string_view text);

  static constexpr std::size_t kBufferSize = 1 << 13;
  OutputText* text_ = nullptr;  ///< the text written to, or null
  std::FILE* out_ = nullptr;    ///< else the file
  std::vector<char> buffer_;
  bool failed_ = false;
  /// Per open container: whether it holds a member yet.
  std::vector<bool> filled_;
  bool after_key_ = false;
  Sink sink_{*this};
  rapidjson::Writer<Sink> strings_{sink_};
};

}  // namespace kegverter::beerjson
