// A BeerJSON document written straight into its output file with RapidJSON's streaming writer,
// so that a large database is never held whole: the records go out one by one as the caller
// walks them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include <rapidjson/filewritestream.h>
#include <rapidjson/prettywriter.h>

#include "model/brewing.h"

namespace kegverter::beerjson {

/// The shortest text that reads back to `value`: an integer without a point when the value is
/// whole (and exact in 53 bits), else the shortest text of the 32-bit float when the value is one
/// (every source value is), else that of the double. Writes into `buffer`, returns its length.
std::size_t NumberText(double value, char (&buffer)[64]);

/// The unit word BeerJSON uses for `unit`.
std::string_view UnitWord(model::Unit unit);

/// Writes JSON to an open file. Every method writes one token or one small object; the caller
/// keeps the structure balanced.
class JsonOut {
 public:
  explicit JsonOut(std::FILE* out);
  JsonOut(const JsonOut&) = delete;
  JsonOut& operator=(const JsonOut&) = delete;

  void StartObject() { writer_.StartObject(); }
  void EndObject() { writer_.EndObject(); }
  void StartArray() { writer_.StartArray(); }
  void EndArray() { writer_.EndArray(); }
  void Key(std::string_view key);
  void String(std::string_view text);
  void Bool(bool value) { writer_.Bool(value); }
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

  /// Writes what is buffered; false when a write to the file failed.
  bool Finish();

 private:
  std::FILE* out_;
  std::vector<char> buffer_;
  rapidjson::FileWriteStream stream_;
  rapidjson::PrettyWriter<rapidjson::FileWriteStream> writer_;
};

}  // namespace kegverter::beerjson
