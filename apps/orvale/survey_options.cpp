#include "survey_options.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/survey/range_bearing.h"
#include "projection_select.h"
#include "text_fields.h"

namespace orvale::cli {

void AddSurveyOptions(CLI::App& command, SurveyOptions& options, std::vector<CLI::Option*>& named,
                      const std::string& method_help) {
  ProjectionOptions& p = options.projection;
  const auto keep = [&named](CLI::Option* option) {
    named.push_back(option);
    return option;
  };
  keep(command
           .add_option("-s,--spheroid", p.spheroid,
                       "Spheroid: catalogue index, EPSG:code or name (see 'orvale spheroids')")
           ->capture_default_str());
  keep(command.add_option("--a", p.semi_major_axis,
                          "Semi-major axis (metres) of a spheroid typed by hand"));
  keep(command.add_option("--rf", p.inverse_flattening,
                          "Inverse flattening of that spheroid: 100 or more, or 0 or 1 for a "
                          "sphere"));
  keep(command.add_option("-p,--projection", p.catalogue,
                          "A projection of the catalogue: TYPE/ROW[/METHOD] (e.g. tm/0), utm:31 "
                          "or\nits name; see 'orvale projections'. Rows bring their own "
                          "spheroid,\nexcept UTM, which takes --spheroid"));
  keep(command.add_option("--method", options.method, method_help)->capture_default_str());
}

namespace {

bool ReadMethod(const std::string& text, std::uint32_t& method, std::string& problem) {
  if (text == "geodesic" || text == "2") {
    method = kRangeBearingGeodesic;
  } else if (text == "0" || text == "arc") {
    method = kRangeBearingEllipticArc;
  } else if (text == "1" || text == "series") {
    method = kRangeBearingSeries;
  } else {
    problem = "--method: '" + text + "' is none of 0 (arc), 1 (series), 2 (geodesic)";
    return false;
  }
  return true;
}

bool Given(std::span<const std::string> given, std::string_view name) {
  return std::find(given.begin(), given.end(), name) != given.end();
}

}  // namespace

bool SetUpSurvey(const SurveyOptions& options, std::span<const std::string> given,
                 CSpheroid& spheroid, CProjection& projection, bool& has_projection,
                 std::string& problem) {
  std::uint32_t method = kRangeBearingGeodesic;
  if (!ReadMethod(options.method, method, problem)) return false;
  if (Given(given, "--spheroid") && (Given(given, "--a") || Given(given, "--rf"))) {
    problem = "give a spheroid by --spheroid or by --a and --rf, not both";
    return false;
  }
  if (!SetUpSpheroid(options.projection, spheroid, problem)) return false;
  projection.m_Spheroid = &spheroid;
  has_projection = Given(given, "--projection");
  if (has_projection) {
    const std::string& name = options.projection.catalogue;
    if (name.find_first_not_of(" \t") == std::string::npos) {
      problem = "--projection needs a projection: TYPE/ROW, utm:ZONE or a name";
      return false;
    }
    if (!SelectProjection(name, projection, problem)) return false;
    if (projection.m_Type != PROJECTION_UTM &&
        (Given(given, "--spheroid") || Given(given, "--a") || Given(given, "--rf"))) {
      problem = "'" + name + "' brings its own spheroid; it cannot be given with a spheroid";
      return false;
    }
    if (!CheckSelectedProjection(projection, name, problem)) return false;
  }
  // After the projection, which may have brought its own spheroid.
  spheroid.m_RangeBearingMethod = method;
  return true;
}

bool ReadSurveyAngle(std::string_view field, int type, int notation, double& radians,
                     std::string& reason) {
  double degrees = 0.0;
  if (notation == ANGLE_PREF_DEGREES && ReadNumberField(field, degrees)) {
    radians = degrees * kRadiansPerDegree;
    return true;
  }
  return ReadAngleField(field, type, notation, radians, reason);
}

bool ReadPosition(std::span<const std::string_view> fields, std::size_t first, bool lon_lat,
                  int notation, double& latitude, double& longitude, FieldProblem& problem) {
  const std::size_t lat = first + (lon_lat ? 1 : 0), lon = first + (lon_lat ? 0 : 1);
  problem.input = lat;
  if (!ReadSurveyAngle(fields[lat], ANGLE_LATITUDE, notation, latitude, problem.reason)) {
    return false;
  }
  problem.input = lon;
  if (!ReadSurveyAngle(fields[lon], ANGLE_LONGITUDE, notation, longitude, problem.reason)) {
    return false;
  }
  if (std::fabs(latitude) > kHalfPi || std::fabs(longitude) > 2.0 * std::numbers::pi) {
    problem.input = std::fabs(latitude) > kHalfPi ? lat : lon;
    problem.reason = "'" + Excerpt(fields[problem.input]) +
                     "': position out of range: latitude beyond 90 degrees or longitude beyond "
                     "360";
    return false;
  }
  return true;
}

int InputNotation(const PipelineOptions& options) {
  return options.angles == "gradians" ? ANGLE_PREF_GRADIANS : ANGLE_PREF_DEGREES;
}

std::vector<std::string> PositionNames(bool lon_lat, std::string_view suffix) {
  std::vector<std::string> names = {"latitude" + std::string(suffix),
                                    "longitude" + std::string(suffix)};
  if (lon_lat) std::swap(names[0], names[1]);
  return names;
}

}  // namespace orvale::cli
