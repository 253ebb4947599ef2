#pragma once
// One position in its three forms on the host's projection: grid, geographical and
// earth-centred cartesian. Whichever form the user edits, the other two follow, with
// the convergence and point scale factor, the radii of curvature and the ground
// length of one second of arc at the point.

#include "orvale/engine/coord.h"
#include "orvale/panes/spheroid_projection_pane.h"

namespace orvale {

class CGridToGeogPane : public CSpheroidProjectionPane {
 public:
  // Identifiers of the position's inputs, in the order of the position group.
  static constexpr int kLatitudeId = 10;
  static constexpr int kLongitudeId = 11;
  static constexpr int kEastingId = 12;
  static constexpr int kNorthingId = 13;
  static constexpr int kHeightId = 14;
  static constexpr int kXId = 15;
  static constexpr int kYId = 16;
  static constexpr int kZId = 17;

  // Caption "Grid To Geographicals"; groups "Spheroid", "Projection", "Computation".
  // Nothing is computed until a position is given.
  [[nodiscard]] bool Create(CWnd* parent, int id, CProjection* projection, bool select);

  void SetGeog(double latitude, double longitude);
  void SetGeog(const tagXY& position) { SetGeog(position.y, position.x); }
  void SetGrid(double easting, double northing);
  void SetGrid(const tagXY& position) { SetGrid(position.x, position.y); }

  // Recomputes from the form the host last gave (grid, geographical or cartesian).
  void Compute();
  void RefreshProjection() override;
  void UpdateGrid();
  void UpdateGeographicals();
  void UpdateAngles();

  // A pick in the spheroid or projection groups recomputes by input mode; an edited
  // position recomputes from the form edited. Always 0.
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;

  const tagCOORD& Position() const { return position_; }
  double Rho() const { return rho_; }
  double Nu() const { return nu_; }
  double SecondOfLatitude() const { return second_of_latitude_; }
  double SecondOfLongitude() const { return second_of_longitude_; }

 private:
  void ComputeFromGeog();
  void ComputeFromGrid();
  void ComputeFromCartesian();
  void ComputeFromHeight();
  void GeogToCartesian();
  void ComputeCurvature();
  void Display();
  CMFCPropertyGridProperty* ComputationGroup() { return Grid().GetProperty(2); }

  tagCOORD position_;
  double rho_ = 0.0;
  double nu_ = 0.0;
  double second_of_longitude_ = 0.0;
  double second_of_latitude_ = 0.0;
};

}  // namespace orvale
