#include "orvale/engine/projection/internal/spheroid_formulas.h"
#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

class PolyconicTest : public ::testing::Test {
 protected:
  void SetUpOrigin(double origin_latitude_deg) {
    polyconic_.SetParametersDeg(origin_latitude_deg, -54.0, 5000000.0, 10000000.0, 1.0);
  }

  // Scale along the meridian from the forward itself, by central differences.
  double MeridianScale(double latitude, double longitude) {
    const double h = 1e-6;
    const GridOutputs s = polyconic_.Forward(latitude - h, longitude);
    const GridOutputs n = polyconic_.Forward(latitude + h, longitude);
    const double rho = CurvatureAt(polyconic_.spheroid, std::sin(latitude)).rho;
    return std::hypot(n.easting - s.easting, n.northing - s.northing) / (2.0 * h * rho);
  }

  TestProjection polyconic_{kSad1969Row, PROJECTION_POLYCONIC};
};

// The equator is a straight line of true length at -M0 from the origin; with the origin off
// it the false northing rounds y = -M0 and the inverse's general path must land on it too.
TEST_F(PolyconicTest, EquatorIsAStraightLineOfTrueLengthBothWays) {
  const double a = polyconic_.spheroid.m_SemiMajorAxis;
  for (const double origin : {0.0, 10.0}) {
    SetUpOrigin(origin);
    const double northing = 10000000.0 - MeridianDistance(polyconic_.spheroid, Radians(origin));
    for (const double dlon_deg : {-30.0, -5.0, 0.0, 12.0}) {
      SCOPED_TRACE(::testing::Message() << "origin " << origin << ", dlon " << dlon_deg);
      const double lon = polyconic_.m_CentralMeridian + Radians(dlon_deg);
      const RoundTripOutputs x = polyconic_.BothWays(0.0, lon, /*seed=*/1.0);
      EXPECT_NEAR(x.easting, 5000000.0 + a * Radians(dlon_deg), 1e-6);
      EXPECT_NEAR(x.northing, northing, 1e-6);
      EXPECT_NEAR(x.back_latitude, 0.0, 1e-15);
      EXPECT_NEAR(x.back_longitude, lon, 1e-15);
      EXPECT_NEAR(x.back_scale, x.scale, 1e-12);
    }
  }
}

// The scale is the meridian's, both ways: (1 - e^2) cos D in the denominator (with
// 1 - e^2 cos D it would read low by about 1 - cos D: 3e-8 at 9 degrees out, 1.3e-5
// at 25). The convergence is the same both ways, east of the central meridian in the
// north and west of it in the south, as the parallels' arcs bend up towards the ends.
TEST_F(PolyconicTest, ScaleIsTheMeridianScaleOfTheGridBothWays) {
  SetUpOrigin(0.0);
  for (const double lat : {-40.0, -6.0, 0.5, 25.0}) {
    for (const double dlon : {0.0, 4.0, -9.0, 25.0}) {
      SCOPED_TRACE(::testing::Message() << lat << ", " << dlon);
      const double latitude = Radians(lat);
      const double longitude = polyconic_.m_CentralMeridian + Radians(dlon);
      const RoundTripOutputs x = polyconic_.BothWays(latitude, longitude);
      EXPECT_NEAR(x.scale, MeridianScale(latitude, longitude), 2e-9);
      EXPECT_NEAR(x.back_scale, x.scale, 1e-12);
      EXPECT_NEAR(x.back_convergence, x.convergence, 1e-11);
      EXPECT_GE(x.convergence * lat * dlon, 0.0);
    }
  }
}

}  // namespace
}  // namespace orvale
