#include "orvale/panes/wgs84_setup.h"

#include <cstdio>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/angles/units.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/helmert.h"
#include "orvale/engine/projection/projection.h"

namespace orvale {
namespace {

std::string Printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

void CWGS84Setup::SetDatum(CDatum* datum) {
  datum_ = datum;
}

void CWGS84Setup::GridMode(int unit_mode, int index, int imperial_mode) {
  unit_mode_ = unit_mode;
  unit_index_ = index;
  imperial_mode_ = imperial_mode;
}

void CWGS84Setup::SetAnglePreference(int notation) {
  notation_ = notation;
}

void CWGS84Setup::OnInitDialog() {
  if (datum_ == nullptr) return;
  if (datum_->m_TargetSpheroid != nullptr) chooser_ = *datum_->m_TargetSpheroid;
  // The lists are the selection properties' own, bound to the same records.
  type_ = std::make_unique<CMFCPropertyGridDatumTypeProperty>(datum_, true, true, 0);
  name_ = std::make_unique<CMFCPropertyGridDatumNameProperty>(datum_, true, true, 0);
  spheroid_ =
      std::make_unique<CMFCPropertyGridSpheroidNameProperty>("Spheroid", &chooser_, false, 0);
  spheroid_->SetSelect(true);
  if (datum_->m_TargetProjection != nullptr) {
    projection_type_ = std::make_unique<CMFCPropertyGridProjectionTypeProperty>(
        datum_->m_TargetProjection, true, 0);
    projection_ = std::make_unique<CMFCPropertyGridProjectionNameProperty>(
        datum_->m_TargetProjection, true, 0);
  }
  RefreshLists();
}

void CWGS84Setup::RefreshLists() {
  name_->Update();
  if (projection_type_ != nullptr) {
    projection_type_->SetSelect(true);
    projection_->SetSelect(true);
  }
  datum_types_ = type_->GetOptions();
  datums_ = name_->GetOptions();
  spheroids_ = spheroid_->GetOptions();
  projection_types_ =
      projection_type_ ? projection_type_->GetOptions() : std::vector<std::string>{};
  projections_ = projection_ ? projection_->GetOptions() : std::vector<std::string>{};
}

bool CWGS84Setup::IsDatumListShown() const {
  return datum_ != nullptr && datum_->m_ShiftType != 0;
}

bool CWGS84Setup::SelectDatumType(const std::string& text) {
  if (type_ == nullptr || !type_->OnUpdateValue(text)) return false;
  RefreshLists();
  return true;
}

bool CWGS84Setup::SelectDatum(const std::string& text) {
  if (name_ == nullptr || !name_->OnUpdateValue(text)) return false;
  RefreshLists();
  return true;
}

bool CWGS84Setup::SelectSpheroid(const std::string& text) {
  if (spheroid_ == nullptr || !spheroid_->OnUpdateValue(text)) return false;
  CSpheroid* target = datum_->m_TargetSpheroid;
  if (target == nullptr) return true;
  target->m_Name = chooser_.m_Name;
  target->m_Country = chooser_.m_Country;
  // Its axes and flattening, with the same rule for an inverse flattening out of range.
  target->SetAxes(chooser_.m_SemiMajorAxis, chooser_.m_InverseFlattening);
  RefreshLists();
  return true;
}

bool CWGS84Setup::SelectProjectionType(const std::string& text) {
  if (projection_type_ == nullptr || !projection_type_->OnUpdateValue(text)) return false;
  RefreshLists();
  return true;
}

bool CWGS84Setup::SelectProjection(const std::string& text) {
  return projection_ != nullptr && projection_->OnUpdateValue(text);
}

std::vector<std::pair<std::string, std::string>> CWGS84Setup::Displays() const {
  std::vector<std::pair<std::string, std::string>> shown;
  if (datum_ == nullptr) return shown;
  const DatumShiftParameters& p = datum_->m_Shift;
  const double factor = GetUnitFactor(unit_mode_, unit_index_, imperial_mode_);
  const auto length = [factor](double metres) { return Printed("%.3lf", metres / factor); };
  shown.emplace_back("Dx", Printed("%.6lf", p.m_DX));
  shown.emplace_back("Dy", Printed("%.6lf", p.m_DY));
  shown.emplace_back("Dz", Printed("%.6lf", p.m_DZ));
  shown.emplace_back("Rx", Printed("%.6lf", p.m_RX));
  shown.emplace_back("Ry", Printed("%.6lf", p.m_RY));
  shown.emplace_back("Rz", Printed("%.6lf", p.m_RZ));
  shown.emplace_back("Scale  Factor (ppm)", Printed("%.6lf", p.m_Scale));
  const bool known =
      p.m_RotationMethod == kPositionVector || p.m_RotationMethod == kCoordinateFrame;
  const RotationMethodText method =
      known ? kRotationMethodTexts[static_cast<std::size_t>(p.m_RotationMethod)]
            : RotationMethodText{};
  shown.emplace_back("Rotation Method", std::string(method.name));
  shown.emplace_back("", std::string(method.remark));
  if (const CSpheroid* s = datum_->m_TargetSpheroid; s != nullptr) {
    shown.emplace_back("To Spheroid",
                       s->m_Country.empty() ? s->m_Name : s->m_Name + " " + s->m_Country);
    shown.emplace_back("Semi - Major Axis", length(s->m_SemiMajorAxis));
    shown.emplace_back("Semi - Minor Axis", length(s->m_SemiMinorAxis));
    shown.emplace_back("Flattening", Printed("%.10lf", s->m_InverseFlattening));
    shown.emplace_back("Eccentricity", Printed("%.10lf", s->m_E2));
    shown.emplace_back("2nd Eccentricity", Printed("%.10lf", s->m_Ep2));
  }
  if (const CProjection* q = datum_->m_TargetProjection; q != nullptr) {
    shown.emplace_back("Lat", FormatAngle(q->m_OriginLatitude, ANGLE_LATITUDE, notation_));
    shown.emplace_back("Lon", FormatAngle(q->m_CentralMeridian, ANGLE_LONGITUDE, notation_));
    shown.emplace_back("Easting", length(q->m_FalseEasting));
    shown.emplace_back("Northing", length(q->m_FalseNorthing));
    shown.emplace_back("Scale Factor", Printed("%12.10lf", q->m_ScaleFactor));
    shown.emplace_back("Ratio  1:", Printed("%.0lf", q->m_ScaleRatio));
  }
  return shown;
}

}  // namespace orvale
