#pragma once
// The built-in datum shifts and the names the selectors and editors show: the ten
// shift types, the rotation methods, and the entries of the types that are tables.
// CDatum::SetFromCatalogue loads them (datum.h).

#include <cstdint>
#include <span>
#include <string_view>

namespace orvale {

inline constexpr int kShiftTypeCount = 10;

// Shift types (CDatum::m_ShiftType).
inline constexpr int kNoDatumShift = 0;
inline constexpr int kWgs84Shifts = 1;
inline constexpr int kOrdnanceSurvey = 2;
inline constexpr int kNorwegianShifts = 3;
inline constexpr int kNadconShifts = 4;
inline constexpr int kCanadaNtv2 = 5;
inline constexpr int kOtherShifts = 6;
inline constexpr int kUserDefinedShifts = 7;  // "DMF" record files
inline constexpr int kLatLonShifts = 8;       // "GSF" record files
inline constexpr int kGridShifts = 9;         // "GRD" record files

// "No datum Shift" ... "Grid Shifts"; empty outside 0 to 9.
std::string_view ShiftTypeName(int type);

// Built-in entries of a type: 1, 55, 1, 3, 6, 1, 8 for types 0 to 6; 0 for the file
// types 7 to 9 and any other value.
int BuiltInEntryCount(int type);

// Rotation methods (m_RotationMethod): 0 "Position Vector" "(European Bursa-Wolf)",
// 1 "Co-ordinate Frame" "( US Dept of Defense)"; empty outside 0 and 1.
inline constexpr int kRotationMethodCount = 2;
std::string_view RotationMethodName(int method);
std::string_view RotationMethodRemark(int method);

// One Helmert entry of types 1, 3 and 6 as published: names, the built-in spheroid
// rows of both sides, and the seven parameters (metres, seconds of arc, ppm).
struct HelmertEntry {
  std::string_view from;
  std::string_view to;
  std::string_view variant;  // empty where the entry has none
  std::int32_t own_spheroid;
  std::int32_t target_spheroid;
  double dx, dy, dz;
  double rx, ry, rz;
  double scale;
  std::int32_t rotation_method;
};

// One NADCON entry (type 4): names and spheroid rows; its shifts are the region grids.
struct NadconEntry {
  std::string_view from;
  std::string_view to;
  std::int32_t own_spheroid;
  std::int32_t target_spheroid;
};

// The entries of type 1, 3 or 6 in number order; empty for any other type.
std::span<const HelmertEntry> HelmertEntries(int type);
std::span<const NadconEntry> NadconEntries();

}  // namespace orvale
