// The layout engine and the decoder (source/layout.h, source/decoder): field offsets and indexes
// derived from a layout's entries, decoding, range validation and the reader loop, on a record
// type made for the purpose.
#include "source/decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "source/hops.h"
#include "source/malt.h"
#include "source/mash.h"
#include "source/misc.h"
#include "source/recipe.h"
#include "source/styles.h"
#include "source/water.h"
#include "tests/fixture.h"

namespace kegverter {
namespace {

// A record type made for the engine's tests: every kind, skipped bytes, tested and untested
// numbers, a short text and a long one.
struct Sample {
  NarrowText name;
  float low = 0;
  float high = 0;
  std::int16_t small = 0;
  std::int32_t medium = 0;
  std::int32_t signed_count = 0;
  std::uint8_t flag = 0;
  NarrowText long_text;
  std::vector<std::int32_t> field_errors;
};

inline constexpr RangeBounds<float> kPercent{0.0f, 110.0f, 0.0f};
inline constexpr RangeBounds<float> kGravity{0.9f, 3.0f, 1.0f};
inline constexpr RangeBounds<std::int32_t> kMedium{0, 100000, 7};
inline constexpr RangeBounds<std::int32_t> kSigned{-5, 5, 1};

}  // namespace

template <>
struct RecordLayout<Sample> {
  using R = Sample;
  static constexpr std::size_t kRecordSize = 170;
  static constexpr LayoutEntry<R> kEntries[] = {
      Text(&R::name, 10),                 // 0
      Number(&R::low, kPercent),          // 10
      Skip(4),                            // 14
      Number(&R::high, kGravity),         // 18
      Number(&R::small),                  // 22
      Number(&R::medium, kMedium),        // 24
      Number(&R::signed_count, kSigned),  // 28
      Number(&R::flag),                   // 32
      Text(&R::long_text, 120),           // 33
      Skip(17),                           // 153
  };
};

namespace {

using testing::Bytes;

Bytes SampleBytes() {
  Bytes b(170);
  b.Text(0, 10, "Cascade").F32(10, 5.5f).F32(14, 99.0f).F32(18, 1.05f).I16(22, -2);
  b.I32(24, 1234).I32(28, -3).U8(32, 200).Raw(153, "tail bytes");
  return b;
}

Sample Decode(const Bytes& b) {
  Sample s;
  DecodeRecord(std::span<const std::uint8_t>(b.data()), s);
  return s;
}

TEST(Layout, OffsetsAndIndexesFollowTheEntriesAndSkippedBytesHaveNoIndex) {
  EXPECT_EQ(FieldOffset(&Sample::low), 10u);
  EXPECT_EQ(FieldOffset(&Sample::high), 18u);  // after the 4 skipped bytes
  EXPECT_EQ(FieldOffset(&Sample::long_text), 33u);
  EXPECT_EQ(FieldIndex(&Sample::high), 2u);  // the skipped bytes are not a field
  EXPECT_EQ(FieldIndex(&Sample::long_text), 7u);
  EXPECT_EQ(FieldWidth(&Sample::name), 10u);
  EXPECT_EQ(FieldWidth(&Sample::small), 2u);
  EXPECT_EQ(Layout<Sample>::kFieldCount, 8u);
  EXPECT_EQ(Layout<Sample>::kTested, (std::array<std::uint32_t, 4>{1, 2, 4, 5}));
}

TEST(Layout, ExtendedLayoutsContinueAfterTheDatabaseRecord) {
  EXPECT_EQ(FieldOffset(&FermentableAddition::notes), FieldOffset(&MaltRecord::notes));
  EXPECT_EQ(FieldOffset(&FermentableAddition::amount), RecordLayout<MaltRecord>::kRecordSize);
  EXPECT_EQ(FieldIndex(&FermentableAddition::amount), Layout<MaltRecord>::kFieldCount);
  EXPECT_EQ(FieldOffset(&MiscAddition::amount), RecordLayout<MiscRecord>::kRecordSize);
  EXPECT_EQ(FieldIndex(&MiscAddition::spare_amount_2), Layout<MiscRecord>::kFieldCount + 2);
  // The database fields keep their bounds in the recipe: inventory is tested in both.
  EXPECT_EQ(Layout<MiscAddition>::kTested,
            (std::array<std::uint32_t, 2>{
                static_cast<std::uint32_t>(FieldIndex(&MiscAddition::inventory)),
                static_cast<std::uint32_t>(FieldIndex(&MiscAddition::amount))}));
}

TEST(Decoder, DecodesEveryKindAtItsOffsetAndSkipsSkippedBytes) {
  const Sample s = Decode(SampleBytes());
  EXPECT_EQ(s.name, "Cascade");
  EXPECT_EQ(s.low, 5.5f);
  EXPECT_EQ(s.high, 1.05f);  // the 4 skipped bytes (99.0) never reach a member
  EXPECT_EQ(s.small, -2);
  EXPECT_EQ(s.medium, 1234);
  EXPECT_EQ(s.signed_count, -3);
  EXPECT_EQ(s.flag, 200);
  EXPECT_EQ(s.long_text, "");  // decoded empty, not missing; the skipped tail is not read
}

TEST(Decoder, TextStopsAtZeroOrFieldEndAndTrimsTrailingWhitespace) {
  Bytes b = SampleBytes();
  b.Raw(0, std::string("Cascade\0XY", 10));
  EXPECT_EQ(Decode(b).name, "Cascade");
  b.Raw(0, "ABCDEFGHIJ");  // no terminator in the field: all ten characters, none of the next
  EXPECT_EQ(Decode(b).name, "ABCDEFGHIJ");
  b.Raw(0, std::string("  a b\t\r\n \0", 10));
  EXPECT_EQ(Decode(b).name, "  a b");
  b.Raw(0, std::string("   \t     ", 9));
  EXPECT_EQ(Decode(b).name, "");
  // A long field decodes the same way and stops at its width.
  // Built by appending: g++ 12 misreports `std::string(n, c) + "..."` as out of bounds.
  std::string long_text(119, 'x');
  long_text += 'y';
  b.Raw(33, long_text + 'z');
  EXPECT_EQ(Decode(b).long_text, long_text);
}

TEST(Decoder, ShortBufferReadsMissingBytesAsZero) {
  Bytes b = SampleBytes();
  const Sample s = Decode(b.Prefix(26));  // ends in the middle of `medium`
  EXPECT_EQ(s.small, -2);
  EXPECT_EQ(s.medium, 1234 & 0xFFFF);
  EXPECT_EQ(s.signed_count, 0);
  EXPECT_EQ(s.long_text, "");
}

TEST(Validation, BoundsAreInclusiveAndOutOfRangeTakesTheDefault) {
  Sample s = Decode(SampleBytes());
  s.low = 110.0f;  // equal to the maximum
  s.high = 0.9f;   // the float nearest 0.9, equal to the minimum
  s.signed_count = 5;
  s.medium = 0;
  EXPECT_TRUE(ValidateRanges(s));
  EXPECT_TRUE(s.field_errors.empty());

  s.low = 110.5f;
  s.high = 0.899f;
  EXPECT_FALSE(ValidateRanges(s));
  ASSERT_EQ(s.field_errors.size(), 8u);
  EXPECT_EQ(s.field_errors,
            (std::vector<std::int32_t>{0, kAboveMaximum, kBelowMinimum, 0, 0, 0, 0, 0}));
  EXPECT_EQ(s.low, 0.0f);
  EXPECT_EQ(s.high, 1.0f);
}

TEST(Validation, UntestedNumbersKeepAnyValue) {
  Sample s = Decode(SampleBytes());
  s.small = std::numeric_limits<std::int16_t>::min();
  s.flag = 255;
  EXPECT_TRUE(ValidateRanges(s));
  EXPECT_EQ(s.small, std::numeric_limits<std::int16_t>::min());
}

TEST(Validation, NotANumberFailsTheMaximumTest) {
  Sample s = Decode(SampleBytes());
  s.low = std::numeric_limits<float>::quiet_NaN();
  s.high = -std::numeric_limits<float>::infinity();
  EXPECT_FALSE(ValidateRanges(s));
  EXPECT_EQ(s.field_errors[1], kAboveMaximum);
  EXPECT_EQ(s.field_errors[2], kBelowMinimum);
  EXPECT_EQ(s.low, 0.0f);
  EXPECT_EQ(s.high, 1.0f);
}

TEST(Validation, IntegersCompareSigned) {
  Sample s = Decode(SampleBytes());
  s.signed_count = -6;
  s.medium = -1;
  EXPECT_FALSE(ValidateRanges(s));
  EXPECT_EQ(s.field_errors[4], kBelowMinimum);
  EXPECT_EQ(s.field_errors[5], kBelowMinimum);
  EXPECT_EQ(s.signed_count, 1);
  EXPECT_EQ(s.medium, 7);
}

TEST(Validation, EmptyRecordGetsDefaultsWhereTheMinimumIsAboveZero) {
  Sample s;
  EXPECT_FALSE(ValidateRanges(s));
  EXPECT_EQ(s.high, 1.0f);
  EXPECT_EQ(s.field_errors[2], kBelowMinimum);
  EXPECT_EQ(s.field_errors[1], kInRange);
}

TEST(Validation, RecordLayoutBoundsReachTheirFields) {
  // The bounds of a real layout apply to the field they are written beside, by its index.
  HopAddition hop;
  hop.alpha = 111.0f;
  hop.amount = -1.0f;
  hop.inventory = -1.0f;  // not tested in a recipe
  EXPECT_FALSE(ValidateRanges(hop));
  EXPECT_EQ(hop.field_errors.size(), Layout<HopAddition>::kFieldCount);
  EXPECT_EQ(hop.field_errors[FieldIndex(&HopAddition::alpha)], kAboveMaximum);
  EXPECT_EQ(hop.field_errors[FieldIndex(&HopAddition::amount)], kBelowMinimum);
  EXPECT_EQ(hop.field_errors[FieldIndex(&HopAddition::inventory)], kInRange);
  EXPECT_EQ(hop.inventory, -1.0f);

  RecipeRecord recipe;
  recipe.efficiency = 200.0f;
  EXPECT_FALSE(ValidateRanges(recipe));
  EXPECT_EQ(recipe.efficiency, 70.0f);
}

TEST(Reader, ReadsConsecutiveRecordsAndCountsReplacedOnes) {
  testing::TempDir dir;
  Bytes good = SampleBytes();
  Bytes bad = SampleBytes();
  bad.F32(10, 500.0f).F32(18, 50.0f);  // two bad fields, one record counted
  Bytes file = good;
  file.Append(bad).Append(good);
  std::string error;
  auto input = InputFile::Open(dir.Write("s.bin", file), error);
  ASSERT_TRUE(input);
  std::vector<Sample> records(3);
  EXPECT_EQ(ReadRecords(*input, std::span<Sample>(records)), 1);
  EXPECT_EQ(records[2].name, "Cascade");
  EXPECT_EQ(records[1].low, 0.0f);
  EXPECT_EQ(records[1].high, 1.0f);
  EXPECT_EQ(input->position(), 510u);
  EXPECT_FALSE(input->truncated());
}

TEST(Reader, MissingBytesAtTheEndReadAsZerosNotAsTheRecordBefore) {
  testing::TempDir dir;
  Bytes file = SampleBytes();
  file.Append(SampleBytes().Prefix(12));
  std::string error;
  auto input = InputFile::Open(dir.Write("s.bin", file), error);
  ASSERT_TRUE(input);
  std::vector<Sample> records(2);
  ReadRecords(*input, std::span<Sample>(records));
  EXPECT_EQ(records[1].name, "Cascade");
  EXPECT_EQ(records[1].low, 0.0f);  // bytes 12.. are missing: zeros
  EXPECT_EQ(records[1].medium, 0);
  EXPECT_TRUE(input->truncated());
}

TEST(Reader, TextFieldOnItsOwnReadsItsWidthOnly) {
  testing::TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("n.bin", std::string("Step mash\0zzNext", 16)), error);
  ASSERT_TRUE(input);
  EXPECT_EQ(ReadTextField(*input, 12), "Step mash");
  EXPECT_EQ(input->position(), 12u);
  EXPECT_EQ(ReadTextField(*input, 8), "Next");  // the file ends inside the field
  EXPECT_TRUE(input->truncated());
}

TEST(Reader, CountHeaderDecodesAsSignedThirtyTwoBits) {
  testing::TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("c.bin", std::string("\xFE\xFF\xFF\xFF", 4)), error);
  ASSERT_TRUE(input);
  EXPECT_EQ(ReadCountHeader(*input), -2);
  EXPECT_EQ(ReadCountHeader(*input), 0);  // past the end: zeros
}

}  // namespace
}  // namespace kegverter
