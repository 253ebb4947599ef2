// Lambert conformal conic (type 6) in three forms: one standard parallel by series in
// the meridian distance from it (method 0), two standard parallels by the closed
// conformal-factor form (method 1), and the closed isometric-latitude form of the US
// state plane zones with the false northing carried at the origin (method 2).
#include <cmath>
#include <cstddef>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

// Parameter slots, all derived by the set-up. Method 0: the series of the developed
// meridian distance and of the scale about the standard parallel.
constexpr std::size_t kDevelopedSeries = 0;  // P0 ... P3
constexpr std::size_t kParallelRadius = 4;   // the cone's radius at the standard parallel
constexpr std::size_t kOneParallelCone = 5;  // the cone constant, sin phi0
constexpr std::size_t kScaleSeries = 6;      // P6 ... P8
// Method 1 (which also sets method 0's slots at phi0, as a dialog shows them).
constexpr std::size_t kTwoParallelCone = 11;
constexpr std::size_t kTwoParallelOriginRadius = 12;
constexpr std::size_t kTwoParallelRadiusFactor = 13;  // F a
// Method 2.
constexpr std::size_t kUsaCone = 0;
constexpr std::size_t kUsaRadiusFactor = 1;
constexpr std::size_t kUsaOriginRadius = 2;
constexpr std::size_t kUsaLeastScaleRadius = 3;    // at the parallel of least scale
constexpr std::size_t kUsaLeastScaleNorthing = 4;  // of that parallel
constexpr std::size_t kUsaApexNorthing = 5;        // of the cone's apex
constexpr std::size_t kUsaLeastScaleTangent = 6;   // of that parallel's latitude

// The two-parallel forms need a cone: standard parallels that give none (one on each
// side of the equator at the same distance) or that the closed forms cannot take (equal
// ones, 0/0) leave a cone constant or radius factor of 0 or not a number.
bool IsCone(double cone_constant, double radius_factor) {
  return cone_constant != 0.0 && std::isfinite(cone_constant) && radius_factor != 0.0 &&
         std::isfinite(radius_factor);
}

void InitialiseUsaCone(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  const double a = s.m_SemiMajorAxis;
  const double phi1 = p.m_StandardParallel1;
  const double phi2 = p.m_StandardParallel2;
  const double n = std::log(ParallelFactor(s, phi1) / ParallelFactor(s, phi2)) /
                   (IsometricLatitude(s, phi2) - IsometricLatitude(s, phi1));
  const double radius_factor =
      a * ParallelFactor(s, phi1) * std::exp(n * IsometricLatitude(s, phi1)) / n;
  const double origin_radius = radius_factor * std::exp(-n * p.m_Psi0);
  const double least_scale_latitude = std::asin(n);
  const double least_scale_radius =
      radius_factor * std::exp(-n * IsometricLatitude(s, least_scale_latitude));
  auto& param = p.m_Param;
  param[kUsaCone] = n;
  param[kUsaRadiusFactor] = radius_factor;
  param[kUsaOriginRadius] = origin_radius;
  param[kUsaApexNorthing] = origin_radius + p.m_FalseNorthing;
  param[kUsaLeastScaleRadius] = least_scale_radius;
  param[kUsaLeastScaleTangent] = std::tan(least_scale_latitude);
  param[kUsaLeastScaleNorthing] = param[kUsaApexNorthing] - least_scale_radius;
  p.m_ScaleFactor =
      param[kUsaLeastScaleTangent] * std::sqrt(1.0 - s.m_E2 * n * n) * least_scale_radius / a;
}

