#include <array>
#include <string>
#include <utility>

#include "orvale/engine/projection/internal/spheroid_formulas.h"
#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

// Zones as spheroid and projection lines (tests/support/projection_text.h), the method
// given apart.
struct Zone {
  const char* name;
  const char* spheroid;
  const char* projection;
};

constexpr Zone kTexasSouthCentral = {"Texas South Central", "row=7",  // FE 2000000 US ft
                                     "type=6 lat0=27:50N lon0=99W sp1=28:23N sp2=30:17N "
                                     "fe=609601.2192024385"};
constexpr Zone kLambert93 = {"Lambert-93", "row=17",
                             "type=6 lat0=46.5 lon0=3 sp1=44 sp2=49 fe=700000 fn=6600000"};
constexpr Zone kJamaica = {"Jamaica", "row=7", "type=6 lat0=18 lon0=-77 fe=250000 fn=150000"};

struct Lambert : TestProjection {
  Lambert(const Zone& zone, int method, const std::string& more = "")
      : TestProjection(zone.spheroid, std::string(zone.projection) + " " + more +
                                          " method=" + std::to_string(method)) {}
};

// Methods 1 and 2 are two forms of one cone, false northing applied at the origin in both;
// round trips leave 14 micrometres (method 1's 0.001" stop) and nanometres (method 2).
TEST(LambertTest, TwoParallelFormsGiveOneGridAndRoundTripOverTheZoneToTheMillimetre) {
  for (const Zone& zone : {kTexasSouthCentral, kLambert93}) {
    SCOPED_TRACE(zone.name);
    Lambert first(zone, 1), second(zone, 2);
    const Span lat = Around(Degrees(first.m_OriginLatitude), 6.0, 0.5);
    const Span lon = Around(Degrees(first.m_CentralMeridian), 8.0, 0.5);
    EXPECT_LT(first.WorstRoundTrip(lat, lon), 0.001) << "method 1";
    EXPECT_LT(second.WorstRoundTrip(lat, lon), 0.001) << "method 2";
    EXPECT_LT(WorstOverGrid(lat, lon,
                            [&](double phi, double lambda) {
                              const GridOutputs a = first.Forward(phi, lambda);
                              const GridOutputs b = second.Forward(phi, lambda);
                              return std::hypot(a.easting - b.easting, a.northing - b.northing);
                            }),
              0.001)
        << "methods 1 and 2 apart";
  }
}

// The USA form's k0 is the scale of its parallel of least scale, asin(n), which lies
// between the standard parallels, where the scale is 1.
TEST(LambertTest, UsaFormScaleFactorIsTheLeastScaleBetweenTheParallels) {
  for (const Zone& zone : {kTexasSouthCentral, kLambert93}) {
    SCOPED_TRACE(zone.name);
    Lambert p(zone, 2);
    const double k0 = p.m_ScaleFactor;
    const double sp1 = p.m_StandardParallel1, sp2 = p.m_StandardParallel2;
    auto scale_at = [&](double lat) { return p.Forward(lat, p.m_CentralMeridian + 0.01).scale; };
    EXPECT_LT(k0, 1.0);
    EXPECT_NEAR(scale_at(sp1), 1.0, 1e-12);
    EXPECT_NEAR(scale_at(sp2), 1.0, 1e-12);
    const double least = std::asin(p.m_Param[0]);
    EXPECT_GT(least, sp1);
    EXPECT_LT(least, sp2);
    EXPECT_NEAR(scale_at(least), k0, 1e-12);
    for (double t = 0.0; t <= 1.0; t += 0.05) {
      const double k = scale_at(sp1 + t * (sp2 - sp1));
      EXPECT_GE(k, k0 - 1e-15);
      EXPECT_LE(k, 1.0 + 1e-12);
    }
  }
}

