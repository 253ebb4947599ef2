// American polyconic (type 10): every parallel is developed from its own tangent cone,
// so the central meridian is true to scale and the parallels are true along their
// length; the scale grows east and west of the central meridian. The point scale
// factor is the scale along the meridian (along the parallels it is 1); the convergence
// comes from the forward's derivative along the meridian. The inverse's Newton
// iteration stops at a step of 0.001", which leaves micrometres a cycle; it starts
// Newton's method on the forward itself, so that the inverse gives back the forward's
// own position.
#include <cmath>

#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

// Scale on the equator, where the cones become the tangent cylinder.
double EquatorScale(const CSpheroid& s, double angle) {
  return (angle * angle / 2.0 + s.m_MeridianSlope0) / (1.0 - s.m_E2);
}

// Scale along the meridian at a latitude off the equator, `arc` being the angle of the
// point on the developed cone of its parallel. The denominator is (1 - e^2) cos D, the
// meridian's obliquity D on the developed cone counting in full: the printed form,
// 1 - e^2 cos D, keeps only part of it and is 3e-9 low at 10 degrees from the central
// meridian (PROJ's poly, by differences of its forward, agrees with this one to 1e-10).
double ParallelScale(const CSpheroid& s, double sin_lat, double cos_lat, double tan_lat,
                     double arc) {
  const double e2_sin2 = s.m_E2 * sin_lat * sin_lat;
  const double w = 1.0 - e2_sin2;
  const double d =
      std::atan((arc - std::sin(arc)) / (1.0 / (cos_lat * cos_lat) - std::cos(arc) - w * e2_sin2));
  const double half_sine = std::sin(0.5 * arc);
  const double cot2 = 1.0 / (tan_lat * tan_lat);
  return (2.0 * w * half_sine * half_sine * cot2 + 1.0 - s.m_E2) / ((1.0 - s.m_E2) * std::cos(d));
}

double MeridianSlope(const CSpheroid& s, double latitude) {
  return s.m_A0 - 2.0 * s.m_A2 * std::cos(2.0 * latitude) +
         4.0 * s.m_A4 * std::cos(4.0 * latitude) - 6.0 * s.m_A6 * std::cos(6.0 * latitude);
}

// sqrt(1 - e^2 sin^2) tan: the easting of a point is a sin(L) / C on its parallel.
double ParallelTerm(const CSpheroid& s, double latitude) {
  const double sin_lat = std::sin(latitude);
  return std::sqrt(1.0 - s.m_E2 * sin_lat * sin_lat) * std::tan(latitude);
}

// Newton's method on the relation between a point's latitude and its grid position,
// lengths in units of the semi-major axis: A the northing from the equator, B the
// squared distance from the central meridian's crossing of the equator. NaN when
// 100 rounds do not settle.
double PolyconicLatitude(const CSpheroid& s, double a_term, double b_term) {
  const double a = s.m_SemiMajorAxis;
  double latitude = a_term;
  for (int round = 0; round < kIterationLimit; ++round) {
    const double sin2 = std::sin(2.0 * latitude);
    const double c = ParallelTerm(s, latitude);
    const double ma = MeridianDistance(s, latitude) / a;
    const double slope = MeridianSlope(s, latitude);
    const double f = a_term * (c * ma + 1.0) - ma - 0.5 * (ma * ma + b_term) * c;
    const double df = s.m_E2 * sin2 * (ma * ma + b_term - 2.0 * a_term * ma) / (4.0 * c) +
                      (a_term - ma) * (c * slope - 2.0 / sin2) - slope;
    const double next = latitude - f / df;
    const double change = std::fabs(next - latitude);
    latitude = next;
    if (change <= kIterationTolerance) return latitude;
  }
  return std::nan("");
}

// Latitudes this close to the equator are on it: the cone's radius nu / tan(latitude)
// would overflow the squares the scale is made of, and the grid positions differ from
// the equator's by less than 1e-90 m.
bool OnTheEquator(double latitude) {
  return std::fabs(latitude) < 1e-100;
}

