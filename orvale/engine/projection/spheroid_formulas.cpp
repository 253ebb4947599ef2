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
  // The equator: the iteration's quotient would be 0/0 once it got there, and run out
  // its rounds on NaN before giving up with the 0 that is the answer.
  if (meridian_distance == 0.0) return {0.0, 0.0, 1.0, true};
  double latitude = start;
  if (latitude == 0.0 || std::isnan(latitude) || std::fabs(latitude) > kHalfPi) latitude = 1.0;
  for (int round = 0; round < kIterationLimit; ++round) {
    const double sin_lat = std::sin(latitude);
    const double cos_lat = std::cos(latitude);
    const double next =
        latitude * meridian_distance / MeridianDistance(s, latitude, sin_lat, cos_lat);
    const double step = next - latitude;
    if (std::fabs(step) <= kIterationTolerance) {
      return {next, sin_lat + cos_lat * step, cos_lat - sin_lat * step};
    }
    latitude = next;
  }
  return {0.0, 0.0, 1.0, false};
}

double FootpointSeries(const CSpheroid& s, double rectifying_latitude) {
  const double mu = rectifying_latitude;
  return mu + FootpointSeriesShift(s, std::sin(mu), std::cos(mu));
}

LatitudeWithTrig LatitudeFromIsometric(const CSpheroid& s, double isometric_latitude) {
  double latitude = isometric_latitude;
  for (int round = 0; round < kIterationLimit; ++round) {
    const double difference = IsometricLatitudeOfSine(s, std::sin(latitude)) - isometric_latitude;
    latitude -= 0.5 * difference;
    if (std::fabs(difference) <= kIterationTolerance) return {latitude, 0.0, 1.0, true};
  }
  return {0.0, 0.0, 1.0, false};
}

}  // namespace orvale
