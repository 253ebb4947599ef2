#include "orvale/panes/range_bearing_pane.h"

#include <limits>
#include <memory>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/panes/internal/position_steps.h"
#include "orvale/panes/property_groups.h"
#include "orvale/panes/property_kinds.h"

namespace orvale {
namespace {

constexpr int kFirstAId = 10;
constexpr int kFirstBId = 15;
constexpr int kPointA = 2, kPointB = 3, kGreatCircle = 4, kGridGroup = 5, kLineScale = 6,
              kRhumb = 7, kTMinusT = 8;
constexpr double kNoResult = std::numeric_limits<double>::quiet_NaN();

// The four rows a range-and-bearing record fills.
std::unique_ptr<CMFCPropertyGridProperty> RecordGroup(const char* title, const char* range,
                                                      int range_kind, const char* slope) {
  auto group = std::make_unique<CMFCPropertyGridProperty>(title);
  group->Add<CMFCPropertyGridMetricProperty>(range, 0.0, range_kind)->AllowEdit(false);
  group->Add<CMFCPropertyGridMetricProperty>(slope, 0.0, range_kind)->AllowEdit(false);
  group->Add<CMFCPropertyGridAngleProperty>("Bearing A to B", 0.0, ANGLE_BEARING)->AllowEdit(false);
  group->Add<CMFCPropertyGridAngleProperty>("Bearing B to A", 0.0, ANGLE_BEARING)->AllowEdit(false);
  return group;
}

SurveyPoint SurveyPointOf(const tagCOORD& p) {
  return {p.latitude, p.longitude, p.easting, p.northing, p.height};
}

// A record the method could not give shows "no result" in every row.
RANGE_BEARING Flagged(const RANGE_BEARING& record, bool ok) {
  if (ok) return record;
  return {kNoResult, kNoResult, kNoResult, kNoResult, kNoResult, kNoResult};
}

void Redraw(CMFCPropertyGridProperty* group, std::initializer_list<int> rows) {
  for (int i : rows) {
    if (CMFCPropertyGridProperty* item = group->GetSubItem(i)) item->Redraw();
  }
}

}  // namespace

bool CRangeAndBearingPane::Create(CWnd* parent, int id, CProjection* projection, bool select) {
  if (!CSpheroidProjectionPane::Create(parent, "Range and Bearing", id, projection, select))
    return false;
  auto a = std::make_unique<CMFCPropertyGridProperty>("Point A");
  AddPositionGroup(a.get(), a_, kFirstAId, false, false);
  Grid().AddProperty(std::move(a));
  auto b = std::make_unique<CMFCPropertyGridProperty>("Point B");
  AddPositionGroup(b.get(), b_, kFirstBId, false, false);
  Grid().AddProperty(std::move(b));
  Grid().AddProperty(
      RecordGroup("Great Circle (True)", "Spheroidal Distance", kShortLength, "Slope Distance"));
  Grid().AddProperty(RecordGroup("Grid", "Grid Distance", kHorizontalLength, "Slope Distance"));
  auto scale = std::make_unique<CMFCPropertyGridProperty>("Line Scale Factor");
  scale->Add<CMFCPropertyGridDouble>("Grid / Great Circle", 0.0, "%12.10lf")->AllowEdit(false);
  Grid().AddProperty(std::move(scale));
  auto rhumb = std::make_unique<CMFCPropertyGridProperty>("Rhumb Line");
  rhumb->Add<CMFCPropertyGridMetricProperty>("Length", 0.0, kHorizontalLength)->AllowEdit(false);
  rhumb->Add<CMFCPropertyGridDouble>("Nautical Miles", 0.0, "%12.5lf")->AllowEdit(false);
  rhumb->Add<CMFCPropertyGridAngleProperty>("Bearing A to B", 0.0, ANGLE_BEARING)->AllowEdit(false);
  rhumb->Add<CMFCPropertyGridAngleProperty>("Bearing B to A", 0.0, ANGLE_BEARING)->AllowEdit(false);
  rhumb->Add<CMFCPropertyGridMetricProperty>("One Nautical Mile", 0.0, kHorizontalLength)
      ->AllowEdit(false);
  Grid().AddProperty(std::move(rhumb));
  AdjustLayout();
  ComputeRangeAndBearing();
  return true;
}

void CRangeAndBearingPane::SetGeogA(double latitude, double longitude) {
  SetGeogOf(a_, kPointA, latitude, longitude);
}

void CRangeAndBearingPane::SetGeogB(double latitude, double longitude) {
  SetGeogOf(b_, kPointB, latitude, longitude);
}

void CRangeAndBearingPane::SetGridA(double easting, double northing) {
  SetGridOf(a_, kPointA, easting, northing);
}

void CRangeAndBearingPane::SetGridB(double easting, double northing) {
  SetGridOf(b_, kPointB, easting, northing);
}

void CRangeAndBearingPane::SetGeogOf(tagCOORD& point, int group, double latitude,
                                     double longitude) {
  point.latitude = latitude;
  point.longitude = longitude;
  SetInputMode(kInputGeographical);
  ProjectForward(GetProjection(), point);
  UpdatePositionGroup(Grid().GetProperty(group), point);
  ComputeRangeAndBearing();
}

void CRangeAndBearingPane::SetGridOf(tagCOORD& point, int group, double easting, double northing) {
  point.easting = easting;
  point.northing = northing;
  SetInputMode(kInputGrid);
  ProjectInverse(GetProjection(), point);
  UpdatePositionGroup(Grid().GetProperty(group), point);
  ComputeRangeAndBearing();
}

void CRangeAndBearingPane::Compute() {
  if (GetInputMode() <= kInputGrid || GetInputMode() == kInputGeographical) {
    if (GetInputMode() <= kInputGrid) {
      ProjectInverse(GetProjection(), a_);
      ProjectInverse(GetProjection(), b_);
    } else {
      ProjectForward(GetProjection(), a_);
      ProjectForward(GetProjection(), b_);
    }
    UpdatePositionGroup(Grid().GetProperty(kPointA), a_);
    UpdatePositionGroup(Grid().GetProperty(kPointB), b_);
  }
  ComputeRangeAndBearing();
}

void CRangeAndBearingPane::RefreshProjection() {
  CSpheroidProjectionPane::RefreshProjection();
  Compute();
}

LRESULT CRangeAndBearingPane::OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) {
  if (CSpheroidProjectionPane::OnPropertyChanged(wParam, property) != 0) {
    // The points keep both their forms; only the results follow the new records.
    ComputeRangeAndBearing();
    return 0;
  }
  const int id = property->GetData();
  if (id >= kFirstAId && id < kFirstBId + 5) {
    const bool is_a = id < kFirstBId;
    tagCOORD& point = is_a ? a_ : b_;
    const double value = property->GetValue().AsDouble();
    switch (id - (is_a ? kFirstAId : kFirstBId)) {
      case 0:
        point.latitude = value;
        ProjectForward(GetProjection(), point);
        break;
      case 1:
        point.longitude = value;
        ProjectForward(GetProjection(), point);
        break;
      case 2:
        point.easting = value;
        ProjectInverse(GetProjection(), point);
        break;
      case 3:
        point.northing = value;
        ProjectInverse(GetProjection(), point);
        break;
      default:
        point.height = value;
        break;
    }
    UpdatePositionGroup(Grid().GetProperty(is_a ? kPointA : kPointB), point);
  }
  ComputeRangeAndBearing();
  return 0;
}

