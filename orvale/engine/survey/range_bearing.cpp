#include "orvale/engine/survey/range_bearing.h"

#include <cmath>
#include <numbers>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/survey/geodesic.h"

namespace orvale {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// One thousandth of a second of arc: differences of latitude or longitude below it
// count as none in the series method.
constexpr double kMilliSecond = 4.848136811095278e-9;
constexpr double kArcSecondsPerRadian = 648000.0 / std::numbers::pi;

// nu: 0 when 1 - e^2 sin^2 is not positive or its root is 0.
double Nu(const CSpheroid& s, double sin_lat) {
  const double w = 1.0 - s.m_E2 * sin_lat * sin_lat;
  if (!(w > 0.0)) return 0.0;
  const double root = std::sqrt(w);
  return root == 0.0 ? 0.0 : s.m_SemiMajorAxis / root;
}

// rho: 0 when 1 - e^2 sin^2 is not positive.
double Rho(const CSpheroid& s, double sin_lat) {
  const double w = 1.0 - s.m_E2 * sin_lat * sin_lat;
  if (!(w > 0.0)) return 0.0;
  return s.m_SemiMajorAxis * (1.0 - s.m_E2) / (w * std::sqrt(w));
}

// The quadrant rule of the elliptic arc: the azimuth atan2(1, C) lies in (0, pi); a
// difference of longitude to the west (or more than half a turn east) turns it over.
double TurnOver(double azimuth, double dlon) {
  if (dlon > kPi || (dlon > -kPi && dlon < 0.0)) {
    azimuth += kPi;
    if (azimuth >= kTwoPi) azimuth -= kTwoPi;
  }
  return azimuth;
}

struct Inverse {
  double range = 0.0;
  double azimuth_ab = 0.0;
  double azimuth_ba = 0.0;
};

// The normal section at A (or at B when A is on the equator) as an elliptic arc: the
// closed form as its makers printed it. Its normal sections are not the geodesic, so
// it departs from the geodesic by centimetres at 100 km and by metres beyond 1000 km.
Inverse EllipticArc(const CSpheroid& s, double lat_a, double lon_a, double lat_b, double lon_b,
                    double sin_a, double cos_a, double tan_a, double nu1) {
  Inverse r;
  if ((lat_a == lat_b && lon_a == lon_b) || s.m_E2 == 0.0) return r;
  if (lat_a == 0.0 && lat_b == 0.0) {
    const double dlon = std::remainder(lon_b - lon_a, kTwoPi);
    r.azimuth_ab = dlon >= 0.0 ? kHalfPi : 3.0 * kHalfPi;
    r.azimuth_ba = dlon >= 0.0 ? 3.0 * kHalfPi : kHalfPi;
    r.range = nu1 * cos_a * std::fabs(dlon);
    return r;
  }
  const double dlon = lon_b - lon_a;
  const double sin_b = std::sin(lat_b), cos_b = std::cos(lat_b), tan_b = std::tan(lat_b);
  const double nu2 = Nu(s, sin_b);
  const double e2 = s.m_E2, ep2 = s.m_Ep2;

  if (dlon == 0.0 || tan_a == 0.0) {
    r.azimuth_ab = tan_a > tan_b ? kPi : 0.0;
  } else {
    const double c =
        (e2 * nu1 * cos_a / (nu2 * cos_b) + tan_b / ((1.0 + ep2) * tan_a) - std::cos(dlon)) *
        sin_a / std::sin(dlon);
    r.azimuth_ab = TurnOver(std::atan2(1.0, c), dlon);
  }
  const double dlon_ba = lon_a - lon_b;
  if (dlon_ba == 0.0 || tan_b == 0.0) {
    r.azimuth_ba = tan_b > tan_a ? kPi : 0.0;
  } else {
    const double c =
        (e2 * nu2 * cos_b / (nu1 * cos_a) + tan_a / ((1.0 + ep2) * tan_b) - std::cos(dlon_ba)) *
        sin_b / std::sin(dlon_ba);
    r.azimuth_ba = TurnOver(std::atan2(1.0, c), dlon_ba);
  }

  const bool at_a = lat_a != 0.0;
  const double alpha = at_a ? r.azimuth_ab : r.azimuth_ba;
  const double lat_p = at_a ? lat_a : lat_b;
  const double sin_p = at_a ? sin_a : sin_b, cos_p = at_a ? cos_a : cos_b;
  const double cos_alpha = std::cos(alpha), sin_alpha = std::sin(alpha);
  const double k = ep2 * (cos_alpha * cos_alpha * cos_p * cos_p + sin_p * sin_p);
  const double m = std::sqrt(1.0 + ep2 * cos_p * cos_p * cos_alpha * cos_alpha);
  double sigma1 = std::atan2(std::tan(lat_p), std::sqrt(1.0 + k) * cos_alpha);
  const double one_minus_e2 = 1.0 - e2;
  double y, x, radius;
  if (at_a) {
    y = (one_minus_e2 * nu2 * sin_b - one_minus_e2 * nu1 * sin_a) * (1.0 + k) + nu1 * sin_a;
    x = (nu2 * cos_b * std::cos(dlon) * cos_alpha -
         sin_alpha * nu2 * cos_b * std::sin(dlon) * sin_a) *
        std::sqrt(1.0 + k);
    radius = nu1 / (1.0 + k) * m;
  } else {
    y = (one_minus_e2 * nu1 * sin_a - one_minus_e2 * nu2 * sin_b) * (1.0 + k) + nu2 * sin_b;
    x = (nu1 * cos_a * std::cos(dlon_ba) * cos_alpha -
         sin_alpha * nu1 * cos_a * std::sin(dlon_ba) * sin_b) *
        std::sqrt(1.0 + k);
    radius = nu2 / (1.0 + k) * m;
  }
  double sigma2 = std::atan2(y, x);
  if (sigma1 < 0.0 && sigma2 > 0.0) sigma1 += kTwoPi;
  if (sigma1 > 0.0 && sigma2 < 0.0) sigma2 += kTwoPi;
  double dsigma = sigma2 - sigma1;
  if (dsigma < 0.0) dsigma += kTwoPi;
  const double k2 = k * k, k3 = k2 * k;
  r.range =
      radius *
      (dsigma * (1.0 + k / 4 - 3.0 * k2 / 64 + 5.0 * k3 / 256) +
       (std::sin(2.0 * sigma2) - std::sin(2.0 * sigma1)) * (k2 / 32 - k / 8 - 15.0 * k3 / 1024) +
       (std::sin(4.0 * sigma2) - std::sin(4.0 * sigma1)) * (3.0 * k3 / 1024 - k2 / 256));
  return r;
}

// The normal section by series: good to some tens of kilometres. False when its
// azimuth's denominator is 0. Differences of longitude are taken as they come, not
// reduced, as its makers used it: a line across the 180th meridian gets its azimuths
// turned by half a turn (bench/geodesic_error_profile.md).
bool NormalSectionSeries(const CSpheroid& s, double lat_a, double lon_a, double lat_b, double lon_b,
                         double sin_a, double cos_a, double tan_a, double nu1, Inverse& r) {
  if ((lat_a == lat_b && lon_a == lon_b) || s.m_E2 == 0.0) {
    r = Inverse{};
    return true;
  }
  double dlat = lat_b - lat_a, dlon = lon_b - lon_a;
  if (std::fabs(dlat) < kMilliSecond) dlat = 0.0;
  if (std::fabs(dlon) < kMilliSecond) dlon = 0.0;
  const double sin_b = std::sin(lat_b), cos_b = std::cos(lat_b);
  const double nu2 = Nu(s, sin_b);
  const double e2 = s.m_E2;
  // Latitude of B on the normal through A.
  const double tan_psi = (nu2 * (1.0 - e2) * sin_b + e2 * nu1 * sin_a) / (nu2 * cos_b);
  const double psi = std::atan(tan_psi);
  const double d = tan_psi * cos_a - std::cos(dlon) * sin_a;
  if (d == 0.0) return false;
  double alpha = std::atan(std::sin(dlon) / d);
  if (alpha < 0.0) alpha += kPi;
  if (dlon < 0.0) alpha += kPi;
  if (dlat < 0.0 && dlon == 0.0) alpha += kPi;
  const double sin_alpha = std::sin(alpha);
  const double sigma = std::fabs(sin_alpha) > 0.0005
                           ? std::asin(std::cos(psi) * std::sin(dlon) / sin_alpha)
                           : std::asin(std::cos(psi) * d / std::cos(alpha));
  double beta =
      std::atan(std::sin(dlon) / (std::sin(psi) * std::cos(dlon) - std::cos(psi) * tan_a));
  if (dlat > 0.0) beta += kPi;
  beta -= std::tan(sigma / 2.0) * std::sin(beta) * (lat_b - psi);
  beta = std::fmod(beta, kTwoPi);
  if (beta < 0.0) beta += kTwoPi;
  if (std::fabs(beta - alpha) < kHalfPi) {
    beta += kPi;
    if (beta >= kTwoPi) beta -= kTwoPi;
  }
  // The arc of the normal section from its angle sigma on the sphere of radius nu1
  // (Robbins): nu1 sigma (1 - h^2 sigma^2 (1 - h^2) / 6 + g h sigma^3 (1 - 2 h^2) / 8)
  // with h = e' cos(alpha) cos(latA) and g = e' sin(latA). The printed compression of
  // it, sigma nu1 + ((sigma e'^2 / 4) sin(latA) - h/3) (h/2) sigma^2 with h = e'^2
  // cos(alpha) cos(latA), adds a number of radians to a length (its correction lacks
  // the factor nu1) and so is 1 mm long on the 55 km Flinders Peak - Buninyong line
  // and 23 mm at 100 km; this form is within 1e-11 of the geodesic's length up to
  // 100 km.
  const double ep = std::sqrt(s.m_Ep2);
  const double h = ep * std::cos(alpha) * cos_a, g = ep * sin_a, h2 = h * h;
  const double sigma2 = sigma * sigma;
  r.range = std::fabs(
      nu1 * sigma *
      (1.0 - h2 * sigma2 * (1.0 - h2) / 6.0 + g * h * sigma2 * sigma * (1.0 - 2.0 * h2) / 8.0));
  r.azimuth_ab = alpha;
  r.azimuth_ba = beta;
  return true;
}

// The slope-distance iteration from spheroidal distance s0 for heights whose mean is
// hm and whose difference is dh; bounded, NaN when it does not settle.
double SlopeIteration(double s0, double hm, double dh, double radius) {
  constexpr double kSettled = 0.0001;  // metres
  constexpr int kMostRounds = 100;
  const double c = 1.0 / (24.0 * radius * radius);
  const double factor = (radius + hm) / radius;
  double length = s0;
  for (int round = 0; round < kMostRounds; ++round) {
    const double chord = (s0 - length * length * length * c) * factor;
    const double square = chord * chord + dh * dh;
    const double next = square > 0.0 ? std::sqrt(square) : 0.0;
    const bool settled = std::fabs(length - next) <= kSettled;
    length = next;
    if (settled) return length;
  }
  return std::nan("");
}

}  // namespace

