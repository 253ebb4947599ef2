#include <array>
#include <limits>
#include <string>

#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

// The British grid's parameters, on WGS84 unless said otherwise.
constexpr const char* kGrid = " lat0=49 lon0=-2 k0=0.9996012717 fe=400000 fn=-100000";

class TransverseMercatorTest : public ::testing::Test {
 protected:
  // Sets the projection up from a line as the case files write it.
  void Project(const std::string& line) { SetUpProjection(tm_, line); }

  TestProjection tm_{kWgs84Row};
};

// On the equator the footpoint is the equator itself: no iteration, no convergence.
// (The forward of the central meridian on the equator is a case in transverse_mercator.txt.)
TEST_F(TransverseMercatorTest, InvertsTheEquatorDirectly) {
  Project("type=0 lon0=3 k0=0.9996 fe=500000");
  for (const double easting : {200000.0, 450000.0, 500000.0, 610000.0, 800000.0}) {
    SCOPED_TRACE(easting);
    double lat = std::numeric_limits<double>::quiet_NaN(), lon = 0.0, gamma = 1.0, k = -1.0;
    ASSERT_EQ(tm_.GridToGeog(easting, 0.0, &lat, &lon, &gamma, &k), ProjectionStatus::kOk);
    EXPECT_EQ(lat, 0.0);
    EXPECT_EQ(gamma, 0.0);
    if (easting == 500000.0) {
      EXPECT_NEAR(lon, Radians(3.0), 1e-15);
      EXPECT_NEAR(k, 0.9996, 1e-15);
    }
    const GridOutputs back = tm_.Forward(lat, lon);
    EXPECT_NEAR(back.easting, easting, 0.001);
    EXPECT_EQ(back.northing, 0.0);
  }
}

// "T.M. (USA)" included: no sign change of the longitude is made for it.
TEST_F(TransverseMercatorTest, ComputesTheSameSeriesForEveryNorthUpVariant) {
  Project(std::string("type=1") + kGrid);
  const GridOutputs tm = tm_.Forward(Radians(52.5), Radians(1.5));
  const int variants[][2] = {{PROJECTION_UTM, 0},
                             {PROJECTION_UTM, 1},
                             {PROJECTION_GAUSS_KRUGER, 0},
                             {PROJECTION_TM_USA, 0},
                             {PROJECTION_STATE_PLANE, 0}};
  for (const auto& [type, method] : variants) {
    SCOPED_TRACE(::testing::Message() << "type " << type << " method " << method);
    Project("type=" + std::to_string(type) + " method=" + std::to_string(method) + kGrid);
    const GridOutputs g = tm_.Forward(Radians(52.5), Radians(1.5));
    EXPECT_EQ((std::array{g.easting, g.northing, g.convergence, g.scale}),
              (std::array{tm.easting, tm.northing, tm.convergence, tm.scale}));
  }
}

TEST_F(TransverseMercatorTest, SouthOrientatedGridNegatesTheCoordinatesWithTheirFalseOrigin) {
  const double lat = Radians(-25.7), lon = Radians(28.3);
  Project("type=1 lon0=29 fe=50000 fn=20000");
  const GridOutputs north_up = tm_.Forward(lat, lon);
  Project("type=3 lon0=29 fe=50000 fn=20000");
  const RoundTripOutputs g = tm_.BothWays(lat, lon);
  EXPECT_EQ(g.easting, -north_up.easting);
  EXPECT_EQ(g.northing, -north_up.northing);
  EXPECT_EQ(g.convergence, north_up.convergence) << "the grid is turned, the meridians are not";
  EXPECT_EQ(g.scale, north_up.scale);
  EXPECT_LT(tm_.Separation(lat, lon, g.back_latitude, g.back_longitude), 0.0001);
}

TEST_F(TransverseMercatorTest, WrapsLongitudeDifferencesAcrossTheAntimeridian) {
  Project("type=1 lon0=179 k0=0.9996 fe=500000 fn=10000000");
  const double lat = Radians(-40.0);
  const RoundTripOutputs wrapped = tm_.BothWays(lat, Radians(-179.5));
  const GridOutputs east = tm_.Forward(lat, Radians(180.5));
  EXPECT_NEAR(wrapped.easting, east.easting, 1e-6) << "179.5 W lies 1.5 degrees east of 179 E";
  EXPECT_NEAR(wrapped.northing, east.northing, 1e-6);
  EXPECT_GT(wrapped.easting, 500000.0);
  // The inverse series lands beyond +180 and is brought back into range.
  EXPECT_LT(tm_.Separation(lat, Radians(-179.5), wrapped.back_latitude, wrapped.back_longitude),
            0.001);
}

// A parallel's image leaves the point at the convergence angle, stretched by the scale;
// the truncated northing series tilts it by up to 2.8e-8 rad 3 degrees out. The inverse
// convergence's 3rd-order term (3 psi' t'^2 - 2 psi'^2) is not the forward's (3 psi' + t'^2
// - 2 psi'^2): measured worst 8.7e-5 rad, 3 degrees out at 80 degrees of latitude.
TEST_F(TransverseMercatorTest, ConvergenceAndScaleDescribeTheGridAroundThePoint) {
  Project("type=0 lon0=3 k0=0.9996 fe=500000");
  constexpr double kStep = 1e-6;  // radians of longitude
  for (const double lat_deg : {-70.0, -35.0, 5.0, 45.0, 80.0}) {
    for (const double dlon_deg : {-3.0, -1.0, 0.5, 2.0, 3.0}) {
      SCOPED_TRACE(::testing::Message() << lat_deg << ", " << dlon_deg);
      const double lat = Radians(lat_deg);
      const double lon = tm_.m_CentralMeridian + Radians(dlon_deg);
      const GridOutputs w = tm_.Forward(lat, lon - kStep), e = tm_.Forward(lat, lon + kStep);
      const double de = e.easting - w.easting, dn = e.northing - w.northing;
      const double parallel_length =
          std::cos(lat) * tm_.spheroid.m_SemiMajorAxis /
          std::sqrt(1.0 - tm_.spheroid.m_E2 * std::sin(lat) * std::sin(lat)) * 2.0 * kStep;
      const RoundTripOutputs x = tm_.BothWays(lat, lon);
      EXPECT_NEAR(std::atan2(dn, de), x.convergence, 3e-8);
      EXPECT_NEAR(std::hypot(de, dn) / parallel_length, x.scale, 2e-9);
      EXPECT_NEAR(x.back_scale, x.scale, 2e-9);
      EXPECT_NEAR(x.back_convergence, x.convergence, 9e-5);
      EXPECT_GT(x.back_convergence * x.convergence, 0.0) << "the same sense of convergence";
    }
  }
}

}  // namespace
}  // namespace orvale
