#include "orvale/engine/survey/geodesic.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

#include "orvale/engine/angles/angles.h"

namespace orvale {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// A cosine of latitude this small stands for a pole, so that the azimuths at a pole
// keep their meaning (the limit from the meridian of the longitude given).
const double kTiny = std::sqrt(std::numeric_limits<double>::min());
// Rounds of the azimuth search: Newton's method settles in a handful, and the
// bisection that stands in for a step leaving the bracket halves it each round.
constexpr int kMostRounds = 100;
// A Newton step of the azimuth this small (radians) ends the search: 6 nm at the end
// of a 10,000 km line.
constexpr double kSettledStep = 1e-15;
// A longitude this close to the target's (radians) is the target to within rounding.
constexpr double kSettledLongitude = 1e-15;

// The spheroid as the geodesic needs it.
struct Shape {
  double a = 0.0;
  double f = 0.0;
  double b = 0.0;
  double e2 = 0.0;
  double ep2 = 0.0;
  double n = 0.0;
};

Shape ShapeOf(const CSpheroid& s) {
  Shape shape;
  shape.a = s.m_SemiMajorAxis;
  shape.e2 = s.m_E2;
  const double root = std::sqrt(1.0 - shape.e2);
  shape.f = shape.e2 / (1.0 + root);  // 1 - sqrt(1 - e^2), without the cancellation
  shape.b = shape.a * (1.0 - shape.f);
  shape.ep2 = shape.e2 / (1.0 - shape.e2);
  shape.n = shape.f / (2.0 - shape.f);
  return shape;
}

// The series of the distance (I1), of the integral I2 that with I1 gives the reduced
// length, and of the longitude (I3), in epsilon = (sqrt(1 + k^2) - 1) / (sqrt(1 + k^2) +
// 1), k^2 = e'^2 cos^2(alpha0), and the third flattening n, to sixth order (Karney
// 2013, eqs. 17, 18, 21, 24, 25, 42, 43). Index 0 of each coefficient table is unused.
struct DistanceSeries {
  double a1 = 1.0;
  double c1[7] = {};
};
struct ReducedSeries {
  double a2 = 1.0;
  double c2[7] = {};
};
struct LongitudeSeries {
  double a3 = 1.0;
  double c3[6] = {};
};

DistanceSeries DistanceSeriesOf(double eps) {
  const double e2 = eps * eps, e3 = e2 * eps, e4 = e2 * e2, e5 = e4 * eps, e6 = e3 * e3;
  DistanceSeries s;
  s.a1 = (1.0 + e2 / 4 + e4 / 64 + e6 / 256) / (1.0 - eps);
  s.c1[1] = -eps / 2 + 3.0 / 16 * e3 - e5 / 32;
  s.c1[2] = -e2 / 16 + e4 / 32 - 9.0 / 2048 * e6;
  s.c1[3] = -e3 / 48 + 3.0 / 256 * e5;
  s.c1[4] = -5.0 / 512 * e4 + 3.0 / 512 * e6;
  s.c1[5] = -7.0 / 1280 * e5;
  s.c1[6] = -7.0 / 2048 * e6;
  return s;
}

// The reversion of the distance series: sigma from tau = s / (b A1) (eq. 21).
void DistanceReversion(double eps, double c1p[7]) {
  const double e2 = eps * eps, e3 = e2 * eps, e4 = e2 * e2, e5 = e4 * eps, e6 = e3 * e3;
  c1p[0] = 0.0;
  c1p[1] = eps / 2 - 9.0 / 32 * e3 + 205.0 / 1536 * e5;
  c1p[2] = 5.0 / 16 * e2 - 37.0 / 96 * e4 + 1335.0 / 4096 * e6;
  c1p[3] = 29.0 / 96 * e3 - 75.0 / 128 * e5;
  c1p[4] = 539.0 / 1536 * e4 - 2391.0 / 2560 * e6;
  c1p[5] = 3467.0 / 7680 * e5;
  c1p[6] = 38081.0 / 61440 * e6;
}

ReducedSeries ReducedSeriesOf(double eps) {
  const double e2 = eps * eps, e3 = e2 * eps, e4 = e2 * e2, e5 = e4 * eps, e6 = e3 * e3;
  ReducedSeries s;
  s.a2 = (1.0 - eps) * (1.0 + e2 / 4 + 9.0 / 64 * e4 + 25.0 / 256 * e6);
  s.c2[1] = eps / 2 + e3 / 16 + e5 / 32;
  s.c2[2] = 3.0 / 16 * e2 + e4 / 32 + 35.0 / 2048 * e6;
  s.c2[3] = 5.0 / 48 * e3 + 5.0 / 256 * e5;
  s.c2[4] = 35.0 / 512 * e4 + 7.0 / 512 * e6;
  s.c2[5] = 63.0 / 1280 * e5;
  s.c2[6] = 77.0 / 2048 * e6;
  return s;
}

LongitudeSeries LongitudeSeriesOf(double eps, double n) {
  const double e2 = eps * eps, e3 = e2 * eps, e4 = e2 * e2, e5 = e4 * eps;
  const double n2 = n * n;
  LongitudeSeries s;
  s.a3 = 1.0 - (0.5 - n / 2) * eps - (0.25 + n / 8 - 3.0 / 8 * n2) * e2 -
         (1.0 / 16 + 3.0 / 16 * n + n2 / 16) * e3 - (3.0 / 64 + n / 32) * e4 - 3.0 / 128 * e5;
  s.c3[1] = (0.25 - n / 4) * eps + (1.0 / 8 - n2 / 8) * e2 +
            (3.0 / 64 + 3.0 / 64 * n - n2 / 64) * e3 + (5.0 / 128 + n / 64) * e4 + 3.0 / 128 * e5;
  s.c3[2] = (1.0 / 16 - 3.0 / 32 * n + n2 / 32) * e2 + (3.0 / 64 - n / 32 - 3.0 / 64 * n2) * e3 +
            (3.0 / 128 + n / 128) * e4 + 5.0 / 256 * e5;
  s.c3[3] = (5.0 / 192 - 3.0 / 64 * n + 5.0 / 192 * n2) * e3 + (3.0 / 128 - 5.0 / 192 * n) * e4 +
            7.0 / 512 * e5;
  s.c3[4] = (7.0 / 512 - 7.0 / 256 * n) * e4 + 7.0 / 512 * e5;
  s.c3[5] = 21.0 / 2560 * e5;
  return s;
}

// Sum of c[l] sin(2 l sigma) for l = 1 .. count, from sin and cos of sigma, by
// Clenshaw's recurrence.
double SineSeries(const double* c, int count, double sin_s, double cos_s) {
  const double x = 2.0 * (cos_s - sin_s) * (cos_s + sin_s);  // 2 cos 2 sigma
  double b1 = 0.0, b2 = 0.0;
  for (int l = count; l >= 1; --l) {
    const double b0 = c[l] + x * b1 - b2;
    b2 = b1;
    b1 = b0;
  }
  return b1 * 2.0 * sin_s * cos_s;
}

double Epsilon(double k2) {
  return k2 / (2.0 * (1.0 + std::sqrt(1.0 + k2)) + k2);
}

// Scales (x, y) to a unit vector; (1, 0) when both are 0.
// (x and y are sines and cosines, or products of them: their squares cannot overflow,
// and the square root is several times quicker than std::hypot.)
void Normalise(double& x, double& y) {
  const double r = std::sqrt(x * x + y * y);
  if (r > 0.0) {
    x /= r;
    y /= r;
  } else {
    x = 1.0;
    y = 0.0;
  }
}

// The sine and cosine of the reduced latitude, tan beta = (1 - f) tan phi, the cosine
// kept clear of 0 at a pole.
void ReducedLatitude(const Shape& shape, double latitude, double& sin_beta, double& cos_beta) {
  sin_beta = (1.0 - shape.f) * std::sin(latitude);
  cos_beta = std::cos(latitude);
  if (std::fabs(latitude) == kHalfPi) cos_beta = 0.0;
  Normalise(cos_beta, sin_beta);
  cos_beta = std::max(kTiny, cos_beta);
}

// Distance over b and reduced length over b between two points of a geodesic on the
// auxiliary sphere (arc sigma12 from sigma1 to sigma2), eqs. 7, 38, 40.
struct Lengths {
  double s12b = 0.0;
  double m12b = 0.0;
};

Lengths LengthsOf(double eps, double k2, double sig12, double ssig1, double csig1, double ssig2,
                  double csig2, bool reduced) {
  const DistanceSeries d = DistanceSeriesOf(eps);
  const double b1 = SineSeries(d.c1, 6, ssig2, csig2) - SineSeries(d.c1, 6, ssig1, csig1);
  Lengths lengths;
  lengths.s12b = d.a1 * (sig12 + b1);
  if (reduced) {
    const ReducedSeries r = ReducedSeriesOf(eps);
    const double b2 = SineSeries(r.c2, 6, ssig2, csig2) - SineSeries(r.c2, 6, ssig1, csig1);
    const double j12 = (d.a1 - r.a2) * sig12 + (d.a1 * b1 - r.a2 * b2);
    const double dn1 = std::sqrt(1.0 + k2 * ssig1 * ssig1);
    const double dn2 = std::sqrt(1.0 + k2 * ssig2 * ssig2);
    lengths.m12b = dn2 * (csig1 * ssig2) - dn1 * (ssig1 * csig2) - csig1 * csig2 * j12;
  }
  return lengths;
}

// Everything the inverse works out for one trial azimuth at the first point.
struct Trial {
  double salp2 = 0.0, calp2 = 1.0;
  double sig12 = 0.0, ssig1 = 0.0, csig1 = 1.0, ssig2 = 0.0, csig2 = 1.0;
  double eps = 0.0, k2 = 0.0;
  double lam12 = 0.0;   // longitude reached on the second point's parallel
  double dlam12 = 0.0;  // its derivative by the azimuth
  double s12b = -1.0;   // the distance over b, when the derivative needed it (else < 0)
};

// The longitude at which the geodesic leaving the first point at azimuth alpha1
// (0 <= alpha1 <= pi) first meets the second point's parallel, and its derivative by
// alpha1 (eqs. 5, 10-12, 23, 46). Requires beta1 <= 0 and |beta2| <= |beta1|.
Trial TrialAt(const Shape& shape, double sbet1, double cbet1, double sbet2, double cbet2,
              double salp1, double calp1) {
  Trial t;
  const double salp0 = salp1 * cbet1;
  const double calp0 = std::sqrt(calp1 * calp1 + (salp1 * sbet1) * (salp1 * sbet1));
  t.ssig1 = sbet1;
  const double somg1 = salp0 * sbet1;
  t.csig1 = calp1 * cbet1;
  const double comg1 = t.csig1;
  Normalise(t.csig1, t.ssig1);
  t.salp2 = cbet2 != cbet1 ? salp0 / cbet2 : salp1;
  // cos alpha2 from Clairaut's relation, in the form that keeps its digits whichever
  // of the latitudes is nearer a pole.
  if (cbet2 != cbet1 || std::fabs(sbet2) != -sbet1) {
    const double change =
        cbet1 < -sbet1 ? (cbet2 - cbet1) * (cbet1 + cbet2) : (sbet1 - sbet2) * (sbet1 + sbet2);
    t.calp2 = std::sqrt(std::max(0.0, (calp1 * cbet1) * (calp1 * cbet1) + change)) / cbet2;
  } else {
    t.calp2 = std::fabs(calp1);
  }
  t.ssig2 = sbet2;
  const double somg2 = salp0 * sbet2;
  t.csig2 = t.calp2 * cbet2;
  const double comg2 = t.csig2;
  Normalise(t.csig2, t.ssig2);
  t.sig12 = std::atan2(std::max(0.0, t.csig1 * t.ssig2 - t.ssig1 * t.csig2),
                       t.csig1 * t.csig2 + t.ssig1 * t.ssig2);
  const double omg12 =
      std::atan2(std::max(0.0, comg1 * somg2 - somg1 * comg2), comg1 * comg2 + somg1 * somg2);
  t.k2 = shape.ep2 * calp0 * calp0;
  t.eps = Epsilon(t.k2);
  const LongitudeSeries l = LongitudeSeriesOf(t.eps, shape.n);
  const double b312 = SineSeries(l.c3, 5, t.ssig2, t.csig2) - SineSeries(l.c3, 5, t.ssig1, t.csig1);
  t.lam12 = omg12 - shape.f * salp0 * l.a3 * (t.sig12 + b312);
  if (t.calp2 == 0.0) {
    // The line touches the second parallel at its vertex (only when beta2 = -beta1).
    t.dlam12 = -2.0 * (1.0 - shape.f) * std::sqrt(1.0 - shape.e2 * cbet1 * cbet1) / sbet1;
  } else {
    const Lengths lengths =
        LengthsOf(t.eps, t.k2, t.sig12, t.ssig1, t.csig1, t.ssig2, t.csig2, true);
    t.dlam12 = lengths.m12b * (1.0 - shape.f) / (t.calp2 * cbet2);
    t.s12b = lengths.s12b;
  }
  return t;
}

// The positive root of mu^4 + 2 mu^3 + (1 - x^2 - y^2) mu^2 - 2 y^2 mu - y^2 = 0 for
// y != 0 (eq. 55), by Newton's method kept inside (0, |x| + |y|], which holds it.
double AstroidRoot(double x, double y) {
  const double x2 = x * x, y2 = y * y;
  double lo = 0.0, hi = std::fabs(x) + std::fabs(y) + 1.0;
  double mu = std::max(std::fabs(y), std::sqrt(std::max(0.0, x2 + y2)));
  mu = std::min(std::max(mu, 0.5 * hi), hi);
  for (int round = 0; round < kMostRounds; ++round) {
    const double g = (((mu + 2.0) * mu + (1.0 - x2 - y2)) * mu - 2.0 * y2) * mu - y2;
    if (g == 0.0) break;
    (g > 0.0 ? hi : lo) = mu;
    const double slope = ((4.0 * mu + 6.0) * mu + 2.0 * (1.0 - x2 - y2)) * mu - 2.0 * y2;
    double next = slope > 0.0 ? mu - g / slope : 0.5 * (lo + hi);
    if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
    if (std::fabs(next - mu) <= 1e-15 * mu) {
      mu = next;
      break;
    }
    mu = next;
  }
  return mu;
}

}  // namespace

