#pragma once
// The built-in projection catalogue: the fixed rows, digit for digit as published
// (angles in degrees, lengths in metres), and the loader of each type's rows. The
// generated zone families (UTM, German and Gauss-Kruger zones, South African belts,
// Norwegian and Danish zones) are not tables: their loaders build them. The NAD 27
// table constants of the state-plane zones are in state_plane_zones.h.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "orvale/engine/spheroid/spheroid_catalogue.h"

namespace orvale {
class CProjection;
}  // namespace orvale

namespace orvale::catalogue {

// Built-in spheroid rows the catalogue names.
inline constexpr int kAiry1830 = 0;
inline constexpr int kAiryModified1849 = 1;
inline constexpr int kBessel1841 = 3;
inline constexpr int kClarke1866 = 7;
inline constexpr int kClarke1880Rgs = 11;
inline constexpr int kClarke1880Arc = 12;
inline constexpr int kEverest1937Adjustment = 14;
inline constexpr int kEverest1967Definition = 15;
inline constexpr int kEverestModified = 16;
inline constexpr int kGrs80 = 17;
inline constexpr int kHelmert1906 = 18;
inline constexpr int kInternational = 20;
inline constexpr int kKrassowsky1940 = 21;
inline constexpr int kWarOffice = 25;
inline constexpr int kWgs84 = 26;
inline constexpr int kClarke1880 = 30;
inline constexpr int kNwl10d = 35;
inline constexpr int kSad1969 = 42;
static_assert(kAiry1830 >= 0 && kSad1969 < kBuiltInSpheroidCount,
              "the rows name spheroids of the built-in table");

// The row keeps the method the caller asked for (families with one method only).
inline constexpr int kCallerMethod = -1;

// A named row: texts, spheroid, the method it fixes, and the defining parameters.
struct NamedRow {
  std::string_view name;     // Windows-1252
  std::string_view country;  // may be empty
  int spheroid;
  int method;  // stored m_Method, or kCallerMethod
  double origin_latitude;
  double central_meridian;  // east positive
  double false_easting;
  double false_northing;
  double scale_factor;
  double standard_parallel1 = 0.0;  // Lambert two-parallel rows only
  double standard_parallel2 = 0.0;
};

// An oblique (RSO) row: P0 = sin and P1 = cos of the skew of the initial line, P2 and
// P3 the offsets the inverse adds, P4 and P5 those the forward adds. The set-up
// overwrites the false origin with the projected centre.
struct RsoRow {
  NamedRow row;
  std::array<double, 6> p;
};

// A NAD 83 transverse Mercator zone ("T.M. (USA)"). The central meridian is kept as
// the zone lists print it, in degrees west; the catalogue stores it east positive.
struct TmUsaRow {
  int code;  // state-plane (FIPS) zone number
  std::string_view name;
  double origin_latitude;
  double central_meridian_west;
  double false_easting;
  double false_northing;
  double scale_factor;  // 1 - 1/N exactly as a double
};

// A NAD 83 Lambert two-parallel zone; the smaller standard parallel first.
struct LambertUsaRow {
  int code;
  std::string_view name;
  double standard_parallel1;
  double standard_parallel2;
  double origin_latitude;
  double central_meridian;  // east positive (negative in the US)
  double false_easting;
  double false_northing;
};

// A NAD 27 state-plane zone on Clarke 1866. Method 1 ("Lambert Tables") and 2 ("TM
// Tables") take their constants from state_plane_zones.h by code; method 0 is the
// Alaska transverse Mercator rule and method 3 the Alaska oblique zone.
struct StatePlaneRow {
  int code;
  std::string_view name;
  int method;
  double origin_latitude;  // degrees, the published latitude of origin; TM tables only
};

// Rows of each type (the zone families' rows are their zones).
inline constexpr int kUtmZoneCount = 62;  // zones 0 ... 61
inline constexpr int kTransverseMercatorRowCount = 39;
inline constexpr int kGermanZoneCount = 36;  // 4 DHDN zones, then 32 GK zones
inline constexpr int kLoBeltCount = 10;
inline constexpr int kTmUsaRowCount = 54;
inline constexpr int kMercatorRowCount = 5;
inline constexpr int kLambertNamedRowCount = 8;
inline constexpr int kLambertUsaRowCount = 68;
inline constexpr int kCassiniRowCount = 2;
inline constexpr int kAzimuthalRowCount = 1;
inline constexpr int kStereographicRowCount = 3;
inline constexpr int kPolyconicRowCount = 1;
inline constexpr int kRsoRowCount = 4;
inline constexpr int kLambertRowCount = kLambertNamedRowCount + kLambertUsaRowCount;
inline constexpr int kStatePlaneRowCount = 130;
inline constexpr int kNorwegianZoneCount = 5;  // UTM zones 31 ... 35
inline constexpr int kDanishZoneCount = 2;

// The oblique zone of Alaska, on Clarke 1866, shared by the RSO family and the state
// plane catalogue.
inline constexpr int kAlaskaZone1Rso = 2;

std::span<const NamedRow, kTransverseMercatorRowCount> TransverseMercatorRows();
std::span<const NamedRow, kMercatorRowCount> MercatorRows();
std::span<const NamedRow, kLambertNamedRowCount> LambertNamedRows();
std::span<const NamedRow, kCassiniRowCount> CassiniRows();
std::span<const NamedRow, kAzimuthalRowCount> AzimuthalRows();
std::span<const NamedRow, kStereographicRowCount> StereographicRows();
std::span<const NamedRow, kPolyconicRowCount> PolyconicRows();
std::span<const RsoRow, kRsoRowCount> RsoRows();
std::span<const TmUsaRow, kTmUsaRowCount> TmUsaRows();
std::span<const LambertUsaRow, kLambertUsaRowCount> LambertUsaRows();
std::span<const StatePlaneRow, kStatePlaneRowCount> StatePlaneRows();

// Each type's row loader, as the family table calls it: fills row `index` (within the
// type's count) on a record whose parallels and parameter block are cleared, and sets
// it up; false when the row cannot be built.
bool ApplyNamedRow(CProjection& p, const NamedRow& row);
template <auto Rows>
bool LoadNamedRow(CProjection& p, int index) {
  return ApplyNamedRow(p, Rows()[static_cast<std::size_t>(index)]);
}
bool LoadUtmZone(CProjection& p, int index);
bool LoadGermanZone(CProjection& p, int index);
bool LoadLoBelt(CProjection& p, int index);
bool LoadTmUsaZone(CProjection& p, int index);
bool LoadMercatorRow(CProjection& p, int index);
bool LoadLambertRow(CProjection& p, int index);
bool LoadRsoRow(CProjection& p, int index);
bool LoadStatePlaneZone(CProjection& p, int index);
bool LoadNorwegianZone(CProjection& p, int index);
bool LoadDanishZone(CProjection& p, int index);

}  // namespace orvale::catalogue
