#include "orvale/engine/angles/angles.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace orvale {
namespace {

double Dms(double degrees, double minutes, double seconds) {
  return (degrees + minutes / 60.0 + seconds / 3600) / kDegreesPerRadian;
}

TEST(SplitDMS, CarriesOnlyAboveTheRoundingThresholdOfTheDecimals) {
  const double just_below = Dms(10, 59, 59.999994);
  const DMS kept = SplitDMS(-just_below, 5);
  EXPECT_EQ(std::tie(kept.degrees, kept.minutes, kept.sign), std::tuple(10, 59, -1));
  EXPECT_NEAR(kept.seconds, 59.999994, 1e-6);
  const double just_above = Dms(10, 59, 59.999996);
  const DMS carried = SplitDMS(just_above, 5);
  EXPECT_EQ(std::tie(carried.degrees, carried.minutes, carried.seconds, carried.sign),
            std::tuple(11, 0, 0.0, 1));
  // Beyond 21 decimals the threshold is 60 itself: nothing carries.
  EXPECT_EQ(SplitDMS(just_above, 30).minutes, 59);
}

TEST(MoveSymbolToPoint, MovesTheSymbolAfterTheFirstFractionOnly) {
  const char* cases[][2] = {{"15.12345\"", "15\".12345"},
                            {"51.5000\xB0N", "51\xB0.5000N"},
                            {"57.2g", "57g.2"},
                            {"12.5 m", "12.5 m"},
                            {"1.5\xB0 2.5'", "1\xB0.5 2.5'"}};
  for (const auto& [before, after] : cases) {
    std::string text = before;
    MoveSymbolToPoint(text);
    EXPECT_EQ(text, after);
  }
}

TEST(AngleNames, NameTheSignedNotationWithThePlusMinusByteAndNormaliseLetters) {
  EXPECT_EQ(AngleNotationName(ANGLE_PREF_SIGNED_DEGREES),
            "\xB1"
            "DDD.DDDDDDDD");
  EXPECT_EQ(AngleNotationName(ANGLE_PREF_SAVED), "");
  for (auto [letter, normal] : {std::pair{'w', 'W'}, {'S', 'S'}, {'g', '\0'}, {'\0', '\0'}})
    EXPECT_EQ(NormaliseQuadrant(letter), normal) << letter;
}

}  // namespace
}  // namespace orvale
