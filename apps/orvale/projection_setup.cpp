#include "projection_setup.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/engine/spheroid/spheroid_records.h"
#include "orvale/platform/text_encoding.h"
#include "projection_type_names.h"
#include "text_options.h"

namespace orvale::cli {
namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool ReadAngle(const std::string& text, int type, const char* what, double& radians,
               std::string& problem) {
  const auto bytes = Utf8ToCp1252(text);
  const AngleParseResult parsed = bytes ? ParseAngle(*bytes, type, ANGLE_PREF_DEGREES)
                                        : AngleParseResult{false, 0.0, "not Windows-1252 text"};
  if (!parsed.ok) {
    problem = std::string(what) + " '" + text + "': " + Cp1252ToUtf8(parsed.error);
    return false;
  }
  radians = parsed.radians;
  return true;
}

bool SetSlots(const std::vector<std::string>& params, CProjection& projection,
              std::string& problem) {
  for (const std::string& param : params) {
    const auto equals = param.find('=');
    int slot = -1;
    double value = 0.0;
    const char* end = param.data() + param.size();
    const bool ok =
        equals != std::string::npos &&
        std::from_chars(param.data(), param.data() + equals, slot).ptr == param.data() + equals &&
        slot >= 0 && slot < 17 && std::from_chars(param.data() + equals + 1, end, value).ptr == end;
    if (!ok) {
      problem = "--param takes SLOT=VALUE with SLOT 0..16, not '" + param + "'";
      return false;
    }
    projection.m_Param[static_cast<std::size_t>(slot)] = value;
  }
  return true;
}

}  // namespace

bool SelectSpheroid(const std::string& text, CSpheroid& spheroid, std::string& problem) {
  int index = -1;
  if (std::from_chars(text.data(), text.data() + text.size(), index).ptr ==
      text.data() + text.size()) {
    if (spheroid.SetFromIndex(index)) return true;
    problem = "no spheroid at index " + text + " (see 'orvale spheroids')";
    return false;
  }
  const std::string wanted = Lower(Utf8ToCp1252(text).value_or(text));
  const bool by_epsg = wanted.starts_with("epsg:");
  const int rows = kBuiltInSpheroidCount + static_cast<int>(SpheroidRecordFiles().size());
  for (int row = 0; row < rows; ++row) {
    if (!spheroid.SetFromIndex(row)) continue;
    const std::string name = Lower(spheroid.m_Name);
    const std::string full =
        spheroid.m_Country.empty() ? name : name + " " + Lower(spheroid.m_Country);
    const bool match =
        by_epsg ? wanted == "epsg:" + std::to_string(spheroid.m_EPSGNo) && spheroid.m_EPSGNo != 0
                : wanted == name || wanted == full;
    if (match) return true;
  }
  spheroid.SetBuiltIn(kDefaultSpheroidIndex);
  problem = "no spheroid called '" + text + "' (see 'orvale spheroids')";
  return false;
}

bool SetUpSpheroid(const ProjectionOptions& options, CSpheroid& spheroid, std::string& problem) {
  if (options.semi_major_axis == 0.0 && options.inverse_flattening == 0.0) {
    return SelectSpheroid(options.spheroid, spheroid, problem);
  }
  if (!(options.semi_major_axis > 0.0) || !(options.inverse_flattening >= 0.0)) {
    problem =
        "--a needs a positive semi-major axis and --rf an inverse flattening (0 or 1 for a sphere)";
    return false;
  }
  // Typed axes are taken as they are (no plausibility clamp): the user means them.
  spheroid.m_Name = "Custom";
  spheroid.m_Country.clear();
  spheroid.m_EPSGNo = 0;
  spheroid.m_SemiMajorAxis = options.semi_major_axis;
  spheroid.m_InverseFlattening =
      options.inverse_flattening <= 1.0 ? 1.0 : options.inverse_flattening;
  spheroid.m_SemiMinorAxis =
      options.inverse_flattening <= 1.0
          ? options.semi_major_axis
          : options.semi_major_axis * (1.0 - 1.0 / options.inverse_flattening);
  spheroid.ComputeConstants();
  return true;
}

bool SetUpProjection(const ProjectionOptions& options, CProjection& projection,
                     std::string& problem) {
  int type = 0;
  if (!LookUp(kProjectionTypeNames, options.type, type, problem)) return false;
  projection.m_Type = type;
  projection.m_Method = options.method;
  if (type == PROJECTION_UTM) {
    if (options.zone < 1 || options.zone > 60) {
      problem = "--type utm needs --zone 1..60";
      return false;
    }
    projection.m_Method = options.south ? 1 : 0;
    projection.m_Zone = options.zone;
    projection.SetParameters(0.0, CProjection::UtmZoneCentralMeridian(options.zone), 500000.0,
                             options.south ? 10000000.0 : 0.0, 0.9996);
    return true;
  }
  double lat0 = 0.0, lon0 = 0.0;
  if (!ReadAngle(options.lat0, ANGLE_LATITUDE, "--lat0", lat0, problem) ||
      !ReadAngle(options.lon0, ANGLE_LONGITUDE, "--lon0", lon0, problem)) {
    return false;
  }
  if (!options.sp1.empty() &&
      !ReadAngle(options.sp1, ANGLE_LATITUDE, "--sp1", projection.m_StandardParallel1, problem)) {
    return false;
  }
  if (!options.sp2.empty() &&
      !ReadAngle(options.sp2, ANGLE_LATITUDE, "--sp2", projection.m_StandardParallel2, problem)) {
    return false;
  }
  if (!SetSlots(options.params, projection, problem)) return false;
  if (type == PROJECTION_NORWEGIAN || type == PROJECTION_DANISH) {
    projection.SetGridAxisAndZone(options.axis, options.zone);
  }
  projection.SetParameters(lat0, lon0, options.fe, options.fn, options.k0);
  return true;
}

std::string DescribeProjection(const CProjection& p) {
  char text[512];
  std::snprintf(text, sizeof text, "%s (%s) on %s: lat0 %.9f lon0 %.9f k0 %.10f FE %.3f FN %.3f",
                std::string(CProjection::TypeText(p.m_Type)).c_str(),
                std::string(CProjection::MethodText(p.m_Type, p.m_Method)).c_str(),
                p.m_Spheroid != nullptr ? p.m_Spheroid->m_Name.c_str() : "no spheroid",
                p.m_OriginLatitude * kDegreesPerRadian, p.m_CentralMeridian * kDegreesPerRadian,
                p.m_ScaleFactor, p.m_FalseEasting, p.m_FalseNorthing);
  return Cp1252ToUtf8(text);
}

std::string ProjectionTypeHelp() {
  return Describe(kProjectionTypeNames);
}

}  // namespace orvale::cli
