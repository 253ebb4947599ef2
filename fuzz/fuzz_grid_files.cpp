// NTv2, NADCON and OSTN15 grid files of any bytes: a load succeeds or says why, never
// crashes or allocates past what the file holds, and whatever loads can be
// interpolated anywhere (inside, on and beyond its edges) without reading outside
// its nodes.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "orvale/engine/gridshift/nadcon.h"
#include "orvale/engine/gridshift/ntv2.h"
#include "orvale/engine/gridshift/ntv2_file.h"
#include "orvale/engine/gridshift/ostn15.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Positions in and around every sub-grid: corners, edges, half a second beyond.
void ProbeNTv2(orvale::CNTv2& reader) {
  constexpr double kRadiansPerSecond = 4.84813681109536e-06;
  for (const orvale::DataSetDef& grid : *reader.m_SubGrids) {
    Require(grid.m_Nodes.size() ==
            static_cast<std::size_t>(grid.m_Rows) * static_cast<std::size_t>(grid.m_Columns));
    for (double latitude :
         {grid.m_South, grid.m_North, grid.m_North + 0.4, (grid.m_South + grid.m_North) / 2}) {
      for (double longitude :
           {grid.m_East, grid.m_West, grid.m_West + 0.4, (grid.m_East + grid.m_West) / 2}) {
        double out_latitude = 0.0, out_longitude = 0.0;
        static_cast<void>(reader.Interpolate(&out_latitude, &out_longitude,
                                             latitude * kRadiansPerSecond,
                                             -longitude * kRadiansPerSecond));
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orvale::fuzzing::UsePrivateDrive();
  const std::string folder = orvale::RecordFolder();
  orvale::fuzzing::WriteFile(folder + "fuzzed.gsb", data, size);
  orvale::CNTv2 reader;
  const orvale::GridFileStatus status = orvale::LoadNTv2File(reader, folder + "fuzzed.gsb");
  Require(status.ok() == status.reason.empty());
  Require(status.ok() != reader.IsEmpty());
  if (status.ok()) ProbeNTv2(reader);

  // The same bytes as both files of a region; then points spread over the grid's own
  // extent and a little beyond it.
  orvale::fuzzing::WriteFile(folder + "GUHPGN.las", data, size);
  orvale::fuzzing::WriteFile(folder + "GUHPGN.los", data, size);
  orvale::NadconGridSet set;
  if (orvale::LoadNadconRegion(set, "GUHPGN")) {
    Require(set.m_LatitudeGrid != nullptr && set.m_LongitudeGrid != nullptr);
    Require(set.m_LatitudeGrid->size() == set.m_LongitudeGrid->size());
    const unsigned char* header = set.m_Header.data();
    const double columns = orvale::LoadInt32Le(header + 64),
                 rows = orvale::LoadInt32Le(header + 68);
    const double xmin = orvale::LoadFloatLe(header + 76), dx = orvale::LoadFloatLe(header + 80);
    const double ymin = orvale::LoadFloatLe(header + 84), dy = orvale::LoadFloatLe(header + 88);
    for (double v = -0.01; v <= 1.01; v += 0.0625) {
      for (double u = -0.01; u <= 1.01; u += 0.0625) {
        const double latitude = ymin + v * (rows - 1) * dy;
        const double longitude = xmin + u * (columns - 1) * dx;
        if (!orvale::NadconContains(set, latitude, longitude)) continue;
        double out_latitude = 0.0, out_longitude = 0.0;
        static_cast<void>(orvale::ApplyNadcon(out_latitude, out_longitude, set,
                                              orvale::kHpgnToNad83, latitude, longitude));
      }
    }
  }

  // The same bytes as both files of an OSTN15 pair, probed across its extent and a
  // little beyond, forward and back.
  orvale::fuzzing::WriteFile(folder + std::string(orvale::kOstnEtrsToOsgbFileName), data, size);
  orvale::fuzzing::WriteFile(folder + std::string(orvale::kOstnOsgbToEtrsFileName), data, size);
  orvale::OstnGridPair pair;
  const orvale::GridFileStatus ostn = orvale::LoadOstnGrids(pair, folder);
  Require(ostn.ok() != pair.IsEmpty());
  if (ostn.ok()) {
    constexpr double kRadiansPerSecond = 4.84813681109536e-06;
    Require(pair.m_Nodes->first.size() == pair.m_Nodes->second.size());
    for (double v = -0.01; v <= 1.01; v += 0.0625) {
      for (double u = -0.01; u <= 1.01; u += 0.0625) {
        const double latitude = pair.m_South + v * (pair.m_North - pair.m_South);
        const double west = pair.m_East + u * (pair.m_West - pair.m_East);
        double easting = 0.0, northing = 0.0;
        if (orvale::OstnForward(pair, easting, northing, latitude * kRadiansPerSecond,
                                -west * kRadiansPerSecond)) {
          double back_latitude = 0.0, back_longitude = 0.0;
          static_cast<void>(
              orvale::OstnReverse(pair, back_latitude, back_longitude, northing, easting));
        }
      }
    }
  }
  return 0;
}
