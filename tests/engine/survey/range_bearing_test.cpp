// Range and bearing, the direct problem and the traverse: the published Flinders Peak -
// Buninyong example, the lines along the equator and a meridian, coincident and
// antipodal points, and the grid, rhumb, t - T and slope rules.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "orvale/engine/survey/geodesic.h"
#include "orvale/engine/survey/range_bearing.h"
#include "orvale/engine/survey/traverse.h"
#include "support/projection_fixture.h"

namespace orvale {
namespace {

using testing::kGrs80Row;
using testing::kWgs84Row;

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kArcSecond = kDeg / 3600.0;

CSpheroid Spheroid(int row, std::uint32_t method) {
  CSpheroid s;
  EXPECT_TRUE(s.SetBuiltIn(row));
  s.m_RangeBearingMethod = method;
  return s;
}

// Flinders Peak to Buninyong on GRS80 (Geoscience Australia's worked example of
// Vincenty's formulae): 54 972.271 m, 306 52 05.37, 127 10 25.07.
constexpr double kFlindersLat = -37.951033417 * kDeg, kFlindersLon = 144.424867889 * kDeg;
constexpr double kBuninyongLat = -37.652821139 * kDeg, kBuninyongLon = 143.926495528 * kDeg;
constexpr double kPublishedRange = 54972.271;
constexpr double kPublishedAB = (306.0 + 52.0 / 60 + 5.37 / 3600) * kDeg;
constexpr double kPublishedBA = (127.0 + 10.0 / 60 + 25.07 / 3600) * kDeg;

TEST(RangeAndBearing, FlindersPeakToBuninyongByEachMethod) {
  struct Case {
    std::uint32_t method;
    double range_tolerance;    // metres
    double azimuth_tolerance;  // radians
  };
  // The normal sections' azimuths are not the geodesic's: 0.0052" and 0.0063" apart
  // here, as the makers' own figures (306.868158 and 127.173629 degrees) show.
  const Case cases[] = {{kRangeBearingEllipticArc, 0.0005, 0.007 * kArcSecond},
                        {kRangeBearingSeries, 0.0005, 0.007 * kArcSecond},
                        {kRangeBearingGeodesic, 0.0005, 0.005 * kArcSecond}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method);
    const CSpheroid s = Spheroid(kGrs80Row, c.method);
    double range = 0.0, ab = 0.0, ba = 0.0;
    ASSERT_TRUE(s.InverseRangeAndBearing(&range, &ab, &ba, kFlindersLat, kFlindersLon,
                                         kBuninyongLat, kBuninyongLon));
    EXPECT_NEAR(range, kPublishedRange, c.range_tolerance);
    EXPECT_NEAR(ab, kPublishedAB, c.azimuth_tolerance);
    EXPECT_NEAR(ba, kPublishedBA, c.azimuth_tolerance);
  }
  // The normal sections as their makers give them, to 1e-6 degree.
  for (const std::uint32_t method : {kRangeBearingEllipticArc, kRangeBearingSeries}) {
    double ab = 0.0, ba = 0.0;
    ASSERT_TRUE(Spheroid(kGrs80Row, method)
                    .InverseRangeAndBearing(nullptr, &ab, &ba, kFlindersLat, kFlindersLon,
                                            kBuninyongLat, kBuninyongLon));
    EXPECT_NEAR(ab / kDeg, 306.868158, 1e-6);
    EXPECT_NEAR(ba / kDeg, 127.173629, 1e-6);
  }
  // The geodesic to GeographicLib's figures (GeodSolve -i): 54972.271146063 m,
  // -53.13184077090467 and -52.82636934482968 + 180 degrees.
  double range = 0.0, ab = 0.0, ba = 0.0;
  ASSERT_TRUE(Spheroid(kGrs80Row, kRangeBearingGeodesic)
                  .InverseRangeAndBearing(&range, &ab, &ba, kFlindersLat, kFlindersLon,
                                          kBuninyongLat, kBuninyongLon));
  EXPECT_NEAR(range, 54972.271146063, 1e-4);
  EXPECT_NEAR(ab / kDeg, 360.0 - 53.13184077090467, 0.001 / 3600);
  EXPECT_NEAR(ba / kDeg, 180.0 - 52.82636934482968, 0.001 / 3600);
}

// The ground distance between two nearby positions, metres.
double Apart(const CSpheroid& s, double lat1, double lon1, double lat2, double lon2) {
  return s.m_SemiMajorAxis * std::hypot(lat2 - lat1, (lon2 - lon1) * std::cos(lat1));
}

TEST(DirectProblem, FlindersPeakToBuninyong) {
  // Clarke's best formula reaches the published point to within a millimetre.
  double lat = 0.0, lon = 0.0;
  const CSpheroid clarke = Spheroid(kGrs80Row, kRangeBearingEllipticArc);
  ASSERT_TRUE(clarke.DirectProblem(&lat, &lon, kFlindersLon, kPublishedRange, 306.868158 * kDeg,
                                   kFlindersLat));
  EXPECT_LT(Apart(clarke, kBuninyongLat, kBuninyongLon, lat, lon), 0.001);
  // The geodesic from the published azimuth and distance: GeodSolve gives
  // -37.652821148261033, 143.926495521244391 for these very inputs.
  const CSpheroid geodesic = Spheroid(kGrs80Row, kRangeBearingGeodesic);
  ASSERT_TRUE(geodesic.DirectProblem(&lat, &lon, kFlindersLon, kPublishedRange, 306.868158 * kDeg,
                                     kFlindersLat));
  EXPECT_LT(Apart(geodesic, -37.652821148261033 * kDeg, 143.926495521244391 * kDeg, lat, lon),
            1e-4);
  // And from the published azimuth to the second: the published point within 2 mm (the
  // rounding of 0.01" is 1.5 mm at 55 km).
  ASSERT_TRUE(geodesic.DirectProblem(&lat, &lon, kFlindersLon, kPublishedRange, kPublishedAB,
                                     kFlindersLat));
  EXPECT_LT(Apart(geodesic, kBuninyongLat, kBuninyongLon, lat, lon), 0.002);
}

TEST(DirectProblem, NoEccentricityGivesZerosByClarkeAndTheSphereByTheGeodesic) {
  CSpheroid sphere = Spheroid(kWgs84Row, kRangeBearingEllipticArc);
  sphere.m_InverseFlattening = 1.0;
  sphere.ComputeConstants();
  double lat = 1.0, lon = 1.0;
  EXPECT_FALSE(sphere.DirectProblem(&lat, &lon, 0.3, 1000.0, 0.5, 0.2));
  EXPECT_EQ(lat, 0.0);
  EXPECT_EQ(lon, 0.0);
  sphere.m_RangeBearingMethod = kRangeBearingGeodesic;
  ASSERT_TRUE(sphere.DirectProblem(&lat, &lon, 0.0, sphere.m_SemiMajorAxis * kPi / 2, 0.0, 0.0));
  EXPECT_NEAR(lat, kPi / 2, 1e-15) << "a quarter of a great circle north reaches the pole";
}

TEST(RangeAndBearing, EquatorLinesRunDueEastOrWest) {
  for (const std::uint32_t method : {kRangeBearingEllipticArc, kRangeBearingGeodesic}) {
    SCOPED_TRACE(method);
    const CSpheroid s = Spheroid(kWgs84Row, method);
    double range = 0.0, ab = 0.0, ba = 0.0;
    ASSERT_TRUE(s.InverseRangeAndBearing(&range, &ab, &ba, 0.0, 0.2, 0.0, 0.2 + kDeg));
    EXPECT_NEAR(range, s.m_SemiMajorAxis * kDeg, 1e-8);
    EXPECT_EQ(ab, kPi / 2);
    EXPECT_EQ(ba, 3 * kPi / 2);
    ASSERT_TRUE(s.InverseRangeAndBearing(&range, &ab, &ba, 0.0, 0.2 + kDeg, 0.0, 0.2));
    EXPECT_NEAR(range, s.m_SemiMajorAxis * kDeg, 1e-8);
    EXPECT_EQ(ab, 3 * kPi / 2);
    EXPECT_EQ(ba, kPi / 2);
  }
  // The series method's azimuth has no denominator there: no result, nothing written.
  double range = -1.0;
  EXPECT_FALSE(Spheroid(kWgs84Row, kRangeBearingSeries)
                   .InverseRangeAndBearing(&range, nullptr, nullptr, 0.0, 0.2, 0.0, 0.3));
  EXPECT_EQ(range, -1.0);
}

TEST(RangeAndBearing, MeridianLinesRunDueNorthOrSouth) {
  for (std::uint32_t method = 0; method <= 2; ++method) {
    SCOPED_TRACE(method);
    const CSpheroid s = Spheroid(kWgs84Row, method);
    double range = 0.0, ab = 1.0, ba = 1.0;
    ASSERT_TRUE(s.InverseRangeAndBearing(&range, &ab, &ba, 0.3, 0.5, 0.4, 0.5));
    EXPECT_EQ(ab, 0.0);
    EXPECT_EQ(ba, kPi);
    // GeodSolve: 30 degrees of meridian north from 10 N, 3323674.197116 m.
    ASSERT_TRUE(s.InverseRangeAndBearing(&range, &ab, &ba, 10 * kDeg, 0.0, 40 * kDeg, 0.0));
    if (method == kRangeBearingGeodesic) {
      EXPECT_NEAR(range, 3323674.197116143, 1e-4);
    }
  }
}

TEST(RangeAndBearing, CoincidentPointsGiveZerosInEveryRecord) {
  CProjection projection;
  CSpheroid spheroid = Spheroid(kWgs84Row, 0);
  projection.m_Spheroid = &spheroid;
  ASSERT_TRUE(projection.SetFromCatalogue(31, PROJECTION_UTM, 0));
  SurveyPoint a{0.9, 0.05, 500000.0, 5700000.0, 10.0};
  for (std::uint32_t method = 0; method <= 2; ++method) {
    spheroid.m_RangeBearingMethod = method;
    const RangeAndBearingResult r = ComputeRangeAndBearing(spheroid, projection, a, a);
    EXPECT_TRUE(r.spheroidal_ok);
    for (const RANGE_BEARING* record : {&r.spheroidal, &r.grid, &r.rhumb}) {
      EXPECT_EQ(record->m_Range, 0.0);
      EXPECT_EQ(record->m_BearingAB, 0.0);
      EXPECT_EQ(record->m_LineScaleFactor, 0.0);
    }
    EXPECT_EQ(r.spheroidal.m_BearingBA, 0.0);
  }
}

TEST(RangeAndBearing, AntipodalPointsEndAndTheGeodesicIsHalfTheMeridian) {
  for (std::uint32_t method = 0; method <= 2; ++method) {
    const CSpheroid s = Spheroid(kWgs84Row, method);
    double range = std::nan(""), ab = 0.0, ba = 0.0;
    if (s.InverseRangeAndBearing(&range, &ab, &ba, 0.5, 0.0, -0.5, kPi)) {
      EXPECT_TRUE(std::isfinite(range)) << method;
    }
  }
  // GeodSolve: 20003931.458625 m over a pole for the equator's antipodes; and nearly
  // antipodal, -30 0 to 29.9 179.8, 19989832.827610 m.
  const CSpheroid s = Spheroid(kWgs84Row, kRangeBearingGeodesic);
  const GeodesicInverseResult half = GeodesicInverse(s, 0.0, 0.0, 0.0, kPi);
  EXPECT_NEAR(half.distance, 20003931.458625447, 1e-4);
  EXPECT_EQ(std::fabs(std::remainder(half.azimuth_a, kPi)), 0.0) << "along a meridian";
  const GeodesicInverseResult near = GeodesicInverse(s, -30 * kDeg, 0.0, 29.9 * kDeg, 179.8 * kDeg);
  EXPECT_NEAR(near.distance, 19989832.827609532, 1e-4);
  EXPECT_NEAR(near.azimuth_a / kDeg, 161.89052473632697, 0.001 / 3600);
  EXPECT_LE(near.rounds, 10);
}

TEST(RangeAndBearing, NoResultForAnUnknownMethodOrAPositionThatIsNotANumber) {
  double range = -1.0, ab = -1.0, ba = -1.0;
  EXPECT_FALSE(Spheroid(kWgs84Row, 3).InverseRangeAndBearing(&range, &ab, &ba, 0.1, 0.1, 0.2, 0.2));
  EXPECT_FALSE(Spheroid(kWgs84Row, 2)
                   .InverseRangeAndBearing(
                       &range, &ab, &ba, std::numeric_limits<double>::quiet_NaN(), 0.1, 0.2, 0.2));
  EXPECT_EQ(range, -1.0);
  EXPECT_EQ(ab, -1.0);
  EXPECT_EQ(ba, -1.0);
  EXPECT_EQ(GeodesicInverse(Spheroid(kWgs84Row, 2), 2.0, 0.0, 0.1, 0.1).status,
            GeodesicStatus::kNotANumber)
      << "a latitude beyond a pole";
}

TEST(RhumbLine, AlongAParallelDueEastOrWest) {
  const CSpheroid s = Spheroid(kWgs84Row, 0);
  const double lat = 0.7, sin_lat = std::sin(lat), cos_lat = std::cos(lat);
  const double nu = s.m_SemiMajorAxis / std::sqrt(1.0 - s.m_E2 * sin_lat * sin_lat);
  double range = 0.0, bearing = 0.0;
  ASSERT_TRUE(s.RhumbLine(&range, &bearing, 0.1, lat, 0.3, sin_lat, cos_lat, nu, lat));
  EXPECT_DOUBLE_EQ(range, 0.2 * cos_lat * nu);
  EXPECT_EQ(bearing, kPi / 2);
  ASSERT_TRUE(s.RhumbLine(&range, &bearing, 0.3, lat, 0.1, sin_lat, cos_lat, nu, lat));
  EXPECT_EQ(bearing, 3 * kPi / 2);
}

TEST(RangeAndBearing, GridBackBearingOfExactlyPiIsZero) {
  double bearing = 0.0, distance = 0.0;
  GridRangeAndBearing(1000.0, 2000.0, 1000.0, 1900.0, &bearing, &distance);
  EXPECT_EQ(bearing, kPi);
  EXPECT_EQ(distance, 100.0);
  EXPECT_EQ(ReverseBearing(bearing), 0.0);
  GridRangeAndBearing(1000.0, 2000.0, 1000.0, 2000.0, &bearing, &distance);
  EXPECT_EQ(bearing, 0.0);
  GridRangeAndBearing(0.0, 0.0, -1.0, 0.0, &bearing, &distance);
  EXPECT_EQ(bearing, 3 * kPi / 2);
}

// A and B on a projection of the type, both forms from the projection itself.
RangeAndBearingResult OnProjection(CProjection& projection, const CSpheroid& spheroid) {
  SurveyPoint a{52.0 * kDeg, 1.0 * kDeg, 0, 0, 0}, b{52.3 * kDeg, 1.6 * kDeg, 0, 0, 0};
  for (SurveyPoint* p : {&a, &b}) {
    EXPECT_EQ(projection.GeogToGrid(p->latitude, p->longitude, &p->easting, &p->northing),
              ProjectionStatus::kOk);
  }
  return ComputeRangeAndBearing(spheroid, projection, a, b);
}

TEST(RangeAndBearing, TMinusTOnlyOnTheTransverseMercatorFamily) {
  CSpheroid spheroid = Spheroid(kWgs84Row, kRangeBearingGeodesic);
  CProjection projection;
  projection.m_Spheroid = &spheroid;
  ASSERT_TRUE(projection.SetFromCatalogue(31, PROJECTION_UTM, 0));
  const RangeAndBearingResult utm = OnProjection(projection, spheroid);
  EXPECT_NE(utm.t_minus_T_a, 0.0);
  EXPECT_NE(utm.t_minus_T_b, 0.0);
  // The grid distance is the spheroidal one scaled by about k0 near the meridian.
  EXPECT_NEAR(utm.spheroidal.m_LineScaleFactor, 0.9996, 2e-4);
  EXPECT_EQ(utm.grid.m_LineScaleFactor, utm.spheroidal.m_LineScaleFactor);

  projection.m_Type = PROJECTION_LAMBERT;
  projection.m_Method = 1;
  projection.SetParametersDeg(52.0, 1.0, 0.0, 0.0, 1.0);
  projection.SetStandardParallels(51.0, 53.0);
  const RangeAndBearingResult lambert = OnProjection(projection, spheroid);
  EXPECT_EQ(lambert.t_minus_T_a, 0.0);
  EXPECT_EQ(lambert.t_minus_T_b, 0.0);
  EXPECT_GT(lambert.rhumb.m_NauticalMiles, 0.0);
  EXPECT_NEAR(lambert.rhumb.m_NauticalMiles * lambert.nautical_mile, lambert.rhumb.m_Range, 1e-6);
  EXPECT_NEAR(lambert.nautical_mile, 1853.0, 3.0) << "a minute of latitude at 52 N";
}

TEST(SlopeDistance, HeightsRaiseTheChordAndNoHeightsKeepTheRange) {
  const CSpheroid s = Spheroid(kWgs84Row, 0);
  EXPECT_EQ(s.SlopeDistance(12345.678, 0.0, 0.0), 12345.678);
  EXPECT_EQ(s.SlopeDistance(0.0, 10.0, 20.0), 0.0);
  const double radius = s.m_SemiMajorAxis;
  // Both ends 100 m up: the arc at 100 m less the chord's shortfall S^3 / (24 R^2).
  const double s1 = 10000.0;
  EXPECT_NEAR(s.SlopeDistance(s1, 100.0, 100.0),
              (s1 - s1 * s1 * s1 / (24 * radius * radius)) * (radius + 100.0) / radius, 1e-4);
  // A short level line between very different heights: almost the height difference.
  EXPECT_NEAR(s.SlopeDistance(1.0, 0.0, 50.0), std::hypot(1.0, 50.0), 1e-3);
  // Heights of a fraction of a millimetre: the range itself, by the two-leg rule.
  EXPECT_NEAR(s.SlopeDistance(1000.0, 1e-7, 2e-7), 1000.0, 1e-6);
  EXPECT_TRUE(std::isnan(s.SlopeDistance(std::nan(""), 1.0, 1.0)));
}

class TraverseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    spheroid_ = Spheroid(kWgs84Row, kRangeBearingGeodesic);
    projection_.m_Spheroid = &spheroid_;
    ASSERT_TRUE(projection_.SetFromCatalogue(31, PROJECTION_UTM, 0));
    a_.latitude = 51.0 * kDeg;
    a_.longitude = 2.0 * kDeg;
    a_.height = 20.0;
    ASSERT_EQ(projection_.GeogToGrid(a_.latitude, a_.longitude, &a_.easting, &a_.northing),
              ProjectionStatus::kOk);
  }
  CSpheroid spheroid_;
  CProjection projection_;
  SurveyPoint a_;
};

