#pragma once
// What the projection families share: the point and output records the dispatcher
// hands them, the common entry and exit rules, and the maths each family source
// defines. The dispatcher (projection.cpp) reaches a family only through its
// ProjectionMaths, chosen by the family table (projection_family.h).

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <type_traits>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"
#include "orvale/engine/projection/projection.h"

namespace orvale::projection {

// A geographical position with what every forward method needs of it, computed once.
struct GeogPoint {
  double latitude = 0.0;
  double longitude = 0.0;
  double sin_lat = 0.0;
  double cos_lat = 1.0;
  double tan_lat = 0.0;
  double rho = 0.0;  // meridian radius of curvature, 0 when degenerate
  double nu = 0.0;   // prime-vertical radius of curvature, 0 when degenerate
};

// Forward outputs; a null member is neither computed nor written.
struct GridOutputs {
  double* easting = nullptr;
  double* northing = nullptr;
  double* convergence = nullptr;
  double* scale = nullptr;
};

// Inverse outputs; latitude and longitude are always given (the incoming latitude
// seeds footpoint iterations); convergence and scale may be null.
struct GeogOutputs {
  double* latitude = nullptr;
  double* longitude = nullptr;
  double* convergence = nullptr;
  double* scale = nullptr;
};

// A run of inverse conversions over arrays of `count` points; convergences and scales
// may be null (not computed), and so may statuses.
struct GeogRun {
  const double* eastings = nullptr;
  const double* northings = nullptr;
  double* latitudes = nullptr;
  double* longitudes = nullptr;
  double* convergences = nullptr;
  double* scales = nullptr;
  ProjectionStatus* statuses = nullptr;
  std::size_t count = 0;

  GeogOutputs OutputsAt(std::size_t i) const {
    return {latitudes + i, longitudes + i, convergences != nullptr ? convergences + i : nullptr,
            scales != nullptr ? scales + i : nullptr};
  }
};

// An angle brought into (-pi, pi]: a longitude, or a difference of longitudes, the
// short way round. Exact for inputs already in range.
inline double WrapToHalfTurn(double angle) {
  if (angle > -std::numbers::pi && angle <= std::numbers::pi) return angle;
  double wrapped = std::remainder(angle, 2.0 * std::numbers::pi);
  if (wrapped <= -std::numbers::pi) wrapped += 2.0 * std::numbers::pi;
  return wrapped;
}

// The longitude a forward computes with: the point's own when it is within half a
// turn of the central meridian (unchanged, so that the result keeps every bit), else
// lambda0 plus the difference taken the short way round.
inline double LongitudeNearCentralMeridian(double longitude, double central_meridian) {
  const double difference = longitude - central_meridian;
  if (difference > -std::numbers::pi && difference <= std::numbers::pi) return longitude;
  return central_meridian + WrapToHalfTurn(difference);
}

// The outputs of a point without result: NaN, so that no stand-in reads as a number.
inline void WriteNoResult(const GridOutputs& out) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double* output : {out.easting, out.northing, out.convergence, out.scale})
    if (output != nullptr) *output = nan;
}

inline void WriteNoResult(const GeogOutputs& out) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double* output : {out.latitude, out.longitude, out.convergence, out.scale})
    if (output != nullptr) *output = nan;
}

// The rules every inverse shares at its exit: a latitude beyond a pole is no result;
// a latitude or longitude that is not a number is none either; a longitude is brought
// into (-pi, pi] (a family may give lambda0 + a difference beyond it, 180 degrees
// being a central meridian like any other); the convergence is held to half a turn.
// Convergence and scale do not decide the status: one a method cannot give is NaN.
inline ProjectionStatus ApplyGeogExitRules(const GeogOutputs& out) {
  ProjectionStatus status = ProjectionStatus::kOk;
  if (out.latitude != nullptr) {
    if (std::isnan(*out.latitude))
      status = ProjectionStatus::kOutsideDomain;
    else if (std::fabs(*out.latitude) > kHalfPi)
      status = ProjectionStatus::kBeyondPole;
  }
  if (out.longitude != nullptr) {
    if (std::isfinite(*out.longitude))
      *out.longitude = WrapToHalfTurn(*out.longitude);
    else if (status == ProjectionStatus::kOk)
      status = ProjectionStatus::kOutsideDomain;
  }
  if (out.convergence != nullptr)
    *out.convergence = std::clamp(*out.convergence, -std::numbers::pi, std::numbers::pi);
  return status;
}

// A run of forward conversions over arrays of `count` points; convergences and scales
// may be null (not computed), and so may statuses.
struct GridRun {
  const double* latitudes = nullptr;
  const double* longitudes = nullptr;
  double* eastings = nullptr;
  double* northings = nullptr;
  double* convergences = nullptr;
  double* scales = nullptr;
  ProjectionStatus* statuses = nullptr;
  std::size_t count = 0;

  GridOutputs OutputsAt(std::size_t i) const {
    return {eastings + i, northings + i, convergences != nullptr ? convergences + i : nullptr,
            scales != nullptr ? scales + i : nullptr};
  }
};

