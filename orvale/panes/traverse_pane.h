#pragma once
// Point A and one observation from it (range, bearing, vertical angle, on the grid or
// on the spheroid), and the point B it gives, in both forms.

#include <array>
#include <string_view>

#include "orvale/engine/coord.h"
#include "orvale/engine/survey/traverse.h"
#include "orvale/panes/spheroid_projection_pane.h"

namespace orvale {

class CTraversePane : public CSpheroidProjectionPane {
 public:
  // The option texts of the computation method and the vertical origin.
  static constexpr std::array<std::string_view, 2> m_ComputationModeTxt = {"Grid", "Geographicals"};
  static constexpr std::array<std::string_view, 2> m_VerticalOriginTxt = {"Horizontal", "Vertical"};

  // Caption "Traverse"; groups 2 "Point A" (inputs 10 to 14), 3 "Observations From
  // Point A to Point B" (15 method, 16 range, 17 bearing, 18 vertical origin, 19
  // vertical angle) and 4 "Point B", shown only.
  [[nodiscard]] bool Create(CWnd* parent, int id, CProjection* projection, bool select);

  void SetGeog(double latitude, double longitude);
  void SetGeog(const tagXY& p) { SetGeog(p.y, p.x); }
  void SetGrid(double easting, double northing);
  void SetGrid(const tagXY& p) { SetGrid(p.x, p.y); }

  void Compute();
  void RefreshProjection() override;
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;
  void ComputeRangeAndBearing();
  void UpdateGridToGeog(CMFCPropertyGridProperty* group, const tagCOORD& position);

  void UpdateGeographicals();
  void UpdateGrid();
  void UpdateAngles();

  const tagCOORD& PointA() const { return a_; }
  const tagCOORD& PointB() const { return b_; }

 private:
  tagCOORD a_, b_;
  bool grid_mode_ = true;
  double range_ = 0.0;
  double bearing_ = 0.0;  // degrees, as the bearing row holds it
  bool from_horizontal_ = true;
  double vertical_angle_ = 0.0;  // degrees
};

}  // namespace orvale
