// OSTN15 from the Ordnance Survey's NTv2 pair: loading (each file in one read, the
// arrays shared while anything refers to them), the grid look-up both steps share,
// and the National Grid's transverse Mercator.
//
// The National Grid's published series (to the fourth power of the longitude
// difference in northing, the fifth in easting, with an inverse from the iterated
// footpoint) is replaced by the exact mapping, Krüger's series to n⁶: the short series
// drifts from the Ordnance Survey's own conversions by millimetres towards the edges
// of Great Britain, the exact mapping agrees with them everywhere to well under a
// micrometre. The constants block keeps the printed A0..A6 and M0 all the same.
#include "orvale/engine/gridshift/ostn15.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/platform/files.h"
#include "orvale/platform/program.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/storage/internal/little_endian.h"

namespace orvale {
namespace {

constexpr double kOriginLatitude = 0.855211333477207;    // 49°N
constexpr double kCentralMeridian = -0.034906585039886;  // 2°W
constexpr double kScaleFactor = 0.9996012717;
constexpr double kFalseEasting = 400000.0;
constexpr double kFalseNorthing = -100000.0;
constexpr double kSecondsPerRadian = 206264.80624716;

// Byte offsets of the first 352 bytes: the overview header, then the sub-file's.
constexpr std::size_t kRecordCountOffset = 8;  // NUM_OREC, 11
constexpr std::size_t kUnitsOffset = 56;       // GS_TYPE
constexpr std::size_t kSourceMajorOffset = 120;
constexpr std::size_t kSourceMinorOffset = 136;
constexpr std::size_t kTargetMajorOffset = 152;
constexpr std::size_t kTargetMinorOffset = 168;
constexpr std::size_t kSouthOffset = 248;
constexpr std::size_t kNorthOffset = 264;
constexpr std::size_t kEastOffset = 280;
constexpr std::size_t kWestOffset = 296;
constexpr std::size_t kLatIncrementOffset = 312;
constexpr std::size_t kLonIncrementOffset = 328;
constexpr std::size_t kNodeCountOffset = 344;
constexpr std::size_t kNodeBytes = 16;

static_assert(sizeof(GridShiftRecordDef) == kNodeBytes);
static_assert(std::is_trivially_copyable_v<GridShiftRecordDef>);

using Header = std::array<unsigned char, kNtv2HeaderBytes>;

double HeaderDouble(const Header& header, std::size_t offset) {
  return std::bit_cast<double>(LoadUint64Le(&header[offset]));
}

// The extent a header describes, seconds of arc with longitudes positive west.
struct Extent {
  double south = 0.0, north = 0.0, east = 0.0, west = 0.0;
  double lat_increment = 0.0, lon_increment = 0.0;
  int rows = 0, columns = 0;
  bool operator==(const Extent&) const = default;
};

Extent ExtentOf(const Header& header) {
  Extent extent{
      HeaderDouble(header, kSouthOffset),        HeaderDouble(header, kNorthOffset),
      HeaderDouble(header, kEastOffset),         HeaderDouble(header, kWestOffset),
      HeaderDouble(header, kLatIncrementOffset), HeaderDouble(header, kLonIncrementOffset)};
  // Rounded, not truncated as a plain integer part would be: 60.999999 steps are 61.
  extent.rows = NTv2NodeSpan(extent.south, extent.north, extent.lat_increment);
  extent.columns = NTv2NodeSpan(extent.east, extent.west, extent.lon_increment);
  return extent;
}

GridFileStatus Refuse(GridFileProblem problem, const std::string& path, std::string_view why) {
  return {problem, "\"" + path + "\" " + std::string(why)};
}

// One file of the pair: its header and nodes, after checking every count against the
// file's length. The nodes come in one read straight into their array.
GridFileStatus ReadOstnFile(const std::string& path, Header& header,
                            std::vector<GridShiftRecordDef>& nodes) {
  CStdioFile file;
  if (!file.Open(path, FileMode::ReadBinary)) {
    std::string why = "cannot be opened";
    if (!file.OpenProblem().empty()) why += ": " + file.OpenProblem();
    return Refuse(GridFileProblem::kCannotOpen, path, why);
  }
  const std::uint64_t length = file.GetLength();
  if (length < kNtv2HeaderBytes || file.Read(header.data(), header.size()) != header.size())
    return Refuse(GridFileProblem::kTooShort, path, "is shorter than its headers");
  // The Ordnance Survey writes its files little-endian, as the format began.
  if (LoadUint32Le(&header[kRecordCountOffset]) != 11)
    return Refuse(GridFileProblem::kNotNTv2, path, "is not a little-endian NTv2 file");
  if (std::memcmp(&header[kUnitsOffset], "SECONDS", 7) != 0)
    return Refuse(GridFileProblem::kUnsupportedUnits, path, "is not a grid in seconds of arc");
  const Extent extent = ExtentOf(header);
  if (extent.rows < 2 || extent.columns < 2 || extent.columns > 0xFFFF)
    return Refuse(GridFileProblem::kBadSubGrid, path, "has an extent that describes no grid");
  const std::int32_t count = std::bit_cast<std::int32_t>(LoadUint32Le(&header[kNodeCountOffset]));
  if (static_cast<std::int64_t>(extent.rows) * extent.columns != count)
    return Refuse(GridFileProblem::kBadSubGrid, path, "counts other nodes than its extent holds");
  if (static_cast<std::uint64_t>(count) > (length - kNtv2HeaderBytes) / kNodeBytes)
    return Refuse(GridFileProblem::kTooShort, path, "ends before its nodes do");
  nodes.resize(static_cast<std::size_t>(count));
  const std::size_t bytes = nodes.size() * kNodeBytes;
  if (file.Read(nodes.data(), bytes) != bytes)
    return Refuse(GridFileProblem::kTooShort, path, "cannot be read to the end of its nodes");
  if constexpr (std::endian::native == std::endian::big) {
    for (GridShiftRecordDef& node : nodes) {
      for (float* value :
           {&node.m_LatShift, &node.m_LonShift, &node.m_LatAccuracy, &node.m_LonAccuracy}) {
        *value = std::bit_cast<float>(LoadUint32Le(reinterpret_cast<unsigned char*>(value)));
      }
    }
  }
  static_cast<void>(file.Close());
  return {};
}

// Everything but the nodes, from the two headers.
void DescribePair(OstnGridPair& pair) {
  const Header& second = pair.m_SecondHeader;
  pair.m_Source = MakeOstnConstants(HeaderDouble(second, kSourceMajorOffset),
                                    HeaderDouble(second, kSourceMinorOffset));
  pair.m_Target = MakeOstnConstants(HeaderDouble(second, kTargetMajorOffset),
                                    HeaderDouble(second, kTargetMinorOffset));
  const Extent extent = ExtentOf(second);
  pair.m_East = extent.east;
  pair.m_South = extent.south;
  pair.m_West = extent.west;
  pair.m_North = extent.north;
  pair.m_LonIncrement = extent.lon_increment;
  pair.m_LatIncrement = extent.lat_increment;
  pair.m_Columns = static_cast<std::uint16_t>(extent.columns);
}

// The pair last read, kept while any datum refers to its arrays, so that every datum
// built after it shares them instead of reading 30 MB again. It is told from a newer
// version of the files by their stamps.
struct LoadedPair {
  std::string folder;
  std::optional<FileStamp> first_stamp, second_stamp;
  OstnGridPair described;  // without its nodes
  std::weak_ptr<const OstnNodeArrays> nodes;
};

std::mutex& CacheLock() {
  static std::mutex lock;
  return lock;
}

LoadedPair& Cache() {
  static LoadedPair cache;
  return cache;
}

bool ReuseCached(OstnGridPair& pair, const std::string& folder, const std::string& first,
                 const std::string& second) {
  const LoadedPair& cache = Cache();
  if (cache.folder != folder) return false;
  const std::optional<FileStamp> first_stamp = StampOf(first), second_stamp = StampOf(second);
  if (!first_stamp || first_stamp != cache.first_stamp || second_stamp != cache.second_stamp)
    return false;
  std::shared_ptr<const OstnNodeArrays> nodes = cache.nodes.lock();
  if (nodes == nullptr) return false;
  pair = cache.described;
  pair.m_Nodes = std::move(nodes);
  return true;
}

GridFileStatus ReadPair(OstnGridPair& pair, const std::string& first, const std::string& second) {
  auto nodes = std::make_shared<OstnNodeArrays>();
  if (GridFileStatus status = ReadOstnFile(first, pair.m_FirstHeader, nodes->first); !status.ok())
    return status;
  if (GridFileStatus status = ReadOstnFile(second, pair.m_SecondHeader, nodes->second);
      !status.ok())
    return status;
  // The National Grid is computed on the second file's source ellipsoid.
  const double a = HeaderDouble(pair.m_SecondHeader, kSourceMajorOffset);
  const double b = HeaderDouble(pair.m_SecondHeader, kSourceMinorOffset);
  if (!(a > 0.0 && b > 0.5 * a && b <= a))
    return Refuse(GridFileProblem::kBadSubGrid, second, "names no ellipsoid for its source");
  // Both arrays are addressed with the second file's extent.
  if (ExtentOf(pair.m_FirstHeader) != ExtentOf(pair.m_SecondHeader)) {
    return Refuse(GridFileProblem::kBadSubGrid, first,
                  "covers another extent than its partner, which addresses both");
  }
  DescribePair(pair);
  pair.m_Nodes = std::move(nodes);
  return {};
}

// The shifts (seconds of arc, the longitude shift positive west) interpolated in
// `nodes` at a position in radians; false outside the grid, on its north row or on its
// west column.
bool LookUp(const OstnGridPair& pair, const std::vector<GridShiftRecordDef>& nodes, double latitude,
            double longitude, double& lat_shift, double& lon_shift) {
  const double lat_seconds = latitude * kSecondsPerRadian;
  const double lon_seconds = -longitude * kSecondsPerRadian;
  // The extent is inclusive, but a position on the north row or the west column has no
  // next node to interpolate towards, and counts as outside.
  if (!(pair.m_South <= lat_seconds && lat_seconds < pair.m_North && pair.m_East <= lon_seconds &&
        lon_seconds < pair.m_West))
    return false;
  const std::size_t columns = pair.m_Columns;
  const std::size_t rows = columns < 2 ? 0 : nodes.size() / columns;
  if (rows < 2) return false;
  const double y = (latitude * kDegreesPerRadian * 3600 - pair.m_South) / pair.m_LatIncrement;
  const double x = (-longitude * kDegreesPerRadian * 3600 - pair.m_East) / pair.m_LonIncrement;
  // The row and column found with the truncated degree factor can fall a rounding
  // outside the cells the extent test let in: such a point is on the cell's edge.
  const double row = std::clamp(std::floor(y), 0.0, static_cast<double>(rows) - 2.0);
  const double column = std::clamp(std::floor(x), 0.0, static_cast<double>(columns) - 2.0);
  const double ty = y - row, tx = x - column;
  const std::size_t k00 =
      columns * static_cast<std::size_t>(row) + static_cast<std::size_t>(column);
  const GridShiftRecordDef &n00 = nodes[k00], &n01 = nodes[k00 + 1];
  const GridShiftRecordDef &n10 = nodes[k00 + columns], &n11 = nodes[k00 + columns + 1];
  const auto bilinear = [tx, ty](double v00, double v01, double v10, double v11) {
    const double a = v00 + (v01 - v00) * tx, b = v10 + (v11 - v10) * tx;
    return a + (b - a) * ty;
  };
  lat_shift = bilinear(n00.m_LatShift, n01.m_LatShift, n10.m_LatShift, n11.m_LatShift);
  lon_shift = bilinear(n00.m_LonShift, n01.m_LonShift, n10.m_LonShift, n11.m_LonShift);
  return true;
}

}  // namespace

OstnConstants MakeOstnConstants(double semi_major_axis, double semi_minor_axis) {
  OstnConstants c;
  const double a = semi_major_axis, f = (a - semi_minor_axis) / a;
  const double e2 = 2.0 * f - f * f, e4 = e2 * e2, e6 = e4 * e2;
  c.a = a;
  c.e2 = e2;
  c.one_minus_e2 = 1.0 - e2;
  c.A0 = 1.0 - e2 / 4.0 - 3.0 * e4 / 64.0 - 5.0 * e6 / 256.0;
  c.A2 = 3.0 / 8.0 * (e2 + e4 / 4.0 + 15.0 * e6 / 128.0);
  c.A4 = 15.0 / 256.0 * (e4 + 3.0 * e6 / 4.0);
  c.A6 = 35.0 * e6 / 3072.0;
  const double p = kOriginLatitude;
  c.M0 = a * (c.A0 * p - c.A2 * std::sin(2 * p) + c.A4 * std::sin(4 * p) - c.A6 * std::sin(6 * p));
  projection::StoreTransverseMercatorSeries(c.m_Series, a, e2, kOriginLatitude);
  return c;
}

GridFileStatus LoadOstnGrids(OstnGridPair& pair, std::string_view folder) {
  pair = OstnGridPair{};
  const std::string where(folder);
  const std::string first = where + std::string(kOstnEtrsToOsgbFileName);
  const std::string second = where + std::string(kOstnOsgbToEtrsFileName);
  const std::lock_guard<std::mutex> hold(CacheLock());
  if (ReuseCached(pair, where, first, second)) return {};
  // Stamped before reading: a file changed while it is read is read again next time.
  LoadedPair fresh{where, StampOf(first), StampOf(second), {}, {}};
  GridFileStatus status = ReadPair(pair, first, second);
  if (!status.ok()) {
    pair = OstnGridPair{};
    return status;
  }
  fresh.described = pair;
  fresh.described.m_Nodes.reset();
  fresh.nodes = pair.m_Nodes;
  Cache() = std::move(fresh);
  return {};
}

GridFileStatus LoadOstnGrids(OstnGridPair& pair) {
  return LoadOstnGrids(pair, ProgramFolder());
}

bool OstnForward(const OstnGridPair& pair, double& easting, double& northing, double latitude,
                 double longitude) {
  double lat_shift = 0.0, lon_shift = 0.0;
  if (pair.IsEmpty() ||
      !LookUp(pair, pair.m_Nodes->first, latitude, longitude, lat_shift, lon_shift))
    return false;
  const double shifted_latitude = latitude + lat_shift * kRadiansPerDegree / 3600;
  const double shifted_longitude = longitude - lon_shift * kRadiansPerDegree / 3600;
  NationalGridForward(pair.m_Source, easting, northing, shifted_latitude, shifted_longitude);
  return true;
}

bool OstnReverse(const OstnGridPair& pair, double& latitude, double& longitude, double northing,
                 double easting) {
  if (pair.IsEmpty()) return false;
  double grid_latitude = 0.0, grid_longitude = 0.0;
  NationalGridInverse(pair.m_Source, grid_latitude, &grid_longitude, easting, northing);
  double lat_shift = 0.0, lon_shift = 0.0;
  if (!LookUp(pair, pair.m_Nodes->second, grid_latitude, grid_longitude, lat_shift, lon_shift))
    return false;
  latitude = grid_latitude + lat_shift * kRadiansPerDegree / 3600;
  longitude = grid_longitude - lon_shift * kRadiansPerDegree / 3600;
  return true;
}

void NationalGridForward(const OstnConstants& block, double& easting, double& northing,
                         double latitude, double longitude) {
  const double dl = projection::WrapToHalfTurn(longitude - kCentralMeridian);
  double east = 0.0, north = 0.0;
  projection::TransverseMercatorOffsets(block.m_Series, latitude, dl, east, north);
  easting = kScaleFactor * east + kFalseEasting;
  northing = kScaleFactor * north + kFalseNorthing;
}

void NationalGridInverse(const OstnConstants& block, double& latitude, double* longitude,
                         double easting, double northing) {
  double dl = 0.0;
  projection::TransverseMercatorFromOffsets(
      block.m_Series, (easting - kFalseEasting) / kScaleFactor,
      (northing - kFalseNorthing) / kScaleFactor, latitude, dl);
  if (longitude != nullptr) *longitude = projection::WrapToHalfTurn(dl + kCentralMeridian);
}

}  // namespace orvale