// Without a latitude output the USA inverse's scale is a series in the distance from the
// least parallel: off the full inverse by 4.5e-6 at 55 km, 1e-4 at 280 km (Lambert-93).
TEST(LambertTest, UsaFormScaleWithoutLatitudeFollowsTheFullScaleNearTheLeastParallel) {
  Lambert p(kLambert93, 2);
  const double least = std::asin(p.m_Param[0]);
  for (const double offset_km : {-50.0, -20.0, 0.0, 20.0, 50.0}) {
    SCOPED_TRACE(::testing::Message() << offset_km << " km from the parallel of least scale");
    double e = 0.0, n = 0.0;
    ASSERT_EQ(
        p.GeogToGrid(least + offset_km * 1000.0 / 6378137.0, p.m_CentralMeridian + 1e-6, &e, &n),
        ProjectionStatus::kOk);
    double lat = 0.0, lon = 0.0, full = 0.0, series = 0.0;
    EXPECT_EQ(p.GridToGeog(e, n, &lat, &lon, nullptr, &full), ProjectionStatus::kOk);
    EXPECT_EQ(p.GridToGeog(e, n, nullptr, &lon, nullptr, &series), ProjectionStatus::kOk);
    EXPECT_NEAR(series, full, 1e-5);
  }
}

TEST(LambertTest, ConvergenceIsTheConeAngleExceptInTheClosedForm) {
  const std::pair<const Zone*, int> cases[] = {{&kJamaica, 0}, {&kLambert93, 1}, {&kLambert93, 2}};
  for (const auto& [zone, method] : cases) {
    SCOPED_TRACE(::testing::Message() << zone->name << ", method " << method);
    Lambert p(*zone, method);
    const double dlon = Radians(0.8);
    const RoundTripOutputs x =
        p.BothWays(p.m_OriginLatitude + Radians(0.3), p.m_CentralMeridian + dlon);
    if (method == 1) {
      EXPECT_EQ((std::array{x.convergence, x.scale, x.back_convergence, x.back_scale}),
                (std::array{0.0, 0.0, 0.0, 0.0}));
      continue;
    }
    const double cone_constant = method == 0 ? std::sin(p.m_OriginLatitude) : p.m_Param[0];
    EXPECT_NEAR(x.convergence, dlon * cone_constant, 1e-12);
    EXPECT_NEAR(x.back_convergence, x.convergence, 1e-9);
    EXPECT_NEAR(x.back_scale, x.scale, 1e-9);
  }
}

// The one-parallel inverse's reversion series stops at the 5th power without its 3 P0^2
// term, losing m^5/(12R^4) (m: meridian distance from the parallel, R^2 = rho0 nu0): under
// 1 mm within a degree, 2.6 m at five (Jamaica). The forward stays within 7 mm there.
TEST(LambertTest, OneParallelRoundTripLossFollowsTheTruncatedReversion) {
  Lambert p(kJamaica, 0);
  EXPECT_LT(p.WorstRoundTrip(Around(18.0, 1.0, 0.25), Around(-77.0, 4.0, 0.25)), 0.001);
  const double r2 = p.m_Rho0 * p.m_Nu0;
  for (const double dlat : {-8.0, -5.0, -3.0, -2.0, 2.0, 3.0, 5.0, 8.0}) {
    SCOPED_TRACE(::testing::Message() << dlat << " degrees from the standard parallel");
    const double lat = p.m_OriginLatitude + Radians(dlat);
    const double m = MeridianDistance(p.spheroid, lat) - p.m_M0;
    const double predicted = std::pow(std::fabs(m), 5) / (12.0 * r2 * r2);
    double seed = 0.0;
    EXPECT_NEAR(p.RoundTripError(lat, p.m_CentralMeridian + 0.5, &seed), predicted,
                0.1 * predicted);
  }
}

// At the equator the closed form's k0 would be 0/0: it takes its limit, the first parallel's scale.
TEST(LambertTest, ClosedFormWithItsOriginOnTheEquatorKeepsAFiniteScaleFactor) {
  Lambert p(kLambert93, 1, "lat0=0");
  EXPECT_NEAR(p.m_ScaleFactor, ParallelFactor(p.spheroid, p.m_StandardParallel1), 1e-12);
  EXPECT_LT(p.WorstRoundTrip(Around(0.0, 2.0, 1.0), Around(3.0, 4.0, 1.0)), 0.001);
}

}  // namespace
}  // namespace orvale
