// orvale sun and gyro give, to the last printed digit, what the library computes.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/survey/field_headings.h"
#include "orvale/engine/survey/solar_ephemeris.h"
#include "orvale/engine/survey/sun_shot.h"
#include "run_cli.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using testing::RunCli;
using FieldCommands = testing::TemporaryDrives;

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

TEST_F(FieldCommands, SunGivesTheLibrarysSunShot) {
  std::string almanac = "heading\n";
  for (int m = 1; m <= 12; ++m) {
    almanac += std::to_string(m) + ",6.6,0.0657," + std::to_string(-23 + 3.5 * m) +
               ",1.5,-0.2,0.01,0,11.95,0.01,-0.002,0,0,0.27,0\n";
  }
  WriteBytes(CSunShot::AlmanacPath(2026), almanac);
  const auto run = RunCli({"sun", "--format", "csv", "51:30N 0:10W 2026-06-21 14:30:00 123:45:10"});
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;

  CSunShot shot(FixedClock(LocalDateTime{2026, 6, 21, 14, 30, 0.0, 0, false}));
  shot.m_Latitude = 51.5 * kRadiansPerDegree;
  shot.m_Longitude = -(10.0 / 60.0) * kRadiansPerDegree;
  shot.m_ROAngle = (123 + 45 / 60.0 + 10 / 3600.0) * kRadiansPerDegree;
  ASSERT_TRUE(shot.LoadAlmanac(2026));
  shot.ComputeSun();
  const auto degrees = [](double radians) { return Fixed(radians * kDegreesPerRadian, 9); };
  EXPECT_EQ(run.out, "declination,e_seconds,gha,lha,sun_azimuth,ro_azimuth\n" +
                         degrees(shot.m_Declination) + "," + Fixed(shot.m_E, 2) + "," +
                         degrees(shot.m_GHA) + "," + degrees(shot.m_LHA) + "," +
                         degrees(shot.m_SunAzimuth) + "," + degrees(shot.m_ROAzimuth) + "\n");
  EXPECT_GT(shot.m_SunAzimuth, 3.1416) << "an afternoon sun stands west of south";
}

// The almanac command makes the file the sun command then reads; it keeps a file that
// is there unless told to replace it.
TEST_F(FieldCommands, AlmanacMakesTheFileTheSunShotReads) {
  const auto made = RunCli({"almanac", "--year", "2030"});
  ASSERT_EQ(made.status, cli::kExitOk) << made.err;
  EXPECT_NE(made.out.find("sarsun30.dat: the sun for 2030, declination within 0."),
            std::string::npos)
      << made.out;
  const auto shot = RunCli({"sun", "--format", "json", "-10.5 147 2030-02-11 22:15 10"});
  ASSERT_EQ(shot.status, cli::kExitOk) << shot.err;
  ASSERT_TRUE(shot.out.starts_with("{\"declination\":")) << shot.out;
  const double declination = std::stod(shot.out.substr(15));
  EXPECT_NEAR(declination, SunAt(2030, 2, 11, 22.25 * 3600).declination * kDegreesPerRadian,
              1.0 / 3600)
      << shot.out;
  EXPECT_EQ(RunCli({"almanac", "--year", "2030"}).status, cli::kExitUsage);
  EXPECT_EQ(RunCli({"almanac", "--year", "2030", "--force"}).status, cli::kExitOk);
}

TEST_F(FieldCommands, GyroGivesTheLibrarysGridHeading) {
  const auto run = RunCli({"gyro", "-p", "utm:31", "--format", "csv", "--no-header", "60,9,45"});
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;
  CSpheroid spheroid;
  CProjection projection;
  projection.m_Spheroid = &spheroid;
  ASSERT_TRUE(projection.SetFromIndex(31, PROJECTION_UTM, 0));
  GyroState gyro;
  gyro.m_Position.latitude = 60 * kRadiansPerDegree;
  gyro.m_Position.longitude = 9 * kRadiansPerDegree;
  gyro.m_TrueDirection = 45.0;
  ASSERT_EQ(ComputeGyro(projection, gyro), ProjectionStatus::kOk);
  const tagCOORD& p = gyro.m_Position;
  EXPECT_EQ(run.out, Fixed(p.easting, 3) + "," + Fixed(p.northing, 3) + "," +
                         Fixed(p.convergence, 9) + "," + Fixed(p.scale_factor, 10) + "," +
                         Fixed(gyro.m_GridHeading * kRadiansPerDegree * kDegreesPerRadian, 9) +
                         "\n");
}

}  // namespace
}  // namespace orvale
