#include <array>
#include <cmath>
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

// Every method gives the cone angle n (lambda - lambda0) as convergence and the cone's
// own scale r n / (a m) both ways (PROJ's figures are in lambert_proj_reference.txt).
TEST(LambertTest, ConvergenceIsTheConeAngleAndScaleTheSameBothWays) {
  const std::pair<const Zone*, int> cases[] = {{&kJamaica, 0}, {&kLambert93, 1}, {&kLambert93, 2}};
  for (const auto& [zone, method] : cases) {
    SCOPED_TRACE(::testing::Message() << zone->name << ", method " << method);
    Lambert p(*zone, method);
    const double dlon = Radians(0.8);
    const RoundTripOutputs x =
        p.BothWays(p.m_OriginLatitude + Radians(0.3), p.m_CentralMeridian + dlon);
    const double n = method == 0 ? std::sin(p.m_OriginLatitude) : p.m_Param[method == 1 ? 11 : 0];
    EXPECT_NEAR(x.convergence, dlon * n, 1e-12);
    EXPECT_NEAR(x.back_convergence, x.convergence, 1e-12);
    EXPECT_GT(x.scale, 0.99);
    EXPECT_NEAR(x.back_scale, x.scale, 1e-12);
  }
}

// The one-parallel scale grows as k0 (1 + P6 m^2 + P7 m^3 ...) with m the meridian
// distance from the standard parallel; P6 is 1/(2 rho0 nu0).
TEST(LambertTest, OneParallelScaleCoefficientIsThatOfTheClosedScale) {
  Lambert p(kJamaica, 0, "k0=0.9998");
  EXPECT_DOUBLE_EQ(p.m_Param[6], 1.0 / (2.0 * p.m_Rho0 * p.m_Nu0));
  for (const double m : {-1500.0, 1500.0}) {
    const double lat = p.m_OriginLatitude + m / p.m_Rho0;
    const double dm = MeridianDistance(p.spheroid, lat) - p.m_M0;
    const double k = p.Forward(lat, p.m_CentralMeridian).scale / p.m_ScaleFactor;
    EXPECT_NEAR((k - 1.0 - p.m_Param[7] * dm * dm * dm) / (dm * dm), p.m_Param[6],
                1e-3 * p.m_Param[6]);
  }
}

struct BadSetUp {
  const char* what;
  const char* spheroid;
  const char* projection;
};

// Set-ups without a cone give a status for every point, forward and inverse, and no
// numbers.
TEST(LambertTest, SetUpsWithoutAConeAreInvalidForEveryPoint) {
  const BadSetUp cases[] = {
      {"method 1 without parallels", "row=17", "type=6 method=1 lat0=40 lon0=-99 fe=1000 fn=2000"},
      {"method 2 without parallels", "row=17", "type=6 method=2 lat0=40 lon0=-99 fe=1000 fn=2000"},
      {"parallels either side of the equator", "row=17",
       "type=6 method=1 lat0=0 lon0=-99 sp1=10 sp2=-10 fe=1000 fn=2000"},
      {"USA form, parallels either side", "row=17",
       "type=6 method=2 lat0=0 lon0=-99 sp1=10 sp2=-10 fe=1000 fn=2000"},
      {"one parallel on the equator", "row=7", "type=6 method=0 lat0=0 lon0=-77 fe=1000 fn=2000"},
      {"one parallel at the north pole", "row=7", "type=6 method=0 lat0=90 lon0=-77 fe=1000"},
      {"one parallel at the south pole", "row=7", "type=6 method=0 lat0=-90 lon0=-77 fe=1000"},
  };
  for (const BadSetUp& c : cases) {
    SCOPED_TRACE(c.what);
    TestProjection p(c.spheroid, c.projection);
    for (const double lat : {-60.0, 10.0, 45.0}) {
      const GridOutputs g = p.Forward(Radians(lat), Radians(-98.0));
      EXPECT_EQ(g.status, ProjectionStatus::kInvalidProjection);
      EXPECT_TRUE(std::isnan(g.easting) && std::isnan(g.northing) && std::isnan(g.scale));
      double lat_out = 0.0, lon_out = 0.0;
      EXPECT_EQ(p.GridToGeog(5000.0 + lat, 7000.0, &lat_out, &lon_out),
                ProjectionStatus::kInvalidProjection);
    }
  }
}

// The pole away from the apex is at infinity; the apex pole projects onto the apex.
// Input that is not a number is reported as such. Cones opening north (n < 0) too.
TEST(LambertTest, PolesAndNonNumbersGiveTheirStatus) {
  for (const int method : {0, 1, 2}) {
    for (const double sign : {1.0, -1.0}) {
      SCOPED_TRACE(::testing::Message() << "method " << method << ", hemisphere " << sign);
      const std::string lat0 = " lat0=" + std::to_string(46.5 * sign);
      const std::string parallels =
          " sp1=" + std::to_string(44.0 * sign) + " sp2=" + std::to_string(49.0 * sign);
      Lambert p(kLambert93, method, lat0 + parallels);
      EXPECT_EQ(p.Forward(-sign * kHalfPi, 0.1).status, ProjectionStatus::kPoleNotRepresentable);
      const GridOutputs apex = p.Forward(sign * kHalfPi, 0.1);
      ASSERT_EQ(apex.status, ProjectionStatus::kOk);
      double lat = 0.0, lon = 0.0;
      EXPECT_EQ(p.GridToGeog(apex.easting, apex.northing, &lat, &lon), ProjectionStatus::kOk);
      EXPECT_NEAR(lat, sign * kHalfPi, 1e-12);
      EXPECT_EQ(p.Forward(std::nan(""), 0.1).status, ProjectionStatus::kNotANumber);
      EXPECT_EQ(p.GridToGeog(std::nan(""), 1000.0, &lat, &lon), ProjectionStatus::kNotANumber);
      EXPECT_EQ(p.GridToGeog(1000.0, INFINITY, &lat, &lon), ProjectionStatus::kNotANumber);
      // A southern or northern cone round-trips over its zone to 0.01 mm.
      const Span lats = Around(46.5 * sign, 6.0, 0.5);
      EXPECT_LT(p.WorstRoundTrip(lats, Around(3.0, 8.0, 0.5)), 1e-5);
    }
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
