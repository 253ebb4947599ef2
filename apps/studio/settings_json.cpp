#include "settings_json.h"

#include <cctype>
#include <span>

#include "orvale/engine/angles/angle_settings.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/angles/units.h"
#include "orvale/storage/config_file.h"
#include "text_json.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

constexpr int kNotationCount = ANGLE_PREF_GRADIANS + 1;
constexpr int kMaxDecimals = 32;

json NotationOptions() {
  json options = json::array();
  for (int n = 0; n < kNotationCount; ++n)
    options.push_back(ToWire(AngleNotationName(n)));
  return options;
}

template <typename Row>
json Names(std::span<const Row> rows) {
  json names = json::array();
  for (const Row& row : rows)
    names.push_back(ToWire(row.name));
  return names;
}

json Decimals(int value) {
  return json{{"value", value}, {"min", 0}, {"max", kMaxDecimals}};
}

json Letter(char value, const char* a, const char* b) {
  return json{{"value", std::string(1, value)}, {"options", {a, b}}};
}

// A field's value, given plainly or as {"value": ...}; null when absent.
const json* FieldValue(const json& section, const char* name) {
  if (!section.is_object()) return nullptr;
  const auto found = section.find(name);
  if (found == section.end()) return nullptr;
  if (found->is_object()) {
    const auto value = found->find("value");
    return value == found->end() ? nullptr : &*value;
  }
  return &*found;
}

bool MergeInt(const json& section, const char* name, int low, int high, int& target,
              std::string& error) {
  const json* value = FieldValue(section, name);
  if (value == nullptr) return true;
  if (!value->is_number_integer() || value->get<long long>() < low ||
      value->get<long long>() > high) {
    error = std::string(name) + " must be a whole number from " + std::to_string(low) + " to " +
            std::to_string(high);
    return false;
  }
  target = value->get<int>();
  return true;
}

bool MergeLetter(const json& section, const char* name, char a, char b, char& target,
                 std::string& error) {
  const json* value = FieldValue(section, name);
  if (value == nullptr) return true;
  if (value->is_string() && value->get<std::string>().size() == 1) {
    const char letter =
        static_cast<char>(std::toupper(static_cast<unsigned char>(value->get<std::string>()[0])));
    if (letter == a || letter == b) {
      target = letter;
      return true;
    }
  }
  error = std::string(name) + " must be " + a + " or " + b;
  return false;
}

const json& Section(const json& body, const char* name) {
  static const json kEmpty = json::object();
  if (!body.is_object()) return kEmpty;
  const auto found = body.find(name);
  return found == body.end() ? kEmpty : *found;
}

}  // namespace

DisplaySettings ReadDisplaySettings() {
  DisplaySettings s;
  const AngleFormat angles = GetAngleSettings();
  s.angle_notation = angles.notation;
  s.angle_decimals = angles.decimals;
  const GeographicalsFormat geog = GetGeographicalsSettings();
  s.geog_notation = geog.notation;
  s.geog_decimals = geog.decimals;
  s.latitude_letter = geog.latitude_letter == 'S' ? 'S' : 'N';
  s.longitude_letter = geog.longitude_letter == 'W' ? 'W' : 'E';
  const UnitSelection units = GetUnitsMode(IMPERIAL_FEET);
  s.unit_mode = units.mode;
  s.imperial_mode = units.imperial_mode;
  // The library reports the unit index as 0 whatever is saved; the page shows what is
  // in the file, so the user's choice is not lost on the next write.
  CConfigFile file;
  if (file.OpenForRead("Units Mode")) {
    file.ReadInt(0);
    s.unit_index = file.ReadInt(0);
  }
  const std::size_t count =
      s.unit_mode == UNITS_IMPERIAL ? ImperialUnits().size() : MetricUnits().size();
  if (s.unit_index < 0 || static_cast<std::size_t>(s.unit_index) >= count) s.unit_index = 0;
  return s;
}

bool WriteDisplaySettings(const DisplaySettings& s) {
  CConfigFile angles;
  if (!angles.OpenForWrite("Angle Settings")) return false;
  angles.WriteInt("Notation", s.angle_notation);
  angles.WriteInt("Decimals", s.angle_decimals);
  if (!angles.Close()) return false;

  CConfigFile geog;
  if (!geog.OpenForWrite("Geographicals Settings")) return false;
  geog.WriteInt("Notation", s.geog_notation);
  geog.WriteInt("Decimals", s.geog_decimals);
  geog.WriteString("Latitude", std::string(1, s.latitude_letter));
  geog.WriteString("Longitude", std::string(1, s.longitude_letter));
  if (!geog.Close()) return false;

  CConfigFile units;
  if (!units.OpenForWrite("Units Mode")) return false;
  units.WriteInt("Mode", s.unit_mode);
  units.WriteInt("Index", s.unit_index);
  units.WriteInt("Imperial", s.imperial_mode);
  return units.Close();
}

json DisplaySettingsJson(const DisplaySettings& s) {
  const json modes = {"Metric", "Imperial"};
  json by_mode = {Names(MetricUnits()), Names(ImperialUnits())};
  json index_options = by_mode[s.unit_mode == UNITS_IMPERIAL ? 1 : 0];
  return json{
      {"angles",
       {{"notation", {{"value", s.angle_notation}, {"options", NotationOptions()}}},
        {"decimals", Decimals(s.angle_decimals)}}},
      {"geographicals",
       {{"notation", {{"value", s.geog_notation}, {"options", NotationOptions()}}},
        {"decimals", Decimals(s.geog_decimals)},
        {"latitude_letter", Letter(s.latitude_letter, "N", "S")},
        {"longitude_letter", Letter(s.longitude_letter, "E", "W")}}},
      {"units",
       {{"mode", {{"value", s.unit_mode}, {"options", modes}}},
        {"index",
         {{"value", s.unit_index}, {"options", index_options}, {"options_by_mode", by_mode}}},
        {"imperial_mode", {{"value", s.imperial_mode}, {"options", Names(ImperialSubUnits())}}}}}};
}

bool MergeDisplaySettings(const json& body, DisplaySettings& s, std::string& error) {
  const json& angles = Section(body, "angles");
  const json& geog = Section(body, "geographicals");
  const json& units = Section(body, "units");
  DisplaySettings next = s;
  if (!MergeInt(angles, "notation", 0, kNotationCount - 1, next.angle_notation, error) ||
      !MergeInt(angles, "decimals", 0, kMaxDecimals, next.angle_decimals, error) ||
      !MergeInt(geog, "notation", 0, kNotationCount - 1, next.geog_notation, error) ||
      !MergeInt(geog, "decimals", 0, kMaxDecimals, next.geog_decimals, error) ||
      !MergeLetter(geog, "latitude_letter", 'N', 'S', next.latitude_letter, error) ||
      !MergeLetter(geog, "longitude_letter", 'E', 'W', next.longitude_letter, error) ||
      !MergeInt(units, "mode", UNITS_METRIC, UNITS_IMPERIAL, next.unit_mode, error) ||
      !MergeInt(units, "imperial_mode", IMPERIAL_FEET, IMPERIAL_CHAINS, next.imperial_mode,
                error)) {
    return false;
  }
  const int unit_count = static_cast<int>(next.unit_mode == UNITS_IMPERIAL ? ImperialUnits().size()
                                                                           : MetricUnits().size());
  if (next.unit_index >= unit_count) next.unit_index = 0;  // another mode's unit
  if (!MergeInt(units, "index", 0, unit_count - 1, next.unit_index, error)) return false;
  s = next;
  return true;
}

}  // namespace orvale::studio
