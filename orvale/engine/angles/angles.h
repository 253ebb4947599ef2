#pragma once
// Angles: radians inside the library; degrees, minutes, seconds and gradians only in
// display text. Texts are Windows-1252 bytes (the degree sign is 0xB0).

#include <string>
#include <string_view>

namespace orvale {

// Fixed conversion factors: these exact values are behaviour (results are compared
// to the last digit), not approximations of 180/pi to be improved.
inline constexpr double kDegreesPerRadian = 57.2957795131;
inline constexpr double kRadiansPerDegree = 0.017453292519943;
inline constexpr double kGradiansPerRadian = 63.66197723677778;
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kSecondsPerDegree = 3600.0;

// Reserved values meaning "no value": the largest finite double shows as an empty
// text, exactly -1.0 as "n/a".
inline constexpr double kNoAngle = 1.7976931348623157e308;
inline constexpr double kNotApplicableAngle = -1.0;

inline constexpr char kDegreeSign = '\xB0';

enum ANGLE_TYPE {
  ANGLE_SIGNED = 1,
  ANGLE_BEARING = 2,
  ANGLE_SIGNED_90 = 3,
  ANGLE_COMPLEMENT = 4,
  ANGLE_LATITUDE = 5,
  ANGLE_LONGITUDE = 6,
  ANGLE_BEARING_2 = 7,
  ANGLE_SIGNED_90_2 = 8,
  ANGLE_SIGNED_2 = 9,
};

enum ANGLE_PREFERENCE {
  ANGLE_PREF_DMS = 0,
  ANGLE_PREF_DM = 1,
  ANGLE_PREF_DEGREES = 2,
  ANGLE_PREF_SIGNED_DEGREES = 3,
  ANGLE_PREF_GRADIANS = 4,
  ANGLE_PREF_SAVED = 5,
};

// Display name of notations 0..4 ("DDD MM SS.SSS Q", ...); empty for any other.
std::string_view AngleNotationName(int notation);

// Decimals a notation shows by default for an angle type: 5/7/9 for types 1..6 in
// DMS/DM/decimal notations, 2 for types 7..9, 0 for any other type.
int DefaultDecimals(int type, int notation);

struct DMS {
  int degrees = 0;
  int minutes = 0;
  double seconds = 0.0;
  int sign = 1;  // +1 or -1
};

// Whole degrees, whole minutes and seconds of |radians|, with seconds that would
// print as 60 at `decimals` carried into the minutes (and degrees; never wrapped).
DMS SplitDMS(double radians, int decimals);

// Moves the unit symbol that follows a decimal fraction to just before the point:
// 15.12345" -> 15".12345, 51.5000° -> 51°.5000.
void MoveSymbolToPoint(std::string& text);

// Display text of an angle of `type` (ANGLE_TYPE) in `notation` (ANGLE_PREFERENCE).
// Decimals outside 0..32 take DefaultDecimals. `quadrant_hint` is the letter of an
// exactly zero latitude or longitude (0: "N"/"E"). Unknown type or notation: empty.
std::string FormatAngle(double radians, int type, int notation, int decimals = -1,
                        char quadrant_hint = 0);

struct AngleTemplate {
  std::string text;         // the widest text of the type and notation
  std::string digit_limit;  // leading-digit limit ("9" for latitudes, "36" for bearings)
};

// The widest display text of a type and notation, used to size and mask entry.
AngleTemplate BuildAngleTemplate(int type, int notation, int decimals);

// Upper-case N, S, E or W for that letter in either case; 0 for anything else.
char NormaliseQuadrant(char letter);

// Compact DMS of a latitude (type 5) or longitude (type 6) for lists: zero seconds
// and minutes dropped, trailing zero decimals trimmed, the quadrant letter last.
std::string FormatCompactDMS(double radians, int type);

// Small value record of the set-up dialog: all four members set together.
class CAngle {
 public:
  CAngle(double radians = 0.0) { *this = radians; }  // NOLINT: converts like a double
  CAngle& operator=(double radians);

  double m_Radians = 0.0;
  double m_Degrees = 0.0;
  double m_Sin = 0.0;
  double m_Cos = 1.0;
};

}  // namespace orvale
