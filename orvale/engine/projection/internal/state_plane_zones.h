#pragma once
// The NAD 27 state-plane zones in the table form of the USC&GS plane-co-ordinate
// tables: the constants that the "Lambert Tables" and "TM Tables" methods of the
// State Plane projection read from their parameter slots. Lengths in US survey feet,
// angles in seconds of arc, central meridians west positive.

#include <array>
#include <span>
#include <string_view>

namespace orvale {

// A Lambert zone: P0 easting constant C, P1 central meridian (seconds, west
// positive), P2 radius at the central parallel, P3 northing of the cone's apex, P4
// scale factor at the central parallel, P5 sine of the central parallel, P6 and P7
// rectifying latitude of the central parallel (whole minutes from 0 degrees, then
// seconds), P8 to P10 the radius-series constants. In slot order, ready for
// CProjection::SetStateParameters11.
struct StatePlaneLambertZone {
  int code;                // state-plane (FIPS) zone number, 301 for zone 0301
  std::string_view state;  // e.g. "Arkansas"
  std::string_view zone;   // e.g. "North"; empty for a state with one zone
  std::array<double, 11> p;
};

// A transverse Mercator zone: P0 easting constant, P1 central meridian (seconds,
// west positive), P2 and P3 rectifying latitude of the origin (whole minutes, then
// seconds), P4 scale factor on the central meridian, P5 the zone's cubic constant.
// In slot order, ready for CProjection::SetStateParameters6.
struct StatePlaneTmZone {
  int code;
  std::string_view state;
  std::string_view zone;
  std::array<double, 6> p;
};

// A latitude as its definition writes it.
struct DegreesMinutesSeconds {
  double degrees;
  double minutes;
  double seconds;
  constexpr double InDegrees() const { return degrees + minutes / 60.0 + seconds / 3600.0; }
};

// A Lambert zone's geometric definition (EPSG, NAD 27 on Clarke 1866): the two
// standard parallels, the latitude of the false origin and the northing there (US
// survey feet; the easting there is the zone's P0 and its central meridian P1), and
// whether the zone is on Michigan's spheroid, Clarke 1866 enlarged by 1.0000382.
struct StatePlaneLambertDefinition {
  int code;
  DegreesMinutesSeconds parallel1;
  DegreesMinutesSeconds parallel2;
  DegreesMinutesSeconds origin_latitude;
  double false_northing;
  bool michigan;
};

inline constexpr int kStatePlaneLambertZoneCount = 72;
inline constexpr int kStatePlaneTmZoneCount = 49;

// All zones of each form, in the order of the published tables.
std::span<const StatePlaneLambertZone, kStatePlaneLambertZoneCount> StatePlaneLambertZones();
std::span<const StatePlaneTmZone, kStatePlaneTmZoneCount> StatePlaneTmZones();
// The definitions of the Lambert zones, in the order of StatePlaneLambertZones().
std::span<const StatePlaneLambertDefinition, kStatePlaneLambertZoneCount>
StatePlaneLambertDefinitions();

// The position in StatePlaneLambertZones() of the zone whose published constants are
// exactly p[0] ... p[10], or -1.
int StatePlaneLambertZoneIndex(std::span<const double, 11> p);

// The zone with this code, or null when no zone of that form has it.
const StatePlaneLambertZone* FindStatePlaneLambertZone(int code);
const StatePlaneTmZone* FindStatePlaneTmZone(int code);

}  // namespace orvale
