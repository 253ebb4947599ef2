#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "orvale/engine/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/spheroid_formulas.h"
#include "orvale/engine/spheroid.h"

namespace orvale {
namespace {

constexpr int kClarke1866Row = 7;
constexpr int kGrs80Row = 17;
constexpr double kUsFoot = 0.30480060960121924;

struct Zone {
  const char* name;
  int spheroid_row;
  double origin_latitude;  // degrees
  double central_meridian;
  double parallel1;
  double parallel2;
  double false_easting;  // metres
  double false_northing;
};

constexpr Zone kTexasSouthCentral = {
    "Texas South Central", kClarke1866Row,     27.0 + 50.0 / 60.0,  -99.0,
    28.0 + 23.0 / 60.0,    30.0 + 17.0 / 60.0, 2000000.0 * kUsFoot, 0.0};
constexpr Zone kLambert93 = {"Lambert-93", kGrs80Row, 46.5, 3.0, 44.0, 49.0, 700000.0, 6600000.0};
constexpr Zone kJamaica = {"Jamaica", kClarke1866Row, 18.0, -77.0, 0.0, 0.0, 250000.0, 150000.0};

class LambertTest : public ::testing::Test {
 protected:
  LambertTest() {
    first_.m_Spheroid = &spheroid_;
    second_.m_Spheroid = &spheroid_;
  }

  void SetUpZone(CProjection& p, const Zone& zone, int method) {
    spheroid_.SetBuiltIn(zone.spheroid_row);
    p.m_Type = PROJECTION_LAMBERT;
    p.m_Method = method;
    p.m_StandardParallel1 = zone.parallel1 * kRadiansPerDegree;
    p.m_StandardParallel2 = zone.parallel2 * kRadiansPerDegree;
    p.SetParametersDeg(zone.origin_latitude, zone.central_meridian, zone.false_easting,
                       zone.false_northing, 1.0);
  }

  double Separation(double lat1, double lon1, double lat2, double lon2) const {
    const double a = spheroid_.m_SemiMajorAxis;
    return std::hypot((lat1 - lat2) * a, (lon1 - lon2) * a * std::cos(lat1));
  }

  // Worst forward-then-inverse error (metres) over a grid of half-widths in degrees
  // about the origin.
  double WorstRoundTrip(const CProjection& p, double lat_half_width, double lon_half_width,
                        double step) {
    CProjection copy = p;
    double worst = 0.0;
    for (double dlat = -lat_half_width; dlat <= lat_half_width + 1e-9; dlat += step) {
      for (double dlon = -lon_half_width; dlon <= lon_half_width + 1e-9; dlon += step) {
        const double latitude = p.m_OriginLatitude + dlat * kRadiansPerDegree;
        const double longitude = p.m_CentralMeridian + dlon * kRadiansPerDegree;
        double easting = 0.0, northing = 0.0, back_lat = 0.0, back_lon = 0.0;
        copy.GeogToGrid(latitude, longitude, &easting, &northing);
        copy.GridToGeog(easting, northing, &back_lat, &back_lon);
        worst = std::max(worst, Separation(latitude, longitude, back_lat, back_lon));
      }
    }
    return worst;
  }

