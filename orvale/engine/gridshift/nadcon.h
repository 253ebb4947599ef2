#pragma once
// One NADCON region held in memory: the latitude (.las) and longitude (.los) shift
// grids of one region file pair, with its header and statistics. A datum keeps two
// of these (NAD 27 / NAD 83 and HPGN), each holding the last region a point fell in.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvale {

// Running statistics of the non-zero cells of a grid.
struct GridStatistics {
  std::int32_t m_Valid = 0;
  std::int32_t m_Count = 0;
  double m_Mean = 0.0;
  double m_Deviation = 0.0;
  double m_Sum = 0.0;
  double m_SumOfSquares = 0.0;
  double m_Minimum = 0.0;
  double m_Maximum = 0.0;
};

inline constexpr std::size_t kNadconHeaderBytes = 96;

struct NadconGridSet {
  std::string m_Description = "Not Selected";
  std::string m_Code;  // the region's file name stem; empty when none is loaded
  std::array<unsigned char, kNadconHeaderBytes> m_Header{};  // as read from the .las file
  GridStatistics m_LatitudeStatistics;
  GridStatistics m_LongitudeStatistics;
  // nr x nc shifts, row-major, south to north and west to east; shared between
  // copies, never changed once read.
  std::shared_ptr<const std::vector<float>> m_LatitudeGrid;
  std::shared_ptr<const std::vector<float>> m_LongitudeGrid;

  // No region: header zeroed, grids released, texts emptied.
  void Clear() {
    m_Description.clear();
    m_Code.clear();
    m_Header.fill(0);
    m_LatitudeStatistics = {};
    m_LongitudeStatistics = {};
    m_LatitudeGrid.reset();
    m_LongitudeGrid.reset();
  }
};

}  // namespace orvale