GeodesicInverseResult GeodesicInverse(const CSpheroid& spheroid, double latitude_a,
                                      double longitude_a, double latitude_b, double longitude_b) {
  GeodesicInverseResult result;
  const auto fail = [&result](GeodesicStatus status) {
    result.distance = result.azimuth_a = result.azimuth_b = kNaN;
    result.status = status;
    return result;
  };
  if (!std::isfinite(latitude_a) || !std::isfinite(longitude_a) || !std::isfinite(latitude_b) ||
      !std::isfinite(longitude_b) || std::fabs(latitude_a) > kHalfPi ||
      std::fabs(latitude_b) > kHalfPi) {
    return fail(GeodesicStatus::kNotANumber);
  }
  if (!(spheroid.m_SemiMajorAxis > 0.0) || !(spheroid.m_E2 >= 0.0) || !(spheroid.m_E2 < 1.0)) {
    return fail(GeodesicStatus::kNoSpheroid);
  }
  const Shape shape = ShapeOf(spheroid);

  // Bring the problem to beta1 <= 0, |beta2| <= |beta1|, 0 <= lambda12 <= pi by the
  // symmetries of the spheroid, and undo them on the azimuths at the end.
  double lat1 = latitude_a, lat2 = latitude_b;
  double lon12 = std::remainder(longitude_b - longitude_a, 2.0 * kPi);
  const bool swapped = std::fabs(lat1) < std::fabs(lat2);
  if (swapped) {
    std::swap(lat1, lat2);
    lon12 = -lon12;
  }
  const bool lat_flipped = lat1 > 0.0;
  if (lat_flipped) {
    lat1 = -lat1;
    lat2 = -lat2;
  }
  const bool lon_flipped = lon12 < 0.0;
  if (lon_flipped) lon12 = -lon12;
  double slam12 = std::sin(lon12), clam12 = std::cos(lon12);
  if (lon12 == kPi) {
    slam12 = 0.0;
    clam12 = -1.0;
  }

  double sbet1, cbet1, sbet2, cbet2;
  ReducedLatitude(shape, lat1, sbet1, cbet1);
  ReducedLatitude(shape, lat2, sbet2, cbet2);
  // Equal magnitudes of latitude must give equal magnitudes here too, whatever the
  // rounding, so that the cases beta2 = +-beta1 are recognised.
  if (std::fabs(lat2) == std::fabs(lat1)) {
    cbet2 = cbet1;
    sbet2 = lat2 < 0.0 ? sbet1 : -sbet1;
  }

  double salp1 = 0.0, calp1 = 1.0, salp2 = 0.0, calp2 = 1.0;
  double s12 = 0.0;
  bool solved = false;

  // Along a meridian (the longitudes agree or are opposite, or the first point is a
  // pole): the line is the meridian unless it runs past the conjugate point.
  if (slam12 == 0.0 || lat1 == -kHalfPi) {
    calp1 = clam12;
    salp1 = slam12;
    calp2 = 1.0;
    salp2 = 0.0;
    double ssig1 = sbet1, csig1 = calp1 * cbet1;
    double ssig2 = sbet2, csig2 = calp2 * cbet2;
    const double sig12 =
        std::atan2(std::max(0.0, csig1 * ssig2 - ssig1 * csig2), csig1 * csig2 + ssig1 * ssig2);
    const double k2 = shape.ep2;
    const Lengths lengths = LengthsOf(Epsilon(k2), k2, sig12, ssig1, csig1, ssig2, csig2, true);
    if (sig12 < 1.0 || lengths.m12b >= 0.0) {
      s12 = shape.b * lengths.s12b;
      solved = true;
    }
  }

  // Along the equator, while the equator is the shortest way.
  if (!solved && sbet1 == 0.0 && lon12 <= (1.0 - shape.f) * kPi) {
    salp1 = salp2 = 1.0;
    calp1 = calp2 = 0.0;
    s12 = shape.a * lon12;
    solved = true;
  }

  if (!solved) {
    // A first azimuth. Away from the antipode: the great circle on the auxiliary
    // sphere with the longitude scaled by the mean w = sqrt(1 - e^2 cos^2 beta) (eq. 48,
    // 49). Near it, where every line from the first point passes, the astroid (eqs. 53
    // to 56).
    const double sbetm = 0.5 * (sbet1 + sbet2), cbetm = 0.5 * (cbet1 + cbet2);
    const double cbetm2 = cbetm * cbetm / (sbetm * sbetm + cbetm * cbetm);
    const double wbar = std::sqrt(1.0 - shape.e2 * cbetm2);
    const double omg12 = lon12 / wbar;
    const double somg12 = std::sin(omg12), comg12 = std::cos(omg12);
    const double sbet12 = sbet2 * cbet1 - cbet2 * sbet1;
    salp1 = cbet2 * somg12;
    calp1 = comg12 >= 0.0 ? sbet12 + cbet2 * sbet1 * somg12 * somg12 / (1.0 + comg12)
                          : cbet1 * sbet2 - sbet1 * cbet2 * comg12;
    Normalise(calp1, salp1);

    // Scaled offsets of the second point from the first's antipode.
    const double lam_scale =
        shape.f * cbet1 * LongitudeSeriesOf(Epsilon(shape.ep2 * sbet1 * sbet1), shape.n).a3 * kPi;
    if (lam_scale > 0.0 && lon12 > kPi / 2.0) {
      const double sbet12a = sbet2 * cbet1 + cbet2 * sbet1;  // sin(beta1 + beta2)
      const double cbet12a = cbet2 * cbet1 - sbet2 * sbet1;
      const double x = (lon12 - kPi) / lam_scale;
      const double y = std::atan2(sbet12a, cbet12a) / (lam_scale * cbet1);
      constexpr double kAstroidReach = 10.0;
      if (x > -kAstroidReach && y > -kAstroidReach && cbet12a > 0.0) {
        if (y == 0.0) {
          // On the antipode's parallel: the line is tangent to the astroid's cusp.
          salp1 = std::min(1.0, -x);
          calp1 = -std::sqrt(std::max(0.0, 1.0 - salp1 * salp1));
        } else {
          const double mu = AstroidRoot(x, y);
          salp1 = -x / (1.0 + mu);
          calp1 = y / mu;
        }
        Normalise(calp1, salp1);
      }
    }

    // Newton's method on alpha1 for the longitude, kept inside a bracket [0, pi] on
    // which the longitude reached grows with alpha1; a step that leaves the bracket is
    // replaced by bisection, so the search always ends.
    double alpha1 = std::atan2(salp1, calp1);
    if (!(alpha1 >= 0.0)) alpha1 = 0.0;
    double lo = 0.0, hi = kPi;
    bool converged = false;
    double settled_v = 0.0;  // the longitude left over at the trial taken
    Trial t;
    int round = 0;
    for (; round < kMostRounds; ++round) {
      salp1 = std::sin(alpha1);
      calp1 = std::cos(alpha1);
      if (alpha1 == kPi) salp1 = 0.0;
      t = TrialAt(shape, sbet1, cbet1, sbet2, cbet2, salp1, calp1);
      const double v = t.lam12 - lon12;
      if (v == 0.0) {
        converged = true;
        break;
      }
      (v > 0.0 ? hi : lo) = alpha1;
      const double step = v / t.dlam12;
      // Settled: the longitude is within its own rounding of the target (the
      // difference of the omegas rounds to about 1e-16 rad, so v never reaches exactly
      // 0), or the step is at the last bits of the azimuth. The trial's values stand,
      // with the azimuth stepped and the distance moved by what the leftover longitude
      // is worth along the line (second order in v from there, well below 1e-12 m).
      if (t.dlam12 > 0.0 &&
          (std::fabs(v) <= kSettledLongitude || std::fabs(step) <= kSettledStep) &&
          alpha1 - step >= 0.0 && alpha1 - step <= kPi) {
        alpha1 -= step;
        salp1 = std::sin(alpha1);
        calp1 = std::cos(alpha1);
        if (alpha1 == kPi) salp1 = 0.0;
        settled_v = v;
        converged = true;
        break;
      }
      double next = alpha1 - step;
      if (!(t.dlam12 > 0.0) || !(next > lo && next < hi)) next = 0.5 * (lo + hi);
      alpha1 = next;
      if (hi - lo <= kSettledStep) {
        // The bracket has closed on the azimuth: one more trial there is the answer.
        salp1 = std::sin(alpha1);
        calp1 = std::cos(alpha1);
        t = TrialAt(shape, sbet1, cbet1, sbet2, cbet2, salp1, calp1);
        settled_v = t.lam12 - lon12;
        converged = true;
        break;
      }
    }
    result.rounds = round;
    if (!converged) return fail(GeodesicStatus::kNoConvergence);
    salp2 = t.salp2;
    calp2 = t.calp2;
    const double s12b =
        t.s12b >= 0.0
            ? t.s12b
            : LengthsOf(t.eps, t.k2, t.sig12, t.ssig1, t.csig1, t.ssig2, t.csig2, false).s12b;
    // Moving the second point by v along its parallel (radius a cos beta2) changes the
    // distance by that times sin alpha2.
    s12 = shape.b * s12b - shape.a * cbet2 * t.salp2 * settled_v;
  }

  // Undo the symmetries, last first.
  if (lon_flipped) {
    salp1 = -salp1;
    salp2 = -salp2;
  }
  if (lat_flipped) {
    calp1 = -calp1;
    calp2 = -calp2;
  }
  double azimuth1 = std::atan2(salp1, calp1);
  double azimuth2 = std::atan2(salp2, calp2);
  if (swapped) {
    // The line from the second point to the first, reversed: each end's forward
    // azimuth is the other end's plus a half turn.
    const double forward_at_a = std::remainder(azimuth2 + kPi, 2.0 * kPi);
    const double forward_at_b = std::remainder(azimuth1 + kPi, 2.0 * kPi);
    azimuth1 = forward_at_a;
    azimuth2 = forward_at_b;
  }
  result.distance = s12;
  result.azimuth_a = azimuth1 + 0.0;
  result.azimuth_b = azimuth2 + 0.0;
  return result;
}

