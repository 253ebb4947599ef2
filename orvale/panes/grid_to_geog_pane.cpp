#include "orvale/panes/grid_to_geog_pane.h"

#include <cmath>
#include <memory>

#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/panes/internal/position_steps.h"
#include "orvale/panes/property_groups.h"
#include "orvale/panes/property_kinds.h"

namespace orvale {
namespace {

constexpr double kRadiansPerSecond = 3.141592653589793 / 648000.0;

}  // namespace

bool CGridToGeogPane::Create(CWnd* parent, int id, CProjection* projection, bool select) {
  if (!CSpheroidProjectionPane::Create(parent, "Grid To Geographicals", id, projection, select))
    return false;
  auto group = std::make_unique<CMFCPropertyGridProperty>("Computation");
  AddPositionGroup(group.get(), position_, kLatitudeId, false, true);
  group->Add<CMFCPropertyGridMetricProperty>("Rho", rho_, kHorizontalLength)->AllowEdit(false);
  group->Add<CMFCPropertyGridMetricProperty>("Nu", nu_, kHorizontalLength)->AllowEdit(false);
  group->Add<CMFCPropertyGridTitleProperty>("One Second of Arc");
  group->Add<CMFCPropertyGridMetricProperty>("Latitude", second_of_latitude_, kShortLength)
      ->AllowEdit(false);
  group->Add<CMFCPropertyGridMetricProperty>("Longitude", second_of_longitude_, kShortLength)
      ->AllowEdit(false);
  Grid().AddProperty(std::move(group));
  AdjustLayout();
  return true;
}

void CGridToGeogPane::SetGeog(double latitude, double longitude) {
  position_.latitude = latitude;
  position_.longitude = longitude;
  ComputeFromGeog();
  SetInputMode(kInputGeographical);
}

void CGridToGeogPane::SetGrid(double easting, double northing) {
  position_.easting = easting;
  position_.northing = northing;
  ComputeFromGrid();
  SetInputMode(kInputGrid);
}

void CGridToGeogPane::Compute() {
  if (GetInputMode() < kInputGeographical) {
    ComputeFromGrid();
  } else if (GetInputMode() == kInputGeographical) {
    ComputeFromGeog();
  } else if (GetInputMode() == kInputCartesian) {
    ComputeFromCartesian();
  }
}

void CGridToGeogPane::RefreshProjection() {
  CSpheroidProjectionPane::RefreshProjection();
  Compute();
}

void CGridToGeogPane::UpdateGrid() {
  CSpheroidProjectionPane::UpdateGrid();
  CMFCPropertyGridProperty* group = ComputationGroup();
  for (int i : {2, 3, 4, 5, 6, 7, 10, 11, 13, 14})
    group->GetSubItem(i)->Redraw();
}

void CGridToGeogPane::UpdateGeographicals() {
  UpdateProjectionGeographicalGroup(ProjectionGroup());
  for (int i : {0, 1})
    ComputationGroup()->GetSubItem(i)->Redraw();
}

void CGridToGeogPane::UpdateAngles() {
  ComputationGroup()->GetSubItem(8)->Redraw();
}

LRESULT CGridToGeogPane::OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) {
  if (CSpheroidProjectionPane::OnPropertyChanged(wParam, property) != 0) {
    Compute();
    return 0;
  }
  const double value = property->GetValue().AsDouble();
  switch (property->GetData()) {
    case kLatitudeId:
      position_.latitude = value;
      ComputeFromGeog();
      break;
    case kLongitudeId:
      position_.longitude = value;
      ComputeFromGeog();
      break;
    case kEastingId:
      position_.easting = value;
      ComputeFromGrid();
      break;
    case kNorthingId:
      position_.northing = value;
      ComputeFromGrid();
      break;
    case kHeightId:
      position_.height = value;
      ComputeFromHeight();
      break;
    case kXId:
      position_.x = value;
      ComputeFromCartesian();
      break;
    case kYId:
      position_.y = value;
      ComputeFromCartesian();
      break;
    case kZId:
      position_.z = value;
      ComputeFromCartesian();
      break;
    default:
      break;
  }
  return 0;
}

// A projection that has no result for the point leaves NaN in what it could not give,
// which the rows show as "no result", never as a number.
void CGridToGeogPane::ComputeFromGeog() {
  ProjectForward(GetProjection(), position_);
  GeogToCartesian();
  ComputeCurvature();
  Display();
}

void CGridToGeogPane::ComputeFromGrid() {
  ProjectInverse(GetProjection(), position_);
  GeogToCartesian();
  ComputeCurvature();
  Display();
}

void CGridToGeogPane::ComputeFromCartesian() {
  // On the polar axis the conversion still gives the pole's latitude and the height.
  static_cast<void>(CartesianToGeog(*GetSpheroid(), position_.x, position_.y, position_.z,
                                    position_.latitude, position_.longitude, position_.height));
  ProjectForward(GetProjection(), position_);
  ComputeCurvature();
  Display();
}

void CGridToGeogPane::ComputeFromHeight() {
  GeogToCartesian();
  Display();
}

void CGridToGeogPane::GeogToCartesian() {
  // A spheroid not yet set (e² not above 0) gives 0, 0, 0.
  orvale::GeogToCartesian(*GetSpheroid(), position_.latitude, position_.longitude, position_.height,
                          position_.x, position_.y, position_.z);
}

void CGridToGeogPane::ComputeCurvature() {
  const CSpheroid& s = *GetSpheroid();
  const double sin_lat = std::sin(position_.latitude);
  const double w = 1.0 - s.m_E2 * sin_lat * sin_lat;
  rho_ = w > 0.0 ? s.m_SemiMajorAxis * s.m_OneMinusE2 / std::pow(w, 1.5) : 0.0;
  nu_ = w > 0.0 && std::sqrt(w) > 0.0 ? s.m_SemiMajorAxis / std::sqrt(w) : 0.0;
  second_of_latitude_ = rho_ * kRadiansPerSecond;
  second_of_longitude_ = std::cos(position_.latitude) * nu_ * kRadiansPerSecond;
}

void CGridToGeogPane::Display() {
  CMFCPropertyGridProperty* group = ComputationGroup();
  UpdatePositionGroup(group, position_);
  group->GetSubItem(10)->SetValue(rho_);
  group->GetSubItem(11)->SetValue(nu_);
  group->GetSubItem(13)->SetValue(second_of_latitude_);
  group->GetSubItem(14)->SetValue(second_of_longitude_);
}

}  // namespace orvale