TEST_F(TraverseTest, GridLegDueEastAtTheSameHeight) {
  const TraverseResult r = ComputeTraverse(projection_, a_, {true, 100.0, kPi / 2, true, 0.0});
  ASSERT_EQ(r.status, ProjectionStatus::kOk);
  EXPECT_NEAR(r.b.easting, a_.easting + 100.0, 1e-9);
  EXPECT_NEAR(r.b.northing, a_.northing, 1e-9);
  EXPECT_EQ(r.b.height, a_.height);
  // B's geographical form comes from the inverse projection.
  double e = 0.0, n = 0.0;
  ASSERT_EQ(projection_.GeogToGrid(r.b.latitude, r.b.longitude, &e, &n), ProjectionStatus::kOk);
  EXPECT_NEAR(e, r.b.easting, 1e-6);
}

TEST_F(TraverseTest, ZenithNinetyIsElevationZero) {
  const TraverseResult zenith =
      ComputeTraverse(projection_, a_, {true, 100.0, 0.3, false, kPi / 2});
  const TraverseResult level = ComputeTraverse(projection_, a_, {true, 100.0, 0.3, true, 0.0});
  EXPECT_NEAR(zenith.b.easting, level.b.easting, 1e-9);
  EXPECT_NEAR(zenith.b.height, a_.height, 1e-9);
}

