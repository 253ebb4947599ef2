// Azimuthal equidistant in the local form used for island grids such as Guam: a
// short-range approximation about the origin (departure along the parallel plus the
// meridian arc). Convergence and scale are not part of this form and come back as 0.
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

ProjectionStatus AzimuthalEquidistantForward(const CProjection& p, const GeogPoint& g,
                                             const GridOutputs& out) {
  if (out.easting != nullptr) {
    const double x = (g.longitude - p.m_CentralMeridian) * g.cos_lat * g.nu;
    *out.easting = x + p.m_FalseEasting;
    if (out.northing != nullptr) {
      *out.northing = MeridianDistance(*p.m_Spheroid, g.latitude) + p.m_FalseNorthing - p.m_M0 +
                      x * x * g.tan_lat / (2.0 * g.nu);
    }
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = 0.0;
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
  if (!settled) {
    *out.latitude = 0.0;
    *out.longitude = 0.0;
  } else {
    *out.latitude = latitude;
    *out.longitude =
        p.m_CentralMeridian + x / (PrimeVerticalRadius(s, latitude) * std::cos(latitude));
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = 0.0;
  return settled ? ProjectionStatus::kOk : ProjectionStatus::kNoConvergence;
}

}  // namespace

const ProjectionMaths kAzimuthalEquidistantMaths = {
    .forward = AzimuthalEquidistantForward,
    .inverse = AzimuthalEquidistantInverse,
};

}  // namespace orvale::projection
