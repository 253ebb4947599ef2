#pragma once
// The bytes of grid shift files made from arrays, for tests that need a grid whose
// every value they know: NTv2 .gsb files (one or more sub-grids, either byte order)
// and NADCON .las/.los files.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "orvale/engine/gridshift/ntv2.h"

namespace orvale::testing {

// One sub-grid as the file holds it: seconds of arc, longitudes positive west, nodes
// row by row from south to north and, in a row, from east to west.
struct NTv2SubGridLayout {
  std::string name;
  std::string parent = "NONE";
  double south = 0.0, north = 0.0, east = 0.0, west = 0.0;
  double lat_increment = 0.0, lon_increment = 0.0;
  std::vector<GridShiftRecordDef> nodes;
  std::optional<std::int32_t> node_count;  // written instead of nodes.size() when given
};

// Rows and columns of a layout's extent.
int LayoutRows(const NTv2SubGridLayout& grid);
int LayoutColumns(const NTv2SubGridLayout& grid);

// Fills the nodes of `grid` with shift(row, column) for both shifts: latitude shift
// first, longitude shift second; accuracies 0.01 and 0.02.
template <typename Shift>
void FillNodes(NTv2SubGridLayout& grid, Shift shift) {
  grid.nodes.clear();
  for (int row = 0; row < LayoutRows(grid); ++row) {
    for (int column = 0; column < LayoutColumns(grid); ++column) {
      const auto [latitude, longitude] = shift(row, column);
      grid.nodes.push_back(
          {static_cast<float>(latitude), static_cast<float>(longitude), 0.01f, 0.02f});
    }
  }
}

struct NTv2FileOptions {
  bool big_endian = false;
  std::string units = "SECONDS";
  std::optional<std::int32_t> sub_file_count;  // written instead of the number of grids
  bool end_record = true;                      // the closing "END" record
  std::string system_from = "TEST_F", system_to = "TEST_T";
  double major_from = 6378137.0, minor_from = 6356752.314;  // metres
  double major_to = 6378137.0, minor_to = 6356752.314;
};

std::string NTv2FileBytes(const std::vector<NTv2SubGridLayout>& grids,
                          const NTv2FileOptions& options = {});

// One file of the OSTN15 pair as the Ordnance Survey lays it out: one sub-grid,
// ETRS89 on GRS80 to OSGB36 on Airy 1830 or back.
enum class OstnFileSense { kEtrsToOsgb, kOsgbToEtrs };
std::string OstnFileBytes(const NTv2SubGridLayout& grid, OstnFileSense sense);

// One NADCON grid: header values and nr x nc values, rows south to north, columns west
// to east. The header fills the first record of (nc + 1) words, or as many records as
// it needs when the grid is narrower.
struct NadconGridLayout {
  std::string identification = "NADCON EXTRACTED REGION";
  std::int32_t columns = 0, rows = 0, z_count = 1;
  float xmin = 0.0f, dx = 0.0f, ymin = 0.0f, dy = 0.0f, angle = 0.0f;
  std::vector<float> values;
};

std::string NadconFileBytes(const NadconGridLayout& grid);

}  // namespace orvale::testing
