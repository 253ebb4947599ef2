#pragma once
// A second point from a first and one observation to it (range, bearing, vertical
// angle), on the grid or on the spheroid, with the other form of the new point from
// the projection.

#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_status.h"
#include "orvale/engine/survey/range_bearing.h"

namespace orvale {

// (eb, nb) = (ea + d sin theta, na + d cos theta).
void TraversePoint(double ea, double na, double d, double theta, double* eb, double* nb);

struct TraverseObservation {
  bool grid = true;      // a grid bearing and distance; false: azimuth and spheroidal distance
  double range = 0.0;    // metres
  double bearing = 0.0;  // radians
  bool from_horizontal = true;  // the vertical angle is an elevation; false: a zenith angle
  double vertical_angle = 0.0;  // radians
};

struct TraverseResult {
  SurveyPoint b;
  // kOk, or why B has no result: the projection's status for the form it converted,
  // kOutsideDomain when the direct problem gave none, kNotANumber for an observation
  // that is not a number. NaN in B's co-ordinates then.
  ProjectionStatus status = ProjectionStatus::kOk;
};

// B from A (whose latitude, longitude, easting, northing and height are read) and the
// observation. On the grid the horizontal part of the range is laid off and B's
// position follows from the inverse projection; on the spheroid the range is the
// spheroidal distance as observed (the vertical angle does not reduce it) and B's grid
// co-ordinates follow from the forward projection. B's height is A's plus range times
// the sine of the elevation. Not const: the projection's forward records state (the
// Norwegian grid's axis).
TraverseResult ComputeTraverse(CProjection& projection, const SurveyPoint& a,
                               const TraverseObservation& observation);

}  // namespace orvale
