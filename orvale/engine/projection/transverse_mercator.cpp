// Transverse Mercator by Redfearn's series: types 0-4 and state plane method 0, and
// the projection underneath the Norwegian and Danish national grids. The forward
// series runs to the 4th power of the longitude difference in northing and the 5th in
// easting; the inverse to the same order in the footpoint's distance from the central
// meridian. Both are good to a millimetre within 2 degrees of the central meridian
// and degrade beyond that, to about 4 mm at 3 degrees and 3 dm at 6.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/internal/spheroid_formulas.h"

namespace orvale::projection {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kThird = 1.0 / 3.0;  // a product, not a quotient, in the per-point series

// Only this family wraps the longitude difference: a zone reaches across the
// antimeridian (UTM zones 1 and 60), while for the other families a difference beyond
// half a turn is a position outside the projection.
double WrapLongitude(double longitude) {
  // Two selects rather than branches, so that loops over many points run as vector code.
  const double east = longitude > std::numbers::pi ? longitude - kTwoPi : longitude;
  return east < -std::numbers::pi ? east + kTwoPi : east;
}

// The footpoint (the latitude on the central meridian with the point's meridian
// distance) and the curvature terms the inverse series are written in.
struct Footpoint {
  double latitude = 0.0;
  double tan_lat = 0.0;
  double secant = 1.0;   // 1 / cos
  double psi = 0.0;      // nu / rho at the footpoint
  double x_ratio = 0.0;  // x / (nu k0): the distance from the central meridian in radians
};

Footpoint EquatorFootpoint(const CSpheroid& s, double x, double k0) {
  const double a = s.m_SemiMajorAxis;
  Footpoint f;
  f.psi = a / (a * s.m_OneMinusE2);
  f.x_ratio = x / (a * k0);
  return f;
}

// Written with products where the quotients would cost the most (this runs once per
// point): nu / rho is (1 - e^2 sin^2) / (1 - e^2), and x / nu is x sqrt(1 - e^2 sin^2) / a.
Footpoint FootpointAt(const CSpheroid& s, const LatitudeWithTrig& footpoint, double x,
                      double inverse_a_k0) {
  Footpoint f;
  f.latitude = footpoint.latitude;
  const double sin_lat = footpoint.sin_lat;
  f.secant = 1.0 / footpoint.cos_lat;
  f.tan_lat = sin_lat * f.secant;
  const double radicand = 1.0 - s.m_E2 * sin_lat * sin_lat;
  f.psi = radicand * s.m_OnePlusEp2;
  f.x_ratio = x * std::sqrt(radicand) * inverse_a_k0;
  return f;
}

inline double InverseLatitude(const Footpoint& f) {
  const double t2 = f.tan_lat * f.tan_lat;
  const double psi = f.psi;
  const double x2 = f.x_ratio * f.x_ratio;
  const double q = x2 * kThird;
  return f.latitude -
         psi * f.tan_lat * (x2 / 2.0) *
             (1.0 - (q / 4.0) * (9.0 * psi * (1.0 - t2) - 4.0 * psi * psi + 12.0 * t2));
}

inline double InverseLongitude(const Footpoint& f, double central_meridian) {
  const double t2 = f.tan_lat * f.tan_lat;
  const double psi = f.psi;
  const double x2 = f.x_ratio * f.x_ratio;
  const double q = x2 * kThird;
  const double series =
      1.0 - (q / 2.0) * (2.0 * t2 + psi) +
      0.025 * q * x2 *
          ((9.0 - 68.0 * t2) * psi * psi - 4.0 * psi * psi * psi * (1.0 - 6.0 * t2) +
           24.0 * t2 * (3.0 * psi + t2));
  return WrapLongitude(central_meridian + (f.x_ratio * f.secant) * series);
}

// The third-order term is (3 psi' t'^2 - 2 psi'^2), as the inverse series is published;
// the expansion of the forward series has (3 psi' + t'^2 - 2 psi'^2) there. The two
// part by some 1e-5 rad at the edge of a UTM zone: the tests measure it.
inline double InverseConvergence(const Footpoint& f) {
  const double t2 = f.tan_lat * f.tan_lat;
  const double psi = f.psi;
  const double psi2 = psi * psi;
  const double x2 = f.x_ratio * f.x_ratio;
  const double q = x2 * kThird;
  return f.x_ratio * f.tan_lat *
         (1.0 - (3.0 * psi * t2 - 2.0 * psi2) * q +
          0.2 * q * x2 *
              (psi2 * psi2 * (11.0 - 24.0 * t2) - 3.0 * psi2 * psi * (8.0 - 23.0 * t2) +
               5.0 * psi2 * (3.0 - 14.0 * t2) + 30.0 * psi * t2 + 3.0 * t2 * t2));
}

inline double InverseScale(const Footpoint& f, double k0) {
  const double t2 = f.tan_lat * f.tan_lat;
  const double psi = f.psi;
  const double x2 = f.x_ratio * f.x_ratio;
  return k0 * (1.0 + x2 * psi / 2.0 +
               (x2 * x2 * psi * psi / 24.0) *
                   (4.0 * psi * (1.0 - 6.0 * t2) - 3.0 * (1.0 - 16.0 * t2) - 24.0 * t2 / psi));
}

}  // namespace

