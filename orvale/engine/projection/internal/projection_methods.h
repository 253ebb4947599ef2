#pragma once
// The projection families behind CProjection's entries. Each family source holds the
// set-up, forward and inverse of one method family; projection.cpp only dispatches.
// Internal to the engine: not installed as public API beyond this declaration.

#include <algorithm>
#include <cmath>
#include <cstddef>

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
// may be null (not computed).
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
// outside the projection; the Parts' 0 stands in for it.
inline ProjectionStatus ApplyGeogExitRules(const GeogOutputs& out) {
  bool on_globe = true;
  if (out.latitude != nullptr) {
    on_globe = std::fabs(*out.latitude) <= M_PI_2;
    if (std::fabs(*out.latitude) > M_PI_2) *out.latitude = 0.0;
  }
  if (out.longitude != nullptr) {
    on_globe = on_globe && std::fabs(*out.longitude) <= M_PI;
    if (std::fabs(*out.longitude) > M_PI) *out.longitude = 0.0;
  }
  if (out.convergence != nullptr) *out.convergence = std::clamp(*out.convergence, -M_PI, M_PI);
  const bool numbers = (out.convergence == nullptr || !std::isnan(*out.convergence)) &&
                       (out.scale == nullptr || std::isfinite(*out.scale));
  return on_globe && numbers ? ProjectionStatus::kOk : ProjectionStatus::kOutsideDomain;
}

// A run of forward conversions over arrays of `count` points; convergences and scales
// may be null (not computed).
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

// Types 0-4 and state plane method 0.
ProjectionStatus TransverseMercatorForward(const CProjection& p, const GeogPoint& g,
                                           const GridOutputs& out);
// The whole run at once, with the common entry and exit rules applied; the spheroid
// must be usable (a, k0 not 0).
void TransverseMercatorForwardRun(const CProjection& p, const GridRun& run);
ProjectionStatus TransverseMercatorInverse(const CProjection& p, double easting, double northing,
                                           const GeogOutputs& out);
// The whole run at once, each point starting from its own footpoint estimate, with the
// common entry and exit rules applied; the spheroid must be usable (a, k0 not 0).
void TransverseMercatorInverseRun(const CProjection& p, const GeogRun& run);

// Type 5.
void InitialiseMercator(CProjection& p);
ProjectionStatus MercatorForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out);
ProjectionStatus MercatorInverse(const CProjection& p, double easting, double northing,
                                 const GeogOutputs& out);

// Every forward and inverse below returns what became of the point: kOk, or why its
// outputs are not a result (a failed iteration, a point outside the method, an axis
// or zone the grid does not have).

// Type 6 (its set-up is CProjection::InitialiseLambert, which calls this).
void InitialiseLambertConstants(CProjection& p);
ProjectionStatus LambertForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out);
ProjectionStatus LambertInverse(const CProjection& p, double easting, double northing,
                                const GeogOutputs& out);

// Type 7.
ProjectionStatus CassiniForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out);
ProjectionStatus CassiniInverse(const CProjection& p, double easting, double northing,
                                const GeogOutputs& out);

// Type 8.
ProjectionStatus AzimuthalEquidistantForward(const CProjection& p, const GeogPoint& g,
                                             const GridOutputs& out);
ProjectionStatus AzimuthalEquidistantInverse(const CProjection& p, double easting, double northing,
                                             const GeogOutputs& out);

// Type 9.
void InitialiseStereographic(CProjection& p);
ProjectionStatus StereographicForward(const CProjection& p, const GeogPoint& g,
                                      const GridOutputs& out);
ProjectionStatus StereographicInverse(const CProjection& p, double easting, double northing,
                                      const GeogOutputs& out);

// Type 10.
ProjectionStatus PolyconicForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out);
ProjectionStatus PolyconicInverse(const CProjection& p, double easting, double northing,
                                  const GeogOutputs& out);

// Type 11 and state plane method 3. The set-up projects the centre, so it needs the
// forward entry and takes the record itself.
void InitialiseRso(CProjection& p);
ProjectionStatus RsoForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out);
ProjectionStatus RsoInverse(const CProjection& p, double easting, double northing,
                            const GeogOutputs& out);

// Type 12 methods 1 ("Lambert Tables") and 2 ("TM Tables").
void InitialiseStatePlaneTables(CProjection& p);
ProjectionStatus StatePlaneTablesForward(const CProjection& p, const GeogPoint& g,
                                         const GridOutputs& out);
ProjectionStatus StatePlaneTablesInverse(const CProjection& p, double easting, double northing,
                                         const GeogOutputs& out);

// Type 13. The forward records the chosen axis in the record.
ProjectionStatus NorwegianGridForward(CProjection& p, const GeogPoint& g, const GridOutputs& out);
ProjectionStatus NorwegianGridInverse(const CProjection& p, double easting, double northing,
                                      const GeogOutputs& out);

// Type 14.
ProjectionStatus DanishGridForward(const CProjection& p, const GeogPoint& g,
                                   const GridOutputs& out);
ProjectionStatus DanishGridInverse(const CProjection& p, double easting, double northing,
                                   const GeogOutputs& out);

}  // namespace orvale::projection
