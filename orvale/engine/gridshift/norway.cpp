#include "orvale/engine/gridshift/norway.h"

#include <array>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/helmert.h"

namespace orvale {
namespace {

// One term of the polynomial: U^u V^v times its latitude and longitude coefficients
// (degrees of shift per degree^(u+v) of distance from 55°N 0°E).
struct PolynomialTerm {
  int u;
  int v;
  double latitude;
  double longitude;
};

// The reversible fourth-degree polynomial between ED87 and ED50 in the North Sea south
// of 62°N, taken back by the same terms with the opposite sign.
constexpr std::array<PolynomialTerm, 15> kPolynomial = {{
    {0, 0, 5.56098e-06, -1.48944e-05},
    {1, 0, 1.55391e-06, -2.68191e-06},
    {0, 1, 4.0262e-07, -2.4529e-06},
    {2, 0, 5.09693e-07, -2.944e-07},
    {1, 1, 8.19775e-07, -1.5226e-06},
    {0, 2, 2.47592e-07, -9.10592e-07},
    {3, 0, -1.36682e-07, 3.68241e-07},
    {2, 1, -1.86198e-07, 8.51732e-07},
    {1, 2, -1.2335e-07, 5.66713e-07},
    {0, 3, -5.68797e-08, 1.85188e-07},
    {4, 0, 2.32217e-09, -2.84312e-08},
    {3, 1, 7.69931e-09, -6.84853e-08},
    {2, 2, 7.86953e-09, -5.00828e-08},
    {1, 3, 6.12216e-09, -4.15937e-08},
    {0, 4, 4.01382e-09, -7.62236e-09},
}};
static_assert(kPolynomial.size() == 15, "the fourth degree in two variables has 15 terms");

constexpr bool TermsInOrder() {
  // Degree by degree, and within a degree from the highest power of U down.
  int previous_degree = 0, previous_u = 1;
  for (const PolynomialTerm& term : kPolynomial) {
    const int degree = term.u + term.v;
    if (degree == previous_degree ? term.u != previous_u - 1
                                  : degree != previous_degree + 1 || term.v != 0)
      return false;
    previous_degree = degree;
    previous_u = term.u;
  }
  return true;
}
static_assert(TermsInOrder());

constexpr double kPolynomialLatitude = 55.0;  // degrees, the point the terms are about
constexpr double kPolynomialLongitude = 0.0;  // degrees

// ED87 to ED50 north of 65°N: EPSG's ED50 to ED87 (2) taken back the EPSG way, by the
// same Position Vector formula with every value negated. Its rotations were published
// in microradians (1.893, 0.687, 2.764) and are kept here in seconds of arc.
constexpr double kFixedTx = 1.51;
constexpr double kFixedTy = 0.84;
constexpr double kFixedTz = 3.5;
constexpr double kFixedRx = 0.3904592782258739;
constexpr double kFixedRy = 0.14170392189179892;
constexpr double kFixedRz = 0.5701159244671503;
constexpr double kFixedScale = 6.09e-7;  // taken off for sign +1

bool Forward(int direction) {
  return direction >= 0;
}

void Zero(double& latitude_out, double& longitude_out, double& height_out) {
  latitude_out = longitude_out = height_out = 0.0;
}

// CartesianToGeog is exact and ignores the latitude it is given, so none of the
// conversions below needs a starting latitude: each starts from 0. It returns false
// only on the polar axis, where its outputs still give the pole and the height above
// it, which are what a caller here wants.
void ToGeog(const CSpheroid& spheroid, double x, double y, double z, double& latitude,
            double& longitude, double& height) {
  latitude = 0.0;
  static_cast<void>(CartesianToGeog(spheroid, x, y, z, latitude, longitude, height));
}

// The fixed Helmert on a geographical position of one spheroid, back to that spheroid;
// the height it gives is dropped, as the band edges are compared by latitude and
// longitude only.
void FixedHelmertOnSpheroid(const CSpheroid& spheroid, int sign, double latitude, double longitude,
                            double height, double& latitude_out, double& longitude_out) {
  double x = 0.0, y = 0.0, z = 0.0, dropped = 0.0;
  GeogToCartesian(spheroid, latitude, longitude, height, x, y, z);
  NorwegianFixedHelmert(sign, x, y, z, x, y, z);
  ToGeog(spheroid, x, y, z, latitude_out, longitude_out, dropped);
}

}  // namespace

void NorwegianPolynomial(double& latitude_out, double& longitude_out, int sign, double latitude,
                         double longitude) {
  const double u = latitude * kDegreesPerRadian - kPolynomialLatitude;
  const double v = longitude * kDegreesPerRadian - kPolynomialLongitude;
  std::array<double, 5> u_powers{1.0}, v_powers{1.0};
  for (std::size_t i = 1; i < u_powers.size(); ++i) {
    u_powers[i] = u_powers[i - 1] * u;
    v_powers[i] = v_powers[i - 1] * v;
  }
  double d_latitude = 0.0, d_longitude = 0.0;  // degrees
  for (const PolynomialTerm& term : kPolynomial) {
    const double power = u_powers[term.u] * v_powers[term.v];
    d_latitude += term.latitude * power;
    d_longitude += term.longitude * power;
  }
  latitude_out = latitude + sign * d_latitude * kRadiansPerDegree;
  longitude_out = longitude + sign * d_longitude * kRadiansPerDegree;
}

void NorwegianFixedHelmert(int sign, double x, double y, double z, double& out_x, double& out_y,
                           double& out_z) {
  // The library's own small-angle Position Vector step, with the scale written as the
  // factor 1 - S × 6.09e-7 rather than derived from -0.609 ppm.
  const double s = sign;
  const double k = s * kRadiansPerDegree / kSecondsPerDegree;
  HelmertStep step;
  step.tx = kFixedTx;
  step.ty = kFixedTy;
  step.tz = kFixedTz;
  step.rx = k * kFixedRx;
  step.ry = k * kFixedRy;
  step.rz = k * kFixedRz;
  step.m = 1 - s * kFixedScale;
  step.direction = s;
  step.Apply(x, y, z, out_x, out_y, out_z);
}

void NorwegianSouth(const CDatum& datum, double& latitude_out, double& longitude_out,
                    double& height_out, int direction, double latitude, double longitude,
                    double height) {
  if (datum.m_TargetSpheroid == nullptr) return Zero(latitude_out, longitude_out, height_out);
  const CSpheroid& own = datum.m_Spheroid;
  const CSpheroid& target = *datum.m_TargetSpheroid;
  double x = 0.0, y = 0.0, z = 0.0;
  if (Forward(direction)) {
    GeogToCartesian(own, latitude, longitude, height, x, y, z);
    HelmertTransform(datum, kHelmertForward, x, y, z, x, y, z);
    double shifted_latitude = 0.0, shifted_longitude = 0.0;
    ToGeog(target, x, y, z, shifted_latitude, shifted_longitude, height_out);
    NorwegianPolynomial(latitude_out, longitude_out, datum.m_Direction, shifted_latitude,
                        shifted_longitude);
    return;
  }
  double shifted_latitude = 0.0, shifted_longitude = 0.0;
  NorwegianPolynomial(shifted_latitude, shifted_longitude, -datum.m_Direction, latitude, longitude);
  GeogToCartesian(target, shifted_latitude, shifted_longitude, height, x, y, z);
  HelmertTransform(datum, kHelmertReverse, x, y, z, x, y, z);
  ToGeog(own, x, y, z, latitude_out, longitude_out, height_out);
}

void NorwegianNorth(const CDatum& datum, double& latitude_out, double& longitude_out,
                    double& height_out, int direction, double latitude, double longitude,
                    double height) {
  if (datum.m_TargetSpheroid == nullptr) return Zero(latitude_out, longitude_out, height_out);
  const CSpheroid& own = datum.m_Spheroid;
  const CSpheroid& target = *datum.m_TargetSpheroid;
  double x = 0.0, y = 0.0, z = 0.0;
  if (Forward(direction)) {
    GeogToCartesian(own, latitude, longitude, height, x, y, z);
    HelmertTransform(datum, kHelmertForward, x, y, z, x, y, z);
    NorwegianFixedHelmert(datum.m_Direction, x, y, z, x, y, z);
    ToGeog(target, x, y, z, latitude_out, longitude_out, height_out);
    return;
  }
  GeogToCartesian(target, latitude, longitude, height, x, y, z);
  NorwegianFixedHelmert(-datum.m_Direction, x, y, z, x, y, z);
  HelmertTransform(datum, kHelmertReverse, x, y, z, x, y, z);
  ToGeog(own, x, y, z, latitude_out, longitude_out, height_out);
}

// Between the bands the shift is the straight-line blend, by latitude, of the two
// methods' shifts at the band edges on the point's meridian: w·3° + 62° is the
// latitude itself, so φs + w(φn − φs) is the latitude plus the blended shift. Only
// the latitude and longitude are blended: the height is that of the datum's own
// Helmert step, as south of 62°, so at 65° it still lacks the fixed Helmert's change
// of height (-0.1 m to +0.02 m along the edge offshore) that the north method gives.
// The fixed Helmert is defined for latitude and longitude only, so no height is the
// right one; the blend keeps the one it has.
void NorwegianBlend(const CDatum& datum, double& latitude_out, double& longitude_out,
                    double& height_out, int direction, double latitude, double longitude,
                    double height) {
  if (datum.m_TargetSpheroid == nullptr) return Zero(latitude_out, longitude_out, height_out);
  const CSpheroid& own = datum.m_Spheroid;
  const CSpheroid& target = *datum.m_TargetSpheroid;
  const int sign = Forward(direction) ? datum.m_Direction : -datum.m_Direction;
  double x = 0.0, y = 0.0, z = 0.0;
  // On the target side, the blended position of (latitude, longitude, height).
  const auto blend = [&](double at_latitude, double at_longitude, double at_height,
                         double& blended_latitude, double& blended_longitude) {
    const double w = (at_latitude - kNorwaySouthEdge) / kNorwayBandWidth;
    double south_latitude = 0.0, south_longitude = 0.0, north_latitude = 0.0, north_longitude = 0.0;
    NorwegianPolynomial(south_latitude, south_longitude, sign, kNorwaySouthEdge, at_longitude);
    FixedHelmertOnSpheroid(target, sign, kNorwayNorthEdge, at_longitude, at_height, north_latitude,
                           north_longitude);
    blended_latitude = south_latitude + w * (north_latitude - south_latitude);
    blended_longitude = south_longitude + w * (north_longitude - south_longitude);
  };
  if (Forward(direction)) {
    GeogToCartesian(own, latitude, longitude, height, x, y, z);
    HelmertTransform(datum, kHelmertForward, x, y, z, x, y, z);
    double shifted_latitude = 0.0, shifted_longitude = 0.0;
    ToGeog(target, x, y, z, shifted_latitude, shifted_longitude, height_out);
    blend(shifted_latitude, shifted_longitude, height, latitude_out, longitude_out);
    return;
  }
  double blended_latitude = 0.0, blended_longitude = 0.0;
  blend(latitude, longitude, height, blended_latitude, blended_longitude);
  GeogToCartesian(target, blended_latitude, blended_longitude, height, x, y, z);
  HelmertTransform(datum, kHelmertReverse, x, y, z, x, y, z);
  ToGeog(own, x, y, z, latitude_out, longitude_out, height_out);
}

}  // namespace orvale
