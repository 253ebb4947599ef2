#include "orvale/engine/gridshift/ntv2_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "orvale/platform/stdio_file.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"

namespace orvale {
namespace {

// Every header is eleven records of an 8-byte name and an 8-byte value; offsets are of
// the values, from the start of their header.
constexpr std::size_t kRecordBytes = 16;
constexpr std::size_t kHeaderBytes = 11 * kRecordBytes;
constexpr std::size_t kNodeBytes = 16;

constexpr std::size_t kOverviewRecordCountOffset = 8;  // NUM_OREC, 11
constexpr std::size_t kSubFileRecordCountOffset = 24;  // NUM_SREC, 11
constexpr std::size_t kSubFileCountOffset = 40;        // NUM_FILE
constexpr std::size_t kGridUnitsOffset = 56;           // GS_TYPE
constexpr std::int32_t kRecordsPerHeader = 11;

constexpr std::size_t kNameOffset = 8;  // SUB_NAME, within a sub-file header
constexpr std::size_t kParentOffset = 24;
constexpr std::size_t kCreatedOffset = 40;
constexpr std::size_t kUpdatedOffset = 56;
constexpr std::size_t kSouthOffset = 72;
constexpr std::size_t kNorthOffset = 88;
constexpr std::size_t kEastOffset = 104;
constexpr std::size_t kWestOffset = 120;
constexpr std::size_t kLatIncrementOffset = 136;
constexpr std::size_t kLonIncrementOffset = 152;
constexpr std::size_t kNodeCountOffset = 168;

// Nodes are decoded through a buffer of this many, so reading a large grid takes
// its node array and no second copy of it.
constexpr std::size_t kNodesPerChunk = 4096;

std::uint32_t Swapped(std::uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

std::uint64_t Swapped(std::uint64_t value) {
  return static_cast<std::uint64_t>(Swapped(static_cast<std::uint32_t>(value))) << 32 |
         Swapped(static_cast<std::uint32_t>(value >> 32));
}

class FieldReader {
 public:
  explicit FieldReader(bool big_endian) : big_endian_(big_endian) {}

  std::uint32_t Uint32(const unsigned char* bytes) const {
    const std::uint32_t value = LoadUint32Le(bytes);
    return big_endian_ ? Swapped(value) : value;
  }
  std::int32_t Int32(const unsigned char* bytes) const {
    return std::bit_cast<std::int32_t>(Uint32(bytes));
  }
  float Float(const unsigned char* bytes) const { return std::bit_cast<float>(Uint32(bytes)); }
  double Double(const unsigned char* bytes) const {
    const std::uint64_t value = LoadUint64Le(bytes);
    return std::bit_cast<double>(big_endian_ ? Swapped(value) : value);
  }

 private:
  bool big_endian_;
};

// An 8-character text without its padding of blanks (or of zero bytes, which some
// writers use).
std::string Text8(const unsigned char* bytes) {
  std::string text(reinterpret_cast<const char*>(bytes), 8);
  const std::size_t end = text.find_last_not_of(std::string_view(" \0", 2));
  text.resize(end == std::string::npos ? 0 : end + 1);
  return text;
}

GridFileStatus Refuse(GridFileProblem problem, std::string reason) {
  return {problem, std::move(reason)};
}

// Why a sub-grid's extent cannot describe a grid of `node_count` nodes; empty when it can.
std::string SubGridProblem(const DataSetDef& grid, std::int32_t node_count) {
  for (double value : {grid.m_South, grid.m_North, grid.m_East, grid.m_West, grid.m_LatIncrement,
                       grid.m_LonIncrement}) {
    if (!std::isfinite(value)) return "an extent or increment is not a number";
  }
  if (!(grid.m_LatIncrement > 0.0) || !(grid.m_LonIncrement > 0.0))
    return "an increment is not above zero";
  if (!(grid.m_North > grid.m_South) || !(grid.m_West > grid.m_East))
    return "its north is not above its south, or its west not beyond its east";
  if (grid.m_Rows < 2 || grid.m_Columns < 2) return "its extent spans less than one cell";
  const std::int64_t nodes = static_cast<std::int64_t>(grid.m_Rows) * grid.m_Columns;
  if (nodes != node_count) {
    return "it counts " + std::to_string(node_count) + " nodes where its extent has " +
           std::to_string(nodes);
  }
  return {};
}

GridFileStatus ReadGrids(CStdioFile& file, std::vector<DataSetDef>& grids) {
  const std::uint64_t length = file.GetLength();
  std::array<unsigned char, kHeaderBytes> header{};
  if (length < kHeaderBytes || file.Read(header.data(), kHeaderBytes) != kHeaderBytes)
    return Refuse(GridFileProblem::kTooShort, "the overview header is cut short");
  std::uint64_t consumed = kHeaderBytes;

  const std::uint32_t records = LoadUint32Le(&header[kOverviewRecordCountOffset]);
  bool big_endian = false;
  if (records == Swapped(static_cast<std::uint32_t>(kRecordsPerHeader))) {
    big_endian = true;
  } else if (records != static_cast<std::uint32_t>(kRecordsPerHeader)) {
    return Refuse(GridFileProblem::kNotNTv2, "no NTv2 overview header (NUM_OREC is not 11)");
  }
  const FieldReader field(big_endian);
  if (field.Int32(&header[kSubFileRecordCountOffset]) != kRecordsPerHeader)
    return Refuse(GridFileProblem::kNotNTv2, "sub-file headers are not of 11 records");
  const std::string units = Text8(&header[kGridUnitsOffset]);
  if (units == "MINUTES" || units == "DEGREES")
    return Refuse(GridFileProblem::kUnsupportedUnits, "the grid is in " + units);

  const std::int32_t grid_count = field.Int32(&header[kSubFileCountOffset]);
  // Each sub-file takes at least its header and one node.
  if (grid_count < 1) return Refuse(GridFileProblem::kBadSubGrid, "the file holds no sub-grid");
  if (static_cast<std::uint64_t>(grid_count) > (length - consumed) / (kHeaderBytes + kNodeBytes))
    return Refuse(GridFileProblem::kTooShort, "the file is too short for its sub-grid count");
  grids.reserve(static_cast<std::size_t>(grid_count));

  std::vector<unsigned char> chunk(kNodesPerChunk * kNodeBytes);
  for (std::int32_t g = 0; g < grid_count; ++g) {
    const std::string which = "sub-grid " + std::to_string(g + 1);
    if (length - consumed < kHeaderBytes || file.Read(header.data(), kHeaderBytes) != kHeaderBytes)
      return Refuse(GridFileProblem::kTooShort, "the header of " + which + " is cut short");
    consumed += kHeaderBytes;
    DataSetDef& grid = grids.emplace_back();
    grid.m_Name = Text8(&header[kNameOffset]);
    grid.m_Parent = Text8(&header[kParentOffset]);
    grid.m_Created = Text8(&header[kCreatedOffset]);
    grid.m_Updated = Text8(&header[kUpdatedOffset]);
    grid.m_South = field.Double(&header[kSouthOffset]);
    grid.m_North = field.Double(&header[kNorthOffset]);
    grid.m_East = field.Double(&header[kEastOffset]);
    grid.m_West = field.Double(&header[kWestOffset]);
    grid.m_LatIncrement = field.Double(&header[kLatIncrementOffset]);
    grid.m_LonIncrement = field.Double(&header[kLonIncrementOffset]);
    const std::int32_t node_count = field.Int32(&header[kNodeCountOffset]);
    grid.m_Rows = NTv2NodeSpan(grid.m_South, grid.m_North, grid.m_LatIncrement);
    grid.m_Columns = NTv2NodeSpan(grid.m_East, grid.m_West, grid.m_LonIncrement);
    if (std::string problem = SubGridProblem(grid, node_count); !problem.empty())
      return Refuse(GridFileProblem::kBadSubGrid, which + ": " + problem);
    const std::uint64_t count = static_cast<std::uint64_t>(node_count);
    if (count > (length - consumed) / kNodeBytes)
      return Refuse(GridFileProblem::kTooShort, which + ": its nodes run past the end of the file");

    grid.m_Nodes.resize(count);
    for (std::uint64_t first = 0; first < count; first += kNodesPerChunk) {
      const std::size_t nodes =
          static_cast<std::size_t>(std::min<std::uint64_t>(kNodesPerChunk, count - first));
      if (file.Read(chunk.data(), nodes * kNodeBytes) != nodes * kNodeBytes)
        return Refuse(GridFileProblem::kTooShort, which + ": its nodes cannot be read");
      for (std::size_t i = 0; i < nodes; ++i) {
        const unsigned char* bytes = &chunk[i * kNodeBytes];
        grid.m_Nodes[first + i] = {field.Float(bytes), field.Float(bytes + 4),
                                   field.Float(bytes + 8), field.Float(bytes + 12)};
      }
    }
    consumed += count * kNodeBytes;
  }
  return {};
}

}  // namespace

GridFileStatus LoadNTv2File(CNTv2& reader, std::string_view path) {
  reader.Clear();
  CStdioFile file;
  if (!file.Open(path, FileMode::ReadBinary)) {
    std::string reason = "cannot be opened";
    if (!file.OpenProblem().empty()) reason += ": " + file.OpenProblem();
    return Refuse(GridFileProblem::kCannotOpen, std::move(reason));
  }
  std::vector<DataSetDef> grids;
  GridFileStatus status = ReadGrids(file, grids);
  static_cast<void>(file.Close());
  if (status.ok()) reader.SetSubGrids(std::move(grids));
  return status;
}

GridFileStatus LoadCanadaNTv2(CNTv2& reader) {
  reader.Clear();
  const std::string folder = RecordFolder();
  if (folder.empty())
    return Refuse(GridFileProblem::kCannotOpen, "there is no \"Global\" data folder");
  return LoadNTv2File(reader, folder + std::string(kCanadaNTv2FileName));
}

}  // namespace orvale