bool CSpheroid::InverseRangeAndBearing(double* range, double* azimuth_ab, double* azimuth_ba,
                                       double lat_a, double lon_a, double lat_b,
                                       double lon_b) const {
  if (!std::isfinite(lat_a) || !std::isfinite(lon_a) || !std::isfinite(lat_b) ||
      !std::isfinite(lon_b)) {
    return false;
  }
  Inverse r;
  // The normal sections start from A's sine, cosine, tangent and nu.
  const auto at_a = [&](auto method) {
    const double sin_a = std::sin(lat_a), cos_a = std::cos(lat_a), tan_a = std::tan(lat_a);
    return method(sin_a, cos_a, tan_a, Nu(*this, sin_a));
  };
  switch (m_RangeBearingMethod) {
    case kRangeBearingEllipticArc:
      r = at_a([&](double sin_a, double cos_a, double tan_a, double nu1) {
        return EllipticArc(*this, lat_a, lon_a, lat_b, lon_b, sin_a, cos_a, tan_a, nu1);
      });
      break;
    case kRangeBearingSeries:
      if (!at_a([&](double sin_a, double cos_a, double tan_a, double nu1) {
            return NormalSectionSeries(*this, lat_a, lon_a, lat_b, lon_b, sin_a, cos_a, tan_a, nu1,
                                       r);
          })) {
        return false;
      }
      break;
    case kRangeBearingGeodesic: {
      // Coincident points give zeros, as the other methods give them.
      if (lat_a == lat_b && lon_a == lon_b) break;
      const GeodesicInverseResult g = GeodesicInverse(*this, lat_a, lon_a, lat_b, lon_b);
      if (g.status != GeodesicStatus::kOk) return false;
      r.range = g.distance;
      r.azimuth_ab = g.azimuth_a < 0.0 ? g.azimuth_a + kTwoPi : g.azimuth_a;
      r.azimuth_ba = g.azimuth_b + kPi;  // in (0, 2 pi]
      if (r.azimuth_ba >= kTwoPi) r.azimuth_ba -= kTwoPi;
      break;
    }
    default:
      return false;
  }
  if (range != nullptr) *range = r.range;
  if (azimuth_ab != nullptr) *azimuth_ab = r.azimuth_ab;
  if (azimuth_ba != nullptr) *azimuth_ba = r.azimuth_ba;
  return true;
}

