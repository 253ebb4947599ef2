// Stereographic projections (type 9): the double projection through the conformal
// sphere for the oblique and equatorial methods, and the polar projection in its three
// variants (A: at the pole with a given scale; B and C: true scale on a standard
// parallel, taken from the first or the second parallel).

#include <cmath>
#include <cstddef>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

// Parameter slots shared by both forms.
constexpr std::size_t kNorthFlag = 0;  // 1 north, 0 south
// Slots of the double projection.
constexpr std::size_t kSphereDiameter = 1;        // 2 R k0, R = sqrt(rho0 nu0)
constexpr std::size_t kLongitudeRatio = 2;        // n, sphere longitude per spheroid longitude
constexpr std::size_t kConformalConstant = 3;     // c
constexpr std::size_t kSphereOriginLatitude = 4;  // chi0
constexpr std::size_t kSinSphereOriginLatitude = 5;
constexpr std::size_t kCosSphereOriginLatitude = 6;
// Slots of the polar projection.
constexpr std::size_t kPolarRadiusFactor = 1;         // 2 a k0 / C_e
constexpr std::size_t kLatitudeSeries = 7;            // P7..P10, conformal to geodetic latitude
constexpr std::size_t kParallelConformalFactor = 11;  // tc
constexpr std::size_t kParallelFactor = 12;           // mc
constexpr std::size_t kFalseOriginNorthing = 13;      // a mc, variant C only

double HemisphereSign(bool north) {
  return north ? 1.0 : -1.0;
}

bool IsNorth(const CProjection& p) {
  return p.m_Param[kNorthFlag] == 1.0;
}

double Flag(bool value) {
  return value ? 1.0 : 0.0;
}

// A pole given in degrees arrives a few 1e-14 rad short of pi/2 (the degree factor is
// truncated); it must still select variant A rather than a parallel at the pole, which
// would silently replace the given scale factor by 1.
bool IsPole(double latitude) {
  return std::fabs(std::fabs(latitude) - kHalfPi) < kIterationTolerance;
}

// ((1 + e s)/(1 - e s))^(e/2) as exp(e atanh(e s)).
double EccentricityTerm(const CSpheroid& s, double sin_latitude) {
  return std::exp(s.m_E * std::atanh(s.m_E * sin_latitude));
}

// t = tan(pi/4 - lat/2) ((1 + e sin)/(1 - e sin))^(e/2) of a latitude counted towards
// the projection's own pole (the latitude itself in the north, its negative in the
// south), with the tangent as cos/(1 + sin): exact right up to the pole, where the
// printed tan(pi/4 -+ lat/2) subtracts nearly equal angles.
double HemisphereConformalFactor(const CSpheroid& s, double latitude) {
  const double sin_lat = std::sin(latitude);
  return std::cos(latitude) / (1.0 + sin_lat) * EccentricityTerm(s, sin_lat);
}

// t / m at a latitude counted towards the projection's pole (sine given): the polar
// scale factor over the plane radius per unit of t, finite at the pole where t and m
// both vanish.
double ConformalOverParallelFactor(const CSpheroid& s, double sin_lat) {
  return std::sqrt(1.0 - s.m_E2 * sin_lat * sin_lat) * EccentricityTerm(s, sin_lat) /
         (1.0 + sin_lat);
}

void InitialiseDoubleProjection(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  auto& param = p.m_Param;
  const double sin0 = p.m_SinLat0;
  const double cos2 = p.m_CosLat0 * p.m_CosLat0;
  param[kNorthFlag] = Flag(p.m_OriginLatitude >= 0.0);
  const double radius = std::sqrt(p.m_Rho0 * p.m_Nu0);
  param[kSphereDiameter] = 2.0 * radius * p.m_ScaleFactor;
  const double n = std::sqrt(1.0 + s.m_E2 * cos2 * cos2 / s.m_OneMinusE2);
  param[kLongitudeRatio] = n;
  const double s1 = (1.0 + sin0) / (1.0 - sin0);
  const double s2 = (1.0 - s.m_E * sin0) / (1.0 + s.m_E * sin0);
  const double w1 = std::pow(s1 * std::pow(s2, s.m_E), n);
  const double sin_chi1 = (w1 - 1.0) / (w1 + 1.0);
  const double c = (n + sin0) * (1.0 - sin_chi1) / ((n - sin0) * (1.0 + sin_chi1));
  param[kConformalConstant] = c;
  const double w2 = c * w1;
  const double chi0 = std::asin((w2 - 1.0) / (w2 + 1.0));
  param[kSphereOriginLatitude] = chi0;
  param[kSinSphereOriginLatitude] = std::sin(chi0);
  param[kCosSphereOriginLatitude] = std::cos(chi0);
}

