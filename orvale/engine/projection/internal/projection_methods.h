#pragma once
// What the projection families share: the point and output records the dispatcher
// hands them, the common entry and exit rules, and the maths each family source
// defines. The dispatcher (projection.cpp) reaches a family only through its
// ProjectionMaths, chosen by the family table (projection_family.h).

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

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

// The rules every inverse shares: a grid position within a millimetre of (0, 0) is
// empty and gives (0, 0) with scale k0; a result off the globe is replaced by 0 and
// the convergence is held to half a turn.
inline bool IsEmptyGridPosition(double easting, double northing) {
  return std::fabs(easting) < 0.001 && std::fabs(northing) < 0.001;
}

inline void WriteEmptyGeog(const CProjection& p, const GeogOutputs& out) {
  if (out.latitude != nullptr) *out.latitude = 0.0;
  if (out.longitude != nullptr) *out.longitude = 0.0;
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = p.m_ScaleFactor;
}

// A latitude or longitude that is not on the globe (or not a number) makes the point
// outside the projection; 0 stands in for a number beyond the globe. Convergence and
// scale do not decide it (a method may leave the caller's values there).
inline ProjectionStatus ApplyGeogExitRules(const GeogOutputs& out) {
  bool on_globe = true;
  if (out.latitude != nullptr) {
    on_globe = std::fabs(*out.latitude) <= kHalfPi;
    if (std::fabs(*out.latitude) > kHalfPi) *out.latitude = 0.0;
  }
  if (out.longitude != nullptr) {
    on_globe = on_globe && std::fabs(*out.longitude) <= std::numbers::pi;
    if (std::fabs(*out.longitude) > std::numbers::pi) *out.longitude = 0.0;
  }
  if (out.convergence != nullptr)
    *out.convergence = std::clamp(*out.convergence, -std::numbers::pi, std::numbers::pi);
  return on_globe ? ProjectionStatus::kOk : ProjectionStatus::kOutsideDomain;
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

// The geographical position within 0.001" of (0, 0) is empty: every forward gives
// (0, 0) with scale k0 for it.
inline bool IsEmptyGeogPosition(double latitude, double longitude) {
  return std::fabs(latitude) < kIterationTolerance && std::fabs(longitude) < kIterationTolerance;
}

inline void WriteEmptyGrid(const CProjection& p, const GridOutputs& out) {
  if (out.easting != nullptr && out.northing != nullptr) *out.easting = *out.northing = 0.0;
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = p.m_ScaleFactor;
}

// The point with its sine and cosine given (inline, for loops over many points).
inline GeogPoint GeogPointFrom(const CSpheroid& spheroid, double latitude, double longitude,
                               double sin_lat, double cos_lat) {
  const Curvature curvature = CurvatureAt(spheroid, sin_lat);
  return {latitude, longitude, sin_lat, cos_lat, sin_lat / cos_lat, curvature.rho, curvature.nu};
}

inline GeogPoint MakeGeogPoint(const CSpheroid& spheroid, double latitude, double longitude) {
  return GeogPointFrom(spheroid, latitude, longitude, std::sin(latitude), std::cos(latitude));
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

// An angle brought into (-pi, pi]: a longitude, or a difference of longitudes, the
// short way round. Exact for inputs already in range.
inline double WrapToHalfTurn(double angle) {
  if (angle > -std::numbers::pi && angle <= std::numbers::pi) return angle;
  double wrapped = std::remainder(angle, 2.0 * std::numbers::pi);
  if (wrapped <= -std::numbers::pi) wrapped += 2.0 * std::numbers::pi;
  return wrapped;
}

// The computation of one method: its set-up, its two directions, and what a run of
// points can share. Every direction returns what became of the point: kOk, or why its
// outputs are not a result (a failed iteration, a point outside the method, an axis or
// zone the grid does not have). The common entry and exit rules (no spheroid, the
// empty position, the exit range checks) are the dispatcher's, not the method's.
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
ProjectionStatus TransverseMercatorForward(const CProjection& p, const GeogPoint& g,
                                           const GridOutputs& out);
ProjectionStatus TransverseMercatorInverse(const CProjection& p, double easting, double northing,
                                           const GeogOutputs& out);

}  // namespace orvale::projection
