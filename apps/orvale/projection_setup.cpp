#include "projection_setup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <span>

#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/projection/projection_validation.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/engine/spheroid/spheroid_records.h"
#include "orvale/platform/text_encoding.h"
#include "text_fields.h"
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
  if (!bytes) {
    problem = std::string(what) + " " + EncodingProblem(text);
    return false;
  }
  const AngleParseResult parsed = ParseAngle(*bytes, type, ANGLE_PREF_DEGREES);
  if (!parsed.ok) {
    problem = std::string(what) + " '" + Excerpt(text) + "': " + Cp1252ToUtf8(parsed.error);
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
        slot >= 0 && slot < 17 &&
        std::from_chars(param.data() + equals + 1, end, value).ptr == end && std::isfinite(value);
    if (!ok) {
      problem = "--param takes SLOT=VALUE with SLOT 0..16 and a finite VALUE, not '" +
                Excerpt(param) + "'";
      return false;
    }
    projection.m_Param[static_cast<std::size_t>(slot)] = value;
  }
  return true;
}

constexpr int kLastDanishZone = 2;

double AtPole(double latitude) {
  constexpr double kPoleSlack = 1e-11;
  return std::fabs(std::fabs(latitude) - kHalfPi) < kPoleSlack ? std::copysign(kHalfPi, latitude)
                                                               : latitude;
}

bool IsGiven(const ProjectionOptions& options, std::string_view name) {
  return std::find(options.given.begin(), options.given.end(), name) != options.given.end();
}

// The first option given that the type and method would ignore, or whose value set-up
// replaces by a derived one; empty when none.
std::string IgnoredOption(const ProjectionOptions& options, const CProjection& p) {
  const ProjectionParameters uses = FindProjectionType(p.m_Type)->ParametersOf(p.m_Method);
  const bool national = p.m_Type == PROJECTION_NORWEGIAN || p.m_Type == PROJECTION_DANISH;
  const bool polar_parallel = p.m_Type == PROJECTION_STEREOGRAPHIC && p.m_Method == 2 &&
                              std::fabs(p.m_OriginLatitude) != kHalfPi;
  // Set-up replaces the scale factor of these by that of their standard parallels.
  const bool derived_scale = (p.m_Type == PROJECTION_LAMBERT && p.m_Method != 0) ||
                             (p.m_Type == PROJECTION_MERCATOR && p.m_OriginLatitude != 0.0) ||
                             polar_parallel;
  const struct {
    const char* option;
    bool ignored;
  } checks[] = {
      {"--sp1", (uses & (kUsesStandardParallels | kUsesPolarStandardParallel)) == 0},
      {"--sp2", (uses & (kUsesStandardParallels | kUsesFalseOriginLatitude)) == 0},
      {"--param", (uses & (kUsesSkewParameters | kUsesZoneConstants6 | kUsesZoneConstants11)) == 0},
      {"--axis", !national},
      {"--zone", !national && p.m_Type != PROJECTION_UTM},
      {"--south", p.m_Type != PROJECTION_UTM},
      {"--k0", derived_scale},
  };
  for (const auto& check : checks) {
    if (check.ignored && IsGiven(options, check.option)) return check.option;
  }
  return {};
}

// UTM takes everything from its zone's row.
std::string IgnoredByUtm(const ProjectionOptions& options) {
  for (const char* option : {"--method", "--lat0", "--lon0", "--k0", "--fe", "--fn", "--sp1",
                             "--sp2", "--param", "--axis"}) {
    if (IsGiven(options, option)) return option;
  }
  return {};
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
  spheroid.SetDefault();
  problem = "no spheroid called '" + text + "' (see 'orvale spheroids')";
  return false;
}

