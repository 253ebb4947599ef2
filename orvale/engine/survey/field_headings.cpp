#include "orvale/engine/survey/field_headings.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/storage/config_file.h"

namespace orvale {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

void WriteThreeDecimals(CConfigFile& file, const char* key, double value) {
  char line[96];
  std::snprintf(line, sizeof line, "%s = %.*lf\n", key, 3, value);
  file.WriteString(line);
}

}  // namespace

ProjectionStatus ComputeGyro(CProjection& projection, GyroState& gyro) {
  tagCOORD& p = gyro.m_Position;
  double convergence = 0.0;
  const ProjectionStatus status = projection.GeogToGrid(p.latitude, p.longitude, &p.easting,
                                                        &p.northing, &convergence, &p.scale_factor);
  p.convergence = convergence * kDegreesPerRadian;
  if (status != ProjectionStatus::kOk || !std::isfinite(p.convergence)) {
    gyro.m_GridHeading = std::numeric_limits<double>::quiet_NaN();
    return status;
  }
  // fmod keeps the sign of its argument: a direction more than a turn below the
  // convergence would otherwise come out negative.
  double heading = std::fmod(gyro.m_TrueDirection - p.convergence + 360.0, 360.0);
  if (heading < 0.0) heading += 360.0;
  gyro.m_GridHeading = heading;
  return status;
}

void ComputeHeading(HeadingState& h) {
  const double pitch = h.m_Pitch * kRadiansPerDegree;
  const double roll = h.m_Roll * kRadiansPerDegree;
  // A platform whose pitch or roll is no number has no tilt or heading, not a level one.
  if (!std::isfinite(pitch) || !std::isfinite(roll)) {
    h.m_Tilt = h.m_Heading = std::numeric_limits<double>::quiet_NaN();
    return;
  }
  h.m_Tilt = std::acos(std::cos(pitch) * std::cos(roll)) * kDegreesPerRadian;
  if (pitch == 0.0) {
    h.m_Heading = roll > 0.0 ? 90.0 : roll < 0.0 ? 270.0 : 0.0;
    return;
  }
  const double s = std::sin(pitch) * std::cos(roll);
  double heading = kPi - std::atan(std::sin(roll) / s);
  if (s < 0.0) heading += kPi;
  if (heading > kTwoPi) heading -= kTwoPi;
  h.m_Heading = heading * kDegreesPerRadian;
}

void ReadHeadingSettings(HeadingState& heading) {
  CConfigFile file;
  if (!file.OpenForRead("Compute Heading")) {
    heading.m_Pitch = heading.m_Roll = 0.0;
    return;
  }
  for (double* value : {&heading.m_Pitch, &heading.m_Roll}) {
    *value = file.ReadDouble(0.0);
    if (!std::isfinite(*value)) *value = 0.0;  // a hand-edited "nan" is no setting
  }
  static_cast<void>(file.Close());
}

bool SaveHeadingSettings(const HeadingState& heading) {
  CConfigFile file;
  if (!file.OpenForWrite("Compute Heading")) return false;
  WriteThreeDecimals(file, "Pitch", heading.m_Pitch);
  WriteThreeDecimals(file, "Roll", heading.m_Roll);
  return file.Close();
}

}  // namespace orvale