// Variant A with nothing to say where: the north pole, keeping the given k0.
void BecomeNorthPolar(CProjection& p) {
  p.m_OriginLatitude = kHalfPi;
  p.m_SinLat0 = 1.0;
  p.m_CosLat0 = 0.0;
  p.m_TanLat0 = 0.0;
  const Curvature pole = CurvatureAt(*p.m_Spheroid, 1.0);
  p.m_Nu0 = pole.nu;
  p.m_Rho0 = pole.rho;
  p.m_Param[kNorthFlag] = 1.0;
}

// Variants B and C: the scale factor becomes the one that makes the standard parallel true.
void UseStandardParallel(CProjection& p, double parallel, bool false_origin_on_parallel) {
  const CSpheroid& s = *p.m_Spheroid;
  auto& param = p.m_Param;
  const bool north = parallel >= 0.0;
  param[kNorthFlag] = Flag(north);
  const double tc = HemisphereConformalFactor(s, north ? parallel : -parallel);
  const double mc = ParallelFactor(s, parallel);
  param[kParallelConformalFactor] = tc;
  param[kParallelFactor] = mc;
  if (false_origin_on_parallel) param[kFalseOriginNorthing] = mc * s.m_SemiMajorAxis;
  p.m_ScaleFactor = mc * s.m_PolarK / (2.0 * tc);
}

void InitialisePolar(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  auto& param = p.m_Param;
  param[kParallelConformalFactor] = 0.0;
  param[kParallelFactor] = 0.0;
  param[kFalseOriginNorthing] = 0.0;
  const double lat0 = p.m_OriginLatitude;
  if (IsPole(lat0)) {
    param[kNorthFlag] = Flag(lat0 >= 0.0);
  } else if (lat0 != 0.0) {
    UseStandardParallel(p, lat0, false);
  } else if (p.m_StandardParallel1 != 0.0) {
    UseStandardParallel(p, p.m_StandardParallel1, false);
  } else if (p.m_StandardParallel2 != 0.0) {
    UseStandardParallel(p, p.m_StandardParallel2, true);
  } else {
    BecomeNorthPolar(p);
  }
  const double e2 = s.m_E2;
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;
  const double e8 = e6 * e2;
  param[kLatitudeSeries] = e2 / 2.0 + 5.0 * e4 / 24.0 + e6 / 12.0 + 13.0 * e8 / 360.0;
  param[kLatitudeSeries + 1] = 7.0 * e4 / 48.0 + 29.0 * e6 / 240.0 + 811.0 * e8 / 11520.0;
  param[kLatitudeSeries + 2] = 7.0 * e6 / 120.0 + 81.0 * e8 / 1120.0;
  param[kLatitudeSeries + 3] = 4279.0 * e8 / 161280.0;
  param[kPolarRadiusFactor] = 2.0 * s.m_SemiMajorAxis * p.m_ScaleFactor / s.m_PolarK;
}

// The conformal sphere of the double projection: its latitude chi has
// tan chi = sinh(n psi + ln(c)/2), psi the spheroid's isometric latitude; this is the
// printed w = c (...)^n with sin chi = (w - 1)/(w + 1), taken through the isometric
// latitude so that neither the pole nor the cancellations in w lose digits.
struct SpherePoint {
  double sin_chi = 0.0;
  double cos_chi = 1.0;
  double sin_lon = 0.0;  // of the sphere longitude n (lambda - lambda0)
  double cos_lon = 1.0;
};

// Grid convergence of the stereographic on the sphere at a point: the angle between the
// meridian's image and the grid's north, in closed form from the derivatives of the
// sphere's easting and northing along the meridian. The spheroid-to-sphere step maps
// meridians onto meridians conformally, so it adds nothing.
double SphereConvergence(const CProjection& p, const SpherePoint& q) {
  const double sin0 = p.m_Param[kSinSphereOriginLatitude];
  const double cos0 = p.m_Param[kCosSphereOriginLatitude];
  return std::atan2(q.sin_lon * (q.sin_chi + sin0),
                    q.cos_chi * cos0 + (1.0 + q.sin_chi * sin0) * q.cos_lon);
}

// A point this close (in 1 + cos of its distance from the origin) to the origin's
// antipode has no image: the plane goes to infinity there.
constexpr double kAntipodeTolerance = 1e-12;

