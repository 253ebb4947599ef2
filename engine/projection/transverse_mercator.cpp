// Transverse Mercator by Redfearn's series: types 0-4 and state plane method 0, and
// the projection underneath the Norwegian and Danish national grids. The forward
// series runs to the 4th power of the longitude difference in northing and the 5th in
// easting; the inverse to the same order in the footpoint's distance from the central
// meridian. Both are good to a millimetre within 2 degrees of the central meridian
// and degrade beyond that, to about 4 mm at 3 degrees and 3 dm at 6.
#include <cmath>

#include "orvale/engine/projection/projection_methods.h"
#include "orvale/engine/projection/spheroid_formulas.h"

namespace orvale::projection {
namespace {

constexpr double kTwoPi = 2.0 * M_PI;
constexpr double kThird = 1.0 / 3.0;  // a product, not a quotient, in the per-point series

// Only this family wraps the longitude difference: a zone reaches across the
// antimeridian (UTM zones 1 and 60), while for the other families a difference beyond
// half a turn is a position outside the projection.
double WrapLongitude(double longitude) {
  if (longitude > M_PI) return longitude - kTwoPi;
  if (longitude < -M_PI) return longitude + kTwoPi;
  return longitude;
}

// The footpoint (the latitude on the central meridian with the point's meridian
// distance) and the curvature terms the inverse series are written in.
struct Footpoint {
  double latitude = 0.0;
  double tan_lat = 0.0;
  double secant = 1.0;   // 1 / cos
  double psi = 0.0;      // nu / rho at the footpoint
  double x_ratio = 0.0;  // x / (nu k0): the distance from the central meridian in radians
};

Footpoint EquatorFootpoint(const CSpheroid& s, double x, double k0) {
  const double a = s.m_SemiMajorAxis;
  Footpoint f;
  f.psi = a / (a * s.m_OneMinusE2);
  f.x_ratio = x / (a * k0);
  return f;
}

// Written with products where the quotients would cost the most (this runs once per
// point): nu / rho is (1 - e^2 sin^2) / (1 - e^2), and x / nu is x sqrt(1 - e^2 sin^2) / a.
Footpoint FootpointOf(const CSpheroid& s, double start, double meridian_distance, double x,
                      double inverse_a_k0) {
  Footpoint f;
  const LatitudeWithTrig footpoint = FootpointLatitudeWithTrig(s, start, meridian_distance);
  f.latitude = footpoint.latitude;
  const double sin_lat = footpoint.sin_lat;
  f.secant = 1.0 / footpoint.cos_lat;
  f.tan_lat = sin_lat * f.secant;
  const double radicand = 1.0 - s.m_E2 * sin_lat * sin_lat;
  f.psi = radicand * s.m_OnePlusEp2;
  f.x_ratio = x * std::sqrt(radicand) * inverse_a_k0;
  return f;
}

double InverseLatitude(const Footpoint& f) {
  const double t2 = f.tan_lat * f.tan_lat;
  const double psi = f.psi;
  const double x2 = f.x_ratio * f.x_ratio;
  const double q = x2 * kThird;
  return f.latitude -
         psi * f.tan_lat * (x2 / 2.0) *
             (1.0 - (q / 4.0) * (9.0 * psi * (1.0 - t2) - 4.0 * psi * psi + 12.0 * t2));
}

double InverseLongitude(const Footpoint& f, double central_meridian) {
  const double t2 = f.tan_lat * f.tan_lat;
  const double psi = f.psi;
  const double x2 = f.x_ratio * f.x_ratio;
  const double q = x2 * kThird;
  const double series =
      1.0 - (q / 2.0) * (2.0 * t2 + psi) +
      0.025 * q * x2 *
          ((9.0 - 68.0 * t2) * psi * psi - 4.0 * psi * psi * psi * (1.0 - 6.0 * t2) +
           24.0 * t2 * (3.0 * psi + t2));
  return WrapLongitude(central_meridian + (f.x_ratio * f.secant) * series);
}

// The third-order term is (3 psi' t'^2 - 2 psi'^2), the form this library has always
// used; the expansion of the forward series has (3 psi' + t'^2 - 2 psi'^2) there. The
// two part by some 1e-5 rad at the edge of a UTM zone: the tests measure it.
double InverseConvergence(const Footpoint& f) {
  const double t2 = f.tan_lat * f.tan_lat;
  const double psi = f.psi;
  const double psi2 = psi * psi;
  const double x2 = f.x_ratio * f.x_ratio;
  const double q = x2 * kThird;
  return f.x_ratio * f.tan_lat *
         (1.0 - (3.0 * psi * t2 - 2.0 * psi2) * q +
          0.2 * q * x2 *
              (psi2 * psi2 * (11.0 - 24.0 * t2) - 3.0 * psi2 * psi * (8.0 - 23.0 * t2) +
               5.0 * psi2 * (3.0 - 14.0 * t2) + 30.0 * psi * t2 + 3.0 * t2 * t2));
}

double InverseScale(const Footpoint& f, double k0) {
  const double t2 = f.tan_lat * f.tan_lat;
  const double psi = f.psi;
  const double x2 = f.x_ratio * f.x_ratio;
  return k0 * (1.0 + x2 * psi / 2.0 +
               (x2 * x2 * psi * psi / 24.0) *
                   (4.0 * psi * (1.0 - 6.0 * t2) - 3.0 * (1.0 - 16.0 * t2) - 24.0 * t2 / psi));
}

}  // namespace

void TransverseMercatorForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const double k0 = p.m_ScaleFactor;
  const double omega = WrapLongitude(g.longitude - p.m_CentralMeridian);
  const double t2 = g.tan_lat * g.tan_lat;
  const double psi = g.nu / g.rho;
  const double psi2 = psi * psi;
  const double q = omega * omega * g.cos_lat * g.cos_lat * kThird;
  const double q2 = q * q;
  const double departure = omega * g.nu * g.cos_lat;
  // The south-orientated grid counts westwards and southwards from its false origin.
  const double orientation = p.m_Type == PROJECTION_TM_SOUTH_ORIENTATED ? -1.0 : 1.0;

