// Gyro and heading: the grid heading from a true direction and the projection's
// convergence, and the tilt and its heading from pitch and roll.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/survey/field_headings.h"
#include "orvale/storage/config_file.h"
#include "support/projection_fixture.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

TEST(Heading, GivesTheTiltAndItsHeadingAsTheTableSays) {
  for (const testing::TextRow& row : testing::ReadTextTable("survey/headings.txt", 4)) {
    SCOPED_TRACE(row.where);
    const double v[4] = {std::stod(row[0]), std::stod(row[1]), std::stod(row[2]),
                         std::stod(row[3])};
    HeadingState state{.m_Pitch = v[0], .m_Roll = v[1]};
    ComputeHeading(state);
    EXPECT_NEAR(state.m_Tilt, v[2], 1e-8);
    EXPECT_NEAR(state.m_Heading, v[3], 1e-8);
  }
}

class Gyro : public testing::TemporaryDrives {
 protected:
  Gyro() { projection_.m_Spheroid = &spheroid_; }
  CSpheroid spheroid_;
  CProjection projection_;
};

// The convergence comes from the projection (degrees in the position afterwards) and
// is taken off the true direction, the result always within [0, 360).
TEST_F(Gyro, TakesTheProjectionsConvergenceOffTheTrueDirection) {
  ASSERT_TRUE(projection_.SetFromIndex(31, PROJECTION_UTM, 0));  // zone 31: 3 E
  GyroState gyro;
  gyro.m_Position.latitude = testing::Radians(60.0);
  gyro.m_Position.longitude = testing::Radians(9.0);
  double convergence = 0.0;
  ASSERT_EQ(projection_.GeogToGrid(gyro.m_Position.latitude, gyro.m_Position.longitude, nullptr,
                                   nullptr, &convergence),
            ProjectionStatus::kOk);
  const double degrees = convergence * kDegreesPerRadian;
  ASSERT_GT(degrees, 5.0);  // six degrees east of the zone's meridian
  // Below, around and above the convergence, and more than a turn below it.
  for (const auto& [true_direction, expected] :
       {std::pair{degrees - 2.0, 358.0}, std::pair{degrees + 1.0, 1.0},
        std::pair{degrees + 359.0, 359.0}, std::pair{degrees - 722.0, 358.0}}) {
    gyro.m_TrueDirection = true_direction;
    ASSERT_EQ(ComputeGyro(projection_, gyro), ProjectionStatus::kOk);
    EXPECT_NEAR(gyro.m_GridHeading, expected, 1e-9) << true_direction;
    EXPECT_DOUBLE_EQ(gyro.m_Position.convergence, degrees);
  }
  EXPECT_NEAR(gyro.m_Position.scale_factor, 1.0, 0.01);
  EXPECT_GT(gyro.m_Position.easting, 800000.0);

  gyro.m_Position.latitude = std::nan("");
  EXPECT_NE(ComputeGyro(projection_, gyro), ProjectionStatus::kOk);
  EXPECT_TRUE(std::isnan(gyro.m_GridHeading)) << "no heading without a position";
}

TEST_F(Gyro, HeadingSettingsKeepPitchAndRollToThreeDecimals) {
  HeadingState state{.m_Pitch = 1.23456, .m_Roll = -7.5};
  ASSERT_TRUE(SaveHeadingSettings(state));
  CStdioFile file;
  ASSERT_TRUE(file.Open(CConfigFile().GetSettingsPath("Compute Heading"), FileMode::ReadText));
  std::string first, second;
  ASSERT_TRUE(file.ReadString(first) && file.ReadString(second));
  EXPECT_EQ(first, "Pitch = 1.235");
  EXPECT_EQ(second, "Roll = -7.500");
  static_cast<void>(file.Close());
  HeadingState read;
  ReadHeadingSettings(read);
  EXPECT_EQ(read.m_Pitch, 1.235);
  EXPECT_EQ(read.m_Roll, -7.5);
}

}  // namespace
}  // namespace orvale
