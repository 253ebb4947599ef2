#pragma once
// A hierarchy of NTv2 sub-grids held in memory, interpolated for latitude and
// longitude shifts. Until a grid file is loaded (ntv2_file.h) the reader is empty and
// every look-up finds nothing. Copies share the node arrays, which are never changed
// once loaded, so copying a datum that holds a national grid costs a reference count.
//
// Grids are addressed as the file lays them out: latitudes positive north, longitudes
// positive west, in seconds of arc.

#include <memory>
#include <string>
#include <vector>

namespace orvale {

// One node of a grid file, in file order: shifts and accuracies in seconds of arc,
// the longitude shift positive west.
struct GridShiftRecordDef {
  float m_LatShift = 0.0f;
  float m_LonShift = 0.0f;
  float m_LatAccuracy = 0.0f;
  float m_LonAccuracy = 0.0f;
};

// One sub-grid. The extent is in seconds of arc with longitudes positive west, in
// this order (which differs from the file's). Names are held without their padding.
struct DataSetDef {
  std::string m_Name;
  std::string m_Parent;
  std::string m_Created;
  std::string m_Updated;
  double m_South = 0.0;
  double m_East = 0.0;
  double m_North = 0.0;
  double m_West = 0.0;
  double m_LatIncrement = 0.0;
  double m_LonIncrement = 0.0;
  std::vector<GridShiftRecordDef> m_Nodes;

  // Derived by CNTv2::SetSubGrids: the node rows and columns, and the name and
  // parent as small numbers (equal numbers for equal names; 0 is "NONE"), so the
  // search compares integers where it would compare texts.
  int m_Rows = 0;
  int m_Columns = 0;
  int m_NameKey = -1;
  int m_ParentKey = -1;
};

// Rows or columns of nodes along an extent (seconds of arc) at `increment`: the
// steps between its ends plus one; 0 when that is no count (a step of zero or less,
// an end before the start, not a number, or more than an int holds).
int NTv2NodeSpan(double from, double to, double increment);

class CNTv2 {
 public:
  CNTv2() = default;
  // A copy holds the same grids and last positions, but only a reader that has
  // interpolated itself writes the "NTv2" settings file when it goes: a datum copied
  // for a dialog or a list must not leave settings behind, nor overwrite the
  // positions of the reader that did the work.
  CNTv2(const CNTv2& other);
  CNTv2& operator=(const CNTv2& other);
  // A move hands the duty to write over with the contents.
  CNTv2(CNTv2&& other) noexcept;
  CNTv2& operator=(CNTv2&& other) noexcept;
  // Writes the "NTv2" settings file ("NAD27 Latitude", "NAD27 Longitude", "NAD83
  // Latitude", "NAD83 Longitude": last input and output, radians, 16 decimals) when
  // this reader has interpolated; a file that cannot be written is skipped.
  ~CNTv2();

  // The sub-grids in file order; shared, read-only once loaded.
  std::shared_ptr<const std::vector<DataSetDef>> m_SubGrids;
  std::string m_Text1, m_Text2, m_Text3;
  double m_LastInputLatitude = 0.0;  // radians
  double m_LastInputLongitude = 0.0;
  double m_LastOutputLatitude = 0.0;
  double m_LastOutputLongitude = 0.0;
  int m_Selected = -1;  // the sub-grid of the last interpolation, -1 for none

  bool IsEmpty() const { return m_SubGrids == nullptr || m_SubGrids->empty(); }

  // Holds `grids` (file order), deriving each one's rows, columns and name keys.
  // The node counts are the loader's to check; a grid with fewer nodes than rows x
  // columns gives no shift where it lacks them.
  void SetSubGrids(std::vector<DataSetDef> grids);

  // Releases the grids (copies keep theirs).
  void Clear() { m_SubGrids.reset(); }

  // Index of the sub-grid for a position in seconds of arc (latitude positive north,
  // longitude positive west), or -1. A grid holds its south and east edges; a point
  // on its north or west edge (to the nearest second) or north-west corner is taken
  // by it only when no other grid of its level holds the point. The deepest child
  // holding the point wins over its parents.
  int FindSubGrid(double latitude, double longitude) const;

  // Shifts a position (radians, east-positive longitude). The position is truncated
  // towards zero to 0.00001 second, and the result is that position plus the
  // interpolated shifts. Returns the sub-grid used, or a negative number with the
  // outputs untouched. Either output may be null.
  int Interpolate(double* latitude_out, double* longitude_out, double latitude, double longitude);

 private:
  bool m_WritesSettings = false;
};

}  // namespace orvale
