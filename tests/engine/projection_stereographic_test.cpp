// Stereographic projections: round trips of every variant, the polar set-up rules that
// change the record (north-polar default, scale factor of variants B and C) and the
// outputs the family leaves alone. The published worked examples are in
// tests/data/projections/stereographic_rso.txt.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "orvale/engine/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid.h"

namespace orvale {
namespace {

constexpr int kWgs84 = 26;
constexpr int kBessel1841 = 3;
constexpr double kMillimetre = 0.001;

double Radians(double degrees) {
  return degrees * kRadiansPerDegree;
}

enum class Polar { kNone, kNorth, kSouth, kVariantB, kVariantC };

struct Setting {
  const char* name;
  int method;
  double lat0;  // degrees; the standard parallel for variants B and C
  double lon0;
  double k0;
  Polar polar;
};

// Each setting with the spheroid it is computed on.
struct Stereographic {
  explicit Stereographic(const Setting& s, int row = kWgs84) {
    spheroid.SetBuiltIn(row);
    projection.m_Spheroid = &spheroid;
    projection.m_Type = PROJECTION_STEREOGRAPHIC;
    projection.m_Method = s.method;
    projection.m_OriginLatitude = Radians(s.lat0);
    projection.m_CentralMeridian = Radians(s.lon0);
    projection.m_ScaleFactor = s.k0;
    projection.m_FalseEasting = 2000000.0;
    projection.m_FalseNorthing = 1000000.0;
    switch (s.polar) {
      case Polar::kNone:
        projection.Initialise();
        break;
      case Polar::kNorth:
        projection.SetPolar(true);
        break;
      case Polar::kSouth:
        projection.SetPolar(false);
        break;
      case Polar::kVariantB:
        projection.SetPolarBDeg(s.lat0);
        break;
      case Polar::kVariantC:
        projection.SetPolarCDeg(s.lat0);
        break;
    }
  }
  // Radius of the parallel on the spheroid, independent of the projection's formulas.
  double ParallelRadius(double latitude) const {
    const double sin_lat = std::sin(latitude);
    return spheroid.m_SemiMajorAxis * std::cos(latitude) /
           std::sqrt(1.0 - spheroid.m_E2 * sin_lat * sin_lat);
  }
  CSpheroid spheroid;
  CProjection projection;
};

constexpr Setting kSettings[] = {
    {"oblique", 0, 52.156160556, 5.387638889, 0.9999079, Polar::kNone},
    {"oblique south", 0, -33.5, 135.0, 0.9999, Polar::kNone},
    {"equatorial", 1, 0.0, 20.0, 1.0, Polar::kNone},
    {"polar A north", 2, 0.0, 0.0, 0.994, Polar::kNorth},
    {"polar A south", 2, 0.0, 0.0, 0.994, Polar::kSouth},
    {"polar B north", 2, 70.0, -45.0, 1.0, Polar::kVariantB},
    {"polar B south", 2, -71.0, 70.0, 1.0, Polar::kVariantB},
    {"polar C north", 2, 67.0, 10.0, 1.0, Polar::kVariantC},
    {"polar C south", 2, -67.0, 140.0, 1.0, Polar::kVariantC},
};

// Centre of the test grid: the origin, or 75 degrees towards the projection's pole.
double GridCentreLatitude(const Setting& s) {
  if (s.polar == Polar::kNone) return s.lat0;
  const bool south = s.polar == Polar::kSouth || s.lat0 < 0.0;
  return south ? -75.0 : 75.0;
}

TEST(StereographicRoundTrip, ReturnsEveryPointOfAGridToWithinAMillimetre) {
  for (const Setting& s : kSettings) {
    SCOPED_TRACE(s.name);
    Stereographic st(s);
    double worst = 0.0;
    for (double dlat = -10.0; dlat <= 10.0; dlat += 2.5) {
      for (double dlon = -40.0; dlon <= 40.0; dlon += 10.0) {
        const double latitude = Radians(GridCentreLatitude(s) + dlat);
        const double longitude = Radians(s.lon0 + dlon);
        double e = 0.0, n = 0.0, back_lat = 0.0, back_lon = 0.0;
        st.projection.GeogToGrid(latitude, longitude, &e, &n);
        st.projection.GridToGeog(e, n, &back_lat, &back_lon);
        const double a = st.spheroid.m_SemiMajorAxis;
        worst = std::max(worst, std::hypot((back_lat - latitude) * a,
                                           (back_lon - longitude) * a * std::cos(latitude)));
      }
    }
    EXPECT_LE(worst, kMillimetre);
  }
}

TEST(StereographicEmptyPosition, GivesZerosAndTheScaleFactorOfTheSetUp) {
  for (const Setting& s : kSettings) {
    SCOPED_TRACE(s.name);
    Stereographic st(s);
    double e = 1.0, n = 1.0, gamma = 1.0, k = 0.0;
    st.projection.GeogToGrid(0.0, 0.0, &e, &n, &gamma, &k);
    EXPECT_EQ(e, 0.0);
    EXPECT_EQ(n, 0.0);
    EXPECT_EQ(gamma, 0.0);
    EXPECT_EQ(k, st.projection.m_ScaleFactor);
    double latitude = 1.0, longitude = 1.0;
    k = 0.0;
    st.projection.GridToGeog(0.0, 0.0, &latitude, &longitude, nullptr, &k);
    EXPECT_EQ(latitude, 0.0);
    EXPECT_EQ(longitude, 0.0);
    EXPECT_EQ(k, st.projection.m_ScaleFactor);
  }
}

TEST(PolarStereographic, WithoutOriginOrParallelsBecomesNorthPolarWithTheGivenScale) {
  Stereographic unset({"unset", 2, 0.0, 30.0, 0.994, Polar::kNone});
  Stereographic north({"north", 2, 0.0, 30.0, 0.994, Polar::kNorth});
  EXPECT_EQ(unset.projection.m_OriginLatitude, kHalfPi);
  EXPECT_EQ(unset.projection.m_ScaleFactor, 0.994);
  for (const double latitude : {60.0, 75.0, 89.0}) {
    double e1 = 0.0, n1 = 0.0, e2 = 0.0, n2 = 0.0;
    unset.projection.GeogToGrid(Radians(latitude), Radians(100.0), &e1, &n1);
    north.projection.GeogToGrid(Radians(latitude), Radians(100.0), &e2, &n2);
    EXPECT_EQ(e1, e2);
    EXPECT_EQ(n1, n2);
  }
}

TEST(PolarStereographic, KeepsTheGivenScaleWhenThePoleIsEnteredInDegrees) {
  for (const double pole : {90.0, -90.0}) {
    Stereographic st({"pole in degrees", 2, pole, 0.0, 0.994, Polar::kNone});
    EXPECT_EQ(st.projection.m_ScaleFactor, 0.994) << pole;
  }
}

// Seen from its own pole a south-polar projection is the mirror of the north-polar one:
// the same eastings, northings reflected about the false northing.
TEST(PolarStereographic, SouthIsTheMirrorImageOfNorth) {
  const Setting pairs[][2] = {
      {{"A north", 2, 0.0, 30.0, 0.994, Polar::kNorth},
       {"A south", 2, 0.0, 30.0, 0.994, Polar::kSouth}},
      {{"B north", 2, 71.0, 30.0, 1.0, Polar::kVariantB},
       {"B south", 2, -71.0, 30.0, 1.0, Polar::kVariantB}},
  };
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair[0].name);
    Stereographic north(pair[0]);
    Stereographic south(pair[1]);
    for (const double latitude : {60.0, 80.0}) {
      double e1 = 0.0, n1 = 0.0, e2 = 0.0, n2 = 0.0;
      north.projection.GeogToGrid(Radians(latitude), Radians(75.0), &e1, &n1);
      south.projection.GeogToGrid(Radians(-latitude), Radians(75.0), &e2, &n2);
      const double false_northing = north.projection.m_FalseNorthing;
      EXPECT_NEAR(e2, e1, kMillimetre);
      EXPECT_NEAR(n2 - false_northing, false_northing - n1, kMillimetre);
    }
  }
}

