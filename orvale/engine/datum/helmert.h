#pragma once
// The Helmert similarity transformation between two earth-centred cartesian frames, in
// its 7-parameter form and its 14-parameter time-dependent form, with both rotation
// conventions, and the decimal-year epoch it is evaluated at. Lengths in metres.

#include <array>
#include <span>
#include <string_view>

#include "orvale/engine/datum/shift_blocks.h"
#include "orvale/platform/clock.h"

namespace orvale {

// m_RotationMethod.
inline constexpr int kPositionVector = 0;
inline constexpr int kCoordinateFrame = 1;

struct RotationMethodText {
  std::string_view name;
  std::string_view remark;
};
inline constexpr std::array<RotationMethodText, 2> kRotationMethodTexts = {{
    {"Position Vector", "(European Bursa-Wolf)"},
    {"Co-ordinate Frame", "( US Dept of Defense)"},
}};

// Directions of HelmertTransform.
inline constexpr int kHelmertForward = 1;
inline constexpr int kHelmertReverse = -1;

// The seven values of one transformation, ready to apply: translations (metres),
// rotations (radians, already signed for the direction and the convention, as the
// Position Vector form takes them), the scale multiplier m and the direction.
struct HelmertStep {
  double tx = 0.0, ty = 0.0, tz = 0.0;
  double rx = 0.0, ry = 0.0, rz = 0.0;
  double m = 1.0;
  double direction = 1.0;

  // X' = (X - rz Y + ry Z) m + D tx, Y' = (rz X + Y - rx Z) m + D ty,
  // Z' = (-ry X + rx Y + Z) m + D tz. The outputs may be the inputs.
  void Apply(double x, double y, double z, double& out_x, double& out_y, double& out_z) const {
    const double nx = (x - rz * y + ry * z) * m + direction * tx;
    const double ny = (rz * x + y - rx * z) * m + direction * ty;
    const double nz = (-ry * x + rx * y + z) * m + direction * tz;
    out_x = nx;
    out_y = ny;
    out_z = nz;
  }
};

// The machine's clock, for the callers that have no other.
const IClock& DefaultClock();

// The current local date as a decimal year: year + (day of the year - 1 + fraction of
// the day since midnight) / 365, with 365 in leap years too (so 31 December of a leap
// year ends at year + 366/365).
double GetCurrentEpoch(const IClock& clock = DefaultClock());

// The step of `parameters` in `direction` (+1 forward, source to target frame; -1
// reverse). In the 14-parameter form (m_TimeDependent 1) each value is taken at
// t = m_Epoch (m_UseEpoch 1) or at the clock's current epoch, plus (t -
// m_ReferenceEpoch) times its rate; otherwise the base values stand. The reverse is
// the same small-angle formula with all seven values negated, as the EPSG dataset
// reverses a Helmert transformation: not the exact inverse, it differs from it by
// terms of the second order in the parameters.
HelmertStep MakeHelmertStep(const DatumShiftParameters& parameters, int direction,
                            const IClock& clock = DefaultClock());

// One point through the transformation of `parameters` in `direction`; the clock is
// read only in the 14-parameter form without a fixed epoch. The outputs may be the
// inputs.
void HelmertTransform(const DatumShiftParameters& parameters, int direction, double x, double y,
                      double z, double& out_x, double& out_y, double& out_z,
                      const IClock& clock = DefaultClock());

// The same with a datum's own parameters (its shift-parameter block).
class CDatum;
void HelmertTransform(const CDatum& datum, int direction, double x, double y, double z,
                      double& out_x, double& out_y, double& out_z,
                      const IClock& clock = DefaultClock());

// A run of points through one step, as many as the shortest span holds (every point
// at the same epoch). The outputs may be the inputs. Allocates nothing.
void HelmertTransformMany(const HelmertStep& step, std::span<const double> xs,
                          std::span<const double> ys, std::span<const double> zs,
                          std::span<double> out_xs, std::span<double> out_ys,
                          std::span<double> out_zs);

}  // namespace orvale