  CSpheroid spheroid_;
  CProjection first_;
  CProjection second_;
};

// The closed forms leave about 14 micrometres (method 1, whose latitude iteration
// stops at a 0.001" step) and a few nanometres (method 2) per round trip.
TEST_F(LambertTest, ClosedFormsRoundTripOverTheZoneToTheMillimetre) {
  for (const Zone& zone : {kTexasSouthCentral, kLambert93}) {
    for (const int method : {1, 2}) {
      SCOPED_TRACE(testing::Message() << zone.name << ", method " << method);
      SetUpZone(first_, zone, method);
      EXPECT_LT(WorstRoundTrip(first_, 6.0, 8.0, 0.5), 0.001);
    }
  }
}

// Method 1 and method 2 are two forms of the same cone, the false northing applied at
// the origin in both, so they give one grid.
TEST_F(LambertTest, BothTwoParallelFormsGiveTheSameGrid) {
  for (const Zone& zone : {kTexasSouthCentral, kLambert93}) {
    SCOPED_TRACE(zone.name);
    SetUpZone(first_, zone, 1);
    SetUpZone(second_, zone, 2);
    double worst = 0.0;
    for (double dlat = -6.0; dlat <= 6.0; dlat += 0.5) {
      for (double dlon = -8.0; dlon <= 8.0; dlon += 0.5) {
        const double latitude = first_.m_OriginLatitude + dlat * kRadiansPerDegree;
        const double longitude = first_.m_CentralMeridian + dlon * kRadiansPerDegree;
        double e1 = 0.0, n1 = 0.0, e2 = 0.0, n2 = 0.0;
        first_.GeogToGrid(latitude, longitude, &e1, &n1);
        second_.GeogToGrid(latitude, longitude, &e2, &n2);
        worst = std::max(worst, std::hypot(e1 - e2, n1 - n2));
      }
    }
    EXPECT_LT(worst, 0.001);
  }
}

// The USA form replaces k0 by the scale of its parallel of least scale, asin(n), which
// lies between the standard parallels, where the scale is 1.
TEST_F(LambertTest, UsaFormScaleFactorIsTheLeastScaleBetweenTheParallels) {
  for (const Zone& zone : {kTexasSouthCentral, kLambert93}) {
    SCOPED_TRACE(zone.name);
    SetUpZone(first_, zone, 2);
    const double k0 = first_.m_ScaleFactor;
    EXPECT_LT(k0, 1.0);
    auto scale_at = [&](double latitude) {
      double e = 0.0, n = 0.0, k = 0.0;
      first_.GeogToGrid(latitude, first_.m_CentralMeridian + 0.01, &e, &n, nullptr, &k);
      return k;
    };
    EXPECT_NEAR(scale_at(first_.m_StandardParallel1), 1.0, 1e-12);
    EXPECT_NEAR(scale_at(first_.m_StandardParallel2), 1.0, 1e-12);
    const double least = std::asin(first_.m_Param[0]);
    EXPECT_GT(least, first_.m_StandardParallel1);
    EXPECT_LT(least, first_.m_StandardParallel2);
    EXPECT_NEAR(scale_at(least), k0, 1e-12);
    for (double t = 0.0; t <= 1.0; t += 0.05) {
      const double latitude = first_.m_StandardParallel1 +
                              t * (first_.m_StandardParallel2 - first_.m_StandardParallel1);
      const double k = scale_at(latitude);
      EXPECT_GE(k, k0 - 1e-15);
      EXPECT_LE(k, 1.0 + 1e-12);
    }
  }
}

// Without a latitude output the USA inverse takes the scale from a series in the
// distance north of the parallel of least scale. Measured against the full inverse
// on the central meridian: 4.5e-6 at 55 km, 1e-4 at 280 km (Lambert-93).
TEST_F(LambertTest, UsaFormScaleWithoutLatitudeFollowsTheFullScaleNearTheLeastParallel) {
  SetUpZone(first_, kLambert93, 2);
  const double least = std::asin(first_.m_Param[0]);
  for (const double offset_km : {-50.0, -20.0, 0.0, 20.0, 50.0}) {
    SCOPED_TRACE(testing::Message() << offset_km << " km from the parallel of least scale");
    const double latitude = least + offset_km * 1000.0 / 6378137.0;
    double e = 0.0, n = 0.0;
    first_.GeogToGrid(latitude, first_.m_CentralMeridian + 1e-6, &e, &n);
    double lat = 0.0, lon = 0.0, full = 0.0, series = 0.0;
    first_.GridToGeog(e, n, &lat, &lon, nullptr, &full);
    first_.GridToGeog(e, n, nullptr, &lon, nullptr, &series);
    EXPECT_NEAR(series, full, 1e-5);
  }
}

TEST_F(LambertTest, ConvergenceIsTheConeAngleExceptInTheClosedForm) {
  struct Case {
    const Zone* zone;
    int method;
  };
  for (const Case& c : {Case{&kJamaica, 0}, Case{&kLambert93, 1}, Case{&kLambert93, 2}}) {
    SCOPED_TRACE(testing::Message() << c.zone->name << ", method " << c.method);
    SetUpZone(first_, *c.zone, c.method);
    const double dlon = 0.8 * kRadiansPerDegree;
    const double latitude = first_.m_OriginLatitude + 0.3 * kRadiansPerDegree;
    double e = 0.0, n = 0.0, convergence = 99.0, scale = 99.0;
    first_.GeogToGrid(latitude, first_.m_CentralMeridian + dlon, &e, &n, &convergence, &scale);
    double lat = 0.0, lon = 0.0, back_convergence = 99.0, back_scale = 99.0;
    first_.GridToGeog(e, n, &lat, &lon, &back_convergence, &back_scale);
    if (c.method == 1) {
      EXPECT_EQ(convergence, 0.0);
      EXPECT_EQ(scale, 0.0);
      EXPECT_EQ(back_convergence, 0.0);
      EXPECT_EQ(back_scale, 0.0);
      continue;
    }
    const double cone_constant =
        c.method == 0 ? std::sin(first_.m_OriginLatitude) : first_.m_Param[0];
    EXPECT_NEAR(convergence, dlon * cone_constant, 1e-12);
    EXPECT_NEAR(back_convergence, convergence, 1e-9);
    EXPECT_NEAR(back_scale, scale, 1e-9);
  }
}

TEST_F(LambertTest, EmptyPositionGivesZerosAndTheScaleFactorOfTheSetUp) {
  for (const int method : {0, 1, 2}) {
    SCOPED_TRACE(testing::Message() << "method " << method);
    SetUpZone(first_, method == 0 ? kJamaica : kLambert93, method);
    double easting = 1.0, northing = 1.0, convergence = 1.0, scale = 0.0;
    first_.GeogToGrid(0.0, 0.0, &easting, &northing, &convergence, &scale);
    EXPECT_EQ(easting, 0.0);
    EXPECT_EQ(northing, 0.0);
    EXPECT_EQ(convergence, 0.0);
    EXPECT_EQ(scale, first_.m_ScaleFactor);
    double latitude = 1.0, longitude = 1.0;
    scale = 0.0;
    first_.GridToGeog(0.0, 0.0, &latitude, &longitude, &convergence, &scale);
    EXPECT_EQ(latitude, 0.0);
    EXPECT_EQ(longitude, 0.0);
    EXPECT_EQ(scale, first_.m_ScaleFactor);
  }
}

// The one-parallel inverse reverts the developed meridian distance by a series that
// stops at the fifth power without its 3 P0^2 term, so its error grows as m^5/(12R^4)
// with m the meridian distance from the standard parallel and R^2 = rho0 nu0: under
// 1 mm within one degree of the parallel, 27 mm at two, 0.2 m at three and 2.6 m at
// five degrees (Jamaica). The forward series stays within 7 mm of the exact cone there.
TEST_F(LambertTest, OneParallelRoundTripIsMillimetreWithinOneDegreeOfTheParallel) {
  SetUpZone(first_, kJamaica, 0);
  EXPECT_LT(WorstRoundTrip(first_, 1.0, 4.0, 0.25), 0.001);
}

TEST_F(LambertTest, OneParallelRoundTripLossFollowsTheTruncatedReversion) {
  SetUpZone(first_, kJamaica, 0);
  const double r2 = first_.m_Rho0 * first_.m_Nu0;
  for (const double dlat : {-8.0, -5.0, -3.0, -2.0, 2.0, 3.0, 5.0, 8.0}) {
    SCOPED_TRACE(testing::Message() << dlat << " degrees from the standard parallel");
    const double latitude = first_.m_OriginLatitude + dlat * kRadiansPerDegree;
    const double longitude = first_.m_CentralMeridian + 0.5;
    double e = 0.0, n = 0.0, back_lat = 0.0, back_lon = 0.0;
    first_.GeogToGrid(latitude, longitude, &e, &n);
    first_.GridToGeog(e, n, &back_lat, &back_lon);
    const double m = MeridianDistance(spheroid_, latitude) - first_.m_M0;
    const double predicted = std::pow(std::fabs(m), 5) / (12.0 * r2 * r2);
    EXPECT_NEAR(Separation(latitude, longitude, back_lat, back_lon), predicted, 0.1 * predicted);
  }
}

// The footpoint iteration starts from the caller's latitude; 0, NaN or a value beyond
// +-90 degrees starts it from 1 radian instead, and all settle on the same point.
TEST_F(LambertTest, OneParallelInverseSettlesFromAnyStartingLatitude) {
  SetUpZone(first_, kJamaica, 0);
  const double latitude = 18.4 * kRadiansPerDegree;
  const double longitude = -76.6 * kRadiansPerDegree;
  double e = 0.0, n = 0.0;
  first_.GeogToGrid(latitude, longitude, &e, &n);
  for (const double start : {0.0, std::numeric_limits<double>::quiet_NaN(), 2.0, -1.0, latitude}) {
    SCOPED_TRACE(testing::Message() << "start " << start);
    double back_lat = start, back_lon = 0.0;
    first_.GridToGeog(e, n, &back_lat, &back_lon);
    EXPECT_LT(Separation(latitude, longitude, back_lat, back_lon), 0.001);
  }
}

TEST_F(LambertTest, OneParallelNorthingIsOnlyFormedWithTheEasting) {
  SetUpZone(first_, kJamaica, 0);
  double northing = -1.0;
  first_.GeogToGrid(18.2 * kRadiansPerDegree, -76.8 * kRadiansPerDegree, nullptr, &northing);
  EXPECT_EQ(northing, -1.0);
}

// At the equator the closed form's scale factor would be 0/0; it takes its limit,
// the scale of the first parallel, and the grid is unaffected.
TEST_F(LambertTest, ClosedFormWithItsOriginOnTheEquatorKeepsAFiniteScaleFactor) {
  Zone zone = kLambert93;
  zone.origin_latitude = 0.0;
  SetUpZone(first_, zone, 1);
  EXPECT_NEAR(first_.m_ScaleFactor, ParallelFactor(spheroid_, first_.m_StandardParallel1), 1e-12);
  EXPECT_LT(WorstRoundTrip(first_, 2.0, 4.0, 1.0), 0.001) << "about the equator";
}

}  // namespace
}  // namespace orvale
