#include "orvale/engine/angles/angle_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "orvale/engine/angles/angles.h"

namespace orvale {
namespace {

double Radians(double degrees) {
  return degrees / kDegreesPerRadian;
}

TEST(ParseAngle, ReadsDisplayedAndTypedAngles) {
  const struct {
    const char* text;
    int type, notation;
    double expected_radians;
  } readings[] = {
      {"51\xB0 30' 00\".00000N", ANGLE_LATITUDE, ANGLE_PREF_DMS, Radians(51.5)},
      {"057g.222222222S", ANGLE_LATITUDE, ANGLE_PREF_GRADIANS, Radians(-51.5)},
      {"-51\xB0.500000000", ANGLE_LATITUDE, ANGLE_PREF_SIGNED_DEGREES, Radians(-51.5)},
      {"-000\xB0 30' 00\".00000", ANGLE_SIGNED, ANGLE_PREF_DMS, Radians(-0.5)},
      {"51 30 15.2 N", ANGLE_LATITUDE, ANGLE_PREF_DMS, Radians(51.504222222222)},
      {"s51 30", ANGLE_LATITUDE, ANGLE_PREF_DMS, Radians(-51.5)},
      {"  -51.5S  ", ANGLE_LATITUDE, ANGLE_PREF_DMS, Radians(-51.5)},
      {"51:30:15", ANGLE_SIGNED, ANGLE_PREF_DMS, Radians(51.504166666667)},
      {"W 12 30", ANGLE_LONGITUDE, ANGLE_PREF_DM, Radians(-12.5)},
      {"12.5e", ANGLE_LONGITUDE, ANGLE_PREF_DEGREES, Radians(12.5)},
      {"57.5", ANGLE_BEARING, ANGLE_PREF_GRADIANS, 57.5 / kGradiansPerRadian},
      {"57.5G", ANGLE_BEARING, ANGLE_PREF_DMS, 57.5 / kGradiansPerRadian},
      {"30'", ANGLE_SIGNED, ANGLE_PREF_DMS, Radians(0.5)},
      {"-36''", ANGLE_SIGNED, ANGLE_PREF_DMS, Radians(-0.01)},
      {"51 30' 18", ANGLE_BEARING, ANGLE_PREF_DMS, Radians(51.505)},
      {"51.5\xB0", ANGLE_BEARING, ANGLE_PREF_DMS, Radians(51.5)},
      {"060\xB0 00' 00\".00000", ANGLE_COMPLEMENT, ANGLE_PREF_DMS, kHalfPi - Radians(60.0)},
      {"90N", ANGLE_LATITUDE, ANGLE_PREF_DMS, Radians(90.0)},
      {"360", ANGLE_BEARING_2, ANGLE_PREF_DMS, Radians(360.0)},
      // A last field rounded up to 60 by the display reads as the carry it stands for.
      {"000\xB0 60'.0000000", ANGLE_BEARING, ANGLE_PREF_DM, Radians(1.0)},
      {"10 29 60", ANGLE_BEARING, ANGLE_PREF_DMS, Radians(10.5)},
  };
  for (const auto& r : readings) {
    const AngleParseResult parsed = ParseAngle(r.text, r.type, r.notation);
    ASSERT_TRUE(parsed.ok && parsed.error.empty()) << r.text << ": " << parsed.error;
    EXPECT_NEAR(parsed.radians, r.expected_radians, 1e-11) << r.text;
  }
}

TEST(ParseAngle, RefusesMalformedTextNamingTheProblem) {
  const std::tuple<const char*, int, const char*> refusals[] = {
      {"", ANGLE_SIGNED, "empty text"},
      {" \t ", ANGLE_SIGNED, "empty text"},
      {"n/a", ANGLE_SIGNED, "n/a marks an angle that does not apply; it has no value"},
      {"51 30", 0, "unknown angle type 0"},
      {"N", ANGLE_LATITUDE, "no number in the text"},
      {"51 75", ANGLE_LATITUDE, "minutes must be below 60: 75"},
      {"51 60 10", ANGLE_LATITUDE, "minutes must be below 60: 60"},
      {"51 30 60.5", ANGLE_LATITUDE, "seconds must be below 60: 60.5"},
      {"51.5E", ANGLE_LATITUDE, "a latitude takes N or S, not E"},
      {"12n", ANGLE_LONGITUDE, "a longitude takes E or W, not N"},
      {"45N", ANGLE_BEARING, "a bearing takes no quadrant letter: N"},
      {"-45", ANGLE_BEARING, "a bearing takes no minus sign"},
      {"-51.5N", ANGLE_LATITUDE, "the sign - disagrees with the letter N"},
      {"91", ANGLE_LATITUDE, "a latitude cannot exceed 90\xB0: 91\xB0"},
      {"100.5g", ANGLE_SIGNED_90, "a signed angle cannot exceed 100g: 100.5g"},
      {"180 00 01W", ANGLE_LONGITUDE, "a longitude cannot exceed 180\xB0: 180.0002778\xB0"},
      {"360.5", ANGLE_BEARING, "a bearing cannot exceed 360\xB0: 360.5\xB0"},
      {"51x5", ANGLE_SIGNED, "unexpected character 'x' at position 3"},
      {"51\x07", ANGLE_SIGNED, "unexpected character 0x07 at position 3"},
      {"g", ANGLE_SIGNED, "unexpected character 'g' at position 1"},
      {"1 2 3 4", ANGLE_SIGNED, "too many numbers: 4 (degrees, minutes and seconds at most)"},
      {"51.5 30", ANGLE_SIGNED, "only the last number may have decimals: 51.5"},
      {"51.5.3", ANGLE_SIGNED, "a second decimal point at position 5"},
      {".", ANGLE_SIGNED, "a decimal point without digits at position 1"},
      {"51 -30", ANGLE_SIGNED, "a sign must come before the number at position 4"},
      {"+-5", ANGLE_SIGNED, "a second sign at position 2"},
      {"51 N 30", ANGLE_LATITUDE, "a quadrant letter must come first or last: N at position 4"},
      {"N51S", ANGLE_LATITUDE, "a second quadrant letter at position 4"},
      {"57g 30'", ANGLE_BEARING, "gradians stand alone, without degrees, minutes or seconds"},
      {"30' 51\xB0", ANGLE_BEARING,
       "degrees, minutes and seconds must come once each, in that order"},
      {"5\xB0 6\xB0", ANGLE_BEARING,
       "degrees, minutes and seconds must come once each, in that order"},
      {"51\xB0 30 15 10", ANGLE_BEARING, "a number after the seconds: 10"},
      {"51\xB0.5'", ANGLE_BEARING, "two unit symbols on one number at position 1"},
  };
  for (const auto& [text, type, error] : refusals) {
    const AngleParseResult parsed = ParseAngle(text, type);
    EXPECT_FALSE(parsed.ok) << text;
    EXPECT_EQ(parsed.error, error) << text;
  }
}

// Half a unit of the last printed digit, in radians.
double PrintedPrecision(int type, int notation, int decimals) {
  if (decimals < 0) decimals = DefaultDecimals(type, notation);
  const double unit_degrees[] = {1 / 3600.0, 1 / 60.0, 1.0, 1.0, 0.9};
  return Radians(unit_degrees[notation] * 0.5 * std::pow(10.0, -decimals)) * (1 + 1e-9) + 1e-15;
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
          const double radians =
              type == ANGLE_COMPLEMENT ? kHalfPi - Radians(shown) : Radians(shown);
          const std::string text = FormatAngle(radians, type, notation, decimals);
          const AngleParseResult parsed = ParseAngle(text, type, notation);
          ASSERT_TRUE(parsed.ok) << text << ": " << parsed.error;
          EXPECT_NEAR(parsed.radians, radians, PrintedPrecision(type, notation, decimals))
              << text << " (type " << type << ", notation " << notation << ")";
        }
      }
    }
  }
}

}  // namespace
}  // namespace orvale
