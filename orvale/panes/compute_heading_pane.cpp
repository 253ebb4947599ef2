#include "orvale/panes/compute_heading_pane.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "orvale/engine/angles/angles.h"
#include "orvale/panes/property_kinds.h"

namespace orvale {
namespace {

constexpr int kObservations = 0, kTilt = 1;
constexpr double kSpan = 5.0;  // degrees of tilt across the view's radius

COLORREF Rgb(int red, int green, int blue) {
  return static_cast<COLORREF>(red) | static_cast<COLORREF>(green) << 8 |
         static_cast<COLORREF>(blue) << 16;
}

}  // namespace

void CSimpleBubbleView::Attach(CComputeHeadingPane* pane, const double* tilt,
                               const double* heading) {
  pane_ = pane;
  tilt_ = tilt;
  heading_ = heading;
}

void CSimpleBubbleView::SetNightMode(bool night) {
  night_ = night;
  red_ = night ? 128 : 255;
  background_ = night ? 0x000000 : 0x555555;
  bubble_ = night ? 0x800000 : 0xFFFF00;
  rings_ = night ? 0x008080 : 0x039AC0;
  outline_ = night ? 0x808080 : 0xFFFFFF;
  Invalidate();
}

std::vector<DrawCommand> CSimpleBubbleView::OnDraw(int width, int height) const {
  using Shape = DrawCommand::Shape;
  std::vector<DrawCommand> drawing;
  drawing.push_back({Shape::kRectangle, 0, 0, width, height, background_, background_});
  const int cx = width / 2, cy = height / 2;
  const int r = std::min(width, height) / 2, step = r / 5;
  for (int ring = 0; ring < 5; ++ring) {
    drawing.push_back(
        {Shape::kCircle, cx, cy, r - ring * step, 0, rings_, Rgb(red_, 100 + 30 * ring, 0)});
  }
  drawing.push_back({Shape::kLine, cx, 0, cx, height, rings_, rings_});
  drawing.push_back({Shape::kLine, 0, cy, width, cy, rings_, rings_});
  const double tilt = tilt_ == nullptr ? 0.0 : std::fmod(*tilt_, kSpan);
  const double heading = heading_ == nullptr ? 0.0 : *heading_ * kRadiansPerDegree;
  const double scale = r / kSpan;  // pixels per degree
  const int x = cx + static_cast<int>(std::trunc(std::sin(heading) * scale * tilt));
  const int y = cy - static_cast<int>(std::trunc(std::cos(heading) * scale * tilt));
  drawing.push_back({Shape::kCircle, x, y, r / 20, 0, outline_, bubble_});
  return drawing;
}

CComputeHeadingPane::CComputeHeadingPane() {
  ReadHeadingSettings(heading_);
}

bool CComputeHeadingPane::Create(CWnd* parent, int id) {
  if (!CreatePane(parent, "Compute Heading", id)) return false;
  InitPropList();
  Layout(100, 200);
  if (bubble_.CreateChild(this, 0)) {
    bubble_.SetNightMode(false);
    bubble_.Attach(this, &heading_.m_Tilt, &heading_.m_Heading);
  }
  Compute();
  return true;
}

void CComputeHeadingPane::InitPropList() {
  BeginPropList();
  auto observations = std::make_unique<CMFCPropertyGridProperty>("Observations");
  observations->Add<CMFCPropertyGridAngleDouble>("Pitch", heading_.m_Pitch, AS_PITCH, "Enter Pitch",
                                                 kPitchId);
  observations->Add<CMFCPropertyGridAngleDouble>("Roll", heading_.m_Roll, AS_ROLL, "Enter Roll",
                                                 kRollId);
  Grid().AddProperty(std::move(observations));
  auto tilt = std::make_unique<CMFCPropertyGridProperty>("Tilt");
  tilt->Add<CMFCPropertyGridAngleDouble>("Angle", 0.0, AS_ZENITH, "Computed Tilt Angle")
      ->AllowEdit(false);
  tilt->Add<CMFCPropertyGridAngleDouble>("Heading", 0.0, AS_ZENITH, "Computed Heading")
      ->AllowEdit(false);
  Grid().AddProperty(std::move(tilt));
}

LRESULT CComputeHeadingPane::OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) {
  if (property->GetData() == kPitchId) heading_.m_Pitch = property->GetValue().AsDouble();
  if (property->GetData() == kRollId) heading_.m_Roll = property->GetValue().AsDouble();
  // A settings file that cannot be written only loses the values for the next run.
  static_cast<void>(SaveHeadingSettings(heading_));
  Compute();
  return 0;
}

void CComputeHeadingPane::Compute() {
  ComputeHeading(heading_);
  CMFCPropertyGridProperty* group = Grid().GetProperty(kTilt);
  group->GetSubItem(0)->SetValue(heading_.m_Tilt);
  group->GetSubItem(1)->SetValue(heading_.m_Heading);
  bubble_.Invalidate();
}

void CComputeHeadingPane::Layout(int width, int height) {
  bubble_rect_ = {0, 0, width, width};
  grid_rect_ = {0, width, width, std::max(0, height - width)};
  bubble_.Invalidate();
}

void CComputeHeadingPane::SetNightMode(bool night) {
  CMyDockablePane::SetNightMode(night);
  bubble_.SetNightMode(night);
}

}  // namespace orvale
