#pragma once
// Datum shifts by the names users give them on the command line.

#include <string>

#include "orvale/engine/datum/datum.h"

namespace orvale::cli {

// A shift type from its number 0..9 or its key (none, wgs84, ordnance-survey,
// norwegian, nadcon, ntv2, other, user, latlon, grid); false with the reason.
[[nodiscard]] bool ShiftTypeFromText(const std::string& text, int& type, std::string& problem);

// The shift types by key, one a line, for --help.
std::string ShiftTypeHelp();

// Loads into `datum` (its target spheroid attached, or not) the shift named by `text`:
// "TYPE/NUMBER" (wgs84/2, 1/2, user/0) or a name as 'orvale datums' lists it ("WGS 84
// to E.D. 50 (UKOOA Recommended)", either case), or a record's file title. False with
// the reason otherwise.
[[nodiscard]] bool SelectDatum(const std::string& text, CDatum& datum, std::string& problem);

// The number of entries of a type: its built-in rows, or its record files.
int DatumEntryCount(int type);

}  // namespace orvale::cli