ProjectionStatus DoubleProjectionForward(const CProjection& p, const GeogPoint& g,
                                         const GridOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const auto& param = p.m_Param;
  const double n = param[kLongitudeRatio];
  const double sphere_longitude = n * WrapToHalfTurn(g.longitude - p.m_CentralMeridian);
  const double sphere_isometric = n * IsometricLatitudeOfTrig(s, g.sin_lat, g.cos_lat) +
                                  0.5 * std::log(param[kConformalConstant]);
  const SpherePoint q{std::tanh(sphere_isometric), 1.0 / std::cosh(sphere_isometric),
                      std::sin(sphere_longitude), std::cos(sphere_longitude)};
  const double sin0 = param[kSinSphereOriginLatitude];
  const double cos0 = param[kCosSphereOriginLatitude];
  const double b = 1.0 + q.sin_chi * sin0 + q.cos_chi * cos0 * q.cos_lon;
  if (!(b > kAntipodeTolerance)) {
    WriteNoValue({out.easting, out.northing, out.convergence, out.scale});
    return ProjectionStatus::kOutsideDomain;
  }
  const double diameter = param[kSphereDiameter];
  if (out.easting != nullptr)
    *out.easting = p.m_FalseEasting + diameter * q.cos_chi * q.sin_lon / b;
  if (out.northing != nullptr) {
    *out.northing =
        p.m_FalseNorthing + diameter * (q.sin_chi * cos0 - q.cos_chi * sin0 * q.cos_lon) / b;
  }
  if (out.convergence != nullptr) *out.convergence = SphereConvergence(p, q);
  // The sphere's scale 2 k0 / b times that of the spheroid on the sphere,
  // R n cos chi / (nu cos phi).
  if (out.scale != nullptr) *out.scale = diameter * n * q.cos_chi / (b * g.nu * g.cos_lat);
  return ProjectionStatus::kOk;
}

ProjectionStatus PolarForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const auto& param = p.m_Param;
  const bool north = IsNorth(p);
  const double sign = HemisphereSign(north);
  // The other pole is the one point the plane cannot hold.
  if (IsAtPole(g.latitude) && sign * g.latitude < 0.0) {
    WriteNoValue({out.easting, out.northing, out.convergence, out.scale});
    return ProjectionStatus::kPoleNotRepresentable;
  }
  const double sin_lat = sign * g.sin_lat;
  const double t = g.cos_lat / (1.0 + sin_lat) * EccentricityTerm(s, sin_lat);
  const double radius_per_t = p.m_StandardParallel2 == 0.0
                                  ? param[kPolarRadiusFactor]
                                  : param[kFalseOriginNorthing] / param[kParallelConformalFactor];
  const double r = t * radius_per_t;
  const double delta_longitude = WrapToHalfTurn(g.longitude - p.m_CentralMeridian);
  if (out.easting != nullptr) *out.easting = p.m_FalseEasting + r * std::sin(delta_longitude);
  if (out.northing != nullptr) {
    const double origin = param[kFalseOriginNorthing];
    const double along = r * std::cos(delta_longitude);
    *out.northing = north ? p.m_FalseNorthing + origin - along : p.m_FalseNorthing - origin + along;
  }
  // Meridians are straight lines through the pole's image.
  if (out.convergence != nullptr) *out.convergence = sign * delta_longitude;
  if (out.scale != nullptr) {
    *out.scale = radius_per_t * ConformalOverParallelFactor(s, sin_lat) / s.m_SemiMajorAxis;
  }
  return ProjectionStatus::kOk;
}

