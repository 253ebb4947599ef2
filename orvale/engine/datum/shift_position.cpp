// The datum shift dispatcher: one source per shift family would scatter a dozen short
// functions, so the ten types sit here side by side, each in its own function.

#include "orvale/engine/datum/shift_position.h"

#include <cmath>
#include <cstdio>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/helmert.h"
#include "orvale/engine/gridshift/nadcon.h"
#include "orvale/engine/gridshift/norway.h"
#include "orvale/engine/gridshift/ntv2_file.h"
#include "orvale/engine/gridshift/ostn15.h"

namespace orvale {
namespace {

// The NTv2 inverse stops when both residuals are at most 1 millisecond of arc in size,
// and gives up after 50 rounds. The fixed-point step gains about three digits a round
// on a smooth grid, so a point that has not settled by then never will: it sits where
// the grid folds or at its edge.
constexpr double kMillisecondsPerRadian = kDegreesPerRadian * 3600.0 * 1000.0;
constexpr double kNtv2InverseTolerance = 1.0;  // milliseconds of arc
constexpr int kNtv2InverseRounds = 50;

// Norwegian entries 1 and 2 meet at 62 degrees north.
constexpr int kNorwaySouthEntry = 1;
constexpr int kNorwayNorthEntry = 2;

// The projection of the side a shift writes: the datum's own for the from record
// (direction -1), the attached target for the to record (+1).
CProjection* OutputProjection(CDatum& datum, int direction) {
  return direction == kShiftForward ? datum.m_TargetProjection : &datum.m_Projection;
}

void ForwardProject(CProjection& projection, tagCOORD& point) {
  static_cast<void>(projection.GeogToGrid(point.latitude, point.longitude, &point.easting,
                                          &point.northing, &point.convergence,
                                          &point.scale_factor));
}

void SetCartesian(tagCOORD& point, const CProjection& projection) {
  if (projection.m_Spheroid == nullptr) {
    point.x = point.y = point.z = 0.0;
    return;
  }
  GeogToCartesian(*projection.m_Spheroid, point.latitude, point.longitude, point.height, point.x,
                  point.y, point.z);
}

ShiftStatus NoShift(CDatum& datum, const tagCOORD& input, tagCOORD& output, int direction) {
  output = input;
  // The projection of the input side in both directions, so both records show the
  // same grid values.
  CProjection* projection =
      direction == kShiftForward ? &datum.m_Projection : datum.m_TargetProjection;
  if (projection != nullptr) ForwardProject(*projection, output);
  return ShiftStatus::kShifted;
}

ShiftStatus HelmertShift(CDatum& datum, const tagCOORD& input, tagCOORD& output, int direction) {
  HelmertTransform(datum, direction, input.x, input.y, input.z, output.x, output.y, output.z);
  if (direction == kShiftReverse) {
    static_cast<void>(CartesianToGeog(datum.m_Spheroid, output.x, output.y, output.z,
                                      output.latitude, output.longitude, output.height));
    ForwardProject(datum.m_Projection, output);
    return ShiftStatus::kShifted;
  }
  CProjection* target = datum.m_TargetProjection;
  if (target != nullptr && target->m_Spheroid != nullptr) {
    static_cast<void>(CartesianToGeog(*target->m_Spheroid, output.x, output.y, output.z,
                                      output.latitude, output.longitude, output.height));
    ForwardProject(*target, output);
  } else if (datum.m_TargetSpheroid != nullptr) {
    static_cast<void>(CartesianToGeog(*datum.m_TargetSpheroid, output.x, output.y, output.z,
                                      output.latitude, output.longitude, output.height));
  }
  return ShiftStatus::kShifted;
}

// Entries 1 (south of 62 degrees) and 2 (north) are one transformation in two halves:
// the datum becomes the entry of the point's half before the Helmert step. It reloads
// in the sense it is already used in (m_Direction). Reloading in the sense of the
// shift instead would reverse a forward datum for a shift back from its target side,
// so that the step ran the wrong way from the wrong spheroid: hundreds of metres off.
ShiftStatus NorwegianEntryShift(CDatum& datum, const tagCOORD& input, tagCOORD& output,
                                int direction) {
  int entry = datum.m_Number;
  if (input.latitude < kNorwaySouthEdge && datum.m_Number == kNorwayNorthEntry) {
    entry = kNorwaySouthEntry;
  } else if (input.latitude >= kNorwaySouthEdge && datum.m_Number == kNorwaySouthEntry) {
    entry = kNorwayNorthEntry;
  }
  if (entry != datum.m_Number) {
    // Entries 1 and 2 are rows of the built-in table: the load cannot fail.
    static_cast<void>(datum.SetFromCatalogue(kNorwegianShifts, entry, datum.m_Direction));
  }
  return HelmertShift(datum, input, output, direction);
}

// The band method: south of 62 degrees, north of 65, and the blend between them with
// both edges in the blend.
ShiftStatus NorwegianBandShift(CDatum& datum, const tagCOORD& input, tagCOORD& output,
                               int direction) {
  double latitude = 0.0, longitude = 0.0, height = 0.0;
  if (input.latitude < kNorwaySouthEdge) {
    NorwegianSouth(datum, latitude, longitude, height, direction, input.latitude, input.longitude,
                   input.height);
  } else if (input.latitude > kNorwayNorthEdge) {
    NorwegianNorth(datum, latitude, longitude, height, direction, input.latitude, input.longitude,
                   input.height);
  } else {
    NorwegianBlend(datum, latitude, longitude, height, direction, input.latitude, input.longitude,
                   input.height);
  }
  SetGeogPoint(output, OutputProjection(datum, direction), latitude, height, longitude);
  return ShiftStatus::kShifted;
}

ShiftStatus OrdnanceSurveyShift(CDatum& datum, const tagCOORD& input, tagCOORD& output,
                                int direction) {
  if (datum.m_OstnGrid.IsEmpty() && !LoadOstnGrids(datum.m_OstnGrid).ok()) {
    output = input;
    return ShiftStatus::kNoGrid;
  }
  if (direction == kShiftForward) {
    double easting = 0.0, northing = 0.0;
    if (!OstnForward(datum.m_OstnGrid, easting, northing, input.latitude, input.longitude)) {
      output = input;
      return ShiftStatus::kOutsideGrid;
    }
    SetGridPoint(output, datum.m_TargetProjection, northing, input.height, easting);
    return ShiftStatus::kShifted;
  }
  // The National Grid position of the input: its own grid values when no target
  // projection is attached to give them afresh.
  double easting = input.easting, northing = input.northing;
  if (datum.m_TargetProjection != nullptr) {
    static_cast<void>(
        datum.m_TargetProjection->GeogToGrid(input.latitude, input.longitude, &easting, &northing));
  }
  double latitude = 0.0, longitude = 0.0;
  if (!OstnReverse(datum.m_OstnGrid, latitude, longitude, northing, easting)) {
    output = input;
    return ShiftStatus::kOutsideGrid;
  }
  SetGeogPoint(output, &datum.m_Projection, latitude, input.height, longitude);
  return ShiftStatus::kShifted;
}

// One NADCON step: the grid set, its mode, and whether it is applied or inverted.
struct NadconStep {
  bool second_set;  // m_HpgnGrid rather than m_NadconGrid
  int mode;
  bool invert;
};

// m_Number 0 to 5: the steps in each direction (one or two; mode -1 ends the list),
// the set whose region names the status, and whether the status text of an unknown
// region has its leading space.
struct NadconRoute {
  NadconStep forward[2];
  NadconStep reverse[2];
  bool status_from_second_set;
  bool spaced_out_of_limits;
};

constexpr NadconStep kNoStep = {false, -1, false};
constexpr NadconRoute kNadconRoutes[] = {
    {{{false, kNad27ToNad83, false}, kNoStep},
     {{false, kNad27ToNad83, true}, kNoStep},
     false,
     true},
    {{{false, kNad83ToNad27, true}, kNoStep},
     {{false, kNad83ToNad27, false}, kNoStep},
     false,
     true},
    {{{true, kNad83ToHpgn, false}, kNoStep}, {{true, kNad83ToHpgn, true}, kNoStep}, true, false},
    {{{true, kHpgnToNad83, true}, kNoStep}, {{true, kHpgnToNad83, false}, kNoStep}, true, false},
    {{{false, kNad27ToNad83, false}, {true, kNad83ToHpgn, false}},
     {{true, kHpgnToNad83, true}, {false, kNad83ToNad27, true}},
     true,
     false},
    {{{true, kHpgnToNad83, true}, {false, kNad83ToNad27, true}},
     {{false, kNad27ToNad83, false}, {true, kNad83ToHpgn, false}},
     true,
     true},
};
static_assert(std::size(kNadconRoutes) == 6, "one route for each NADCON entry");

ShiftStatus NadconShift(CDatum& datum, const tagCOORD& input, tagCOORD& output, int direction) {
  if (datum.m_Number < 0 || datum.m_Number >= static_cast<int>(std::size(kNadconRoutes))) {
    return ShiftStatus::kNotApplied;
  }
  const NadconRoute& route = kNadconRoutes[datum.m_Number];
  double latitude = input.latitude * kDegreesPerRadian;
  double longitude = input.longitude * kDegreesPerRadian;
  ShiftStatus status = ShiftStatus::kShifted;
  for (const NadconStep& step : direction == kShiftForward ? route.forward : route.reverse) {
    if (step.mode < 0) break;
    NadconGridSet& set = step.second_set ? datum.m_HpgnGrid : datum.m_NadconGrid;
    double out_latitude = 0.0, out_longitude = 0.0;
    const bool done =
        step.invert ? InvertNadcon(out_latitude, out_longitude, set, step.mode, latitude, longitude)
                    : ApplyNadcon(out_latitude, out_longitude, set, step.mode, latitude, longitude);
    // An inversion that kept its region but found no position did not converge.
    if (!done && status == ShiftStatus::kShifted) {
      status = step.invert && !set.m_Code.empty() ? ShiftStatus::kNotConverged
                                                  : ShiftStatus::kOutsideGrid;
    }
    latitude = out_latitude;
    longitude = out_longitude;
  }
  SetGeogPoint(output, OutputProjection(datum, direction), latitude * kRadiansPerDegree,
               input.height, longitude * kRadiansPerDegree);

  const NadconGridSet& named = route.status_from_second_set ? datum.m_HpgnGrid : datum.m_NadconGrid;
  if (!named.m_Code.empty()) {
    char text[32];
    std::snprintf(text, sizeof text, "  (%.10s)", named.m_Code.c_str());
    datum.m_ShiftStatus = text;
  } else {
    datum.m_ShiftStatus = route.spaced_out_of_limits ? " (Out Of Limits)" : "(Out Of Limits)";
  }
  return status;
}

ShiftStatus Ntv2Shift(CDatum& datum, const tagCOORD& input, tagCOORD& output, int direction) {
  CNTv2& grid = datum.m_NTv2;
  if (grid.IsEmpty() && !LoadCanadaNTv2(grid).ok()) {
    output = input;
    return ShiftStatus::kNoGrid;
  }
  double latitude = 0.0, longitude = 0.0;
  ShiftStatus status = ShiftStatus::kShifted;
  if (direction == kShiftReverse) {
    if (grid.Interpolate(&latitude, &longitude, input.latitude, input.longitude) < 0) {
      output = input;
      return ShiftStatus::kOutsideGrid;
    }
  } else {
    // The position whose shift is the input, by fixed-point iteration from the input.
    latitude = input.latitude;
    longitude = input.longitude;
    status = ShiftStatus::kNotConverged;
    for (int round = 0; round < kNtv2InverseRounds; ++round) {
      double shifted_latitude = 0.0, shifted_longitude = 0.0;
      if (grid.Interpolate(&shifted_latitude, &shifted_longitude, latitude, longitude) < 0) {
        output = input;
        return ShiftStatus::kOutsideGrid;
      }
      const double latitude_residual = shifted_latitude - input.latitude;
      const double longitude_residual = shifted_longitude - input.longitude;
      latitude -= latitude_residual;
      longitude -= longitude_residual;
      if (std::fabs(latitude_residual) * kMillisecondsPerRadian <= kNtv2InverseTolerance &&
          std::fabs(longitude_residual) * kMillisecondsPerRadian <= kNtv2InverseTolerance) {
        status = ShiftStatus::kShifted;
        break;
      }
    }
  }
  SetGeogPoint(output, OutputProjection(datum, direction), latitude, input.height, longitude);
  return status;
}

ShiftStatus LatLonShift(CDatum& datum, const tagCOORD& input, tagCOORD& output, int direction) {
  const double sign = direction;
  const double latitude = input.latitude + sign * datum.m_DLat * kRadiansPerDegree / 3600.0;
  const double longitude = input.longitude + sign * datum.m_DLon * kRadiansPerDegree / 3600.0;
  const double height = input.height + sign * datum.m_DHeight;
  SetGeogPoint(output, OutputProjection(datum, direction), latitude, height, longitude);
  return ShiftStatus::kShifted;
}

ShiftStatus GridShift(CDatum& datum, const tagCOORD& input, tagCOORD& output, int direction) {
  const GridShiftParameters& g = datum.m_Grid;
  if (direction == kShiftForward) {
    const double easting = g.m_GridE0 + g.m_GridA * input.easting + g.m_GridB * input.northing;
    const double northing = g.m_GridN0 + g.m_GridC * input.easting + g.m_GridD * input.northing;
    SetGridPoint(output, datum.m_TargetProjection, northing, input.height, easting);
    return ShiftStatus::kShifted;
  }
  const double de = input.easting - g.m_GridE0;
  const double dn = input.northing - g.m_GridN0;
  const double det = g.m_GridA * g.m_GridD - g.m_GridC * g.m_GridB;
  const double easting = (g.m_GridD * de - g.m_GridB * dn) / det;
  const double northing = (g.m_GridA * dn - g.m_GridC * de) / det;
  SetGridPoint(output, &datum.m_Projection, northing, input.height, easting);
  return ShiftStatus::kShifted;
}

}  // namespace

const char* ShiftStatusText(ShiftStatus status) {
  switch (status) {
    case ShiftStatus::kShifted:
      return "";
    case ShiftStatus::kOutsideGrid:
      return "outside the shift grid: not shifted";
    case ShiftStatus::kNoGrid:
      return "the shift grid files are missing: not shifted";
    case ShiftStatus::kNotConverged:
      return "the grid shift did not converge";
    case ShiftStatus::kNotApplied:
      return "no shift of this type and number";
  }
  return "";
}

ShiftStatus ShiftPosition(CDatum& datum, tagCOORD& from, tagCOORD& to, int direction) {
  if (direction != kShiftForward && direction != kShiftReverse) return ShiftStatus::kNotApplied;
  const tagCOORD& input = direction == kShiftForward ? from : to;
  tagCOORD& output = direction == kShiftForward ? to : from;
  switch (datum.m_ShiftType) {
    case kNoDatumShift:
      return NoShift(datum, input, output, direction);
    case kWgs84Shifts:
    case kOtherShifts:
    case kUserDefinedShifts:
      return HelmertShift(datum, input, output, direction);
    case kOrdnanceSurvey:
      return OrdnanceSurveyShift(datum, input, output, direction);
    case kNorwegianShifts:
      return datum.m_Number == 0 ? NorwegianBandShift(datum, input, output, direction)
                                 : NorwegianEntryShift(datum, input, output, direction);
    case kNadconShifts:
      return NadconShift(datum, input, output, direction);
    case kCanadaNtv2:
      return Ntv2Shift(datum, input, output, direction);
    case kLatLonShifts:
      return LatLonShift(datum, input, output, direction);
    case kGridShifts:
      return GridShift(datum, input, output, direction);
    default:
      return ShiftStatus::kNotApplied;
  }
}

void SetGeogPoint(tagCOORD& point, CProjection* projection, double latitude, double height,
                  double longitude) {
  point.latitude = latitude;
  point.longitude = longitude;
  point.height = height;
  if (projection == nullptr) return;
  ForwardProject(*projection, point);
  SetCartesian(point, *projection);
}

void SetGridPoint(tagCOORD& point, CProjection* projection, double northing, double height,
                  double easting) {
  point.easting = easting;
  point.northing = northing;
  point.height = height;
  if (projection == nullptr) return;
  point.latitude = projection->FootpointStart(northing);
  static_cast<void>(projection->GridToGeog(easting, northing, &point.latitude, &point.longitude,
                                           &point.convergence, &point.scale_factor));
  SetCartesian(point, *projection);
}

}  // namespace orvale
