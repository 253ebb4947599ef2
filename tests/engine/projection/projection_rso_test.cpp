// Rectified skewed orthomorphic projections on the zones using each rectification: Borneo
// (method 0), Malaya (1), Alaska zone 1 (2; state plane form 3). Their points computed
// by PROJ are cases in tests/data/projections/stereographic_rso.txt.

#include <array>

#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

struct Zone {
  const char* name;
  int row, type, method;
  double lat0, lon0, k0;    // degrees; k0 at the centre
  std::array<double, 6> p;  // P0..P5
};

// clang-format off
constexpr std::array<double, 6> kAlaskaP = {-0.327015517176, 0.945018968871, 7000000.0,
                                            -1000000.0, 5000000.0, -5000000.0};
constexpr Zone kBorneo{"Borneo", kEverest1967Row, 11, 0, 4.0, 115.0, 0.99984, {0.8, 0.6}};
constexpr Zone kMalaya{"Malaya", kEverestModifiedRow, 11, 1, 4.0, 102.25, 0.99984,
                       {-0.6, 0.8, 482802.77986502094, -643737.0398200279, 804671.2997750349, 0}};
constexpr Zone kAlaska{"Alaska 1", kClarke1866Row, 11, 2, 57.0, -133.6666666667, 0.9999, kAlaskaP};
constexpr Zone kAlaskaStatePlane{"Alaska 1 (state plane)", kClarke1866Row, 12, 3, 57.0,
                                 -133.6666666667, 0.9999, kAlaskaP};
// clang-format on
constexpr Zone kZones[] = {kBorneo, kMalaya, kAlaska, kAlaskaStatePlane};

struct Rso : TestProjection {
  explicit Rso(const Zone& z) : TestProjection(z.row, z.type, z.method) {
    m_OriginLatitude = Radians(z.lat0);
    m_CentralMeridian = Radians(z.lon0);
    m_ScaleFactor = z.k0;
    SetRsoParameters(z.p[0], z.p[1], z.p[2], z.p[3], z.p[4], z.p[5]);
    Initialise();
  }
};

// The latitude iteration stops at a 0.001" correction and moves only half of it: near the
// equator up to 0.507 of that 0.001" remains (15.7 mm). The longitude does not depend on it.
constexpr double kLatitudeRoundTrip = 0.51 * kIterationTolerance * 6378206.4;

TEST(RsoRoundTrip, ReturnsPointsAroundTheCentreWithinTheLatitudeIterationsReach) {
  for (const Zone& z : kZones) {
    SCOPED_TRACE(z.name);
    Rso rso(z);
    const double a = rso.spheroid.m_SemiMajorAxis;
    for (double dlat = -3.0; dlat <= 3.0; dlat += 0.5) {
      for (double dlon = -3.0; dlon <= 3.0; dlon += 0.5) {
        SCOPED_TRACE(::testing::Message() << "at " << z.lat0 + dlat << ", " << z.lon0 + dlon);
        const double lat = Radians(z.lat0 + dlat), lon = Radians(z.lon0 + dlon);
        const RoundTripOutputs x = rso.BothWays(lat, lon);
        EXPECT_LE(std::fabs(x.back_latitude - lat) * a, kLatitudeRoundTrip);
        EXPECT_LE(std::fabs(x.back_longitude - lon) * a * std::cos(lat), kMillimetre);
        EXPECT_NEAR(x.back_convergence, x.convergence, 1e-9);
        EXPECT_NEAR(x.back_scale, x.scale, 1e-9);
      }
    }
  }
}

TEST(Rso, HasTheGivenScaleFactorAtItsCentreAndTreatsTheOriginAsEmpty) {
  for (const Zone& z : kZones) {
    SCOPED_TRACE(z.name);
    Rso rso(z);
    EXPECT_NEAR(rso.Forward(Radians(z.lat0), Radians(z.lon0)).scale, z.k0, 1e-12);
    ExpectEmptyPositionBothWays(rso, z.k0);
  }
}

