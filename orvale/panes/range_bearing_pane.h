#pragma once
// Two points A and B, each editable geographically or on the grid, and every range and
// bearing between them: on the spheroid, on the grid, along the rhumb line, with the
// line scale factor, the nautical mile and, on a transverse Mercator grid, t - T.

#include "orvale/engine/coord.h"
#include "orvale/engine/survey/range_bearing.h"
#include "orvale/panes/spheroid_projection_pane.h"

namespace orvale {

class CRangeAndBearingPane : public CSpheroidProjectionPane {
 public:
  // Caption "Range and Bearing"; groups 2 "Point A" and 3 "Point B" (inputs 10 to 14
  // and 15 to 19), then the results in groups 4 to 7 and, on U.T.M and transverse
  // Mercator projections, 8 "t - T Correction".
  [[nodiscard]] bool Create(CWnd* parent, int id, CProjection* projection, bool select);

  void SetGeogA(double latitude, double longitude);
  void SetGeogA(const tagXY& p) { SetGeogA(p.y, p.x); }
  void SetGeogB(double latitude, double longitude);
  void SetGeogB(const tagXY& p) { SetGeogB(p.y, p.x); }
  void SetGridA(double easting, double northing);
  void SetGridA(const tagXY& p) { SetGridA(p.x, p.y); }
  void SetGridB(double easting, double northing);
  void SetGridB(const tagXY& p) { SetGridB(p.x, p.y); }

  // Both points again from the form the host last gave, then the results.
  void Compute();
  void RefreshProjection() override;
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;
  void ComputeRangeAndBearing();

  void UpdateGeographicals();
  void UpdateGrid();
  void UpdateAngles();

  const tagCOORD& PointA() const { return a_; }
  const tagCOORD& PointB() const { return b_; }
  const RangeAndBearingResult& Result() const { return result_; }

 private:
  void SetGeogOf(tagCOORD& point, int group, double latitude, double longitude);
  void SetGridOf(tagCOORD& point, int group, double easting, double northing);
  void UpdateRangeAndBearing(int group, const RANGE_BEARING& record);
  void UpdateRest();

  tagCOORD a_, b_;
  RangeAndBearingResult result_;
};

}  // namespace orvale
