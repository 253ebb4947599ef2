#pragma once
// Quantities of a spheroid that every projection family uses. Latitudes in radians.

#include <cmath>
#include <initializer_list>
#include <limits>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

// Meridian distance from the equator, metres; exactly 0 at the equator.
double MeridianDistance(const CSpheroid& spheroid, double latitude);
// The same, for a caller that already holds the sine and cosine of the latitude.
// Inline and branch-free, so that loops over many points run as vector code.
inline double MeridianDistance(const CSpheroid& s, double latitude, double sin_lat,
                               double cos_lat) {
  // sin 2φ, sin 4φ and sin 6φ by the double- and sum-angle identities: the same values
  // to the last bit or two, for one sine and cosine instead of three sines.
  const double sin2 = 2.0 * sin_lat * cos_lat;
  const double cos2 = (cos_lat - sin_lat) * (cos_lat + sin_lat);
  const double sin4 = 2.0 * sin2 * cos2;
  const double cos4 = (cos2 - sin2) * (cos2 + sin2);
  const double sin6 = sin4 * cos2 + cos4 * sin2;
  const double arc =
      s.m_SemiMajorAxis * (s.m_A0 * latitude - s.m_A2 * sin2 + s.m_A4 * sin4 - s.m_A6 * sin6);
  return latitude == 0.0 ? 0.0 : arc;
}

// Isometric latitude: 1/2 ln((1 + sin)/(1 - sin)) - e/2 ln((1 + e sin)/(1 - e sin)).
double IsometricLatitude(const CSpheroid& spheroid, double latitude);
// The same from the sine of the latitude, with the second term, e atanh(e sin), by
// its series on earthly spheroids (e <= kSeriesEccentricity): one logarithm and one
// quotient instead of two of each. Agrees with the logarithms to a few units in the
// last place.
double IsometricLatitudeOfSine(const CSpheroid& spheroid, double sin_lat);

// Conformal factor t = tan(pi/4 - lat/2) ((1 + e sin)/(1 - e sin))^(e/2).
double ConformalFactor(const CSpheroid& spheroid, double latitude);
// The same from the latitude's sine and cosine, without calls into the mathematics
// library on earthly spheroids (e <= kSeriesEccentricity): the tangent by the
// half-angle identities and the power by EccentricityPower. Agrees with the other
// form to a few units in the last place.
double ConformalFactor(const CSpheroid& spheroid, double latitude, double sin_lat, double cos_lat);

// Up to this eccentricity EccentricityPower's series are exact to the last bit.
inline constexpr double kSeriesEccentricity = 0.1;

// atanh(x) / x = 1 + z/3 + z^2/5 + ... + z^7/15 for z = x^2 <= kSeriesEccentricity^2:
// the terms left out are below 1e-17 of the sum. The polynomial goes by pairs of terms
// (Estrin's scheme) rather than one term at a time, which keeps the chain of
// dependent operations short.
inline double AtanhOverArgument(double z) {
  const double z2 = z * z, z4 = z2 * z2;
  const double low = (1.0 + z * (1.0 / 3)) + z2 * ((1.0 / 5) + z * (1.0 / 7));
  const double high = ((1.0 / 9) + z * (1.0 / 11)) + z2 * ((1.0 / 13) + z * (1.0 / 15));
  return low + z4 * high;
}

// ((1 - x) / (1 + x))^(e/2) for |x| <= e <= kSeriesEccentricity (x is e sin(latitude)
// or its negative), as exp(-e atanh x) by the series of both: the terms left out are
// below 1e-17 of the result.
inline double EccentricityPower(double e, double x) {
  const double y = -e * x * AtanhOverArgument(x * x);  // |y| <= 0.01
  // exp y = 1 + y + y^2/2 + ... + y^7/5040, by pairs of terms as above.
  const double y2 = y * y, y4 = y2 * y2;
  const double low = (1.0 + y) + y2 * ((1.0 / 2) + y * (1.0 / 6));
  const double high = ((1.0 / 24) + y * (1.0 / 120)) + y2 * ((1.0 / 720) + y * (1.0 / 5040));
  return low + y4 * high;
}

// m = cos(lat) / sqrt(1 - e^2 sin^2(lat)).
double ParallelFactor(const CSpheroid& spheroid, double latitude);

