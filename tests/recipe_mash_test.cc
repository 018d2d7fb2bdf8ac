// The arithmetic of the simple mash: the grain weight and the strike water temperature.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "beerxml/recipe_writer.h"

namespace kegverter {
namespace {

FermentableAddition Addition(std::uint8_t type, float amount) {
  FermentableAddition f;
  f.type = type;
  f.amount = amount;
  return f;
}

TEST(RecipeMash, GrainWeightCountsGrainOnly) {
  const std::vector<FermentableAddition> bill = {Addition(1, 8.0f), Addition(2, 3.0f),
                                                 Addition(1, 2.5f), Addition(3, 1.0f),
                                                 Addition(4, 0.5f), Addition(0, 9.0f)};
  EXPECT_EQ(GrainWeight(bill), 10.5f);
  EXPECT_EQ(GrainWeight({}), 0.0f);
  // Summed in single precision, in list order.
  const std::vector<FermentableAddition> fine = {Addition(1, 16777216.0f), Addition(1, 1.0f)};
  EXPECT_EQ(GrainWeight(fine), 16777216.0f);
}

TEST(RecipeMash, StrikeTemperatureOfTheWorkedExamples) {
  // 10 lb of grain at 60 F in 12.5 qt: 166.72 for a 152 F rest, 100.6 for a 95 F rest.
  EXPECT_EQ(StrikeTemperature(152, 10.0f, 12.5f, 60), 166);
  EXPECT_EQ(StrikeTemperature(95, 10.0f, 12.5f, 60), 100);
  // The rest at the grain temperature needs water at that temperature.
  EXPECT_EQ(StrikeTemperature(60, 10.0f, 12.5f, 60), 60);
  // No grain: the water is the mash.
  EXPECT_EQ(StrikeTemperature(152, 0.0f, 12.5f, 60), 152);
}

TEST(RecipeMash, StrikeTemperatureTruncatesTowardZero) {
  // A rest below the grain temperature: 40 + 0.16 x (40 - 100) = 30.4; 10 + 0.16 x -90 = -4.4.
  EXPECT_EQ(StrikeTemperature(40, 10.0f, 12.5f, 100), 30);
  EXPECT_EQ(StrikeTemperature(10, 10.0f, 12.5f, 100), -4);
}

TEST(RecipeMash, StrikeTemperatureWithoutWaterOrOutOfRange) {
  EXPECT_EQ(StrikeTemperature(152, 10.0f, 0.0f, 60), 152);
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(StrikeTemperature(kMax, 100000.0f, 1e-30f, 0), kMax);
  EXPECT_EQ(StrikeTemperature(kMin, 100000.0f, 1e-30f, 0), kMin);
  EXPECT_EQ(StrikeTemperature(kMax, 0.0f, 12.5f, kMin), kMax);
}

}  // namespace
}  // namespace kegverter
