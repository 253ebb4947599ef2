#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "orvale/engine/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid.h"

namespace orvale {
namespace {

constexpr int kWgs84Row = 26;

class MercatorTest : public ::testing::Test {
 protected:
  MercatorTest() {
    spheroid_.SetBuiltIn(kWgs84Row);
    mercator_.m_Spheroid = &spheroid_;
    mercator_.m_Type = PROJECTION_MERCATOR;
  }

  void SetUpMercator(int method, double origin_latitude_deg, double scale_factor) {
    mercator_.m_Method = method;
    mercator_.SetParametersDeg(origin_latitude_deg, 10.0, 500000.0, 1000000.0, scale_factor);
  }

  // Metres between two positions, near enough for millimetre tolerances.
  double Separation(double lat1, double lon1, double lat2, double lon2) const {
    const double a = spheroid_.m_SemiMajorAxis;
    return std::hypot((lat1 - lat2) * a, (lon1 - lon2) * a * std::cos(lat1));
  }

  CSpheroid spheroid_;
  CProjection mercator_;
};

TEST_F(MercatorTest, EquatorFormUsesTheSemiMajorAxisWhateverTheScaleFactorHolds) {
  for (const int method : {0, 1}) {
    for (const double k0 : {1.0, 0.997, 0.5, 2.0}) {
      SCOPED_TRACE(testing::Message() << "method " << method << ", k0 " << k0);
      SetUpMercator(method, 0.0, k0);
      EXPECT_EQ(mercator_.m_ScaleFactor, k0) << "the record's scale factor is kept";
      const double dlon = 10.0 * kRadiansPerDegree;
      double easting = 0.0, northing = 0.0, scale = 0.0;
      mercator_.GeogToGrid(0.0, mercator_.m_CentralMeridian + dlon, &easting, &northing, nullptr,
                           &scale);
      EXPECT_NEAR(easting, 500000.0 + spheroid_.m_SemiMajorAxis * dlon, 1e-6);
      EXPECT_NEAR(northing, 1000000.0, 1e-6);
      EXPECT_NEAR(scale, 1.0, 1e-12) << "the equator is true to scale";
    }
  }
}

// The record shows the derived scale factor afterwards: the scale of the equator of a
// Mercator that is true along +-phi0.
TEST_F(MercatorTest, StandardParallelIsTrueToScaleAndReplacesTheScaleFactor) {
  for (const int method : {0, 1}) {
    for (const double parallel : {42.0, -42.0, 60.0, 5.0}) {
      SCOPED_TRACE(testing::Message() << "method " << method << ", parallel " << parallel);
      SetUpMercator(method, parallel, 1.0);
      EXPECT_LT(mercator_.m_ScaleFactor, 1.0);
      double on_parallel = 0.0, on_equator = 0.0, e = 0.0, n = 0.0;
      mercator_.GeogToGrid(parallel * kRadiansPerDegree, 0.3, &e, &n, nullptr, &on_parallel);
      mercator_.GeogToGrid(0.0, 0.3, &e, &n, nullptr, &on_equator);
      EXPECT_NEAR(on_parallel, 1.0, 1e-12);
      EXPECT_NEAR(on_equator, mercator_.m_ScaleFactor, 1e-12);
    }
  }
}

TEST_F(MercatorTest, EmptyPositionGivesZerosAndTheScaleFactorBothWays) {
  for (const double parallel : {0.0, 42.0}) {
    SCOPED_TRACE(testing::Message() << "parallel " << parallel);
    SetUpMercator(parallel == 0.0 ? 0 : 1, parallel, 0.997);
    double easting = 1.0, northing = 1.0, convergence = 1.0, scale = 0.0;
    mercator_.GeogToGrid(0.0, 0.0, &easting, &northing, &convergence, &scale);
    EXPECT_EQ(easting, 0.0);
    EXPECT_EQ(northing, 0.0);
    EXPECT_EQ(convergence, 0.0);
    EXPECT_EQ(scale, mercator_.m_ScaleFactor);
    double latitude = 1.0, longitude = 1.0;
    convergence = 1.0;
    scale = 0.0;
    mercator_.GridToGeog(0.0, 0.0, &latitude, &longitude, &convergence, &scale);
    EXPECT_EQ(latitude, 0.0);
    EXPECT_EQ(longitude, 0.0);
    EXPECT_EQ(convergence, 0.0);
    EXPECT_EQ(scale, mercator_.m_ScaleFactor);
  }
}

// The inverse latitude comes from a half-step iteration on the isometric latitude
// that stops once it agrees to 0.001 second of arc; near the equator that leaves up
// to 16 mm (measured on WGS84), so the round trip is held to 2 cm. Beyond about
// 72.6 degrees the iteration does not settle at all, hence the band of +-70 degrees.
TEST_F(MercatorTest, RoundTripsOverTheGridWithinTwoCentimetres) {
  for (const int method : {0, 1}) {
    SetUpMercator(method, method == 0 ? 0.0 : 30.0, 1.0);
    double worst = 0.0;
    for (double lat = -70.0; lat <= 70.0; lat += 5.0) {
      for (double lon = -175.0; lon <= 175.0; lon += 25.0) {
        const double latitude = lat * kRadiansPerDegree;
        const double longitude = lon * kRadiansPerDegree;
        double easting = 0.0, northing = 0.0, back_lat = 0.0, back_lon = 0.0;
        mercator_.GeogToGrid(latitude, longitude, &easting, &northing);
        mercator_.GridToGeog(easting, northing, &back_lat, &back_lon);
        worst = std::max(worst, Separation(latitude, longitude, back_lat, back_lon));
      }
    }
    EXPECT_LT(worst, 0.02) << "method " << method;
  }
}

TEST_F(MercatorTest, InverseGivesTheForwardScaleAndNoConvergence) {
  SetUpMercator(1, 42.0, 1.0);
  for (const double lat : {-65.0, -20.0, 3.0, 53.0, 70.0}) {
    SCOPED_TRACE(testing::Message() << "latitude " << lat);
    double easting = 0.0, northing = 0.0, convergence = 1.0, scale = 0.0;
    mercator_.GeogToGrid(lat * kRadiansPerDegree, 0.5, &easting, &northing, &convergence, &scale);
    EXPECT_EQ(convergence, 0.0);
    double latitude = 0.0, longitude = 0.0, back_convergence = 1.0, back_scale = 0.0;
    mercator_.GridToGeog(easting, northing, &latitude, &longitude, &back_convergence, &back_scale);
    EXPECT_EQ(back_convergence, 0.0);
    EXPECT_NEAR(back_scale, scale, 1e-8 * scale);
  }
}

}  // namespace
}  // namespace orvale
