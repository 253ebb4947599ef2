// Mercator; its points against PROJ and the published examples are cases in
// tests/data/projections/conformal_reference.txt and mercator_lambert_polyconic.txt.

#include "orvale/engine/projection/internal/spheroid_formulas.h"
#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

class MercatorTest : public ::testing::Test {
 protected:
  void SetUpMercator(int method, double origin_latitude_deg, double scale_factor) {
    mercator_.m_Method = method;
    mercator_.SetParametersDeg(origin_latitude_deg, 10.0, 500000.0, 1000000.0, scale_factor);
  }

  TestProjection mercator_{kWgs84Row, PROJECTION_MERCATOR};
};

TEST_F(MercatorTest, EquatorFormAppliesTheScaleFactorItShows) {
  for (const int method : {0, 1}) {
    for (const double k0 : {1.0, 0.997, 0.5, 2.0}) {
      SCOPED_TRACE(::testing::Message() << "method " << method << ", k0 " << k0);
      SetUpMercator(method, 0.0, k0);
      EXPECT_EQ(mercator_.m_ScaleFactor, k0) << "the record's scale factor is kept";
      const double dlon = Radians(10.0);
      const GridOutputs g = mercator_.Forward(0.0, mercator_.m_CentralMeridian + dlon);
      EXPECT_NEAR(g.easting, 500000.0 + mercator_.spheroid.m_SemiMajorAxis * k0 * dlon, 1e-6);
      EXPECT_NEAR(g.northing, 1000000.0, 1e-6);
      EXPECT_NEAR(g.scale, k0, 1e-12) << "the equator's scale is k0";
    }
  }
}

// The record then shows the derived k0: the equator's scale when +-phi0 is true to scale.
TEST_F(MercatorTest, StandardParallelIsTrueToScaleAndReplacesTheScaleFactor) {
  for (const int method : {0, 1}) {
    for (const double parallel : {42.0, -42.0, 60.0, 5.0}) {
      SCOPED_TRACE(::testing::Message() << "method " << method << ", parallel " << parallel);
      SetUpMercator(method, parallel, 1.0);
      EXPECT_LT(mercator_.m_ScaleFactor, 1.0);
      EXPECT_NEAR(mercator_.Forward(Radians(parallel), 0.3).scale, 1.0, 1e-12);
      EXPECT_NEAR(mercator_.Forward(0.0, 0.3).scale, mercator_.m_ScaleFactor, 1e-12);
    }
  }
}

// Up to 89.9999999 degrees: the forward keeps its digits there, and the inverse returns
// its latitude and scale; the convergence is a true 0 both ways.
TEST_F(MercatorTest, InverseReturnsTheForwardsPointAndScaleUpToThePole) {
  SetUpMercator(1, 42.0, 1.0);
  for (const double lat : {-89.9999999, -65.0, -20.0, 3.0, 53.0, 72.7, 85.0, 89.9999, 89.9999999}) {
    SCOPED_TRACE(::testing::Message() << "latitude " << lat);
    const RoundTripOutputs x = mercator_.BothWays(Radians(lat), 0.5);
    ASSERT_EQ(x.status, ProjectionStatus::kOk);
    ASSERT_EQ(x.back_status, ProjectionStatus::kOk);
    EXPECT_LE(mercator_.Separation(Radians(lat), 0.5, x.back_latitude, x.back_longitude), 1e-5);
    EXPECT_EQ(x.convergence, 0.0);
    EXPECT_EQ(x.back_convergence, 0.0);
    EXPECT_NEAR(x.back_scale, x.scale, 1e-10 * x.scale);
  }
}

// A pole has no image; a northing no latitude short of the pole gives is beyond it.
TEST_F(MercatorTest, PoleHasNoImageAndNoNorthingBeyondItHasALatitude) {
  SetUpMercator(0, 0.0, 1.0);
  for (const double pole : {kHalfPi, -kHalfPi, 90.0 * 0.017453292519943}) {
    EXPECT_EQ(mercator_.Forward(pole, 0.5).status, ProjectionStatus::kPoleNotRepresentable) << pole;
  }
  const double top = mercator_.Forward(Radians(89.9999999), 0.5).northing;
  ASSERT_TRUE(std::isfinite(top));
  for (const double northing : {1e9, -1e9, 1e300}) {
    double lat = 0.0, lon = 0.0;
    EXPECT_EQ(mercator_.GridToGeog(500000.0, northing, &lat, &lon), ProjectionStatus::kBeyondPole)
        << northing;
  }
  double lat = 0.0, lon = 0.0;
  EXPECT_EQ(mercator_.GridToGeog(500000.0, top, &lat, &lon), ProjectionStatus::kOk);
}

// Newton's method on the latitude's tangent settles to 1e-12 rad at every latitude and
// on spheroids from the sphere to one far flatter than the earth's.
TEST(LatitudeFromIsometric, InvertsTheIsometricLatitudeEverywhereShortOfThePoles) {
  for (const double flattening : {0.0, 1.0 / 298.257223563, 1.0 / 30.0}) {
    CSpheroid s;
    s.m_SemiMajorAxis = 6378137.0;
    s.m_InverseFlattening = flattening == 0.0 ? 1.0 : 1.0 / flattening;  // 1: a sphere
    s.ComputeConstants();
    for (double lat = -89.99999; lat < 90.0; lat += 0.37) {
      SCOPED_TRACE(::testing::Message() << "f " << flattening << ", latitude " << lat);
      const double phi = Radians(lat);
      const LatitudeWithTrig found =
          LatitudeFromIsometric(s, IsometricLatitudeOfTrig(s, std::sin(phi), std::cos(phi)));
      ASSERT_TRUE(found.converged);
      EXPECT_NEAR(found.latitude, phi, 1e-12);
      EXPECT_NEAR(found.sin_lat, std::sin(phi), 1e-12);
      EXPECT_NEAR(found.cos_lat, std::cos(phi), 1e-12);
    }
    EXPECT_EQ(LatitudeFromIsometric(s, INFINITY).latitude, kHalfPi);
    EXPECT_FALSE(LatitudeFromIsometric(s, NAN).converged);
  }
}

}  // namespace
}  // namespace orvale
