// GeogToGridMany and GridToGeogMany against GeogToGrid and GridToGeog point by point:
// a run must give every point what the single-point entry gives it (the inverse
// primed with FootpointStart), whatever the projection, the position of the point in
// the run, whether it overlays its inputs, or the oddity of its values. The latitude
// an inverse is given only seeds it, and a call asking for some outputs gives them as
// a call asking for all.
#include <limits>
#include <span>
#include <vector>

#include "support/projection_fixture.h"
#include "support/text_table.h"

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
                       {0.0, 0.0},           // the grid origin, a position like any other
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

// A run either way, on the spans given.
void RunMany(TestProjection& p, bool inverse, std::span<const double> first,
             std::span<const double> second, std::span<double> out_first,
             std::span<double> out_second, std::span<double> convergences, std::span<double> scales,
             std::span<ProjectionStatus> statuses) {
  if (inverse) {
    p.GridToGeogMany(first, second, out_first, out_second, convergences, scales, statuses);
  } else {
    p.GeogToGridMany(first, second, out_first, out_second, convergences, scales, statuses);
  }
}

// Same value (an infinity too), or both NaN.
bool Same(double a, double b, double tolerance) {
  return a == b || (std::isnan(a) && std::isnan(b)) || std::fabs(a - b) <= tolerance;
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
  RunMany(p, inverse, first, second, run[0], run[1], run[2], run[3], statuses);
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
  // Again in place, with the convergences (inverse) or the scales (forward) one point
  // short: the same results, and the last point left as it was.
  std::vector<double> a = first, b = second, short_span(count - 1);
  std::vector<ProjectionStatus> in_place(count, ProjectionStatus::kNoConvergence);
  RunMany(p, inverse, a, b, a, b, inverse ? short_span : std::span<double>(),
          inverse ? std::span<double>() : short_span, in_place);
  for (std::size_t i = 0; i + 1 < count; ++i) {
    if (Same(a[i], run[0][i], 0.0) && Same(b[i], run[1][i], 0.0) && in_place[i] == statuses[i] &&
        Same(short_span[i], run[inverse ? 2 : 3][i], 0.0)) {
      continue;
    }
    ADD_FAILURE() << "in place, point " << i << " (" << first[i] << ", " << second[i] << ")";
    break;
  }
  EXPECT_TRUE(Same(a.back(), first.back(), 0.0) && Same(b.back(), second.back(), 0.0));
  EXPECT_EQ(in_place.back(), ProjectionStatus::kNoConvergence);
}

// The set-ups of tests/data/set_ups/runs.txt: name, spheroid line, projection line.
const std::vector<TextRow>& SetUps() {
  static const std::vector<TextRow> rows = ReadTextTable("set_ups/runs.txt", 3);
  return rows;
}

// Families without a run of their own go through the single-point entry unchanged.
TEST(ProjectionRuns, GiveEveryPointWhatTheSinglePointEntriesGive) {
  for (const TextRow& c : SetUps()) {
    SCOPED_TRACE(c[0]);
    TestProjection p(c[1], c[2]);
    ExpectRunMatchesSinglePoints(p, /*inverse=*/false);
    ExpectRunMatchesSinglePoints(p, /*inverse=*/true, /*exact=*/p.m_Type > PROJECTION_TM_USA);
  }
  // A spheroid flat enough (1/f = 12) that the footpoint series' shift is too large
  // for its small-angle sine and cosine, and the estimate too far for one round.
  TestProjection flat("a=6378137 rf=12", "type=1");  // a record file may hold it
  ExpectRunMatchesSinglePoints(flat, /*inverse=*/true, /*exact=*/false);
}

