// Loading a datum from the built-in catalogue (datum_catalogue.cpp) or, for the file
// types 7 to 9, from the record file at a position in the Global folder's listing.

#include <cstddef>
#include <string>
#include <vector>

#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/datum_records.h"
#include "orvale/engine/datum/internal/datum_sides.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"

namespace orvale {
namespace {

constexpr int kWgs84Row = kDefaultSpheroidIndex;
constexpr int kClarke1866Row = 7;

// The target projection of the Ordnance Survey entry: the National Grid.
constexpr int kNationalGridRow = 0;

// Catalogue rows name built-in spheroids only (datum_catalogue.cpp checks them when it
// is compiled), so loading one cannot fail.
void SetRow(CSpheroid& spheroid, int row) {
  static_cast<void>(spheroid.SetBuiltIn(row));
}

void SetRows(CDatum& datum, int own, int target) {
  SetRow(datum.m_Spheroid, own);
  if (datum.m_TargetSpheroid != nullptr) SetRow(*datum.m_TargetSpheroid, target);
}

void SetNames(CDatum& datum, std::string_view from, std::string_view to, std::string_view variant) {
  datum.m_FromName = from;
  datum.m_ToName = to;
  datum.m_ShiftStatus = variant;
}

// A Helmert entry is the seven parameters of a 7-parameter transformation: rates and
// epochs from an earlier entry must not turn it into a time-dependent one.
void SetHelmert(CDatum& datum, const HelmertEntry& e) {
  SetNames(datum, e.from, e.to, e.variant);
  SetRows(datum, e.own_spheroid, e.target_spheroid);
  DatumShiftParameters& s = datum.m_Shift;
  s.m_DX = e.dx;
  s.m_DY = e.dy;
  s.m_DZ = e.dz;
  s.m_RX = e.rx;
  s.m_RY = e.ry;
  s.m_RZ = e.rz;
  s.m_Scale = e.scale;
  s.m_RotationMethod = e.rotation_method;
  for (double* value : {&s.m_DXRate, &s.m_DYRate, &s.m_DZRate, &s.m_RXRate, &s.m_RYRate,
                        &s.m_RZRate, &s.m_ScaleRate, &s.m_ReferenceEpoch, &s.m_Epoch}) {
    *value = 0.0;
  }
  s.m_TimeDependent = 0;
  s.m_UseEpoch = 1;
}

[[nodiscard]] bool SetHelmertEntry(CDatum& datum, int type, int number) {
  const std::span<const HelmertEntry> entries = HelmertEntries(type);
  if (number < 0 || static_cast<std::size_t>(number) >= entries.size()) return false;
  SetHelmert(datum, entries[static_cast<std::size_t>(number)]);
  return true;
}

// Grid to grid: both sides on the own spheroid, no shift.
void SetNoShift(CDatum& datum) {
  SetNames(datum, "", "", "Grid To Grid");
  datum.m_FromName = datum.m_Spheroid.m_Name;
  if (datum.m_TargetSpheroid != nullptr) {
    CopySpheroidDefinition(datum.m_Spheroid, *datum.m_TargetSpheroid);
    datum.m_ToName = datum.m_TargetSpheroid->m_Name;
  }
  DatumShiftParameters& s = datum.m_Shift;
  for (double* value : {&s.m_DX, &s.m_DY, &s.m_DZ, &s.m_RX, &s.m_RY, &s.m_RZ, &s.m_Scale}) {
    *value = 0.0;
  }
}

// OSTN15 to the National Grid: the grids hold the shift, the spheroids stay.
void SetOrdnanceSurvey(CDatum& datum) {
  SetNames(datum, "OSTN02", "OSGB 36", "1km Squares");
  if (datum.m_TargetProjection != nullptr) {
    static_cast<void>(datum.m_TargetProjection->SetFromCatalogue(
        kNationalGridRow, PROJECTION_TRANSVERSE_MERCATOR, 0));
  }
}

[[nodiscard]] bool SetNadcon(CDatum& datum, int number) {
  const std::span<const NadconEntry> entries = NadconEntries();
  if (number < 0 || static_cast<std::size_t>(number) >= entries.size()) return false;
  const NadconEntry& e = entries[static_cast<std::size_t>(number)];
  SetNames(datum, e.from, e.to, "");
  SetRows(datum, e.own_spheroid, e.target_spheroid);
  return true;
}

void SetCanadaNtv2(CDatum& datum) {
  SetNames(datum, "NAD83", "NAD27", "Canada NTv2");
  SetRows(datum, kWgs84Row, kClarke1866Row);
}

// The record file at position `number` of the type's listing; false past the last.
[[nodiscard]] bool SetFromRecordFile(CDatum& datum, int type, int number) {
  const std::vector<std::string> files = DatumRecordFiles(type);
  if (number < 0 || static_cast<std::size_t>(number) >= files.size()) return false;
  const std::string& file = files[static_cast<std::size_t>(number)];
  const DatumRecordKind kind = DatumRecordKindOfType(type).value_or(DatumRecordKind::kHelmert);
  const bool read =
      kind == DatumRecordKind::kGridShift ? datum.LoadGridShift(file) : datum.Load(file, kind);
  datum.m_ShiftType = type;
  return read;
}

[[nodiscard]] bool FillEntry(CDatum& datum, int type, int number) {
  switch (type) {
    case kNoDatumShift:
      if (number != 0) return false;
      SetNoShift(datum);
      return true;
    case kWgs84Shifts:
      // WGS84 is the own side of every entry but those that name another.
      if (number >= 0 && number < BuiltInEntryCount(type)) SetRow(datum.m_Spheroid, kWgs84Row);
      return SetHelmertEntry(datum, type, number);
    case kOrdnanceSurvey:
      if (number != 0) return false;
      SetOrdnanceSurvey(datum);
      return true;
    case kNorwegianShifts:
    case kOtherShifts:
      return SetHelmertEntry(datum, type, number);
    case kNadconShifts:
      return SetNadcon(datum, number);
    case kCanadaNtv2:
      if (number != 0) return false;
      SetCanadaNtv2(datum);
      return true;
    case kUserDefinedShifts:
    case kLatLonShifts:
    case kGridShifts:
      return SetFromRecordFile(datum, type, number);
    default:
      return false;
  }
}

bool IsReversible(int type) {
  return type == kWgs84Shifts || type == kOrdnanceSurvey || type == kNorwegianShifts ||
         type == kCanadaNtv2 || type == kOtherShifts;
}

}  // namespace

bool CDatum::SetFromCatalogue(int type, int number, int direction) {
  m_ShiftType = type;
  m_Number = number;
  m_Direction = direction;
  m_NadconGrid.Clear();
  m_HpgnGrid.Clear();
  const bool found = FillEntry(*this, type, number);
  // The file types set the direction to +1 as they load: a record file is always
  // taken in the sense it was saved in, since its names and spheroids say which side
  // is which. NADCON entries take their direction at the shift itself.
  if (found && m_Direction == -1 && IsReversible(type)) Reverse();
  // The Ordnance Survey entry fixes the target grid itself and keeps the own side as
  // it was. Every other load sets both projections up again on the spheroids it left;
  // a projection whose spheroid was left empty (a record naming an unknown spheroid,
  // a = 0) keeps its constants, as set-up leaves them without an axis.
  if (type != kOrdnanceSurvey) {
    m_Projection.Initialise();
    if (m_TargetProjection != nullptr) m_TargetProjection->Initialise();
  }
  return found;
}

}  // namespace orvale
