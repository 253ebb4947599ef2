#include <cmath>
#include <numbers>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/survey/internal/printed_rhumb.h"

namespace orvale {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Minutes of arc per radian, as the meridional parts are counted.
constexpr double kMinutesPerRadian = 3437.7467707849396;
constexpr double kMinutesPerRadianDlon = 3437.746770786;
// Below this difference of latitude (radians, about 64 km) the meridian arc is taken
// by quadrature, not by subtracting nearly equal numbers.
constexpr double kQuadratureSpan = 0.01;

// Meridional parts (minutes of arc), as printed.
double MeridionalParts(const CSpheroid& s, double lat) {
  const double sin_lat = std::sin(lat);
  const double e2 = s.m_E2, e4 = e2 * e2, e6 = e4 * e2;
  const double s3 = sin_lat * sin_lat * sin_lat, s5 = s3 * sin_lat * sin_lat;
  return (std::log(std::tan(kPi / 4 + lat / 2)) - e2 * sin_lat - e4 * s3 / 3 - e6 * s5 / 5) *
         kMinutesPerRadian;
}

// Meridian arc by the spheroid's A0..A6, as printed.
double PrintedMeridianArc(const CSpheroid& s, double lat) {
  if (lat == 0.0) return 0.0;
  return s.m_SemiMajorAxis * (s.m_A0 * lat - s.m_A2 * std::sin(2.0 * lat) +
                              s.m_A4 * std::sin(4.0 * lat) - s.m_A6 * std::sin(6.0 * lat));
}

double Turn(double bearing) {
  return bearing < 0.0 ? bearing + kTwoPi : bearing;
}

}  // namespace

void PrintedRhumbLine(const CSpheroid& s, double* range, double* bearing, double lon_a,
                      double lat_b, double lon_b, double /*sin_lat_a*/, double cos_lat_a,
                      double nu_a, double lat_a) {
  if (lat_a == lat_b && lon_a == lon_b) {
    *range = *bearing = 0.0;
    return;
  }
  const double dlon = std::remainder(lon_b - lon_a, kTwoPi);
  if (lat_a == lat_b) {
    *bearing = dlon >= 0.0 ? kHalfPi : 3.0 * kHalfPi;
    *range = std::fabs(dlon) * cos_lat_a * nu_a;
    return;
  }
  const double east = dlon * kMinutesPerRadianDlon;
  *bearing = Turn(std::atan2(east, MeridionalParts(s, lat_b) - MeridionalParts(s, lat_a)));
  const double arc = std::fabs(PrintedMeridianArc(s, lat_b) - PrintedMeridianArc(s, lat_a));
  *range = east == 0.0 ? arc : arc / std::fabs(std::cos(*bearing));
}

// The rhumb line with the isometric latitude in closed form and the meridian arc by
// the rectifying latitude's series in n (exact to nanometres), and the length as
// hypot(dM, dlon dM/dpsi) rather than dM / cos(bearing). The printed form divides a
// nearly vanishing arc by a nearly vanishing cosine on lines that run nearly east-west
// and so loses up to decimetres there (and its A0..A6 arc up to 0.8 mm per pole-ward
// degree); dM/dpsi, the mean of nu cos(latitude) along the line, stays well-conditioned,
// the difference of isometric latitudes comes in closed form, and for short spans of
// latitude the arc by a four-point Gauss-Legendre quadrature of rho, exact to the last
// bits there.
bool CSpheroid::RhumbLine(double* range, double* bearing, double lon_a, double lat_b, double lon_b,
                          double sin_lat_a, double cos_lat_a, double nu_a, double lat_a) const {
  if (!std::isfinite(lat_a) || !std::isfinite(lon_a) || !std::isfinite(lat_b) ||
      !std::isfinite(lon_b) || std::fabs(lat_a) > kHalfPi || std::fabs(lat_b) > kHalfPi) {
    *range = *bearing = std::nan("");
    return false;
  }
  if (lat_a == lat_b && lon_a == lon_b) {
    *range = *bearing = 0.0;
    return true;
  }
  const double dlon = std::remainder(lon_b - lon_a, kTwoPi);
  if (lat_a == lat_b) {
    *bearing = dlon >= 0.0 ? kHalfPi : 3.0 * kHalfPi;
    *range = std::fabs(dlon) * cos_lat_a * nu_a;
    return true;
  }
  const double dlat = lat_b - lat_a;
  if (std::fabs(lat_a) == kHalfPi || std::fabs(lat_b) == kHalfPi) {
    // From or to a pole, where every bearing but due east or west arrives: the
    // meridian, the one line that has a bearing there.
    *bearing = dlat > 0.0 ? 0.0 : kPi;
    *range = std::fabs(MeridianDistance(*this, lat_b) - MeridianDistance(*this, lat_a));
    return true;
  }
  const double sin_b = std::sin(lat_b), cos_b = std::cos(lat_b);
  // The difference of the isometric latitudes asinh(tan) - e atanh(e sin) in closed
  // form, from sin b - sin a = 2 cos(mean) sin(half the difference): no subtraction of
  // nearly equal numbers, however short the span.
  const double dsin = 2.0 * std::cos(0.5 * (lat_a + lat_b)) * std::sin(0.5 * dlat);
  const double dpsi = std::asinh(dsin / (cos_lat_a * cos_b)) -
                      m_E * std::atanh(m_E * dsin / (1.0 - m_E2 * sin_lat_a * sin_b));
  double darc;
  if (std::fabs(dlat) < kQuadratureSpan) {
    // rho is smooth at every latitude, poles included.
    constexpr double kNodes[2] = {0.33998104358485626, 0.86113631159405258};
    constexpr double kWeights[2] = {0.65214515486254614, 0.34785484513745386};
    const double mid = 0.5 * (lat_a + lat_b), half = 0.5 * dlat;
    double rho_sum = 0.0;
    for (int i = 0; i < 2; ++i) {
      for (const double side : {-1.0, 1.0}) {
        const double sin_lat = std::sin(mid + side * kNodes[i] * half);
        const double w = 1.0 - m_E2 * sin_lat * sin_lat;
        rho_sum += kWeights[i] * m_SemiMajorAxis * m_OneMinusE2 / (w * std::sqrt(w));
      }
    }
    darc = half * rho_sum;
  } else {
    darc = MeridianDistance(*this, lat_b, sin_b, cos_b) -
           MeridianDistance(*this, lat_a, sin_lat_a, cos_lat_a);
  }
  *bearing = Turn(std::atan2(dlon, dpsi));
  const double east = dlon * (darc / dpsi);
  *range = std::sqrt(darc * darc + east * east);
  return true;
}

}  // namespace orvale
