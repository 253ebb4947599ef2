// Stereographic projections; the published worked examples are in
// tests/data/projections/stereographic_rso.txt.

#include <array>

#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

struct Setting {
  const char* name;
  const char* projection;  // on WGS84
  double centre = 0.0;     // latitude: the origin, or 75 degrees towards the pole
  double parallel = 0.0;   // the standard parallel of variants B and C
};

constexpr Setting kSettings[] = {
    {"oblique", "type=9 method=0 lat0=52.156160556 lon0=5.387638889 k0=0.9999079", 52.156160556},
    {"oblique south", "type=9 method=0 lat0=-33.5 lon0=135 k0=0.9999", -33.5},
    {"equatorial", "type=9 method=1 lon0=20", 0.0},
    {"polar A north", "type=9 method=2 polar=north k0=0.994", 75.0},
    {"polar A south", "type=9 method=2 polar=south k0=0.994", -75.0},
    {"polar B north", "type=9 method=2 polarb=70 lon0=-45", 75.0, 70.0},
    {"polar B south", "type=9 method=2 polarb=-71 lon0=70", -75.0, -71.0},
    {"polar C north", "type=9 method=2 polarc=67 lon0=10", 75.0, 67.0},
    {"polar C south", "type=9 method=2 polarc=-67 lon0=140", -75.0, -67.0},
};

struct Stereographic : TestProjection {
  explicit Stereographic(const Setting& s)
      : TestProjection("row=26", std::string(s.projection) + " fe=2000000 fn=1000000") {}

  double CentralMeridianDeg() const { return m_CentralMeridian / kRadiansPerDegree; }
};

// No variant computes convergence or scale: the double projection reports 0 for both, the
// polar one a zero convergence, leaving the scale as it was; the inverse never writes one.
TEST(Stereographic, EveryVariantRoundTripsAndReportsNoConvergenceOrScale) {
  for (const Setting& s : kSettings) {
    SCOPED_TRACE(s.name);
    Stereographic st(s);
    const double lon0 = st.CentralMeridianDeg();
    EXPECT_LE(st.WorstRoundTrip(Around(s.centre, 10.0, 2.5), Around(lon0, 40.0, 10.0)),
              kMillimetre);
    const RoundTripOutputs x = st.BothWays(Radians(s.centre + 1.0), Radians(lon0 + 2.0));
    EXPECT_EQ((std::array{x.convergence, x.scale, x.back_convergence, x.back_scale}),
              (std::array{0.0, st.m_Method == 2 ? kUntouched : 0.0, 0.0, kUntouched}));
  }
}

TEST(PolarStereographic, WithoutOriginOrParallelsBecomesNorthPolarWithTheGivenScale) {
  Stereographic unset({"unset", "type=9 method=2 lon0=30 k0=0.994", 0.0});
  Stereographic north({"north", "type=9 method=2 polar=north lon0=30 k0=0.994", 0.0});
  EXPECT_EQ(unset.m_OriginLatitude, kHalfPi);
  EXPECT_EQ(unset.m_ScaleFactor, 0.994);
  for (const double latitude : {60.0, 75.0, 89.0}) {
    const GridOutputs a = unset.Forward(Radians(latitude), Radians(100.0));
    const GridOutputs b = north.Forward(Radians(latitude), Radians(100.0));
    EXPECT_EQ(a.easting, b.easting);
    EXPECT_EQ(a.northing, b.northing);
  }
  for (const char* pole : {"lat0=90", "lat0=-90"}) {
    Stereographic st(
        {"pole in degrees", (std::string("type=9 method=2 k0=0.994 ") + pole).c_str()});
    EXPECT_EQ(st.m_ScaleFactor, 0.994) << pole;
  }
}

// Seen from its own pole a south-polar projection mirrors the north-polar one: the same
// eastings, northings reflected about the false northing.
TEST(PolarStereographic, SouthIsTheMirrorImageOfNorth) {
  const Setting pairs[][2] = {
      {{"A north", "type=9 method=2 polar=north lon0=30 k0=0.994"},
       {"A south", "type=9 method=2 polar=south lon0=30 k0=0.994"}},
      {{"B north", "type=9 method=2 polarb=71 lon0=30"},
       {"B south", "type=9 method=2 polarb=-71 lon0=30"}},
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
    if (s.parallel == 0.0) continue;
    SCOPED_TRACE(s.name);
    Stereographic st(s);
    EXPECT_LT(st.m_ScaleFactor, 1.0);
    const double parallel = Radians(s.parallel), sin_parallel = std::sin(parallel);
    const double parallel_radius = st.spheroid.m_SemiMajorAxis * std::cos(parallel) /
                                   std::sqrt(1.0 - st.spheroid.m_E2 * sin_parallel * sin_parallel);
    const double lon0 = st.CentralMeridianDeg();
    const GridOutputs pole = st.Forward(s.parallel > 0.0 ? kHalfPi : -kHalfPi, Radians(lon0));
    const bool variant_b = st.m_StandardParallel1 != 0.0;
    if (variant_b) {
      EXPECT_NEAR(pole.easting, st.m_FalseEasting, kMillimetre);
      EXPECT_NEAR(pole.northing, st.m_FalseNorthing, kMillimetre);
    }
    for (const double dlon : {0.0, 45.0, 135.0}) {
      SCOPED_TRACE(dlon);
      const GridOutputs g = st.Forward(parallel, Radians(lon0 + dlon));
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
