#include "orvale/engine/angles/angle_settings.h"

#include "orvale/engine/angles/angles.h"
#include "orvale/storage/config_file.h"

namespace orvale {
namespace {

constexpr int kUnsavedNotation = ANGLE_PREF_DM;
constexpr int kUnsavedDecimals = 7;
constexpr char kBlankLetter = ' ';

}  // namespace

AngleFormat GetAngleSettings() {
  CConfigFile file;
  if (!file.OpenForRead("Angle Settings")) return {kUnsavedNotation, kUnsavedDecimals, 0};
  AngleFormat format;
  format.notation = file.ReadInt(0);
  format.decimals = file.ReadInt(0);
  return format;
}

GeographicalsFormat GetGeographicalsSettings() {
  CConfigFile file;
  if (!file.OpenForRead("Geographicals Settings")) {
    return {kUnsavedNotation, kUnsavedDecimals, 'N', 'E'};
  }
  GeographicalsFormat format;
  format.notation = file.ReadInt(0);
  format.decimals = file.ReadInt(0);
  format.latitude_letter = file.ReadChar(kBlankLetter);
  format.longitude_letter = file.ReadChar(kBlankLetter);
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
