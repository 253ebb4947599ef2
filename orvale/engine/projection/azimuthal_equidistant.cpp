// Azimuthal equidistant in the local form used for island grids such as Guam: a
// short-range approximation about the origin (departure along the parallel plus the
// meridian arc). The inverse's substitution starts Newton's method on the forward, so
// that it gives back the forward's own position (the substitution alone, through the
// footpoint series, stops 0.03 mm short a cycle). The convergence and the point scale
// factor (along the meridian, the form not being conformal) come from the forward's
// derivative along the meridian.
#include <cmath>

#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

double RectifyingToLatitude(const CSpheroid& s, double mu) {
  return mu + s.m_Foot2 * std::sin(2.0 * mu) + s.m_Foot4 * std::sin(4.0 * mu) +
         s.m_Foot6 * std::sin(6.0 * mu) + s.m_Foot8 * std::sin(8.0 * mu);
}

double PrimeVerticalRadius(const CSpheroid& s, double latitude) {
  return CurvatureAt(s, std::sin(latitude)).nu;
}

// The grid position from the false origin.
GridPair GuamGrid(const CProjection& p, const GeogPoint& g) {
  const double x = (g.longitude - p.m_CentralMeridian) * g.cos_lat * g.nu;
  return {x,
          MeridianDistance(*p.m_Spheroid, g.latitude) - p.m_M0 + x * x * g.tan_lat / (2.0 * g.nu)};
}

GridPair GuamGridAt(const CProjection& p, double latitude, double longitude) {
  return GuamGrid(p, MakeGeogPoint(*p.m_Spheroid, latitude, longitude));
}

void WriteFactors(const CProjection& p, double latitude, double longitude, double rho,
                  double* convergence, double* scale) {
  const auto grid_at = [&p](double lat, double lon) { return GuamGridAt(p, lat, lon); };
  WriteMeridianFactors(grid_at, latitude, longitude, rho, convergence, scale);
}

ProjectionStatus AzimuthalEquidistantForward(const CProjection& p, const GeogPoint& g,
                                             const GridOutputs& out) {
  const GridPair grid = GuamGrid(p, g);
  if (out.easting != nullptr) *out.easting = grid.x + p.m_FalseEasting;
  if (out.northing != nullptr) *out.northing = grid.y + p.m_FalseNorthing;
  WriteFactors(p, g.latitude, g.longitude, g.rho, out.convergence, out.scale);
  return ProjectionStatus::kOk;
}

ProjectionStatus AzimuthalEquidistantInverse(const CProjection& p, double easting, double northing,
                                             const GeogOutputs& out) {
  if (out.latitude == nullptr || out.longitude == nullptr) return ProjectionStatus::kOk;
  const CSpheroid& s = *p.m_Spheroid;
  const double x = easting - p.m_FalseEasting;
  const double y = northing - p.m_FalseNorthing;
  // The northing holds the meridian arc plus a term that depends on the latitude
  // itself, so the latitude is found by substitution from the origin's.
  double latitude = p.m_OriginLatitude;
  bool settled = false;
  for (int round = 0; round < kIterationLimit && !settled; ++round) {
    const double nu = PrimeVerticalRadius(s, latitude);
    const double arc = p.m_M0 + y - std::tan(latitude) * x * x / (2.0 * nu);
    const double next = RectifyingToLatitude(s, arc / s.m_MeridianA0);
    settled = std::fabs(next - latitude) <= kIterationTolerance;
    latitude = next;
  }
  if (!settled) return ProjectionStatus::kNoConvergence;
  double longitude =
      p.m_CentralMeridian + x / (PrimeVerticalRadius(s, latitude) * std::cos(latitude));
  const auto grid_at = [&p](double lat, double lon) { return GuamGridAt(p, lat, lon); };
  if (!RefineInverse(grid_at, x, y, latitude, longitude)) return ProjectionStatus::kNoConvergence;
  *out.latitude = latitude;
  *out.longitude = longitude;
  const double rho = CurvatureAt(s, std::sin(latitude)).rho;
  WriteFactors(p, latitude, longitude, rho, out.convergence, out.scale);
  return ProjectionStatus::kOk;
}

}  // namespace

const ProjectionMaths kAzimuthalEquidistantMaths = {
    .forward = AzimuthalEquidistantForward,
    .inverse = AzimuthalEquidistantInverse,
};

}  // namespace orvale::projection