namespace {

// The terms the forward series share.
struct ForwardTerms {
  double omega = 0.0;  // longitude from the central meridian, wrapped
  double t2 = 0.0;     // tan^2
  double psi = 0.0;    // nu / rho
  double psi2 = 0.0;
  double q = 0.0;  // (omega cos)^2 / 3
  double q2 = 0.0;
  double departure = 0.0;  // omega nu cos
};

inline ForwardTerms ForwardTermsOf(const CProjection& p, const GeogPoint& g) {
  ForwardTerms f;
  f.omega = WrapLongitude(g.longitude - p.m_CentralMeridian);
  f.t2 = g.tan_lat * g.tan_lat;
  f.psi = g.nu / g.rho;
  f.psi2 = f.psi * f.psi;
  f.q = f.omega * f.omega * g.cos_lat * g.cos_lat * kThird;
  f.q2 = f.q * f.q;
  f.departure = f.omega * g.nu * g.cos_lat;
  return f;
}

// Northing and easting as a north-up grid counts them (the south-orientated grid
// negates both, false origin included).
inline double ForwardNorthing(const CProjection& p, const GeogPoint& g, const ForwardTerms& f) {
  const double arc = MeridianDistance(*p.m_Spheroid, g.latitude, g.sin_lat, g.cos_lat) - p.m_M0;
  return p.m_ScaleFactor * (arc + f.departure * (f.omega * g.sin_lat) *
                                      (0.5 + (f.q / 8.0) * (4.0 * f.psi2 + f.psi - f.t2))) +
         p.m_FalseNorthing;
}

inline double ForwardEasting(const CProjection& p, const ForwardTerms& f) {
  const double psi = f.psi, psi2 = f.psi2, t2 = f.t2;
  return p.m_ScaleFactor * f.departure *
             (1.0 + (f.q / 2.0) * (psi - t2) +
              (0.075 * f.q2) * (psi2 * (4.0 * psi * (1.0 - 6.0 * t2) + 1.0 + 8.0 * t2) -
                                (2.0 * psi - t2) * t2)) +
         p.m_FalseEasting;
}

inline double ForwardConvergence(const GeogPoint& g, const ForwardTerms& f) {
  const double psi = f.psi, psi2 = f.psi2, t2 = f.t2;
  return (f.omega * g.sin_lat) *
         (1.0 + f.q * (2.0 * psi2 - psi) +
          0.6 * f.q2 *
              (psi2 * psi2 * (11.0 - 24.0 * t2) - psi2 * psi * (11.0 - 36.0 * t2) +
               2.0 * psi2 * (1.0 - 7.0 * t2) + psi * t2));
}

inline double ForwardScale(const CProjection& p, const ForwardTerms& f) {
  const double psi = f.psi, psi2 = f.psi2, t2 = f.t2;
  return p.m_ScaleFactor *
         (1.0 + 1.5 * f.q * psi +
          0.375 * f.q2 *
              (4.0 * psi2 * psi * (1.0 - 6.0 * t2) + psi2 * (1.0 + 24.0 * t2) - 4.0 * psi * t2));
}

// The south-orientated grid counts westwards and southwards from its false origin.
double OrientationOf(const CProjection& p) {
  return p.m_Type == PROJECTION_TM_SOUTH_ORIENTATED ? -1.0 : 1.0;
}

}  // namespace

