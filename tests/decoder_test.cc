#include "source/decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/fixture.h"

namespace kegverter {
namespace {

// A record type made for the engine's tests: every numeric kind, a skipped field, both texts.
struct Sample {
  NarrowText name;
  float low = 0;
  float high = 0;
  std::int16_t small = 0;
  std::int32_t medium = 0;
  std::int64_t large = 0;
  double precise = 0;
  std::uint8_t flag = 0;
  WideText wide;
  NarrowText long_text;
  std::vector<std::int32_t> field_errors;
};

inline constexpr RangeBounds kPercent = FloatBounds(0, 110, 0);
inline constexpr RangeBounds kGravity = FloatBounds(0.9f, 3.0f, 1.0f);
inline constexpr RangeBounds kSmall = Int16Bounds(-5, 5, 1);
inline constexpr RangeBounds kMedium = Int32Bounds(0, 100000, 7);

}  // namespace

template <>
struct RecordLayout<Sample> {
  static constexpr std::size_t kRecordSize = 250;
  static constexpr FieldSpec kFields[] = {
      {10, FieldKind::Text},     {4, FieldKind::Float32}, {4, FieldKind::None},
      {4, FieldKind::Float32},   {2, FieldKind::Int16},   {4, FieldKind::Int32},
      {8, FieldKind::Int64},     {8, FieldKind::Float64}, {1, FieldKind::UInt8},
      {8, FieldKind::Utf16Text}, {120, FieldKind::Text},
  };
  static constexpr MemberRef<Sample> kMembers[] = {
      &Sample::name,  &Sample::low,     &Sample::high, &Sample::small, &Sample::medium,
      &Sample::large, &Sample::precise, &Sample::flag, &Sample::wide,  &Sample::long_text,
  };
  static constexpr RangeSpec kRanges[] = {
      kUntested,
      {FieldKind::Float32, &kPercent},
      {FieldKind::Float32, &kGravity},
      {FieldKind::Int16, &kSmall},
      {FieldKind::Int32, &kMedium},
      kUntested,
      kUntested,
      kUntested,
      kUntested,
      kUntested,
  };
};

// Bounds with external linkage, as the record headers declare theirs. The layout check must still
// evaluate at compile time in the sanitizer build, where g++ cannot compare such an address with
// null; this type stops that build if the check goes back to comparing.
inline constexpr RangeBounds kSharedBoundsForLayoutCheck = FloatBounds(0, 100, 0);

struct SharedBoundsSample {
  float value = 0;
  std::vector<std::int32_t> field_errors;
};

template <>
struct RecordLayout<SharedBoundsSample> {
  static constexpr std::size_t kRecordSize = 4;
  static constexpr FieldSpec kFields[] = {{4, FieldKind::Float32}};
  static constexpr MemberRef<SharedBoundsSample> kMembers[] = {&SharedBoundsSample::value};
  static constexpr RangeSpec kRanges[] = {{FieldKind::Float32, &kSharedBoundsForLayoutCheck}};
};

static_assert(LayoutIsConsistent<SharedBoundsSample>());

namespace {

using testing::Bytes;

Bytes SampleBytes() {
  Bytes b(250);
  b.Text(0, 10, "Cascade").F32(10, 5.5f).F32(14, 99.0f).F32(18, 1.05f).I16(22, -2);
  b.I32(24, 1234).I64(28, -9000000000LL).F64(36, 2.25).U8(44, 200);
  b.Raw(45, std::string("H\0i\0\0\0", 6));
  return b;
}

Sample Decode(const Bytes& b) {
  Sample s;
  DecodeRecord(std::span<const std::uint8_t>(b.data()), s);
  return s;
}

TEST(Decoder, DecodesEveryKindAtItsOffsetAndSkipsKindZero) {
  const Sample s = Decode(SampleBytes());
  EXPECT_EQ(s.name, "Cascade");
  EXPECT_EQ(s.low, 5.5f);
  EXPECT_EQ(s.high, 1.05f);  // the 4 skipped bytes (99.0) never reach a member
  EXPECT_EQ(s.small, -2);
  EXPECT_EQ(s.medium, 1234);
  EXPECT_EQ(s.large, -9000000000LL);
  EXPECT_EQ(s.precise, 2.25);
  EXPECT_EQ(s.flag, 200);
  EXPECT_EQ(s.wide, u"Hi");
  EXPECT_EQ(s.long_text, "");  // decoded empty, not missing
  static_assert(LayoutIsConsistent<Sample>());
}

TEST(Decoder, TextStopsAtZeroOrFieldEndAndTrimsTrailingWhitespace) {
  Bytes b = SampleBytes();
  b.Raw(0, std::string("Cascade\0XY", 10));
  EXPECT_EQ(Decode(b).name, "Cascade");
  b.Raw(0, "ABCDEFGHIJ");  // no terminator in the field: all ten characters
  EXPECT_EQ(Decode(b).name, "ABCDEFGHIJ");
  b.Raw(0, std::string("  a b\t\r\n \0", 10));
  EXPECT_EQ(Decode(b).name, "  a b");
  b.Raw(0, std::string("   \t     ", 9));
  EXPECT_EQ(Decode(b).name, "");
  // A long field (more than 80 bytes) decodes the same way.
  b.Text(53, 120, std::string(119, 'x') + "y");
  EXPECT_EQ(Decode(b).long_text, std::string(119, 'x') + "y");
}

TEST(Decoder, ShortBufferReadsMissingBytesAsZero) {
  Bytes b = SampleBytes();
  const Sample s = Decode(b.Prefix(26));  // ends in the middle of `medium`
  EXPECT_EQ(s.small, -2);
  EXPECT_EQ(s.medium, 1234 & 0xFFFF);
  EXPECT_EQ(s.large, 0);
  EXPECT_EQ(s.wide, u"");
}

TEST(Decoder, ShortFieldWidthReadsOnlyItsBytes) {
  // A 2-byte field of a 4-byte kind takes two bytes and zero high bytes.
  constexpr FieldSpec table[] = {{2, FieldKind::Int32}, {2, FieldKind::Int32}};
  const std::uint8_t bytes[] = {0xFF, 0xFF, 0x01, 0x00};
  std::int32_t a = -1, b = -1;
  DecodeFieldTable(std::span<const std::uint8_t>(bytes), table, [&](std::size_t i) {
    return i == 0 ? FieldRef(&a) : FieldRef(&b);
  });
  EXPECT_EQ(a, 0xFFFF);
  EXPECT_EQ(b, 1);
}

TEST(Validation, BoundsAreInclusiveAndOutOfRangeTakesTheDefault) {
  Sample s = Decode(SampleBytes());
  s.low = 110.0f;   // equal to the maximum
  s.high = 0.9f;    // the float nearest 0.9, equal to the minimum
  s.small = 5;
  s.medium = 0;
  EXPECT_TRUE(ValidateRanges(s));
  EXPECT_TRUE(s.field_errors.empty());

  s.low = 110.5f;
  s.high = 0.899f;
  EXPECT_FALSE(ValidateRanges(s));
  ASSERT_EQ(s.field_errors.size(), 10u);
  EXPECT_EQ(s.field_errors[1], kAboveMaximum);
  EXPECT_EQ(s.field_errors[2], kBelowMinimum);
  EXPECT_EQ(s.field_errors[3], kInRange);
  EXPECT_EQ(s.low, 0.0f);
  EXPECT_EQ(s.high, 1.0f);
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
  s.small = -6;
  s.medium = -1;
  EXPECT_FALSE(ValidateRanges(s));
  EXPECT_EQ(s.field_errors[3], kBelowMinimum);
  EXPECT_EQ(s.field_errors[4], kBelowMinimum);
  EXPECT_EQ(s.small, 1);
  EXPECT_EQ(s.medium, 7);
}

TEST(Validation, EmptyRecordGetsDefaultsWhereTheMinimumIsAboveZero) {
  Sample s;
  EXPECT_FALSE(ValidateRanges(s));
  EXPECT_EQ(s.high, 1.0f);
  EXPECT_EQ(s.field_errors[2], kBelowMinimum);
  EXPECT_EQ(s.field_errors[1], kInRange);
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
  EXPECT_EQ(input->position(), 750u);
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

TEST(Reader, ReadFieldBlockStoresFieldZeroOnly) {
  testing::TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("n.bin", std::string("Step mash\0zz", 12)), error);
  ASSERT_TRUE(input);
  constexpr FieldSpec table[] = {{12, FieldKind::Text}};
  NarrowText name;
  EXPECT_FALSE(ReadFieldBlock(*input, 0, table, FieldRef(&name)));
  EXPECT_FALSE(name.has_value());
  EXPECT_EQ(input->position(), 0u);
  EXPECT_TRUE(ReadFieldBlock(*input, 12, table, FieldRef(&name)));
  EXPECT_EQ(name, "Step mash");
}

TEST(Reader, CountHeaderDecodesAsSignedThirtyTwoBits) {
  testing::TempDir dir;
  std::string error;
  auto input = InputFile::Open(dir.Write("c.bin", std::string("\xFE\xFF\xFF\xFF", 4)), error);
  ASSERT_TRUE(input);
  std::int32_t count = 0;
  ReadFieldBlock(*input, 4, kCountHeader, FieldRef(&count));
  EXPECT_EQ(count, -2);
}

}  // namespace
}  // namespace kegverter