// Variants B and C replace k0 so that the standard parallel is true to scale: its image
// is a circle about the pole of the parallel's own radius on the spheroid. Variant C
// puts the false origin on that parallel, variant B at the pole.
TEST(PolarStereographic, VariantsBAndCAreTrueToScaleOnTheirStandardParallel) {
  for (const Setting& s : kSettings) {
    if (s.polar != Polar::kVariantB && s.polar != Polar::kVariantC) continue;
    SCOPED_TRACE(s.name);
    Stereographic st(s);
    const CProjection& p = st.projection;
    EXPECT_LT(p.m_ScaleFactor, 1.0);
    const double parallel = Radians(s.lat0);
    const double pole = s.lat0 > 0.0 ? kHalfPi : -kHalfPi;
    double pole_e = 0.0, pole_n = 0.0;
    st.projection.GeogToGrid(pole, Radians(s.lon0), &pole_e, &pole_n);
    for (const double dlon : {0.0, 45.0, 135.0}) {
      double e = 0.0, n = 0.0;
      st.projection.GeogToGrid(parallel, Radians(s.lon0 + dlon), &e, &n);
      EXPECT_NEAR(std::hypot(e - pole_e, n - pole_n), st.ParallelRadius(parallel), kMillimetre)
          << dlon;
      if (dlon == 0.0 && s.polar == Polar::kVariantC) {
        EXPECT_NEAR(e, p.m_FalseEasting, kMillimetre);
        EXPECT_NEAR(n, p.m_FalseNorthing, kMillimetre);
      }
    }
    if (s.polar == Polar::kVariantB) {
      EXPECT_NEAR(pole_e, p.m_FalseEasting, kMillimetre);
      EXPECT_NEAR(pole_n, p.m_FalseNorthing, kMillimetre);
    }
  }
}

