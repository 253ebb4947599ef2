#pragma once
// Shared set-up for the projection family tests (and their gtest and <cmath>): a projection
// on a built-in spheroid of its own, its outputs both ways, grid round trips, and
// record files to find.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/storage/data_folders.h"
#include "support/projection_text.h"

namespace orvale::testing {

// Rows of the built-in spheroid table.
inline constexpr int kAiry1830Row = 0;
inline constexpr int kClarke1866Row = 7;
inline constexpr int kGrs80Row = 17;
inline constexpr int kInternationalRow = 20;
inline constexpr int kKrassowskyRow = 21;
inline constexpr int kWgs84Row = 26;
inline constexpr int kSad1969Row = 42;

inline constexpr double kMillimetre = 0.001;
inline constexpr double kMetresPerUsFoot = 0.30480060960121924;
// What an output holds before a call that must not write it (a value that the
// common exit of the entries keeps as it is).
inline constexpr double kUntouched = 0.25;

inline double Radians(double degrees) {
  return degrees * kRadiansPerDegree;
}
inline double Degrees(double radians) {
  return radians * kDegreesPerRadian;
}

// Degrees from `from` to `to`, both included.
struct Span {
  double from, to, step;
};
inline Span Around(double centre, double half_width, double step) {
  return {centre - half_width, centre + half_width, step};
}

// Worst of `error(latitude, longitude)` (radians) over a grid of degrees.
template <class Error>
double WorstOverGrid(Span lat, Span lon, Error error) {
  double worst = 0.0;
  for (double phi = lat.from; phi <= lat.to + 1e-9; phi += lat.step) {
    for (double lambda = lon.from; lambda <= lon.to + 1e-9; lambda += lon.step) {
      worst = std::max(worst, error(Radians(phi), Radians(lambda)));
    }
  }
  return worst;
}

// What a forward writes, kUntouched where it writes nothing.
struct GridOutputs {
  double easting = kUntouched, northing = kUntouched;
  double convergence = kUntouched, scale = kUntouched;
  ProjectionStatus status = ProjectionStatus::kOk;
};

// A forward's outputs and what the inverse of its easting and northing writes.
struct RoundTripOutputs : GridOutputs {
  double back_latitude = 0.0, back_longitude = kUntouched;
  double back_convergence = kUntouched, back_scale = kUntouched;
  ProjectionStatus back_status = ProjectionStatus::kOk;
};

// A projection with a built-in spheroid of its own; not copyable, as it points at it.
class TestProjection : public CProjection {
 public:
  explicit TestProjection(int spheroid_row, int type = PROJECTION_UTM, int method = 0) {
    EXPECT_TRUE(spheroid.SetBuiltIn(spheroid_row)) << "no built-in spheroid row " << spheroid_row;
    m_Spheroid = &spheroid;
    m_Type = type;
    m_Method = method;
  }
  // On a spheroid of its own that the caller sets up.
  TestProjection() { m_Spheroid = &spheroid; }
  // Set up from its lines as the case files write them ("row=26", "type=9 method=2 ...").
  TestProjection(std::string_view spheroid_line, std::string_view projection_line) {
    SetUpSpheroid(spheroid, spheroid_line);
    m_Spheroid = &spheroid;
    SetUpProjection(*this, projection_line);
  }
  TestProjection(const TestProjection&) = delete;
  TestProjection& operator=(const TestProjection&) = delete;

  // Metres between two positions (radians), near enough for millimetre tolerances.
  double Separation(double lat1, double lon1, double lat2, double lon2) const {
    const double a = spheroid.m_SemiMajorAxis;
    // The longitudes the short way round: 180 E and 180 W are one meridian.
    const double dlon = std::remainder(lon1 - lon2, 2.0 * std::numbers::pi);
    return std::hypot((lat1 - lat2) * a, dlon * a * std::cos(lat1));
  }

  // Metres between (lat, lon) and its forward-then-inverse; the inverse starts from *seed.
  // Infinity for a point that either direction gives no result for.
  double RoundTripError(double lat, double lon, double* seed) {
    double e = 0.0, n = 0.0, back_lon = 0.0;
    const ProjectionStatus forward = GeogToGrid(lat, lon, &e, &n);
    if (forward != ProjectionStatus::kOk ||
        GridToGeog(e, n, seed, &back_lon) != ProjectionStatus::kOk) {
      return std::numeric_limits<double>::infinity();
    }
    return Separation(lat, lon, *seed, back_lon);
  }

  // Worst round trip over a grid of degrees. With `chain` each inverse starts from the
  // previous point's latitude, as a caller converting a run of points would; else from 0.
  double WorstRoundTrip(Span lat, Span lon, bool chain = false) {
    double seed = 0.0;
    return WorstOverGrid(lat, lon, [&](double phi, double lambda) {
      if (!chain) seed = 0.0;
      return RoundTripError(phi, lambda, &seed);
    });
  }

  GridOutputs Forward(double lat, double lon) {
    GridOutputs g;
    g.status = GeogToGrid(lat, lon, &g.easting, &g.northing, &g.convergence, &g.scale);
    return g;
  }

  // The inverse's latitude output starts at `seed`, which seeds its footpoint iteration.
  RoundTripOutputs BothWays(double lat, double lon, double seed = 0.0) {
    RoundTripOutputs x;
    static_cast<GridOutputs&>(x) = Forward(lat, lon);
    x.back_latitude = seed;
    x.back_status = GridToGeog(x.easting, x.northing, &x.back_latitude, &x.back_longitude,
                               &x.back_convergence, &x.back_scale);
    return x;
  }

  CSpheroid spheroid;
};

// Writes a projection record of `type`, named `name` and `country`, with an origin at
// 50 N 1 E, FE 1000, FN 2000, to `title`.PRJ in the record folder; on Airy 1830 unless
// another spheroid is given.
inline void SaveProjectionRecord(const std::string& title, int type, const std::string& name,
                                 const std::string& country, CSpheroid* spheroid = nullptr) {
  CSpheroid airy;
  EXPECT_TRUE(airy.SetBuiltIn(kAiry1830Row));
  CProjection p;
  p.m_Spheroid = spheroid != nullptr ? spheroid : &airy;
  p.m_Type = type;
  p.SetNames(name.c_str(), country.c_str());
  p.SetParametersDeg(50.0, 1.0, 1000.0, 2000.0, 1.0);
  ASSERT_TRUE(p.WriteRecordFile(RecordFolder() + title + ".PRJ"));
}

}  // namespace orvale::testing