// The point with its sine and cosine given (inline, for loops over many points).
inline GeogPoint GeogPointFrom(const CSpheroid& spheroid, double latitude, double longitude,
                               double sin_lat, double cos_lat) {
  const Curvature curvature = CurvatureAt(spheroid, sin_lat);
  return {latitude, longitude, sin_lat, cos_lat, sin_lat / cos_lat, curvature.rho, curvature.nu};
}

inline GeogPoint MakeGeogPoint(const CSpheroid& spheroid, double latitude, double longitude) {
  return GeogPointFrom(spheroid, latitude, longitude, std::sin(latitude), std::cos(latitude));
}

// Part of a run: `count` points from its `first`, every array (any may be null)
// offset to match.
template <class Run>
Run SliceOf(const Run& run, std::size_t first, std::size_t count) {
  const auto at = [first](auto* array) { return array != nullptr ? array + first : array; };
  Run slice = run;
  if constexpr (std::is_same_v<Run, GridRun>) {
    slice.latitudes = at(run.latitudes);
    slice.longitudes = at(run.longitudes);
    slice.eastings = at(run.eastings);
    slice.northings = at(run.northings);
  } else {
    slice.eastings = at(run.eastings);
    slice.northings = at(run.northings);
    slice.latitudes = at(run.latitudes);
    slice.longitudes = at(run.longitudes);
  }
  slice.convergences = at(run.convergences);
  slice.scales = at(run.scales);
  slice.statuses = at(run.statuses);
  slice.count = count;
  return slice;
}

// The entry checks every direction shares, single points and runs alike: a position
// that is not made of finite numbers, or a latitude beyond a pole, has no result.
inline ProjectionStatus CheckGeogInput(double latitude, double longitude) {
  if (!std::isfinite(latitude) || !std::isfinite(longitude)) return ProjectionStatus::kNotANumber;
  if (std::fabs(latitude) > kHalfPi) return ProjectionStatus::kBeyondPole;
  return ProjectionStatus::kOk;
}

inline ProjectionStatus CheckGridInput(double easting, double northing) {
  if (!std::isfinite(easting) || !std::isfinite(northing)) return ProjectionStatus::kNotANumber;
  return ProjectionStatus::kOk;
}

// A grid position relative to the false origin, as the helpers below take it.
struct GridPair {
  double x = 0.0;
  double y = 0.0;
};

// The meridian's convergence and scale of a projection that gives neither in closed
// form, from its own forward: the meridian's image at the point is the derivative of
// the grid position along the latitude, by central differences of 1e-5 rad (the
// truncation then costs about 1e-11 of the value, the rounding of metres-sized grid
// co-ordinates less). The convergence is the angle from grid north to the meridian,
// positive east of a central meridian in the north (as for the transverse Mercator);
// the scale is the length of the meridian's image over the true length, rho d(phi).
// `grid_at(latitude, longitude)` gives the GridPair of a position.
struct MeridianFactors {
  double convergence = 0.0;
  double scale = 0.0;
};

template <class GridAt>
MeridianFactors MeridianFactorsOf(GridAt grid_at, double latitude, double longitude, double rho) {
  constexpr double kStep = 1e-5;
  // Within a step of a pole the differences are taken on the near side of it.
  const double centre = std::clamp(latitude, -kHalfPi + kStep, kHalfPi - kStep);
  const GridPair north = grid_at(centre + kStep, longitude);
  const GridPair south = grid_at(centre - kStep, longitude);
  const double dx = (north.x - south.x) / (2.0 * kStep);
  const double dy = (north.y - south.y) / (2.0 * kStep);
  return {-std::atan2(dx, dy), std::hypot(dx, dy) / rho};
}

// The convergence and meridian scale of a forward at a point, into the outputs asked
// for (either may be null).
template <class GridAt>
void WriteMeridianFactors(GridAt grid_at, double latitude, double longitude, double rho,
                          double* convergence, double* scale) {
  if (convergence == nullptr && scale == nullptr) return;
  const MeridianFactors factors = MeridianFactorsOf(grid_at, latitude, longitude, rho);
  if (convergence != nullptr) *convergence = factors.convergence;
  if (scale != nullptr) *scale = factors.scale;
}

