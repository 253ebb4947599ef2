#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "orvale/engine/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid.h"

namespace orvale {
namespace {

constexpr int kClarke1866Row = 7;
constexpr double kDegree = kRadiansPerDegree;

class CassiniAzimuthalTest : public ::testing::Test {
 protected:
  CassiniAzimuthalTest() {
    spheroid_.SetBuiltIn(kClarke1866Row);
    projection_.m_Spheroid = &spheroid_;
  }

  void Configure(int type, double lat0_deg, double lon0_deg, double fe, double fn, double k0) {
    projection_.m_Type = type;
    projection_.SetParametersDeg(lat0_deg, lon0_deg, fe, fn, k0);
  }

  // Worst forward-then-inverse error over a square of +-reach degrees about the origin.
  double WorstRoundTrip(double reach_deg) {
    double worst = 0.0;
    const double a = spheroid_.m_SemiMajorAxis;
    for (double dlat = -reach_deg; dlat <= reach_deg + 1e-9; dlat += reach_deg / 8.0) {
      for (double dlon = -reach_deg; dlon <= reach_deg + 1e-9; dlon += reach_deg / 8.0) {
        const double lat = projection_.m_OriginLatitude + dlat * kDegree;
        const double lon = projection_.m_CentralMeridian + dlon * kDegree;
        double e = 0.0, n = 0.0, back_lat = 0.0, back_lon = 0.0;
        projection_.GeogToGrid(lat, lon, &e, &n);
        projection_.GridToGeog(e, n, &back_lat, &back_lon);
        worst =
            std::max(worst, std::hypot((back_lat - lat) * a, (back_lon - lon) * a * std::cos(lat)));
      }
    }
    return worst;
  }

  CSpheroid spheroid_;
  CProjection projection_;
};

TEST_F(CassiniAzimuthalTest, CassiniInvertsTheEquatorWithoutAFootpoint) {
  // With the origin on the equator and no false northing, N = 0 is the equator itself:
  // T1 = 0 there, so the latitude is exactly 0 and the longitude is lambda0 + D.
  Configure(PROJECTION_CASSINI_SOLDNER, 0.0, 20.0, 100000.0, 0.0, 0.9999);
  for (const double x : {-150000.0, -2000.0, 35000.0, 250000.0}) {
    SCOPED_TRACE(x);
    double lat = 0.7, lon = 0.0;
    projection_.GridToGeog(100000.0 + x, 0.0, &lat, &lon);
    EXPECT_EQ(lat, 0.0);
    EXPECT_NEAR(lon, 20.0 * kDegree + x / (spheroid_.m_SemiMajorAxis * 0.9999), 1e-15);
  }
}

// Round trips about the origin, measured on Clarke 1866 with the origin at 0, 13.5, 45
// and -60 degrees. Both inverses turn a meridian distance (series to e^6) back into a
// latitude by the e1 footpoint series, and the two series part by up to 0.65 mm at
// 60 degrees of latitude whatever the distance. Beyond that the Cassini series loses
// 3.4 mm at 2 degrees east or west and 17.5 mm at 3; the azimuthal form stays within
// 0.75 mm out to 3 degrees.
TEST_F(CassiniAzimuthalTest, RoundTripsWithinTheAccuracyOfTheirSeries) {
  struct Reach {
    int type;
    double degrees;
    double tolerance;  // metres
  };
  const Reach reaches[] = {
      {PROJECTION_CASSINI_SOLDNER, 1.0, 0.001},
      {PROJECTION_CASSINI_SOLDNER, 2.0, 0.004},
      {PROJECTION_CASSINI_SOLDNER, 3.0, 0.02},
      {PROJECTION_AZIMUTHAL_EQUIDISTANT, 1.0, 0.001},
      {PROJECTION_AZIMUTHAL_EQUIDISTANT, 3.0, 0.001},
  };
  for (const double lat0 : {0.0, 13.5, 45.0, -60.0}) {
    for (const Reach& reach : reaches) {
      SCOPED_TRACE(testing::Message() << "type " << reach.type << ", origin " << lat0 << ", +-"
                                      << reach.degrees << " degrees");
      Configure(reach.type, lat0, 10.0, 50000.0, 50000.0, 1.0);
      EXPECT_LE(WorstRoundTrip(reach.degrees), reach.tolerance);
    }
  }
}

TEST_F(CassiniAzimuthalTest, DoNotWrapTheLongitudeDifference) {
  // Only the Transverse Mercator brings a difference beyond half a turn back into
  // range: here 179.5 W and 180.5 E are different inputs, 358.5 degrees apart.
  for (const int type : {PROJECTION_CASSINI_SOLDNER, PROJECTION_AZIMUTHAL_EQUIDISTANT}) {
    SCOPED_TRACE(type);
    Configure(type, 0.0, 179.0, 0.0, 0.0, 1.0);
    double e_west = 0.0, n_west = 0.0, e_east = 0.0, n_east = 0.0;
    projection_.GeogToGrid(10.0 * kDegree, -179.5 * kDegree, &e_west, &n_west);
    projection_.GeogToGrid(10.0 * kDegree, 180.5 * kDegree, &e_east, &n_east);
    EXPECT_GT(std::fabs(e_west - e_east), 1e6);
  }
}

TEST_F(CassiniAzimuthalTest, GiveNoConvergenceOrScale) {
  for (const int type : {PROJECTION_CASSINI_SOLDNER, PROJECTION_AZIMUTHAL_EQUIDISTANT}) {
    SCOPED_TRACE(type);
    Configure(type, 13.5, 144.75, 50000.0, 50000.0, 1.0);
    double e = 0.0, n = 0.0, g = 1.0, k = 1.0;
    projection_.GeogToGrid(13.4 * kDegree, 144.6 * kDegree, &e, &n, &g, &k);
    EXPECT_EQ(g, 0.0);
    EXPECT_EQ(k, 0.0);
    double lat = 0.0, lon = 0.0;
    g = k = 1.0;
    projection_.GridToGeog(e, n, &lat, &lon, &g, &k);
    EXPECT_EQ(g, 0.0);
    EXPECT_EQ(k, 0.0);
  }
}

TEST_F(CassiniAzimuthalTest, AzimuthalInverseGivesZerosWhenTheLatitudeCannotSettle) {
  // 10 000 km east of Guam the substitution no longer contracts; after 100 rounds the
  // position is given up as (0, 0).
  Configure(PROJECTION_AZIMUTHAL_EQUIDISTANT, 13.5, 144.75, 50000.0, 50000.0, 1.0);
  double lat = 0.3, lon = 0.3;
  projection_.GridToGeog(50000.0 + 1e7, 50000.0, &lat, &lon);
  EXPECT_EQ(lat, 0.0);
  EXPECT_EQ(lon, 0.0);
}

TEST_F(CassiniAzimuthalTest, AzimuthalInverseNeedsBothLatitudeAndLongitude) {
  Configure(PROJECTION_AZIMUTHAL_EQUIDISTANT, 13.5, 144.75, 50000.0, 50000.0, 1.0);
  double lat = 0.25;
  projection_.GridToGeog(40000.0, 45000.0, &lat, nullptr);
  EXPECT_EQ(lat, 0.25) << "nothing is written without a longitude output";
}

}  // namespace
}  // namespace orvale