// Radii of curvature at a latitude: in the prime vertical (nu) and in the meridian
// (rho); both 0 when 1 - e^2 sin^2 is not positive.
struct Curvature {
  double nu = 0.0;
  double rho = 0.0;
};
// Inline and branch-free, so that loops over many points run as vector code.
inline Curvature CurvatureAt(const CSpheroid& s, double sin_latitude) {
  const double radicand = 1.0 - s.m_E2 * sin_latitude * sin_latitude;
  const double inverse_root = 1.0 / std::sqrt(radicand);
  const double nu = s.m_SemiMajorAxis * inverse_root;
  const double rho = nu * s.m_OneMinusE2 * inverse_root * inverse_root;
  const bool real = radicand > 0.0;
  return {real ? nu : 0.0, real ? rho : 0.0};
}

// A latitude found by iteration, with the sine and cosine of it where the iteration
// gives them. When the iteration did not settle within its bound of rounds,
// `converged` is false and the latitude is the 0 that stands in for a result.
struct LatitudeWithTrig {
  double latitude = 0.0;
  double sin_lat = 0.0;
  double cos_lat = 1.0;
  bool converged = true;
};

// Latitude whose meridian distance is `meridian_distance`, iterated from `start`
// (1 radian when start is 0, NaN or beyond +-pi/2), with its sine and cosine (taken
// from those of the last round, which differs by at most 0.001 second of arc: a
// first-order step is exact to the last bit there).
LatitudeWithTrig FootpointLatitude(const CSpheroid& spheroid, double start,
                                   double meridian_distance);
// The footpoint series' shift from the rectifying latitude mu to the footpoint
// latitude, from sin mu and cos mu.
inline double FootpointSeriesShift(const CSpheroid& s, double sin_mu, double cos_mu) {
  const double sin2 = 2.0 * sin_mu * cos_mu, cos2 = (cos_mu - sin_mu) * (cos_mu + sin_mu);
  const double sin4 = 2.0 * sin2 * cos2, cos4 = (cos2 - sin2) * (cos2 + sin2);
  const double sin6 = sin4 * cos2 + cos4 * sin2, sin8 = 2.0 * sin4 * cos4;
  return s.m_Foot2 * sin2 + s.m_Foot4 * sin4 + s.m_Foot6 * sin6 + s.m_Foot8 * sin8;
}

// The footpoint latitude by the series in the rectifying latitude (meridian distance
// over a A0): within about 1e-10 radian of the iterated footpoint on earthly
// spheroids, so the iteration started there settles in a round.
double FootpointSeries(const CSpheroid& spheroid, double rectifying_latitude);

// Isometric latitude from the sine and cosine of the latitude, as
// asinh(tan) - e atanh(e sin): the logarithm of (1 + sin)/(1 - sin) loses all its
// digits near the poles (1 - sin cancels), this form none right up to them.
double IsometricLatitudeOfTrig(const CSpheroid& spheroid, double sin_lat, double cos_lat);

// The tangent of the conformal latitude, sinh of the isometric latitude, from the
// tangent of the latitude (Karney 2011, eq. 7).
double ConformalTangent(const CSpheroid& spheroid, double tan_lat);

// Latitude whose conformal latitude has the tangent `conformal_tangent` (sinh of the
// isometric latitude), with its sine and cosine; an infinite tangent is a pole.
LatitudeWithTrig LatitudeFromConformalTangent(const CSpheroid& spheroid, double conformal_tangent);

// A latitude this close to a pole (radians) is the pole: 6 micrometres on the ground,
// and 90 degrees converted by the truncated degree factor lands 2.7e-14 rad short of
// it. Projections that send a pole to infinity refuse such latitudes.
inline constexpr double kPoleTolerance = 1e-12;
inline bool IsAtPole(double latitude) {
  return kHalfPi - std::fabs(latitude) < kPoleTolerance;
}

// Writes "no value" (a quiet NaN) to each given output: for a point without a result,
// and for a convergence or scale a method cannot give.
inline void WriteNoValue(std::initializer_list<double*> outputs) {
  for (double* output : outputs)
    if (output != nullptr) *output = std::numeric_limits<double>::quiet_NaN();
}

// Latitude of an isometric latitude, with its sine and cosine.
LatitudeWithTrig LatitudeFromIsometric(const CSpheroid& spheroid, double isometric_latitude);

}  // namespace orvale
