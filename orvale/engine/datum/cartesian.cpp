#include "orvale/engine/datum/cartesian.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "orvale/engine/angles/angles.h"

namespace orvale {
namespace {

constexpr double kThreeHalfPi = 4.71238898038469;  // X = 0, Y <= 0: not reduced to -pi/2

// The foot-point iteration below converges with about the fourth power of its step:
// from 10 km below the spheroid to geostationary height the first step is at most
// 4e-3 (a change of the unit vector of the parametric latitude, so in radians) and
// leaves under 1e-19 radians in the next iterate. A step below this bound therefore
// means the iterate just made is exact to the last bit a double holds; one round
// does it for every point in that range.
constexpr double kFootTolerance = 1e-4;
// The bound is only there so that input that is no number cannot keep it going.
constexpr int kFootRoundLimit = 1000;

// What a run of conversions on one spheroid has in common.
struct Axes {
  double a;
  double e2;
  double one_minus_e2;
  double b;         // a sqrt(1 - e²): the polar semi-axis a and 1/f imply
  double b_over_a;  // 1 - f
  double ep2_b;     // e'² b
  double e2_a;      // e² a
};

Axes AxesOf(const CSpheroid& s) {
  Axes axes{};
  axes.a = s.m_SemiMajorAxis;
  axes.e2 = s.m_E2;
  axes.one_minus_e2 = s.m_OneMinusE2;
  axes.b_over_a = std::sqrt(s.m_OneMinusE2);
  axes.b = s.m_SemiMajorAxis * axes.b_over_a;
  axes.ep2_b = s.m_E2 / s.m_OneMinusE2 * axes.b;
  axes.e2_a = s.m_E2 * s.m_SemiMajorAxis;
  return axes;
}

double Nu(double a, double e2, double sin_lat) {
  const double radicand = 1.0 - e2 * sin_lat * sin_lat;
  if (!(radicand > 0.0)) return 0.0;
  const double root = std::sqrt(radicand);
  if (!(root > 0.0)) return 0.0;
  return a / root;
}

inline void ToCartesian(const Axes& k, double latitude, double longitude, double height, double& x,
                        double& y, double& z) {
  const double sin_lat = std::sin(latitude);
  const double cos_lat = std::cos(latitude);
  const double nu = Nu(k.a, k.e2, sin_lat);
  x = (nu + height) * cos_lat * std::cos(longitude);
  y = (nu + height) * cos_lat * std::sin(longitude);
  z = (nu * k.one_minus_e2 + height) * sin_lat;
}

// The longitude by its own quadrant rules: atan(Y/X) brought into (-pi, pi], and on
// the meridians of X = 0 either pi/2 or 3pi/2.
inline double Longitude(double x, double y) {
  if (x == 0.0) return y > 0.0 ? kHalfPi : kThreeHalfPi;
  double longitude = std::atan(y / x);
  if (x < 0.0) longitude += std::numbers::pi;
  if (longitude < 0.0) longitude += 2.0 * std::numbers::pi;
  if (longitude > std::numbers::pi) longitude -= 2.0 * std::numbers::pi;
  return longitude;
}

// Inside the spheroid's evolute (within about 43 km of the centre) a point lies on
// several normals and the iteration below need not settle; there the latitude is the
// classical fixed point, lat = atan((e² nu sin lat + Z) / p), which always lies within
// +-90 degrees, iterated from the geocentric latitude to the last bit or the bound.
inline double LatitudeNearTheCentre(const Axes& k, double p, double z) {
  double latitude = std::atan(z / p);
  for (int round = 0; round < kFootRoundLimit; ++round) {
    const double sin_lat = std::sin(latitude);
    const double next = std::atan((k.e2 * Nu(k.a, k.e2, sin_lat) * sin_lat + z) / p);
    const double step = std::fabs(next - latitude);
    latitude = next;
    if (step <= 1e-15) break;
  }
  return latitude;
}

// Latitude and height of a point off the polar axis (p > 0).
//
// The classical fixed-point iteration lat = atan((e² nu sin lat + Z) / p), stopped at a
// step of 0.001 second of arc, leaves up to e²/(1 - e²) of that step unconverged
// (about 0.2 mm), and its height, Y / (sin lon cos lat) - nu or X / (cos lon cos lat) -
// nu, divides by cos lat: near the axis the smallest error in the latitude becomes
// metres of height or more. Instead the foot point is found by Bowring's iteration on the
// parametric latitude u (the foot point is (a cos u, b sin u) in the meridian plane,
// its centre of curvature (e² a cos³u, -e'² b sin³u), and the normal through both passes
// through the point), started from the point's own parametric direction and run until
// it has converged; and the height is the distance along that normal,
// h = p cos lat + Z sin lat - a²/nu, which has no division by cos lat and is exact at
// the poles. Both agree with the exact solution to a few nanometres from 10 km below
// the spheroid to beyond geostationary height.
inline void FootPoint(const Axes& k, double p, double z, double& latitude, double& height) {
  double sin_u = z * k.a;
  double cos_u = p * k.b;
  double inverse = 1.0 / std::sqrt(sin_u * sin_u + cos_u * cos_u);
  sin_u *= inverse;
  cos_u *= inverse;
  double north = 0.0;
  double east = 0.0;
  bool converged = false;
  for (int round = 0; round < kFootRoundLimit && !converged; ++round) {
    north = z + k.ep2_b * sin_u * sin_u * sin_u;  // tan lat = north / east
    east = p - k.e2_a * cos_u * cos_u * cos_u;
    if (!(east > 0.0)) break;              // inside the evolute, or no number
    double next_sin = k.b_over_a * north;  // tan u = (1 - f) tan lat
    double next_cos = east;
    inverse = 1.0 / std::sqrt(next_sin * next_sin + next_cos * next_cos);
    next_sin *= inverse;
    next_cos *= inverse;
    converged = std::fabs(next_sin - sin_u) + std::fabs(next_cos - cos_u) <= kFootTolerance;
    sin_u = next_sin;
    cos_u = next_cos;
  }
  north = z + k.ep2_b * sin_u * sin_u * sin_u;
  east = p - k.e2_a * cos_u * cos_u * cos_u;
  double sin_lat = 0.0, cos_lat = 0.0;
  if (converged && east > 0.0) {
    // atan of the ratio is as exact as atan2 here, and cheaper.
    latitude = std::atan(north / east);
    inverse = 1.0 / std::sqrt(north * north + east * east);
    sin_lat = north * inverse;
    cos_lat = east * inverse;
  } else {
    latitude = LatitudeNearTheCentre(k, p, z);
    sin_lat = std::sin(latitude);
    cos_lat = std::cos(latitude);
  }
  height = p * cos_lat + z * sin_lat - k.a * std::sqrt(1.0 - k.e2 * sin_lat * sin_lat);
}

// A point on the polar axis (p = 0) has no meridian, so the classical method gives it
// latitude 0 and a height of about -a: a point 10 000 km from where it is. Callers use
// the outputs even when the conversion returns false, so the point is put where it
// is: at the pole on Z's side, its height above that pole (|Z| - b, the normal there
// being the axis itself). Only the centre (Z = 0 too), which lies on the normal of
// every point of the equator, keeps latitude 0, with height -a.
inline void OnAxis(const Axes& k, double z, double& latitude, double& height) {
  if (z == 0.0) {
    latitude = 0.0;
    height = -k.a;
    return;
  }
  latitude = std::copysign(kHalfPi, z);
  height = std::fabs(z) - k.b;
}

inline bool ToGeog(const Axes& k, double x, double y, double z, double& latitude, double& longitude,
                   double& height) {
  longitude = Longitude(x, y);
  const double p = std::sqrt(x * x + y * y);
  if (p == 0.0) {
    OnAxis(k, z, latitude, height);
    return false;
  }
  FootPoint(k, p, z, latitude, height);
  // Input that is not a number, or so large that its squares overflow, gives no point.
  return std::isfinite(latitude) && std::isfinite(longitude) && std::isfinite(height);
}

}  // namespace

double PrimeVerticalRadius(const CSpheroid& spheroid, double latitude) {
  return Nu(spheroid.m_SemiMajorAxis, spheroid.m_E2, std::sin(latitude));
}

void GeogToCartesian(const CSpheroid& spheroid, double latitude, double longitude, double height,
                     double& x, double& y, double& z) {
  if (!(spheroid.m_E2 > 0.0)) {
    x = y = z = 0.0;
    return;
  }
  ToCartesian(AxesOf(spheroid), latitude, longitude, height, x, y, z);
}

bool CartesianToGeog(const CSpheroid& spheroid, double x, double y, double z, double& latitude,
                     double& longitude, double& height) {
  if (!(spheroid.m_E2 > 0.0)) return false;
  return ToGeog(AxesOf(spheroid), x, y, z, latitude, longitude, height);
}

void GeogToCartesianMany(const CSpheroid& spheroid, std::span<const double> latitudes,
                         std::span<const double> longitudes, std::span<const double> heights,
                         std::span<double> xs, std::span<double> ys, std::span<double> zs) {
  const std::size_t count = std::min(
      {latitudes.size(), longitudes.size(), heights.size(), xs.size(), ys.size(), zs.size()});
  if (!(spheroid.m_E2 > 0.0)) {
    std::fill_n(xs.begin(), count, 0.0);
    std::fill_n(ys.begin(), count, 0.0);
    std::fill_n(zs.begin(), count, 0.0);
    return;
  }
  const Axes axes = AxesOf(spheroid);
  for (std::size_t i = 0; i < count; ++i) {
    const double latitude = latitudes[i], longitude = longitudes[i], height = heights[i];
    ToCartesian(axes, latitude, longitude, height, xs[i], ys[i], zs[i]);
  }
}

void CartesianToGeogMany(const CSpheroid& spheroid, std::span<const double> xs,
                         std::span<const double> ys, std::span<const double> zs,
                         std::span<double> latitudes, std::span<double> longitudes,
                         std::span<double> heights) {
  if (!(spheroid.m_E2 > 0.0)) return;
  const std::size_t count = std::min(
      {xs.size(), ys.size(), zs.size(), latitudes.size(), longitudes.size(), heights.size()});
  const Axes axes = AxesOf(spheroid);
  for (std::size_t i = 0; i < count; ++i) {
    const double x = xs[i], y = ys[i], z = zs[i];
    static_cast<void>(ToGeog(axes, x, y, z, latitudes[i], longitudes[i], heights[i]));
  }
}

}  // namespace orvale
