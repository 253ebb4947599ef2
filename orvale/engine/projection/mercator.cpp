// Mercator (type 5): the normal cylindrical conformal projection, true along the
// equator (method 0) or along the parallels +-phi0 (method 1). Northings count from the
// equator in both methods.
#include <cmath>

#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {

// P0 is the radius of the cylinder's equator. Given a standard parallel, the record's
// scale factor becomes the equatorial scale that makes that parallel true, which the
// user sees when the record is shown again; without one, the radius is a and the
// scale factor is ignored.
void InitialiseMercator(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  if (p.m_OriginLatitude == 0.0) {
    p.m_Param[0] = s.m_SemiMajorAxis;
    p.m_Param[1] = 0.0;
    return;
  }
  p.m_ScaleFactor = ParallelFactor(s, p.m_OriginLatitude);
  p.m_Param[0] = s.m_SemiMajorAxis * p.m_ScaleFactor;
  p.m_Param[1] = p.m_Method == 1 ? p.m_Psi0 * p.m_Param[0] : 0.0;
}

ProjectionStatus MercatorForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const double radius = p.m_Param[0];
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
  const double radius = p.m_Param[0];
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

}  // namespace orvale::projection