TEST_F(TraverseTest, ElevationRaisesBAndShortensOnlyTheGridLeg) {
  const TraverseResult grid = ComputeTraverse(projection_, a_, {true, 100.0, 0.0, true, kPi / 6});
  EXPECT_NEAR(grid.b.height, a_.height + 50.0, 1e-9);
  EXPECT_NEAR(grid.b.northing - a_.northing, 100.0 * std::cos(kPi / 6), 1e-9);
  const TraverseResult geo = ComputeTraverse(projection_, a_, {false, 100.0, 0.0, true, kPi / 6});
  EXPECT_NEAR(geo.b.height, a_.height + 50.0, 1e-9);
  double range = 0.0;
  ASSERT_TRUE(spheroid_.InverseRangeAndBearing(&range, nullptr, nullptr, a_.latitude, a_.longitude,
                                               geo.b.latitude, geo.b.longitude));
  EXPECT_NEAR(range, 100.0, 1e-9) << "the observed range, not reduced";
}

TEST_F(TraverseTest, RangeZeroStaysAtA) {
  for (const bool grid : {true, false}) {
    const TraverseResult r = ComputeTraverse(projection_, a_, {grid, 0.0, 1.0, true, 0.0});
    EXPECT_NEAR(r.b.easting, a_.easting, 1e-6);
    EXPECT_NEAR(r.b.northing, a_.northing, 1e-6);
    EXPECT_NEAR(r.b.latitude, a_.latitude, 1e-12);
  }
}

}  // namespace
}  // namespace orvale
