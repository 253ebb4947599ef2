#pragma once
// Geographical positions (latitude, longitude, height above the spheroid) to
// earth-centred cartesian X, Y, Z on a spheroid and back: the step every parameter
// shift passes through. Angles in radians, lengths in metres.

#include <span>

#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

// The radius of curvature in the prime vertical, a / sqrt(1 - e² sin² latitude); 0
// where the radicand or its root is not positive.
double PrimeVerticalRadius(const CSpheroid& spheroid, double latitude);

// X = (nu + h) cos lat cos lon, Y = (nu + h) cos lat sin lon, Z = (nu (1 - e²) + h) sin lat.
// A spheroid whose e² is not above 0 (a sphere, an unset record) gives 0, 0, 0.
void GeogToCartesian(const CSpheroid& spheroid, double latitude, double longitude, double height,
                     double& x, double& y, double& z);

// X, Y, Z to latitude, longitude (-pi, pi], and height, exact to well under 0.1 mm
// from below the ground to beyond geostationary height, at the poles included. The
// incoming latitude is only overwritten: the result does not depend on it.
//   - e² not above 0: false, and the three outputs are left as they were.
//   - X exactly 0: the longitude is pi/2 when Y > 0, otherwise 3pi/2 (not -pi/2, the
//     one longitude outside (-pi, pi]).
//   - On the polar axis (X = Y = 0): false, with the latitude of the pole on Z's side
//     and the height above it; the centre itself (Z = 0 too) gives latitude 0 and
//     height -a, the point GeogToCartesian gives for them.
// True otherwise. Input that is not a finite number, or so large that the position is
// not one, gives false (the outputs NaN or meaningless), never a hang: every loop is
// bounded.
[[nodiscard]] bool CartesianToGeog(const CSpheroid& spheroid, double x, double y, double z,
                                   double& latitude, double& longitude, double& height);

// GeogToCartesian over a run of points, as many as the shortest span holds. The
// outputs may be the inputs themselves (conversion in place). Allocates nothing.
void GeogToCartesianMany(const CSpheroid& spheroid, std::span<const double> latitudes,
                         std::span<const double> longitudes, std::span<const double> heights,
                         std::span<double> xs, std::span<double> ys, std::span<double> zs);

// CartesianToGeog over a run of points, as many as the shortest span holds; a sphere
// leaves every output as it was. The outputs may be the inputs themselves.
// Allocates nothing.
void CartesianToGeogMany(const CSpheroid& spheroid, std::span<const double> xs,
                         std::span<const double> ys, std::span<const double> zs,
                         std::span<double> latitudes, std::span<double> longitudes,
                         std::span<double> heights);

}  // namespace orvale
