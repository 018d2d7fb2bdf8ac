// What the per-kind suites share (misc_test, malt_test, hops_test, styles_test, water_test,
// yeast_test): a file converted by the executable with its output parsed, a database's items,
// records read straight from bytes by their reader, and the sample culture that both the water
// suite (a recipe reads one in place) and the yeast suite use.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "source/input_file.h"
#include "tests/fixture.h"
#include "tests/records.h"

namespace kegverter::testing {

/// A file converted by the executable in a folder of its own, and its output parsed.
struct ConvertedFile {
  TempDir dir;
  RunResult run;
  ParsedXml xml;
  pugi::xml_node list;                  ///< the output's list element
  std::vector<pugi::xml_node> records;  ///< its record elements, in order
};

/// Converts `bytes` saved as `file_name` and parses the output; the run must succeed with nothing
/// on standard output, and the output must be well-formed (a fatal failure otherwise: call it
/// inside ASSERT_NO_FATAL_FAILURE).
void ConvertSuccessfully(const std::string& file_name, const Bytes& bytes, ConvertedFile& c);

/// A database converted by the executable, and the record elements of its output.
struct ConvertedItems {
  TempDir dir;
  RunResult run;  ///< the caller's to check
  ParsedXml xml;
  std::vector<pugi::xml_node> items;  ///< the list's children of the element named
};

/// Converts `bytes` saved as `file_name` and parses the output; the run must succeed without a
/// word on standard output or error, and the output must be the list `list` holding `count`
/// elements `element` (a fatal failure when it is not well-formed or holds another number: call
/// it inside ASSERT_NO_FATAL_FAILURE).
void ConvertQuietly(const std::string& file_name, const Bytes& bytes, const char* list,
                    const char* element, std::size_t count, ConvertedItems& c);

/// Writes `records` as the database `file_name`, converts it and parses the output; the output
/// must be well-formed and hold one `element` per record (a fatal failure otherwise: call it
/// inside ASSERT_NO_FATAL_FAILURE).
template <class R>
void ConvertDatabase(const std::string& file_name, const std::vector<R>& records,
                     const char* element, ConvertedItems& c) {
  c.run = ConvertAndParse(c.dir, file_name, file::DatabaseOf(records), c.xml);
  ASSERT_TRUE(c.xml.result);
  c.items = Items(c.xml, element);
  ASSERT_EQ(c.items.size(), records.size());
}

/// Reads `count` records of type R from `bytes` with `reader` (a reader of source/), from the
/// start of the bytes; `result` takes what the reader returns and `end_position`, when given,
/// where the reader left the file.
template <class R, class Reader>
std::vector<R> ReadFrom(const Bytes& bytes, std::size_t count, Reader reader, std::int32_t& result,
                        std::uint64_t* end_position = nullptr) {
  TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("records.bin", bytes), error);
  EXPECT_TRUE(input) << error;
  std::vector<R> records(count);
  if (!input) return records;
  result = reader(*input, std::span<R>(records));
  if (end_position != nullptr) *end_position = input->position();
  return records;
}

/// A culture with every field set.
inline file::Yeast LondonAle() {
  return {"London Ale",       "Example Labs", "EL-1028", 0,  1,  "Rich, minerally profile",
          "Bitters, porters", 12345,          70,        75, 68, 1};
}

}  // namespace kegverter::testing