bool SetUpSpheroid(const ProjectionOptions& options, CSpheroid& spheroid, std::string& problem) {
  if (options.semi_major_axis == 0.0 && options.inverse_flattening == 0.0) {
    return SelectSpheroid(options.spheroid, spheroid, problem);
  }
  if (const ParameterProblem bad =
          CheckSpheroidParameters(options.semi_major_axis, options.inverse_flattening);
      !bad.ok()) {
    const bool axis = bad.parameter == DefiningParameter::kSemiMajorAxis;
    char value[64];
    std::snprintf(value, sizeof value, "%.10g",
                  axis ? options.semi_major_axis : options.inverse_flattening);
    problem = std::string(axis ? "--a " : "--rf ") + value + ": " + std::string(bad.reason);
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

namespace {

// What --type offers for a type: its text, its methods, and the options that set the
// parameters its methods use beyond the usual origin and false origin.
std::string TypeHelp(const ProjectionTypeInfo& type) {
  std::string help(type.text);
  ProjectionParameters uses = type.parameters;
  if (type.methods.size() > 1) {
    help += ": method";
    for (std::size_t m = 0; m < type.methods.size(); ++m) {
      help += (m == 0 ? " " : ", ") + std::to_string(m) + " " + std::string(type.methods[m].text);
    }
  }
  for (const ProjectionMethodInfo& method : type.methods)
    uses |= method.parameters;
  std::string options;
  const auto add = [&](ProjectionParameters flags, const char* option) {
    if ((uses & flags) != 0) options += options.empty() ? option : std::string(", ") + option;
  };
  add(kUsesUtmZone, "--zone");
  add(kUsesNationalGridAxis, "--axis");
  add(kUsesStandardParallels | kUsesPolarStandardParallel, "--sp1");
  add(kUsesStandardParallels | kUsesFalseOriginLatitude, "--sp2");
  add(kUsesSkewParameters | kUsesZoneConstants6 | kUsesZoneConstants11, "--param");
  if (!options.empty()) help += " (" + options + ")";
  return help;
}

struct TypeNames {
  std::array<std::string, kProjectionTypeCount> help;
  std::array<NamedValue, kProjectionTypeCount> names;
};

const TypeNames& ProjectionTypes() {
  static const TypeNames types = [] {
    TypeNames t;
    for (int type = 0; type < kProjectionTypeCount; ++type) {
      const ProjectionTypeInfo& info = *FindProjectionType(type);
      const auto i = static_cast<std::size_t>(type);
      t.help[i] = TypeHelp(info);
      t.names[i] = {info.key, type, t.help[i]};
    }
    return t;
  }();
  return types;
}

// The option that sets a parameter, and the parameter's value as the record holds it.
std::string Named(const CProjection& p, DefiningParameter parameter) {
  const auto angle = [](double radians) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", radians * kDegreesPerRadian);
    return std::string(text);
  };
  const auto number = [](double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    return std::string(text);
  };
  switch (parameter) {
    case DefiningParameter::kSpheroid:
      return "--spheroid";
    case DefiningParameter::kSemiMajorAxis:
      return "--a " + number(p.m_Spheroid->m_SemiMajorAxis);
    case DefiningParameter::kInverseFlattening:
      return "--rf " + number(p.m_Spheroid->m_InverseFlattening);
    case DefiningParameter::kType:
      return "--type " + std::to_string(p.m_Type);
    case DefiningParameter::kMethod:
      return p.m_Type == PROJECTION_NORWEGIAN ? "--axis " + std::to_string(p.m_Method + 1)
                                              : "--method " + std::to_string(p.m_Method);
    case DefiningParameter::kOriginLatitude:
      return "--lat0 " + angle(p.m_OriginLatitude);
    case DefiningParameter::kCentralMeridian:
      return "--lon0 " + angle(p.m_CentralMeridian);
    case DefiningParameter::kFalseEasting:
      return "--fe " + number(p.m_FalseEasting);
    case DefiningParameter::kFalseNorthing:
      return "--fn " + number(p.m_FalseNorthing);
    case DefiningParameter::kScaleFactor:
      return "--k0 " + number(p.m_ScaleFactor);
    case DefiningParameter::kStandardParallel1:
      return "--sp1 " + angle(p.m_StandardParallel1);
    case DefiningParameter::kStandardParallel2:
      return "--sp2 " + angle(p.m_StandardParallel2);
    case DefiningParameter::kParameterBlock:
    case DefiningParameter::kNone:
      break;
  }
  return "--param";
}

// The parameters the record's method uses, as --describe shows them.
std::string DescribeParameters(const CProjection& p) {
  const ProjectionParameters uses = FindProjectionType(p.m_Type)->ParametersOf(p.m_Method);
  char text[256];
  std::string described;
  if ((uses & (kUsesStandardParallels | kUsesPolarStandardParallel)) != 0) {
    std::snprintf(text, sizeof text, " sp1 %.9f", p.m_StandardParallel1 * kDegreesPerRadian);
    described += text;
  }
  if ((uses & (kUsesStandardParallels | kUsesFalseOriginLatitude)) != 0) {
    std::snprintf(text, sizeof text, " sp2 %.9f", p.m_StandardParallel2 * kDegreesPerRadian);
    described += text;
  }
  if ((uses & (kUsesSkewParameters | kUsesZoneConstants6 | kUsesZoneConstants11)) != 0) {
    const int slots = (uses & kUsesZoneConstants11) != 0 ? 11 : 6;
    for (int slot = 0; slot < slots; ++slot) {
      std::snprintf(text, sizeof text, " P%d %.10g", slot,
                    p.m_Param[static_cast<std::size_t>(slot)]);
      described += text;
    }
  }
  if ((uses & kUsesNationalGridAxis) != 0) {
    std::snprintf(text, sizeof text, " axis %d zone %d", p.NorwegianAxis(),
                  p.NationalGridUtmZone());
    described += text;
  }
  return described;
}

}  // namespace

bool CheckSelectedProjection(const CProjection& projection, const std::string& name,
                             std::string& problem) {
  const ParameterProblem bad = CheckProjectionParameters(projection);
  if (bad.ok()) return true;
  problem = "'" + Excerpt(name) + "' cannot be used: its parameter " +
            Named(projection, bad.parameter) + ": " + std::string(bad.reason);
  return false;
}

std::span<const NamedValue> ProjectionTypeNames() {
  return ProjectionTypes().names;
}

bool SetUpProjection(const ProjectionOptions& options, CProjection& projection,
                     std::string& problem) {
  int type = 0;
  if (!LookUp(ProjectionTypeNames(), options.type, type, problem)) return false;
  if (type == PROJECTION_UTM) {
    if (const std::string ignored = IgnoredByUtm(options); !ignored.empty()) {
      problem = "--type utm takes its parameters from the zone's row; " + ignored +
                " cannot be given with it";
      return false;
    }
    if (options.zone < 1 || options.zone > 60) {
      problem = "--type utm needs --zone 1..60";
      return false;
    }
    // The zone's catalogue row, on the spheroid chosen.
    return projection.SetFromCatalogue(options.zone, PROJECTION_UTM, options.south ? 1 : 0) &&
           CheckSelectedProjection(projection, "utm:" + std::to_string(options.zone), problem);
  }
  projection.m_Type = type;
  projection.m_Method = options.method;
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
  if (type == PROJECTION_NORWEGIAN) {
    // The method list of the Norwegian grid is its axes.
    projection.m_Method = options.axis - 1;
    projection.SetNorwegianAxis(options.axis, options.zone);
  }
  if (type == PROJECTION_DANISH) {
    // The engine would refuse every point of an unknown zone; refuse it once, here.
    if (options.axis < 0 || options.axis > kLastDanishZone) {
      problem = "--axis of danish is its zone, 0.." + std::to_string(kLastDanishZone) + ", not " +
                std::to_string(options.axis);
      return false;
    }
    projection.SetDanishZone(options.axis, options.zone);
  }
  if ((type == PROJECTION_NORWEGIAN || type == PROJECTION_DANISH) && IsGiven(options, "--zone") &&
      (options.zone < 1 || options.zone > 60)) {
    problem = "--zone must be a UTM zone, 1..60, not " + std::to_string(options.zone);
    return false;
  }
  const ProjectionTypeInfo& info = *FindProjectionType(type);
  const bool listed = projection.m_Method >= 0 &&
                      static_cast<std::size_t>(projection.m_Method) < info.methods.size();
  if (listed && (info.ParametersOf(projection.m_Method) & kUsesStandardParallels) != 0 &&
      (options.sp1.empty() || options.sp2.empty())) {
    problem = std::string(info.key) + " method " + std::to_string(projection.m_Method) +
              " needs both standard parallels, --sp1 and --sp2";
    return false;
  }
  // A pole typed in degrees comes back from the truncated display factor a few parts in
  // 1e13 short of pi/2, which set-up would take for a standard parallel beside the
  // pole (a polar stereographic would then replace the scale factor given): it is the
  // pole.
  lat0 = AtPole(lat0);
  projection.m_StandardParallel1 = AtPole(projection.m_StandardParallel1);
  projection.m_StandardParallel2 = AtPole(projection.m_StandardParallel2);
  // Checked as given, before set-up replaces any of them by a derived value.
  projection.m_OriginLatitude = lat0;
  projection.m_CentralMeridian = lon0;
  projection.m_FalseEasting = options.fe;
  projection.m_FalseNorthing = options.fn;
  projection.m_ScaleFactor = options.k0;
  if (const ParameterProblem bad = CheckProjectionParameters(projection); !bad.ok()) {
    problem = Named(projection, bad.parameter) + ": " + std::string(bad.reason);
    return false;
  }
  if (const std::string ignored = IgnoredOption(options, projection); !ignored.empty()) {
    problem = ignored + " is not used by " + std::string(info.key) + " method " +
              std::to_string(projection.m_Method) +
              (ignored == "--k0" ? " (its scale factor comes from its standard parallels)" : "");
    return false;
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
  return Cp1252ToUtf8(text + DescribeParameters(p));
}

std::string ProjectionTypeHelp() {
  return Describe(ProjectionTypeNames());
}

}  // namespace orvale::cli
