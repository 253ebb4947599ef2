// GeogToGridMany and GridToGeogMany against GeogToGrid and GridToGeog point by point:
// a run must give every point what the single-point entry gives it (the inverse
// primed with FootpointStart), whatever the projection, the position of the point in
// the run, or the oddity of its values. And the latitude an inverse is given only
// seeds it.
#include <limits>
#include <vector>

#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
using Positions = std::vector<std::array<double, 2>>;

// Grid positions spread over the projection's useful area and well beyond it (the
// forward of a geographical grid), with the positions every inverse treats apart.
Positions GridPositions(TestProjection& p) {
  Positions positions;
  const double lon0 = p.m_CentralMeridian * kDegreesPerRadian;
  for (double lat = -89.9; lat <= 89.9; lat += 2.3) {
    for (double dlon = -12.0; dlon <= 12.0; dlon += 1.7) {
      double e = 0.0, n = 0.0;
      if (p.GeogToGrid(Radians(lat), Radians(lon0 + dlon), &e, &n) == ProjectionStatus::kOk) {
        positions.push_back({e, n});
      }
    }
  }
  const double fe = p.m_FalseEasting, fn = p.m_FalseNorthing;
  positions.insert(positions.end(),
                   {
                       {0.0, 0.0},           // the empty position
                       {0.0004, -0.0009},    // within a millimetre of it
                       {fe + 1234.5, fn},    // on the footpoint's equator when fn = 0
                       {fe, fn + 0.0},       // the false origin itself
                       {kNaN, fn + 1000.0},  // not a number
                       {fe + 1000.0, kNaN},  //
                       {fe, 1e12},           // far off the globe
                       {-1e9, fn + 5e6},     //
                       {fe + 200000.0, fn - 9.99e6},
                   });
  return positions;
}

// Geographical positions over the globe and the ones every forward treats apart.
Positions GeogPositions(const CProjection& p) {
  Positions positions;
  const double lon0 = p.m_CentralMeridian * kDegreesPerRadian;
  for (double lat = -90.0; lat <= 90.0; lat += 2.3) {
    for (double dlon = -185.0; dlon <= 185.0; dlon += 7.9)
      positions.push_back({Radians(lat), Radians(lon0 + dlon)});
  }
  positions.insert(positions.end(),
                   {{0.0, 0.0}, {1e-9, -2e-9}, {0.0, Radians(2.0)}, {kNaN, 0.1}, {0.5, kNaN}});
  return positions;
}

// Same value, or both NaN.
bool Same(double a, double b, double tolerance) {
  return (std::isnan(a) && std::isnan(b)) || std::fabs(a - b) <= tolerance;
}

// A forward run takes the same operations in the same order as the single-point entry:
// the same bits, NaN for NaN. An inverse run (`exact` false) agrees to 10 nm in
// position, 1e-12 rad in convergence and 1e-14 of the scale: it takes its first
// iteration step as a product, which may move the footpoint's last bit, and near the
// poles the secant magnifies that in longitude (but not in metres).
void ExpectRunMatchesSinglePoints(TestProjection& p, bool inverse, bool exact = true) {
  const Positions positions = inverse ? GridPositions(p) : GeogPositions(p);
  const std::size_t count = positions.size();
  std::vector<double> first, second;
  for (const auto& [a, b] : positions) {
    first.push_back(a);
    second.push_back(b);
  }
  // A different start from the single points', so an output neither writes shows.
  std::array<std::vector<double>, 4> run;
  for (auto& output : run)
    output.assign(count, -7.0);
  std::vector<ProjectionStatus> statuses(count);
  if (inverse) {
    p.GridToGeogMany(first, second, run[0], run[1], run[2], run[3], statuses);
  } else {
    p.GeogToGridMany(first, second, run[0], run[1], run[2], run[3], statuses);
  }
  int mismatches = 0;
  for (std::size_t i = 0; i < count && mismatches < 5; ++i) {
    std::array<double, 4> one = {kUntouched, kUntouched, kUntouched, kUntouched};
    if (inverse) one[0] = p.FootpointStart(second[i]);
    const ProjectionStatus status =
        inverse ? p.GridToGeog(first[i], second[i], &one[0], &one[1], &one[2], &one[3])
                : p.GeogToGrid(first[i], second[i], &one[0], &one[1], &one[2], &one[3]);
    const double metres = exact ? 0.0 : p.Separation(one[0], one[1], run[0][i], run[1][i]);
    if (statuses[i] == status && Same(run[0][i], one[0], exact ? 0.0 : 1e-15) &&
        (Same(run[1][i], one[1], 0.0) || metres <= 1e-8) &&
        Same(run[2][i], one[2], exact ? 0.0 : 1e-12) &&
        Same(run[3][i], one[3], exact ? 0.0 : 1e-14 * std::max(1.0, one[3]))) {
      continue;
    }
    ++mismatches;
    ADD_FAILURE() << "point " << i << " (" << first[i] << ", " << second[i] << "): run "
                  << ProjectionStatusText(statuses[i]) << " " << run[0][i] << " " << run[1][i]
                  << " " << run[2][i] << " " << run[3][i] << ", single "
                  << ProjectionStatusText(status) << " " << one[0] << " " << one[1] << " " << one[2]
                  << " " << one[3];
  }
}

