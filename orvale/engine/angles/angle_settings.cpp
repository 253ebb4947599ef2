#include "orvale/engine/angles/angle_settings.h"

#include "orvale/engine/angles/angles.h"
#include "orvale/storage/config_file.h"

namespace orvale {
namespace {

constexpr int kUnsavedNotation = ANGLE_PREF_DM;
constexpr int kUnsavedDecimals = 7;
constexpr char kBlankLetter = ' ';
constexpr int kMostDecimals = 32;

// A saved notation must be one that prints: 5 ("use the saved setting") would refer
// to itself, and any other value names none. Either gives the notation of a user who
// saved nothing.
int SavedNotation(int notation) {
  return notation >= ANGLE_PREF_DMS && notation <= ANGLE_PREF_GRADIANS ? notation
                                                                       : kUnsavedNotation;
}

// Decimals outside 0..32 are the notation's usual ones, as FormatAngle takes them.
int SavedDecimals(int notation, int decimals) {
  return decimals >= 0 && decimals <= kMostDecimals ? decimals
                                                    : DefaultDecimals(ANGLE_SIGNED, notation);
}

// A quadrant letter must be one of the two of its axis (either case); a blank (the
// line was missing or empty) stays blank; anything else is the unsaved letter.
char SavedLetter(char letter, char positive, char negative) {
  if (letter == kBlankLetter) return letter;
  const char normal = NormaliseQuadrant(letter);
  return normal == positive || normal == negative ? normal : positive;
}

}  // namespace

AngleFormat GetAngleSettings() {
  CConfigFile file;
  if (!file.OpenForRead("Angle Settings")) return {kUnsavedNotation, kUnsavedDecimals, 0};
  AngleFormat format;
  format.notation = SavedNotation(file.ReadInt(0));
  format.decimals = SavedDecimals(format.notation, file.ReadInt(0));
  return format;
}

GeographicalsFormat GetGeographicalsSettings() {
  CConfigFile file;
  if (!file.OpenForRead("Geographicals Settings")) {
    return {kUnsavedNotation, kUnsavedDecimals, 'N', 'E'};
  }
  GeographicalsFormat format;
  format.notation = SavedNotation(file.ReadInt(0));
  format.decimals = SavedDecimals(format.notation, file.ReadInt(0));
  format.latitude_letter = SavedLetter(file.ReadChar(kBlankLetter), 'N', 'S');
  format.longitude_letter = SavedLetter(file.ReadChar(kBlankLetter), 'E', 'W');
  return format;
}

AngleFormat GetSavedAngleFormat(int type) {
  if (type != ANGLE_LATITUDE && type != ANGLE_LONGITUDE) return GetAngleSettings();
  const GeographicalsFormat saved = GetGeographicalsSettings();
  const char letter = type == ANGLE_LATITUDE ? saved.latitude_letter : saved.longitude_letter;
  return {saved.notation, saved.decimals, letter};
}

int GetSavedDecimals(int type) {
  if (type >= ANGLE_BEARING_2 && type <= ANGLE_SIGNED_2) return 2;
  return GetSavedAngleFormat(type).decimals;
}

}  // namespace orvale
