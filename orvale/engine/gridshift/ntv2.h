#pragma once
// A hierarchy of NTv2 sub-grids held in memory, interpolated for latitude and
// longitude shifts. Until a grid file is loaded the reader is empty and every
// look-up finds nothing. Copies share the node arrays, which are never changed once
// loaded, so copying a datum that holds a national grid costs a reference count.

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
// this order (which differs from the file's).
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
};

class CNTv2 {
 public:
  // The sub-grids in file order; shared, read-only once loaded.
  std::shared_ptr<const std::vector<DataSetDef>> m_SubGrids;
  std::string m_Text1, m_Text2, m_Text3;
  double m_LastInputLatitude = 0.0;  // radians
  double m_LastInputLongitude = 0.0;
  double m_LastOutputLatitude = 0.0;
  double m_LastOutputLongitude = 0.0;
  int m_Selected = -1;

  bool IsEmpty() const { return m_SubGrids == nullptr || m_SubGrids->empty(); }
};

}  // namespace orvale
