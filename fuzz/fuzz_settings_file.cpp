// A settings file of any bytes: every reader returns a value, none crashes, and each
// value is one its users can take (a printable notation, 0 to 32 decimals, a quadrant
// letter of its axis or a blank). The same bytes as C:\MyDrives\MyData.INI: a redirect
// is followed only to a folder inside its drive.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "orvale/engine/angles/angle_settings.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/angles/units.h"
#include "orvale/platform/drives.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckFormat(int notation, int decimals) {
  Require(notation >= orvale::ANGLE_PREF_DMS && notation <= orvale::ANGLE_PREF_GRADIANS);
  Require(decimals >= 0 && decimals <= 32);
}

// A followed redirect is a folder of its own drive, with no ".." left in it.
void CheckRedirect() {
  const orvale::FolderResult redirect = orvale::GetDriveFolder(orvale::kGlobalFolder);
  if (!redirect.ok) return;
  Require(redirect.path.size() >= 3 && redirect.path[1] == ':');
  Require(redirect.path.find("\\..\\") == std::string::npos);
  const auto root = orvale::DriveRoot(redirect.path[0]);
  Require(root.has_value() && orvale::HostPath(redirect.path).starts_with(*root + "/"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orvale::fuzzing::UsePrivateDrive();
  orvale::CConfigFile probe;
  orvale::fuzzing::WriteFile(probe.GetSettingsPath("Angle Settings"), data, size);
  orvale::fuzzing::WriteFile(probe.GetSettingsPath("Geographicals Settings"), data, size);
  orvale::fuzzing::WriteFile(probe.GetSettingsPath("Units Mode"), data, size);
  static_cast<void>(orvale::CreateFolders(orvale::kRedirectFolder));
  orvale::fuzzing::WriteFile(orvale::kRedirectFile, data, size);
  orvale::CConfigFile file;
  if (file.OpenForRead("Angle Settings")) {
    for (int i = 0; i < 4; ++i) {
      file.ReadInt(0);
      file.ReadDouble(0.0);
      file.ReadChar(' ');
      file.ReadString();
    }
  }
  const orvale::AngleFormat angles = orvale::GetAngleSettings();
  CheckFormat(angles.notation, angles.decimals);
  const orvale::GeographicalsFormat geographicals = orvale::GetGeographicalsSettings();
  CheckFormat(geographicals.notation, geographicals.decimals);
  const char latitude = geographicals.latitude_letter, longitude = geographicals.longitude_letter;
  Require(latitude == 'N' || latitude == 'S' || latitude == ' ');
  Require(longitude == 'E' || longitude == 'W' || longitude == ' ');
  Require(!orvale::FormatAngle(0.5, orvale::ANGLE_LONGITUDE, orvale::ANGLE_PREF_SAVED).empty());
  orvale::GetSavedAngleFormat(orvale::ANGLE_LATITUDE);
  const orvale::UnitSelection units = orvale::GetUnitsMode(orvale::IMPERIAL_FEET);
  Require(units.mode == orvale::UNITS_METRIC || units.mode == orvale::UNITS_IMPERIAL);
  Require(units.imperial_mode >= orvale::IMPERIAL_FEET &&
          units.imperial_mode <= orvale::IMPERIAL_CHAINS);
  CheckRedirect();
  return 0;
}
