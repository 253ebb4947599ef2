#include "support/projection_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "orvale/engine/angles/angles.h"

namespace orvale::testing {
namespace {

// The key=value words of a line, each key one of `keys` or p0 ... p16.
std::map<std::string, std::string> KeyValues(std::string_view text,
                                             const std::set<std::string>& keys) {
  std::map<std::string, std::string> values;
  std::istringstream words{std::string(text)};
  for (std::string word; words >> word;) {
    const auto equals = word.find('=');
    const std::string key = word.substr(0, equals);
    const bool slot = key.size() > 1 && key[0] == 'p' &&
                      key.find_first_not_of("0123456789", 1) == std::string::npos;
    if (equals == std::string::npos || !(keys.contains(key) || slot)) {
      ADD_FAILURE() << "'" << word << "' is no key=value of: " << text;
      continue;
    }
    values[key] = word.substr(equals + 1);
  }
  return values;
}

}  // namespace

std::optional<double> ReadNumber(std::string_view text) {
  double value = 0.0;
  const char* first = text.data() + (text.starts_with('+') ? 1 : 0);
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

std::optional<double> ReadAngle(std::string text) {
  double sign = 1.0;
  if (!text.empty() && std::string("NSEWnsew").find(text.back()) != std::string::npos) {
    if (std::string("SWsw").find(text.back()) != std::string::npos) sign = -1.0;
    text.pop_back();
  }
  if (text.starts_with('-')) {
    sign = -sign;
    text.erase(0, 1);
  }
  double degrees = 0.0;
  double unit = 1.0;
  std::istringstream fields(text);
  for (std::string field; std::getline(fields, field, ':'); unit /= 60.0) {
    const auto value = ReadNumber(field);
    if (!value) return std::nullopt;
    degrees += *value * unit;
  }
  return sign * degrees * kRadiansPerDegree;
}

void SetUpSpheroid(CSpheroid& spheroid, std::string_view text) {
  auto values = KeyValues(text, {"row", "a", "rf", "b"});
  if (values.contains("row")) {
    EXPECT_TRUE(spheroid.SetBuiltIn(static_cast<int>(ReadNumber(values["row"]).value_or(-1))))
        << "no built-in spheroid " << text;
    return;
  }
  const auto a = ReadNumber(values["a"]), rf = ReadNumber(values["rf"]),
             b = ReadNumber(values["b"]);
  if (!a || !(rf || b)) {
    ADD_FAILURE() << "a spheroid needs row= or a= with rf= or b=: " << text;
    return;
  }
  spheroid.m_SemiMajorAxis = *a;
  spheroid.m_InverseFlattening = rf ? *rf : *a / (*a - *b);
  spheroid.ComputeConstants();
}

void SetUpProjection(CProjection& p, std::string_view text, double unit) {
  auto values = KeyValues(text, {"type", "method", "row", "lat0", "lon0", "fe", "fn", "k0", "sp1",
                                 "sp2", "axis", "zone", "polar", "polarb", "polarc"});
  const auto read = [&](const std::string& key, auto reader, double fallback) {
    if (!values.contains(key)) return fallback;
    const std::optional<double> value = reader(values[key]);
    if (!value) ADD_FAILURE() << "cannot read " << key << "=" << values[key];
    return value.value_or(NAN);
  };
  const auto number = [&](const std::string& key, double fallback = 0.0) {
    return read(key, ReadNumber, fallback);
  };
  const auto angle = [&](const std::string& key) { return read(key, ReadAngle, 0.0); };
  p.m_Type = static_cast<int>(number("type"));
  p.m_Method = static_cast<int>(number("method"));
  if (values.contains("row")) {
    const auto row = static_cast<int>(number("row"));
    EXPECT_TRUE(p.SetFromCatalogue(row, p.m_Type, p.m_Method)) << "no built-in row " << text;
    return;
  }
  p.m_OriginLatitude = angle("lat0");
  p.m_CentralMeridian = angle("lon0");
  p.m_FalseEasting = number("fe") * unit;
  p.m_FalseNorthing = number("fn") * unit;
  p.m_ScaleFactor = number("k0", 1.0);
  p.m_StandardParallel1 = angle("sp1");
  p.m_StandardParallel2 = angle("sp2");
  for (std::size_t slot = 0; slot < p.m_Param.size(); ++slot)
    p.m_Param[slot] = number("p" + std::to_string(slot), p.m_Param[slot]);
  if (values.contains("axis") || values.contains("zone")) {
    const auto axis = static_cast<int>(number("axis"));
    const auto zone = static_cast<int>(number("zone"));
    if (p.m_Type == PROJECTION_DANISH) {
      p.SetDanishZone(axis, zone);
    } else {
      p.SetNorwegianAxis(axis, zone);
    }
  }
  if (values.contains("polar")) {
    p.SetPolar(values["polar"] == "north");
  } else if (values.contains("polarb")) {
    p.SetPolarB(angle("polarb"));
  } else if (values.contains("polarc")) {
    p.SetPolarC(angle("polarc"));
  } else {
    p.Initialise();
  }
}

}  // namespace orvale::testing