ProjectionStatus TransverseMercatorForward(const CProjection& p, const GeogPoint& g,
                                           const GridOutputs& out) {
  const ForwardTerms f = ForwardTermsOf(p, g);
  const double orientation = OrientationOf(p);
  if (out.northing != nullptr) *out.northing = orientation * ForwardNorthing(p, g, f);
  if (out.easting != nullptr) *out.easting = orientation * ForwardEasting(p, f);
  if (out.convergence != nullptr) *out.convergence = ForwardConvergence(g, f);
  if (out.scale != nullptr) *out.scale = ForwardScale(p, f);
  return ProjectionStatus::kOk;
}

namespace {

// The grid offsets from the false origin, undoing the south-orientated negation first
// (the forward negated the false origin with the rest).
struct GridOffsets {
  double x = 0.0;
  double y = 0.0;
};

GridOffsets OffsetsOf(const CProjection& p, double easting, double northing) {
  if (p.m_Type == PROJECTION_TM_SOUTH_ORIENTATED) {
    easting = -easting;
    northing = -northing;
  }
  return {easting - p.m_FalseEasting, northing - p.m_FalseNorthing};
}

void WriteInverse(const CProjection& p, const Footpoint& footpoint, const GeogOutputs& out) {
  if (out.latitude != nullptr) *out.latitude = InverseLatitude(footpoint);
  if (out.longitude != nullptr) *out.longitude = InverseLongitude(footpoint, p.m_CentralMeridian);
  if (out.convergence != nullptr) *out.convergence = InverseConvergence(footpoint);
  if (out.scale != nullptr) *out.scale = InverseScale(footpoint, p.m_ScaleFactor);
}

}  // namespace

ProjectionStatus TransverseMercatorInverse(const CProjection& p, double easting, double northing,
                                           const GeogOutputs& out) {
  const CSpheroid& s = *p.m_Spheroid;
  const double k0 = p.m_ScaleFactor;
  const GridOffsets offsets = OffsetsOf(p, easting, northing);
  // One quotient serves both distances: y / k0 here and x / (a k0) at the footpoint.
  const double inverse_a_k0 = 1.0 / (s.m_SemiMajorAxis * k0);
  const double meridian_distance = offsets.y * s.m_SemiMajorAxis * inverse_a_k0 + p.m_M0;

  if (meridian_distance == 0.0 && p.m_FalseNorthing == 0.0) {
    WriteInverse(p, EquatorFootpoint(s, offsets.x, k0), out);
    return ProjectionStatus::kOk;
  }
  // A caller converting a run of nearby points passes the previous latitude in.
  const double start = out.latitude != nullptr ? *out.latitude : 0.0;
  const LatitudeWithTrig footpoint = FootpointLatitude(s, start, meridian_distance);
  WriteInverse(p, FootpointAt(s, footpoint, offsets.x, inverse_a_k0), out);
  return footpoint.converged ? ProjectionStatus::kOk : ProjectionStatus::kNoConvergence;
}

