#pragma once
// A point shifted between a datum's source side (Point A) and its target side (Point
// B), with the datum's 7-parameter set; and the pane that chooses the datum, its
// spheroids, its parameters and the target projection.

#include "orvale/engine/coord.h"
#include "orvale/engine/datum/shift_position.h"
#include "orvale/panes/dockable_pane.h"

namespace orvale {

class CDatum;
class CSpheroid;
class CProjection;

class CDatumShiftPane : public CMyDockablePane {
 public:
  // Caption "Datum Shift". `no_source_projection` takes Point A as geographical only
  // (its projection group and grid rows hidden); `target_selectable` lets the user
  // pick the target projection and the datum. The datum and its target spheroid and
  // projection belong to the host.
  [[nodiscard]] bool Create(CWnd* parent, int id, CDatum* datum, bool no_source_projection,
                            bool target_selectable);

  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;
  // Point B kept, Point A shifted back from it (a datum, spheroid or projection change).
  void Compute();

  void UpdateGrid();
  void UpdateGeographicals();
  void UpdateAngles();
  // After the host changed the datum.
  void RefreshDatum();
  void UpdateDatumShifts();

  const tagCOORD& PointA() const { return a_; }
  const tagCOORD& PointB() const { return b_; }
  // What became of the last shift; anything but kShifted shows the output point's
  // rows as no result.
  ShiftStatus LastStatus() const { return status_; }

 private:
  void InitPropList();
  void UpdateSpheroid();
  void UpdateProjection();
  void Shift(int direction);
  void ShowPoints();
  void CommonTail();
  void PointAChanged(int offset, double value);
  void PointBChanged(int offset, double value);

  CDatum* datum_ = nullptr;
  bool no_source_projection_ = false;
  bool target_selectable_ = false;
  tagCOORD a_, b_;
  ShiftStatus status_ = ShiftStatus::kShifted;
  int last_direction_ = kShiftReverse;
};

// The seven rows of a Helmert parameter set, "X Shift (dX)" to "Scale Correction (SF)",
// taking edits under identifiers first_id onwards, or only shown when first_id is 0.
void AddShiftParameterRows(CMFCPropertyGridProperty* group, int first_id);
// The seven rows shown, then the rotation method's name and remark, as both datum
// panes show a datum's parameters.
void AddDatumShiftRows(CMFCPropertyGridProperty* group);
void WriteDatumShiftRows(CMFCPropertyGridProperty* group, const CDatum& datum, int first_row);

class CWgs84DatumShiftPane : public CMyDockablePane {
 public:
  // Caption "Spheroid / Projection": the datum's type, then by type its spheroids,
  // parameters and the target projection.
  [[nodiscard]] bool Create(CWnd* parent, int id, CDatum* datum);
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;
  void UpdateGeographicals();
  void UpdateGrid();

  // Top-level indices of the groups; -1 when the type has none.
  int SourceSpheroidGroup() const { return source_spheroid_; }
  int ParameterGroup() const { return parameters_; }
  int TargetSpheroidGroup() const { return target_spheroid_; }
  int ProjectionGroup() const { return projection_group_; }

 private:
  void InitPropList();
  void AddDatum();
  void RefreshProjection();
  void UpdateDatumParametersGroup();

  CDatum* datum_ = nullptr;
  CSpheroid* target_spheroid_record_ = nullptr;
  CProjection* target_projection_ = nullptr;
  int source_spheroid_ = -1;
  int parameters_ = -1;
  int target_spheroid_ = -1;
  int projection_group_ = -1;
};

}  // namespace orvale