double CSpheroid::SlopeDistance(double s, double h_a, double h_b) const {
  if (!std::isfinite(s) || !std::isfinite(h_a) || !std::isfinite(h_b)) return std::nan("");
  const double radius = m_SemiMajorAxis;
  if (s <= 0.0 || radius <= 0.0) return s;
  const double q_a = 2.0 * std::fabs(h_a) * radius + h_a * h_a;
  const double q_b = 2.0 * std::fabs(h_b) * radius + h_b * h_b;
  if (q_a + q_b <= 0.0) return s;
  if (s <= q_a + q_b) return SlopeIteration(s, 0.5 * (h_a + h_b), h_a - h_b, radius);
  // Heights of a fraction of a millimetre: each end's rise laid off as a leg of its
  // own, the rest of the line as it is.
  return s - q_a - q_b + SlopeIteration(q_a, 0.5 * h_a, h_a, radius) +
         SlopeIteration(q_b, 0.5 * h_b, h_b, radius);
}

void GridRangeAndBearing(double ea, double na, double eb, double nb, double* bearing,
                         double* distance) {
  const double de = eb - ea, dn = nb - na;
  double theta = de == 0.0 && dn == 0.0 ? 0.0 : std::atan2(de, dn);
  if (theta < 0.0) theta += kTwoPi;
  if (bearing != nullptr) *bearing = theta;
  if (distance != nullptr) *distance = std::sqrt(de * de + dn * dn);
}