// The scale at phi0 of the cone of constant sin(phi0) through phi1; at the equator
// that is 0/0 and takes its limit m(phi1).
double TwoParallelScaleAtOrigin(const CProjection& p, double parallel_factor1,
                                double conformal_factor1) {
  const CSpheroid& s = *p.m_Spheroid;
  if (p.m_CosLat0 == 0.0) return 1.0;
  const double sine = p.m_SinLat0;
  const double a = s.m_SemiMajorAxis;
  if (sine == 0.0) return parallel_factor1 * a / p.m_Nu0;
  return std::pow(ConformalFactor(s, p.m_OriginLatitude), sine) *
         (a * parallel_factor1 / (std::pow(conformal_factor1, sine) * sine)) * sine /
         (p.m_CosLat0 * p.m_Nu0);
}

void InitialiseTwoParallelCone(CProjection& p) {
  const CSpheroid& s = *p.m_Spheroid;
  const double a = s.m_SemiMajorAxis;
  const double m1 = ParallelFactor(s, p.m_StandardParallel1);
  const double m2 = ParallelFactor(s, p.m_StandardParallel2);
  const double t1 = ConformalFactor(s, p.m_StandardParallel1);
  const double t2 = ConformalFactor(s, p.m_StandardParallel2);
  const double n = (std::log(m1) - std::log(m2)) / (std::log(t1) - std::log(t2));
  const double radius_factor = m1 * a / (n * std::pow(t1, n));
  p.m_Param[kTwoParallelCone] = n;
  p.m_Param[kTwoParallelRadiusFactor] = radius_factor;
  p.m_Param[kTwoParallelOriginRadius] =
      radius_factor * std::pow(ConformalFactor(s, p.m_OriginLatitude), n);
  // Recomputed here too: the standard parallels can change without the full set-up.
  const Curvature curvature = CurvatureAt(s, p.m_SinLat0);
  p.m_Nu0 = curvature.nu;
  p.m_Rho0 = curvature.rho;
  p.m_M0 = MeridianDistance(s, p.m_OriginLatitude);
  p.m_ScaleFactor = TwoParallelScaleAtOrigin(p, m1, t1);
}

void InitialiseOneParallelSeries(CProjection& p) {
  const double nu0 = p.m_Nu0;
  const double tan0 = p.m_TanLat0;
  if (nu0 == 0.0 || tan0 == 0.0) return;
  const double rho0 = p.m_Rho0;
  const double ep2 = p.m_Spheroid->m_Ep2;
  const double cos2 = p.m_CosLat0 * p.m_CosLat0;
  const double tan2 = tan0 * tan0;
  auto& param = p.m_Param;
  param[kDevelopedSeries] = 1.0 / (6.0 * rho0 * nu0);
  param[kDevelopedSeries + 1] = (1.0 - 4.0 * ep2 * cos2) * tan0 / (24.0 * rho0 * nu0 * nu0);
  param[kDevelopedSeries + 2] =
      (5.0 + 3.0 * tan2 - 3.0 * ep2 * (1.0 + cos2)) / (120.0 * rho0 * rho0 * nu0 * nu0);
  param[kDevelopedSeries + 3] = (7.0 + 4.0 * tan2) * tan0 / (240.0 * rho0 * rho0 * nu0 * nu0 * nu0);
  param[kParallelRadius] = p.m_ScaleFactor * nu0 / tan0;
  param[kOneParallelCone] = p.m_SinLat0;
  param[kScaleSeries] = 1.0 / (18.0 * rho0 * nu0);
  param[kScaleSeries + 1] = tan0 / (6.0 * rho0 * nu0 * nu0);
  param[kScaleSeries + 2] = tan0 / (144.0 * rho0 * rho0 * nu0 * nu0 * nu0);
}

// Meridian distance from the standard parallel; M(0) is exactly 0.
double DistanceFromStandardParallel(const CProjection& p, double latitude) {
  return MeridianDistance(*p.m_Spheroid, latitude) - p.m_M0;
}

double OneParallelScale(const CProjection& p, double m) {
  const auto& param = p.m_Param;
  return p.m_ScaleFactor *
         (1.0 + param[kScaleSeries] * m * m + param[kScaleSeries + 1] * m * m * m +
          param[kScaleSeries + 2] * m * m * m * m);
}

