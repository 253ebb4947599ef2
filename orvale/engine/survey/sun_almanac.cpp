#include "orvale/engine/survey/sun_almanac.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <span>
#include <string_view>
#include <vector>

#include "orvale/engine/survey/solar_ephemeris.h"

namespace orvale {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::array<int, 12> kMonthLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::string_view kHeadingStart = "Sun almanac for ";

template <std::size_t N>
double Evaluate(const std::array<double, N>& c, double x) {
  double sum = 0.0;
  for (std::size_t k = N; k-- > 0;)
    sum = sum * x + c[k];
  return sum;
}

// The weighted least-squares polynomial of degree N - 1 through (x, y), by
// Householder's QR on the Vandermonde matrix: the normal equations would square its
// condition.
template <std::size_t N>
std::array<double, N> FitPolynomial(std::span<const double> x, std::span<const double> y,
                                    std::span<const double> weights) {
  const std::size_t rows = x.size();
  std::vector<double> a(rows * N);  // column-major
  std::vector<double> b(rows);
  for (std::size_t i = 0; i < rows; ++i) {
    const double root = std::sqrt(weights[i]);
    b[i] = root * y[i];
    double power = root;
    for (std::size_t j = 0; j < N; ++j, power *= x[i])
      a[j * rows + i] = power;
  }
  for (std::size_t j = 0; j < N; ++j) {
    double* column = &a[j * rows];
    double norm = 0.0;
    for (std::size_t i = j; i < rows; ++i)
      norm += column[i] * column[i];
    norm = std::sqrt(norm);
    const double alpha = column[j] > 0.0 ? -norm : norm;
    std::vector<double> v(column + j, column + rows);
    v[0] -= alpha;
    double vv = 0.0;
    for (const double value : v)
      vv += value * value;
    if (vv == 0.0) continue;
    const auto reflect = [&](double* target) {
      double dot = 0.0;
      for (std::size_t i = j; i < rows; ++i)
        dot += v[i - j] * target[i];
      const double factor = 2.0 * dot / vv;
      for (std::size_t i = j; i < rows; ++i)
        target[i] -= factor * v[i - j];
    };
    for (std::size_t k = j; k < N; ++k)
      reflect(&a[k * rows]);
    reflect(b.data());
  }
  std::array<double, N> c{};
  for (std::size_t j = N; j-- > 0;) {
    double sum = b[j];
    for (std::size_t k = j + 1; k < N; ++k)
      sum -= a[k * rows + j] * c[k];
    c[j] = sum / a[j * rows + j];
  }
  return c;
}

// The polynomial whose largest departure from (x, y) is least, by Lawson's weighted
// least squares: each round weights every point by its departure, which drives the
// fit towards equal ripples. The sun's month-long wobble about the Earth-Moon
// barycentre (6" in longitude) is more than a quartic follows, so the least-squares
// fit alone leaves up to 1.2" of declination and 0.2 s of E at the month's ends;
// levelling the ripples halves the worst (0.6" and 0.1 s).
template <std::size_t N>
std::array<double, N> FitLeastWorst(std::span<const double> x, std::span<const double> y) {
  std::vector<double> weights(x.size(), 1.0 / static_cast<double>(x.size()));
  std::array<double, N> c = FitPolynomial<N>(x, y, weights);
  for (int round = 0; round < 60; ++round) {
    double total = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
      weights[i] *= std::fabs(Evaluate(c, x[i]) - y[i]);
      total += weights[i];
    }
    if (total == 0.0) break;  // an exact fit
    for (double& weight : weights)
      weight = std::max(weight / total, 1e-300);
    c = FitPolynomial<N>(x, y, weights);
  }
  return c;
}

// The value nearest `reference` among value + 24 k: R runs past 24 hours once a year.
double Unwrap(double value, double reference) {
  return value + 24.0 * std::round((reference - value) / 24.0);
}

