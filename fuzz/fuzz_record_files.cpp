// Spheroid, projection and datum record files of any bytes: loading fails or succeeds,
// never crashes, a file counts for a projection type exactly when it loads, a refused
// file always says why, what loads holds values inside the bounds the readers promise,
// a loaded projection still computes, a datum file loads through the catalogue exactly
// when it reads, and a datum record saved again reads back the same.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/datum_records.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_records.h"
#include "orvale/platform/files.h"
#include "orvale/storage/data_folders.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckSpheroid() {
  orvale::CSpheroid spheroid;
  const orvale::RecordStatus status = orvale::ReadSpheroidRecord(spheroid, "Fuzzed");
  Require(status.ok == status.reason.empty());
  if (status.ok) {
    Require(orvale::SpheroidAxesProblem(spheroid.m_SemiMajorAxis, spheroid.m_SemiMinorAxis,
                                        spheroid.m_InverseFlattening)
                .empty());
  }
  for (double value : {spheroid.m_SemiMajorAxis, spheroid.m_E2, spheroid.m_MeridianA0})
    Require(std::isfinite(value));
  static_cast<void>(spheroid.SetFromIndex(53));
}

void CheckLoadedBlock(const orvale::CProjection& p) {
  for (double latitude : {p.m_OriginLatitude, p.m_StandardParallel1, p.m_StandardParallel2})
    Require(std::fabs(latitude) <= std::numbers::pi / 2);
  Require(std::fabs(p.m_CentralMeridian) <= 2 * std::numbers::pi);
  Require(std::isfinite(p.m_FalseEasting) && std::isfinite(p.m_FalseNorthing));
  Require(p.m_Type >= 0 && p.m_Type < orvale::kProjectionTypeCount);
}

void CheckDatumValues(const orvale::CDatum& d) {
  const orvale::DatumShiftParameters& s = d.m_Shift;
  for (double value : {s.m_DX,
                       s.m_DY,
                       s.m_DZ,
                       s.m_RX,
                       s.m_RY,
                       s.m_RZ,
                       s.m_Scale,
                       s.m_DXRate,
                       s.m_DYRate,
                       s.m_DZRate,
                       s.m_RXRate,
                       s.m_RYRate,
                       s.m_RZRate,
                       s.m_ScaleRate,
                       s.m_ReferenceEpoch,
                       s.m_Epoch,
                       d.m_DLat,
                       d.m_DLon,
                       d.m_DHeight,
                       d.m_Grid.m_GridE0,
                       d.m_Grid.m_GridN0,
                       d.m_Grid.m_GridRotation,
                       d.m_Grid.m_GridScaleE,
                       d.m_Grid.m_GridScaleN,
                       d.m_Grid.m_GridA,
                       d.m_Grid.m_GridB,
                       d.m_Grid.m_GridC,
                       d.m_Grid.m_GridD}) {
    Require(std::isfinite(value));
  }
  Require(s.m_RotationMethod == 0 || s.m_RotationMethod == 1);
  Require(d.m_Direction == 1 && !d.m_ShiftStatus.empty());
  Require(d.m_Projection.m_Spheroid == &d.m_Spheroid);
}

// One kind of datum record: read directly, then as entry 0 of its shift type (the only
// file of its kind), which must agree; a Helmert record saved again reads back the same.
void CheckDatum(int type) {
  const std::optional<orvale::DatumRecordKind> kind_of_type = orvale::DatumRecordKindOfType(type);
  Require(kind_of_type.has_value());
  const orvale::DatumRecordKind kind = *kind_of_type;
  orvale::CSpheroid target;
  orvale::CDatum datum;
  datum.m_TargetSpheroid = &target;
  const orvale::RecordStatus status = orvale::ReadDatumRecord(datum, "Fuzzed", kind);
  Require(status.ok == status.reason.empty());
  if (type == orvale::kGridShifts) datum.DeriveGridShift();
  CheckDatumValues(datum);
  orvale::CDatum listed;
  listed.m_TargetSpheroid = &target;
  Require(listed.SetFromCatalogue(type, 0, -1) == status.ok);
  Require(listed.m_ShiftType == type);
  CheckDatumValues(listed);
  static_cast<void>(listed.GetName());
  if (!status.ok || kind != orvale::DatumRecordKind::kHelmert) return;
  const std::string copy = orvale::RecordFolder() + "Fuzzed Copy.DMF";
  Require(datum.Save(copy));
  orvale::CDatum again;
  again.m_TargetSpheroid = &target;
  Require(orvale::ReadDatumRecord(again, copy, kind).ok);
  Require(again.m_FromName == datum.m_FromName && again.m_ToName == datum.m_ToName);
  Require(std::memcmp(&again.m_Shift, &datum.m_Shift, sizeof datum.m_Shift) == 0);
  Require(orvale::DeleteFile(copy));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orvale::fuzzing::UsePrivateDrive();
  const std::string folder = orvale::RecordFolder();
  orvale::fuzzing::WriteFile(folder + "Fuzzed.SPD", data, size);
  orvale::fuzzing::WriteFile(folder + "Fuzzed.PRJ", data, size);
  CheckSpheroid();
  for (int type : {orvale::kUserDefinedShifts, orvale::kLatLonShifts, orvale::kGridShifts}) {
    const auto extension = orvale::DatumRecordExtension(*orvale::DatumRecordKindOfType(type));
    orvale::fuzzing::WriteFile(folder + "Fuzzed." + std::string(extension), data, size);
    CheckDatum(type);
  }

  orvale::CSpheroid attached;
  orvale::CProjection projection;
  projection.m_Spheroid = &attached;
  const bool counted =
      orvale::CProjection::ReadRecordType("Fuzzed") != orvale::kNoProjectionRecordType;
  const orvale::RecordStatus status = orvale::ReadProjectionRecordFile(projection, "Fuzzed");
  Require(counted == status.ok);  // a listed index must always load
  Require(status.ok == status.reason.empty());
  const orvale::ProjectionRecordsByType listed = orvale::ListProjectionRecords();
  Require(listed.unreadable.size() == listed.reasons.size());
  Require(listed.unreadable.empty() == status.ok);
  if (status.ok) {
    // Set-up may derive the scale factor; the block's own values stay as read.
    CheckLoadedBlock(projection);
    double e = 0.0, n = 0.0, latitude = 0.0, longitude = 0.0, convergence = 0.0, scale = 0.0;
    if (projection.GeogToGrid(0.9, 0.1, &e, &n, &convergence, &scale) ==
        orvale::ProjectionStatus::kOk) {
      static_cast<void>(projection.GridToGeog(e, n, &latitude, &longitude, &convergence, &scale));
    }
  }
  return 0;
}