TEST(Rso, StatePlaneMethodThreeIsTheAlaskaRectification) {
  Rso rso(kAlaska), state_plane(kAlaskaStatePlane);
  EXPECT_EQ(rso.m_FalseEasting, state_plane.m_FalseEasting);
  EXPECT_EQ(rso.m_FalseNorthing, state_plane.m_FalseNorthing);
  const GridOutputs a = rso.Forward(Radians(58.5), Radians(-135.0));
  const GridOutputs b = state_plane.Forward(Radians(58.5), Radians(-135.0));
  EXPECT_EQ(a.easting, b.easting);
  EXPECT_EQ(a.northing, b.northing);
}

// IOGP Guidance Note 7-2, Hotine oblique Mercator (variant B), Timbalai 1948 / RSO Borneo:
// the Borneo zone's skew and rectification, differing from our method 0 only by its false
// origin. Figures are published to the centimetre, so held to half a centimetre.
TEST(Rso, MeetsTheHotineWorkedExampleOnItsPublishedFalseOrigin) {
  Rso p(kBorneo);  // but on the published figures, not the table's
  p.spheroid.m_SemiMajorAxis = 6377298.556;
  p.spheroid.m_InverseFlattening = 300.8017;
  p.spheroid.ComputeConstants();
  p.Initialise();
  constexpr double kFalseEasting = 590476.87, kFalseNorthing = 442857.65;  // published
  constexpr double kHalfCentimetre = 0.005;
  const double lat = Radians(5.0 + 23.0 / 60.0 + 14.1129 / 3600.0);
  const double lon = Radians(115.0 + 48.0 / 60.0 + 19.8196 / 3600.0);
  // The centre is the false origin of the published definition.
  EXPECT_NEAR(p.m_FalseEasting, kFalseEasting, 2 * kHalfCentimetre);
  EXPECT_NEAR(p.m_FalseNorthing, kFalseNorthing, 2 * kHalfCentimetre);
  const double shift_e = p.m_FalseEasting - kFalseEasting;
  const double shift_n = p.m_FalseNorthing - kFalseNorthing;
  const GridOutputs g = p.Forward(lat, lon);
  EXPECT_NEAR(g.easting - shift_e, 679245.73, kHalfCentimetre);
  EXPECT_NEAR(g.northing - shift_n, 596562.78, kHalfCentimetre);
  double back_lat = 0.0, back_lon = 0.0;
  ASSERT_EQ(p.GridToGeog(679245.73 + shift_e, 596562.78 + shift_n, &back_lat, &back_lon),
            ProjectionStatus::kOk);
  EXPECT_NEAR((back_lat - lat) * p.spheroid.m_SemiMajorAxis, 0.0,
              kHalfCentimetre + kLatitudeRoundTrip);
  EXPECT_NEAR((back_lon - lon) * p.spheroid.m_SemiMajorAxis, 0.0, kHalfCentimetre);
}

// Without a rectification there is no grid: only the skew origin meridian's scale is written.
TEST(Rso, WithoutARectificationWritesOnlyTheScale) {
  Zone z = kAlaska;
  z.method = 4;
  Rso rso(z);
  const GridOutputs g = rso.Forward(Radians(58.0), Radians(-134.0));
  EXPECT_EQ(g.easting, kUntouched);
  EXPECT_EQ(g.northing, kUntouched);
  EXPECT_EQ(g.convergence, kUntouched);
  EXPECT_TRUE(g.scale > 0.0 && std::isfinite(g.scale)) << g.scale;
  EXPECT_EQ(g.status, ProjectionStatus::kUnknownMethod);
  double lat = kUntouched, lon = kUntouched, gamma = kUntouched, k = kUntouched;
  EXPECT_EQ(rso.GridToGeog(900000.0, 600000.0, &lat, &lon, &gamma, &k),
            ProjectionStatus::kUnknownMethod);
  EXPECT_EQ(lat, kUntouched);
  EXPECT_EQ(lon, kUntouched);
  EXPECT_EQ(gamma, kUntouched);
  EXPECT_TRUE(k > 0.0 && std::isfinite(k)) << k;
}

}  // namespace
}  // namespace orvale
