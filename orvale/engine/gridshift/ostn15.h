#pragma once
// The OSTN15 transformation between ETRS89 and the OSGB 36 National Grid, from the
// Ordnance Survey's pair of NTv2 files ("OSTN15_NTv2_ETRStoOSGB.gsb" and
// "OSTN15_NTv2_OSGBtoETRS.gsb" in the program's folder). Both node arrays are
// addressed with one extent, taken from the second file. Until the files are loaded
// the pair is empty and every step fails.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/gridshift/ntv2.h"
#include "orvale/engine/gridshift/ntv2_file.h"

namespace orvale {

inline constexpr std::size_t kNtv2HeaderBytes = 352;  // overview and first sub-file header
inline constexpr std::string_view kOstnEtrsToOsgbFileName = "OSTN15_NTv2_ETRStoOSGB.gsb";
inline constexpr std::string_view kOstnOsgbToEtrsFileName = "OSTN15_NTv2_OSGBtoETRS.gsb";

// What the National Grid's transverse Mercator needs on one of the grids' ellipsoids:
// a, e², 1 − e², the meridian-distance coefficients A0 to A6 and M0 at the grid's
// origin (49°N), as the grid's published series uses them. The mapping itself is the
// exact one (Krüger's series to n⁶), whose coefficients are worked out once with the
// block and kept, opaque, in m_Series.
struct OstnConstants {
  double a = 0.0;
  double e2 = 0.0;
  double one_minus_e2 = 0.0;
  double A0 = 0.0;
  double A2 = 0.0;
  double A4 = 0.0;
  double A6 = 0.0;
  double M0 = 0.0;
  alignas(double) std::array<std::byte, 320> m_Series{};
};

// The block of an ellipsoid given by its semi-axes (metres).
OstnConstants MakeOstnConstants(double semi_major_axis, double semi_minor_axis);

// Both node arrays, read once and shared by every datum (and every copy) that refers
// to them.
struct OstnNodeArrays {
  std::vector<GridShiftRecordDef> first;   // ETRS89 to OSGB 36
  std::vector<GridShiftRecordDef> second;  // OSGB 36 to ETRS89
};

struct OstnGridPair {
  std::array<unsigned char, kNtv2HeaderBytes> m_FirstHeader{};
  std::array<unsigned char, kNtv2HeaderBytes> m_SecondHeader{};
  std::shared_ptr<const OstnNodeArrays> m_Nodes;
  OstnConstants m_Source;  // the second file's source ellipsoid (Airy 1830)
  OstnConstants m_Target;  // its target ellipsoid (GRS80)
  // Seconds of arc, longitudes positive west.
  double m_East = 0.0;
  double m_South = 0.0;
  double m_West = 0.0;
  double m_North = 0.0;
  double m_LonIncrement = 0.0;
  double m_LatIncrement = 0.0;
  std::uint16_t m_Columns = 0;

  bool IsEmpty() const { return m_Nodes == nullptr; }
};

// Loads both files from `folder` (a host or library folder ending with its separator),
// replacing what the pair held. On any failure (a file missing or not a grid of the
// layout, the two not addressable with one extent) the pair is left empty and the
// status names the file and what was wrong. Arrays already loaded from the same files,
// unchanged since, are shared rather than read again.
GridFileStatus LoadOstnGrids(OstnGridPair& pair, std::string_view folder);
// The same from the program's folder (ProgramFolder()).
GridFileStatus LoadOstnGrids(OstnGridPair& pair);

// ETRS89 latitude and longitude (radians) to OSGB 36 National Grid easting and
// northing (metres). False, with the outputs unchanged, when the pair is empty or the
// position is outside the grid (a position on its north row or west column counts as
// outside: there is no next node to interpolate towards).
[[nodiscard]] bool OstnForward(const OstnGridPair& pair, double& easting, double& northing,
                               double latitude, double longitude);

// National Grid easting and northing to ETRS89 latitude and longitude (radians), as
// OstnForward; the outputs are unchanged on failure.
[[nodiscard]] bool OstnReverse(const OstnGridPair& pair, double& latitude, double& longitude,
                               double northing, double easting);

// The National Grid's transverse Mercator (origin 49°N 2°W, scale 0.9996012717, false
// origin 400 000 m E, −100 000 m N) on the ellipsoid of `block`. Radians and metres.
void NationalGridForward(const OstnConstants& block, double& easting, double& northing,
                         double latitude, double longitude);
// Its inverse; the longitude is written only when asked for (non-null). The latitude
// passed in is not read: the exact inverse has no footpoint iteration to seed.
void NationalGridInverse(const OstnConstants& block, double& latitude, double* longitude,
                         double easting, double northing);

}  // namespace orvale
