// Transverse Mercator by Krüger's series in the third flattening n, to n^6 (Karney,
// "Transverse Mercator with an accuracy of a few nanometers", J. Geodesy 85 (2011),
// eqs. 35-36): types 0-4 and state plane method 0, and the projection underneath the
// Norwegian and Danish national grids. The published form of these grids is
// Redfearn's series, to the 4th power of the longitude difference in northing and the
// 5th in easting, with an inverse from the footpoint latitude to the same order: it
// loses 2.5 mm at 3 degrees from the central meridian, 14 mm at 4 and 0.16 m at 6, and
// its inverse misses the Ordnance Survey's Caister example by 14.6 mm. Krüger's series
// to n^6 is exact to well under a micrometre out to 6 degrees and beyond, forward and
// back; its convergence and point scale come from the derivative of the same series,
// so the three outputs describe one and the same mapping.
//
// The mapping: the geodetic latitude goes to the conformal latitude (tau' = tan chi),
// the Gauss-Schreiber transverse Mercator of the conformal sphere gives
// zeta' = xi' + i eta', and zeta = zeta' + sum alpha_j sin 2j zeta' is the ellipsoidal
// one, scaled by the rectifying radius A. The inverse takes the beta series the other
// way and recovers tau from tau' by Newton's method; it has no footpoint iteration, so
// the latitude a caller passes in to seed one is not read. The angle sums are complex
// Clenshaw recurrences, so each point costs a handful of transcendental calls.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <numbers>
#include <type_traits>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

// The runs go through fixed-width lanes of points written as vector loops. Where
// glibc's vector maths (libmvec) is linked, its vector forms of these functions are
// declared, so that the loops run as vector code, in AVX-512 where the processor has
// it; each lane's result is the same whatever the other lanes hold, and a single point
// goes through the same lanes, so a run and the single-point entry agree to the bit.
#ifdef ORVALE_VECTOR_MATHS
extern "C" {
#pragma omp declare simd notinbranch
double sin(double) noexcept;
#pragma omp declare simd notinbranch
double cos(double) noexcept;
#pragma omp declare simd notinbranch
double exp(double) noexcept;
#pragma omp declare simd notinbranch
double atan(double) noexcept;
#pragma omp declare simd notinbranch
double atanh(double) noexcept;
#pragma omp declare simd notinbranch
double asinh(double) noexcept;
#pragma omp declare simd notinbranch
double atan2(double, double) noexcept;
}
#define ORVALE_VECTOR_LOOP _Pragma("omp simd")
#define ORVALE_VECTOR_CLONES __attribute__((target_clones("avx512f", "default")))
#else
#define ORVALE_VECTOR_LOOP
#define ORVALE_VECTOR_CLONES
#endif

namespace orvale::projection {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kOrder = 6;
using Coefficients = std::array<double, kOrder>;

// Karney 2011, eq. 35: alpha_j as polynomials in n, coefficients of n^1 ... n^6.
constexpr std::array<Coefficients, kOrder> kAlpha = {{
    {1.0 / 2, -2.0 / 3, 5.0 / 16, 41.0 / 180, -127.0 / 288, 7891.0 / 37800},
    {0.0, 13.0 / 48, -3.0 / 5, 557.0 / 1440, 281.0 / 630, -1983433.0 / 1935360},
    {0.0, 0.0, 61.0 / 240, -103.0 / 140, 15061.0 / 26880, 167603.0 / 181440},
    {0.0, 0.0, 0.0, 49561.0 / 161280, -179.0 / 168, 6601661.0 / 7257600},
    {0.0, 0.0, 0.0, 0.0, 34729.0 / 80640, -3418889.0 / 1995840},
    {0.0, 0.0, 0.0, 0.0, 0.0, 212378941.0 / 319334400},
}};

// Karney 2011, eq. 36: beta_j likewise.
constexpr std::array<Coefficients, kOrder> kBeta = {{
    {1.0 / 2, -2.0 / 3, 37.0 / 96, -1.0 / 360, -81.0 / 512, 96199.0 / 604800},
    {0.0, 1.0 / 48, 1.0 / 15, -437.0 / 1440, 46.0 / 105, -1118711.0 / 3870720},
    {0.0, 0.0, 17.0 / 480, -37.0 / 840, -209.0 / 4480, 5569.0 / 90720},
    {0.0, 0.0, 0.0, 4397.0 / 161280, -11.0 / 504, -830251.0 / 7257600},
    {0.0, 0.0, 0.0, 0.0, 4583.0 / 161280, -108847.0 / 3991680},
    {0.0, 0.0, 0.0, 0.0, 0.0, 20648693.0 / 638668800},
}};

// What one spheroid and origin latitude make of the series, worked out once.
struct KrugerSeries {
  // What the values were worked out for.
  double semi_major_axis = kNaN;
  double e2 = kNaN;
  double origin_latitude = kNaN;

