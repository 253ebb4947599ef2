// Norwegian national grid (NGO 1948): eight axes, each tied to UTM by a complex
// polynomial of degree 4 in the grid co-ordinates. Axes IV to VIII map straight onto
// UTM zones 33 to 35; axes I to III map onto a local frame that twelve similarity
// transformations ("blocks") bring onto UTM zone 32. Grid co-ordinates come in the
// national order: the northing-type x first, the easting-type y second.
#include <array>
#include <cmath>
#include <complex>
#include <limits>

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

// Block 12 of the zone 32 frame keeps the axis the record holds.
constexpr int kKeptAxisBlock = 12;
constexpr int kFirstUtmAxis = 4;
constexpr int kFirstZoneWithoutBlocks = 33;
constexpr int kLocalFrameZone = 32;
// The forward iteration stops when the grid position lands within this of the
// projected one. The published 0.01 m leaves up to 0.3 mm in a round trip; the
// correction shrinks by a factor of 20 or more a round, so a micrometre costs a
// few rounds more and keeps the national grid's round trip at the projection's own.
constexpr double kResidualLimit = 1e-6;  // metres

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

// The UTM zone an axis's polynomial gives co-ordinates in: zone 32 for the local
// frame of axes I-III (through its blocks), 33 to 35 for axes IV to VIII.
int UtmZoneOfAxis(int axis) {
  constexpr std::array<int, 8> kZones = {32, 32, 32, 33, 33, 34, 35, 35};
  return kZones[static_cast<std::size_t>(axis - 1)];
}

// Grid to UTM in the forward iteration, with the block chosen from the projected
// position (axes I-III; the other axes give UTM as it is).
UtmPoint GridToUtmInBlock(int axis, int block, double x, double y) {
  const Complex w = AxisPolynomialValue(axis, x, y);
  if (axis >= kFirstUtmAxis) return {w.real(), w.imag()};
  return BlockToUtm(w, block);
}

// Grid to UTM in the inverse, with the block chosen from the polynomial value itself.
UtmPoint GridToUtm(int axis, double x, double y) {
  const Complex w = AxisPolynomialValue(axis, x, y);
  if (axis >= kFirstUtmAxis) return {w.real(), w.imag()};
  return BlockToUtm(w, LocalFrameBlock(w.real(), w.imag()));
}

// How far the central meridian of a UTM zone lies east of the record's: each axis's
// polynomial is tied to one zone, which need not be the record's (a zone 31 record
// takes the zone 32 frame; a record whose axis is kept in block 12 may hold an axis of
// zone 33). Zero when the record's meridian is the zone's.
double MeridianShift(const CProjection& p, int zone) {
  const double shift = CProjection::UtmZoneCentralMeridian(zone) - p.m_CentralMeridian;
  return std::fabs(shift) < 1e-12 ? 0.0 : shift;
}

// The Transverse Mercator of the record moved onto a zone's central meridian.
ProjectionStatus UtmOfZone(const CProjection& p, int zone, const GeogPoint& g, UtmPoint& utm,
                           const GridOutputs& out) {
  GeogPoint moved = g;
  moved.longitude = g.longitude - MeridianShift(p, zone);
  return TransverseMercatorForward(p, moved,
                                   {&utm.easting, &utm.northing, out.convergence, out.scale});
}

// A position the Transverse Mercator gives no result for has none here either.
ProjectionStatus NoGrid(ProjectionStatus status, const GridOutputs& out) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  for (double* output : {out.easting, out.northing, out.convergence, out.scale}) {
    if (output != nullptr) *output = kNaN;
  }
  return status;
}

// The printed forward keeps the record's axis in block 12 and takes its polynomial
// value as UTM zone 32 as it is, whichever axis that is. For an axis of I-III that is
// a frame the inverse does not use (it applies block 12's similarity, as for every
// block), and for axes IV-VIII a zone their polynomials are not in: the positions did
// not round-trip, or landed hundreds of kilometres off. Here every axis is computed in
// its own zone, with block 12's similarity for axes I-III.
ProjectionStatus NorwegianGridForward(CProjection& p, const GeogPoint& g, const GridOutputs& out) {
  const int record_zone = p.NationalGridUtmZone();
  int block = kKeptAxisBlock;
  if (record_zone < kFirstZoneWithoutBlocks) {
    UtmPoint frame;
    const ProjectionStatus status = UtmOfZone(p, kLocalFrameZone, g, frame, {});
    if (status != ProjectionStatus::kOk) return NoGrid(status, out);
    block = UtmBlock(frame.easting, frame.northing);
    if (block != kKeptAxisBlock) p.SetNorwegianAxis((block + 4) / 4, record_zone);
  }
  const int axis = p.NorwegianAxis();
  p.m_Country = CProjection::MethodText(PROJECTION_NORWEGIAN, axis - 1);
  if (!IsAxis(axis)) return ProjectionStatus::kUnknownMethod;
  UtmPoint target;
  const ProjectionStatus status = UtmOfZone(p, UtmZoneOfAxis(axis), g, target, out);
  if (status != ProjectionStatus::kOk) return NoGrid(status, out);
  // Axes I-III outside zones 31 and 32 take the block their projected position is in.
  if (axis < kFirstUtmAxis && record_zone >= kFirstZoneWithoutBlocks) {
    block = UtmBlock(target.easting, target.northing);
  }

  // The polynomial has no closed inverse: correct the grid position by the UTM
  // residuals until it lands on the projected position. Over the country the
  // polynomial is close to a unit similarity (turned by 3 degrees at most), so each
  // round removes most of the residual.
  double x = target.northing - 6.43e6;
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
  const ProjectionStatus status = TransverseMercatorInverse(p, utm.easting, utm.northing, out);
  if (status == ProjectionStatus::kOk && out.longitude != nullptr) {
    *out.longitude = WrapToHalfTurn(*out.longitude + MeridianShift(p, UtmZoneOfAxis(axis)));
  }
  return status;
}

}  // namespace

const ProjectionMaths kNorwegianGridMaths = {
    .initialise = InitialiseTransverseMercator,
    .recording_forward = NorwegianGridForward,
    .inverse = NorwegianGridInverse,
};

}  // namespace orvale::projection