// The grid position from the false origin. 1 - cos L is taken as 2 sin^2(L/2), which
// keeps its digits near the equator, where L is small.
GridPair PolyconicGrid(const CProjection& p, const GeogPoint& g) {
  const CSpheroid& s = *p.m_Spheroid;
  const double dlon = g.longitude - p.m_CentralMeridian;
  if (OnTheEquator(g.latitude)) return {s.m_SemiMajorAxis * dlon, -p.m_M0};
  const double arc = dlon * g.sin_lat;
  const double cone_radius = g.nu / g.tan_lat;
  const double half_sine = std::sin(0.5 * arc);
  return {cone_radius * std::sin(arc),
          (MeridianDistance(s, g.latitude) - p.m_M0) + cone_radius * 2.0 * half_sine * half_sine};
}

GridPair PolyconicGridAt(const CProjection& p, double latitude, double longitude) {
  return PolyconicGrid(p, MakeGeogPoint(*p.m_Spheroid, latitude, longitude));
}

double PolyconicConvergence(const CProjection& p, double latitude, double longitude, double rho) {
  const auto grid_at = [&p](double lat, double lon) { return PolyconicGridAt(p, lat, lon); };
  return MeridianFactorsOf(grid_at, latitude, longitude, rho).convergence;
}

ProjectionStatus PolyconicForward(const CProjection& p, const GeogPoint& g,
                                  const GridOutputs& out) {
  const GridPair grid = PolyconicGrid(p, g);
  if (out.easting != nullptr) *out.easting = grid.x + p.m_FalseEasting;
  if (out.northing != nullptr) *out.northing = grid.y + p.m_FalseNorthing;
  const double dlon = g.longitude - p.m_CentralMeridian;
  if (out.scale != nullptr) {
    *out.scale = OnTheEquator(g.latitude) ? EquatorScale(*p.m_Spheroid, dlon)
                                          : ParallelScale(*p.m_Spheroid, g.sin_lat, g.cos_lat,
                                                          g.tan_lat, dlon * g.sin_lat);
  }
  if (out.convergence != nullptr) {
    *out.convergence = PolyconicConvergence(p, g.latitude, g.longitude, g.rho);
  }
  return ProjectionStatus::kOk;
}

ProjectionStatus PolyconicInverse(const CProjection& p, double easting, double northing,
                                  const GeogOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const double a = s.m_SemiMajorAxis;
  const double x = easting - p.m_FalseEasting;
  const double y = northing - p.m_FalseNorthing;
  if (y == -p.m_M0) {
    *out.latitude = 0.0;
    *out.longitude = x / a + p.m_CentralMeridian;
    if (out.scale != nullptr) *out.scale = EquatorScale(s, x / a);
    if (out.convergence != nullptr) {
      *out.convergence =
          PolyconicConvergence(p, 0.0, *out.longitude, s.m_SemiMajorAxis * s.m_OneMinusE2);
    }
    return ProjectionStatus::kOk;
  }
  const double a_term = (p.m_M0 + y) / a;
  const double b_term = x * x / (a * a) + a_term * a_term;
  double latitude = PolyconicLatitude(s, a_term, b_term);
  if (std::isnan(latitude)) return ProjectionStatus::kNoConvergence;
  // C at the settled latitude: the one of the last step is up to a step behind, which
  // is millimetres of longitude at a few hundred kilometres from the central meridian.
  const double sine_arc = ParallelTerm(s, latitude) * x / a;
  // Farther from the central meridian than the parallel's cone reaches.
  if (std::fabs(sine_arc) > 1.0) return ProjectionStatus::kOutsideDomain;
  double longitude = std::asin(sine_arc) / std::sin(latitude) + p.m_CentralMeridian;
  const auto grid_at = [&p](double lat, double lon) { return PolyconicGridAt(p, lat, lon); };
  if (!RefineInverse(grid_at, x, y, latitude, longitude)) return ProjectionStatus::kNoConvergence;
  *out.latitude = latitude;
  *out.longitude = longitude;
  const double sin_lat = std::sin(latitude);
  if (out.scale != nullptr) {
    *out.scale = ParallelScale(s, sin_lat, std::cos(latitude), std::tan(latitude),
                               (longitude - p.m_CentralMeridian) * sin_lat);
  }
  if (out.convergence != nullptr) {
    const double rho = CurvatureAt(s, sin_lat).rho;
    *out.convergence = PolyconicConvergence(p, latitude, longitude, rho);
  }
  return ProjectionStatus::kOk;
}

}  // namespace

const ProjectionMaths kPolyconicMaths = {
    .forward = PolyconicForward,
    .inverse = PolyconicInverse,
};

}  // namespace orvale::projection