// The printed inverse goes through three auxiliary angles whose arctangents take the
// wrong branch once g - y or h + y changes sign (beyond the pole's image: 85N 120E
// comes back at 60W on the Amersfoort grid), and then iterates the latitude with a step
// that stops at 0.001" (leaving up to that much behind). Here the plane point is taken
// back onto the sphere as a vector, and the latitude found by Newton's method.
ProjectionStatus DoubleProjectionInverse(const CProjection& p, double x, double y,
                                         const GeogOutputs& out) {
  const auto& param = p.m_Param;
  const double diameter = param[kSphereDiameter];
  const double n = param[kLongitudeRatio];
  const double sin0 = param[kSinSphereOriginLatitude];
  const double cos0 = param[kCosSphereOriginLatitude];
  // (X, Y) = tan(c/2) (sin, cos of the azimuth), c the distance from the origin on the
  // sphere; (gx, gy, gz) the point on the sphere times 1 + X^2 + Y^2, z to the pole.
  const double big_x = x / diameter, big_y = y / diameter;
  const double q = big_x * big_x + big_y * big_y;
  const double gx = cos0 * (1.0 - q) - sin0 * 2.0 * big_y;
  const double gy = 2.0 * big_x;
  const double gz = sin0 * (1.0 - q) + cos0 * 2.0 * big_y;
  const double gxy = std::hypot(gx, gy);
  const double sphere_isometric = std::asinh(gz / gxy);
  const double isometric = (sphere_isometric - 0.5 * std::log(param[kConformalConstant])) / n;
  const LatitudeWithTrig found = LatitudeFromIsometric(*p.m_Spheroid, isometric);
  if (!found.converged) {
    WriteNoValue({out.latitude, out.longitude, out.convergence, out.scale});
    return ProjectionStatus::kNoConvergence;
  }
  const double sphere_longitude = gxy == 0.0 ? 0.0 : std::atan2(gy, gx);
  *out.latitude = found.latitude;
  *out.longitude = WrapToHalfTurn(p.m_CentralMeridian + sphere_longitude / n);
  const double norm = 1.0 + q;
  const SpherePoint point{gz / norm, gxy / norm, gxy == 0.0 ? 0.0 : gy / gxy,
                          gxy == 0.0 ? 1.0 : gx / gxy};
  if (out.convergence != nullptr) *out.convergence = SphereConvergence(p, point);
  if (out.scale != nullptr) {
    // b = 1 + cos c = 2 / (1 + q), as in the forward.
    const double nu = CurvatureAt(*p.m_Spheroid, found.sin_lat).nu;
    *out.scale = diameter * n * gxy / (2.0 * nu * found.cos_lat);
  }
  return ProjectionStatus::kOk;
}

// The printed inverse takes the latitude from the conformal latitude chi by a series
// to e^8 (kept in P7..P10 by the set-up), which leaves up to 1.95e-12 rad (0.012 mm) on
// WGS84 and more on flatter spheroids; here t gives the tangent of chi exactly,
// (1 - t^2) / 2t, and the latitude follows by Newton's method.
ProjectionStatus PolarInverse(const CProjection& p, double x, double y, const GeogOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const auto& param = p.m_Param;
  const bool north = IsNorth(p);
  const double sign = HemisphereSign(north);
  const double from_pole =
      north ? y - param[kFalseOriginNorthing] : y + param[kFalseOriginNorthing];
  const double r = std::hypot(x, from_pole);
  const double radius_per_t = p.m_StandardParallel2 == 0.0
                                  ? param[kPolarRadiusFactor]
                                  : param[kFalseOriginNorthing] / param[kParallelConformalFactor];
  const double t = r / radius_per_t;
  const LatitudeWithTrig found = LatitudeFromConformalTangent(s, (1.0 - t * t) / (2.0 * t));
  if (!found.converged) {
    WriteNoValue({out.latitude, out.longitude, out.convergence, out.scale});
    return ProjectionStatus::kNoConvergence;
  }
  // At the pole itself (to the last bit of the latitude) every longitude is the same
  // point, and what is left of the plane radius is rounding: the central meridian.
  const bool pole = r == 0.0 || found.latitude == kHalfPi;
  const double delta_longitude =
      pole ? 0.0 : (north ? std::atan2(x, -from_pole) : std::atan2(x, from_pole));
  *out.latitude = sign * found.latitude;
  *out.longitude = WrapToHalfTurn(p.m_CentralMeridian + delta_longitude);
  if (out.convergence != nullptr) *out.convergence = sign * delta_longitude;
  if (out.scale != nullptr) {
    *out.scale = radius_per_t * ConformalOverParallelFactor(s, found.sin_lat) / s.m_SemiMajorAxis;
  }
  return ProjectionStatus::kOk;
}

// Both methods invert only with both outputs given.
template <ProjectionStatus (*Inverse)(const CProjection&, double, double, const GeogOutputs&)>
ProjectionStatus FromGrid(const CProjection& p, double easting, double northing,
                          const GeogOutputs& out) {
  if (out.latitude == nullptr || out.longitude == nullptr) return ProjectionStatus::kOk;
  return Inverse(p, easting - p.m_FalseEasting, northing - p.m_FalseNorthing, out);
}

}  // namespace

const ProjectionMaths kDoubleStereographicMaths = {
    .initialise = InitialiseDoubleProjection,
    .forward = DoubleProjectionForward,
    .inverse = FromGrid<DoubleProjectionInverse>,
};

const ProjectionMaths kPolarStereographicMaths = {
    .initialise = InitialisePolar,
    .forward = PolarForward,
    .inverse = FromGrid<PolarInverse>,
};

}  // namespace orvale::projection