GeodesicDirectResult GeodesicDirect(const CSpheroid& spheroid, double latitude, double longitude,
                                    double azimuth, double distance) {
  GeodesicDirectResult result;
  const auto fail = [&result](GeodesicStatus status) {
    result.latitude = result.longitude = result.azimuth = kNaN;
    result.status = status;
    return result;
  };
  if (!std::isfinite(latitude) || !std::isfinite(longitude) || !std::isfinite(azimuth) ||
      !std::isfinite(distance) || std::fabs(latitude) > kHalfPi) {
    return fail(GeodesicStatus::kNotANumber);
  }
  if (!(spheroid.m_SemiMajorAxis > 0.0) || !(spheroid.m_E2 >= 0.0) || !(spheroid.m_E2 < 1.0)) {
    return fail(GeodesicStatus::kNoSpheroid);
  }
  const Shape shape = ShapeOf(spheroid);
  const double salp1 = std::sin(azimuth), calp1 = std::cos(azimuth);
  double sbet1, cbet1;
  ReducedLatitude(shape, latitude, sbet1, cbet1);

  const double salp0 = salp1 * cbet1;
  const double calp0 = std::sqrt(calp1 * calp1 + (salp1 * sbet1) * (salp1 * sbet1));
  double ssig1 = sbet1, csig1 = calp1 * cbet1;
  if (sbet1 == 0.0 && calp1 == 0.0) csig1 = 1.0;  // starting due east or west on the equator
  const double somg1 = salp0 * sbet1, comg1 = csig1;
  Normalise(csig1, ssig1);
  const double k2 = shape.ep2 * calp0 * calp0;
  const double eps = Epsilon(k2);
  const DistanceSeries d = DistanceSeriesOf(eps);
  const double b11 = SineSeries(d.c1, 6, ssig1, csig1);
  // Arc of the end from the line's equator crossing, through the distance measured
  // from there (eq. 20, 21).
  const double sig1 = std::atan2(ssig1, csig1);
  const double tau12 = distance / (shape.b * d.a1);
  const double tau1 = sig1 + b11;
  const double tau2 = tau1 + tau12;
  double c1p[7];
  DistanceReversion(eps, c1p);
  const double sig2 = tau2 + SineSeries(c1p, 6, std::sin(tau2), std::cos(tau2));
  const double sig12 = sig2 - sig1;
  const double ssig2 = std::sin(sig2), csig2 = std::cos(sig2);

  const double sbet2 = calp0 * ssig2;
  const double cbet2 = std::sqrt(salp0 * salp0 + (calp0 * csig2) * (calp0 * csig2));
  const double salp2 = salp0, calp2 = calp0 * csig2;
  const double somg2 = salp0 * ssig2, comg2 = csig2;
  // omega12 unwrapped: omega turns with sigma (against it when alpha0 points west) and
  // stays in sigma's quadrant, so it is sigma12 plus the change of their small difference.
  const double sign = salp0 < 0.0 ? -1.0 : 1.0;
  const auto lag = [sign](double somg, double comg, double ssig, double csig) {
    const double s = sign * ssig;  // sin(sign sigma); cos is even
    return std::atan2(somg * csig - comg * s, comg * csig + somg * s);
  };
  const double omg12 =
      sign * sig12 + (lag(somg2, comg2, ssig2, csig2) - lag(somg1, comg1, ssig1, csig1));
  const LongitudeSeries l = LongitudeSeriesOf(eps, shape.n);
  const double b312 = SineSeries(l.c3, 5, ssig2, csig2) - SineSeries(l.c3, 5, ssig1, csig1);
  const double lam12 = omg12 - shape.f * salp0 * l.a3 * (sig12 + b312);

  result.latitude = std::atan2(sbet2, (1.0 - shape.f) * cbet2);
  result.longitude = std::remainder(longitude + lam12, 2.0 * kPi);
  if (result.longitude == -kPi) result.longitude = kPi;
  result.azimuth = std::atan2(salp2, calp2);
  return result;
}

}  // namespace orvale