// The family computes no convergence or scale: the double projection reports 0 for
// both, the polar one reports a zero convergence and leaves the scale as it was, and
// the inverse never writes a scale.
TEST(Stereographic, ReportsZeroConvergenceAndLeavesScaleAsDocumented) {
  constexpr double kUntouched = 0.25;
  for (const Setting& s : kSettings) {
    SCOPED_TRACE(s.name);
    Stereographic st(s);
    double e = 0.0, n = 0.0, gamma = kUntouched, k = kUntouched;
    st.projection.GeogToGrid(Radians(GridCentreLatitude(s) + 1.0), Radians(s.lon0 + 2.0), &e, &n,
                             &gamma, &k);
    EXPECT_EQ(gamma, 0.0);
    EXPECT_EQ(k, s.method == 2 ? kUntouched : 0.0);
    double latitude = 0.0, longitude = 0.0;
    gamma = k = kUntouched;
    st.projection.GridToGeog(e, n, &latitude, &longitude, &gamma, &k);
    EXPECT_EQ(gamma, 0.0);
    EXPECT_EQ(k, kUntouched);
  }
}

TEST(ObliqueStereographic, ProjectsItsOriginOntoTheFalseOrigin) {
  const Setting s = kSettings[0];
  Stereographic st(s, kBessel1841);
  double e = 0.0, n = 0.0;
  st.projection.GeogToGrid(Radians(s.lat0), Radians(s.lon0), &e, &n);
  EXPECT_NEAR(e, st.projection.m_FalseEasting, kMillimetre);
  EXPECT_NEAR(n, st.projection.m_FalseNorthing, kMillimetre);
}

}  // namespace
}  // namespace orvale
