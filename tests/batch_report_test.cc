// The batch report's lines, byte for byte: the key order, null values, the numbers, and how
// strings that are not UTF-8 or hold control characters are written. The expected lines are
// those the report has written since its first version (nlohmann/json's compact dump with
// U+FFFD replacement, which each case was checked against).
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "driver/batch_report.h"

namespace kegverter {
namespace {

std::string JsonString(std::string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

TEST(BatchReport, StringsAreEscapedAndIllFormedUtf8IsReplaced) {
  struct Case {
    std::string_view text;
    std::string_view json;
  };
  const Case cases[] = {
      {"Pale Ale.rec", R"("Pale Ale.rec")"},
      {"lib/2019/IPA.rec", R"("lib/2019/IPA.rec")"},
      {"e \"quoted\"\\name\t.wtr", R"("e \"quoted\"\\name\t.wtr")"},
      // Neither a slash nor DEL is escaped.
      {"slash/ and del \x7F", "\"slash/ and del \x7F\""},
      {"\b\t\n\f\r", R"("\b\t\n\f\r")"},
      {"\x01\x0B\x1B\x1F", R"("\u0001\u000b\u001b\u001f")"},
      {std::string_view("nul \0 byte", 10), R"("nul \u0000 byte")"},
      {"Caf\xC3\xA9 \xF0\x9F\x8D\xBA \xE2\x82\xAC",
       "\"Caf\xC3\xA9 \xF0\x9F\x8D\xBA \xE2\x82\xAC\""},
      // One U+FFFD per stray byte, and one for the start of a sequence that ends too soon; the
      // byte that ends it early is read again.
      {"f bad\xFF\xFE.rec", "\"f bad\xEF\xBF\xBD\xEF\xBF\xBD.rec\""},
      {"\x80 alone", "\"\xEF\xBF\xBD alone\""},
      {"\xE9"
       "A Latin-1",
       "\"\xEF\xBF\xBD"
       "A Latin-1\""},
      {"cut \xE2\x82", "\"cut \xEF\xBF\xBD\""},
      {"cut \xF0\x9F\x8D"
       "A",
       "\"cut \xEF\xBF\xBD"
       "A\""},
      // Overlong forms, surrogates and code points past U+10FFFF: every byte on its own.
      {"overlong \xC0\xAF \xE0\x80\xAF",
       "\"overlong \xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"surrogate \xED\xA0\x80", "\"surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"past \xF4\x90\x80\x80", "\"past \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xF5\xF8\xFC", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"", R"("")"},
  };
  for (const Case& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.json;
}

TEST(BatchReport, LinesHoldEveryKeyInAlphabeticalOrder) {
  const std::vector<ConversionMessage> messages = {
      {"lib/b Cut\xFF.rec", "the file is truncated; the missing bytes were read as zeros"},
      {"x", "y\n"}};
  ReportEntry warned;
  warned.path = "lib/b Cut\xFF.rec";
  warned.kind = "rec";
  warned.output = "lib/b Cut\xFF.xml";
  warned.status = "warned";
  warned.messages = messages;
  warned.records = 1;
  warned.milliseconds = 12.34567;
  EXPECT_EQ(ReportLine(warned),
            "{\"kind\":\"rec\",\"messages\":[{\"subject\":\"lib/b Cut\xEF\xBF\xBD.rec\",\"text\":"
            "\"the file is truncated; the missing bytes were read as zeros\"},{\"subject\":\"x\","
            "\"text\":\"y\\n\"}],\"milliseconds\":12.346,\"output\":\"lib/b Cut\xEF\xBF\xBD.xml\","
            "\"path\":\"lib/b Cut\xEF\xBF\xBD.rec\",\"records\":1,\"status\":\"warned\"}\n");

  ReportEntry skipped;
  skipped.path = "lib/d notes.txt";
  skipped.status = "skipped";
  EXPECT_EQ(ReportLine(skipped), R"({"kind":null,"messages":[],"milliseconds":0.0,"output":null,)"
                                 R"("path":"lib/d notes.txt","records":0,"status":"skipped"})"
                                 "\n");
  skipped.records = 100000;
  skipped.milliseconds = 250;
  EXPECT_EQ(ReportLine(skipped), R"({"kind":null,"messages":[],"milliseconds":250.0,"output":null,)"
                                 R"("path":"lib/d notes.txt","records":100000,"status":"skipped"})"
                                 "\n");
}

}  // namespace
}  // namespace kegverter