namespace {

// Up to this angle (radians) SmallAngleSineCosine is exact to the last bit.
constexpr double kSmallShift = 0.01;

struct SineCosine {
  double sin = 0.0;
  double cos = 1.0;
};
// Sine and cosine by their series to the 5th and 6th powers: the terms left out are
// below 1e-19 of the result for angles within kSmallShift.
SineCosine SmallAngleSineCosine(double angle) {
  const double square = angle * angle;
  constexpr double k6 = 1.0 / 6.0, k20 = 1.0 / 20.0, k12 = 1.0 / 12.0, k30 = 1.0 / 30.0;
  return {angle * (1.0 - square * k6 * (1.0 - square * k20)),
          1.0 - square * 0.5 * (1.0 - square * k12 * (1.0 - square * k30))};
}

// A run goes through in blocks: small enough for the scratch arrays to stay in the
// first-level cache, long enough for the loops over them to run as vector code.
constexpr std::size_t kBlockSize = 64;
using BlockArray = std::array<double, kBlockSize>;

// What the whole run shares.
struct RunConstants {
  double orientation = 1.0;  // -1: the south-orientated grid counts westwards and southwards
  double inverse_a_k0 = 0.0;
  double inverse_meridian_a0 = 0.0;
};

// The footpoints of a block, side by side, and the iteration's first step at each.
struct FootpointBlock {
  BlockArray latitude, tan_lat, secant, psi, x_ratio, step;
  Footpoint At(std::size_t i) const {
    return {latitude[i], tan_lat[i], secant[i], psi[i], x_ratio[i]};
  }
};

// Each point starts from its footpoint-series estimate, within about 1e-10 rad of the
// iterated footpoint, so the iteration's first round takes a step that small and
// stops there. The block takes that round as the single-point path does, save two
// things that keep the loop free of calls and off the division unit: the start's sine
// and cosine come from those of the rectifying latitude and the small shift, and the
// round's quotient M / M(start) is taken as a product with 1 / M (the two differ by
// the step's 1e-10, which moves the step by 1e-20). A point whose step is above the
// iteration's tolerance (or whose estimate is unusable) is marked with a NaN step and
// goes through the full iteration.
void FootpointsOfBlock(const CSpheroid& s, const BlockArray& distance, const BlockArray& x,
                       const BlockArray& sin_mu, const BlockArray& cos_mu, const BlockArray& mu,
                       double inverse_a_k0, std::size_t n, FootpointBlock& f) {
  for (std::size_t i = 0; i < n; ++i) {
    const double shift = FootpointSeriesShift(s, sin_mu[i], cos_mu[i]);
    const SineCosine turn = SmallAngleSineCosine(shift);
    const double start = mu[i] + shift;
    const double sin_start = sin_mu[i] * turn.cos + cos_mu[i] * turn.sin;
    const double cos_start = cos_mu[i] * turn.cos - sin_mu[i] * turn.sin;
    const double arc = MeridianDistance(s, start, sin_start, cos_start);
    const double step = start * (distance[i] - arc) * (1.0 / distance[i]);
    // Bitwise "and", not "&&": a short-circuit is a branch, and a branch keeps the
    // loop from running as vector code.
    const bool usable = (std::fabs(step) <= kIterationTolerance) &
                        (std::fabs(shift) <= kSmallShift) & (start != 0.0) &
                        (std::fabs(start) <= kHalfPi);
    const LatitudeWithTrig footpoint{start + step, sin_start + cos_start * step,
                                     cos_start - sin_start * step};
    const Footpoint point = FootpointAt(s, footpoint, x[i], inverse_a_k0);
    f.step[i] = usable ? step : std::numeric_limits<double>::quiet_NaN();
    f.latitude[i] = point.latitude;
    f.tan_lat[i] = point.tan_lat;
    f.secant[i] = point.secant;
    f.psi[i] = point.psi;
    f.x_ratio[i] = point.x_ratio;
  }
}

// The outputs of a block, each in a loop of its own so that each runs as vector code.
// `off_globe` marks (with 1) the points whose latitude or longitude is off the globe or
// not a number.
void WriteBlock(const CProjection& p, const FootpointBlock& f, std::size_t n,
                const GeogOutputs& out, BlockArray& off_globe) {
  for (std::size_t i = 0; i < n; ++i) {
    const double latitude = InverseLatitude(f.At(i));
    // NaN is kept as it comes (and marked); only a number beyond the pole becomes 0.
    out.latitude[i] = std::fabs(latitude) > kHalfPi ? 0.0 : latitude;
    off_globe[i] = std::fabs(latitude) <= kHalfPi ? 0.0 : 1.0;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const double longitude = InverseLongitude(f.At(i), p.m_CentralMeridian);
    out.longitude[i] = std::fabs(longitude) > std::numbers::pi ? 0.0 : longitude;
    off_globe[i] = std::fabs(longitude) <= std::numbers::pi ? off_globe[i] : 1.0;
  }
  if (out.convergence != nullptr) {
    for (std::size_t i = 0; i < n; ++i) {
      const double convergence = InverseConvergence(f.At(i));
      const double below = convergence > std::numbers::pi ? std::numbers::pi : convergence;
      out.convergence[i] = below < -std::numbers::pi ? -std::numbers::pi : below;
    }
  }
  if (out.scale != nullptr) {
    for (std::size_t i = 0; i < n; ++i)
      out.scale[i] = InverseScale(f.At(i), p.m_ScaleFactor);
  }
}

void InverseBlock(const CProjection& p, const RunConstants& c, const GeogRun& run,
                  std::size_t first, std::size_t n) {
  const CSpheroid& s = *p.m_Spheroid;
  // Copies, so that a caller may convert in place (outputs over inputs).
  BlockArray eastings, northings;
  std::copy_n(run.eastings + first, n, eastings.begin());
  std::copy_n(run.northings + first, n, northings.begin());
  BlockArray x, distance, mu, sin_mu, cos_mu;
  for (std::size_t i = 0; i < n; ++i) {
    x[i] = c.orientation * eastings[i] - p.m_FalseEasting;
    const double y = c.orientation * northings[i] - p.m_FalseNorthing;
    distance[i] = y * s.m_SemiMajorAxis * c.inverse_a_k0 + p.m_M0;
    mu[i] = distance[i] * c.inverse_meridian_a0;
  }
  for (std::size_t i = 0; i < n; ++i) {
    sin_mu[i] = std::sin(mu[i]);
    cos_mu[i] = std::cos(mu[i]);
  }
  FootpointBlock footpoints;
  FootpointsOfBlock(s, distance, x, sin_mu, cos_mu, mu, c.inverse_a_k0, n, footpoints);
  const GeogOutputs out = run.OutputsAt(first);
  BlockArray off_globe;
  WriteBlock(p, footpoints, n, out, off_globe);
  if (run.statuses != nullptr) {
    for (std::size_t i = 0; i < n; ++i) {
      run.statuses[first + i] =
          off_globe[i] == 0.0 ? ProjectionStatus::kOk : ProjectionStatus::kOutsideDomain;
    }
  }
  // The few points the block could not take (the equator, an unusable estimate) go
  // through the single-point path.
  for (std::size_t i = 0; i < n; ++i) {
    const bool equator = distance[i] == 0.0 && p.m_FalseNorthing == 0.0;
    if (!equator && !std::isnan(footpoints.step[i])) continue;
    const GeogOutputs point = run.OutputsAt(first + i);
    *point.latitude = p.FootpointStart(northings[i]);
    const ProjectionStatus status = p.GridToGeog(eastings[i], northings[i], point.latitude,
                                                 point.longitude, point.convergence, point.scale);
    if (run.statuses != nullptr) run.statuses[first + i] = status;
  }
}

// The run needs the meridian arc's coefficients: a spheroid with 1/f of 0 or less has
// none, and its points go through the single-point path one by one.
bool InverseRun(const CProjection& p, const GeogRun& run) {
  const CSpheroid& s = *p.m_Spheroid;
  if (s.m_MeridianA0 == 0.0) return false;
  RunConstants constants;
  constants.orientation = OrientationOf(p);
  constants.inverse_a_k0 = 1.0 / (s.m_SemiMajorAxis * p.m_ScaleFactor);
  constants.inverse_meridian_a0 = 1.0 / s.m_MeridianA0;
  for (std::size_t first = 0; first < run.count; first += kBlockSize) {
    InverseBlock(p, constants, run, first, std::min(kBlockSize, run.count - first));
  }
  return true;
}

// A block of positions with what every forward series needs of them, side by side.
struct GeogBlock {
  BlockArray latitude, longitude, sin_lat, cos_lat, tan_lat, rho, nu;
  GeogPoint At(std::size_t i) const {
    return {latitude[i], longitude[i], sin_lat[i], cos_lat[i], tan_lat[i], rho[i], nu[i]};
  }
};

// As the single-point path, output by output, each in a branch-free loop of its own
// that runs as vector code; the same operations in the same order, so the same bits.
void ForwardBlock(const CProjection& p, const GridRun& run, std::size_t first, std::size_t n) {
  const CSpheroid& s = *p.m_Spheroid;
  GeogBlock g;
  // Copies, so that a caller may convert in place (outputs over inputs).
  std::copy_n(run.latitudes + first, n, g.latitude.begin());
  std::copy_n(run.longitudes + first, n, g.longitude.begin());
  for (std::size_t i = 0; i < n; ++i) {
    g.sin_lat[i] = std::sin(g.latitude[i]);
    g.cos_lat[i] = std::cos(g.latitude[i]);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const GeogPoint point =
        GeogPointFrom(s, g.latitude[i], g.longitude[i], g.sin_lat[i], g.cos_lat[i]);
    g.tan_lat[i] = point.tan_lat;
    g.rho[i] = point.rho;
    g.nu[i] = point.nu;
  }
  const GridOutputs out = run.OutputsAt(first);
  const double orientation = OrientationOf(p);
  for (std::size_t i = 0; i < n; ++i) {
    const GeogPoint point = g.At(i);
    out.northing[i] = orientation * ForwardNorthing(p, point, ForwardTermsOf(p, point));
  }
  for (std::size_t i = 0; i < n; ++i) {
    out.easting[i] = orientation * ForwardEasting(p, ForwardTermsOf(p, g.At(i)));
  }
  if (out.convergence != nullptr) {
    for (std::size_t i = 0; i < n; ++i) {
      const GeogPoint point = g.At(i);
      const double convergence = ForwardConvergence(point, ForwardTermsOf(p, point));
      const double below = convergence > std::numbers::pi ? std::numbers::pi : convergence;
      out.convergence[i] = below < -std::numbers::pi ? -std::numbers::pi : below;
    }
  }
  if (out.scale != nullptr) {
    for (std::size_t i = 0; i < n; ++i)
      out.scale[i] = ForwardScale(p, ForwardTermsOf(p, g.At(i)));
  }
  if (run.statuses != nullptr) {
    for (std::size_t i = 0; i < n; ++i) {
      const bool numbers = std::isfinite(out.easting[i]) && std::isfinite(out.northing[i]);
      run.statuses[first + i] = numbers ? ProjectionStatus::kOk : ProjectionStatus::kOutsideDomain;
    }
  }
}

bool ForwardRun(const CProjection& p, const GridRun& run) {
  for (std::size_t first = 0; first < run.count; first += kBlockSize) {
    ForwardBlock(p, run, first, std::min(kBlockSize, run.count - first));
  }
  return true;
}

// The rectifying latitude of the meridian distance (y / k0 + M0) / (a A0), as one
// quotient, then the footpoint series: close enough that the iteration settles in its
// first round.
double FootpointStart(const CProjection& p, double northing) {
  const CSpheroid& s = *p.m_Spheroid;
  if (s.m_MeridianA0 == 0.0 || p.m_ScaleFactor == 0.0) return 0.0;
  const double grid_northing = OrientationOf(p) * northing;
  const double mu = (grid_northing - p.m_FalseNorthing + p.m_ScaleFactor * p.m_M0) /
                    (p.m_ScaleFactor * s.m_MeridianA0);
  const double start = FootpointSeries(s, mu);
  return std::fabs(start) <= kHalfPi ? start : 0.0;
}

}  // namespace

const ProjectionMaths kTransverseMercatorMaths = {
    .forward = TransverseMercatorForward,
    .inverse = TransverseMercatorInverse,
    .forward_run = ForwardRun,
    .inverse_run = InverseRun,
    .footpoint_start = FootpointStart,
};

}  // namespace orvale::projection
