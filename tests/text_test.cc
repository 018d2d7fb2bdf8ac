// Text (source/text, document/text): Windows-1252 source bytes widened to UTF-8, XML-safe repair of
// text, the quick forms against the byte-by-byte ones, and name fields of every kind holding
// controls, high bytes and no terminator, end to end.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "document/text.h"
#include "source/text.h"
#include "tests/bad_input.h"

namespace kegverter::bad_input {
namespace {

namespace file = testing::file;

TEST(Text, SourceBytesBecomeUtf8WithWindowsPunctuation) {
  EXPECT_EQ(WidenText(std::string_view("Brewer\x92s \x80 \x96 caf\xe9")),
            "Brewer\u2019s \u20ac \u2013 caf\u00e9");
  EXPECT_EQ(WidenText(std::string_view("\x81\x8D\x8F\x90\x9D")), "\u0081\u008d\u008f\u0090\u009d");
  EXPECT_EQ(WidenText(std::string_view("a\x01z\x7f\t\r\n")), "a\ufffdz\x7f\t\r\n");
  EXPECT_EQ(WidenText(std::optional<std::string>()), "");
}

TEST(Text, XmlSafeTextReplacesInvalidSequences) {
  EXPECT_EQ(XmlSafeText("plain"), "plain");
  EXPECT_EQ(XmlSafeText("\xC3\xA9"), "\u00e9");
  EXPECT_EQ(XmlSafeText("\xC3"), "\ufffd");
  EXPECT_EQ(XmlSafeText("\xE0\x80\x80"), "\ufffd\ufffd\ufffd");
  EXPECT_EQ(XmlSafeText(std::string("a\0b", 3)), "a\ufffdb");
  EXPECT_EQ(XmlSafeText("\xEF\xBF\xBF"), "\ufffd");  // U+FFFF is not an XML character
}

TEST(Text, WideningAndRepairAgreeWithTheByteByByteForms) {
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
  EXPECT_EQ(XmlSafeText("\xED\xA0\x80 x", storage), "\xEF\xBF\xBD x");    // a surrogate
}

// Texts whose bytes are split into pieces that fit a field; a piece as wide as the field leaves
// it without a terminator.
std::vector<std::string> Pieces(std::size_t width) {
  std::string controls = "a";
  for (char c = 0x01; c < 0x20; ++c) controls += c;
  controls += 'z';
  std::string high;
  for (int b = 0x80; b <= 0xFF; ++b) high += static_cast<char>(b);
  std::string full;
  for (std::size_t i = 0; i < width; ++i) full += static_cast<char>('A' + i % 26);
  std::vector<std::string> pieces;
  for (const std::string& text : {controls, high, full}) {
    for (std::size_t at = 0; at < text.size(); at += width)
      pieces.push_back(text.substr(at, width));
  }
  return pieces;
}

// A file of the kind whose text field under test holds `text`: one record of a database, or the
// whole single-record file.
using WithText = Bytes (*)(const std::string& text);

template <class R, R (*kSound)(), std::string R::*kField>
Bytes WithTextIn(const std::string& text) {
  R record = kSound();
  record.*kField = text;
  return file::ToBytes(record);
}

TEST(Text, NameFieldsOfControlsHighBytesAndNoTerminator) {
  struct Case {
    Kind kind;
    std::size_t width;
    const char* path;  // the element inside the record element
    WithText with;
  };
  const Case cases[] = {
      {Kind::Extra, 55, "name", WithTextIn<file::Misc, SoundMisc, &file::Misc::ingredient_name>},
      {Kind::Hops, 55, "name", WithTextIn<file::Hop, SoundHop, &file::Hop::name>},
      {Kind::Malt, 55, "name", WithTextIn<file::Malt, SoundMalt, &file::Malt::name>},
      {Kind::Styles, 55, "category", WithTextIn<file::Style, SoundStyle, &file::Style::category>},
      {Kind::WaterDat, 27, "name", WithTextIn<file::Water, SoundWater, &file::Water::name>},
      {Kind::Yeast, 55, "name", WithTextIn<file::Yeast, SoundYeast, &file::Yeast::name>},
      {Kind::Wtr, 27, "name", WithTextIn<file::Water, SoundWater, &file::Water::name>},
      {Kind::Msh, 255, "name",
       [](const std::string& text) {
         file::MashSchedule m = SoundMashSchedule();
         m.name = text;
         return file::ToBytes(m);
       }},
      {Kind::Msh, 255, "mash_steps/step/name",
       [](const std::string& text) {
         file::MashSchedule m = SoundMashSchedule();
         m.steps[0].name = text;
         return file::ToBytes(m);
       }},
      {Kind::Rec, 85, "name",
       [](const std::string& text) {
         file::Recipe r = SoundRecipe();
         r.header.name = text;
         return file::ToBytes(r);
       }},
      {Kind::Rec, 55, "ingredients/hop_bill/hop/name",
       [](const std::string& text) {
         file::Recipe r = SoundRecipe();
         r.hops[0].name = text;
         return file::ToBytes(r);
       }},
      {Kind::Rec, 27, "ingredients/water_profile/water/name",
       [](const std::string& text) {
         file::Recipe r = SoundRecipe();
         r.water.name = text;
         return file::ToBytes(r);
       }},
  };
  for (const Case& c : cases) {
    const TestKind& kind = Info(c.kind);
    const std::vector<std::string> pieces = Pieces(c.width);
    const std::string label = std::string(kind.file_name) + " " + c.path;
    if (kind.record_size() != 0) {
      std::vector<Bytes> records;
      for (const std::string& piece : pieces) records.push_back(c.with(piece));
      const auto count = static_cast<std::int32_t>(records.size());
      TempDir dir;
      Converted out;
      ConvertCase(dir, kind, testing::Database(count, records), {0, {}, count}, label, out);
      for (std::size_t i = 0; i < out.records.size(); ++i) {
        EXPECT_EQ(testing::TextAt(out.Record(i), c.path), ReadBack(FieldText(pieces[i])))
            << label << " piece " << i;
      }
      continue;
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      TempDir dir;
      Converted out;
      ConvertCase(dir, kind, c.with(pieces[i]), {0, {}, 1}, label + " piece " + std::to_string(i),
                  out);
      EXPECT_EQ(testing::TextAt(out.Record(), c.path), ReadBack(FieldText(pieces[i])))
          << label << " piece " << i;
    }
  }
}

}  // namespace
}  // namespace kegverter::bad_input
