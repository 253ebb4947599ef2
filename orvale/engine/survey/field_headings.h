#pragma once
// Two small field computations: a true direction (a gyro-compass reading, a shadow's
// true alignment) made a grid heading by removing the grid convergence at the
// observer, and the pitch and roll of a tilted platform made its tilt and the
// heading of the tilt. Angles in decimal degrees, as the panes show them.

#include "orvale/engine/coord.h"
#include "orvale/engine/projection/projection_status.h"

namespace orvale {

class CProjection;

struct GyroState {
  tagCOORD m_Position;           // latitude, longitude in; grid, scale and convergence out
  double m_TrueDirection = 0.0;  // degrees
  double m_GridHeading = 0.0;    // degrees, 0 to 360
};

// Projects the position (its convergence stored back in degrees) and removes the
// convergence from the true direction. A position the projection gives no result for
// leaves NaN in the results and says why.
[[nodiscard]] ProjectionStatus ComputeGyro(CProjection& projection, GyroState& gyro);

struct HeadingState {
  double m_Pitch = 0.0;    // degrees
  double m_Roll = 0.0;     // degrees
  double m_Tilt = 0.0;     // degrees
  double m_Heading = 0.0;  // degrees, (0, 360]; a level platform heads 0; NaN (and the
                           // tilt) when the pitch or roll is not a number
};

void ComputeHeading(HeadingState& heading);

// Pitch and roll from the "Compute Heading" settings file (0 when it cannot be read),
// and back to it with three decimals.
void ReadHeadingSettings(HeadingState& heading);
[[nodiscard]] bool SaveHeadingSettings(const HeadingState& heading);

}  // namespace orvale
