#include "orvale/panes/traverse_pane.h"

#include <memory>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/panes/internal/position_steps.h"
#include "orvale/panes/property_groups.h"
#include "orvale/panes/property_kinds.h"

namespace orvale {
namespace {

constexpr int kPointA = 2, kObservations = 3, kPointB = 4;
constexpr int kFirstAId = 10;
constexpr int kMethodId = 15, kRangeId = 16, kBearingId = 17, kOriginId = 18, kVerticalId = 19;

// An option row chosen from a list, without free typing.
CMFCPropertyGridProperty* AddChoice(CMFCPropertyGridProperty* group, const char* name,
                                    const std::array<std::string_view, 2>& options,
                                    const char* description, int id) {
  auto* choice = group->Add<CMFCPropertyGridProperty>(name, CPropertyValue(std::string(options[0])),
                                                      description, id);
  for (std::string_view option : options)
    choice->AddOption(std::string(option));
  choice->AllowEdit(false);
  return choice;
}

}  // namespace

bool CTraversePane::Create(CWnd* parent, int id, CProjection* projection, bool select) {
  if (!CSpheroidProjectionPane::Create(parent, "Traverse", id, projection, select)) return false;
  auto a = std::make_unique<CMFCPropertyGridProperty>("Point A");
  AddPositionGroup(a.get(), a_, kFirstAId, false, false);
  Grid().AddProperty(std::move(a));

  auto observations =
      std::make_unique<CMFCPropertyGridProperty>("Observations From Point A to Point B");
  AddChoice(observations.get(), "Computation Method", m_ComputationModeTxt,
            "Perform either a grid or geographical computation", kMethodId);
  observations->Add<CMFCPropertyGridMetricProperty>("Range", range_, kHorizontalLength,
                                                    "Range from Point A to Point B", kRangeId);
  observations->Add<CMFCPropertyGridAngleDouble>("Bearing", bearing_, AS_GRID_BEARING,
                                                 "Bearing from Point A to Point B", kBearingId);
  AddChoice(observations.get(), "Vertical Origin", m_VerticalOriginTxt,
            "Determine from where zero degrees in measured from", kOriginId);
  observations->Add<CMFCPropertyGridAngleDouble>("Vertical Angle", vertical_angle_, AS_PITCH,
                                                 "Vertical Angle", kVerticalId);
  Grid().AddProperty(std::move(observations));

  // Point B is a result: its rows show, none takes an edit.
  auto b = std::make_unique<CMFCPropertyGridProperty>("Point B");
  AddPositionGroup(b.get(), b_, 0, false, false);
  for (int i = 0; i < b->GetSubItemsCount(); ++i)
    b->GetSubItem(i)->AllowEdit(false);
  Grid().AddProperty(std::move(b));
  AdjustLayout();
  ComputeRangeAndBearing();
  return true;
}

void CTraversePane::SetGeog(double latitude, double longitude) {
  a_.latitude = latitude;
  a_.longitude = longitude;
  SetInputMode(kInputGeographical);
  ProjectForward(GetProjection(), a_);
  UpdateGridToGeog(Grid().GetProperty(kPointA), a_);
  ComputeRangeAndBearing();
}

void CTraversePane::SetGrid(double easting, double northing) {
  a_.easting = easting;
  a_.northing = northing;
  SetInputMode(kInputGrid);
  ProjectInverse(GetProjection(), a_);
  UpdateGridToGeog(Grid().GetProperty(kPointA), a_);
  ComputeRangeAndBearing();
}

void CTraversePane::Compute() {
  if (GetInputMode() <= kInputGrid) {
    ProjectInverse(GetProjection(), a_);
  } else if (GetInputMode() == kInputGeographical) {
    ProjectForward(GetProjection(), a_);
  }
  UpdateGridToGeog(Grid().GetProperty(kPointA), a_);
  ComputeRangeAndBearing();
}

void CTraversePane::RefreshProjection() {
  CSpheroidProjectionPane::RefreshProjection();
  Compute();
}

LRESULT CTraversePane::OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) {
  if (CSpheroidProjectionPane::OnPropertyChanged(wParam, property) != 0) return 0;
  const int id = property->GetData();
  if (id < kFirstAId || id > kVerticalId) return 0;
  const double value = property->GetValue().AsDouble();
  CMFCPropertyGridProperty* observations = Grid().GetProperty(kObservations);
  switch (id) {
    case kFirstAId:
    case kFirstAId + 1:
      (id == kFirstAId ? a_.latitude : a_.longitude) = value;
      ProjectForward(GetProjection(), a_);
      UpdateGridToGeog(Grid().GetProperty(kPointA), a_);
      break;
    case kFirstAId + 2:
    case kFirstAId + 3:
      (id == kFirstAId + 2 ? a_.easting : a_.northing) = value;
      ProjectInverse(GetProjection(), a_);
      UpdateGridToGeog(Grid().GetProperty(kPointA), a_);
      break;
    case kFirstAId + 4:
      a_.height = value;
      break;
    case kMethodId:
      grid_mode_ = property->GetValue().AsText() == m_ComputationModeTxt[0];
      static_cast<CMFCPropertyGridAngleDouble*>(observations->GetSubItem(2))
          ->SetMode(grid_mode_ ? AS_GRID_BEARING : AS_TRUE_DIRECTION);
      break;
    case kRangeId:
      range_ = value;
      break;
    case kBearingId:
      bearing_ = value;
      break;
    case kOriginId:
      from_horizontal_ = property->GetValue().AsText() == m_VerticalOriginTxt[0];
      static_cast<CMFCPropertyGridAngleDouble*>(observations->GetSubItem(4))
          ->SetMode(from_horizontal_ ? AS_PITCH : AS_ZENITH);
      break;
    default:
      vertical_angle_ = value;
      break;
  }
  ComputeRangeAndBearing();
  return 0;
}

