#include "orvale/panes/datum_shift_pane.h"

#include <array>
#include <limits>
#include <memory>
#include <string>

#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/helmert.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/panes/internal/position_steps.h"
#include "orvale/panes/property_groups.h"
#include "orvale/panes/property_kinds.h"
#include "orvale/panes/selection_properties.h"

namespace orvale {
namespace {

// CDatumShiftPane's groups.
constexpr int kDatumGroup = 0, kShiftsGroup = 1, kFromSpheroid = 2, kFromProjection = 3,
              kPointA = 4, kToSpheroid = 5, kToProjection = 6, kPointB = 7;
constexpr int kDatumTypeId = 1, kDatumNameId = 2;
constexpr int kFirstAId = 8, kFirstBId = 20;
constexpr int kNoDatumShift = 0;
constexpr double kNoResult = std::numeric_limits<double>::quiet_NaN();

struct ShiftRow {
  const char* label;
  const char* description;
  const char* format;  // null: a length of width 12 with 6 decimals
};
constexpr std::array<ShiftRow, 7> kShiftRows = {{
    {"X Shift (dX)", "Datum Shift X Axis", nullptr},
    {"Y Shift (dY)", "Datum Shift Y Axis", nullptr},
    {"Z Shift (dZ)", "Datum Shift Z Axis", nullptr},
    {"X Rotation (rX)", "Rotation in X Axis", "%+10.6lf\""},
    {"Y Rotation (rY)", "Rotation in Y Axis", "%+10.6lf\""},
    {"Z Rotation (rZ)", "Rotation in Z Axis", "%+10.6lf\""},
    {"Scale Correction (SF)", "Scale Factor as parts per Million", "%12.6lf ppm"},
}};

bool HasParameters(int type) {
  return type == 1 || type == 3 || type == 6 || type == 7;
}

void Redraw(CMFCPropertyGridProperty* group, std::initializer_list<int> rows) {
  for (int i : rows) {
    if (CMFCPropertyGridProperty* item = group->GetSubItem(i)) item->Redraw();
  }
}

void Cartesian(const CSpheroid* spheroid, tagCOORD& p) {
  if (spheroid == nullptr) return;
  GeogToCartesian(*spheroid, p.latitude, p.longitude, p.height, p.x, p.y, p.z);
}

void FromCartesian(const CSpheroid* spheroid, tagCOORD& p) {
  // On the polar axis the latitude of the pole and the height still come back.
  if (spheroid != nullptr)
    static_cast<void>(CartesianToGeog(*spheroid, p.x, p.y, p.z, p.latitude, p.longitude, p.height));
}

// A point whose shift found no result, as its rows show it.
tagCOORD NoResult(const tagCOORD& p) {
  tagCOORD shown = p;
  for (double* v : {&shown.latitude, &shown.longitude, &shown.easting, &shown.northing, &shown.x,
                    &shown.y, &shown.z, &shown.height, &shown.convergence, &shown.scale_factor})
    *v = kNoResult;
  return shown;
}

}  // namespace

void AddShiftParameterRows(CMFCPropertyGridProperty* group, int first_id) {
  for (std::size_t i = 0; i < kShiftRows.size(); ++i) {
    const ShiftRow& row = kShiftRows[i];
    const int id = first_id == 0 ? 0 : first_id + static_cast<int>(i);
    CMFCPropertyGridProperty* added =
        row.format == nullptr
            ? static_cast<CMFCPropertyGridProperty*>(group->Add<CMFCPropertyGridMetricProperty>(
                  row.label, 0.0, kHorizontalLength, 6, 12, row.description, id))
            : group->Add<CMFCPropertyGridDouble>(row.label, 0.0, row.format, row.description, id);
    added->AllowEdit(id != 0);
  }
}

void AddDatumShiftRows(CMFCPropertyGridProperty* group) {
  AddShiftParameterRows(group, 0);
  group->Add<CMFCPropertyGridProperty>("Rotation Method", "")->AllowEdit(false);
  group->Add<CMFCPropertyGridProperty>("", "")->AllowEdit(false);
}

void WriteDatumShiftRows(CMFCPropertyGridProperty* group, const CDatum& datum, int first_row) {
  const DatumShiftParameters& p = datum.m_Shift;
  const double values[] = {p.m_DX, p.m_DY, p.m_DZ, p.m_RX, p.m_RY, p.m_RZ, p.m_Scale};
  for (int i = 0; i < 7; ++i)
    group->GetSubItem(first_row + i)->SetValue(values[i]);
  const bool known =
      p.m_RotationMethod == kPositionVector || p.m_RotationMethod == kCoordinateFrame;
  const RotationMethodText text =
      known ? kRotationMethodTexts[static_cast<std::size_t>(p.m_RotationMethod)]
            : RotationMethodText{};
  group->GetSubItem(first_row + 7)->SetValue(std::string(text.name));
  group->GetSubItem(first_row + 8)->SetValue(std::string(text.remark));
}

bool CDatumShiftPane::Create(CWnd* parent, int id, CDatum* datum, bool no_source_projection,
                             bool target_selectable) {
  if (!CreatePane(parent, "Datum Shift", id)) return false;
  datum_ = datum;
  no_source_projection_ = no_source_projection;
  target_selectable_ = target_selectable;
  if (no_source_projection) datum_->m_Direction = 1;
  InitPropList();
  return true;
}

void CDatumShiftPane::InitPropList() {
  BeginPropList();
  CDatum& d = *datum_;
  auto datum = std::make_unique<CMFCPropertyGridProperty>("Datum");
  datum->Add<CMFCPropertyGridDatumTypeProperty>(&d, no_source_projection_, target_selectable_,
                                                kDatumTypeId);
  datum->Add<CMFCPropertyGridDatumNameProperty>(&d, no_source_projection_, target_selectable_,
                                                kDatumNameId);
  Grid().AddProperty(std::move(datum));

  auto shifts = std::make_unique<CMFCPropertyGridProperty>("7 Parameter Shifts");
  AddDatumShiftRows(shifts.get());
  Grid().AddProperty(std::move(shifts));

  const bool select = d.m_ShiftType == kNoDatumShift && target_selectable_;
  auto from_spheroid = std::make_unique<CMFCPropertyGridProperty>("From Spheroid");
  AddSelectSpheroidGroup(from_spheroid.get(), &d.m_Spheroid, no_source_projection_, 3, 4, select);
  Grid().AddProperty(std::move(from_spheroid));

  auto from_projection = std::make_unique<CMFCPropertyGridProperty>("From Projection");
  AddSelectProjectionGroup(from_projection.get(), &d.m_Projection, 5, 6, 7, 0, target_selectable_,
                           true);
  from_projection->Show(!no_source_projection_);
  Grid().AddProperty(std::move(from_projection));

  auto a = std::make_unique<CMFCPropertyGridProperty>("Point A");
  AddPositionGroup(a.get(), a_, kFirstAId, no_source_projection_, true);
  Grid().AddProperty(std::move(a));

  auto to_spheroid = std::make_unique<CMFCPropertyGridProperty>("To Spheroid");
  if (d.m_TargetSpheroid != nullptr)
    AddSelectSpheroidGroup(to_spheroid.get(), d.m_TargetSpheroid, false, 0, 0, false);
  Grid().AddProperty(std::move(to_spheroid));

  auto to_projection = std::make_unique<CMFCPropertyGridProperty>("To Projection");
  if (d.m_TargetProjection != nullptr) {
    const int first = target_selectable_ ? 17 : 0;
    AddSelectProjectionGroup(to_projection.get(), d.m_TargetProjection, first,
                             target_selectable_ ? 18 : 0, target_selectable_ ? 19 : 0, 0,
                             target_selectable_, true);
  }
  Grid().AddProperty(std::move(to_projection));

  auto b = std::make_unique<CMFCPropertyGridProperty>("Point B");
  AddPositionGroup(b.get(), b_, kFirstBId, false, true);
  Grid().AddProperty(std::move(b));
  UpdateDatumShifts();
  UpdateProjection();
}

void CDatumShiftPane::UpdateDatumShifts() {
  CMFCPropertyGridProperty* group = Grid().GetProperty(kShiftsGroup);
  group->Show(HasParameters(datum_->m_ShiftType));
  WriteDatumShiftRows(group, *datum_, 0);
}

void CDatumShiftPane::UpdateSpheroid() {
  CMFCPropertyGridProperty* from = Grid().GetProperty(kFromSpheroid);
  UpdateSpheroidGroup(from, datum_->m_Spheroid);
  const bool select = datum_->m_ShiftType == kNoDatumShift && target_selectable_;
  if (auto* epsg = dynamic_cast<CMFCPropertyGridSpheroidEPSGNoProperty*>(from->GetSubItem(0)))
    epsg->SetSelect(select);
  if (auto* name = dynamic_cast<CMFCPropertyGridSpheroidNameProperty*>(from->GetSubItem(1)))
    name->SetSelect(select);
  if (datum_->m_TargetSpheroid != nullptr)
    UpdateSpheroidGroup(Grid().GetProperty(kToSpheroid), *datum_->m_TargetSpheroid);
}

void CDatumShiftPane::UpdateProjection() {
  UpdateProjectionGroup(Grid().GetProperty(kFromProjection), datum_->m_Projection, 0,
                        target_selectable_);
  if (datum_->m_TargetProjection != nullptr) {
    UpdateProjectionGroup(Grid().GetProperty(kToProjection), *datum_->m_TargetProjection, 0,
                          target_selectable_);
  }
}

void CDatumShiftPane::RefreshDatum() {
  for (int i : {0, 1}) {
    CMFCPropertyGridProperty* item = Grid().GetProperty(kDatumGroup)->GetSubItem(i);
    if (auto* type = dynamic_cast<CMFCPropertyGridDatumTypeProperty*>(item)) type->Update();
    if (auto* name = dynamic_cast<CMFCPropertyGridDatumNameProperty*>(item)) name->Update();
  }
  UpdateDatumShifts();
  UpdateSpheroid();
  UpdateProjection();
  Compute();
}

void CDatumShiftPane::Shift(int direction) {
  status_ = ShiftPosition(*datum_, a_, b_, direction);
  last_direction_ = direction;
}

void CDatumShiftPane::ShowPoints() {
  // The point a shift could not give shows as no result, never as a number; the
  // record itself keeps what the shift left, for the next edit.
  const bool failed = status_ != ShiftStatus::kShifted && status_ != ShiftStatus::kNotApplied;
  const bool a_is_output = last_direction_ == kShiftReverse;
  UpdatePositionGroup(Grid().GetProperty(kPointA), failed && a_is_output ? NoResult(a_) : a_);
  UpdatePositionGroup(Grid().GetProperty(kPointB), failed && !a_is_output ? NoResult(b_) : b_);
}

void CDatumShiftPane::Compute() {
  ProjectForward(datum_->m_TargetProjection, b_);
  Cartesian(datum_->m_TargetSpheroid, b_);
  Shift(kShiftReverse);
  ShowPoints();
}

void CDatumShiftPane::CommonTail() {
  Compute();
  PostToParent(GeodeticUpdateMessage());
  datum_->WriteSettings();
}

void CDatumShiftPane::PointAChanged(int offset, double value) {
  CProjection* projection = no_source_projection_ ? nullptr : &datum_->m_Projection;
  switch (offset) {
    case 0:
    case 1:
      (offset == 0 ? a_.latitude : a_.longitude) = value;
      ProjectForward(projection, a_);
      Cartesian(&datum_->m_Spheroid, a_);
      break;
    case 2:
    case 3:
      (offset == 2 ? a_.easting : a_.northing) = value;
      ProjectInverse(&datum_->m_Projection, a_);
      Cartesian(&datum_->m_Spheroid, a_);
      break;
    case 4:
      a_.height = value;
      Cartesian(&datum_->m_Spheroid, a_);
      break;
    default:
      (offset == 5 ? a_.x : offset == 6 ? a_.y : a_.z) = value;
      FromCartesian(&datum_->m_Spheroid, a_);
      ProjectForward(projection, a_);
      break;
  }
  Shift(kShiftForward);
}

void CDatumShiftPane::PointBChanged(int offset, double value) {
  CProjection* projection = datum_->m_TargetProjection;
  const CSpheroid* spheroid = datum_->m_TargetSpheroid;
  switch (offset) {
    case 0:
    case 1:
      (offset == 0 ? b_.latitude : b_.longitude) = value;
      ProjectForward(projection, b_);
      Cartesian(spheroid, b_);
      break;
    case 2:
    case 3:
      (offset == 2 ? b_.easting : b_.northing) = value;
      ProjectInverse(projection, b_);
      Cartesian(spheroid, b_);
      break;
    case 4:
      b_.height = value;
      Cartesian(spheroid, b_);
      break;
    default:
      (offset == 5 ? b_.x : offset == 6 ? b_.y : b_.z) = value;
      FromCartesian(spheroid, b_);
      ProjectForward(projection, b_);
      break;
  }
  Shift(kShiftReverse);
}

LRESULT CDatumShiftPane::OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) {
  const int id = property->GetData();
  const double value = property->GetValue().AsDouble();
  CMFCPropertyGridProperty* datum_group = Grid().GetProperty(kDatumGroup);
  switch (id) {
    case kDatumTypeId:
      static_cast<CMFCPropertyGridDatumNameProperty*>(datum_group->GetSubItem(1))->Update();
      [[fallthrough]];
    case kDatumNameId:
      UpdateDatumShifts();
      UpdateSpheroid();
      UpdateProjection();
      CommonTail();
      break;
    case 3:
    case 4:
      static_cast<CMFCPropertyGridDatumNameProperty*>(datum_group->GetSubItem(1))->Update();
      if (datum_->m_TargetSpheroid != nullptr)
        UpdateSpheroidGroup(Grid().GetProperty(kToSpheroid), *datum_->m_TargetSpheroid);
      UpdateProjection();
      Compute();
      PostToParent(GeodeticUpdateMessage());
      datum_->WriteSettings();
      break;
    case 5:
    case 6:
      UpdateProjectionGroup(Grid().GetProperty(kFromProjection), datum_->m_Projection, 0,
                            target_selectable_);
      PostToParent(GeodeticUpdateMessage());
      datum_->WriteSettings();
      Compute();
      break;
    case 7:
      datum_->WriteSettings();
      PostToParent(GeodeticUpdateMessage());
      Compute();
      break;
    case 17:
    case 18:
      if (datum_->m_TargetProjection != nullptr) {
        UpdateProjectionGroup(Grid().GetProperty(kToProjection), *datum_->m_TargetProjection, 0,
                              target_selectable_);
      }
      CommonTail();
      break;
    case 19:
      CommonTail();
      break;
    default:
      if (id >= kFirstAId && id < kFirstAId + 8) PointAChanged(id - kFirstAId, value);
      if (id >= kFirstBId && id < kFirstBId + 8) PointBChanged(id - kFirstBId, value);
      break;
  }
  ShowPoints();
  return 0;
}