ProjectionStatus OneParallelForward(const CProjection& p, const GeogPoint& g,
                                    const GridOutputs& out) {
  const auto& param = p.m_Param;
  const double m = DistanceFromStandardParallel(p, g.latitude);
  const double theta = (g.longitude - p.m_CentralMeridian) * param[kOneParallelCone];
  const double m2 = m * m;
  const double developed =
      p.m_ScaleFactor * m *
      (1.0 + param[kDevelopedSeries] * m2 + param[kDevelopedSeries + 1] * m2 * m +
       param[kDevelopedSeries + 2] * m2 * m2 + param[kDevelopedSeries + 3] * m2 * m2 * m);
  // The northing is formed from the easting, so it needs the easting requested.
  if (out.easting != nullptr) {
    const double easting = std::sin(theta) * (param[kParallelRadius] - developed);
    if (out.northing != nullptr) {
      *out.northing = std::tan(0.5 * theta) * easting + developed + p.m_FalseNorthing;
    }
    *out.easting = easting + p.m_FalseEasting;
  }
  if (out.convergence != nullptr) *out.convergence = theta;
  if (out.scale != nullptr) *out.scale = OneParallelScale(p, m);
  return ProjectionStatus::kOk;
}

ProjectionStatus TwoParallelForward(const CProjection& p, const GeogPoint& g,
                                    const GridOutputs& out) {
  const auto& param = p.m_Param;
  if (!IsCone(param[kTwoParallelCone], param[kTwoParallelRadiusFactor])) {
    return ProjectionStatus::kInvalidProjection;
  }
  const double t = ConformalFactor(*p.m_Spheroid, g.latitude, g.sin_lat, g.cos_lat);
  const double r = param[kTwoParallelRadiusFactor] * std::pow(t, param[kTwoParallelCone]);
  const double theta = (g.longitude - p.m_CentralMeridian) * param[kTwoParallelCone];
  if (out.easting != nullptr) *out.easting = r * std::sin(theta) + p.m_FalseEasting;
  if (out.northing != nullptr) {
    *out.northing = (param[kTwoParallelOriginRadius] + p.m_FalseNorthing) - r * std::cos(theta);
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = 0.0;
  return ProjectionStatus::kOk;
}

ProjectionStatus UsaForward(const CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const auto& param = p.m_Param;
  if (!IsCone(param[kUsaCone], param[kUsaRadiusFactor])) {
    return ProjectionStatus::kInvalidProjection;
  }
  const double r =
      param[kUsaRadiusFactor] / std::exp(IsometricLatitudeOfSine(s, g.sin_lat) * param[kUsaCone]);
  const double theta = (g.longitude - p.m_CentralMeridian) * param[kUsaCone];
  if (out.easting != nullptr) *out.easting = r * std::sin(theta) + p.m_FalseEasting;
  if (out.northing != nullptr) *out.northing = param[kUsaApexNorthing] - r * std::cos(theta);
  if (out.convergence != nullptr) *out.convergence = theta;
  if (out.scale != nullptr) {
    *out.scale = r * param[kUsaCone] * std::sqrt(1.0 - s.m_E2 * g.sin_lat * g.sin_lat) /
                 (g.cos_lat * s.m_SemiMajorAxis);
  }
  return ProjectionStatus::kOk;
}

ProjectionStatus OneParallelInverse(const CProjection& p, double easting, double northing,
                                    const GeogOutputs& out) {
  const double x = easting - p.m_FalseEasting;
  const double y = northing - p.m_FalseNorthing;
  const auto& param = p.m_Param;
  bool converged = true;
  const double theta = std::atan(x / (param[kParallelRadius] - y));
  if (out.longitude != nullptr)
    *out.longitude = theta / param[kOneParallelCone] + p.m_CentralMeridian;
  if (out.latitude != nullptr) {
    const double developed = y - x * std::tan(0.5 * theta);
    const double d2 = developed * developed;
    const double meridian_distance =
        p.m_M0 +
        (developed / p.m_ScaleFactor) *
            (1.0 - param[kDevelopedSeries] * d2 - param[kDevelopedSeries + 1] * d2 * developed -
             param[kDevelopedSeries + 2] * d2 * d2 -
             param[kDevelopedSeries + 3] * d2 * d2 * developed);
    const LatitudeWithTrig found =
        FootpointLatitude(*p.m_Spheroid, *out.latitude, meridian_distance);
    *out.latitude = found.latitude;
    if (out.scale != nullptr) {
      *out.scale = OneParallelScale(p, DistanceFromStandardParallel(p, *out.latitude));
    }
    if (!found.converged) converged = false;
  }
  if (out.convergence != nullptr) *out.convergence = theta;
  return converged ? ProjectionStatus::kOk : ProjectionStatus::kNoConvergence;
}

// The latitude of a conformal factor t, iterated in the latitude itself: for spheroids
// too flat for the quicker form below. The iteration has no bound of its own; it stops
// after the usual 100 rounds with its last estimate, not converged.
LatitudeWithTrig LatitudeFromConformalFactorInLatitude(const CSpheroid& s, double t) {
  double latitude = kHalfPi - 2.0 * std::atan(t);
  for (int round = 0; round < kIterationLimit; ++round) {
    const double e_sin = s.m_E * std::sin(latitude);
    const double next =
        kHalfPi - 2.0 * std::atan(t * std::pow((1.0 - e_sin) / (1.0 + e_sin), s.m_HalfE));
    const double change = std::fabs(next - latitude);
    latitude = next;
    if (change <= kIterationTolerance) return {latitude, 0.0, 1.0, true};
  }
  return {latitude, 0.0, 1.0, false};
}

// The same iteration in u = tan(pi/4 - latitude/2), the quantity its formula is built
// on: latitude = pi/2 - 2 atan u, so sin(latitude) = (1 - u^2) / (1 + u^2) and a round's
// change is 2 atan((u - u') / (1 + u u')). Each round then costs one arc tangent
// instead of a sine, a power and an arc tangent; the rounds, their changes and the
// stopping test are the iteration's own.
LatitudeWithTrig LatitudeFromConformalFactor(const CSpheroid& s, double t) {
  // The iteration in the latitude also takes what u^2 would overflow on (a position
  // 1e150 times the cone's radius away), and anything not a number.
  if (!(s.m_E <= kSeriesEccentricity) || !(t >= 0.0 && t <= 1e150)) {
    return LatitudeFromConformalFactorInLatitude(s, t);
  }
  double u = t;
  bool converged = false;
  for (int round = 0; round < kIterationLimit && !converged; ++round) {
    const double sine = (1.0 - u * u) / (1.0 + u * u);
    const double next = t * EccentricityPower(s.m_E, s.m_E * sine);
    const double change = 2.0 * std::fabs(std::atan((u - next) / (1.0 + u * next)));
    u = next;
    converged = change <= kIterationTolerance;
  }
  return {kHalfPi - 2.0 * std::atan(u), 0.0, 1.0, converged};
}

ProjectionStatus TwoParallelInverse(const CProjection& p, double easting, double northing,
                                    const GeogOutputs& out) {
  const double x = easting - p.m_FalseEasting;
  const double y = northing - p.m_FalseNorthing;
  const auto& param = p.m_Param;
  const double n = param[kTwoParallelCone];
  const double dy = param[kTwoParallelOriginRadius] - y;
  double r = std::sqrt(x * x + dy * dy);
  if (n < 0.0) r = -r;
  if (!IsCone(n, param[kTwoParallelRadiusFactor])) return ProjectionStatus::kInvalidProjection;
  const double t = std::pow(r / param[kTwoParallelRadiusFactor], 1.0 / n);
  const double theta = std::atan2(x, dy);
  if (out.longitude != nullptr) *out.longitude = theta / n + p.m_CentralMeridian;
  bool converged = true;
  if (out.latitude != nullptr) {
    const LatitudeWithTrig found = LatitudeFromConformalFactor(*p.m_Spheroid, t);
    *out.latitude = found.latitude;
    converged = found.converged;
  }
  if (out.convergence != nullptr) *out.convergence = 0.0;
  if (out.scale != nullptr) *out.scale = 0.0;
  return converged ? ProjectionStatus::kOk : ProjectionStatus::kNoConvergence;
}

// Sine of the latitude of an isometric latitude: Newton's method from the spherical
// value, three steps and no test; that is down to rounding from 5 to 89 degrees.
double SineFromIsometric(const CSpheroid& s, double psi) {
  const double exp2 = std::exp(2.0 * psi);
  double sine = (exp2 - 1.0) / (exp2 + 1.0);
  const double e = s.m_E;
  const double e2 = s.m_E2;
  for (int step = 0; step < 3; ++step) {
    const double f = 0.5 * std::log((1.0 + sine) / (1.0 - sine)) -
                     s.m_HalfE * std::log((1.0 + e * sine) / (1.0 - e * sine)) - psi;
    const double slope = 1.0 / (1.0 - sine * sine) - e2 / (1.0 - e2 * sine * sine);
    sine -= f / slope;
  }
  return sine;
}

ProjectionStatus UsaInverse(const CProjection& p, double easting, double northing,
                            const GeogOutputs& out) {
  const double x = easting - p.m_FalseEasting;
  const CSpheroid& s = *p.m_Spheroid;
  const auto& param = p.m_Param;
  if (!IsCone(param[kUsaCone], param[kUsaRadiusFactor])) {
    return ProjectionStatus::kInvalidProjection;
  }
  const double dy = param[kUsaApexNorthing] - northing;
  const double theta = std::atan2(x, dy);
  if (out.convergence != nullptr) *out.convergence = theta;
  if (out.longitude != nullptr) *out.longitude = theta / param[kUsaCone] + p.m_CentralMeridian;
  const double r = std::sqrt(x * x + dy * dy);
  if (out.latitude != nullptr) {
    const double sine =
        SineFromIsometric(s, std::log(param[kUsaRadiusFactor] / r) / param[kUsaCone]);
    const double latitude = std::asin(sine);
    *out.latitude = latitude;
    if (out.scale != nullptr) {
      *out.scale = r * param[kUsaCone] * std::sqrt(1.0 - s.m_E2 * sine * sine) /
                   (s.m_SemiMajorAxis * std::cos(latitude));
    }
  } else if (out.scale != nullptr) {
    // Without the latitude, the scale comes from the series about the parallel of
    // least scale in the northing alone.
    const double d = northing - param[kUsaLeastScaleNorthing];
    const double rc = param[kUsaLeastScaleRadius];
    *out.scale = d * d / (2.0 * rc * rc) + p.m_ScaleFactor +
                 d * d * d * param[kUsaLeastScaleTangent] / (6.0 * rc * rc * rc);
  }
  return ProjectionStatus::kOk;
}

void InitialiseTwoParallels(CProjection& p) {
  InitialiseTwoParallelCone(p);
  InitialiseOneParallelSeries(p);
}

}  // namespace

const ProjectionMaths kLambertOneParallelMaths = {
    .initialise = InitialiseOneParallelSeries,
    .forward = OneParallelForward,
    .inverse = OneParallelInverse,
};

const ProjectionMaths kLambertTwoParallelMaths = {
    .initialise = InitialiseTwoParallels,
    .forward = TwoParallelForward,
    .inverse = TwoParallelInverse,
};

const ProjectionMaths kLambertUsaMaths = {
    .initialise = InitialiseUsaCone,
    .forward = UsaForward,
    .inverse = UsaInverse,
};

}  // namespace orvale::projection