void CTraversePane::ComputeRangeAndBearing() {
  const TraverseObservation observation{grid_mode_, range_, bearing_ / kDegreesPerRadian,
                                        from_horizontal_, vertical_angle_ / kDegreesPerRadian};
  const SurveyPoint a{a_.latitude, a_.longitude, a_.easting, a_.northing, a_.height};
  // A point the method cannot give comes back as NaN, which the rows show as such.
  const TraverseResult result = ComputeTraverse(*GetProjection(), a, observation);
  b_.latitude = result.b.latitude;
  b_.longitude = result.b.longitude;
  b_.easting = result.b.easting;
  b_.northing = result.b.northing;
  b_.height = result.b.height;
  // B's convergence and scale at its own position.
  static_cast<void>(GetProjection()->GeogToGrid(b_.latitude, b_.longitude, nullptr, nullptr,
                                                &b_.convergence, &b_.scale_factor));
  UpdatePositionGroup(Grid().GetProperty(kPointB), b_);
}

void CTraversePane::UpdateGridToGeog(CMFCPropertyGridProperty* group, const tagCOORD& position) {
  UpdatePositionGroup(group, position);
}

void CTraversePane::UpdateGeographicals() {
  UpdateProjectionGeographicalGroup(ProjectionGroup());
  for (int g : {kPointA, kPointB})
    for (int i : {0, 1})
      Grid().GetProperty(g)->GetSubItem(i)->Redraw();
}

void CTraversePane::UpdateGrid() {
  CSpheroidProjectionPane::UpdateGrid();
  for (int g : {kPointA, kPointB})
    for (int i = 2; i <= 7; ++i)
      Grid().GetProperty(g)->GetSubItem(i)->Redraw();
  Grid().GetProperty(kObservations)->GetSubItem(1)->Redraw();
}

void CTraversePane::UpdateAngles() {
  for (int g : {kPointA, kPointB})
    Grid().GetProperty(g)->GetSubItem(8)->Redraw();
}

}  // namespace orvale