  double e = 0.0;
  bool by_series = true;  // e within kSeriesEccentricity
  double one_minus_e2 = 1.0;
  double radius = 0.0;                  // the rectifying radius A
  double radius_ratio = 1.0;            // A / a
  Coefficients alpha{}, alpha_slope{};  // alpha_j and 2j alpha_j
  Coefficients beta{}, beta_slope{};    // beta_j and 2j beta_j
  double origin_xi = 0.0;               // xi of the origin on the central meridian
};

double Polynomial(const Coefficients& c, double n) {
  double sum = 0.0;
  for (int j = kOrder - 1; j >= 0; --j)
    sum = (sum + c[static_cast<std::size_t>(j)]) * n;
  return sum;
}

// cosh and sinh of e atanh(e sin(phi)), the step from the geodetic to the conformal
// latitude. Within kSeriesEccentricity (every terrestrial spheroid) by the series of
// exp and atanh, which are exact there and cost no call; beyond it by the functions.
struct HyperbolicPair {
  double cosh, sinh;
};

template <bool kBySeries>
[[gnu::always_inline]] inline HyperbolicPair EccentricityTurn(const KrugerSeries& k,
                                                              double sin_lat) {
  const double x = k.e * sin_lat;
  double grow = 0.0, shrink = 0.0;
  if constexpr (kBySeries) {
    grow = EccentricityPower(k.e, -x);  // exp(e atanh x)
    shrink = EccentricityPower(k.e, x);
  } else {
    grow = std::exp(k.e * std::atanh(x));
    shrink = 1.0 / grow;
  }
  return {0.5 * (grow + shrink), 0.5 * (grow - shrink)};
}

// A complex Clenshaw sum over the angles 2j zeta: with 2 cos(2 zeta) = (xr, xi), the
// recurrence y_j = c_j + 2 cos(2 zeta) y_(j+1) - y_(j+2) leaves y_1 and y_2, from which
// sum c_j sin 2j zeta = y_1 sin 2 zeta and sum c_j cos 2j zeta = y_1 cos 2 zeta - y_2.
struct Clenshaw {
  double r1 = 0.0, i1 = 0.0;  // y_1
  double r2 = 0.0, i2 = 0.0;  // y_2
};

[[gnu::always_inline]] inline Clenshaw ClenshawOf(const Coefficients& c, double xr, double xi) {
  Clenshaw y;
  for (int j = kOrder - 1; j >= 0; --j) {
    const double r = c[static_cast<std::size_t>(j)] + xr * y.r1 - xi * y.i1 - y.r2;
    const double i = xr * y.i1 + xi * y.r1 - y.i2;
    y.r2 = y.r1;
    y.i2 = y.i1;
    y.r1 = r;
    y.i1 = i;
  }
  return y;
}

// sin 2 zeta and cos 2 zeta from the doubled angles of zeta = xi + i eta.
struct DoubleAngle {
  double sin_r, sin_i;  // sin 2 zeta
  double cos_r, cos_i;  // cos 2 zeta
};

[[gnu::always_inline]] inline DoubleAngle DoubleAngleOf(double sin2xi, double cos2xi,
                                                        double sinh2eta, double cosh2eta) {
  return {sin2xi * cosh2eta, cos2xi * sinh2eta, cos2xi * cosh2eta, -sin2xi * sinh2eta};
}

// zeta + sign * sum c_j sin 2j zeta.
struct Zeta {
  double xi, eta;
};

[[gnu::always_inline]] inline Zeta SumSeries(const Coefficients& c, double sign, double xi,
                                             double eta, const DoubleAngle& d) {
  const Clenshaw y = ClenshawOf(c, 2.0 * d.cos_r, 2.0 * d.cos_i);
  const double sum_r = y.r1 * d.sin_r - y.i1 * d.sin_i;
  const double sum_i = y.r1 * d.sin_i + y.i1 * d.sin_r;
  return {xi + sign * sum_r, eta + sign * sum_i};
}

// Its derivative, 1 + sign * sum slope_j cos 2j zeta (slope_j = 2j c_j), wanted only
// for the convergence and the scale.
[[gnu::always_inline]] inline Zeta SumSlope(const Coefficients& slope, double sign,
                                            const DoubleAngle& d) {
  const Clenshaw z = ClenshawOf(slope, 2.0 * d.cos_r, 2.0 * d.cos_i);
  const double slope_r = z.r1 * d.cos_r - z.i1 * d.cos_i - z.r2;
  const double slope_i = z.r1 * d.cos_i + z.i1 * d.cos_r - z.i2;
  return {1.0 + sign * slope_r, sign * slope_i};
}

// The forward of a point whose longitude difference dl is within a quarter turn: xi
// and eta (in units of A), and the convergence and the point scale over k0 (NaN
// unless kFactors).
struct ForwardResult {
  double xi, eta, convergence, scale;
};

template <bool kBySeries, bool kFactors>
[[gnu::always_inline]] inline ForwardResult ForwardSeries(const KrugerSeries& k, double latitude,
                                                          double dl) {
  const double sin_lat = std::sin(latitude), cos_lat = std::cos(latitude);
  const double sin_dl = std::sin(dl), cos_dl = std::cos(dl);
  // Everything in the Gauss-Schreiber step is taken times cos(phi), so that the poles
  // need no case of their own: t = tau' cos, c = cos cos(dl), s = cos sin(dl),
  // u = sqrt(1 + tau'^2) cos and r^2 = (tau'^2 + cos^2(dl)) cos^2.
  const HyperbolicPair turn = EccentricityTurn<kBySeries>(k, sin_lat);
  const double t = sin_lat * turn.cosh - turn.sinh;
  const double c = cos_lat * cos_dl;
  const double s = cos_lat * sin_dl;
  const double u = std::sqrt(t * t + cos_lat * cos_lat);
  const double r2 = t * t + c * c;
  const double inverse_r2 = 1.0 / r2;
  const double xi = std::atan2(t, c);
  const double eta = std::asinh(s * std::sqrt(inverse_r2));
  const DoubleAngle d = DoubleAngleOf(2.0 * t * c * inverse_r2, (c * c - t * t) * inverse_r2,
                                      2.0 * s * u * inverse_r2, (u * u + s * s) * inverse_r2);
  const Zeta z = SumSeries(k.alpha, 1.0, xi, eta, d);
  if constexpr (!kFactors) {
    return {z.xi, z.eta, kNaN, kNaN};
  } else {
    const Zeta slope = SumSlope(k.alpha_slope, 1.0, d);
    // The sphere's convergence atan(tau' tan(dl) / sqrt(1 + tau'^2)) plus the
    // series' turn, arg of conj(dzeta/dzeta'), as one angle.
    const double wr = cos_dl * u, wi = t * sin_dl;
    const double convergence =
        std::atan2(wi * slope.xi - wr * slope.eta, wr * slope.xi + wi * slope.eta);
    // The sphere's scale sqrt(1 - e^2 sin^2) sqrt(1 + tau^2) / sqrt(tau'^2 + cos^2(dl))
    // times |dzeta/dzeta'| A / a.
    const double curvature = 1.0 - k.e2 * sin_lat * sin_lat;
    const double slope2 = slope.xi * slope.xi + slope.eta * slope.eta;
    return {z.xi, z.eta, convergence, k.radius_ratio * std::sqrt(curvature * inverse_r2 * slope2)};
  }
}

// One step of Newton's method for tau from tau' (Karney 2011, eqs. 7-9).
template <bool kBySeries>
[[gnu::always_inline]] inline double NewtonStep(const KrugerSeries& k, double taup, double tau) {
  const double secant = std::sqrt(1.0 + tau * tau);
  const HyperbolicPair turn = EccentricityTurn<kBySeries>(k, tau / secant);
  const double taupi = tau * turn.cosh - turn.sinh * secant;
  return tau + (taup - taupi) / std::sqrt(1.0 + taupi * taupi) *
                   (1.0 + k.one_minus_e2 * tau * tau) / (k.one_minus_e2 * secant);
}

// tau from tau': from tau' / (1 - e^2), two steps meet tau to the last bit for any
// terrestrial eccentricity (the start is off by about e^4). Written out, not as a
// loop, so that the lanes stay one straight run of operations.
template <bool kBySeries>
[[gnu::always_inline]] inline double TauOfConformal(const KrugerSeries& k, double taup) {
  return NewtonStep<kBySeries>(k, taup, NewtonStep<kBySeries>(k, taup, taup / k.one_minus_e2));
}

// The inverse of xi and eta (units of A): latitude, longitude difference from the
// central meridian, convergence and point scale over k0 (NaN unless kFactors), and
// whether the point lies beyond the quarter turn either side of the central meridian
// (over the pole, or past the singular points on the equator), where there is none.
struct InverseResult {
  double latitude, dl, convergence, scale;
  double xi, eta;  // xi' and eta', which tell a point beyond the quarter turn
};

template <bool kBySeries, bool kFactors>
[[gnu::always_inline]] inline InverseResult InverseSeries(const KrugerSeries& k, double xi,
                                                          double eta) {
  // The functions of 2 xi and 2 eta follow from those of xi and eta.
  const double sin_xi0 = std::sin(xi), cos_xi0 = std::cos(xi);
  const double grow0 = std::exp(eta);
  const double grow2 = grow0 * grow0;
  const DoubleAngle d =
      DoubleAngleOf(2.0 * sin_xi0 * cos_xi0, (cos_xi0 - sin_xi0) * (cos_xi0 + sin_xi0),
                    0.5 * (grow2 - 1.0 / grow2), 0.5 * (grow2 + 1.0 / grow2));
  const Zeta z = SumSeries(k.beta, -1.0, xi, eta, d);
  InverseResult result{kNaN, kNaN, kNaN, kNaN, z.xi, z.eta};
  const double sin_xi = std::sin(z.xi), cos_xi = std::cos(z.xi);
  const double grow = std::exp(z.eta);
  const double sinh_eta = 0.5 * (grow - 1.0 / grow);
  const double cosh_eta = 0.5 * (grow + 1.0 / grow);
  // r is 0 at the poles, where tau' is infinite: the tiny addend (which moves no r
  // but one within 1e-134 of a pole) keeps tau' finite there, and Newton's method
  // and the scale's tau r meet their limits without a case of their own (a case
  // would keep the lanes from running as vector code).
  const double r = std::sqrt(sinh_eta * sinh_eta + cos_xi * cos_xi) + 1e-150;
  const double tau = TauOfConformal<kBySeries>(k, sin_xi / r);
  result.latitude = std::atan(tau);
  result.dl = std::atan2(sinh_eta, cos_xi);
  if constexpr (kFactors) {
    const Zeta slope = SumSlope(k.beta_slope, -1.0, d);
    // The sphere's convergence atan(tan xi' tanh eta') plus the series' turn.
    const double wr = cos_xi * cosh_eta, wi = sin_xi * sinh_eta;
    result.convergence = std::atan2(wi * slope.xi + wr * slope.eta, wr * slope.xi - wi * slope.eta);
    // The sphere's scale sqrt(1 + (1 - e^2) tau^2) r over |dzeta'/dzeta| a / A; tau r
    // is finite at the pole, where tau is not.
    const double tau_r = tau * r;
    const double slope2 = slope.xi * slope.xi + slope.eta * slope.eta;
    result.scale = k.radius_ratio * std::sqrt((r * r + k.one_minus_e2 * tau_r * tau_r) / slope2);
  }
  return result;
}

KrugerSeries MakeSeries(double a, double e2, double origin_latitude) {
  KrugerSeries k;
  k.semi_major_axis = a;
  k.e2 = e2;
  k.origin_latitude = origin_latitude;
  k.e = std::sqrt(e2);
  k.by_series = k.e <= kSeriesEccentricity;
  k.one_minus_e2 = 1.0 - e2;
  const double b_over_a = std::sqrt(1.0 - e2);
  const double n = (1.0 - b_over_a) / (1.0 + b_over_a);
  const double n2 = n * n;
  k.radius_ratio = (1.0 + n2 / 4.0 + n2 * n2 / 64.0 + n2 * n2 * n2 / 256.0) / (1.0 + n);
  k.radius = a * k.radius_ratio;
  for (std::size_t j = 0; j < kOrder; ++j) {
    const double twice_order = 2.0 * static_cast<double>(j + 1);
    k.alpha[j] = Polynomial(kAlpha[j], n);
    k.beta[j] = Polynomial(kBeta[j], n);
    k.alpha_slope[j] = twice_order * k.alpha[j];
    k.beta_slope[j] = twice_order * k.beta[j];
  }
  if (origin_latitude != 0.0) {
    k.origin_xi = k.by_series ? ForwardSeries<true, false>(k, origin_latitude, 0.0).xi
                              : ForwardSeries<false, false>(k, origin_latitude, 0.0).xi;
  }
  return k;
}

static_assert(std::is_trivially_copyable_v<KrugerSeries>);
static_assert(sizeof(KrugerSeries) <= sizeof(CProjection::m_MethodConstants));

// The origin latitude the series count northings from: the Danish grid counts its
// northings from the equator (its m_M0 is 0), whatever the origin of its record.
double SeriesOrigin(const CProjection& p) {
  return p.m_M0 == 0.0 ? 0.0 : p.m_OriginLatitude;
}

// The series the set-up worked out for the projection's spheroid and origin; worked
// out afresh (on the caller's stack) when the record has been changed since.
KrugerSeries SeriesOf(const CProjection& p) {
  KrugerSeries k;
  std::memcpy(&k, p.m_MethodConstants.data(), sizeof k);
  const double a = p.m_Spheroid->m_SemiMajorAxis, e2 = p.m_Spheroid->m_E2;
  const double origin = SeriesOrigin(p);
  if (k.semi_major_axis == a && k.e2 == e2 && k.origin_latitude == origin) return k;
  return MakeSeries(a, e2, origin);
}

// How far from the central meridian (eta, in units of A) the series hold. Their
// terms grow as cosh(2j eta): near the equator the forward is within a micrometre of
// the exact mapping at 60 degrees of longitude (eta 1.32) and 5 mm at 70 (eta 1.74),
// and thousands of kilometres off at 85. At 1.6 (about 66 degrees on the equator, and
// more away from it) they are within a millimetre; beyond it there is no result.
constexpr double kSeriesReach = 1.6;

// Points go through the series this many at a time, side by side: one AVX-512 vector.
constexpr std::size_t kLanes = 8;
using Lanes = std::array<double, kLanes>;

// The inputs of a set of lanes and what the series make of them. Lanes without a
// point of their own hold (0, 0).
struct ForwardLanes {
  Lanes latitude{}, dl{};
  Lanes xi{}, eta{}, convergence{}, scale{};
};

struct InverseLanes {
  Lanes xi{}, eta{};
  Lanes latitude{}, dl{}, convergence{}, scale{};
  Lanes far_xi{}, far_eta{};  // xi' and eta'
};

// Always inlined, so that each clone below gets the loops in its own instruction set.
template <bool kBySeries, bool kFactors>
[[gnu::always_inline]] inline void ForwardAll(const KrugerSeries& k, ForwardLanes& l) {
  ORVALE_VECTOR_LOOP
  for (std::size_t i = 0; i < kLanes; ++i) {
    const ForwardResult f = ForwardSeries<kBySeries, kFactors>(k, l.latitude[i], l.dl[i]);
    l.xi[i] = f.xi;
    l.eta[i] = f.eta;
    l.convergence[i] = f.convergence;
    l.scale[i] = f.scale;
  }
}

template <bool kBySeries, bool kFactors>
[[gnu::always_inline]] inline void InverseAll(const KrugerSeries& k, InverseLanes& l) {
  ORVALE_VECTOR_LOOP
  for (std::size_t i = 0; i < kLanes; ++i) {
    const InverseResult g = InverseSeries<kBySeries, kFactors>(k, l.xi[i], l.eta[i]);
    l.latitude[i] = g.latitude;
    l.dl[i] = g.dl;
    l.convergence[i] = g.convergence;
    l.scale[i] = g.scale;
    l.far_xi[i] = g.xi;
    l.far_eta[i] = g.eta;
  }
}

// Every lane of a set through the series, as vector code where the processor has
// AVX-512 (a clone for it and one for any other processor, chosen at load time).
ORVALE_VECTOR_CLONES void ForwardLanesOf(const KrugerSeries& k, bool factors, ForwardLanes& l) {
  if (k.by_series) {
    factors ? ForwardAll<true, true>(k, l) : ForwardAll<true, false>(k, l);
  } else {
    factors ? ForwardAll<false, true>(k, l) : ForwardAll<false, false>(k, l);
  }
}

ORVALE_VECTOR_CLONES void InverseLanesOf(const KrugerSeries& k, bool factors, InverseLanes& l) {
  if (k.by_series) {
    factors ? InverseAll<true, true>(k, l) : InverseAll<true, false>(k, l);
  } else {
    factors ? InverseAll<false, true>(k, l) : InverseAll<false, false>(k, l);
  }
}

// The south-orientated grid counts westwards and southwards from its false origin.
double OrientationOf(const CProjection& p) {
  return p.m_Type == PROJECTION_TM_SOUTH_ORIENTATED ? -1.0 : 1.0;
}

void Store(double* array, std::size_t i, double value) {
  if (array != nullptr) array[i] = value;
}

// Up to kLanes points forward: the entry checks, the series, and the outputs. A point
// that is not made of numbers, or more than a quarter turn from the central meridian,
// gets NaN outputs and its status.
void ForwardSet(const CProjection& p, const KrugerSeries& k, const GridRun& run) {
  ForwardLanes lanes;
  std::array<ProjectionStatus, kLanes> status{};
  // Inputs first, all of them: the outputs may overlay them.
  for (std::size_t i = 0; i < run.count; ++i) {
    const double latitude = run.latitudes[i], longitude = run.longitudes[i];
    status[i] = CheckGeogInput(latitude, longitude);
    if (status[i] != ProjectionStatus::kOk) continue;
    const double dl = WrapToHalfTurn(longitude - p.m_CentralMeridian);
    if (std::fabs(dl) > kHalfPi) {
      status[i] = ProjectionStatus::kFarFromCentralMeridian;
      continue;
    }
    lanes.latitude[i] = latitude;
    lanes.dl[i] = dl;
  }
  ForwardLanesOf(k, run.convergences != nullptr || run.scales != nullptr, lanes);
  const double k0 = p.m_ScaleFactor, orientation = OrientationOf(p);
  for (std::size_t i = 0; i < run.count; ++i) {
    if (status[i] == ProjectionStatus::kOk && !(std::fabs(lanes.eta[i]) <= kSeriesReach)) {
      status[i] = ProjectionStatus::kOutsideDomain;
    }
    const bool ok = status[i] == ProjectionStatus::kOk;
    const double northing =
        orientation * (k0 * k.radius * (lanes.xi[i] - k.origin_xi) + p.m_FalseNorthing);
    const double easting = orientation * (k0 * k.radius * lanes.eta[i] + p.m_FalseEasting);
    Store(run.northings, i, ok ? northing : kNaN);
    Store(run.eastings, i, ok ? easting : kNaN);
    Store(run.convergences, i, ok ? lanes.convergence[i] : kNaN);
    Store(run.scales, i, ok ? k0 * lanes.scale[i] : kNaN);
    // As the single-point entry's common exit: a grid position that is not made of
    // finite numbers is no result.
    if (ok && !(std::isfinite(easting) && std::isfinite(northing))) {
      status[i] = ProjectionStatus::kOutsideDomain;
    }
    if (run.statuses != nullptr) run.statuses[i] = status[i];
  }
}

void InverseSet(const CProjection& p, const KrugerSeries& k, const GeogRun& run) {
  InverseLanes lanes;
  std::array<ProjectionStatus, kLanes> status{};
  // The south-orientated negation first (the forward negated the false origin too).
  const double orientation = OrientationOf(p);
  const double scaled_radius = p.m_ScaleFactor * k.radius;
  for (std::size_t i = 0; i < run.count; ++i) {
    const double easting = run.eastings[i], northing = run.northings[i];
    status[i] = CheckGridInput(easting, northing);
    if (status[i] != ProjectionStatus::kOk) continue;
    lanes.xi[i] = (orientation * northing - p.m_FalseNorthing) / scaled_radius + k.origin_xi;
    lanes.eta[i] = (orientation * easting - p.m_FalseEasting) / scaled_radius;
    if (!(std::fabs(lanes.eta[i]) <= kSeriesReach)) {
      status[i] = ProjectionStatus::kOutsideDomain;
      lanes.xi[i] = lanes.eta[i] = 0.0;
    }
  }
  InverseLanesOf(k, run.convergences != nullptr || run.scales != nullptr, lanes);
  for (std::size_t i = 0; i < run.count; ++i) {
    // Over the pole, or past the singular points on the equator (beyond the quarter
    // turn either side of the central meridian), there is no point.
    if (status[i] == ProjectionStatus::kOk && !(std::fabs(lanes.far_xi[i]) <= kHalfPi)) {
      status[i] = ProjectionStatus::kBeyondPole;
    } else if (status[i] == ProjectionStatus::kOk && std::isnan(lanes.far_eta[i])) {
      status[i] = ProjectionStatus::kFarFromCentralMeridian;
    }
    const bool ok = status[i] == ProjectionStatus::kOk;
    Store(run.latitudes, i, ok ? lanes.latitude[i] : kNaN);
    Store(run.longitudes, i, ok ? WrapToHalfTurn(p.m_CentralMeridian + lanes.dl[i]) : kNaN);
    Store(run.convergences, i, ok ? lanes.convergence[i] : kNaN);
    Store(run.scales, i, ok ? p.m_ScaleFactor * lanes.scale[i] : kNaN);
    // As the single-point entry's common exit rules.
    if (ok) status[i] = ApplyGeogExitRules(run.OutputsAt(i));
    if (run.statuses != nullptr) run.statuses[i] = status[i];
  }
}

}  // namespace

