// GeogToGridMany and GridToGeogMany against GeogToGrid and GridToGeog point by point:
// a run must give every point what the single-point entry gives it (the inverse
// primed with FootpointStart), whatever the projection, the position of the point in
// the run, or the oddity of its values.
#include <limits>
#include <vector>

#include "support/projection_fixture.h"

namespace orvale {
namespace {

using namespace testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Geog {
  std::vector<double> latitude, longitude, convergence, scale;
  explicit Geog(std::size_t count, double fill = kUntouched)
      : latitude(count, fill),
        longitude(count, fill),
        convergence(count, fill),
        scale(count, fill) {}
};

// Grid positions spread over the projection's useful area and well beyond it (the
// forward of a geographical grid), with the positions every inverse treats apart.
std::vector<std::array<double, 2>> GridPositions(TestProjection& p) {
  std::vector<std::array<double, 2>> positions;
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
  for (const std::array<double, 2> odd : std::vector<std::array<double, 2>>{
           {0.0, 0.0},           // the empty position
           {0.0004, -0.0009},    // within a millimetre of it
           {fe + 1234.5, fn},    // on the footpoint's equator when fn = 0
           {fe, fn + 0.0},       // the false origin itself
           {kNaN, fn + 1000.0},  // not a number
           {fe + 1000.0, kNaN},  //
           {fe, 1e12},           // far off the globe
           {-1e9, fn + 5e6},     //
           {fe + 200000.0, fn - 9.99e6}}) {
    positions.push_back(odd);
  }
  return positions;
}

// Same value, or both NaN.
bool Same(double a, double b, double tolerance) {
  return (std::isnan(a) && std::isnan(b)) || std::fabs(a - b) <= tolerance;
}

// A run and the single-point entry agree to 10 nm in position, 1e-12 rad in
// convergence and 1e-14 of the scale: the run takes its first iteration step as a
// product, which may move the footpoint's last bit, and near the poles the secant
// magnifies that in longitude (but not in metres). `exact`: to the last bit.
void ExpectRunMatchesSinglePoints(TestProjection& p, bool exact = false) {
  const std::vector<std::array<double, 2>> positions = GridPositions(p);
  std::vector<double> eastings, northings;
  for (const auto& [e, n] : positions) {
    eastings.push_back(e);
    northings.push_back(n);
  }
  Geog run(positions.size());
  std::vector<ProjectionStatus> statuses(positions.size());
  p.GridToGeogMany(eastings, northings, run.latitude, run.longitude, run.convergence, run.scale,
                   statuses);
  int mismatches = 0;
  for (std::size_t i = 0; i < positions.size() && mismatches < 5; ++i) {
    double lat = p.FootpointStart(northings[i]), lon = kUntouched, gamma = kUntouched,
           k = kUntouched;
    const ProjectionStatus status = p.GridToGeog(eastings[i], northings[i], &lat, &lon, &gamma, &k);
    const double metres = exact ? 0.0 : p.Separation(lat, lon, run.latitude[i], run.longitude[i]);
    const bool same = statuses[i] == status && Same(run.latitude[i], lat, exact ? 0.0 : 1e-15) &&
                      (Same(run.longitude[i], lon, 0.0) || metres <= 1e-8) &&
                      Same(run.convergence[i], gamma, exact ? 0.0 : 1e-12) &&
                      Same(run.scale[i], k, exact ? 0.0 : 1e-14 * std::max(1.0, k));
    if (!same) {
      ++mismatches;
      ADD_FAILURE() << "point " << i << " (" << eastings[i] << ", " << northings[i] << "): run "
                    << ProjectionStatusText(statuses[i]) << " " << run.latitude[i] << " "
                    << run.longitude[i] << " " << run.convergence[i] << " " << run.scale[i]
                    << ", single " << ProjectionStatusText(status) << " " << lat << " " << lon
                    << " " << gamma << " " << k;
    }
  }
}

struct Case {
  const char* name;
  int spheroid_row, type, method;
  double lat0, lon0, fe, fn, k0;
};

// Transverse Mercator grids of every kind.
const std::vector<Case>& TransverseMercatorCases() {
  static const std::vector<Case> cases = {
      Case{"UTM 31 north", kWgs84Row, PROJECTION_UTM, 0, 0.0, 3.0, 500000.0, 0.0, 0.9996},
      Case{"UTM 33 south", kWgs84Row, PROJECTION_UTM, 1, 0.0, 15.0, 500000.0, 1e7, 0.9996},
      Case{"British grid", 1, PROJECTION_TRANSVERSE_MERCATOR, 0, 49.0, -2.0, 400000.0, -100000.0,
           0.9996012717},
      Case{"Gauss-Kruger", kInternationalRow, PROJECTION_GAUSS_KRUGER, 0, 0.0, 21.0, 4500000.0, 0.0,
           1.0},
      Case{"South orientated Lo29", kWgs84Row, PROJECTION_TM_SOUTH_ORIENTATED, 0, 0.0, 29.0, 0.0,
           0.0, 1.0},
      Case{"T.M. (USA)", kClarke1866Row, PROJECTION_TM_USA, 0, 38.0, -75.4166667, 60960.0, 0.0,
           0.999995},
      Case{"on a sphere", 31, PROJECTION_TRANSVERSE_MERCATOR, 0, 10.0, 0.0, 0.0, 0.0, 1.0},
  };
  return cases;
}

TEST(GridToGeogManyTest, GivesEveryTransverseMercatorPointWhatTheSinglePointEntryGives) {
  for (const Case& c : TransverseMercatorCases()) {
    SCOPED_TRACE(c.name);
    TestProjection p(c.spheroid_row, c.type, c.method);
    p.SetParametersDeg(c.lat0, c.lon0, c.fe, c.fn, c.k0);
    ExpectRunMatchesSinglePoints(p);
  }
  // A spheroid flat enough (1/f = 12) that the footpoint series' shift is too large
  // for its small-angle sine and cosine, and the estimate too far for one round.
  TestProjection flat(kWgs84Row, PROJECTION_TRANSVERSE_MERCATOR);
  flat.spheroid.m_InverseFlattening = 12.0;  // a record file may hold it
  flat.spheroid.ComputeConstants();
  flat.SetParametersDeg(0.0, 0.0, 0.0, 0.0, 1.0);
  ExpectRunMatchesSinglePoints(flat);
}

TEST(GridToGeogManyTest, PassesOtherFamiliesThroughTheSinglePointEntryUnchanged) {
  TestProjection lambert(kClarke1866Row, PROJECTION_LAMBERT, 1);
  lambert.m_StandardParallel1 = Radians(28.3833333);
  lambert.m_StandardParallel2 = Radians(30.2833333);
  lambert.SetParametersDeg(27.8333333, -99.0, 609601.2, 0.0, 1.0);
  ExpectRunMatchesSinglePoints(lambert, /*exact=*/true);

  TestProjection mercator(kWgs84Row, PROJECTION_MERCATOR, 0);
  mercator.SetParametersDeg(0.0, 110.0, 3900000.0, 900000.0, 0.997);
  ExpectRunMatchesSinglePoints(mercator, /*exact=*/true);
}

TEST(GridToGeogManyTest, ConvertsAsManyPointsAsTheShortestSpanHoldsAndComputesOnlyWhatIsAsked) {
  TestProjection utm(kWgs84Row);
  utm.SetParametersDeg(0.0, 3.0, 500000.0, 0.0, 0.9996);
  const std::vector<double> eastings(200, 510000.0), northings(200, 5500000.0);
  Geog out(200);
  // Convergences hold 130: points 130 on are left alone; no scales are asked for.
  std::vector<double> convergences(130, kUntouched);
  utm.GridToGeogMany(eastings, northings, out.latitude, out.longitude, convergences);
  EXPECT_NEAR(out.latitude[129], Radians(49.65), Radians(0.01));
  EXPECT_NE(convergences[129], kUntouched);
  EXPECT_EQ(out.latitude[130], kUntouched);
  EXPECT_EQ(out.longitude[199], kUntouched);

  // Without convergences and scales every point is converted.
  utm.GridToGeogMany(eastings, northings, out.latitude, out.longitude);
  EXPECT_EQ(out.latitude[199], out.latitude[0]);
  EXPECT_EQ(out.scale, std::vector<double>(200, kUntouched));

  // In place: the outputs overlay the inputs, also for the points of a block that
  // take the single-point path (the empty position, the equator).
  std::vector<double> lat_in_place(eastings), lon_in_place(northings);
  lat_in_place[70] = lon_in_place[70] = 0.0;
  lat_in_place[71] = 520000.0;
  lon_in_place[71] = 0.0;
  utm.GridToGeogMany(lat_in_place, lon_in_place, lat_in_place, lon_in_place);
  EXPECT_EQ(lat_in_place[0], out.latitude[0]);
  EXPECT_EQ(lon_in_place[199], out.longitude[199]);
  EXPECT_EQ(lat_in_place[70], 0.0);
  EXPECT_EQ(lat_in_place[71], 0.0);
  EXPECT_NEAR(lon_in_place[71], Radians(3.0 + 0.1797), Radians(0.0001));

  // No points, or no spheroid: nothing to do, and nothing goes wrong.
  utm.GridToGeogMany({}, {}, out.latitude, out.longitude);
  utm.m_Spheroid = nullptr;
  utm.GridToGeogMany(eastings, northings, out.latitude, out.longitude, {}, out.scale);
  EXPECT_EQ(out.latitude[5], 0.0);
  EXPECT_EQ(out.scale[5], 0.9996);

  // A family without a run of its own, in place too.
  TestProjection lambert(kClarke1866Row, PROJECTION_LAMBERT, 0);
  lambert.SetParametersDeg(18.0, -77.0, 250000.0, 150000.0, 1.0);
  std::vector<double> e{255000.0, 0.0}, n{160000.0, 0.0};
  double lat = 0.0, lon = 0.0;
  ASSERT_EQ(lambert.GridToGeog(e[0], n[0], &lat, &lon), ProjectionStatus::kOk);
  lambert.GridToGeogMany(e, n, e, n);
  EXPECT_EQ((std::array{e[0], n[0], e[1], n[1]}), (std::array{lat, lon, 0.0, 0.0}));
}

// Geographical positions over the globe and the ones every forward treats apart.
std::vector<std::array<double, 2>> GeogPositions(const CProjection& p) {
  std::vector<std::array<double, 2>> positions;
  const double lon0 = p.m_CentralMeridian * kDegreesPerRadian;
  for (double lat = -90.0; lat <= 90.0; lat += 2.3) {
    for (double dlon = -185.0; dlon <= 185.0; dlon += 7.9) {
      positions.push_back({Radians(lat), Radians(lon0 + dlon)});
    }
  }
  for (const std::array<double, 2> odd : std::vector<std::array<double, 2>>{
           {0.0, 0.0}, {1e-9, -2e-9}, {0.0, Radians(2.0)}, {kNaN, 0.1}, {0.5, kNaN}}) {
    positions.push_back(odd);
  }
  return positions;
}

// The forward run takes the same operations in the same order as the single-point
// entry: the same bits, NaN for NaN.
void ExpectForwardRunMatchesSinglePoints(TestProjection& p) {
  std::vector<double> latitudes, longitudes;
  for (const auto& [lat, lon] : GeogPositions(p)) {
    latitudes.push_back(lat);
    longitudes.push_back(lon);
  }
  const std::size_t count = latitudes.size();
  std::vector<double> eastings(count), northings(count), convergences(count), scales(count);
  std::vector<ProjectionStatus> statuses(count);
  p.GeogToGridMany(latitudes, longitudes, eastings, northings, convergences, scales, statuses);
  int mismatches = 0;
  for (std::size_t i = 0; i < count && mismatches < 5; ++i) {
    double e = kUntouched, n = kUntouched, gamma = kUntouched, k = kUntouched;
    const ProjectionStatus status = p.GeogToGrid(latitudes[i], longitudes[i], &e, &n, &gamma, &k);
    if (!(statuses[i] == status && Same(eastings[i], e, 0.0) && Same(northings[i], n, 0.0) &&
          Same(convergences[i], gamma, 0.0) && Same(scales[i], k, 0.0))) {
      ++mismatches;
      ADD_FAILURE() << "point " << i << " (" << latitudes[i] << ", " << longitudes[i] << "): run "
                    << ProjectionStatusText(statuses[i]) << " " << eastings[i] << " "
                    << northings[i] << " " << convergences[i] << " " << scales[i] << ", single "
                    << ProjectionStatusText(status) << " " << e << " " << n << " " << gamma << " "
                    << k;
    }
  }
}

TEST(GeogToGridManyTest, GivesEveryPointWhatTheSinglePointEntryGives) {
  for (const Case& c : TransverseMercatorCases()) {
    SCOPED_TRACE(c.name);
    TestProjection p(c.spheroid_row, c.type, c.method);
    p.SetParametersDeg(c.lat0, c.lon0, c.fe, c.fn, c.k0);
    ExpectForwardRunMatchesSinglePoints(p);
  }
  TestProjection lambert(kClarke1866Row, PROJECTION_LAMBERT, 1);
  lambert.m_StandardParallel1 = Radians(28.3833333);
  lambert.m_StandardParallel2 = Radians(30.2833333);
  lambert.SetParametersDeg(27.8333333, -99.0, 609601.2, 0.0, 1.0);
  ExpectForwardRunMatchesSinglePoints(lambert);
}

TEST(GeogToGridManyTest, ConvertsInPlaceAndAsManyPointsAsTheShortestSpanHolds) {
  TestProjection utm(kWgs84Row);
  utm.SetParametersDeg(0.0, 3.0, 500000.0, 0.0, 0.9996);
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
