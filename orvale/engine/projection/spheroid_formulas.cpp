#include "orvale/engine/projection/internal/spheroid_formulas.h"
#include "orvale/engine/angles/angles.h"

#include <cmath>
#include <numbers>

#include "orvale/engine/projection/projection.h"

namespace orvale {

double MeridianDistance(const CSpheroid& s, double latitude) {
  if (latitude == 0.0) return 0.0;
  return MeridianDistance(s, latitude, std::sin(latitude), std::cos(latitude));
}

double IsometricLatitude(const CSpheroid& s, double latitude) {
  const double sin_lat = std::sin(latitude);
  const double e_sin = s.m_E * sin_lat;
  return 0.5 * std::log((1.0 + sin_lat) / (1.0 - sin_lat)) -
         s.m_HalfE * std::log((1.0 + e_sin) / (1.0 - e_sin));
}

double IsometricLatitudeOfSine(const CSpheroid& s, double sin_lat) {
  const double e_sin = s.m_E * sin_lat;
  const double spherical = 0.5 * std::log((1.0 + sin_lat) / (1.0 - sin_lat));
  if (!(s.m_E <= kSeriesEccentricity)) {
    return spherical - s.m_HalfE * std::log((1.0 + e_sin) / (1.0 - e_sin));
  }
  return spherical - s.m_E * e_sin * AtanhOverArgument(e_sin * e_sin);
}

double ConformalFactor(const CSpheroid& s, double latitude) {
  const double e_sin = s.m_E * std::sin(latitude);
  return std::tan((std::numbers::pi / 4) - 0.5 * latitude) *
         std::pow((1.0 + e_sin) / (1.0 - e_sin), s.m_HalfE);
}

double ConformalFactor(const CSpheroid& s, double latitude, double sin_lat, double cos_lat) {
  if (!(s.m_E <= kSeriesEccentricity)) return ConformalFactor(s, latitude);
  // tan(pi/4 - lat/2) = cos / (1 + sin) = (1 - sin) / cos: each form where it does not
  // subtract nearly equal numbers.
  const double tangent = sin_lat >= 0.0 ? cos_lat / (1.0 + sin_lat) : (1.0 - sin_lat) / cos_lat;
  return tangent * EccentricityPower(s.m_E, -s.m_E * sin_lat);
}

double ParallelFactor(const CSpheroid& s, double latitude) {
  const double sin_lat = std::sin(latitude);
  return std::cos(latitude) / std::sqrt(1.0 - s.m_E2 * sin_lat * sin_lat);
}

LatitudeWithTrig FootpointLatitude(const CSpheroid& s, double start, double meridian_distance) {
  // The equator: nothing to iterate.
  if (meridian_distance == 0.0) return {0.0, 0.0, 1.0, true};
  double latitude = start;
  if (latitude == 0.0 || std::isnan(latitude) || std::fabs(latitude) > kHalfPi) latitude = 1.0;
  // Newton's method: the meridian distance's derivative is the meridian radius rho. The
  // printed iteration scaled the latitude by the ratio of distances, which settles only
  // linearly and stopped at a step of 0.001", leaving up to a few millimetres.
  for (int round = 0; round < kIterationLimit; ++round) {
    const double sin_lat = std::sin(latitude);
    const double cos_lat = std::cos(latitude);
    const double w2 = 1.0 - s.m_E2 * sin_lat * sin_lat;
    const double rho = s.m_SemiMajorAxis * (1.0 - s.m_E2) / (w2 * std::sqrt(w2));
    const double step = (meridian_distance - MeridianDistance(s, latitude, sin_lat, cos_lat)) / rho;
    if (!std::isfinite(step)) break;
    if (std::fabs(step) <= 1e-14) {
      return {latitude + step, sin_lat + cos_lat * step, cos_lat - sin_lat * step};
    }
    latitude += step;
  }
  return {0.0, 0.0, 1.0, false};
}

double FootpointSeries(const CSpheroid& s, double rectifying_latitude) {
  const double mu = rectifying_latitude;
  return mu + FootpointSeriesShift(s, std::sin(mu), std::cos(mu));
}

double IsometricLatitudeOfTrig(const CSpheroid& s, double sin_lat, double cos_lat) {
  return std::asinh(sin_lat / cos_lat) - s.m_E * std::atanh(s.m_E * sin_lat);
}

namespace {

// The conformal tangent of a latitude with tangent `tan_lat` and secant `sec_lat`.
double ConformalTangentOf(const CSpheroid& s, double tan_lat, double sec_lat) {
  const double sigma = std::sinh(s.m_E * std::atanh(s.m_E * tan_lat / sec_lat));
  return tan_lat * std::sqrt(1.0 + sigma * sigma) - sigma * sec_lat;
}

}  // namespace

double ConformalTangent(const CSpheroid& s, double tan_lat) {
  return ConformalTangentOf(s, tan_lat, std::hypot(1.0, tan_lat));
}

// The printed iteration moves the latitude by half the isometric residual each round
// and stops once that residual is 0.001": it converges only linearly, leaves up to
// half of the 0.001" behind (16 mm), and above about 72 degrees (where the isometric
// latitude grows faster than twice the latitude) it does not converge at all. This is
// Newton's method on the tangent of the latitude (Karney 2011, eqs. 7 to 9), whose
// derivative is known in closed form: from tan = conformal tangent / (1 - e^2) it
// settles to the last bit in two or three rounds at any latitude, poles included.
LatitudeWithTrig LatitudeFromConformalTangent(const CSpheroid& s, double conformal_tangent) {
  // Beyond this tangent the latitude is the pole to the last bit, and the squares
  // below would overflow.
  constexpr double kPoleTangent = 1e150;
  // A change of the tangent below this share of 1 + tan^2 moves the latitude by less
  // than 1e-14 rad.
  constexpr double kTangentTolerance = 1e-14;
  if (std::isnan(conformal_tangent)) return {0.0, 0.0, 1.0, false};
  if (std::fabs(conformal_tangent) > kPoleTangent) {
    const double sign = std::copysign(1.0, conformal_tangent);
    return {sign * kHalfPi, sign, 0.0, true};
  }
  const double one_minus_e2 = s.m_OneMinusE2;
  double tan_lat = conformal_tangent / one_minus_e2;
  // The tangents stay below 1e151 here, so their squares do not overflow.
  for (int round = 0; round < kIterationLimit; ++round) {
    const double sec_lat = std::sqrt(1.0 + tan_lat * tan_lat);
    const double tangent_now = ConformalTangentOf(s, tan_lat, sec_lat);
    const double residual = tangent_now - conformal_tangent;
    const double slope = one_minus_e2 * std::sqrt(1.0 + tangent_now * tangent_now) * sec_lat /
                         (1.0 + one_minus_e2 * tan_lat * tan_lat);
    const double step = residual / slope;
    tan_lat -= step;
    if (std::fabs(step) <= kTangentTolerance * (1.0 + tan_lat * tan_lat)) {
      const double cos_lat = 1.0 / std::sqrt(1.0 + tan_lat * tan_lat);
      return {std::atan(tan_lat), tan_lat * cos_lat, cos_lat, true};
    }
  }
  return {0.0, 0.0, 1.0, false};
}

LatitudeWithTrig LatitudeFromIsometric(const CSpheroid& s, double isometric_latitude) {
  return LatitudeFromConformalTangent(s, std::sinh(isometric_latitude));
}

}  // namespace orvale
