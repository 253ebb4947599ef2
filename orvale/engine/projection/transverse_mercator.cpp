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
// way and recovers tau from tau' by Newton's method. The angle sums are complex
// Clenshaw recurrences, so each point costs a handful of transcendental calls.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_methods.h"

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

// Newton's method from tau' / (1 - e^2) meets tau to the last bit in two rounds for
// any terrestrial eccentricity (the start is off by about e^4).
constexpr int kNewtonRounds = 2;

// What one spheroid and origin latitude make of the series, worked out once.
struct KrugerSeries {
  // What the values were worked out for.
  double semi_major_axis = kNaN;
  double e2 = kNaN;
  double origin_latitude = kNaN;

  double e = 0.0;
  double one_minus_e2 = 1.0;
  double radius = 0.0;                  // the rectifying radius A
  double radius_ratio = 1.0;            // A / a
  Coefficients alpha{}, alpha_slope{};  // alpha_j and 2j alpha_j
  Coefficients beta{}, beta_slope{};    // beta_j and 2j beta_j
  double origin_xi = 0.0;               // xi of the origin on the central meridian
  double pole_ratio = 1.0;              // tau / tau' at the pole
};

double Polynomial(const Coefficients& c, double n) {
  double sum = 0.0;
  for (int j = kOrder - 1; j >= 0; --j)
    sum = (sum + c[static_cast<std::size_t>(j)]) * n;
  return sum;
}

// tau' cos(phi): the conformal latitude's tangent times the cosine of the latitude,
// finite at the poles.
inline double ConformalTangentTimesCosine(const KrugerSeries& k, double sin_lat) {
  const double ea = k.e * std::atanh(k.e * sin_lat);
  const double grow = std::exp(ea);
  const double shrink = 1.0 / grow;
  return sin_lat * (0.5 * (grow + shrink)) - 0.5 * (grow - shrink);
}

// A complex Clenshaw sum over the angles 2j zeta: with 2 cos(2 zeta) = (xr, xi), the
// recurrence y_j = c_j + 2 cos(2 zeta) y_(j+1) - y_(j+2) leaves y_1 and y_2, from which
// sum c_j sin 2j zeta = y_1 sin 2 zeta and sum c_j cos 2j zeta = y_1 cos 2 zeta - y_2.
struct Clenshaw {
  double r1 = 0.0, i1 = 0.0;  // y_1
  double r2 = 0.0, i2 = 0.0;  // y_2
};

