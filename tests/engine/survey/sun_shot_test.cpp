// The sun shot: almanac files, the calendar, and the sun's and the R.O.'s azimuths
// against the sun's direction worked out as a vector, apart from the hour-angle
// formula the computation uses.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/survey/sun_shot.h"
#include "orvale/storage/config_file.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

constexpr double kPi = 3.141592653589793;

// A heading line and `lines` months whose declination and E are constant (degrees and
// hours), with a distinct semi-diameter so that each month's place can be seen.
std::string Almanac(int lines, double declination, double e_hours, int first_month = 1) {
  std::string text = "Month,R0,R1,D0,D1,D2,D3,D4,E0,E1,E2,E3,E4,SD0,SD1\n";
  for (int k = 0; k < lines; ++k) {
    text += std::to_string(first_month + k) + ",6.6,0.0657," + std::to_string(declination) +
            ",0,0,0,0," + std::to_string(e_hours) + ",0,0,0,0,0.27" + std::to_string(k) + ",0\n";
  }
  return text;
}

class SunShot : public testing::TemporaryDrives {
 protected:
  void WriteAlmanac(int year, const std::string& text) {
    WriteBytes(CSunShot::AlmanacPath(year), text);
  }
  // Noon UT on 1 January 2024, in a zone one hour east of Greenwich.
  FixedClock clock_{LocalDateTime{2024, 1, 1, 13, 0, 0.0, 60, false}};
};

TEST_F(SunShot, LoadsTwelveDataLinesAndNoOtherNumber) {
  WriteAlmanac(2024, Almanac(12, 0, 12));
  CSunShot shot(clock_);
  EXPECT_EQ(shot.m_AlmanacYear, 2024) << "loaded at construction, for the clock's year";
  EXPECT_EQ(CSunShot::AlmanacFileName(2024), "sarsun24.dat");
  EXPECT_EQ(CSunShot::AlmanacFileName(2100), "sarsun00.dat");
  EXPECT_DOUBLE_EQ(shot.m_Months[11].m_SemiDiameter[0], 0.2711);
  EXPECT_DOUBLE_EQ(shot.m_Months[3].m_ECheck, 12.0);

  WriteAlmanac(2025, Almanac(11, 0, 12));
  EXPECT_FALSE(shot.LoadAlmanac(2025));
  EXPECT_EQ(shot.m_AlmanacYear, 0) << "the cleared table is no year's";
  EXPECT_TRUE(shot.LoadAlmanac(2024)) << "read again, not taken from the cleared table";
  EXPECT_DOUBLE_EQ(shot.m_Months[3].m_ECheck, 12.0);
  WriteAlmanac(2026, Almanac(13, 0, 12));
  EXPECT_FALSE(shot.LoadAlmanac(2026));
  // A month outside 1..12 counts as a line and is not kept; a line with a field
  // missing, or one that is not a number, ends the reading.
  WriteAlmanac(2027, Almanac(11, 0, 12) + "13,1,1,1,1,1,1,1,1,1,1,1,1,1,1\n");
  ASSERT_TRUE(shot.LoadAlmanac(2027));
  EXPECT_EQ(shot.m_Months[11].m_DeclinationCheck, 0.0) << "December never given";
  WriteAlmanac(2028, Almanac(6, 0, 12) + "7,1,1,1,1,1,nan,1,1,1,1,1,1,1,1\n" +
                         Almanac(5, 0, 12, 8).substr(52));
  EXPECT_FALSE(shot.LoadAlmanac(2028));
  EXPECT_FALSE(shot.LoadAlmanac(1999)) << "no file";
}

TEST_F(SunShot, FindsTheDayOfTheMonthByTheGregorianRule) {
  EXPECT_TRUE(IsGregorianLeapYear(2000));
  EXPECT_TRUE(IsGregorianLeapYear(2024));
  EXPECT_FALSE(IsGregorianLeapYear(1900));
  EXPECT_FALSE(IsGregorianLeapYear(2100));
  // Day 60 is 29 February in a leap year, 1 March otherwise: the month shows in the
  // coefficients used (February's declination 2, March's 3).
  for (const auto& [year, declination] : {std::pair{2024, 2.0}, std::pair{2023, 3.0}}) {
    std::string text = "heading\n";
    for (int m = 1; m <= 12; ++m)
      text += std::to_string(m) + ",0,0," + std::to_string(m) + ",0,0,0,0,12,0,0,0,0,0,0\n";
    WriteAlmanac(year, text);
    CSunShot shot(clock_);
    ASSERT_TRUE(shot.LoadAlmanac(year));
    shot.m_DayOfYear = 60;
    shot.ComputeSun();
    EXPECT_NEAR(shot.m_Declination * kDegreesPerRadian, declination, 1e-9) << year;
  }
}

TEST_F(SunShot, WithNoCoefficientsTheHourAngleIsTheTime) {
  CSunShot shot(clock_);  // no almanac: a clear table
  EXPECT_EQ(shot.m_AlmanacYear, 0);
  EXPECT_EQ(shot.m_DayOfYear, 1);
  EXPECT_EQ(shot.m_Time, 12 * 3600.0) << "universal time, not the zone's";
  shot.m_Time = 3 * 3600.0 + 25.0;
  shot.ComputeSun();
  EXPECT_EQ(shot.m_Declination, 0.0);
  EXPECT_EQ(shot.m_E, 0.0);
  EXPECT_EQ(shot.m_GHATime, shot.m_Time);
  // 18 hours of hour angle (270 degrees) is shown folded, as 90 degrees east.
  shot.m_Time = 18 * 3600.0;
  shot.ComputeSun();
  EXPECT_NEAR(shot.m_LHA * kDegreesPerRadian, 90.0, 1e-9);
  EXPECT_NEAR(shot.m_LHATime, 6 * 3600.0, 1e-6);
}

