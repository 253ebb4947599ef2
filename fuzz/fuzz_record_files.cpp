// Spheroid and projection record files of any bytes: loading fails or succeeds, never
// crashes, a file counts for a projection type exactly when it loads, and a loaded
// projection still computes.
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/storage/data_folders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orvale::fuzzing::UsePrivateDrive();
  const std::string folder = orvale::RecordFolder();
  orvale::fuzzing::WriteFile(folder + "Fuzzed.SPD", data, size);
  orvale::fuzzing::WriteFile(folder + "Fuzzed.PRJ", data, size);

  orvale::CSpheroid spheroid;
  static_cast<void>(spheroid.Load("Fuzzed"));
  static_cast<void>(spheroid.SetFromIndex(53));

  orvale::CSpheroid attached;
  orvale::CProjection projection;
  projection.m_Spheroid = &attached;
  const bool counted =
      orvale::CProjection::ReadRecordType("Fuzzed") != orvale::kNoProjectionRecordType;
  const bool loaded = projection.ReadRecordFile("Fuzzed");
  if (counted != loaded) std::abort();  // a listed index must always load
  if (loaded) {
    double e = 0.0, n = 0.0, latitude = 0.0, longitude = 0.0, convergence = 0.0, scale = 0.0;
    if (projection.GeogToGrid(0.9, 0.1, &e, &n, &convergence, &scale) ==
        orvale::ProjectionStatus::kOk) {
      static_cast<void>(projection.GridToGeog(e, n, &latitude, &longitude, &convergence, &scale));
    }
  }
  return 0;
}
