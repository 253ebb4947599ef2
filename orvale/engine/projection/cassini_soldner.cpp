// Cassini-Soldner: the transverse cylindrical projection that keeps distances along
// the central meridian and at right angles to it, by the series to the 5th power of
// the longitude difference. It has no convergence or scale of its own here: both come
// back as 0.
#include <cmath>

#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

// The latitude on the central meridian with the point's meridian distance and its
// radii of curvature.
struct Footpoint {
  double tan_lat = 0.0;
  double cos_lat = 1.0;
  double tan2 = 0.0;  // T1 = tan^2
  double nu = 0.0;
  double rho = 0.0;
  double latitude = 0.0;
};

Footpoint EquatorFootpoint(const CSpheroid& s) {
  Footpoint f;
  f.nu = s.m_SemiMajorAxis;
  f.rho = s.m_SemiMajorAxis * s.m_OneMinusE2;
  return f;
}

Footpoint FootpointOf(const CSpheroid& s, double meridian_distance) {
  const double mu = meridian_distance / s.m_MeridianA0;
  Footpoint f;
  f.latitude = mu + s.m_Foot2 * std::sin(2.0 * mu) + s.m_Foot4 * std::sin(4.0 * mu) +
               s.m_Foot6 * std::sin(6.0 * mu) + s.m_Foot8 * std::sin(8.0 * mu);
  f.tan_lat = std::tan(f.latitude);
  f.cos_lat = std::cos(f.latitude);
  f.tan2 = f.tan_lat * f.tan_lat;
  const Curvature curvature = CurvatureAt(s, std::sin(f.latitude));
  f.nu = curvature.nu;
  f.rho = curvature.rho;
  return f;
}

ProjectionStatus CassiniForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const double k0 = p.m_ScaleFactor;
  const double a = (g.longitude - p.m_CentralMeridian) * g.cos_lat;
  const double a2 = a * a;
  const double t = g.tan_lat * g.tan_lat;
  const double c = s.m_E2 * g.cos_lat * g.cos_lat / s.m_OneMinusE2;
  if (out.easting != nullptr) {
    *out.easting =
        k0 * g.nu * (a - t * a2 * a / 6.0 - (8.0 - t + 8.0 * c) * t * a2 * a2 * a / 120.0) +
        p.m_FalseEasting;
  }
  if (out.northing != nullptr) {
    const double arc = MeridianDistance(s, g.latitude) - p.m_M0;
    *out.northing =
        k0 * (arc + g.nu * g.tan_lat * (a2 / 2.0 + (5.0 - t + 6.0 * c) * a2 * a2 / 24.0)) +
        p.m_FalseNorthing;
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = 0.0;
  return ProjectionStatus::kOk;
}

ProjectionStatus CassiniInverse(const CProjection& p, double easting, double northing,
                                const GeogOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const double k0 = p.m_ScaleFactor;
  const double x = easting - p.m_FalseEasting;
  const double y = northing - p.m_FalseNorthing;
  const double meridian_distance = y / k0 + p.m_M0;
  const Footpoint f = meridian_distance == 0.0 && p.m_FalseNorthing == 0.0
                          ? EquatorFootpoint(s)
                          : FootpointOf(s, meridian_distance);
  const double d = x / (f.nu * k0);
  const double d2 = d * d;
  if (out.latitude != nullptr) {
    *out.latitude = f.latitude -
                    (f.nu * f.tan_lat / f.rho) * (d2 / 2.0 - (1.0 + 3.0 * f.tan2) * d2 * d2 / 24.0);
  }
  if (out.longitude != nullptr) {
    *out.longitude = p.m_CentralMeridian + (d - f.tan2 * d2 * d / 3.0 +
                                            (1.0 + 3.0 * f.tan2) * f.tan2 * d2 * d2 * d / 15.0) /
                                               f.cos_lat;
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = 0.0;
  return ProjectionStatus::kOk;
}

}  // namespace

const ProjectionMaths kCassiniMaths = {
    .forward = CassiniForward,
    .inverse = CassiniInverse,
};

}  // namespace orvale::projection
