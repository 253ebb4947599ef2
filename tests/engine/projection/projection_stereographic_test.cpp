// Stereographic projections; the published worked examples are in
// tests/data/projections/stereographic_rso.txt.

#include <array>
#include <numbers>
#include <string>
#include <vector>

#include "orvale/engine/projection/internal/spheroid_formulas.h"
#include "support/projection_fixture.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using namespace testing;

// The set-ups of tests/data/set_ups/stereographic.txt.
const std::vector<TextRow>& Settings() {
  static const std::vector<TextRow> rows = ReadTextTable("set_ups/stereographic.txt", 4);
  return rows;
}

struct Stereographic : TestProjection {
  explicit Stereographic(const std::string& projection)
      : TestProjection("row=26", projection + " fe=2000000 fn=1000000") {}

  double CentralMeridianDeg() const { return m_CentralMeridian / kRadiansPerDegree; }
};

// Every variant returns its points to 0.01 mm, and its inverse gives the forward's
// convergence and scale; at the origin (or the pole) the scale is k0.
TEST(Stereographic, EveryVariantRoundTripsWithItsConvergenceAndScale) {
  for (const TextRow& s : Settings()) {
    SCOPED_TRACE(s[0]);
    Stereographic st(s[1]);
    const double centre = s.Numbers(2).at(0), lon0 = st.CentralMeridianDeg();
    EXPECT_LE(st.WorstRoundTrip(Around(centre, 10.0, 2.5), Around(lon0, 40.0, 10.0)), 1e-5);
    const RoundTripOutputs x = st.BothWays(Radians(centre + 1.0), Radians(lon0 + 2.0));
    ASSERT_EQ(x.back_status, ProjectionStatus::kOk);
    EXPECT_NEAR(x.back_convergence, x.convergence, 1e-12);
    EXPECT_NEAR(x.back_scale, x.scale, 1e-12);
    EXPECT_GT(std::fabs(x.convergence), 1e-4) << "a true convergence, not a stand-in";
    const bool polar = st.m_Method == 2;
    const double origin = polar ? (st.m_Param[0] == 1.0 ? kHalfPi : -kHalfPi) : st.m_OriginLatitude;
    EXPECT_NEAR(st.Forward(origin, st.m_CentralMeridian + (polar ? 0.1 : 0.0)).scale,
                st.m_ScaleFactor, 1e-12);
  }
}

// The one point a stereographic plane cannot hold: the origin's antipode, which for a
// polar projection is the other pole. Its own pole comes back on the central meridian.
TEST(Stereographic, AntipodeHasNoImageAndThePoleComesBackOnTheCentralMeridian) {
  Stereographic oblique("type=9 method=0 lat0=52.156160556 lon0=5.387638889 k0=0.9999079");
  // The antipode on the conformal sphere (P2 = n, P3 = c, P4 = chi0), back on the spheroid.
  const auto& param = oblique.m_Param;
  const double isometric = (-std::atanh(std::sin(param[4])) - 0.5 * std::log(param[3])) / param[2];
  const double antipode = LatitudeFromIsometric(oblique.spheroid, isometric).latitude;
  EXPECT_EQ(
      oblique.Forward(antipode, oblique.m_CentralMeridian - std::numbers::pi / param[2]).status,
      ProjectionStatus::kOutsideDomain);
  for (const char* polar : {"polar=north lon0=140", "polarb=-71 lon0=-45", "polarc=67 lon0=140"}) {
    SCOPED_TRACE(polar);
    Stereographic st(std::string("type=9 method=2 k0=0.994 ") + polar);
    const double pole = st.m_Param[0] == 1.0 ? kHalfPi : -kHalfPi;
    EXPECT_EQ(st.Forward(-pole, 0.3).status, ProjectionStatus::kPoleNotRepresentable);
    const RoundTripOutputs x = st.BothWays(pole, 0.3);
    ASSERT_EQ(x.back_status, ProjectionStatus::kOk);
    EXPECT_EQ(x.back_latitude, pole);
    EXPECT_NEAR(x.back_longitude, st.m_CentralMeridian, 1e-15);
  }
}

TEST(PolarStereographic, WithoutOriginOrParallelsBecomesNorthPolarWithTheGivenScale) {
  Stereographic unset("type=9 method=2 lon0=30 k0=0.994");
  Stereographic north("type=9 method=2 polar=north lon0=30 k0=0.994");
  EXPECT_EQ(unset.m_OriginLatitude, kHalfPi);
  EXPECT_EQ(unset.m_ScaleFactor, 0.994);
  for (const double latitude : {60.0, 75.0, 89.0}) {
    const GridOutputs a = unset.Forward(Radians(latitude), Radians(100.0));
    const GridOutputs b = north.Forward(Radians(latitude), Radians(100.0));
    EXPECT_EQ(a.easting, b.easting);
    EXPECT_EQ(a.northing, b.northing);
  }
  for (const char* pole : {"lat0=90", "lat0=-90"}) {
    Stereographic st(std::string("type=9 method=2 k0=0.994 ") + pole);
    EXPECT_EQ(st.m_ScaleFactor, 0.994) << pole;
  }
}

// Seen from its own pole a south-polar projection mirrors the north-polar one: the same
// eastings, northings reflected about the false northing.
TEST(PolarStereographic, SouthIsTheMirrorImageOfNorth) {
  const std::string pairs[][2] = {
      {"type=9 method=2 polar=north lon0=30 k0=0.994",
       "type=9 method=2 polar=south lon0=30 k0=0.994"},
      {"type=9 method=2 polarb=71 lon0=30", "type=9 method=2 polarb=-71 lon0=30"},
  };
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair[0]);
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
  for (const TextRow& s : Settings()) {
    const double parallel_deg = s.Numbers(3).at(0);
    if (parallel_deg == 0.0) continue;
    SCOPED_TRACE(s[0]);
    Stereographic st(s[1]);
    EXPECT_LT(st.m_ScaleFactor, 1.0);
    const double parallel = Radians(parallel_deg), sin_parallel = std::sin(parallel);
    const double parallel_radius = st.spheroid.m_SemiMajorAxis * std::cos(parallel) /
                                   std::sqrt(1.0 - st.spheroid.m_E2 * sin_parallel * sin_parallel);
    const double lon0 = st.CentralMeridianDeg();
    const GridOutputs pole = st.Forward(parallel > 0.0 ? kHalfPi : -kHalfPi, Radians(lon0));
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