double ReverseBearing(double bearing) {
  return bearing < kPi ? bearing + kPi : bearing - kPi;
}

RangeAndBearingResult ComputeRangeAndBearing(const CSpheroid& spheroid,
                                             const CProjection& projection, const SurveyPoint& a,
                                             const SurveyPoint& b) {
  RangeAndBearingResult result;
  if (!std::isfinite(a.latitude) || !std::isfinite(a.longitude) || !std::isfinite(b.latitude) ||
      !std::isfinite(b.longitude)) {
    result.spheroidal_ok = result.rhumb_ok = false;
    return result;
  }
  // 1. The spheroidal record.
  RANGE_BEARING& sph = result.spheroidal;
  result.spheroidal_ok =
      spheroid.InverseRangeAndBearing(&sph.m_Range, &sph.m_BearingAB, &sph.m_BearingBA, a.latitude,
                                      a.longitude, b.latitude, b.longitude);
  sph.m_SlopeDistance = spheroid.SlopeDistance(sph.m_Range, a.height, b.height);

  // 2. The grid record.
  RANGE_BEARING& grid = result.grid;
  GridRangeAndBearing(a.easting, a.northing, b.easting, b.northing, &grid.m_BearingAB,
                      &grid.m_Range);
  grid.m_BearingBA = ReverseBearing(grid.m_BearingAB);
  const double dh = b.height - a.height;
  grid.m_SlopeDistance =
      grid.m_Range > 0.0 ? std::sqrt(grid.m_Range * grid.m_Range + dh * dh) : std::fabs(dh);

  // 3. One nautical mile: a minute of latitude at the mean latitude.
  const double mean_latitude = 0.5 * (a.latitude + b.latitude);
  const double sin_mean = std::sin(mean_latitude);
  const double rho_mean = Rho(spheroid, sin_mean);
  result.nautical_mile = rho_mean * kPi / 10800.0;

  // 4. The rhumb record.
  RANGE_BEARING& rhumb = result.rhumb;
  const double sin_a = std::sin(a.latitude), cos_a = std::cos(a.latitude);
  result.rhumb_ok = spheroid.RhumbLine(&rhumb.m_Range, &rhumb.m_BearingAB, a.longitude, b.latitude,
                                       b.longitude, sin_a, cos_a, Nu(spheroid, sin_a), a.latitude);
  rhumb.m_BearingBA = ReverseBearing(rhumb.m_BearingAB);
  if (result.nautical_mile > 0.0) rhumb.m_NauticalMiles = rhumb.m_Range / result.nautical_mile;

  // 5. t - T at each end, on the transverse Mercator family only.
  const double k0 = projection.m_ScaleFactor;
  const double nu_mean = Nu(spheroid, sin_mean);
  const double denominator = 6.0 * rho_mean * nu_mean * k0 * k0;
  if (projection.m_Spheroid != nullptr && projection.m_Type >= 0 && projection.m_Type <= 4 &&
      spheroid.m_E2 > 0.0 && k0 > 0.0 && denominator > 0.0) {
    const double ea = a.easting - projection.m_FalseEasting;
    const double eb = b.easting - projection.m_FalseEasting;
    result.t_minus_T_a =
        -(2.0 * ea + eb) * (b.northing - a.northing) / denominator * kArcSecondsPerRadian;
    result.t_minus_T_b =
        -(2.0 * eb + ea) * (a.northing - b.northing) / denominator * kArcSecondsPerRadian;
  }

  // 6. The line scale factor.
  const double scale = sph.m_Range > 0.0 ? grid.m_Range / sph.m_Range : 0.0;
  sph.m_LineScaleFactor = grid.m_LineScaleFactor = scale;
  return result;
}

}  // namespace orvale
