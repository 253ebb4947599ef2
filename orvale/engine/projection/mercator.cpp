// Mercator (type 5): the normal cylindrical conformal projection, true along the
// equator (method 0) or along the parallels +-phi0 (method 1). Northings count from the
// equator in both methods.
#include <cmath>
#include <cstddef>

#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

// Parameter slots, both derived by the set-up.
constexpr std::size_t kRadius = 0;          // of the cylinder's equator
constexpr std::size_t kNorthingOrigin = 1;  // northing of the standard parallel (method 1)

constexpr int kStandardParallelMethod = 1;

// Given a standard parallel, the record's scale factor becomes the equatorial scale
// that makes that parallel true, which the user sees when the record is shown again;
// without one, the radius is a and the scale factor is ignored.
void InitialiseMercator(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  auto& param = p.m_Param;
  if (p.m_OriginLatitude == 0.0) {
    param[kRadius] = s.m_SemiMajorAxis;
    param[kNorthingOrigin] = 0.0;
    return;
  }
  p.m_ScaleFactor = ParallelFactor(s, p.m_OriginLatitude);
  param[kRadius] = s.m_SemiMajorAxis * p.m_ScaleFactor;
  param[kNorthingOrigin] = p.m_Method == kStandardParallelMethod ? p.m_Psi0 * param[kRadius] : 0.0;
}

ProjectionStatus MercatorForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const double radius = p.m_Param[kRadius];
  if (out.easting != nullptr) {
    *out.easting = (g.longitude - p.m_CentralMeridian) * radius + p.m_FalseEasting;
  }
  if (out.northing != nullptr) {
    *out.northing = IsometricLatitudeOfSine(*p.m_Spheroid, g.sin_lat) * radius + p.m_FalseNorthing;
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = radius / (g.cos_lat * g.nu);
  return ProjectionStatus::kOk;
}

ProjectionStatus MercatorInverse(const CProjection& p, double easting, double northing,
                                 const GeogOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const double radius = p.m_Param[kRadius];
  const LatitudeWithTrig found = LatitudeFromIsometric(s, (northing - p.m_FalseNorthing) / radius);
  const double latitude = found.latitude;
  if (out.latitude != nullptr) *out.latitude = latitude;
  if (out.longitude != nullptr) {
    *out.longitude = (easting - p.m_FalseEasting) / radius + p.m_CentralMeridian;
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) {
    const double nu = CurvatureAt(s, std::sin(latitude)).nu;
    *out.scale = radius / (nu * std::cos(latitude));
  }
  return found.converged ? ProjectionStatus::kOk : ProjectionStatus::kNoConvergence;
}

}  // namespace

const ProjectionMaths kMercatorMaths = {
    .initialise = InitialiseMercator,
    .forward = MercatorForward,
    .inverse = MercatorInverse,
};

}  // namespace orvale::projection