// The latitude given to an inverse only seeds its iteration: from 0, NaN, beyond +-90
// degrees (where it starts from 1 radian) or any other start it settles on the point
// it reaches from the true latitude, within a millimetre.
TEST(ProjectionInverse, SettlesFromAnyIncomingLatitude) {
  for (const TextRow& c : SetUps()) {
    SCOPED_TRACE(c[0]);
    TestProjection p(c[1], c[2]);
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

// A run without points converts nothing; one without a spheroid gives every point
// NaN outputs and the status that says why.
TEST(ProjectionRuns, GoWrongNowhereWithoutPointsOrASpheroid) {
  TestProjection p(SetUps().at(0)[1], SetUps()[0][2]);
  p.m_Spheroid = nullptr;
  for (const bool inverse : {false, true}) {
    SCOPED_TRACE(inverse ? "inverse" : "forward");
    std::vector<double> a(3, kUntouched), b(3, kUntouched), scales(3, kUntouched);
    RunMany(p, inverse, {}, {}, a, b, {}, scales, {});
    EXPECT_EQ(a[0], kUntouched);
    const std::vector<double> given = {0.9, 0.1, 0.2};
    std::vector<ProjectionStatus> statuses(3, ProjectionStatus::kOk);
    RunMany(p, inverse, given, given, a, b, {}, scales, statuses);
    EXPECT_TRUE(std::isnan(a[2]) && std::isnan(b[2]) && std::isnan(scales[2]));
    EXPECT_EQ(statuses[2], ProjectionStatus::kInvalidProjection);
  }
}

// A point without result says why, and every output it was given is NaN: input that
// is not a number, a latitude beyond a pole either way, a projection that is none.
TEST(ProjectionEntries, GiveNaNAndTheReasonForAPointWithoutResult) {
  const auto expect_no_result = [](ProjectionStatus status, ProjectionStatus wanted,
                                   const std::array<double, 4>& out) {
    EXPECT_EQ(ProjectionStatusText(status), ProjectionStatusText(wanted));
    for (const double value : out)
      EXPECT_TRUE(std::isnan(value)) << value;
  };
  for (const TextRow& c : SetUps()) {
    SCOPED_TRACE(c[0]);
    TestProjection p(c[1], c[2]);
    const double lon = p.m_CentralMeridian + 0.01;
    const double e = p.m_FalseEasting, n = p.m_FalseNorthing;
    const struct {
      double first, second;
      bool inverse;
      ProjectionStatus wanted;
    } cases[] = {
        {kNaN, lon, false, ProjectionStatus::kNotANumber},
        {0.5, kInfinity, false, ProjectionStatus::kNotANumber},
        {Radians(90.001), lon, false, ProjectionStatus::kBeyondPole},
        {-kInfinity, lon, false, ProjectionStatus::kNotANumber},
        {kInfinity, n, true, ProjectionStatus::kNotANumber},
        {e, kNaN, true, ProjectionStatus::kNotANumber},
    };
    for (const auto& x : cases) {
      std::array<double, 4> out = {0.25, 0.25, 0.25, 0.25};
      const ProjectionStatus status =
          x.inverse ? p.GridToGeog(x.first, x.second, &out[0], &out[1], &out[2], &out[3])
                    : p.GeogToGrid(x.first, x.second, &out[0], &out[1], &out[2], &out[3]);
      expect_no_result(status, x.wanted, out);
    }
    const double k0 = p.m_ScaleFactor;
    for (const double bad : {0.0, kNaN, kInfinity}) {
      p.m_ScaleFactor = bad;
      std::array<double, 4> out = {0.25, 0.25, 0.25, 0.25};
      expect_no_result(p.GeogToGrid(0.5, lon, &out[0], &out[1], &out[2], &out[3]),
                       ProjectionStatus::kInvalidProjection, out);
      expect_no_result(p.GridToGeog(e, n, &out[0], &out[1], &out[2], &out[3]),
                       ProjectionStatus::kInvalidProjection, out);
    }
    p.m_ScaleFactor = k0;
    p.m_FalseNorthing = kNaN;
    std::array<double, 4> out = {0.25, 0.25, 0.25, 0.25};
    expect_no_result(p.GeogToGrid(0.5, lon, &out[0], &out[1], &out[2], &out[3]),
                     ProjectionStatus::kInvalidProjection, out);
  }
  // 10 100 km south of the equator on the central meridian: past the south pole, where
  // the transverse Mercator has no point. (200 km east of it, 9 990 km south is a
  // point: 88.2 S, 87.7 degrees east of the meridian, as GeographicLib's exact
  // transverse Mercator gives it.)
  TestProjection utm(SetUps().at(0)[1], SetUps()[0][2]);
  std::array<double, 4> out = {0.25, 0.25, 0.25, 0.25};
  expect_no_result(utm.GridToGeog(500000.0, -10.1e6, &out[0], &out[1], &out[2], &out[3]),
                   ProjectionStatus::kBeyondPole, out);
}

// Each output asked for alone is what a call asking for all four gives, save the
// northing that the one-parallel Lambert works out only with its easting; the
// azimuthal inverse writes nothing without its longitude output.
TEST(ProjectionEntries, GiveEachOutputAskedForAloneAsACallForAllFourGivesIt) {
  for (const TextRow& c : SetUps()) {
    SCOPED_TRACE(c[0]);
    TestProjection p(c[1], c[2]);
    const double lat = p.m_OriginLatitude + Radians(p.m_OriginLatitude == 0.0 ? 52.4 : 0.4);
    const double lon = p.m_CentralMeridian + Radians(1.4);
    std::array<double, 4> all{}, alone{};
    ASSERT_EQ(p.GeogToGrid(lat, lon, &all[0], &all[1], &all[2], &all[3]), ProjectionStatus::kOk);
    for (std::size_t i = 0; i < all.size(); ++i) {
      std::array<double*, 4> out{};
      alone[i] = kUntouched;
      out[i] = &alone[i];
      EXPECT_EQ(p.GeogToGrid(lat, lon, out[0], out[1], out[2], out[3]), ProjectionStatus::kOk);
    }
    if (p.m_Type == PROJECTION_LAMBERT && p.m_Method == 0) all[1] = kUntouched;
    EXPECT_EQ(alone, all);
    if (p.m_Type != PROJECTION_AZIMUTHAL_EQUIDISTANT) continue;
    double back_lat = kUntouched;
    static_cast<void>(p.GridToGeog(all[0], 60000.0, &back_lat, nullptr));
    EXPECT_EQ(back_lat, kUntouched);
  }
}

}  // namespace
}  // namespace orvale
