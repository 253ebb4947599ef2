#include "orvale/panes/spheroid_projection_pane.h"

#include <memory>

#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/panes/property_groups.h"
#include "orvale/panes/selection_properties.h"

namespace orvale {
namespace {

constexpr int kWgs84Row = 26;  // the built-in spheroid row of WGS84

// Identifiers every projection pane's selectors carry.
constexpr int kSpheroidEpsgId = 1;
constexpr int kSpheroidNameId = 2;
constexpr int kProjectionTypeId = 3;
constexpr int kProjectionNameId = 4;
constexpr int kProjectionMethodId = 5;

}  // namespace

bool CSpheroidProjectionPane::Create(CWnd* parent, std::string_view caption, int id,
                                     CProjection* projection, bool select, bool force_wgs84) {
  if (!CreatePane(parent, caption, id)) return false;
  select_ = select;
  force_wgs84_ = force_wgs84;
  projection_ = projection;
  spheroid_ = projection->m_Spheroid;
  if (force_wgs84) static_cast<void>(spheroid_->SetBuiltIn(kWgs84Row));
  InitPropList();
  AdjustLayout();
  return true;
}

void CSpheroidProjectionPane::InitPropList() {
  BeginPropList();
  const bool selectors = select_ && !force_wgs84_;
  auto spheroid = std::make_unique<CMFCPropertyGridProperty>("Spheroid");
  AddSpheroidGroup(spheroid.get(), spheroid_, selectors ? kSpheroidEpsgId : 0,
                   selectors ? kSpheroidNameId : 0, select_);
  Grid().AddProperty(std::move(spheroid));
  auto projection = std::make_unique<CMFCPropertyGridProperty>("Projection");
  AddProjectionGroup(projection.get(), projection_, kProjectionTypeId, kProjectionNameId,
                     select_ ? kProjectionMethodId : 0, 0, select_, false);
  UpdateProjectionGroup(projection.get(), *projection_, 0, select_);
  Grid().AddProperty(std::move(projection));
}

LRESULT CSpheroidProjectionPane::OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) {
  const int id = property->GetData();
  if (id == kSpheroidEpsgId || id == kSpheroidNameId) {
    projection_->MatchSpheroid();
    UpdateSpheroid();
  }
  UpdateProjectionGroup(ProjectionGroup(), *projection_, 0, select_);
  if (id < kSpheroidEpsgId || id > kProjectionMethodId) return 0;
  PostToParent(GeodeticUpdateMessage());
  return 1;
}

void CSpheroidProjectionPane::UpdateSpheroid() {
  CMFCPropertyGridProperty* group = SpheroidGroup();
  UpdateSpheroidGroup(group, *spheroid_);
  if (projection_->m_Type != PROJECTION_UTM && projection_->m_Type != PROJECTION_NORWEGIAN) return;
  if (auto* epsg = dynamic_cast<CMFCPropertyGridSpheroidEPSGNoProperty*>(group->GetSubItem(0)))
    epsg->SetSelect(select_);
  if (auto* name = dynamic_cast<CMFCPropertyGridSpheroidNameProperty*>(group->GetSubItem(1)))
    name->SetSelect(select_);
}

void CSpheroidProjectionPane::RefreshProjection() {
  UpdateSpheroid();
  UpdateProjectionGroup(ProjectionGroup(), *projection_, 0, select_);
}

void CSpheroidProjectionPane::UpdateGeographicals() {
  UpdateProjectionGeographicalGroup(ProjectionGroup());
}

void CSpheroidProjectionPane::UpdateGrid() {
  UpdateSpheroidGridGroup(SpheroidGroup());
  UpdateProjectionGridGroup(ProjectionGroup());
}

bool CSpheroidPane::Create(CWnd* parent, std::string_view caption, int id, CSpheroid* spheroid,
                           bool select) {
  if (!CreatePane(parent, caption, id)) return false;
  select_ = select;
  spheroid_ = spheroid;
  InitPropList();
  AdjustLayout();
  return true;
}

void CSpheroidPane::InitPropList() {
  BeginPropList();
  auto group = std::make_unique<CMFCPropertyGridProperty>("Spheroid");
  AddSpheroidGroup(group.get(), spheroid_, select_ ? kSpheroidEpsgId : 0,
                   select_ ? kSpheroidNameId : 0, select_);
  Grid().AddProperty(std::move(group));
}

LRESULT CSpheroidPane::OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) {
  const int id = property->GetData();
  if (id != kSpheroidEpsgId && id != kSpheroidNameId) return 0;
  UpdateSpheroidGroup(Grid().GetProperty(0), *spheroid_);
  return 1;
}

void CSpheroidPane::UpdateSpheroid() {
  UpdateSpheroidGroup(Grid().GetProperty(0), *spheroid_);
}

void CSpheroidPane::UpdateGrid() {
  UpdateSpheroidGridGroup(Grid().GetProperty(0));
}

}  // namespace orvale
