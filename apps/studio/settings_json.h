#pragma once
// The three display settings files the library reads ("Angle Settings",
// "Geographicals Settings", "Units Mode") as the API's SETTINGS, field by field with
// each field's choices, and written back from it.

#include <string>

#include <nlohmann/json.hpp>

namespace orvale::studio {

// The saved display settings, as the library reads them.
struct DisplaySettings {
  int angle_notation = 1;
  int angle_decimals = 7;
  int geog_notation = 1;
  int geog_decimals = 7;
  char latitude_letter = 'N';
  char longitude_letter = 'E';
  int unit_mode = 0;
  int unit_index = 0;
  int imperial_mode = 0;
};

DisplaySettings ReadDisplaySettings();
// False when a file cannot be written.
[[nodiscard]] bool WriteDisplaySettings(const DisplaySettings& settings);

// {"angles": {"notation": {"value", "options"}, "decimals": {"value", "min", "max"}},
//  "geographicals": {... "latitude_letter", "longitude_letter"},
//  "units": {"mode", "index", "imperial_mode"}}
nlohmann::json DisplaySettingsJson(const DisplaySettings& settings);

// `settings` with the fields `body` gives (each a plain value or {"value": ...});
// false with `error` set when a field is of the wrong type or out of its range.
[[nodiscard]] bool MergeDisplaySettings(const nlohmann::json& body, DisplaySettings& settings,
                                        std::string& error);

}  // namespace orvale::studio