void CDatumShiftPane::UpdateGrid() {
  for (int g : {kPointA, kPointB})
    Redraw(Grid().GetProperty(g), {2, 3, 4, 5, 6, 7});
}

void CDatumShiftPane::UpdateGeographicals() {
  for (int g : {kPointA, kPointB})
    Redraw(Grid().GetProperty(g), {0, 1});
}

void CDatumShiftPane::UpdateAngles() {
  for (int g : {kPointA, kPointB})
    Redraw(Grid().GetProperty(g), {8});
}

bool CWgs84DatumShiftPane::Create(CWnd* parent, int id, CDatum* datum) {
  if (!CreatePane(parent, "Spheroid / Projection", id)) return false;
  datum_ = datum;
  target_spheroid_record_ = datum->m_TargetSpheroid;
  target_projection_ = datum->m_TargetProjection;
  datum_->m_Direction = 1;
  InitPropList();
  return true;
}

void CWgs84DatumShiftPane::InitPropList() {
  BeginPropList();
  auto type = std::make_unique<CMFCPropertyGridProperty>("Type of Datum");
  type->Add<CMFCPropertyGridDatumTypeProperty>(datum_, true, true, 0);
  Grid().AddProperty(std::move(type));
  AddDatum();
}

void CWgs84DatumShiftPane::AddDatum() {
  source_spheroid_ = parameters_ = target_spheroid_ = projection_group_ = -1;
  CDatum& d = *datum_;
  const auto add = [this](std::unique_ptr<CMFCPropertyGridProperty> group) {
    return Grid().AddProperty(std::move(group));
  };
  const auto spheroid_group = [&](const char* title, CSpheroid* spheroid, int epsg_id, int name_id,
                                  bool select) {
    auto group = std::make_unique<CMFCPropertyGridProperty>(title);
    if (spheroid != nullptr)
      AddSelectSpheroidGroup(group.get(), spheroid, true, epsg_id, name_id, select);
    return add(std::move(group));
  };
  if (d.m_ShiftType == kNoDatumShift) {
    target_spheroid_ = spheroid_group("Spheroid", target_spheroid_record_, 2, 3, true);
  } else {
    source_spheroid_ = spheroid_group("From Spheroid", &d.m_Spheroid, 0, 0, false);
    if (d.m_ShiftType != 2 && d.m_ShiftType != 5) {
      auto parameters = std::make_unique<CMFCPropertyGridProperty>("Datum");
      parameters->Add<CMFCPropertyGridDatumNameProperty>(&d, true, true, 1);
      AddDatumShiftRows(parameters.get());
      parameters_ = add(std::move(parameters));
    }
    target_spheroid_ = spheroid_group("To Spheroid", target_spheroid_record_, 0, 0, false);
  }
  auto projection = std::make_unique<CMFCPropertyGridProperty>("Projection");
  if (target_projection_ != nullptr)
    AddProjectionGroup(projection.get(), target_projection_, 4, 5, 6, 0, true, true);
  projection_group_ = add(std::move(projection));
  RefreshProjection();
  UpdateDatumParametersGroup();
}

