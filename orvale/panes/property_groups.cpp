#include "orvale/panes/property_groups.h"

#include <array>
#include <string>
#include <string_view>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/panes/property_kinds.h"
#include "orvale/panes/selection_properties.h"

namespace orvale {
namespace {

// Sub-item indices of the projection group.
enum ProjectionRow {
  kTypeRow = 0,
  kNameRow = 1,
  kCountryRow = 2,
  kMethodRow = 3,
  kStereoRow = 4,
  kOriginLatitudeRow = 5,
  kFirstParallelRow = 6,
  kSecondParallelRow = 7,
  kStandardParallelRow = 8,
  kFalseOriginLatitudeRow = 9,
  kNorthingOriginRow = 10,
  kOriginLongitudeRow = 11,
  kFalseEastingRow = 12,
  kFalseNorthingRow = 13,
  kScaleFactorRow = 14,
  kScaleRatioRow = 15,
  kOriginRow = 16,
  kFirstLRow = 17,
  kLastLRow = 27,
  kFirstTRow = 28,
  kLastTRow = 33,
};

// The state-plane table constants: label and format of the eleven "L" rows and the
// six "T" rows. The ninth L row, whose label no source fixes, is "L9".
struct ConstantRow {
  std::string_view label;
  std::string_view format;
};
constexpr std::array<ConstantRow, 11> kLRows = {{{"L1", "%16.2lf"},
                                                 {"L2", "%16.2lf"},
                                                 {"L3", "%16.2lf"},
                                                 {"L4", "%16.2lf"},
                                                 {"L5", "%16.10lf"},
                                                 {"L6", "%16.10lf"},
                                                 {"L7", "%16.0lf"},
                                                 {"L8", "%16.5lf"},
                                                 {"L9", "%16.5lf"},
                                                 {"L10", "%16.5lf"},
                                                 {"L11", "%16.0lf"}}};
constexpr std::array<ConstantRow, 6> kTRows = {{{"T1", "%16.2lf"},
                                                {"T2", "%16.2lf"},
                                                {"T3", "%16.2lf"},
                                                {"T4", "%16.2lf"},
                                                {"T5", "%16.10lf"},
                                                {"T6", "%16.10lf"}}};
static_assert(kFirstLRow + kLRows.size() - 1 == kLastLRow);
static_assert(kFirstTRow + kTRows.size() - 1 == kLastTRow);

// The latitude-origin options of a polar stereographic projection.
constexpr std::array<std::string_view, 4> kStereographicOrigins = {
    "Nautral 90\xB0N", "Nautral 90\xB0S", "Standard Parallel", "False"};

std::string_view TypeName(int type) {
  const ProjectionTypeInfo* info = FindProjectionType(type);
  return info == nullptr ? std::string_view() : info->text;
}

template <typename Property, typename... Arguments>
Property* AddShown(CMFCPropertyGridProperty* group, Arguments&&... arguments) {
  Property* added = group->Add<Property>(std::forward<Arguments>(arguments)...);
  added->AllowEdit(false);
  return added;
}

// A plain read-only text row.
CMFCPropertyGridProperty* AddText(CMFCPropertyGridProperty* group, std::string name,
                                  std::string value, std::string description = {}) {
  return AddShown<CMFCPropertyGridProperty>(
      group, std::move(name), CPropertyValue(std::move(value)), std::move(description), 0);
}

void SetNumber(CMFCPropertyGridProperty* group, int index, double value) {
  if (CMFCPropertyGridProperty* item = group->GetSubItem(index))
    item->SetValue(CPropertyValue(value));
}

void ShowRows(CMFCPropertyGridProperty* group, int first, int last, bool show) {
  for (int i = first; i <= last; ++i) {
    if (CMFCPropertyGridProperty* item = group->GetSubItem(i)) item->Show(show);
  }
}

void RedrawRows(CMFCPropertyGridProperty* group, std::initializer_list<int> rows) {
  for (int i : rows) {
    if (CMFCPropertyGridProperty* item = group->GetSubItem(i)) item->Redraw();
  }
}

void AllowEditRow(CMFCPropertyGridProperty* group, int index, bool allow) {
  if (CMFCPropertyGridProperty* item = group->GetSubItem(index)) item->AllowEdit(allow);
}

// Re-enables a selector's list; plain text rows have none to enable.
template <typename Selector>
void SetSelectOn(CMFCPropertyGridProperty* item, bool select) {
  if (auto* selector = dynamic_cast<Selector*>(item)) selector->SetSelect(select);
}

// Step 4 of the projection update: the stereographic latitude origin.
void UpdateStereographicOrigin(CMFCPropertyGridProperty* group, CProjection& p) {
  CMFCPropertyGridProperty* origin = group->GetSubItem(kStereoRow);
  if (origin == nullptr) return;
  const bool polar = p.m_Type == PROJECTION_STEREOGRAPHIC && p.m_Method == 2;
  origin->Show(polar);
  if (!polar) return;
  const auto choose = [origin](std::size_t option) {
    origin->SetValue(CPropertyValue(std::string(kStereographicOrigins[option])));
  };
  if (p.m_OriginLatitude == kHalfPi || p.m_OriginLatitude == -kHalfPi) {
    choose(p.m_OriginLatitude > 0 ? 0 : 1);
    AllowEditRow(group, kOriginLatitudeRow, false);
  } else if (p.m_StandardParallel1 == 0.0 && p.m_StandardParallel2 == 0.0) {
    p.m_OriginLatitude = kHalfPi;
    p.Initialise();
    choose(0);
    SetNumber(group, kOriginLatitudeRow, p.m_OriginLatitude);
    RedrawRows(group, {kOriginLatitudeRow});
    AllowEditRow(group, kOriginLatitudeRow, false);
  } else if (p.m_StandardParallel1 == 0.0) {
    choose(3);
    ShowRows(group, kOriginLatitudeRow, kOriginLatitudeRow, false);
    ShowRows(group, kFalseOriginLatitudeRow, kFalseOriginLatitudeRow, true);
    AllowEditRow(group, kScaleFactorRow, false);
  } else {
    choose(2);
    ShowRows(group, kOriginLatitudeRow, kOriginLatitudeRow, false);
    ShowRows(group, kStandardParallelRow, kStandardParallelRow, true);
    AllowEditRow(group, kScaleFactorRow, false);
  }
}

// Step 3: what the projection's type and variant show.
void ShowRowsOfType(CMFCPropertyGridProperty* group, CProjection& p) {
  switch (p.m_Type) {
    case PROJECTION_MERCATOR:
      if (p.m_Method == 0) {
        p.m_OriginLatitude = 0.0;
        p.Initialise();
        ShowRows(group, kOriginLatitudeRow, kOriginLatitudeRow, false);
      }
      if (p.m_OriginLatitude != 0.0) {
        AllowEditRow(group, kScaleFactorRow, false);
        ShowRows(group, kOriginRow, kOriginRow, true);
        if (p.m_Method == 1) ShowRows(group, kNorthingOriginRow, kNorthingOriginRow, true);
      }
      break;
    case PROJECTION_LAMBERT:
      if (p.m_Method > 1) p.m_Method = 0;
      if (p.m_Method == 1) {
        ShowRows(group, kOriginLatitudeRow, kOriginLatitudeRow, false);
        ShowRows(group, kFirstParallelRow, kSecondParallelRow, true);
      } else {
        group->GetSubItem(kOriginLatitudeRow)->SetName("Standard Parallel");
      }
      break;
    case PROJECTION_STEREOGRAPHIC:
      if (p.m_Method > 2) p.m_Method = 0;
      break;
    case PROJECTION_POLYCONIC:
      AllowEditRow(group, kScaleFactorRow, false);
      break;
    case PROJECTION_STATE_PLANE:
      if (p.m_Method == 1) {
        ShowRows(group, kOriginLatitudeRow, kOriginRow, false);
        ShowRows(group, kFirstTRow, kLastTRow, false);
        ShowRows(group, kFirstLRow, kLastLRow, true);
      } else if (p.m_Method == 2) {
        ShowRows(group, kOriginLatitudeRow, kLastLRow, false);
        ShowRows(group, kFirstTRow, kLastTRow, true);
      }
      break;
    default:
      break;
  }
}

}  // namespace

void AddPositionGroup(CMFCPropertyGridProperty* group, const tagCOORD& coord, int first_id,
                      bool hide_grid, bool cartesian) {
  group->Add<CMFCPropertyGridAngleProperty>("Latitude", coord.latitude, ANGLE_LATITUDE,
                                            "Enter Latitude", first_id);
  group->Add<CMFCPropertyGridAngleProperty>("Longitude", coord.longitude, ANGLE_LONGITUDE,
                                            "Enter Longitude", first_id + 1);
  group
      ->Add<CMFCPropertyGridMetricProperty>("Easting", coord.easting, kHorizontalLength,
                                            "Enter Easting", first_id + 2)
      ->Show(!hide_grid);
  group
      ->Add<CMFCPropertyGridMetricProperty>("Northing", coord.northing, kHorizontalLength,
                                            "Enter Northing", first_id + 3)
      ->Show(!hide_grid);
  group->Add<CMFCPropertyGridMetricProperty>("Height", coord.height, kShortLength, "Enter Height",
                                             first_id + 4);
  const double axes[] = {coord.x, coord.y, coord.z};
  const char* const names[] = {"X", "Y", "Z"};
  for (int i = 0; i < 3; ++i) {
    const std::string description = std::string("Enter ") + names[i] + " Cartesian Co-ordinate";
    group
        ->Add<CMFCPropertyGridMetricProperty>(names[i], axes[i], kHorizontalLength, description,
                                              cartesian ? first_id + 5 + i : 0)
        ->Show(cartesian);
  }
  AddShown<CMFCPropertyGridAngleProperty>(group, "Convergence", coord.convergence, ANGLE_SIGNED, "",
                                          0);
  AddShown<CMFCPropertyGridDouble>(group, "Point Scale Factor", coord.scale_factor, "%12.10lf", "",
                                   0);
}

void UpdatePositionGroup(CMFCPropertyGridProperty* group, const tagCOORD& coord) {
  const double values[] = {coord.latitude,    coord.longitude,   coord.easting, coord.northing,
                           coord.height,      coord.x,           coord.y,       coord.z,
                           coord.convergence, coord.scale_factor};
  for (int i = 0; i < 10; ++i)
    SetNumber(group, i, values[i]);
}

void UpdatePositionGeographicalGroup(CMFCPropertyGridProperty* group) {
  RedrawRows(group, {0, 1});
}

void UpdatePositionGridGroup(CMFCPropertyGridProperty* group) {
  RedrawRows(group, {2, 3, 4, 5, 6, 7});
}

void UpdatePositionConvergenceGroup(CMFCPropertyGridProperty* group) {
  RedrawRows(group, {8});
}

void AddSelectSpheroidGroup(CMFCPropertyGridProperty* group, CSpheroid* spheroid,
                            bool selector_option, int epsg_id, int name_id, bool select) {
  // A selector without an identifier has no one to report to: it only shows.
  group->Add<CMFCPropertyGridSpheroidEPSGNoProperty>(spheroid, selector_option, epsg_id)
      ->SetSelect(select && epsg_id != 0);
  group->Add<CMFCPropertyGridSpheroidNameProperty>("Name", spheroid, selector_option, name_id)
      ->SetSelect(select && name_id != 0);
  AddText(group, "Country", spheroid->m_Country, "Country where Spheroid Based")
      ->Show(!spheroid->m_Country.empty());
}

void AddSpheroidGroup(CMFCPropertyGridProperty* group, CSpheroid* spheroid, int epsg_id,
                      int name_id, bool select) {
  AddSelectSpheroidGroup(group, spheroid, false, epsg_id, name_id, select);
  AddShown<CMFCPropertyGridMetricProperty>(group, "Semi Major Axis", spheroid->m_SemiMajorAxis,
                                           kHorizontalLength, "Spheroid Semi Major Axis", 0);
  AddShown<CMFCPropertyGridMetricProperty>(group, "Semi Minor Axis", spheroid->m_SemiMinorAxis,
                                           kHorizontalLength, "Spheroid Semi Minor Axis", 0);
  AddShown<CMFCPropertyGridDouble>(group, "Inverse Flattening", spheroid->m_InverseFlattening,
                                   "%16.10lf", "Spheroid Inverse Flattening", 0);
  AddShown<CMFCPropertyGridDouble>(group, "Eccentricity", spheroid->m_E2, "%16.10lf", "", 0);
  AddShown<CMFCPropertyGridDouble>(group, "Ecentricity", spheroid->m_E, "%16.10lf", "", 0);
  AddShown<CMFCPropertyGridDouble>(group, "Epslom", spheroid->m_Ep2, "%16.10lf", "", 0);
}

void UpdateSpheroidGroup(CMFCPropertyGridProperty* group, const CSpheroid& spheroid) {
  RedrawRows(group, {0});
  if (CMFCPropertyGridProperty* name = group->GetSubItem(1))
    name->SetValue(CPropertyValue(spheroid.m_Name));
  if (CMFCPropertyGridProperty* country = group->GetSubItem(2)) {
    country->SetValue(CPropertyValue(spheroid.m_Country));
    country->Show(!spheroid.m_Country.empty() || country->IsAllowEdit());
  }
  if (group->GetSubItemsCount() > 3) {
    const double values[] = {spheroid.m_SemiMajorAxis,
                             spheroid.m_SemiMinorAxis,
                             spheroid.m_InverseFlattening,
                             spheroid.m_E2,
                             spheroid.m_E,
                             spheroid.m_Ep2};
    for (int i = 0; i < 6; ++i)
      SetNumber(group, 3 + i, values[i]);
  }
}

void UpdateSpheroidGridGroup(CMFCPropertyGridProperty* group) {
  RedrawRows(group, {3, 4});
}

void AddSelectProjectionGroup(CMFCPropertyGridProperty* group, CProjection* projection, int type_id,
                              int name_id, int method_id, int stereo_id, bool select,
                              bool type_option) {
  if (select && type_id != 0) {
    group->Add<CMFCPropertyGridProjectionTypeProperty>(projection, type_option, type_id)
        ->SetSelect(true);
  } else {
    AddText(group, "Type", std::string(TypeName(projection->m_Type)));
  }
  if (select && name_id != 0) {
    group->Add<CMFCPropertyGridProjectionNameProperty>(projection, type_option, name_id)
        ->SetSelect(true);
  } else {
    AddText(group, "Name", projection->m_Name);
  }
  AddText(group, "Country", projection->m_Country)->Show(!projection->m_Country.empty());
  group->Add<CMFCPropertyGridProjectionMethodProperty>(projection, method_id)->SetSelect(select);
  auto* origin = group->Add<CMFCPropertyGridStereographicTypeProperty>(projection, stereo_id);
  origin->RemoveAllOptions();
  if (select && stereo_id != 0) {
    for (std::string_view option : kStereographicOrigins)
      origin->AddOption(std::string(option));
  }
}

void AddProjectionGroup(CMFCPropertyGridProperty* group, CProjection* projection, int type_id,
                        int name_id, int method_id, int stereo_id, bool select, bool type_option) {
  const CProjection& p = *projection;
  AddSelectProjectionGroup(group, projection, type_id, name_id, method_id, stereo_id, select,
                           type_option);
  const auto angle = [group](const char* name, double value, int type) {
    AddShown<CMFCPropertyGridAngleProperty>(group, name, value, type, "", 0);
  };
  const auto length = [group](const char* name, double value) {
    AddShown<CMFCPropertyGridMetricProperty>(group, name, value, kHorizontalLength, "", 0);
  };
  angle("Origin Latitude", p.m_OriginLatitude, ANGLE_LATITUDE);
  angle("1st Standard Parallel", p.m_StandardParallel1, ANGLE_LATITUDE);
  angle("2nd Standard Parallel", p.m_StandardParallel2, ANGLE_LATITUDE);
  angle("Standard Parallel", p.m_StandardParallel1, ANGLE_LATITUDE);
  angle("False Origin (Latitude)", p.m_StandardParallel2, ANGLE_LATITUDE);
  length("Northing Origin", p.m_Param[1]);
  angle("Origin Longitude", p.m_CentralMeridian, ANGLE_LONGITUDE);
  length("False Easting", p.m_FalseEasting);
  length("False Northing", p.m_FalseNorthing);
  AddShown<CMFCPropertyGridDouble>(group, "Scale Factor", p.m_ScaleFactor, "%16.10lf", "", 0);
  AddShown<CMFCPropertyGridDouble>(group, "Scale Ratio", p.m_ScaleRatio, "%6.0lf", "", 0);
  AddText(group, "Origin", p.m_Method == 0 ? "Equator" : "Standard Parallel");
  for (std::size_t i = 0; i < kLRows.size(); ++i) {
    AddShown<CMFCPropertyGridDouble>(group, std::string(kLRows[i].label), p.m_Param[i],
                                     std::string(kLRows[i].format), "", 0);
  }
  for (std::size_t i = 0; i < kTRows.size(); ++i) {
    AddShown<CMFCPropertyGridDouble>(group, std::string(kTRows[i].label), p.m_Param[i],
                                     std::string(kTRows[i].format), "", 0);
  }
}

void UpdateProjectionGroup(CMFCPropertyGridProperty* group, CProjection& projection, int editable,
                           bool select) {
  CProjection& p = projection;
  const int count = group->GetSubItemsCount();
  if (count == 0) return;
  const bool full = count > kStereoRow + 1;
  if (full) {
    CMFCPropertyGridProperty* origin = group->GetSubItem(kOriginLatitudeRow);
    origin->Show(true);
    origin->AllowEdit(editable == 1);
    origin->SetName("Origin Latitude");
    ShowRows(group, kFirstParallelRow, kNorthingOriginRow, false);
    ShowRows(group, kOriginLongitudeRow, kScaleRatioRow, true);
    AllowEditRow(group, kScaleFactorRow, editable == 1);
    ShowRows(group, kOriginRow, kLastTRow, false);
  }

  if (CMFCPropertyGridProperty* type = group->GetSubItem(kTypeRow)) {
    type->SetValue(CPropertyValue(std::string(TypeName(p.m_Type))));
    if (select) SetSelectOn<CMFCPropertyGridProjectionTypeProperty>(type, true);
  }
  if (CMFCPropertyGridProperty* name = group->GetSubItem(kNameRow)) {
    name->SetValue(CPropertyValue(p.m_Name));
    if (select) SetSelectOn<CMFCPropertyGridProjectionNameProperty>(name, true);
  }
  if (CMFCPropertyGridProperty* country = group->GetSubItem(kCountryRow)) {
    country->SetValue(CPropertyValue(p.m_Country));
    country->Show(!p.m_Country.empty() || editable == 1);
  }
  // The method list follows the type, so it is rebuilt whenever the selection is on
  // (and, as the edit dialog needs, whenever the record is editable): a pane whose
  // type was just changed must not offer the old type's methods.
  if (CMFCPropertyGridProperty* method = group->GetSubItem(kMethodRow))
    SetSelectOn<CMFCPropertyGridProjectionMethodProperty>(method, select || editable == 1);

  if (full) ShowRowsOfType(group, p);
  UpdateStereographicOrigin(group, p);

  if (full) {
    const double values[] = {p.m_OriginLatitude,    p.m_StandardParallel1, p.m_StandardParallel2,
                             p.m_StandardParallel1, p.m_StandardParallel2, p.m_Param[1],
                             p.m_CentralMeridian,   p.m_FalseEasting,      p.m_FalseNorthing,
                             p.m_ScaleFactor,       p.m_ScaleRatio};
    for (int i = 0; i < 11; ++i)
      SetNumber(group, kOriginLatitudeRow + i, values[i]);
    group->GetSubItem(kOriginRow)
        ->SetValue(CPropertyValue(p.m_Method == 0 ? "Equator" : "Standard Parallel"));
    // The table constants too, so that another state-plane zone shows its own.
    for (int i = kFirstLRow; i <= kLastLRow && i < count; ++i)
      SetNumber(group, i, p.m_Param[static_cast<std::size_t>(i - kFirstLRow)]);
    for (int i = kFirstTRow; i <= kLastTRow && i < count; ++i)
      SetNumber(group, i, p.m_Param[static_cast<std::size_t>(i - kFirstTRow)]);
  }
}

void UpdateProjectionGeographicalGroup(CMFCPropertyGridProperty* group) {
  if (group->GetSubItemsCount() > kStereoRow + 1)
    RedrawRows(group, {5, 6, 7, 8, 9, kOriginLongitudeRow});
}

void UpdateProjectionGridGroup(CMFCPropertyGridProperty* group) {
  if (group->GetSubItemsCount() > kStereoRow + 1)
    RedrawRows(group, {kNorthingOriginRow, kFalseEastingRow, kFalseNorthingRow});
}

}  // namespace orvale
