#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

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

// A parallel's image leaves the point at the convergence angle, stretched by the scale,
// and the inverse gives both back for the grid position: all three come from one
// series and its derivative. 5e-9 rad is 0.001 second of arc; the central differences
// themselves are good to about 1e-10.
TEST_F(TransverseMercatorTest, ConvergenceAndScaleDescribeTheGridAroundThePoint) {
  Project("type=0 lon0=3 k0=0.9996 fe=500000");
  constexpr double kStep = 1e-6;  // radians of longitude
  for (const double lat_deg : {-84.0, -70.0, -35.0, 5.0, 45.0, 80.0, 84.0}) {
    for (const double dlon_deg : {-6.0, -3.0, -1.0, 0.5, 2.0, 4.0, 6.0}) {
      SCOPED_TRACE(::testing::Message() << lat_deg << ", " << dlon_deg);
      const double lat = Radians(lat_deg);
      const double lon = tm_.m_CentralMeridian + Radians(dlon_deg);
      const GridOutputs w = tm_.Forward(lat, lon - kStep), e = tm_.Forward(lat, lon + kStep);
      const double de = e.easting - w.easting, dn = e.northing - w.northing;
      const double parallel_length =
          std::cos(lat) * tm_.spheroid.m_SemiMajorAxis /
          std::sqrt(1.0 - tm_.spheroid.m_E2 * std::sin(lat) * std::sin(lat)) * 2.0 * kStep;
      const RoundTripOutputs x = tm_.BothWays(lat, lon);
      EXPECT_NEAR(std::atan2(dn, de), x.convergence, 5e-9);
      EXPECT_NEAR(std::hypot(de, dn) / parallel_length, x.scale, 1e-9);
      EXPECT_NEAR(x.back_scale, x.scale, 1e-12);
      EXPECT_NEAR(x.back_convergence, x.convergence, 1e-12);
    }
  }
}

// The origin's northing offset is the series' own northing of the origin, so a grid
// with its origin off the equator puts the origin on its false origin (to the last
// bits of the vector maths, which the lanes may use and the set-up does not).
TEST_F(TransverseMercatorTest, PutsAnOriginOffTheEquatorOnTheFalseOrigin) {
  for (const char* line :
       {"type=1 lat0=49 lon0=-2 fe=400000 fn=-100000", "type=1 lat0=-33.5 lon0=25 fe=1000",
        "type=3 lat0=60 lon0=10 fe=1000 fn=2000"}) {
    SCOPED_TRACE(line);
    Project(line);
    const RoundTripOutputs x = tm_.BothWays(tm_.m_OriginLatitude, tm_.m_CentralMeridian);
    const double sign = tm_.m_Type == PROJECTION_TM_SOUTH_ORIENTATED ? -1.0 : 1.0;
    EXPECT_NEAR(x.easting, sign * tm_.m_FalseEasting, 1e-8);
    EXPECT_NEAR(x.northing, sign * tm_.m_FalseNorthing, 1e-8);
    EXPECT_NEAR(x.back_latitude, tm_.m_OriginLatitude, 1e-15);
  }
}

// Beyond a quarter turn from the central meridian the projection has no point: never
// a number, forward or back (past the pole, or off the strip the hemisphere maps to).
TEST_F(TransverseMercatorTest, GivesNothingFartherThanAQuarterTurnFromTheCentralMeridian) {
  Project("type=0 lon0=3 k0=0.9996 fe=500000");
  for (const double dlon : {90.001, -95.0, 135.0, 180.0}) {
    SCOPED_TRACE(dlon);
    const GridOutputs g = tm_.Forward(Radians(30.0), Radians(3.0 + dlon));
    EXPECT_EQ(g.status, ProjectionStatus::kFarFromCentralMeridian);
    EXPECT_TRUE(std::isnan(g.easting) && std::isnan(g.northing) && std::isnan(g.scale));
  }
  const GridOutputs near = tm_.Forward(Radians(30.0), Radians(3.0 + 89.9));
  EXPECT_EQ(near.status, ProjectionStatus::kOk);
  // Near the equator the series reach about 66 degrees out; beyond, no result.
  EXPECT_EQ(tm_.Forward(0.0, Radians(3.0 + 80.0)).status, ProjectionStatus::kOutsideDomain);
  double lat = 0.0, lon = 0.0;
  EXPECT_EQ(tm_.GridToGeog(500000.0 + 1.1e7, 0.0, &lat, &lon), ProjectionStatus::kOutsideDomain);
  EXPECT_EQ(tm_.GridToGeog(500000.0, 2.1e7, &lat, &lon), ProjectionStatus::kBeyondPole)
      << "north of the pole along the central meridian";
  EXPECT_TRUE(std::isnan(lat) && std::isnan(lon));
}

// The run path applies the entry checks point by point, and a point at 0, 0 is a
// position like any other (the central meridian 3 degrees east, and the grid's
// origin for the inverse).
TEST_F(TransverseMercatorTest, RunsCheckEachPointAndComputeZeroZero) {
  Project("type=0 lon0=3 k0=0.9996 fe=500000");
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> lat = {0.0, kNaN, Radians(91.0), Radians(10.0)};
  const std::vector<double> lon = {0.0, 0.1, 0.1, Radians(100.0)};
  std::vector<double> e(4), n(4);
  std::vector<ProjectionStatus> status(4);
  tm_.GeogToGridMany(lat, lon, e, n, {}, {}, status);
  EXPECT_EQ(status, (std::vector{ProjectionStatus::kOk, ProjectionStatus::kNotANumber,
                                 ProjectionStatus::kBeyondPole,
                                 ProjectionStatus::kFarFromCentralMeridian}));
  EXPECT_NEAR(e[0], 166021.443081, 1e-6) << "PROJ tmerc";
  EXPECT_EQ(n[0], 0.0);
  const std::vector<double> east = {0.0, kNaN}, north = {0.0, 0.0};
  std::vector<double> back_lat(2), back_lon(2);
  std::vector<ProjectionStatus> back(2);
  tm_.GridToGeogMany(east, north, back_lat, back_lon, {}, {}, back);
  EXPECT_EQ(back, (std::vector{ProjectionStatus::kOk, ProjectionStatus::kNotANumber}));
  EXPECT_EQ(back_lat[0], 0.0);
  EXPECT_NEAR(back_lon[0], Radians(-1.48874388), 1e-10) << "PROJ tmerc";
}

}  // namespace
}  // namespace orvale
