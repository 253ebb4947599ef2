#include "orvale/engine/gridshift/ntv2.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <map>
#include <utility>

#include "orvale/engine/angles/angles.h"
#include "orvale/storage/config_file.h"

namespace orvale {
namespace {

constexpr int kNoneKey = 0;  // the parent of every top-level grid

// Seconds of arc in whole units of 0.00001, cut towards zero. The file convention is
// north- and west-positive; the magnitude is truncated as the grids' own software
// does, the sign kept so that grids south of the equator or east of Greenwich (every
// grid outside North America) are addressed where they lie.
double TruncatedSeconds(double radians) {
  return std::trunc(radians * kDegreesPerRadian * kSecondsPerDegree * 100000.0) / 100000.0;
}

}  // namespace

// The quotient is rounded, not cut: extents are written in decimal seconds, so a
// quotient such as 61.999999999 stands for 62, and its integer part would drop the
// last column and shear every row after the first.
int NTv2NodeSpan(double from, double to, double increment) {
  const double steps = (to - from) / increment;
  if (!(steps >= 0.0) || steps > std::numeric_limits<int>::max() - 2.0) return 0;
  return static_cast<int>(std::lround(steps)) + 1;
}

CNTv2::CNTv2(const CNTv2& other)
    : m_SubGrids(other.m_SubGrids),
      m_Text1(other.m_Text1),
      m_Text2(other.m_Text2),
      m_Text3(other.m_Text3),
      m_LastInputLatitude(other.m_LastInputLatitude),
      m_LastInputLongitude(other.m_LastInputLongitude),
      m_LastOutputLatitude(other.m_LastOutputLatitude),
      m_LastOutputLongitude(other.m_LastOutputLongitude),
      m_Selected(other.m_Selected) {}

CNTv2& CNTv2::operator=(const CNTv2& other) {
  if (this != &other) {
    CNTv2 copy(other);
    copy.m_WritesSettings = m_WritesSettings;
    *this = std::move(copy);
  }
  return *this;
}

CNTv2::CNTv2(CNTv2&& other) noexcept
    : m_SubGrids(std::move(other.m_SubGrids)),
      m_Text1(std::move(other.m_Text1)),
      m_Text2(std::move(other.m_Text2)),
      m_Text3(std::move(other.m_Text3)),
      m_LastInputLatitude(other.m_LastInputLatitude),
      m_LastInputLongitude(other.m_LastInputLongitude),
      m_LastOutputLatitude(other.m_LastOutputLatitude),
      m_LastOutputLongitude(other.m_LastOutputLongitude),
      m_Selected(other.m_Selected),
      m_WritesSettings(std::exchange(other.m_WritesSettings, false)) {}

CNTv2& CNTv2::operator=(CNTv2&& other) noexcept {
  if (this != &other) {
    m_SubGrids = std::move(other.m_SubGrids);
    m_Text1 = std::move(other.m_Text1);
    m_Text2 = std::move(other.m_Text2);
    m_Text3 = std::move(other.m_Text3);
    m_LastInputLatitude = other.m_LastInputLatitude;
    m_LastInputLongitude = other.m_LastInputLongitude;
    m_LastOutputLatitude = other.m_LastOutputLatitude;
    m_LastOutputLongitude = other.m_LastOutputLongitude;
    m_Selected = other.m_Selected;
    m_WritesSettings = std::exchange(other.m_WritesSettings, false);
  }
  return *this;
}

CNTv2::~CNTv2() {
  if (!m_WritesSettings) return;
  CConfigFile file;
  if (!file.OpenForWrite("NTv2")) return;
  file.WriteDouble("NAD27 Latitude", m_LastInputLatitude);
  file.WriteDouble("NAD27 Longitude", m_LastInputLongitude);
  file.WriteDouble("NAD83 Latitude", m_LastOutputLatitude);
  file.WriteDouble("NAD83 Longitude", m_LastOutputLongitude);
  static_cast<void>(file.Close());  // a settings file that cannot be written is skipped
}

void CNTv2::SetSubGrids(std::vector<DataSetDef> grids) {
  std::map<std::string, int> keys{{"NONE", kNoneKey}};
  auto key_of = [&keys](const std::string& name) {
    return keys.try_emplace(name, static_cast<int>(keys.size())).first->second;
  };
  for (DataSetDef& grid : grids) {
    grid.m_NameKey = key_of(grid.m_Name);
    grid.m_ParentKey = key_of(grid.m_Parent);
    grid.m_Rows = NTv2NodeSpan(grid.m_South, grid.m_North, grid.m_LatIncrement);
    grid.m_Columns = NTv2NodeSpan(grid.m_East, grid.m_West, grid.m_LonIncrement);
  }
  m_SubGrids = std::make_shared<const std::vector<DataSetDef>>(std::move(grids));
}

int CNTv2::FindSubGrid(double latitude, double longitude) const {
  if (IsEmpty()) return -1;
  const std::vector<DataSetDef>& grids = *m_SubGrids;
  const double rounded_latitude = std::round(latitude);  // half away from zero
  const double rounded_longitude = std::round(longitude);
  int parent = kNoneKey;
  int result = -1;
  // Each round goes one level down; a sound hierarchy has at most as many levels as
  // grids, and a file whose names run in a circle must still come to an end.
  for (std::size_t level = 0; level <= grids.size(); ++level) {
    int contained = -1;
    int candidate = -1;
    int candidate_kind = 0;
    for (std::size_t i = 0; i < grids.size(); ++i) {
      const DataSetDef& grid = grids[i];
      if (grid.m_ParentKey != parent) continue;
      const bool inside_latitudes = grid.m_South <= latitude && latitude < grid.m_North;
      const bool inside_longitudes = grid.m_East <= longitude && longitude < grid.m_West;
      const bool on_north = rounded_latitude == grid.m_North;
      const bool on_west = rounded_longitude == grid.m_West;
      if (inside_latitudes && inside_longitudes) {
        contained = static_cast<int>(i);
        break;
      }
      int kind = 0;
      if (on_north && inside_longitudes) {
        kind = 2;
      } else if (on_west && inside_latitudes) {
        if (candidate_kind == 0 || candidate_kind == 4) kind = 3;
      } else if (on_north && on_west) {
        kind = 4;
      }
      if (kind != 0) {
        candidate = static_cast<int>(i);
        candidate_kind = kind;
      }
    }
    const int chosen = contained >= 0 ? contained : candidate;
    if (chosen < 0) break;
    result = chosen;
    parent = grids[static_cast<std::size_t>(chosen)].m_NameKey;
  }
  return result;
}

int CNTv2::Interpolate(double* latitude_out, double* longitude_out, double latitude,
                       double longitude) {
  m_LastInputLatitude = latitude;
  m_LastInputLongitude = longitude;
  m_WritesSettings = true;
  const double phi = TruncatedSeconds(latitude);
  const double lambda = TruncatedSeconds(-longitude);  // positive west, as the file
  const int index = FindSubGrid(phi, lambda);
  if (index < 0) return index;
  m_Selected = index;
  const DataSetDef& grid = (*m_SubGrids)[static_cast<std::size_t>(index)];
  if (grid.m_Rows < 1 || grid.m_Columns < 1) return index;

  // A point taken as a north or west edge candidate may lie up to half a second
  // beyond the last row or column; there the last row or column is repeated, which
  // gives the edge nodes' own values on the edge (where bilinear interpolation gives
  // them anyway) and carries them on across the half second. No node outside the
  // array is ever read, and the north-west corner is the corner node.
  const double y = std::clamp((phi - grid.m_South) / grid.m_LatIncrement, 0.0,
                              static_cast<double>(grid.m_Rows - 1));
  const double x = std::clamp((lambda - grid.m_East) / grid.m_LonIncrement, 0.0,
                              static_cast<double>(grid.m_Columns - 1));
  const std::size_t row = static_cast<std::size_t>(y);
  const std::size_t column = static_cast<std::size_t>(x);
  const double ty = y - static_cast<double>(row);
  const double tx = x - static_cast<double>(column);
  const std::size_t columns = static_cast<std::size_t>(grid.m_Columns);
  const std::size_t next_row = row + 1 < static_cast<std::size_t>(grid.m_Rows) ? columns : 0;
  const std::size_t next_column = column + 1 < columns ? 1 : 0;
  const std::size_t k00 = columns * row + column;
  const std::size_t k01 = k00 + next_column;
  const std::size_t k10 = k00 + next_row;
  const std::size_t k11 = k10 + next_column;
  if (k11 >= grid.m_Nodes.size()) return index;

  const GridShiftRecordDef& n00 = grid.m_Nodes[k00];
  const GridShiftRecordDef& n01 = grid.m_Nodes[k01];
  const GridShiftRecordDef& n10 = grid.m_Nodes[k10];
  const GridShiftRecordDef& n11 = grid.m_Nodes[k11];
  auto bilinear = [tx, ty](double v00, double v01, double v10, double v11) {
    const double a = v00 + (v01 - v00) * tx;
    const double b = v10 + (v11 - v10) * tx;
    return a + (b - a) * ty;
  };
  const double latitude_shift =
      bilinear(n00.m_LatShift, n01.m_LatShift, n10.m_LatShift, n11.m_LatShift);
  const double longitude_shift =
      bilinear(n00.m_LonShift, n01.m_LonShift, n10.m_LonShift, n11.m_LonShift);

  // The result is the truncated position plus the shifts, as the grids' own software
  // gives it. Against PROJ's hgridshift, which shifts the position as given, that is
  // at most one 0.00001" step (0.3 mm) on the four national grids of proj-data.
  m_LastOutputLatitude = (phi + latitude_shift) / kSecondsPerDegree * kRadiansPerDegree;
  m_LastOutputLongitude = -(lambda + longitude_shift) / kSecondsPerDegree * kRadiansPerDegree;
  if (latitude_out != nullptr) *latitude_out = m_LastOutputLatitude;
  if (longitude_out != nullptr) *longitude_out = m_LastOutputLongitude;
  return index;
}

}  // namespace orvale