struct Case {
  const char* name;
  const char* spheroid;
  const char* projection;
};

// Transverse Mercator grids of every kind, Lambert's two-parallel and one-parallel
// forms and Mercator.
constexpr Case kCases[] = {
    {"UTM 31 north", "row=26", "type=0 lon0=3 k0=0.9996 fe=500000"},
    {"UTM 33 south", "row=26", "type=0 method=1 lon0=15 k0=0.9996 fe=500000 fn=10000000"},
    {"British grid", "row=1", "type=1 lat0=49 lon0=-2 k0=0.9996012717 fe=400000 fn=-100000"},
    {"Gauss-Kruger", "row=20", "type=2 lon0=21 fe=4500000"},
    {"South orientated Lo29", "row=26", "type=3 lon0=29"},
    {"T.M. (USA)", "row=7", "type=4 lat0=38 lon0=-75.4166667 k0=0.999995 fe=60960"},
    {"on a sphere", "row=31", "type=1 lat0=10"},
    {"Lambert 2SP", "row=7",
     "type=6 method=1 lat0=27.8333333 lon0=-99 sp1=28.3833333 sp2=30.2833333 fe=609601.2"},
    {"Mercator", "row=26", "type=5 lon0=110 k0=0.997 fe=3900000 fn=900000"},
    {"Lambert 1SP", "row=7", "type=6 lat0=18 lon0=-77 fe=250000 fn=150000"},
};

// Families without a run of their own go through the single-point entry unchanged.
TEST(ProjectionRuns, GiveEveryPointWhatTheSinglePointEntriesGive) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TestProjection p(c.spheroid, c.projection);
    ExpectRunMatchesSinglePoints(p, /*inverse=*/false);
    ExpectRunMatchesSinglePoints(p, /*inverse=*/true, /*exact=*/p.m_Type > PROJECTION_TM_USA);
  }
  // A spheroid flat enough (1/f = 12) that the footpoint series' shift is too large
  // for its small-angle sine and cosine, and the estimate too far for one round.
  TestProjection flat(kWgs84Row, PROJECTION_TRANSVERSE_MERCATOR);
  flat.spheroid.m_InverseFlattening = 12.0;  // a record file may hold it
  flat.spheroid.ComputeConstants();
  flat.SetParametersDeg(0.0, 0.0, 0.0, 0.0, 1.0);
  ExpectRunMatchesSinglePoints(flat, /*inverse=*/true, /*exact=*/false);
}

// The latitude given to an inverse only seeds its iteration: from 0, NaN, beyond +-90
// degrees (where it starts from 1 radian) or any other start it settles on the point
// it reaches from the true latitude, within a millimetre.
TEST(ProjectionInverse, SettlesFromAnyIncomingLatitude) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TestProjection p(c.spheroid, c.projection);
    const double lat = p.m_OriginLatitude + Radians(p.m_OriginLatitude == 0.0 ? 52.4 : 0.4);
    const double lon = p.m_CentralMeridian + Radians(1.4);
    double reached = lat;
    const double error = p.RoundTripError(lat, lon, &reached);
    // Mercator's half-step iteration leaves 3 mm at this latitude, from any start.
    EXPECT_LT(error, p.m_Type == PROJECTION_MERCATOR ? 0.005 : kMillimetre);
    for (const double start : {kNaN, 0.0, 2.0, -3.5, kInfinity, -0.3}) {
      double seed = start;
      EXPECT_NEAR(p.RoundTripError(lat, lon, &seed), error, kMillimetre) << "from " << start;
      EXPECT_NEAR(seed, reached, kMillimetre / 6.4e6) << "from " << start;
    }
  }
}

