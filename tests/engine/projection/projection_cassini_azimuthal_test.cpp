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

// 179.5 W and 180.5 E are one meridian, 1.5 degrees east of a central meridian of
// 179 E, whichever way the longitude is written. Both directions give the meridian's
// convergence and scale at the point, the same both ways.
TEST(CassiniAzimuthalTest, TakeTheLongitudeTheShortWayAndGiveConvergenceAndScaleBothWays) {
  for (const std::string type : {"type=7", "type=8"}) {
    SCOPED_TRACE(type);
    TestProjection antimeridian("row=7", type + " lon0=179");
    const GridOutputs west = antimeridian.Forward(Radians(10.0), Radians(-179.5));
    const GridOutputs east = antimeridian.Forward(Radians(10.0), Radians(180.5));
    EXPECT_EQ(west.status, ProjectionStatus::kOk);
    EXPECT_NEAR(west.easting, east.easting, 1e-6);
    EXPECT_NEAR(west.northing, east.northing, 1e-6);
    EXPECT_NEAR(west.easting, 0.0, 200000.0);

    TestProjection guam("row=7", type + " lat0=13.5 lon0=144.75 fe=50000 fn=50000");
    const RoundTripOutputs x = guam.BothWays(Radians(13.4), Radians(145.6));
    EXPECT_GT(x.convergence, Radians(0.1));  // east of the central meridian in the north
    EXPECT_GT(x.scale, 1.0);
    EXPECT_NEAR(x.back_convergence, x.convergence, 1e-11);
    EXPECT_NEAR(x.back_scale, x.scale, 1e-11);
  }
}

}  // namespace
}  // namespace orvale