void CRangeAndBearingPane::ComputeRangeAndBearing() {
  result_ = orvale::ComputeRangeAndBearing(*GetSpheroid(), *GetProjection(), SurveyPointOf(a_),
                                           SurveyPointOf(b_));
  UpdateRangeAndBearing(kGreatCircle, Flagged(result_.spheroidal, result_.spheroidal_ok));
  UpdateRangeAndBearing(kGridGroup, result_.grid);
  UpdateRest();
}

void CRangeAndBearingPane::UpdateRangeAndBearing(int group_index, const RANGE_BEARING& record) {
  CMFCPropertyGridProperty* group = Grid().GetProperty(group_index);
  group->GetSubItem(0)->SetValue(record.m_Range);
  group->GetSubItem(1)->SetValue(record.m_SlopeDistance);
  group->GetSubItem(2)->SetValue(record.m_BearingAB);
  group->GetSubItem(3)->SetValue(record.m_BearingBA);
}

void CRangeAndBearingPane::UpdateRest() {
  const RANGE_BEARING spheroidal = Flagged(result_.spheroidal, result_.spheroidal_ok);
  const RANGE_BEARING rhumb = Flagged(result_.rhumb, result_.rhumb_ok);
  Grid().GetProperty(kLineScale)->GetSubItem(0)->SetValue(spheroidal.m_LineScaleFactor);
  CMFCPropertyGridProperty* group = Grid().GetProperty(kRhumb);
  group->GetSubItem(0)->SetValue(rhumb.m_Range);
  group->GetSubItem(1)->SetValue(rhumb.m_NauticalMiles);
  group->GetSubItem(2)->SetValue(rhumb.m_BearingAB);
  group->GetSubItem(3)->SetValue(rhumb.m_BearingBA);
  group->GetSubItem(4)->SetValue(result_.nautical_mile);
  // The t - T group comes and goes with the projection's type.
  if (Grid().GetPropertyCount() > kTMinusT) {
    CMFCPropertyGridProperty* old = Grid().GetProperty(kTMinusT);
    static_cast<void>(Grid().DeleteProperty(old));
  }
  const int type = GetProjection()->m_Type;
  if (type != PROJECTION_UTM && type != PROJECTION_TRANSVERSE_MERCATOR) return;
  auto correction = std::make_unique<CMFCPropertyGridProperty>("t - T Correction");
  correction->Add<CMFCPropertyGridDouble>("A to B", result_.t_minus_T_a, "%8.3lf\"")
      ->AllowEdit(false);
  correction->Add<CMFCPropertyGridDouble>("B to A", result_.t_minus_T_b, "%8.3lf\"")
      ->AllowEdit(false);
  Grid().AddProperty(std::move(correction));
}

void CRangeAndBearingPane::UpdateGeographicals() {
  UpdateProjectionGeographicalGroup(ProjectionGroup());
  for (int g : {kPointA, kPointB})
    Redraw(Grid().GetProperty(g), {0, 1});
}

void CRangeAndBearingPane::UpdateGrid() {
  CSpheroidProjectionPane::UpdateGrid();
  for (int g : {kPointA, kPointB})
    Redraw(Grid().GetProperty(g), {2, 3, 4, 5, 6, 7});
  for (int g : {kGreatCircle, kGridGroup})
    Redraw(Grid().GetProperty(g), {0, 1});
  Redraw(Grid().GetProperty(kRhumb), {0});
}

void CRangeAndBearingPane::UpdateAngles() {
  for (int g : {kGreatCircle, kGridGroup, kRhumb})
    Redraw(Grid().GetProperty(g), {2, 3});
  for (int g : {kPointA, kPointB})
    Redraw(Grid().GetProperty(g), {8});
}

}  // namespace orvale
