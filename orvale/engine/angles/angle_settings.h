#pragma once
// The user's saved angle display settings, read afresh from the settings files on
// every request (nothing is cached, so a change by the host shows at once).

namespace orvale {

// How one kind of angle is displayed: an ANGLE_PREFERENCE notation, its decimals and
// the quadrant letter shown for an exactly zero value (0: none).
struct AngleFormat {
  int notation = 0;
  int decimals = 0;
  char quadrant = 0;
};

struct GeographicalsFormat {
  int notation = 0;
  int decimals = 0;
  char latitude_letter = ' ';
  char longitude_letter = ' ';
};

// Notation and decimals from "Angle Settings" (quadrant 0). No file: DM with 7
// decimals; a line that is missing or has no "=" gives 0 for its value. A value no
// display can use is replaced: a notation outside 0..4 (5 included, which would
// refer to itself) by DM, decimals outside 0..32 by the notation's DefaultDecimals.
AngleFormat GetAngleSettings();

// Notation, decimals and the latitude and longitude letters from "Geographicals
// Settings". No file: DM, 7, 'N', 'E'; a missing line gives 0, or a blank letter.
// Notation and decimals are checked as GetAngleSettings checks them; a letter that
// is not N or S (latitude), E or W (longitude), in either case, becomes N or E.
GeographicalsFormat GetGeographicalsSettings();

// The saved format of an ANGLE_TYPE: latitudes (5) and longitudes (6) follow the
// geographicals settings with their own letter, every other type the angle settings.
AngleFormat GetSavedAngleFormat(int type);

// Decimals of the saved format of a type; the two-decimal types 7 to 9 always give 2.
int GetSavedDecimals(int type);

}  // namespace orvale
