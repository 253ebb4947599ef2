// Cassini-Soldner: the transverse cylindrical projection that keeps distances along
// the central meridian and at right angles to it, by the series to the 5th power of
// the longitude difference (the forward as IOGP Guidance Note 7-2 defines it; PROJ's
// cass uses the same series). The published inverse is a series of its own that
// drifts from this forward by 1.2 cm at 3.5 degrees from the central meridian; here
// it only starts Newton's method on the forward, so that the inverse gives back the
// forward's own position. The convergence and the point scale factor (along the
// meridian, the projection not being conformal) come from the forward's derivative
// along the meridian.
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

// The grid position from the false origin.
GridPair CassiniGrid(const CProjection& p, const GeogPoint& g) {
  const CSpheroid& s = *p.m_Spheroid;
  const double k0 = p.m_ScaleFactor;
  const double a = (g.longitude - p.m_CentralMeridian) * g.cos_lat;
  const double a2 = a * a;
  const double t = g.tan_lat * g.tan_lat;
  const double c = s.m_E2 * g.cos_lat * g.cos_lat / s.m_OneMinusE2;
  const double arc = MeridianDistance(s, g.latitude) - p.m_M0;
  return {k0 * g.nu * (a - t * a2 * a / 6.0 - (8.0 - t + 8.0 * c) * t * a2 * a2 * a / 120.0),
          k0 * (arc + g.nu * g.tan_lat * (a2 / 2.0 + (5.0 - t + 6.0 * c) * a2 * a2 / 24.0))};
}

GridPair CassiniGridAt(const CProjection& p, double latitude, double longitude) {
  return CassiniGrid(p, MakeGeogPoint(*p.m_Spheroid, latitude, longitude));
}

void WriteFactors(const CProjection& p, double latitude, double longitude, double rho,
                  double* convergence, double* scale) {
  const auto grid_at = [&p](double lat, double lon) { return CassiniGridAt(p, lat, lon); };
  WriteMeridianFactors(grid_at, latitude, longitude, rho, convergence, scale);
}

ProjectionStatus CassiniForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const GridPair grid = CassiniGrid(p, g);
  if (out.easting != nullptr) *out.easting = grid.x + p.m_FalseEasting;
  if (out.northing != nullptr) *out.northing = grid.y + p.m_FalseNorthing;
  WriteFactors(p, g.latitude, g.longitude, g.rho, out.convergence, out.scale);
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
  double latitude =
      f.latitude - (f.nu * f.tan_lat / f.rho) * (d2 / 2.0 - (1.0 + 3.0 * f.tan2) * d2 * d2 / 24.0);
  double longitude =
      p.m_CentralMeridian +
      (d - f.tan2 * d2 * d / 3.0 + (1.0 + 3.0 * f.tan2) * f.tan2 * d2 * d2 * d / 15.0) / f.cos_lat;
  const auto grid_at = [&p](double lat, double lon) { return CassiniGridAt(p, lat, lon); };
  if (!RefineInverse(grid_at, x, y, latitude, longitude)) return ProjectionStatus::kNoConvergence;
  *out.latitude = latitude;
  *out.longitude = longitude;
  const double rho = CurvatureAt(s, std::sin(latitude)).rho;
  WriteFactors(p, latitude, longitude, rho, out.convergence, out.scale);
  return ProjectionStatus::kOk;
}

}  // namespace

const ProjectionMaths kCassiniMaths = {
    .forward = CassiniForward,
    .inverse = CassiniInverse,
};

}  // namespace orvale::projection