void InitialiseTransverseMercator(CProjection& p) {
  const KrugerSeries k =
      MakeSeries(p.m_Spheroid->m_SemiMajorAxis, p.m_Spheroid->m_E2, SeriesOrigin(p));
  std::memcpy(p.m_MethodConstants.data(), &k, sizeof k);
}

ProjectionStatus TransverseMercatorForward(const CProjection& p, const GeogPoint& g,
                                           const GridOutputs& out) {
  ProjectionStatus status = ProjectionStatus::kOk;
  const GridRun one{&g.latitude,     &g.longitude, out.easting, out.northing,
                    out.convergence, out.scale,    &status,     1};
  ForwardSet(p, SeriesOf(p), one);
  return status;
}

ProjectionStatus TransverseMercatorInverse(const CProjection& p, double easting, double northing,
                                           const GeogOutputs& out) {
  ProjectionStatus status = ProjectionStatus::kOk;
  const GeogRun one{&easting,        &northing, out.latitude, out.longitude,
                    out.convergence, out.scale, &status,      1};
  InverseSet(p, SeriesOf(p), one);
  return status;
}

namespace {

bool ForwardRun(const CProjection& p, const GridRun& run) {
  const KrugerSeries k = SeriesOf(p);
  for (std::size_t first = 0; first < run.count; first += kLanes) {
    ForwardSet(p, k, SliceOf(run, first, std::min(kLanes, run.count - first)));
  }
  return true;
}

bool InverseRun(const CProjection& p, const GeogRun& run) {
  const KrugerSeries k = SeriesOf(p);
  for (std::size_t first = 0; first < run.count; first += kLanes) {
    InverseSet(p, k, SliceOf(run, first, std::min(kLanes, run.count - first)));
  }
  return true;
}

}  // namespace