  if (out.northing != nullptr) {
    const double arc = MeridianDistance(s, g.latitude, g.sin_lat, g.cos_lat) - p.m_M0;
    const double northing =
        k0 * (arc + departure * (omega * g.sin_lat) * (0.5 + (q / 8.0) * (4.0 * psi2 + psi - t2))) +
        p.m_FalseNorthing;
    *out.northing = orientation * northing;
  }
  if (out.easting != nullptr) {
    const double easting =
        k0 * departure *
            (1.0 + (q / 2.0) * (psi - t2) +
             (0.075 * q2) *
                 (psi2 * (4.0 * psi * (1.0 - 6.0 * t2) + 1.0 + 8.0 * t2) - (2.0 * psi - t2) * t2)) +
        p.m_FalseEasting;
    *out.easting = orientation * easting;
  }
  if (out.convergence != nullptr) {
    *out.convergence = (omega * g.sin_lat) *
                       (1.0 + q * (2.0 * psi2 - psi) +
                        0.6 * q2 *
                            (psi2 * psi2 * (11.0 - 24.0 * t2) - psi2 * psi * (11.0 - 36.0 * t2) +
                             2.0 * psi2 * (1.0 - 7.0 * t2) + psi * t2));
  }
  if (out.scale != nullptr) {
    *out.scale =
        k0 *
        (1.0 + 1.5 * q * psi +
         0.375 * q2 *
             (4.0 * psi2 * psi * (1.0 - 6.0 * t2) + psi2 * (1.0 + 24.0 * t2) - 4.0 * psi * t2));
  }
}

void TransverseMercatorInverse(const CProjection& p, double easting, double northing,
                               const GeogOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const double k0 = p.m_ScaleFactor;
  // The forward negated the false origin with the rest, so undo the negation before
  // taking the false origin off.
  if (p.m_Type == PROJECTION_TM_SOUTH_ORIENTATED) {
    easting = -easting;
    northing = -northing;
  }
  const double x = easting - p.m_FalseEasting;
  const double y = northing - p.m_FalseNorthing;
  // One quotient serves both distances: y / k0 here and x / (a k0) at the footpoint.
  const double inverse_a_k0 = 1.0 / (s.m_SemiMajorAxis * k0);
  const double meridian_distance = y * s.m_SemiMajorAxis * inverse_a_k0 + p.m_M0;

  Footpoint footpoint;
  if (meridian_distance == 0.0 && p.m_FalseNorthing == 0.0) {
    footpoint = EquatorFootpoint(s, x, k0);
  } else {
    // A caller converting a run of nearby points passes the previous latitude in.
    const double start = out.latitude != nullptr ? *out.latitude : 0.0;
    footpoint = FootpointOf(s, start, meridian_distance, x, inverse_a_k0);
  }
  if (out.latitude != nullptr) *out.latitude = InverseLatitude(footpoint);
  if (out.longitude != nullptr) *out.longitude = InverseLongitude(footpoint, p.m_CentralMeridian);
  if (out.convergence != nullptr) *out.convergence = InverseConvergence(footpoint);
  if (out.scale != nullptr) *out.scale = InverseScale(footpoint, k0);
}

}  // namespace orvale::projection
