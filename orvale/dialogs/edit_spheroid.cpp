#include "orvale/dialogs/edit_spheroid.h"

#include <memory>
#include <string>

#include "orvale/panes/property_kinds.h"

namespace orvale {
namespace {

constexpr int kFileId = 1, kNameId = 2, kCountryId = 3, kMajorId = 4, kMinorId = 5,
              kFlatteningId = 6;
constexpr int kSpheroidGroup = 1;

// 1 for a sphere, else a / (a - b).
double InverseFlatteningOf(double a, double b) {
  return a == b ? 1.0 : a / (a - b);
}

}  // namespace

bool CEditSpheroid::OnInitDialog() {
  BeginGrid("Enter file name for the spheroid ", "SPD");
  auto group = std::make_unique<CMFCPropertyGridProperty>("Spheroid");
  group->Add<CMFCPropertyGridProperty>("EPSG", std::to_string(spheroid_.m_EPSGNo))->Show(false);
  group->Add<CMFCPropertyGridProperty>("Name", spheroid_.m_Name, "Enter Name of Spheroid", kNameId);
  group->Add<CMFCPropertyGridProperty>("Country", spheroid_.m_Country,
                                       "Country where Spheroid Based", kCountryId);
  group->Add<CMFCPropertyGridMetricProperty>("Semi Major Axis", 0.0, kHorizontalLength,
                                             "Spheroid Semi Major Axis", kMajorId);
  group->Add<CMFCPropertyGridMetricProperty>("Semi Minor Axis", 0.0, kHorizontalLength,
                                             "Spheroid Semi Minor Axis", kMinorId);
  group->Add<CMFCPropertyGridDouble>("Inverse Flattening", 0.0, "%16.10lf",
                                     "Spheroid Inverse Flattening", kFlatteningId);
  for (const char* name : {"Ecentricity Squared", "Ecentricity", "Epslom"})
    group->Add<CMFCPropertyGridDouble>(name, 0.0, "%16.10lf")->AllowEdit(false);
  Grid().AddProperty(std::move(group));
  Redraw();
  return true;
}

void CEditSpheroid::SetFileName(std::string_view title) {
  SetFileTitle(title);
  // A file that cannot be read leaves the held record as it was.
  CSpheroid loaded;
  if (loaded.Load(std::string(title) + ".SPD")) spheroid_ = loaded;
  Redraw();
}

void CEditSpheroid::Redraw() {
  if (Grid().GetPropertyCount() <= kSpheroidGroup) return;
  CMFCPropertyGridProperty* group = Grid().GetProperty(kSpheroidGroup);
  const CSpheroid& s = spheroid_;
  group->GetSubItem(0)->SetValue(std::to_string(s.m_EPSGNo));
  group->GetSubItem(1)->SetValue(s.m_Name);
  group->GetSubItem(2)->SetValue(s.m_Country);
  const double values[] = {
      s.m_SemiMajorAxis, s.m_SemiMinorAxis, s.m_InverseFlattening, s.m_E2, s.m_E, s.m_Ep2};
  for (int i = 0; i < 6; ++i)
    group->GetSubItem(3 + i)->SetValue(values[i]);
}

LRESULT CEditSpheroid::OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) {
  CSpheroid& s = spheroid_;
  const double value = property->GetValue().AsDouble();
  switch (property->GetData()) {
    case kFileId:
      SetFileName(property->GetValue().AsText());
      return 0;
    case kNameId:
      s.m_Name = property->GetValue().AsText();
      break;
    case kCountryId:
      s.m_Country = property->GetValue().AsText();
      break;
    case kMajorId:
      s.m_SemiMajorAxis = value;
      if (!(s.m_InverseFlattening > 0.0)) {
        if (s.m_SemiMinorAxis == 0.0) s.m_SemiMinorAxis = value;
        s.m_InverseFlattening = InverseFlatteningOf(value, s.m_SemiMinorAxis);
      } else {
        s.m_SemiMinorAxis = (1.0 - 1.0 / s.m_InverseFlattening) * value;
      }
      s.ComputeConstants();
      break;
    case kMinorId:
      s.m_SemiMinorAxis = value;
      s.m_InverseFlattening = InverseFlatteningOf(s.m_SemiMajorAxis, value);
      s.ComputeConstants();
      break;
    case kFlatteningId:
      // Outside 290 to 310 the International 297 stands in, as for every spheroid.
      s.SetAxes(s.m_SemiMajorAxis, value);
      break;
    default:
      return 0;
  }
  Redraw();
  return 0;
}

bool CEditSpheroid::SaveRecord() {
  return spheroid_.Save(FileTitle());
}

}  // namespace orvale
