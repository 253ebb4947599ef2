#include "orvale/engine/angles/angle_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "orvale/engine/angles/angles.h"

namespace orvale {
namespace {

// Half a unit of the last printed digit, in radians.
double PrintedPrecision(int type, int notation, int decimals) {
  if (decimals < 0) decimals = DefaultDecimals(type, notation);
  const double unit_degrees[] = {1 / 3600.0, 1 / 60.0, 1.0, 1.0, 0.9};
  return unit_degrees[notation] * 0.5 * std::pow(10.0, -decimals) / kDegreesPerRadian * (1 + 1e-9) +
         1e-15;
}

// Shown degrees spread over a type's range, with its ends and values just short of a
// carry. Complements are sampled by the value they show, which runs 0 to 180.
std::vector<double> SampleDegrees(int type) {
  const std::vector<double> fractions = {
      0.0, 1e-12,  0.0001234567,  0.1234567891,    0.25, 0.5, 0.7071067812, 0.999999999999,
      1.0, -1e-12, -0.3333333333, -0.999999999999, -1.0};
  const bool bearing = type == ANGLE_BEARING || type == ANGLE_BEARING_2;
  const bool unsigned_type = bearing || type == ANGLE_COMPLEMENT;
  const bool narrow =
      type == ANGLE_SIGNED_90 || type == ANGLE_SIGNED_90_2 || type == ANGLE_LATITUDE;
  const double limit = bearing ? 360.0 : narrow ? 90.0 : 180.0;
  std::vector<double> degrees = {12 + 59 / 60.0 + 59.999996 / 3600,
                                 45 + 59 / 60.0 + 59.9999999 / 3600};
  if (bearing) degrees.push_back(359 + 59 / 60.0 + 59.999996 / 3600);
  for (double fraction : fractions)
    if (!unsigned_type || fraction >= 0.0) degrees.push_back(limit * fraction);
  return degrees;
}

TEST(ParseAngle, ReadsEveryFormattedAngleBackToItsPrintedPrecision) {
  for (int type = ANGLE_SIGNED; type <= ANGLE_SIGNED_2; ++type) {
    for (int notation = ANGLE_PREF_DMS; notation <= ANGLE_PREF_GRADIANS; ++notation) {
      for (int decimals : {-1, 0, 3, 12}) {
        for (double shown : SampleDegrees(type)) {
          const double radians = type == ANGLE_COMPLEMENT ? kHalfPi - shown / kDegreesPerRadian
                                                          : shown / kDegreesPerRadian;
          const std::string text = FormatAngle(radians, type, notation, decimals);
          const AngleParseResult parsed = ParseAngle(text, type, notation);
          // The DM display rounds 59.99...' up to "60'" (its carry is decided at the
          // seconds): that text is refused as entry, with the reason.
          if (text.find(" 60'") != std::string::npos) {
            EXPECT_FALSE(parsed.ok) << text;
            EXPECT_EQ(parsed.error.rfind("minutes must be below 60", 0), 0u) << parsed.error;
            continue;
          }
          ASSERT_TRUE(parsed.ok) << text << ": " << parsed.error;
          std::string range_error;
          EXPECT_TRUE(CheckAngleRange(parsed.radians, type, range_error)) << text << range_error;
          EXPECT_NEAR(parsed.radians, radians, PrintedPrecision(type, notation, decimals))
              << text << " (type " << type << ", notation " << notation << ")";
        }
      }
    }
  }
}

// Angles a type cannot show are refused, not saturated or wrapped into another value.
TEST(CheckAngleRange, RefusesWhatTheTypeCannotShow) {
  struct Case {
    double degrees;
    int type;
    bool ok;
  };
  const Case cases[] = {{90, ANGLE_LATITUDE, true},       {-90, ANGLE_LATITUDE, true},
                        {114.6, ANGLE_LATITUDE, false},   {-180, ANGLE_LONGITUDE, true},
                        {180.01, ANGLE_LONGITUDE, false}, {360, ANGLE_BEARING, true},
                        {-1, ANGLE_BEARING_2, false},     {90.5, ANGLE_SIGNED_90, false},
                        {-90, ANGLE_COMPLEMENT, true},    {91, ANGLE_COMPLEMENT, false},
                        {1e9, ANGLE_SIGNED, false},       {1e300, ANGLE_SIGNED_2, false}};
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(CheckAngleRange(c.degrees / kDegreesPerRadian, c.type, error), c.ok)
        << c.degrees << " type " << c.type << ": " << error;
    EXPECT_EQ(error.empty(), c.ok) << error;
  }
  for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    std::string error;
    EXPECT_FALSE(CheckAngleRange(bad, ANGLE_SIGNED, error));
    EXPECT_EQ(error, "not a finite number");
  }
}

}  // namespace
}  // namespace orvale
