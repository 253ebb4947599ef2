#include "orvale/engine/datum/helmert.h"

#include "orvale/engine/datum/datum.h"

#include <algorithm>
#include <cstddef>

namespace orvale {
namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Day of the year, 1 for 1 January. A month or day outside the calendar is taken as
// the clock gives it, clamped to the months there are.
int DayOfYear(int year, int month, int day) {
  constexpr int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const int m = std::clamp(month, 1, 12);
  return kDaysBefore[m - 1] + (m > 2 && IsLeapYear(year) ? 1 : 0) + day;
}

}  // namespace

const IClock& DefaultClock() {
  static const SystemClock clock;
  return clock;
}

double GetCurrentEpoch(const IClock& clock) {
  const LocalDateTime now = clock.Now();
  const double fraction = (now.hour * 3600.0 + now.minute * 60.0 + now.second) / 86400.0;
  return now.year + (DayOfYear(now.year, now.month, now.day) - 1 + fraction) / 365.0;
}

HelmertStep MakeHelmertStep(const DatumShiftParameters& p, int direction, const IClock& clock) {
  double tx = p.m_DX, ty = p.m_DY, tz = p.m_DZ;
  double rx = p.m_RX, ry = p.m_RY, rz = p.m_RZ;
  double s = p.m_Scale;
  if (p.m_TimeDependent == 1) {
    const double t = p.m_UseEpoch == 1 ? p.m_Epoch : GetCurrentEpoch(clock);
    const double dt = t - p.m_ReferenceEpoch;
    tx += dt * p.m_DXRate;
    ty += dt * p.m_DYRate;
    tz += dt * p.m_DZRate;
    rx += dt * p.m_RXRate;
    ry += dt * p.m_RYRate;
    rz += dt * p.m_RZRate;
    s += dt * p.m_ScaleRate;
  }
  const double d = direction;
  // Seconds of arc to radians by the library's own degree factor, not pi / 648000.
  const double k = d * 0.017453292519943 / 3600;
  HelmertStep step;
  step.direction = d;
  step.tx = tx;
  step.ty = ty;
  step.tz = tz;
  step.rx = k * rx;
  step.ry = k * ry;
  step.rz = k * rz;
  if (p.m_RotationMethod == kCoordinateFrame) {
    step.rx = -step.rx;
    step.ry = -step.ry;
    step.rz = -step.rz;
  }
  step.m = 1 + d * s / 1000000;
  return step;
}

void HelmertTransform(const DatumShiftParameters& parameters, int direction, double x, double y,
                      double z, double& out_x, double& out_y, double& out_z, const IClock& clock) {
  MakeHelmertStep(parameters, direction, clock).Apply(x, y, z, out_x, out_y, out_z);
}

void HelmertTransformMany(const HelmertStep& step, std::span<const double> xs,
                          std::span<const double> ys, std::span<const double> zs,
                          std::span<double> out_xs, std::span<double> out_ys,
                          std::span<double> out_zs) {
  const std::size_t count =
      std::min({xs.size(), ys.size(), zs.size(), out_xs.size(), out_ys.size(), out_zs.size()});
  for (std::size_t i = 0; i < count; ++i) {
    step.Apply(xs[i], ys[i], zs[i], out_xs[i], out_ys[i], out_zs[i]);
  }
}

void HelmertTransform(const CDatum& datum, int direction, double x, double y, double z,
                      double& out_x, double& out_y, double& out_z, const IClock& clock) {
  HelmertTransform(datum.m_Shift, direction, x, y, z, out_x, out_y, out_z, clock);
}

}  // namespace orvale
