// Norwegian national grid (NGO 1948): eight axes, each tied to UTM by a complex
// polynomial of degree 4 in the grid co-ordinates. Axes IV to VIII map straight onto
// UTM zones 33 to 35; axes I to III map onto a local frame that twelve similarity
// transformations ("blocks") bring onto UTM zone 32. Grid co-ordinates come in the
// national order: the northing-type x first, the easting-type y second.
#include <array>
#include <cmath>
#include <complex>

#include "orvale/engine/projection/internal/projection_methods.h"

namespace orvale::projection {
namespace {

using Complex = std::complex<double>;

// Unit of the polynomials' argument, metres.
constexpr double kPolynomialUnit = 536870.912;

struct AxisPolynomial {
  double x0;                 // northing-type origin of the axis, metres
  std::array<Complex, 5> c;  // c0 ... c4
};

constexpr std::array<AxisPolynomial, 8> kAxes = {{
    {300000.0,
     {Complex(-160874.047, -67496.901), Complex(24053.06, 536287.325), Complex(565.997, -50.956),
      Complex(-28.481, 1.767), Complex(-0.299, 0.121)}},
    {300000.0,
     {Complex(-33508.964, -70944.16), Complex(4990.631, 536640.347), Complex(118.305, -2.206),
      Complex(-5.906, 0.074), Complex(-0.067, 0.013)}},
    {400000.0,
     {Complex(91253.101, 30069.122), Complex(-14189.735, 536523.332), Complex(-321.743, -17.064),
      Complex(16.803, 0.642), Complex(0.184, 0.053)}},
    {900000.0,
     {Complex(419391.187, 7329821.436), Complex(15219.978, 536488.296), Complex(283.836, -16.136),
      Complex(-17.961, 0.82), Complex(-0.17, 0.03)}},
    {1100000.0,
     {Complex(579208.227, 7529815.306), Complex(-16389.092, 536452.414), Complex(-278.899, -17.076),
      Complex(19.323, 0.994), Complex(0.14, 0.038)}},
    {1300000.0,
     {Complex(495475.09, 7728548.305), Complex(975.675, 536660.865), Complex(15.64, -0.095),
      Complex(-1.128, 0.01), Complex(0.008, 0.014)}},
    {1300000.0,
     {Complex(417891.157, 7729981.558), Complex(18539.914, 536385.8), Complex(288.252, -20.071),
      Complex(1.308, 1.308), Complex(0.17, 0.042)}},
    {1300000.0,
     {Complex(579458.078, 7729908.152), Complex(-18052.407, 536399.941), Complex(-280.044, -19.024),
      Complex(21.287, 1.256), Complex(0.176, 0.054)}},
}};
static_assert(kAxes.size() == 8, "NGO 1948 has eight axes");

// Similarity transformation from the local frame of axes I-III to UTM zone 32.
struct Block {
  double easting_shift;
  double northing_shift;
  double scale;
  double rotation;
};

constexpr std::array<Block, 12> kBlocks = {{
    {1.571, 1.621, 5.057, 4.218},
    {1.097, 0.353, 1.648, 6.569},
    {0.234, 1.11, -0.432, 3.504},
    {1.706, 2.678, 6.785, 3.732},
    {1.015, 2.228, 6.012, 2.368},
    {0.941, 1.59, 5.116, 2.947},
    {0.574, 1.177, 1.239, 1.888},
    {1.131, 1.803, -1.242, -1.404},
    {0.503, 0.499, 0.799, -1.739},
    {0.642, 1.126, 1.75, 0.805},
    {0.849, 0.752, 2.292, -0.741},
    {0.741, -1.707, 6.195, -1.707},
}};
static_assert(kBlocks.size() == 12, "the local frame of axes I-III has twelve blocks");

// The forward takes the polynomial value of this block as it is.
constexpr int kUntransformedBlock = 12;
constexpr int kFirstUtmAxis = 4;
constexpr int kFirstZoneWithoutBlocks = 33;
constexpr double kResidualLimit = 0.01;  // metres

struct UtmPoint {
  double easting = 0.0;
  double northing = 0.0;
};

bool IsAxis(int axis) {
  return axis >= 1 && axis <= static_cast<int>(kAxes.size());
}

// The axis polynomial: w = c4 z^4 + ... + c0 with z = X - iY, by Horner's rule.
Complex AxisPolynomialValue(int axis, double x, double y) {
  const AxisPolynomial& polynomial = kAxes[static_cast<std::size_t>(axis - 1)];
  const Complex z((x - polynomial.x0) / kPolynomialUnit, -y / kPolynomialUnit);
  Complex w = polynomial.c[4];
  for (int k = 3; k >= 0; --k)
    w = w * z + polynomial.c[static_cast<std::size_t>(k)];
  return w;
}

// Block of the local frame that a polynomial value (p, q) falls in, 1 ... 12.
int LocalFrameBlock(double p, double q) {
  if (p < -100000.0) {
    if (q < -160000.0) return 1;
    if (q < -30000.0) return 2;
    return 3;
  }
  if (p < 30000.0) {
    if (q < -270000.0) return 4;
    if (q < -160000.0) return 5;
    if (q < -70000.0) return 6;
    if (q < 130000.0) return 7;
    return 8;
  }
  if (q < -70000.0) return 9;
  if (q < 100000.0) return 10;
  if (q < 260000.0) return 11;
  return 12;
}

// Block of the UTM zone 32 frame a projected position falls in, 1 ... 12.
int UtmBlock(double easting, double northing) {
  if (easting < 400000.0) {
    if (northing < 6640000.9) return 1;
    if (northing < 6770001.6) return 2;
    return 3;
  }
  if (easting < 530001.0) {
    if (northing < 6530000.7) return 4;
    if (northing < 6640000.6) return 5;
    if (northing < 6730001.0) return 6;
    if (northing < 6930001.1) return 7;
    return 8;
  }
  if (northing < 6730000.1) return 9;
  if (northing < 6900001.0) return 10;
  if (northing < 7060001.6) return 11;
  return 12;
}

UtmPoint BlockToUtm(const Complex& w, int block) {
  const Block& b = kBlocks[static_cast<std::size_t>(block - 1)];
  const double p = w.real() / kPolynomialUnit;
  const double q = w.imag() / kPolynomialUnit;
  return {b.easting_shift + 500000.0 + (b.scale + 536870.0) * p + b.rotation * q,
          b.northing_shift + 6.8e6 + (b.scale + 536870.0) * q - b.rotation * p};
}

// Grid to UTM in the forward iteration, with the block chosen from the projected
// position; there block 12 takes the polynomial value as it is.
UtmPoint GridToUtmInBlock(int axis, int block, double x, double y) {
  const Complex w = AxisPolynomialValue(axis, x, y);
  if (axis >= kFirstUtmAxis || block == kUntransformedBlock) return {w.real(), w.imag()};
  return BlockToUtm(w, block);
}

// Grid to UTM in the inverse, with the block chosen from the polynomial value itself.
UtmPoint GridToUtm(int axis, double x, double y) {
  const Complex w = AxisPolynomialValue(axis, x, y);
  if (axis >= kFirstUtmAxis) return {w.real(), w.imag()};
  return BlockToUtm(w, LocalFrameBlock(w.real(), w.imag()));
}

ProjectionStatus NorwegianGridForward(CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  UtmPoint target;
  static_cast<void>(TransverseMercatorForward(
      p, g, {&target.easting, &target.northing, out.convergence, out.scale}));

  int block = kUntransformedBlock;
  if (p.NationalGridUtmZone() < kFirstZoneWithoutBlocks) {
    block = UtmBlock(target.easting, target.northing);
    if (block != kUntransformedBlock) p.SetNorwegianAxis((block + 4) / 4, p.NationalGridUtmZone());
  }
  const int axis = p.NorwegianAxis();
  p.m_Country = CProjection::MethodText(PROJECTION_NORWEGIAN, axis - 1);
  if (!IsAxis(axis)) return ProjectionStatus::kUnknownMethod;

  // The polynomial has no closed inverse: correct the grid position by the UTM
  // residuals until it lands on the projected position. Over the country the
  // polynomial is close to a unit similarity (turned by 3 degrees at most), so each
  // round removes most of the residual and a handful of rounds reach 0.01 m.
  double x = target.northing - (block == kUntransformedBlock ? 7.2e6 : 6.43e6);
  double y = target.easting;
  bool settled = false;
  for (int round = 0; round < kIterationLimit && !settled; ++round) {
    const UtmPoint estimate = GridToUtmInBlock(axis, block, x, y);
    const double northing_residual = target.northing - estimate.northing;
    const double easting_residual = target.easting - estimate.easting;
    x += northing_residual;
    y += easting_residual;
    settled = std::fabs(northing_residual) <= kResidualLimit &&
              std::fabs(easting_residual) <= kResidualLimit;
  }
  if (out.easting != nullptr) *out.easting = x;
  if (out.northing != nullptr) *out.northing = y;
  return settled ? ProjectionStatus::kOk : ProjectionStatus::kNoConvergence;
}

ProjectionStatus NorwegianGridInverse(const CProjection& p, double easting, double northing,
                                      const GeogOutputs& out) {
  const int axis = p.NorwegianAxis();
  if (!IsAxis(axis)) return ProjectionStatus::kUnknownMethod;
  const UtmPoint utm = GridToUtm(axis, easting, northing);
  return TransverseMercatorInverse(p, utm.easting, utm.northing, out);
}

}  // namespace

const ProjectionMaths kNorwegianGridMaths = {
    .recording_forward = NorwegianGridForward,
    .inverse = NorwegianGridInverse,
};

}  // namespace orvale::projection
