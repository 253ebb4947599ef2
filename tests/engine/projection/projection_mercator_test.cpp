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

TEST_F(MercatorTest, EquatorFormUsesTheSemiMajorAxisWhateverTheScaleFactorHolds) {
  for (const int method : {0, 1}) {
    for (const double k0 : {1.0, 0.997, 0.5, 2.0}) {
      SCOPED_TRACE(::testing::Message() << "method " << method << ", k0 " << k0);
      SetUpMercator(method, 0.0, k0);
      EXPECT_EQ(mercator_.m_ScaleFactor, k0) << "the record's scale factor is kept";
      const double dlon = Radians(10.0);
      const GridOutputs g = mercator_.Forward(0.0, mercator_.m_CentralMeridian + dlon);
      EXPECT_NEAR(g.easting, 500000.0 + mercator_.spheroid.m_SemiMajorAxis * dlon, 1e-6);
      EXPECT_NEAR(g.northing, 1000000.0, 1e-6);
      EXPECT_NEAR(g.scale, 1.0, 1e-12) << "the equator is true to scale";
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

TEST_F(MercatorTest, InverseGivesTheForwardScaleAndNoConvergence) {
  SetUpMercator(1, 42.0, 1.0);
  for (const double lat : {-65.0, -20.0, 3.0, 53.0, 70.0}) {
    SCOPED_TRACE(::testing::Message() << "latitude " << lat);
    const RoundTripOutputs x = mercator_.BothWays(Radians(lat), 0.5);
    EXPECT_EQ(x.convergence, 0.0);
    EXPECT_EQ(x.back_convergence, 0.0);
    EXPECT_NEAR(x.back_scale, x.scale, 1e-8 * x.scale);
  }
}

}  // namespace
}  // namespace orvale
