// A settings file of any bytes: every reader returns a value, none crashes.
#include <cstdint>

#include "fuzz_support.h"
#include "orvale/engine/angles/angle_settings.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/angles/units.h"
#include "orvale/storage/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orvale::fuzzing::UsePrivateDrive();
  orvale::CConfigFile probe;
  orvale::fuzzing::WriteFile(probe.GetSettingsPath("Angle Settings"), data, size);
  orvale::fuzzing::WriteFile(probe.GetSettingsPath("Geographicals Settings"), data, size);
  orvale::fuzzing::WriteFile(probe.GetSettingsPath("Units Mode"), data, size);
  orvale::CConfigFile file;
  if (file.OpenForRead("Angle Settings")) {
    for (int i = 0; i < 4; ++i) {
      file.ReadInt(0);
      file.ReadDouble(0.0);
      file.ReadChar(' ');
      file.ReadString();
    }
  }
  orvale::GetSavedAngleFormat(orvale::ANGLE_LATITUDE);
  orvale::GetSavedAngleFormat(orvale::ANGLE_BEARING);
  orvale::FormatAngle(0.5, orvale::ANGLE_LONGITUDE, orvale::ANGLE_PREF_SAVED);
  orvale::GetUnitsMode(orvale::IMPERIAL_FEET);
  return 0;
}
