#include <array>

#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

class CassiniAzimuthalTest : public ::testing::Test {
 protected:
  void Configure(int type, double lat0_deg, double lon0_deg, double fe, double fn, double k0) {
    projection_.m_Type = type;
    projection_.SetParametersDeg(lat0_deg, lon0_deg, fe, fn, k0);
  }

  TestProjection projection_{kClarke1866Row};
};

// With the origin on the equator and no false northing, N = 0 is the equator itself:
// T1 = 0 there, so the latitude is exactly 0 and the longitude lambda0 + D.
TEST_F(CassiniAzimuthalTest, CassiniInvertsTheEquatorWithoutAFootpoint) {
  Configure(PROJECTION_CASSINI_SOLDNER, 0.0, 20.0, 100000.0, 0.0, 0.9999);
  for (const double x : {-150000.0, -2000.0, 35000.0, 250000.0}) {
    SCOPED_TRACE(x);
    double lat = 0.7, lon = 0.0;
    ASSERT_EQ(projection_.GridToGeog(100000.0 + x, 0.0, &lat, &lon), ProjectionStatus::kOk);
    EXPECT_EQ(lat, 0.0);
    EXPECT_NEAR(lon, Radians(20.0) + x / (projection_.spheroid.m_SemiMajorAxis * 0.9999), 1e-15);
  }
}

// Only the Transverse Mercator wraps the longitude difference: here 179.5 W and 180.5 E
// are different inputs, 358.5 degrees apart. Neither family gives convergence or scale.
TEST_F(CassiniAzimuthalTest, DoNotWrapTheLongitudeDifferenceNorGiveConvergenceOrScale) {
  for (const int type : {PROJECTION_CASSINI_SOLDNER, PROJECTION_AZIMUTHAL_EQUIDISTANT}) {
    SCOPED_TRACE(type);
    Configure(type, 0.0, 179.0, 0.0, 0.0, 1.0);
    const GridOutputs west = projection_.Forward(Radians(10.0), Radians(-179.5));
    const GridOutputs east = projection_.Forward(Radians(10.0), Radians(180.5));
    EXPECT_GT(std::fabs(west.easting - east.easting), 1e6);

    Configure(type, 13.5, 144.75, 50000.0, 50000.0, 1.0);
    const RoundTripOutputs x = projection_.BothWays(Radians(13.4), Radians(144.6));
    EXPECT_EQ((std::array{x.convergence, x.scale, x.back_convergence, x.back_scale}),
              (std::array{0.0, 0.0, 0.0, 0.0}));
  }
}

}  // namespace
}  // namespace orvale
