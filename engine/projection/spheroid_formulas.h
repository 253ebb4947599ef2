#pragma once
// Quantities of a spheroid that every projection family uses. Latitudes in radians.

#include "orvale/engine/spheroid.h"

namespace orvale {

// Meridian distance from the equator, metres; exactly 0 at the equator.
double MeridianDistance(const CSpheroid& spheroid, double latitude);
// The same, for a caller that already holds the sine and cosine of the latitude.
double MeridianDistance(const CSpheroid& spheroid, double latitude, double sin_lat, double cos_lat);

// Isometric latitude: 1/2 ln((1 + sin)/(1 - sin)) - e/2 ln((1 + e sin)/(1 - e sin)).
double IsometricLatitude(const CSpheroid& spheroid, double latitude);

// Conformal factor t = tan(pi/4 - lat/2) ((1 + e sin)/(1 - e sin))^(e/2).
double ConformalFactor(const CSpheroid& spheroid, double latitude);

// m = cos(lat) / sqrt(1 - e^2 sin^2(lat)).
double ParallelFactor(const CSpheroid& spheroid, double latitude);

// Radii of curvature at a latitude: in the prime vertical (nu) and in the meridian
// (rho); both 0 when 1 - e^2 sin^2 is not positive.
struct Curvature {
  double nu = 0.0;
  double rho = 0.0;
};
Curvature CurvatureAt(const CSpheroid& spheroid, double sin_latitude);

// Latitude whose meridian distance is `meridian_distance`, iterated from `start`
// (1 radian when start is 0, NaN or beyond +-pi/2). 0 when 100 rounds do not settle.
double FootpointLatitude(const CSpheroid& spheroid, double start, double meridian_distance);

// The same iteration, also giving the sine and cosine of the latitude it returns
// (taken from those of its last round, which differs by at most 0.001 second of
// arc: a first-order step is exact to the last bit there).
struct LatitudeWithTrig {
  double latitude = 0.0;
  double sin_lat = 0.0;
  double cos_lat = 1.0;
};
LatitudeWithTrig FootpointLatitudeWithTrig(const CSpheroid& spheroid, double start,
                                           double meridian_distance);

// Latitude of an isometric latitude; 0 when 100 rounds do not settle.
double LatitudeFromIsometric(const CSpheroid& spheroid, double isometric_latitude);

}  // namespace orvale
