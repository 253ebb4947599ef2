#pragma once
// Quantities of a spheroid that every projection family uses. Latitudes in radians.

#include <cmath>
#include <initializer_list>
#include <limits>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

// Meridian distance from the equator, metres; exactly 0 at the equator.
//
// By the rectifying latitude's series in the third flattening n to n^6 (Helmert's
// expansion, as Karney 2011 carries it), exact to a few nanometres on any earthly
// spheroid. The printed series in e^2 stops at e^6 (the spheroid's A0..A6) and loses
// 0.11 mm at 38 degrees, 0.25 mm at 45 and 0.76 mm at 60, which every method built on
// the meridian arc (Cassini, polyconic, the origin's northing) carried into its grid.
double MeridianDistance(const CSpheroid& spheroid, double latitude);

// The third flattening n = f / (2 - f), from the spheroid's e^2.
inline double ThirdFlattening(const CSpheroid& s) {
  const double b_over_a = std::sqrt(1.0 - s.m_E2);
  return (1.0 - b_over_a) / (1.0 + b_over_a);
}

// The same, for a caller that already holds the sine and cosine of the latitude: the
// sines of 2j times the latitude come by Clenshaw's recurrence from sin 2 and cos 2.
inline double MeridianDistance(const CSpheroid& s, double latitude, double sin_lat,
                               double cos_lat) {
  const double n = ThirdFlattening(s), n2 = n * n, n3 = n2 * n;
  const double n4 = n2 * n2, n5 = n4 * n, n6 = n3 * n3;
  const double c1 = -1.5 * n + (9.0 / 16) * n3 - (3.0 / 32) * n5;
  const double c2 = (15.0 / 16) * n2 - (15.0 / 32) * n4 + (135.0 / 2048) * n6;
  const double c3 = -(35.0 / 48) * n3 + (105.0 / 256) * n5;
  const double c4 = (315.0 / 512) * n4 - (189.0 / 512) * n6;
  const double c5 = -(693.0 / 1280) * n5;
  const double c6 = (1001.0 / 2048) * n6;
  const double sin2 = 2.0 * sin_lat * cos_lat;
  const double x = 2.0 * (cos_lat - sin_lat) * (cos_lat + sin_lat);  // 2 cos 2(lat)
  const double b6 = c6, b5 = c5 + x * b6, b4 = c4 + x * b5 - b6;
  const double b3 = c3 + x * b4 - b5, b2 = c2 + x * b3 - b4, b1 = c1 + x * b2 - b3;
  const double rectifying_radius =
      s.m_SemiMajorAxis / (1.0 + n) * (1.0 + n2 / 4 + n4 / 64 + n6 / 256);
  const double arc = rectifying_radius * (latitude + b1 * sin2);
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

// Latitude whose meridian distance is `meridian_distance`, by Newton's method from
// `start` (1 radian when start is 0, NaN or beyond +-pi/2), with its sine and cosine
// (from those of the last round and its step, below 1e-14 rad there).
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