void CWgs84DatumShiftPane::UpdateDatumParametersGroup() {
  if (parameters_ < 0) return;
  CMFCPropertyGridProperty* group = Grid().GetProperty(parameters_);
  WriteDatumShiftRows(group, *datum_, 1);
  // A rotation or scale of exactly zero is left out unless its row takes edits.
  for (int i = 4; i <= 7; ++i) {
    CMFCPropertyGridProperty* row = group->GetSubItem(i);
    row->Show(row->GetValue().AsDouble() != 0.0 || row->GetData() == 1);
  }
}

void CWgs84DatumShiftPane::RefreshProjection() {
  if (target_projection_ != nullptr)
    UpdateProjectionGroup(Grid().GetProperty(projection_group_), *target_projection_, 0, true);
}

LRESULT CWgs84DatumShiftPane::OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) {
  const int id = property->GetData();
  if (id == 0 && property == Grid().GetProperty(0)->GetSubItem(0)) {
    while (Grid().GetPropertyCount() > 1) {
      CMFCPropertyGridProperty* last = Grid().GetProperty(Grid().GetPropertyCount() - 1);
      static_cast<void>(Grid().DeleteProperty(last));
    }
    AddDatum();
  } else if (id == 1) {
    if (source_spheroid_ >= 0)
      UpdateSpheroidGroup(Grid().GetProperty(source_spheroid_), datum_->m_Spheroid);
    UpdateDatumParametersGroup();
    if (target_spheroid_ >= 0 && target_spheroid_record_ != nullptr)
      UpdateSpheroidGroup(Grid().GetProperty(target_spheroid_), *target_spheroid_record_);
  } else if ((id == 2 || id == 3) && target_spheroid_ >= 0 && target_spheroid_record_ != nullptr) {
    UpdateSpheroidGroup(Grid().GetProperty(target_spheroid_), *target_spheroid_record_);
  }
  RefreshProjection();
  datum_->WriteSettings();
  PostToParent(GeodeticUpdateMessage());
  return 0;
}

void CWgs84DatumShiftPane::UpdateGeographicals() {
  if (projection_group_ >= 0)
    UpdateProjectionGeographicalGroup(Grid().GetProperty(projection_group_));
}

void CWgs84DatumShiftPane::UpdateGrid() {
  if (projection_group_ >= 0) UpdateProjectionGridGroup(Grid().GetProperty(projection_group_));
}

}  // namespace orvale
