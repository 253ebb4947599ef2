// The projection selectors: the type, the name among a type's catalogue rows and
// record files, the method, and the latitude origin of a polar stereographic.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/panes/selection_properties.h"

namespace orvale {
namespace {

// A type chosen without a spheroid to keep is loaded at its first row; U.T.M takes
// zone 31 (0 to 6 degrees east) rather than row 0, which is no zone of the system.
constexpr int kUtmStartZone = 31;
// The Norwegian grid starts at its first row, UTM zone 31, on axis I.
constexpr int kNorwegianStartRow = 0;

// The types an edit dialog lets a user define, in the order it offers them.
constexpr std::array<int, 7> kEditableTypes = {
    PROJECTION_TRANSVERSE_MERCATOR,
    PROJECTION_MERCATOR,
    PROJECTION_LAMBERT,
    PROJECTION_CASSINI_SOLDNER,
    PROJECTION_AZIMUTHAL_EQUIDISTANT,
    PROJECTION_STEREOGRAPHIC,
    PROJECTION_POLYCONIC,
};

constexpr std::array<const char*, 4> kLatitudeOrigins = {"Nautral 90\xB0N", "Nautral 90\xB0S",
                                                         "Standard Parallel", "False"};
enum LatitudeOrigin { kNorthPole, kSouthPole, kStandardParallel, kFalseOrigin };

// The standard parallel a polar stereographic starts from when it is switched to one:
// 71 degrees, in the hemisphere the projection was in (that of the usual polar grids).
constexpr double kStartParallelDegrees = 71.0;

// Latitudes of a pole as stored by SetPolar, or as read back from a record file.
constexpr double kPoleTolerance = 1e-9;

std::string DisplayName(std::string_view name, std::string_view country) {
  std::string text(name);
  if (!country.empty()) text.append(" ").append(country);
  return text;
}

std::string SpheroidDisplayName(const CSpheroid* spheroid) {
  const CSpheroid wgs84;  // a projection without spheroid is taken to be on WGS84
  const CSpheroid& s = spheroid != nullptr ? *spheroid : wgs84;
  return DisplayName(s.m_Name, s.m_Country);
}

// The text a projection has in its type's name list: the zone name for U.T.M and the
// Norwegian grid, whose rows differ in nothing else; name and country otherwise.
std::string OptionText(const CProjection& p) {
  if (p.m_Type == PROJECTION_UTM || p.m_Type == PROJECTION_NORWEGIAN) return p.m_Name;
  return DisplayName(p.m_Name, p.m_Country);
}

// Whether a selection changed the projection: its entry, texts, parameters and spheroid.
bool Changed(const CProjection& before, const CProjection& after) {
  const auto spheroid = [](const CProjection& p) {
    return p.m_Spheroid == nullptr
               ? std::make_tuple(std::string(), std::string(), 0.0, 0.0)
               : std::make_tuple(p.m_Spheroid->m_Name, p.m_Spheroid->m_Country,
                                 p.m_Spheroid->m_SemiMajorAxis, p.m_Spheroid->m_InverseFlattening);
  };
  const auto values = [](const CProjection& p) {
    return std::make_tuple(p.m_FileTitle, p.m_Index, p.m_Name, p.m_Country, p.m_Type, p.m_Method,
                           p.m_OriginLatitude, p.m_CentralMeridian, p.m_FalseEasting,
                           p.m_FalseNorthing, p.m_ScaleFactor, p.m_StandardParallel1,
                           p.m_StandardParallel2);
  };
  // The parameter block holds the national grids' integer pairs too: compared as bytes.
  return values(before) != values(after) || spheroid(before) != spheroid(after) ||
         std::memcmp(before.m_Param.data(), after.m_Param.data(), sizeof before.m_Param) != 0;
}

// One entry of a type's list: a built-in row, or the record file standing for
// catalogue index `index`.
struct Entry {
  int index = 0;
  std::string file;  // empty for a built-in row
};

// Builds every entry of `type` in list order (rows, then readable record files) on a
// projection of its own, and hands each to `visit` until it returns true. The rows are
// built with `method`, so the hemisphere of a zone or the axis of the Norwegian grid
// stays the one the projection has. True when `visit` stopped the walk.
template <typename Visit>
bool ForEachEntry(int type, int method, Visit visit) {
  CSpheroid spheroid;
  CProjection candidate;
  candidate.m_Spheroid = &spheroid;
  for (int row = 0; candidate.SetFromCatalogue(row, type, method); ++row) {
    if (visit(candidate, Entry{row, {}})) return true;
  }
  const std::vector<std::string> files = ProjectionRecordFilesOfType(type);
  for (std::size_t k = 0; k < files.size(); ++k) {
    if (!candidate.ReadRecordFile(files[k])) continue;
    const int index = CProjection::CatalogueRowCount(type) + static_cast<int>(k);
    if (visit(candidate, Entry{index, files[k]})) return true;
  }
  return false;
}

// Loads an entry found by ForEachEntry. A record file is read on a copy first, so one
// that cannot be read any more leaves the projection as it was.
bool LoadEntry(CProjection& p, int type, int method, const Entry& entry) {
  if (entry.file.empty()) {
    if (!p.SetFromCatalogue(entry.index, type, method)) return false;
    p.m_FileTitle.clear();
    return true;
  }
  CProjection record(p);
  if (!record.ReadRecordFile(entry.file)) return false;
  record.m_Index = entry.index;
  p = record;
  return true;
}

// The first entry of `type` on the spheroid of `p` (the same name and country).
bool FirstEntryOnSpheroid(int type, const CProjection& p, Entry& found) {
  const CSpheroid wgs84;
  const CSpheroid& wanted = p.m_Spheroid != nullptr ? *p.m_Spheroid : wgs84;
  return ForEachEntry(type, 0, [&](const CProjection& candidate, const Entry& entry) {
    if (!candidate.m_Spheroid->IsSame(wanted)) return false;
    found = entry;
    return true;
  });
}

// The method list of a type: empty for a type without one, and for the transverse
// Mercator types, whose one method text stands for every value.
int MethodListLength(int type) {
  const ProjectionTypeInfo* info = FindProjectionType(type);
  if (info == nullptr || info->one_text_for_every_method) return 0;
  return static_cast<int>(info->methods.size());
}

int IndexOf(const std::vector<std::string>& texts, std::string_view text) {
  const auto found = std::find(texts.begin(), texts.end(), text);
  return found == texts.end() ? -1 : static_cast<int>(found - texts.begin());
}

bool IsPole(double latitude, double pole) {
  return std::fabs(latitude - pole) <= kPoleTolerance;
}

bool IsPolarStereographic(const CProjection& p) {
  return p.m_Type == PROJECTION_STEREOGRAPHIC && p.m_Method == 2;
}

}  // namespace

// Type.

CMFCPropertyGridProjectionTypeProperty::CMFCPropertyGridProjectionTypeProperty(
    CProjection* projection, bool restrict_to_spheroid, int id)
    : CMFCPropertyGridProperty("Type", std::string(), "Select the type of Projection", id),
      projection_(projection),
      restrict_(restrict_to_spheroid) {
  AllowEdit(false);
  SetValue(FormatProperty());
}

void CMFCPropertyGridProjectionTypeProperty::SetSelect(bool select) {
  selectable_ = select;
  RemoveAllOptions();
  SetValue(FormatProperty());
  if (!select || !IsEnabled()) return;
  if (edit_mode_) {
    for (int type : kEditableTypes)
      AddOption(std::string(CProjection::TypeText(type)));
    return;
  }
  std::vector<std::string> types;
  for (int type = 0; type < kProjectionTypeCount; ++type) {
    if (!restrict_ || AnyValidProjections(type, *projection_) >= 0)
      types.emplace_back(CProjection::TypeText(type));
  }
  // A single type is no choice.
  if (types.size() < 2) return;
  for (std::string& type : types)
    AddOption(std::move(type));
}

void CMFCPropertyGridProjectionTypeProperty::SetEdit() {
  edit_mode_ = true;
  RemoveAllOptions();
  for (int type : kEditableTypes)
    AddOption(std::string(CProjection::TypeText(type)));
  SetValue(FormatProperty());
}

std::string CMFCPropertyGridProjectionTypeProperty::FormatProperty() const {
  const int type = projection_->m_Type;
  if (edit_mode_ &&
      std::find(kEditableTypes.begin(), kEditableTypes.end(), type) == kEditableTypes.end()) {
    return std::string(CProjection::TypeText(PROJECTION_TRANSVERSE_MERCATOR));
  }
  return std::string(CProjection::TypeText(type));
}

bool CMFCPropertyGridProjectionTypeProperty::OnUpdateValue(std::string_view text) {
  if (GetOptions().empty() || !selectable_) return Refuse("the projection type is fixed here");
  if (IndexOf(GetOptions(), text) < 0)
    return Refuse("\"" + std::string(text) + "\" is not a projection type offered here");
  int type = 0;
  while (CProjection::TypeText(type) != text)
    ++type;
  CProjection& p = *projection_;
  const CProjection before(p);
  if (edit_mode_) {
    // A user-defined projection keeps its values: only the family changes.
    if (type != p.m_Type) {
      p.m_Type = type;
      p.m_Method = 0;
      p.Initialise();
    }
  } else if (type != p.m_Type) {
    Entry entry;
    if (type == PROJECTION_UTM) {
      entry.index = kUtmStartZone;
    } else if (type == PROJECTION_NORWEGIAN) {
      entry.index = kNorwegianStartRow;
    } else if (restrict_ && !FirstEntryOnSpheroid(type, p, entry)) {
      return Refuse("no " + std::string(text) + " projection is on this spheroid");
    }
    if (!LoadEntry(p, type, 0, entry))
      return Refuse("the first " + std::string(text) + " projection cannot be read");
  }
  SetValue(FormatProperty());
  if (Changed(before, p)) NotifyChanged();
  return true;
}

int CMFCPropertyGridProjectionTypeProperty::AnyValidProjections(
    int type, const CProjection& projection) const {
  if (type == PROJECTION_UTM) return kUtmStartZone;
  Entry entry;
  return FirstEntryOnSpheroid(type, projection, entry) ? entry.index : -1;
}

// Name.

CMFCPropertyGridProjectionNameProperty::CMFCPropertyGridProjectionNameProperty(
    CProjection* projection, bool restrict_to_spheroid, int id)
    : CMFCPropertyGridProperty("Name", std::string(), "Select Name of the Projection", id),
      projection_(projection),
      restrict_(restrict_to_spheroid) {
  AllowEdit(false);
  SetValue(FormatProperty());
}

void CMFCPropertyGridProjectionNameProperty::SetSelect(bool select) {
  RemoveAllOptions();
  built_in_rows_ = 0;
  SetValue(FormatProperty());
  if (!select || !IsEnabled()) return;
  const CProjection& p = *projection_;
  const std::string spheroid = SpheroidDisplayName(p.m_Spheroid);
  const bool every_row = !restrict_ || p.m_Type == PROJECTION_UTM;
  ForEachEntry(p.m_Type, p.m_Method, [&](const CProjection& candidate, const Entry& entry) {
    if (every_row || SpheroidDisplayName(candidate.m_Spheroid) == spheroid) {
      AddOption(OptionText(candidate));
      if (entry.file.empty()) ++built_in_rows_;
    }
    return false;
  });
}

std::string CMFCPropertyGridProjectionNameProperty::FormatProperty() const {
  return OptionText(*projection_);
}

bool CMFCPropertyGridProjectionNameProperty::OnUpdateValue(std::string_view text) {
  if (GetOptions().empty()) return Refuse("no projection can be chosen here");
  if (IndexOf(GetOptions(), text) < 0)
    return Refuse("\"" + std::string(text) + "\" is not a projection offered here");
  CProjection& p = *projection_;
  const std::string spheroid = SpheroidDisplayName(p.m_Spheroid);
  const bool every_row = !restrict_ || p.m_Type == PROJECTION_UTM;
  Entry chosen;
  const bool found =
      ForEachEntry(p.m_Type, p.m_Method, [&](const CProjection& candidate, const Entry& entry) {
        if (!every_row && SpheroidDisplayName(candidate.m_Spheroid) != spheroid) return false;
        if (OptionText(candidate) != text) return false;
        chosen = entry;
        return true;
      });
  const CProjection before(p);
  if (!found || !LoadEntry(p, p.m_Type, p.m_Method, chosen))
    return Refuse("\"" + std::string(text) + "\" cannot be read");
  SetValue(FormatProperty());
  if (Changed(before, p)) NotifyChanged();
  return true;
}

// Method.

CMFCPropertyGridProjectionMethodProperty::CMFCPropertyGridProjectionMethodProperty(
    CProjection* projection, int id)
    : CMFCPropertyGridProperty("Method", std::string(),
                               "Select the method of computation of the Projection", id),
      projection_(projection) {
  AllowEdit(false);
  Show(MethodListLength(projection_->m_Type) > 0);
  SetValue(FormatProperty());
}

void CMFCPropertyGridProjectionMethodProperty::SetSelect(bool select) {
  RemoveAllOptions();
  CProjection& p = *projection_;
  const int count = MethodListLength(p.m_Type);
  // The oblique projection keeps its method: there it selects the rectification.
  if (count == 0 && p.m_Type != PROJECTION_RSO) p.m_Method = 0;
  Show(count > 0);
  SetValue(FormatProperty());
  if (count == 0 || !select || !IsEnabled()) return;
  for (int method = 0; method < count; ++method)
    AddOption(std::string(CProjection::MethodText(p.m_Type, method)));
}

std::string CMFCPropertyGridProjectionMethodProperty::FormatProperty() const {
  return std::string(CProjection::MethodText(projection_->m_Type, projection_->m_Method));
}

bool CMFCPropertyGridProjectionMethodProperty::OnUpdateValue(std::string_view text) {
  CProjection& p = *projection_;
  const int count = MethodListLength(p.m_Type);
  if (GetOptions().empty() || count == 0) return Refuse("the method is fixed here");
  int method = 0;
  while (method < count && CProjection::MethodText(p.m_Type, method) != text)
    ++method;
  if (method == count)
    return Refuse("\"" + std::string(text) + "\" is no method of a " +
                  std::string(CProjection::TypeText(p.m_Type)) + " projection");
  const CProjection before(p);
  const bool zone_row =
      (p.m_Type == PROJECTION_UTM || p.m_Type == PROJECTION_NORWEGIAN) && p.m_FileTitle.empty();
  CProjection row(p);
  if (method == p.m_Method) {
    // Nothing to do: the same method again.
  } else if (zone_row && row.SetFromCatalogue(p.m_Index, p.m_Type, method)) {
    // The method of these grids is the hemisphere or the axis: the row is built anew.
    p = row;
    p.m_FileTitle.clear();
  } else {
    p.m_Method = method;
    p.Initialise();
  }
  SetValue(FormatProperty());
  if (Changed(before, p)) NotifyChanged();
  return true;
}

// Latitude origin of a polar stereographic.

CMFCPropertyGridStereographicTypeProperty::CMFCPropertyGridStereographicTypeProperty(
    CProjection* projection, int id)
    : CMFCPropertyGridProperty("Latitude Origin", std::string(),
                               "Select the Latitude Origin for a Stereographic Projection", id),
      projection_(projection) {
  AllowEdit(false);
  Show(IsPolarStereographic(*projection_));
  SetValue(FormatProperty());
}

void CMFCPropertyGridStereographicTypeProperty::SetSelect(bool select) {
  RemoveAllOptions();
  CProjection& p = *projection_;
  const bool polar = IsPolarStereographic(p);
  Show(polar);
  // A polar projection with neither pole nor parallel is the north polar case.
  if (polar && !IsPole(std::fabs(p.m_OriginLatitude), kHalfPi) && p.m_StandardParallel1 == 0.0 &&
      p.m_StandardParallel2 == 0.0) {
    p.SetPolar(true);
  }
  SetValue(FormatProperty());
  if (!polar || !select || !IsEnabled()) return;
  for (const char* origin : kLatitudeOrigins)
    AddOption(origin);
}

std::string CMFCPropertyGridStereographicTypeProperty::FormatProperty() const {
  const CProjection& p = *projection_;
  if (IsPole(p.m_OriginLatitude, kHalfPi)) return kLatitudeOrigins[kNorthPole];
  if (IsPole(p.m_OriginLatitude, -kHalfPi)) return kLatitudeOrigins[kSouthPole];
  if (p.m_StandardParallel1 != 0.0) return kLatitudeOrigins[kStandardParallel];
  if (p.m_StandardParallel2 != 0.0) return kLatitudeOrigins[kFalseOrigin];
  return kLatitudeOrigins[kNorthPole];
}

bool CMFCPropertyGridStereographicTypeProperty::OnUpdateValue(std::string_view text) {
  if (GetOptions().empty()) return Refuse("the latitude origin is fixed here");
  const int choice = IndexOf(GetOptions(), text);
  if (choice < 0) return Refuse("\"" + std::string(text) + "\" is no latitude origin");
  CProjection& p = *projection_;
  const CProjection before(p);
  // A parallel switched on starts from the one the projection had, else from the usual
  // parallel of its hemisphere.
  const bool south =
      p.m_OriginLatitude < 0.0 || p.m_StandardParallel1 < 0.0 || p.m_StandardParallel2 < 0.0;
  const auto start = [&](double other) {
    if (other != 0.0) return other;
    return (south ? -kStartParallelDegrees : kStartParallelDegrees) * kRadiansPerDegree;
  };
  switch (choice) {
    case kNorthPole:
    case kSouthPole:
      p.SetPolar(choice == kNorthPole);
      break;
    case kStandardParallel:
      if (p.m_StandardParallel1 == 0.0) p.SetPolarB(start(p.m_StandardParallel2));
      break;
    default:
      if (p.m_StandardParallel2 == 0.0) p.SetPolarC(start(p.m_StandardParallel1));
      break;
  }
  SetValue(FormatProperty());
  if (Changed(before, p)) NotifyChanged();
  return true;
}

}  // namespace orvale