void AppendNumber(std::string& text, double value) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  text += ',';
  text.append(digits, result.ptr);
}

}  // namespace

SunAlmanac FitSunAlmanac(int year) {
  SunAlmanac almanac;
  almanac.year = year;
  for (int month = 1; month <= 12; ++month) {
    const int days = kMonthLengths[static_cast<std::size_t>(month - 1)] +
                     (month == 2 && IsGregorianLeapYear(year));
    std::vector<double> x, declination, e, r, semi_diameter;
    // Every hour of the month and of the next month's first day, the days counted on
    // from this month's (1 March is 29 February's day 30), as a shot late on the last
    // day reads the polynomial.
    for (int day = 1; day <= days + 1; ++day) {
      for (int hour = 0; hour < 24; ++hour) {
        const double seconds = (day - 1) * 86400.0 + hour * 3600.0;
        const SunPosition sun = SunAt(year, month, 1, seconds);
        x.push_back((day + hour / 24.0) / 32.0);
        declination.push_back(sun.declination * 180.0 / kPi);
        e.push_back(e.empty() ? sun.e_hours : Unwrap(sun.e_hours, e.back()));
        r.push_back(r.empty() ? sun.r_hours : Unwrap(sun.r_hours, r.back()));
        semi_diameter.push_back(sun.semi_diameter * 180.0 / kPi);
      }
    }
    SunAlmanacMonth& record = almanac.months[static_cast<std::size_t>(month - 1)];
    record.m_R = FitLeastWorst<2>(x, r);
    record.m_Declination = FitLeastWorst<5>(x, declination);
    record.m_E = FitLeastWorst<5>(x, e);
    record.m_SemiDiameter = FitLeastWorst<2>(x, semi_diameter);
    for (const double value : record.m_Declination)
      record.m_DeclinationCheck += value;
    for (const double value : record.m_E)
      record.m_ECheck += value;
    for (std::size_t i = 0; i < x.size(); ++i) {
      almanac.worst_declination =
          std::max(almanac.worst_declination,
                   std::fabs(Evaluate(record.m_Declination, x[i]) - declination[i]) * kPi / 180.0);
      almanac.worst_e =
          std::max(almanac.worst_e, std::fabs(Evaluate(record.m_E, x[i]) - e[i]) * 3600.0);
    }
  }
  return almanac;
}

std::string SunAlmanacText(const SunAlmanac& almanac) {
  char heading[512];
  std::snprintf(
      heading, sizeof heading,
      "%.*s%d: Orvale's ephemeris (VSOP87 as Meeus truncates it, FK5, nutation, "
      "aberration), least-squares polynomials in x = (day + UT/24h)/32; declination "
      "within %.2f\", E within %.3f s. Month,R0,R1,D0,D1,D2,D3,D4,E0,E1,E2,E3,E4,SD0,SD1\n",
      static_cast<int>(kHeadingStart.size()), kHeadingStart.data(), almanac.year,
      almanac.worst_declination * 180.0 / kPi * 3600.0, almanac.worst_e);
  std::string text = heading;
  for (std::size_t m = 0; m < 12; ++m) {
    const SunAlmanacMonth& record = almanac.months[m];
    text += std::to_string(m + 1);
    for (const double value : record.m_R)
      AppendNumber(text, value);
    for (const double value : record.m_Declination)
      AppendNumber(text, value);
    for (const double value : record.m_E)
      AppendNumber(text, value);
    for (const double value : record.m_SemiDiameter)
      AppendNumber(text, value);
    text += '\n';
  }
  return text;
}

int SunAlmanacYear(const std::string& heading) {
  if (!std::string_view(heading).starts_with(kHeadingStart)) return 0;
  int year = 0;
  const char* first = heading.data() + kHeadingStart.size();
  const auto [end, error] = std::from_chars(first, heading.data() + heading.size(), year);
  return error == std::errc() && end != first && *end == ':' ? year : 0;
}

}  // namespace orvale
