#pragma once
// The grid convergence at a position and a true direction (a gyro reading, a shadow's
// alignment) turned into a grid heading. A new position is posted to the host with
// UM_GEOGRAPHICAL_UPDATE.

#include "orvale/engine/coord.h"
#include "orvale/engine/survey/field_headings.h"
#include "orvale/panes/spheroid_projection_pane.h"

namespace orvale {

class CConvergencePane : public CSpheroidProjectionPane {
 public:
  static constexpr int kLatitudeId = 10;
  static constexpr int kLongitudeId = 11;
  static constexpr int kTrueId = 12;
  static constexpr int kGridHeadingId = 13;

  // Caption "Convergence"; groups "Location" and "Gyro" after the spheroid and
  // projection. Nothing is computed until a position is given.
  [[nodiscard]] bool Create(CWnd* parent, int id, CProjection* projection, bool select);

  void Compute();
  void SetGeog(double latitude, double longitude);
  void SetGeog(const tagXY& p) { SetGeog(p.y, p.x); }
  void UpdateGeog();
  void RefreshProjection() override;
  // An edited "Grid Heading" gives the true direction that heads that way on the grid,
  // and the grid heading is then recomputed from it (so the typed value stays).
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;

  const GyroState& Gyro() const { return gyro_; }

 private:
  // The longitude and latitude as the host reads them (x longitude, y latitude).
  tagXY position_;
  GyroState gyro_;
};

}  // namespace orvale