// An E of many days either way (a damaged almanac) still gives an hour angle of one turn.
TEST_F(SunShot, FoldsTheGreenwichHourAngleIntoOneDay) {
  for (const double e_hours : {-100.25, 11.5, 1000.5}) {
    WriteAlmanac(2024, Almanac(12, 0, e_hours));
    const CSunShot shot(clock_);  // noon UT
    ASSERT_EQ(shot.m_AlmanacYear, 2024);
    const double expected = std::fmod(std::fmod(12.0 + e_hours, 24.0) + 24.0, 24.0) * 3600.0;
    EXPECT_NEAR(shot.m_GHATime, expected, 1e-6) << e_hours;
    EXPECT_NEAR(shot.m_GHA, expected / 86400.0 * 2 * kPi, 1e-12) << e_hours;
  }
}

TEST_F(SunShot, TakesUniversalTimeAcrossMidnightAndTheYearsEnd) {
  // 00:30 on 1 January 2025 an hour east of Greenwich is 23:30 UT on 31 December 2024.
  const CSunShot shot(FixedClock(LocalDateTime{2025, 1, 1, 0, 30, 0.0, 60, false}));
  EXPECT_EQ(shot.m_DayOfYear, 366);
  EXPECT_NEAR(shot.m_Time, 23.5 * 3600.0, 1e-9);
}

// The sun's direction as a vector: hour angle H west of the meridian, declination d,
// observer at latitude p; east, north and up components, azimuth clockwise from north.
double VectorAzimuth(double p, double d, double h) {
  const double east = -std::cos(d) * std::sin(h);
  const double north = std::sin(d) * std::cos(p) - std::cos(d) * std::sin(p) * std::cos(h);
  const double azimuth = std::atan2(east, north);
  return azimuth < 0.0 ? azimuth + 2 * kPi : azimuth;
}

// Morning and afternoon, both hemispheres, eastern and western longitudes (which
// carry the hour angle past two turns): the sun's azimuth is clockwise from north
// whichever side of the meridian the sun stands.
TEST_F(SunShot, GivesTheSunsAzimuthClockwiseFromNorthOnBothSidesOfTheMeridian) {
  const double declination = 20.0, e_hours = 12.0 - 0.05;
  WriteAlmanac(2024, Almanac(12, declination, e_hours));
  CSunShot shot(clock_);
  ASSERT_EQ(shot.m_AlmanacYear, 2024);
  int cases = 0;
  for (const double latitude : {-52.0, -10.0, 0.0, 35.0, 60.0}) {
    for (const double longitude : {-170.0, -75.0, 0.0, 3.0, 120.0, 179.0}) {
      for (double hours = 0.5; hours < 24.0; hours += 1.75, ++cases) {
        shot.m_Latitude = latitude * kRadiansPerDegree;
        shot.m_Longitude = longitude * kRadiansPerDegree;
        shot.m_Time = hours * 3600.0;
        shot.m_ROAngle = 0.7;
        shot.ComputeSun();
        const double hour_angle = (hours + e_hours) * 15.0 * kRadiansPerDegree + shot.m_Longitude;
        const double expected =
            VectorAzimuth(shot.m_Latitude, declination * kRadiansPerDegree, hour_angle);
        EXPECT_NEAR(std::remainder(shot.m_SunAzimuth - expected, 2 * kPi), 0.0, 1e-9)
            << latitude << " " << longitude << " " << hours;
        EXPECT_GE(shot.m_LHA, 0.0);
        EXPECT_LE(shot.m_LHA, kPi);
        EXPECT_GE(shot.m_ROAzimuth, 0.0);
        EXPECT_LT(shot.m_ROAzimuth, 2 * kPi);
        EXPECT_NEAR(std::remainder(shot.m_ROAzimuth - (shot.m_SunAzimuth - 0.7), 2 * kPi), 0.0,
                    1e-12);
      }
    }
  }
  EXPECT_GT(cases, 300);
}

TEST_F(SunShot, KeepsPositionAndAngleInItsSettings) {
  {
    CSunShot shot(clock_);
    EXPECT_EQ(shot.m_Latitude, 0.0) << "no settings file yet";
    shot.m_Latitude = 0.9;
    shot.m_Longitude = -0.0261799387799;
    shot.m_ROAngle = 4.1;
    ASSERT_TRUE(shot.SaveSettings());
  }
  const CSunShot again(clock_);
  EXPECT_DOUBLE_EQ(again.m_Latitude, 0.9);
  EXPECT_DOUBLE_EQ(again.m_Longitude, -0.0261799387799);
  EXPECT_DOUBLE_EQ(again.m_ROAngle, 4.1);
  CConfigFile file;
  ASSERT_TRUE(file.OpenForRead("SunAzimuth"));
  std::string line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, "Latitude = 0.9000000000000000");
}

}  // namespace
}  // namespace orvale
