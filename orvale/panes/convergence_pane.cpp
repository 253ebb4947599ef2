#include "orvale/panes/convergence_pane.h"

#include <cmath>
#include <memory>

#include "orvale/engine/angles/angles.h"
#include "orvale/panes/property_kinds.h"

namespace orvale {
namespace {

constexpr int kLocation = 2, kGyro = 3;

}  // namespace

bool CConvergencePane::Create(CWnd* parent, int id, CProjection* projection, bool select) {
  if (!CSpheroidProjectionPane::Create(parent, "Convergence", id, projection, select)) return false;
  SetInputMode(kInputGeographical);
  auto location = std::make_unique<CMFCPropertyGridProperty>("Location");
  location->Add<CMFCPropertyGridAngleProperty>("Latitude", 0.0, ANGLE_LATITUDE, "Enter Latitude",
                                               kLatitudeId);
  location->Add<CMFCPropertyGridAngleProperty>("Longitude", 0.0, ANGLE_LONGITUDE, "Enter Longitude",
                                               kLongitudeId);
  Grid().AddProperty(std::move(location));
  auto gyro = std::make_unique<CMFCPropertyGridProperty>("Gyro");
  gyro->Add<CMFCPropertyGridAngleDouble>("True", 0.0, AS_TRUE_DIRECTION,
                                         "True Alignment of Shadow in Degrees", kTrueId);
  gyro->Add<CMFCPropertyGridAngleDouble>("Convergence", 0.0, AS_CONVERGENCE)->AllowEdit(false);
  gyro->Add<CMFCPropertyGridAngleDouble>("Grid Heading", 0.0, AS_GRID_BEARING, "Grid Heading",
                                         kGridHeadingId);
  Grid().AddProperty(std::move(gyro));
  AdjustLayout();
  return true;
}

void CConvergencePane::Compute() {
  // A position the projection has no result for leaves NaN, shown as no result.
  static_cast<void>(ComputeGyro(*GetProjection(), gyro_));
  UpdateGeog();
  CMFCPropertyGridProperty* group = Grid().GetProperty(kGyro);
  group->GetSubItem(0)->SetValue(gyro_.m_TrueDirection);
  group->GetSubItem(1)->SetValue(gyro_.m_Position.convergence);
  group->GetSubItem(2)->SetValue(gyro_.m_GridHeading);
}

void CConvergencePane::SetGeog(double latitude, double longitude) {
  gyro_.m_Position.latitude = latitude;
  gyro_.m_Position.longitude = longitude;
  Compute();
  SetInputMode(kInputGeographical);
}

void CConvergencePane::UpdateGeog() {
  CMFCPropertyGridProperty* group = Grid().GetProperty(kLocation);
  group->GetSubItem(0)->SetValue(gyro_.m_Position.latitude);
  group->GetSubItem(1)->SetValue(gyro_.m_Position.longitude);
}

void CConvergencePane::RefreshProjection() {
  CSpheroidProjectionPane::RefreshProjection();
  Compute();
}

LRESULT CConvergencePane::OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) {
  if (CSpheroidProjectionPane::OnPropertyChanged(wParam, property) != 0) {
    Compute();
    return 0;
  }
  const double value = property->GetValue().AsDouble();
  switch (property->GetData()) {
    case kLatitudeId:
    case kLongitudeId:
      (property->GetData() == kLatitudeId ? gyro_.m_Position.latitude
                                          : gyro_.m_Position.longitude) = value;
      position_ = {gyro_.m_Position.longitude, gyro_.m_Position.latitude};
      PostToParent(GeographicalUpdateMessage(), reinterpret_cast<LPARAM>(&position_));
      Compute();
      break;
    case kTrueId:
      gyro_.m_TrueDirection = value;
      Compute();
      break;
    case kGridHeadingId:
      // The true direction that gives this grid heading at the point: the heading plus
      // the convergence, within 0 to 360.
      if (std::isfinite(gyro_.m_Position.convergence)) {
        gyro_.m_TrueDirection = std::fmod(value + gyro_.m_Position.convergence + 360.0, 360.0);
      }
      Compute();
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace orvale
