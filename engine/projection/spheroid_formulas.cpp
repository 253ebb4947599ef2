#include "orvale/engine/projection/spheroid_formulas.h"

#include <cmath>

#include "orvale/engine/projection/projection.h"

namespace orvale {

double MeridianDistance(const CSpheroid& s, double latitude) {
  if (latitude == 0.0) return 0.0;
  return s.m_SemiMajorAxis * (s.m_A0 * latitude - s.m_A2 * std::sin(2.0 * latitude) +
                              s.m_A4 * std::sin(4.0 * latitude) - s.m_A6 * std::sin(6.0 * latitude));
}

double IsometricLatitude(const CSpheroid& s, double latitude) {
  const double sin_lat = std::sin(latitude);
  const double e_sin = s.m_E * sin_lat;
  return 0.5 * std::log((1.0 + sin_lat) / (1.0 - sin_lat)) -
         s.m_HalfE * std::log((1.0 + e_sin) / (1.0 - e_sin));
}

double ConformalFactor(const CSpheroid& s, double latitude) {
  const double e_sin = s.m_E * std::sin(latitude);
  return std::tan(M_PI_4 - 0.5 * latitude) * std::pow((1.0 + e_sin) / (1.0 - e_sin), s.m_HalfE);
}

double ParallelFactor(const CSpheroid& s, double latitude) {
  const double sin_lat = std::sin(latitude);
  return std::cos(latitude) / std::sqrt(1.0 - s.m_E2 * sin_lat * sin_lat);
}

Curvature CurvatureAt(const CSpheroid& s, double sin_latitude) {
  const double radicand = 1.0 - s.m_E2 * sin_latitude * sin_latitude;
  if (radicand <= 0.0) return {};
  const double a = s.m_SemiMajorAxis;
  return {a / std::sqrt(radicand), a * s.m_OneMinusE2 / std::pow(radicand, 1.5)};
}

double FootpointLatitude(const CSpheroid& s, double start, double meridian_distance) {
  double latitude = start;
  if (latitude == 0.0 || std::isnan(latitude) || std::fabs(latitude) > M_PI_2) latitude = 1.0;
  for (int round = 0; round < kIterationLimit; ++round) {
    const double next = latitude * meridian_distance / MeridianDistance(s, latitude);
    if (std::fabs(next - latitude) <= kIterationTolerance) return next;
    latitude = next;
  }
  return 0.0;
}

double LatitudeFromIsometric(const CSpheroid& s, double isometric_latitude) {
  double latitude = isometric_latitude;
  for (int round = 0; round < kIterationLimit; ++round) {
    const double difference = IsometricLatitude(s, latitude) - isometric_latitude;
    latitude -= 0.5 * difference;
    if (std::fabs(difference) <= kIterationTolerance) return latitude;
  }
  return 0.0;
}

}  // namespace orvale
