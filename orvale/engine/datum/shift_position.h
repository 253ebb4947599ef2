#pragma once
// The one operation through which a datum shifts a position: the from and to records
// of a datum shift, and the shift the datum's m_ShiftType names between them, in
// either direction. Radians and metres throughout.

#include <cstdint>

#include "orvale/engine/coord.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/projection/projection.h"

namespace orvale {

// Directions of ShiftPosition: +1 reads the from record and writes the to record,
// -1 reads the to record and writes the from record.
inline constexpr int kShiftForward = 1;
inline constexpr int kShiftReverse = -1;

// What became of one position. The records themselves carry no mark of an unshifted
// point, so the status is returned rather than nothing: a point outside a grid must
// never pass for a shifted one.
enum class ShiftStatus : std::uint8_t {
  kShifted = 0,
  // Outside the grid of an NTv2, OSTN15 or NADCON step. NTv2 and OSTN15 give the output
  // record the input record's values (never an earlier point's); NADCON gives latitude
  // and longitude 0 and "Out Of Limits" in m_ShiftStatus.
  kOutsideGrid,
  // The NTv2 or OSTN15 grid files could not be loaded; the output is the input, as
  // outside a grid.
  kNoGrid,
  // The NTv2 inverse did not settle within its rounds (its last estimate is written),
  // or a NADCON inversion did not (latitude and longitude 0).
  kNotConverged,
  // A shift type above 9, a NADCON number above 5 or a direction other than +-1:
  // neither record was touched.
  kNotApplied,
};

// A short English text for a status; empty for kShifted.
const char* ShiftStatusText(ShiftStatus status);

// Shifts the input record (from for +1, to for -1) into the output record, writing
// its geographical, grid, cartesian, convergence and scale fields as the shift type
// gives them. The input's fields that the type reads must be current: X, Y, Z for the
// Helmert types (1, 6, 7 and the Norwegian entries 1 and 2), latitude and longitude
// for 2, 3, 4, 5 and 8, easting and northing for 9, every field for 0.
// Side effects on the datum: a Norwegian entry 1 or 2 reloads itself as the other
// entry when the point's latitude is on the other side of 62 degrees; NADCON shifts
// load region grids and write m_ShiftStatus; NTv2 records its last positions; the
// NTv2 and OSTN15 readers load their files on first use.
// Never allocates for a point once the grids are loaded.
[[nodiscard]] ShiftStatus ShiftPosition(CDatum& datum, tagCOORD& from, tagCOORD& to, int direction);

// Sets the point's latitude, longitude (radians) and height (metres); with a
// projection also easting, northing, convergence and scale factor by GeogToGrid and
// X, Y, Z on the projection's spheroid (0 on a sphere). Without one only the three
// values given are stored.
void SetGeogPoint(tagCOORD& point, CProjection* projection, double latitude, double height,
                  double longitude);

// Sets the point's easting, northing and height (metres); with a projection also
// latitude, longitude, convergence and scale factor by GridToGeog (its footpoint
// iteration seeded from the point's own northing) and X, Y, Z as SetGeogPoint does.
void SetGridPoint(tagCOORD& point, CProjection* projection, double northing, double height,
                  double easting);

}  // namespace orvale
