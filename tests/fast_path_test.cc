// The quick paths of number formatting, text widening, XML text repair and streamed
// serialization must write exactly what the plain ones write, for every input.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "beerxml/document.h"
#include "beerxml/emitter.h"
#include "beerxml/format.h"
#include "beerxml/text.h"
#include "platform/files.h"
#include "source/text.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

// printf's text, with a non-number written as zero as the output never holds "nan" or "inf".
std::string Printf(double value, int digits) {
  if (!std::isfinite(value)) value = 0.0;
  char format[16];
  std::snprintf(format, sizeof format, "%%01.%df", digits);
  char buffer[400];
  const int n = std::snprintf(buffer, sizeof buffer, format, value);
  return std::string(buffer, static_cast<std::size_t>(n));
}

TEST(FastPaths, FixedPointTextIsPrintfsForFloatsDoublesTiesAndSpecials) {
  const double specials[] = {0.0,
                             -0.0,
                             0.05,
                             0.125,
                             0.25,
                             2.5,
                             -0.004,
                             1e300,
                             -1e-300,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::nan(""),
                             -std::nan("")};
  for (const double value : specials) {
    for (int digits = 0; digits <= 6; ++digits) {
      EXPECT_EQ(FormatFixed(value, digits), Printf(value, digits)) << value << " " << digits;
    }
  }
  std::mt19937_64 random(7);
  int mismatches = 0;
  for (int i = 0; i < 200000; ++i) {
    const auto as_float = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    const double as_double = std::bit_cast<double>(random());
    // Values of the size brewing data has, many of them exact halves of the last digit.
    const double typed = static_cast<double>(random() % 2000000) / 2000.0 - 500.0;
    const int digits = 1 + i % 4;
    for (const double value : {static_cast<double>(as_float), as_double, typed}) {
      if (FormatFixed(value, digits) != Printf(value, digits) && ++mismatches < 5) {
        ADD_FAILURE() << value << " with " << digits << " digits: " << FormatFixed(value, digits)
                      << " instead of " << Printf(value, digits);
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(FormatIntDecimal(-2147483648LL), "-2147483648.0");
  EXPECT_EQ(FormatInt(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(FastPaths, TextWideningAndRepairAgreeWithTheByteByByteForms) {
  std::mt19937 random(11);
  for (int i = 0; i < 20000; ++i) {
    std::string bytes(random() % 40, 'a');
    // Mostly plain text with now and then a control, a Windows letter or a UTF-8 fragment.
    for (char& ch : bytes) {
      const unsigned pick = random() % 16;
      ch = static_cast<char>(pick < 12 ? 0x20 + random() % 0x5F : random() % 256);
    }
    EXPECT_EQ(WidenText(std::string_view(bytes)), testing::ReadBack(bytes));

    std::string storage;
    const std::string_view repaired = XmlSafeText(bytes, storage);
    EXPECT_EQ(repaired, XmlSafeText(std::string_view(bytes)));
    // Text that needs no repair comes back as itself, uncopied.
    if (repaired == bytes) {
      EXPECT_EQ(repaired.data(), bytes.data());
    }
  }
  std::string storage;
  const std::string valid = "Caf\xC3\xA9 \xE2\x80\x93 \xF0\x9F\x8D\xBA";
  EXPECT_EQ(XmlSafeText(valid, storage).data(), valid.data());
  EXPECT_EQ(XmlSafeText("ok \xEF\xBF\xBE", storage), "ok \xEF\xBF\xBD");  // U+FFFE
  EXPECT_EQ(XmlSafeText("\xED\xA0\x80 x", storage), "\xEF\xBF\xBD x");   // a surrogate
}

TEST(FastPaths, StreamedSerializationIsTheWholeText) {
  DomDocument document(DomFaults{});
  ASSERT_TRUE(document.LoadXml("<?xml version=\"1.0\"?><a><b>x</b></a>"));
  const DomNode b = document.FirstElementByTagName("b");
  for (int i = 0; i < 3000; ++i) {
    const DomNode c = document.AppendElement(b, "c");
    document.SetAttribute(c, "n", "line\rbreak & more");
    document.AppendText(c, i % 2 ? "text\r\n" : "\r");
  }
  std::string streamed;
  int pieces = 0;
  document.Serialize([&](std::string_view piece) {
    streamed += piece;
    ++pieces;
  });
  EXPECT_GT(pieces, 1);
  EXPECT_EQ(streamed, document.Serialize());
  // Every carriage return, in attributes and text alike, is a character reference.
  EXPECT_EQ(streamed.find('\r'), std::string::npos);
  std::size_t references = 0;
  for (std::size_t at = streamed.find("&#13;"); at != std::string::npos;
       at = streamed.find("&#13;", at + 1)) {
    ++references;
  }
  EXPECT_EQ(references, 6000u);
}

// Builds a list of `count` items, each with a nested element, an attribute and text, with the
// list streamed or not; returns what was written.
std::string ListText(int count, bool streamed) {
  DomDocument document(DomFaults{});
  EXPECT_TRUE(document.LoadXml(BeerXmlTemplate("things")));
  const DomNode list = document.FirstElementByTagName("things");
  std::string out;
  const DomDocument::Sink sink = [&out](std::string_view piece) { out += piece; };
  if (streamed) document.StreamChildren(list, sink);
  for (int i = 0; i < count; ++i) {
    const DomNode item = document.AppendElement(list, "item");
    document.SetAttribute(item, "n", std::to_string(i));
    const DomNode inner = document.AppendElement(item, "inner");
    document.AppendText(inner, i % 3 ? "x & y" : "line\r\nbreak");
    document.AppendElement(item, "empty");
  }
  if (streamed) {
    EXPECT_TRUE(document.SerializeRest(sink));
  } else {
    document.Serialize(sink);
  }
  return out;
}

TEST(Streaming, FinishedRecordsWrittenAsTheyGoMakeTheSameText) {
  for (const int count : {0, 1, 2, 3, 50}) {
    EXPECT_EQ(ListText(count, true), ListText(count, false)) << count << " items";
  }
}

TEST(Streaming, TextInTheStreamedListCannotBeJoinedAndIsRefused) {
  DomDocument document(DomFaults{});
  ASSERT_TRUE(document.LoadXml(BeerXmlTemplate("things")));
  const DomNode list = document.FirstElementByTagName("things");
  std::string out;
  const DomDocument::Sink sink = [&out](std::string_view piece) { out += piece; };
  document.StreamChildren(list, sink);
  document.AppendElement(list, "item");
  document.AppendElement(list, "item");  // the first item goes out
  document.AppendText(list, "loose");
  const std::size_t streamed = out.size();
  EXPECT_FALSE(document.SerializeRest(sink));
  EXPECT_EQ(out.size(), streamed);
}

TEST(Streaming, AnExporterThatStopsWithAFailureLeavesNoFileBehind) {
  testing::TempDir dir;
  ExportRun run;
  const std::string path = dir.Path("out.xml");
  RunExporter("things", path, run, [&](DomDocument* document, DomNode& cursor) {
    for (int i = 0; i < 3; ++i) document->AppendElement(cursor, "item");
    throw DocumentError(kUnspecifiedError);
  });
  EXPECT_FALSE(run.saved);
  EXPECT_EQ(run.failures_reported, 1);
  EXPECT_EQ(run.reports, FormatErrorReport(DocumentError(kUnspecifiedError)));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace kegverter