inline Clenshaw ClenshawOf(const Coefficients& c, double xr, double xi) {
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

inline DoubleAngle DoubleAngleOf(double sin2xi, double cos2xi, double sinh2eta, double cosh2eta) {
  return {sin2xi * cosh2eta, cos2xi * sinh2eta, cos2xi * cosh2eta, -sin2xi * sinh2eta};
}

// zeta + sign * sum c_j sin 2j zeta, and 1 + sign * sum slope_j cos 2j zeta (its
// derivative).
struct SeriesResult {
  double xi, eta;
  double slope_r, slope_i;
};

inline SeriesResult SumSeries(const Coefficients& c, const Coefficients& slope, double sign,
                              double xi, double eta, const DoubleAngle& d) {
  const double xr = 2.0 * d.cos_r, xim = 2.0 * d.cos_i;
  const Clenshaw y = ClenshawOf(c, xr, xim);
  const Clenshaw z = ClenshawOf(slope, xr, xim);
  const double sum_r = y.r1 * d.sin_r - y.i1 * d.sin_i;
  const double sum_i = y.r1 * d.sin_i + y.i1 * d.sin_r;
  const double slope_r = z.r1 * d.cos_r - z.i1 * d.cos_i - z.r2;
  const double slope_i = z.r1 * d.cos_i + z.i1 * d.cos_r - z.i2;
  return {xi + sign * sum_r, eta + sign * sum_i, 1.0 + sign * slope_r, sign * slope_i};
}

// The forward of a point whose longitude difference is within a quarter turn: xi and
// eta (in units of A), convergence and the point scale over k0.
struct ForwardResult {
  double xi, eta, convergence, scale;
};

inline ForwardResult ForwardSeries(const KrugerSeries& k, double sin_lat, double cos_lat,
                                   double sin_dl, double cos_dl) {
  // Everything in the Gauss-Schreiber step is taken times cos(phi), so that the poles
  // need no case of their own: T = tau' cos, C = cos cos(dl), S = cos sin(dl),
  // U = sqrt(1 + tau'^2) cos and r^2 = (tau'^2 + cos^2(dl)) cos^2.
  const double t = ConformalTangentTimesCosine(k, sin_lat);
  const double c = cos_lat * cos_dl;
  const double s = cos_lat * sin_dl;
  const double u = std::sqrt(t * t + cos_lat * cos_lat);
  const double r2 = t * t + c * c;
  const double inverse_r2 = 1.0 / r2;
  const double xi = std::atan2(t, c);
  const double eta = std::asinh(s * std::sqrt(inverse_r2));
  const DoubleAngle d = DoubleAngleOf(2.0 * t * c * inverse_r2, (c * c - t * t) * inverse_r2,
                                      2.0 * s * u * inverse_r2, (u * u + s * s) * inverse_r2);
  const SeriesResult z = SumSeries(k.alpha, k.alpha_slope, 1.0, xi, eta, d);
  // The sphere's convergence atan(tau' tan(dl) / sqrt(1 + tau'^2)) plus the series'
  // turn, arg of conj(dzeta/dzeta'), as one angle.
  const double wr = cos_dl * u, wi = t * sin_dl;
  const double convergence =
      std::atan2(wi * z.slope_r - wr * z.slope_i, wr * z.slope_r + wi * z.slope_i);
  // The sphere's scale sqrt(1 - e^2 sin^2) sqrt(1 + tau^2) / sqrt(tau'^2 + cos^2(dl))
  // times |dzeta/dzeta'| A / a.
  const double curvature = 1.0 - k.e2 * sin_lat * sin_lat;
  const double slope2 = z.slope_r * z.slope_r + z.slope_i * z.slope_i;
  const double scale = k.radius_ratio * std::sqrt(curvature * inverse_r2 * slope2);
  return {z.xi, z.eta, convergence, scale};
}

// tau from tau' (Karney 2011, eqs. 7-9, Newton's method).
inline double TauOfConformal(const KrugerSeries& k, double taup) {
  double tau = taup / k.one_minus_e2;
  for (int round = 0; round < kNewtonRounds; ++round) {
    const double secant = std::sqrt(1.0 + tau * tau);
    const double ea = k.e * std::atanh(k.e * tau / secant);
    const double grow = std::exp(ea);
    const double shrink = 1.0 / grow;
    const double sigma = 0.5 * (grow - shrink);
    const double taupi = tau * (0.5 * (grow + shrink)) - sigma * secant;
    const double step = (taup - taupi) / std::sqrt(1.0 + taupi * taupi) *
                        (1.0 + k.one_minus_e2 * tau * tau) / (k.one_minus_e2 * secant);
    tau += step;
  }
  // At a pole tau' is infinite and so is tau (the steps would make it NaN).
  return std::isfinite(taup) ? tau : taup;
}

// The inverse of xi and eta (units of A) with the longitude difference from the
// central meridian; false beyond the quarter turn either side of it (over the pole,
// or past the singular points on the equator).
struct InverseResult {
  double latitude, dl, convergence, scale;
};

inline bool InverseSeries(const KrugerSeries& k, double xi, double eta, InverseResult& result) {
  const double grow2 = std::exp(2.0 * eta);
  const double sinh2eta = 0.5 * (grow2 - 1.0 / grow2);
  const double cosh2eta = 0.5 * (grow2 + 1.0 / grow2);
  const DoubleAngle d = DoubleAngleOf(std::sin(2.0 * xi), std::cos(2.0 * xi), sinh2eta, cosh2eta);
  const SeriesResult z = SumSeries(k.beta, k.beta_slope, -1.0, xi, eta, d);
  if (!(std::fabs(z.xi) <= kHalfPi) || std::isnan(z.eta)) return false;
  const double sin_xi = std::sin(z.xi), cos_xi = std::cos(z.xi);
  const double grow = std::exp(z.eta);
  const double sinh_eta = 0.5 * (grow - 1.0 / grow);
  const double cosh_eta = 0.5 * (grow + 1.0 / grow);
  const double r = std::hypot(sinh_eta, cos_xi);
  const double tau = TauOfConformal(k, sin_xi / r);
  result.latitude = std::atan(tau);
  result.dl = std::atan2(sinh_eta, cos_xi);
  // The sphere's convergence atan(tan xi' tanh eta') plus the series' turn.
  const double wr = cos_xi * cosh_eta, wi = sin_xi * sinh_eta;
  result.convergence = std::atan2(wi * z.slope_r + wr * z.slope_i, wr * z.slope_r - wi * z.slope_i);
  // The sphere's scale sqrt(1 + (1 - e^2) tau^2) r over |dzeta'/dzeta| a / A; tau r
  // is finite at the pole, where tau is not.
  const double tau_r = r == 0.0 ? std::copysign(k.pole_ratio, sin_xi) : tau * r;
  const double slope2 = z.slope_r * z.slope_r + z.slope_i * z.slope_i;
  result.scale = k.radius_ratio * std::sqrt((r * r + k.one_minus_e2 * tau_r * tau_r) / slope2);
  return true;
}

KrugerSeries MakeSeries(double a, double e2, double origin_latitude) {
  KrugerSeries k;
  k.semi_major_axis = a;
  k.e2 = e2;
  k.origin_latitude = origin_latitude;
  k.e = std::sqrt(e2);
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
  // tau / tau' for tau -> infinity: 1 / (cosh - sinh)(e atanh e) = exp(e atanh e).
  k.pole_ratio = std::exp(k.e * std::atanh(k.e));
  if (origin_latitude != 0.0) {
    k.origin_xi =
        ForwardSeries(k, std::sin(origin_latitude), std::cos(origin_latitude), 0.0, 1.0).xi;
  }
  return k;
}

// The series of the projection's spheroid and origin, from a small cache of the ones
// last used: the record keeps no room for them (its parameter block is the user's for
// several types), and a run of points, or of calls on one grid, finds them at once.
// Per thread, so that no lock is needed.
const KrugerSeries& SeriesOf(const CProjection& p) {
  constexpr std::size_t kCacheSize = 4;
  thread_local std::array<KrugerSeries, kCacheSize> cache;
  thread_local std::size_t next = 0;
  const double a = p.m_Spheroid->m_SemiMajorAxis, e2 = p.m_Spheroid->m_E2;
  // The Danish grid counts its northings from the equator (its m_M0 is 0), whatever
  // the origin latitude of its record.
  const double origin = p.m_M0 == 0.0 ? 0.0 : p.m_OriginLatitude;
  for (const KrugerSeries& k : cache) {
    if (k.semi_major_axis == a && k.e2 == e2 && k.origin_latitude == origin) return k;
  }
  KrugerSeries& slot = cache[next];
  next = (next + 1) % kCacheSize;
  slot = MakeSeries(a, e2, origin);
  return slot;
}

// The south-orientated grid counts westwards and southwards from its false origin.
double OrientationOf(const CProjection& p) {
  return p.m_Type == PROJECTION_TM_SOUTH_ORIENTATED ? -1.0 : 1.0;
}

void WriteNoGrid(const GridOutputs& out) {
  if (out.easting != nullptr) *out.easting = kNaN;
  if (out.northing != nullptr) *out.northing = kNaN;
  if (out.convergence != nullptr) *out.convergence = kNaN;
  if (out.scale != nullptr) *out.scale = kNaN;
}

void WriteNoGeog(const GeogOutputs& out) {
  if (out.latitude != nullptr) *out.latitude = kNaN;
  if (out.longitude != nullptr) *out.longitude = kNaN;
  if (out.convergence != nullptr) *out.convergence = kNaN;
  if (out.scale != nullptr) *out.scale = kNaN;
}

// One forward, the single-point entry's and the run's alike (so both give the same
// bits), with the sine and cosine of the latitude given.
inline ProjectionStatus ForwardPoint(const CProjection& p, const KrugerSeries& k, double latitude,
                                     double longitude, double sin_lat, double cos_lat,
                                     const GridOutputs& out) {
  const ProjectionStatus input = CheckGeogInput(latitude, longitude);
  if (input != ProjectionStatus::kOk) {
    WriteNoGrid(out);
    return input;
  }
  const double dl = WrapToHalfTurn(longitude - p.m_CentralMeridian);
  if (std::fabs(dl) > kHalfPi) {
    WriteNoGrid(out);
    return ProjectionStatus::kFarFromCentralMeridian;
  }
  const ForwardResult f = ForwardSeries(k, sin_lat, cos_lat, std::sin(dl), std::cos(dl));
  const double k0 = p.m_ScaleFactor;
  const double orientation = OrientationOf(p);
  if (out.northing != nullptr) {
    *out.northing = orientation * (k0 * k.radius * (f.xi - k.origin_xi) + p.m_FalseNorthing);
  }
  if (out.easting != nullptr) {
    *out.easting = orientation * (k0 * k.radius * f.eta + p.m_FalseEasting);
  }
  if (out.convergence != nullptr) *out.convergence = f.convergence;
  if (out.scale != nullptr) *out.scale = k0 * f.scale;
  return ProjectionStatus::kOk;
}

// One inverse, the single-point entry's and the run's alike.
inline ProjectionStatus InversePoint(const CProjection& p, const KrugerSeries& k, double easting,
                                     double northing, const GeogOutputs& out) {
  const ProjectionStatus input = CheckGridInput(easting, northing);
  if (input != ProjectionStatus::kOk) {
    WriteNoGeog(out);
    return input;
  }
  // The south-orientated negation first (the forward negated the false origin too).
  const double orientation = OrientationOf(p);
  const double scaled_radius = p.m_ScaleFactor * k.radius;
  const double xi = (orientation * northing - p.m_FalseNorthing) / scaled_radius + k.origin_xi;
  const double eta = (orientation * easting - p.m_FalseEasting) / scaled_radius;
  InverseResult g;
  if (!InverseSeries(k, xi, eta, g)) {
    WriteNoGeog(out);
    return ProjectionStatus::kFarFromCentralMeridian;
  }
  if (out.latitude != nullptr) *out.latitude = g.latitude;
  if (out.longitude != nullptr) *out.longitude = WrapToHalfTurn(p.m_CentralMeridian + g.dl);
  if (out.convergence != nullptr) *out.convergence = g.convergence;
  if (out.scale != nullptr) *out.scale = p.m_ScaleFactor * g.scale;
  return ProjectionStatus::kOk;
}

}  // namespace

