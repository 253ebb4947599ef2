#include "orvale/dialogs/edit_datum.h"

#include <array>
#include <memory>
#include <tuple>

#include "orvale/engine/datum/datum_records.h"
#include "orvale/engine/datum/helmert.h"
#include "orvale/panes/property_kinds.h"
#include "orvale/panes/selection_properties.h"

namespace orvale {
namespace {

constexpr int kFileId = 1, kDescriptionId = 2, kFromSpheroidId = 3, kFromNameId = 4,
              kToSpheroidId = 5, kToNameId = 6, kFirstShiftId = 7, kMethodId = 14, kUseEpochId = 15,
              kReferenceEpochId = 16, kFixedId = 17, kEpochId = 18, kFirstRateId = 19;
constexpr int kFile = 0, kFrom = 1, kTo = 2, kShifts = 3, kTime = 4, kRates = 5;
constexpr int kUserDefinedShifts = 7;
constexpr double kThousand = 1000.0;

struct Row {
  const char* label;
  const char* description;
  const char* format;  // null: a length
};
constexpr std::array<Row, 7> kShiftRows = {{
    {"X Shift (dX)", "Datum Shift X Axis", nullptr},
    {"Y Shift (dY)", "Datum Shift Y Axis", nullptr},
    {"Z Shift (dZ)", "Datum Shift Z Axis", nullptr},
    {"X Rotation (rX)", "Rotation in X Axis", "%+12.6lf\""},
    {"Y Rotation (rY)", "Rotation in Y Axis", "%+12.6lf\""},
    {"Z Rotation (rZ)", "Rotation in Z Axis", "%+12.6lf\""},
    {"Scale Correction (SF)", "Scale Factor as parts per Million", "%12.6lf ppm"},
}};
// The Z rotation's rate is labelled for its axis (the label printed for it repeats
// the Y row's).
constexpr std::array<Row, 7> kRateRows = {{
    {"Rate of X Shift", "Rate of change in X shift per year in Millimetres", "%+12.6lf  mm"},
    {"Rate of Y Shift", "Rate of change in Y shift per year in Millimetres", "%+12.6lf  mm"},
    {"Rate of Z Shift", "Rate of change in Z shift per year in Millimetres", "%+12.6lf  mm"},
    {"Rate of X Rotation", "Rate of change in Rotation of X Axis per year in Milli Arc Seconds",
     "%+12.6lf  (mas)"},
    {"Rate of Y Rotation", "Rate of change in Rotation of Y Axis per year in Milli Arc Seconds",
     "%+12.6lf  (mas)"},
    {"Rate of Z Rotation", "Rate of change in Rotation of Z Axis per year in Milli Arc Seconds",
     "%+12.6lf (mas)"},
    {"Rate of Scale Factor", "Rate of change of the scale factor per year as parts per billion",
     "%12.6lf ppb"},
}};
constexpr const char* kEpochDescription =
    "Use Time Dependant Transformation Parameters with reference to Epoch (t0)";

void AddSide(CMFCPropertyGridProperty* group, CSpheroid* spheroid, int spheroid_id, int name_id) {
  group->Add<CMFCPropertyGridSpheroidNameProperty>("Spheroid", spheroid, false, spheroid_id)
      ->SetSelect(true);
  group
      ->Add<CMFCPropertyGridProperty>("Country", spheroid->m_Country,
                                      "Country where Spheroid Based")
      ->AllowEdit(false);
  group->Add<CMFCPropertyGridProperty>("Name", "", "Enter name for the datum", name_id);
}

}  // namespace

CEditDatum::CEditDatum(CWnd* parent) : CRecordEditDialog(parent) {
  datum_.m_TargetSpheroid = &to_spheroid_;
  datum_.m_ShiftType = kUserDefinedShifts;
}

bool CEditDatum::OnInitDialog() {
  BeginGrid("Enter file name for the datum", DatumRecordExtension(DatumRecordKind::kHelmert));
  FileName()->GetParent()->Add<CMFCPropertyGridProperty>(
      "Description", "", "Enter name for the datum", kDescriptionId);
  auto from = std::make_unique<CMFCPropertyGridProperty>("From");
  AddSide(from.get(), &datum_.m_Spheroid, kFromSpheroidId, kFromNameId);
  Grid().AddProperty(std::move(from));
  auto to = std::make_unique<CMFCPropertyGridProperty>("To");
  AddSide(to.get(), &to_spheroid_, kToSpheroidId, kToNameId);
  Grid().AddProperty(std::move(to));

  auto shifts = std::make_unique<CMFCPropertyGridProperty>("Shifts");
  for (std::size_t i = 0; i < kShiftRows.size(); ++i) {
    const Row& row = kShiftRows[i];
    const int id = kFirstShiftId + static_cast<int>(i);
    if (row.format == nullptr) {
      shifts->Add<CMFCPropertyGridMetricProperty>(row.label, 0.0, kHorizontalLength,
                                                  row.description, id);
    } else {
      shifts->Add<CMFCPropertyGridDouble>(row.label, 0.0, row.format, row.description, id);
    }
  }
  auto* method = shifts->Add<CMFCPropertyGridProperty>("Rotation Method", "",
                                                       "Method rotations applied", kMethodId);
  for (const RotationMethodText& text : kRotationMethodTexts)
    method->AddOption(std::string(text.name));
  method->AllowEdit(false);
  shifts->Add<CMFCPropertyGridProperty>("", "")->AllowEdit(false);
  Grid().AddProperty(std::move(shifts));

  auto time =
      std::make_unique<CMFCPropertyGridProperty>("Time Dependant Transformation Parameters");
  time->Add<CMFCPropertyGridBool>("Epoch (t0)", false, kEpochDescription, kUseEpochId);
  time->Add<CMFCPropertyGridDouble>("Reference Epoch", 0.0, "%11.6lf",
                                    "Decimal Year of the Reference Epoch", kReferenceEpochId);
  time->Add<CMFCPropertyGridBool>("Fixed (t)", false, kEpochDescription, kFixedId);
  time->Add<CMFCPropertyGridDouble>("Transformation Epoch", 0.0, "%11.6lf",
                                    "Decimal Year of the Epoch used in the Transformation",
                                    kEpochId);
  Grid().AddProperty(std::move(time));

  auto rates = std::make_unique<CMFCPropertyGridProperty>("Rate of Change per Year");
  for (std::size_t i = 0; i < kRateRows.size(); ++i) {
    rates->Add<CMFCPropertyGridDouble>(kRateRows[i].label, 0.0, kRateRows[i].format,
                                       kRateRows[i].description,
                                       kFirstRateId + static_cast<int>(i));
  }
  Grid().AddProperty(std::move(rates));
  Redraw();
  return true;
}

void CEditDatum::SetFileName(std::string_view title) {
  SetFileTitle(title);
  // A file that cannot be read leaves the held record as it was.
  CDatum loaded;
  CSpheroid loaded_target;
  loaded.m_TargetSpheroid = &loaded_target;
  const std::string path =
      std::string(title) + "." + std::string(DatumRecordExtension(DatumRecordKind::kHelmert));
  if (loaded.Load(path, DatumRecordKind::kHelmert)) {
    datum_ = loaded;
    to_spheroid_ = loaded_target;
    datum_.m_TargetSpheroid = &to_spheroid_;
    datum_.m_ShiftType = kUserDefinedShifts;
  }
  Redraw();
}

void CEditDatum::Redraw() {
  if (Grid().GetPropertyCount() <= kRates) return;
  CDatum& d = datum_;
  DatumShiftParameters& p = d.m_Shift;
  FileName()->GetParent()->GetSubItem(1)->SetValue(d.m_ShiftStatus);
  for (const auto& [group, spheroid, name] : {std::tuple(kFrom, &d.m_Spheroid, &d.m_FromName),
                                              std::tuple(kTo, &to_spheroid_, &d.m_ToName)}) {
    CMFCPropertyGridProperty* side = Grid().GetProperty(group);
    side->GetSubItem(0)->SetValue(spheroid->m_Name);
    side->GetSubItem(1)->SetValue(spheroid->m_Country);
    side->GetSubItem(1)->Show(!spheroid->m_Country.empty());
    side->GetSubItem(2)->SetValue(*name);
  }
  CMFCPropertyGridProperty* shifts = Grid().GetProperty(kShifts);
  const std::array<double*, 7> values = HelmertValues(p), rates = HelmertRates(p);
  for (std::size_t i = 0; i < 7; ++i) {
    const double shown = i >= 3 && milli_ ? *values[i] * kThousand : *values[i];
    shifts->GetSubItem(static_cast<int>(i))->SetValue(shown);
    Grid().GetProperty(kRates)->GetSubItem(static_cast<int>(i))->SetValue(*rates[i] * kThousand);
  }
  const bool known =
      p.m_RotationMethod == kPositionVector || p.m_RotationMethod == kCoordinateFrame;
  const RotationMethodText text =
      known ? kRotationMethodTexts[static_cast<std::size_t>(p.m_RotationMethod)]
            : RotationMethodText{};
  shifts->GetSubItem(7)->SetValue(std::string(text.name));
  shifts->GetSubItem(8)->SetValue(std::string(text.remark));
  CMFCPropertyGridProperty* time = Grid().GetProperty(kTime);
  time->GetSubItem(0)->SetValue(p.m_TimeDependent == 1);
  time->GetSubItem(1)->SetValue(p.m_ReferenceEpoch);
  time->GetSubItem(2)->SetValue(p.m_UseEpoch == 1);
  time->GetSubItem(3)->SetValue(p.m_Epoch);
  ShowUnits();
  ShowEpochRows();
}

void CEditDatum::ShowEpochRows() {
  const DatumShiftParameters& p = datum_.m_Shift;
  const bool time_dependent = p.m_TimeDependent == 1;
  CMFCPropertyGridProperty* time = Grid().GetProperty(kTime);
  time->GetSubItem(1)->Show(time_dependent);
  time->GetSubItem(2)->Show(time_dependent);
  time->GetSubItem(3)->Show(time_dependent && p.m_UseEpoch == 1);
  Grid().GetProperty(kRates)->Show(time_dependent);
  for (int i = 0; i < Grid().GetProperty(kRates)->GetSubItemsCount(); ++i)
    Grid().GetProperty(kRates)->GetSubItem(i)->Show(time_dependent);
}

void CEditDatum::ShowUnits() {
  CMFCPropertyGridProperty* shifts = Grid().GetProperty(kShifts);
  for (int i = 3; i <= 5; ++i) {
    static_cast<CMFCPropertyGridDouble*>(shifts->GetSubItem(i))
        ->SetFormat(milli_ ? "%+12.6lf (mas)" : "%+12.6lf\"");
  }
  static_cast<CMFCPropertyGridDouble*>(shifts->GetSubItem(6))
      ->SetFormat(milli_ ? "%12.6lf ppb" : "%12.6lf ppm");
}

void CEditDatum::OnBnClickedUnits() {
  milli_ = !milli_;
  Redraw();
}

LRESULT CEditDatum::OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) {
  CDatum& d = datum_;
  DatumShiftParameters& p = d.m_Shift;
  const int id = property->GetData();
  const double value = property->GetValue().AsDouble();
  const std::string text = property->GetValue().AsText();
  if (id == kFileId) {
    SetFileName(text);
    return 0;
  }
  if (id == kDescriptionId) d.m_ShiftStatus = text;
  if (id == kFromNameId) d.m_FromName = text;
  if (id == kToNameId) d.m_ToName = text;
  // [3] and [5]: the selection property has loaded the spheroid; its country follows.
  if (id >= kFirstShiftId && id < kFirstShiftId + 7) {
    const std::size_t i = static_cast<std::size_t>(id - kFirstShiftId);
    *HelmertValues(p)[i] = i >= 3 && milli_ ? value / kThousand : value;
  }
  if (id == kMethodId)
    p.m_RotationMethod = text == kRotationMethodTexts[1].name ? kCoordinateFrame : kPositionVector;
  if (id == kUseEpochId) p.m_TimeDependent = property->GetValue().AsBool() ? 1 : 0;
  if (id == kFixedId) p.m_UseEpoch = property->GetValue().AsBool() ? 1 : 0;
  if (id == kReferenceEpochId) p.m_ReferenceEpoch = value;
  if (id == kEpochId) p.m_Epoch = value;
  if (id >= kFirstRateId && id < kFirstRateId + 7)
    *HelmertRates(p)[static_cast<std::size_t>(id - kFirstRateId)] = value / kThousand;
  Redraw();
  return 0;
}

bool CEditDatum::SaveRecord() {
  return datum_.Save(FileTitle());
}

}  // namespace orvale
