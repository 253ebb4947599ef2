#pragma once
// One NADCON region held in memory: the latitude (.las) and longitude (.los) shift
// grids of one region file pair, with its header and statistics. A datum keeps two
// of these (NAD 27 / NAD 83 and HPGN), each holding the last region a point fell in.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvale {

class CStdioFile;

// Running statistics of the non-zero cells of a grid.
struct GridStatistics {
  // Takes in one value; a block whose flag or count is 0 starts afresh with it.
  void Add(double x);

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

// NADCON region families: modes 0 and 1 search the NAD 27 / NAD 83 regions, 2 and 3
// the HPGN regions; the mode has no other effect.
enum NadconMode : int {
  kNad27ToNad83 = 0,
  kNad83ToNad27 = 1,
  kNad83ToHpgn = 2,
  kHpgnToNad83 = 3,
};

// Loads region `code` from "<code>.las" and "<code>.los" in the "Global" data folder
// (a file named with the code in lower case, as NGS ships them, is taken when the
// code's own spelling is missing). The set is cleared first; false, with the set
// cleared, when either file is missing or cannot be read.
[[nodiscard]] bool LoadNadconRegion(NadconGridSet& set, std::string_view code);

// Reads one open grid file into the set: `which` 0 a .las (header, latitude grid and
// statistics), 1 a .los, whose eight header values must equal the .las's (otherwise
// the set is cleared). False for any other `which`, a header that cannot be read, counts below 1 or
// larger than the file holds, or a row that cannot be read.
[[nodiscard]] bool ReadNadconGrid(CStdioFile& file, NadconGridSet& set, int which);

// Whether the loaded set holds a position (degrees, longitude east-positive or,
// above 0, taken 360 degrees west), strictly inside its outer rows and columns.
bool NadconContains(const NadconGridSet& set, double latitude, double longitude);

// Shifts a position in degrees (longitude east-positive). The set's region is used
// while it holds the point; otherwise the mode's table is searched in order and the
// first region that loads and holds it is kept in the set. Outside every region the
// set is cleared to "Not Selected", the outputs are 0 and the result false. A result
// below -180 degrees of longitude is given as an eastern longitude. A position that
// is not a number gives outputs 0 and false at once, the set left as it was.
[[nodiscard]] bool ApplyNadcon(double& latitude_out, double& longitude_out, NadconGridSet& set,
                               int mode, double latitude, double longitude);

// The position whose ApplyNadcon result is the given one, found by fixed-point
// iteration: at most 10 rounds, stopping when both residuals are below 1e-9 degree in
// size. Outputs 0 and false when it does not converge or leaves every region.
[[nodiscard]] bool InvertNadcon(double& latitude_out, double& longitude_out, NadconGridSet& set,
                                int mode, double latitude, double longitude);

}  // namespace orvale