TEST(GridToGeogManyTest, ConvertsAsManyPointsAsTheShortestSpanHoldsAndComputesOnlyWhatIsAsked) {
  TestProjection utm(kCases[0].spheroid, kCases[0].projection);
  const std::vector<double> eastings(200, 510000.0), northings(200, 5500000.0);
  std::vector<double> latitudes(200, kUntouched), longitudes(200, kUntouched);
  std::vector<double> scales(200, kUntouched);
  // Convergences hold 130: points 130 on are left alone; no scales are asked for.
  std::vector<double> convergences(130, kUntouched);
  utm.GridToGeogMany(eastings, northings, latitudes, longitudes, convergences);
  EXPECT_NEAR(latitudes[129], Radians(49.65), Radians(0.01));
  EXPECT_NE(convergences[129], kUntouched);
  EXPECT_EQ(latitudes[130], kUntouched);
  EXPECT_EQ(longitudes[199], kUntouched);

  // Without convergences and scales every point is converted.
  utm.GridToGeogMany(eastings, northings, latitudes, longitudes);
  EXPECT_EQ(latitudes[199], latitudes[0]);

  // In place: the outputs overlay the inputs, also for the points of a block that
  // take the single-point path (the empty position, the equator).
  std::vector<double> lat_in_place(eastings), lon_in_place(northings);
  lat_in_place[70] = lon_in_place[70] = 0.0;
  lat_in_place[71] = 520000.0;
  lon_in_place[71] = 0.0;
  utm.GridToGeogMany(lat_in_place, lon_in_place, lat_in_place, lon_in_place);
  EXPECT_EQ(lat_in_place[0], latitudes[0]);
  EXPECT_EQ(lon_in_place[199], longitudes[199]);
  EXPECT_EQ(lat_in_place[70], 0.0);
  EXPECT_EQ(lat_in_place[71], 0.0);
  EXPECT_NEAR(lon_in_place[71], Radians(3.0 + 0.1797), Radians(0.0001));

  // No points, or no spheroid: nothing to do, and nothing goes wrong.
  utm.GridToGeogMany({}, {}, latitudes, longitudes);
  utm.m_Spheroid = nullptr;
  utm.GridToGeogMany(eastings, northings, latitudes, longitudes, {}, scales);
  EXPECT_EQ(latitudes[5], 0.0);
  EXPECT_EQ(scales[5], 0.9996);

  // A family without a run of its own, in place too.
  TestProjection lambert(kClarke1866Row, PROJECTION_LAMBERT, 0);
  lambert.SetParametersDeg(18.0, -77.0, 250000.0, 150000.0, 1.0);
  std::vector<double> e{255000.0, 0.0}, n{160000.0, 0.0};
  double lat = 0.0, lon = 0.0;
  ASSERT_EQ(lambert.GridToGeog(e[0], n[0], &lat, &lon), ProjectionStatus::kOk);
  lambert.GridToGeogMany(e, n, e, n);
  EXPECT_EQ((std::array{e[0], n[0], e[1], n[1]}), (std::array{lat, lon, 0.0, 0.0}));
}

TEST(GeogToGridManyTest, ConvertsInPlaceAndAsManyPointsAsTheShortestSpanHolds) {
  TestProjection utm(kCases[0].spheroid, kCases[0].projection);
  std::vector<double> first(150, Radians(52.0)), second(150, Radians(4.0));
  first[100] = second[100] = 0.0;  // the empty position, in the second block
  double e = 0.0, n = 0.0;
  ASSERT_EQ(utm.GeogToGrid(first[0], second[0], &e, &n), ProjectionStatus::kOk);
  std::vector<double> scales(120, kUntouched);
  std::vector<ProjectionStatus> statuses(150, ProjectionStatus::kNoConvergence);
  utm.GeogToGridMany(first, second, first, second, {}, scales, statuses);
  EXPECT_EQ((std::array{first[0], second[0], first[100], second[100], scales[100]}),
            (std::array{e, n, 0.0, 0.0, 0.9996}));
  EXPECT_EQ(statuses[0], ProjectionStatus::kOk);
  EXPECT_EQ(statuses[100], ProjectionStatus::kEmptyPosition);
  EXPECT_EQ(statuses[120], ProjectionStatus::kNoConvergence) << "beyond the shortest span";
  EXPECT_EQ(first[119], e);
  EXPECT_EQ(first[120], Radians(52.0)) << "beyond the shortest span: left alone";
}

}  // namespace
}  // namespace orvale
