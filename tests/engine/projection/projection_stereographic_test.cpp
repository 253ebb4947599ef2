// Stereographic projections; the published worked examples are in
// tests/data/projections/stereographic_rso.txt.

#include <array>

#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

enum class Polar { kNone, kNorth, kSouth, kVariantB, kVariantC };

struct Setting {
  const char* name;
  int method;
  double lat0;  // degrees; the standard parallel for variants B and C
  double lon0;
  double k0;
  Polar polar;
};

struct Stereographic : TestProjection {
  explicit Stereographic(const Setting& s, int row = kWgs84Row)
      : TestProjection(row, PROJECTION_STEREOGRAPHIC, s.method) {
    m_OriginLatitude = Radians(s.lat0);
    m_CentralMeridian = Radians(s.lon0);
    m_ScaleFactor = s.k0;
    m_FalseEasting = 2000000.0;
    m_FalseNorthing = 1000000.0;
    if (s.polar == Polar::kNone) Initialise();
    if (s.polar == Polar::kNorth || s.polar == Polar::kSouth) SetPolar(s.polar == Polar::kNorth);
    if (s.polar == Polar::kVariantB) SetPolarBDeg(s.lat0);
    if (s.polar == Polar::kVariantC) SetPolarCDeg(s.lat0);
  }
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
  return s.polar == Polar::kSouth || s.lat0 < 0.0 ? -75.0 : 75.0;
}

// No variant computes convergence or scale: the double projection reports 0 for both, the
// polar one a zero convergence, leaving the scale as it was; the inverse never writes one.
TEST(Stereographic, EveryVariantRoundTripsKeepsTheEmptyPositionAndReportsNoConvergence) {
  for (const Setting& s : kSettings) {
    SCOPED_TRACE(s.name);
    Stereographic st(s);
    const double lat0 = GridCentreLatitude(s);
    EXPECT_LE(st.WorstRoundTrip(Around(lat0, 10.0, 2.5), Around(s.lon0, 40.0, 10.0)), kMillimetre);
    ExpectEmptyPositionBothWays(st, st.m_ScaleFactor);
    const RoundTripOutputs x = st.BothWays(Radians(lat0 + 1.0), Radians(s.lon0 + 2.0));
    EXPECT_EQ((std::array{x.convergence, x.scale, x.back_convergence, x.back_scale}),
              (std::array{0.0, s.method == 2 ? kUntouched : 0.0, 0.0, kUntouched}));
  }
}

TEST(ObliqueStereographic, ProjectsItsOriginOntoTheFalseOrigin) {
  const Setting& s = kSettings[0];
  Stereographic st(s, kBessel1841Row);
  const GridOutputs g = st.Forward(Radians(s.lat0), Radians(s.lon0));
  EXPECT_NEAR(g.easting, st.m_FalseEasting, kMillimetre);
  EXPECT_NEAR(g.northing, st.m_FalseNorthing, kMillimetre);
}

TEST(PolarStereographic, WithoutOriginOrParallelsBecomesNorthPolarWithTheGivenScale) {
  Stereographic unset({"unset", 2, 0.0, 30.0, 0.994, Polar::kNone});
  Stereographic north({"north", 2, 0.0, 30.0, 0.994, Polar::kNorth});
  EXPECT_EQ(unset.m_OriginLatitude, kHalfPi);
  EXPECT_EQ(unset.m_ScaleFactor, 0.994);
  for (const double latitude : {60.0, 75.0, 89.0}) {
    const GridOutputs a = unset.Forward(Radians(latitude), Radians(100.0));
    const GridOutputs b = north.Forward(Radians(latitude), Radians(100.0));
    EXPECT_EQ(a.easting, b.easting);
    EXPECT_EQ(a.northing, b.northing);
  }
  for (const double pole : {90.0, -90.0}) {
    Stereographic st({"pole in degrees", 2, pole, 0.0, 0.994, Polar::kNone});
    EXPECT_EQ(st.m_ScaleFactor, 0.994) << "pole entered as " << pole;
  }
}

// Seen from its own pole a south-polar projection mirrors the north-polar one: the same
// eastings, northings reflected about the false northing.
TEST(PolarStereographic, SouthIsTheMirrorImageOfNorth) {
  const Setting pairs[][2] = {
      {{"A north", 2, 0.0, 30.0, 0.994, Polar::kNorth},
       {"A south", 2, 0.0, 30.0, 0.994, Polar::kSouth}},
      {{"B north", 2, 71.0, 30.0, 1.0, Polar::kVariantB},
       {"B south", 2, -71.0, 30.0, 1.0, Polar::kVariantB}},
  };
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair[0].name);
    Stereographic north(pair[0]), south(pair[1]);
    for (const double latitude : {60.0, 80.0}) {
      const GridOutputs n = north.Forward(Radians(latitude), Radians(75.0));
      const GridOutputs s = south.Forward(Radians(-latitude), Radians(75.0));
      const double fn = north.m_FalseNorthing;
      EXPECT_NEAR(s.easting, n.easting, kMillimetre);
      EXPECT_NEAR(s.northing - fn, fn - n.northing, kMillimetre);
    }
  }
}

// Variants B and C replace k0 so that the standard parallel's image is a circle about the
// pole of its radius on the spheroid; C puts the false origin on it, B at the pole.
TEST(PolarStereographic, VariantsBAndCAreTrueToScaleOnTheirStandardParallel) {
  for (const Setting& s : kSettings) {
    if (s.polar != Polar::kVariantB && s.polar != Polar::kVariantC) continue;
    SCOPED_TRACE(s.name);
    Stereographic st(s);
    EXPECT_LT(st.m_ScaleFactor, 1.0);
    const double parallel = Radians(s.lat0), sin_parallel = std::sin(parallel);
    const double parallel_radius = st.spheroid.m_SemiMajorAxis * std::cos(parallel) /
                                   std::sqrt(1.0 - st.spheroid.m_E2 * sin_parallel * sin_parallel);
    const GridOutputs pole = st.Forward(s.lat0 > 0.0 ? kHalfPi : -kHalfPi, Radians(s.lon0));
    const bool variant_b = s.polar == Polar::kVariantB;
    if (variant_b) {
      EXPECT_NEAR(pole.easting, st.m_FalseEasting, kMillimetre);
      EXPECT_NEAR(pole.northing, st.m_FalseNorthing, kMillimetre);
    }
    for (const double dlon : {0.0, 45.0, 135.0}) {
      SCOPED_TRACE(dlon);
      const GridOutputs g = st.Forward(parallel, Radians(s.lon0 + dlon));
      EXPECT_NEAR(std::hypot(g.easting - pole.easting, g.northing - pole.northing), parallel_radius,
                  kMillimetre);
      if (dlon == 0.0 && !variant_b) {
        EXPECT_NEAR(g.easting, st.m_FalseEasting, kMillimetre);
        EXPECT_NEAR(g.northing, st.m_FalseNorthing, kMillimetre);
      }
    }
  }
}

}  // namespace
}  // namespace orvale
