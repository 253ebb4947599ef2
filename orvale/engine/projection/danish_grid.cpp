// Danish national grid (System 34): three zones, each tied to UTM by complex
// polynomials in both directions (degree 3 for Jutland and Zealand, 7 for Bornholm).
// The zone is kept in the parameter block (CProjection::DanishZone).
#include <array>
#include <cmath>
#include <complex>

#include "orvale/engine/projection/internal/projection_methods.h"

namespace orvale::projection {
namespace {

using Complex = std::complex<double>;

struct ZonePolynomial {
  int degree;
  double northing_offset;
  double easting_offset;
  std::array<Complex, 8> c;  // c0 ... c7, unused terms zero
};

// UTM to the national grid: z' = (Nt - Noff) + i (Et - Eoff), N = Re w, E = Im w.
constexpr std::array<ZonePolynomial, 3> kForward = {{
    {3,
     6231000.0,
     530000.0,
     {Complex(199371.14647, -265381.72775), Complex(1.0001365021, 0.019995520454),
      Complex(-1.648605326e-11, 3.4452862838e-10), Complex(-1.8877421278e-17, -9.6740792784e-17)}},
    {3,
     6131000.0,
     678000.0,
     {Complex(96432.190004, -119353.22229), Complex(0.99980074884, 0.019555849611),
      Complex(-7.207782018e-12, 2.1675209626e-09), Complex(6.2510854612e-17, -2.521500272e-16)}},
    {7,
     6100000.0,
     500000.0,
     {Complex(42579.934018, -42993.547686), Complex(1.0004053319, -0.0014643915438),
      Complex(-7.7039204168e-11, -4.7898338026e-10), Complex(4.7460391692e-15, 3.7432077762e-14),
      Complex(1.8259975589e-18, -4.8899686702e-18), Complex(-2.072795996e-22, 2.0540300545e-22),
      Complex(7.0257273976e-27, -2.9421011013e-27), Complex(-8.0529957628e-32, 1.5387577766e-33)}},
}};
static_assert(kForward.size() == 3, "System 34 has three zones");

// National grid to UTM: z' = (N - Noff) + i (E + Eoff), Nt = Re w, Et = Im w.
// Bornholm's offsets are printed as 500000 in this direction; its polynomial is
// expanded about 50000 (where the forward lands), and with 500000 a Bornholm grid
// position comes back some 600 km away. 50000 is what inverts the forward.
constexpr std::array<ZonePolynomial, 3> kInverse = {{
    {3,
     200000.0,
     200000.0,
     {Complex(6232935.0512, 595335.58288), Complex(0.99950870832, -0.019984265541),
      Complex(-2.27324697e-11, -3.3921905837e-10), Complex(2.6264691305e-17, 9.4810550416e-17)}},
    {3,
     200000.0,
     200000.0,
     {Complex(6232935.6122, 595335.3482), Complex(0.9994550822, -0.019979251874),
      Complex(-7.3897597436e-11, -2.0717946709e-09), Complex(-5.2080308192e-17, 2.5703781294e-16)}},
    {7,
     50000.0,
     50000.0,
     {Complex(6107427.3382, 493007.25696), Complex(0.99959968336, 0.0014686762273),
      Complex(1.2072957024e-10, 5.4905973626e-10), Complex(-9.459344988e-15, 2.151083324e-15),
      Complex(6.5994864072e-19, -1.0163477904e-18), Complex(2.4410466467e-23, 4.4726583308e-23),
      Complex(-2.8946629725e-27, -1.1066966998e-27), Complex(8.0282195772e-32, -5.8658108998e-34)}},
}};
static_assert(kInverse.size() == 3, "System 34 has three zones");

Complex Evaluate(const ZonePolynomial& polynomial, const Complex& z) {
  Complex w = polynomial.c[static_cast<std::size_t>(polynomial.degree)];
  for (int j = polynomial.degree - 1; j >= 0; --j)
    w = w * z + polynomial.c[static_cast<std::size_t>(j)];
  return w;
}

bool IsZone(int zone) {
  return zone >= 0 && zone < static_cast<int>(kForward.size());
}

ProjectionStatus DanishGridForward(const CProjection& p, const GeogPoint& g,
                                   const GridOutputs& out) {
  const int zone = p.DanishZone();
  double utm_easting = 0.0;
  double utm_northing = 0.0;
  const ProjectionStatus status =
      TransverseMercatorForward(p, g, {&utm_easting, &utm_northing, out.convergence, out.scale});
  if (status != ProjectionStatus::kOk) {
    // No result there: the NaNs the projection gave go out as they are.
    if (out.easting != nullptr) *out.easting = utm_easting;
    if (out.northing != nullptr) *out.northing = utm_northing;
    return status;
  }
  if (!IsZone(zone)) return ProjectionStatus::kUnknownMethod;
  const ZonePolynomial& polynomial = kForward[static_cast<std::size_t>(zone)];
  const Complex w = Evaluate(polynomial, Complex(utm_northing - polynomial.northing_offset,
                                                 utm_easting - polynomial.easting_offset));
  if (out.easting != nullptr) *out.easting = w.imag();
  if (out.northing != nullptr) *out.northing = w.real();
  return ProjectionStatus::kOk;
}

Complex Derivative(const ZonePolynomial& polynomial, const Complex& z) {
  const auto degree = static_cast<std::size_t>(polynomial.degree);
  Complex d = static_cast<double>(degree) * polynomial.c[degree];
  for (std::size_t j = degree - 1; j >= 1; --j)
    d = d * z + static_cast<double>(j) * polynomial.c[j];
  return d;
}

// The UTM position whose forward polynomial gives the grid position w. The published
// inverse polynomial is a separate fit, not the forward's inverse: a grid position
// went back 0.4-0.5 mm (2 mm on Bornholm) from where the forward put it. So it only
// starts Newton's method on the forward polynomial, which is analytic: the step is
// (F(z) - w) / F'(z), and two or three settle it to the micrometre.
bool UtmOfGrid(int zone, const Complex& w, double& utm_easting, double& utm_northing) {
  const ZonePolynomial& inverse = kInverse[static_cast<std::size_t>(zone)];
  const ZonePolynomial& forward = kForward[static_cast<std::size_t>(zone)];
  const Complex start = Evaluate(
      inverse, Complex(w.real() - inverse.northing_offset, w.imag() + inverse.easting_offset));
  Complex z(start.real() - forward.northing_offset, start.imag() - forward.easting_offset);
  for (int round = 0; round < kIterationLimit; ++round) {
    const Complex step = (Evaluate(forward, z) - w) / Derivative(forward, z);
    z -= step;
    if (!(std::abs(step) > 1e-9)) break;
  }
  utm_northing = z.real() + forward.northing_offset;
  utm_easting = z.imag() + forward.easting_offset;
  return std::isfinite(utm_northing) && std::isfinite(utm_easting);
}

ProjectionStatus DanishGridInverse(const CProjection& p, double easting, double northing,
                                   const GeogOutputs& out) {
  const int zone = p.DanishZone();
  if (!IsZone(zone)) return ProjectionStatus::kUnknownMethod;
  double utm_easting = 0.0, utm_northing = 0.0;
  if (!UtmOfGrid(zone, Complex(northing, easting), utm_easting, utm_northing)) {
    return ProjectionStatus::kNoConvergence;
  }
  return TransverseMercatorInverse(p, utm_easting, utm_northing, out);
}

// The grid's meridian distances count from the equator whatever the origin latitude.
void InitialiseDanishGrid(CProjection& p) {
  p.m_M0 = 0.0;
  InitialiseTransverseMercator(p);
}

}  // namespace

const ProjectionMaths kDanishGridMaths = {
    .initialise = InitialiseDanishGrid,
    .forward = DanishGridForward,
    .inverse = DanishGridInverse,
};

}  // namespace orvale::projection
