#pragma once
// The OSTN15 transformation's pair of grids (ETRS89 to OSGB 36 and back), as read
// from the Ordnance Survey's two NTv2 files. Both node arrays are addressed with one
// extent, taken from the second file. Until the files are loaded the pair is empty.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "orvale/engine/gridshift/ntv2.h"

namespace orvale {

inline constexpr std::size_t kNtv2HeaderBytes = 352;  // overview and first sub-file header

// What a transverse Mercator on the grids' ellipsoids needs: a, e², 1 − e², the
// meridian-distance coefficients A0 to A6 and M0 at the National Grid's origin.
struct OstnConstants {
  double a = 0.0;
  double e2 = 0.0;
  double one_minus_e2 = 0.0;
  double A0 = 0.0;
  double A2 = 0.0;
  double A4 = 0.0;
  double A6 = 0.0;
  double M0 = 0.0;
};

struct OstnGridPair {
  std::array<unsigned char, kNtv2HeaderBytes> m_FirstHeader{};
  std::array<unsigned char, kNtv2HeaderBytes> m_SecondHeader{};
  // Shared by every datum that refers to them: 15 MB each, read once.
  std::shared_ptr<const std::vector<GridShiftRecordDef>> m_FirstNodes;
  std::shared_ptr<const std::vector<GridShiftRecordDef>> m_SecondNodes;
  OstnConstants m_Source;
  OstnConstants m_Target;
  // Seconds of arc, longitudes positive west.
  double m_East = 0.0;
  double m_South = 0.0;
  double m_West = 0.0;
  double m_North = 0.0;
  double m_LonIncrement = 0.0;
  double m_LatIncrement = 0.0;
  std::uint16_t m_Columns = 0;

  bool IsEmpty() const { return m_FirstNodes == nullptr || m_SecondNodes == nullptr; }
};

}  // namespace orvale