// Newton's method on a forward, from an inverse's estimate: the latitude and longitude
// whose forward is (x, y) to within a micrometre, so that the inverse is the forward's
// own inverse and not a series of its own that drifts from it. The Jacobian is taken by
// forward differences of 1e-7 rad, which only slows the last steps by a factor near
// 1e-7. False when the forward cannot be inverted there (no finite step, or no
// micrometre within 12 rounds); the estimate is then left as it was.
template <class GridAt>
bool RefineInverse(GridAt grid_at, double x, double y, double& latitude, double& longitude) {
  constexpr double kStep = 1e-7;
  constexpr double kClose = 1e-6;  // metres
  double lat = latitude, lon = longitude;
  for (int round = 0; round < 12; ++round) {
    const GridPair at = grid_at(lat, lon);
    const double rx = x - at.x, ry = y - at.y;
    if (!std::isfinite(rx) || !std::isfinite(ry)) return false;
    if (std::hypot(rx, ry) <= kClose) {
      latitude = lat;
      longitude = lon;
      return true;
    }
    const double lat_step = lat > 0.0 ? -kStep : kStep;  // away from the nearer pole
    const GridPair along_lat = grid_at(lat + lat_step, lon);
    const GridPair along_lon = grid_at(lat, lon + kStep);
    const double xp = (along_lat.x - at.x) / lat_step, yp = (along_lat.y - at.y) / lat_step;
    const double xl = (along_lon.x - at.x) / kStep, yl = (along_lon.y - at.y) / kStep;
    const double det = xp * yl - xl * yp;
    if (det == 0.0 || !std::isfinite(det)) return false;
    lat += (rx * yl - xl * ry) / det;
    lon += (xp * ry - rx * yp) / det;
  }
  return false;
}

// The computation of one method: its set-up, its two directions, and what a run of
// points can share. Every direction returns what became of the point: kOk, or why its
// outputs are not a result (a failed iteration, a point outside the method, an axis or
// zone the grid does not have). The common entry and exit rules (no spheroid, input
// that is not a number or beyond a pole, the longitude brought within half a turn of
// the central meridian, the exit range checks) are the dispatcher's, not the method's:
// a forward sees lambda - lambda0 in (-pi, pi]. A convergence or scale the method
// cannot give is written as a quiet NaN, with status kOk.
struct ProjectionMaths {
  // The method's own constants, after the values every projection derives; null when
  // it needs none. Runs only on a spheroid with a semi-major axis.
  void (*initialise)(CProjection& p) = nullptr;
  ProjectionStatus (*forward)(const CProjection& p, const GeogPoint& g,
                              const GridOutputs& out) = nullptr;
  // Instead of `forward`, for the one method whose forward notes in the record what the
  // position chose (the Norwegian grid, its axis).
  ProjectionStatus (*recording_forward)(CProjection& p, const GeogPoint& g,
                                        const GridOutputs& out) = nullptr;
  ProjectionStatus (*inverse)(const CProjection& p, double easting, double northing,
                              const GeogOutputs& out) = nullptr;
  // A whole run at once with the common rules applied, on a spheroid with a semi-major
  // axis and a scale factor; false when the method cannot take this run (the caller then
  // converts point by point). Null: always point by point.
  bool (*forward_run)(const CProjection& p, const GridRun& run) = nullptr;
  bool (*inverse_run)(const CProjection& p, const GeogRun& run) = nullptr;
  // A start for the inverse's iteration from the point itself; null when the method
  // has no iteration that one would help (the start is then 0, the default).
  double (*footpoint_start)(const CProjection& p, double northing) = nullptr;
};

// The maths of every method family, each defined in the family's own source.
extern const ProjectionMaths kTransverseMercatorMaths;  // types 0-4, state plane method 0
extern const ProjectionMaths kMercatorMaths;
extern const ProjectionMaths kLambertOneParallelMaths;
extern const ProjectionMaths kLambertTwoParallelMaths;
extern const ProjectionMaths kLambertUsaMaths;
extern const ProjectionMaths kCassiniMaths;
extern const ProjectionMaths kAzimuthalEquidistantMaths;
extern const ProjectionMaths kDoubleStereographicMaths;  // the oblique and equatorial methods
extern const ProjectionMaths kPolarStereographicMaths;
extern const ProjectionMaths kPolyconicMaths;
extern const ProjectionMaths kRsoMaths;  // type 11, state plane method 3
extern const ProjectionMaths kLambertTablesMaths;
extern const ProjectionMaths kTmTablesMaths;
extern const ProjectionMaths kNorwegianGridMaths;
extern const ProjectionMaths kDanishGridMaths;

// The national grids are polynomials on the transverse Mercator of their UTM zone.
// Their set-up works out the transverse Mercator's constants too.
void InitialiseTransverseMercator(CProjection& p);
ProjectionStatus TransverseMercatorForward(const CProjection& p, const GeogPoint& g,
                                           const GridOutputs& out);
ProjectionStatus TransverseMercatorInverse(const CProjection& p, double easting, double northing,
                                           const GeogOutputs& out);

// The transverse Mercator's series on their own, for a mapping held in no projection
// record (the National Grid step of OSTN15): worked out once into a block, then used a
// point at a time. Offsets are metres at unit scale: east of the central meridian and
// north of the origin latitude; dl is the longitude less the central meridian.
using TransverseMercatorBlock = std::array<std::byte, 320>;
void StoreTransverseMercatorSeries(TransverseMercatorBlock& block, double semi_major_axis,
                                   double e2, double origin_latitude);
void TransverseMercatorOffsets(const TransverseMercatorBlock& block, double latitude, double dl,
                               double& east, double& north);
void TransverseMercatorFromOffsets(const TransverseMercatorBlock& block, double east, double north,
                                   double& latitude, double& dl);

}  // namespace orvale::projection
