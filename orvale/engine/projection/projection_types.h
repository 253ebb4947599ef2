#pragma once
// The projection types a record can have, and what a host needs to offer each one:
// the short key users type, the display text, the method list, and which of the
// record's parameters each method uses (the ones an edit dialog shows).

#include <cstdint>
#include <span>
#include <string_view>

namespace orvale {

enum PROJECTION_TYPES {
  PROJECTION_UTM = 0,
  PROJECTION_TRANSVERSE_MERCATOR = 1,
  PROJECTION_GAUSS_KRUGER = 2,
  PROJECTION_TM_SOUTH_ORIENTATED = 3,
  PROJECTION_TM_USA = 4,
  PROJECTION_MERCATOR = 5,
  PROJECTION_LAMBERT = 6,
  PROJECTION_CASSINI_SOLDNER = 7,
  PROJECTION_AZIMUTHAL_EQUIDISTANT = 8,
  PROJECTION_STEREOGRAPHIC = 9,
  PROJECTION_POLYCONIC = 10,
  PROJECTION_RSO = 11,
  PROJECTION_STATE_PLANE = 12,
  PROJECTION_NORWEGIAN = 13,
  PROJECTION_DANISH = 14,
};

inline constexpr int kProjectionTypeCount = 15;

// The record's parameters a method uses, as flags.
using ProjectionParameters = std::uint32_t;
enum ProjectionParameter : ProjectionParameters {
  kUsesOriginLatitude = 1u << 0,
  kUsesOriginLongitude = 1u << 1,
  kUsesFalseEasting = 1u << 2,
  kUsesFalseNorthing = 1u << 3,
  kUsesScaleFactor = 1u << 4,
  kUsesStandardParallels = 1u << 5,      // the first and the second
  kUsesPolarStandardParallel = 1u << 6,  // the first, as the polar stereographic's parallel
  kUsesFalseOriginLatitude = 1u << 7,    // the second, as the latitude of its false origin
  kUsesNorthingOrigin = 1u << 8,         // Mercator's northing of the origin, derived
  kUsesSkewParameters = 1u << 9,         // P0 ... P5 of the oblique projection
  kUsesZoneConstants6 = 1u << 10,        // P0 ... P5 of a state-plane table zone
  kUsesZoneConstants11 = 1u << 11,       // P0 ... P10 of a state-plane table zone
  kUsesNationalGridAxis = 1u << 12,      // the Norwegian axis or the Danish zone
  kUsesUtmZone = 1u << 13,               // the UTM zone the projection is built on
};

// The five every ordinary projection is defined by.
inline constexpr ProjectionParameters kUsesOriginAndFalseOrigin =
    kUsesOriginLatitude | kUsesOriginLongitude | kUsesFalseEasting | kUsesFalseNorthing |
    kUsesScaleFactor;

struct ProjectionMethodInfo {
  std::string_view text;  // as the method list shows it
  ProjectionParameters parameters;
};

struct ProjectionTypeInfo {
  int type;
  std::string_view key;   // short and lower case: what a user types ("utm", "lambert")
  std::string_view text;  // display text, Windows-1252
  // The method list; empty for a type without one.
  std::span<const ProjectionMethodInfo> methods;
  // Every method value shows the first method's text (the transverse Mercator types
  // have one method, whatever value the record holds).
  bool one_text_for_every_method;
  // The parameters of a type without a method list, and of a method outside it.
  ProjectionParameters parameters;

  // The method's text; empty beyond the list.
  std::string_view MethodText(int method) const;
  ProjectionParameters ParametersOf(int method) const;
};

// The type's facts; null for a value that is no type.
const ProjectionTypeInfo* FindProjectionType(int type);
// By key, compared exactly; null when no type has it.
const ProjectionTypeInfo* FindProjectionType(std::string_view key);

}  // namespace orvale
