#include "support/grid_file_writer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>

#include "orvale/storage/internal/little_endian.h"

namespace orvale::testing {
namespace {

class Writer {
 public:
  explicit Writer(bool big_endian) : big_endian_(big_endian) {}

  void Text(const std::string& text, std::size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, ' ');
    out_ += field;
  }
  void Uint32(std::uint32_t value) {
    std::string bytes;
    AppendUint32Le(bytes, value);
    if (big_endian_) std::reverse(bytes.begin(), bytes.end());
    out_ += bytes;
  }
  void Int32(std::int32_t value) { Uint32(std::bit_cast<std::uint32_t>(value)); }
  void Float(float value) { Uint32(std::bit_cast<std::uint32_t>(value)); }
  void Double(double value) {
    std::string bytes;
    AppendDoubleLe(bytes, value);
    if (big_endian_) std::reverse(bytes.begin(), bytes.end());
    out_ += bytes;
  }
  // One 16-byte record of each kind.
  void IntRecord(const std::string& name, std::int32_t value) {
    Text(name, 8);
    Int32(value);
    Int32(0);
  }
  void DoubleRecord(const std::string& name, double value) {
    Text(name, 8);
    Double(value);
  }
  void TextRecord(const std::string& name, const std::string& value) {
    Text(name, 8);
    Text(value, 8);
  }
  std::string& bytes() { return out_; }

 private:
  bool big_endian_;
  std::string out_;
};

}  // namespace

int LayoutRows(const NTv2SubGridLayout& grid) {
  return static_cast<int>(std::lround((grid.north - grid.south) / grid.lat_increment)) + 1;
}

int LayoutColumns(const NTv2SubGridLayout& grid) {
  return static_cast<int>(std::lround((grid.west - grid.east) / grid.lon_increment)) + 1;
}

std::string NTv2FileBytes(const std::vector<NTv2SubGridLayout>& grids,
                          const NTv2FileOptions& options) {
  Writer w(options.big_endian);
  w.IntRecord("NUM_OREC", 11);
  w.IntRecord("NUM_SREC", 11);
  w.IntRecord("NUM_FILE", options.sub_file_count.value_or(static_cast<std::int32_t>(grids.size())));
  w.TextRecord("GS_TYPE", options.units);
  w.TextRecord("VERSION", "NTv2.0");
  w.TextRecord("SYSTEM_F", options.system_from);
  w.TextRecord("SYSTEM_T", options.system_to);
  w.DoubleRecord("MAJOR_F", options.major_from);
  w.DoubleRecord("MINOR_F", options.minor_from);
  w.DoubleRecord("MAJOR_T", options.major_to);
  w.DoubleRecord("MINOR_T", options.minor_to);
  for (const NTv2SubGridLayout& grid : grids) {
    w.TextRecord("SUB_NAME", grid.name);
    w.TextRecord("PARENT", grid.parent);
    w.TextRecord("CREATED", "20260101");
    w.TextRecord("UPDATED", "20260102");
    w.DoubleRecord("S_LAT", grid.south);
    w.DoubleRecord("N_LAT", grid.north);
    w.DoubleRecord("E_LONG", grid.east);
    w.DoubleRecord("W_LONG", grid.west);
    w.DoubleRecord("LAT_INC", grid.lat_increment);
    w.DoubleRecord("LONG_INC", grid.lon_increment);
    w.IntRecord("GS_COUNT", grid.node_count.value_or(static_cast<std::int32_t>(grid.nodes.size())));
    for (const GridShiftRecordDef& node : grid.nodes) {
      w.Float(node.m_LatShift);
      w.Float(node.m_LonShift);
      w.Float(node.m_LatAccuracy);
      w.Float(node.m_LonAccuracy);
    }
  }
  if (options.end_record) w.DoubleRecord("END", 0.0);
  return w.bytes();
}

std::string NadconFileBytes(const NadconGridLayout& grid) {
  Writer w(false);
  w.Text(grid.identification, 56);
  w.Text("NADGRD", 8);
  w.Int32(grid.columns);
  w.Int32(grid.rows);
  w.Int32(grid.z_count);
  for (float value : {grid.xmin, grid.dx, grid.ymin, grid.dy, grid.angle})
    w.Float(value);
  const std::size_t record = (static_cast<std::size_t>(std::max(grid.columns, 0)) + 1) * 4;
  const std::size_t first_row = (w.bytes().size() + record - 1) / record * record;
  w.bytes().resize(first_row, '\0');
  for (std::size_t i = 0; i < grid.values.size(); ++i) {
    if (i % static_cast<std::size_t>(std::max(grid.columns, 1)) == 0) w.Int32(0);
    w.Float(grid.values[i]);
  }
  return w.bytes();
}

std::string OstnFileBytes(const NTv2SubGridLayout& grid, OstnFileSense sense) {
  NTv2FileOptions etrs;
  etrs.system_from = "ETRS89";
  etrs.system_to = "OSGB36";
  etrs.major_to = 6377563.396;
  etrs.minor_to = 6356256.909;
  if (sense == OstnFileSense::kEtrsToOsgb) return NTv2FileBytes({grid}, etrs);
  NTv2FileOptions osgb = etrs;
  std::swap(osgb.system_from, osgb.system_to);
  std::swap(osgb.major_from, osgb.major_to);
  std::swap(osgb.minor_from, osgb.minor_to);
  return NTv2FileBytes({grid}, osgb);
}

}  // namespace orvale::testing
