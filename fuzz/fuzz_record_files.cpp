// Spheroid and projection record files of any bytes: loading fails or succeeds, never
// crashes, a file counts for a projection type exactly when it loads, a refused file
// always says why, what loads holds values inside the bounds the readers promise, and
// a loaded projection still computes.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

#include "fuzz_support.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_records.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orvale::fuzzing::UsePrivateDrive();
  const std::string folder = orvale::RecordFolder();
  orvale::fuzzing::WriteFile(folder + "Fuzzed.SPD", data, size);
  orvale::fuzzing::WriteFile(folder + "Fuzzed.PRJ", data, size);
  CheckSpheroid();

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
