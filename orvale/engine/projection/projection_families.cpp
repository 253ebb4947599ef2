// The table of projection types: per type its key and texts, its methods with the
// parameters each uses, the maths of each method, and its built-in catalogue rows.

#include <array>
#include <cstddef>
#include <string_view>

#include "orvale/engine/projection/internal/catalogue_rows.h"
#include "orvale/engine/projection/internal/projection_family.h"

namespace orvale {
namespace projection {
namespace {

constexpr ProjectionParameters kStandard = kUsesOriginAndFalseOrigin;
constexpr ProjectionParameters kZoned = kStandard | kUsesUtmZone;
constexpr ProjectionParameters kNationalGrid = kZoned | kUsesNationalGridAxis;
// The oblique projection's false origin is its projected centre, derived by the set-up.
constexpr ProjectionParameters kSkew =
    kUsesOriginLatitude | kUsesOriginLongitude | kUsesScaleFactor | kUsesSkewParameters;

constexpr ProjectionMethodInfo kUtmMethods[] = {
    {"North of Equator", kZoned},
    {"South of Equator", kZoned},
};
constexpr ProjectionMethodInfo kTransverseMercatorMethods[] = {{"Transverse Mercator", kStandard}};
constexpr ProjectionMethodInfo kMercatorMethods[] = {
    {"Equator", kStandard},
    {"Standard Parallel", kStandard | kUsesNorthingOrigin},
};
constexpr ProjectionMethodInfo kLambertMethods[] = {
    {"One Standard Parallel", kStandard},
    {"Two Standard Parallel", kStandard | kUsesStandardParallels},
    {"Two Standard Parallel (USA)", kStandard | kUsesStandardParallels},
};
constexpr ProjectionMethodInfo kStereographicMethods[] = {
    {"Oblique", kStandard},
    {"Equatorial", kStandard},
    {"Polar", kStandard | kUsesPolarStandardParallel | kUsesFalseOriginLatitude},
};
// The first method's display text is misspelt in the list users know; it stays so.
constexpr ProjectionMethodInfo kStatePlaneMethods[] = {
    {"Transvere Mercator", kStandard},
    {"Lambert Tables", kUsesZoneConstants11},
    {"TM Tables", kUsesZoneConstants6},
    {"RSO", kSkew},
};
constexpr ProjectionMethodInfo kNorwegianAxes[] = {
    {"NGO (Axis I)", kNationalGrid},   {"NGO (Axis II)", kNationalGrid},
    {"NGO (Axis III)", kNationalGrid}, {"NGO (Axis IV)", kNationalGrid},
    {"NGO (Axis V)", kNationalGrid},   {"NGO (Axis VI)", kNationalGrid},
    {"NGO (Axis VII)", kNationalGrid}, {"NGO (Axis VIII)", kNationalGrid},
};

constexpr const ProjectionMaths* kTransverseMercatorOnly[] = {&kTransverseMercatorMaths};
constexpr const ProjectionMaths* kMercatorOnly[] = {&kMercatorMaths};
constexpr const ProjectionMaths* kLambertByMethod[] = {
    &kLambertOneParallelMaths, &kLambertTwoParallelMaths, &kLambertUsaMaths};
constexpr const ProjectionMaths* kCassiniOnly[] = {&kCassiniMaths};
constexpr const ProjectionMaths* kAzimuthalOnly[] = {&kAzimuthalEquidistantMaths};
constexpr const ProjectionMaths* kStereographicByMethod[] = {
    &kDoubleStereographicMaths, &kDoubleStereographicMaths, &kPolarStereographicMaths};
constexpr const ProjectionMaths* kPolyconicOnly[] = {&kPolyconicMaths};
// One entry: the method value chooses the rectification, which the family reads itself.
constexpr const ProjectionMaths* kRsoOnly[] = {&kRsoMaths};
constexpr const ProjectionMaths* kStatePlaneByMethod[] = {
    &kTransverseMercatorMaths, &kLambertTablesMaths, &kTmTablesMaths, &kRsoMaths};
constexpr const ProjectionMaths* kNorwegianOnly[] = {&kNorwegianGridMaths};
constexpr const ProjectionMaths* kDanishOnly[] = {&kDanishGridMaths};

using namespace catalogue;

// Zone-addressed rows (UTM, state plane, Norwegian) come before no user records: the
// records of a type start at index 0, where those rows shadow them.
constexpr std::array<ProjectionFamily, kProjectionTypeCount> kFamilies = {{
    {{PROJECTION_UTM, "utm", "U.T.M", kUtmMethods, false, kZoned},
     kTransverseMercatorOnly,
     {kUtmZoneCount, 0, LoadUtmZone}},
    {{PROJECTION_TRANSVERSE_MERCATOR, "tm", "Transverse Mercator", kTransverseMercatorMethods, true,
      kStandard},
     kTransverseMercatorOnly,
     {kTransverseMercatorRowCount, kTransverseMercatorRowCount,
      LoadNamedRow<TransverseMercatorRows>}},
    {{PROJECTION_GAUSS_KRUGER, "gk", "Gauss-Kruger TM (Pulkovo 1942)", kTransverseMercatorMethods,
      true, kStandard},
     kTransverseMercatorOnly,
     {kGermanZoneCount, kGermanZoneCount, LoadGermanZone}},
    {{PROJECTION_TM_SOUTH_ORIENTATED, "tm-south", "T.M. (South Pole is North)",
      kTransverseMercatorMethods, true, kStandard},
     kTransverseMercatorOnly,
     {kLoBeltCount, kLoBeltCount, LoadLoBelt}},
    {{PROJECTION_TM_USA, "tm-usa", "T.M. (USA)", kTransverseMercatorMethods, true, kStandard},
     kTransverseMercatorOnly,
     {kTmUsaRowCount, kTmUsaRowCount, LoadTmUsaZone}},
    {{PROJECTION_MERCATOR, "mercator", "Mercator", kMercatorMethods, false, kStandard},
     kMercatorOnly,
     {kMercatorRowCount, kMercatorRowCount, LoadMercatorRow}},
    {{PROJECTION_LAMBERT, "lambert", "Lambert Conical", kLambertMethods, false, kStandard},
     kLambertByMethod,
     {kLambertRowCount, kLambertRowCount, LoadLambertRow}},
    {{PROJECTION_CASSINI_SOLDNER, "cassini", "Cassini-Soldner", {}, false, kStandard},
     kCassiniOnly,
     {kCassiniRowCount, kCassiniRowCount, LoadNamedRow<CassiniRows>}},
    {{PROJECTION_AZIMUTHAL_EQUIDISTANT, "azimuthal", "Azimuthal Equidistant", {}, false, kStandard},
     kAzimuthalOnly,
     {kAzimuthalRowCount, kAzimuthalRowCount, LoadNamedRow<AzimuthalRows>}},
    {{PROJECTION_STEREOGRAPHIC, "stereographic", "Stereographic", kStereographicMethods, false,
      kStandard},
     kStereographicByMethod,
     {kStereographicRowCount, kStereographicRowCount, LoadNamedRow<StereographicRows>}},
    {{PROJECTION_POLYCONIC, "polyconic", "Polyconic", {}, false, kStandard},
     kPolyconicOnly,
     {kPolyconicRowCount, kPolyconicRowCount, LoadNamedRow<PolyconicRows>}},
    {{PROJECTION_RSO, "rso", "Rectified Skewed Orthomorphic", {}, false, kSkew},
     kRsoOnly,
     {kRsoRowCount, kRsoRowCount, LoadRsoRow}},
    {{PROJECTION_STATE_PLANE, "state-plane", "State Plane", kStatePlaneMethods, false, kStandard},
     kStatePlaneByMethod,
     {kStatePlaneRowCount, 0, LoadStatePlaneZone}},
    {{PROJECTION_NORWEGIAN, "norwegian", "Norwegian National Grid", kNorwegianAxes, false,
      kNationalGrid},
     kNorwegianOnly,
     {kNorwegianZoneCount, 0, LoadNorwegianZone}},
    {{PROJECTION_DANISH, "danish", "Danish National Grid", {}, false, kNationalGrid},
     kDanishOnly,
     {kDanishZoneCount, kDanishZoneCount, LoadDanishZone}},
}};

constexpr bool EachEntrySitsAtItsType() {
  for (std::size_t i = 0; i < kFamilies.size(); ++i) {
    if (kFamilies[i].info.type != static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(EachEntrySitsAtItsType(), "the table is indexed by projection type");

}  // namespace

const ProjectionFamily* FamilyOf(int type) {
  if (type < 0 || type >= kProjectionTypeCount) return nullptr;
  return &kFamilies[static_cast<std::size_t>(type)];
}

}  // namespace projection

std::string_view ProjectionTypeInfo::MethodText(int method) const {
  if (methods.empty()) return {};
  if (one_text_for_every_method) return methods.front().text;
  if (method < 0 || static_cast<std::size_t>(method) >= methods.size()) return {};
  return methods[static_cast<std::size_t>(method)].text;
}

ProjectionParameters ProjectionTypeInfo::ParametersOf(int method) const {
  if (!methods.empty() && one_text_for_every_method) return methods.front().parameters;
  if (method < 0 || static_cast<std::size_t>(method) >= methods.size()) return parameters;
  return methods[static_cast<std::size_t>(method)].parameters;
}

const ProjectionTypeInfo* FindProjectionType(int type) {
  const projection::ProjectionFamily* family = projection::FamilyOf(type);
  return family != nullptr ? &family->info : nullptr;
}

const ProjectionTypeInfo* FindProjectionType(std::string_view key) {
  for (int type = 0; type < kProjectionTypeCount; ++type) {
    const ProjectionTypeInfo* info = FindProjectionType(type);
    if (info->key == key) return info;
  }
  return nullptr;
}

}  // namespace orvale