void StoreTransverseMercatorSeries(TransverseMercatorBlock& block, double semi_major_axis,
                                   double e2, double origin_latitude) {
  static_assert(sizeof(KrugerSeries) <= sizeof(TransverseMercatorBlock));
  const KrugerSeries k = MakeSeries(semi_major_axis, e2, origin_latitude);
  std::memcpy(block.data(), &k, sizeof k);
}

void TransverseMercatorOffsets(const TransverseMercatorBlock& block, double latitude, double dl,
                               double& east, double& north) {
  KrugerSeries k;
  std::memcpy(&k, block.data(), sizeof k);
  const ForwardResult f = k.by_series ? ForwardSeries<true, false>(k, latitude, dl)
                                      : ForwardSeries<false, false>(k, latitude, dl);
  east = k.radius * f.eta;
  north = k.radius * (f.xi - k.origin_xi);
}

void TransverseMercatorFromOffsets(const TransverseMercatorBlock& block, double east, double north,
                                   double& latitude, double& dl) {
  KrugerSeries k;
  std::memcpy(&k, block.data(), sizeof k);
  const double xi = north / k.radius + k.origin_xi, eta = east / k.radius;
  const InverseResult g = k.by_series ? InverseSeries<true, false>(k, xi, eta)
                                      : InverseSeries<false, false>(k, xi, eta);
  latitude = g.latitude;
  dl = g.dl;
}

const ProjectionMaths kTransverseMercatorMaths = {
    .initialise = InitialiseTransverseMercator,
    .forward = TransverseMercatorForward,
    .inverse = TransverseMercatorInverse,
    .forward_run = ForwardRun,
    .inverse_run = InverseRun,
};

}  // namespace orvale::projection
