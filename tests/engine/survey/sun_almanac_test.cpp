// The sun's ephemeris against Meeus's worked example and PyEphem, the monthly
// polynomials against the ephemeris, and a sun shot from a made almanac against the
// sun's direction worked out from the ephemeris itself.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "orvale/engine/survey/solar_ephemeris.h"
#include "orvale/engine/survey/sun_almanac.h"
#include "orvale/engine/survey/sun_shot.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kArcSecond = kPi / 180.0 / 3600.0;

double ArcSeconds(double radians) {
  return std::remainder(radians, 2 * kPi) / kArcSecond;
}

// Astronomical Algorithms, example 25.b: 1992 October 13.0 dynamical time.
TEST(SolarEphemeris, GivesMeeussWorkedExample) {
  const SunPosition sun = SunAt(1992, 10, 13, -DeltaT(1992 + 9.5 / 12));
  EXPECT_NEAR(sun.declination * 180 / kPi, -7.783871, 0.2 / 3600);
  EXPECT_NEAR(sun.right_ascension * 180 / kPi, 198.378178, 0.3 / 3600);
  EXPECT_NEAR(sun.distance, 0.99760775, 1e-8);
}

TEST(SolarEphemeris, AgreesWithPyEphemWithinTwoArcSeconds) {
  for (const testing::TextRow& row : testing::ReadTextTable("survey/sun_ephemeris.txt", 3)) {
    SCOPED_TRACE(row.where);
    const auto when = row.Numbers(0);
    const SunPosition sun = SunAt(static_cast<int>(when[0]), static_cast<int>(when[1]),
                                  static_cast<int>(when[2]), when[3]);
    EXPECT_NEAR(ArcSeconds(sun.declination - std::stod(row[1]) * kPi / 180), 0.0, 2.0);
    EXPECT_NEAR(ArcSeconds(sun.gha - std::stod(row[2]) * kPi / 180), 0.0, 2.0);
  }
}

double Polynomial(const std::array<double, 5>& a, double x) {
  return (((a[4] * x + a[3]) * x + a[2]) * x + a[1]) * x + a[0];
}

// At every hour of every month, as a sun shot reads the polynomials.
TEST(SunAlmanac, PolynomialsFollowTheEphemerisEveryHourOfTheYear) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (const int year : {1990, 2000, 2024, 2050}) {
    const SunAlmanac almanac = FitSunAlmanac(year);
    double worst_declination = 0.0, worst_e = 0.0;
    for (int month = 1; month <= 12; ++month) {
      const SunAlmanacMonth& record = almanac.months[static_cast<std::size_t>(month - 1)];
      const int days = kDays[month - 1] + (month == 2 && IsGregorianLeapYear(year));
      for (int day = 1; day <= days; ++day) {
        for (int hour = 0; hour < 24; ++hour) {
          const SunPosition sun = SunAt(year, month, day, hour * 3600.0);
          const double x = (day + hour / 24.0) / 32.0;
          worst_declination =
              std::max(worst_declination,
                       std::fabs(ArcSeconds(Polynomial(record.m_Declination, x) * kPi / 180 -
                                            sun.declination)));
          worst_e = std::max(
              worst_e,
              std::fabs(std::remainder(Polynomial(record.m_E, x) - sun.e_hours, 24.0)) * 3600.0);
        }
      }
    }
    EXPECT_LT(worst_declination, 1.0) << year;
    EXPECT_LT(worst_e, 0.1) << year;
    EXPECT_NEAR(almanac.worst_declination / kArcSecond, worst_declination, 0.2) << year;
  }
}

using SunAlmanacFile = testing::TemporaryDrives;

// The sun's azimuth clockwise from north and its altitude, from its hour angle and
// declination.
double Azimuth(double latitude, double declination, double hour_angle, double& altitude) {
  const double east = -std::cos(declination) * std::sin(hour_angle);
  const double north = std::sin(declination) * std::cos(latitude) -
                       std::cos(declination) * std::sin(latitude) * std::cos(hour_angle);
  altitude = std::atan2(std::sin(declination) * std::sin(latitude) +
                            std::cos(declination) * std::cos(latitude) * std::cos(hour_angle),
                        std::hypot(east, north));
  return std::atan2(east, north);
}

TEST_F(SunAlmanacFile, LoadsAndGivesTheEphemerisSunWithinTwoArcSeconds) {
  const SunAlmanac almanac = FitSunAlmanac(2031);
  const std::string text = SunAlmanacText(almanac);
  EXPECT_EQ(SunAlmanacYear(text.substr(0, text.find('\n'))), 2031);
  WriteBytes(CSunShot::AlmanacPath(2031), text);
  CSunShot shot(FixedClock(LocalDateTime{2031, 3, 1, 9, 0, 0.0, 0, false}));
  ASSERT_EQ(shot.m_AlmanacYear, 2031);
  int shots = 0;
  for (const double latitude : {-45.0, 5.0, 52.0}) {
    for (const double longitude : {-120.0, -1.5, 77.0}) {
      for (int day = 3; day <= 360; day += 29) {
        for (const double hour : {7.25, 11.5, 16.75}) {
          shot.m_Latitude = latitude * kPi / 180;
          shot.m_Longitude = longitude * kPi / 180;
          shot.m_DayOfYear = day;
          shot.m_Time = hour * 3600.0;
          shot.ComputeSun();
          const SunPosition sun = SunAt(2031, 1, day, hour * 3600.0);  // day of January
          double altitude = 0.0;
          const double expected =
              Azimuth(shot.m_Latitude, sun.declination, sun.gha + shot.m_Longitude, altitude);
          // A sun shot is taken with the sun up and low, where its azimuth turns no
          // faster than its hour angle; near the zenith (or the nadir) 0.1 s of E may
          // move it by more than the 2" held here.
          if (altitude < 0.0 || altitude > 60.0 * kPi / 180) continue;
          EXPECT_NEAR(ArcSeconds(shot.m_SunAzimuth - expected), 0.0, 2.0)
              << latitude << " " << longitude << " day " << day << " " << hour << " h";
          ++shots;
        }
      }
    }
  }
  EXPECT_GT(shots, 100);
  // sarsun31.dat names 2031: it is no almanac for 2131.
  EXPECT_FALSE(shot.LoadAlmanac(2131));
  EXPECT_EQ(SunAlmanacYear("Sun almanac for 19x0: ..."), 0);
  EXPECT_EQ(SunAlmanacYear("SALS 2031"), 0);
}

}  // namespace
}  // namespace orvale
