#include "orvale/panes/parameter_transformation_pane.h"

#include <array>
#include <cstdio>
#include <memory>

#include "orvale/engine/datum/datum_records.h"
#include "orvale/engine/datum/helmert.h"
#include "orvale/panes/datum_shift_pane.h"
#include "orvale/panes/property_kinds.h"
#include "orvale/panes/selection_properties.h"
#include "orvale/platform/files.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"

namespace orvale {
namespace {

constexpr int kFile = 0, kFrom = 1, kFromSpheroid = 2, kValues = 3, kRates = 4, kTo = 6,
              kToSpheroid = 7, kFixedValues = 8;
constexpr int kUserDefinedShifts = 7;
constexpr double kRateUnits = 1000.0;  // rates show in mm, mas and ppb

struct ValueRow {
  const char* label;
  const char* description;
  const char* format;
};

// The rates; the Z rotation's label is ours, its description names the Z axis.
constexpr std::array<ValueRow, 7> kRateRows = {{
    {"Rate of X Shift", "Rate of change in X shift per year in Millimetres", "%+10.6lf  mm"},
    {"Rate of Y Shift", "Rate of change in Y shift per year in Millimetres", "%+10.6lf  mm"},
    {"Rate of Z Shift", "Rate of change in Z shift per year in Millimetres", "%+10.6lf  mm"},
    {"Rate of X Rotation", "Rate of change in Rotation of X Axis per year in Milli Arc Seconds",
     "%+10.6lf  (mas)"},
    {"Rate of Y Rotation", "Rate of change in Rotation of Y Axis per year in Milli Arc Seconds",
     "%+10.6lf  (mas)"},
    {"Rate of Z Rotation", "Rate of change in Rotation of Z Axis per year in Milli Arc Seconds",
     "%+10.6lf (mas)"},
    {"Rate of Scale Factor", "Rate of change of the scale factor per year as parts per billion",
     "%12.6lf ppb"},
}};

std::string MethodName(int method) {
  const bool known = method >= 0 && method < static_cast<int>(kRotationMethodTexts.size());
  return known ? std::string(kRotationMethodTexts[static_cast<std::size_t>(method)].name) : "";
}

std::string Printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Printed(const char* format, const std::string& text, double value) {
  const int length = std::snprintf(nullptr, 0, format, text.c_str(), value);
  std::string out(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
  std::snprintf(out.data(), out.size(), format, text.c_str(), value);
  out.resize(out.size() - 1);
  return out;
}

std::string Dotless(std::string text) {
  for (char& c : text)
    if (c == '.') c = '+';
  return text;
}

}  // namespace

CParameterTransformationPane::CParameterTransformationPane(const IClock& clock) : clock_(clock) {
  edited_.m_TargetSpheroid = &to_spheroid_;
  edited_.m_ShiftType = kUserDefinedShifts;
  edited_.m_Shift.m_TimeDependent = 1;
}

bool CParameterTransformationPane::Create(CWnd* parent, int id) {
  if (!CreatePane(parent, "Parameter Transformation", id)) return false;
  InitPropList();
  CConfigFile settings;
  if (settings.OpenForRead("Datum File To Edit")) {
    const std::string title = settings.ReadString();
    static_cast<void>(settings.Close());
    if (!title.empty()) SetFileName(title);
  }
  Renew();
  Compute();
  return true;
}

void CParameterTransformationPane::InitPropList() {
  BeginPropList();
  auto file = std::make_unique<CMFCPropertyGridProperty>("File");
  file->Add<CMFCPropertyGridProperty>("Name", "", "Enter file name for the datum", kFileId)
      ->AllowEdit(false);
  file->Add<CMFCPropertyGridProperty>("Description", "", "Enter name for the datum",
                                      kDescriptionId);
  Grid().AddProperty(std::move(file));

  auto from = std::make_unique<CMFCPropertyGridProperty>("From");
  from->Add<CMFCPropertyGridProperty>("Name", "", "Enter name for the datum", kFromNameId);
  from->Add<CMFCPropertyGridBool>("Use (t0)", true)->Enable(false);
  from->Add<CMFCPropertyGridDouble>("Reference Epoch (t0)", 0.0, "%11.6lf",
                                    "Decimal Year of the Reference Epoch", kReferenceEpochId);
  Grid().AddProperty(std::move(from));

  auto spheroid = std::make_unique<CMFCPropertyGridProperty>("Spheroid");
  spheroid->Add<CMFCPropertyGridProperty>("Name", "")->AllowEdit(false);
  spheroid->Add<CMFCPropertyGridProperty>("EPSG Number", "")->AllowEdit(false);
  spheroid
      ->Add<CMFCPropertyGridMetricProperty>("Semi Major Axis", 0.0, kHorizontalLength,
                                            "Spheroid Semi Major Axis")
      ->AllowEdit(false);
  spheroid
      ->Add<CMFCPropertyGridDouble>("Inverse Flattening", 0.0, "%16.10lf",
                                    "Spheroid Inverse Flattening")
      ->AllowEdit(false);
  Grid().AddProperty(std::move(spheroid));

  auto values = std::make_unique<CMFCPropertyGridProperty>("14 Parameter time-dependant Shifts");
  AddShiftParameterRows(values.get(), kFirstValueId);
  auto* method =
      values->Add<CMFCPropertyGridProperty>("Rotation Method", MethodName(kPositionVector),
                                            "Method rotations applied", kRotationMethodId);
  for (const RotationMethodText& text : kRotationMethodTexts)
    method->AddOption(std::string(text.name));
  method->AllowEdit(false);
  Grid().AddProperty(std::move(values));

  auto rates = std::make_unique<CMFCPropertyGridProperty>("Rate of Change per Year");
  for (std::size_t i = 0; i < kRateRows.size(); ++i) {
    rates->Add<CMFCPropertyGridDouble>(kRateRows[i].label, 0.0, kRateRows[i].format,
                                       kRateRows[i].description,
                                       kFirstRateId + static_cast<int>(i));
  }
  Grid().AddProperty(std::move(rates));

  auto save_edited = std::make_unique<CMFCPropertyGridProperty>("Save time-dependant Shifts");
  save_edited->Add<CMFCPropertyGridButton>(
      "Write File", "SAVE", "Write 14 Parameter time-dependant Shifts to file ", kSaveEditedId);
  Grid().AddProperty(std::move(save_edited));

  auto to = std::make_unique<CMFCPropertyGridProperty>("To");
  to->Add<CMFCPropertyGridProperty>("Name", "", "Enter name for the datum", kToNameId);
  to->Add<CMFCPropertyGridBool>(
      "Fixed (t)", false,
      "Fixed Time Dependant Transformation Parameters with reference to Epoch (t0)", kFixedId);
  to->Add<CMFCPropertyGridDouble>("Transformation Epoch (tn)", 0.0, "%11.6lf",
                                  "Decimal Year of the Epoch used in the Transformation", kEpochId);
  Grid().AddProperty(std::move(to));

  auto to_spheroid = std::make_unique<CMFCPropertyGridProperty>("Spheroid");
  to_spheroid
      ->Add<CMFCPropertyGridSpheroidNameProperty>("Spheroid", &to_spheroid_, false, kToSpheroidId)
      ->SetSelect(true);
  to_spheroid
      ->Add<CMFCPropertyGridMetricProperty>("Semi Major Axis", 0.0, kHorizontalLength,
                                            "Spheroid Semi Major Axis")
      ->AllowEdit(false);
  to_spheroid
      ->Add<CMFCPropertyGridDouble>("Inverse Flattening", 0.0, "%16.10lf",
                                    "Spheroid Inverse Flattening")
      ->AllowEdit(false);
  Grid().AddProperty(std::move(to_spheroid));

  auto fixed = std::make_unique<CMFCPropertyGridProperty>("7 Parameter Shifts");
  AddShiftParameterRows(fixed.get(), 0);
  fixed->Add<CMFCPropertyGridProperty>("Rotation Method", "")->AllowEdit(false);
  Grid().AddProperty(std::move(fixed));

  auto save_fixed = std::make_unique<CMFCPropertyGridProperty>("Save 7 Parameter Shifts");
  save_fixed->Add<CMFCPropertyGridButton>("Write File", "SAVE", "Write 7 Parameter Shifts to file ",
                                          kSaveFixedId);
  Grid().AddProperty(std::move(save_fixed));
  RefreshFileList();
}

void CParameterTransformationPane::RefreshFileList() {
  CMFCPropertyGridProperty* name = Grid().GetProperty(kFile)->GetSubItem(0);
  name->RemoveAllOptions();
  for (const std::string& title : GetValidDatumFiles())
    name->AddOption(title);
}

std::vector<std::string> CParameterTransformationPane::GetValidDatumFiles() const {
  const std::string folder = RecordFolder();
  if (folder.empty()) return {};
  const std::string extension(DatumRecordExtension(DatumRecordKind::kHelmert));
  std::vector<std::string> titles;
  for (std::string name : FindFiles(folder + "*." + extension)) {
    name.resize(name.size() - extension.size() - 1);
    titles.push_back(std::move(name));
  }
  return titles;
}

bool CParameterTransformationPane::SetFileName(std::string_view title) {
  edited_.m_ShiftType = kUserDefinedShifts;
  const bool read = edited_.Load(
      std::string(title) + "." + std::string(DatumRecordExtension(DatumRecordKind::kHelmert)),
      DatumRecordKind::kHelmert);
  edited_.m_ShiftType = kUserDefinedShifts;
  edited_.m_Shift.m_TimeDependent = 1;
  WriteSettings();
  Renew();
  Compute();
  return read;
}

void CParameterTransformationPane::WriteSettings() const {
  CConfigFile settings;
  if (!settings.OpenForWrite("Datum File To Edit")) return;
  settings.WriteString("File Name", edited_.m_FileTitle);
  // A settings file that cannot be written only loses the choice for the next run.
  static_cast<void>(settings.Close());
}

void CParameterTransformationPane::Renew() {
  DatumShiftParameters& p = edited_.m_Shift;
  Grid().GetProperty(kFile)->GetSubItem(0)->SetValue(edited_.m_FileTitle);
  Grid().GetProperty(kFile)->GetSubItem(1)->SetValue(edited_.m_ShiftStatus);
  CMFCPropertyGridProperty* from = Grid().GetProperty(kFrom);
  from->GetSubItem(0)->SetValue(edited_.m_FromName);
  from->GetSubItem(1)->SetValue(p.m_TimeDependent == 1);
  from->GetSubItem(2)->SetValue(p.m_ReferenceEpoch);
  const CSpheroid& s = edited_.m_Spheroid;
  CMFCPropertyGridProperty* spheroid = Grid().GetProperty(kFromSpheroid);
  spheroid->GetSubItem(0)->SetValue(s.m_Name);
  spheroid->GetSubItem(1)->SetValue(std::to_string(s.m_EPSGNo));
  spheroid->GetSubItem(2)->SetValue(s.m_SemiMajorAxis);
  spheroid->GetSubItem(3)->SetValue(s.m_InverseFlattening);
  CMFCPropertyGridProperty* values = Grid().GetProperty(kValues);
  const std::array<double*, 7> base = HelmertValues(p), rates = HelmertRates(p);
  for (int i = 0; i < 7; ++i) {
    values->GetSubItem(i)->SetValue(*base[static_cast<std::size_t>(i)]);
    Grid().GetProperty(kRates)->GetSubItem(i)->SetValue(*rates[static_cast<std::size_t>(i)] *
                                                        kRateUnits);
  }
  values->GetSubItem(7)->SetValue(MethodName(p.m_RotationMethod));
  CMFCPropertyGridProperty* to = Grid().GetProperty(kTo);
  to->GetSubItem(0)->SetValue(edited_.m_ToName);
  to->GetSubItem(1)->SetValue(p.m_UseEpoch == 1);
  UpdateToSpheroid();
}

void CParameterTransformationPane::UpdateToSpheroid() {
  CMFCPropertyGridProperty* group = Grid().GetProperty(kToSpheroid);
  group->GetSubItem(0)->Redraw();
  group->GetSubItem(1)->SetValue(to_spheroid_.m_SemiMajorAxis);
  group->GetSubItem(2)->SetValue(to_spheroid_.m_InverseFlattening);
}

void CParameterTransformationPane::Compute() {
  const DatumShiftParameters& p = edited_.m_Shift;
  const bool fixed_epoch = p.m_UseEpoch == 1;
  epoch_ = fixed_epoch ? p.m_Epoch : GetCurrentEpoch(clock_);
  CMFCPropertyGridProperty* epoch_row = Grid().GetProperty(kTo)->GetSubItem(2);
  epoch_row->SetValue(epoch_);
  epoch_row->AllowEdit(fixed_epoch);

  fixed_ = edited_;
  DatumShiftParameters& f = fixed_.m_Shift;
  f.m_TimeDependent = 0;
  f.m_UseEpoch = 1;
  for (double* rate : HelmertRates(f))
    *rate = 0.0;
  f.m_ReferenceEpoch = 0.0;
  f.m_Epoch = 0.0;
  // The set at tn: with "Fixed (t)" clear tn is today's epoch, so the fixed set follows
  // the clock rather than the epoch last stored.
  const double dt = epoch_ - p.m_ReferenceEpoch;
  DatumShiftParameters base = p;
  const std::array<double*, 7> values = HelmertValues(f), from = HelmertValues(base),
                               rates = HelmertRates(base);
  CMFCPropertyGridProperty* group = Grid().GetProperty(kFixedValues);
  for (std::size_t i = 0; i < 7; ++i) {
    *values[i] = *from[i] + dt * *rates[i];
    group->GetSubItem(static_cast<int>(i))->SetValue(*values[i]);
  }
  group->GetSubItem(7)->SetValue(MethodName(f.m_RotationMethod));
}

LRESULT CParameterTransformationPane::OnPropertyChanged(WPARAM,
                                                        CMFCPropertyGridProperty* property) {
  DatumShiftParameters& p = edited_.m_Shift;
  const int id = property->GetData();
  const double value = property->GetValue().AsDouble();
  if (id == kFileId) {
    SetFileName(property->GetValue().AsText());
  } else if (id == kDescriptionId || id == kFromNameId || id == kToNameId) {
    std::string& text = id == kDescriptionId ? edited_.m_ShiftStatus
                        : id == kFromNameId  ? edited_.m_FromName
                                             : edited_.m_ToName;
    text = property->GetValue().AsText();
    Compute();
  } else if (id == kReferenceEpochId) {
    p.m_ReferenceEpoch = value;
    Compute();
  } else if (id >= kFirstValueId && id < kFirstValueId + 7) {
    *HelmertValues(p)[static_cast<std::size_t>(id - kFirstValueId)] = value;
    Compute();
  } else if (id == kRotationMethodId) {
    p.m_RotationMethod = property->GetValue().AsText() == kRotationMethodTexts[1].name
                             ? kCoordinateFrame
                             : kPositionVector;
    Compute();
  } else if (id >= kFirstRateId && id < kFirstRateId + 7) {
    *HelmertRates(p)[static_cast<std::size_t>(id - kFirstRateId)] = value / kRateUnits;
    Compute();
  } else if (id == kFixedId) {
    p.m_UseEpoch = property->GetValue().AsBool() ? 1 : 0;
    Compute();
  } else if (id == kEpochId) {
    p.m_Epoch = value;
    Compute();
  } else if (id == kToSpheroidId) {
    UpdateToSpheroid();
  } else if (id == kSaveEditedId || id == kSaveFixedId) {
    // A record that cannot be written leaves the list as it was.
    if (id == kSaveEditedId ? SaveEdited() : SaveFixed()) RefreshFileList();
    PostToParent(GeodeticUpdateMessage());
  }
  return 0;
}

std::string CParameterTransformationPane::TrimNumber(std::string text) {
  if (text.find('.') == std::string::npos) return text;
  while (!text.empty() && (text.back() == ' ' || text.back() == '0'))
    text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

std::string CParameterTransformationPane::EditedTitle() const {
  return Dotless(
      TrimNumber(Printed("%s_t0_%.6lf", edited_.m_FromName, edited_.m_Shift.m_ReferenceEpoch)));
}

std::string CParameterTransformationPane::FixedTitle() const {
  const std::string from = Dotless(
      TrimNumber(Printed("%s_t0_%.6lf", fixed_.m_FromName, edited_.m_Shift.m_ReferenceEpoch)));
  const std::string title = from + "_" + fixed_.m_ToName + "_tn_";
  return Dotless(TrimNumber(Printed("%s%.6lf", title, epoch_)));
}

bool CParameterTransformationPane::SaveEdited() {
  edited_.m_ShiftStatus = TrimNumber(Printed("t0_%.6lf", edited_.m_Shift.m_ReferenceEpoch));
  edited_.m_FileTitle = EditedTitle();
  Grid().GetProperty(kFile)->GetSubItem(1)->SetValue(edited_.m_ShiftStatus);
  return edited_.Save(edited_.m_FileTitle);
}

bool CParameterTransformationPane::SaveFixed() {
  fixed_.m_ShiftStatus = TrimNumber(Printed("t0:%.6lf", edited_.m_Shift.m_ReferenceEpoch)) +
                         TrimNumber(Printed(" tn:%.6lf", epoch_));
  fixed_.m_FileTitle = FixedTitle();
  return fixed_.Save(fixed_.m_FileTitle);
}

}  // namespace orvale
