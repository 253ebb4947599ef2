#include <array>
#include <string>

#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

// With the origin on the equator and no false northing, N = 0 is the equator itself:
// T1 = 0 there, so the latitude is exactly 0 and the longitude lambda0 + D.
TEST(CassiniAzimuthalTest, CassiniInvertsTheEquatorWithoutAFootpoint) {
  TestProjection cassini("row=7", "type=7 lon0=20 fe=100000 k0=0.9999");  // Clarke 1866
  for (const double x : {-150000.0, -2000.0, 35000.0, 250000.0}) {
    SCOPED_TRACE(x);
    double lat = 0.7, lon = 0.0;
    ASSERT_EQ(cassini.GridToGeog(100000.0 + x, 0.0, &lat, &lon), ProjectionStatus::kOk);
    EXPECT_EQ(lat, 0.0);
    EXPECT_NEAR(lon, Radians(20.0) + x / (cassini.spheroid.m_SemiMajorAxis * 0.9999), 1e-15);
  }
}

// Only the Transverse Mercator wraps the longitude difference: here 179.5 W and 180.5 E
// are different inputs, 358.5 degrees apart. Neither family gives convergence or scale.
TEST(CassiniAzimuthalTest, DoNotWrapTheLongitudeDifferenceNorGiveConvergenceOrScale) {
  for (const std::string type : {"type=7", "type=8"}) {
    SCOPED_TRACE(type);
    TestProjection antimeridian("row=7", type + " lon0=179");
    const GridOutputs west = antimeridian.Forward(Radians(10.0), Radians(-179.5));
    const GridOutputs east = antimeridian.Forward(Radians(10.0), Radians(180.5));
    EXPECT_GT(std::fabs(west.easting - east.easting), 1e6);

    TestProjection guam("row=7", type + " lat0=13.5 lon0=144.75 fe=50000 fn=50000");
    const RoundTripOutputs x = guam.BothWays(Radians(13.4), Radians(144.6));
    EXPECT_EQ((std::array{x.convergence, x.scale, x.back_convergence, x.back_scale}),
              (std::array{0.0, 0.0, 0.0, 0.0}));
  }
}

}  // namespace
}  // namespace orvale
