#include "orvale/engine/gridshift/nadcon.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <span>

#include "orvale/engine/gridshift/nadcon_regions.h"
#include "orvale/platform/files.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"

namespace orvale {
namespace {

// The 96-byte header: identification and program texts, then counts and extent.
constexpr std::size_t kIdentificationBytes = 56;
constexpr std::size_t kProgramOffset = 56;
constexpr std::size_t kProgramBytes = 8;
constexpr std::size_t kColumnsOffset = 64;  // nc
constexpr std::size_t kRowsOffset = 68;     // nr
constexpr std::size_t kZCountOffset = 72;   // nz
constexpr std::size_t kMinimumLongitudeOffset = 76;
constexpr std::size_t kLongitudeSpacingOffset = 80;
constexpr std::size_t kMinimumLatitudeOffset = 84;
constexpr std::size_t kLatitudeSpacingOffset = 88;
constexpr std::size_t kAngleOffset = 92;
constexpr std::size_t kWordBytes = 4;

constexpr bool TableIsWhole(std::span<const NadconRegion> table) {
  for (const NadconRegion& region : table) {
    if (region.code.empty() || region.code.size() > 10 || region.description.empty() ||
        region.description.size() > 80)
      return false;
  }
  return true;
}
static_assert(TableIsWhole(kNadconRegions) && TableIsWhole(kHpgnRegions));

struct GridShape {
  std::int32_t columns;
  std::int32_t rows;
  float xmin, dx, ymin, dy;
};

GridShape ShapeOf(const NadconGridSet& set) {
  const unsigned char* h = set.m_Header.data();
  return {LoadInt32Le(h + kColumnsOffset),          LoadInt32Le(h + kRowsOffset),
          LoadFloatLe(h + kMinimumLongitudeOffset), LoadFloatLe(h + kLongitudeSpacingOffset),
          LoadFloatLe(h + kMinimumLatitudeOffset),  LoadFloatLe(h + kLatitudeSpacingOffset)};
}

bool IsLoaded(const NadconGridSet& set) {
  return set.m_LatitudeGrid != nullptr && set.m_LongitudeGrid != nullptr;
}

void BlankToTerminators(unsigned char* text, std::size_t size) {
  for (std::size_t i = size; i > 0 && text[i - 1] == ' '; --i)
    text[i - 1] = '\0';
}

double WestLongitude(double longitude) {
  return longitude > 0.0 ? longitude - 360.0 : longitude;
}

// The .las or .los of a region: the code as given, else as NGS names its files.
std::string RegionFile(const std::string& folder, std::string_view code,
                       std::string_view extension) {
  std::string path = folder + std::string(code) + std::string(extension);
  if (FileExists(path)) return path;
  std::string lower(code);
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folder + lower + std::string(extension);
}

std::span<const NadconRegion> TableOf(int mode) {
  if (mode == kNad27ToNad83 || mode == kNad83ToNad27) return kNadconRegions;
  if (mode == kNad83ToHpgn || mode == kHpgnToNad83) return kHpgnRegions;
  return {};
}

}  // namespace

void GridStatistics::Add(double x) {
  if (m_Valid == 0 || m_Count == 0) {
    m_Valid = 1;
    m_Count = 0;
    m_Sum = 0.0;
    m_SumOfSquares = 0.0;
    m_Minimum = x;
    m_Maximum = x;
  }
  m_Count += 1;
  const double n = m_Count;
  m_Sum += x;
  m_SumOfSquares += x * x;
  m_Mean = m_Sum / n;
  // The sample standard deviation, (sum of squares - n mean^2) / (n - 1) under the
  // root. The form sum of squares / (n - 1) - mean^2 is neither the sample nor the
  // population deviation (for 1 and 3 it gives 2.45 where they are 1.41 and 1).
  // Rounding can take a spread of equal values a hair below zero: that is 0.
  if (m_Count > 1) {
    m_Deviation = std::sqrt(std::max(0.0, (m_SumOfSquares - n * m_Mean * m_Mean) / (n - 1.0)));
  }
  m_Minimum = std::min(m_Minimum, x);
  m_Maximum = std::max(m_Maximum, x);
}

bool ReadNadconGrid(CStdioFile& file, NadconGridSet& set, int which) {
  if (which != 0 && which != 1) return false;
  std::array<unsigned char, kNadconHeaderBytes> header{};
  const std::uint64_t length = file.GetLength();
  if (file.Read(header.data(), header.size()) != header.size()) return false;
  BlankToTerminators(header.data(), kIdentificationBytes);
  BlankToTerminators(header.data() + kProgramOffset, kProgramBytes);

  if (which == 1) {
    // The longitudes must lie on the latitudes' grid: nc, nr, nz and the five floats.
    if (!std::equal(header.begin() + kColumnsOffset, header.end(),
                    set.m_Header.begin() + kColumnsOffset)) {
      set.Clear();
      return false;
    }
  } else {
    set.m_Header = header;
  }
  const std::int32_t columns = LoadInt32Le(header.data() + kColumnsOffset);
  const std::int32_t rows = LoadInt32Le(header.data() + kRowsOffset);
  if (rows < 1 || columns < 1) return false;

  // Each row is one record of a word and nc floats; the header fills the first
  // record (or, for a grid narrower than the header, as many records as it needs).
  // The first row is found by that length: the scan for the first non-zero word
  // that older readers use lands in the wrong place when a grid begins with zeros.
  const std::uint64_t record = (static_cast<std::uint64_t>(columns) + 1) * kWordBytes;
  const std::uint64_t first_row = (kNadconHeaderBytes + record - 1) / record * record;
  if (first_row > length || static_cast<std::uint64_t>(rows) > (length - first_row) / record)
    return false;
  std::vector<unsigned char> bytes(static_cast<std::size_t>(record));
  const std::size_t padding = static_cast<std::size_t>(first_row) - kNadconHeaderBytes;
  if (file.Read(bytes.data(), padding) != padding) return false;

  auto grid = std::make_shared<std::vector<float>>(static_cast<std::size_t>(rows) *
                                                   static_cast<std::size_t>(columns));
  GridStatistics& statistics = which == 1 ? set.m_LongitudeStatistics : set.m_LatitudeStatistics;
  statistics = {};
  float* cell = grid->data();
  for (std::int32_t row = 0; row < rows; ++row) {
    if (file.Read(bytes.data(), bytes.size()) != bytes.size()) return false;
    for (std::int32_t column = 0; column < columns; ++column, ++cell) {
      *cell = LoadFloatLe(&bytes[kWordBytes * (static_cast<std::size_t>(column) + 1)]);
      if (*cell != 0.0f) statistics.Add(*cell);
    }
  }
  (which == 1 ? set.m_LongitudeGrid : set.m_LatitudeGrid) = std::move(grid);
  return true;
}

bool LoadNadconRegion(NadconGridSet& set, std::string_view code) {
  set.Clear();
  const std::string folder = RecordFolder();
  if (folder.empty() || code.empty()) return false;
  CStdioFile las;
  if (!las.Open(RegionFile(folder, code, ".las"), FileMode::ReadBinary)) return false;
  const bool latitudes = ReadNadconGrid(las, set, 0);
  static_cast<void>(las.Close());
  CStdioFile los;
  if (!latitudes || !los.Open(RegionFile(folder, code, ".los"), FileMode::ReadBinary)) {
    set.Clear();
    return false;
  }
  const bool longitudes = ReadNadconGrid(los, set, 1);
  static_cast<void>(los.Close());
  if (!longitudes) set.Clear();
  return longitudes;
}

bool NadconContains(const NadconGridSet& set, double latitude, double longitude) {
  if (!IsLoaded(set)) return false;
  const GridShape g = ShapeOf(set);
  if (g.rows < 1 || g.columns < 1) return false;
  longitude = WestLongitude(longitude);
  // The far edges in single precision, as the grids' own software computes them.
  const float north = static_cast<float>(g.rows - 1) * g.dy + g.ymin;
  const float east = static_cast<float>(g.columns - 1) * g.dx + g.xmin;
  return g.ymin < latitude && latitude < north && g.xmin < longitude && longitude < east;
}

bool ApplyNadcon(double& latitude_out, double& longitude_out, NadconGridSet& set, int mode,
                 double latitude, double longitude) {
  // A position that is not a number lies in no region: no reason to search the table,
  // and many reasons (InvertNadcon's rounds) not to.
  if (!std::isfinite(latitude) || !std::isfinite(longitude)) {
    latitude_out = 0.0;
    longitude_out = 0.0;
    return false;
  }
  const double west_longitude = WestLongitude(longitude);
  if (!NadconContains(set, latitude, west_longitude)) {
    bool found = false;
    for (const NadconRegion& region : TableOf(mode)) {
      if (LoadNadconRegion(set, region.code) && NadconContains(set, latitude, west_longitude)) {
        set.m_Code = region.code;
        set.m_Description = region.description;
        found = true;
        break;
      }
    }
    if (!found) {
      set.Clear();
      set.m_Description = "Not Selected";
      latitude_out = 0.0;
      longitude_out = 0.0;
      return false;
    }
  }

  const GridShape g = ShapeOf(set);
  const double y = (latitude - g.ymin) / g.dy;
  const double x = (west_longitude - g.xmin) / g.dx;
  // The containment test bounds the point in single precision and these quotients
  // are double: a point a hair inside the float edge can reach the last row or
  // column, whose cell has no far side. It is taken in the cell below, at its edge.
  const std::size_t columns = static_cast<std::size_t>(g.columns);
  const double last_row = std::max(0.0, static_cast<double>(g.rows) - 2.0);
  const double last_column = std::max(0.0, static_cast<double>(g.columns) - 2.0);
  const double row = std::min(std::floor(y), last_row);
  const double column = std::min(std::floor(x), last_column);
  const double ty = y - row;
  const double tx = x - column;
  const std::size_t k = columns * static_cast<std::size_t>(row) + static_cast<std::size_t>(column);
  const std::size_t k2 = k + columns;
  auto interpolate = [&](const std::vector<float>& grid) {
    const double a = grid[k], b = grid[k + 1], c = grid[k2], d = grid[k2 + 1];
    return a + (b - a) * tx + (c - a) * ty + (d - c - b + a) * tx * ty;
  };
  latitude_out = latitude + interpolate(*set.m_LatitudeGrid) / 3600.0;
  longitude_out = west_longitude - interpolate(*set.m_LongitudeGrid) / 3600.0;
  if (longitude_out < -180.0) longitude_out += 360.0;
  return true;
}

bool InvertNadcon(double& latitude_out, double& longitude_out, NadconGridSet& set, int mode,
                  double latitude, double longitude) {
  const double target_longitude = WestLongitude(longitude);
  double estimate_latitude = latitude;
  double estimate_longitude = longitude;
  for (int round = 0; round < 10; ++round) {
    double shifted_latitude = 0.0, shifted_longitude = 0.0;
    if (!ApplyNadcon(shifted_latitude, shifted_longitude, set, mode, estimate_latitude,
                     estimate_longitude))
      break;
    const double latitude_residual = latitude - shifted_latitude;
    const double longitude_residual = target_longitude - WestLongitude(shifted_longitude);
    estimate_latitude += latitude_residual;
    estimate_longitude += longitude_residual;
    // Both residuals in size: a large negative residual has not converged.
    if (std::fabs(latitude_residual) < 1e-9 && std::fabs(longitude_residual) < 1e-9) {
      latitude_out = estimate_latitude;
      longitude_out = estimate_longitude;
      return true;
    }
  }
  latitude_out = 0.0;
  longitude_out = 0.0;
  return false;
}

}  // namespace orvale
