// The built-in projection catalogue: generated zone families and the fixed tables of
// catalogue_rows.h, addressed by (index, type, method). The user record files that
// extend each type after its built-in rows are looked up in projection_lookup.cpp.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/angles/units.h"
#include "orvale/engine/projection/internal/catalogue_rows.h"
#include "orvale/engine/projection/internal/projection_family.h"
#include "orvale/engine/projection/internal/state_plane_zones.h"
#include "orvale/engine/projection/projection.h"

namespace orvale {
namespace {

using catalogue::NamedRow;

constexpr int kDhdnZoneCount = 4;
constexpr int kFirstNorwegianZone = 31;
constexpr int kGeneralMercatorRow = 0;

constexpr double kUtmFalseEasting = 500000.0;
constexpr double kUtmSouthFalseNorthing = 10000000.0;
constexpr double kUtmScaleFactor = 0.9996;

constexpr std::string_view kNad83 = "NAD 83";

// NAD 27 Alaska zones 2 to 9: transverse Mercator on 54 N, every 4 degrees west from
// 142 W, 500000 ft east except zone 7 (700000 ft) and zone 9 (600000 ft).
constexpr int kAlaskaFirstTmZone = 5002;
constexpr double kAlaskaOriginLatitude = 54.0;
constexpr double kAlaskaFirstCentralMeridian = -142.0;
constexpr double kAlaskaZoneWidth = 4.0;
constexpr double kAlaskaScaleFactor = 0.9999;
constexpr double kAlaskaFalseEasting = 152400.30480060962;
constexpr double kAlaskaZone7FalseEasting = 213360.42672085346;
constexpr double kAlaskaZone9FalseEasting = 182880.36576073154;

constexpr int kStatePlaneTransverseMercator = 0;
constexpr int kStatePlaneLambertTables = 1;
constexpr int kStatePlaneTmTables = 2;
constexpr int kStatePlaneRso = 3;

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[96];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// The rows name built-in spheroids only (catalogue_rows.h checks the numbers when it
// is compiled), so loading one cannot fail.
void SetSpheroid(CProjection& p, int spheroid_row) {
  if (p.m_Spheroid != nullptr) static_cast<void>(p.m_Spheroid->SetBuiltIn(spheroid_row));
}

// A row defines the whole projection: nothing a previous row left in the parallels
// or the parameter block may leak into it (or into a record file saved from it).
void ClearRowValues(CProjection& p) {
  p.m_StandardParallel1 = 0.0;
  p.m_StandardParallel2 = 0.0;
  p.m_Param.fill(0.0);
}

void SetLambertUsaZone(CProjection& p, const catalogue::LambertUsaRow& row) {
  p.m_Name = row.name;
  p.m_Country = kNad83;
  SetSpheroid(p, catalogue::kGrs80);
  p.m_Method = 2;
  p.m_StandardParallel1 = row.standard_parallel1 * kRadiansPerDegree;
  p.m_StandardParallel2 = row.standard_parallel2 * kRadiansPerDegree;
  p.SetParametersDeg(row.origin_latitude, row.central_meridian, row.false_easting,
                     row.false_northing, 1.0);
}

void SetAlaskaTmZone(CProjection& p, int code) {
  const int step = code - kAlaskaFirstTmZone;
  const double false_easting = code == 5007   ? kAlaskaZone7FalseEasting
                               : code == 5009 ? kAlaskaZone9FalseEasting
                                              : kAlaskaFalseEasting;
  p.SetParametersDeg(kAlaskaOriginLatitude, kAlaskaFirstCentralMeridian - kAlaskaZoneWidth * step,
                     false_easting, 0.0, kAlaskaScaleFactor);
}

// The TM-table methods read only P0 ... P5; the rest of the record shows the zone's
// published origin in the engine's units: its latitude, its central meridian east
// positive, and its false easting in metres.
bool SetTmTablesZone(CProjection& p, const catalogue::StatePlaneRow& row) {
  const StatePlaneTmZone* zone = FindStatePlaneTmZone(row.code);
  if (zone == nullptr) return false;
  std::copy(zone->p.begin(), zone->p.end(), p.m_Param.begin());
  p.SetParametersDeg(row.origin_latitude, -zone->p[1] / kSecondsPerDegree,
                     zone->p[0] * kMetresPerUsSurveyFoot, 0.0, zone->p[4]);
  return true;
}

template <typename Row, std::size_t N>
const Row& RowAt(std::span<const Row, N> rows, int index) {
  return rows[static_cast<std::size_t>(index)];
}

}  // namespace

namespace catalogue {

bool ApplyNamedRow(CProjection& p, const NamedRow& row) {
  p.m_Name = row.name;
  p.m_Country = row.country;
  SetSpheroid(p, row.spheroid);
  if (row.method != kCallerMethod) p.m_Method = row.method;
  p.m_StandardParallel1 = row.standard_parallel1 * kRadiansPerDegree;
  p.m_StandardParallel2 = row.standard_parallel2 * kRadiansPerDegree;
  p.SetParametersDeg(row.origin_latitude, row.central_meridian, row.false_easting,
                     row.false_northing, row.scale_factor);
  return true;
}

bool LoadUtmZone(CProjection& p, int zone) {
  if (p.m_Spheroid != nullptr && p.m_Spheroid->m_SemiMajorAxis == 0.0) SetSpheroid(p, kWgs84);
  if (p.m_Method == 0 || p.m_Method == 1) {
    p.SetParameters(0.0, CProjection::UtmZoneCentralMeridian(zone), kUtmFalseEasting,
                    p.m_Method == 1 ? kUtmSouthFalseNorthing : 0.0, kUtmScaleFactor);
  } else {
    // An unknown hemisphere keeps the parameters the record already had.
    p.m_Method = 0;
    p.Initialise();
  }
  p.m_Zone = zone;
  p.m_NamedRow = false;
  p.m_Name = CProjection::GridZoneName(zone);
  p.m_Country.clear();
  return true;
}

bool LoadGermanZone(CProjection& p, int index) {
  double central_meridian = 0.0;
  double false_easting = 0.0;
  if (index < kDhdnZoneCount) {
    central_meridian = 3.0 * index + 6.0;
    false_easting = index * 1000000.0 + 2500000.0;
    p.m_Name = Format("DHDN Zone %02d", index + 2);
    p.m_Country = Format("West Germany (%.0lf\xB0 E)", std::fabs(central_meridian));
    SetSpheroid(p, kBessel1841);
  } else {
    const int z = index - kDhdnZoneCount;
    central_meridian = 6.0 * z + 3.0;
    if (central_meridian > 180.0) central_meridian -= 360.0;
    false_easting = z * 1000000.0 + 1500000.0;
    p.m_Name = Format("GK Zone %02d", index - 3);
    p.m_Country =
        Format("(%.0lf\xB0 %c)", std::fabs(central_meridian), central_meridian < 0.0 ? 'W' : 'E');
    SetSpheroid(p, kKrassowsky1940);
  }
  p.SetParametersDeg(0.0, central_meridian, false_easting, 0.0, 1.0);
  return true;
}

bool LoadLoBelt(CProjection& p, int index) {
  const double central_meridian = 2.0 * index + 17.0;
  p.m_Name = Format("Lo %2.0lf\xB0 E", central_meridian);
  p.m_Country = "South Africa";
  SetSpheroid(p, kClarke1880Arc);
  p.SetParametersDeg(0.0, central_meridian, 0.0, 0.0, 1.0);
  return true;
}

bool LoadTmUsaZone(CProjection& p, int index) {
  const TmUsaRow& row = RowAt(TmUsaRows(), index);
  p.m_Name = row.name;
  p.m_Country = kNad83;
  SetSpheroid(p, kGrs80);
  // The zone lists give the central meridian in degrees west; the engine's
  // longitudes are east positive, so every caller hands ordinary longitudes.
  p.SetParametersDeg(row.origin_latitude, -row.central_meridian_west, row.false_easting,
                     row.false_northing, row.scale_factor);
  return true;
}

bool LoadMercatorRow(CProjection& p, int index) {
  LoadNamedRow<MercatorRows>(p, index);
  if (index == kGeneralMercatorRow) p.m_NamedRow = false;
  return true;
}

bool LoadLambertRow(CProjection& p, int index) {
  if (index < kLambertNamedRowCount) {
    LoadNamedRow<LambertNamedRows>(p, index);
  } else {
    SetLambertUsaZone(p, RowAt(LambertUsaRows(), index - kLambertNamedRowCount));
  }
  return true;
}

bool LoadRsoRow(CProjection& p, int index) {
  const RsoRow& row = RowAt(RsoRows(), index);
  const auto& q = row.p;
  p.SetRsoParameters(q[0], q[1], q[2], q[3], q[4], q[5]);
  ApplyNamedRow(p, row.row);
  return true;
}

bool LoadStatePlaneZone(CProjection& p, int index) {
  const StatePlaneRow& row = RowAt(StatePlaneRows(), index);
  p.m_Name = row.name;
  p.m_Country = Format("Code %4d", row.code);
  SetSpheroid(p, kClarke1866);
  p.m_Method = row.method;
  switch (row.method) {
    case kStatePlaneTransverseMercator:
      SetAlaskaTmZone(p, row.code);
      return true;
    case kStatePlaneLambertTables: {
      const StatePlaneLambertZone* zone = FindStatePlaneLambertZone(row.code);
      if (zone == nullptr) return false;
      p.SetStateParameters11(zone->p);
      return true;
    }
    case kStatePlaneTmTables:
      return SetTmTablesZone(p, row);
    case kStatePlaneRso: {
      const RsoRow& alaska = RsoRows()[kAlaskaZone1Rso];
      const auto& q = alaska.p;
      p.SetRsoParameters(q[0], q[1], q[2], q[3], q[4], q[5]);
      const NamedRow& r = alaska.row;
      p.SetParametersDeg(r.origin_latitude, r.central_meridian, r.false_easting, r.false_northing,
                         r.scale_factor);
      return true;
    }
    default:
      return false;
  }
}

bool LoadNorwegianZone(CProjection& p, int index) {
  const int zone = index + kFirstNorwegianZone;
  p.SetNorwegianAxis(p.m_Method + 1, zone);
  p.m_Name = CProjection::GridZoneName(zone);
  p.m_Country = std::string(CProjection::MethodText(PROJECTION_NORWEGIAN, index));
  SetSpheroid(p, kInternational);
  p.SetParameters(0.0, CProjection::UtmZoneCentralMeridian(zone), kUtmFalseEasting, 0.0,
                  kUtmScaleFactor);
  return true;
}

bool LoadDanishZone(CProjection& p, int index) {
  constexpr double kCentralMeridian = 9.0;
  p.m_Name = index == 0 ? "Jylland" : "Seelland";
  p.m_Country = "System 34";
  p.SetDanishZone(index, CProjection::UtmZoneFromLongitude(kCentralMeridian * kRadiansPerDegree));
  SetSpheroid(p, kInternational);
  p.SetParametersDeg(0.0, kCentralMeridian, kUtmFalseEasting, 0.0, kUtmScaleFactor);
  return true;
}

}  // namespace catalogue

std::string CProjection::GridZoneName(int zone) {
  return Format("%s%2d (%d\xB0 %c)", "Grid Zone ", zone, std::abs(6 * zone - 183),
                zone < 31 ? 'W' : 'E');
}

int CProjection::CatalogueRowCount(int type) {
  const projection::ProjectionFamily* family = projection::FamilyOf(type);
  return family != nullptr ? family->rows.first_record_index : 0;
}

bool CProjection::SetFromCatalogue(int index, int type, int method) {
  m_Index = index;
  m_Type = type;
  m_Method = method;
  m_NamedRow = true;
  const projection::ProjectionFamily* family = projection::FamilyOf(type);
  if (family == nullptr || index < 0 || index >= family->rows.count) return false;
  ClearRowValues(*this);
  return family->rows.load(*this, index);
}

}  // namespace orvale