ProjectionStatus TransverseMercatorForward(const CProjection& p, const GeogPoint& g,
                                           const GridOutputs& out) {
  return ForwardPoint(p, SeriesOf(p), g.latitude, g.longitude, g.sin_lat, g.cos_lat, out);
}

ProjectionStatus TransverseMercatorInverse(const CProjection& p, double easting, double northing,
                                           const GeogOutputs& out) {
  return InversePoint(p, SeriesOf(p), easting, northing, out);
}

namespace {

// A run converts each point as the single-point entry and its common rules would,
// with the series looked up once.
bool ForwardRun(const CProjection& p, const GridRun& run) {
  const KrugerSeries& k = SeriesOf(p);
  for (std::size_t i = 0; i < run.count; ++i) {
    // Copies, so that a caller may convert in place (outputs over inputs).
    const double latitude = run.latitudes[i], longitude = run.longitudes[i];
    const GridOutputs out = run.OutputsAt(i);
    ProjectionStatus status =
        ForwardPoint(p, k, latitude, longitude, std::sin(latitude), std::cos(latitude), out);
    if (status == ProjectionStatus::kOk &&
        !(std::isfinite(*out.easting) && std::isfinite(*out.northing))) {
      status = ProjectionStatus::kOutsideDomain;
    }
    if (run.statuses != nullptr) run.statuses[i] = status;
  }
  return true;
}

bool InverseRun(const CProjection& p, const GeogRun& run) {
  const KrugerSeries& k = SeriesOf(p);
  for (std::size_t i = 0; i < run.count; ++i) {
    const double easting = run.eastings[i], northing = run.northings[i];
    const GeogOutputs out = run.OutputsAt(i);
    ProjectionStatus status = InversePoint(p, k, easting, northing, out);
    if (status == ProjectionStatus::kOk) status = ApplyGeogExitRules(out);
    if (run.statuses != nullptr) run.statuses[i] = status;
  }
  return true;
}

}  // namespace

const ProjectionMaths kTransverseMercatorMaths = {
    .forward = TransverseMercatorForward,
    .inverse = TransverseMercatorInverse,
    .forward_run = ForwardRun,
    .inverse_run = InverseRun,
};

}  // namespace orvale::projection
