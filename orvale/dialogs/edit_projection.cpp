#include "orvale/dialogs/edit_projection.h"

#include <memory>
#include <string>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/panes/property_kinds.h"
#include "orvale/panes/selection_properties.h"

namespace orvale {
namespace {

constexpr int kFileId = 1, kNameId = 2, kCountryId = 3, kTypeId = 4, kMethodId = 5, kStereoId = 6,
              kSpheroidId = 7, kOriginLatitudeId = 8, kOriginLongitudeId = 9, kFirstParallelId = 10,
              kSecondParallelId = 11, kStandardParallelId = 12, kFalseOriginId = 13,
              kFalseEastingId = 14, kFalseNorthingId = 15, kScaleId = 16;
constexpr int kSpheroidGroup = 1, kProjectionGroup = 2, kOriginGroup = 3;

// Rows of the "Origin" group, in order.
enum OriginRow {
  kOriginLatitude,
  kFirstParallel,
  kSecondParallel,
  kStandardParallel,
  kFalseOrigin,
  kNorthingOrigin,
  kOriginLongitude,
  kFalseEasting,
  kFalseNorthing,
  kScaleFactor,
  kScaleRatio,
};

}  // namespace

CEditProjection::CEditProjection(CWnd* parent) : CRecordEditDialog(parent) {
  projection_.m_Spheroid = &spheroid_;
  static_cast<void>(projection_.SetFromCatalogue(0, PROJECTION_TRANSVERSE_MERCATOR, 0));
}

bool CEditProjection::OnInitDialog() {
  BeginGrid("Enter file name for the Projection", "PRJ");
  auto spheroid = std::make_unique<CMFCPropertyGridProperty>("Spheroid");
  spheroid->Add<CMFCPropertyGridSpheroidNameProperty>("Spheroid", &spheroid_, false, kSpheroidId)
      ->SetSelect(true);
  spheroid->Add<CMFCPropertyGridProperty>("Country", "", "Country where Spheroid Based")
      ->AllowEdit(false);
  Grid().AddProperty(std::move(spheroid));

  auto projection = std::make_unique<CMFCPropertyGridProperty>("Projection");
  projection->Add<CMFCPropertyGridProjectionTypeProperty>(&projection_, false, kTypeId)->SetEdit();
  projection->Add<CMFCPropertyGridProperty>("Name", "", "Enter Name of Projection", kNameId);
  projection->Add<CMFCPropertyGridProperty>("Country", "", "Country where Projection Based",
                                            kCountryId);
  projection->Add<CMFCPropertyGridProjectionMethodProperty>(&projection_, kMethodId)
      ->SetSelect(true);
  projection->Add<CMFCPropertyGridStereographicTypeProperty>(&projection_, kStereoId)
      ->SetSelect(true);
  Grid().AddProperty(std::move(projection));

  auto origin = std::make_unique<CMFCPropertyGridProperty>("Origin");
  const auto angle = [&origin](const char* name, int type, const char* description, int id) {
    origin->Add<CMFCPropertyGridAngleProperty>(name, 0.0, type, description, id);
  };
  const auto length = [&origin](const char* name, const char* description, int id) {
    origin->Add<CMFCPropertyGridMetricProperty>(name, 0.0, kHorizontalLength, description, id);
  };
  angle("Origin Latitude", ANGLE_LATITUDE, "Origin Latitude of the Projection", kOriginLatitudeId);
  angle("1st Standard Parallel", ANGLE_LATITUDE, "First Standard Parallel of the Projection",
        kFirstParallelId);
  angle("2nd Standard Parallel", ANGLE_LATITUDE, "Second Standard Parallel of the Projection",
        kSecondParallelId);
  angle("Standard Parallel", ANGLE_LATITUDE, "Standard Parallel of the Stereographic Projection",
        kStandardParallelId);
  angle("False Origin (Latitude)", ANGLE_LATITUDE,
        "Standard Parallel of the Stereographic Projection", kFalseOriginId);
  length("Northing Origin", "Northing origin of Mercator Projection", 0);
  origin->GetSubItem(kNorthingOrigin)->AllowEdit(false);
  angle("Origin Longitude", ANGLE_LONGITUDE, "Origin Longitude of the Projection",
        kOriginLongitudeId);
  length("False Easting", "False Easting for Projection", kFalseEastingId);
  length("False Northing", "False Northing for Projection", kFalseNorthingId);
  origin->Add<CMFCPropertyGridDouble>("Scale Factor", 0.0, "%16.10lf",
                                      "Scale Factor for Projection", kScaleId);
  origin->Add<CMFCPropertyGridDouble>("Scale Ratio", 0.0, "%6.0lf")->AllowEdit(false);
  Grid().AddProperty(std::move(origin));
  Redraw();
  return true;
}

void CEditProjection::SetFileName(std::string_view title) {
  SetFileTitle(title);
  // A file that cannot be read leaves the held record as it was.
  CSpheroid spheroid;
  CProjection loaded;
  loaded.m_Spheroid = &spheroid;
  if (LoadProjectionRecord(loaded, std::string(title) + ".PRJ")) {
    spheroid_ = spheroid;
    projection_ = loaded;
    projection_.m_Spheroid = &spheroid_;
    projection_.Initialise();
  }
  Redraw();
}

void CEditProjection::Redraw() {
  if (Grid().GetPropertyCount() <= kOriginGroup) return;
  const CProjection& p = projection_;
  CMFCPropertyGridProperty* spheroid = Grid().GetProperty(kSpheroidGroup);
  spheroid->GetSubItem(0)->Redraw();
  spheroid->GetSubItem(1)->SetValue(spheroid_.m_Country);
  CMFCPropertyGridProperty* projection = Grid().GetProperty(kProjectionGroup);
  projection->GetSubItem(1)->SetValue(p.m_Name);
  projection->GetSubItem(2)->SetValue(p.m_Country);
  if (auto* method =
          dynamic_cast<CMFCPropertyGridProjectionMethodProperty*>(projection->GetSubItem(3)))
    method->SetSelect(true);
  if (auto* stereo =
          dynamic_cast<CMFCPropertyGridStereographicTypeProperty*>(projection->GetSubItem(4)))
    stereo->SetSelect(true);

  // Only the parameters the type and method use are shown.
  const ProjectionTypeInfo* info = FindProjectionType(p.m_Type);
  const ProjectionParameters uses = info == nullptr ? 0 : info->ParametersOf(p.m_Method);
  const bool polar = (uses & (kUsesPolarStandardParallel | kUsesFalseOriginLatitude)) != 0;
  CMFCPropertyGridProperty* origin = Grid().GetProperty(kOriginGroup);
  const struct {
    int row;
    bool shown;
    double value;
  } rows[] = {
      {kOriginLatitude, (uses & kUsesOriginLatitude) != 0 && !polar, p.m_OriginLatitude},
      {kFirstParallel, (uses & kUsesStandardParallels) != 0, p.m_StandardParallel1},
      {kSecondParallel, (uses & kUsesStandardParallels) != 0, p.m_StandardParallel2},
      {kStandardParallel, (uses & kUsesPolarStandardParallel) != 0 && p.m_StandardParallel1 != 0.0,
       p.m_StandardParallel1},
      {kFalseOrigin, (uses & kUsesFalseOriginLatitude) != 0 && p.m_StandardParallel1 == 0.0,
       p.m_StandardParallel2},
      {kNorthingOrigin, (uses & kUsesNorthingOrigin) != 0, p.m_Param[1]},
      {kOriginLongitude, (uses & kUsesOriginLongitude) != 0, p.m_CentralMeridian},
      {kFalseEasting, (uses & kUsesFalseEasting) != 0, p.m_FalseEasting},
      {kFalseNorthing, (uses & kUsesFalseNorthing) != 0, p.m_FalseNorthing},
      {kScaleFactor, (uses & kUsesScaleFactor) != 0, p.m_ScaleFactor},
      {kScaleRatio, (uses & kUsesScaleFactor) != 0, p.m_ScaleRatio},
  };
  for (const auto& row : rows) {
    origin->GetSubItem(row.row)->Show(row.shown);
    origin->GetSubItem(row.row)->SetValue(row.value);
  }
}

LRESULT CEditProjection::OnPropertyChanged(WPARAM, CMFCPropertyGridProperty* property) {
  CProjection& p = projection_;
  const double value = property->GetValue().AsDouble();
  switch (property->GetData()) {
    case kFileId:
      SetFileName(property->GetValue().AsText());
      return 0;
    case kNameId:
      p.m_Name = property->GetValue().AsText();
      break;
    case kCountryId:
      p.m_Country = property->GetValue().AsText();
      break;
    case kOriginLatitudeId:
      p.m_OriginLatitude = value;
      break;
    case kOriginLongitudeId:
      p.m_CentralMeridian = value;
      break;
    case kFalseEastingId:
      p.m_FalseEasting = value;
      break;
    case kFalseNorthingId:
      p.m_FalseNorthing = value;
      break;
    case kScaleId:
      p.m_ScaleFactor = value;
      break;
    case kFirstParallelId:
      p.m_StandardParallel1 = value;
      break;
    case kSecondParallelId:
      p.m_StandardParallel2 = value;
      break;
    case kStandardParallelId:
      // The stereographic standard parallel, with the false origin and origin cleared.
      p.m_StandardParallel1 = value;
      p.m_StandardParallel2 = 0.0;
      p.m_OriginLatitude = 0.0;
      break;
    case kFalseOriginId:
      p.m_StandardParallel2 = value;
      p.m_StandardParallel1 = 0.0;
      p.m_OriginLatitude = 0.0;
      break;
    default:
      // The selection properties ([4] to [7]) have stored their choice.
      break;
  }
  p.Initialise();
  Redraw();
  return 0;
}

bool CEditProjection::SaveRecord() {
  return SaveProjectionRecord(projection_, FileTitle());
}

}  // namespace orvale
