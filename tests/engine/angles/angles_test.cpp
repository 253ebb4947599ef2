#include "orvale/engine/angles/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

namespace orvale {
namespace {

double Radians(double degrees) {
  return degrees / kDegreesPerRadian;
}
double Dms(double degrees, double minutes, double seconds) {
  return Radians(degrees + minutes / 60.0 + seconds / 3600);
}

constexpr double kLatitude51Half = 0.8988445647770796;  // 51.5 degrees north

struct FormatCase {
  double radians;
  int type, notation, decimals;
  char hint;
  const char* expected;
};

void ExpectFormats(const FormatCase& c) {
  EXPECT_EQ(FormatAngle(c.radians, c.type, c.notation, c.decimals, c.hint), c.expected)
      << "radians " << c.radians << ", type " << c.type << ", notation " << c.notation
      << ", decimals " << c.decimals;
}

TEST(FormatAngle, ShowsTheWorkedExamplesByteForByte) {
  const FormatCase cases[] = {
      {kLatitude51Half, ANGLE_LATITUDE, ANGLE_PREF_DMS, 5, 0, "51\xB0 30' 00\".00000N"},
      {kLatitude51Half, ANGLE_LATITUDE, ANGLE_PREF_DM, 7, 0, "51\xB0 30'.0000000N"},
      {kLatitude51Half, ANGLE_LATITUDE, ANGLE_PREF_DEGREES, 9, 0, "51\xB0.500000000N"},
      {Radians(-0.5), ANGLE_SIGNED, ANGLE_PREF_DMS, -1, 0, "-000\xB0 30' 00\".00000"},
      {Dms(359, 59, 59.999996), ANGLE_BEARING, ANGLE_PREF_DMS, 5, 0, "360\xB0 00' 00\".00000"},
      {0.0, ANGLE_LONGITUDE, ANGLE_PREF_DMS, 5, 'W', "000\xB0 00' 00\".00000W"},
      {0.0, ANGLE_LONGITUDE, ANGLE_PREF_DMS, 5, 0, "000\xB0 00' 00\".00000E"},
      {kNotApplicableAngle, ANGLE_SIGNED, ANGLE_PREF_DMS, 5, 0, "n/a"},
      {kNoAngle, ANGLE_SIGNED, ANGLE_PREF_DMS, 5, 0, ""},
      // Unknown types and notations, and values that are not finite, show nothing.
      {0.5, 0, ANGLE_PREF_DMS, -1, 0, ""},
      {0.5, 10, ANGLE_PREF_DMS, -1, 0, ""},
      {0.5, ANGLE_SIGNED, -1, -1, 0, ""},
      {0.5, ANGLE_SIGNED, 6, -1, 0, ""},
      {std::nan(""), ANGLE_SIGNED, ANGLE_PREF_DMS, -1, 0, ""},
      {INFINITY, ANGLE_SIGNED, ANGLE_PREF_DEGREES, -1, 0, ""},
  };
  for (const FormatCase& c : cases)
    ExpectFormats(c);
}

TEST(FormatAngle, KeepsEachNotationsWidthsSignsAndLetters) {
  const FormatCase cases[] = {
      // Zero decimals print no point, so nothing moves and seconds are two digits.
      {Radians(12.25), ANGLE_LATITUDE, ANGLE_PREF_DMS, 0, 0, "12\xB0 15' 00\"N"},
      {Radians(12.25), ANGLE_LATITUDE, ANGLE_PREF_DM, 0, 0, "12\xB0 15'N"},
      {Radians(-12.25), ANGLE_LATITUDE, ANGLE_PREF_DEGREES, 0, 0, "12\xB0S"},
      // Gradians widen the latitude field to three digits.
      {kLatitude51Half, ANGLE_LATITUDE, ANGLE_PREF_GRADIANS, 9, 0, "057g.222222222N"},
      {Radians(-9.0), ANGLE_SIGNED_90, ANGLE_PREF_GRADIANS, 3, 0, "-010g.000"},
      // Signed decimals: the sign takes one position of the field.
      {Radians(51.5), ANGLE_SIGNED, ANGLE_PREF_SIGNED_DEGREES, 9, 0, "+51\xB0.500000000"},
      {Radians(45.5), ANGLE_SIGNED_90, ANGLE_PREF_SIGNED_DEGREES, 3, 0, "+45\xB0.500"},
      {Radians(45.0), ANGLE_BEARING, ANGLE_PREF_SIGNED_DEGREES, 2, 0, "045\xB0.00"},
      {kLatitude51Half, ANGLE_LATITUDE, ANGLE_PREF_SIGNED_DEGREES, 9, 0, "051\xB0.500000000"},
      {-kLatitude51Half, ANGLE_LATITUDE, ANGLE_PREF_SIGNED_DEGREES, 9, 0, "-51\xB0.500000000"},
      {Radians(12.5), ANGLE_LONGITUDE, ANGLE_PREF_SIGNED_DEGREES, 3, 0, "0012\xB0.500"},
      {Radians(-0.5), ANGLE_LONGITUDE, ANGLE_PREF_SIGNED_DEGREES, 3, 0, "-000\xB0.500"},
      // The sign prefix goes in front of the zero-padded degrees.
      {Radians(-0.5), ANGLE_SIGNED, ANGLE_PREF_DEGREES, 4, 0, "-000\xB0.5000"},
      {Radians(10.25), ANGLE_SIGNED_2, ANGLE_PREF_DEGREES, -1, 0, "+010\xB0.25"},
      {Radians(-10.25), ANGLE_SIGNED_90_2, ANGLE_PREF_DMS, -1, 0, "-10\xB0 15' 00\".00"},
      {Radians(45.5), ANGLE_BEARING_2, ANGLE_PREF_DMS, 99, 0, "045\xB0 30' 00\".00"},
      // Complements show 90 degrees minus the value.
      {Radians(30.0), ANGLE_COMPLEMENT, ANGLE_PREF_DMS, 1, 0, "060\xB0 00' 00\".0"},
      // A latitude of exactly zero takes the hint; a tiny negative one is south.
      {0.0, ANGLE_LATITUDE, ANGLE_PREF_DM, 1, 'S', "00\xB0 00'.0S"},
      {-1e-12, ANGLE_LATITUDE, ANGLE_PREF_DM, 1, 0, "00\xB0 00'.0S"},
      {Radians(-33.75), ANGLE_LONGITUDE, ANGLE_PREF_GRADIANS, 2, 'E', "037g.50W"},
      // Seconds that would print as 60 carry, at the threshold of the decimals shown...
      {Dms(10, 29, 59.9999996), ANGLE_BEARING, ANGLE_PREF_DMS, 5, 0, "010\xB0 30' 00\".00000"},
      {Dms(10, 29, 59.6), ANGLE_BEARING, ANGLE_PREF_DMS, 0, 0, "010\xB0 30' 00\""},
      {Dms(10, 29, 59.4), ANGLE_BEARING, ANGLE_PREF_DMS, 0, 0, "010\xB0 29' 59\""},
      // ...but only seconds: decimal minutes may still round up to 60 when printed.
      {Dms(0, 59, 59.9999999), ANGLE_BEARING, ANGLE_PREF_DM, 7, 0, "000\xB0 60'.0000000"},
  };
  for (const FormatCase& c : cases)
    ExpectFormats(c);
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

TEST(BuildAngleTemplate, GivesTheWidestTextAndItsLeadingDigitLimit) {
  const struct {
    int type, notation, decimals;
    const char *text, *digit_limit;
  } cases[] = {
      {ANGLE_LATITUDE, ANGLE_PREF_DMS, 5, "89\xB0 59' 59\".99999N", "9"},
      {ANGLE_BEARING, ANGLE_PREF_DMS, 0, "359\xB0 59' 59\"", "36"},
      {ANGLE_SIGNED, ANGLE_PREF_DM, 7, "+179\xB0 59'.9999999", "18"},
      {ANGLE_LONGITUDE, ANGLE_PREF_DEGREES, 9, "179\xB0.999999999E", "18"},
      {ANGLE_LONGITUDE, ANGLE_PREF_SIGNED_DEGREES, 2, "179\xB0.99E", "18"},
      {ANGLE_LATITUDE, ANGLE_PREF_GRADIANS, 9, "099\xB0.999999999N", "1"},
      {ANGLE_BEARING, ANGLE_PREF_GRADIANS, 3, "399\xB0.999", "4"},
      {ANGLE_SIGNED_90, ANGLE_PREF_SIGNED_DEGREES, 0, "+89\xB0", "9"},
      {ANGLE_BEARING_2, ANGLE_PREF_DMS, -1, "359\xB0 59' 59\".99", "36"},
      {ANGLE_COMPLEMENT, ANGLE_PREF_DEGREES, 1, "179\xB0.9", "18"},
      {0, ANGLE_PREF_DMS, 5, "", ""},
      {ANGLE_SIGNED, 7, 5, "", ""},
  };
  for (const auto& c : cases) {
    const AngleTemplate shape = BuildAngleTemplate(c.type, c.notation, c.decimals);
    EXPECT_EQ(shape.text, c.text) << "type " << c.type << ", notation " << c.notation;
    EXPECT_EQ(shape.digit_limit, c.digit_limit) << "type " << c.type;
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

TEST(FormatCompactDMS, DropsZeroSecondsMinutesAndDecimalsButKeepsTheLetterLast) {
  const struct {
    double radians;
    int type;
    const char* expected;
  } cases[] = {
      {Radians(51.0), ANGLE_LATITUDE, "51\xB0N"},
      {Radians(51.5), ANGLE_LATITUDE, "51\xB0 30'N"},
      {Dms(51, 30, 15.12), ANGLE_LATITUDE, "51\xB0 30' 15\".12N"},
      {-Dms(51, 30, 15), ANGLE_LATITUDE, "51\xB0 30' 15\"S"},
      {Dms(51, 0, 15), ANGLE_LATITUDE, "51\xB0 00' 15\"N"},
      {Radians(-0.5), ANGLE_LONGITUDE, "000\xB0 30'W"},
      {Dms(2, 1, 0.5), ANGLE_LONGITUDE, "002\xB0 01' 00\".5E"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatCompactDMS(c.radians, c.type), c.expected) << c.expected;
  EXPECT_EQ(FormatCompactDMS(kNotApplicableAngle, ANGLE_LATITUDE), "n/a");
  EXPECT_EQ(FormatCompactDMS(0.5, ANGLE_BEARING), "");
}

}  // namespace
}  // namespace orvale
