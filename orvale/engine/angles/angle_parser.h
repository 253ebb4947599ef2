#pragma once
// Typed angle text back to radians: everything FormatAngle prints, and the looser
// ways surveyors type angles ("51 30 15.2N", "-0.5", "51:30", "57.2g").

#include <string>
#include <string_view>

#include "orvale/engine/angles/angles.h"

namespace orvale {

struct AngleParseResult {
  bool ok = false;
  double radians = 0.0;
  std::string error;  // why the text was refused (Windows-1252); empty when ok
};

// Reads `text` (Windows-1252 bytes) as an angle of `type` (ANGLE_TYPE).
//
// Fields are numbers, each optionally marked by its symbol: degree sign, "'" for
// minutes, "\"" (or "''") for seconds, "g" for gradians, before or after its decimals
// ("15\".12" and "15.12\"" both read). Unmarked fields follow the one before them
// (degrees, then minutes, then seconds); when no field is marked their count decides:
// three are D M S, two D M, one is decimal degrees, or gradians when `notation` is
// ANGLE_PREF_GRADIANS (ANGLE_PREF_SAVED: the saved notation of the type). Blanks and
// colons separate fields. A leading "+" or "-" and a quadrant letter (N/S for
// latitudes, E/W for longitudes, either case, first or last) give the sign, never
// both ("-51S" is refused: it could mean either hemisphere). Only the last field may
// have decimals; minutes and seconds must be below 60 in every field (a display that
// rounds 59.99' up to "60'" shows text that is refused as entry). Magnitudes are limited by the
// type: 90 degrees for latitudes and signed 90 types, 180 for longitudes, signed and complement
// angles, 360 for bearings (100, 200, 400 gradians). Bearings and complements take no minus sign. A
// complement (type 4) reads the shown value v and returns pi/2 - v.
//
// Degrees divide by kDegreesPerRadian and gradians by kGradiansPerRadian, the
// factors FormatAngle multiplies by, so printed angles read back to their precision.
// Empty text, "n/a" and anything malformed are refused with the reason in `error`.
AngleParseResult ParseAngle(std::string_view text, int type, int notation = ANGLE_PREF_DMS);

// Whether `radians` is a finite angle within what `type` shows, the limits ParseAngle
// reads (a latitude within 90 degrees either way, a bearing 0 to 360, a complement
// showing 0 to 180); false with the reason (Windows-1252) in `error` otherwise.
[[nodiscard]] bool CheckAngleRange(double radians, int type, std::string& error);

}  // namespace orvale
